// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runningmark.h"

#include <QtGlobal>
#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace app {

RunningMark::RunningMark() {
#ifdef Q_OS_WIN
    // A second window opens the same mutex; it stays until the last one ends. Without it the
    // program runs as well: the installer then only cannot tell.
    m_handle = CreateMutexW(nullptr, FALSE, name);
#endif
}

RunningMark::~RunningMark() {
#ifdef Q_OS_WIN
    if (m_handle)
        CloseHandle(static_cast<HANDLE>(m_handle));
#endif
}

} // namespace app

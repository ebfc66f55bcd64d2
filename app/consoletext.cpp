// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "consoletext.h"

#include <QByteArray>
#include <algorithm>
#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#endif

namespace app {

namespace {

#ifdef Q_OS_WIN
// The console behind a stream; nullptr when the stream goes to a file, a pipe or nowhere.
HANDLE consoleOf(std::FILE* stream) {
    const intptr_t handle = _get_osfhandle(_fileno(stream));
    if (handle == -1 || handle == -2)
        return nullptr;
    DWORD mode = 0;
    const auto console = reinterpret_cast<HANDLE>(handle);
    return GetConsoleMode(console, &mode) ? console : nullptr;
}
#endif

} // namespace

void ConsoleText::AttachParent() {
#ifdef Q_OS_WIN
    const auto has = [](DWORD handle) {
        return GetFileType(GetStdHandle(handle)) != FILE_TYPE_UNKNOWN;
    };
    const bool out = has(STD_OUTPUT_HANDLE), err = has(STD_ERROR_HANDLE);
    if ((out && err) || !AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    if (!out)
        std::freopen("CONOUT$", "w", stdout);
    if (!err)
        std::freopen("CONOUT$", "w", stderr);
#endif
}

void ConsoleText::Write(std::FILE* stream, const QString& text) {
#ifdef Q_OS_WIN
    if (HANDLE console = consoleOf(stream)) {
        // What the stream holds goes first, so that the lines keep their order.
        std::fflush(stream);
        const auto* wide = reinterpret_cast<const wchar_t*>(text.utf16());
        qsizetype left = text.size();
        while (left > 0) {
            DWORD written = 0;
            const auto chunk = static_cast<DWORD>(std::min<qsizetype>(left, 8192));
            if (!WriteConsoleW(console, wide, chunk, &written, nullptr) || written == 0)
                break;
            wide += written;
            left -= written;
        }
        return;
    }
#endif
    const QByteArray utf8 = text.toUtf8();
    std::fwrite(utf8.constData(), 1, static_cast<size_t>(utf8.size()), stream);
    std::fflush(stream);
}

void ConsoleText::Line(std::FILE* stream, const QString& text) {
    Write(stream, QStringLiteral("teiler: ") + text + QLatin1Char('\n'));
}

} // namespace app

// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "pensettings.h"

#include "board/boardfile.h"

namespace board {

namespace {
const QString inkKey = QStringLiteral("Stift/tinte");
const QString thickKey = QStringLiteral("Stift/dick");
} // namespace

int PenSettings::ink() const {
    bool ok = false;
    const int ink = m_settings.value(inkKey).toInt(&ok);
    return ok && ink >= 0 && ink <= BoardFile::maxPenInk ? ink : 0;
}

bool PenSettings::thick() const {
    return m_settings.value(thickKey).toBool();
}

void PenSettings::store(int ink, bool thick) {
    m_settings.setValue(inkKey, ink);
    m_settings.setValue(thickKey, thick);
    m_settings.sync();
}

} // namespace board

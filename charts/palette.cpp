// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "palette.h"

namespace charts {

namespace {

const QColor black(0, 0, 0);
const QColor markBlue(0, 0, 150);

} // namespace

Palette Palette::designed() {
    const QColor red(255, 0, 0);
    return {red, QColor(0, 255, 0), black, red, markBlue};
}

Palette Palette::colourBlind() {
    // Okabe and Ito's vermillion and blue, about 3.9:1 and 5.2:1 against white.
    const QColor vermillion(0xD5, 0x5E, 0x00);
    return {vermillion, QColor(0x00, 0x72, 0xB2), black, vermillion, markBlue};
}

} // namespace charts

// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRgb>

namespace board {

// A picture box's drawing settings, kept until changed: where the next Print starts, and the
// colour, width and font the next drawings take.
struct DrawSettings {
    double currentX = 0, currentY = 0;
    QRgb foreColor = 0xff000000;
    int drawWidth = 1;
    double fontSize = 8.25;
    bool fontBold = false;
    bool operator==(const DrawSettings&) const = default;
};

} // namespace board

// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "palette.h"

namespace surface {
class PictureBox;
}

namespace charts {

// The divisor stacks with T(n) in a blue ring and outlines around the record holders in the
// palette's record colour (red as designed).
class DivisorCountChart {
  public:
    // Columns 1 to Column::count for rangeBase + 1 ... rangeBase + Column::count. Draws over
    // whatever the canvas shows; leaves ForeColor black, DrawWidth 1 and FontSize 12.
    static void Draw(surface::PictureBox& canvas, int rangeBase,
                     const Palette& palette = Palette::designed());
};

} // namespace charts

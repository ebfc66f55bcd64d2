// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace surface {
class PictureBox;
}

namespace charts {

// The proper divisors of every number of the shown range, stacked in its column.
class Skyline {
  public:
    // Columns 1 to 500 for rangeBase + 1 ... rangeBase + 500: the largest divisor at height 1,
    // the divisor 1 on top. Draws over whatever the canvas shows; leaves ForeColor black and
    // FontSize 14.
    static void Draw(surface::PictureBox& canvas, int rangeBase);
    // Writes one divisor of a stack: black, 14 points, its top at the given height, centred on
    // the column by the width of its number text.
    static void WriteDivisor(surface::PictureBox& canvas, int column, int height,
                             long long divisor);
};

} // namespace charts

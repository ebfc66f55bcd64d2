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
    // Columns 1 to Column::count for rangeBase + 1 ... rangeBase + Column::count: the largest
    // divisor at height 1, the divisor 1 on top. Draws over whatever the canvas shows; leaves
    // ForeColor black and FontSize 14.
    static void Draw(surface::PictureBox& canvas, int rangeBase);
};

} // namespace charts

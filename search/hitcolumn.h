// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

namespace search {

// Where a hit of the list stands on the canvas, and how far the canvas's scroll bar has to go to
// bring it to the middle of the frame.
class HitColumn {
  public:
    // The column of hit while the canvas shows rangeBase + 1 to rangeBase + Column::count; none
    // when the hit lies outside that range.
    static std::optional<long long> of(long long hit, int rangeBase);
    // The Value of HScAusgabe that puts a column's centre at 50, the middle of the frame: the
    // canvas's Left is 1 - Value in the frame's units. centre is where the centre lies on the
    // canvas, in its pixels; unitsPerPixel the frame's units per pixel; min and max the bar's
    // ends, either way round, which the Value keeps to. None for a frame narrowed to nothing.
    static std::optional<int> centringValue(double centre, double unitsPerPixel, int min, int max);
};

} // namespace search

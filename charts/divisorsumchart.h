// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "palette.h"

#include <functional>

namespace surface {
class PictureBox;
}

namespace charts {

// S(n) or S(n) - n above every column in the palette's colours: as designed red for deficient,
// green for perfect and black for abundant numbers.
class DivisorSumChart {
  public:
    // Before each of the columns 1 to Column::count, yield is called so the window can handle
    // pending events; when it returns false (the window is closing) the chart stops at once.
    // rangeBase and sumMode (0: S(n), 1: S(n) - n) are read anew for every column, because what
    // runs inside yield may change them: a range command, or the other sum chart drawn in
    // between. Each label is preceded by a white copy of the other chart's label at the same
    // place, which erases it. An empty yield draws all columns without pausing. Leaves FontSize
    // 16 and ForeColor the colour of the last label.
    static void DrawDivisorSums(surface::PictureBox& canvas, const int& rangeBase,
                                const int& sumMode, const std::function<bool()>& yield,
                                const Palette& palette = Palette::designed());
};

} // namespace charts

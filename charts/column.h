// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "palette.h"

namespace surface {
class PictureBox;
}

namespace divisors {
struct DivisorSummary;
}

namespace charts {

// One column of the canvas and the labels written into it. The charts fill the columns one
// after the other; a pick on the number strip writes a single column the same way.
class Column {
  public:
    // Columns on the canvas, 1 to count; also how many numbers each of the two ranges holds.
    static constexpr int count = 500;

    // Left edge of a label for the value v centred on column i.
    static double labelX(double i, double v);

    // One divisor of a stack: black, 14 points, its top at the given height.
    static void WriteDivisor(surface::PictureBox& canvas, double column, int height,
                             long long divisor);
    // T(n) = properCount + 1 in blue at 12 points just above the stack, shifted by the width of
    // properCount rather than of T(n), and a blue ring around it drawn with width 1. Leaves
    // ForeColor black.
    static void WriteCount(surface::PictureBox& canvas, double column, int properCount);
    // S(n), or S(n) - n when abundance is true, at 16 points four above the stack, in the
    // palette's colour for a deficient, perfect or abundant n (red, green, black as designed).
    // Placed by the width of S(n) either way, so the two sum labels of a column lie on top of
    // each other.
    static void WriteSum(surface::PictureBox& canvas, double column, long long n,
                         const divisors::DivisorSummary& summary, bool abundance,
                         const Palette& palette = Palette::designed());
};

} // namespace charts

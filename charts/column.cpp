// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "column.h"

#include "divisors/divisorscan.h"
#include "surface/numbertext.h"
#include "surface/picturebox.h"

namespace charts {

using surface::NumberText;
using surface::PictureBox;

namespace {

const QColor black(0, 0, 0);

} // namespace

double Column::labelX(double i, double v) {
    return i - 0.2 * NumberText::width(v);
}

void Column::WriteDivisor(PictureBox& canvas, double column, int height, long long divisor) {
    const auto value = static_cast<double>(divisor);
    canvas.ForeColor = black;
    canvas.CurrentX = labelX(column, value);
    canvas.CurrentY = height;
    canvas.FontSize = 14;
    canvas.Print(value);
}

void Column::WriteCount(PictureBox& canvas, double column, int properCount) {
    canvas.CurrentX = labelX(column, properCount);
    canvas.CurrentY = properCount + 2;
    canvas.FontSize = 12;
    canvas.ForeColor = QColor(0, 0, 255);
    canvas.Print(properCount + 1);
    canvas.DrawWidth = 1;
    canvas.Circle(column - 0.2, properCount + 1.5, 0.4);
    canvas.ForeColor = black;
}

void Column::WriteSum(PictureBox& canvas, double column, long long n,
                      const divisors::DivisorSummary& summary, bool abundance,
                      const Palette& palette) {
    const auto s = static_cast<double>(summary.sum);
    canvas.CurrentX = labelX(column, s);
    canvas.CurrentY = summary.count + 4;
    canvas.FontSize = 16;
    if (summary.sum < n)
        canvas.ForeColor = palette.deficient;
    else if (summary.sum > n)
        canvas.ForeColor = palette.abundant;
    else
        canvas.ForeColor = palette.perfect;
    canvas.Print(abundance ? s - static_cast<double>(n) : s);
}

} // namespace charts

// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "skyline.h"

#include "divisors/divisorscan.h"
#include "surface/numbertext.h"
#include "surface/picturebox.h"

namespace charts {

using surface::NumberText;
using surface::PictureBox;

void Skyline::WriteDivisor(PictureBox& canvas, int column, int height, long long divisor) {
    const auto value = static_cast<double>(divisor);
    canvas.ForeColor = QColor(0, 0, 0);
    canvas.CurrentX = NumberText::labelX(column, value);
    canvas.CurrentY = height;
    canvas.FontSize = 14;
    canvas.Print(value);
}

void Skyline::Draw(PictureBox& canvas, int rangeBase) {
    for (int i = 1; i <= 500; ++i) {
        int k = 0;
        divisors::ScanProperDivisors(rangeBase + i, [&](long long t, bool isDivisor) {
            if (isDivisor)
                WriteDivisor(canvas, i, ++k, t);
        });
    }
}

} // namespace charts

// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "divisorsumchart.h"

#include "divisors/divisorscan.h"
#include "surface/numbertext.h"
#include "surface/picturebox.h"

namespace charts {

using surface::NumberText;
using surface::PictureBox;

void DivisorSumChart::DrawDivisorSums(PictureBox& canvas, const int& rangeBase, const int& sumMode,
                                      const std::function<bool()>& yield) {
    for (int i = 1; i <= 500; ++i) {
        if (yield && !yield())
            return;
        const long long n = rangeBase + i;
        const int mode = sumMode;
        const divisors::DivisorSummary summary = divisors::SummarizeProperDivisors(n);
        const auto s = static_cast<double>(summary.sum);
        const double x = NumberText::labelX(i, s);
        const double y = summary.count + 4;

        // Both charts place their label by the width of S(n), so the other chart's label lies
        // exactly here and its white copy covers it.
        canvas.CurrentX = x;
        canvas.CurrentY = y;
        canvas.FontSize = 16;
        canvas.ForeColor = QColor(255, 255, 255);
        if (mode == 1)
            canvas.Print(s);
        else if (mode == 0)
            canvas.Print(s - static_cast<double>(n));

        canvas.CurrentX = x;
        canvas.CurrentY = y;
        if (summary.sum < n)
            canvas.ForeColor = QColor(255, 0, 0);
        else if (summary.sum > n)
            canvas.ForeColor = QColor(0, 0, 0);
        else
            canvas.ForeColor = QColor(0, 255, 0);
        canvas.Print(s - mode * static_cast<double>(n));
    }
}

} // namespace charts

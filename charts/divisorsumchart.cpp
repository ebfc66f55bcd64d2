// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "divisorsumchart.h"

#include "column.h"
#include "divisors/divisorscan.h"
#include "surface/picturebox.h"

namespace charts {

using surface::PictureBox;

void DivisorSumChart::DrawDivisorSums(PictureBox& canvas, const int& rangeBase, const int& sumMode,
                                      const std::function<bool()>& yield, const Palette& palette) {
    for (int i = 1; i <= Column::count; ++i) {
        if (yield && !yield())
            return;
        const long long n = rangeBase + i;
        const int mode = sumMode;
        const divisors::DivisorSummary summary = divisors::SummarizeProperDivisors(n);
        const auto s = static_cast<double>(summary.sum);

        // Both charts place their label by the width of S(n), so the other chart's label lies
        // exactly here and its white copy covers it.
        canvas.CurrentX = Column::labelX(i, s);
        canvas.CurrentY = summary.count + 4;
        canvas.FontSize = 16;
        canvas.ForeColor = QColor(255, 255, 255);
        if (mode == 1)
            canvas.Print(s);
        else if (mode == 0)
            canvas.Print(s - static_cast<double>(n));

        Column::WriteSum(canvas, i, n, summary, mode == 1, palette);
    }
}

} // namespace charts

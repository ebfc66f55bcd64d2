// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "divisorcountchart.h"

#include "column.h"
#include "divisors/divisorscan.h"
#include "surface/picturebox.h"

namespace charts {

using surface::PictureBox;

void DivisorCountChart::Draw(PictureBox& canvas, int rangeBase, const Palette& palette) {
    // The count to beat: 1 for 1...500, 24 for 501...1000, so that only the numbers that
    // outdo every smaller number are outlined in either half.
    double record = 1 + 23.0 * rangeBase / Column::count;
    for (int i = 1; i <= Column::count; ++i) {
        int k = 0;
        divisors::ScanProperDivisors(rangeBase + i, [&](long long t, bool isDivisor) {
            if (isDivisor) {
                canvas.DrawWidth = 2;
                Column::WriteDivisor(canvas, i, ++k, t);
            }
            // Tested after every trial: a new record holder gets one outline for every count
            // its scan passes above the old record.
            if (k > record) {
                record = k;
                canvas.Line(i - 0.55, 0, i + 0.45, record, palette.recordOutline,
                            PictureBox::LineMode::Box);
            }
        });
        Column::WriteCount(canvas, i, k);
    }
}

} // namespace charts

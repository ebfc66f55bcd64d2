// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "divisorcountchart.h"

#include "divisors/divisorscan.h"
#include "skyline.h"
#include "surface/numbertext.h"
#include "surface/picturebox.h"

namespace charts {

using surface::NumberText;
using surface::PictureBox;

void DivisorCountChart::Draw(PictureBox& canvas, int rangeBase) {
    // The count to beat: 1 for 1...500, 24 for 501...1000, so that only the numbers that
    // outdo every smaller number are outlined in either half.
    double record = 1 + 23.0 * rangeBase / 500;
    for (int i = 1; i <= 500; ++i) {
        int k = 0;
        divisors::ScanProperDivisors(rangeBase + i, [&](long long t, bool isDivisor) {
            if (isDivisor) {
                canvas.DrawWidth = 2;
                Skyline::WriteDivisor(canvas, i, ++k, t);
            }
            // Tested after every trial: a new record holder gets one outline for every count
            // its scan passes above the old record.
            if (k > record) {
                record = k;
                canvas.Line(i - 0.55, 0, i + 0.45, record, QColor(255, 0, 0),
                            PictureBox::LineMode::Box);
            }
        });
        // The label is shifted by the width of k, not of k + 1, like the proper-divisor count.
        canvas.CurrentX = NumberText::labelX(i, k);
        canvas.CurrentY = k + 2;
        canvas.FontSize = 12;
        canvas.ForeColor = QColor(0, 0, 255);
        canvas.Print(k + 1);
        canvas.DrawWidth = 1;
        canvas.Circle(i - 0.2, k + 1.5, 0.4);
        canvas.ForeColor = QColor(0, 0, 0);
    }
}

} // namespace charts

// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "skyline.h"

#include "column.h"
#include "divisors/divisorscan.h"

namespace charts {

void Skyline::Draw(surface::PictureBox& canvas, int rangeBase) {
    for (int i = 1; i <= Column::count; ++i) {
        int k = 0;
        divisors::ScanProperDivisors(rangeBase + i, [&](long long t, bool isDivisor) {
            if (isDivisor)
                Column::WriteDivisor(canvas, i, ++k, t);
        });
    }
}

} // namespace charts

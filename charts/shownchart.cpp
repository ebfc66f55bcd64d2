// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "shownchart.h"

#include "column.h"

#include <QColor>
#include <algorithm>

namespace charts {

QVector<ShownChart::Chart> ShownChart::of(const QVector<board::Drawing>& drawings, int sumMode) {
    // What Column writes: divisors at 14 points, rings around T(n), sums at 16 points (the
    // white copies that cover the other sum chart's labels do not count).
    int divisors = 0;
    int rings = 0;
    int sums = 0;
    const QRgb white = QColor(Qt::white).rgb();
    for (const board::Drawing& d : drawings) {
        // A box filled over all columns from the number line up, as "Command1" clears the chart
        // area, hides every label before it.
        if (d.kind == board::Drawing::Kind::Line && d.mode == board::LineMode::FilledBox &&
            std::min(d.x1, d.x2) <= 0.5 && std::max(d.x1, d.x2) >= Column::count &&
            std::min(d.y1, d.y2) <= 0 && std::max(d.y1, d.y2) >= 32) {
            divisors = rings = sums = 0;
            continue;
        }
        if (d.kind == board::Drawing::Kind::Circle)
            ++rings;
        else if (d.kind == board::Drawing::Kind::Print && d.fontSize == 14)
            ++divisors;
        else if (d.kind == board::Drawing::Kind::Print && d.fontSize == 16 && d.color != white)
            ++sums;
    }
    const int half = Column::count / 2;
    QVector<Chart> shown;
    if (divisors >= half && rings < half)
        shown.append(Chart::Skyline);
    if (rings >= half)
        shown.append(Chart::DivisorCount);
    if (sums >= half)
        shown.append(sumMode == 1 ? Chart::Abundance : Chart::DivisorSum);
    return shown;
}

} // namespace charts

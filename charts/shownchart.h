// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "board/drawing.h"

#include <QVector>

namespace charts {

// Which charts a canvas shows, read off its drawings: what a printed page names in its caption.
class ShownChart {
  public:
    enum class Chart { Skyline, DivisorCount, DivisorSum, Abundance };

    // The charts whose labels fill at least half of the columns since the chart area was last
    // cleared, in the order of the "Teiler" menu; the divisor stacks of a divisor count chart
    // are no skyline of their own. sumMode tells which of the two sum charts was drawn last
    // (0: S(n), 1: S(n)-n). A few picked columns make no chart.
    static QVector<Chart> of(const QVector<board::Drawing>& drawings, int sumMode);
};

} // namespace charts

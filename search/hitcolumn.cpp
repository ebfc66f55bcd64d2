// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "hitcolumn.h"

#include "charts/column.h"

#include <algorithm>
#include <cmath>

namespace search {

std::optional<long long> HitColumn::of(long long hit, int rangeBase) {
    const long long column = hit - rangeBase;
    if (column < 1 || column > charts::Column::count)
        return std::nullopt;
    return column;
}

std::optional<int> HitColumn::centringValue(double centre, double unitsPerPixel, int min, int max) {
    const double value = centre * unitsPerPixel - 49;
    if (!std::isfinite(value))
        return std::nullopt;
    const int low = std::min(min, max);
    const int high = std::max(min, max);
    return static_cast<int>(
        std::lround(std::clamp(value, static_cast<double>(low), static_cast<double>(high))));
}

} // namespace search

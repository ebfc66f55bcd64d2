// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "steppers.h"

#include "surface/numbertext.h"

namespace search {

using surface::NumberText;

QString Steppers::plus(const QString& text) {
    return NumberText::of(NumberText::lenient(text) + 1);
}

std::optional<QString> Steppers::minus(int index, const QString& text) {
    const double v = NumberText::lenient(text);
    const bool steps = (index == bBox && v > 0) || index == cBox || (index == aBox && v > 1);
    if (!steps)
        return std::nullopt;
    return NumberText::of(v - 1);
}

} // namespace search

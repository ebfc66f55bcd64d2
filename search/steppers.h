// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

namespace search {

// The "+" and "-" buttons at the left edge of the coefficient boxes. Both read the box text
// leniently and return what the box is to hold afterwards, written as number text.
class Steppers {
  public:
    // Indices of the coefficient boxes, shared with their stepper buttons.
    static constexpr int bBox = 0; // factor of n
    static constexpr int cBox = 1; // constant
    static constexpr int aBox = 2; // factor of S(n)

    // The value plus 1. There is no upper bound.
    static QString plus(const QString& text);
    // The value minus 1, or nothing when the box stays as it is: the b box does not step below 0
    // and the a box not below 1, judged on the value read; the c box always steps.
    static std::optional<QString> minus(int index, const QString& text);
};

} // namespace search

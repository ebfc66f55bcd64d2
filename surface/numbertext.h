// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

namespace surface {

// How numbers become text and text becomes numbers, the same way everywhere in the program.
class NumberText {
  public:
    // Decimal text with at most 15 significant digits, "." as the point and no zero before it,
    // led by one blank for a number that is not negative and by "-" for a negative one:
    // 2 -> " 2", -1 -> "-1", 1.5 -> " 1.5", -0.5 -> "-.5", 1e20 -> " 1E+20".
    static QString of(double v);
    // Whole numbers written with all their digits, however many.
    static QString ofInteger(long long v);
    // W(v): the length of the number text of v.
    static int width(double v);
    // Reads the longest leading decimal number after dropping blanks, tabs and line feeds
    // wherever they stand; a text without one reads as 0. Linear in the length of the text.
    static double lenient(QStringView text);
    // The whole text must be one decimal number, blanks allowed around it; otherwise nothing.
    static std::optional<double> strict(QStringView text);
    // Nearest 32-bit integer, halves to the even neighbour; nothing when out of range or not
    // finite.
    static std::optional<std::int32_t> roundToInt32(double v);
};

} // namespace surface

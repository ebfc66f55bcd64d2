// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

namespace surface {
class PictureBox;
}

namespace factor {

// The yellow one-line sheet that shows one prime factorization in school notation:
// " 720 = 2⁴ · 3² · 5¹", the exponents raised and written also when they are 1.
class FactorizationSheet {
  public:
    // Writes the factorization of m at the fixed place of the sheet (scale (0, 1)-(2, 30)),
    // without clearing first. m < 1 writes nothing; 1 writes the head alone.
    static void ShowFactorization(surface::PictureBox& sheet, std::int32_t m);

    // Clears the sheet and shows the factorization of value rounded to the nearest integer
    // (halves to even). A value outside the 32-bit range leaves the sheet empty.
    static void ShowNumber(surface::PictureBox& sheet, double value);

    // A click on the sheet: the number at the start of the clipboard text, read leniently.
    // std::nullopt stands for a clipboard without text and reads like the empty text.
    static void ShowClipboardNumber(surface::PictureBox& sheet,
                                    const std::optional<QString>& clipboardText);

    // A press on the text box: its text read leniently becomes the current number (returned,
    // not rounded), and the sheet shows it.
    static double ShowTypedNumber(surface::PictureBox& sheet, QStringView text);
};

} // namespace factor

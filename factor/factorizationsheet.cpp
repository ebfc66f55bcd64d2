// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "factorizationsheet.h"

#include "divisors/primefactors.h"
#include "surface/numbertext.h"
#include "surface/picturebox.h"

namespace factor {

using surface::NumberText;
using surface::PictureBox;

namespace {

constexpr double factorRow = 10;  // top of the head and the factors
constexpr double raise = 2;       // exponents stand this much higher
constexpr double dotBelow = 7;    // the multiplication dot, below the top of the factor row
constexpr double factorSize = 18; // points
constexpr double exponentSize = 14;

} // namespace

void FactorizationSheet::ShowFactorization(PictureBox& sheet, std::int32_t m) {
    if (m < 1)
        return;
    // Trial division stops at the square root of the cofactor, so a large prime costs at most
    // about 46000 trials; the remaining cofactor is the last prime.
    const auto factors = divisors::TrialDivisionFactors(m);

    double x = 0;
    double y = factorRow;
    sheet.CurrentX = 0;
    sheet.CurrentY = y;
    sheet.FontSize = factorSize;
    sheet.Print(NumberText::of(m) + QStringLiteral(" ="));
    x += NumberText::width(m) / 24.0;
    sheet.CurrentX = x;
    sheet.CurrentY = y;

    for (std::size_t i = 0; i < factors.size(); ++i) {
        const double d = static_cast<double>(factors[i].prime);
        const int e = factors[i].exponent;
        sheet.Print(d);
        x += NumberText::width(d) / 45.0;
        sheet.CurrentX = x;
        sheet.CurrentY = y;
        y -= raise;
        sheet.CurrentY = y;
        sheet.FontSize = exponentSize;
        sheet.Print(e);
        sheet.FontSize = factorSize;
        x += NumberText::width(e) / 30.0;
        y += raise;
        sheet.CurrentX = x;
        sheet.CurrentY = y;
        if (i + 1 < factors.size()) {
            sheet.DrawWidth = 2;
            sheet.PSet(x, y + dotBelow);
            sheet.CurrentX = x;
            sheet.CurrentY = y;
        }
    }
}

void FactorizationSheet::ShowNumber(PictureBox& sheet, double value) {
    sheet.Cls();
    if (const auto m = NumberText::roundToInt32(value))
        ShowFactorization(sheet, *m);
}

void FactorizationSheet::ShowClipboardNumber(PictureBox& sheet,
                                             const std::optional<QString>& clipboardText) {
    ShowNumber(sheet, NumberText::lenient(clipboardText.value_or(QString())));
}

double FactorizationSheet::ShowTypedNumber(PictureBox& sheet, QStringView text) {
    const double value = NumberText::lenient(text);
    ShowNumber(sheet, value);
    return value;
}

} // namespace factor

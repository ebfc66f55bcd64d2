// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "hitlist.h"

#include "charts/column.h"
#include "surface/numbertext.h"

#include <utility>

namespace search {

using surface::NumberText;

namespace {

const QString lineEnd = QStringLiteral("\r\n");

// A coefficient as the header shows it: the value and the text standing for it.
std::pair<double, QString> readTerm(const QString& boxText) {
    if (const auto value = NumberText::strict(boxText))
        return {*value, boxText};
    // The search reads such a text leniently; the header then shows that value.
    const double value = NumberText::lenient(boxText);
    return {value, NumberText::of(value)};
}

} // namespace

QString HitList::header(int rangeBase, const QString& bText, const QString& cText) {
    const long long first = static_cast<long long>(rangeBase) + 1;
    const long long last = static_cast<long long>(rangeBase) + charts::Column::count;
    QString text = lineEnd + QStringLiteral("Trefferliste von") + NumberText::ofInteger(first) +
                   QStringLiteral(" bis") + NumberText::ofInteger(last);

    text += lineEnd + QStringLiteral("für S(n) = ");
    const auto [b, bTerm] = readTerm(bText);
    if (b > 0)
        text += bTerm + QStringLiteral("n ");
    const auto [c, cTerm] = readTerm(cText);
    if (c < 0)
        text += cTerm;
    else if (c > 0)
        text += QLatin1Char('+') + cTerm;
    else if (b == 0)
        text += QLatin1Char('0');
    text += lineEnd + lineEnd;

    text += QStringLiteral("  Zur Primfaktorzerlegung:") + lineEnd;
    text += QStringLiteral("  1. Zahl einfärben (markieren)") + lineEnd;
    text += QStringLiteral("  2. Rechte Maustaste klicken") + lineEnd;
    text += QStringLiteral("  3. kopieren wählen") + lineEnd;
    text += QStringLiteral("  4. Gelbes Feld anklicken") + lineEnd;
    text += lineEnd;
    return text;
}

QString HitList::entry(long long n) {
    return NumberText::ofInteger(n) + QLatin1Char(',');
}

std::optional<long long> HitList::hitAt(const QString& text, int at) {
    const auto digitAt = [&text](qsizetype i) {
        return i >= 0 && i < text.size() && text[i] >= QLatin1Char('0') &&
               text[i] <= QLatin1Char('9');
    };
    qsizetype first = at;
    while (digitAt(first - 1))
        --first;
    qsizetype end = at;
    while (digitAt(end))
        ++end;
    // Up to 18 digits always fit; longer runs are no entry the search writes.
    if (first == end || end - first > 18 || end >= text.size() || text[end] != QLatin1Char(','))
        return std::nullopt;
    return text.mid(first, end - first).toLongLong();
}

} // namespace search

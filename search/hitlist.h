// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

namespace search {

// The text of the hit list: a header naming the range and the right-hand side b * n + c, four
// lines on how to factorize a hit, then all hits on one line. Lines end with CR LF.
class HitList {
  public:
    // Lines 1 to 10, each closed by CR LF, so a list without hits ends with CR LF CR LF.
    // bText and cText are the texts of the b and c boxes; a text that is a number as a whole is
    // copied as it stands. For any other text the term is written for the value the search reads
    // from it (an empty box searches with 0), as if the box held the number text of that value.
    static QString header(int rangeBase, const QString& bText, const QString& cText);
    // One entry of the hit line: " 28,".
    static QString entry(long long n);
    // The hit whose entry holds the text position at (before or after one of its digits): the
    // digits around it, closed by a comma as entries are. Numbers of the header are no hits.
    static std::optional<long long> hitAt(const QString& text, int at);
};

} // namespace search

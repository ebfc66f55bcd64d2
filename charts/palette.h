// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

namespace charts {

// The colours that tell the kinds of numbers apart, handed to every command that draws them.
struct Palette {
    QColor deficient;     // S(n) < n
    QColor perfect;       // S(n) = n
    QColor abundant;      // S(n) > n
    QColor recordOutline; // the outlines of the record holders of T(n)
    QColor searchMark;    // the "#" under every hit of a search

    // Red, green and black for the sums, red outlines and dark blue marks.
    static Palette designed();
    // For pupils with a red-green weakness: vermillion, blue and black, vermillion outlines and
    // the same dark blue marks; every colour keeps a contrast of at least 3:1 against white.
    static Palette colourBlind();
};

} // namespace charts

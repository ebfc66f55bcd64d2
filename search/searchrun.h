// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "charts/palette.h"

#include <QString>

namespace surface {
class PictureBox;
}

namespace search {

// One press of "S(n)": every n of the shown half-range that satisfies a * S(n) = b * n + c gets a
// "#" in the yellow strip under its column and an entry in the hit list.
class SearchRun {
  public:
    // Repaints the strip (0, -1.5)-(charts::Column::count, -3) of the canvas, which removes the
    // marks of the last run, tests n = rangeBase + 1 ... rangeBase + charts::Column::count in
    // double precision with the coefficients read leniently from the box texts, marks the hits
    // and returns the whole hit list text. The marks take the palette's mark colour.
    // Leaves FontBold alone; CurrentX/CurrentY move only when something is printed.
    static QString Run(surface::PictureBox& canvas, int rangeBase, const QString& aText,
                       const QString& bText, const QString& cText,
                       const charts::Palette& palette = charts::Palette::designed());
    // Left edge of the mark of n: 0.15 units left of its column per character of n's number text.
    static double markX(long long n, int rangeBase);
};

} // namespace search

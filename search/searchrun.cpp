// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "searchrun.h"

#include "charts/column.h"
#include "divisors/divisorscan.h"
#include "hitlist.h"
#include "surface/numbertext.h"
#include "surface/picturebox.h"

namespace search {

using charts::Column;
using surface::NumberText;
using surface::PictureBox;

double SearchRun::markX(long long n, int rangeBase) {
    return static_cast<double>(n - rangeBase) - 0.15 * NumberText::width(static_cast<double>(n));
}

QString SearchRun::Run(PictureBox& canvas, int rangeBase, const QString& aText,
                       const QString& bText, const QString& cText, const charts::Palette& palette) {
    QString list = HitList::header(rangeBase, bText, cText);

    // The strip is a filled box; the text position stays where it was.
    const double keptX = canvas.CurrentX;
    const double keptY = canvas.CurrentY;
    canvas.Line(0, -1.5, Column::count, -3, QColor(255, 255, 0), PictureBox::LineMode::FilledBox);
    canvas.CurrentX = keptX;
    canvas.CurrentY = keptY;

    // Nothing can change the texts during the run, so they are read once.
    const double a = NumberText::lenient(aText);
    const double b = NumberText::lenient(bText);
    const double c = NumberText::lenient(cText);

    const long long first = static_cast<long long>(rangeBase) + 1;
    for (long long n = first; n < first + Column::count; ++n) {
        const double s = static_cast<double>(divisors::SummarizeProperDivisors(n).sum);
        if (a * s != b * static_cast<double>(n) + c)
            continue;
        canvas.CurrentX = markX(n, rangeBase);
        canvas.CurrentY = -1.1;
        canvas.FontSize = 24;
        canvas.ForeColor = palette.searchMark;
        canvas.Print(QStringLiteral("#"));
        list += HitList::entry(n);
    }
    return list;
}

} // namespace search

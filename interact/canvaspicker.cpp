// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "canvaspicker.h"

#include "charts/column.h"
#include "divisors/divisorscan.h"
#include "inkstrokes.h"
#include "surface/numbertext.h"
#include "surface/picturebox.h"

#include <cmath>

namespace interact {

using charts::Column;
using surface::NumberText;
using surface::PictureBox;

namespace {

constexpr int leftButton = 1;
constexpr int rightButton = 2;
// The number strip lies below this height.
constexpr double stripTop = 1;

const QColor darkBlue(0, 0, 128);

// Writes n's proper divisors, its divisor sum and its divisor count into column c. Each of the
// three parts makes its own descending scan of n.
void PickNumber(PictureBox& canvas, CanvasPicker::State& state, double c, long long n,
                bool abundanceShown, const charts::Palette& palette) {
    int k = 0;
    divisors::ScanProperDivisors(n, [&](long long s, bool isDivisor) {
        if (isDivisor)
            Column::WriteDivisor(canvas, c, ++k, s);
    });

    state.currentNumber = static_cast<double>(n);

    Column::WriteSum(canvas, c, n, divisors::SummarizeProperDivisors(n), abundanceShown, palette);
    Column::WriteCount(canvas, c, divisors::SummarizeProperDivisors(n).count);
}

} // namespace

double CanvasPicker::PickedColumn(double x) {
    return std::floor(x + 0.5);
}

void CanvasPicker::MouseDown(PictureBox& canvas, State state, int button, double x, double y,
                             bool abundanceShown, const charts::Palette& palette) {
    if (button == rightButton) {
        state.isDrawing = true;
        canvas.ForeColor = darkBlue;
        canvas.DrawWidth = 2;
        state.stroke = InkStrokes::NextStroke(canvas);
        state.lastDrawX = x;
        state.lastDrawY = y;
    }
    if (button == leftButton && y < stripTop) {
        const double c = PickedColumn(x);
        PickNumber(canvas, state, c, state.rangeBase + static_cast<long long>(c), abundanceShown,
                   palette);
    }
}

CanvasPicker::MoveResult CanvasPicker::MouseMove(PictureBox& canvas, State state, double x,
                                                 double y) {
    MoveResult result;
    if (y < stripTop) {
        const double c = PickedColumn(x);
        result.helpText = QStringLiteral("n = ") + NumberText::of(state.rangeBase + c) +
                          QStringLiteral("; Anklicken!");
        result.markerLeft = c - 0.7;
    } else {
        result.helpText = QStringLiteral("Rechte Maustaste = Zeichnen");
    }
    if (state.isDrawing) {
        canvas.DrawWidth = 3;
        PictureBox::Drawing segment;
        segment.x1 = state.lastDrawX;
        segment.y1 = state.lastDrawY;
        segment.x2 = x;
        segment.y2 = y;
        segment.color = canvas.ForeColor.rgb();
        segment.width = canvas.DrawWidth;
        segment.stroke = state.stroke;
        canvas.drawStroke(segment);
        state.lastDrawX = x;
        state.lastDrawY = y;
    }
    return result;
}

void CanvasPicker::MouseUp(State state) {
    state.isDrawing = false;
}

} // namespace interact

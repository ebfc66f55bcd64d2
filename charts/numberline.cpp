// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "numberline.h"

#include "column.h"
#include "surface/picturebox.h"

namespace charts {

using surface::PictureBox;

void NumberLine::DrawGridLines(PictureBox& canvas) {
    canvas.DrawWidth = 1;
    for (int y = 0; y <= 32; ++y)
        canvas.Line(0, y, Column::count, y, QColor(200, 200, 200));
}

void NumberLine::DrawGrid(PictureBox& canvas) {
    canvas.Cls();
    DrawGridLines(canvas);
}

void NumberLine::DrawNumberLine(PictureBox& canvas, int rangeBase) {
    DrawGrid(canvas);
    canvas.Line(0, -2, Column::count, 0, QColor(255, 255, 150), PictureBox::LineMode::FilledBox);
    canvas.Line(0, -1.5, Column::count, -3, QColor(255, 255, 0), PictureBox::LineMode::FilledBox);
    for (int i = 1; i <= Column::count; ++i) {
        const int n = rangeBase + i;
        canvas.ForeColor = QColor(0, 0, 200);
        canvas.CurrentX = Column::labelX(i, n);
        canvas.CurrentY = 0;
        canvas.FontBold = true;
        canvas.FontSize = 12;
        if (i % 2 == 0) {
            canvas.ForeColor = QColor(200, 0, 0);
            canvas.CurrentY = -0.5;
        }
        canvas.Print(n);
    }
}

} // namespace charts

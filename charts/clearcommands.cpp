// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "clearcommands.h"

#include "column.h"
#include "numberline.h"
#include "surface/picturebox.h"

namespace charts {

void ClearCommands::ClearScreen(surface::PictureBox& canvas) {
    NumberLine::DrawGrid(canvas);
}

void ClearCommands::ClearChartArea(surface::PictureBox& canvas) {
    canvas.Line(0, 0, Column::count, 32, QColor(255, 255, 255),
                surface::PictureBox::LineMode::FilledBox);
    NumberLine::DrawGridLines(canvas);
}

} // namespace charts

// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace surface {
class PictureBox;
}

namespace charts {

// The grid and the number line along the bottom of the canvas.
class NumberLine {
  public:
    // Clears the canvas and draws the 33 gray grid lines.
    static void DrawGrid(surface::PictureBox& canvas);
    // The grid, the two yellow bands and the labels of rangeBase + 1 ... rangeBase +
    // Column::count, one in each column.
    static void DrawNumberLine(surface::PictureBox& canvas, int rangeBase);
    // The 33 grid lines, without clearing.
    static void DrawGridLines(surface::PictureBox& canvas);
};

} // namespace charts

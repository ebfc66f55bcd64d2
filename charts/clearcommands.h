// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace surface {
class PictureBox;
}

namespace charts {

// The two ways to wipe the canvas.
class ClearCommands {
  public:
    // "Bildschirm löschen": everything goes, the bare grid is drawn again.
    static void ClearScreen(surface::PictureBox& canvas);
    // "X": the chart area above the number line is whitened and the grid drawn again.
    static void ClearChartArea(surface::PictureBox& canvas);
};

} // namespace charts

// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "charts/palette.h"

#include <QString>
#include <optional>

namespace surface {
class PictureBox;
}

namespace interact {

// Mouse work on the output canvas (scale (0, 36)-(505, -3)): over the number strip below y = 1
// the pointer names a number, a left press there writes the number's divisors, T(n) and S(n)
// into its column, and the right button draws freehand lines anywhere, each drag one stroke.
class CanvasPicker {
  public:
    // The window's variables the canvas reads and writes.
    struct State {
        int rangeBase;         // number before column 1
        double& currentNumber; // set by a left pick
        bool& isDrawing;       // true while a right-button drag goes on
        double& lastDrawX;     // end of the last freehand segment
        double& lastDrawY;
        quint32& stroke; // the number of the stroke a right-button drag draws
    };

    // What the window shows after a pointer move.
    struct MoveResult {
        QString helpText;                 // for the help line
        std::optional<double> markerLeft; // new Left of the column marker, in canvas units
    };

    // Buttons as 1 left, 2 right, 4 middle. abundanceShown: the S(n)-n chart is chosen, so the
    // pick writes S(n) - n instead of S(n), in the palette's colours. Refreshing the
    // factorization sheet is the caller's.
    static void MouseDown(surface::PictureBox& canvas, State state, int button, double x, double y,
                          bool abundanceShown,
                          const charts::Palette& palette = charts::Palette::designed());
    static MoveResult MouseMove(surface::PictureBox& canvas, State state, double x, double y);
    static void MouseUp(State state);

    // Column nearest to x, halves rounded up.
    static double PickedColumn(double x);
};

} // namespace interact

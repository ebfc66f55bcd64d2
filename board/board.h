// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "board/drawing.h"
#include "board/drawsettings.h"
#include "board/windowstate.h"

#include <QString>
#include <QVector>
#include <array>

namespace board {

// A prepared board: the canvas's drawings and everything else the window shows, as a teacher
// saves it before the lesson and opens it in class. The window state comes first, as the part
// that undo keeps too.
struct Board : WindowState {
    QVector<Drawing> drawings;           // in the order they were drawn
    DrawSettings settings;               // the canvas's drawing settings after them
    std::array<QString, 3> coefficients; // Text1(0), Text1(1), Text1(2)
    QString iterText;                    // txtIter
    QString hitList;                     // txtTreffer
    bool hitListVisible = false;
    QVector<Drawing> sheet;   // what the factorization sheet shows
    double sheetNumber = 0;   // the number the factorization sheet shows
    double markerLeft = 0;    // the column marker over the number line, in canvas units
    int canvasScroll = 0;     // HScAusgabe
    int heightScroll = 0;     // vscHoch
    int sheetScroll = 0;      // HScroll1
    int hitListScroll = 0;    // the hit list's vertical scroll position
    bool penMode = false;     // "Stift: linke Maustaste zeichnet" is checked
    bool colourBlind = false; // "Farben für Rot-Grün-Schwäche" is checked
    int penInk = 0;           // what the pen draws with: a colour of "Stift", 4 "Textmarker"
    bool penThick = false;    // "Dick" is checked
    bool operator==(const Board&) const = default;
};

} // namespace board

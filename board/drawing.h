// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "board/linemode.h"

#include <QRgb>
#include <QString>
#include <QtGlobal>

namespace board {

// One drawing kept on a picture box: what Line, Circle, PSet or Print was given, in user units,
// with the settings it was drawn with. A box repaints itself from these, in order, and a board
// file keeps them. The segments of a freehand stroke carry the stroke's number, by which the
// eraser takes the stroke away whole.
struct Drawing {
    enum class Kind : quint8 { Line, Circle, PSet, Print };
    Kind kind = Kind::Line;
    LineMode mode = LineMode::Plain; // Line
    double x1 = 0, y1 = 0;           // start, centre, point, or the text's top-left
    double x2 = 0, y2 = 0;           // Line: end; Circle: x2 is the radius
    QRgb color = 0xff000000;
    int width = 1;          // DrawWidth in pixels
    double fontSize = 8.25; // Print
    bool bold = false;      // Print
    QString text;           // Print
    quint32 stroke = 0;     // Line: the freehand stroke it is part of, from 1; 0 for none
    bool highlight = false; // Line: a highlighter's, which only darkens what lies under it
    bool operator==(const Drawing&) const = default;
};

} // namespace board

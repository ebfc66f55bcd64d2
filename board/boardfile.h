// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "board/board.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace board {

// The ".teiler" file: a versioned JSON document. Reading refuses anything it cannot show exactly
// as it was saved, and says why in German; writing refuses what reading would refuse, so a saved
// board always opens again. A drawing keeps only what its kind draws with (a text has no width, a
// line no font): the rest reads back as the defaults of Drawing.
class BoardFile {
  public:
    // 2: the pen mode and the colour choice are kept; a board of version 1 opens with both off.
    // 3: the segments of a freehand stroke carry its number and whether a highlighter drew it,
    // and the pen's ink is kept. In a board of an earlier version the lines 3 pixels wide that
    // the freehand drawing leaves become strokes, one for each run of them that joins up; it
    // opens with the designed ink.
    static constexpr int version = 3;
    static constexpr qsizetype maxBytes = 64 * 1024 * 1024;
    static constexpr qsizetype maxDrawings = 2'000'000;
    static constexpr int maxTextLength = 64;        // a drawing's text
    static constexpr int maxBoxLength = 32767;      // each coefficient and iter: a one-line box
    static constexpr int maxHitListLength = 32768;  // UTF-16 units, as QString counts them
    static constexpr double maxCoordinate = 1e6;    // |x|, |y|, currentX/Y and a circle's radius
    static constexpr int maxWidth = 64;             // a drawing's width and drawWidth, from 1
    static constexpr double maxFontSize = 500;      // above 0
    static constexpr int maxScroll = 100000;        // every scroll position, from 0
    static constexpr double maxStroke = 2147483647; // a stroke's number, from 1 (0: none)
    static constexpr int maxPenInk = 4;             // the pen's ink, from 0

    // The board as the file's bytes, or nullopt with the reason in *reason. A sheet number that
    // is not finite is written as 0: the sheet shows no factorization for either.
    static std::optional<QByteArray> Write(const Board& board, QString* reason);
    // The board in bytes, or nullopt with the reason in *reason.
    static std::optional<Board> Read(const QByteArray& bytes, QString* reason);
    // Why a file of more than maxBytes is no board; also what the window says when it sees the
    // size before reading.
    static QString TooLargeReason();
};

} // namespace board

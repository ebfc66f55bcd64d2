// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "surface/picturebox.h"

#include <QByteArray>
#include <QString>
#include <QVector>
#include <array>
#include <optional>

namespace app {

// A prepared board: the canvas's drawings and everything else the window shows, as a teacher
// saves it before the lesson and opens it in class.
struct Board {
    QVector<surface::PictureBox::Drawing> drawings; // in the order they were drawn
    surface::PictureBox::Settings settings;         // the canvas's drawing settings after them
    int rangeBase = 0;                              // 0 or 500
    int sumMode = 0;                                // 0 or 1
    bool sumChecked = false;                        // "Teilersumme S(n)" carries its check mark
    bool abundanceChecked = false;                  // "S(n)-n" carries its check mark
    std::array<QString, 3> coefficients;            // Text1(0), Text1(1), Text1(2)
    QString iterText;                               // txtIter
    QString hitList;                                // txtTreffer
    bool hitListVisible = false;
    QVector<surface::PictureBox::Drawing> sheet; // what the factorization sheet shows
    double sheetNumber = 0;
    double markerLeft = 0; // the column marker over the number line, in canvas units // the number
                           // the factorization sheet shows
    int canvasScroll = 0;  // HScAusgabe
    int heightScroll = 0;  // vscHoch
    int sheetScroll = 0;   // HScroll1
    int hitListScroll = 0; // the hit list's vertical scroll position
    bool operator==(const Board&) const = default;
};

// The ".teiler" file: a versioned JSON document. Reading refuses anything it cannot show exactly
// as it was saved, and says why in German; writing refuses what reading would refuse, so a saved
// board always opens again. A drawing keeps only what its kind draws with (a text has no width, a
// line no font): the rest reads back as the defaults of Drawing.
class BoardFile {
  public:
    static constexpr int version = 1;
    static constexpr qsizetype maxBytes = 64 * 1024 * 1024;
    static constexpr qsizetype maxDrawings = 2'000'000;
    static constexpr int maxTextLength = 64;       // a drawing's text, each coefficient, iter
    static constexpr int maxHitListLength = 32768; // UTF-16 units, as QString counts them
    static constexpr double maxCoordinate = 1e6;   // |x|, |y|, currentX/Y and a circle's radius
    static constexpr int maxWidth = 64;            // a drawing's width and drawWidth, from 1
    static constexpr double maxFontSize = 500;     // above 0
    static constexpr int maxScroll = 100000;       // every scroll position, from 0

    // The board as the file's bytes, or nullopt with the reason in *reason.
    static std::optional<QByteArray> Write(const Board& board, QString* reason);
    // The board in bytes, or nullopt with the reason in *reason.
    static std::optional<Board> Read(const QByteArray& bytes, QString* reason);
};

} // namespace app

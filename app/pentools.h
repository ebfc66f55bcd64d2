// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "board/board.h"
#include "interact/ink.h"

#include <QObject>
#include <QPointer>
#include <QSettings>
#include <array>
#include <memory>

class QAction;
class QActionGroup;
class QEvent;
class QMenu;
class QWidget;

namespace board {
class Document;
}

namespace interact {
class InkStrokes;
class PenInput;
} // namespace interact

namespace app {

// The pen's tools at the board: the submenu "Stift" of "Tafel", where the four colours, the
// highlighter and the eraser are one choice and "Dick" is checked beside them, and the keys 1 to
// 5 and E for that choice while the pen mode is on and no text box has the focus. The ink (a
// colour or the highlighter, and "Dick") is the board's: choosing it marks the board modified,
// and undo, which walks the drawings, leaves it. The eraser is no ink; a board keeps the ink
// chosen before it. The ink is also kept in the settings for the next start, which are read when
// the pen is first needed, or soon after the window has first painted, unless a board shown
// before brought its own.
class PenTools : public QObject {
    Q_OBJECT
  public:
    // Puts the submenu into menu after penMode ("Stift: linke Maustaste zeichnet") and follows
    // the pen's presses on the canvas after those who listen already.
    PenTools(QMenu& menu, QAction& penMode, interact::PenInput& pen, board::Document& document,
             QObject* parent = nullptr);
    ~PenTools() override;

    // The pen's part of a board: its mode and its ink.
    void capture(board::Board& board) const;
    void show(const board::Board& board);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildMenu(QMenu& menu);
    // The settings, once: not before the window has first painted.
    void load();
    QSettings& settings();
    // Checks the entries of the ink, unless the eraser is chosen.
    void setInk(int ink, bool thick);
    // The teacher chose an ink, "Dick" or the eraser.
    void chosen(QAction* entry);
    // The pen draws or erases as the entries say.
    void apply();

    QAction& m_penMode;
    interact::PenInput& m_pen;
    board::Document& m_document;
    // The canvas goes before this does when the window closes.
    QPointer<QWidget> m_canvas;
    interact::InkStrokes* m_strokes = nullptr;
    QMenu* m_submenu = nullptr;
    QActionGroup* m_group = nullptr;
    std::array<QAction*, interact::Ink::choices> m_inks{};
    QAction* m_eraser = nullptr;
    QAction* m_thick = nullptr;
    int m_ink = 0; // the board's: the last ink checked, also while the eraser is
    std::unique_ptr<QSettings> m_settings;
    bool m_loaded = false;
};

} // namespace app

// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "board/board.h"
#include "board/recentboards.h"
#include "board/recovery.h"

#include <QObject>
#include <QSettings>
#include <functional>
#include <memory>
#include <optional>

class QMenu;
class QWidget;

namespace board {
class AutoSave;
class Document;
} // namespace board

namespace app {

// The board's entries of the "Tafel" menu and the questions around them: a new board, opening,
// a recent board, saving in place or under a new name, the question before unsaved changes would
// be lost, and the offer to restore the board that a crash left behind.
class BoardCommands : public QObject {
    Q_OBJECT
  public:
    // What the commands need of the window.
    struct Window {
        std::function<board::Board()> capture;         // the board as the window shows it
        std::function<void(const board::Board&)> show; // puts a board into the window
        std::function<void()> stopDrawing;             // stops a chart that is still drawing
    };

    // Keeps this window's recovery file in recoveryFolder; the board the window shows now is what
    // "Neue Tafel" gives.
    BoardCommands(QWidget& window, board::Document& document, Window access,
                  const QString& recoveryFolder, QObject* parent = nullptr);
    ~BoardCommands() override;

    void newBoard();
    void open();
    void openRecent(const QString& path);
    bool save();
    bool saveAs();
    // Writes the board to path; on success the board is that file's. A failure is told in a
    // message box that names the file and the reason.
    bool saveTo(const QString& path);
    // Opens the board in path, stopping a chart that still draws first. A failure is told in a
    // message box that names the file and the reason, and leaves the board as it was.
    bool openFile(const QString& path);
    // Asks, if the board has unsaved changes, whether to save them: false for "Abbrechen" or a
    // failed save, when nothing may be dropped.
    bool maybeSave();
    // Offers the board that a window which ended without asking left behind, if there is one;
    // that place is this window's from then on.
    void offerRecovery();
    // Lists the recent boards as entries of menu.
    void fillRecentMenu(QMenu& menu);
    // The window closes as asked: its recovery file goes.
    void closing();

  private:
    void showBoard(const board::Board& board, const QString& path);
    void tellRecoveryFailed(const QString& reason);
    board::RecentBoards recent();

    QWidget& m_window;
    board::Document& m_document;
    Window m_access;
    board::Board m_startBoard;
    std::unique_ptr<QSettings> m_settings;
    board::Recovery m_recovery;
    board::AutoSave* m_autoSave = nullptr;
};

} // namespace app

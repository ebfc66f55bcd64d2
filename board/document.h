// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "board/board.h"
#include "board/history.h"

#include <QObject>
#include <QString>
#include <optional>

namespace board {

// The board as a document: its history, the file it was last opened from or saved to, and
// whether it differs from that file (the history's clean state). Reading and writing ".teiler"
// files happens here too, so that every way into and out of a file says the same in German.
class Document : public QObject {
    Q_OBJECT
  public:
    explicit Document(Canvas& canvas, QObject* parent = nullptr);

    History& history() { return m_history; }
    const History& history() const { return m_history; }
    // The file, absolute; empty for a board that has none yet.
    const QString& filePath() const { return m_filePath; }
    bool isModified() const { return !m_history.isClean(); }
    // "Teiler" for an unchanged board without a file; else the file's name, or "Unbenannt", and
    // the place of the modified mark: "tafel.teiler[*] – Teiler".
    QString windowTitle() const;

    // The board now is the one in path (empty: none), as just saved or opened: unmodified.
    void setSaved(const QString& path);
    // The board now differs from every file and every step: restored after a crash.
    void setRestored(const QString& path);

    // The board in a ".teiler" file. Only a regular file is read, and it is opened without
    // waiting, so a named pipe or a device is refused at once instead of blocking the window.
    static std::optional<Board> ReadFile(const QString& path, QString* reason);
    // Writes the board through the safe writer; refuses what ReadFile would refuse.
    static bool WriteFile(const Board& board, const QString& path, QString* reason);

  signals:
    void titleChanged(); // the file or the modified state changed

  private:
    History m_history;
    QString m_filePath;
};

} // namespace board

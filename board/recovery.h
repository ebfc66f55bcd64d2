// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "board/board.h"

#include <QDateTime>
#include <QLockFile>
#include <QString>
#include <memory>
#include <optional>

namespace board {

// The unsaved board kept for the case that the program ends without asking (a crash, a power
// cut, kill -9): one file for each running window in a folder of the program's own, each guarded
// by a lock file, so that two windows never share or delete each other's. The file is a ".teiler"
// board; beside it a second file names the board's own file, if it has one.
class Recovery {
  public:
    // What a window that no longer runs left behind.
    struct Found {
        QString path;      // the recovery file
        QString boardFile; // the file the board came from or was saved to; empty for none
        QDateTime written; // when it was last written
    };

    explicit Recovery(QString folder);
    ~Recovery();

    // Takes a place for this window's file, first one that a window which no longer runs left
    // behind: that one is returned, and is this window's from now on. Once this window has a
    // place, nothing.
    std::optional<Found> claim();
    // Writes the board as this window's recovery file, through the safe writer; a window without
    // a place yet takes a free one, never one that another window left behind.
    bool write(const Board& board, const QString& boardFile, QString* reason);
    // Deletes this window's file: the board was saved, is unchanged, or the window closes.
    void remove();
    // Renames this window's file so that no window finds it again, and gives its new path: a
    // damaged file is kept for a look, never deleted unseen.
    QString moveAside();
    const QString& folder() const { return m_folder; }

  private:
    QString fileOf(int slot, const QString& ending) const;
    bool lockSlot(int slot);
    QList<int> leftBehind() const;
    bool claimFree(const QList<int>& left);

    QString m_folder;
    int m_slot = 0;
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace board

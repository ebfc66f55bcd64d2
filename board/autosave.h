// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "board/board.h"

#include <QObject>
#include <QTimer>
#include <functional>

namespace board {

class Document;
class Recovery;

// Keeps a document's recovery file up to date: two seconds after the last change, never while a
// step is open (a stroke, a chart still drawing), the board is written if it differs from its
// file, and the recovery file is deleted if it does not.
class AutoSave : public QObject {
    Q_OBJECT
  public:
    static constexpr int delayMs = 2000;

    AutoSave(Document& document, Recovery& recovery, std::function<Board()> capture,
             QObject* parent = nullptr);

    // Writes or deletes now, as the timer would.
    void saveNow();
    // From now on nothing is written: the window has closed.
    void stop();

  signals:
    // A write failed (a full disk); the reason is in German. Told once until a write succeeds.
    void failed(const QString& reason);

  private:
    void due();

    Document& m_document;
    Recovery& m_recovery;
    std::function<Board()> m_capture;
    QTimer m_timer;
    bool m_failing = false;
    bool m_stopped = false;
};

} // namespace board

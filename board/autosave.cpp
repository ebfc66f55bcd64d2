// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "autosave.h"

#include "board/document.h"
#include "board/recovery.h"

#include <utility>

namespace board {

AutoSave::AutoSave(Document& document, Recovery& recovery, std::function<Board()> capture,
                   QObject* parent)
    : QObject(parent), m_document(document), m_recovery(recovery), m_capture(std::move(capture)) {
    m_timer.setSingleShot(true);
    m_timer.setInterval(delayMs);
    connect(&m_timer, &QTimer::timeout, this, &AutoSave::due);
    const auto restart = [this] { m_timer.start(); };
    connect(&m_document.history(), &History::changed, this, restart);
    connect(&m_document, &Document::titleChanged, this, restart);
}

void AutoSave::due() {
    if (m_document.history().isOpen()) {
        m_timer.start(); // a stroke or a chart is still under way
        return;
    }
    saveNow();
}

void AutoSave::stop() {
    m_timer.stop();
    m_stopped = true;
}

void AutoSave::saveNow() {
    m_timer.stop();
    if (m_stopped)
        return;
    if (!m_document.isModified()) {
        m_recovery.remove();
        return;
    }
    QString reason;
    if (m_recovery.write(m_capture(), m_document.filePath(), &reason)) {
        m_failing = false;
    } else if (!std::exchange(m_failing, true)) {
        emit failed(reason);
    }
}

} // namespace board

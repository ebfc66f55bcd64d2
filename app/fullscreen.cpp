// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "fullscreen.h"

#include <QAction>
#include <QKeySequence>
#include <QShortcut>
#include <QWidget>
#include <QWindowStateChangeEvent>

namespace app {

FullScreen::FullScreen(QWidget& window, QAction& entry)
    : QObject(&window), m_window(window), m_entry(entry) {
    m_leave = new QShortcut(QKeySequence(Qt::Key_Escape), &window);
    m_leave->setObjectName(QStringLiteral("leaveFullScreen"));
    m_leave->setEnabled(false);
    connect(m_leave, &QShortcut::activated, this, [this] {
        m_entry.setChecked(false);
        apply();
    });
    window.installEventFilter(this);
}

void FullScreen::apply() {
    if (m_entry.isChecked()) {
        if (!m_window.isFullScreen()) {
            m_requested = true;
            m_maximizedBefore = m_window.isMaximized();
            m_normalGeometry = m_maximizedBefore ? QRect() : m_window.geometry();
        }
        m_window.showFullScreen();
        return;
    }
    m_requested = false;
    if (m_maximizedBefore) {
        m_window.showMaximized();
    } else {
        m_window.showNormal();
        if (!m_normalGeometry.isEmpty())
            m_window.setGeometry(m_normalGeometry);
    }
}

bool FullScreen::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_window && event->type() == QEvent::WindowStateChange)
        stateChanged(static_cast<QWindowStateChangeEvent*>(event)->oldState());
    return false;
}

void FullScreen::stateChanged(Qt::WindowStates before) {
    const bool fullScreen = m_window.isFullScreen();
    const bool wasFullScreen = before.testFlag(Qt::WindowFullScreen);
    if (fullScreen && !wasFullScreen && !m_requested) {
        // The window manager chose full screen: what the window was comes only from here.
        m_maximizedBefore = before.testFlag(Qt::WindowMaximized);
        m_normalGeometry = QRect();
    }
    m_entry.setChecked(fullScreen);
    m_leave->setEnabled(fullScreen);
}

} // namespace app

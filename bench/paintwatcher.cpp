// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "paintwatcher.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QWidget>

namespace bench {

PaintWatcher::PaintWatcher(QWidget* widget) : QObject(widget) {
    widget->installEventFilter(this);
}

QWidget* PaintWatcher::widget() const {
    return static_cast<QWidget*>(parent());
}

bool PaintWatcher::eventFilter(QObject*, QEvent* event) {
    if (event->type() == QEvent::Paint)
        ++m_count;
    return false;
}

bool PaintWatcher::waitForPaint(int already, std::chrono::milliseconds limit) const {
    QElapsedTimer clock;
    clock.start();
    // The paint runs inside processEvents, so once the count has moved the picture is complete.
    while (m_count <= already) {
        if (clock.elapsed() > limit.count())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    return true;
}

} // namespace bench

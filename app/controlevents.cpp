// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "controlevents.h"

#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

namespace app {

ControlEvents::ControlEvents(QWidget& control, int watch) : QObject(&control), m_watch(watch) {
    control.installEventFilter(this);
}

bool ControlEvents::eventFilter(QObject*, QEvent* event) {
    const bool press =
        event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
    if (press && (m_watch & Presses)) {
        auto* e = static_cast<QMouseEvent*>(event);
        const int button = e->button() == Qt::LeftButton    ? 1
                           : e->button() == Qt::RightButton ? 2
                                                            : 4;
        const Qt::KeyboardModifiers keys = e->modifiers();
        const int shift = (keys & Qt::ShiftModifier ? 1 : 0) |
                          (keys & Qt::ControlModifier ? 2 : 0) | (keys & Qt::AltModifier ? 4 : 0);
        emit mouseDown(button, shift, e->position().x(), e->position().y());
        return false;
    }
    if (event->type() == QEvent::Wheel && (m_watch & WheelTurns)) {
        emit mouseWheel(static_cast<QWheelEvent*>(event));
        return true;
    }
    return false;
}

} // namespace app

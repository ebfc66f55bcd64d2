// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "scrollbar.h"

#include <QKeyEvent>
#include <QSignalBlocker>

#include <algorithm>

namespace surface {

// Underneath, the bar always runs from its smaller to its larger end; with Min > Max the value
// is mirrored, so that Min sits at the start of the track.
ScrollBar::ScrollBar(Qt::Orientation orientation, int min, int max, QWidget* parent)
    : QScrollBar(orientation, parent), m_first(min), m_last(max) {
    setRange(std::min(min, max), std::max(min, max));
    setSingleStep(1);
    setPageStep(1);
    setFocusPolicy(Qt::StrongFocus);
    SetValue(min);
}

int ScrollBar::Value() const {
    return m_first > m_last ? m_first + m_last - value() : value();
}

void ScrollBar::SetValue(int v) {
    setValue(m_first > m_last ? m_first + m_last - v : v);
}

void ScrollBar::setEnds(int min, int max) {
    const int kept = std::clamp(Value(), std::min(min, max), std::max(min, max));
    {
        // Between the two calls the underlying value stands for another Value.
        const QSignalBlocker quiet(this);
        m_first = min;
        m_last = max;
        setRange(std::min(min, max), std::max(min, max));
    }
    SetValue(kept);
}

// Qt's scroll bars invert their controls so that the wheel turns the way the page moves, and
// with that send a horizontal thumb left on Right.
void ScrollBar::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (orientation() == Qt::Horizontal && (key == Qt::Key_Left || key == Qt::Key_Right)) {
        const bool right = (key == Qt::Key_Right) != (layoutDirection() == Qt::RightToLeft);
        triggerAction(right ? SliderSingleStepAdd : SliderSingleStepSub);
        event->accept();
        return;
    }
    QScrollBar::keyPressEvent(event);
}

} // namespace surface

// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "drawingstep.h"

#include <algorithm>
#include <utility>

namespace board {

DrawingStep::DrawingStep(Change change, Canvas& canvas)
    : m_change(std::move(change)), m_canvas(canvas) {}

void DrawingStep::undo() {
    show(false);
}

void DrawingStep::redo() {
    if (!std::exchange(m_taken, true))
        return;
    show(true);
}

bool DrawingStep::shown(bool after) const {
    const auto& tail = after ? m_change.after : m_change.before;
    const qsizetype prefix = m_change.prefix - (after ? m_change.removedAt.size() : 0);
    return m_canvas.drawings().size() == prefix + tail.size();
}

QVector<Drawing> DrawingStep::prefixFrom(const QVector<Drawing>& list, const Change& change,
                                         qsizetype from, bool withRemoved) {
    QVector<Drawing> part;
    part.reserve(change.prefix - from);
    qsizetype next = std::lower_bound(change.removedAt.cbegin(), change.removedAt.cend(), from) -
                     change.removedAt.cbegin();
    qsizetype at = from; // in list, which holds the removed ones unless they are wanted
    for (qsizetype i = from; i < change.prefix; ++i) {
        const bool gone = next < change.removedAt.size() && change.removedAt[next] == i;
        if (gone && withRemoved)
            part.append(change.removed[next]);
        else if (!gone)
            part.append(list.at(at++));
        else
            ++at;
        if (gone)
            ++next;
    }
    return part;
}

// Only the drawings from the first removed one on are put back or taken away again; those
// before it the canvas keeps.
void DrawingStep::show(bool after) {
    const qsizetype from =
        m_change.removedAt.isEmpty() ? m_change.prefix : m_change.removedAt.constFirst();
    QVector<Drawing> tail = prefixFrom(m_canvas.drawings(), m_change, from, !after);
    tail += after ? m_change.after : m_change.before;
    m_canvas.replaceDrawings(from, tail);
    m_canvas.setSettings(after ? m_change.settingsAfter : m_change.settingsBefore);
}

} // namespace board

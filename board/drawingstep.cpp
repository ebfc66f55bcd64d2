// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "drawingstep.h"

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
    return m_canvas.drawings().size() == m_change.prefix + tail.size();
}

void DrawingStep::show(bool after) {
    m_canvas.replaceDrawings(m_change.prefix, after ? m_change.after : m_change.before);
    m_canvas.setSettings(after ? m_change.settingsAfter : m_change.settingsBefore);
}

} // namespace board

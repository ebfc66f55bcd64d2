// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "history.h"

#include <utility>

namespace board {

History::History(Canvas& canvas, int depth, QObject* parent) : QObject(parent), m_canvas(canvas) {
    m_stack.setUndoLimit(depth);
    connect(&m_stack, &QUndoStack::indexChanged, this, &History::changed);
    connect(&m_stack, &QUndoStack::cleanChanged, this, &History::cleanChanged);
}

// The stack empties itself as it goes, which is no change anybody listens for any more.
History::~History() {
    m_stack.blockSignals(true);
}

void History::begin(const WindowState& before) {
    if (m_depth++ > 0)
        return;
    m_open = DrawingStep::Change{};
    m_open.prefix = m_canvas.drawings().size();
    m_open.settingsBefore = m_canvas.settings();
    m_open.stateBefore = before;
    m_openCleared = false;
}

// The first Cls of a step takes the drawings that were there before the step with it.
void History::canvasAboutToClear() {
    if (m_depth == 0 || m_openCleared || m_openVoid)
        return;
    m_open.before = m_canvas.drawings().first(m_open.prefix);
    m_open.prefix = 0;
    m_openCleared = true;
}

void History::end(const WindowState& after) {
    if (m_depth == 0 || --m_depth > 0)
        return;
    DrawingStep::Change step = std::exchange(m_open, DrawingStep::Change{});
    if (std::exchange(m_openVoid, false) || step.prefix > m_canvas.drawings().size()) {
        emit changed(); // the history was cleared while the step ran: it has no before
        return;
    }
    step.after = m_canvas.drawings().sliced(step.prefix);
    step.settingsAfter = m_canvas.settings();
    step.stateAfter = after;
    if (!m_openCleared && step.after.isEmpty() && step.stateBefore == step.stateAfter) {
        emit changed(); // nothing drawn, nothing changed; undo is possible again
        return;
    }
    m_stack.push(new DrawingStep(std::move(step), m_canvas));
}

std::optional<WindowState> History::undo() {
    return canUndo() ? walk(false) : std::nullopt;
}

std::optional<WindowState> History::redo() {
    return canRedo() ? walk(true) : std::nullopt;
}

// Takes the step before the stack's index back (or the one at it again), if the canvas still
// shows what that step expects.
std::optional<WindowState> History::walk(bool forward) {
    const int at = forward ? m_stack.index() : m_stack.index() - 1;
    const auto* step = static_cast<const DrawingStep*>(m_stack.command(at));
    if (!step->shown(!forward)) {
        clear(); // something drew outside the steps
        return std::nullopt;
    }
    forward ? m_stack.redo() : m_stack.undo();
    return step->state(forward);
}

void History::clear() {
    const bool clean = m_stack.isClean();
    m_stack.clear();
    if (!clean)
        m_stack.resetClean();
    m_openVoid = m_depth > 0;
    emit changed();
}

} // namespace board

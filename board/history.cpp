// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "history.h"

#include <QPointer>
#include <utility>

namespace board {

History::History(Canvas& canvas, int depth, QObject* parent) : QObject(parent), m_canvas(canvas) {
    m_stack.setUndoLimit(depth);
    connect(&m_stack, &QUndoStack::indexChanged, this, &History::changed);
    connect(&m_stack, &QUndoStack::cleanChanged, this, &History::cleanChanged);
    // The canvas may outlive the history.
    m_canvas.setRemovalListener(
        [history = QPointer<History>(this)](qsizetype index, const Drawing& drawing) {
            if (history)
                history->canvasAboutToRemove(index, drawing);
        });
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
    m_open.before = DrawingStep::prefixFrom(m_canvas.drawings(), m_open, 0, true);
    m_open.prefix = 0;
    m_open.removedAt.clear();
    m_open.removed.clear();
    m_openCleared = true;
}

// The step keeps a drawing it found on the canvas with its index in the list as it found it:
// past every drawing dropped before it. Those it drew itself are in what it leaves anyway.
void History::canvasAboutToRemove(qsizetype index, const Drawing& drawing) {
    if (m_depth == 0) {
        clear();
        return;
    }
    auto& removedAt = m_open.removedAt;
    if (m_openVoid || index < 0 || index >= m_open.prefix - removedAt.size())
        return;
    // Past every removed drawing whose index, less the removed ones before it, is at most index:
    // that many were dropped before this one.
    qsizetype low = 0;
    qsizetype high = removedAt.size();
    while (low < high) {
        const qsizetype middle = low + (high - low) / 2;
        if (removedAt[middle] - middle <= index)
            low = middle + 1;
        else
            high = middle;
    }
    removedAt.insert(low, index + low);
    m_open.removed.insert(low, drawing);
}

void History::end(const WindowState& after) {
    if (m_depth == 0 || --m_depth > 0)
        return;
    DrawingStep::Change step = std::exchange(m_open, DrawingStep::Change{});
    const qsizetype kept = step.prefix - step.removedAt.size();
    if (std::exchange(m_openVoid, false) || kept > m_canvas.drawings().size()) {
        emit changed(); // the history was cleared while the step ran: it has no before
        return;
    }
    step.after = m_canvas.drawings().sliced(kept);
    step.removedAt.squeeze();
    step.removed.squeeze();
    shareLists(step);
    step.settingsAfter = m_canvas.settings();
    step.stateAfter = after;
    if (!m_openCleared && step.removedAt.isEmpty() && step.after.isEmpty() &&
        step.stateBefore == step.stateAfter) {
        emit changed(); // nothing drawn, nothing changed; undo is possible again
        return;
    }
    m_stack.push(new DrawingStep(std::move(step), m_canvas));
}

// A chart drawn again leaves what it dropped, and what the step before or the one before that left
// (the two sum charts take turns): such a list is shared with the step that holds it already, so
// that the steps of charts drawn over and over cost little more than the indices they dropped.
void History::shareLists(DrawingStep::Change& step) const {
    QVector<const QVector<Drawing>*> earlier{&step.after};
    for (int at = m_stack.index() - 1; at >= 0 && at >= m_stack.index() - 2; --at) {
        const auto& change = static_cast<const DrawingStep*>(m_stack.command(at))->change();
        earlier += {&change.after, &change.removed};
    }
    for (QVector<Drawing>* list : {&step.after, &step.removed})
        for (const QVector<Drawing>* other : std::as_const(earlier))
            if (other != list && !list->isEmpty() && *other == *list) {
                *list = *other;
                break;
            }
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

// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "drawinghistory.h"

#include <utility>

namespace surface {

DrawingHistory::DrawingHistory(PictureBox& box, int depth)
    : QObject(&box), m_box(box), m_maxSteps(depth) {
    connect(&box, &PictureBox::aboutToClear, this, &DrawingHistory::boxAboutToClear);
}

void DrawingHistory::begin(const QVariant& stateBefore) {
    if (m_depth++ > 0)
        return;
    m_open = Step{};
    m_open.prefix = m_box.drawings().size();
    m_open.settingsBefore = m_box.settings();
    m_open.stateBefore = stateBefore;
    m_openCleared = false;
}

// The first Cls of a step takes the drawings that were there before the step with it.
void DrawingHistory::boxAboutToClear() {
    if (m_depth == 0 || m_openCleared || m_openVoid)
        return;
    m_open.before = m_box.drawings().first(m_open.prefix);
    m_open.prefix = 0;
    m_openCleared = true;
}

void DrawingHistory::end(const QVariant& stateAfter) {
    if (m_depth == 0 || --m_depth > 0)
        return;
    Step step = std::move(m_open);
    m_open = Step{};
    if (std::exchange(m_openVoid, false) || step.prefix > m_box.drawings().size())
        return; // the history was cleared while the step ran: it has no before
    step.after = m_box.drawings().sliced(step.prefix);
    step.settingsAfter = m_box.settings();
    step.stateAfter = stateAfter;
    if (!m_openCleared && step.after.isEmpty() && step.stateBefore == step.stateAfter)
        return; // nothing drawn, nothing changed
    m_done.push_back(std::move(step));
    while (static_cast<int>(m_done.size()) > m_maxSteps)
        m_done.pop_front();
    m_undone.clear();
    emit changed();
}

std::optional<QVariant> DrawingHistory::undo() {
    return canUndo() ? walk(m_done, m_undone, false) : std::nullopt;
}

std::optional<QVariant> DrawingHistory::redo() {
    return canRedo() ? walk(m_undone, m_done, true) : std::nullopt;
}

// Moves the last step of `from` to `to`, putting the box back to the step's before (or after).
std::optional<QVariant> DrawingHistory::walk(std::deque<Step>& from, std::deque<Step>& to,
                                             bool forward) {
    Step step = std::move(from.back());
    from.pop_back();
    const auto& shown = forward ? step.before : step.after;
    if (m_box.drawings().size() != step.prefix + shown.size()) {
        clear(); // something drew outside the steps
        return std::nullopt;
    }
    m_box.replaceDrawings(step.prefix, forward ? step.after : step.before);
    m_box.setSettings(forward ? step.settingsAfter : step.settingsBefore);
    QVariant state = forward ? step.stateAfter : step.stateBefore;
    to.push_back(std::move(step));
    emit changed();
    return state;
}

void DrawingHistory::clear() {
    m_done.clear();
    m_undone.clear();
    m_openVoid = m_depth > 0;
    emit changed();
}

} // namespace surface

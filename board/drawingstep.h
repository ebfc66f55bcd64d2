// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "board/canvas.h"
#include "board/windowstate.h"

#include <QUndoCommand>

namespace board {

// One step on the canvas (a menu command, a stroke from press to release) as the undo stack
// keeps it: only what it changed, that is the drawings after the part the canvas had in common
// before and after it, those of that part that later drawings covered and the canvas dropped, the
// drawing settings and the window's state on either side.
class DrawingStep : public QUndoCommand {
  public:
    struct Change {
        // The drawings before and after have the first `prefix` in common, but for those at the
        // indices removedAt (ascending) that the canvas dropped during the step as covered.
        qsizetype prefix = 0;
        QVector<qsizetype> removedAt;
        QVector<Drawing> removed; // the drawings that stood there
        QVector<Drawing> before;  // after the prefix, before the step
        QVector<Drawing> after;   // after the prefix, after the step
        DrawSettings settingsBefore, settingsAfter;
        WindowState stateBefore, stateAfter;
    };

    // The step has happened already: the first redo, which the stack runs when it takes the
    // step, leaves the canvas as it is.
    DrawingStep(Change change, Canvas& canvas);

    void undo() override;
    void redo() override;

    // Whether the canvas shows what the step left (after) or what it found (before): anything
    // drawn outside the steps makes that false, and the step can no longer be walked.
    bool shown(bool after) const;
    const WindowState& state(bool after) const {
        return after ? m_change.stateAfter : m_change.stateBefore;
    }
    const Change& change() const { return m_change; }
    // The drawings of the change's prefix from `from` on, with the removed ones (as the step
    // found them) or without (as it left them), read from a list that shows the other of the two.
    static QVector<Drawing> prefixFrom(const QVector<Drawing>& list, const Change& change,
                                       qsizetype from, bool withRemoved);

  private:
    void show(bool after);

    Change m_change;
    Canvas& m_canvas;
    bool m_taken = false;
};

} // namespace board

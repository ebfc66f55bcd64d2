// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "board/canvas.h"
#include "board/windowstate.h"

#include <QUndoCommand>

namespace board {

// One step on the canvas (a menu command, a stroke from press to release) as the undo stack
// keeps it: only what it changed, that is the drawings after the part the canvas had in common
// before and after it, the drawing settings and the window's state on either side.
class DrawingStep : public QUndoCommand {
  public:
    struct Change {
        qsizetype prefix = 0;    // the drawings before and after have this many in common
        QVector<Drawing> before; // after the prefix, before the step
        QVector<Drawing> after;  // after the prefix, after the step
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

  private:
    void show(bool after);

    Change m_change;
    Canvas& m_canvas;
    bool m_taken = false;
};

} // namespace board

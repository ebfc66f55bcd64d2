// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "board/drawingstep.h"

#include <QObject>
#include <QUndoStack>
#include <optional>

namespace board {

// Undo and redo for what is drawn on one canvas, on Qt's undo stack: each step runs from begin()
// to end(), and steps begun inside an open step join it (a command chosen while a chart still
// draws is taken back with it). The stack's clean state is the board as it was last saved or
// opened: taking steps back to it makes the board unmodified again.
class History : public QObject {
    Q_OBJECT
  public:
    explicit History(Canvas& canvas, int depth = 100, QObject* parent = nullptr);
    ~History() override;

    void begin(const WindowState& before);
    void end(const WindowState& after);
    bool isOpen() const { return m_depth > 0; }
    bool canUndo() const { return !isOpen() && m_stack.canUndo(); }
    bool canRedo() const { return !isOpen() && m_stack.canRedo(); }
    // Puts the canvas back as it was before the last step and gives the window's state then;
    // nullopt when there is no step to take back, or the canvas no longer shows what the step
    // left (the history is then cleared).
    std::optional<WindowState> undo();
    std::optional<WindowState> redo();
    // Forgets every step; a board that differed from its file still does.
    void clear();
    // Call before the canvas loses its drawings inside a step (Cls): the step keeps them.
    void canvasAboutToClear();
    // Call when the canvas drops the drawing at index because a later one covers it; the canvas
    // tells the history itself. Inside a step, one that was there before the step is kept with
    // it; outside, the steps no longer fit the canvas.
    void canvasAboutToRemove(qsizetype index, const Drawing& drawing);

    // Whether the canvas is as it was when markClean() was last called.
    bool isClean() const { return m_stack.isClean(); }
    void markClean() { m_stack.setClean(); }
    // Differs from every state the steps can reach (a board restored after a crash).
    void markModified() { m_stack.resetClean(); }

  signals:
    void changed();                // what undo and redo can do has changed
    void cleanChanged(bool clean); // see isClean()

  private:
    std::optional<WindowState> walk(bool forward);
    void shareLists(DrawingStep::Change& step) const;

    Canvas& m_canvas;
    QUndoStack m_stack;
    int m_depth = 0;
    DrawingStep::Change m_open;
    bool m_openCleared = false;
    bool m_openVoid = false; // cleared while open (a board opened while a chart yields)
};

} // namespace board

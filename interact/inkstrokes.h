// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "interact/ink.h"

#include <QObject>
#include <QPointF>
#include <QSet>

namespace surface {
class PictureBox;
}

namespace interact {

// The pen's own work on the canvas, beside the picker's: a drag with PenInput's penButton draws
// one freehand stroke in the chosen ink, and a press or drag with its eraserButton takes away
// every freehand or highlighter stroke it touches, whole; charts, picks, marks and the number
// line are no strokes and stay. It hears the presses, moves and releases after the window, which
// makes each press to release one step of the history.
class InkStrokes : public QObject {
    Q_OBJECT
  public:
    // How far from its point, in logical pixels, the eraser reaches.
    static constexpr double eraserRadius = 6;

    explicit InkStrokes(surface::PictureBox& canvas, QObject* parent = nullptr);

    void setInk(const Ink& ink) { m_ink = ink; }
    const Ink& ink() const { return m_ink; }

    // The number a new stroke on canvas takes: one more than the highest there. Undo and redo
    // walk one line of steps, so no stroke taken away can come back beside one of that number.
    static quint32 NextStroke(const surface::PictureBox& canvas);
    // The strokes that the eraser, moved from `from` to `to` (user units), touches.
    static QSet<quint32> Touched(const surface::PictureBox& canvas, const QPointF& from,
                                 const QPointF& to);

    void mouseDown(int button, int shift, double x, double y);
    void mouseMove(int button, int shift, double x, double y);
    void mouseUp(int button, int shift, double x, double y);
    // Ends a drag without its release: another board has come.
    void stop() { m_work = Work::None; }

  private:
    enum class Work { None, Drawing, Erasing };
    void erase(const QPointF& to);

    surface::PictureBox& m_canvas;
    Ink m_ink = Ink::designed();
    Work m_work = Work::None;
    quint32 m_stroke = 0;
    QPointF m_last; // where the pen or the eraser last was, in user units
};

} // namespace interact

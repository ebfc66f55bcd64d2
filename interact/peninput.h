// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointF>

class QEvent;
class QMouseEvent;
class QTabletEvent;
class QTouchEvent;

namespace surface {
class PictureBox;
}

namespace interact {

// Pen, finger and tablet on the canvas, for a board without a right button and without hover.
// It watches the canvas's events and reports them with the canvas's own signals' arguments
// (buttons as 1 left, 2 right, 8 pen, 16 eraser; user units), so the window hands them to the
// same procedures: a drag that goes further than a few pixels draws with the pen, a press and
// release that stays put is a left press, made at the release. A finger always works this
// way, a tablet pen's tip too; its barrel button is the right button and draws at once, and its
// eraser end erases from the press on, as every press does while erasing is on. The left mouse
// button works this way only while leftButtonDraws is on, else the canvas sees it as always.
class PenInput : public QObject {
    Q_OBJECT
  public:
    // Starts watching the canvas and lets it take touch events.
    explicit PenInput(surface::PictureBox& canvas);

    surface::PictureBox& canvas() const { return m_canvas; }
    void setLeftButtonDraws(bool on) { m_leftButtonDraws = on; }
    bool leftButtonDraws() const { return m_leftButtonDraws; }
    // Whether a finger, a pen's tip and the drawing left button erase instead of drawing.
    void setErasing(bool on) { m_erasing = on; }
    bool erasing() const { return m_erasing; }

    // The buttons of a drag that draws with the pen and of a press that erases.
    static constexpr int penButton = 8;
    static constexpr int eraserButton = 16;

    // How far, in logical pixels, a press may move and still be a tap.
    static constexpr double tapSlop = 4;

  signals:
    void mouseDown(int button, int shift, double x, double y);
    void mouseMove(int button, int shift, double x, double y);
    void mouseUp(int button, int shift, double x, double y);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    enum class Source { None, Mouse, Touch, Tablet };

    bool mouseEvent(QMouseEvent* event);
    bool touchEvent(QTouchEvent* event);
    bool tabletEvent(QTabletEvent* event);
    // A press that may become a drag or a tap; one that erases or draws with the barrel button
    // reports itself at once with that button.
    void begin(Source source, const QPointF& pixel, int button = 0);
    // Returns true when the move drew (the drag had started or starts now).
    bool moveTo(const QPointF& pixel);
    void end(const QPointF& pixel);
    void cancel(const QPointF& pixel);
    // No press open any more.
    void reset();
    QPointF userAt(const QPointF& pixel) const;

    surface::PictureBox& m_canvas;
    bool m_leftButtonDraws = false;
    bool m_erasing = false;
    Source m_source = Source::None;
    bool m_dragging = false;
    int m_button = penButton; // what the press reports once it drags
    QPointF m_pressedAt;      // in pixels of the canvas
    QPointF m_lastAt;         // where the press was last seen, in pixels
    int m_touchId = -1;       // the finger that draws; others are not followed
    // The tablet button whose release ends the press: the tip's; none for the barrel button,
    // whose press ends when no button is held any more.
    Qt::MouseButton m_tabletButton = Qt::NoButton;
};

} // namespace interact

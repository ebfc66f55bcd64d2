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
// (buttons as 1 left, 2 right; user units), so the window hands them to the same procedures:
// a drag that goes further than a few pixels draws as the right button does, a press and
// release that stays put is a left press, made at the release. A finger always works this
// way, a tablet pen's tip too, its barrel button draws at once; the left mouse button does so
// only while leftButtonDraws is on, else the canvas sees it as always.
class PenInput : public QObject {
    Q_OBJECT
  public:
    // Starts watching the canvas and lets it take touch events.
    explicit PenInput(surface::PictureBox& canvas);

    void setLeftButtonDraws(bool on) { m_leftButtonDraws = on; }
    bool leftButtonDraws() const { return m_leftButtonDraws; }

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
    // A press that may become a drag or a tap.
    void begin(Source source, const QPointF& pixel);
    // Returns true when the move drew (the drag had started or starts now).
    bool moveTo(const QPointF& pixel);
    void end(const QPointF& pixel);
    void cancel(const QPointF& pixel);
    // No press open any more.
    void reset();
    QPointF userAt(const QPointF& pixel) const;

    surface::PictureBox& m_canvas;
    bool m_leftButtonDraws = false;
    Source m_source = Source::None;
    bool m_dragging = false;
    QPointF m_pressedAt; // in pixels of the canvas
    QPointF m_lastAt;    // where the press was last seen, in pixels
    int m_touchId = -1;  // the finger that draws; others are not followed
    // The tablet button whose release ends the press: the tip's; none for the barrel button,
    // whose press ends when no button is held any more.
    Qt::MouseButton m_tabletButton = Qt::NoButton;
};

} // namespace interact

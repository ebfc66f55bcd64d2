// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QEvent;
class QWheelEvent;
class QWidget;

namespace app {

// The presses and wheel turns of one control that Qt reports through no signal of the control,
// as signals that the window hands to the event procedures named after them.
class ControlEvents : public QObject {
    Q_OBJECT
  public:
    enum Watch { Presses = 1, WheelTurns = 2 };

    // Starts watching control, for the events of watch (Presses, WheelTurns or both).
    ControlEvents(QWidget& control, int watch);

  signals:
    // A press, also the second press of a double click: buttons as 1 left, 2 right, 4 middle,
    // Shift as 1 Shift, 2 Ctrl, 4 Alt, the position in the control's pixels. The control still
    // sees the press.
    void mouseDown(int button, int shift, double x, double y);
    // A wheel turn over the control that no control inside it took; it goes no further.
    void mouseWheel(QWheelEvent* event);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    int m_watch;
};

} // namespace app

// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "interact/canvaszoom.h"

#include <QObject>
#include <QPointF>

class QAction;
class QLineEdit;
class QWidget;

namespace surface {
class PictureBox;
}

namespace app {

// "Vergrößern", "Verkleinern" and "Originalgröße" in the "Tafel" menu: they zoom the canvas around
// the pointer when it is over the canvas frame, else around the frame's middle. The zoom is a way
// of looking at the board and no part of it: a new chart, the other range or another board keep
// it, and only these entries or a pinch change it.
class ZoomCommands : public QObject {
    Q_OBJECT
  public:
    // Finds the frame, canvas, strip, scroll bars, help line and entries in window by their
    // object names.
    explicit ZoomCommands(QWidget& window);

    interact::CanvasZoom& zoom() { return *m_zoom; }

  private:
    QPointF anchor() const;
    void enableEntries(double zoom);

    surface::PictureBox* m_frame = nullptr;
    QLineEdit* m_helpLine = nullptr;
    QAction* m_larger = nullptr;
    QAction* m_smaller = nullptr;
    QAction* m_original = nullptr;
    interact::CanvasZoom* m_zoom = nullptr;
};

} // namespace app

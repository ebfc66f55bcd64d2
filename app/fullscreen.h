// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QRect>

class QAction;
class QEvent;
class QShortcut;
class QWidget;

namespace app {

// Full screen for the projector, through the checkable entry "Vollbild" (F11) and Escape.
// Leaving it returns the window to what it was before: a maximized window is maximized again, a
// normal one gets back its place and size. The entry's check mark follows the window's state,
// also when the window manager changes it.
class FullScreen : public QObject {
    Q_OBJECT
  public:
    // Follows the window's state. Escape leaves full screen; it is a shortcut of the window, on
    // only while full screen, so at other times the key stays with the focused control.
    FullScreen(QWidget& window, QAction& entry);

    // The entry was chosen: full screen when it is checked now, else back to the window before.
    void apply();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The window's state changed from before, by this or by the window manager.
    void stateChanged(Qt::WindowStates before);

    QWidget& m_window;
    QAction& m_entry;
    QShortcut* m_leave = nullptr;
    // The window before full screen. The entry notes it when it asks for full screen, and the
    // note holds until the entry leaves it: a window that goes from maximized straight to full
    // screen may pass through other states on the way, even leave full screen for a moment.
    bool m_requested = false;
    bool m_maximizedBefore = false;
    QRect m_normalGeometry; // empty when the window manager chose full screen
};

} // namespace app

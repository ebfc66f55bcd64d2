// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QEvent;
class QMenuBar;
class QWidget;

namespace app {

// The keyboard's way into the menus of a window: F10 opens the first menu of its bar from any
// control, and Alt with a letter is for the mnemonics alone. A text box of the window never
// types the letter of Alt+letter, whether a menu has that mnemonic or not; Ctrl+Alt, which is
// AltGr on Windows, still types its character ('@' is AltGr+Q on a German keyboard).
class MenuKeys : public QObject {
    Q_OBJECT
  public:
    // Starts watching the keys of window, whose menu bar is bar.
    MenuKeys(QWidget& window, QMenuBar& bar);

    // Opens the first menu of the bar; the arrow keys go on from there to the others.
    void openFirstMenu();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget& m_window;
    QMenuBar& m_bar;
};

} // namespace app

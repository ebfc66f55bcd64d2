// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace app {

// The window on its screen at start-up: centred, with its wide controls fitted to the screen's
// width in twips, as the layout table gives them. The canvas frame, the control panel and the
// canvas's scroll bar reach to 240 twips before the screen's right edge, vscHoch and Command1
// move to the frame's right end, and the help line fills the panel. A screen too narrow for a
// control gives it width 0.
class LayoutFit {
  public:
    // The controls of that name in the layout table.
    struct Controls {
        QWidget& picRahmen;
        QWidget& picSteuerstand;
        QWidget& vscHoch;
        QWidget& HScAusgabe;
        QWidget& Command1;
        QWidget& txtHilfe;
    };

    // Centres the window on its screen, but never with the title bar above the screen's top or
    // left edge, however large a zoom makes it.
    static void Centre(QWidget& window);
    // window: the window, whose screen the controls are fitted to.
    static void FitToScreen(const QWidget& window, const Controls& controls);
    // Width of the screen the window is on (else the primary screen's), in twips.
    static double ScreenWidthTwips(const QWidget& window);

  private:
    static double WidthTwips(const QWidget& control);
    // Left inside the container; inside a picture box, from the inner side of its border.
    static double LeftTwips(const QWidget& control);
    static void SetWidthTwips(QWidget& control, double twips);
    static void SetLeftTwips(QWidget& control, double twips);
};

} // namespace app

// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <array>

class QEvent;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QString;

namespace surface {
class PictureBox;
}

namespace app {

// The help line of the control panel: a move of the pointer over "S", its box, the search
// button, the coefficient boxes, their frames or the factorization sheet says there what they do.
// Why the last S step was refused stays on the line while the pointer is still on "S".
class HelpLine : public QObject {
    Q_OBJECT
  public:
    // The controls of that name in the layout table.
    struct Controls {
        QLineEdit& txtHilfe;
        QGroupBox& Frame2;
        QLineEdit& txtIter;
        QPushButton& cmdIter;
        QGroupBox& Frame1;
        std::array<QLineEdit*, 3> Text1;
        QPushButton& cmdSuche;
        surface::PictureBox& picZeichenblatt;
    };

    // Starts following the pointer over the controls.
    HelpLine(const Controls& controls, QObject* parent);

    // The S step was refused: the line tells why until the pointer comes back to "S" after
    // leaving it, or the next step is taken.
    void stepRefused(const QString& reason);
    // The S step was taken: a refusal on the line gives way to the button's help text again.
    void stepTaken();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QString iterHelpText() const;
    // The event procedures of the controls.
    void cmdIter_MouseMove();
    void Frame2_MouseMove();
    void txtIter_MouseMove();
    void cmdSuche_MouseMove();
    void Frame1_MouseMove();
    void Text1_MouseMove(int index);
    void picZeichenblatt_MouseMove();

    Controls m_c;
    bool m_refusalShown = false;            // the line shows why the last S step was refused
    bool m_pointerLeftAfterRefusal = false; // the pointer was off "S" since that refusal
    bool m_pointerOnIter = false;           // the pointer is on "S"
};

} // namespace app

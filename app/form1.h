// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "interact/canvaspicker.h"

#include <QImage>
#include <QMainWindow>
#include <QString>
#include <array>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPrinter;
class QPushButton;
class QWheelEvent;

namespace surface {
class MultiLineTextBox;
class PictureBox;
class ScrollBar;
class Shape;
} // namespace surface

// The program's one window. It builds its controls and menu from the layout table, holds the
// state that lives between events, and hands each event to the procedure named after it.
class Form1 : public QMainWindow {
    Q_OBJECT
  public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    // Controls, named as in the layout table.
    surface::PictureBox* Picture3 = nullptr;
    surface::ScrollBar* HScroll1 = nullptr;
    surface::PictureBox* picZeichenblatt = nullptr;
    surface::MultiLineTextBox* txtTreffer = nullptr;
    surface::PictureBox* picSteuerstand = nullptr;
    QLineEdit* txtHilfe = nullptr;
    QGroupBox* Frame2 = nullptr;
    QLineEdit* txtIter = nullptr;
    QPushButton* cmdIter = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label5 = nullptr;
    QGroupBox* Frame1 = nullptr;
    std::array<QLineEdit*, 3> Text1{};
    std::array<QPushButton*, 3> Command2{};
    std::array<QPushButton*, 3> Command3{};
    QPushButton* cmdSuche = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label2 = nullptr;
    surface::ScrollBar* HScAusgabe = nullptr;
    surface::PictureBox* picRahmen = nullptr;
    QPushButton* Command1 = nullptr;
    surface::ScrollBar* vscHoch = nullptr;
    surface::PictureBox* picSkala = nullptr;
    surface::PictureBox* picAusgabe = nullptr;
    surface::Shape* Shape1 = nullptr;

    // Menu entries.
    QMenu* cmdDatei = nullptr;
    QAction* cmdloesch = nullptr;
    QAction* cmdSpeichern = nullptr;
    QAction* cmdKopieren = nullptr;
    QAction* cmdDrucken = nullptr;
    QAction* cmdEnde = nullptr;
    QMenu* cmdStrahl = nullptr;
    QAction* cmdSkala = nullptr;
    QAction* cmdSkala2 = nullptr;
    QMenu* cmdTeiler0 = nullptr;
    QAction* cmdTeiler = nullptr;
    QAction* cmdHochzerlegbar = nullptr;
    QAction* cmdTeilersumme = nullptr;
    QAction* cmdTeilersumme2 = nullptr;
    QAction* cmdTrefferliste = nullptr;
    QAction* cmdVortrag = nullptr;

    // State that lives between events.
    int rangeBase = 0;        // number before column 1: 0 or 500
    int sumMode = 0;          // 0: S(n) chart, 1: S(n)-n chart; read only after a sum chart set it
    double currentNumber = 0; // the number the sheet shows at the next press on the canvas
    double iterValue = 0;     // the number the last S step read
    QString clipText;         // the clipboard text the last click on the sheet read
    bool isDrawing = false;
    double lastDrawX = 0;
    double lastDrawY = 0;
    bool closing = false;      // set when the window closes, so a chart that yields stops drawing
    bool refusalShown = false; // the help line shows why the last S step was refused
    bool pointerLeftAfterRefusal = false; // the pointer was off "S" since that refusal
    bool pointerOnIter = false;           // the pointer is on "S"

    // Event procedures.
    void Form_Load();
    void cmdloesch_Click();
    void Command1_Click();
    void cmdSkala_Click();
    void cmdSkala2_Click();
    void cmdTeiler_Click();
    void cmdHochzerlegbar_Click();
    void cmdTeilersumme_Click();
    void cmdTeilersumme2_Click();
    void cmdTrefferliste_Click();
    void cmdVortrag_Click();
    void cmdEnde_Click();
    void cmdSpeichern_Click();
    void cmdKopieren_Click();
    void cmdDrucken_Click();
    void picRahmen_MouseWheel(QWheelEvent* event);
    void picAusgabe_MouseDown(int Button, int Shift, double X, double Y);
    void picAusgabe_MouseMove(int Button, int Shift, double X, double Y);
    void picAusgabe_MouseUp(int Button, int Shift, double X, double Y);
    void picZeichenblatt_Click();
    void txtIter_MouseDown(int Button, int Shift, double X, double Y);
    void cmdIter_Click();
    void Command2_Click(int index);
    void Command3_Click(int index);
    void cmdSuche_Click();
    void HScAusgabe_Change();
    void HScAusgabe_Scroll();
    void vscHoch_Change();
    void vscHoch_Scroll();
    void HScroll1_Change();
    void HScroll1_Scroll();
    void cmdIter_MouseMove();
    void Frame2_MouseMove();
    void txtIter_MouseMove();
    void cmdSuche_MouseMove();
    void Frame1_MouseMove();
    void Text1_MouseMove(int index);
    void picZeichenblatt_MouseMove();

    // What the canvas frame shows, with the scale strip: the picture that is saved, copied and
    // printed.
    QImage framePicture();
    // Saves the picture; a failure is told in a message box that names the file and the reason.
    bool savePictureTo(const QString& path);
    // Prints the picture; a failure is told in a message box, with the file when there is one.
    bool printPictureOn(QPrinter& printer);

    // Width of the screen the window is on, in twips.
    double screenWidthTwips() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildControls();
    void buildMenu();
    void connectEvents();
    void setWidthTwips(QWidget* control, double twips);
    void setLeftTwips(QWidget* control, double twips);
    double widthTwips(const QWidget* control) const;
    double leftTwips(const QWidget* control) const;
    QString iterHelpText() const;
    bool yieldToEvents();
    interact::CanvasPicker::State pickerState();
    static void setMenuChecked(QAction* entry, bool checked);
    void showFailure(const QString& title, const QString& text, const QString& name);
};

// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "board/board.h"
#include "interact/canvaspicker.h"
#include "interact/wheelscroll.h"

#include <QImage>
#include <QMainWindow>
#include <QString>
#include <array>
#include <memory>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPrinter;
class QPushButton;
class QWheelEvent;

namespace board {
class Document;
}

namespace app {
class BoardCommands;
class ExportDialogs;
class FullScreen;
class HelpLine;
class PenTools;
} // namespace app

namespace surface {
class MultiLineTextBox;
class PictureBox;
class ScrollBar;
class Shape;
} // namespace surface

namespace interact {
class CanvasZoom;
class PenInput;
} // namespace interact

// The program's one window. It builds its controls and menu from the layout table, holds the
// state that lives between events, and hands each event to the procedure named after it, which
// hands the work to the folder that does it; the help line and full screen look after
// themselves. Everything else reaches the controls and menu entries by their object names.
class Form1 : public QMainWindow {
    Q_OBJECT
  public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    // The number before column 1: 0 or 500.
    int rangeBase() const { return m_rangeBase; }
    // 0: S(n) chart, 1: S(n)-n chart; means something only after a sum chart set it.
    int sumMode() const { return m_sumMode; }
    // The number the sheet shows at the next press on the canvas.
    double currentNumber() const { return m_currentNumber; }
    // The number the last S step read from its box.
    double iterValue() const { return m_iterValue; }
    // The clipboard's text as the last click on the sheet read it.
    QString clipText() const { return m_clipText; }

    // What the canvas frame shows, with the scale strip: the picture that is saved, copied and
    // printed.
    QImage framePicture();
    // Saves the picture, or all columns of the range; a failure is told in a message box that
    // names the file and the reason.
    bool savePictureTo(const QString& path, bool wholeRange = false);
    // Prints the picture, or the range's pages; a failure is told in a message box, with the
    // file when there is one.
    bool printPictureOn(QPrinter& printer, bool wholeRange = false);
    // Writes the board to a ".teiler" file, or opens one; a failure is told in a message box
    // that names the file and the reason, and leaves the board as it was.
    bool saveBoardTo(const QString& path);
    bool openBoard(const QString& path);
    // The board as the window shows it, and a board put into the window.
    board::Board currentBoard() const;
    void showBoard(const board::Board& board);
    // At start-up: offers the unsaved board that a window which ended without being asked left
    // behind, then opens the board in path (if any), asking before it would replace a changed one.
    void startWith(const QString& path);
    // Whether the board differs from its file, as the modified mark in the title says.
    bool boardModified() const;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private slots:
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
    void cmdVollbild_Click();
    void cmdRueckgaengig_Click();
    void cmdWiederholen_Click();
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
    void txtTreffer_DblClick(int position);

  private:
    void buildControls();
    void buildMenu();
    void connectEvents();
    bool yieldToEvents();
    interact::CanvasPicker::State pickerState();
    static void setMenuChecked(QAction* entry, bool checked);
    // The colours the charts, picks and marks are drawn in, as "cmdFarben" chooses them.
    charts::Palette chartPalette() const;
    // Runs a procedure that draws on the canvas as one step that "Rückgängig" takes back.
    template <class Procedure> void canvasStep(Procedure&& procedure);
    void drawNumberLine(int rangeBase);
    // The S(n) chart (sumMode 0) or the S(n)-n chart (1), with its check mark.
    void drawDivisorSums(int sumMode);
    void endStroke();
    // What a step keeps beside the drawings: rangeBase, sumMode and the two check marks.
    board::WindowState canvasState() const;
    void restoreCanvasState(const board::WindowState& state);
    void updateUndoEntries();
    void updateTitle();
    // Stops a chart that is still drawing at its next column.
    void stopDrawing() { m_stopDrawing = true; }

    // Controls, named as in the layout table.
    surface::PictureBox* m_Picture3 = nullptr;
    surface::ScrollBar* m_HScroll1 = nullptr;
    surface::PictureBox* m_picZeichenblatt = nullptr;
    surface::MultiLineTextBox* m_txtTreffer = nullptr;
    surface::PictureBox* m_picSteuerstand = nullptr;
    QLineEdit* m_txtHilfe = nullptr;
    QGroupBox* m_Frame2 = nullptr;
    QLineEdit* m_txtIter = nullptr;
    QPushButton* m_cmdIter = nullptr;
    QLabel* m_Label6 = nullptr;
    QLabel* m_Label5 = nullptr;
    QGroupBox* m_Frame1 = nullptr;
    std::array<QLineEdit*, 3> m_Text1{};
    std::array<QPushButton*, 3> m_Command2{};
    std::array<QPushButton*, 3> m_Command3{};
    QPushButton* m_cmdSuche = nullptr;
    QLabel* m_Label4 = nullptr;
    QLabel* m_Label2 = nullptr;
    surface::ScrollBar* m_HScAusgabe = nullptr;
    surface::PictureBox* m_picRahmen = nullptr;
    QPushButton* m_Command1 = nullptr;
    surface::ScrollBar* m_vscHoch = nullptr;
    surface::PictureBox* m_picSkala = nullptr;
    surface::PictureBox* m_picAusgabe = nullptr;
    surface::Shape* m_Shape1 = nullptr;
    interact::PenInput* m_penInput = nullptr; // pen, finger and tablet on picAusgabe
    interact::CanvasZoom* m_zoom = nullptr;   // the canvas's zoom, keys and pinch
    board::Document* m_document = nullptr;    // the board: its history, its file
    app::BoardCommands* m_boardCommands = nullptr;
    std::unique_ptr<app::ExportDialogs> m_export;
    app::HelpLine* m_helpLine = nullptr;     // txtHilfe, as the pointer moves over the panel
    app::FullScreen* m_fullScreen = nullptr; // "Vollbild" and Escape
    app::PenTools* m_penTools = nullptr;     // the pen's ink, "Dick" and the eraser

    // Menu entries.
    QMenu* m_cmdDatei = nullptr;
    QAction* m_cmdloesch = nullptr;
    QAction* m_cmdSpeichern = nullptr;
    QAction* m_cmdKopieren = nullptr;
    QAction* m_cmdDrucken = nullptr;
    QAction* m_cmdEnde = nullptr;
    QMenu* m_cmdStrahl = nullptr;
    QAction* m_cmdSkala = nullptr;
    QAction* m_cmdSkala2 = nullptr;
    QMenu* m_cmdTeiler0 = nullptr;
    QAction* m_cmdTeiler = nullptr;
    QAction* m_cmdHochzerlegbar = nullptr;
    QAction* m_cmdTeilersumme = nullptr;
    QAction* m_cmdTeilersumme2 = nullptr;
    QAction* m_cmdTrefferliste = nullptr;
    QAction* m_cmdVortrag = nullptr;
    QMenu* m_cmdTafel = nullptr;
    QAction* m_cmdStift = nullptr;    // left button and touch draw
    QAction* m_cmdVollbild = nullptr; // full screen
    QAction* m_cmdFarben = nullptr;   // colours that colour-blind pupils tell apart
    QAction* m_cmdRueckgaengig = nullptr;
    QAction* m_cmdWiederholen = nullptr;
    QAction* m_cmdNeueTafel = nullptr;
    QAction* m_cmdTafelSpeichern = nullptr;
    QAction* m_cmdTafelSpeichernUnter = nullptr;
    QAction* m_cmdTafelOeffnen = nullptr;
    QMenu* m_cmdZuletzt = nullptr; // the boards last opened or saved

    // State that lives between events.
    int m_rangeBase = 0;
    int m_sumMode = 0;
    double m_currentNumber = 0;
    double m_iterValue = 0; // the number the last S step read
    QString m_clipText;     // the clipboard text the last click on the sheet read
    bool m_isDrawing = false;
    bool m_strokeOpen = false; // a press on the canvas began a step that its release ends
    double m_lastDrawX = 0;
    double m_lastDrawY = 0;
    quint32 m_stroke = 0;       // the number of the stroke the right button draws
    bool m_closing = false;     // set when the window closes, so a chart that yields stops drawing
    bool m_stopDrawing = false; // a board replaces this one: a chart that yields stops drawing
    interact::WheelScroll m_wheel; // the wheel's turns over the canvas frame
};

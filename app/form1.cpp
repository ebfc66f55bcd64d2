// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1.h"

#include "appicon.h"
#include "board/document.h"
#include "boardcommands.h"
#include "charts/clearcommands.h"
#include "charts/column.h"
#include "charts/divisorcountchart.h"
#include "charts/divisorsumchart.h"
#include "charts/numberline.h"
#include "charts/skyline.h"
#include "commandline.h"
#include "controlbuilder.h"
#include "exportdialogs.h"
#include "factor/aliquotstep.h"
#include "factor/factorizationsheet.h"
#include "interact/canvaspicker.h"
#include "interact/peninput.h"
#include "menutable.h"
#include "pictureexport.h"
#include "search/hitlist.h"
#include "search/searchrun.h"
#include "search/steppers.h"
#include "surface/multilinetextbox.h"
#include "surface/picturebox.h"
#include "surface/scrollbar.h"
#include "surface/shape.h"
#include "surface/twips.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHash>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QStandardPaths>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

using surface::PictureBox;

namespace {
// The property of a menu entry that holds the check mark setMenuChecked gave it.
constexpr char setCheckMark[] = "teilerChecked";
} // namespace
using surface::Twips;

namespace {

const QString searchHelp = QStringLiteral("Alle n mit dieser Eigenschaft markieren");

// Fonts that fontconfig alone would match to unrelated faces once more fonts are installed.
void pinFontSubstitutions() {
    QFont::insertSubstitution(QStringLiteral("Courier"), QStringLiteral("Liberation Mono"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
}

// The control of that name, of the class the window expects for it.
template <class T> T* controlOf(const QHash<QString, QWidget*>& controls, const QString& name) {
    T* control = qobject_cast<T*>(controls.value(name));
    Q_ASSERT_X(control, "Form1", qPrintable(QStringLiteral("no fitting control %1").arg(name)));
    return control;
}

template <class T> T* controlOf(const QHash<QString, QWidget*>& controls, const char* name) {
    return controlOf<T>(controls, QString::fromLatin1(name));
}

// The controls of an array: "Text1(0)", "Text1(1)", ...
template <class T, std::size_t N>
void controlsOf(const QHash<QString, QWidget*>& controls, const char* name,
                std::array<T*, N>& array) {
    for (std::size_t i = 0; i < N; ++i)
        array[i] = controlOf<T>(controls, QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i));
}

} // namespace

Form1::Form1(QWidget* parent) : QMainWindow(parent) {
    pinFontSubstitutions();
    setWindowTitle(QStringLiteral("Teiler"));
    setWindowIcon(app::AppIcon::make());
    m_export = std::make_unique<app::ExportDialogs>(
        *this, [this] { return framePicture(); }, [this] { return m_rangeBase; });
    buildControls();
    buildMenu();
    connectEvents();
    resize(app::CommandLine::DesignWindowSize(menuBar()->sizeHint().height()));
    // Centred, but never with the title bar above the screen's top or left edge, however large
    // a zoom makes the window; a top-level window's position is that of its frame.
    if (QScreen* s = screen()) {
        const QRect available = s->availableGeometry();
        const QMargins frame = app::CommandLine::AssumedFrame();
        const QSize outer = size().grownBy(frame);
        const QPoint centred((available.width() - outer.width()) / 2 + available.left(),
                             (available.height() - outer.height()) / 2 + available.top());
        move(std::max(centred.x(), available.left()), std::max(centred.y(), available.top()));
    }
    Form_Load();
    // What start-up shows is the board "Neue Tafel" gives.
    m_boardCommands = new app::BoardCommands(
        *this, *m_document,
        {[this] { return currentBoard(); }, [this](const board::Board& b) { showBoard(b); },
         [this] { stopDrawing(); }},
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
            .filePath(QStringLiteral("wiederherstellung")),
        this);
    connect(m_cmdNeueTafel, &QAction::triggered, m_boardCommands, &app::BoardCommands::newBoard);
    connect(m_cmdTafelOeffnen, &QAction::triggered, m_boardCommands, &app::BoardCommands::open);
    connect(m_cmdTafelSpeichern, &QAction::triggered, m_boardCommands, &app::BoardCommands::save);
    connect(m_cmdTafelSpeichernUnter, &QAction::triggered, m_boardCommands,
            &app::BoardCommands::saveAs);
    connect(m_cmdZuletzt, &QMenu::aboutToShow, m_boardCommands,
            [this] { m_boardCommands->fillRecentMenu(*m_cmdZuletzt); });
}

Form1::~Form1() = default;

void Form1::buildControls() {
    auto* form = new QWidget(this);
    form->setObjectName(QStringLiteral("Form1"));
    form->setAutoFillBackground(true);
    QPalette formPalette = form->palette();
    formPalette.setColor(QPalette::Window, QColor(192, 192, 255));
    form->setPalette(formPalette);
    setCentralWidget(form);

    const QHash<QString, QWidget*> controls = app::ControlBuilder::Build(form);
    m_Picture3 = controlOf<PictureBox>(controls, "Picture3");
    m_HScroll1 = controlOf<surface::ScrollBar>(controls, "HScroll1");
    m_picZeichenblatt = controlOf<PictureBox>(controls, "picZeichenblatt");
    m_txtTreffer = controlOf<surface::MultiLineTextBox>(controls, "txtTreffer");
    m_picSteuerstand = controlOf<PictureBox>(controls, "picSteuerstand");
    m_txtHilfe = controlOf<QLineEdit>(controls, "txtHilfe");
    m_Frame2 = controlOf<QGroupBox>(controls, "Frame2");
    m_txtIter = controlOf<QLineEdit>(controls, "txtIter");
    m_cmdIter = controlOf<QPushButton>(controls, "cmdIter");
    m_Label6 = controlOf<QLabel>(controls, "Label6");
    m_Label5 = controlOf<QLabel>(controls, "Label5");
    m_Frame1 = controlOf<QGroupBox>(controls, "Frame1");
    controlsOf(controls, "Text1", m_Text1);
    controlsOf(controls, "Command2", m_Command2);
    controlsOf(controls, "Command3", m_Command3);
    m_cmdSuche = controlOf<QPushButton>(controls, "cmdSuche");
    m_Label4 = controlOf<QLabel>(controls, "Label4");
    m_Label2 = controlOf<QLabel>(controls, "Label2");
    m_HScAusgabe = controlOf<surface::ScrollBar>(controls, "HScAusgabe");
    m_picRahmen = controlOf<PictureBox>(controls, "picRahmen");
    m_Command1 = controlOf<QPushButton>(controls, "Command1");
    m_vscHoch = controlOf<surface::ScrollBar>(controls, "vscHoch");
    m_picSkala = controlOf<PictureBox>(controls, "picSkala");
    m_picAusgabe = controlOf<PictureBox>(controls, "picAusgabe");
    m_Shape1 = controlOf<surface::Shape>(controls, "Shape1");
}

void Form1::buildMenu() {
    const QHash<QString, QObject*> built = app::MenuTable::Build(*menuBar());
    auto entry = [&built](const char* name) {
        return qobject_cast<QAction*>(built.value(QString::fromLatin1(name)));
    };
    auto menu = [&built](const char* name) {
        return qobject_cast<QMenu*>(built.value(QString::fromLatin1(name)));
    };
    m_cmdDatei = menu("cmdDatei");
    m_cmdloesch = entry("cmdloesch");
    m_cmdSpeichern = entry("cmdSpeichern");
    m_cmdKopieren = entry("cmdKopieren");
    m_cmdDrucken = entry("cmdDrucken");
    m_cmdEnde = entry("cmdEnde");
    m_cmdStrahl = menu("cmdStrahl");
    m_cmdSkala = entry("cmdSkala");
    m_cmdSkala2 = entry("cmdSkala2");
    m_cmdTeiler0 = menu("cmdTeiler0");
    m_cmdTeiler = entry("cmdTeiler");
    m_cmdHochzerlegbar = entry("cmdHochzerlegbar");
    m_cmdTeilersumme = entry("cmdTeilersumme");
    m_cmdTeilersumme2 = entry("cmdTeilersumme2");
    setMenuChecked(m_cmdTeilersumme, true);
    setMenuChecked(m_cmdTeilersumme2, true);
    m_cmdTrefferliste = entry("cmdTrefferliste");
    m_cmdVortrag = entry("cmdVortrag");
    m_cmdTafel = menu("cmdTafel");
    m_cmdNeueTafel = entry("cmdNeueTafel");
    m_cmdStift = entry("cmdStift");
    m_cmdVollbild = entry("cmdVollbild");
    m_cmdFarben = entry("cmdFarben");
    m_cmdRueckgaengig = entry("cmdRueckgaengig");
    m_cmdWiederholen = entry("cmdWiederholen");
    m_cmdTafelSpeichern = entry("cmdTafelSpeichern");
    m_cmdTafelSpeichernUnter = entry("cmdTafelSpeichernUnter");
    m_cmdTafelOeffnen = entry("cmdTafelOeffnen");
    m_cmdZuletzt = menu("cmdZuletzt");
}

void Form1::connectEvents() {
    connect(m_cmdloesch, &QAction::triggered, this, &Form1::cmdloesch_Click);
    connect(m_cmdEnde, &QAction::triggered, this, &Form1::cmdEnde_Click);
    connect(m_cmdSpeichern, &QAction::triggered, this, [this] { m_export->save(); });
    connect(m_cmdKopieren, &QAction::triggered, this, [this] { m_export->copy(); });
    connect(m_cmdDrucken, &QAction::triggered, this, [this] { m_export->print(); });
    connect(m_cmdSkala, &QAction::triggered, this, &Form1::cmdSkala_Click);
    connect(m_cmdSkala2, &QAction::triggered, this, &Form1::cmdSkala2_Click);
    connect(m_cmdTeiler, &QAction::triggered, this, &Form1::cmdTeiler_Click);
    connect(m_cmdHochzerlegbar, &QAction::triggered, this, &Form1::cmdHochzerlegbar_Click);
    connect(m_cmdTeilersumme, &QAction::triggered, this, &Form1::cmdTeilersumme_Click);
    connect(m_cmdTeilersumme2, &QAction::triggered, this, &Form1::cmdTeilersumme2_Click);
    connect(m_cmdTrefferliste, &QAction::triggered, this, &Form1::cmdTrefferliste_Click);
    connect(m_cmdVortrag, &QAction::triggered, this, &Form1::cmdVortrag_Click);
    connect(m_cmdVollbild, &QAction::triggered, this, &Form1::cmdVollbild_Click);
    connect(m_cmdRueckgaengig, &QAction::triggered, this, &Form1::cmdRueckgaengig_Click);
    connect(m_cmdWiederholen, &QAction::triggered, this, &Form1::cmdWiederholen_Click);
    // Escape leaves full screen; at other times it stays with the focused control.
    m_leaveFullScreen = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    m_leaveFullScreen->setObjectName(QStringLiteral("leaveFullScreen"));
    m_leaveFullScreen->setEnabled(false);
    connect(m_leaveFullScreen, &QShortcut::activated, this, [this] {
        m_cmdVollbild->setChecked(false);
        cmdVollbild_Click();
    });
    connect(m_Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(m_cmdIter, &QPushButton::clicked, this, &Form1::cmdIter_Click);
    connect(m_cmdSuche, &QPushButton::clicked, this, &Form1::cmdSuche_Click);
    for (int i = 0; i < 3; ++i) {
        connect(m_Command2[i], &QPushButton::clicked, this, [this, i] { Command2_Click(i); });
        connect(m_Command3[i], &QPushButton::clicked, this, [this, i] { Command3_Click(i); });
    }
    connect(m_picAusgabe, &PictureBox::mouseDown, this, &Form1::picAusgabe_MouseDown);
    connect(m_picAusgabe, &PictureBox::mouseMove, this, &Form1::picAusgabe_MouseMove);
    connect(m_picAusgabe, &PictureBox::mouseUp, this, &Form1::picAusgabe_MouseUp);
    // A finger or a tablet pen presses and draws as the mouse does; "cmdStift" lets the left
    // button draw as well.
    m_penInput = new interact::PenInput(*m_picAusgabe);
    m_document = new board::Document(*m_picAusgabe, this);
    connect(m_picAusgabe, &PictureBox::aboutToClear, &m_document->history(),
            &board::History::canvasAboutToClear);
    connect(&m_document->history(), &board::History::changed, this, &Form1::updateUndoEntries);
    connect(m_document, &board::Document::titleChanged, this, &Form1::updateTitle);
    connect(m_penInput, &interact::PenInput::mouseDown, this, &Form1::picAusgabe_MouseDown);
    connect(m_penInput, &interact::PenInput::mouseMove, this, &Form1::picAusgabe_MouseMove);
    connect(m_penInput, &interact::PenInput::mouseUp, this, &Form1::picAusgabe_MouseUp);
    connect(m_cmdStift, &QAction::toggled, m_penInput, &interact::PenInput::setLeftButtonDraws);
    connect(m_picZeichenblatt, &PictureBox::clicked, this, &Form1::picZeichenblatt_Click);
    connect(m_picZeichenblatt, &PictureBox::mouseMove, this, &Form1::picZeichenblatt_MouseMove);
    connect(m_txtTreffer, &surface::MultiLineTextBox::doubleClicked, this,
            &Form1::txtTreffer_DblClick);

    // Change runs after an arrow or track click and at the end of a drag, Scroll during a drag.
    auto scrollEvents = [this](surface::ScrollBar* bar, void (Form1::*change)(),
                               void (Form1::*scroll)()) {
        connect(bar, &QScrollBar::valueChanged, this, [this, bar, change, scroll] {
            (this->*(bar->isSliderDown() ? scroll : change))();
        });
        connect(bar, &QScrollBar::sliderReleased, this, change);
    };
    scrollEvents(m_HScAusgabe, &Form1::HScAusgabe_Change, &Form1::HScAusgabe_Scroll);
    scrollEvents(m_vscHoch, &Form1::vscHoch_Change, &Form1::vscHoch_Scroll);
    scrollEvents(m_HScroll1, &Form1::HScroll1_Change, &Form1::HScroll1_Scroll);

    // Mouse moves over these controls write the help line; a press on txtIter shows its number.
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_cmdIter, m_Frame2, m_txtIter, m_cmdSuche, m_Frame1,
                                         m_Text1[0], m_Text1[1], m_Text1[2]}) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
    // Wheel turns over the canvas frame that no control inside it took.
    m_picRahmen->installEventFilter(this);
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_picRahmen) {
        if (event->type() != QEvent::Wheel)
            return false;
        picRahmen_MouseWheel(static_cast<QWheelEvent*>(event));
        return true;
    }
    // The second press of a double click arrives as a double-click event; it is a press too.
    const bool press =
        event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
    if (press && watched == m_txtIter) {
        auto* e = static_cast<QMouseEvent*>(event);
        const int button = e->button() == Qt::LeftButton    ? 1
                           : e->button() == Qt::RightButton ? 2
                                                            : 4;
        txtIter_MouseDown(button, 0, e->position().x(), e->position().y());
        return false;
    }
    if (watched == m_cmdIter) {
        if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove)
            m_pointerOnIter = true;
        if (event->type() == QEvent::Leave) {
            m_pointerOnIter = false;
            m_pointerLeftAfterRefusal = true;
        }
    }
    if (event->type() != QEvent::MouseMove)
        return false;
    auto* e = static_cast<QMouseEvent*>(event);
    // A frame hears moves only where none of its controls lies.
    auto overFrameItself = [e](QGroupBox* frame) {
        return frame->childAt(e->position().toPoint()) == nullptr;
    };
    if (watched == m_cmdIter)
        cmdIter_MouseMove();
    else if (watched == m_Frame2 && overFrameItself(m_Frame2))
        Frame2_MouseMove();
    else if (watched == m_txtIter)
        txtIter_MouseMove();
    else if (watched == m_cmdSuche)
        cmdSuche_MouseMove();
    else if (watched == m_Frame1 && overFrameItself(m_Frame1))
        Frame1_MouseMove();
    else
        for (int i = 0; i < 3; ++i)
            if (watched == m_Text1[i])
                Text1_MouseMove(i);
    return false;
}

// Unsaved changes are never dropped without a question; "Abbrechen" keeps the window open.
void Form1::closeEvent(QCloseEvent* event) {
    stopDrawing();
    if (!m_boardCommands->maybeSave()) {
        event->ignore();
        return;
    }
    m_closing = true;
    m_boardCommands->closing();
    event->accept();
}

// The check mark of "Vollbild" shows the window's state, also when the window manager changed it.
void Form1::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !m_cmdVollbild)
        return;
    const Qt::WindowStates before = static_cast<QWindowStateChangeEvent*>(event)->oldState();
    const bool fullScreen = isFullScreen();
    if (fullScreen && !(before & Qt::WindowFullScreen))
        m_maximizedBeforeFullScreen = before.testFlag(Qt::WindowMaximized);
    m_cmdVollbild->setChecked(fullScreen);
    m_leaveFullScreen->setEnabled(fullScreen);
}

double Form1::screenWidthTwips() const {
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    return Twips::fromPixels(s ? s->geometry().width() : 0);
}

double Form1::widthTwips(const QWidget* control) const {
    return Twips::fromPixels(control->width());
}

double Form1::leftTwips(const QWidget* control) const {
    if (auto* holder = qobject_cast<const PictureBox*>(control->parentWidget()))
        return Twips::fromPixels(control->x() - holder->borderWidth());
    return Twips::fromPixels(control->x());
}

void Form1::setWidthTwips(QWidget* control, double twips) {
    control->resize(Twips::toPixels(std::max(0.0, twips)), control->height());
}

void Form1::setLeftTwips(QWidget* control, double twips) {
    if (auto* holder = qobject_cast<PictureBox*>(control->parentWidget()))
        holder->moveChild(control, twips, std::nullopt);
    else
        control->move(Twips::toPixels(twips), control->y());
}

void Form1::Form_Load() {
    setMenuChecked(m_cmdTeilersumme, false);
    setMenuChecked(m_cmdTeilersumme2, false);
    m_currentNumber = 720;
    m_picAusgabe->Scale(0, 36, 505, -3);

    m_picSkala->Scale(0, 36, 1, -3);
    for (int i = 0; i <= 31; ++i) {
        m_picSkala->CurrentX = 0;
        m_picSkala->CurrentY = i;
        m_picSkala->Print(i + 1);
        m_picSkala->Line(0, i - 1, 1, i - 1, QColor(255, 255, 255));
    }

    // Fit the widths to the screen; a screen too narrow for a control gives it width 0.
    setWidthTwips(m_picRahmen, screenWidthTwips() - leftTwips(m_picRahmen) - 240);
    setWidthTwips(m_picSteuerstand, screenWidthTwips() - leftTwips(m_picSteuerstand) - 240);
    setLeftTwips(m_vscHoch, widthTwips(m_picRahmen) - widthTwips(m_vscHoch));
    setWidthTwips(m_HScAusgabe, screenWidthTwips() - leftTwips(m_HScAusgabe) - 240);
    setLeftTwips(m_Command1,
                 widthTwips(m_picRahmen) - widthTwips(m_vscHoch) - widthTwips(m_Command1));
    setWidthTwips(m_txtHilfe, widthTwips(m_picSteuerstand) - leftTwips(m_txtHilfe) - 120);

    m_picRahmen->Scale(0, 0, 100, 100);
    m_picZeichenblatt->Scale(0, 1, 2, 30);
    // What start-up draws is where the history begins, so it is no step.
    drawNumberLine(0);
    m_document->history().clear();
}

template <class Procedure> void Form1::canvasStep(Procedure&& procedure) {
    m_document->history().begin(canvasState());
    procedure();
    m_document->history().end(canvasState());
}

void Form1::cmdloesch_Click() {
    canvasStep([this] { charts::ClearCommands::ClearScreen(*m_picAusgabe); });
}

void Form1::Command1_Click() {
    canvasStep([this] { charts::ClearCommands::ClearChartArea(*m_picAusgabe); });
}

void Form1::drawNumberLine(int rangeBase) {
    m_rangeBase = rangeBase;
    charts::NumberLine::DrawNumberLine(*m_picAusgabe, m_rangeBase);
}

void Form1::cmdSkala_Click() {
    canvasStep([this] { drawNumberLine(0); });
}

void Form1::cmdSkala2_Click() {
    canvasStep([this] { drawNumberLine(charts::Column::count); });
}

void Form1::cmdTeiler_Click() {
    canvasStep([this] { charts::Skyline::Draw(*m_picAusgabe, m_rangeBase); });
}

void Form1::cmdHochzerlegbar_Click() {
    canvasStep(
        [this] { charts::DivisorCountChart::Draw(*m_picAusgabe, m_rangeBase, chartPalette()); });
}

// A menu entry shows a check mark only while it is checked, and no empty box otherwise.
void Form1::setMenuChecked(QAction* entry, bool checked) {
    entry->setCheckable(checked);
    entry->setChecked(checked);
    entry->setProperty(setCheckMark, checked);
}

// The sum charts let the window handle events before every column and stop once it closes.
bool Form1::yieldToEvents() {
    QCoreApplication::processEvents();
    return !m_closing && !m_stopDrawing;
}

// A command chosen while the chart yields joins its step: one "Rückgängig" takes back both.
void Form1::cmdTeilersumme_Click() {
    canvasStep([this] {
        setMenuChecked(m_cmdTeilersumme2, false);
        setMenuChecked(m_cmdTeilersumme, true);
        m_sumMode = 0;
        m_stopDrawing = false;
        charts::DivisorSumChart::DrawDivisorSums(
            *m_picAusgabe, m_rangeBase, m_sumMode, [this] { return yieldToEvents(); },
            chartPalette());
    });
}

void Form1::cmdTeilersumme2_Click() {
    canvasStep([this] {
        setMenuChecked(m_cmdTeilersumme2, true);
        setMenuChecked(m_cmdTeilersumme, false);
        m_sumMode = 1;
        m_stopDrawing = false;
        charts::DivisorSumChart::DrawDivisorSums(
            *m_picAusgabe, m_rangeBase, m_sumMode, [this] { return yieldToEvents(); },
            chartPalette());
    });
}

void Form1::cmdTrefferliste_Click() {
    m_txtTreffer->setHidden(!m_txtTreffer->isHidden());
}

void Form1::cmdVortrag_Click() {
    QMessageBox box(QMessageBox::Information, QStringLiteral("Programmiert von"),
                    QStringLiteral("Teiler – ein Lernprogramm über die Teiler der Zahlen von 1 "
                                   "bis 1000.\nAutoren: die Entwickler von Teiler"),
                    QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("infoBox"));
    box.exec();
}

// "beenden" closes the window, which ends the program.
void Form1::cmdEnde_Click() {
    close();
}

interact::CanvasPicker::State Form1::pickerState() {
    return {m_rangeBase, m_currentNumber, m_isDrawing, m_lastDrawX, m_lastDrawY};
}

// A press and what is drawn until its release are one step: the pick, or the stroke.
void Form1::picAusgabe_MouseDown(int Button, int, double X, double Y) {
    endStroke(); // a release that never came
    m_document->history().begin(canvasState());
    m_strokeOpen = true;
    interact::CanvasPicker::MouseDown(*m_picAusgabe, pickerState(), Button, X, Y,
                                      m_cmdTeilersumme2->isChecked(), chartPalette());
    factor::FactorizationSheet::ShowNumber(*m_picZeichenblatt, m_currentNumber);
}

void Form1::endStroke() {
    if (!m_strokeOpen)
        return;
    m_strokeOpen = false;
    m_document->history().end(canvasState());
}

void Form1::picAusgabe_MouseMove(int, int, double X, double Y) {
    if (m_isDrawing && !m_strokeOpen) {
        m_document->history().begin(canvasState());
        m_strokeOpen = true;
    }
    const auto moved = interact::CanvasPicker::MouseMove(*m_picAusgabe, pickerState(), X, Y);
    m_txtHilfe->setText(moved.helpText);
    if (moved.markerLeft)
        m_picAusgabe->moveChild(m_Shape1, *moved.markerLeft, std::nullopt);
}

void Form1::picAusgabe_MouseUp(int, int, double, double) {
    interact::CanvasPicker::MouseUp(pickerState());
    endStroke();
}

void Form1::picZeichenblatt_Click() {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    if (!data)
        return; // the clipboard cannot be read: the sheet stays as it is
    std::optional<QString> text;
    if (data->hasText())
        text = clipboard->text();
    m_clipText = text.value_or(QString());
    factor::FactorizationSheet::ShowClipboardNumber(*m_picZeichenblatt, text);
}

void Form1::txtIter_MouseDown(int, int, double, double) {
    m_currentNumber =
        factor::FactorizationSheet::ShowTypedNumber(*m_picZeichenblatt, m_txtIter->text());
}

void Form1::cmdIter_Click() {
    const auto step = factor::AliquotStep::Step(m_txtIter->text());
    m_iterValue = step.read;
    if (!step.accepted) {
        m_txtHilfe->setText(factor::AliquotStep::RefusalText());
        m_refusalShown = true;
        m_pointerLeftAfterRefusal = !m_pointerOnIter;
        return;
    }
    m_txtIter->setText(step.text);
    m_currentNumber = step.sum;
    // The next step ends the refusal: the help line speaks of the button again.
    if (m_refusalShown) {
        m_refusalShown = false;
        m_txtHilfe->setText(iterHelpText());
    }
}

void Form1::Command2_Click(int index) {
    m_Text1[index]->setText(search::Steppers::plus(m_Text1[index]->text()));
}

void Form1::Command3_Click(int index) {
    if (const auto stepped = search::Steppers::minus(index, m_Text1[index]->text()))
        m_Text1[index]->setText(*stepped);
}

void Form1::cmdSuche_Click() {
    // Written whether the list is shown or hidden; its visibility stays as it is. Taking back
    // the marks leaves the list.
    QString list;
    canvasStep([&] {
        list = search::SearchRun::Run(*m_picAusgabe, m_rangeBase, m_Text1[2]->text(),
                                      m_Text1[0]->text(), m_Text1[1]->text(), chartPalette());
    });
    m_txtTreffer->setText(list);
}

// The scroll positions are 16-bit integers in the frame's hundredths (the sheet's in twips).
void Form1::HScAusgabe_Change() {
    const auto left = static_cast<qint16>(1 - m_HScAusgabe->Value());
    m_picRahmen->moveChild(m_picAusgabe, left, std::nullopt);
}

void Form1::HScAusgabe_Scroll() {
    HScAusgabe_Change();
}

void Form1::vscHoch_Change() {
    m_picRahmen->moveChild(m_picAusgabe, std::nullopt,
                           static_cast<qint16>(m_vscHoch->Value() - 24));
    m_picRahmen->moveChild(m_picSkala, std::nullopt, static_cast<qint16>(m_vscHoch->Value() - 24));
}

void Form1::vscHoch_Scroll() {
    vscHoch_Change();
}

void Form1::HScroll1_Change() {
    m_Picture3->moveChild(m_picZeichenblatt, static_cast<qint16>(-m_HScroll1->Value()),
                          std::nullopt);
}

void Form1::HScroll1_Scroll() {
    HScroll1_Change();
}

QString Form1::iterHelpText() const {
    return QStringLiteral("Summe der echten Teiler von ") + m_txtIter->text() +
           QStringLiteral(" berechnen");
}

// A refused step's message stays while the pointer is still on the button it pressed; the first
// move over the button after the pointer has been elsewhere writes the help text again.
void Form1::cmdIter_MouseMove() {
    if (m_refusalShown && !m_pointerLeftAfterRefusal)
        return;
    m_refusalShown = false;
    m_txtHilfe->setText(iterHelpText());
}

void Form1::Frame2_MouseMove() {
    m_txtHilfe->setText(iterHelpText());
}

void Form1::txtIter_MouseMove() {
    m_txtHilfe->setText(QStringLiteral("Zur Primfaktorzerlegung: Anklicken!"));
}

void Form1::cmdSuche_MouseMove() {
    m_txtHilfe->setText(searchHelp);
}

void Form1::Frame1_MouseMove() {
    m_txtHilfe->setText(searchHelp);
}

void Form1::Text1_MouseMove(int) {
    m_txtHilfe->setText(searchHelp);
}

void Form1::picZeichenblatt_MouseMove() {
    m_txtHilfe->setText(QStringLiteral("Anzeigefeld für die Primfaktorzerlegung"));
}

charts::Palette Form1::chartPalette() const {
    return m_cmdFarben->isChecked() ? charts::Palette::colourBlind() : charts::Palette::designed();
}

// A double click on a hit shows its factorization on the sheet, as a click on the sheet with the
// hit on the clipboard would, and brings its column to the middle of the frame when it lies in
// the range shown. The clipboard and the list's text stay as they are.
void Form1::txtTreffer_DblClick(int position) {
    const auto hit = search::HitList::hitAt(m_txtTreffer->toPlainText(), position);
    if (!hit)
        return;
    const long long column = *hit - m_rangeBase;
    if (column >= 1 && column <= charts::Column::count) {
        // The canvas's Left is 1 - Value in the frame's hundredths; the column's centre is to
        // stand at 50.
        const double unitsPerPixel =
            m_picRahmen->toUser(QPointF(1, 0)).x() - m_picRahmen->toUser(QPointF(0, 0)).x();
        const double centre = m_picAusgabe->toPixel(static_cast<double>(column), 0).x();
        const int low = std::min(m_HScAusgabe->Min(), m_HScAusgabe->Max());
        const int high = std::max(m_HScAusgabe->Min(), m_HScAusgabe->Max());
        const double value = centre * unitsPerPixel - 49;
        // A frame narrowed to nothing by a small screen shows no column to bring into view.
        if (std::isfinite(value))
            m_HScAusgabe->SetValue(static_cast<int>(std::lround(
                std::clamp(value, static_cast<double>(low), static_cast<double>(high)))));
    }
    factor::FactorizationSheet::ShowNumber(*m_picZeichenblatt, static_cast<double>(*hit));
}

// Full screen for the projector; leaving it returns to a maximized window if it was one.
void Form1::cmdVollbild_Click() {
    if (m_cmdVollbild->isChecked())
        showFullScreen();
    else if (m_maximizedBeforeFullScreen)
        showMaximized();
    else
        showNormal();
}

// The wheel moves the canvas through its scroll bars, whose Change events do the moving: up and
// down with vscHoch, sideways with HScAusgabe when Shift is held or the wheel turns sideways.
// A notch (120 in Qt's angle delta) moves 10 units of the frame, a tenth of what it shows, as a
// text view moves three lines for it; the bars' arrows and keys still move 1. A fine wheel's
// smaller turns add up: what is left short of a unit waits for the next turn the same way.
void Form1::picRahmen_MouseWheel(QWheelEvent* event) {
    constexpr int unitsPerNotch = 10;
    const QPoint delta = event->angleDelta();
    const bool across = std::abs(delta.x()) > std::abs(delta.y());
    const bool sideways = (event->modifiers() & Qt::ShiftModifier) || across;
    // Turning the wheel down or to the right moves vscHoch towards its bottom (Value 0) and
    // HScAusgabe towards its right end (Value 2200).
    const int turn = (across ? delta.x() : delta.y()) * unitsPerNotch;
    const int added = sideways ? -turn : turn;
    int& rest = sideways ? m_wheelRestAcross : m_wheelRestDown;
    if ((rest > 0 && added < 0) || (rest < 0 && added > 0))
        rest = 0; // a turn the other way starts afresh
    rest += added;
    const int units = rest / 120;
    rest -= units * 120;
    surface::ScrollBar* bar = sideways ? m_HScAusgabe : m_vscHoch;
    if (units != 0)
        bar->SetValue(bar->Value() + units);
    event->accept();
}

QImage Form1::framePicture() {
    return app::PictureExport::FramePicture(*m_picRahmen, *m_picAusgabe, *m_picSkala,
                                            m_vscHoch->isHidden() ? m_picRahmen->width()
                                                                  : m_vscHoch->x());
}

bool Form1::savePictureTo(const QString& path) {
    return m_export->saveTo(path);
}

bool Form1::printPictureOn(QPrinter& printer) {
    return m_export->printOn(printer);
}

// The check marks as the program set them: Qt turns a checked entry's mark off when it is
// chosen, before its event procedure runs and sets it again.
board::WindowState Form1::canvasState() const {
    return {m_rangeBase, m_sumMode, m_cmdTeilersumme->property(setCheckMark).toBool(),
            m_cmdTeilersumme2->property(setCheckMark).toBool()};
}

void Form1::restoreCanvasState(const board::WindowState& state) {
    m_rangeBase = state.rangeBase;
    m_sumMode = state.sumMode;
    setMenuChecked(m_cmdTeilersumme, state.sumChecked);
    setMenuChecked(m_cmdTeilersumme2, state.abundanceChecked);
}

void Form1::updateUndoEntries() {
    m_cmdRueckgaengig->setEnabled(m_document->history().canUndo());
    m_cmdWiederholen->setEnabled(m_document->history().canRedo());
}

void Form1::updateTitle() {
    setWindowTitle(m_document->windowTitle());
    setWindowModified(m_document->isModified());
}

// Takes back the last step on the canvas: its drawings, rangeBase and the check marks as they
// were. The hit list, the sheet and the text boxes keep what they show.
void Form1::cmdRueckgaengig_Click() {
    if (const auto state = m_document->history().undo())
        restoreCanvasState(*state);
    updateUndoEntries();
}

void Form1::cmdWiederholen_Click() {
    if (const auto state = m_document->history().redo())
        restoreCanvasState(*state);
    updateUndoEntries();
}

board::Board Form1::currentBoard() const {
    board::Board board;
    static_cast<board::WindowState&>(board) = canvasState();
    board.drawings = m_picAusgabe->drawings();
    board.settings = m_picAusgabe->settings();
    for (std::size_t i = 0; i < m_Text1.size(); ++i)
        board.coefficients[i] = m_Text1[i]->text();
    board.iterText = m_txtIter->text();
    board.hitList = m_txtTreffer->toPlainText();
    board.hitListVisible = !m_txtTreffer->isHidden();
    board.sheet = m_picZeichenblatt->drawings();
    board.sheetNumber = m_currentNumber;
    board.markerLeft = PictureBox::childLeft(m_Shape1);
    board.canvasScroll = m_HScAusgabe->Value();
    board.heightScroll = m_vscHoch->Value();
    board.sheetScroll = m_HScroll1->Value();
    board.hitListScroll = m_txtTreffer->verticalScrollBar()->value();
    board.penMode = m_cmdStift->isChecked();
    board.colourBlind = m_cmdFarben->isChecked();
    return board;
}

void Form1::showBoard(const board::Board& board) {
    endStroke();
    m_isDrawing = false;
    m_picAusgabe->replaceDrawings(0, board.drawings);
    m_picAusgabe->setSettings(board.settings);
    restoreCanvasState(board);
    for (std::size_t i = 0; i < m_Text1.size(); ++i)
        m_Text1[i]->setText(board.coefficients[i]);
    m_txtIter->setText(board.iterText);
    m_txtTreffer->setText(board.hitList);
    m_txtTreffer->setHidden(!board.hitListVisible);
    m_currentNumber = board.sheetNumber;
    m_picZeichenblatt->replaceDrawings(0, board.sheet);
    m_picAusgabe->moveChild(m_Shape1, board.markerLeft, std::nullopt);
    m_HScAusgabe->SetValue(board.canvasScroll);
    m_vscHoch->SetValue(board.heightScroll);
    m_HScroll1->SetValue(board.sheetScroll);
    m_txtTreffer->verticalScrollBar()->setValue(board.hitListScroll);
    m_cmdStift->setChecked(board.penMode);
    m_cmdFarben->setChecked(board.colourBlind);
}

bool Form1::saveBoardTo(const QString& path) {
    return m_boardCommands->saveTo(path);
}

bool Form1::openBoard(const QString& path) {
    return m_boardCommands->openFile(path);
}

void Form1::startWith(const QString& path) {
    m_boardCommands->offerRecovery();
    if (!path.isEmpty() && m_boardCommands->maybeSave())
        openBoard(path);
}

bool Form1::boardModified() const {
    return m_document->isModified();
}

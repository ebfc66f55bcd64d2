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
#include "controlevents.h"
#include "exportdialogs.h"
#include "factor/aliquotstep.h"
#include "factor/factorizationsheet.h"
#include "fullscreen.h"
#include "helpline.h"
#include "interact/canvaspicker.h"
#include "interact/peninput.h"
#include "layoutfit.h"
#include "menukeys.h"
#include "menutable.h"
#include "pentools.h"
#include "pictureexport.h"
#include "search/hitcolumn.h"
#include "search/hitlist.h"
#include "search/searchrun.h"
#include "search/steppers.h"
#include "surface/multilinetextbox.h"
#include "surface/picturebox.h"
#include "surface/scrollbar.h"
#include "surface/shape.h"
#include "zoomcommands.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QStandardPaths>
#include <QWheelEvent>
#include <initializer_list>
#include <utility>

using surface::PictureBox;

namespace {

// The property of a menu entry that holds the check mark setMenuChecked gave it.
constexpr char setCheckMark[] = "teilerChecked";

// Fonts that fontconfig alone would match to unrelated faces once more fonts are installed.
void pinFontSubstitutions() {
    QFont::insertSubstitution(QStringLiteral("Courier"), QStringLiteral("Liberation Mono"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
}

// The controls or menu entries of the names each member is paired with, of the class the window
// expects for them.
template <class T, class Built>
void bind(const QHash<QString, Built*>& built,
          std::initializer_list<std::pair<T**, const char*>> members) {
    for (const auto& [member, name] : members) {
        *member = qobject_cast<T*>(built.value(QString::fromLatin1(name)));
        Q_ASSERT_X(*member, "Form1", name);
    }
}

// The controls of an array: "Text1(0)", "Text1(1)", ...
template <class T, std::size_t N>
void bind(const QHash<QString, QWidget*>& controls, const char* name, std::array<T*, N>& array) {
    for (std::size_t i = 0; i < N; ++i) {
        array[i] = qobject_cast<T*>(
            controls.value(QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i)));
        Q_ASSERT_X(array[i], "Form1", name);
    }
}

} // namespace

Form1::Form1(QWidget* parent) : QMainWindow(parent) {
    pinFontSubstitutions();
    setWindowTitle(QStringLiteral("Teiler"));
    setWindowIcon(app::AppIcon::make());
    m_export = std::make_unique<app::ExportDialogs>(
        *this, [this] { return framePicture(); },
        [this] { return app::RangePages(*m_picAusgabe, *m_picSkala, m_rangeBase, m_sumMode); });
    buildControls();
    buildMenu();
    new app::MenuKeys(*this, *menuBar());
    connectEvents();
    m_zoom = &(new app::ZoomCommands(*this))->zoom(); // after the pen: a pinch comes first
    resize(app::CommandLine::DesignWindowSize(menuBar()->sizeHint().height()));
    app::LayoutFit::Centre(*this);
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
    bind<PictureBox>(
        controls,
        {std::pair{&m_Picture3, "Picture3"}, std::pair{&m_picZeichenblatt, "picZeichenblatt"},
         std::pair{&m_picSteuerstand, "picSteuerstand"}, std::pair{&m_picRahmen, "picRahmen"},
         std::pair{&m_picSkala, "picSkala"}, std::pair{&m_picAusgabe, "picAusgabe"}});
    bind<surface::ScrollBar>(controls, {std::pair{&m_HScroll1, "HScroll1"},
                                        std::pair{&m_HScAusgabe, "HScAusgabe"},
                                        std::pair{&m_vscHoch, "vscHoch"}});
    bind<surface::MultiLineTextBox>(controls, {std::pair{&m_txtTreffer, "txtTreffer"}});
    bind<QLineEdit>(controls,
                    {std::pair{&m_txtHilfe, "txtHilfe"}, std::pair{&m_txtIter, "txtIter"}});
    bind<QGroupBox>(controls, {std::pair{&m_Frame2, "Frame2"}, std::pair{&m_Frame1, "Frame1"}});
    bind<QPushButton>(controls,
                      {std::pair{&m_cmdIter, "cmdIter"}, std::pair{&m_cmdSuche, "cmdSuche"},
                       std::pair{&m_Command1, "Command1"}});
    bind<QLabel>(controls, {std::pair{&m_Label6, "Label6"}, std::pair{&m_Label5, "Label5"},
                            std::pair{&m_Label4, "Label4"}, std::pair{&m_Label2, "Label2"}});
    bind<surface::Shape>(controls, {std::pair{&m_Shape1, "Shape1"}});
    bind(controls, "Text1", m_Text1);
    bind(controls, "Command2", m_Command2);
    bind(controls, "Command3", m_Command3);
}

void Form1::buildMenu() {
    const QHash<QString, QObject*> built = app::MenuTable::Build(*menuBar());
    bind<QMenu>(built, {std::pair{&m_cmdDatei, "cmdDatei"}, std::pair{&m_cmdStrahl, "cmdStrahl"},
                        std::pair{&m_cmdTeiler0, "cmdTeiler0"}, std::pair{&m_cmdTafel, "cmdTafel"},
                        std::pair{&m_cmdZuletzt, "cmdZuletzt"}});
    bind<QAction>(built, {std::pair{&m_cmdloesch, "cmdloesch"},
                          std::pair{&m_cmdSpeichern, "cmdSpeichern"},
                          std::pair{&m_cmdKopieren, "cmdKopieren"},
                          std::pair{&m_cmdDrucken, "cmdDrucken"},
                          std::pair{&m_cmdEnde, "cmdEnde"},
                          std::pair{&m_cmdSkala, "cmdSkala"},
                          std::pair{&m_cmdSkala2, "cmdSkala2"},
                          std::pair{&m_cmdTeiler, "cmdTeiler"},
                          std::pair{&m_cmdHochzerlegbar, "cmdHochzerlegbar"},
                          std::pair{&m_cmdTeilersumme, "cmdTeilersumme"},
                          std::pair{&m_cmdTeilersumme2, "cmdTeilersumme2"},
                          std::pair{&m_cmdTrefferliste, "cmdTrefferliste"},
                          std::pair{&m_cmdVortrag, "cmdVortrag"},
                          std::pair{&m_cmdNeueTafel, "cmdNeueTafel"},
                          std::pair{&m_cmdStift, "cmdStift"},
                          std::pair{&m_cmdVollbild, "cmdVollbild"},
                          std::pair{&m_cmdFarben, "cmdFarben"},
                          std::pair{&m_cmdRueckgaengig, "cmdRueckgaengig"},
                          std::pair{&m_cmdWiederholen, "cmdWiederholen"},
                          std::pair{&m_cmdTafelSpeichern, "cmdTafelSpeichern"},
                          std::pair{&m_cmdTafelSpeichernUnter, "cmdTafelSpeichernUnter"},
                          std::pair{&m_cmdTafelOeffnen, "cmdTafelOeffnen"}});
    setMenuChecked(m_cmdTeilersumme, true);
    setMenuChecked(m_cmdTeilersumme2, true);
}

void Form1::connectEvents() {
    connect(m_cmdSpeichern, &QAction::triggered, this, [this] { m_export->save(); });
    connect(m_cmdKopieren, &QAction::triggered, this, [this] { m_export->copy(); });
    connect(m_cmdDrucken, &QAction::triggered, this, [this] { m_export->print(); });
    for (const auto& [entry, procedure] :
         {std::pair{m_cmdloesch, &Form1::cmdloesch_Click},
          std::pair{m_cmdEnde, &Form1::cmdEnde_Click},
          std::pair{m_cmdSkala, &Form1::cmdSkala_Click},
          std::pair{m_cmdSkala2, &Form1::cmdSkala2_Click},
          std::pair{m_cmdTeiler, &Form1::cmdTeiler_Click},
          std::pair{m_cmdHochzerlegbar, &Form1::cmdHochzerlegbar_Click},
          std::pair{m_cmdTeilersumme, &Form1::cmdTeilersumme_Click},
          std::pair{m_cmdTeilersumme2, &Form1::cmdTeilersumme2_Click},
          std::pair{m_cmdTrefferliste, &Form1::cmdTrefferliste_Click},
          std::pair{m_cmdVortrag, &Form1::cmdVortrag_Click},
          std::pair{m_cmdVollbild, &Form1::cmdVollbild_Click},
          std::pair{m_cmdRueckgaengig, &Form1::cmdRueckgaengig_Click},
          std::pair{m_cmdWiederholen, &Form1::cmdWiederholen_Click}})
        connect(entry, &QAction::triggered, this, procedure);
    m_fullScreen = new app::FullScreen(*this, *m_cmdVollbild);
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
    m_penTools = new app::PenTools(*m_cmdTafel, *m_cmdStift, *m_penInput, *m_document, this);
    connect(m_picZeichenblatt, &PictureBox::clicked, this, &Form1::picZeichenblatt_Click);
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

    // Mouse moves over the panel's controls and the sheet write the help line.
    m_helpLine = new app::HelpLine({*m_txtHilfe, *m_Frame2, *m_txtIter, *m_cmdIter, *m_Frame1,
                                    m_Text1, *m_cmdSuche, *m_picZeichenblatt},
                                   this);
    connect(new app::ControlEvents(*m_txtIter, app::ControlEvents::Presses),
            &app::ControlEvents::mouseDown, this, &Form1::txtIter_MouseDown);
    connect(new app::ControlEvents(*m_picRahmen, app::ControlEvents::WheelTurns),
            &app::ControlEvents::mouseWheel, this, &Form1::picRahmen_MouseWheel);
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

    app::LayoutFit::FitToScreen(*this, {*m_picRahmen, *m_picSteuerstand, *m_vscHoch, *m_HScAusgabe,
                                        *m_Command1, *m_txtHilfe});

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
void Form1::drawDivisorSums(int sumMode) {
    canvasStep([this, sumMode] {
        setMenuChecked(m_cmdTeilersumme2, sumMode == 1);
        setMenuChecked(m_cmdTeilersumme, sumMode == 0);
        m_sumMode = sumMode;
        m_stopDrawing = false;
        charts::DivisorSumChart::DrawDivisorSums(
            *m_picAusgabe, m_rangeBase, m_sumMode, [this] { return yieldToEvents(); },
            chartPalette());
    });
}

void Form1::cmdTeilersumme_Click() {
    drawDivisorSums(0);
}

void Form1::cmdTeilersumme2_Click() {
    drawDivisorSums(1);
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
    box.setInformativeText(QStringLiteral("Version " TEILER_VERSION)); // below the credit line
    box.exec();
}

// "beenden" closes the window, which ends the program.
void Form1::cmdEnde_Click() {
    close();
}

interact::CanvasPicker::State Form1::pickerState() {
    return {m_rangeBase, m_currentNumber, m_isDrawing, m_lastDrawX, m_lastDrawY, m_stroke};
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
        m_helpLine->stepRefused(factor::AliquotStep::RefusalText());
        return;
    }
    m_txtIter->setText(step.text);
    m_currentNumber = step.sum;
    m_helpLine->stepTaken();
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
    if (const auto column = search::HitColumn::of(*hit, m_rangeBase)) {
        const double unitsPerPixel =
            m_picRahmen->toUser(QPointF(1, 0)).x() - m_picRahmen->toUser(QPointF(0, 0)).x();
        const double centre = m_picAusgabe->toPixel(static_cast<double>(*column), 0).x();
        if (const auto value = search::HitColumn::centringValue(
                centre, unitsPerPixel, m_HScAusgabe->Min(), m_HScAusgabe->Max()))
            m_HScAusgabe->SetValue(*value);
    }
    factor::FactorizationSheet::ShowNumber(*m_picZeichenblatt, static_cast<double>(*hit));
}

void Form1::cmdVollbild_Click() {
    m_fullScreen->apply();
}

// The wheel moves the canvas through its scroll bars, whose Change events do the moving; the
// bars' arrows and keys still move 1.
void Form1::picRahmen_MouseWheel(QWheelEvent* event) {
    const auto move =
        m_wheel.turn(event->angleDelta(), event->modifiers().testFlag(Qt::ShiftModifier));
    surface::ScrollBar* bar = move.across ? m_HScAusgabe : m_vscHoch;
    if (move.units != 0)
        bar->SetValue(bar->Value() + move.units);
    event->accept();
}

QImage Form1::framePicture() {
    return app::PictureExport::FramePicture(*m_picRahmen, *m_picAusgabe, *m_picSkala,
                                            m_vscHoch->isHidden() ? m_picRahmen->width()
                                                                  : m_vscHoch->x());
}

bool Form1::savePictureTo(const QString& path, bool wholeRange) {
    return m_export->saveTo(path, wholeRange);
}

bool Form1::printPictureOn(QPrinter& printer, bool wholeRange) {
    return m_export->printOn(printer, wholeRange);
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
    board.canvasScroll = m_zoom->unzoomedAcross(); // as at 100%: the zoom is no part of it
    board.heightScroll = m_zoom->unzoomedDown();
    board.sheetScroll = m_HScroll1->Value();
    board.hitListScroll = m_txtTreffer->verticalScrollBar()->value();
    m_penTools->capture(board); // the pen mode and the pen's ink
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
    m_zoom->scrollTo(board.canvasScroll, board.heightScroll);
    m_HScroll1->SetValue(board.sheetScroll);
    m_txtTreffer->verticalScrollBar()->setValue(board.hitListScroll);
    m_penTools->show(board);
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

// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1.h"

#include "appicon.h"
#include "charts/clearcommands.h"
#include "charts/divisorcountchart.h"
#include "charts/divisorsumchart.h"
#include "charts/numberline.h"
#include "charts/skyline.h"
#include "commandline.h"
#include "factor/aliquotstep.h"
#include "factor/factorizationsheet.h"
#include "interact/canvaspicker.h"
#include "layouttable.h"
#include "pictureexport.h"
#include "search/searchrun.h"
#include "search/steppers.h"
#include "surface/multilinetextbox.h"
#include "surface/numbertext.h"
#include "surface/picturebox.h"
#include "surface/scrollbar.h"
#include "surface/shape.h"
#include "surface/twips.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStandardPaths>
#include <QWheelEvent>
#include <algorithm>
#include <vector>

using surface::NumberText;
using surface::PictureBox;
using surface::Twips;
using Layout = app::LayoutTable;

namespace {

const QString searchHelp = QStringLiteral("Alle n mit dieser Eigenschaft markieren");

QColor resolve(QRgb colour, const QColor& system) {
    if (colour == Layout::SystemWindow || colour == Layout::SystemWindowText ||
        colour == Layout::Default)
        return system;
    return QColor::fromRgb(colour);
}

Qt::Alignment alignmentOf(unsigned flags) {
    if (flags & Layout::AlignCenter)
        return Qt::AlignCenter;
    if (flags & Layout::AlignRight)
        return Qt::AlignRight | Qt::AlignVCenter;
    return Qt::AlignLeft | Qt::AlignVCenter;
}

// Fonts that fontconfig alone would match to unrelated faces once more fonts are installed.
void pinFontSubstitutions() {
    QFont::insertSubstitution(QStringLiteral("Courier"), QStringLiteral("Liberation Mono"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
}

} // namespace

Form1::Form1(QWidget* parent) : QMainWindow(parent) {
    pinFontSubstitutions();
    setWindowTitle(QStringLiteral("Teiler"));
    setWindowIcon(app::AppIcon::make());
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

    QHash<QString, QWidget*> byName{{QStringLiteral("Form1"), form}};
    std::vector<std::pair<int, QWidget*>> tabOrder;
    const QPalette system = QGuiApplication::palette();

    for (const Layout::Control& c : Layout::controls()) {
        QWidget* container = byName.value(QString::fromLatin1(c.container));
        const QString text = QString::fromUtf8(c.text);
        QFont font = QGuiApplication::font();
        if (c.fontFamily) {
            font = QFont(QString::fromLatin1(c.fontFamily));
            font.setPointSizeF(c.fontSize);
        }
        font.setBold(c.bold);

        QWidget* w = nullptr;
        switch (c.kind) {
        case Layout::Kind::PictureBox: {
            auto* box = new PictureBox(container);
            box->setBackColor(resolve(c.back, system.color(QPalette::Base)));
            box->setBorder((c.flags & Layout::NoBorder) ? PictureBox::Border::None
                                                        : PictureBox::Border::Flat);
            box->setBoxFont(font);
            box->ForeColor = resolve(c.fore, system.color(QPalette::Text));
            w = box;
            break;
        }
        case Layout::Kind::HScrollBar:
        case Layout::Kind::VScrollBar: {
            auto* bar = new surface::ScrollBar(c.kind == Layout::Kind::VScrollBar ? Qt::Vertical
                                                                                  : Qt::Horizontal,
                                               c.min, c.max, container);
            bar->SetValue(c.value);
            w = bar;
            break;
        }
        case Layout::Kind::TextBox: {
            auto* edit = new QLineEdit(text, container);
            edit->setAlignment(alignmentOf(c.flags));
            w = edit;
            break;
        }
        case Layout::Kind::MultiLineTextBox: {
            auto* box = new surface::MultiLineTextBox(container);
            box->setTabChangesFocus(true);
            box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            if (c.flags & Layout::Flat)
                box->setFrameStyle(QFrame::Box | QFrame::Plain);
            box->setText(text);
            w = box;
            break;
        }
        case Layout::Kind::CommandButton: {
            auto* button = new QPushButton(text, container);
            // Return and Enter press the focused button, as Space does.
            button->setAutoDefault(true);
            w = button;
            break;
        }
        case Layout::Kind::Label: {
            auto* label = new QLabel(text, container);
            label->setAlignment(alignmentOf(c.flags));
            w = label;
            break;
        }
        case Layout::Kind::Frame:
            w = new QGroupBox(text, container);
            break;
        case Layout::Kind::Shape: {
            auto* shape = new surface::Shape(container);
            shape->setOutline(QColor::fromRgb(c.fore), 2);
            w = shape;
            break;
        }
        }
        w->setObjectName(QString::fromLatin1(c.name));
        w->setFont(font);
        if (c.back != Layout::Default && c.kind != Layout::Kind::PictureBox) {
            QPalette p = w->palette();
            const QColor back = resolve(c.back, system.color(QPalette::Base));
            const bool editable =
                c.kind == Layout::Kind::TextBox || c.kind == Layout::Kind::MultiLineTextBox;
            p.setColor(editable ? QPalette::Base : QPalette::Window, back);
            w->setPalette(p);
            w->setAutoFillBackground(true);
        }
        if (c.fore != Layout::Default && c.fore != Layout::SystemWindowText &&
            c.kind != Layout::Kind::Shape) {
            QPalette p = w->palette();
            p.setColor(QPalette::Text, QColor::fromRgb(c.fore));
            p.setColor(QPalette::WindowText, QColor::fromRgb(c.fore));
            w->setPalette(p);
        }
        const int width = Twips::toPixels(c.width);
        const int height = Twips::toPixels(c.height);
        w->resize(width, height);
        if (auto* holder = qobject_cast<PictureBox*>(container))
            holder->moveChild(w, c.left, c.top);
        else
            w->move(Twips::toPixels(c.left), Twips::toPixels(c.top));
        // Frames, labels and the shape take no focus; everything else is in the tab order.
        const bool takesFocus = c.kind != Layout::Kind::Frame && c.kind != Layout::Kind::Label &&
                                c.kind != Layout::Kind::Shape;
        if (takesFocus) {
            if (c.kind == Layout::Kind::PictureBox)
                w->setFocusPolicy(Qt::StrongFocus);
            tabOrder.emplace_back(c.tab, w);
        }
        byName.insert(w->objectName(), w);
    }

    // The table lists the topmost control first.
    const auto all = Layout::controls();
    for (auto it = all.rbegin(); it != all.rend(); ++it)
        byName.value(QString::fromLatin1(it->name))->raise();
    std::sort(tabOrder.begin(), tabOrder.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        QWidget::setTabOrder(tabOrder[i - 1].second, tabOrder[i].second);
    if (!tabOrder.empty())
        tabOrder.front().second->setFocus();

    auto get = [&](const char* name) { return byName.value(QString::fromLatin1(name)); };
    Picture3 = static_cast<PictureBox*>(get("Picture3"));
    HScroll1 = static_cast<surface::ScrollBar*>(get("HScroll1"));
    picZeichenblatt = static_cast<PictureBox*>(get("picZeichenblatt"));
    txtTreffer = static_cast<surface::MultiLineTextBox*>(get("txtTreffer"));
    picSteuerstand = static_cast<PictureBox*>(get("picSteuerstand"));
    txtHilfe = static_cast<QLineEdit*>(get("txtHilfe"));
    Frame2 = static_cast<QGroupBox*>(get("Frame2"));
    txtIter = static_cast<QLineEdit*>(get("txtIter"));
    cmdIter = static_cast<QPushButton*>(get("cmdIter"));
    Label6 = static_cast<QLabel*>(get("Label6"));
    Label5 = static_cast<QLabel*>(get("Label5"));
    Frame1 = static_cast<QGroupBox*>(get("Frame1"));
    for (int i = 0; i < 3; ++i) {
        Text1[i] = static_cast<QLineEdit*>(get(QStringLiteral("Text1(%1)").arg(i).toLatin1()));
        Command2[i] =
            static_cast<QPushButton*>(get(QStringLiteral("Command2(%1)").arg(i).toLatin1()));
        Command3[i] =
            static_cast<QPushButton*>(get(QStringLiteral("Command3(%1)").arg(i).toLatin1()));
    }
    cmdSuche = static_cast<QPushButton*>(get("cmdSuche"));
    Label4 = static_cast<QLabel*>(get("Label4"));
    Label2 = static_cast<QLabel*>(get("Label2"));
    HScAusgabe = static_cast<surface::ScrollBar*>(get("HScAusgabe"));
    picRahmen = static_cast<PictureBox*>(get("picRahmen"));
    Command1 = static_cast<QPushButton*>(get("Command1"));
    vscHoch = static_cast<surface::ScrollBar*>(get("vscHoch"));
    picSkala = static_cast<PictureBox*>(get("picSkala"));
    picAusgabe = static_cast<PictureBox*>(get("picAusgabe"));
    Shape1 = static_cast<surface::Shape*>(get("Shape1"));
}

void Form1::buildMenu() {
    auto named = [](auto* object, const char* name) {
        object->setObjectName(QString::fromLatin1(name));
        return object;
    };
    QMenuBar* bar = menuBar();
    cmdDatei = named(bar->addMenu(QStringLiteral("Datei")), "cmdDatei");
    cmdloesch = named(cmdDatei->addAction(QStringLiteral("Bildschirm löschen")), "cmdloesch");
    cmdDatei->addSeparator();
    cmdSpeichern = named(cmdDatei->addAction(QStringLiteral("Bild speichern …")), "cmdSpeichern");
    cmdKopieren = named(cmdDatei->addAction(QStringLiteral("Bild kopieren")), "cmdKopieren");
    cmdDrucken = named(cmdDatei->addAction(QStringLiteral("Drucken …")), "cmdDrucken");
    cmdDatei->addSeparator();
    cmdEnde = named(cmdDatei->addAction(QStringLiteral("beenden")), "cmdEnde");
    cmdStrahl = named(bar->addMenu(QStringLiteral("Zahlenstrahl")), "cmdStrahl");
    cmdSkala = named(cmdStrahl->addAction(QStringLiteral("1...500")), "cmdSkala");
    cmdSkala2 = named(cmdStrahl->addAction(QStringLiteral("501...1000")), "cmdSkala2");
    cmdTeiler0 = named(bar->addMenu(QStringLiteral("Teiler")), "cmdTeiler0");
    cmdTeiler = named(cmdTeiler0->addAction(QStringLiteral("Liste als \"Skyline\"")), "cmdTeiler");
    cmdHochzerlegbar =
        named(cmdTeiler0->addAction(QStringLiteral("Teileranzahl T(n)  [alle Teiler]")),
              "cmdHochzerlegbar");
    cmdTeilersumme =
        named(cmdTeiler0->addAction(QStringLiteral("Teilersumme S(n)   [echte Teiler]")),
              "cmdTeilersumme");
    cmdTeilersumme2 =
        named(cmdTeiler0->addAction(QStringLiteral("S(n)-n  [\"Reichtum\"]")), "cmdTeilersumme2");
    setMenuChecked(cmdTeilersumme, true);
    setMenuChecked(cmdTeilersumme2, true);
    cmdTrefferliste =
        named(bar->addAction(QStringLiteral("Trefferliste ein/aus")), "cmdTrefferliste");
    cmdVortrag = named(bar->addAction(QStringLiteral("Info")), "cmdVortrag");
}

void Form1::connectEvents() {
    connect(cmdloesch, &QAction::triggered, this, &Form1::cmdloesch_Click);
    connect(cmdEnde, &QAction::triggered, this, &Form1::cmdEnde_Click);
    connect(cmdSpeichern, &QAction::triggered, this, &Form1::cmdSpeichern_Click);
    connect(cmdKopieren, &QAction::triggered, this, &Form1::cmdKopieren_Click);
    connect(cmdDrucken, &QAction::triggered, this, &Form1::cmdDrucken_Click);
    connect(cmdSkala, &QAction::triggered, this, &Form1::cmdSkala_Click);
    connect(cmdSkala2, &QAction::triggered, this, &Form1::cmdSkala2_Click);
    connect(cmdTeiler, &QAction::triggered, this, &Form1::cmdTeiler_Click);
    connect(cmdHochzerlegbar, &QAction::triggered, this, &Form1::cmdHochzerlegbar_Click);
    connect(cmdTeilersumme, &QAction::triggered, this, &Form1::cmdTeilersumme_Click);
    connect(cmdTeilersumme2, &QAction::triggered, this, &Form1::cmdTeilersumme2_Click);
    connect(cmdTrefferliste, &QAction::triggered, this, &Form1::cmdTrefferliste_Click);
    connect(cmdVortrag, &QAction::triggered, this, &Form1::cmdVortrag_Click);
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(cmdIter, &QPushButton::clicked, this, &Form1::cmdIter_Click);
    connect(cmdSuche, &QPushButton::clicked, this, &Form1::cmdSuche_Click);
    for (int i = 0; i < 3; ++i) {
        connect(Command2[i], &QPushButton::clicked, this, [this, i] { Command2_Click(i); });
        connect(Command3[i], &QPushButton::clicked, this, [this, i] { Command3_Click(i); });
    }
    connect(picAusgabe, &PictureBox::mouseDown, this, &Form1::picAusgabe_MouseDown);
    connect(picAusgabe, &PictureBox::mouseMove, this, &Form1::picAusgabe_MouseMove);
    connect(picAusgabe, &PictureBox::mouseUp, this, &Form1::picAusgabe_MouseUp);
    connect(picZeichenblatt, &PictureBox::clicked, this, &Form1::picZeichenblatt_Click);
    connect(picZeichenblatt, &PictureBox::mouseMove, this, &Form1::picZeichenblatt_MouseMove);

    // Change runs after an arrow or track click and at the end of a drag, Scroll during a drag.
    auto scrollEvents = [this](surface::ScrollBar* bar, void (Form1::*change)(),
                               void (Form1::*scroll)()) {
        connect(bar, &QScrollBar::valueChanged, this, [this, bar, change, scroll] {
            (this->*(bar->isSliderDown() ? scroll : change))();
        });
        connect(bar, &QScrollBar::sliderReleased, this, change);
    };
    scrollEvents(HScAusgabe, &Form1::HScAusgabe_Change, &Form1::HScAusgabe_Scroll);
    scrollEvents(vscHoch, &Form1::vscHoch_Change, &Form1::vscHoch_Scroll);
    scrollEvents(HScroll1, &Form1::HScroll1_Change, &Form1::HScroll1_Scroll);

    // Mouse moves over these controls write the help line; a press on txtIter shows its number.
    for (QWidget* w : std::initializer_list<QWidget*>{cmdIter, Frame2, txtIter, cmdSuche, Frame1,
                                                      Text1[0], Text1[1], Text1[2]}) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
    // Wheel turns over the canvas frame that no control inside it took.
    picRahmen->installEventFilter(this);
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == picRahmen) {
        if (event->type() != QEvent::Wheel)
            return false;
        picRahmen_MouseWheel(static_cast<QWheelEvent*>(event));
        return true;
    }
    // The second press of a double click arrives as a double-click event; it is a press too.
    const bool press =
        event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
    if (press && watched == txtIter) {
        auto* e = static_cast<QMouseEvent*>(event);
        const int button = e->button() == Qt::LeftButton    ? 1
                           : e->button() == Qt::RightButton ? 2
                                                            : 4;
        txtIter_MouseDown(button, 0, e->position().x(), e->position().y());
        return false;
    }
    if (watched == cmdIter) {
        if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove)
            pointerOnIter = true;
        if (event->type() == QEvent::Leave) {
            pointerOnIter = false;
            pointerLeftAfterRefusal = true;
        }
    }
    if (event->type() != QEvent::MouseMove)
        return false;
    auto* e = static_cast<QMouseEvent*>(event);
    // A frame hears moves only where none of its controls lies.
    auto overFrameItself = [e](QGroupBox* frame) {
        return frame->childAt(e->position().toPoint()) == nullptr;
    };
    if (watched == cmdIter)
        cmdIter_MouseMove();
    else if (watched == Frame2 && overFrameItself(Frame2))
        Frame2_MouseMove();
    else if (watched == txtIter)
        txtIter_MouseMove();
    else if (watched == cmdSuche)
        cmdSuche_MouseMove();
    else if (watched == Frame1 && overFrameItself(Frame1))
        Frame1_MouseMove();
    else
        for (int i = 0; i < 3; ++i)
            if (watched == Text1[i])
                Text1_MouseMove(i);
    return false;
}

void Form1::closeEvent(QCloseEvent* event) {
    closing = true;
    event->accept();
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
    setMenuChecked(cmdTeilersumme, false);
    setMenuChecked(cmdTeilersumme2, false);
    currentNumber = 720;
    picAusgabe->Scale(0, 36, 505, -3);

    picSkala->Scale(0, 36, 1, -3);
    for (int i = 0; i <= 31; ++i) {
        picSkala->CurrentX = 0;
        picSkala->CurrentY = i;
        picSkala->Print(i + 1);
        picSkala->Line(0, i - 1, 1, i - 1, QColor(255, 255, 255));
    }

    // Fit the widths to the screen; a screen too narrow for a control gives it width 0.
    setWidthTwips(picRahmen, screenWidthTwips() - leftTwips(picRahmen) - 240);
    setWidthTwips(picSteuerstand, screenWidthTwips() - leftTwips(picSteuerstand) - 240);
    setLeftTwips(vscHoch, widthTwips(picRahmen) - widthTwips(vscHoch));
    setWidthTwips(HScAusgabe, screenWidthTwips() - leftTwips(HScAusgabe) - 240);
    setLeftTwips(Command1, widthTwips(picRahmen) - widthTwips(vscHoch) - widthTwips(Command1));
    setWidthTwips(txtHilfe, widthTwips(picSteuerstand) - leftTwips(txtHilfe) - 120);

    picRahmen->Scale(0, 0, 100, 100);
    picZeichenblatt->Scale(0, 1, 2, 30);
    cmdSkala_Click();
}

void Form1::cmdloesch_Click() {
    charts::ClearCommands::ClearScreen(*picAusgabe);
}

void Form1::Command1_Click() {
    charts::ClearCommands::ClearChartArea(*picAusgabe);
}

void Form1::cmdSkala_Click() {
    rangeBase = 0;
    charts::NumberLine::DrawNumberLine(*picAusgabe, rangeBase);
}

void Form1::cmdSkala2_Click() {
    rangeBase = 500;
    charts::NumberLine::DrawNumberLine(*picAusgabe, rangeBase);
}

void Form1::cmdTeiler_Click() {
    charts::Skyline::Draw(*picAusgabe, rangeBase);
}

void Form1::cmdHochzerlegbar_Click() {
    charts::DivisorCountChart::Draw(*picAusgabe, rangeBase);
}

// A menu entry shows a check mark only while it is checked, and no empty box otherwise.
void Form1::setMenuChecked(QAction* entry, bool checked) {
    entry->setCheckable(checked);
    entry->setChecked(checked);
}

// The sum charts let the window handle events before every column and stop once it closes.
bool Form1::yieldToEvents() {
    QCoreApplication::processEvents();
    return !closing;
}

void Form1::cmdTeilersumme_Click() {
    setMenuChecked(cmdTeilersumme2, false);
    setMenuChecked(cmdTeilersumme, true);
    sumMode = 0;
    charts::DivisorSumChart::DrawDivisorSums(*picAusgabe, rangeBase, sumMode,
                                             [this] { return yieldToEvents(); });
}

void Form1::cmdTeilersumme2_Click() {
    setMenuChecked(cmdTeilersumme2, true);
    setMenuChecked(cmdTeilersumme, false);
    sumMode = 1;
    charts::DivisorSumChart::DrawDivisorSums(*picAusgabe, rangeBase, sumMode,
                                             [this] { return yieldToEvents(); });
}

void Form1::cmdTrefferliste_Click() {
    txtTreffer->setHidden(!txtTreffer->isHidden());
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
    return {rangeBase, currentNumber, isDrawing, lastDrawX, lastDrawY};
}

void Form1::picAusgabe_MouseDown(int Button, int, double X, double Y) {
    interact::CanvasPicker::MouseDown(*picAusgabe, pickerState(), Button, X, Y,
                                      cmdTeilersumme2->isChecked());
    factor::FactorizationSheet::ShowNumber(*picZeichenblatt, currentNumber);
}

void Form1::picAusgabe_MouseMove(int, int, double X, double Y) {
    const auto moved = interact::CanvasPicker::MouseMove(*picAusgabe, pickerState(), X, Y);
    txtHilfe->setText(moved.helpText);
    if (moved.markerLeft)
        picAusgabe->moveChild(Shape1, *moved.markerLeft, std::nullopt);
}

void Form1::picAusgabe_MouseUp(int, int, double, double) {
    interact::CanvasPicker::MouseUp(pickerState());
}

void Form1::picZeichenblatt_Click() {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    if (!data)
        return; // the clipboard cannot be read: the sheet stays as it is
    std::optional<QString> text;
    if (data->hasText())
        text = clipboard->text();
    clipText = text.value_or(QString());
    factor::FactorizationSheet::ShowClipboardNumber(*picZeichenblatt, text);
}

void Form1::txtIter_MouseDown(int, int, double, double) {
    currentNumber = factor::FactorizationSheet::ShowTypedNumber(*picZeichenblatt, txtIter->text());
}

void Form1::cmdIter_Click() {
    const auto step = factor::AliquotStep::Step(txtIter->text());
    iterValue = step.read;
    if (!step.accepted) {
        txtHilfe->setText(factor::AliquotStep::RefusalText());
        refusalShown = true;
        pointerLeftAfterRefusal = !pointerOnIter;
        return;
    }
    txtIter->setText(step.text);
    currentNumber = step.sum;
    // The next step ends the refusal: the help line speaks of the button again.
    if (refusalShown) {
        refusalShown = false;
        txtHilfe->setText(iterHelpText());
    }
}

void Form1::Command2_Click(int index) {
    Text1[index]->setText(search::Steppers::plus(Text1[index]->text()));
}

void Form1::Command3_Click(int index) {
    if (const auto stepped = search::Steppers::minus(index, Text1[index]->text()))
        Text1[index]->setText(*stepped);
}

void Form1::cmdSuche_Click() {
    // Written whether the list is shown or hidden; its visibility stays as it is.
    txtTreffer->setText(search::SearchRun::Run(*picAusgabe, rangeBase, Text1[2]->text(),
                                               Text1[0]->text(), Text1[1]->text()));
}

// The scroll positions are 16-bit integers in the frame's hundredths (the sheet's in twips).
void Form1::HScAusgabe_Change() {
    const auto left = static_cast<qint16>(1 - HScAusgabe->Value());
    picRahmen->moveChild(picAusgabe, left, std::nullopt);
}

void Form1::HScAusgabe_Scroll() {
    HScAusgabe_Change();
}

void Form1::vscHoch_Change() {
    picRahmen->moveChild(picAusgabe, std::nullopt, static_cast<qint16>(vscHoch->Value() - 24));
    picRahmen->moveChild(picSkala, std::nullopt, static_cast<qint16>(vscHoch->Value() - 24));
}

void Form1::vscHoch_Scroll() {
    vscHoch_Change();
}

void Form1::HScroll1_Change() {
    Picture3->moveChild(picZeichenblatt, static_cast<qint16>(-HScroll1->Value()), std::nullopt);
}

void Form1::HScroll1_Scroll() {
    HScroll1_Change();
}

QString Form1::iterHelpText() const {
    return QStringLiteral("Summe der echten Teiler von ") + txtIter->text() +
           QStringLiteral(" berechnen");
}

// A refused step's message stays while the pointer is still on the button it pressed; the first
// move over the button after the pointer has been elsewhere writes the help text again.
void Form1::cmdIter_MouseMove() {
    if (refusalShown && !pointerLeftAfterRefusal)
        return;
    refusalShown = false;
    txtHilfe->setText(iterHelpText());
}

void Form1::Frame2_MouseMove() {
    txtHilfe->setText(iterHelpText());
}

void Form1::txtIter_MouseMove() {
    txtHilfe->setText(QStringLiteral("Zur Primfaktorzerlegung: Anklicken!"));
}

void Form1::cmdSuche_MouseMove() {
    txtHilfe->setText(searchHelp);
}

void Form1::Frame1_MouseMove() {
    txtHilfe->setText(searchHelp);
}

void Form1::Text1_MouseMove(int) {
    txtHilfe->setText(searchHelp);
}

void Form1::picZeichenblatt_MouseMove() {
    txtHilfe->setText(QStringLiteral("Anzeigefeld für die Primfaktorzerlegung"));
}

// The wheel moves the canvas through its scroll bars, whose Change events do the moving: up and
// down with vscHoch, sideways with HScAusgabe when Shift is held or the wheel turns sideways.
void Form1::picRahmen_MouseWheel(QWheelEvent* event) {
    const QPoint delta = event->angleDelta();
    const bool sideways =
        (event->modifiers() & Qt::ShiftModifier) || std::abs(delta.x()) > std::abs(delta.y());
    surface::ScrollBar* bar = sideways ? HScAusgabe : vscHoch;
    // Shift only chooses the bar; the bar itself would take it for page steps.
    QWheelEvent turn(bar->mapFromGlobal(event->globalPosition()), event->globalPosition(),
                     event->pixelDelta(), delta, event->buttons(),
                     event->modifiers() & ~Qt::ShiftModifier, event->phase(), event->inverted(),
                     event->source());
    QCoreApplication::sendEvent(bar, &turn);
    event->accept();
}

QImage Form1::framePicture() {
    return app::PictureExport::FramePicture(*picRahmen, *picAusgabe, *picSkala,
                                            vscHoch->isHidden() ? picRahmen->width()
                                                                : vscHoch->x());
}

bool Form1::savePictureTo(const QString& path) {
    QString error;
    if (app::PictureExport::Save(framePicture(), path, &error))
        return true;
    showFailure(QStringLiteral("Bild speichern"),
                QStringLiteral("Das Bild konnte nicht als\n%1\ngespeichert werden.\n\n%2")
                    .arg(QDir::toNativeSeparators(path), error),
                QStringLiteral("saveErrorBox"));
    return false;
}

void Form1::showFailure(const QString& title, const QString& text, const QString& name) {
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, this);
    box.setObjectName(name);
    box.exec();
}

void Form1::cmdSpeichern_Click() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    QFileDialog dialog(this, QStringLiteral("Bild speichern"), folder,
                       QStringLiteral("PNG-Bild (*.png);;PDF-Dokument (*.pdf)"));
    dialog.setObjectName(QStringLiteral("saveDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("png"));
    dialog.selectFile(app::PictureExport::SuggestedName(rangeBase));
    // Choosing the other type changes the ending of the name as well.
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
        const QString ending =
            filter.contains(QLatin1String("*.pdf")) ? QStringLiteral("pdf") : QStringLiteral("png");
        dialog.setDefaultSuffix(ending);
        if (auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
            const QString base = QFileInfo(name->text()).completeBaseName();
            if (!base.isEmpty())
                dialog.selectFile(base + QLatin1Char('.') + ending);
        }
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    savePictureTo(dialog.selectedFiles().constFirst());
}

void Form1::cmdKopieren_Click() {
    const QImage picture = framePicture();
    if (!picture.isNull())
        app::PictureExport::Copy(picture);
}

void Form1::cmdDrucken_Click() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName(app::PictureExport::SuggestedName(rangeBase).chopped(4));
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName(QStringLiteral("printDialog"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    printPictureOn(printer);
}

bool Form1::printPictureOn(QPrinter& printer) {
    const QImage picture = framePicture();
    QString error =
        QStringLiteral("Das Fenster zeigt gerade kein Bild (der Rahmen ist zu schmal).");
    if (!picture.isNull() && app::PictureExport::Print(picture, printer, &error))
        return true;
    const QString file = printer.outputFormat() == QPrinter::PdfFormat
                             ? QDir::toNativeSeparators(printer.outputFileName())
                             : QString();
    showFailure(QStringLiteral("Drucken"),
                file.isEmpty()
                    ? QStringLiteral("Das Bild konnte nicht gedruckt werden.\n\n%1").arg(error)
                    : QStringLiteral("Das Bild konnte nicht in die Datei\n%1\ngedruckt werden."
                                     "\n\n%2")
                          .arg(file, error),
                QStringLiteral("printErrorBox"));
    return false;
}

// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "commandline.h"
#include "form1.h"
#include "germantranslations.h"
#include "layouttable.h"
#include "pictureexport.h"
#include "platformstart.h"
#include "surface/fontchoice.h"
#include "surface/multilinetextbox.h"
#include "surface/picturebox.h"
#include "surface/scrollbar.h"
#include "surface/shape.h"
#include "surface/twips.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <functional>
#include <memory>
#include <sys/resource.h>

using surface::PictureBox;
using surface::Twips;

namespace {

const PictureBox::DrawCall* findPrint(const PictureBox& box, const QString& text) {
    for (const auto& call : box.records())
        if (call.op == QLatin1String("Print") && call.text == text)
            return &call;
    return nullptr;
}

QColor pixelAt(PictureBox& box, double x, double y) {
    const QPointF p = box.toPixel(x, y) * box.devicePixelRatioF();
    return box.image().pixelColor(p.toPoint());
}

// Thin lines land on the pixel row nearest to their y; look at the rows around it.
bool lineAt(PictureBox& box, double x, double y, const QColor& color) {
    const QPoint p = (box.toPixel(x, y) * box.devicePixelRatioF()).toPoint();
    for (int dy = -1; dy <= 1; ++dy)
        if (box.image().pixelColor(p.x(), p.y() + dy) == color)
            return true;
    return false;
}

// While it lives, files this process writes end after limit bytes, as on a full disk (0: no
// limit); a write past the end fails instead of raising SIGXFSZ.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(int limit) {
        if (limit <= 0)
            return;
        getrlimit(RLIMIT_FSIZE, &previous);
        rlimit lowered = previous;
        lowered.rlim_cur = static_cast<rlim_t>(limit);
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        active = setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    ~FileSizeLimit() {
        if (!active)
            return;
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previousHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit previous{};
    void (*previousHandler)(int) = SIG_DFL;
    bool active = false;
};

// Closes the modal message box of that name as soon as it is open, after handing it to read.
// The checks belong after exec() has returned: a failing check inside the nested event loop
// would leave the box open. Gives up after five seconds.
void closeBoxWhenOpen(QObject* context, const QString& name,
                      const std::function<void(QMessageBox*)>& read) {
    auto* timer = new QTimer(context);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, name, read, tries = 0]() mutable {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box && box->objectName() == name) {
            read(box);
            box->done(QMessageBox::Ok);
        } else if (++tries < 500) {
            return;
        }
        timer->deleteLater();
    });
    timer->start(10);
}

void sendMove(QWidget* w, QPoint at = QPoint(2, 2)) {
    QMouseEvent move(QEvent::MouseMove, QPointF(at), w->mapToGlobal(QPointF(at)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
}

} // namespace

class TestApp : public QObject {
    Q_OBJECT

  public:
    // QTEST_MAIN calls it before the QApplication exists.
    static void initMain() { surface::FontChoice::PreferLiberation2(); }

  private slots:
    void initTestCase();
    void init();
    void cleanup();
    void startUpState();
    void scaleStripLabels();
    void numberLineLabels_data();
    void numberLineLabels();
    void rangeCommandErases();
    void clearCommands();
    void widthFitting_data();
    void widthFitting();
    void scrollPositions_data();
    void scrollPositions();
    void canvasScrollsSideways_data();
    void canvasScrollsSideways();
    void verticalArrowsPointTheirWay();
    void keysOnFocusedControls_data();
    void keysOnFocusedControls();
    void tabOrder();
    void lastVisibleCanvasPosition();
    void sheetScrollsByTwips();
    void helpLine();
    void hitListToggle();
    void stackingAndEdges();
    void bordersStayVisible_data();
    void bordersStayVisible();
    void fontsAndMenu();
    void infoBox();
    void endClosesWindow();
    void commandLine_data();
    void commandLine();
    void zoomFitsTheScreen_data();
    void zoomFitsTheScreen();
    void zoomAboveTheScreenIsLowered_data();
    void zoomAboveTheScreenIsLowered();
    void displayMissing_data();
    void displayMissing();
    void startsWithoutDisplay_data();
    void startsWithoutDisplay();
    void wheelScrollsThroughTheBars_data();
    void wheelScrollsThroughTheBars();
    void germanContextMenus_data();
    void germanContextMenus();
    void zoomFitKeepsQtsOptions();
    void saveDialogFollowsTheFilter();
    void picturePlacedOnPage_data();
    void picturePlacedOnPage();
    void savePicture_data();
    void savePicture();
    void printPicture();

  private:
    std::unique_ptr<Form1> form;
};

void TestApp::initTestCase() {
    PictureBox::setRecordingForNewBoxes(true);
}

void TestApp::init() {
    form = std::make_unique<Form1>();
}

void TestApp::cleanup() {
    form.reset();
}

void TestApp::startUpState() {
    QCOMPARE(form->windowTitle(), QStringLiteral("Teiler"));
    QVERIFY(!form->cmdTeilersumme->isChecked());
    QVERIFY(!form->cmdTeilersumme2->isChecked());
    QCOMPARE(form->currentNumber, 720.0);
    QCOMPARE(form->rangeBase, 0);
    QVERIFY(!form->txtTreffer->isHidden());
    QCOMPARE(form->txtTreffer->text(), QStringLiteral("\r\nTrefferliste\r\n"));
    QCOMPARE(form->txtTreffer->toPlainText(), QStringLiteral("\nTrefferliste\n"));
    QVERIFY(form->txtHilfe->text().isEmpty());
    QCOMPARE(form->txtIter->text(), QStringLiteral("220"));
    QCOMPARE(form->Text1[2]->text(), QStringLiteral("1"));
    QCOMPARE(form->Text1[0]->text(), QStringLiteral("0"));
    QCOMPARE(form->Text1[1]->text(), QStringLiteral("1"));
    QCOMPARE(form->Label2->text(), QStringLiteral("n + "));
    QCOMPARE(form->HScAusgabe->Value(), 0);
    QCOMPARE(form->vscHoch->Value(), 0);
    QCOMPARE(form->HScroll1->Value(), 0);
    // Until a scroll bar moves, the canvas and the scale strip keep their places of the design,
    // in twips inside the frame's border: the canvas 360 from the left, both 2040 above the top.
    QCOMPARE(form->picAusgabe->pos(), QPoint(1 + 360 / 15, 1 - 2040 / 15));
    QCOMPARE(form->picSkala->pos(), QPoint(1, 1 - 2040 / 15));
    // Nothing has been written on the sheet yet.
    QVERIFY(form->picZeichenblatt->records().isEmpty());
    // The window with the frame a window manager adds starts inside the available area, and
    // centred in it where it fits.
    const QRect available = form->screen()->availableGeometry();
    const QRect outer(form->pos(), form->size().grownBy(app::CommandLine::AssumedFrame()));
    const QByteArray where =
        QDebug::toString(outer).toUtf8() + " in " + QDebug::toString(available).toUtf8();
    QVERIFY2(outer.left() >= available.left() && outer.top() >= available.top(), where.constData());
    if (outer.width() <= available.width())
        QVERIFY2(qAbs(outer.left() - available.left() - available.right() + outer.right()) <= 1,
                 where.constData());
    if (outer.height() <= available.height())
        QVERIFY2(qAbs(outer.top() - available.top() - available.bottom() + outer.bottom()) <= 1,
                 where.constData());
}

void TestApp::scaleStripLabels() {
    const auto& calls = form->picSkala->records();
    int labels = 0;
    for (const auto& c : calls)
        labels += c.op == QLatin1String("Print");
    QCOMPARE(labels, 32);
    const auto* first = findPrint(*form->picSkala, QStringLiteral(" 1 "));
    const auto* last = findPrint(*form->picSkala, QStringLiteral(" 32 "));
    QVERIFY(first && last);
    QCOMPARE(first->y1, 0.0);
    QCOMPARE(last->y1, 31.0);
    QCOMPARE(first->x1, 0.0);
    // The separators: white lines across the strip one unit below each label's top.
    QList<double> separators;
    for (const auto& c : calls)
        if (c.op == QLatin1String("Line")) {
            QCOMPARE(c.color, QColor(255, 255, 255));
            QCOMPARE(c.x1, 0.0);
            QCOMPARE(c.x2, 1.0);
            separators << c.y1;
        }
    QCOMPARE(separators.size(), 32);
    QCOMPARE(separators.first(), -1.0);
    QCOMPARE(separators.last(), 30.0);
}

void TestApp::numberLineLabels_data() {
    QTest::addColumn<bool>("upper");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<QColor>("color");
    const QColor blue(0, 0, 200), red(200, 0, 0);
    QTest::newRow("1") << false << " 1 " << 0.6 << 0.0 << blue;
    QTest::newRow("7") << false << " 7 " << 6.6 << 0.0 << blue;
    QTest::newRow("10") << false << " 10 " << 9.4 << -0.5 << red;
    QTest::newRow("99") << false << " 99 " << 98.4 << 0.0 << blue;
    QTest::newRow("500") << false << " 500 " << 499.2 << -0.5 << red;
    QTest::newRow("501") << true << " 501 " << 0.2 << 0.0 << blue;
    QTest::newRow("1000") << true << " 1000 " << 499.0 << -0.5 << red;
}

void TestApp::numberLineLabels() {
    QFETCH(bool, upper);
    QFETCH(QString, text);
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(QColor, color);
    form->picAusgabe->clearRecords();
    if (upper)
        form->cmdSkala2->trigger();
    else
        form->cmdSkala->trigger();
    QCOMPARE(form->rangeBase, upper ? 500 : 0);
    const auto* label = findPrint(*form->picAusgabe, text);
    QVERIFY(label);
    QVERIFY(qAbs(label->x1 - x) < 1e-9);
    QCOMPARE(label->y1, y);
    QCOMPARE(label->color, color);
    QCOMPARE(label->fontSize, 12.0);
    QVERIFY(label->bold);
    QCOMPARE(pixelAt(*form->picAusgabe, 250, -2.5), QColor(255, 255, 0));
    QCOMPARE(pixelAt(*form->picAusgabe, 250.5, -1.2), QColor(255, 255, 150));
}

void TestApp::rangeCommandErases() {
    PictureBox& canvas = *form->picAusgabe;
    canvas.Line(100, 5.5, 300, 20.5, QColor(0, 0, 0), PictureBox::LineMode::FilledBox);
    QCOMPARE(pixelAt(canvas, 200, 10.5), QColor(0, 0, 0));
    canvas.clearRecords();
    form->cmdSkala2->trigger();
    QCOMPARE(canvas.records().first().op, QStringLiteral("Cls"));
    QCOMPARE(pixelAt(canvas, 200, 10.5), QColor(255, 255, 255));
    QVERIFY(lineAt(canvas, 200, 10, QColor(200, 200, 200)));
    // The range commands leave the sum-chart state alone.
    QVERIFY(!form->cmdTeilersumme->isChecked() && !form->cmdTeilersumme2->isChecked());
}

void TestApp::clearCommands() {
    PictureBox& canvas = *form->picAusgabe;
    canvas.Line(100, 5.5, 300, 20.5, QColor(0, 0, 0), PictureBox::LineMode::FilledBox);
    canvas.Line(100, 33.5, 300, 34.5, QColor(0, 0, 0), PictureBox::LineMode::FilledBox);
    canvas.clearRecords();
    const QImage before = canvas.image().copy();
    form->Command1->click();
    // Below the grid line y = 0 every pixel stays: the bands and the number labels.
    const int below = int(canvas.toPixel(0, 0).y() * canvas.devicePixelRatioF()) + 1;
    const QRect numberLine(0, below, before.width(), before.height() - below);
    QVERIFY(canvas.image().copy(numberLine) == before.copy(numberLine));
    QCOMPARE(pixelAt(canvas, 200, 10.5), QColor(255, 255, 255));
    QVERIFY(lineAt(canvas, 200, 32, QColor(200, 200, 200)));
    QCOMPARE(pixelAt(canvas, 200, 34), QColor(0, 0, 0)); // above the grid stays
    QCOMPARE(pixelAt(canvas, 250, -2.5), QColor(255, 255, 0));
    QVERIFY(findPrint(canvas, QStringLiteral(" 7 ")) == nullptr); // labels are not redrawn...
    QVERIFY(pixelAt(canvas, 250, -1.2) != QColor(255, 255, 255)); // ...and not erased

    canvas.clearRecords();
    form->cmdloesch->trigger();
    const auto& calls = canvas.records();
    QCOMPARE(calls.size(), 34);
    QCOMPARE(calls.first().op, QStringLiteral("Cls"));
    for (int y = 0; y <= 32; ++y) {
        QCOMPARE(calls[y + 1].op, QStringLiteral("Line"));
        QCOMPARE(calls[y + 1].y1, double(y));
        QCOMPARE(calls[y + 1].color, QColor(200, 200, 200));
    }
    QCOMPARE(pixelAt(canvas, 250, -2.5), QColor(255, 255, 255));
    QCOMPARE(pixelAt(canvas, 200, 34), QColor(255, 255, 255));
    QCOMPARE(form->rangeBase, 0);
}

void TestApp::widthFitting_data() {
    QTest::addColumn<int>("screenPixels");
    QTest::addColumn<int>("frameWidth");    // picRahmen, picSteuerstand, HScAusgabe, pixels
    QTest::addColumn<double>("scrollLeft"); // vscHoch, twips
    QTest::addColumn<double>("buttonLeft"); // Command1, twips
    QTest::addColumn<int>("helpWidth");     // txtHilfe, pixels
    QTest::newRow("800 px") << 800 << 768 << 11205.0 << 10890.0 << 236;
    QTest::newRow("1024 px") << 1024 << 992 << 14565.0 << 14250.0 << 460;
    QTest::newRow("400 px, narrower than the design") << 400 << 368 << 5205.0 << 4890.0 << 0;
}

void TestApp::widthFitting() {
    QFETCH(int, screenPixels);
    QFETCH(int, frameWidth);
    QFETCH(double, scrollLeft);
    QFETCH(double, buttonLeft);
    QFETCH(int, helpWidth);
    if (form->screen()->geometry().width() != screenPixels)
        QSKIP("runs with a screen of another width");
    QCOMPARE(form->picRahmen->width(), frameWidth);
    QCOMPARE(form->picSteuerstand->width(), frameWidth);
    QCOMPARE(form->HScAusgabe->width(), frameWidth);
    QCOMPARE(PictureBox::childLeft(form->vscHoch), scrollLeft);
    QCOMPARE(PictureBox::childLeft(form->Command1), buttonLeft);
    QCOMPARE(form->txtHilfe->width(), helpWidth);
    // Heights and the other positions keep their design values.
    QCOMPARE(form->picRahmen->height(), Twips::toPixels(8295));
    QCOMPARE(form->txtHilfe->x(), 1 + Twips::toPixels(7860));
}

void TestApp::scrollPositions_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<double>("top");
    QTest::newRow("bottom of the track") << 0 << -24.0;
    QTest::newRow("canvas top at frame top") << 24 << 0.0;
    QTest::newRow("top of the track") << 100 << 76.0;
}

void TestApp::scrollPositions() {
    QFETCH(int, value);
    QFETCH(double, top);
    form->vscHoch->SetValue(100 - value); // move away first so that setting the value is a change
    form->vscHoch->SetValue(value);
    QCOMPARE(form->vscHoch->Value(), value);
    QCOMPARE(PictureBox::childTop(form->picAusgabe), top);
    QCOMPARE(PictureBox::childTop(form->picSkala), top);
    const double insideHeight = form->picRahmen->height() - 2;
    QCOMPARE(form->picAusgabe->y(), 1 + qRound(top * insideHeight / 100));
    QCOMPARE(form->picSkala->y(), form->picAusgabe->y());
}

void TestApp::canvasScrollsSideways_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<double>("left");
    QTest::newRow("column 1 in view") << 0 << 1.0;
    QTest::newRow("canvas at the frame's left edge") << 1 << 0.0;
    QTest::newRow("end of the track") << 2200 << -2199.0;
}

void TestApp::canvasScrollsSideways() {
    QFETCH(int, value);
    QFETCH(double, left);
    form->HScAusgabe->SetValue(value == 0 ? 1 : 0); // so that setting the value is a change
    form->HScAusgabe->SetValue(value);
    QCOMPARE(PictureBox::childLeft(form->picAusgabe), left);
    const double insideWidth = form->picRahmen->width() - 2;
    QCOMPARE(form->picAusgabe->x(), 1 + qRound(left * insideWidth / 100));
    QCOMPARE(form->picSkala->x(), 1);
    // The saved picture shows the strip over the canvas, as the window does.
    const QImage picture = form->framePicture();
    QCOMPARE(picture.pixelColor(form->picSkala->width() / 2, 12), QColor(224, 224, 224));
}

void TestApp::verticalArrowsPointTheirWay() {
    // At the bottom of the track the thumb cannot go lower; the upper arrow moves it up, which
    // raises the value towards 100 and moves the canvas down.
    QCOMPARE(form->vscHoch->sliderPosition(), form->vscHoch->maximum());
    form->vscHoch->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(form->vscHoch->Value(), 0);
    const int before = form->picAusgabe->y();
    form->vscHoch->triggerAction(QAbstractSlider::SliderSingleStepSub);
    QCOMPARE(form->vscHoch->Value(), 1);
    QVERIFY(form->picAusgabe->y() > before);
    form->vscHoch->triggerAction(QAbstractSlider::SliderToMinimum);
    QCOMPARE(form->vscHoch->Value(), 100);
    QCOMPARE(PictureBox::childTop(form->picAusgabe), 76.0);
}

void TestApp::keysOnFocusedControls_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("start");  // a scroll bar's Value before the key
    QTest::addColumn<int>("effect"); // the change of that Value, or a button's clicks
    const int enter = Qt::Key_Enter; // the keypad's
    QTest::newRow("canvas bar, Right") << "HScAusgabe" << int(Qt::Key_Right) << 0 << 1;
    QTest::newRow("canvas bar, Left") << "HScAusgabe" << int(Qt::Key_Left) << 5 << -1;
    QTest::newRow("sheet bar, Right") << "HScroll1" << int(Qt::Key_Right) << 0 << 1;
    QTest::newRow("sheet bar, Left") << "HScroll1" << int(Qt::Key_Left) << 5 << -1;
    QTest::newRow("canvas bar, PageDown") << "HScAusgabe" << int(Qt::Key_PageDown) << 0 << 1;
    QTest::newRow("height bar, Up") << "vscHoch" << int(Qt::Key_Up) << 0 << 1;
    QTest::newRow("S, Return") << "cmdIter" << int(Qt::Key_Return) << 0 << 1;
    QTest::newRow("S, keypad Enter") << "cmdIter" << enter << 0 << 1;
    QTest::newRow("stepper +, Return") << "Command2(1)" << int(Qt::Key_Return) << 0 << 1;
    QTest::newRow("stepper -, keypad Enter") << "Command3(2)" << enter << 0 << 1;
    QTest::newRow("S(n), Return") << "cmdSuche" << int(Qt::Key_Return) << 0 << 1;
}

// The keys do on the focused control what they do in every other program: the arrows move a
// thumb the way they point, Return and Enter press a button.
void TestApp::keysOnFocusedControls() {
    QFETCH(QString, control);
    QFETCH(int, key);
    QFETCH(int, start);
    QFETCH(int, effect);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QWidget* w = form->findChild<QWidget*>(control);
    QVERIFY(w);
    w->setFocus();
    const auto modifiers = key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
    if (auto* bar = qobject_cast<surface::ScrollBar*>(w)) {
        bar->SetValue(start);
        QTest::keyClick(bar, Qt::Key(key), modifiers);
        QCOMPARE(bar->Value() - start, effect);
        return;
    }
    auto* button = qobject_cast<QPushButton*>(w);
    QVERIFY(button);
    QSignalSpy clicks(button, &QPushButton::clicked);
    QTest::keyClick(button, Qt::Key(key), modifiers);
    QCOMPARE(clicks.size(), effect);
}

void TestApp::tabOrder() {
    QVERIFY(form->txtTreffer->tabChangesFocus());
    QStringList chain;
    QWidget* w = form->picRahmen;
    do {
        if (w->focusPolicy() & Qt::TabFocus)
            chain << w->objectName();
        w = w->nextInFocusChain();
    } while (w != form->picRahmen && chain.size() < 40);
    QCOMPARE(chain, QStringList({"picRahmen",      "picAusgabe",  "picSkala",    "HScAusgabe",
                                 "picSteuerstand", "vscHoch",     "Command1",    "Text1(0)",
                                 "cmdSuche",       "Text1(1)",    "Command2(1)", "Command3(1)",
                                 "Command2(0)",    "Command3(0)", "cmdIter",     "txtIter",
                                 "txtHilfe",       "txtTreffer",  "Picture3",    "picZeichenblatt",
                                 "HScroll1",       "Command3(2)", "Command2(2)", "Text1(2)"}));
}

void TestApp::lastVisibleCanvasPosition() {
    const int inside = form->picRahmen->width() - 2;
    if (Twips::fromPixels(inside) != 14850)
        QSKIP("needs a canvas frame of inside width 14850 twips (screen of 1024 pixels)");
    auto visible = [&](int v) {
        form->HScAusgabe->SetValue(v);
        const QRect frameInside = form->picRahmen->rect().adjusted(1, 1, -1, -1);
        return form->picAusgabe->geometry().intersects(frameInside);
    };
    QVERIFY(visible(1324));
    QVERIFY(!visible(1325));
    QVERIFY(!visible(2200));
    QVERIFY(visible(0));
    QCOMPARE(PictureBox::childLeft(form->picAusgabe), 1.0);
}

void TestApp::sheetScrollsByTwips() {
    form->HScroll1->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(form->HScroll1->Value(), 1);
    QCOMPARE(PictureBox::childLeft(form->picZeichenblatt), -1.0);
    form->HScroll1->SetValue(10585);
    // The sheet's right edge meets the holder's right edge.
    QCOMPARE(PictureBox::childLeft(form->picZeichenblatt) + 16000, 5415.0);
}

void TestApp::helpLine() {
    form->txtIter->clear();
    sendMove(form->cmdIter);
    QCOMPARE(form->txtHilfe->text(), QStringLiteral("Summe der echten Teiler von  berechnen"));
    form->txtIter->setText(QStringLiteral("x y"));
    QCOMPARE(form->txtHilfe->text(), QStringLiteral("Summe der echten Teiler von  berechnen"));
    sendMove(form->Frame2, QPoint(3, form->Frame2->height() - 3));
    QCOMPARE(form->txtHilfe->text(), QStringLiteral("Summe der echten Teiler von x y berechnen"));

    sendMove(form->cmdSuche);
    QCOMPARE(form->txtHilfe->text(), QStringLiteral("Alle n mit dieser Eigenschaft markieren"));
    sendMove(form->Command2[0]); // a "+" button keeps the text
    sendMove(form->Label5);      // so does a label inside "Berechne"
    QCOMPARE(form->txtHilfe->text(), QStringLiteral("Alle n mit dieser Eigenschaft markieren"));
    sendMove(form->txtIter);
    QCOMPARE(form->txtHilfe->text(), QStringLiteral("Zur Primfaktorzerlegung: Anklicken!"));
    sendMove(form->Text1[1]);
    QCOMPARE(form->txtHilfe->text(), QStringLiteral("Alle n mit dieser Eigenschaft markieren"));
    sendMove(form->picZeichenblatt);
    QCOMPARE(form->txtHilfe->text(), QStringLiteral("Anzeigefeld für die Primfaktorzerlegung"));
    sendMove(form->HScAusgabe);
    sendMove(form->Command1);
    QCOMPARE(form->txtHilfe->text(), QStringLiteral("Anzeigefeld für die Primfaktorzerlegung"));
}

void TestApp::hitListToggle() {
    const QString text = form->txtTreffer->text();
    form->cmdTrefferliste->trigger();
    QVERIFY(form->txtTreffer->isHidden());
    form->cmdTrefferliste->trigger();
    QVERIFY(!form->txtTreffer->isHidden());
    QCOMPARE(form->txtTreffer->text(), text);
}

void TestApp::stackingAndEdges() {
    const QObjectList order = form->centralWidget()->children();
    // Later siblings lie above earlier ones.
    QVERIFY(order.indexOf(form->Picture3) > order.indexOf(form->picRahmen));
    QVERIFY(order.indexOf(form->txtTreffer) > order.indexOf(form->picRahmen));
    QVERIFY(order.indexOf(form->HScAusgabe) > order.indexOf(form->picRahmen));
    const QObjectList inFrame = form->picRahmen->children();
    QVERIFY(inFrame.indexOf(form->vscHoch) > inFrame.indexOf(form->picAusgabe));
    QVERIFY(inFrame.indexOf(form->Command1) > inFrame.indexOf(form->vscHoch));
    QVERIFY(inFrame.indexOf(form->picSkala) > inFrame.indexOf(form->picAusgabe));
    // vscHoch ends at the frame's outer right edge, "X" stands right beside it at the top.
    const QRect bar = form->vscHoch->geometry() & form->picRahmen->rect();
    QCOMPARE(bar.right(), form->picRahmen->rect().right());
    QCOMPARE(form->Command1->geometry().right() + 1, form->vscHoch->x());
    QCOMPARE(form->Command1->y(), form->vscHoch->y());
    // The column marker never takes the mouse.
    QVERIFY(form->Shape1->testAttribute(Qt::WA_TransparentForMouseEvents));
    QCOMPARE(form->Shape1->parentWidget(), form->picAusgabe);
}

void TestApp::bordersStayVisible_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("column"); // a column of pixels, else a row
    QTest::addColumn<bool>("far");    // the right or bottom edge, else the left or top one
    QTest::newRow("Picture3 right, under the sheet and HScroll1") << "Picture3" << true << true;
    QTest::newRow("Picture3 bottom, under HScroll1") << "Picture3" << false << true;
    QTest::newRow("picRahmen top, under the canvas and the strip") << "picRahmen" << false << false;
    QTest::newRow("picRahmen right, under vscHoch and the canvas") << "picRahmen" << true << true;
}

// Controls reaching over a box's edge leave its one-pixel border visible along the whole edge.
void TestApp::bordersStayVisible() {
    QFETCH(QString, box);
    QFETCH(bool, column);
    QFETCH(bool, far);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    auto* holder = form->findChild<PictureBox*>(box);
    QVERIFY(holder);
    const QImage shown = holder->grab().toImage();
    const QRgb border = holder->palette().color(QPalette::WindowText).rgb();
    const QSize size = holder->size() * holder->devicePixelRatioF();
    QCOMPARE(shown.size(), size);
    const int edge = far ? (column ? size.width() : size.height()) - 1 : 0;
    int covered = 0;
    for (int i = 0; i < (column ? size.height() : size.width()); ++i)
        covered += shown.pixel(column ? QPoint(edge, i) : QPoint(i, edge)) != border;
    QCOMPARE(covered, 0);
}

void TestApp::fontsAndMenu() {
    QVERIFY(QFontInfo(form->txtTreffer->font()).fixedPitch());
    QVERIFY(QFontInfo(form->picZeichenblatt->boxFont()).fixedPitch());
    QVERIFY(QFontInfo(form->Command1->font()).bold());
    QCOMPARE(form->txtIter->font().pointSizeF(), 16.2);
    QVERIFY(!QFontInfo(form->txtIter->font()).fixedPitch());
    QCOMPARE(form->txtIter->alignment(), Qt::AlignCenter);
    QCOMPARE(form->Text1[0]->alignment(), Qt::AlignRight | Qt::AlignVCenter);
    QStringList captions;
    for (QMenu* menu : {form->cmdDatei, form->cmdStrahl, form->cmdTeiler0})
        for (QAction* a : menu->actions())
            captions << a->text();
    QCOMPARE(captions,
             QStringList({"Bildschirm löschen", "", "Bild speichern …", "Bild kopieren",
                          "Drucken …", "", "beenden", "1...500", "501...1000",
                          "Liste als \"Skyline\"", "Teileranzahl T(n)  [alle Teiler]",
                          "Teilersumme S(n)   [echte Teiler]", "S(n)-n  [\"Reichtum\"]"}));
    QCOMPARE(form->cmdTrefferliste->text(), QStringLiteral("Trefferliste ein/aus"));
    QCOMPARE(form->cmdVortrag->text(), QStringLiteral("Info"));
    QVERIFY(!form->windowIcon().isNull());
    QVERIFY(form->windowIcon().availableSizes().contains(QSize(16, 16)));
    QVERIFY(form->windowIcon().availableSizes().contains(QSize(32, 32)));
}

void TestApp::infoBox() {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    qsizetype buttons = 0;
    closeBoxWhenOpen(this, QStringLiteral("infoBox"), [&](QMessageBox* box) {
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->buttons().size();
    });
    form->cmdVortrag->trigger();
    QCOMPARE(title, QStringLiteral("Programmiert von"));
    QCOMPARE(icon, QMessageBox::Information);
    QCOMPARE(buttons, 1);
    QVERIFY(text.contains(QStringLiteral("die Entwickler von Teiler")));
}

void TestApp::endClosesWindow() {
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    form->cmdEnde->trigger();
    QVERIFY(!form->isVisible());
}

// ---- command line, zoom, wheel, translations, pictures out ----

void TestApp::commandLine_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode"); // -1: the program starts
    QTest::addColumn<double>("zoom");  // 0: no zoom
    QTest::addColumn<bool>("fit");
    QTest::newRow("none") << QStringList{} << -1 << 0.0 << false;
    QTest::newRow("--help") << QStringList{"--help"} << 0 << 0.0 << false;
    QTest::newRow("--version") << QStringList{"--version"} << 0 << 0.0 << false;
    QTest::newRow("zoom 1.5") << QStringList{"--zoom", "1.5"} << -1 << 1.5 << false;
    QTest::newRow("zoom 1,5") << QStringList{"--zoom", "1,5"} << -1 << 1.5 << false;
    QTest::newRow("zoom=4") << QStringList{"--zoom=4"} << -1 << 4.0 << false;
    QTest::newRow("zoom fit") << QStringList{"--zoom", "fit"} << -1 << 0.0 << true;
    QTest::newRow("zoom 0.5") << QStringList{"--zoom", "0.5"} << 2 << 0.0 << false;
    QTest::newRow("zoom 4.01") << QStringList{"--zoom", "4.01"} << 2 << 0.0 << false;
    QTest::newRow("zoom nan") << QStringList{"--zoom", "nan"} << 2 << 0.0 << false;
    QTest::newRow("zoom big") << QStringList{"--zoom", "big"} << 2 << 0.0 << false;
    QTest::newRow("zoom without value") << QStringList{"--zoom"} << 2 << 0.0 << false;
    QTest::newRow("unknown option") << QStringList{"--colour"} << 2 << 0.0 << false;
    QTest::newRow("stray argument") << QStringList{"220"} << 2 << 0.0 << false;
    QTest::newRow("Qt's own option") << QStringList{"-platform", "xcb"} << -1 << 0.0 << false;
}

void TestApp::commandLine() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(double, zoom);
    QFETCH(bool, fit);
    const auto options = app::CommandLine::Parse(QStringList{"teiler"} + arguments);
    QCOMPARE(options.exitCode.value_or(-1), exitCode);
    QCOMPARE(options.zoom.value_or(0.0), zoom);
    QCOMPARE(options.fit, fit);
}

void TestApp::zoomFitsTheScreen_data() {
    QTest::addColumn<QRect>("available");
    QTest::addColumn<double>("expected");
    QTest::newRow("1920 x 1080 projector") << QRect(0, 0, 1920, 1080) << 1.56;
    QTest::newRow("with a panel") << QRect(0, 32, 1920, 1048) << 1.51;
    QTest::newRow("1920 x 1051, 1.517 rounded down") << QRect(0, 0, 1920, 1051) << 1.51;
    QTest::newRow("smaller than the window") << QRect(0, 0, 800, 600) << 1.0;
    QTest::newRow("8K screen") << QRect(0, 0, 7680, 4320) << 4.0;
}

// The largest factor, to two decimals, at which window and frame fit; one hundredth more does not.
void TestApp::zoomFitsTheScreen() {
    QFETCH(QRect, available);
    QFETCH(double, expected);
    const QSize window = app::CommandLine::DesignWindowSize(22);
    const QMargins frame = app::CommandLine::AssumedFrame();
    const double factor = app::CommandLine::FitFactor(available, window, frame);
    QCOMPARE(factor, expected);
    auto fits = [&](double f) {
        return window.width() * f + frame.left() + frame.right() <= available.width() &&
               window.height() * f + frame.top() + frame.bottom() <= available.height();
    };
    if (factor > 1 && factor < 4) {
        QVERIFY(fits(factor));
        QVERIFY(!fits(factor + 0.01));
    }
}

void TestApp::zoomAboveTheScreenIsLowered_data() {
    QTest::addColumn<QRect>("available");
    QTest::addColumn<double>("requested"); // 0: "fit"
    QTest::addColumn<bool>("lowered");
    QTest::newRow("4 on 1024 x 768") << QRect(0, 0, 1024, 768) << 4.0 << true;
    QTest::newRow("3 on 1366 x 768") << QRect(0, 0, 1366, 768) << 3.0 << true;
    QTest::newRow("1.5 on 1920 x 1080") << QRect(0, 0, 1920, 1080) << 1.5 << false;
    QTest::newRow("fit on 1366 x 768") << QRect(0, 0, 1366, 768) << 0.0 << false;
}

// A factor the screen cannot take is lowered to the one "fit" would choose, and a line says so.
void TestApp::zoomAboveTheScreenIsLowered() {
    QFETCH(QRect, available);
    QFETCH(double, requested);
    QFETCH(bool, lowered);
    app::CommandLine::Options options;
    options.fit = requested == 0;
    if (requested > 0)
        options.zoom = requested;
    const double fit = app::CommandLine::FitFactor(
        available, app::CommandLine::DesignWindowSize(22), app::CommandLine::AssumedFrame());
    QString note;
    const double chosen = app::CommandLine::ChosenZoom(options, fit, &note);
    QCOMPARE(chosen, lowered || options.fit ? fit : requested);
    QCOMPARE(!note.isEmpty(), lowered);
    if (lowered) {
        const QLocale german(QLocale::German);
        QVERIFY2(note.contains(german.toString(requested)) && note.contains(german.toString(fit)),
                 qPrintable(note));
    }
}

void TestApp::displayMissing_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("environment"); // NAME=value, each set
    QTest::addColumn<bool>("missing");
    QTest::newRow("X11 session") << QStringList() << QStringList{"DISPLAY=:0"} << false;
    QTest::newRow("Wayland session")
        << QStringList() << QStringList{"WAYLAND_DISPLAY=wayland-0"} << false;
    QTest::newRow("nothing") << QStringList() << QStringList() << true;
    QTest::newRow("empty DISPLAY") << QStringList() << QStringList{"DISPLAY="} << true;
    QTest::newRow("platform in the environment")
        << QStringList() << QStringList{"QT_QPA_PLATFORM=offscreen"} << false;
    QTest::newRow("-platform") << QStringList{"-platform", "offscreen"} << QStringList() << false;
}

void TestApp::displayMissing() {
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, environment);
    QFETCH(bool, missing);
    const auto lookUp = [&environment](const char* name) -> std::optional<QByteArray> {
        for (const QString& entry : environment)
            if (entry.section(QLatin1Char('='), 0, 0) == QLatin1String(name))
                return entry.section(QLatin1Char('='), 1).toLocal8Bit();
        return std::nullopt;
    };
    QCOMPARE(app::PlatformStart::DisplayMissing(QStringList{"teiler"} + arguments, lookUp),
             missing);
}

void TestApp::startsWithoutDisplay_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("display"); // empty: DISPLAY is not set
    QTest::addColumn<QString>("said");    // a part of the one line on stderr
    QTest::newRow("no display") << QStringList() << ""
                                << "DISPLAY ist nicht gesetzt";
    QTest::newRow("display not reachable") << QStringList() << ":4711"
                                           << "\":4711\"";
    QTest::newRow("display not reachable, zoom fit") << QStringList{"--zoom", "fit"} << ":4711"
                                                     << "\":4711\"";
    QTest::newRow("unknown platform") << QStringList{"-platform", "nirgends"} << ":4711"
                                      << "\"nirgends\"";
}

// Without a display to be had, the program says in one German line what to do and ends with
// status 1, instead of Qt's English abort.
void TestApp::startsWithoutDisplay() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, display);
    QFETCH(QString, said);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "QT_SCALE_FACTOR"})
        environment.remove(QString::fromLatin1(name));
    if (!display.isEmpty())
        environment.insert(QStringLiteral("DISPLAY"), display);
    QProcess teiler;
    teiler.setProcessEnvironment(environment);
    teiler.start(QStringLiteral(TEILER_PROGRAM), arguments);
    QVERIFY(teiler.waitForFinished(30000));
    const QString told = QString::fromUtf8(teiler.readAllStandardError());
    QCOMPARE(teiler.exitStatus(), QProcess::NormalExit);
    QCOMPARE(teiler.exitCode(), 1);
    QVERIFY2(told.startsWith(QLatin1String("teiler: ")) && told.count(QLatin1Char('\n')) == 1 &&
                 told.endsWith(QLatin1Char('\n')) && told.contains(said) &&
                 told.contains(QLatin1String("xvfb-run")),
             qPrintable(told));
}

void TestApp::wheelScrollsThroughTheBars_data() {
    QTest::addColumn<QPoint>("angle");
    QTest::addColumn<bool>("shift");
    QTest::addColumn<int>("vertical");   // change of vscHoch's Value
    QTest::addColumn<int>("horizontal"); // change of HScAusgabe's Value
    QTest::newRow("up") << QPoint(0, 120) << false << 1 << 0;
    QTest::newRow("down at the bottom") << QPoint(0, -120) << false << 0 << 0;
    QTest::newRow("shift, down") << QPoint(0, -120) << true << 0 << 1;
    QTest::newRow("shift, a third of a notch") << QPoint(0, -40) << true << 0 << 1;
    QTest::newRow("sideways right") << QPoint(-120, 0) << false << 0 << 1;
}

// Wheel turns over the canvas move it through its scroll bars, as their arrows would.
void TestApp::wheelScrollsThroughTheBars() {
    QFETCH(QPoint, angle);
    QFETCH(bool, shift);
    QFETCH(int, vertical);
    QFETCH(int, horizontal);
    const int v0 = form->vscHoch->Value();
    const int h0 = form->HScAusgabe->Value();
    const QPointF at(100, 100);
    QWheelEvent turn(at, form->picAusgabe->mapToGlobal(at), QPoint(), angle, Qt::NoButton,
                     shift ? Qt::ShiftModifier : Qt::NoModifier, Qt::NoScrollPhase, false);
    // The canvas takes no wheel turns; Qt hands them on to the frame.
    QApplication::sendEvent(form->picRahmen, &turn);
    QCOMPARE(form->vscHoch->Value() - v0, vertical);
    QCOMPARE(form->HScAusgabe->Value() - h0, horizontal);
    // The bars' Change events moved the canvas.
    if (vertical)
        QCOMPARE(PictureBox::childTop(form->picAusgabe), form->vscHoch->Value() - 24.0);
    if (horizontal)
        QCOMPARE(PictureBox::childLeft(form->picAusgabe), 1.0 - form->HScAusgabe->Value());
}

void TestApp::germanContextMenus_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("clipboardText"); // else a picture without text
    QTest::newRow("txtIter") << "txtIter" << true;
    QTest::newRow("txtTreffer") << "txtTreffer" << true;
    QTest::newRow("txtTreffer, a picture on the clipboard") << "txtTreffer" << false;
}

void TestApp::germanContextMenus() {
    QFETCH(QString, box);
    QFETCH(bool, clipboardText);
    if (clipboardText)
        QGuiApplication::clipboard()->setText(QStringLiteral("28,"));
    else
        QGuiApplication::clipboard()->setImage(QImage(4, 4, QImage::Format_RGB32));
    QVERIFY(app::GermanTranslations::Install(*QCoreApplication::instance()));
    QWidget* widget = form->findChild<QWidget*>(box);
    QMenu* menu = nullptr;
    if (auto* line = qobject_cast<QLineEdit*>(widget))
        menu = line->createStandardContextMenu();
    else if (auto* text = qobject_cast<QPlainTextEdit*>(widget))
        menu = text->createStandardContextMenu();
    QVERIFY(menu);
    QStringList entries, enabled;
    for (QAction* a : menu->actions()) {
        entries << a->text().remove(QLatin1Char('&')).section(QLatin1Char('\t'), 0, 0);
        if (a->isEnabled())
            enabled << entries.last();
    }
    delete menu;
    QVERIFY2(entries.contains(QStringLiteral("Kopieren")), qPrintable(entries.join(", ")));
    QVERIFY2(entries.contains(QStringLiteral("Alles auswählen")), qPrintable(entries.join(", ")));
    // "Einfügen" can be chosen exactly when the clipboard holds text.
    QCOMPARE(enabled.contains(QStringLiteral("Einfügen")), clipboardText);
}

// "--zoom fit" measures the screen with an application of its own; the window's application
// still gets Qt's options. Without a display it only starts on the platform named there.
void TestApp::zoomFitKeepsQtsOptions() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "QT_SCALE_FACTOR"})
        environment.remove(QString::fromLatin1(name));
    QProcess teiler;
    teiler.setProcessEnvironment(environment);
    teiler.start(QStringLiteral(TEILER_PROGRAM),
                 {QStringLiteral("-platform"), QStringLiteral("offscreen"),
                  QStringLiteral("--zoom"), QStringLiteral("fit")});
    QVERIFY(teiler.waitForStarted());
    const bool ended = teiler.waitForFinished(2000);
    teiler.kill();
    teiler.waitForFinished();
    QVERIFY2(!ended, teiler.readAllStandardError().constData());
}

// Choosing the PDF type in the save dialog makes the suggested name a PDF's.
void TestApp::saveDialogFollowsTheFilter() {
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QString name, suffix;
    QTimer::singleShot(0, this, [&] {
        auto* dialog = form->findChild<QFileDialog*>(QStringLiteral("saveDialog"));
        auto* types =
            dialog ? dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo")) : nullptr;
        auto* edit =
            dialog ? dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")) : nullptr;
        if (types && edit && types->currentIndex() == 0) {
            QTest::keyClick(types, Qt::Key_Down); // as the user picks "PDF-Dokument"
            name = edit->text();
            suffix = dialog->defaultSuffix();
        }
        if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            modal->reject();
    });
    form->cmdSpeichern_Click();
    QCOMPARE(name, QStringLiteral("teiler-1-500.pdf"));
    QCOMPARE(suffix, QStringLiteral("pdf"));
}

void TestApp::picturePlacedOnPage_data() {
    QTest::addColumn<bool>("print"); // else saved as PDF
    QTest::newRow("printed") << true;
    QTest::newRow("PDF") << false;
}

// The picture stands in the middle of the page, stored without loss (no JPEG).
void TestApp::picturePlacedOnPage() {
    QFETCH(bool, print);
    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftoppm.isEmpty())
        QFAIL("pdftoppm (poppler-utils) is needed to look at the page");
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("seite.pdf"));
    QImage picture(600, 300, QImage::Format_RGB32);
    picture.fill(QColor(0, 0, 160));
    QString error;
    if (print) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPageOrientation(QPageLayout::Landscape);
        QVERIFY2(app::PictureExport::Print(picture, printer, &error), qPrintable(error));
    } else {
        QVERIFY2(app::PictureExport::Save(picture, pdf, &error), qPrintable(error));
    }
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY2(!file.readAll().contains("/DCTDecode"), "the picture is stored as JPEG");
    QProcess render;
    render.start(pdftoppm,
                 {QStringLiteral("-r"), QStringLiteral("40"), QStringLiteral("-png"),
                  QStringLiteral("-singlefile"), pdf, dir.filePath(QStringLiteral("seite"))});
    QVERIFY(render.waitForFinished(30000));
    QCOMPARE(render.exitCode(), 0);
    const QImage page(dir.filePath(QStringLiteral("seite.png")));
    QVERIFY(!page.isNull());
    QRect shown;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (qBlue(page.pixel(x, y)) > 100 && qRed(page.pixel(x, y)) < 100)
                shown |= QRect(x, y, 1, 1);
    const QString where = QStringLiteral("%1,%2 %3x%4 on %5x%6")
                              .arg(shown.x())
                              .arg(shown.y())
                              .arg(shown.width())
                              .arg(shown.height())
                              .arg(page.width())
                              .arg(page.height());
    QVERIFY2(!shown.isEmpty(), qPrintable(where));
    QVERIFY2(qAbs(shown.left() - (page.width() - 1 - shown.right())) <= 2, qPrintable(where));
    QVERIFY2(qAbs(shown.top() - (page.height() - 1 - shown.bottom())) <= 2, qPrintable(where));
}

void TestApp::savePicture_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("existing"); // a file of that name is there before
    QTest::addColumn<int>("limit");     // the largest file this process may write; 0: any
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QString>("reason"); // a word of the German reason on failure
    QTest::newRow("png") << "teiler-1-500.png" << false << 0 << true << "";
    QTest::newRow("png over an existing file") << "alt.png" << true << 0 << true << "";
    QTest::newRow("PDF, capital ending") << "bild.PDF" << false << 0 << true << "";
    QTest::newRow("unknown ending") << "bild.gif" << false << 0 << false << "Dateiendung";
    QTest::newRow("no ending") << "bild" << false << 0 << false << "Dateiendung";
    QTest::newRow("missing folder") << "fehlt/bild.png" << false << 0 << false << "Ordner";
    QTest::newRow("existing file kept") << "alt.jpg" << true << 0 << false << "Dateiendung";
    QTest::newRow("name of a folder") << "ordner.png" << false << 0 << false << "Ordner";
    // A full disk: the write stops after the first 4096 bytes.
    const QString full = QStringLiteral("Datenträger ist voll");
    QTest::newRow("png, full disk") << "neu.png" << false << 4096 << false << full;
    QTest::newRow("png over an existing file, full disk")
        << "alt.png" << true << 4096 << false << full;
    QTest::newRow("pdf, full disk") << "neu.pdf" << false << 4096 << false << full;
    QTest::newRow("pdf over an existing file, full disk")
        << "alt.pdf" << true << 4096 << false << full;
}

void TestApp::savePicture() {
    QFETCH(QString, name);
    QFETCH(bool, existing);
    QFETCH(int, limit);
    QFETCH(bool, saved);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    QStringList before{QStringLiteral("ordner.png")};
    QVERIFY(QDir(dir.path()).mkdir(before.constFirst()));
    if (existing) {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old");
        old.close();
        before << name;
    }
    form->cmdHochzerlegbar_Click();
    const QImage picture = form->framePicture();
    // The frame's inside up to where vscHoch starts, at the screen's pixel ratio.
    QCOMPARE(picture.deviceIndependentSize().toSize(),
             QSize(form->vscHoch->x() - 1, form->picRahmen->height() - 2));
    // "Bild kopieren" puts the same picture on the clipboard.
    form->cmdKopieren_Click();
    QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
             picture.convertToFormat(QImage::Format_RGB32));
    QString told;
    closeBoxWhenOpen(this, QStringLiteral("saveErrorBox"),
                     [&told](QMessageBox* box) { told = box->text(); });
    bool written = false;
    {
        const FileSizeLimit full(limit);
        written = form->savePictureTo(path);
    }
    QCOMPARE(written, saved);
    // A failure is told, with the file's name; a save that worked says nothing.
    QCOMPARE(told.isEmpty(), saved);
    if (!saved) {
        QVERIFY2(told.contains(reason) && told.contains(QDir::toNativeSeparators(path)),
                 qPrintable(told));
        // Nothing new and nothing cut off is left, an existing file is as it was.
        before.sort();
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 before);
        if (existing) {
            QFile kept(path);
            QVERIFY(kept.open(QIODevice::ReadOnly));
            QCOMPARE(kept.readAll(), QByteArray("old"));
        }
        return;
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    if (name.endsWith(QLatin1String(".png"))) {
        // The PNG holds the same pixels as the canvas on screen, strip and chart included.
        QImage back(path);
        QCOMPARE(back.convertToFormat(QImage::Format_RGB32),
                 picture.convertToFormat(QImage::Format_RGB32));
        // Right of the strip it is the canvas where the frame shows it; at the left the strip.
        const QImage canvas = form->picAusgabe->image();
        const QPoint offset = form->picAusgabe->pos() - QPoint(1, 1);
        int compared = 0;
        for (int y = 0; y < back.height(); y += 7)
            for (int x = form->picSkala->width() + 1; x < back.width(); x += 5) {
                const QPoint inCanvas = QPoint(x, y) - offset;
                if (!canvas.rect().contains(inCanvas))
                    continue;
                QCOMPARE(back.pixel(x, y), canvas.pixel(inCanvas));
                ++compared;
            }
        QVERIFY(compared > 1000);
        QCOMPARE(back.pixelColor(form->picSkala->width() / 2, 12), QColor(224, 224, 224));
    } else {
        QVERIFY(file.read(5) == "%PDF-");
    }
}

// Printing to a PDF file: the page is landscape and shows the chart's colours.
void TestApp::printPicture() {
    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftoppm.isEmpty())
        QFAIL("pdftoppm (poppler-utils) is needed to look at the printed page");
    QTemporaryDir dir;
    form->cmdTeilersumme2_Click();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("druck.pdf")));
    printer.setPageOrientation(QPageLayout::Landscape);
    QString error;
    QVERIFY2(app::PictureExport::Print(form->framePicture(), printer, &error), qPrintable(error));
    QProcess render;
    render.start(pdftoppm,
                 {QStringLiteral("-r"), QStringLiteral("40"), QStringLiteral("-png"),
                  QStringLiteral("-singlefile"), dir.filePath(QStringLiteral("druck.pdf")),
                  dir.filePath(QStringLiteral("seite"))});
    QVERIFY(render.waitForFinished(30000));
    QCOMPARE(render.exitCode(), 0);
    const QImage page(dir.filePath(QStringLiteral("seite.png")));
    QVERIFY(!page.isNull());
    QVERIFY(page.width() > page.height());
    int yellow = 0, gray = 0, coloured = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QColor c = page.pixelColor(x, y);
            if (c.red() > 200 && c.green() > 200 && c.blue() < 80)
                ++yellow;
            else if (c.red() > 200 && c.green() > 200 && c.blue() > 200 && c.red() < 235)
                ++gray;
            else if (std::abs(c.red() - c.blue()) > 100 || std::abs(c.green() - c.blue()) > 100)
                ++coloured;
        }
    // The yellow band of the number line, the gray scale strip, coloured labels and bars.
    QVERIFY2(yellow > 500, qPrintable(QString::number(yellow)));
    QVERIFY2(gray > 200, qPrintable(QString::number(gray)));
    QVERIFY2(coloured > 200, qPrintable(QString::number(coloured)));

    // On a full disk the window says so and names the file; the page printed before stays.
    QFile first(printer.outputFileName());
    QVERIFY(first.open(QIODevice::ReadOnly));
    const QByteArray printed = first.readAll();
    first.close();
    QString told;
    closeBoxWhenOpen(this, QStringLiteral("printErrorBox"),
                     [&told](QMessageBox* box) { told = box->text(); });
    bool again = true;
    {
        const FileSizeLimit full(4096);
        again = form->printPictureOn(printer);
    }
    QVERIFY(!again);
    QVERIFY2(told.contains(QStringLiteral("Datenträger ist voll")) &&
                 told.contains(QDir::toNativeSeparators(printer.outputFileName())),
             qPrintable(told));
    QVERIFY(first.open(QIODevice::ReadOnly));
    QCOMPARE(first.readAll(), printed);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList({"druck.pdf", "seite.png"}));
}

QTEST_MAIN(TestApp)
#include "test_app.moc"

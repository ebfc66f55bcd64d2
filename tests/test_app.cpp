// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/boardfile.h"
#include "commandline.h"
#include "form1.h"
#include "germantranslations.h"
#include "pictureexport.h"
#include "platformstart.h"
#include "presetcommands.h"
#include "rangepages.h"
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
#include <QSettings>
#include <QShortcut>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>
#include <csignal>
#include <functional>
#include <memory>
#ifndef Q_OS_WIN
#include <sys/resource.h>
#endif

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

#ifdef Q_OS_WIN
// Windows has no limit on the size of a process's files that could stand for a full disk.
class FileSizeLimit {
  public:
    static constexpr bool possible = false;
    explicit FileSizeLimit(int) {}
};
#else
// While it lives, files this process writes end after limit bytes, as on a full disk (0: no
// limit); a write past the end fails instead of raising SIGXFSZ.
class FileSizeLimit {
  public:
    static constexpr bool possible = true;
    explicit FileSizeLimit(int limit) {
        if (limit <= 0)
            return;
        getrlimit(RLIMIT_FSIZE, &m_previous);
        rlimit lowered = m_previous;
        lowered.rlim_cur = static_cast<rlim_t>(limit);
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        m_active = setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    ~FileSizeLimit() {
        if (!m_active)
            return;
        setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit m_previous{};
    void (*m_previousHandler)(int) = SIG_DFL;
    bool m_active = false;
};
#endif

// Written PDF pages are looked at through poppler's pdftoppm, a program Windows lacks: there the
// look is skipped, elsewhere its absence fails.
#ifdef Q_OS_WIN
#define WITHOUT_PDF_RENDERER(why) QSKIP(why)
#else
#define WITHOUT_PDF_RENDERER(why) QFAIL(why)
#endif

// Closes the modal message box of that name as soon as it is open, after handing it to read.
// The checks belong after exec() has returned: a failing check inside the nested event loop
// would leave the box open. It looks while the returned timer lives, five seconds at most, so a
// test's reader never outlives the test.
std::unique_ptr<QTimer> closeBoxWhenOpen(const QString& name,
                                         const std::function<void(QMessageBox*)>& read) {
    auto timer = std::make_unique<QTimer>();
    QTimer* looking = timer.get();
    QObject::connect(looking, &QTimer::timeout, looking,
                     [looking, name, read, tries = 0]() mutable {
                         auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                         if (box && box->objectName() == name) {
                             looking->stop();
                             read(box);
                             box->done(QMessageBox::Ok);
                         } else if (++tries >= 500) {
                             looking->stop();
                         }
                     });
    looking->start(10);
    return timer;
}

// Shows the window and makes it the active one, so that its keys reach it; offscreen the
// activation arrives with the next pass of the event loop.
bool showActive(QWidget* window) {
    window->show();
    window->activateWindow();
    QCoreApplication::processEvents();
    return window->isActiveWindow();
}

// While context lives, every modal dialog is rejected as soon as its event loop runs, after its
// object name has been added to names; a key that opens one cannot hang the test.
void rejectDialogs(QObject* context, QStringList* names) {
    auto* timer = new QTimer(context);
    QObject::connect(timer, &QTimer::timeout, timer, [names] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            *names << dialog->objectName();
            dialog->reject();
        }
    });
    timer->start(0);
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
    static void initMain() {
        // Recovery files and settings go to a folder of the tests' own.
        QStandardPaths::setTestModeEnabled(true);
        surface::FontChoice::PreferLiberation2();
        // test_app_fit_*: the factor "teiler --zoom fit" takes on the screen of the platform.
        if (qEnvironmentVariable("TEILER_TEST_ZOOM") == QLatin1String("fit")) {
            static char name[] = "test_app";
            static char* argv[] = {name, nullptr};
            int argc = 1;
            app::CommandLine::Options options;
            options.fit = true;
            app::CommandLine::ApplyZoom(options, argc, argv);
        }
    }

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
    void zoomPreset_data();
    void zoomPreset();
    void presetsOnTheWindow_data();
    void presetsOnTheWindow();
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
    void fullScreenEntry_data();
    void fullScreenEntry();
    void fitWindowHoldsTheFittedControls_data();
    void fitWindowHoldsTheFittedControls();
    void newEntriesHaveKeys_data();
    void newEntriesHaveKeys();
    void textBoxesKeepTheirKeys_data();
    void textBoxesKeepTheirKeys();
    void penKeysChooseTheInk_data();
    void penKeysChooseTheInk();
    void menusByKeyboard_data();
    void menusByKeyboard();
    void germanContextMenus_data();
    void germanContextMenus();
    void zoomFitKeepsQtsOptions();
    void saveDialogFollowsTheFilter();
    void picturePlacedOnPage_data();
    void picturePlacedOnPage();
    void savePicture_data();
    void savePicture();
    void printPicture();
    void rangeSplitIntoPages_data();
    void rangeSplitIntoPages();
    void wholeRangeSaved_data();
    void wholeRangeSaved();

    // the ".teiler" file of a prepared board
    void undoAndRedo_data();
    void undoAndRedo();
    void boardOpensAsSaved_data();
    void boardOpensAsSaved();
    void boardOpenedWhileSumChartYields();
    void boardAsDocument_data();
    void boardAsDocument();
    void whateverIsTypedCanBeSaved_data();
    void whateverIsTypedCanBeSaved();

    // window-level cases of the charts, picking, sheet and search
    void sumEntriesSetCheckMarks_data();
    void sumEntriesSetCheckMarks();
    void eventsDuringSumChart_data();
    void eventsDuringSumChart();
    void sumChartRepaintsAboutOncePerFrame();
    void windowPickShowsFactorization_data();
    void windowPickShowsFactorization();
    void windowPressRefreshesSheet_data();
    void windowPressRefreshesSheet();
    void windowMarkerAndDrawing();
    void windowMarkerLetsMouseThrough();
    void windowMoves_data();
    void windowMoves();
    void windowLeftPickDuringDrag();
    void windowPressOnTextBox_data();
    void windowPressOnTextBox();
    void windowStepButton_data();
    void windowStepButton();
    void windowRefusedStep_data();
    void windowRefusedStep();
    void windowRefusalOnHelpLine_data();
    void windowRefusalOnHelpLine();
    void windowSheetClick_data();
    void windowSheetClick();
    void windowDoubleClickIsTwoPresses_data();
    void windowDoubleClickIsTwoPresses();
    void stepperWritesOnlyPressedBox_data();
    void stepperWritesOnlyPressedBox();
    void windowHitList_data();
    void windowHitList();
    void secondRunRemovesMarks_data();
    void secondRunRemovesMarks();
    void listWrittenWhileHidden_data();
    void listWrittenWhileHidden();
    void windowPenTouchTablet_data();
    void windowPenTouchTablet();
    void hitDoubleClickShowsItsColumn_data();
    void hitDoubleClickShowsItsColumn();
    void colourOption_data();
    void colourOption();

  private:
    // The window's control or menu of that object name; a missing one ends the run at once.
    template <class T> T* control(const char* name) const {
        T* found = form->findChild<T*>(QString::fromLatin1(name));
        if (!found)
            qFatal("the window has no %s named \"%s\"", T::staticMetaObject.className(), name);
        return found;
    }
    // The menu entry of that object name.
    QAction* action(const char* name) const { return control<QAction>(name); }

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
    QVERIFY(!action("cmdTeilersumme")->isChecked());
    QVERIFY(!action("cmdTeilersumme2")->isChecked());
    QCOMPARE(form->currentNumber(), 720.0);
    QCOMPARE(form->rangeBase(), 0);
    auto* hits = control<surface::MultiLineTextBox>("txtTreffer");
    QVERIFY(!hits->isHidden());
    QCOMPARE(hits->text(), QStringLiteral("\r\nTrefferliste\r\n"));
    QCOMPARE(hits->toPlainText(), QStringLiteral("\nTrefferliste\n"));
    QVERIFY(control<QLineEdit>("txtHilfe")->text().isEmpty());
    QCOMPARE(control<QLineEdit>("txtIter")->text(), QStringLiteral("220"));
    QCOMPARE(control<QLineEdit>("Text1(2)")->text(), QStringLiteral("1"));
    QCOMPARE(control<QLineEdit>("Text1(0)")->text(), QStringLiteral("0"));
    QCOMPARE(control<QLineEdit>("Text1(1)")->text(), QStringLiteral("1"));
    QCOMPARE(control<QLabel>("Label2")->text(), QStringLiteral("n + "));
    QCOMPARE(control<surface::ScrollBar>("HScAusgabe")->Value(), 0);
    QCOMPARE(control<surface::ScrollBar>("vscHoch")->Value(), 0);
    QCOMPARE(control<surface::ScrollBar>("HScroll1")->Value(), 0);
    // Until a scroll bar moves, the canvas and the scale strip keep their places of the design,
    // in twips inside the frame's border: the canvas 360 from the left, both 2040 above the top.
    QCOMPARE(control<PictureBox>("picAusgabe")->pos(), QPoint(1 + 360 / 15, 1 - 2040 / 15));
    QCOMPARE(control<PictureBox>("picSkala")->pos(), QPoint(1, 1 - 2040 / 15));
    // Nothing has been written on the sheet yet.
    QVERIFY(control<PictureBox>("picZeichenblatt")->records().isEmpty());
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
    PictureBox& strip = *control<PictureBox>("picSkala");
    const auto& calls = strip.records();
    int labels = 0;
    for (const auto& c : calls)
        labels += c.op == QLatin1String("Print");
    QCOMPARE(labels, 32);
    const auto* first = findPrint(strip, QStringLiteral(" 1 "));
    const auto* last = findPrint(strip, QStringLiteral(" 32 "));
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
    PictureBox& canvas = *control<PictureBox>("picAusgabe");
    canvas.clearRecords();
    if (upper)
        action("cmdSkala2")->trigger();
    else
        action("cmdSkala")->trigger();
    QCOMPARE(form->rangeBase(), upper ? 500 : 0);
    const auto* label = findPrint(canvas, text);
    QVERIFY(label);
    QVERIFY(qAbs(label->x1 - x) < 1e-9);
    QCOMPARE(label->y1, y);
    QCOMPARE(label->color, color);
    QCOMPARE(label->fontSize, 12.0);
    QVERIFY(label->bold);
    QCOMPARE(pixelAt(canvas, 250, -2.5), QColor(255, 255, 0));
    QCOMPARE(pixelAt(canvas, 250.5, -1.2), QColor(255, 255, 150));
}

void TestApp::rangeCommandErases() {
    PictureBox& canvas = *control<PictureBox>("picAusgabe");
    canvas.Line(100, 5.5, 300, 20.5, QColor(0, 0, 0), PictureBox::LineMode::FilledBox);
    QCOMPARE(pixelAt(canvas, 200, 10.5), QColor(0, 0, 0));
    canvas.clearRecords();
    action("cmdSkala2")->trigger();
    QCOMPARE(canvas.records().first().op, QStringLiteral("Cls"));
    QCOMPARE(pixelAt(canvas, 200, 10.5), QColor(255, 255, 255));
    QVERIFY(lineAt(canvas, 200, 10, QColor(200, 200, 200)));
    // The range commands leave the sum-chart state alone.
    QVERIFY(!action("cmdTeilersumme")->isChecked() && !action("cmdTeilersumme2")->isChecked());
}

void TestApp::clearCommands() {
    PictureBox& canvas = *control<PictureBox>("picAusgabe");
    canvas.Line(100, 5.5, 300, 20.5, QColor(0, 0, 0), PictureBox::LineMode::FilledBox);
    canvas.Line(100, 33.5, 300, 34.5, QColor(0, 0, 0), PictureBox::LineMode::FilledBox);
    canvas.clearRecords();
    const QImage before = canvas.image().copy();
    control<QPushButton>("Command1")->click();
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
    action("cmdloesch")->trigger();
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
    QCOMPARE(form->rangeBase(), 0);
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
    auto* frame = control<PictureBox>("picRahmen");
    auto* help = control<QLineEdit>("txtHilfe");
    QCOMPARE(frame->width(), frameWidth);
    QCOMPARE(control<PictureBox>("picSteuerstand")->width(), frameWidth);
    QCOMPARE(control<surface::ScrollBar>("HScAusgabe")->width(), frameWidth);
    QCOMPARE(PictureBox::childLeft(control<surface::ScrollBar>("vscHoch")), scrollLeft);
    QCOMPARE(PictureBox::childLeft(control<QPushButton>("Command1")), buttonLeft);
    QCOMPARE(help->width(), helpWidth);
    // Heights and the other positions keep their design values.
    QCOMPARE(frame->height(), Twips::toPixels(8295));
    QCOMPARE(help->x(), 1 + Twips::toPixels(7860));
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
    auto* bar = control<surface::ScrollBar>("vscHoch");
    auto* canvas = control<PictureBox>("picAusgabe");
    auto* strip = control<PictureBox>("picSkala");
    bar->SetValue(100 - value); // move away first so that setting the value is a change
    bar->SetValue(value);
    QCOMPARE(bar->Value(), value);
    QCOMPARE(PictureBox::childTop(canvas), top);
    QCOMPARE(PictureBox::childTop(strip), top);
    const double insideHeight = control<PictureBox>("picRahmen")->height() - 2;
    QCOMPARE(canvas->y(), 1 + qRound(top * insideHeight / 100));
    QCOMPARE(strip->y(), canvas->y());
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
    auto* bar = control<surface::ScrollBar>("HScAusgabe");
    auto* canvas = control<PictureBox>("picAusgabe");
    auto* strip = control<PictureBox>("picSkala");
    bar->SetValue(value == 0 ? 1 : 0); // so that setting the value is a change
    bar->SetValue(value);
    QCOMPARE(PictureBox::childLeft(canvas), left);
    const double insideWidth = control<PictureBox>("picRahmen")->width() - 2;
    QCOMPARE(canvas->x(), 1 + qRound(left * insideWidth / 100));
    QCOMPARE(strip->x(), 1);
    // The saved picture shows the strip over the canvas, as the window does.
    const QImage picture = form->framePicture();
    QCOMPARE(picture.pixelColor(strip->width() / 2, 12), QColor(224, 224, 224));
}

void TestApp::verticalArrowsPointTheirWay() {
    // At the bottom of the track the thumb cannot go lower; the upper arrow moves it up, which
    // raises the value towards 100 and moves the canvas down.
    auto* bar = control<surface::ScrollBar>("vscHoch");
    auto* canvas = control<PictureBox>("picAusgabe");
    QCOMPARE(bar->sliderPosition(), bar->maximum());
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(bar->Value(), 0);
    const int before = canvas->y();
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    QCOMPARE(bar->Value(), 1);
    QVERIFY(canvas->y() > before);
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    QCOMPARE(bar->Value(), 100);
    QCOMPARE(PictureBox::childTop(canvas), 76.0);
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
    QVERIFY(control<surface::MultiLineTextBox>("txtTreffer")->tabChangesFocus());
    QStringList chain;
    QWidget* const frame = control<PictureBox>("picRahmen");
    QWidget* w = frame;
    do {
        if (w->focusPolicy() & Qt::TabFocus)
            chain << w->objectName();
        w = w->nextInFocusChain();
    } while (w != frame && chain.size() < 40);
    QCOMPARE(chain, QStringList({"picRahmen",      "picAusgabe",  "picSkala",    "HScAusgabe",
                                 "picSteuerstand", "vscHoch",     "Command1",    "Text1(0)",
                                 "cmdSuche",       "Text1(1)",    "Command2(1)", "Command3(1)",
                                 "Command2(0)",    "Command3(0)", "cmdIter",     "txtIter",
                                 "txtHilfe",       "txtTreffer",  "Picture3",    "picZeichenblatt",
                                 "HScroll1",       "Command3(2)", "Command2(2)", "Text1(2)"}));
}

void TestApp::lastVisibleCanvasPosition() {
    auto* frame = control<PictureBox>("picRahmen");
    auto* canvas = control<PictureBox>("picAusgabe");
    auto* bar = control<surface::ScrollBar>("HScAusgabe");
    const int inside = frame->width() - 2;
    if (Twips::fromPixels(inside) != 14850)
        QSKIP("needs a canvas frame of inside width 14850 twips (screen of 1024 pixels)");
    auto visible = [&](int v) {
        bar->SetValue(v);
        const QRect frameInside = frame->rect().adjusted(1, 1, -1, -1);
        return canvas->geometry().intersects(frameInside);
    };
    QVERIFY(visible(1324));
    QVERIFY(!visible(1325));
    QVERIFY(!visible(2200));
    QVERIFY(visible(0));
    QCOMPARE(PictureBox::childLeft(canvas), 1.0);
}

void TestApp::sheetScrollsByTwips() {
    auto* bar = control<surface::ScrollBar>("HScroll1");
    auto* sheet = control<PictureBox>("picZeichenblatt");
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(bar->Value(), 1);
    QCOMPARE(PictureBox::childLeft(sheet), -1.0);
    bar->SetValue(10585);
    // The sheet's right edge meets the holder's right edge.
    QCOMPARE(PictureBox::childLeft(sheet) + 16000, 5415.0);
}

void TestApp::helpLine() {
    auto* help = control<QLineEdit>("txtHilfe");
    auto* number = control<QLineEdit>("txtIter");
    auto* frame = control<QGroupBox>("Frame2");
    number->clear();
    sendMove(control<QPushButton>("cmdIter"));
    QCOMPARE(help->text(), QStringLiteral("Summe der echten Teiler von  berechnen"));
    number->setText(QStringLiteral("x y"));
    QCOMPARE(help->text(), QStringLiteral("Summe der echten Teiler von  berechnen"));
    sendMove(frame, QPoint(3, frame->height() - 3));
    QCOMPARE(help->text(), QStringLiteral("Summe der echten Teiler von x y berechnen"));

    sendMove(control<QPushButton>("cmdSuche"));
    QCOMPARE(help->text(), QStringLiteral("Alle n mit dieser Eigenschaft markieren"));
    sendMove(control<QPushButton>("Command2(0)")); // a "+" button keeps the text
    sendMove(control<QLabel>("Label5"));           // so does a label inside "Berechne"
    QCOMPARE(help->text(), QStringLiteral("Alle n mit dieser Eigenschaft markieren"));
    sendMove(number);
    QCOMPARE(help->text(), QStringLiteral("Zur Primfaktorzerlegung: Anklicken!"));
    sendMove(control<QLineEdit>("Text1(1)"));
    QCOMPARE(help->text(), QStringLiteral("Alle n mit dieser Eigenschaft markieren"));
    sendMove(control<PictureBox>("picZeichenblatt"));
    QCOMPARE(help->text(), QStringLiteral("Anzeigefeld für die Primfaktorzerlegung"));
    sendMove(control<surface::ScrollBar>("HScAusgabe"));
    sendMove(control<QPushButton>("Command1"));
    QCOMPARE(help->text(), QStringLiteral("Anzeigefeld für die Primfaktorzerlegung"));
}

void TestApp::hitListToggle() {
    auto* hits = control<surface::MultiLineTextBox>("txtTreffer");
    const QString text = hits->text();
    action("cmdTrefferliste")->trigger();
    QVERIFY(hits->isHidden());
    action("cmdTrefferliste")->trigger();
    QVERIFY(!hits->isHidden());
    QCOMPARE(hits->text(), text);
}

void TestApp::stackingAndEdges() {
    const QObjectList order = form->centralWidget()->children();
    // Later siblings lie above earlier ones.
    auto* frame = control<PictureBox>("picRahmen");
    QVERIFY(order.indexOf(control<PictureBox>("Picture3")) > order.indexOf(frame));
    QVERIFY(order.indexOf(control<surface::MultiLineTextBox>("txtTreffer")) > order.indexOf(frame));
    QVERIFY(order.indexOf(control<surface::ScrollBar>("HScAusgabe")) > order.indexOf(frame));
    auto* canvas = control<PictureBox>("picAusgabe");
    auto* height = control<surface::ScrollBar>("vscHoch");
    auto* clear = control<QPushButton>("Command1");
    const QObjectList inFrame = frame->children();
    QVERIFY(inFrame.indexOf(height) > inFrame.indexOf(canvas));
    QVERIFY(inFrame.indexOf(clear) > inFrame.indexOf(height));
    QVERIFY(inFrame.indexOf(control<PictureBox>("picSkala")) > inFrame.indexOf(canvas));
    // vscHoch ends at the frame's outer right edge, "X" stands right beside it at the top.
    const QRect bar = height->geometry() & frame->rect();
    QCOMPARE(bar.right(), frame->rect().right());
    QCOMPARE(clear->geometry().right() + 1, height->x());
    QCOMPARE(clear->y(), height->y());
    // The column marker never takes the mouse.
    auto* marker = control<surface::Shape>("Shape1");
    QVERIFY(marker->testAttribute(Qt::WA_TransparentForMouseEvents));
    QCOMPARE(marker->parentWidget(), canvas);
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
    QVERIFY(QFontInfo(control<surface::MultiLineTextBox>("txtTreffer")->font()).fixedPitch());
    QVERIFY(QFontInfo(control<PictureBox>("picZeichenblatt")->boxFont()).fixedPitch());
    QVERIFY(QFontInfo(control<QPushButton>("Command1")->font()).bold());
    auto* number = control<QLineEdit>("txtIter");
    QCOMPARE(number->font().pointSizeF(), 16.2);
    QVERIFY(!QFontInfo(number->font()).fixedPitch());
    QCOMPARE(number->alignment(), Qt::AlignCenter);
    QCOMPARE(control<QLineEdit>("Text1(0)")->alignment(), Qt::AlignRight | Qt::AlignVCenter);
    QStringList captions;
    for (QMenu* menu :
         {control<QMenu>("cmdDatei"), control<QMenu>("cmdStrahl"), control<QMenu>("cmdTeiler0")})
        for (QAction* a : menu->actions())
            captions << a->text().remove(QLatin1Char('&'));
    QCOMPARE(captions,
             QStringList({"Bildschirm löschen", "", "Bild speichern …", "Bild kopieren",
                          "Drucken …", "", "beenden", "1...500", "501...1000",
                          "Liste als \"Skyline\"", "Teileranzahl T(n)  [alle Teiler]",
                          "Teilersumme S(n)   [echte Teiler]", "S(n)-n  [\"Reichtum\"]"}));
    QCOMPARE(action("cmdTrefferliste")->text().remove(QLatin1Char('&')),
             QStringLiteral("Trefferliste ein/aus"));
    QCOMPARE(action("cmdVortrag")->text().remove(QLatin1Char('&')), QStringLiteral("Info"));
    QVERIFY(!form->windowIcon().isNull());
    QVERIFY(form->windowIcon().availableSizes().contains(QSize(16, 16)));
    QVERIFY(form->windowIcon().availableSizes().contains(QSize(32, 32)));
}

void TestApp::infoBox() {
    QString title, text, version;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    qsizetype buttons = 0;
    const auto closer = closeBoxWhenOpen(QStringLiteral("infoBox"), [&](QMessageBox* box) {
        title = box->windowTitle();
        text = box->text();
        // What shows below the credit line, not only what the box holds.
        const auto* below = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"));
        version = below && below->isVisible() ? below->text() : QString();
        icon = box->icon();
        buttons = box->buttons().size();
    });
    action("cmdVortrag")->trigger();
    QCOMPARE(title, QStringLiteral("Programmiert von"));
    QCOMPARE(icon, QMessageBox::Information);
    QCOMPARE(buttons, 1);
    QVERIFY(text.contains(QStringLiteral("die Entwickler von Teiler")));
    QCOMPARE(version, QStringLiteral("Version %1").arg(QLatin1String(TEILER_VERSION)));
}

void TestApp::endClosesWindow() {
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    action("cmdEnde")->trigger();
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
    QTest::newRow("stray argument") << QStringList{"a.teiler", "220"} << 2 << 0.0 << false;
    QTest::newRow("Qt's own option") << QStringList{"-platform", "xcb"} << -1 << 0.0 << false;
    QTest::newRow("a board from the file manager")
        << QStringList{"--fit-board", "a.teiler"} << -1 << 0.0 << true;
    QTest::newRow("from the file manager, without a board")
        << QStringList{"--fit-board"} << -1 << 0.0 << false;
    QTest::newRow("a board from a shell keeps its zoom")
        << QStringList{"--fit-board", "--zoom", "2", "a.teiler"} << -1 << 2.0 << false;
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

namespace {

// Settings from the lines of an INI file, kept in dir.
std::unique_ptr<QSettings> iniSettings(const QTemporaryDir& dir, const QString& name,
                                       const QString& lines) {
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(lines.toUtf8()) < 0)
        qFatal("cannot write %s", qPrintable(file.fileName()));
    file.close();
    return std::make_unique<QSettings>(file.fileName(), QSettings::IniFormat);
}

} // namespace

void TestApp::zoomPreset_data() {
    QTest::addColumn<QString>("admin"); // the machine's settings
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<double>("zoom"); // 0: no zoom
    QTest::addColumn<bool>("fit");
    QTest::addColumn<QString>("line"); // of --einstellungen
    QTest::newRow("the admin's fit")
        << "zoom=fit" << QStringList{} << 0.0 << true << "zoom = fit (Vorgabe)";
    QTest::newRow("--zoom over the admin's") << "zoom=fit" << QStringList{"--zoom", "1,5"} << 1.5
                                             << false << "zoom = 1,5 (Befehlszeile)";
    QTest::newRow("the admin's fixed over --zoom")
        << "zoom=2\nfest=zoom" << QStringList{"--zoom", "1,5"} << 2.0 << false
        << "zoom = 2 (Vorgabe, fest)";
    QTest::newRow("the admin's over a board from the file manager")
        << "zoom=2" << QStringList{"--fit-board", "a.teiler"} << 2.0 << false
        << "zoom = 2 (Vorgabe)";
}

// The zoom an admin preset takes the place of a missing --zoom, and a fixed one that of any.
void TestApp::zoomPreset() {
    QFETCH(QString, admin);
    QFETCH(QStringList, arguments);
    QFETCH(double, zoom);
    QFETCH(bool, fit);
    QFETCH(QString, line);
    QTemporaryDir dir;
    const auto own = iniSettings(dir, "own.conf", QString());
    const auto machine = iniSettings(dir, "machine.conf", admin);
    const board::Presets presets(*own, {machine.get()});
    const auto options = app::CommandLine::Parse(QStringList{"teiler"} + arguments, presets);
    QVERIFY(!options.exitCode);
    QCOMPARE(options.zoom.value_or(0.0), zoom);
    QCOMPARE(options.fit, fit);
    QVERIFY(app::CommandLine::SettingsLines(presets, options).contains(line));
}

void TestApp::presetsOnTheWindow_data() {
    QTest::addColumn<QString>("own");   // the teacher's settings
    QTest::addColumn<QString>("admin"); // the machine's
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("checked");   // as the window starts
    QTest::addColumn<bool>("fixed");     // the entry cannot be switched
    QTest::addColumn<QString>("stored"); // once the teacher clicked the entry
    QTest::newRow("the admin's palette, the click kept") << ""
                                                         << "farbenblind=1"
                                                         << "cmdFarben" << true << false << "0";
    QTest::newRow("a fixed palette") << "farbenblind=0"
                                     << "farbenblind=1\nfest=farbenblind"
                                     << "cmdFarben" << true << true << "";
    QTest::newRow("the teacher's pen mode") << "stiftmodus=ja"
                                            << ""
                                            << "cmdStift" << true << false << "0";
    QTest::newRow("a fixed pen mode") << "stiftmodus=1"
                                      << "stiftmodus=0\nfest=stiftmodus"
                                      << "cmdStift" << false << true << "";
}

// The window starts with the entries as the settings say and keeps the teacher's click in the
// teacher's settings; an entry the admin fixed cannot be switched, not even by a board opened.
void TestApp::presetsOnTheWindow() {
    QFETCH(QString, own);
    QFETCH(QString, admin);
    QFETCH(QString, entry);
    QFETCH(bool, checked);
    QFETCH(bool, fixed);
    QFETCH(QString, stored);
    QSettings user(QSettings::NativeFormat, QSettings::UserScope, "Teiler", "Teiler");
    user.setFallbacksEnabled(false);
    const auto forget = qScopeGuard([&user] {
        user.remove("farbenblind");
        user.remove("stiftmodus");
    });
    QTemporaryDir dir;
    const auto ownSettings = iniSettings(dir, "own.conf", own);
    const auto machine = iniSettings(dir, "machine.conf", admin);
    new app::PresetCommands(*form, board::Presets(*ownSettings, {machine.get()}));
    QAction* switched = action(qPrintable(entry));
    QCOMPARE(switched->isChecked(), checked);
    QCOMPARE(switched->isEnabled(), !fixed);
    QCOMPARE(form->currentBoard().colourBlind, action("cmdFarben")->isChecked());
    switched->trigger();
    user.sync();
    QCOMPARE(user.value(entry == "cmdFarben" ? "farbenblind" : "stiftmodus").toString(), stored);
    QVERIFY(!form->boardModified());
    board::Board other = form->currentBoard();
    (entry == "cmdFarben" ? other.colourBlind : other.penMode) = !checked;
    form->showBoard(other);
    QCOMPARE(switched->isChecked(), fixed ? checked : !checked);
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
    QTest::newRow("1.09, the fit itself, on 1366 x 768") << QRect(0, 0, 1366, 768) << 1.09 << false;
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
    // Windows has its screen without any of these.
#ifdef Q_OS_WIN
    const bool x11 = false;
#else
    const bool x11 = true;
#endif
    QTest::newRow("nothing") << QStringList() << QStringList() << x11;
    QTest::newRow("empty DISPLAY") << QStringList() << QStringList{"DISPLAY="} << x11;
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
#ifdef Q_OS_WIN
    QSKIP("a missing or unreachable display is a matter of X11 and Wayland");
#endif
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
    QTest::addColumn<int>("turns"); // events of that angle, one after the other
    QTest::addColumn<bool>("shift");
    QTest::addColumn<int>("vertical");   // change of vscHoch's Value
    QTest::addColumn<int>("horizontal"); // change of HScAusgabe's Value
    // A notch moves 10 units of the frame, a tenth of what it shows.
    QTest::newRow("up") << QPoint(0, 120) << 1 << false << 10 << 0;
    QTest::newRow("down at the bottom") << QPoint(0, -120) << 1 << false << 0 << 0;
    QTest::newRow("shift, down") << QPoint(0, -120) << 1 << true << 0 << 10;
    // 3 1/3 units: 3 now, the third waits for the next turn.
    QTest::newRow("shift, a third of a notch") << QPoint(0, -40) << 1 << true << 0 << 3;
    QTest::newRow("shift, three thirds of a notch") << QPoint(0, -40) << 3 << true << 0 << 10;
    QTest::newRow("up, three thirds of a notch") << QPoint(0, 40) << 3 << false << 10 << 0;
    QTest::newRow("sideways right") << QPoint(-120, 0) << 1 << false << 0 << 10;
    QTest::newRow("sideways right, 24 fine steps of 5") << QPoint(-5, 0) << 24 << false << 0 << 10;
}

// Wheel turns over the canvas move it through its scroll bars, a tenth of the frame per notch.
void TestApp::wheelScrollsThroughTheBars() {
    QFETCH(QPoint, angle);
    QFETCH(int, turns);
    QFETCH(bool, shift);
    QFETCH(int, vertical);
    QFETCH(int, horizontal);
    auto* frame = control<PictureBox>("picRahmen");
    auto* heightBar = control<surface::ScrollBar>("vscHoch");
    auto* sideBar = control<surface::ScrollBar>("HScAusgabe");
    auto* canvas = control<PictureBox>("picAusgabe");
    const int v0 = heightBar->Value();
    const int h0 = sideBar->Value();
    const QPointF at(100, 100);
    for (int i = 0; i < turns; ++i) {
        QWheelEvent turn(at, canvas->mapToGlobal(at), QPoint(), angle, Qt::NoButton,
                         shift ? Qt::ShiftModifier : Qt::NoModifier, Qt::NoScrollPhase, false);
        // The canvas takes no wheel turns; Qt hands them on to the frame.
        QApplication::sendEvent(frame, &turn);
    }
    QCOMPARE(heightBar->Value() - v0, vertical);
    QCOMPARE(sideBar->Value() - h0, horizontal);
    // The bars' arrows and keys still move by 1.
    QCOMPARE(heightBar->singleStep(), 1);
    QCOMPARE(sideBar->singleStep(), 1);
    // A unit of HScAusgabe is a hundredth of the frame's inside, so a notch sideways is a tenth.
    const int inside = frame->width() - 2 * frame->borderWidth();
    const double expectedX = frame->borderWidth() + (1 - sideBar->Value()) * inside / 100.0;
    if (horizontal)
        QVERIFY2(qAbs(canvas->x() - expectedX) <= 1,
                 qPrintable(QStringLiteral("%1 px, not %2").arg(canvas->x()).arg(expectedX)));
    // The bars' Change events moved the canvas.
    if (vertical)
        QCOMPARE(PictureBox::childTop(canvas), heightBar->Value() - 24.0);
    if (horizontal)
        QCOMPARE(PictureBox::childLeft(canvas), 1.0 - sideBar->Value());
}

void TestApp::fullScreenEntry_data() {
    QTest::addColumn<bool>("maximized"); // the window before full screen
    QTest::addColumn<QString>("enter");  // F11, entry (the menu), window manager
    QTest::addColumn<QString>("leave");  // the same or Escape
    QTest::newRow("F11, F11") << false << "F11"
                              << "F11";
    QTest::newRow("entry, Escape") << false << "entry"
                                   << "Escape";
    QTest::newRow("maximized: F11, Escape") << true << "F11"
                                            << "Escape";
    QTest::newRow("maximized: entry, entry") << true << "entry"
                                             << "entry";
    QTest::newRow("window manager both ways") << false << "window manager"
                                              << "window manager";
    QTest::newRow("maximized: window manager, F11") << true << "window manager"
                                                    << "F11";
    QTest::newRow("F11, window manager") << false << "F11"
                                         << "window manager";
}

// "Tafel" > "Vollbild" (F11) switches full screen on and off, Escape leaves it, and its check
// mark follows the window's state, also when the window manager changes it. Leaving returns to
// the maximized window if it was one. The keys are pressed with a text box focused.
void TestApp::fullScreenEntry() {
    QFETCH(bool, maximized);
    QFETCH(QString, enter);
    QFETCH(QString, leave);
    QAction* entry = action("cmdVollbild");
    auto* box = control<QLineEdit>("txtIter");
    QVERIFY(showActive(form.get()));
    if (maximized) {
        form->showMaximized();
        QCoreApplication::processEvents();
    }
    box->setFocus();
    QCOMPARE(QApplication::focusWidget(), box);
    const Qt::WindowStates before = form->windowState();
    QCOMPARE(before.testFlag(Qt::WindowMaximized), maximized);
    // Escape means nothing to a window that is not full screen.
    QTest::keyClick(box, Qt::Key_Escape);
    QCOMPARE(form->windowState(), before);
    auto change = [&](const QString& how, bool on) {
        if (how == QLatin1String("F11"))
            QTest::keyClick(box, Qt::Key_F11);
        else if (how == QLatin1String("Escape"))
            QTest::keyClick(box, Qt::Key_Escape);
        else if (how == QLatin1String("entry"))
            entry->trigger();
        else
            form->windowHandle()->setWindowStates(on ? Qt::WindowFullScreen : before);
        QCoreApplication::processEvents();
    };
    change(enter, true);
    QVERIFY(form->isFullScreen());
    QVERIFY(entry->isChecked());
    change(leave, false);
    QVERIFY(!form->isFullScreen());
    QVERIFY(!entry->isChecked());
    QCOMPARE(form->windowState().testFlag(Qt::WindowMaximized), maximized);
}

void TestApp::fitWindowHoldsTheFittedControls_data() {
    QTest::addColumn<QString>("name");
    for (const char* name :
         {"picRahmen", "picSteuerstand", "HScAusgabe", "Command1", "vscHoch", "Frame2", "txtHilfe"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

// "--zoom fit" opens the window maximized, so that what Form_Load fitted to the screen's width
// lies inside it and on the screen. test_app_fit_* run this at the factor "fit" takes on screens
// of 1366, 1920 and 3840 pixels; the other runs at factor 1 where the window fits the screen.
void TestApp::fitWindowHoldsTheFittedControls() {
    QFETCH(QString, name);
    const QScreen* screen = form->screen();
    // In the screen's pixels: the window manager's frame does not grow with the factor.
    const qreal ratio = form->devicePixelRatioF();
    const QSizeF outer =
        QSizeF(form->size()) * ratio +
        QSizeF(app::CommandLine::AssumedFrame().left() * 2,
               app::CommandLine::AssumedFrame().top() + app::CommandLine::AssumedFrame().bottom());
    const QSizeF available = QSizeF(screen->availableGeometry().size()) * ratio;
    const QByteArray sizes = QDebug::toString(outer).toUtf8() + " with its frame on " +
                             QDebug::toString(available).toUtf8();
    if (outer.width() > available.width() + 1 || outer.height() > available.height() + 1)
        QSKIP(("the window is larger than this screen at any factor: " + sizes).constData());
    if (qEnvironmentVariable("TEILER_TEST_ZOOM") == QLatin1String("fit"))
        QVERIFY(qAbs(ratio - qEnvironmentVariable("QT_SCALE_FACTOR").toDouble()) < 0.001);
    app::CommandLine::Options options;
    options.fit = true;
    app::CommandLine::ShowWindow(*form, options);
    QCoreApplication::processEvents();
    QVERIFY(form->isMaximized());
    auto* widget = control<QWidget>(qPrintable(name));
    QVERIFY(widget->isVisible() && widget->width() > 0);
    const QRect inWindow(widget->mapTo(form.get(), QPoint()), widget->size());
    const QRect onScreen(widget->mapToGlobal(QPoint()), widget->size());
    const QByteArray where = QDebug::toString(inWindow).toUtf8() + " in " +
                             QDebug::toString(form->rect()).toUtf8() + ", " +
                             QDebug::toString(onScreen).toUtf8() + " on " +
                             QDebug::toString(screen->geometry()).toUtf8();
    QVERIFY2(form->rect().contains(inWindow), where.constData());
    QVERIFY2(screen->geometry().contains(onScreen), where.constData());
}

void TestApp::newEntriesHaveKeys_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QString>("box");    // the text box with the focus
    QTest::addColumn<QString>("dialog"); // the dialog the entry opens; empty: none
    const QKeySequence save(Qt::CTRL | Qt::Key_E);
    const QKeySequence copy(Qt::CTRL | Qt::SHIFT | Qt::Key_C);
    const QKeySequence print(Qt::CTRL | Qt::Key_P);
    for (const char* box : {"txtIter", "txtTreffer"}) {
        const QString in = QStringLiteral(", in ") + QLatin1String(box);
        QTest::addRow("save%s", qPrintable(in)) << "cmdSpeichern" << save << box << "saveDialog";
        QTest::addRow("copy%s", qPrintable(in)) << "cmdKopieren" << copy << box << "";
        QTest::addRow("print%s", qPrintable(in)) << "cmdDrucken" << print << box << "printDialog";
    }
    QTest::newRow("full screen, in Text1(0)")
        << "cmdVollbild" << QKeySequence(Qt::Key_F11) << "Text1(0)"
        << "";
    QTest::newRow("board save as, in txtTreffer")
        << "cmdTafelSpeichernUnter" << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)
        << "txtTreffer"
        << "boardSaveDialog";
}

// Each new entry has its key, and it works while a text box has the focus.
void TestApp::newEntriesHaveKeys() {
    QFETCH(QString, entry);
    QFETCH(QKeySequence, keys);
    QFETCH(QString, box);
    QFETCH(QString, dialog);
#ifdef Q_OS_WIN
    if (dialog == QLatin1String("printDialog"))
        QSKIP("Windows shows its own print dialog, not one of Qt's windows");
#endif
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QAction* target = action(qPrintable(entry));
    QCOMPARE(target->shortcut(), keys);
    QVERIFY(showActive(form.get()));
    auto* focus = control<QWidget>(qPrintable(box));
    focus->setFocus();
    QCOMPARE(QApplication::focusWidget(), focus);
    QGuiApplication::clipboard()->clear();
    QSignalSpy triggered(target, &QAction::triggered);
    QStringList dialogs;
    {
        QObject context;
        rejectDialogs(&context, &dialogs);
        QTest::keyClick(focus, keys[0].key(), keys[0].keyboardModifiers());
        QCoreApplication::processEvents();
    }
    QCOMPARE(triggered.count(), 1);
    QCOMPARE(dialogs, dialog.isEmpty() ? QStringList() : QStringList{dialog});
    if (entry == QLatin1String("cmdKopieren"))
        QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
                 form->framePicture().convertToFormat(QImage::Format_RGB32));
}

void TestApp::penKeysChooseTheInk_data() {
    QTest::addColumn<bool>("penMode");
    QTest::addColumn<QString>("focus"); // the control with the focus
    QTest::addColumn<char>("key");
    QTest::addColumn<QString>("chosen"); // the entry of "Stift" checked afterwards
    QTest::addColumn<int>("ink");        // the board's
    QTest::newRow("3: purple") << true << "Command1" << '3' << "cmdTinte3" << 2;
    QTest::newRow("5: highlighter") << true << "Command1" << '5' << "cmdTextmarker" << 4;
    QTest::newRow("E: eraser, the ink stays") << true << "Command1" << 'E' << "cmdRadierer" << 0;
    QTest::newRow("3 without pen mode") << false << "Command1" << '3' << "cmdTinte1" << 0;
    QTest::newRow("3 in a text box") << true << "txtIter" << '3' << "cmdTinte1" << 0;
}

// In pen mode the keys choose the pen's ink, unless a text box has the focus. The ink is the
// board's, so choosing another marks it modified, and the next start takes it up from the
// settings once its window has painted.
void TestApp::penKeysChooseTheInk() {
    QFETCH(bool, penMode);
    QFETCH(QString, focus);
    QFETCH(char, key);
    QFETCH(QString, chosen);
    QFETCH(int, ink);
    const auto forget = qScopeGuard([] { QSettings("Teiler", "Teiler").remove("Stift"); });
    QVERIFY(showActive(form.get()));
    if (penMode)
        action("cmdStift")->trigger();
    auto* control = this->control<QWidget>(qPrintable(focus));
    control->setFocus();
    QTest::keyClick(control, Qt::Key(key));
    QVERIFY(action(qPrintable(chosen))->isChecked());
    QCOMPARE(form->currentBoard().penInk, ink);
    QCOMPARE(form->boardModified(), ink != 0);
    if (ink == 0)
        return;
    form = std::make_unique<Form1>();
    QCOMPARE(form->currentBoard().penInk, 0); // nothing read before the first paint
    QVERIFY(showActive(form.get()));
    QTRY_COMPARE(form->currentBoard().penInk, ink);
    QVERIFY(!form->boardModified());
}

void TestApp::textBoxesKeepTheirKeys_data() {
    QTest::addColumn<QString>("box");
    QTest::newRow("txtIter") << "txtIter";
    QTest::newRow("txtTreffer") << "txtTreffer";
}

// No key of the window is one a text box keeps for itself, but for undo and redo, which mean the
// same in both; in a focused box Ctrl+A selects all, Ctrl+C copies the selection, Ctrl+V pastes
// and Ctrl+Z takes back the typing, not a drawing, while Ctrl+Shift+C passes the box by and
// copies the picture.
void TestApp::textBoxesKeepTheirKeys() {
    QFETCH(QString, box);
    QList<QKeySequence> kept;
    for (auto standard :
         {QKeySequence::Copy, QKeySequence::Paste, QKeySequence::Cut, QKeySequence::SelectAll})
        kept += QKeySequence::keyBindings(standard);
    QList<QKeySequence> windowKeys;
    for (const QAction* a : form->findChildren<QAction*>())
        windowKeys += a->shortcuts();
    for (const QShortcut* s : form->findChildren<QShortcut*>())
        windowKeys += s->keys();
    for (const QKeySequence& keys : windowKeys)
        QVERIFY2(!kept.contains(keys), qPrintable(keys.toString()));
    // The entries of the designed menu have none.
    for (const char* designed :
         {"cmdloesch", "cmdEnde", "cmdSkala", "cmdSkala2", "cmdTeiler", "cmdHochzerlegbar",
          "cmdTeilersumme", "cmdTeilersumme2", "cmdTrefferliste", "cmdVortrag"})
        QVERIFY2(action(designed)->shortcut().isEmpty(), designed);

    QVERIFY(showActive(form.get()));
    auto* widget = control<QWidget>(qPrintable(box));
    auto* line = qobject_cast<QLineEdit*>(widget);
    auto* lines = qobject_cast<QPlainTextEdit*>(widget);
    QVERIFY(line || lines);
    if (line)
        line->setText(QStringLiteral("220, 284"));
    auto whole = [&] { return line ? line->text() : lines->toPlainText(); };
    auto selected = [&] {
        return line ? line->selectedText()
                    : lines->textCursor().selectedText().replace(QChar::ParagraphSeparator,
                                                                 QLatin1Char('\n'));
    };
    const QString text = whole();
    QVERIFY(!text.isEmpty());
    widget->setFocus();
    QCOMPARE(QApplication::focusWidget(), widget);

    QTest::keyClick(widget, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(selected(), text);
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(widget, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), text);

    QTest::keyClick(widget, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
             form->framePicture().convertToFormat(QImage::Format_RGB32));
    QCOMPARE(whole(), text);
    QCOMPARE(selected(), text);

    QGuiApplication::clipboard()->setText(QStringLiteral("28"));
    QTest::keyClick(widget, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(whole(), QStringLiteral("28"));

    action("cmdTeiler")->trigger();
    const auto drawn = control<PictureBox>("picAusgabe")->drawings();
    QTest::keyClick(widget, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(whole(), text);
    QVERIFY(control<PictureBox>("picAusgabe")->drawings() == drawn);
}

void TestApp::menusByKeyboard_data() {
    QTest::addColumn<QString>("box"); // the text box with the focus
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QString>("menu"); // the menu the keys open; empty: none
    QTest::newRow("Alt+D in the hit list opens Datei")
        << "txtTreffer" << QKeySequence(Qt::ALT | Qt::Key_D) << "cmdDatei";
    QTest::newRow("Alt+T in Text1(0) opens Teiler")
        << "Text1(0)" << QKeySequence(Qt::ALT | Qt::Key_T) << "cmdTeiler0";
    QTest::newRow("Alt+Q in the hit list types nothing")
        << "txtTreffer" << QKeySequence(Qt::ALT | Qt::Key_Q) << "";
    QTest::newRow("F10 in txtIter focuses the menu bar")
        << "txtIter" << QKeySequence(Qt::Key_F10) << "cmdDatei";
}

// The keyboard reaches the menus from a focused text box, and Alt with a letter never types the
// letter into the box.
void TestApp::menusByKeyboard() {
    QFETCH(QString, box);
    QFETCH(QKeySequence, keys);
    QFETCH(QString, menu);
    QVERIFY(showActive(form.get()));
    auto* widget = control<QWidget>(qPrintable(box));
    auto* line = qobject_cast<QLineEdit*>(widget);
    auto* lines = qobject_cast<QPlainTextEdit*>(widget);
    QVERIFY(line || lines);
    auto whole = [&] { return line ? line->text() : lines->toPlainText(); };
    const QString text = whole();
    widget->setFocus();
    QCOMPARE(QApplication::focusWidget(), widget);
    QTest::keyClick(widget, keys[0].key(), keys[0].keyboardModifiers());
    QCoreApplication::processEvents();
    QWidget* open = QApplication::activePopupWidget();
    const QString opened = open ? open->objectName() : QString();
    if (open)
        open->close();
    QCOMPARE(opened, menu);
    QCOMPARE(whole(), text);
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
    action("cmdSpeichern")->trigger();
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
        WITHOUT_PDF_RENDERER("pdftoppm (poppler-utils) is needed to look at the page");
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
    action("cmdHochzerlegbar")->trigger();
    const QImage picture = form->framePicture();
    // The frame's inside up to where vscHoch starts, at the screen's pixel ratio.
    QCOMPARE(picture.deviceIndependentSize().toSize(),
             QSize(control<surface::ScrollBar>("vscHoch")->x() - 1,
                   control<PictureBox>("picRahmen")->height() - 2));
    // "Bild kopieren" puts the same picture on the clipboard.
    action("cmdKopieren")->trigger();
    QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
             picture.convertToFormat(QImage::Format_RGB32));
    QString told;
    const auto closer = closeBoxWhenOpen(QStringLiteral("saveErrorBox"),
                                         [&told](QMessageBox* box) { told = box->text(); });
    if (limit > 0 && !FileSizeLimit::possible)
        QSKIP("no limit on a file's size stands for a full disk here");
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
        auto* canvasBox = control<PictureBox>("picAusgabe");
        const int stripWidth = control<PictureBox>("picSkala")->width();
        const QImage canvas = canvasBox->image();
        const QPoint offset = canvasBox->pos() - QPoint(1, 1);
        int compared = 0;
        for (int y = 0; y < back.height(); y += 7)
            for (int x = stripWidth + 1; x < back.width(); x += 5) {
                const QPoint inCanvas = QPoint(x, y) - offset;
                if (!canvas.rect().contains(inCanvas))
                    continue;
                QCOMPARE(back.pixel(x, y), canvas.pixel(inCanvas));
                ++compared;
            }
        QVERIFY(compared > 1000);
        QCOMPARE(back.pixelColor(stripWidth / 2, 12), QColor(224, 224, 224));
    } else {
        QVERIFY(file.read(5) == "%PDF-");
    }
}

// Printing to a PDF file: the page is landscape and shows the chart's colours.
void TestApp::printPicture() {
    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftoppm.isEmpty())
        WITHOUT_PDF_RENDERER("pdftoppm (poppler-utils) is needed to look at the printed page");
    QTemporaryDir dir;
    action("cmdTeilersumme2")->trigger();
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
    const auto closer = closeBoxWhenOpen(QStringLiteral("printErrorBox"),
                                         [&told](QMessageBox* box) { told = box->text(); });
    if (!FileSizeLimit::possible)
        QSKIP("no limit on a file's size stands for a full disk here");
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

void TestApp::rangeSplitIntoPages_data() {
    using Span = app::RangePages::Span;
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("pages");
    QTest::addColumn<Span>("first");
    QTest::addColumn<Span>("last");
    QTest::addColumn<int>("rangeBase");
    QTest::addColumn<QString>("charts");
    QTest::addColumn<QString>("lastCaption");
    const int per = app::RangePages::perPage;
    QTest::newRow("a range, one column again on the next page")
        << 500 << 10 << Span{1, 51} << Span{451, 500} << 0 << "Teileranzahl T(n)"
        << "Teiler – 1...500 – Teileranzahl T(n) – Seite 10 von 10 (Zahlen 451 bis 500)";
    QTest::newRow("second range, no chart")
        << 500 << 10 << Span{1, 51} << Span{451, 500} << 500 << QString()
        << "Teiler – 501...1000 – Seite 10 von 10 (Zahlen 951 bis 1000)";
    QTest::newRow("one page full")
        << per << 1 << Span{1, per} << Span{1, per} << 0 << QString() << QString();
    QTest::newRow("one column more")
        << per + 1 << 2 << Span{1, per} << Span{per, per + 1} << 0 << QString() << QString();
}

void TestApp::rangeSplitIntoPages() {
    using Span = app::RangePages::Span;
    QFETCH(int, count);
    QFETCH(int, pages);
    QFETCH(Span, first);
    QFETCH(Span, last);
    QFETCH(int, rangeBase);
    QFETCH(QString, charts);
    QFETCH(QString, lastCaption);
    const auto spans =
        app::RangePages::Split(count, app::RangePages::perPage, app::RangePages::overlap);
    QCOMPARE(spans.size(), pages);
    QVERIFY(spans.constFirst() == first);
    QVERIFY(spans.constLast() == last);
    // Each page starts with the last column of the one before.
    for (qsizetype i = 1; i < spans.size(); ++i)
        QCOMPARE(spans[i].first, spans[i - 1].last);
    if (!lastCaption.isEmpty())
        QCOMPARE(app::RangePages::Caption(rangeBase, charts, pages, pages, last), lastCaption);
}

void TestApp::wholeRangeSaved_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("entries"); // chosen in turn before saving
    QTest::addColumn<int>("limit");           // the largest file this process may write; 0: any
    QTest::addColumn<QString>("caption");     // of page 2 of a PDF
    QTest::addColumn<QString>("onPage");      // words page 2 shows, and one it must not
    QTest::addColumn<QString>("notOnPage");
    QTest::addColumn<bool>("print"); // on a printer that writes the file, else saved
    QTest::newRow("png") << "ganz.png" << QStringList{"cmdTeiler"} << 0 << QString() << QString()
                         << QString() << false;
    QTest::newRow("pdf, divisor count")
        << "ganz.pdf" << QStringList{"cmdHochzerlegbar"} << 0
        << "Teiler – 1...500 – Teileranzahl T(n) – Seite 2 von 10 (Zahlen 51 bis 101)"
        << "75 12 32"
        << "110" << false;
    QTest::newRow("pdf, S(n)-n of 501...1000")
        << "ganz.pdf" << QStringList{"cmdSkala2", "cmdTeilersumme2"} << 0
        << "Teiler – 501...1000 – S(n)-n – Seite 2 von 10 (Zahlen 551 bis 601)"
        << "575 32" << QString() << false;
    QTest::newRow("printed to a PDF file, divisor count")
        << "druck.pdf" << QStringList{"cmdHochzerlegbar"} << 0
        << "Teiler – 1...500 – Teileranzahl T(n) – Seite 2 von 10 (Zahlen 51 bis 101)"
        << "75 12 32"
        << "110" << true;
    QTest::newRow("pdf over an existing file, full disk")
        << "ganz.pdf" << QStringList{"cmdHochzerlegbar"} << 4096 << QString() << QString()
        << QString() << false;
}

// The whole range as one wide picture or as pages of about 50 columns, each with the strip.
void TestApp::wholeRangeSaved() {
    QFETCH(QString, name);
    QFETCH(QStringList, entries);
    QFETCH(int, limit);
    QFETCH(QString, caption);
    QFETCH(QString, onPage);
    QFETCH(QString, notOnPage);
    QFETCH(bool, print);
    for (const QString& entry : entries)
        action(qPrintable(entry))->trigger();
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    if (limit > 0) {
        if (!FileSizeLimit::possible)
            QSKIP("no limit on a file's size stands for a full disk here");
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old");
        old.close();
        QString told;
        const auto closer = closeBoxWhenOpen(QStringLiteral("saveErrorBox"),
                                             [&told](QMessageBox* box) { told = box->text(); });
        bool written = true;
        {
            const FileSizeLimit full(limit);
            written = form->savePictureTo(path, true);
        }
        QVERIFY(!written);
        QVERIFY2(told.contains(QStringLiteral("Datenträger ist voll")) &&
                     told.contains(QDir::toNativeSeparators(path)),
                 qPrintable(told));
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{name});
        return;
    }
    if (print) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setPageOrientation(QPageLayout::Landscape);
        QVERIFY(form->printPictureOn(printer, true));
    } else {
        QVERIFY(form->savePictureTo(path, true));
    }
    auto* canvas = control<PictureBox>("picAusgabe");
    auto* strip = control<PictureBox>("picSkala");
    if (name.endsWith(QLatin1String(".png"))) {
        // The strip, then every column of the canvas: the yellow band of the number line from
        // column 1 to column 500, and the strip's gray at the left.
        const QImage back(path);
        const qreal ratio = canvas->devicePixelRatioF();
        QCOMPARE(back.width(), qRound((strip->width() + canvas->width()) * ratio));
        for (const double column : {1.0, 250.0, 500.0}) {
            const QPointF at = canvas->toPixel(column, -2.2) + QPointF(strip->width(), 0);
            QCOMPARE(back.pixelColor((at * ratio).toPoint()), QColor(255, 255, 0));
        }
        QCOMPARE(back.pixelColor(qRound(strip->width() / 2 * ratio), qRound(12 * ratio)),
                 QColor(224, 224, 224));
        return;
    }
    const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdfinfo.isEmpty() || pdftotext.isEmpty())
        WITHOUT_PDF_RENDERER("pdfinfo and pdftotext (poppler-utils) are needed to read the pages");
    QProcess info;
    info.start(pdfinfo, {path});
    QVERIFY(info.waitForFinished(30000));
    const QString infoText = QString::fromUtf8(info.readAllStandardOutput());
    QVERIFY2(infoText.contains(QRegularExpression(QStringLiteral("Pages:\\s+10\\n"))),
             qPrintable(infoText));
    QVERIFY2(infoText.contains(QStringLiteral("842 x 595 pts (A4)")), qPrintable(infoText));
    QProcess text;
    text.start(pdftotext, {QStringLiteral("-f"), QStringLiteral("2"), QStringLiteral("-l"),
                           QStringLiteral("2"), path, QStringLiteral("-")});
    QVERIFY(text.waitForFinished(30000));
    const QString page = QString::fromUtf8(text.readAllStandardOutput());
    QVERIFY2(page.contains(caption), qPrintable(page));
    // Text, not pixels: the columns' numbers and the strip's heights can be read off the page.
    const QStringList words = page.split(QRegularExpression(QStringLiteral("\\s+")));
    for (const QString& word : onPage.split(QLatin1Char(' ')))
        QVERIFY2(words.contains(word), qPrintable(word));
    if (!notOnPage.isEmpty())
        QVERIFY2(!words.contains(notOnPage), qPrintable(notOnPage));
}

// ---- window-level cases of the charts, picking, sheet and search ----
//
// The window's wiring of what charts/, interact/, factor/ and search/ do: its menu entries,
// buttons and boxes, reached by their object names, and real mouse and key events. The folders
// themselves are tested through their own interfaces in test_charts, test_interact, test_factor
// and test_search.

#include "charts/palette.h"
#include "interact/canvaspicker.h"
#include "support.h"
#include "surface/numbertext.h"

#include <QElapsedTimer>
#include <QMimeData>
#include <QWindow>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <utility>

namespace windowcases {

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
  public:
    int paints = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// Runs an action in the first pass of the event loop after a sum chart has written a given
// number of columns. It posts itself again on every pass until then, so it fires in the yield
// before the next column.
class AfterColumns : public QObject {
  public:
    AfterColumns(const surface::PictureBox& canvas, int columns, std::function<void()> action)
        : canvas(canvas), columns(columns), action(std::move(action)) {
        QCoreApplication::postEvent(this, new QEvent(QEvent::User));
    }

  protected:
    bool event(QEvent* event) override {
        if (event->type() != QEvent::User)
            return QObject::event(event);
        const auto labels = support::Only(canvas.records(), [](const support::Call& c) {
                                return support::IsSumLabel(c) && c.color != support::white;
                            }).size();
        if (labels >= columns)
            action();
        else
            QCoreApplication::postEvent(this, new QEvent(QEvent::User));
        return true;
    }

  private:
    const surface::PictureBox& canvas;
    int columns;
    std::function<void()> action;
};

// Closing the window inside a case must not end the test run.
class KeepRunningWhenClosed {
  public:
    KeepRunningWhenClosed() { QGuiApplication::setQuitOnLastWindowClosed(false); }
    ~KeepRunningWhenClosed() { QGuiApplication::setQuitOnLastWindowClosed(before); }
    KeepRunningWhenClosed(const KeepRunningWhenClosed&) = delete;
    KeepRunningWhenClosed& operator=(const KeepRunningWhenClosed&) = delete;

  private:
    bool before = QGuiApplication::quitOnLastWindowClosed();
};

// The point of the canvas at (x, y) in the coordinates of the window, which events sent
// through the window take.
QPoint CanvasPoint(const QWidget& window, const surface::PictureBox& canvas, double x, double y) {
    return canvas.mapTo(&window, canvas.toPixel(x, y).toPoint());
}

// Nothing but the canvas (and the column marker, which takes no mouse events) lies at p: the
// hit list and the sheet cover the upper left of the canvas frame, and a narrow screen shows
// only the first columns.
bool CanvasShownAt(const QWidget& window, const surface::PictureBox& canvas, QPoint p) {
    return window.childAt(p) == &canvas;
}

// A left press on the canvas above the number strip picks nothing; the window then shows its
// current number on the sheet. The press goes straight to the canvas, wherever it lies.
support::SheetReading SheetOfCurrentNumber(surface::PictureBox& canvas,
                                           surface::PictureBox& sheet) {
    sheet.clearRecords();
    const QPoint above = canvas.toPixel(20, 5).toPoint();
    QTest::mousePress(&canvas, Qt::LeftButton, {}, above);
    QTest::mouseRelease(&canvas, Qt::LeftButton, {}, above);
    return support::ReadSheet(sheet.records());
}

// The canvas units a press, move or release at the window's point p reports.
QPointF CanvasUnitsAt(const QWidget& window, const surface::PictureBox& canvas, QPoint p) {
    return canvas.toUser(QPointF(canvas.mapFrom(&window, p)));
}

} // namespace windowcases

// -- the sum charts in the window --

void TestApp::sumEntriesSetCheckMarks_data() {
    QTest::addColumn<QString>("clicks");
    QTest::newRow("S(n)") << "1";
    QTest::newRow("S(n)-n") << "2";
    QTest::newRow("S(n), then S(n)-n") << "12";
    QTest::newRow("S(n)-n, then S(n)") << "21";
    QTest::newRow("S(n) twice") << "11";
    QTest::newRow("S(n)-n twice") << "22";
}

// Each entry checks itself and unchecks the other; the chart drawn, the mode the window keeps,
// is the entry's.
void TestApp::sumEntriesSetCheckMarks() {
    QFETCH(QString, clicks);
    auto* sums = form->findChild<QAction*>(QStringLiteral("cmdTeilersumme"));
    auto* abundances = form->findChild<QAction*>(QStringLiteral("cmdTeilersumme2"));
    auto* canvas = form->findChild<surface::PictureBox*>(QStringLiteral("picAusgabe"));
    QVERIFY(sums && abundances && canvas);
    QVERIFY(!sums->isChecked());
    QVERIFY(!abundances->isChecked());
    canvas->setRecording(true);
    for (QChar click : clicks) {
        const bool abundance = click == QLatin1Char('2');
        canvas->clearRecords();
        (abundance ? abundances : sums)->trigger();
        QCOMPARE(sums->isChecked(), !abundance);
        QCOMPARE(abundances->isChecked(), abundance);
        // Column 12: S(12) = 16, S(12) - 12 = 4.
        const QVector<support::Call> labels = support::Only(canvas->records(), support::IsSumLabel);
        QCOMPARE(labels.size(), 1000);
        QCOMPARE(labels[23].text, abundance ? QStringLiteral(" 4 ") : QStringLiteral(" 16 "));
    }
}

void TestApp::eventsDuringSumChart_data() {
    QTest::addColumn<QString>("event");
    QTest::addColumn<int>("base");
    QTest::addColumn<int>("newBase");
    QTest::addColumn<QString>("wipe");
    QTest::addColumn<int>("nested");
    QTest::addColumn<int>("rest");
    QTest::newRow("501...1000") << "range500" << 0 << 500 << "Cls" << 0 << 400;
    QTest::newRow("1...500") << "range0" << 500 << 0 << "Cls" << 0 << 400;
    QTest::newRow("Bildschirm löschen") << "clear" << 0 << 0 << "Cls" << 0 << 400;
    QTest::newRow("X") << "X" << 500 << 500 << "Line" << 0 << 400;
    QTest::newRow("S(n)-n") << "other" << 0 << 0 << "" << 500 << 400;
    QTest::newRow("closing the window") << "close" << 0 << 0 << "" << 0 << 0;
}

// A command chosen while the S(n) chart yields after column 100: the chart goes on with what the
// command left (range, wiped canvas, the other chart's mode) or stops when the window closed;
// "Rückgängig" then takes back both.
void TestApp::eventsDuringSumChart() {
    QFETCH(QString, event);
    QFETCH(int, base);
    QFETCH(int, newBase);
    QFETCH(QString, wipe);
    QFETCH(int, nested);
    QFETCH(int, rest);
    QVERIFY(QStringList({"range500", "range0", "clear", "X", "other", "close"}).contains(event));
    const windowcases::KeepRunningWhenClosed keepRunning;
    auto* range0 = form->findChild<QAction*>(QStringLiteral("cmdSkala"));
    auto* range500 = form->findChild<QAction*>(QStringLiteral("cmdSkala2"));
    auto* clear = form->findChild<QAction*>(QStringLiteral("cmdloesch"));
    auto* sums = form->findChild<QAction*>(QStringLiteral("cmdTeilersumme"));
    auto* abundances = form->findChild<QAction*>(QStringLiteral("cmdTeilersumme2"));
    auto* x = form->findChild<QPushButton*>(QStringLiteral("Command1"));
    auto* canvas = form->findChild<surface::PictureBox*>(QStringLiteral("picAusgabe"));
    QVERIFY(range0 && range500 && clear && sums && abundances && x && canvas);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    if (base == 500)
        range500->trigger();
    canvas->setRecording(true);
    canvas->clearRecords();
    windowcases::AfterColumns after(*canvas, 100, [&] {
        if (event == QLatin1String("range500"))
            range500->trigger();
        else if (event == QLatin1String("range0"))
            range0->trigger();
        else if (event == QLatin1String("clear"))
            clear->trigger();
        else if (event == QLatin1String("X"))
            x->click();
        else if (event == QLatin1String("other"))
            abundances->trigger();
        else if (event == QLatin1String("close"))
            form->close();
    });
    const QVector<PictureBox::Drawing> before = canvas->drawings();
    sums->trigger();

    // The labels show the range and the mode the window held for each column.
    const QVector<support::Call> calls = canvas->records();
    const QVector<support::Call> labels = support::Only(calls, support::IsSumLabel);
    const int mode = nested > 0 ? 1 : 0;
    qsizetype at = 0;
    QString e = support::SumColumnsMismatch(labels, at, 1, 100, base, 0);
    if (e.isEmpty())
        e = support::SumColumnsMismatch(labels, at, 1, nested, newBase, mode);
    if (e.isEmpty())
        e = support::SumColumnsMismatch(labels, at, 101, 100 + rest, newBase, mode);
    QVERIFY2(e.isEmpty(), qPrintable(e));
    QCOMPARE(at, labels.size());
    if (!wipe.isEmpty())
        QCOMPARE(calls.value(200).op, wipe);
    QCOMPARE(abundances->isChecked(), mode == 1);
    QCOMPARE(sums->isChecked(), mode == 0);
    QCOMPARE(form->isVisible(), event != QLatin1String("close"));
    if (event == QLatin1String("close")) {
        // The closed window stays closing: a sum chart chosen now stops before its first column.
        canvas->clearRecords();
        sums->trigger();
        QCOMPARE(support::Only(canvas->records(), support::IsSumLabel).size(), 0);
    }
    // The chart and what was chosen while it yielded are one step, however it ended.
    form->findChild<QAction*>(QStringLiteral("cmdRueckgaengig"))->trigger();
    QVERIFY(canvas->drawings() == before);
    QCOMPARE(form->rangeBase(), base);
    QVERIFY(!sums->isChecked() && !abundances->isChecked());
}

void TestApp::sumChartRepaintsAboutOncePerFrame() {
    auto* sums = form->findChild<QAction*>(QStringLiteral("cmdTeilersumme"));
    auto* canvas = form->findChild<surface::PictureBox*>(QStringLiteral("picAusgabe"));
    QVERIFY(sums && canvas);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QTest::qWait(50);
    windowcases::PaintCounter counter;
    canvas->installEventFilter(&counter);
    QElapsedTimer clock;
    clock.start();
    sums->trigger();
    const qint64 elapsed = clock.elapsed();
    // The visible columns change with every column drawn, yet the canvas repaints at most
    // once per 16 ms frame, plus a paint that may already have been due.
    qInfo("%d paints of the canvas in %lld ms", counter.paints, elapsed);
    QVERIFY2(counter.paints <= 2 + elapsed / 16, qPrintable(QString::number(counter.paints)));
    // Afterwards the last labels reach the screen.
    QTRY_VERIFY(counter.paints >= 1);
}

// -- picking on the canvas --

void TestApp::windowPickShowsFactorization_data() {
    QTest::addColumn<int>("base");
    QTest::addColumn<double>("column");
    QTest::addColumn<bool>("abundance");
    QTest::addColumn<QString>("sumText");
    QTest::addColumn<QString>("sheet");
    QTest::newRow("12") << 0 << 12.0 << false << " 16 "
                        << " 12 =| 2 | 2 | 3 | 1 ";
    QTest::newRow("12 with the abundance mark") << 0 << 12.0 << true << " 4 "
                                                << " 12 =| 2 | 2 | 3 | 1 ";
    QTest::newRow("10 with the abundance mark") << 0 << 10.0 << true << "-2 "
                                                << " 10 =| 2 | 1 | 5 | 1 ";
    QTest::newRow("left of 0.5: empty sheet") << 0 << 0.2 << false << " 0 "
                                              << "";
    QTest::newRow("501 in 501...1000") << 500 << 1.0 << false << " 171 "
                                       << " 501 =| 3 | 1 | 167 | 1 ";
}

// A real left press on the strip picks the column in the range shown, writes S(n) or, with
// the abundance entry checked, S(n) - n, and shows the number on the sheet.
void TestApp::windowPickShowsFactorization() {
    QFETCH(int, base);
    QFETCH(double, column);
    QFETCH(bool, abundance);
    QFETCH(QString, sumText);
    QFETCH(QString, sheet);
    auto* range500 = form->findChild<QAction*>(QStringLiteral("cmdSkala2"));
    auto* abundances = form->findChild<QAction*>(QStringLiteral("cmdTeilersumme2"));
    auto* canvas = form->findChild<surface::PictureBox*>(QStringLiteral("picAusgabe"));
    auto* sheetBox = form->findChild<surface::PictureBox*>(QStringLiteral("picZeichenblatt"));
    QVERIFY(range500 && abundances && canvas && sheetBox);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    if (base == 500)
        range500->trigger();
    if (abundance)
        abundances->trigger(); // draws the abundance chart and sets its mark
    canvas->setRecording(true);
    sheetBox->setRecording(true);
    canvas->clearRecords();
    sheetBox->clearRecords();
    const QPoint p = windowcases::CanvasPoint(*form, *canvas, column, 0.5);
    if (!windowcases::CanvasShownAt(*form, *canvas, p))
        QSKIP("the canvas frame of this screen does not show the column");
    QTest::mousePress(form->windowHandle(), Qt::LeftButton, {}, p);
    QTest::mouseRelease(form->windowHandle(), Qt::LeftButton, {}, p);
    const QVector<support::Call> prints =
        support::CallsOf(canvas->records(), QStringLiteral("Print"));
    QVERIFY(prints.size() >= 2);
    QCOMPARE(prints[prints.size() - 2].text, sumText);
    const support::SheetReading shown = support::ReadSheet(sheetBox->records());
    QCOMPARE(shown.texts, sheet);
    QVERIFY(shown.cleared);
    // The picked number stays the current number, which a press that picks nothing shows again.
    const support::SheetReading again = windowcases::SheetOfCurrentNumber(*canvas, *sheetBox);
    QCOMPARE(again.texts, sheet);
    QVERIFY(again.cleared);
}

void TestApp::windowPressRefreshesSheet_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("button");
    QTest::addColumn<double>("y");
    QTest::addColumn<QString>("sheet");
    QTest::newRow("after S on 220, above the strip")
        << "220" << int(Qt::LeftButton) << 5.0 << " 284 =| 2 | 2 | 71 | 1 ";
    QTest::newRow("after S on 220, middle button on the strip")
        << "220" << int(Qt::MiddleButton) << 0.5 << " 284 =| 2 | 2 | 71 | 1 ";
    QTest::newRow("after S on 284, right button")
        << "284" << int(Qt::RightButton) << 6.0 << " 220 =| 2 | 2 | 5 | 1 | 11 | 1 ";
    QTest::newRow("beyond 32 bits: sheet stays empty")
        << "866421317361600" << int(Qt::LeftButton) << 5.0 << "";
}

// A press that picks nothing shows the current number, here the result of an S step, and
// leaves it as it is.
void TestApp::windowPressRefreshesSheet() {
    QFETCH(QString, typed);
    QFETCH(int, button);
    QFETCH(double, y);
    QFETCH(QString, sheet);
    auto* typedBox = form->findChild<QLineEdit*>(QStringLiteral("txtIter"));
    auto* step = form->findChild<QPushButton*>(QStringLiteral("cmdIter"));
    auto* canvas = form->findChild<surface::PictureBox*>(QStringLiteral("picAusgabe"));
    auto* sheetBox = form->findChild<surface::PictureBox*>(QStringLiteral("picZeichenblatt"));
    QVERIFY(typedBox && step && canvas && sheetBox);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    typedBox->setText(typed);
    QTest::mouseClick(step, Qt::LeftButton);
    canvas->setRecording(true);
    sheetBox->setRecording(true);
    canvas->clearRecords();
    sheetBox->clearRecords();
    const QPoint p = windowcases::CanvasPoint(*form, *canvas, 10, y);
    if (!windowcases::CanvasShownAt(*form, *canvas, p))
        QSKIP("the canvas frame of this screen does not show the point");
    const auto b = static_cast<Qt::MouseButton>(button);
    QTest::mousePress(form->windowHandle(), b, {}, p);
    QTest::mouseRelease(form->windowHandle(), b, {}, p);
    QVERIFY(support::CallsOf(canvas->records(), QStringLiteral("Print")).isEmpty());
    const support::SheetReading shown = support::ReadSheet(sheetBox->records());
    QCOMPARE(shown.texts, sheet);
    QVERIFY(shown.cleared);
    // The press kept the current number.
    QCOMPARE(windowcases::SheetOfCurrentNumber(*canvas, *sheetBox).texts, sheet);
}

// Moves name the number and slide Shape1; a press on Shape1 picks the column below it; the
// right button draws dark blue lines 3 pixels wide until it is released.
void TestApp::windowMarkerAndDrawing() {
    auto* canvas = form->findChild<surface::PictureBox*>(QStringLiteral("picAusgabe"));
    auto* sheetBox = form->findChild<surface::PictureBox*>(QStringLiteral("picZeichenblatt"));
    auto* help = form->findChild<QLineEdit*>(QStringLiteral("txtHilfe"));
    auto* marker = form->findChild<surface::Shape*>(QStringLiteral("Shape1"));
    QVERIFY(canvas && sheetBox && help && marker);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    canvas->setRecording(true);
    sheetBox->setRecording(true);
    QWindow* window = form->windowHandle();
    auto at = [&](double x, double y) { return windowcases::CanvasPoint(*form, *canvas, x, y); };
    for (const QPoint p : {at(10, 0.5), at(10, 5), at(5, 5), at(8, 3), at(12, 7), at(11, 6)})
        if (!windowcases::CanvasShownAt(*form, *canvas, p))
            QSKIP("the canvas frame of this screen does not show the columns used");
    QTest::mouseMove(window, at(10, 0.5));
    QCOMPARE(help->text(), QStringLiteral("n =  10; Anklicken!"));
    QCOMPARE(surface::PictureBox::childLeft(marker), 9.3);
    QTest::mouseMove(window, at(10, 5));
    QCOMPARE(help->text(), QStringLiteral("Rechte Maustaste = Zeichnen"));
    QCOMPARE(surface::PictureBox::childLeft(marker), 9.3);

    const QPoint onMarker = marker->mapTo(form.get(), marker->rect().center());
    QVERIFY(windowcases::CanvasShownAt(*form, *canvas, onMarker));
    sheetBox->clearRecords();
    QTest::mousePress(window, Qt::LeftButton, {}, onMarker);
    QTest::mouseRelease(window, Qt::LeftButton, {}, onMarker);
    QCOMPARE(support::ReadSheet(sheetBox->records()).texts,
             QStringLiteral(" 10 =| 2 | 1 | 5 | 1 "));
    QCOMPARE(windowcases::SheetOfCurrentNumber(*canvas, *sheetBox).texts,
             QStringLiteral(" 10 =| 2 | 1 | 5 | 1 "));

    canvas->clearRecords();
    QTest::mousePress(window, Qt::RightButton, {}, at(5, 5));
    QTest::mouseMove(window, at(8, 3));
    QTest::mouseMove(window, at(12, 7));
    QTest::mouseRelease(window, Qt::RightButton, {}, at(12, 7));
    // Released, the drawing has ended: this move draws nothing.
    QTest::mouseMove(window, at(11, 6));
    const QVector<support::Call> lines =
        support::CallsOf(canvas->records(), QStringLiteral("Line"));
    QCOMPARE(lines.size(), 2);
    for (const support::Call& line : lines) {
        QCOMPARE(line.color, support::darkBlue);
        QCOMPARE(line.drawWidth, 3);
    }
}

// The marker lies on the strip, but presses and moves over it reach the canvas below.
void TestApp::windowMarkerLetsMouseThrough() {
    auto* canvas = form->findChild<surface::PictureBox*>(QStringLiteral("picAusgabe"));
    auto* sheetBox = form->findChild<surface::PictureBox*>(QStringLiteral("picZeichenblatt"));
    auto* help = form->findChild<QLineEdit*>(QStringLiteral("txtHilfe"));
    auto* marker = form->findChild<surface::Shape*>(QStringLiteral("Shape1"));
    QVERIFY(canvas && sheetBox && help && marker);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    sheetBox->setRecording(true);
    QWindow* window = form->windowHandle();
    const QPoint strip = windowcases::CanvasPoint(*form, *canvas, 7, 0.5);
    if (!windowcases::CanvasShownAt(*form, *canvas, strip))
        QSKIP("the canvas frame of this screen does not show the column");
    QTest::mouseMove(window, strip);
    QCOMPARE(surface::PictureBox::childLeft(marker), 6.3);
    const QPoint inside = marker->geometry().center();
    const QPointF user = canvas->toUser(inside);
    QVERIFY(user.y() < 1);
    QCOMPARE(interact::CanvasPicker::PickedColumn(user.x()), 7.0);
    const QPoint point = canvas->mapTo(form.get(), inside);
    QVERIFY(marker->geometry().contains(canvas->mapFrom(form.get(), point)));
    QVERIFY(windowcases::CanvasShownAt(*form, *canvas, point));
    help->clear();
    QTest::mouseMove(window, point);
    QCOMPARE(help->text(), QStringLiteral("n =  7; Anklicken!"));
    sheetBox->clearRecords();
    QTest::mousePress(window, Qt::LeftButton, {}, point);
    QTest::mouseRelease(window, Qt::LeftButton, {}, point);
    QCOMPARE(support::ReadSheet(sheetBox->records()).texts, QStringLiteral(" 7 =| 7 | 1 "));
    QCOMPARE(windowcases::SheetOfCurrentNumber(*canvas, *sheetBox).texts,
             QStringLiteral(" 7 =| 7 | 1 "));
}

void TestApp::windowMoves_data() {
    QTest::addColumn<int>("base");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<QString>("help");
    QTest::addColumn<double>("markerLeft"); // -1: the marker stays where it was
    QTest::newRow("7 on the strip") << 0 << 7.0 << 0.5 << "n =  7; Anklicken!" << 6.3;
    QTest::newRow("7.5 rounds up") << 0 << 7.5 << -2.5 << "n =  8; Anklicken!" << 7.3;
    QTest::newRow("501...1000") << 500 << 1.0 << 0.5 << "n =  501; Anklicken!" << 0.3;
    QTest::newRow("y = 1") << 0 << 7.0 << 1.0 << "Rechte Maustaste = Zeichnen" << -1.0;
    QTest::newRow("chart area") << 0 << 10.0 << 6.0 << "Rechte Maustaste = Zeichnen" << -1.0;
}

// A move over the canvas writes the help line and slides Shape1 under the column named.
void TestApp::windowMoves() {
    QFETCH(int, base);
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(QString, help);
    QFETCH(double, markerLeft);
    auto* range500 = form->findChild<QAction*>(QStringLiteral("cmdSkala2"));
    auto* canvas = form->findChild<surface::PictureBox*>(QStringLiteral("picAusgabe"));
    auto* helpLine = form->findChild<QLineEdit*>(QStringLiteral("txtHilfe"));
    auto* marker = form->findChild<surface::Shape*>(QStringLiteral("Shape1"));
    QVERIFY(range500 && canvas && helpLine && marker);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    if (base == 500)
        range500->trigger();
    canvas->setRecording(true);
    canvas->clearRecords();
    // Events carry whole pixels: the pixel nearest to (x, y) on the same side of the strip's top.
    QPoint p = windowcases::CanvasPoint(*form, *canvas, x, y);
    const bool onStrip = y < 1;
    if ((windowcases::CanvasUnitsAt(*form, *canvas, p).y() < 1) != onStrip)
        p.ry() += onStrip ? 1 : -1;
    QCOMPARE(windowcases::CanvasUnitsAt(*form, *canvas, p).y() < 1, onStrip);
    if (!windowcases::CanvasShownAt(*form, *canvas, p))
        QSKIP("the canvas frame of this screen does not show the point");
    const double before = surface::PictureBox::childLeft(marker);
    const QPoint beforeAt = marker->pos();
    QTest::mouseMove(form->windowHandle(), p);
    QCOMPARE(helpLine->text(), help);
    if (markerLeft < 0) {
        QCOMPARE(surface::PictureBox::childLeft(marker), before);
        QCOMPARE(marker->pos(), beforeAt);
    } else {
        QCOMPARE(support::Round4(surface::PictureBox::childLeft(marker)), markerLeft);
        QCOMPARE(marker->x(), canvas->childX(markerLeft));
    }
    // Moving draws nothing while no right button is held.
    QVERIFY(canvas->records().isEmpty());
}

// A left press while the right button drags picks the column, and the drag goes on in the
// pick's black; the left release ends it.
void TestApp::windowLeftPickDuringDrag() {
    auto* canvas = form->findChild<surface::PictureBox*>(QStringLiteral("picAusgabe"));
    auto* sheetBox = form->findChild<surface::PictureBox*>(QStringLiteral("picZeichenblatt"));
    QVERIFY(canvas && sheetBox);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    canvas->setRecording(true);
    sheetBox->setRecording(true);
    QWindow* window = form->windowHandle();
    auto at = [&](double x, double y) { return windowcases::CanvasPoint(*form, *canvas, x, y); };
    for (const QPoint p : {at(5, 5), at(8, 5), at(6, 0.5), at(10, 6), at(11, 6)})
        if (!windowcases::CanvasShownAt(*form, *canvas, p))
            QSKIP("the canvas frame of this screen does not show the columns used");
    canvas->clearRecords();
    sheetBox->clearRecords();
    QTest::mousePress(window, Qt::RightButton, {}, at(5, 5));
    QTest::mouseMove(window, at(8, 5));
    QTest::mouseMove(window, at(6, 0.5));
    QTest::mousePress(window, Qt::LeftButton, {}, at(6, 0.5));
    QCOMPARE(support::ReadSheet(sheetBox->records()).texts, QStringLiteral(" 6 =| 2 | 1 | 3 | 1 "));
    QTest::mouseMove(window, at(10, 6));
    QTest::mouseRelease(window, Qt::LeftButton, {}, at(10, 6));
    QTest::mouseMove(window, at(11, 6));
    QTest::mouseRelease(window, Qt::RightButton, {}, at(11, 6));
    const QVector<support::Call> lines =
        support::CallsOf(canvas->records(), QStringLiteral("Line"));
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[0].color, support::darkBlue);
    QCOMPARE(lines[1].color, support::darkBlue);
    QCOMPARE(lines[2].color, support::black);
    QCOMPARE(lines[2].drawWidth, 3);
    // The segment after the pick starts where the drag last was.
    const QPointF start = windowcases::CanvasUnitsAt(*form, *canvas, at(6, 0.5));
    QCOMPARE(lines[2].x1, start.x());
    QCOMPARE(lines[2].y1, start.y());
    QCOMPARE(lines[2].x2, windowcases::CanvasUnitsAt(*form, *canvas, at(10, 6)).x());
}

// -- the sheet and the S step --

void TestApp::windowPressOnTextBox_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("factors"); // "-" for an empty sheet
    QTest::newRow("220") << "220"
                         << "2^2 * 5^1 * 11^1";
    QTest::newRow("12.5") << "12.5"
                          << "2^2 * 3^1";
    QTest::newRow("beyond 32 bits") << "3000000000"
                                    << "-";
    QTest::newRow("letters") << "abc"
                             << "-";
}

// A press on txtIter makes its number the current one and shows it on the sheet.
void TestApp::windowPressOnTextBox() {
    QFETCH(QString, text);
    QFETCH(QString, factors);
    auto* typedBox = form->findChild<QLineEdit*>(QStringLiteral("txtIter"));
    auto* canvas = form->findChild<surface::PictureBox*>(QStringLiteral("picAusgabe"));
    auto* sheetBox = form->findChild<surface::PictureBox*>(QStringLiteral("picZeichenblatt"));
    QVERIFY(typedBox && canvas && sheetBox);
    sheetBox->setRecording(true);
    typedBox->setText(text);
    QTest::mousePress(typedBox, Qt::LeftButton);
    QTest::mouseRelease(typedBox, Qt::LeftButton);
    for (const support::SheetReading& r : {support::ReadSheet(sheetBox->records()),
                                           windowcases::SheetOfCurrentNumber(*canvas, *sheetBox)}) {
        QVERIFY(r.cleared);
        if (factors == QStringLiteral("-"))
            QCOMPARE(r.callsAfterClear, 0);
        else
            QCOMPARE(r.factors, factors);
    }
}

void TestApp::windowStepButton_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("result");
    QTest::newRow("220") << "220"
                         << " 284";
    QTest::newRow("866421317361600") << "866421317361600"
                                     << " 4444073989185600";
    QTest::newRow("12.5") << "12.5"
                          << " 1";
}

// The button writes the box and the current number; the sheet changes only at the next press.
void TestApp::windowStepButton() {
    QFETCH(QString, text);
    QFETCH(QString, result);
    auto* typedBox = form->findChild<QLineEdit*>(QStringLiteral("txtIter"));
    auto* step = form->findChild<QPushButton*>(QStringLiteral("cmdIter"));
    auto* canvas = form->findChild<surface::PictureBox*>(QStringLiteral("picAusgabe"));
    auto* sheetBox = form->findChild<surface::PictureBox*>(QStringLiteral("picZeichenblatt"));
    QVERIFY(typedBox && step && canvas && sheetBox);
    sheetBox->setRecording(true);
    sheetBox->clearRecords();
    typedBox->setText(text);
    QTest::mouseClick(step, Qt::LeftButton);
    QCOMPARE(typedBox->text(), result);
    QCOMPARE(form->currentNumber(), result.toDouble());
    QCOMPARE(form->iterValue(), surface::NumberText::lenient(text));
    QVERIFY(sheetBox->records().isEmpty());
    const std::optional<std::int32_t> shown = surface::NumberText::roundToInt32(result.toDouble());
    auto check = [&](const support::SheetReading& r) {
        QVERIFY(r.cleared);
        if (shown)
            QCOMPARE(support::ProductOf(r.factors), static_cast<long long>(*shown));
        else
            QCOMPARE(r.callsAfterClear, 0);
    };
    // The sum is the current number: a press on the canvas shows it...
    check(windowcases::SheetOfCurrentNumber(*canvas, *sheetBox));
    if (QTest::currentTestFailed())
        return;
    // ...and so does a press on the box, which reads it back.
    sheetBox->clearRecords();
    QTest::mousePress(typedBox, Qt::LeftButton);
    check(support::ReadSheet(sheetBox->records()));
}

void TestApp::windowRefusedStep_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("-5") << "-5";
    QTest::newRow("10^15") << "1000000000000000";
    QTest::newRow("1e400") << "1e400";
}

// A refused step leaves the box and the current number and says why on the help line.
void TestApp::windowRefusedStep() {
    QFETCH(QString, text);
    auto* typedBox = form->findChild<QLineEdit*>(QStringLiteral("txtIter"));
    auto* step = form->findChild<QPushButton*>(QStringLiteral("cmdIter"));
    auto* help = form->findChild<QLineEdit*>(QStringLiteral("txtHilfe"));
    auto* canvas = form->findChild<surface::PictureBox*>(QStringLiteral("picAusgabe"));
    auto* sheetBox = form->findChild<surface::PictureBox*>(QStringLiteral("picZeichenblatt"));
    QVERIFY(typedBox && step && help && canvas && sheetBox);
    sheetBox->setRecording(true);
    // 360 becomes the current number.
    typedBox->setText(QStringLiteral("360"));
    QTest::mousePress(typedBox, Qt::LeftButton);
    QTest::mouseRelease(typedBox, Qt::LeftButton);
    typedBox->setText(text);
    QTest::mouseClick(step, Qt::LeftButton);
    QCOMPARE(typedBox->text(), text);
    QCOMPARE(windowcases::SheetOfCurrentNumber(*canvas, *sheetBox).factors,
             QStringLiteral("2^3 * 3^2 * 5^1"));
    QCOMPARE(help->text(), QStringLiteral("S(n) nur für ganze Zahlen von 0 bis 999999999999999"));
}

// Steps, separated by blanks: "on"/"wiggle" move the pointer onto "S", "off" onto a label,
// "press" clicks "S" where the pointer is, "key" presses it from the keyboard, a number is typed.
void TestApp::windowRefusalOnHelpLine_data() {
    QTest::addColumn<QString>("steps");
    QTest::addColumn<bool>("refusalShown");
    QTest::newRow("stays while on S") << "on -5 press wiggle" << true;
    QTest::newRow("next step ends it") << "on -5 press 220 press" << false;
    QTest::newRow("back on S after leaving") << "on -5 press off on" << false;
    QTest::newRow("refused from the keyboard") << "off -5 key on" << false;
    QTest::newRow("a move after the step") << "on -5 press 220 press wiggle off on" << false;
}

void TestApp::windowRefusalOnHelpLine() {
    QFETCH(QString, steps);
    QFETCH(bool, refusalShown);
    auto* typedBox = form->findChild<QLineEdit*>(QStringLiteral("txtIter"));
    auto* step = form->findChild<QPushButton*>(QStringLiteral("cmdIter"));
    auto* help = form->findChild<QLineEdit*>(QStringLiteral("txtHilfe"));
    auto* label = form->findChild<QLabel*>(QStringLiteral("Label6"));
    QVERIFY(typedBox && step && help && label);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    // Events go through the window, so that Qt tracks which widget is under the pointer.
    QWindow* window = form->windowHandle();
    const QPoint onS = step->mapTo(form.get(), step->rect().center());
    const QPoint offS = label->mapTo(form.get(), label->rect().center());
    if (form->childAt(onS) != step || form->childAt(offS) != label)
        QSKIP("the control panel of this screen hides \"S\" or the label beside it");
    QPoint pointer = offS;
    for (const QString& s : steps.split(QLatin1Char(' '))) {
        if (s == QLatin1String("on"))
            QTest::mouseMove(window, pointer = onS);
        else if (s == QLatin1String("wiggle"))
            QTest::mouseMove(window, pointer = onS + QPoint(2, 1));
        else if (s == QLatin1String("off"))
            QTest::mouseMove(window, pointer = offS);
        else if (s == QLatin1String("press"))
            QTest::mouseClick(window, Qt::LeftButton, {}, pointer);
        else if (s == QLatin1String("key"))
            step->click();
        else
            typedBox->setText(s);
    }
    const QString refusal = QStringLiteral("S(n) nur für ganze Zahlen von 0 bis 999999999999999");
    if (refusalShown)
        QCOMPARE(help->text(), refusal);
    else
        QCOMPARE(help->text(), QStringLiteral("Summe der echten Teiler von ") + typedBox->text() +
                                   QStringLiteral(" berechnen"));
}

void TestApp::windowSheetClick_data() {
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("factors"); // "-" for an empty sheet
    QTest::newRow("' 28,'") << " 28,"
                            << "2^2 * 7^1";
    QTest::newRow("'220,284'") << "220,284"
                               << "2^2 * 5^1 * 11^1";
    QTest::newRow("'abc'") << "abc"
                           << "-";
    QTest::newRow("'9999999999'") << "9999999999"
                                  << "-";
}

// A click on the sheet shows the number the clipboard text starts with; the current number
// stays.
void TestApp::windowSheetClick() {
    QFETCH(QString, clipboard);
    QFETCH(QString, factors);
    QClipboard* board = QGuiApplication::clipboard();
    board->setText(clipboard);
    if (board->text() != clipboard)
        QSKIP("this platform keeps no clipboard");
    auto* typedBox = form->findChild<QLineEdit*>(QStringLiteral("txtIter"));
    auto* canvas = form->findChild<surface::PictureBox*>(QStringLiteral("picAusgabe"));
    auto* sheetBox = form->findChild<surface::PictureBox*>(QStringLiteral("picZeichenblatt"));
    QVERIFY(typedBox && canvas && sheetBox);
    sheetBox->setRecording(true);
    // 360 becomes the current number.
    typedBox->setText(QStringLiteral("360"));
    QTest::mousePress(typedBox, Qt::LeftButton);
    QTest::mouseRelease(typedBox, Qt::LeftButton);
    sheetBox->clearRecords();
    QTest::mouseClick(sheetBox, Qt::LeftButton);
    QCOMPARE(form->clipText(), clipboard);
    QCOMPARE(form->currentNumber(), 360.0);
    const support::SheetReading r = support::ReadSheet(sheetBox->records());
    QVERIFY(r.cleared);
    if (factors == QStringLiteral("-"))
        QCOMPARE(r.callsAfterClear, 0);
    else
        QCOMPARE(r.factors, factors);
    QCOMPARE(windowcases::SheetOfCurrentNumber(*canvas, *sheetBox).factors,
             QStringLiteral("2^3 * 3^2 * 5^1"));

    // A clipboard without text reads as the empty text: the sheet is cleared and stays empty.
    auto* image = new QMimeData;
    image->setData(QStringLiteral("application/octet-stream"), QByteArray("220"));
    board->setMimeData(image);
    sheetBox->clearRecords();
    QTest::mouseClick(sheetBox, Qt::LeftButton);
    QCOMPARE(form->clipText(), QString());
    const support::SheetReading empty = support::ReadSheet(sheetBox->records());
    QVERIFY(empty.cleared);
    QCOMPARE(empty.callsAfterClear, 0);
}

// Every press clears the sheet and shows a number on it, the second press of a double click too.
void TestApp::windowDoubleClickIsTwoPresses_data() {
    QTest::addColumn<QString>("target");
    QTest::newRow("canvas") << "picAusgabe";
    QTest::newRow("txtIter") << "txtIter";
    QTest::newRow("sheet") << "picZeichenblatt";
}

void TestApp::windowDoubleClickIsTwoPresses() {
    QFETCH(QString, target);
    QGuiApplication::clipboard()->setText(QStringLiteral("28"));
    auto* typedBox = form->findChild<QLineEdit*>(QStringLiteral("txtIter"));
    auto* sheetBox = form->findChild<surface::PictureBox*>(QStringLiteral("picZeichenblatt"));
    auto* widget = form->findChild<QWidget*>(target);
    QVERIFY(typedBox && sheetBox && widget);
    typedBox->setText(QStringLiteral("28"));
    sheetBox->setRecording(true);
    sheetBox->clearRecords();
    const QPoint at(widget->width() / 2, widget->height() / 2);
    // The events a double click brings: press, release, double click, release.
    QTest::mousePress(widget, Qt::LeftButton, {}, at);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
    QTest::mouseDClick(widget, Qt::LeftButton, {}, at);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
    const auto& calls = sheetBox->records();
    QCOMPARE(std::count_if(calls.begin(), calls.end(),
                           [](const support::Call& c) { return c.op == QLatin1String("Cls"); }),
             2);
}

// -- the search panel and the hit list --

void TestApp::stepperWritesOnlyPressedBox_data() {
    QTest::addColumn<bool>("up");
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("before"); // b, c, a
    QTest::addColumn<QStringList>("after");

    const QStringList start{"3", "x7", " 5 "};
    QTest::newRow("+ b") << true << 0 << start << QStringList{" 4", "x7", " 5 "};
    QTest::newRow("+ c") << true << 1 << start << QStringList{"3", " 1", " 5 "};
    QTest::newRow("+ a") << true << 2 << start << QStringList{"3", "x7", " 6"};
    QTest::newRow("- b") << false << 0 << start << QStringList{" 2", "x7", " 5 "};
    QTest::newRow("- c") << false << 1 << start << QStringList{"3", "-1", " 5 "};
    QTest::newRow("- a") << false << 2 << start << QStringList{"3", "x7", " 4"};
    const QStringList bounds{"0", "1", "1"};
    QTest::newRow("- b at its bound") << false << 0 << bounds << bounds;
    QTest::newRow("- a at its bound") << false << 2 << bounds << bounds;
    QTest::newRow("- c at start") << false << 1 << bounds << QStringList{"0", " 0", "1"};
}

// "+" and "-" step the box they stand at, and only that one.
void TestApp::stepperWritesOnlyPressedBox() {
    QFETCH(bool, up);
    QFETCH(int, index);
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    QList<QLineEdit*> boxes;
    for (int i = 0; i < 3; ++i) {
        boxes << form->findChild<QLineEdit*>(QStringLiteral("Text1(%1)").arg(i));
        QVERIFY(boxes.last());
        boxes.last()->setText(before[i]);
    }
    auto* button = form->findChild<QPushButton*>(
        (up ? QStringLiteral("Command2(%1)") : QStringLiteral("Command3(%1)")).arg(index));
    QVERIFY(button);
    QCOMPARE(button->text(), up ? QStringLiteral("+") : QStringLiteral("-"));
    button->click();
    for (int i = 0; i < 3; ++i)
        QCOMPARE(boxes[i]->text(), after[i]);
}

void TestApp::windowHitList_data() {
    support::AddHitListRows();
}

// The search through the window: the range command, the boxes and the button write the whole
// hit list into txtTreffer and leave the boxes as they were.
void TestApp::windowHitList() {
    QFETCH(int, rangeBase);
    QFETCH(QString, aText);
    QFETCH(QString, bText);
    QFETCH(QString, cText);
    QFETCH(QString, line3);
    QFETCH(QString, hits);
    auto* range0 = form->findChild<QAction*>(QStringLiteral("cmdSkala"));
    auto* range500 = form->findChild<QAction*>(QStringLiteral("cmdSkala2"));
    auto* search = form->findChild<QPushButton*>(QStringLiteral("cmdSuche"));
    auto* list = form->findChild<surface::MultiLineTextBox*>(QStringLiteral("txtTreffer"));
    auto* a = form->findChild<QLineEdit*>(QStringLiteral("Text1(2)"));
    auto* b = form->findChild<QLineEdit*>(QStringLiteral("Text1(0)"));
    auto* c = form->findChild<QLineEdit*>(QStringLiteral("Text1(1)"));
    QVERIFY(range0 && range500 && search && list && a && b && c);
    (rangeBase == 0 ? range0 : range500)->trigger();
    a->setText(aText);
    b->setText(bText);
    c->setText(cText);
    search->click();
    QCOMPARE(list->text(), support::ExpectedList(rangeBase, line3, hits));
    QCOMPARE(a->text(), aText);
    QCOMPARE(b->text(), bText);
    QCOMPARE(c->text(), cText);
}

void TestApp::secondRunRemovesMarks_data() {
    QTest::addColumn<int>("rangeBase");
    QTest::addColumn<QString>("firstC");
    QTest::addColumn<QString>("secondC");
    QTest::addColumn<int>("secondHits");
    // a = 0, b = 0: c = 0 marks every n, any other c none.
    QTest::newRow("all, then none, 1...500") << 0 << "0"
                                             << "1" << 0;
    QTest::newRow("all, then none, 501...1000") << 500 << "0"
                                                << "-2" << 0;
}

// A search without hits after one with hits leaves the bare number line: the marks of the first
// are gone from the strip and left nothing above it.
void TestApp::secondRunRemovesMarks() {
    QFETCH(int, rangeBase);
    QFETCH(QString, firstC);
    QFETCH(QString, secondC);
    QFETCH(int, secondHits);
    auto* range0 = form->findChild<QAction*>(QStringLiteral("cmdSkala"));
    auto* range500 = form->findChild<QAction*>(QStringLiteral("cmdSkala2"));
    auto* search = form->findChild<QPushButton*>(QStringLiteral("cmdSuche"));
    auto* list = form->findChild<surface::MultiLineTextBox*>(QStringLiteral("txtTreffer"));
    auto* canvas = form->findChild<surface::PictureBox*>(QStringLiteral("picAusgabe"));
    QList<QLineEdit*> boxes; // a, b, c
    for (const char* name : {"Text1(2)", "Text1(0)", "Text1(1)"})
        boxes << form->findChild<QLineEdit*>(QString::fromLatin1(name));
    QVERIFY(range0 && range500 && search && list && canvas && !boxes.contains(nullptr));
    (rangeBase == 0 ? range0 : range500)->trigger();
    const QImage numberLine = canvas->image().copy();
    const QRect strip = support::InnerPixels(*canvas, 0, -1.5, 500, -3);
    QCOMPARE(support::PixelsOtherThan(numberLine, strip, support::stripYellow), 0);

    boxes[0]->setText(QStringLiteral("0"));
    boxes[1]->setText(QStringLiteral("0"));
    boxes[2]->setText(firstC);
    search->click();
    const int marked = support::PixelsOtherThan(canvas->image(), strip, support::stripYellow);
    QVERIFY2(marked > 500, qPrintable(QString::number(marked)));

    boxes[2]->setText(secondC);
    search->click();
    QCOMPARE(list->text().split(support::crlf).last().count(QLatin1Char(',')), secondHits);
    QCOMPARE(support::PixelsOtherThan(canvas->image(), strip, support::stripYellow), 0);
    // Nothing of the marks is left above the strip either: there the canvas is the bare number
    // line.
    const QRect above(0, 0, numberLine.width(), strip.top() - 1);
    QVERIFY(canvas->image().copy(above) == numberLine.copy(above));
}

void TestApp::listWrittenWhileHidden_data() {
    QTest::addColumn<bool>("hidden");
    QTest::newRow("hidden") << true;
    QTest::newRow("shown") << false;
}

// The search writes the hit list whether it is shown or hidden, and its visibility stays.
void TestApp::listWrittenWhileHidden() {
    QFETCH(bool, hidden);
    auto* range0 = form->findChild<QAction*>(QStringLiteral("cmdSkala"));
    auto* toggle = form->findChild<QAction*>(QStringLiteral("cmdTrefferliste"));
    auto* search = form->findChild<QPushButton*>(QStringLiteral("cmdSuche"));
    auto* list = form->findChild<surface::MultiLineTextBox*>(QStringLiteral("txtTreffer"));
    QList<QLineEdit*> boxes; // a, b, c
    for (const char* name : {"Text1(2)", "Text1(0)", "Text1(1)"})
        boxes << form->findChild<QLineEdit*>(QString::fromLatin1(name));
    QVERIFY(range0 && toggle && search && list && !boxes.contains(nullptr));
    range0->trigger();
    if (list->isHidden() != hidden)
        toggle->trigger();
    QCOMPARE(list->isHidden(), hidden);
    boxes[0]->setText(QStringLiteral("1"));
    boxes[1]->setText(QStringLiteral("1"));
    boxes[2]->setText(QStringLiteral("0"));
    list->setText(QStringLiteral("\r\nTrefferliste\r\n"));
    search->click();
    QCOMPARE(list->isHidden(), hidden);
    const QString perfect =
        support::ExpectedList(0, QStringLiteral("für S(n) = 1n "), QStringLiteral(" 6, 28, 496,"));
    QCOMPARE(list->text(), perfect);
    // Showing or hiding afterwards keeps the list.
    toggle->trigger();
    QCOMPARE(list->isHidden(), !hidden);
    QCOMPARE(list->text(), perfect);
}

void TestApp::hitDoubleClickShowsItsColumn_data() {
    QTest::addColumn<int>("rangeBase"); // the range shown when the list is double-clicked
    QTest::addColumn<QString>("at");    // the first digit after this text's start is clicked
    QTest::addColumn<bool>("moves");
    QTest::addColumn<QString>("factors"); // "-" for a sheet left as it was
    QTest::newRow("496 in 1...500") << 0 << "496," << true << "2^4 * 31^1";
    QTest::newRow("6 in 1...500, near the canvas's left end") << 0 << " 6," << true << "2^1 * 3^1";
    QTest::newRow("28 while 501...1000 is shown") << 500 << " 28," << false << "2^2 * 7^1";
    QTest::newRow("500 of the header") << 0 << " 500" << false << "-";
}

// A double click on a hit of the list brings the hit's column to the middle of the frame, when it
// is in the range shown, and shows the hit's factorization on the sheet; the list's text, the
// clipboard and the number the last click on the sheet read stay as they were.
void TestApp::hitDoubleClickShowsItsColumn() {
    QFETCH(int, rangeBase);
    QFETCH(QString, at);
    QFETCH(bool, moves);
    QFETCH(QString, factors);
    auto* list = control<surface::MultiLineTextBox>("txtTreffer");
    auto* bar = control<surface::ScrollBar>("HScAusgabe");
    auto* frame = control<PictureBox>("picRahmen");
    auto* canvas = control<PictureBox>("picAusgabe");
    auto* sheetBox = control<PictureBox>("picZeichenblatt");
    control<QLineEdit>("Text1(2)")->setText(QStringLiteral("1"));
    control<QLineEdit>("Text1(0)")->setText(QStringLiteral("1"));
    control<QLineEdit>("Text1(1)")->setText(QStringLiteral("0"));
    control<QPushButton>("cmdSuche")->click(); // the perfect numbers 6, 28 and 496
    if (rangeBase == 500)
        action("cmdSkala2")->trigger();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    if (moves && frame->width() <= 2)
        QSKIP("the canvas frame of this screen shows nothing");
    QGuiApplication::clipboard()->setText(QStringLiteral("220"));
    const QString clipboard = QGuiApplication::clipboard()->text();
    bar->SetValue(700);
    const double leftBefore = PictureBox::childLeft(canvas);
    const QString text = list->text();
    const QString plain = list->toPlainText();
    qsizetype digit = plain.indexOf(at);
    QVERIFY(digit >= 0);
    while (!plain[digit].isDigit())
        ++digit;
    QTextCursor cursor(list->document());
    cursor.setPosition(static_cast<int>(digit));
    list->setTextCursor(cursor);
    list->ensureCursorVisible();
    const QPoint before = list->cursorRect(cursor).center();
    cursor.setPosition(static_cast<int>(digit) + 1);
    const QPoint click = (before + list->cursorRect(cursor).center()) / 2;
    sheetBox->setRecording(true);
    sheetBox->clearRecords();
    QTest::mousePress(list->viewport(), Qt::LeftButton, {}, click);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, click);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, click);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, click);

    QCOMPARE(list->text(), text);
    QCOMPARE(QGuiApplication::clipboard()->text(), clipboard);
    QCOMPARE(form->clipText(), QString());
    const support::SheetReading shown = support::ReadSheet(sheetBox->records());
    if (factors == QStringLiteral("-")) {
        QVERIFY(sheetBox->records().isEmpty());
    } else {
        QVERIFY(shown.cleared);
        QCOMPARE(shown.factors, factors);
    }
    if (!moves) {
        QCOMPARE(bar->Value(), 700);
        QCOMPARE(PictureBox::childLeft(canvas), leftBefore);
        return;
    }
    // The canvas stands where the bar says, with the column's centre as near the frame's middle
    // as the bar's whole frame units let it come (half a unit, and a pixel for the rounding to
    // pixels), or, where the bar cannot go that far, at the end of its track.
    QCOMPARE(PictureBox::childLeft(canvas), 1.0 - bar->Value());
    qsizetype end = digit;
    while (plain[end].isDigit())
        ++end;
    const long long column = plain.mid(digit, end - digit).toLongLong();
    const double columnX =
        canvas->mapTo(form.get(), canvas->toPixel(static_cast<double>(column), 0)).x();
    const double middleX =
        frame->mapTo(form.get(), frame->toPixel(50, 0) + QPointF(frame->borderWidth(), 0)).x();
    const double tolerance = (frame->toPixel(1, 0).x() - frame->toPixel(0, 0).x()) / 2 + 1;
    const int low = std::min(bar->Min(), bar->Max());
    const int high = std::max(bar->Min(), bar->Max());
    const QByteArray where = QByteArray::number(columnX) + " against " +
                             QByteArray::number(middleX) + " at " +
                             QByteArray::number(bar->Value());
    if (bar->Value() == low)
        QVERIFY2(columnX <= middleX + tolerance, where.constData());
    else if (bar->Value() == high)
        QVERIFY2(columnX >= middleX - tolerance, where.constData());
    else
        QVERIFY2(qAbs(columnX - middleX) <= tolerance, where.constData());
    QVERIFY2(moves == (bar->Value() != 700), where.constData());
}

namespace {} // namespace

void TestApp::colourOption_data() {
    QTest::addColumn<bool>("colourBlind");
    QTest::addColumn<QString>("role");
    QTest::addColumn<QColor>("colour");
    // The colours beside it in the same picture, which it must differ from.
    QTest::addColumn<QList<QColor>>("beside");
    const QColor red(255, 0, 0), green(0, 255, 0), black(0, 0, 0), markBlue(0, 0, 150);
    const QColor vermillion(0xD5, 0x5E, 0x00), blue(0x00, 0x72, 0xB2);
    const QColor ring(0, 0, 255), yellow(255, 255, 0);
    struct Role {
        const char* name;
        QColor designed, colourBlind;
        QList<QColor> besideColourBlind;
    };
    const QList<Role> roles{{"deficient", red, vermillion, {blue, black}},
                            {"perfect", green, blue, {vermillion, black}},
                            {"abundant", black, black, {vermillion, blue}},
                            {"record outline", red, vermillion, {black, ring}},
                            {"search mark", markBlue, markBlue, {yellow, black}}};
    for (const auto& r : roles) {
        QTest::addRow("designed, %s", r.name)
            << false << QString::fromLatin1(r.name) << r.designed << QList<QColor>{};
        QTest::addRow("colour-blind, %s", r.name)
            << true << QString::fromLatin1(r.name) << r.colourBlind << r.besideColourBlind;
    }
}

// "Farben für Rot-Grün-Schwäche" draws the next sum chart, T(n) chart and search in colours
// that colour-blind pupils tell apart and that read on white; unchecked, as designed.
void TestApp::colourOption() {
    QFETCH(bool, colourBlind);
    QFETCH(QString, role);
    QFETCH(QColor, colour);
    QFETCH(QList<QColor>, beside);
    QAction* option = action("cmdFarben");
    QVERIFY(option->isCheckable());
    QVERIFY(!option->isChecked());
    if (colourBlind)
        option->trigger();
    QCOMPARE(option->isChecked(), colourBlind);
    auto* canvas = control<PictureBox>("picAusgabe");
    canvas->setRecording(true);
    canvas->clearRecords();

    const charts::Palette palette =
        colourBlind ? charts::Palette::colourBlind() : charts::Palette::designed();
    QList<QColor> drawn;
    QColor expected;
    if (role == QLatin1String("record outline")) {
        action("cmdHochzerlegbar")->trigger();
        for (const auto& c : canvas->records())
            if (c.op == QLatin1String("Line") && c.mode == PictureBox::LineMode::Box)
                drawn << c.color;
        expected = palette.recordOutline;
    } else if (role == QLatin1String("search mark")) {
        control<QPushButton>("cmdSuche")->click(); // the primes
        for (const auto& c : canvas->records())
            if (c.op == QLatin1String("Print") && c.text == QLatin1String("#"))
                drawn << c.color;
        expected = palette.searchMark;
    } else {
        action("cmdTeilersumme")->trigger();
        const auto labels = support::Only(canvas->records(), [](const support::Call& c) {
            return support::IsSumLabel(c) && c.color != support::white;
        });
        QCOMPARE(labels.size(), 500);
        // 10 is deficient, 6 perfect, 12 abundant.
        const int n = role == QLatin1String("deficient") ? 10
                      : role == QLatin1String("perfect") ? 6
                                                         : 12;
        drawn << labels[n - 1].color;
        // A pick writes its sum in the same colour, where the frame shows the column.
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        const QPoint p = windowcases::CanvasPoint(*form, *canvas, n, 0.5);
        if (windowcases::CanvasShownAt(*form, *canvas, p)) {
            canvas->clearRecords();
            QTest::mousePress(form->windowHandle(), Qt::LeftButton, {}, p);
            QTest::mouseRelease(form->windowHandle(), Qt::LeftButton, {}, p);
            const auto picked = support::Only(canvas->records(), support::IsSumLabel);
            QCOMPARE(picked.size(), 1);
            drawn << picked.first().color;
        }
        expected = role == QLatin1String("deficient") ? palette.deficient
                   : role == QLatin1String("perfect") ? palette.perfect
                                                      : palette.abundant;
    }
    QVERIFY(!drawn.isEmpty());
    for (const QColor& c : drawn)
        QCOMPARE(c, colour);
    QCOMPARE(expected, colour);
    if (!colourBlind)
        return;
    QVERIFY2(support::ContrastAgainstWhite(colour) >= 3.0,
             qPrintable(QString::number(support::ContrastAgainstWhite(colour))));
    for (const QColor& other : beside)
        QVERIFY(colour != other);
}

// -- pen, finger and tablet on the canvas --

void TestApp::windowPenTouchTablet_data() {
    QTest::addColumn<QString>("source"); // mouse, finger, tip or barrel button of a tablet pen
    QTest::addColumn<bool>("penEntry");  // "cmdStift" checked
    QTest::addColumn<double>("y");       // of the press, in column 6
    QTest::addColumn<bool>("drag");      // else a tap that wanders 2 pixels
    QTest::addColumn<int>("lines");      // freehand segments drawn
    QTest::addColumn<bool>("picks");     // column 6 picked at the release
    QTest::newRow("pen entry, left drag from the strip draws")
        << "mouse" << true << 0.5 << true << 2 << false;
    QTest::newRow("pen entry, left drag in the chart draws")
        << "mouse" << true << 5.0 << true << 2 << false;
    QTest::newRow("pen entry, left tap picks at the release")
        << "mouse" << true << 0.5 << false << 0 << true;
    QTest::newRow("finger drag from the strip draws")
        << "finger" << false << 0.5 << true << 2 << false;
    QTest::newRow("finger tap picks at the release")
        << "finger" << false << 0.5 << false << 0 << true;
    QTest::newRow("finger drag in the chart with the pen entry")
        << "finger" << true << 5.0 << true << 2 << false;
    QTest::newRow("pen tip drag from the strip draws")
        << "tip" << false << 0.5 << true << 2 << false;
    QTest::newRow("pen tip tap picks at the release")
        << "tip" << false << 0.5 << false << 0 << true;
    QTest::newRow("barrel button draws from the press, even a short way")
        << "barrel" << false << 0.5 << false << 1 << false;
}

// At the board a drag draws as the right button does, dark blue and 3 pixels wide, from the
// press on, and a press that stays within a few pixels picks when it is lifted: with the
// finger, with a tablet pen's tip, and with the left button while "cmdStift" is checked. The
// pen's barrel button is the right button. A finger is not also seen as a mouse press.
void TestApp::windowPenTouchTablet() {
    QFETCH(QString, source);
    QFETCH(bool, penEntry);
    QFETCH(double, y);
    QFETCH(bool, drag);
    QFETCH(int, lines);
    QFETCH(bool, picks);
    static QPointingDevice* const touchScreen = QTest::createTouchDevice();
    static QPointingDevice* const pen = new QPointingDevice(
        QStringLiteral("pen"), 4711, QInputDevice::DeviceType::Stylus,
        QPointingDevice::PointerType::Pen,
        QInputDevice::Capability::Position | QInputDevice::Capability::Pressure, 1, 3);
    auto* canvas = control<PictureBox>("picAusgabe");
    auto* sheetBox = control<PictureBox>("picZeichenblatt");
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QVERIFY(!action("cmdStift")->isChecked());
    if (penEntry)
        action("cmdStift")->trigger();
    QCOMPARE(action("cmdStift")->isChecked(), penEntry);
    // In pixels of the canvas: the press, the moves, and a move after the release.
    const QPoint press = canvas->toPixel(6, y).toPoint();
    const QList<QPoint> path = drag ? QList<QPoint>{press + QPoint(6, 3), press + QPoint(12, 1)}
                                    : QList<QPoint>{press + QPoint(2, 1)};
    const QPoint after = press + QPoint(30, 20);
    auto inWindow = [&](QPoint p) { return canvas->mapTo(form.get(), p); };
    for (const QPoint p : {press, path.last(), after})
        if (!windowcases::CanvasShownAt(*form, *canvas, inWindow(p)))
            QSKIP("the canvas frame of this screen does not show the points used");
    // Qt hands a touch to the window under it on a screen; a window larger than the screen
    // has parts no finger reaches.
    if (source == QLatin1String("finger"))
        for (const QPoint p : {press, path.last()})
            if (!form->screen()->geometry().contains(canvas->mapToGlobal(p)))
                QSKIP("the points used lie beyond the edge of this screen");
    canvas->setRecording(true);
    sheetBox->setRecording(true);
    canvas->clearRecords();
    QWindow* window = form->windowHandle();
    const Qt::MouseButton penButton =
        source == QLatin1String("barrel") ? Qt::MiddleButton : Qt::LeftButton;
    auto tablet = [&](QEvent::Type type, QPoint p, Qt::MouseButton button,
                      Qt::MouseButtons buttons) {
        QTabletEvent event(type, pen, QPointF(p), QPointF(canvas->mapToGlobal(p)),
                           buttons ? 0.5 : 0.0, 0, 0, 0, 0, 0, Qt::NoModifier, button, buttons);
        QApplication::sendEvent(canvas, &event);
    };
    if (source == QLatin1String("mouse"))
        QTest::mousePress(window, Qt::LeftButton, {}, inWindow(press));
    else if (source == QLatin1String("finger"))
        QTest::touchEvent(canvas, touchScreen).press(0, press, canvas);
    else
        tablet(QEvent::TabletPress, press, penButton, penButton);
    for (const QPoint p : path) {
        if (source == QLatin1String("mouse"))
            QTest::mouseMove(window, inWindow(p));
        else if (source == QLatin1String("finger"))
            QTest::touchEvent(canvas, touchScreen).move(0, p, canvas);
        else
            tablet(QEvent::TabletMove, p, Qt::NoButton, penButton);
    }
    // Nothing is picked while the press lasts.
    QVERIFY(support::CallsOf(canvas->records(), QStringLiteral("Print")).isEmpty());
    sheetBox->clearRecords();
    if (source == QLatin1String("mouse"))
        QTest::mouseRelease(window, Qt::LeftButton, {}, inWindow(path.last()));
    else if (source == QLatin1String("finger"))
        QTest::touchEvent(canvas, touchScreen).release(0, path.last(), canvas);
    else
        tablet(QEvent::TabletRelease, path.last(), penButton, Qt::NoButton);
    // Lifted, the drawing has ended: this move draws nothing.
    QTest::mouseMove(window, inWindow(after));

    const QVector<support::Call> drawn =
        support::CallsOf(canvas->records(), QStringLiteral("Line"));
    QCOMPARE(drawn.size(), lines);
    for (const support::Call& line : drawn) {
        QCOMPARE(line.color, support::darkBlue);
        QCOMPARE(line.drawWidth, 3);
    }
    if (lines > 0) {
        const QPointF start = windowcases::CanvasUnitsAt(*form, *canvas, inWindow(press));
        QCOMPARE(drawn[0].x1, start.x());
        QCOMPARE(drawn[0].y1, start.y());
    }
    QCOMPARE(support::CallsOf(canvas->records(), QStringLiteral("Print")).isEmpty(), !picks);
    QCOMPARE(form->currentNumber(), picks ? 6.0 : 720.0);
    if (picks)
        QCOMPARE(support::ReadSheet(sheetBox->records()).texts,
                 QStringLiteral(" 6 =| 2 | 1 | 3 | 1 "));
}

QTEST_MAIN(TestApp)
#include "test_app.moc"

// -- undo and boards --

void TestApp::undoAndRedo_data() {
    // Each step: "entry:" a menu entry, "button:" a button, "pick" a left press on column 10 of
    // the number line, "stroke" a right-button drag.
    QTest::addColumn<QStringList>("steps");
    QTest::newRow("skyline") << QStringList{"entry:cmdTeiler"};
    QTest::newRow("501...1000, then S(n)-n")
        << QStringList{"entry:cmdSkala2", "entry:cmdTeilersumme2"};
    QTest::newRow("T(n), then X") << QStringList{"entry:cmdHochzerlegbar", "button:Command1"};
    QTest::newRow("S(n) chosen twice")
        << QStringList{"entry:cmdTeilersumme", "entry:cmdTeilersumme"};
    QTest::newRow("S(n), then Bildschirm löschen")
        << QStringList{"entry:cmdTeilersumme", "entry:cmdloesch"};
    QTest::newRow("search marks, pick, stroke") << QStringList{"button:cmdSuche", "pick", "stroke"};
    QTest::newRow("52 picks") << QStringList(52, QStringLiteral("pick"));
}

// "Rückgängig" takes back each step, down to the board after start-up, and "Wiederholen" brings
// each back: the canvas's drawings (and so its pixels), rangeBase and the check marks. The hit
// list stays.
void TestApp::undoAndRedo() {
    QFETCH(QStringList, steps);
    auto* canvas = control<PictureBox>("picAusgabe");
    auto* hits = control<surface::MultiLineTextBox>("txtTreffer");
    struct Seen {
        QVector<PictureBox::Drawing> drawings;
        int rangeBase;
        bool sum, abundance;
        bool operator==(const Seen&) const = default;
    };
    auto seen = [&] {
        return Seen{canvas->drawings(), form->rangeBase(), action("cmdTeilersumme")->isChecked(),
                    action("cmdTeilersumme2")->isChecked()};
    };
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    const QImage atStart = canvas->grab().toImage();
    QVERIFY(!action("cmdRueckgaengig")->isEnabled());
    QVector<Seen> states{seen()};
    for (const QString& step : steps) {
        const QPoint on10 = canvas->toPixel(10, -1).toPoint();
        if (step.startsWith(QLatin1String("entry:"))) {
            action(qPrintable(step.mid(6)))->trigger();
        } else if (step.startsWith(QLatin1String("button:"))) {
            control<QPushButton>(qPrintable(step.mid(7)))->click();
        } else if (step == QLatin1String("pick")) {
            QTest::mousePress(canvas, Qt::LeftButton, {}, on10);
            QTest::mouseRelease(canvas, Qt::LeftButton, {}, on10);
        } else {
            QTest::mousePress(canvas, Qt::RightButton, {}, canvas->toPixel(5, 5).toPoint());
            QTest::mouseMove(canvas, canvas->toPixel(8, 3).toPoint());
            QTest::mouseMove(canvas, canvas->toPixel(12, 9).toPoint());
            QTest::mouseRelease(canvas, Qt::RightButton, {}, canvas->toPixel(12, 9).toPoint());
        }
        states.append(seen());
    }
    const QString list = hits->text();
    for (qsizetype i = steps.size(); i > 0; --i) {
        QVERIFY2(action("cmdRueckgaengig")->isEnabled(), qPrintable(QString::number(i)));
        action("cmdRueckgaengig")->trigger();
        QVERIFY2(seen() == states[i - 1], qPrintable(QString::number(i)));
    }
    QVERIFY(!action("cmdRueckgaengig")->isEnabled());
    QCOMPARE(hits->text(), list);
    // The screen shows the board as it was, not tiles kept from before.
    QCOMPARE(canvas->grab().toImage(), atStart);
    for (qsizetype i = 1; i <= steps.size(); ++i) {
        action("cmdWiederholen")->trigger();
        QVERIFY2(seen() == states[i], qPrintable(QString::number(i)));
    }
    QVERIFY(!action("cmdWiederholen")->isEnabled());
    // A new step after an undo leaves nothing to redo.
    action("cmdRueckgaengig")->trigger();
    action("cmdSkala")->trigger();
    QVERIFY(!action("cmdWiederholen")->isEnabled());
}

void TestApp::boardOpensAsSaved_data() {
    QTest::addColumn<QString>("damage"); // what happens to the file between saving and opening
    QTest::addColumn<int>("limit");      // the largest file the save may write; 0: no limit
    QTest::addColumn<QString>("reason"); // empty: the board opens
    QTest::newRow("as saved") << "" << 0 << "";
    QTest::newRow("cut short") << "cut" << 0 << "unvollständig";
    QTest::newRow("a picture named .teiler") << "png" << 0 << "kein JSON";
    QTest::newRow("gone") << "remove" << 0 << "nicht lesen";
    QTest::newRow("disk full while saving") << "" << 4096 << "Datenträger ist voll";
}

// A board with a chart, a search, picks, a stroke, typed texts and scrolled bars, saved and
// opened in a new window, gives that window pixel for pixel. A file that cannot be opened is
// told with its name and the reason, and the board on screen stays as it was.
void TestApp::boardOpensAsSaved() {
    QFETCH(QString, damage);
    QFETCH(int, limit);
    QFETCH(QString, reason);
    auto* canvas = control<PictureBox>("picAusgabe");
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    action("cmdSkala2")->trigger();
    action("cmdHochzerlegbar")->trigger();
    control<QPushButton>("cmdSuche")->click();
    for (double column : {10.0, 40.0, 220.0}) {
        const QPoint at = canvas->toPixel(column, -1).toPoint();
        QTest::mousePress(canvas, Qt::LeftButton, {}, at);
        QTest::mouseRelease(canvas, Qt::LeftButton, {}, at);
    }
    QTest::mousePress(canvas, Qt::RightButton, {}, canvas->toPixel(5, 5).toPoint());
    QTest::mouseMove(canvas, canvas->toPixel(30, 20).toPoint());
    QTest::mouseRelease(canvas, Qt::RightButton, {}, canvas->toPixel(30, 20).toPoint());
    control<QLineEdit>("txtIter")->setText(QStringLiteral("284 Ä"));
    // The sheet shows what the typed text reads as, which no number alone redraws.
    QTest::mouseClick(control<QLineEdit>("txtIter"), Qt::LeftButton);
    control<QLineEdit>("txtIter")->clearFocus(); // the focus belongs to the session
    control<QLineEdit>("Text1(0)")->setText(QStringLiteral("2"));
    control<surface::ScrollBar>("HScAusgabe")->SetValue(7);
    control<surface::ScrollBar>("vscHoch")->SetValue(3);
    // The help line speaks of where the pointer is, not of the board.
    control<QLineEdit>("txtHilfe")->clear();
    QCoreApplication::processEvents();
    const QImage shown = form->grab().toImage();

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tafel.teiler"));
    QString told;
    auto closer = closeBoxWhenOpen(QStringLiteral("boardSaveErrorBox"),
                                   [&told](QMessageBox* box) { told = box->text(); });
    if (limit > 0 && !FileSizeLimit::possible)
        QSKIP("no limit on a file's size stands for a full disk here");
    bool saved = false;
    {
        const FileSizeLimit full(limit);
        saved = form->saveBoardTo(path);
    }
    QCOMPARE(saved, limit == 0);
    if (!saved) {
        QVERIFY2(told.contains(reason) && told.contains(QDir::toNativeSeparators(path)),
                 qPrintable(told));
        QVERIFY(QDir(dir.path()).isEmpty());
        return;
    }
    QFile file(path);
    if (damage == QLatin1String("cut")) {
        QVERIFY(file.resize(file.size() / 2));
    } else if (damage == QLatin1String("png")) {
        QVERIFY(shown.save(path, "PNG"));
    } else if (damage == QLatin1String("remove")) {
        QVERIFY(file.remove());
    }

    form.reset();
    form = std::make_unique<Form1>();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    const QVector<PictureBox::Drawing> before = control<PictureBox>("picAusgabe")->drawings();
    told.clear();
    closer = closeBoxWhenOpen(QStringLiteral("boardOpenErrorBox"),
                              [&told](QMessageBox* box) { told = box->text(); });
    QCOMPARE(form->openBoard(path), reason.isEmpty());
    QCoreApplication::processEvents();
    if (reason.isEmpty()) {
        QVERIFY(told.isEmpty());
        QCOMPARE(form->grab().toImage(), shown);
        return;
    }
    QVERIFY2(told.contains(reason) && told.contains(QDir::toNativeSeparators(path)),
             qPrintable(told));
    QVERIFY(control<PictureBox>("picAusgabe")->drawings() == before);
    QCOMPARE(form->rangeBase(), 0);
}

// A board opened while the S(n) chart yields stops the chart: nothing is drawn over the opened
// board, and the history, begun before the board came, gives no step that would take back into
// the old board.
void TestApp::boardOpenedWhileSumChartYields() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("leer.teiler"));
    action("cmdloesch")->trigger();
    QVERIFY(form->saveBoardTo(path));
    const QVector<PictureBox::Drawing> saved = control<PictureBox>("picAusgabe")->drawings();
    action("cmdSkala")->trigger();
    auto* canvas = control<PictureBox>("picAusgabe");
    canvas->setRecording(true);
    windowcases::AfterColumns after(*canvas, 100, [&] { QVERIFY(form->openBoard(path)); });
    action("cmdTeilersumme")->trigger();
    const QVector<PictureBox::Drawing> drawn = canvas->drawings();
    QVERIFY(drawn == saved);
    QVERIFY(!form->boardModified());
    QVERIFY(!action("cmdRueckgaengig")->isEnabled());
    action("cmdRueckgaengig")->trigger();
    QVERIFY(canvas->drawings() == drawn);
}

// What the board has been through, step by step, and what the window then says of it: the
// question before a changed board goes, the title with the file's name and the modified mark,
// and the file Ctrl+S writes over.
void TestApp::boardAsDocument_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("asked");    // the question before dropping came
    QTest::addColumn<bool>("open");     // the window is still open at the end
    QTest::addColumn<QString>("title"); // at the end, with Qt's place for the mark
    QTest::addColumn<bool>("modified");
    const QString unnamed = QStringLiteral("Unbenannt[*] – Teiler");
    const QString named = QStringLiteral("tafel.teiler[*] – Teiler");
    QTest::newRow("unchanged, closed")
        << QStringList{"close"} << false << false << "Teiler" << false;
    QTest::newRow("a stroke, closed, Abbrechen")
        << QStringList{"stroke", "close:Cancel"} << true << true << unnamed << true;
    QTest::newRow("a stroke, closed, Verwerfen")
        << QStringList{"stroke", "close:Discard"} << true << false << unnamed << true;
    QTest::newRow("saved, a stroke, Ctrl+S")
        << QStringList{"chart", "saveTo", "stroke", "save"} << false << true << named << false;
    QTest::newRow("saved, a stroke, undone")
        << QStringList{"saveTo", "stroke", "undo"} << false << true << named << false;
    QTest::newRow("saved, a stroke, closed, Speichern")
        << QStringList{"saveTo", "stroke", "close:Save"} << true << false << named << false;
    QTest::newRow("opened, a chart, Neue Tafel, Verwerfen")
        << QStringList{"saveTo", "open", "chart", "new:Discard"} << true << true << "Teiler"
        << false;
}

void TestApp::boardAsDocument() {
    QFETCH(QStringList, steps);
    QFETCH(bool, asked);
    QFETCH(bool, open);
    QFETCH(QString, title);
    QFETCH(bool, modified);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    auto* canvas = control<PictureBox>("picAusgabe");
    const QVector<PictureBox::Drawing> atStart = canvas->drawings();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tafel.teiler"));
    bool wasAsked = false;
    std::unique_ptr<QTimer> answer;
    for (const QString& step : steps) {
        const QString button = step.section(QLatin1Char(':'), 1);
        if (!button.isEmpty())
            answer = closeBoxWhenOpen(QStringLiteral("saveQuestionBox"), [&](QMessageBox* box) {
                wasAsked = true;
                const auto which = button == QLatin1String("Save")      ? QMessageBox::Save
                                   : button == QLatin1String("Discard") ? QMessageBox::Discard
                                                                        : QMessageBox::Cancel;
                box->button(which)->click();
            });
        if (step == QLatin1String("stroke")) {
            QTest::mousePress(canvas, Qt::RightButton, {}, canvas->toPixel(5, 5).toPoint());
            QTest::mouseMove(canvas, canvas->toPixel(30, 20).toPoint());
            QTest::mouseRelease(canvas, Qt::RightButton, {}, canvas->toPixel(30, 20).toPoint());
        } else if (step == QLatin1String("chart")) {
            action("cmdSkala2")->trigger();
        } else if (step == QLatin1String("saveTo")) {
            QVERIFY(form->saveBoardTo(path));
        } else if (step == QLatin1String("save")) {
            action("cmdTafelSpeichern")->trigger();
        } else if (step == QLatin1String("open")) {
            QVERIFY(form->openBoard(path));
        } else if (step == QLatin1String("undo")) {
            action("cmdRueckgaengig")->trigger();
        } else if (step.startsWith(QLatin1String("close"))) {
            form->close();
        } else if (step.startsWith(QLatin1String("new"))) {
            action("cmdNeueTafel")->trigger();
            QVERIFY(canvas->drawings() == atStart);
        }
        QCoreApplication::processEvents();
    }
    answer.reset();
    QCOMPARE(wasAsked, asked);
    QCOMPARE(form->isVisible(), open);
    QCOMPARE(form->windowTitle(), title);
    QCOMPARE(form->isWindowModified(), modified);
    QCOMPARE(form->boardModified(), modified);
    // A board with a file and no changes draws what that file holds.
    if (!modified && title != QLatin1String("Teiler")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const std::optional<board::Board> kept = board::BoardFile::Read(file.readAll(), nullptr);
        QVERIFY(kept && kept->drawings == canvas->drawings());
    }
}

// Whatever fits into the boxes can be saved and opened again: the boxes hold no more than the
// board file takes, and a number the sheet cannot show is kept as what the window shows.
void TestApp::whateverIsTypedCanBeSaved_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("kept"); // characters the box holds
    QTest::newRow("40000 characters beside S")
        << "txtIter" << QString(40000, QLatin1Char('7')) << 32767;
    QTest::newRow("a long search coefficient")
        << "Text1(1)" << QString(1000, QLatin1Char('1')) << 1000;
    QTest::newRow("1e999 beside S, clicked") << "txtIter"
                                             << "1e999" << 5;
    QTest::newRow("40000 characters in the hit list")
        << "txtTreffer" << QString(40000, QLatin1Char('x')) << 32768;
}

void TestApp::whateverIsTypedCanBeSaved() {
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(int, kept);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QWidget* target = control<QWidget>(qPrintable(box));
    QGuiApplication::clipboard()->setText(text);
    target->setFocus();
    if (auto* line = qobject_cast<QLineEdit*>(target)) {
        line->clear();
        line->paste();
        QCOMPARE(line->text().size(), kept);
        // A click into the box shows its number on the sheet.
        QTest::mouseClick(line, Qt::LeftButton);
    } else {
        auto* list = qobject_cast<surface::MultiLineTextBox*>(target);
        list->clear();
        list->paste();
        QCOMPARE(list->toPlainText().size(), kept);
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("getippt.teiler"));
    QString told;
    const auto closer = closeBoxWhenOpen(QStringLiteral("boardSaveErrorBox"),
                                         [&told](QMessageBox* b) { told = b->text(); });
    QVERIFY2(form->saveBoardTo(path), qPrintable(told));
    const board::Board before = form->currentBoard();
    form = std::make_unique<Form1>();
    QVERIFY(form->openBoard(path));
    const board::Board after = form->currentBoard();
    QCOMPARE(after.iterText, before.iterText);
    QCOMPARE(after.coefficients, before.coefficients);
    QCOMPARE(after.hitList, before.hitList);
    QVERIFY(after.sheet == before.sheet);
}

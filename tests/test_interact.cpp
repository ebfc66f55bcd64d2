// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/history.h"
#include "charts/divisorcountchart.h"
#include "charts/divisorsumchart.h"
#include "charts/numberline.h"
#include "charts/palette.h"
#include "charts/skyline.h"
#include "interact/canvaspicker.h"
#include "interact/canvaszoom.h"
#include "interact/ink.h"
#include "interact/inkstrokes.h"
#include "interact/peninput.h"
#include "interact/wheelscroll.h"
#include "support.h"
#include "surface/fontchoice.h"
#include "surface/numbertext.h"
#include "surface/picturebox.h"
#include "surface/scrollbar.h"

#include <QApplication>
#include <QList>
#include <QMouseEvent>
#include <QPointF>
#include <QPointingDevice>
#include <QSet>
#include <QStringList>
#include <QTabletEvent>
#include <QTest>
#include <QTouchEvent>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <optional>

using interact::CanvasPicker;
using interact::CanvasZoom;
using interact::Ink;
using interact::InkStrokes;
using interact::PenInput;
using interact::WheelScroll;
using surface::NumberText;
using surface::PictureBox;
using namespace support;

Q_DECLARE_METATYPE(std::optional<double>)

namespace {

// The picker's button codes.
constexpr int leftButton = 1;
constexpr int rightButton = 2;
constexpr int middleButton = 4;
constexpr int penButton = PenInput::penButton;
constexpr int eraserButton = PenInput::eraserButton;

const QString drawHelp = QStringLiteral("Rechte Maustaste = Zeichnen");

// A canvas set up as the window's, in the bold type the number line leaves, and the variables
// the picker reads and writes, with the values the window starts with. Presses, moves and
// releases go straight to the picker, in canvas units.
struct Picker {
    std::unique_ptr<PictureBox> canvas = OutputCanvas();
    int rangeBase = 0;
    double currentNumber = 720;
    bool isDrawing = false;
    double lastDrawX = 0;
    double lastDrawY = 0;
    quint32 stroke = 0;
    bool abundanceShown = false;

    Picker() {
        canvas->FontBold = true;
        canvas->setRecording(true);
    }
    CanvasPicker::State state() {
        return {rangeBase, currentNumber, isDrawing, lastDrawX, lastDrawY, stroke};
    }
    void press(int button, double x, double y) {
        CanvasPicker::MouseDown(*canvas, state(), button, x, y, abundanceShown);
    }
    CanvasPicker::MoveResult move(double x, double y) {
        return CanvasPicker::MouseMove(*canvas, state(), x, y);
    }
    void release() { CanvasPicker::MouseUp(state()); }
    QVector<Call> calls(const QString& op) const { return CallsOf(canvas->records(), op); }
};

// The canvas of a Picker watched by a PenInput with the left button drawing, wired as the window
// wires them: the presses, moves and releases of both reach the picker, and each is written down
// as "down 2 10,20", "move 1 14,20" or "up 2 14,20" (button, point in pixels of the canvas).
// Events reach the canvas one straight after the other, without a pause.
struct PenBoard {
    Picker picker;
    PenInput* pen = new PenInput(*picker.canvas);
    InkStrokes strokes{*picker.canvas};
    QStringList heard;
    QList<int> fingers; // the touch-point ids of those down
    std::optional<QTest::QTouchEventWidgetSequence> touch;

    PenBoard() {
        pen->setLeftButtonDraws(true);
        // Touch events reach a canvas shown on the screen.
        picker.canvas->show();
        PictureBox* canvas = picker.canvas.get();
        listen(canvas, &PictureBox::mouseDown, &PictureBox::mouseMove, &PictureBox::mouseUp);
        listen(pen, &PenInput::mouseDown, &PenInput::mouseMove, &PenInput::mouseUp);
        // The pen's own strokes, after the window has heard of them.
        QObject::connect(pen, &PenInput::mouseDown, &strokes, &InkStrokes::mouseDown);
        QObject::connect(pen, &PenInput::mouseMove, &strokes, &InkStrokes::mouseMove);
        QObject::connect(pen, &PenInput::mouseUp, &strokes, &InkStrokes::mouseUp);
        QObject::connect(canvas, &PictureBox::mouseMove, &strokes, &InkStrokes::mouseMove);
    }
    template <class Source, class Signal>
    void listen(Source* source, Signal down, Signal move, Signal up) {
        QObject::connect(source, down, [this](int button, int, double x, double y) {
            write(QStringLiteral("down"), button, x, y);
            picker.press(button, x, y);
        });
        QObject::connect(source, move, [this](int button, int, double x, double y) {
            write(QStringLiteral("move"), button, x, y);
            picker.move(x, y);
        });
        QObject::connect(source, up, [this](int button, int, double x, double y) {
            write(QStringLiteral("up"), button, x, y);
            picker.release();
        });
    }
    void write(const QString& what, int button, double x, double y) {
        const QPoint at = picker.canvas->toPixel(x, y).toPoint();
        heard << QStringLiteral("%1 %2 %3,%4").arg(what).arg(button).arg(at.x()).arg(at.y());
    }

    // "mouse press 10,20; finger2 move 30,20; tip release 30,20; barrel press 5,5;
    // eraser move 7,5; finger cancel 0,0": a finger's event names the other fingers down as
    // staying put, a mouse move holds the left button and a tablet move the pen's ("eraser" is
    // the pen's other end). "held" after the point keeps the button held in a release as well,
    // "free" lifts it in a move.
    void deliver(const QString& events) {
        static QPointingDevice* const touchScreen = QTest::createTouchDevice();
        static QPointingDevice* const stylus = new QPointingDevice(
            QStringLiteral("pen"), 4712, QInputDevice::DeviceType::Stylus,
            QPointingDevice::PointerType::Pen,
            QInputDevice::Capability::Position | QInputDevice::Capability::Pressure, 1, 3);
        static QPointingDevice* const eraser = new QPointingDevice(
            QStringLiteral("pen"), 4712, QInputDevice::DeviceType::Stylus,
            QPointingDevice::PointerType::Eraser,
            QInputDevice::Capability::Position | QInputDevice::Capability::Pressure, 1, 3);
        PictureBox* canvas = picker.canvas.get();
        for (const QString& event : events.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QStringList words = event.simplified().split(QLatin1Char(' '));
            const QString device = words.value(0);
            const QString action = words.value(1);
            const QStringList xy = words.value(2).split(QLatin1Char(','));
            const QPointF at(xy.value(0).toDouble(), xy.value(1).toDouble());
            const bool held = words.contains(QStringLiteral("held"));
            const bool free = words.contains(QStringLiteral("free"));
            const QPointF global = canvas->mapToGlobal(at);
            if (device == QLatin1String("mouse")) {
                const QEvent::Type type =
                    action == QLatin1String("press")  ? QEvent::MouseButtonPress
                    : action == QLatin1String("move") ? QEvent::MouseMove
                                                      : QEvent::MouseButtonRelease;
                const Qt::MouseButton button =
                    type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
                const Qt::MouseButtons buttons =
                    type == QEvent::MouseButtonPress || (type == QEvent::MouseMove && !free) || held
                        ? Qt::LeftButton
                        : Qt::NoButton;
                QMouseEvent e(type, at, at, global, button, buttons, Qt::NoModifier);
                QApplication::sendEvent(canvas, &e);
            } else if (device.startsWith(QLatin1String("finger"))) {
                const int id = device.endsWith(QLatin1Char('2')) ? 2 : 1;
                if (action == QLatin1String("cancel")) {
                    QTouchEvent cancel(QEvent::TouchCancel, touchScreen);
                    QApplication::sendEvent(canvas, &cancel);
                    // The fingers are lifted afterwards, for Qt: the canvas has no press open
                    // any more and takes no notice.
                    if (touch) {
                        for (const int lifted : std::as_const(fingers))
                            touch->release(lifted, at.toPoint(), canvas);
                        touch->commit();
                    }
                    fingers.clear();
                    continue;
                }
                if (!touch)
                    touch.emplace(QTest::touchEvent(canvas, touchScreen, false));
                for (const int other : std::as_const(fingers))
                    if (other != id)
                        touch->stationary(other);
                if (action == QLatin1String("press")) {
                    touch->press(id, at.toPoint(), canvas);
                    fingers << id;
                } else if (action == QLatin1String("release")) {
                    touch->release(id, at.toPoint(), canvas);
                    fingers.removeOne(id);
                } else {
                    touch->move(id, at.toPoint(), canvas);
                }
                touch->commit();
            } else {
                const Qt::MouseButton tip =
                    device == QLatin1String("barrel") ? Qt::MiddleButton : Qt::LeftButton;
                const QEvent::Type type = action == QLatin1String("press")  ? QEvent::TabletPress
                                          : action == QLatin1String("move") ? QEvent::TabletMove
                                                                            : QEvent::TabletRelease;
                const Qt::MouseButton button = type == QEvent::TabletMove ? Qt::NoButton : tip;
                const Qt::MouseButtons buttons = (type == QEvent::TabletRelease && !held) || free
                                                     ? Qt::NoButton
                                                     : Qt::MouseButtons(tip);
                QTabletEvent e(type, device == QLatin1String("eraser") ? eraser : stylus, at,
                               global, buttons ? 0.5 : 0.0, 0, 0, 0, 0, 0, Qt::NoModifier, button,
                               buttons);
                QApplication::sendEvent(canvas, &e);
            }
        }
    }
};

// The canvas of a PenBoard in a frame as the window's (the frame scaled in hundredths, the
// canvas's Left at 1 - HScAusgabe and its Top and the strip's at vscHoch - 24), with the zoom
// watching it after the pen, as in the window.
struct ZoomBoard {
    PenBoard board;
    PictureBox frame;
    PictureBox strip{&frame};
    surface::ScrollBar across{Qt::Horizontal, 0, 2200};
    surface::ScrollBar down{Qt::Vertical, 100, 0};
    std::unique_ptr<CanvasZoom> zoom;
    PictureBox& canvas = *board.picker.canvas;

    ZoomBoard() {
        frame.setBorder(PictureBox::Border::Flat);
        frame.resize(717, 553);
        frame.Scale(0, 0, 100, 100);
        canvas.setParent(&frame);
        canvas.show();
        strip.resize(25, canvas.height());
        QObject::connect(&across, &QScrollBar::valueChanged, &frame,
                         [this] { frame.moveChild(&canvas, 1 - across.Value(), std::nullopt); });
        QObject::connect(&down, &QScrollBar::valueChanged, &frame, [this] {
            for (QWidget* box : {static_cast<QWidget*>(&canvas), static_cast<QWidget*>(&strip)})
                frame.moveChild(box, std::nullopt, down.Value() - 24);
        });
        down.SetValue(0);
        frame.moveChild(&canvas, 1, -24);
        zoom =
            std::make_unique<CanvasZoom>(CanvasZoom::Controls{frame, canvas, strip, across, down});
        frame.show();
    }
    ~ZoomBoard() {
        zoom.reset();
        canvas.setParent(nullptr); // the board's own
    }
    // The pixel of the picture at 100% that a point of the frame shows.
    QPointF pictureAt(QPointF framePoint) const {
        return (framePoint - QPointF(canvas.pos())) / zoom->zoom();
    }
    // Where the canvas's bottom-right corner is in the frame with both bars at their far ends.
    QPoint farCorner() {
        across.SetValue(across.Max());
        down.SetValue(down.Max());
        return canvas.geometry().bottomRight();
    }
};

} // namespace

class TestInteract : public QObject {
    Q_OBJECT

  public:
    // QTEST_MAIN calls it before the QApplication exists.
    static void initMain() { surface::FontChoice::PreferLiberation2(); }

  private slots:
    void pickColumn220_data();
    void pickColumn220();
    void pickSumAndCount_data();
    void pickSumAndCount();
    void pickWritesEveryDivisor_data();
    void pickWritesEveryDivisor();
    void pressWithoutPick_data();
    void pressWithoutPick();
    void moves_data();
    void moves();
    void freehandDrawing_data();
    void freehandDrawing();
    void rightPressAndReleaseDrawNothing();
    void leftPickDuringDragTurnsSegmentsBlack();
    void secondPickKeepsFirst_data();
    void secondPickKeepsFirst();
    void wheelTurnsAddUp_data();
    void wheelTurnsAddUp();
    void penTapOrDrag_data();
    void penTapOrDrag();
    void strokesStayApart_data();
    void strokesStayApart();
    void zoomKeepsThePoint_data();
    void zoomKeepsThePoint();
    void zoomedPressHitsItsColumn_data();
    void zoomedPressHitsItsColumn();
    void pinchZoomsAroundItsCentre_data();
    void pinchZoomsAroundItsCentre();
    void inkColours_data();
    void inkColours();
    void strokeInk_data();
    void strokeInk();
    void eraserTakesStrokesWhole_data();
    void eraserTakesStrokesWhole();
};

void TestInteract::pickColumn220_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<double>("fontSize");
    QTest::addColumn<QColor>("colour");
    const int divisors[] = {110, 55, 44, 22, 20, 11, 10, 5, 4, 2, 1};
    for (int k = 0; k < 11; ++k) {
        const double x = divisors[k] >= 100 ? 219.2 : divisors[k] >= 10 ? 219.4 : 219.6;
        QTest::addRow("divisor %d", divisors[k])
            << k << QStringLiteral(" %1 ").arg(divisors[k]) << x << double(k + 1) << 14.0 << black;
    }
    QTest::newRow("sum 284") << 11 << " 284 " << 219.2 << 15.0 << 16.0 << black;
    QTest::newRow("T = 12") << 12 << " 12 " << 219.4 << 13.0 << 12.0 << blue;
}

// A left press on the strip over column 220.
void TestInteract::pickColumn220() {
    QFETCH(int, index);
    QFETCH(QString, text);
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(double, fontSize);
    QFETCH(QColor, colour);
    Picker p;
    p.press(leftButton, 220, 0.5);
    p.release();
    const QVector<Call> prints = p.calls(QStringLiteral("Print"));
    QCOMPARE(prints.size(), 13);
    const Call& c = prints[index];
    QCOMPARE(c.text, text);
    QCOMPARE(Round4(c.x1), x);
    QCOMPARE(c.y1, y);
    QCOMPARE(c.fontSize, fontSize);
    QCOMPARE(c.color, colour);
    QVERIFY(c.bold);

    const QVector<Call> rings = p.calls(QStringLiteral("Circle"));
    QCOMPARE(rings.size(), 1);
    QCOMPARE(Round4(rings[0].x1), 219.8);
    QCOMPARE(rings[0].y1, 12.5);
    QCOMPARE(rings[0].radius, 0.4);
    QCOMPARE(rings[0].color, blue);
    QCOMPARE(rings[0].drawWidth, 1);
    QCOMPARE(p.currentNumber, 220.0);
    QCOMPARE(p.canvas->ForeColor, black);
    QCOMPARE(p.canvas->DrawWidth, 1);
    QVERIFY(!p.isDrawing);
}

void TestInteract::pickSumAndCount_data() {
    QTest::addColumn<int>("rangeBase");
    QTest::addColumn<double>("pressX");
    QTest::addColumn<bool>("abundance");
    QTest::addColumn<double>("number");
    QTest::addColumn<QString>("sumText");
    QTest::addColumn<double>("sumX");
    QTest::addColumn<double>("sumY");
    QTest::addColumn<QColor>("sumColour");
    QTest::addColumn<QString>("countText");
    QTest::addColumn<double>("countX");
    QTest::addColumn<double>("countY");
    QTest::addColumn<double>("ringX");
    QTest::addColumn<double>("ringY");
    QTest::newRow("6 perfect") << 0 << 6.0 << false << 6.0 << " 6 " << 5.6 << 7.0 << green << " 4 "
                               << 5.6 << 5.0 << 5.8 << 4.5;
    QTest::newRow("28 perfect") << 0 << 28.0 << false << 28.0 << " 28 " << 27.4 << 9.0 << green
                                << " 6 " << 27.6 << 7.0 << 27.8 << 6.5;
    // Nine proper divisors: T = 10 is placed by W(9).
    QTest::newRow("496 perfect") << 0 << 496.0 << false << 496.0 << " 496 " << 495.2 << 13.0
                                 << green << " 10 " << 495.6 << 11.0 << 495.8 << 10.5;
    QTest::newRow("10 deficient") << 0 << 10.0 << false << 10.0 << " 8 " << 9.6 << 7.0 << red
                                  << " 4 " << 9.6 << 5.0 << 9.8 << 4.5;
    // S(12) - 12 = 4, placed by W(16); the colour still compares S(n) with n.
    QTest::newRow("12 abundance") << 0 << 12.0 << true << 12.0 << " 4 " << 11.4 << 9.0 << black
                                  << " 6 " << 11.6 << 7.0 << 11.8 << 6.5;
    QTest::newRow("10 abundance") << 0 << 10.0 << true << 10.0 << "-2 " << 9.6 << 7.0 << red
                                  << " 4 " << 9.6 << 5.0 << 9.8 << 4.5;
    QTest::newRow("6 abundance") << 0 << 6.0 << true << 6.0 << " 0 " << 5.6 << 7.0 << green << " 4 "
                                 << 5.6 << 5.0 << 5.8 << 4.5;
    QTest::newRow("1") << 0 << 1.0 << false << 1.0 << " 0 " << 0.6 << 4.0 << red << " 1 " << 0.6
                       << 2.0 << 0.8 << 1.5;
    QTest::newRow("left of 0.5 picks 0") << 0 << 0.2 << false << 0.0 << " 0 " << -0.4 << 4.0
                                         << green << " 1 " << -0.4 << 2.0 << -0.2 << 1.5;
    QTest::newRow("7.5 rounds up to 8") << 0 << 7.5 << false << 8.0 << " 7 " << 7.6 << 7.0 << red
                                        << " 4 " << 7.6 << 5.0 << 7.8 << 4.5;
    QTest::newRow("501 in 501...1000") << 500 << 1.0 << false << 501.0 << " 171 " << 0.2 << 7.0
                                       << red << " 4 " << 0.6 << 5.0 << 0.8 << 4.5;
    QTest::newRow("margin: 505") << 0 << 504.5 << false << 505.0 << " 107 " << 504.2 << 7.0 << red
                                 << " 4 " << 504.6 << 5.0 << 504.8 << 4.5;
    QTest::newRow("margin in 501...1000: 1005")
        << 500 << 504.5 << false << 1005.0 << " 627 " << 504.2 << 11.0 << red << " 8 " << 504.6
        << 9.0 << 504.8 << 8.5;
}

void TestInteract::pickSumAndCount() {
    QFETCH(int, rangeBase);
    QFETCH(double, pressX);
    QFETCH(bool, abundance);
    QFETCH(double, number);
    QFETCH(QString, sumText);
    QFETCH(double, sumX);
    QFETCH(double, sumY);
    QFETCH(QColor, sumColour);
    QFETCH(QString, countText);
    QFETCH(double, countX);
    QFETCH(double, countY);
    QFETCH(double, ringX);
    QFETCH(double, ringY);
    Picker p;
    p.rangeBase = rangeBase;
    p.abundanceShown = abundance;
    p.press(leftButton, pressX, -1);
    p.release();
    QCOMPARE(p.currentNumber, number);
    const QVector<Call> prints = p.calls(QStringLiteral("Print"));
    QVERIFY(prints.size() >= 2);
    const Call& sum = prints[prints.size() - 2];
    QCOMPARE(sum.text, sumText);
    QCOMPARE(Round4(sum.x1), sumX);
    QCOMPARE(sum.y1, sumY);
    QCOMPARE(sum.color, sumColour);
    QCOMPARE(sum.fontSize, 16.0);
    const Call& count = prints.last();
    QCOMPARE(count.text, countText);
    QCOMPARE(Round4(count.x1), countX);
    QCOMPARE(count.y1, countY);
    QCOMPARE(count.color, blue);
    QCOMPARE(count.fontSize, 12.0);
    const QVector<Call> rings = p.calls(QStringLiteral("Circle"));
    QCOMPARE(rings.size(), 1);
    QCOMPARE(Round4(rings[0].x1), ringX);
    QCOMPARE(rings[0].y1, ringY);
}

void TestInteract::pickWritesEveryDivisor_data() {
    QTest::addColumn<int>("rangeBase");
    QTest::newRow("1...500") << 0;
    QTest::newRow("501...1000") << 500;
}

// Every column of a range: the divisor labels, the sum and T(n) against divisors found by
// sieving, each label at its height and offset.
void TestInteract::pickWritesEveryDivisor() {
    QFETCH(int, rangeBase);
    Picker p;
    p.rangeBase = rangeBase;
    p.currentNumber = 0;
    for (int c = 1; c <= 500; ++c) {
        const long long n = rangeBase + c;
        p.canvas->clearRecords();
        p.press(leftButton, c, 0);
        // The largest divisor first.
        QVector<long long> divisors;
        for (auto d = ProperDivisors()[n].rbegin(); d != ProperDivisors()[n].rend(); ++d)
            divisors.append(*d);
        const long long sum = SumOf(n);
        const QVector<Call> prints = p.calls(QStringLiteral("Print"));
        QCOMPARE(prints.size(), divisors.size() + 2);
        for (qsizetype k = 0; k < divisors.size(); ++k) {
            QCOMPARE(prints[k].text, NumberText::of(divisors[k]) + QLatin1Char(' '));
            QCOMPARE(prints[k].y1, double(k + 1));
            QCOMPARE(prints[k].x1, c - 0.2 * NumberText::width(divisors[k]));
        }
        const Call& sumLabel = prints[divisors.size()];
        QCOMPARE(sumLabel.text, NumberText::of(sum) + QLatin1Char(' '));
        QCOMPARE(sumLabel.y1, double(divisors.size() + 4));
        QCOMPARE(sumLabel.color, sum < n ? red : sum > n ? black : green);
        QCOMPARE(prints.last().text, NumberText::of(divisors.size() + 1) + QLatin1Char(' '));
        QCOMPARE(p.currentNumber, double(n));
    }
}

void TestInteract::pressWithoutPick_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::newRow("left at y = 1") << leftButton << 100.0 << 1.0;
    QTest::newRow("left in the chart area") << leftButton << 100.0 << 20.0;
    QTest::newRow("middle on the strip") << middleButton << 100.0 << 0.5;
}

// Only the sheet is refreshed (by the window); the canvas and the number stay.
void TestInteract::pressWithoutPick() {
    QFETCH(int, button);
    QFETCH(double, x);
    QFETCH(double, y);
    Picker p;
    p.press(button, x, y);
    p.release();
    QVERIFY(p.canvas->records().isEmpty());
    QCOMPARE(p.currentNumber, 720.0);
    QVERIFY(!p.isDrawing);
}

void TestInteract::moves_data() {
    QTest::addColumn<int>("rangeBase");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<QString>("help");
    QTest::addColumn<std::optional<double>>("markerLeft"); // nothing: the marker stays
    const std::optional<double> stays;
    QTest::newRow("7 on the strip")
        << 0 << 7.0 << 0.5 << "n =  7; Anklicken!" << std::optional<double>(6.3);
    QTest::newRow("7 just below 1")
        << 0 << 7.0 << 0.9 << "n =  7; Anklicken!" << std::optional<double>(6.3);
    QTest::newRow("7.5 rounds up")
        << 0 << 7.5 << -2.5 << "n =  8; Anklicken!" << std::optional<double>(7.3);
    QTest::newRow("220") << 0 << 220.0 << 0.0 << "n =  220; Anklicken!"
                         << std::optional<double>(219.3);
    QTest::newRow("left edge") << 0 << 0.0 << 0.5 << "n =  0; Anklicken!"
                               << std::optional<double>(-0.7);
    QTest::newRow("501...1000") << 500 << 1.0 << 0.5 << "n =  501; Anklicken!"
                                << std::optional<double>(0.3);
    QTest::newRow("y = 1") << 0 << 7.0 << 1.0 << drawHelp << stays;
    QTest::newRow("chart area") << 0 << 100.0 << 20.0 << drawHelp << stays;
}

void TestInteract::moves() {
    QFETCH(int, rangeBase);
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(QString, help);
    QFETCH(std::optional<double>, markerLeft);
    Picker p;
    p.rangeBase = rangeBase;
    const CanvasPicker::MoveResult moved = p.move(x, y);
    QCOMPARE(moved.helpText, help);
    QCOMPARE(moved.markerLeft.has_value(), markerLeft.has_value());
    if (markerLeft)
        QCOMPARE(Round4(*moved.markerLeft), *markerLeft);
    // Moving draws nothing while no right button is held.
    QVERIFY(p.canvas->records().isEmpty());
}

void TestInteract::freehandDrawing_data() {
    QTest::addColumn<QList<QPointF>>("path");
    QTest::newRow("one segment") << QList<QPointF>{{100, 20}, {110, 22}};
    QTest::newRow("polyline into the strip")
        << QList<QPointF>{{100, 20}, {110, 22}, {120, 22}, {130, 0.5}, {20, 30}};
}

void TestInteract::freehandDrawing() {
    QFETCH(QList<QPointF>, path);
    Picker p;
    p.press(rightButton, path[0].x(), path[0].y());
    QVERIFY(p.isDrawing);
    QCOMPARE(p.canvas->ForeColor, darkBlue);
    QCOMPARE(p.canvas->DrawWidth, 2);
    for (qsizetype i = 1; i < path.size(); ++i)
        p.move(path[i].x(), path[i].y());
    p.release();
    QVERIFY(!p.isDrawing);
    p.move(50, 10); // after the release: no segment
    const QVector<Call> lines = p.calls(QStringLiteral("Line"));
    QCOMPARE(lines.size(), path.size() - 1);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QCOMPARE(lines[i].x1, path[i].x());
        QCOMPARE(lines[i].y1, path[i].y());
        QCOMPARE(lines[i].x2, path[i + 1].x());
        QCOMPARE(lines[i].y2, path[i + 1].y());
        QCOMPARE(lines[i].color, darkBlue);
        QCOMPARE(lines[i].drawWidth, 3);
    }
    QCOMPARE(p.lastDrawX, path.last().x());
    QCOMPARE(p.lastDrawY, path.last().y());
    // On the image: the first segment's middle is dark blue.
    const QPointF mid =
        p.canvas->toPixel((path[0].x() + path[1].x()) / 2, (path[0].y() + path[1].y()) / 2);
    QCOMPARE(p.canvas->image().pixelColor(mid.toPoint()), darkBlue);
}

void TestInteract::rightPressAndReleaseDrawNothing() {
    Picker p;
    p.press(rightButton, 200, 10);
    p.release();
    QVERIFY(!p.isDrawing);
    QVERIFY(p.canvas->records().isEmpty());
    QCOMPARE(p.lastDrawX, 200.0);
    QCOMPARE(p.lastDrawY, 10.0);
    // A 3-pixel line across a row: only here the pixels change.
    p.press(rightButton, 200, 22);
    p.move(210, 22);
    p.release();
    const QImage& image = p.canvas->image();
    const int row = p.canvas->toPixel(205, 22).toPoint().y();
    const int column = p.canvas->toPixel(205, 22).toPoint().x();
    for (int dy = -1; dy <= 1; ++dy)
        QCOMPARE(image.pixelColor(column, row + dy), darkBlue);
    QCOMPARE(image.pixelColor(column, row - 3), QColor(Qt::white));
    QCOMPARE(image.pixelColor(column, row + 3), QColor(Qt::white));
}

// A left pick while the right button is held: the drag goes on in the pick's black until the
// left release ends it.
void TestInteract::leftPickDuringDragTurnsSegmentsBlack() {
    Picker p;
    p.press(rightButton, 100, 20);
    p.move(110, 20);
    p.move(6, 0.5);
    p.press(leftButton, 6, 0.5);
    QVERIFY(p.isDrawing);
    QCOMPARE(p.currentNumber, 6.0);
    p.move(120, 20);
    p.release(); // the left button
    QVERIFY(!p.isDrawing);
    p.move(130, 20);
    p.release(); // the right button
    const QVector<Call> lines = p.calls(QStringLiteral("Line"));
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[0].color, darkBlue);
    QCOMPARE(lines[1].color, darkBlue);
    QCOMPARE(lines[2].color, black);
    QCOMPARE(lines[2].drawWidth, 3);
    // The segment after the pick starts where the drag last was.
    QCOMPARE(lines[2].x1, 6.0);
    QCOMPARE(lines[2].y1, 0.5);
    QCOMPARE(lines[2].x2, 120.0);
}

void TestInteract::secondPickKeepsFirst_data() {
    QTest::addColumn<double>("first");
    QTest::addColumn<double>("second");
    QTest::newRow("two columns") << 12.0 << 220.0;
    QTest::newRow("same column twice") << 220.0 << 220.0;
}

// Wherever the first pick drew, the picture keeps its pixels; everywhere else it looks as if
// the second pick had been made alone. Picking a column again leaves the picture as it was.
void TestInteract::secondPickKeepsFirst() {
    QFETCH(double, first);
    QFETCH(double, second);
    Picker both;
    Picker alone;
    both.press(leftButton, first, 0.5);
    both.release();
    const QImage firstOnly = both.canvas->image().convertToFormat(QImage::Format_RGB32);
    alone.press(leftButton, second, 0.5);
    alone.release();
    const QImage secondOnly = alone.canvas->image().convertToFormat(QImage::Format_RGB32);
    both.press(leftButton, second, 0.5);
    both.release();
    const QImage picture = both.canvas->image().convertToFormat(QImage::Format_RGB32);
    const QRgb white = qRgb(255, 255, 255);
    int drawn = 0;
    int differing = 0;
    QPoint firstDifference;
    for (int y = 0; y < picture.height(); ++y) {
        const auto* shown = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        const auto* kept = reinterpret_cast<const QRgb*>(firstOnly.constScanLine(y));
        const auto* other = reinterpret_cast<const QRgb*>(secondOnly.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const bool fromFirst = kept[x] != white;
            drawn += fromFirst;
            if (shown[x] != (fromFirst ? kept : other)[x] && differing++ == 0)
                firstDifference = QPoint(x, y);
        }
    }
    QVERIFY(drawn > 0);
    QVERIFY2(differing == 0, qPrintable(QStringLiteral("%1 pixels differ, the first at (%2, %3)")
                                            .arg(differing)
                                            .arg(firstDifference.x())
                                            .arg(firstDifference.y())));
}

void TestInteract::wheelTurnsAddUp_data() {
    QTest::addColumn<QList<int>>("angles"); // vertical angle deltas, one turn after the other
    QTest::addColumn<bool>("shift");
    QTest::addColumn<int>("units"); // moved in all, as added to the bar's Value
    const QList<int> fiveNotches(5, -120);
    const QList<int> fiveBack(5, 120);
    QTest::newRow("a notch up") << QList<int>{120} << false << 10;
    QTest::newRow("a notch down") << QList<int>{-120} << false << -10;
    QTest::newRow("shift, a notch down") << QList<int>{-120} << true << 10;
    // 3 1/3 units: 3 now, the third waits for more turns.
    QTest::newRow("a third of a notch") << QList<int>{40} << false << 3;
    QTest::newRow("a third of a notch down") << QList<int>{-40} << false << -3;
    QTest::newRow("three thirds of a notch") << QList<int>{40, 40, 40} << false << 10;
    QTest::newRow("+160 then -40 x3") << QList<int>{160, -40, -40, -40} << false << 3;
    QTest::newRow("+160 then -40 x4: 0 net") << QList<int>{160, -40, -40, -40, -40} << false << 0;
    QTest::newRow("shift, 5 notches right and 5 left: 0") << fiveNotches + fiveBack << true << 0;
    QTest::newRow("5 notches there and back: 0") << fiveBack + fiveNotches << false << 0;
    QTest::newRow("fine steps of 7, 20 there and 20 back: 0")
        << QList<int>(20, 7) + QList<int>(20, -7) << false << 0;
    QTest::newRow("shift, fine steps of 15, there, back and there again")
        << QList<int>(8, -15) + QList<int>(3, 15) + QList<int>(3, -15) << true << 10;
    QTest::newRow("a notch in fine steps, back in thirds: 0")
        << QList<int>(24, 5) + QList<int>{-40, -40, -40} << false << 0;
    QTest::newRow("a third back and forth: 0") << QList<int>{40, -40, 40, -40} << false << 0;
    // A fine wheel that wavers: each turn back keeps what the turns before had left short of a
    // unit.
    QTest::newRow("+11, -22, +11: 0") << QList<int>{11, -22, 11} << false << 0;
    QTest::newRow("wavering fine steps: 0") << QList<int>{13, -5, 13, -5, 13, -29} << true << 0;
}

// The wheel's turns add up: a bar stands at the whole units of their sum, so turning back by as
// much as was turned, in notches or fine steps, brings the canvas back exactly.
void TestInteract::wheelTurnsAddUp() {
    QFETCH(QList<int>, angles);
    QFETCH(bool, shift);
    QFETCH(int, units);
    WheelScroll wheel;
    int moved = 0;
    for (const int angle : angles) {
        const WheelScroll::Move move = wheel.turn(QPoint(0, angle), shift);
        QCOMPARE(move.across, shift);
        moved += move.units;
    }
    QCOMPARE(moved, units);
    // The other bar has turned nothing: a notch moves it by exactly 10.
    const WheelScroll::Move other = wheel.turn(QPoint(0, 120), !shift);
    QCOMPARE(other.across, !shift);
    QCOMPARE(other.units, shift ? 10 : -10);
}

void TestInteract::penTapOrDrag_data() {
    QTest::addColumn<QString>("events"); // as PenBoard::deliver reads them
    QTest::addColumn<QString>("heard");  // what the window hears, in order
    QTest::newRow("mouse, 4 pixels: a drag")
        << "mouse press 10,20; mouse move 14,20; mouse release 14,20"
        << "down 8 10,20; move 1 14,20; up 8 14,20";
    QTest::newRow("mouse, 3 pixels: a tap at the press")
        << "mouse press 10,20; mouse move 13,20; mouse release 13,20"
        << "move 1 13,20; down 1 10,20; up 1 10,20";
    // The first finger stays put, so each event names it again.
    QTest::newRow("a second finger is not followed")
        << "finger press 10,20; finger2 press 50,60; finger2 move 70,60; finger2 release 70,60; "
           "finger release 10,20"
        << "move 1 10,20; move 1 10,20; move 1 10,20; down 1 10,20; up 1 10,20";
    QTest::newRow("a touch cancelled before it moved picks nothing")
        << "finger press 10,20; finger cancel 0,0"
        << "";
    QTest::newRow("a touch cancelled during a drag ends the line")
        << "finger press 10,20; finger move 30,20; finger cancel 0,0"
        << "down 8 10,20; move 8 30,20; up 8 30,20";
    QTest::newRow("the pen's eraser end erases from the press, a short way too")
        << "eraser press 10,20; eraser move 11,20; eraser release 11,20"
        << "down 16 10,20; move 16 11,20; up 16 11,20";
    QTest::newRow("the barrel button stays the right button")
        << "barrel press 10,20; barrel move 30,20; barrel release 30,20"
        << "down 2 10,20; move 2 30,20; up 2 30,20";
}

void TestInteract::penTapOrDrag() {
    QFETCH(QString, events);
    QFETCH(QString, heard);
    PenBoard board;
    board.deliver(events);
    QCOMPARE(board.heard.join(QStringLiteral("; ")), heard);
}

void TestInteract::strokesStayApart_data() {
    // How each stroke ends before the next press comes, one event straight after the other. In
    // it D stands for the device, E for the point the stroke ended at and N for a point on the
    // way to the next stroke's press.
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("ending");
    QTest::newRow("mouse, a release that never came") << "mouse"
                                                      << "";
    QTest::newRow("mouse, released elsewhere, moved on without the button") << "mouse"
                                                                            << "D move N free";
    QTest::newRow("pen tip lifted, the event still holding the tip")
        << "tip"
        << "D release E held; D move N";
}

// Strokes drawn back to back, with no pause between a release and the next press, stay apart:
// each starts at its own press, and no segment runs from one stroke to the next. The strokes lie
// 30 pixels apart, each along a row, and start with a move too short to draw.
void TestInteract::strokesStayApart() {
    QFETCH(QString, device);
    QFETCH(QString, ending);
    PenBoard board;
    constexpr int strokes = 4;
    for (int k = 0; k < strokes; ++k) {
        const int y = 20 + 30 * k;
        QString stroke =
            QStringLiteral("D press 20,%1; D move 21,%1; D move 30,%1; D move 40,%1; ").arg(y) +
            ending;
        stroke.replace(QLatin1Char('D'), device)
            .replace(QLatin1Char('E'), QStringLiteral("40,%1").arg(y))
            .replace(QLatin1Char('N'), QStringLiteral("30,%1").arg(y + 15));
        board.deliver(stroke);
    }
    QList<QPoint> starts;
    for (const Call& line : board.picker.calls(QStringLiteral("Line"))) {
        const QPoint from = board.picker.canvas->toPixel(line.x1, line.y1).toPoint();
        const QPoint to = board.picker.canvas->toPixel(line.x2, line.y2).toPoint();
        QVERIFY2(from.y() == to.y(),
                 qPrintable(QStringLiteral("a segment from (%1, %2) to (%3, %4)")
                                .arg(from.x())
                                .arg(from.y())
                                .arg(to.x())
                                .arg(to.y())));
        if (starts.isEmpty() || starts.last().y() != from.y())
            starts << from;
    }
    QCOMPARE(starts.size(), strokes);
    for (int k = 0; k < strokes; ++k)
        QCOMPARE(starts[k], QPoint(20, 20 + 30 * k));
}

void TestInteract::zoomKeepsThePoint_data() {
    QTest::addColumn<QString>("steps"); // "in" and "out" step, a number zooms to it
    QTest::addColumn<double>("zoom");
    QTest::newRow("Ctrl+Plus twice: 150%") << "in in" << 1.5;
    QTest::newRow("Ctrl+Plus stops at 400%") << "in in in in in in in in" << 4.0;
    QTest::newRow("Ctrl+Minus from 250%: 200%") << "2.5 out" << 2.0;
    QTest::newRow("Ctrl+Minus stops at 100%") << "1.5 out out out" << 1.0;
    QTest::newRow("500% is 400%") << "5" << 4.0;
    QTest::newRow("400%, then Ctrl+0") << "4 1" << 1.0;
    QTest::newRow("250% and 400%, then 125%") << "2.5 4 1.25" << 1.25;
}

// Each step keeps the point of the picture under the pointer where it is, to the pixel. The canvas
// grows with the zoom, the strip of rows as high; with both bars at their far ends, the canvas's
// bottom-right corner lies where it does at 100%, within a hundredth of the frame.
void TestInteract::zoomKeepsThePoint() {
    QFETCH(QString, steps);
    QFETCH(double, zoom);
    ZoomBoard z;
    const QSize unzoomed = z.canvas.size();
    const QPoint corner = z.farCorner();
    z.across.SetValue(30);
    z.down.SetValue(20);
    const QPointF pointer(300, 200);
    for (const QString& step : steps.split(QLatin1Char(' '))) {
        const QPointF shown = z.pictureAt(pointer);
        if (step == QLatin1String("in"))
            z.zoom->zoomIn(pointer);
        else if (step == QLatin1String("out"))
            z.zoom->zoomOut(pointer);
        else
            z.zoom->zoomTo(step.toDouble(), pointer);
        const QPointF now = z.pictureAt(pointer);
        QVERIFY2(QLineF(now, shown).length() * z.zoom->zoom() <= 1,
                 qPrintable(QStringLiteral("%1: (%2, %3) shows (%4, %5) of the picture, not (%6, "
                                           "%7)")
                                .arg(step)
                                .arg(pointer.x())
                                .arg(pointer.y())
                                .arg(now.x())
                                .arg(now.y())
                                .arg(shown.x())
                                .arg(shown.y())));
    }
    QCOMPARE(z.zoom->zoom(), zoom);
    QCOMPARE(z.canvas.size(),
             QSize(qRound(unzoomed.width() * zoom), qRound(unzoomed.height() * zoom)));
    QCOMPARE(z.strip.height(), z.canvas.height());
    // A board keeps the scroll bars as at 100%: opened at 100%, it shows at the frame's bottom-left
    // corner what the zoom showed there, within a hundredth of the frame.
    const QPointF bottomLeft(1, z.frame.height() - 1);
    const QPointF shown = z.pictureAt(bottomLeft);
    ZoomBoard opened;
    opened.zoom->scrollTo(z.zoom->unzoomedAcross(), z.zoom->unzoomedDown());
    const QPointF there = opened.pictureAt(bottomLeft);
    QVERIFY2(std::abs(there.x() - shown.x()) <= 8 && std::abs(there.y() - shown.y()) <= 6,
             qPrintable(QStringLiteral("(%1, %2), zoomed (%3, %4)")
                            .arg(there.x())
                            .arg(there.y())
                            .arg(shown.x())
                            .arg(shown.y())));
    const QPoint far = z.farCorner();
    QVERIFY2(std::abs(far.x() - corner.x()) <= 8 && std::abs(far.y() - corner.y()) <= 6,
             qPrintable(QStringLiteral("(%1, %2), at 100% (%3, %4)")
                            .arg(far.x())
                            .arg(far.y())
                            .arg(corner.x())
                            .arg(corner.y())));
}

void TestInteract::zoomedPressHitsItsColumn_data() {
    QTest::addColumn<double>("zoom");
    QTest::addColumn<int>("column");
    QTest::newRow("column 220 at 250%") << 2.5 << 220;
    QTest::newRow("column 7 at 400%") << 4.0 << 7;
    QTest::newRow("column 499 at 125%") << 1.25 << 499;
}

// A click on the strip of the zoomed canvas picks the column shown under it, and a drag draws
// where it went: the pixels at the zoom are the pixels at 100% enlarged.
void TestInteract::zoomedPressHitsItsColumn() {
    QFETCH(double, zoom);
    QFETCH(int, column);
    PenBoard board;
    PictureBox& canvas = *board.picker.canvas;
    const QPointF unzoomed = canvas.toPixel(column, 0.5);
    const QPointF lineEnd = canvas.toPixel(column + 3, 12);
    canvas.setZoom(zoom);
    const auto at = [zoom](QPointF pixel) {
        const QPointF p = pixel * zoom;
        return QStringLiteral("%1,%2").arg(p.x()).arg(p.y());
    };
    board.deliver(QStringLiteral("mouse press %1; mouse release %1").arg(at(unzoomed)));
    QCOMPARE(board.picker.currentNumber, double(column));
    board.deliver(QStringLiteral("mouse press %1; mouse move %2; mouse release %2")
                      .arg(at(unzoomed), at(lineEnd)));
    const QVector<Call> lines = board.picker.calls(QStringLiteral("Line"));
    QVERIFY(!lines.isEmpty());
    QCOMPARE(qRound(lines.last().x2 * 10), (column + 3) * 10);
    QCOMPARE(qRound(lines.last().y2 * 10), 120);
}

void TestInteract::pinchZoomsAroundItsCentre_data() {
    QTest::addColumn<double>("from");
    QTest::addColumn<bool>("oneFingerFirst"); // the second finger comes in an event of its own
    QTest::addColumn<double>("spread");       // the fingers' span at the end by that at the start
    QTest::addColumn<double>("zoom");
    QTest::newRow("spread to 2.5 times: 250%") << 1.0 << false << 2.5 << 2.5;
    QTest::newRow("pinched to half at 400%: 200%") << 4.0 << false << 0.5 << 2.0;
    QTest::newRow("spread far: 400%") << 1.5 << true << 8.0 << 4.0;
    QTest::newRow("pinched at 100%: 100%") << 1.0 << true << 0.5 << 1.0;
}

// Two fingers on the canvas zoom it around the point between them, in steps of a percent, and
// neither pick nor draw: the first finger's press is dropped when the second comes.
void TestInteract::pinchZoomsAroundItsCentre() {
    QFETCH(double, from);
    QFETCH(bool, oneFingerFirst);
    QFETCH(double, spread);
    QFETCH(double, zoom);
    static QPointingDevice* const touchScreen = QTest::createTouchDevice();
    ZoomBoard z;
    z.across.SetValue(40);
    z.zoom->zoomTo(from, z.zoom->frameCentre());
    const QPointF centre(320, 260);
    const QPointF shown = z.pictureAt(centre);
    const QPointF half(40, 30);
    // Points of the frame, where the fingers stay while the canvas below them moves.
    const auto on = [&](QPointF framePoint) {
        return z.canvas.mapFrom(&z.frame, framePoint.toPoint());
    };
    if (oneFingerFirst) {
        QTest::touchEvent(&z.canvas, touchScreen).press(0, on(centre - half), &z.canvas);
        QTest::touchEvent(&z.canvas, touchScreen)
            .move(0, on(centre - half), &z.canvas)
            .press(1, on(centre + half), &z.canvas);
    } else {
        QTest::touchEvent(&z.canvas, touchScreen)
            .press(0, on(centre - half), &z.canvas)
            .press(1, on(centre + half), &z.canvas);
    }
    for (const double part : {0.5, 1.0}) {
        const QPointF apart = half * (1 + (spread - 1) * part);
        QTest::touchEvent(&z.canvas, touchScreen)
            .move(0, on(centre - apart), &z.canvas)
            .move(1, on(centre + apart), &z.canvas);
    }
    const QPointF apart = half * spread;
    QTest::touchEvent(&z.canvas, touchScreen)
        .release(0, on(centre - apart), &z.canvas)
        .release(1, on(centre + apart), &z.canvas);
    QCOMPARE(z.zoom->zoom(), zoom);
    QVERIFY(QLineF(z.pictureAt(centre), shown).length() * zoom <= 1.5);
    QVERIFY(z.board.picker.calls(QStringLiteral("Line")).isEmpty());
    QVERIFY(z.board.picker.calls(QStringLiteral("Print")).isEmpty());
    QCOMPARE(z.board.picker.currentNumber, 720.0);
}

namespace {

// A colour as the CIELAB coordinates of its linear RGB, seen with full colour vision or, through
// Machado, Oliveira and Fernandes's matrices of 2009, with a deuteranopia or a protanopia.
enum class Vision { Full, Deuteranopia, Protanopia };

std::array<double, 3> labOf(const QColor& colour, Vision vision) {
    const auto linear = [](double c) {
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    std::array<double, 3> rgb{linear(colour.redF()), linear(colour.greenF()),
                              linear(colour.blueF())};
    static constexpr double deutan[3][3] = {{0.367322, 0.860646, -0.227968},
                                            {0.280085, 0.672501, 0.047413},
                                            {-0.011820, 0.042940, 0.968881}};
    static constexpr double protan[3][3] = {{0.152286, 1.052583, -0.204868},
                                            {0.114503, 0.786281, 0.099216},
                                            {-0.003882, -0.048116, 1.051998}};
    if (vision != Vision::Full) {
        const auto& m = vision == Vision::Deuteranopia ? deutan : protan;
        const std::array<double, 3> v = rgb;
        for (int i = 0; i < 3; ++i)
            rgb[size_t(i)] = std::clamp(m[i][0] * v[0] + m[i][1] * v[1] + m[i][2] * v[2], 0.0, 1.0);
    }
    const double x = (0.4124 * rgb[0] + 0.3576 * rgb[1] + 0.1805 * rgb[2]) / 0.95047;
    const double y = 0.2126 * rgb[0] + 0.7152 * rgb[1] + 0.0722 * rgb[2];
    const double z = (0.0193 * rgb[0] + 0.1192 * rgb[1] + 0.9505 * rgb[2]) / 1.08883;
    const auto f = [](double t) {
        return t > 216.0 / 24389 ? std::cbrt(t) : (24389.0 / 27 * t + 16) / 116;
    };
    return {116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
}

// CIE76: about 2 is the least difference an eye notices side by side; 20 tells two inks apart at
// a glance.
double colourDistance(const QColor& a, const QColor& b, Vision vision = Vision::Full) {
    const auto p = labOf(a, vision);
    const auto q = labOf(b, vision);
    return std::hypot(p[0] - q[0], p[1] - q[1], p[2] - q[2]);
}

// Every colour the charts, the picks and the search draw on the canvas, in both palettes.
QList<QColor> chartColours() {
    Picker p;
    PictureBox& canvas = *p.canvas;
    charts::NumberLine::DrawNumberLine(canvas, 0);
    charts::Skyline::Draw(canvas, 0);
    QList<QColor> colours;
    for (const charts::Palette& palette :
         {charts::Palette::designed(), charts::Palette::colourBlind()}) {
        charts::DivisorCountChart::Draw(canvas, 0, palette);
        for (const int mode : {0, 1})
            charts::DivisorSumChart::DrawDivisorSums(canvas, 0, mode, {}, palette);
        for (const double number : {6.0, 10.0, 12.0})
            CanvasPicker::MouseDown(canvas, p.state(), leftButton, number, 0.5, false, palette);
        colours << palette.searchMark;
    }
    for (const Call& call : canvas.records())
        if (!colours.contains(call.color))
            colours << call.color;
    return colours;
}

} // namespace

void TestInteract::inkColours_data() {
    QTest::addColumn<int>("choice");
    for (int choice = 0; choice < Ink::colours; ++choice)
        QTest::newRow(qPrintable(Ink::name(choice).remove(QLatin1Char('&')))) << choice;
}

// Each colour of the pen reads on white; each but the designed dark blue differs from every colour
// a chart, a pick or a search draws; and all stay apart from each other for pupils with a red or
// a green weakness too.
void TestInteract::inkColours() {
    QFETCH(int, choice);
    const QColor colour = Ink::of(choice, false).colour;
    QVERIFY2(support::ContrastAgainstWhite(colour) >= 3.0,
             qPrintable(QString::number(support::ContrastAgainstWhite(colour))));
    if (choice != 0) {
        static const QList<QColor> drawn = chartColours();
        QVERIFY(drawn.size() >= 10);
        for (const QColor& chart : drawn)
            QVERIFY2(colourDistance(colour, chart) >= 20, qPrintable(chart.name()));
    }
    for (int other = 0; other < Ink::colours; ++other) {
        if (other == choice)
            continue;
        const QColor beside = Ink::of(other, false).colour;
        for (const Vision vision : {Vision::Full, Vision::Deuteranopia, Vision::Protanopia})
            QVERIFY2(
                colourDistance(colour, beside, vision) >= 20,
                qPrintable(QStringLiteral("%1, vision %2").arg(beside.name()).arg(int(vision))));
    }
}

void TestInteract::strokeInk_data() {
    QTest::addColumn<int>("button"); // of the drag, as the window hears it
    QTest::addColumn<int>("choice"); // of the pen's ink
    QTest::addColumn<bool>("thick");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<int>("width");
    const QColor purple = Ink::of(2, false).colour;
    QTest::newRow("right button, purple chosen: dark blue")
        << rightButton << 2 << true << darkBlue << 3;
    QTest::newRow("pen, purple") << penButton << 2 << false << purple << 3;
    QTest::newRow("pen, purple, Dick") << penButton << 2 << true << purple << 6;
    QTest::newRow("pen, Textmarker: Dick not heeded")
        << penButton << int(Ink::highlighterChoice) << true
        << Ink::of(Ink::highlighterChoice, false).colour << 14;
}

// The right button draws as designed whatever the pen's ink; the pen draws in its ink. Each drag
// is one stroke. A highlighter drawn over a number and back over itself leaves the number as it
// was and is nowhere darker than its colour.
void TestInteract::strokeInk() {
    QFETCH(int, button);
    QFETCH(int, choice);
    QFETCH(bool, thick);
    QFETCH(QColor, colour);
    QFETCH(int, width);
    Picker p;
    p.canvas->ForeColor = black;
    p.canvas->CurrentX = 104;
    p.canvas->CurrentY = 21;
    p.canvas->Print(QStringLiteral("220"));
    const QImage before = p.canvas->image();
    p.canvas->clearRecords();
    InkStrokes strokes(*p.canvas);
    strokes.setInk(Ink::of(choice, thick));
    // As the window wires them: the picker hears first.
    const QList<QPointF> path{{100, 20}, {112, 22}, {112, 18}, {100, 20}, {112, 20}};
    p.press(button, path[0].x(), path[0].y());
    strokes.mouseDown(button, 0, path[0].x(), path[0].y());
    for (qsizetype i = 1; i < path.size(); ++i) {
        p.move(path[i].x(), path[i].y());
        strokes.mouseMove(button, 0, path[i].x(), path[i].y());
    }
    p.release();
    strokes.mouseUp(button, 0, path.last().x(), path.last().y());
    const QVector<Call> lines = p.calls(QStringLiteral("Line"));
    QCOMPARE(lines.size(), path.size() - 1);
    for (const Call& line : lines) {
        QCOMPARE(line.color, colour);
        QCOMPARE(line.drawWidth, width);
    }
    QSet<quint32> numbers;
    for (const auto& d : p.canvas->drawings())
        if (d.kind == PictureBox::Drawing::Kind::Line)
            numbers << d.stroke;
    QCOMPARE(numbers.size(), 1);
    QVERIFY(!numbers.contains(0));
    if (choice != Ink::highlighterChoice || button != penButton)
        return;
    const QImage after = p.canvas->image();
    int inked = 0;
    const QRect near =
        QRectF(p.canvas->toPixel(96, 26), p.canvas->toPixel(122, 14)).toAlignedRect();
    for (int y = near.top(); y <= near.bottom(); ++y)
        for (int x = near.left(); x <= near.right(); ++x) {
            const QColor was = before.pixelColor(x, y);
            const QColor now = after.pixelColor(x, y);
            if (was != white)
                QCOMPARE(now, was);
            else if (now != white && ++inked)
                QCOMPARE(now, colour);
        }
    QVERIFY(inked > 0);
    // The same segment again covers nothing: a highlighter never drops what lies under it.
    const qsizetype count = p.canvas->drawings().size();
    p.canvas->drawStroke(p.canvas->drawings().constLast());
    QCOMPARE(p.canvas->drawings().size(), count + 1);
}

void TestInteract::eraserTakesStrokesWhole_data() {
    QTest::addColumn<QList<QPointF>>("path"); // of the eraser, in canvas units
    QTest::addColumn<QString>("erased");      // of the strokes: r right button, p pen, h marker
    QTest::newRow("a press on the pen's stroke") << QList<QPointF>{{120, 11.9}} << "p";
    QTest::newRow("a drag across two strokes") << QList<QPointF>{{130, 25}, {130, 5}} << "rp";
    QTest::newRow("a press on the highlighter over the strip") << QList<QPointF>{{120, 0.3}} << "h";
    QTest::newRow("a drag over charts and the number line, no stroke near")
        << QList<QPointF>{{300, 30}, {300, -2}} << "";
}

// The eraser takes every stroke it touches away whole and leaves charts, picks and the number
// line; its press to release is one step, and taking it back restores the picture pixel for
// pixel.
void TestInteract::eraserTakesStrokesWhole() {
    QFETCH(QList<QPointF>, path);
    QFETCH(QString, erased);
    Picker p;
    PictureBox& canvas = *p.canvas;
    board::History history(canvas);
    InkStrokes strokes(canvas);
    const board::WindowState state;
    history.begin(state);
    charts::NumberLine::DrawNumberLine(canvas, 0);
    charts::Skyline::Draw(canvas, 0);
    CanvasPicker::MouseDown(canvas, p.state(), leftButton, 120, 0.5, false);
    history.end(state);
    // Each stroke is one step, as the window makes it.
    const auto stroke = [&](int button, const Ink& ink, const QList<QPointF>& points) {
        strokes.setInk(ink);
        history.begin(state);
        p.press(button, points[0].x(), points[0].y());
        strokes.mouseDown(button, 0, points[0].x(), points[0].y());
        for (const QPointF& at : points) {
            p.move(at.x(), at.y());
            strokes.mouseMove(button, 0, at.x(), at.y());
        }
        p.release();
        strokes.mouseUp(button, 0, 0, 0);
        history.end(state);
        return canvas.drawings().constLast().stroke;
    };
    QHash<QChar, quint32> numbers;
    numbers[u'r'] = stroke(rightButton, Ink::designed(), {{100, 20}, {120, 20}, {140, 20}});
    numbers[u'p'] = stroke(penButton, Ink::of(2, false), {{100, 10}, {120, 12}, {140, 10}});
    numbers[u'h'] =
        stroke(penButton, Ink::of(Ink::highlighterChoice, false), {{110, 0.3}, {130, 0.3}});
    QCOMPARE(QSet<quint32>(numbers.cbegin(), numbers.cend()).size(), 3);
    const QVector<PictureBox::Drawing> before = canvas.drawings();
    const QImage picture = canvas.image();

    history.begin(state);
    strokes.setInk(Ink::designed());
    strokes.mouseDown(eraserButton, 0, path[0].x(), path[0].y());
    for (const QPointF& at : path)
        strokes.mouseMove(eraserButton, 0, at.x(), at.y());
    strokes.mouseUp(eraserButton, 0, 0, 0);
    history.end(state);

    QVector<PictureBox::Drawing> left = before;
    left.removeIf([&](const PictureBox::Drawing& d) {
        for (const QChar name : erased)
            if (d.stroke == numbers[name])
                return true;
        return false;
    });
    QCOMPARE(canvas.drawings(), left);
    if (erased.isEmpty())
        return;
    QVERIFY(canvas.image() != picture);
    QVERIFY(history.undo());
    QCOMPARE(canvas.drawings(), before);
    QVERIFY(canvas.image() == picture);
}

QTEST_MAIN(TestInteract)
#include "test_interact.moc"

// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1.h"
#include "interact/canvaspicker.h"
#include "surface/fontchoice.h"
#include "surface/numbertext.h"
#include "surface/picturebox.h"
#include "surface/shape.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QTest>
#include <QWindow>

#include <cmath>
#include <limits>
#include <memory>

using interact::CanvasPicker;
using surface::NumberText;
using surface::PictureBox;
using DrawCall = PictureBox::DrawCall;

namespace {

const QColor black(0, 0, 0);
const QColor red(255, 0, 0);
const QColor green(0, 255, 0);
const QColor blue(0, 0, 255);
const QColor darkBlue(0, 0, 128);
const QString drawHelp = QStringLiteral("Rechte Maustaste = Zeichnen");

// A canvas with the window's scale, 2 pixels per column and 10 per row, in a window of its own,
// wired to the picker the way the main window wires its canvas. Events go through the window,
// so they reach whichever widget lies under the pointer.
class Harness {
  public:
    Harness() {
        window.resize(1010, 390);
        canvas = new PictureBox(&window);
        canvas->setGeometry(0, 0, 1010, 390);
        canvas->Scale(0, 36, 505, -3);
        canvas->FontBold = true;
        marker = new surface::Shape(canvas);
        marker->resize(2, 20);
        canvas->moveChild(marker, 42, 0);
        QObject::connect(canvas, &PictureBox::mouseDown, [this](int b, int, double x, double y) {
            CanvasPicker::MouseDown(*canvas, state(), b, x, y, abundanceShown);
        });
        QObject::connect(canvas, &PictureBox::mouseMove, [this](int, int, double x, double y) {
            const auto moved = CanvasPicker::MouseMove(*canvas, state(), x, y);
            helpText = moved.helpText;
            if (moved.markerLeft)
                canvas->moveChild(marker, *moved.markerLeft, std::nullopt);
        });
        QObject::connect(canvas, &PictureBox::mouseUp,
                         [this](int, int, double, double) { CanvasPicker::MouseUp(state()); });
        window.show();
        exposed = QTest::qWaitForWindowExposed(&window);
        canvas->setRecording(true);
    }

    CanvasPicker::State state() {
        return {rangeBase, currentNumber, isDrawing, lastDrawX, lastDrawY};
    }
    QPoint at(double x, double y) const {
        return canvas->mapTo(&window, canvas->toPixel(x, y).toPoint());
    }
    QWindow* handle() { return window.windowHandle(); }
    void press(Qt::MouseButton b, double x, double y) {
        QTest::mousePress(handle(), b, {}, at(x, y));
    }
    void release(Qt::MouseButton b, double x, double y) {
        QTest::mouseRelease(handle(), b, {}, at(x, y));
    }
    void move(double x, double y) { QTest::mouseMove(handle(), at(x, y)); }

    QWidget window;
    PictureBox* canvas = nullptr;
    surface::Shape* marker = nullptr;
    bool exposed = false;
    int rangeBase = 0;
    double currentNumber = 720;
    bool isDrawing = false;
    double lastDrawX = 0;
    double lastDrawY = 0;
    bool abundanceShown = false;
    QString helpText;
};

QVector<DrawCall> CallsOf(const QVector<DrawCall>& calls, const QString& op) {
    QVector<DrawCall> out;
    for (const DrawCall& c : calls)
        if (c.op == op)
            out.append(c);
    return out;
}

double Round4(double v) {
    return std::round(v * 10000) / 10000;
}

// The texts printed on a sheet after its last Cls, joined by "|"; "" when it stayed empty.
QString SheetTexts(const QVector<DrawCall>& calls, bool* cleared) {
    QStringList texts;
    *cleared = false;
    for (const DrawCall& c : calls) {
        if (c.op == QStringLiteral("Cls")) {
            texts.clear();
            *cleared = true;
        } else if (c.op == QStringLiteral("Print")) {
            texts << c.text;
        }
    }
    return texts.join(QLatin1Char('|'));
}

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
    void markerLetsMouseThrough();
    void secondPickKeepsFirst_data();
    void secondPickKeepsFirst();

    void windowPickShowsFactorization_data();
    void windowPickShowsFactorization();
    void windowPressRefreshesSheet_data();
    void windowPressRefreshesSheet();
    void windowMarkerAndDrawing();
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

// A real left press on the strip over column 220.
void TestInteract::pickColumn220() {
    QFETCH(int, index);
    QFETCH(QString, text);
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(double, fontSize);
    QFETCH(QColor, colour);
    Harness h;
    QVERIFY(h.exposed);
    h.press(Qt::LeftButton, 220, 0.5);
    h.release(Qt::LeftButton, 220, 0.5);
    const QVector<DrawCall> prints = CallsOf(h.canvas->records(), QStringLiteral("Print"));
    QCOMPARE(prints.size(), 13);
    const DrawCall& c = prints[index];
    QCOMPARE(c.text, text);
    QCOMPARE(Round4(c.x1), x);
    QCOMPARE(c.y1, y);
    QCOMPARE(c.fontSize, fontSize);
    QCOMPARE(c.color, colour);
    QVERIFY(c.bold);

    const QVector<DrawCall> rings = CallsOf(h.canvas->records(), QStringLiteral("Circle"));
    QCOMPARE(rings.size(), 1);
    QCOMPARE(Round4(rings[0].x1), 219.8);
    QCOMPARE(rings[0].y1, 12.5);
    QCOMPARE(rings[0].radius, 0.4);
    QCOMPARE(rings[0].color, blue);
    QCOMPARE(rings[0].drawWidth, 1);
    QCOMPARE(h.currentNumber, 220.0);
    QCOMPARE(h.canvas->ForeColor, black);
    QCOMPARE(h.canvas->DrawWidth, 1);
    QVERIFY(!h.isDrawing);
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
    Harness h;
    QVERIFY(h.exposed);
    h.rangeBase = rangeBase;
    h.abundanceShown = abundance;
    h.press(Qt::LeftButton, pressX, -1);
    h.release(Qt::LeftButton, pressX, -1);
    QCOMPARE(h.currentNumber, number);
    const QVector<DrawCall> prints = CallsOf(h.canvas->records(), QStringLiteral("Print"));
    QVERIFY(prints.size() >= 2);
    const DrawCall& sum = prints[prints.size() - 2];
    QCOMPARE(sum.text, sumText);
    QCOMPARE(Round4(sum.x1), sumX);
    QCOMPARE(sum.y1, sumY);
    QCOMPARE(sum.color, sumColour);
    QCOMPARE(sum.fontSize, 16.0);
    const DrawCall& count = prints.last();
    QCOMPARE(count.text, countText);
    QCOMPARE(Round4(count.x1), countX);
    QCOMPARE(count.y1, countY);
    QCOMPARE(count.color, blue);
    QCOMPARE(count.fontSize, 12.0);
    const QVector<DrawCall> rings = CallsOf(h.canvas->records(), QStringLiteral("Circle"));
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
// plain search, each label at its height and offset.
void TestInteract::pickWritesEveryDivisor() {
    QFETCH(int, rangeBase);
    PictureBox canvas;
    canvas.resize(1010, 390);
    canvas.Scale(0, 36, 505, -3);
    canvas.setRecording(true);
    int base = rangeBase;
    double current = 0;
    bool drawing = false;
    double lx = 0;
    double ly = 0;
    for (int c = 1; c <= 500; ++c) {
        const long long n = rangeBase + c;
        canvas.clearRecords();
        CanvasPicker::MouseDown(canvas, {base, current, drawing, lx, ly}, 1, c, 0, false);
        QVector<long long> divisors;
        long long sum = 0;
        for (long long s = n / 2; s >= 1; --s) {
            if (n % s == 0) {
                divisors.append(s);
                sum += s;
            }
        }
        const QVector<DrawCall> prints = CallsOf(canvas.records(), QStringLiteral("Print"));
        QCOMPARE(prints.size(), divisors.size() + 2);
        for (qsizetype k = 0; k < divisors.size(); ++k) {
            QCOMPARE(prints[k].text, NumberText::of(divisors[k]) + QLatin1Char(' '));
            QCOMPARE(prints[k].y1, double(k + 1));
            QCOMPARE(prints[k].x1, c - 0.2 * NumberText::width(divisors[k]));
        }
        const DrawCall& sumLabel = prints[divisors.size()];
        QCOMPARE(sumLabel.text, NumberText::of(sum) + QLatin1Char(' '));
        QCOMPARE(sumLabel.y1, double(divisors.size() + 4));
        QCOMPARE(sumLabel.color, sum < n ? red : sum > n ? black : green);
        QCOMPARE(prints.last().text, NumberText::of(divisors.size() + 1) + QLatin1Char(' '));
        QCOMPARE(current, double(n));
    }
}

void TestInteract::pressWithoutPick_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::newRow("left at y = 1") << int(Qt::LeftButton) << 100.0 << 1.0;
    QTest::newRow("left in the chart area") << int(Qt::LeftButton) << 100.0 << 20.0;
    QTest::newRow("middle on the strip") << int(Qt::MiddleButton) << 100.0 << 0.5;
}

// Only the sheet is refreshed (by the window); the canvas and the number stay.
void TestInteract::pressWithoutPick() {
    QFETCH(int, button);
    QFETCH(double, x);
    QFETCH(double, y);
    Harness h;
    QVERIFY(h.exposed);
    const auto b = static_cast<Qt::MouseButton>(button);
    h.press(b, x, y);
    h.release(b, x, y);
    QVERIFY(h.canvas->records().isEmpty());
    QCOMPARE(h.currentNumber, 720.0);
    QVERIFY(!h.isDrawing);
}

void TestInteract::moves_data() {
    QTest::addColumn<int>("rangeBase");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<QString>("help");
    QTest::addColumn<double>("markerLeft");
    QTest::newRow("7 on the strip") << 0 << 7.0 << 0.5 << "n =  7; Anklicken!" << 6.3;
    QTest::newRow("7 just below 1") << 0 << 7.0 << 0.9 << "n =  7; Anklicken!" << 6.3;
    QTest::newRow("7.5 rounds up") << 0 << 7.5 << -2.5 << "n =  8; Anklicken!" << 7.3;
    QTest::newRow("220") << 0 << 220.0 << 0.0 << "n =  220; Anklicken!" << 219.3;
    QTest::newRow("left edge") << 0 << 0.0 << 0.5 << "n =  0; Anklicken!" << -0.7;
    QTest::newRow("501...1000") << 500 << 1.0 << 0.5 << "n =  501; Anklicken!" << 0.3;
    QTest::newRow("y = 1") << 0 << 7.0 << 1.0 << drawHelp << 42.0;
    QTest::newRow("chart area") << 0 << 100.0 << 20.0 << drawHelp << 42.0;
}

void TestInteract::moves() {
    QFETCH(int, rangeBase);
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(QString, help);
    QFETCH(double, markerLeft);
    Harness h;
    QVERIFY(h.exposed);
    h.rangeBase = rangeBase;
    h.move(x, y);
    QCOMPARE(h.helpText, help);
    QCOMPARE(Round4(PictureBox::childLeft(h.marker)), markerLeft);
    QCOMPARE(h.marker->x(), h.canvas->childX(markerLeft));
    // Moving draws nothing while no right button is held.
    QVERIFY(h.canvas->records().isEmpty());
}

void TestInteract::freehandDrawing_data() {
    QTest::addColumn<QList<QPointF>>("path");
    QTest::newRow("one segment") << QList<QPointF>{{100, 20}, {110, 22}};
    QTest::newRow("polyline into the strip")
        << QList<QPointF>{{100, 20}, {110, 22}, {120, 22}, {130, 0.5}, {20, 30}};
}

void TestInteract::freehandDrawing() {
    QFETCH(QList<QPointF>, path);
    Harness h;
    QVERIFY(h.exposed);
    h.press(Qt::RightButton, path[0].x(), path[0].y());
    QVERIFY(h.isDrawing);
    QCOMPARE(h.canvas->ForeColor, darkBlue);
    QCOMPARE(h.canvas->DrawWidth, 2);
    for (qsizetype i = 1; i < path.size(); ++i)
        h.move(path[i].x(), path[i].y());
    h.release(Qt::RightButton, path.last().x(), path.last().y());
    QVERIFY(!h.isDrawing);
    h.move(50, 10); // after the release: no segment
    const QVector<DrawCall> lines = CallsOf(h.canvas->records(), QStringLiteral("Line"));
    QCOMPARE(lines.size(), path.size() - 1);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QCOMPARE(lines[i].x1, path[i].x());
        QCOMPARE(lines[i].y1, path[i].y());
        QCOMPARE(lines[i].x2, path[i + 1].x());
        QCOMPARE(lines[i].y2, path[i + 1].y());
        QCOMPARE(lines[i].color, darkBlue);
        QCOMPARE(lines[i].drawWidth, 3);
    }
    QCOMPARE(h.lastDrawX, path.last().x());
    QCOMPARE(h.lastDrawY, path.last().y());
    // On the image: the first segment's middle is dark blue.
    const QPointF mid =
        h.canvas->toPixel((path[0].x() + path[1].x()) / 2, (path[0].y() + path[1].y()) / 2);
    QCOMPARE(h.canvas->image().pixelColor(mid.toPoint()), darkBlue);
}

void TestInteract::rightPressAndReleaseDrawNothing() {
    Harness h;
    QVERIFY(h.exposed);
    h.press(Qt::RightButton, 200, 10);
    h.release(Qt::RightButton, 200, 10);
    QVERIFY(!h.isDrawing);
    QVERIFY(h.canvas->records().isEmpty());
    QCOMPARE(h.lastDrawX, 200.0);
    QCOMPARE(h.lastDrawY, 10.0);
    // A 3-pixel line across a row: only here the pixels change.
    h.press(Qt::RightButton, 200, 22);
    h.move(210, 22);
    h.release(Qt::RightButton, 210, 22);
    const QImage& image = h.canvas->image();
    const int row = h.canvas->toPixel(205, 22).toPoint().y();
    const int column = h.canvas->toPixel(205, 22).toPoint().x();
    for (int dy = -1; dy <= 1; ++dy)
        QCOMPARE(image.pixelColor(column, row + dy), darkBlue);
    QCOMPARE(image.pixelColor(column, row - 3), QColor(Qt::white));
    QCOMPARE(image.pixelColor(column, row + 3), QColor(Qt::white));
}

// A left pick while the right button is held: the drag goes on in the pick's black until the
// left release ends it.
void TestInteract::leftPickDuringDragTurnsSegmentsBlack() {
    Harness h;
    QVERIFY(h.exposed);
    h.press(Qt::RightButton, 100, 20);
    h.move(110, 20);
    h.move(6, 0.5);
    h.press(Qt::LeftButton, 6, 0.5);
    QVERIFY(h.isDrawing);
    QCOMPARE(h.currentNumber, 6.0);
    h.move(120, 20);
    h.release(Qt::LeftButton, 120, 20);
    QVERIFY(!h.isDrawing);
    h.move(130, 20);
    h.release(Qt::RightButton, 130, 20);
    const QVector<DrawCall> lines = CallsOf(h.canvas->records(), QStringLiteral("Line"));
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

// The marker lies on the strip but presses and moves over it reach the canvas.
void TestInteract::markerLetsMouseThrough() {
    Harness h;
    QVERIFY(h.exposed);
    h.move(50, 0.5);
    QCOMPARE(PictureBox::childLeft(h.marker), 49.3);
    const QPoint inside = h.marker->geometry().center();
    const QPointF user = h.canvas->toUser(inside);
    QVERIFY(user.y() < 1);
    QCOMPARE(CanvasPicker::PickedColumn(user.x()), 50.0);
    const QPoint point = h.canvas->mapTo(&h.window, inside);
    QVERIFY(h.marker->geometry().contains(h.canvas->mapFrom(&h.window, point)));
    h.helpText.clear();
    QTest::mouseMove(h.handle(), point);
    QCOMPARE(h.helpText, QStringLiteral("n =  50; Anklicken!"));
    QTest::mousePress(h.handle(), Qt::LeftButton, {}, point);
    QTest::mouseRelease(h.handle(), Qt::LeftButton, {}, point);
    QCOMPARE(h.currentNumber, 50.0);
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
    Harness both;
    Harness alone;
    QVERIFY(both.exposed && alone.exposed);
    both.press(Qt::LeftButton, first, 0.5);
    both.release(Qt::LeftButton, first, 0.5);
    const QImage firstOnly = both.canvas->image().copy();
    alone.press(Qt::LeftButton, second, 0.5);
    alone.release(Qt::LeftButton, second, 0.5);
    const QImage& secondOnly = alone.canvas->image();
    both.press(Qt::LeftButton, second, 0.5);
    both.release(Qt::LeftButton, second, 0.5);
    const QImage& picture = both.canvas->image();
    const QRgb white = qRgb(255, 255, 255);
    int drawn = 0;
    int differing = 0;
    QPoint firstDifference;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const bool kept = firstOnly.pixel(x, y) != white;
            drawn += kept;
            if (picture.pixel(x, y) != (kept ? firstOnly : secondOnly).pixel(x, y) &&
                differing++ == 0)
                firstDifference = QPoint(x, y);
        }
    QVERIFY(drawn > 0);
    QVERIFY2(differing == 0, qPrintable(QStringLiteral("%1 pixels differ, the first at (%2, %3)")
                                            .arg(differing)
                                            .arg(firstDifference.x())
                                            .arg(firstDifference.y())));
}

// ---- the window ----

namespace {

// The shown window, with the point of the canvas at (x, y) in window coordinates. The hit list
// and the sheet cover the upper left of the canvas frame.
struct ShownForm {
    Form1 form;
    bool exposed = false;
    ShownForm() {
        form.show();
        exposed = QTest::qWaitForWindowExposed(&form);
        form.picZeichenblatt->setRecording(true);
        form.picAusgabe->setRecording(true);
    }
    QPoint at(double x, double y) {
        return form.picAusgabe->mapTo(&form, form.picAusgabe->toPixel(x, y).toPoint());
    }
    // Nothing but the canvas (and the marker, which takes no mouse events) lies at p.
    bool visible(QPoint p) { return form.childAt(p) == form.picAusgabe; }
    QWindow* handle() { return form.windowHandle(); }
    QString sheet(bool* cleared) { return SheetTexts(form.picZeichenblatt->records(), cleared); }
};

} // namespace

void TestInteract::windowPickShowsFactorization_data() {
    QTest::addColumn<double>("column");
    QTest::addColumn<bool>("abundance");
    QTest::addColumn<QString>("sumText");
    QTest::addColumn<QString>("sheet");
    QTest::newRow("12") << 12.0 << false << " 16 "
                        << " 12 =| 2 | 2 | 3 | 1 ";
    QTest::newRow("12 with the abundance mark") << 12.0 << true << " 4 "
                                                << " 12 =| 2 | 2 | 3 | 1 ";
    QTest::newRow("10 with the abundance mark") << 10.0 << true << "-2 "
                                                << " 10 =| 2 | 1 | 5 | 1 ";
    QTest::newRow("left of 0.5: empty sheet") << 0.2 << false << " 0 "
                                              << "";
}

void TestInteract::windowPickShowsFactorization() {
    QFETCH(double, column);
    QFETCH(bool, abundance);
    QFETCH(QString, sumText);
    QFETCH(QString, sheet);
    ShownForm s;
    QVERIFY(s.exposed);
    if (abundance)
        s.form.cmdTeilersumme2->trigger(); // draws the abundance chart and sets its mark
    const QPoint p = s.at(column, 0.5);
    QVERIFY(s.visible(p));
    QTest::mousePress(s.handle(), Qt::LeftButton, {}, p);
    QTest::mouseRelease(s.handle(), Qt::LeftButton, {}, p);
    QCOMPARE(s.form.currentNumber, std::floor(column + 0.5));
    const QVector<DrawCall> prints = CallsOf(s.form.picAusgabe->records(), QStringLiteral("Print"));
    QVERIFY(prints.size() >= 2);
    QCOMPARE(prints[prints.size() - 2].text, sumText);
    bool cleared = false;
    QCOMPARE(s.sheet(&cleared), sheet);
    QVERIFY(cleared);
}

void TestInteract::windowPressRefreshesSheet_data() {
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

// A press that picks nothing shows the current number, here the result of an S step.
void TestInteract::windowPressRefreshesSheet() {
    QFETCH(QString, typed);
    QFETCH(int, button);
    QFETCH(double, y);
    QFETCH(QString, sheet);
    ShownForm s;
    QVERIFY(s.exposed);
    s.form.txtIter->setText(typed);
    QTest::mouseClick(s.form.cmdIter, Qt::LeftButton);
    const double current = s.form.currentNumber;
    const QPoint p = s.at(20, y);
    QVERIFY(s.visible(p));
    const auto b = static_cast<Qt::MouseButton>(button);
    QTest::mousePress(s.handle(), b, {}, p);
    QTest::mouseRelease(s.handle(), b, {}, p);
    QCOMPARE(s.form.currentNumber, current);
    QVERIFY(CallsOf(s.form.picAusgabe->records(), QStringLiteral("Print")).isEmpty());
    bool cleared = false;
    QCOMPARE(s.sheet(&cleared), sheet);
    QVERIFY(cleared);
}

// Moves name the number and slide Shape1; a press on Shape1 picks the column below it; the
// right button draws dark blue lines 3 pixels wide.
void TestInteract::windowMarkerAndDrawing() {
    ShownForm s;
    QVERIFY(s.exposed);
    const QPoint strip = s.at(10, 0.5);
    QVERIFY(s.visible(strip));
    QTest::mouseMove(s.handle(), strip);
    QCOMPARE(s.form.txtHilfe->text(), QStringLiteral("n =  10; Anklicken!"));
    QCOMPARE(PictureBox::childLeft(s.form.Shape1), 9.3);
    QVERIFY(s.visible(s.at(10, 5)));
    QTest::mouseMove(s.handle(), s.at(10, 5));
    QCOMPARE(s.form.txtHilfe->text(), drawHelp);
    QCOMPARE(PictureBox::childLeft(s.form.Shape1), 9.3);

    const QPoint onMarker = s.form.Shape1->mapTo(&s.form, s.form.Shape1->rect().center());
    QVERIFY(s.visible(onMarker));
    QTest::mousePress(s.handle(), Qt::LeftButton, {}, onMarker);
    QTest::mouseRelease(s.handle(), Qt::LeftButton, {}, onMarker);
    QCOMPARE(s.form.currentNumber, 10.0);
    bool cleared = false;
    QCOMPARE(s.sheet(&cleared), QStringLiteral(" 10 =| 2 | 1 | 5 | 1 "));

    s.form.picAusgabe->clearRecords();
    QVERIFY(s.visible(s.at(5, 5)) && s.visible(s.at(12, 7)));
    QTest::mousePress(s.handle(), Qt::RightButton, {}, s.at(5, 5));
    QTest::mouseMove(s.handle(), s.at(8, 3));
    QTest::mouseMove(s.handle(), s.at(12, 7));
    QTest::mouseRelease(s.handle(), Qt::RightButton, {}, s.at(12, 7));
    QTest::mouseMove(s.handle(), s.at(15, 7));
    const QVector<DrawCall> lines = CallsOf(s.form.picAusgabe->records(), QStringLiteral("Line"));
    QCOMPARE(lines.size(), 2);
    for (const DrawCall& line : lines) {
        QCOMPARE(line.color, darkBlue);
        QCOMPARE(line.drawWidth, 3);
    }
    QVERIFY(!s.form.isDrawing);
}

QTEST_MAIN(TestInteract)
#include "test_interact.moc"

// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "interact/canvaspicker.h"
#include "support.h"
#include "surface/fontchoice.h"
#include "surface/numbertext.h"
#include "surface/picturebox.h"

#include <QList>
#include <QPointF>
#include <QStringList>
#include <QTest>

#include <memory>
#include <optional>

using interact::CanvasPicker;
using surface::NumberText;
using surface::PictureBox;
using namespace support;

Q_DECLARE_METATYPE(std::optional<double>)

namespace {

// The picker's button codes.
constexpr int leftButton = 1;
constexpr int rightButton = 2;
constexpr int middleButton = 4;

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
    bool abundanceShown = false;

    Picker() {
        canvas->FontBold = true;
        canvas->setRecording(true);
    }
    CanvasPicker::State state() {
        return {rangeBase, currentNumber, isDrawing, lastDrawX, lastDrawY};
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

QTEST_MAIN(TestInteract)
#include "test_interact.moc"

// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1.h"
#include "search/searchrun.h"
#include "search/steppers.h"
#include "surface/fontchoice.h"
#include "surface/multilinetextbox.h"
#include "surface/picturebox.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QtTest>

#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

using search::SearchRun;
using search::Steppers;
using surface::PictureBox;

namespace {

const QString crlf = QStringLiteral("\r\n");
const QColor stripYellow(255, 255, 0);
const QColor markBlue(0, 0, 150);
const QString thousandNines(1000, QLatin1Char('9'));
const double inf = std::numeric_limits<double>::infinity();

// S(n) for 0..limit by adding every d to its proper multiples: no trial division involved.
const std::vector<long long>& sieveSums() {
    static const std::vector<long long> sums = [] {
        std::vector<long long> s(1001, 0);
        for (long long d = 1; d <= 500; ++d)
            for (long long m = 2 * d; m <= 1000; m += d)
                s[m] += d;
        return s;
    }();
    return sums;
}

std::vector<long long> primesBetween(long long first, long long last) {
    std::vector<bool> composite(static_cast<std::size_t>(last) + 1, false);
    std::vector<long long> primes;
    for (long long p = 2; p <= last; ++p) {
        if (composite[p])
            continue;
        if (p >= first)
            primes.push_back(p);
        for (long long m = p * p; m <= last; m += p)
            composite[m] = true;
    }
    return primes;
}

std::vector<long long> hitsOf(double a, double b, double c, int rangeBase) {
    std::vector<long long> hits;
    for (long long n = rangeBase + 1; n <= rangeBase + 500; ++n)
        if (a * static_cast<double>(sieveSums()[n]) == b * static_cast<double>(n) + c)
            hits.push_back(n);
    return hits;
}

std::vector<long long> everyNumber(int rangeBase) {
    std::vector<long long> all;
    for (long long n = rangeBase + 1; n <= rangeBase + 500; ++n)
        all.push_back(n);
    return all;
}

QString hitLine(const std::vector<long long>& hits) {
    QString line;
    for (long long n : hits)
        line += QStringLiteral(" %1,").arg(n);
    return line;
}

QString expectedList(int rangeBase, const QString& line3, const QString& hits) {
    const QString range = rangeBase == 0 ? QStringLiteral("Trefferliste von 1 bis 500")
                                         : QStringLiteral("Trefferliste von 501 bis 1000");
    return QStringLiteral("\r\n") + range + QStringLiteral("\r\n") + line3 +
           QStringLiteral("\r\n"
                          "\r\n"
                          "  Zur Primfaktorzerlegung:\r\n"
                          "  1. Zahl einfärben (markieren)\r\n"
                          "  2. Rechte Maustaste klicken\r\n"
                          "  3. kopieren wählen\r\n"
                          "  4. Gelbes Feld anklicken\r\n"
                          "\r\n") +
           hits;
}

// A canvas with the coordinates of the output canvas, sized like a small piece of it.
std::unique_ptr<PictureBox> makeCanvas() {
    auto canvas = std::make_unique<PictureBox>();
    canvas->resize(5050, 390);
    canvas->Scale(0, 36, 505, -3);
    return canvas;
}

// Device-pixel rectangle strictly inside the user-unit box (x1, y1)-(x2, y2).
QRect innerPixels(PictureBox& canvas, double x1, double y1, double x2, double y2) {
    const qreal ratio = canvas.image().devicePixelRatio();
    const QRectF r =
        QRectF(canvas.toPixel(x1, y1) * ratio, canvas.toPixel(x2, y2) * ratio).normalized();
    return QRect(QPoint(int(std::ceil(r.left())) + 1, int(std::ceil(r.top())) + 1),
                 QPoint(int(std::floor(r.right())) - 2, int(std::floor(r.bottom())) - 2));
}

int pixelsOtherThan(const QImage& image, const QRect& area, const QColor& colour) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y).rgb() != colour.rgb())
                ++count;
    return count;
}

} // namespace

class TestSearch : public QObject {
    Q_OBJECT

  public:
    // QTEST_MAIN calls it before the QApplication exists.
    static void initMain() { surface::FontChoice::PreferLiberation2(); }

  private slots:
    void initTestCase();

    void steppers_data();
    void steppers();
    void stepperWritesOnlyPressedBox_data();
    void stepperWritesOnlyPressedBox();

    void wholeHitList_data();
    void wholeHitList();
    void hitsMatchIndependentComputation_data();
    void hitsMatchIndependentComputation();

    void marksThroughRecorder_data();
    void marksThroughRecorder();
    void drawingStateAfterRun_data();
    void drawingStateAfterRun();
    void secondRunRemovesMarks_data();
    void secondRunRemovesMarks();

    void listWrittenWhileHidden_data();
    void listWrittenWhileHidden();
    void listShowsAndCopiesLines_data();
    void listShowsAndCopiesLines();

  private:
    void setBoxes(const QString& a, const QString& b, const QString& c);
    std::unique_ptr<Form1> form;
};

void TestSearch::initTestCase() {
    form = std::make_unique<Form1>();
    QCOMPARE(primesBetween(1, 500).size(), std::size_t(95));
    QCOMPARE(primesBetween(501, 1000).size(), std::size_t(73));
}

void TestSearch::setBoxes(const QString& a, const QString& b, const QString& c) {
    form->Text1[Steppers::aBox]->setText(a);
    form->Text1[Steppers::bBox]->setText(b);
    form->Text1[Steppers::cBox]->setText(c);
}

// ---- Steppers -----------------------------------------------------------------------------

void TestSearch::steppers_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("up");
    QTest::addColumn<QString>("before");
    QTest::addColumn<std::optional<QString>>("after"); // nothing: the box is left alone

    const std::optional<QString> unchanged;
    const int a = Steppers::aBox, b = Steppers::bBox, c = Steppers::cBox;
    QTest::newRow("b - at 0 stays") << b << false << "0" << unchanged;
    QTest::newRow("b - at ' 0' stays") << b << false << " 0" << unchanged;
    QTest::newRow("b - at 1") << b << false << "1" << std::optional<QString>(" 0");
    QTest::newRow("b - at ' 1'") << b << false << " 1" << std::optional<QString>(" 0");
    QTest::newRow("b - at 0.5") << b << false << "0.5" << std::optional<QString>("-.5");
    QTest::newRow("b - at -.5 stays") << b << false << "-.5" << unchanged;
    QTest::newRow("b - on letters stays") << b << false << "abc" << unchanged;
    QTest::newRow("b - on empty stays") << b << false << "" << unchanged;
    QTest::newRow("b - at -3 stays") << b << false << "-3" << unchanged;
    QTest::newRow("a - at 1 stays") << a << false << "1" << unchanged;
    QTest::newRow("a - at ' 1' stays") << a << false << " 1" << unchanged;
    QTest::newRow("a - at 0 stays") << a << false << "0" << unchanged;
    QTest::newRow("a - on letters stays") << a << false << "x" << unchanged;
    QTest::newRow("a - at 2") << a << false << "2" << std::optional<QString>(" 1");
    QTest::newRow("a - at 1.5") << a << false << "1.5" << std::optional<QString>(" .5");
    QTest::newRow("c - at 0") << c << false << "0" << std::optional<QString>("-1");
    QTest::newRow("c - at -1") << c << false << "-1" << std::optional<QString>("-2");
    QTest::newRow("c - on letters") << c << false << "abc" << std::optional<QString>("-1");
    QTest::newRow("c - on empty") << c << false << "" << std::optional<QString>("-1");
    QTest::newRow("c - at 0.5") << c << false << "0.5" << std::optional<QString>("-.5");
    QTest::newRow("c + at -1") << c << true << "-1" << std::optional<QString>(" 0");
    QTest::newRow("b + at 0") << b << true << "0" << std::optional<QString>(" 1");
    QTest::newRow("a + at 1") << a << true << "1" << std::optional<QString>(" 2");
    QTest::newRow("+ on letters") << c << true << "abc" << std::optional<QString>(" 1");
    QTest::newRow("+ on empty") << b << true << "" << std::optional<QString>(" 1");
    QTest::newRow("+ at -1.5") << c << true << "-1.5" << std::optional<QString>("-.5");
    QTest::newRow("+ at 1.5") << a << true << "1.5" << std::optional<QString>(" 2.5");
    QTest::newRow("+ on number then letters")
        << c << true << "12abc" << std::optional<QString>(" 13");
    QTest::newRow("+ on blanks inside") << b << true << "1 2" << std::optional<QString>(" 13");
    QTest::newRow("+ on -0") << c << true << "-0" << std::optional<QString>(" 1");
    QTest::newRow("+ on nan") << c << true << "nan" << std::optional<QString>(" 1");
    QTest::newRow("+ on 1e308") << c << true << "1e308" << std::optional<QString>(" 1E+308");
    QTest::newRow("- on -1e308") << c << false << "-1e308" << std::optional<QString>("-1E+308");
    QTest::newRow("+ at 999999") << a << true << "999999" << std::optional<QString>(" 1000000");
    QTest::newRow("- on thousand digits")
        << b << false << thousandNines << std::optional<QString>(" Inf");
}

void TestSearch::steppers() {
    QFETCH(int, index);
    QFETCH(bool, up);
    QFETCH(QString, before);
    QFETCH(std::optional<QString>, after);
    if (up) {
        QVERIFY(after.has_value());
        QCOMPARE(Steppers::plus(before), *after);
    } else {
        QCOMPARE(Steppers::minus(index, before), after);
    }
}

void TestSearch::stepperWritesOnlyPressedBox_data() {
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

void TestSearch::stepperWritesOnlyPressedBox() {
    QFETCH(bool, up);
    QFETCH(int, index);
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    for (int i = 0; i < 3; ++i)
        form->Text1[i]->setText(before[i]);
    QPushButton* button = up ? form->Command2[index] : form->Command3[index];
    QCOMPARE(button->text(), up ? QStringLiteral("+") : QStringLiteral("-"));
    button->click();
    for (int i = 0; i < 3; ++i)
        QCOMPARE(form->Text1[i]->text(), after[i]);
}

// ---- Hit list -----------------------------------------------------------------------------

void TestSearch::wholeHitList_data() {
    QTest::addColumn<int>("rangeBase");
    QTest::addColumn<QString>("aText");
    QTest::addColumn<QString>("bText");
    QTest::addColumn<QString>("cText");
    QTest::addColumn<QString>("line3");
    QTest::addColumn<QString>("hits");
    QTest::addColumn<int>("entries"); // -1: not counted separately

    const QString primesLow = hitLine(primesBetween(1, 500));
    const QString primesHigh = hitLine(primesBetween(501, 1000));
    QTest::newRow("start values 1...500") << 0 << "1"
                                          << "0"
                                          << "1"
                                          << "für S(n) = +1" << primesLow << 95;
    QTest::newRow("start values 501...1000") << 500 << "1"
                                             << "0"
                                             << "1"
                                             << "für S(n) = +1" << primesHigh << 73;
    QTest::newRow("perfect typed") << 0 << "1"
                                   << "1"
                                   << "0"
                                   << "für S(n) = 1n "
                                   << " 6, 28, 496," << 3;
    QTest::newRow("perfect typed 501...1000") << 500 << "1"
                                              << "1"
                                              << "0"
                                              << "für S(n) = 1n "
                                              << "" << 0;
    QTest::newRow("no hit") << 0 << "0"
                            << "0"
                            << "1"
                            << "für S(n) = +1"
                            << "" << 0;
    QTest::newRow("all zero 1...500") << 0 << "0"
                                      << "0"
                                      << "0"
                                      << "für S(n) = 0" << hitLine(everyNumber(0)) << 500;
    QTest::newRow("all zero 501...1000") << 500 << "0"
                                         << "0"
                                         << "0"
                                         << "für S(n) = 0" << hitLine(everyNumber(500)) << 500;
    QTest::newRow("header 0 1") << 0 << "1"
                                << "0"
                                << "1"
                                << "für S(n) = +1" << primesLow << 95;
    QTest::newRow("header 2 -3") << 0 << "1"
                                 << "2"
                                 << "-3"
                                 << "für S(n) = 2n -3" << hitLine(hitsOf(1, 2, -3, 0)) << -1;
    QTest::newRow("header 0 0") << 0 << "1"
                                << "0"
                                << "0"
                                << "für S(n) = 0"
                                << " 1," << 1;
    QTest::newRow("header 0 -1") << 0 << "1"
                                 << "0"
                                 << "-1"
                                 << "für S(n) = -1"
                                 << "" << 0;
    // A b of 0 or less writes no b term, and with it not 0, c = 0 writes no c term either.
    QTest::newRow("header -2 0") << 0 << "1"
                                 << "-2"
                                 << "0"
                                 << "für S(n) = "
                                 << "" << 0;
    QTest::newRow("a 2, b 3, c 0") << 0 << "2"
                                   << "3"
                                   << "0"
                                   << "für S(n) = 3n "
                                   << " 24," << 1;
    QTest::newRow("header stepped 1 0") << 0 << "1"
                                        << " 1"
                                        << " 0"
                                        << "für S(n) =  1n "
                                        << " 6, 28, 496," << 3;
    QTest::newRow("b box 2.5") << 0 << "1"
                               << "2.5"
                               << "0"
                               << "für S(n) = 2.5n " << hitLine(hitsOf(1, 2.5, 0, 0)) << -1;
    QTest::newRow("c box 2.5") << 0 << "1"
                               << "0"
                               << "2.5"
                               << "für S(n) = +2.5"
                               << "" << 0;
    QTest::newRow("stepped c keeps blank") << 0 << "1"
                                           << "0"
                                           << " 3"
                                           << "für S(n) = + 3"
                                           << " 4," << 1;
    // Texts the strict reading rejects: the header shows the value the search used.
    QTest::newRow("empty b") << 0 << "1"
                             << ""
                             << "1"
                             << "für S(n) = +1" << primesLow << 95;
    QTest::newRow("letters in b") << 0 << "1"
                                  << "abc"
                                  << "1"
                                  << "für S(n) = +1" << primesLow << 95;
    QTest::newRow("b 1,5") << 0 << "1"
                           << "1,5"
                           << "0"
                           << "für S(n) =  1n "
                           << " 6, 28, 496," << 3;
    QTest::newRow("c letters, b 1") << 0 << "1"
                                    << "1"
                                    << "abc"
                                    << "für S(n) = 1n "
                                    << " 6, 28, 496," << 3;
    QTest::newRow("c letters, b 0") << 0 << "1"
                                    << "0"
                                    << "abc"
                                    << "für S(n) = 0"
                                    << " 1," << 1;
    QTest::newRow("empty c, empty b") << 0 << "1"
                                      << ""
                                      << ""
                                      << "für S(n) = 0"
                                      << " 1," << 1;
    QTest::newRow("c number then letters") << 0 << "1"
                                           << "0"
                                           << "3x"
                                           << "für S(n) = + 3"
                                           << " 4," << 1;
    QTest::newRow("c negative then letters") << 0 << "1"
                                             << "1"
                                             << "-1abc"
                                             << "für S(n) = 1n -1"
                                             << " 1, 2, 4, 8, 16, 32, 64, 128, 256," << 9;
    QTest::newRow("c with blanks inside")
        << 500 << "1"
        << "0"
        << "1 3 4 0"
        << "für S(n) = + 1340" << hitLine(hitsOf(1, 0, 1340, 500)) << -1;
    QTest::newRow("b nan") << 0 << "1"
                           << "nan"
                           << "-0"
                           << "für S(n) = 0"
                           << " 1," << 1;
    QTest::newRow("b 1e308") << 0 << "0"
                             << "1e308"
                             << "-1e308"
                             << "für S(n) = 1e308n -1e308"
                             << " 1," << 1;
    QTest::newRow("b thousand digits")
        << 0 << thousandNines << thousandNines << "0"
        << "für S(n) = " + thousandNines + "n " << hitLine(hitsOf(inf, inf, 0, 0)) << 499;
}

void TestSearch::wholeHitList() {
    QFETCH(int, rangeBase);
    QFETCH(QString, aText);
    QFETCH(QString, bText);
    QFETCH(QString, cText);
    QFETCH(QString, line3);
    QFETCH(QString, hits);
    QFETCH(int, entries);
    const QString expected = expectedList(rangeBase, line3, hits);
    if (entries >= 0)
        QCOMPARE(hits.count(QLatin1Char(',')), entries);
    if (hits.isEmpty())
        QVERIFY(expected.endsWith(QStringLiteral("anklicken\r\n\r\n")));

    // The run itself, byte for byte.
    auto canvas = makeCanvas();
    QCOMPARE(SearchRun::Run(*canvas, rangeBase, aText, bText, cText), expected);

    // The same through the window: the range command, the boxes and the button.
    if (rangeBase == 0)
        form->cmdSkala_Click();
    else
        form->cmdSkala2_Click();
    setBoxes(aText, bText, cText);
    form->cmdSuche->click();
    QCOMPARE(form->txtTreffer->text(), expected);
    QCOMPARE(form->Text1[Steppers::aBox]->text(), aText);
    QCOMPARE(form->Text1[Steppers::bBox]->text(), bText);
    QCOMPARE(form->Text1[Steppers::cBox]->text(), cText);
}

void TestSearch::hitsMatchIndependentComputation_data() {
    QTest::addColumn<int>("rangeBase");
    QTest::addColumn<QString>("aText");
    QTest::addColumn<QString>("bText");
    QTest::addColumn<QString>("cText");
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("b");
    QTest::addColumn<double>("c");

    for (int rangeBase : {0, 500}) {
        auto row = [rangeBase](const char* name) {
            return &QTest::addRow("%s %s", name, rangeBase == 0 ? "1...500" : "501...1000");
        };
        *row("primes") << rangeBase << "1"
                       << "0"
                       << "1" << 1.0 << 0.0 << 1.0;
        *row("S(n) = 2n") << rangeBase << "1"
                          << "2"
                          << "0" << 1.0 << 2.0 << 0.0;
        *row("powers of two") << rangeBase << "1"
                              << "1"
                              << "-1" << 1.0 << 1.0 << -1.0;
        *row("S(n) = 0") << rangeBase << "1"
                         << "0"
                         << "0" << 1.0 << 0.0 << 0.0;
        *row("half S(n) = 3") << rangeBase << "0.5"
                              << "0"
                              << "3" << 0.5 << 0.0 << 3.0;
        *row("non-numeric a") << rangeBase << "abc"
                              << "1"
                              << "-6" << 0.0 << 1.0 << -6.0;
        *row("non-numeric a, far c") << rangeBase << "x"
                                     << "-1"
                                     << "600" << 0.0 << -1.0 << 600.0;
        *row("a 2, b 3, c -2") << rangeBase << "2"
                               << "3"
                               << "-2" << 2.0 << 3.0 << -2.0;
        *row("abundancy 3") << rangeBase << " 1 "
                            << " 2 "
                            << " 0 " << 1.0 << 2.0 << 0.0;
        *row("a 1e308") << rangeBase << "1e308"
                        << "0"
                        << "0" << 1e308 << 0.0 << 0.0;
        *row("a -0") << rangeBase << "-0"
                     << "1"
                     << "-28" << -0.0 << 1.0 << -28.0;
        *row("a nan") << rangeBase << "nan"
                      << "0"
                      << "0" << 0.0 << 0.0 << 0.0;
        *row("a 1e-320") << rangeBase << "1e-320"
                         << "0"
                         << "0" << 1e-320 << 0.0 << 0.0;
        *row("infinite a and b") << rangeBase << thousandNines << "1e999"
                                 << "-5" << inf << inf << -5.0;
        *row("infinite b and -c") << rangeBase << "1" << thousandNines << "-" + thousandNines << 1.0
                                  << inf << -inf;
        *row("huge b and -c") << rangeBase << "1"
                              << "1e308"
                              << "-1e308" << 1.0 << 1e308 << -1e308;
        *row("fraction equal") << rangeBase << "0.1"
                               << "0.2"
                               << "0" << 0.1 << 0.2 << 0.0;
        *row("thousand-digit fraction") << rangeBase << "." + thousandNines << "0"
                                        << "1" << 1.0 << 0.0 << 1.0;
    }
}

void TestSearch::hitsMatchIndependentComputation() {
    QFETCH(int, rangeBase);
    QFETCH(QString, aText);
    QFETCH(QString, bText);
    QFETCH(QString, cText);
    QFETCH(double, a);
    QFETCH(double, b);
    QFETCH(double, c);
    auto canvas = makeCanvas();
    const QStringList lines = SearchRun::Run(*canvas, rangeBase, aText, bText, cText).split(crlf);
    QCOMPARE(lines.size(), 11);
    QCOMPARE(lines.last(), hitLine(hitsOf(a, b, c, rangeBase)));
}

// ---- Marks --------------------------------------------------------------------------------

void TestSearch::marksThroughRecorder_data() {
    QTest::addColumn<int>("rangeBase");
    QTest::addColumn<QString>("aText");
    QTest::addColumn<QString>("bText");
    QTest::addColumn<QString>("cText");
    QTest::addColumn<int>("probe");
    QTest::addColumn<double>("probeX");

    QTest::newRow("6") << 0 << "1"
                       << "1"
                       << "0" << 6 << 5.7;
    QTest::newRow("28") << 0 << "1"
                        << "1"
                        << "0" << 28 << 27.55;
    QTest::newRow("496") << 0 << "1"
                         << "1"
                         << "0" << 496 << 495.4;
    QTest::newRow("1000") << 500 << "0"
                          << "0"
                          << "0" << 1000 << 499.25;
    QTest::newRow("501") << 500 << "0"
                         << "0"
                         << "0" << 501 << 0.4;
    QTest::newRow("997") << 500 << "1"
                         << "0"
                         << "1" << 997 << 496.4;
    QTest::newRow("2") << 0 << "1"
                       << "0"
                       << "1" << 2 << 1.7;
}

void TestSearch::marksThroughRecorder() {
    QFETCH(int, rangeBase);
    QFETCH(QString, aText);
    QFETCH(QString, bText);
    QFETCH(QString, cText);
    QFETCH(int, probe);
    QFETCH(double, probeX);

    auto canvas = makeCanvas();
    canvas->FontBold = true;
    canvas->setRecording(true);
    const QStringList lines = SearchRun::Run(*canvas, rangeBase, aText, bText, cText).split(crlf);
    const auto& calls = canvas->records();

    QVERIFY(!calls.isEmpty());
    const PictureBox::DrawCall& strip = calls.first();
    QCOMPARE(strip.op, QStringLiteral("Line"));
    QCOMPARE(strip.mode, PictureBox::LineMode::FilledBox);
    QCOMPARE(strip.color, stripYellow);
    QCOMPARE(QRectF(QPointF(strip.x1, strip.y1), QPointF(strip.x2, strip.y2)),
             QRectF(QPointF(0, -1.5), QPointF(500, -3)));

    // Every further call is one mark, in the order of the hit list.
    const QStringList entries = lines.last().split(QLatin1Char(','), Qt::SkipEmptyParts);
    QCOMPARE(calls.size(), entries.size() + 1);
    bool probed = false;
    for (int k = 0; k < entries.size(); ++k) {
        const PictureBox::DrawCall& mark = calls[k + 1];
        const int n = entries[k].trimmed().toInt();
        const double width = QString::number(n).size() + 1;
        QCOMPARE(mark.op, QStringLiteral("Print"));
        QCOMPARE(mark.text, QStringLiteral("#"));
        QCOMPARE(mark.x1, (n - rangeBase) - 0.15 * width);
        QCOMPARE(mark.y1, -1.1);
        QCOMPARE(mark.fontSize, 24.0);
        QCOMPARE(mark.color, markBlue);
        QVERIFY(mark.bold);
        if (n == probe) {
            QVERIFY(std::fabs(mark.x1 - probeX) < 1e-9);
            probed = true;
        }
    }
    QVERIFY(probed);
}

void TestSearch::drawingStateAfterRun_data() {
    QTest::addColumn<QString>("cText");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("hits");
    QTest::newRow("hits, bold") << "1" << true << true;
    QTest::newRow("hits, not bold") << "1" << false << true;
    QTest::newRow("no hit, bold") << "-1" << true << false;
    QTest::newRow("no hit, not bold") << "-1" << false << false;
}

void TestSearch::drawingStateAfterRun() {
    QFETCH(QString, cText);
    QFETCH(bool, bold);
    QFETCH(bool, hits);
    auto canvas = makeCanvas();
    canvas->FontBold = bold;
    canvas->FontSize = 12;
    canvas->ForeColor = QColor(200, 0, 0);
    canvas->CurrentX = 123.25;
    canvas->CurrentY = 7.5;
    canvas->DrawWidth = 3;
    SearchRun::Run(*canvas, 0, "1", "0", cText);
    QCOMPARE(canvas->FontBold, bold);
    QCOMPARE(canvas->DrawWidth, 3);
    if (hits) {
        QCOMPARE(canvas->FontSize, 24.0);
        QCOMPARE(canvas->ForeColor, markBlue);
        QCOMPARE(canvas->CurrentX, 0.0); // Print returns to the left edge
        QVERIFY(canvas->CurrentY < -1.1);
    } else {
        QCOMPARE(canvas->FontSize, 12.0);
        QCOMPARE(canvas->ForeColor, QColor(200, 0, 0));
        QCOMPARE(canvas->CurrentX, 123.25);
        QCOMPARE(canvas->CurrentY, 7.5);
    }
}

void TestSearch::secondRunRemovesMarks_data() {
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

void TestSearch::secondRunRemovesMarks() {
    QFETCH(int, rangeBase);
    QFETCH(QString, firstC);
    QFETCH(QString, secondC);
    QFETCH(int, secondHits);
    if (rangeBase == 0)
        form->cmdSkala_Click();
    else
        form->cmdSkala2_Click();
    PictureBox& canvas = *form->picAusgabe;
    const QImage numberLine = canvas.image().copy();
    const QRect strip = innerPixels(canvas, 0, -1.5, 500, -3);
    QCOMPARE(pixelsOtherThan(numberLine, strip, stripYellow), 0);

    setBoxes("0", "0", firstC);
    form->cmdSuche_Click();
    const int marked = pixelsOtherThan(canvas.image(), strip, stripYellow);
    QVERIFY2(marked > 500, qPrintable(QString::number(marked)));

    setBoxes("0", "0", secondC);
    form->cmdSuche_Click();
    QCOMPARE(form->txtTreffer->text().split(crlf).last().count(QLatin1Char(',')), secondHits);
    QCOMPARE(pixelsOtherThan(canvas.image(), strip, stripYellow), 0);
    // Nothing of the marks is left above the strip either: there the canvas is the bare number
    // line.
    const QRect above(0, 0, numberLine.width(), strip.top() - 1);
    QVERIFY(canvas.image().copy(above) == numberLine.copy(above));
}

// ---- The list box -------------------------------------------------------------------------

void TestSearch::listWrittenWhileHidden_data() {
    QTest::addColumn<bool>("hidden");
    QTest::newRow("hidden") << true;
    QTest::newRow("shown") << false;
}

void TestSearch::listWrittenWhileHidden() {
    QFETCH(bool, hidden);
    form->cmdSkala_Click();
    if (form->txtTreffer->isHidden() != hidden)
        form->cmdTrefferliste_Click();
    QCOMPARE(form->txtTreffer->isHidden(), hidden);
    setBoxes("1", "1", "0");
    form->txtTreffer->setText(QStringLiteral("\r\nTrefferliste\r\n"));
    form->cmdSuche->click();
    QCOMPARE(form->txtTreffer->isHidden(), hidden);
    QCOMPARE(form->txtTreffer->text(),
             expectedList(0, QStringLiteral("für S(n) = 1n "), QStringLiteral(" 6, 28, 496,")));
    // Showing or hiding afterwards keeps the list.
    form->cmdTrefferliste_Click();
    QCOMPARE(form->txtTreffer->isHidden(), !hidden);
    QCOMPARE(form->txtTreffer->text(),
             expectedList(0, QStringLiteral("für S(n) = 1n "), QStringLiteral(" 6, 28, 496,")));
    form->txtTreffer->setHidden(false);
}

void TestSearch::listShowsAndCopiesLines_data() {
    QTest::addColumn<bool>("contextMenu");
    QTest::addColumn<int>("from");   // selection in the text with CR LF line ends
    QTest::addColumn<int>("length"); // -1: everything
    const QString list =
        expectedList(0, QStringLiteral("für S(n) = 1n "), QStringLiteral(" 6, 28, 496,"));
    const int entry = int(list.indexOf(QStringLiteral(" 28,")));
    const int header = int(list.indexOf(QStringLiteral("Trefferliste")));
    const int steps = int(list.indexOf(QStringLiteral("  1.")));
    for (bool menu : {false, true}) {
        const char* how = menu ? "context menu" : "Ctrl+C";
        QTest::addRow("everything, %s", how) << menu << 0 << -1;
        QTest::addRow("one entry, %s", how) << menu << entry << 4;
        QTest::addRow("lines 2 and 3, %s", how)
            << menu << header << int(list.indexOf(crlf, header + 30) + 2 - header);
        QTest::addRow("instruction lines, %s", how) << menu << steps << int(list.size() - steps);
    }
}

void TestSearch::listShowsAndCopiesLines() {
    QFETCH(bool, contextMenu);
    QFETCH(int, from);
    QFETCH(int, length);
    form->cmdSkala_Click();
    setBoxes("1", "1", "0");
    form->cmdSuche->click();
    surface::MultiLineTextBox& box = *form->txtTreffer;
    const QString list = box.text();
    QCOMPARE(list,
             expectedList(0, QStringLiteral("für S(n) = 1n "), QStringLiteral(" 6, 28, 496,")));

    // Shown as eleven lines, none of them holding a control character.
    QCOMPARE(box.document()->blockCount(), 11);
    const QStringList lines = list.split(crlf);
    for (int i = 0; i < 11; ++i) {
        const QString shown = box.document()->findBlockByNumber(i).text();
        QCOMPARE(shown, lines[i]);
        QVERIFY(!shown.contains(QLatin1Char('\r')));
    }

    // Select in the shown text, where each CR LF is one line break.
    const QString part = length < 0 ? list : list.mid(from, length);
    const int shownFrom = int(from - list.left(from).count(crlf));
    const int shownLength = int(part.size() - part.count(crlf));
    QTextCursor cursor(box.document());
    cursor.setPosition(shownFrom);
    cursor.setPosition(shownFrom + shownLength, QTextCursor::KeepAnchor);
    box.setTextCursor(cursor);

    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("old"));
    if (contextMenu) {
        std::unique_ptr<QMenu> menu(box.createStandardContextMenu());
        QAction* copy = menu->findChild<QAction*>(QStringLiteral("edit-copy"));
        QVERIFY(copy);
        QVERIFY(copy->isEnabled());
        copy->trigger();
    } else {
        QTest::keyClick(&box, Qt::Key_C, Qt::ControlModifier);
    }
    QString expected = part;
    expected.replace(crlf, QStringLiteral("\n"));
    QCOMPARE(clipboard->text(), expected);
    QVERIFY(!clipboard->text().contains(QLatin1Char('\r')));
}

QTEST_MAIN(TestSearch)
#include "test_search.moc"

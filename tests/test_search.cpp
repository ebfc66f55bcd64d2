// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/searchrun.h"
#include "search/steppers.h"
#include "support.h"
#include "surface/fontchoice.h"
#include "surface/multilinetextbox.h"
#include "surface/picturebox.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
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
using namespace support;

namespace {

const double inf = std::numeric_limits<double>::infinity();

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

    void wholeHitList_data();
    void wholeHitList();
    void hitsMatchIndependentComputation_data();
    void hitsMatchIndependentComputation();

    void marksThroughRecorder_data();
    void marksThroughRecorder();
    void drawingStateAfterRun_data();
    void drawingStateAfterRun();

    void listShowsAndCopiesLines_data();
    void listShowsAndCopiesLines();
};

void TestSearch::initTestCase() {
    QCOMPARE(PrimesBetween(1, 500).size(), std::size_t(95));
    QCOMPARE(PrimesBetween(501, 1000).size(), std::size_t(73));
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

// ---- Hit list -----------------------------------------------------------------------------

void TestSearch::wholeHitList_data() {
    AddHitListRows();
}

void TestSearch::wholeHitList() {
    QFETCH(int, rangeBase);
    QFETCH(QString, aText);
    QFETCH(QString, bText);
    QFETCH(QString, cText);
    QFETCH(QString, line3);
    QFETCH(QString, hits);
    QFETCH(int, entries);
    const QString expected = ExpectedList(rangeBase, line3, hits);
    if (entries >= 0)
        QCOMPARE(hits.count(QLatin1Char(',')), entries);
    if (hits.isEmpty())
        QVERIFY(expected.endsWith(QStringLiteral("anklicken\r\n\r\n")));

    // The run itself, byte for byte.
    auto canvas = OutputCanvas();
    QCOMPARE(SearchRun::Run(*canvas, rangeBase, aText, bText, cText), expected);
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
    auto canvas = OutputCanvas();
    const QStringList lines = SearchRun::Run(*canvas, rangeBase, aText, bText, cText).split(crlf);
    QCOMPARE(lines.size(), 11);
    QCOMPARE(lines.last(), HitLine(HitsOf(a, b, c, rangeBase)));
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

    auto canvas = OutputCanvas();
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
    auto canvas = OutputCanvas();
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

// ---- The list box -------------------------------------------------------------------------

void TestSearch::listShowsAndCopiesLines_data() {
    QTest::addColumn<bool>("contextMenu");
    QTest::addColumn<int>("from");   // selection in the text with CR LF line ends
    QTest::addColumn<int>("length"); // -1: everything
    const QString list =
        ExpectedList(0, QStringLiteral("für S(n) = 1n "), QStringLiteral(" 6, 28, 496,"));
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
    // The list of a search for the perfect numbers, in a multi-line box as the window shows it.
    auto canvas = OutputCanvas();
    surface::MultiLineTextBox box;
    box.setText(SearchRun::Run(*canvas, 0, "1", "1", "0"));
    const QString list = box.text();
    QCOMPARE(list,
             ExpectedList(0, QStringLiteral("für S(n) = 1n "), QStringLiteral(" 6, 28, 496,")));

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

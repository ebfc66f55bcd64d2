// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/clearcommands.h"
#include "charts/column.h"
#include "charts/divisorcountchart.h"
#include "charts/divisorsumchart.h"
#include "charts/numberline.h"
#include "charts/shownchart.h"
#include "charts/skyline.h"
#include "divisors/divisorscan.h"
#include "support.h"
#include "surface/fontchoice.h"
#include "surface/picturebox.h"

#include <QCoreApplication>
#include <QDir>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>

using surface::PictureBox;
using namespace support;

namespace {

// A canvas like the window's, with the number line's bold type, recording its drawing.
std::unique_ptr<PictureBox> MakeCanvas() {
    auto canvas = OutputCanvas();
    canvas->FontBold = true; // as the number line leaves it
    canvas->setRecording(true);
    return canvas;
}

// The records of a divisor count chart, one list per column; each column ends with its ring.
QVector<QVector<Call>> CountColumns(const QVector<Call>& calls) {
    QVector<QVector<Call>> columns(1);
    for (const Call& c : calls) {
        columns.last().append(c);
        if (c.op == QLatin1String("Circle"))
            columns.append(QVector<Call>());
    }
    columns.removeLast();
    return columns;
}

// "d6 d4 d3 d2 L4 d1 L5 T6 C": divisors, outline tops, T label and ring in drawing order.
QString Signature(const QVector<Call>& column) {
    QStringList parts;
    for (const Call& c : column) {
        if (c.op == QLatin1String("Print"))
            parts << (c.fontSize == 14 ? QStringLiteral("d") : QStringLiteral("T")) +
                         c.text.trimmed();
        else if (c.op == QLatin1String("Line"))
            parts << QStringLiteral("L%1").arg(c.y2);
        else
            parts << c.op.left(1);
    }
    return parts.join(QLatin1Char(' '));
}

// Checks one column of the divisor count chart against the divisors of n.
QString CountColumnMismatch(const QVector<Call>& column, int i, long long n) {
    const auto& divisors = ProperDivisors()[n];
    const int k = static_cast<int>(divisors.size());
    if (column.size() < 2)
        return QStringLiteral("column %1 incomplete").arg(i);
    int height = 0;
    for (qsizetype j = 0; j + 2 < column.size(); ++j) {
        const Call& c = column[j];
        if (c.op == QLatin1String("Line")) {
            // An outline follows the divisor that raised the count to its top edge.
            if (c.mode != PictureBox::LineMode::Box || c.color != red || c.drawWidth != 2 ||
                !Near(c.x1, i - 0.55) || !Near(c.y1, 0) || !Near(c.x2, i + 0.45) ||
                !Near(c.y2, height) || column[j - 1].op != QLatin1String("Print"))
                return QStringLiteral("column %1: outline %2").arg(i).arg(Describe(c));
            continue;
        }
        ++height;
        if (height > k)
            return QStringLiteral("column %1: extra %2").arg(i).arg(Describe(c));
        const long long d = divisors[k - height];
        QString e = PrintMismatch(c, Label(d), LeftEdge(i, d), height, black, 14);
        if (e.isEmpty() && c.drawWidth != 2)
            e = QStringLiteral("width %1").arg(c.drawWidth);
        if (!e.isEmpty())
            return QStringLiteral("column %1, divisor %2: %3").arg(i).arg(height).arg(e);
    }
    if (height != k)
        return QStringLiteral("column %1: %2 divisors instead of %3").arg(i).arg(height).arg(k);
    // The T label is shifted by the width of k, not of k + 1.
    QString e =
        PrintMismatch(column[column.size() - 2], Label(k + 1), LeftEdge(i, k), k + 2, blue, 12);
    const Call& ring = column.last();
    if (e.isEmpty() &&
        (ring.op != QLatin1String("Circle") || !Near(ring.x1, i - 0.2) || !Near(ring.y1, k + 1.5) ||
         !Near(ring.radius, 0.4) || ring.color != blue || ring.drawWidth != 1))
        e = QStringLiteral("ring %1").arg(Describe(ring));
    return e.isEmpty() ? e : QStringLiteral("column %1: %2").arg(i).arg(e);
}

} // namespace

class TestCharts : public QObject {
    Q_OBJECT

  public:
    // QTEST_MAIN calls it before the QApplication exists.
    static void initMain() { surface::FontChoice::PreferLiberation2(); }

  private slots:
    void skylineMatchesDivisorSieve_data();
    void skylineMatchesDivisorSieve();
    void skylineKnownColumns_data();
    void skylineKnownColumns();
    void countChartMatchesDivisorSieve_data();
    void countChartMatchesDivisorSieve();
    void countChartKnownColumns_data();
    void countChartKnownColumns();
    void countChartOutlinesRecords_data();
    void countChartOutlinesRecords();
    void settingsLeftBehind_data();
    void settingsLeftBehind();

    void sumChartMatchesDivisorSieve_data();
    void sumChartMatchesDivisorSieve();
    void sumChartKnownLabels_data();
    void sumChartKnownLabels();
    void switchingChartsCoversOldLabels_data();
    void switchingChartsCoversOldLabels();
    void whiteCopyLeavesNoTrace_data();
    void whiteCopyLeavesNoTrace();

    void rangeCommandInYield_data();
    void rangeCommandInYield();
    void otherSumEntryInYield_data();
    void otherSumEntryInYield();
    void clearCommandInYield_data();
    void clearCommandInYield();
    void stopsWhenYieldRefuses_data();
    void stopsWhenYieldRefuses();

    void referencePictures_data();
    void referencePictures();
    void shownChart_data();
    void shownChart();
};

void TestCharts::skylineMatchesDivisorSieve_data() {
    QTest::addColumn<int>("base");
    QTest::newRow("1...500") << 0;
    QTest::newRow("501...1000") << 500;
}

void TestCharts::skylineMatchesDivisorSieve() {
    QFETCH(int, base);
    auto canvas = MakeCanvas();
    charts::Skyline::Draw(*canvas, base);
    const QVector<Call>& calls = canvas->records();
    qsizetype at = 0;
    for (int i = 1; i <= 500; ++i) {
        const auto& divisors = ProperDivisors()[base + i];
        for (int height = 1; height <= static_cast<int>(divisors.size()); ++height, ++at) {
            QVERIFY2(at < calls.size(), "chart ends early");
            const long long d = divisors[divisors.size() - height];
            const QString e = PrintMismatch(calls[at], Label(d), LeftEdge(i, d), height, black, 14);
            QVERIFY2(e.isEmpty(), qPrintable(QStringLiteral("column %1: %2").arg(i).arg(e)));
        }
    }
    QCOMPARE(at, calls.size());
}

void TestCharts::skylineKnownColumns_data() {
    QTest::addColumn<int>("base");
    QTest::addColumn<int>("column");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QList<double>>("lefts");
    QTest::newRow("1 empty") << 0 << 1 << QStringList{} << QList<double>{};
    QTest::newRow("2") << 0 << 2 << QStringList{" 1 "} << QList<double>{1.6};
    QTest::newRow("997 prime") << 500 << 497 << QStringList{" 1 "} << QList<double>{496.6};
    QTest::newRow("12") << 0 << 12 << QStringList{" 6 ", " 4 ", " 3 ", " 2 ", " 1 "}
                        << QList<double>{11.6, 11.6, 11.6, 11.6, 11.6};
    QTest::newRow("840 first and last")
        << 500 << 340 << QStringList{" 420 ", " 280 ", " 210 ", " 2 ", " 1 "}
        << QList<double>{339.2, 339.2, 339.2, 339.6, 339.6};
}

void TestCharts::skylineKnownColumns() {
    QFETCH(int, base);
    QFETCH(int, column);
    QFETCH(QStringList, texts);
    QFETCH(QList<double>, lefts);
    auto canvas = MakeCanvas();
    charts::Skyline::Draw(*canvas, base);
    const QVector<Call> inColumn = Only(
        canvas->records(), [column](const Call& c) { return c.x1 > column - 1 && c.x1 < column; });
    // For 840 the row lists the first three and the last two of its 31 divisors.
    const qsizetype total = inColumn.size();
    QCOMPARE(total, column == 340 ? 31 : texts.size());
    for (qsizetype j = 0; j < texts.size(); ++j) {
        const qsizetype at = j < 3 ? j : total - (texts.size() - j);
        const QString e = PrintMismatch(inColumn[at], texts[j], lefts[j], at + 1, black, 14);
        QVERIFY2(e.isEmpty(), qPrintable(e));
    }
}

void TestCharts::countChartMatchesDivisorSieve_data() {
    skylineMatchesDivisorSieve_data();
}

void TestCharts::countChartMatchesDivisorSieve() {
    QFETCH(int, base);
    auto canvas = MakeCanvas();
    charts::DivisorCountChart::Draw(*canvas, base);
    const auto columns = CountColumns(canvas->records());
    QCOMPARE(columns.size(), 500);
    for (int i = 1; i <= 500; ++i) {
        const QString e = CountColumnMismatch(columns[i - 1], i, base + i);
        QVERIFY2(e.isEmpty(), qPrintable(e));
    }
    // Every run starts from the same record count, so a second run draws the same...
    const QVector<Call> first = canvas->records();
    const QImage once = canvas->image().copy();
    canvas->clearRecords();
    charts::DivisorCountChart::Draw(*canvas, base);
    QCOMPARE(Signature(canvas->records()), Signature(first));
    // ...and leaves every pixel as it was: the rings are not blended into themselves.
    const QString difference = PictureDifference(canvas->image(), once, canvas.get());
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void TestCharts::countChartKnownColumns_data() {
    QTest::addColumn<int>("base");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("signature");
    QTest::addColumn<double>("labelX");
    QTest::addColumn<double>("labelY");
    QTest::addColumn<double>("ringX");
    QTest::addColumn<double>("ringY");
    QTest::newRow("1") << 0 << 1 << "T1 C" << 0.6 << 2.0 << 0.8 << 1.5;
    QTest::newRow("2 not marked") << 0 << 2 << "d1 T2 C" << 1.6 << 3.0 << 1.8 << 2.5;
    QTest::newRow("7 prime") << 0 << 7 << "d1 T2 C" << 6.6 << 3.0 << 6.8 << 2.5;
    QTest::newRow("12") << 0 << 12 << "d6 d4 d3 d2 L4 d1 L5 T6 C" << 11.6 << 7.0 << 11.8 << 6.5;
    QTest::newRow("48 label from W(9)")
        << 0 << 48 << "d24 d16 d12 d8 d6 d4 d3 d2 d1 L9 T10 C" << 47.6 << 11.0 << 47.8 << 10.5;
    QTest::newRow("72 not marked")
        << 0 << 72 << "d36 d24 d18 d12 d9 d8 d6 d4 d3 d2 d1 T12 C" << 71.4 << 13.0 << 71.8 << 12.5;
    QTest::newRow("501") << 500 << 1 << "d167 d3 d1 T4 C" << 0.6 << 5.0 << 0.8 << 4.5;
}

void TestCharts::countChartKnownColumns() {
    QFETCH(int, base);
    QFETCH(int, column);
    QFETCH(QString, signature);
    QFETCH(double, labelX);
    QFETCH(double, labelY);
    QFETCH(double, ringX);
    QFETCH(double, ringY);
    auto canvas = MakeCanvas();
    charts::DivisorCountChart::Draw(*canvas, base);
    const QVector<Call> drawn = CountColumns(canvas->records()).value(column - 1);
    QCOMPARE(Signature(drawn), signature);
    const Call& label = drawn[drawn.size() - 2];
    QCOMPARE(label.x1, labelX);
    QCOMPARE(label.y1, labelY);
    QCOMPARE(label.color, blue);
    QCOMPARE(drawn.last().x1, ringX);
    QCOMPARE(drawn.last().y1, ringY);
    QCOMPARE(drawn.last().radius, 0.4);
    for (const Call& c : drawn)
        if (c.op == QLatin1String("Line")) {
            QCOMPARE(c.x1, column - 0.55);
            QCOMPARE(c.x2, column + 0.45);
            QCOMPARE(c.y1, 0.0);
        }
}

void TestCharts::countChartOutlinesRecords_data() {
    QTest::addColumn<int>("base");
    QTest::addColumn<QString>("outlines");
    QTest::newRow("1...500") << 0
                             << "4: 2; 6: 3; 12: 4 5; 24: 6 7; 36: 8; 48: 9; 60: 10 11; "
                                "120: 12 13 14 15; 180: 16 17; 240: 18 19; 360: 20 21 22 23";
    QTest::newRow("501...1000") << 500 << "720: 25 26 27 28 29; 840: 30 31";
}

void TestCharts::countChartOutlinesRecords() {
    QFETCH(int, base);
    QFETCH(QString, outlines);
    auto canvas = MakeCanvas();
    charts::DivisorCountChart::Draw(*canvas, base);
    QStringList marked;
    int lastNumber = 0;
    for (const Call& c : canvas->records()) {
        if (c.op != QLatin1String("Line"))
            continue;
        const int n = base + static_cast<int>(std::lround(c.x1 + 0.55));
        if (n != lastNumber)
            marked << QString::number(n) + QLatin1Char(':');
        marked.last() += QStringLiteral(" %1").arg(c.y2);
        lastNumber = n;
    }
    QCOMPARE(marked.join(QStringLiteral("; ")), outlines);
}

void TestCharts::settingsLeftBehind_data() {
    QTest::addColumn<QString>("chart");
    QTest::addColumn<int>("base");
    QTest::addColumn<QColor>("foreColor");
    QTest::addColumn<double>("fontSize");
    QTest::addColumn<int>("drawWidth");
    // The canvas starts with width 3 and 5 points in magenta, and not bold.
    QTest::newRow("skyline") << "skyline" << 0 << black << 14.0 << 3;
    QTest::newRow("count") << "count" << 500 << black << 12.0 << 1;
    // Column 500 shows 500 (S = 592) or 1000 (S = 1340), both abundant.
    QTest::newRow("S(n)") << "sum" << 0 << black << 16.0 << 3;
    QTest::newRow("S(n)-n") << "abundance" << 500 << black << 16.0 << 3;
    // Stopped after column 499, a prime (S = 1): deficient.
    QTest::newRow("stopped S(n)") << "stopped" << 0 << red << 16.0 << 3;
}

void TestCharts::settingsLeftBehind() {
    QFETCH(QString, chart);
    QFETCH(int, base);
    QFETCH(QColor, foreColor);
    QFETCH(double, fontSize);
    QFETCH(int, drawWidth);
    auto canvas = MakeCanvas();
    canvas->FontBold = false;
    canvas->DrawWidth = 3;
    canvas->FontSize = 5;
    canvas->ForeColor = QColor(255, 0, 255);
    int mode = chart == QLatin1String("abundance") ? 1 : 0;
    int yields = 0;
    if (chart == QLatin1String("skyline"))
        charts::Skyline::Draw(*canvas, base);
    else if (chart == QLatin1String("count"))
        charts::DivisorCountChart::Draw(*canvas, base);
    else
        charts::DivisorSumChart::DrawDivisorSums(*canvas, base, mode, [&] {
            return chart != QLatin1String("stopped") || ++yields < 500;
        });
    QCOMPARE(canvas->ForeColor, foreColor);
    QCOMPARE(canvas->FontSize, fontSize);
    QCOMPARE(canvas->DrawWidth, drawWidth);
    QCOMPARE(canvas->FontBold, false);
    QVERIFY(!canvas->records().isEmpty());
}

void TestCharts::sumChartMatchesDivisorSieve_data() {
    QTest::addColumn<int>("base");
    QTest::addColumn<int>("mode");
    QTest::newRow("S(n) 1...500") << 0 << 0;
    QTest::newRow("S(n) 501...1000") << 500 << 0;
    QTest::newRow("S(n)-n 1...500") << 0 << 1;
    QTest::newRow("S(n)-n 501...1000") << 500 << 1;
}

void TestCharts::sumChartMatchesDivisorSieve() {
    QFETCH(int, base);
    QFETCH(int, mode);
    auto canvas = MakeCanvas();
    int yields = 0;
    charts::DivisorSumChart::DrawDivisorSums(*canvas, base, mode, [&] { return ++yields > 0; });
    QCOMPARE(yields, 500);
    qsizetype at = 0;
    const QString e = SumColumnsMismatch(canvas->records(), at, 1, 500, base, mode);
    QVERIFY2(e.isEmpty(), qPrintable(e));
    QCOMPARE(at, canvas->records().size());
}

void TestCharts::sumChartKnownLabels_data() {
    QTest::addColumn<int>("base");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("S(1)") << 0 << 0 << 1 << " 0 " << 0.6 << 4.0 << red;
    QTest::newRow("S(6)") << 0 << 0 << 6 << " 6 " << 5.6 << 7.0 << green;
    QTest::newRow("S(12)") << 0 << 0 << 12 << " 16 " << 11.4 << 9.0 << black;
    QTest::newRow("S(220)") << 0 << 0 << 220 << " 284 " << 219.2 << 15.0 << black;
    QTest::newRow("S(840)") << 500 << 0 << 340 << " 2040 " << 339.0 << 35.0 << black;
    QTest::newRow("S(1)-1") << 0 << 1 << 1 << "-1 " << 0.6 << 4.0 << red;
    QTest::newRow("S(12)-12") << 0 << 1 << 12 << " 4 " << 11.4 << 9.0 << black;
    QTest::newRow("S(10)-10") << 0 << 1 << 10 << "-2 " << 9.6 << 7.0 << red;
    QTest::newRow("S(6)-6") << 0 << 1 << 6 << " 0 " << 5.6 << 7.0 << green;
    QTest::newRow("S(28)-28") << 0 << 1 << 28 << " 0 " << 27.4 << 9.0 << green;
    QTest::newRow("S(496)-496") << 0 << 1 << 496 << " 0 " << 495.2 << 13.0 << green;
    QTest::newRow("S(997)-997") << 500 << 1 << 497 << "-996 " << 496.6 << 5.0 << red;
}

void TestCharts::sumChartKnownLabels() {
    QFETCH(int, base);
    QFETCH(int, mode);
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(QColor, colour);
    auto canvas = MakeCanvas();
    charts::DivisorSumChart::DrawDivisorSums(*canvas, base, mode, {});
    const QString e =
        PrintMismatch(canvas->records().value(2 * column - 1), text, x, y, colour, 16);
    QVERIFY2(e.isEmpty(), qPrintable(e));
}

void TestCharts::switchingChartsCoversOldLabels_data() {
    sumChartMatchesDivisorSieve_data();
}

void TestCharts::switchingChartsCoversOldLabels() {
    QFETCH(int, base);
    QFETCH(int, mode);
    auto canvas = MakeCanvas();
    charts::DivisorSumChart::DrawDivisorSums(*canvas, base, mode, {});
    const QVector<Call> before = canvas->records();
    canvas->clearRecords();
    const int other = 1 - mode;
    charts::DivisorSumChart::DrawDivisorSums(*canvas, base, other, {});
    const QVector<Call> after = canvas->records();
    QCOMPARE(after.size(), 1000);
    for (int j = 0; j < 500; ++j) {
        const Call& old = before[2 * j + 1];
        const QString e =
            PrintMismatch(after[2 * j], old.text, old.x1, old.y1, white, old.fontSize);
        QVERIFY2(e.isEmpty(), qPrintable(QStringLiteral("column %1: %2").arg(j + 1).arg(e)));
        QCOMPARE(after[2 * j].bold, old.bold);
        QVERIFY(after[2 * j + 1].color != white);
    }
}

void TestCharts::whiteCopyLeavesNoTrace_data() {
    sumChartMatchesDivisorSieve_data();
}

void TestCharts::whiteCopyLeavesNoTrace() {
    QFETCH(int, base);
    QFETCH(int, mode);
    // The other chart drawn first and then this one must look like this one alone.
    auto switched = MakeCanvas();
    charts::DivisorSumChart::DrawDivisorSums(*switched, base, 1 - mode, {});
    charts::DivisorSumChart::DrawDivisorSums(*switched, base, mode, {});
    auto alone = MakeCanvas();
    charts::DivisorSumChart::DrawDivisorSums(*alone, base, mode, {});
    const QString difference = PictureDifference(switched->image(), alone->image(), alone.get());
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void TestCharts::rangeCommandInYield_data() {
    QTest::addColumn<int>("base");
    QTest::addColumn<int>("newBase");
    QTest::addColumn<int>("mode");
    QTest::newRow("501...1000 during S(n)") << 0 << 500 << 0;
    QTest::newRow("1...500 during S(n)-n") << 500 << 0 << 1;
    QTest::newRow("same range again") << 0 << 0 << 1;
}

void TestCharts::rangeCommandInYield() {
    QFETCH(int, base);
    QFETCH(int, newBase);
    QFETCH(int, mode);
    auto canvas = MakeCanvas();
    int rangeBase = base;
    int yields = 0;
    charts::DivisorSumChart::DrawDivisorSums(*canvas, rangeBase, mode, [&] {
        if (++yields == 101) {
            rangeBase = newBase;
            charts::NumberLine::DrawNumberLine(*canvas, rangeBase);
        }
        return true;
    });
    const QVector<Call>& calls = canvas->records();
    const auto cls = std::find_if(calls.begin(), calls.end(),
                                  [](const Call& c) { return c.op == QLatin1String("Cls"); });
    QCOMPARE(cls - calls.begin(), 200);
    const QVector<Call> labels = Only(calls, IsSumLabel);
    qsizetype at = 0;
    QString e = SumColumnsMismatch(labels, at, 1, 100, base, mode);
    if (e.isEmpty())
        e = SumColumnsMismatch(labels, at, 101, 500, newBase, mode);
    QVERIFY2(e.isEmpty(), qPrintable(e));
    QCOMPARE(at, labels.size());
}

void TestCharts::otherSumEntryInYield_data() {
    QTest::addColumn<int>("base");
    QTest::addColumn<int>("mode");
    QTest::newRow("S(n)-n during S(n)") << 0 << 0;
    QTest::newRow("S(n) during S(n)-n") << 0 << 1;
    QTest::newRow("S(n)-n during S(n), 501...1000") << 500 << 0;
}

void TestCharts::otherSumEntryInYield() {
    QFETCH(int, base);
    QFETCH(int, mode);
    auto canvas = MakeCanvas();
    int rangeBase = base;
    int sumMode = mode;
    int yields = 0;
    std::function<bool()> yield = [&] {
        if (++yields == 101) {
            // What the other entry does: its mode, then a whole chart of its own.
            sumMode = 1 - mode;
            charts::DivisorSumChart::DrawDivisorSums(*canvas, rangeBase, sumMode, yield);
        }
        return true;
    };
    charts::DivisorSumChart::DrawDivisorSums(*canvas, rangeBase, sumMode, yield);
    QCOMPARE(yields, 1000);
    const QVector<Call>& calls = canvas->records();
    qsizetype at = 0;
    QString e = SumColumnsMismatch(calls, at, 1, 100, base, mode);
    if (e.isEmpty())
        e = SumColumnsMismatch(calls, at, 1, 500, base, 1 - mode);
    if (e.isEmpty())
        e = SumColumnsMismatch(calls, at, 101, 500, base, 1 - mode);
    QVERIFY2(e.isEmpty(), qPrintable(e));
    QCOMPARE(at, calls.size());
}

void TestCharts::clearCommandInYield_data() {
    QTest::addColumn<bool>("wholeScreen");
    QTest::addColumn<int>("base");
    QTest::newRow("Bildschirm löschen") << true << 500;
    QTest::newRow("X") << false << 0;
}

void TestCharts::clearCommandInYield() {
    QFETCH(bool, wholeScreen);
    QFETCH(int, base);
    auto canvas = MakeCanvas();
    int yields = 0;
    charts::DivisorSumChart::DrawDivisorSums(*canvas, base, 0, [&] {
        if (++yields == 101) {
            if (wholeScreen)
                charts::ClearCommands::ClearScreen(*canvas);
            else
                charts::ClearCommands::ClearChartArea(*canvas);
        }
        return true;
    });
    const QVector<Call>& calls = canvas->records();
    // The wipe comes right after column 100; the chart then goes on with the same range.
    const Call& wipe = calls.value(200);
    QVERIFY(wholeScreen ? wipe.op == QLatin1String("Cls")
                        : wipe.mode == PictureBox::LineMode::FilledBox && wipe.color == white);
    const QVector<Call> labels = Only(calls, IsSumLabel);
    qsizetype at = 0;
    const QString e = SumColumnsMismatch(labels, at, 1, 500, base, 0);
    QVERIFY2(e.isEmpty(), qPrintable(e));
    QCOMPARE(at, labels.size());
    QVERIFY(IsSumLabel(calls.last()));
}

void TestCharts::stopsWhenYieldRefuses_data() {
    QTest::addColumn<int>("refusal");
    QTest::newRow("at once") << 1;
    QTest::newRow("after column 100") << 101;
    QTest::newRow("before the last column") << 500;
}

void TestCharts::stopsWhenYieldRefuses() {
    QFETCH(int, refusal);
    auto canvas = MakeCanvas();
    int yields = 0;
    charts::DivisorSumChart::DrawDivisorSums(*canvas, 0, 0, [&] { return ++yields < refusal; });
    QCOMPARE(yields, refusal);
    QCOMPARE(canvas->records().size(), 2 * (refusal - 1));
}

// The first 40 columns of every chart as the window draws it from its menu, pixel for pixel
// against the pictures in data/reference (offscreen platform, fonts-liberation2, 96 dpi). The
// canvas is set up as the window sets up its own and gets the same drawing in the same order: the
// number line 1...500 the window starts with, the range command, "Bildschirm löschen" where the
// row asks for it, then the chart. After a deliberate change of the look, the test writes the
// pictures anew instead of comparing when run as
//   TEILER_WRITE_REFERENCES=<source>/tests/data/reference QT_QPA_PLATFORM=offscreen
//   LC_ALL=C.UTF-8 tests/test_charts referencePictures
// (one command line); look at every new picture before it replaces the old one. A picture that
// differs is saved as <name>-actual.png beside the test program.
void TestCharts::referencePictures_data() {
    QTest::addColumn<QString>("picture"); // file name in data/reference without ".png"
    QTest::addColumn<int>("base");
    QTest::addColumn<QString>("chart");     // drawn after the range, empty for none
    QTest::addColumn<bool>("clearedFirst"); // "Bildschirm löschen" before it: chart area only
    const struct {
        const char* name;
        const char* picture;
        const char* chart;
    } charts[] = {{"number line", "numberline", ""},
                  {"skyline", "skyline", "skyline"},
                  {"T(n)", "count", "count"},
                  {"S(n)", "sum", "sum"},
                  {"S(n)-n", "abundance", "abundance"}};
    for (const auto& chart : charts)
        for (int base : {0, 500})
            QTest::addRow("%s %s", chart.name, base == 0 ? "1...500" : "501...1000")
                << QStringLiteral("%1-%2").arg(QLatin1String(chart.picture)).arg(base + 1) << base
                << QString::fromLatin1(chart.chart) << false;
    // The cleared canvas keeps its range: the stacks of 501 and on, without the number line.
    QTest::newRow("skyline after Bildschirm löschen 501...1000")
        << "skyline-501" << 500 << "skyline" << true;
}

void TestCharts::referencePictures() {
    QFETCH(QString, picture);
    QFETCH(int, base);
    QFETCH(QString, chart);
    QFETCH(bool, clearedFirst);
    auto drawn = OutputCanvas();
    PictureBox& canvas = *drawn;
    charts::NumberLine::DrawNumberLine(canvas, 0); // what the window shows when it opens
    charts::NumberLine::DrawNumberLine(canvas, base);
    if (clearedFirst)
        charts::ClearCommands::ClearScreen(canvas);
    if (chart == QLatin1String("skyline")) {
        charts::Skyline::Draw(canvas, base);
    } else if (chart == QLatin1String("count")) {
        charts::DivisorCountChart::Draw(canvas, base);
    } else if (chart == QLatin1String("sum") || chart == QLatin1String("abundance")) {
        // The window's sum charts let it handle its events before every column.
        const int mode = chart == QLatin1String("abundance") ? 1 : 0;
        charts::DivisorSumChart::DrawDivisorSums(canvas, base, mode, [] {
            QCoreApplication::processEvents();
            return true;
        });
    } else {
        QVERIFY2(chart.isEmpty(), qPrintable(chart));
    }
    // The screen paints from tiles drawn as they are shown: they must give the one picture.
    const QImage image = canvas.image();
    const QString tiled = PictureDifference(
        canvas.grab().toImage().convertToFormat(QImage::Format_RGB32), image, &canvas);
    QVERIFY2(tiled.isEmpty(), qPrintable(QStringLiteral("on screen: ") + tiled));
    // Columns 1 to 40 with the margin left of column 1, all rows or those above the line y = 0.
    if (canvas.devicePixelRatioF() != 1)
        QSKIP("the pictures are drawn at one device pixel per pixel");
    const QPointF corner = canvas.toPixel(40.5, 0);
    const QImage actual =
        image.copy(0, 0, int(corner.x()), clearedFirst ? int(corner.y()) : image.height());

    const QString writeTo = qEnvironmentVariable("TEILER_WRITE_REFERENCES");
    if (!writeTo.isEmpty()) {
        if (clearedFirst)
            QSKIP("compares with the picture of another row");
        const QString path = QDir(writeTo).filePath(picture + QStringLiteral(".png"));
        QVERIFY2(actual.save(path), qPrintable(path));
        QSKIP(qPrintable(QStringLiteral("written to ") + path));
    }
    const QString path = QFINDTESTDATA(QStringLiteral("data/reference/") + picture + ".png");
    QVERIFY2(!path.isEmpty(), qPrintable(picture + QStringLiteral(".png is missing")));
    QImage expected(path);
    QVERIFY2(!expected.isNull(), qPrintable(path));
    if (clearedFirst)
        expected = expected.copy(actual.rect());
#ifdef Q_OS_WIN
    // Qt's own FreeType on Windows sets some glyphs a pixel apart from FreeType under fontconfig,
    // where the pictures were made; only there a pixel's colour two pixels away passes, and so do
    // up to 16 pixels between glyphs set apart.
    int forgiven = 0;
    QString difference = NearPictureDifference(actual, expected, &canvas, &forgiven);
    if (forgiven > 0)
        qInfo("%d pixels of glyphs lie a pixel apart from the reference picture", forgiven);
    if (difference.section(QLatin1Char(' '), 0, 0).toInt() <= 16 && !difference.isEmpty()) {
        qInfo("passed on Windows: %s", qPrintable(difference));
        difference.clear();
    }
#else
    const QString difference = PictureDifference(actual, expected, &canvas);
#endif
    if (!difference.isEmpty()) {
        const QString saved = QDir(QCoreApplication::applicationDirPath())
                                  .filePath(picture + (clearedFirst ? "-cleared" : "") +
                                            QStringLiteral("-actual.png"));
        actual.save(saved);
        QFAIL(qPrintable(difference + QStringLiteral("; the picture drawn is ") + saved));
    }
}

QTEST_MAIN(TestCharts)

void TestCharts::shownChart_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("sumMode");
    QTest::addColumn<QString>("shown"); // the charts as numbers of ShownChart::Chart
    QTest::newRow("number line only") << QStringList{"line"} << 0 << "";
    QTest::newRow("skyline") << QStringList{"line", "skyline"} << 0 << "0";
    QTest::newRow("count over skyline") << QStringList{"line", "skyline", "count"} << 0 << "1";
    QTest::newRow("S(n)") << QStringList{"line", "sum"} << 0 << "2";
    QTest::newRow("S(n)-n over skyline") << QStringList{"line", "skyline", "sum"} << 1 << "0 3";
    QTest::newRow("chart area cleared") << QStringList{"line", "count", "clear"} << 0 << "";
    QTest::newRow("twenty picked columns") << QStringList{"line", "picks"} << 0 << "";
}

// What a printed page's caption names: the charts drawn, not a few picked columns.
void TestCharts::shownChart() {
    QFETCH(QStringList, steps);
    QFETCH(int, sumMode);
    QFETCH(QString, shown);
    auto canvas = MakeCanvas();
    for (const QString& step : steps) {
        if (step == QLatin1String("line"))
            charts::NumberLine::DrawNumberLine(*canvas, 0);
        else if (step == QLatin1String("skyline"))
            charts::Skyline::Draw(*canvas, 0);
        else if (step == QLatin1String("count"))
            charts::DivisorCountChart::Draw(*canvas, 0);
        else if (step == QLatin1String("sum"))
            charts::DivisorSumChart::DrawDivisorSums(*canvas, 0, sumMode, {});
        else if (step == QLatin1String("clear"))
            charts::ClearCommands::ClearChartArea(*canvas);
        for (int i = 1; step == QLatin1String("picks") && i <= 20; ++i) {
            charts::Column::WriteDivisor(*canvas, i, 1, 1);
            charts::Column::WriteSum(*canvas, i, i, divisors::SummarizeProperDivisors(i), false);
            charts::Column::WriteCount(*canvas, i, 1);
        }
    }
    QStringList found;
    for (const auto chart : charts::ShownChart::of(canvas->drawings(), sumMode))
        found << QString::number(static_cast<int>(chart));
    QCOMPARE(found.join(QLatin1Char(' ')), shown);
}

#include "test_charts.moc"

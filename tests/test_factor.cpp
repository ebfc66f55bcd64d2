// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "divisors/pairdivisorsum.h"
#include "factor/aliquotstep.h"
#include "factor/factorizationsheet.h"
#include "support.h"
#include "surface/fontchoice.h"
#include "surface/numbertext.h"
#include "surface/picturebox.h"

#include <QStringList>
#include <QTest>

#include <cstdint>
#include <limits>
#include <memory>
#include <optional>

using factor::AliquotStep;
using factor::FactorizationSheet;
using surface::NumberText;
using surface::PictureBox;
using namespace support;

Q_DECLARE_METATYPE(std::optional<QString>)

namespace {

// A sheet set up as the window's, recording its drawing.
std::unique_ptr<PictureBox> MakeSheet() {
    auto sheet = FactorSheet();
    sheet->setRecording(true);
    return sheet;
}

bool IsPrimeBySearch(long long p) {
    if (p < 2)
        return false;
    for (long long d = 2; d * d <= p; ++d)
        if (p % d == 0)
            return false;
    return true;
}

} // namespace

class TestFactor : public QObject {
    Q_OBJECT

  public:
    // QTEST_MAIN calls it before the QApplication exists.
    static void initMain() { surface::FontChoice::PreferLiberation2(); }

  private slots:
    void sheetFor720_data();
    void sheetFor720();
    void sheetLeavesPenAfterLastExponent_data();
    void sheetLeavesPenAfterLastExponent();
    void factorizations_data();
    void factorizations();
    void sheetProductAndPrimes_data();
    void sheetProductAndPrimes();
    void largestNumbers_data();
    void largestNumbers();
    void clipboardTexts_data();
    void clipboardTexts();
    void typedNumber_data();
    void typedNumber();

    void stepResults_data();
    void stepResults();
    void stepSequences_data();
    void stepSequences();
    void stepMatchesPairSumOnSmallNumbers_data();
    void stepMatchesPairSumOnSmallNumbers();
    void stepLargeNumbers_data();
    void stepLargeNumbers();
    void stepRefusals_data();
    void stepRefusals();
};

// ---- the sheet ----

void TestFactor::sheetFor720_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("op");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<double>("fontSize");
    // Only Print and PSet calls are counted; the dots carry DrawWidth 2.
    QTest::newRow("head") << 0 << "Print"
                          << " 720 =" << 0.0 << 10.0 << 18.0;
    QTest::newRow("factor 2") << 1 << "Print"
                              << " 2 " << 0.1667 << 10.0 << 18.0;
    QTest::newRow("exponent 4") << 2 << "Print"
                                << " 4 " << 0.2111 << 8.0 << 14.0;
    QTest::newRow("first dot") << 3 << "PSet"
                               << "" << 0.2778 << 17.0 << 18.0;
    QTest::newRow("factor 3") << 4 << "Print"
                              << " 3 " << 0.2778 << 10.0 << 18.0;
    QTest::newRow("exponent 2") << 5 << "Print"
                                << " 2 " << 0.3222 << 8.0 << 14.0;
    QTest::newRow("second dot") << 6 << "PSet"
                                << "" << 0.3889 << 17.0 << 18.0;
    QTest::newRow("factor 5") << 7 << "Print"
                              << " 5 " << 0.3889 << 10.0 << 18.0;
    QTest::newRow("exponent 1") << 8 << "Print"
                                << " 1 " << 0.4333 << 8.0 << 14.0;
}

void TestFactor::sheetFor720() {
    QFETCH(int, index);
    QFETCH(QString, op);
    QFETCH(QString, text);
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(double, fontSize);
    auto sheet = MakeSheet();
    FactorizationSheet::ShowFactorization(*sheet, 720);
    QVector<Call> items;
    for (const Call& c : sheet->records())
        if (c.op == QStringLiteral("Print") || c.op == QStringLiteral("PSet"))
            items.append(c);
    QCOMPARE(items.size(), 9);
    const Call& c = items[index];
    QCOMPARE(c.op, op);
    QCOMPARE(c.text, text);
    QCOMPARE(Round4(c.x1), x);
    QCOMPARE(c.y1, y);
    if (op == QStringLiteral("PSet")) {
        QCOMPARE(c.drawWidth, 2);
    } else {
        QCOMPARE(c.fontSize, fontSize);
    }
    // No clearing: the caller clears the sheet first.
    for (const Call& any : sheet->records())
        QVERIFY(any.op != QStringLiteral("Cls"));
}

void TestFactor::sheetLeavesPenAfterLastExponent_data() {
    QTest::addColumn<int>("m");
    QTest::addColumn<double>("lastExponentX");
    QTest::addColumn<double>("penX");
    // 720: last exponent " 1 " at 0.4333, the pen moves on by W(1)/30.
    QTest::newRow("720") << 720 << 0.4333 << 0.5;
    // 1024: head W=5 -> 5/24, factor 2 -> +2/45, exponent 10 at 0.2528, then +3/30.
    QTest::newRow("1024") << 1024 << 0.2528 << 0.3528;
}

void TestFactor::sheetLeavesPenAfterLastExponent() {
    QFETCH(int, m);
    QFETCH(double, lastExponentX);
    QFETCH(double, penX);
    auto sheet = MakeSheet();
    FactorizationSheet::ShowFactorization(*sheet, m);
    const Call& last = sheet->records().last();
    QCOMPARE(last.op, QStringLiteral("Print"));
    QCOMPARE(Round4(last.x1), lastExponentX);
    QCOMPARE(Round4(sheet->CurrentX), penX);
    QCOMPARE(sheet->CurrentY, 10.0);
    QCOMPARE(sheet->FontSize, 18.0);
}

void TestFactor::factorizations_data() {
    QTest::addColumn<int>("m");
    QTest::addColumn<QString>("head");
    QTest::addColumn<QString>("factors");
    QTest::addColumn<int>("dots");
    QTest::newRow("1: head only") << 1 << " 1 ="
                                  << "" << 0;
    QTest::newRow("2") << 2 << " 2 ="
                       << "2^1" << 0;
    QTest::newRow("prime 997") << 997 << " 997 ="
                               << "997^1" << 0;
    QTest::newRow("220") << 220 << " 220 ="
                         << "2^2 * 5^1 * 11^1" << 2;
    QTest::newRow("284") << 284 << " 284 ="
                         << "2^2 * 71^1" << 1;
    QTest::newRow("360") << 360 << " 360 ="
                         << "2^3 * 3^2 * 5^1" << 2;
    QTest::newRow("1024") << 1024 << " 1024 ="
                          << "2^10" << 0;
    QTest::newRow("square of a prime 49") << 49 << " 49 ="
                                          << "7^2" << 0;
    QTest::newRow("two large primes 46327 * 46337") << 2146654199 << " 2146654199 ="
                                                    << "46327^1 * 46337^1" << 1;
    QTest::newRow("square of the largest prime below 46341") << 2147117569 << " 2147117569 ="
                                                             << "46337^2" << 0;
    QTest::newRow("2147483647") << 2147483647 << " 2147483647 ="
                                << "2147483647^1" << 0;
    QTest::newRow("2147483646") << 2147483646 << " 2147483646 ="
                                << "2^1 * 3^2 * 7^1 * 11^1 * 31^1 * 151^1 * 331^1" << 6;
    QTest::newRow("0") << 0 << ""
                       << "" << 0;
    QTest::newRow("-12") << -12 << ""
                         << "" << 0;
    QTest::newRow("most negative") << std::numeric_limits<std::int32_t>::min() << ""
                                   << "" << 0;
}

void TestFactor::factorizations() {
    QFETCH(int, m);
    QFETCH(QString, head);
    QFETCH(QString, factors);
    QFETCH(int, dots);
    auto sheet = MakeSheet();
    FactorizationSheet::ShowFactorization(*sheet, m);
    const SheetReading r = ReadSheet(sheet->records());
    if (head.isEmpty()) {
        QCOMPARE(r.callsAfterClear, 0);
        return;
    }
    QCOMPARE(r.head, head);
    QCOMPARE(r.factors, factors);
    QCOMPARE(r.dots, dots);
    QVERIFY(r.rowsRight);
}

void TestFactor::sheetProductAndPrimes_data() {
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::newRow("1..3000") << 1 << 3000;
    QTest::newRow("below 2^31") << 2147480000 << 2147483647;
    QTest::newRow("around 46340^2") << 2147395000 << 2147396600;
}

// Every sheet multiplies back to its number, with ascending primes and one dot between factors.
void TestFactor::sheetProductAndPrimes() {
    QFETCH(int, first);
    QFETCH(int, last);
    auto sheet = MakeSheet();
    for (long long m = first; m <= last; ++m) {
        sheet->clearRecords();
        FactorizationSheet::ShowFactorization(*sheet, static_cast<std::int32_t>(m));
        const SheetReading r = ReadSheet(sheet->records());
        QCOMPARE(r.head, NumberText::ofInteger(m) + QStringLiteral(" ="));
        QVERIFY2(r.rowsRight, qPrintable(QString::number(m)));
        if (m == 1) {
            QVERIFY(r.factors.isEmpty());
            continue;
        }
        QCOMPARE(ProductOf(r.factors), m);
        const QStringList parts = r.factors.split(QStringLiteral(" * "));
        QCOMPARE(r.dots, parts.size() - 1);
        long long previous = 1;
        for (const QString& part : parts) {
            const long long p = part.section(QLatin1Char('^'), 0, 0).toLongLong();
            QVERIFY2(p > previous && IsPrimeBySearch(p), qPrintable(QString::number(m)));
            previous = p;
        }
    }
}

void TestFactor::largestNumbers_data() {
    QTest::addColumn<int>("m");
    QTest::newRow("2147483647 (prime)") << 2147483647;
    QTest::newRow("2147483629 (prime)") << 2147483629;
    QTest::newRow("2146654199 = 46327 * 46337") << 2146654199;
}

// Trial division stops at the square root of the cofactor, and the sheet still shows the number.
void TestFactor::largestNumbers() {
    QFETCH(int, m);
    auto sheet = MakeSheet();
    FactorizationSheet::ShowFactorization(*sheet, m);
    QCOMPARE(ProductOf(ReadSheet(sheet->records()).factors), static_cast<long long>(m));
}

void TestFactor::clipboardTexts_data() {
    QTest::addColumn<std::optional<QString>>("clipboard");
    QTest::addColumn<QString>("factors"); // "-" for an empty sheet
    auto text = [](const QString& s) { return std::optional<QString>(s); };
    QTest::newRow("' 28,'") << text(" 28,") << "2^2 * 7^1";
    QTest::newRow("'2 2 0'") << text("2 2 0") << "2^2 * 5^1 * 11^1";
    QTest::newRow("'220,284'") << text("220,284") << "2^2 * 5^1 * 11^1";
    QTest::newRow("hit list line") << text("  220\r\n  284\r\n") << "2^2 * 5^1 * 11^1";
    QTest::newRow("'abc'") << text("abc") << "-";
    QTest::newRow("'12.5' rounds to even") << text("12.5") << "2^2 * 3^1";
    QTest::newRow("'13.5' rounds to even") << text("13.5") << "2^1 * 7^1";
    QTest::newRow("'2147483647.4'") << text("2147483647.4") << "2147483647^1";
    QTest::newRow("'2147483647.5' out of range") << text("2147483647.5") << "-";
    QTest::newRow("'3000000000'") << text("3000000000") << "-";
    QTest::newRow("'-28'") << text("-28") << "-";
    QTest::newRow("empty") << text("") << "-";
    QTest::newRow("no text") << std::optional<QString>() << "-";
    QTest::newRow("control characters") << text(QStringLiteral("\x01\x02 720")) << "-";
    QTest::newRow("tab and line feed inside")
        << text(QStringLiteral("7\t2\n0")) << "2^4 * 3^2 * 5^1";
    QTest::newRow("NUL after the number")
        << text(QString::fromUtf16(u"72\u0000 0", 5)) << "2^3 * 3^2";
    QTest::newRow("Arabic-Indic digits") << text(QStringLiteral("\u0662\u0662\u0660")) << "-";
    QTest::newRow("full-width digits") << text(QStringLiteral("\uFF12\uFF12\uFF10")) << "-";
    QTest::newRow("'1e400'") << text("1e400") << "-";
    QTest::newRow("'-1e400'") << text("-1e400") << "-";
    QTest::newRow("'2e2'") << text("2e2") << "2^3 * 5^2";
    QTest::newRow("'nan'") << text("nan") << "-";
    QTest::newRow("'inf'") << text("inf") << "-";
    QTest::newRow("'-0'") << text("-0") << "-";
    QTest::newRow("4 MB of letters after 720")
        << text(QStringLiteral("720") + QString(4 << 20, QLatin1Char('x'))) << "2^4 * 3^2 * 5^1";
    QTest::newRow("4 MB of blanks before 720")
        << text(QString(4 << 20, QLatin1Char(' ')) + QStringLiteral("720")) << "2^4 * 3^2 * 5^1";
    QTest::newRow("4 MB of digits") << text(QString(4 << 20, QLatin1Char('7'))) << "-";
    QTest::newRow("4 MB of '1 ' pairs") << text(QStringLiteral("1 ").repeated(2 << 20)) << "-";
    QTest::newRow("4 MB of zeros then 6")
        << text(QString(4 << 20, QLatin1Char('0')) + QStringLiteral("6")) << "2^1 * 3^1";
}

void TestFactor::clipboardTexts() {
    QFETCH(std::optional<QString>, clipboard);
    QFETCH(QString, factors);
    auto sheet = MakeSheet();
    FactorizationSheet::ShowFactorization(*sheet, 999); // something for the click to clear
    FactorizationSheet::ShowClipboardNumber(*sheet, clipboard);
    const SheetReading r = ReadSheet(sheet->records());
    QVERIFY(r.cleared);
    if (factors == QStringLiteral("-")) {
        QCOMPARE(r.callsAfterClear, 0);
    } else {
        QCOMPARE(r.factors, factors);
        QCOMPARE(r.head, NumberText::ofInteger(ProductOf(factors)) + QStringLiteral(" ="));
    }
}

void TestFactor::typedNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("current");
    QTest::addColumn<QString>("factors"); // "-" for an empty sheet
    QTest::newRow("220") << "220" << 220.0 << "2^2 * 5^1 * 11^1";
    QTest::newRow("12.5 keeps its fraction") << "12.5" << 12.5 << "2^2 * 3^1";
    QTest::newRow("leading blank") << " 284" << 284.0 << "2^2 * 71^1";
    QTest::newRow("text") << "zwei" << 0.0 << "-";
    QTest::newRow("beyond 32 bits") << "614847741624321" << 614847741624321.0 << "-";
    QTest::newRow("1e400") << "1e400" << std::numeric_limits<double>::infinity() << "-";
}

void TestFactor::typedNumber() {
    QFETCH(QString, text);
    QFETCH(double, current);
    QFETCH(QString, factors);
    auto sheet = MakeSheet();
    FactorizationSheet::ShowFactorization(*sheet, 999);
    QCOMPARE(FactorizationSheet::ShowTypedNumber(*sheet, text), current);
    const SheetReading r = ReadSheet(sheet->records());
    QVERIFY(r.cleared);
    if (factors == QStringLiteral("-"))
        QCOMPARE(r.callsAfterClear, 0);
    else
        QCOMPARE(r.factors, factors);
}

// ---- the S step ----

void TestFactor::stepResults_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("result");
    QTest::newRow("220") << "220"
                         << " 284";
    QTest::newRow("284") << "284"
                         << " 220";
    QTest::newRow("284 with its blank") << " 284"
                                        << " 220";
    QTest::newRow("1184") << "1184"
                          << " 1210";
    QTest::newRow("1210") << "1210"
                          << " 1184";
    QTest::newRow("6") << "6"
                       << " 6";
    QTest::newRow("28") << "28"
                        << " 28";
    QTest::newRow("496") << "496"
                         << " 496";
    QTest::newRow("8128") << "8128"
                          << " 8128";
    QTest::newRow("16") << "16"
                        << " 15";
    QTest::newRow("36") << "36"
                        << " 55";
    QTest::newRow("25") << "25"
                        << " 6";
    QTest::newRow("4") << "4"
                       << " 3";
    QTest::newRow("2") << "2"
                       << " 1";
    QTest::newRow("3") << "3"
                       << " 1";
    QTest::newRow("997") << "997"
                         << " 1";
    QTest::newRow("1") << "1"
                       << " 0";
    QTest::newRow("0") << "0"
                       << " 1";
    QTest::newRow("-0") << "-0"
                        << " 1";
    QTest::newRow("12.5") << "12.5"
                          << " 1";
    QTest::newRow("0.5") << ".5"
                         << " 1";
    QTest::newRow("text") << "abc"
                          << " 1";
    QTest::newRow("empty") << ""
                           << " 1";
    QTest::newRow("2 2 0") << "2 2 0"
                           << " 284";
    QTest::newRow("2.2e2") << "2.2e2"
                           << " 284";
}

void TestFactor::stepResults() {
    QFETCH(QString, text);
    QFETCH(QString, result);
    const AliquotStep::Outcome step = AliquotStep::Step(text);
    QVERIFY(step.accepted);
    QCOMPARE(step.read, NumberText::lenient(text));
    QCOMPARE(step.text, result);
    QCOMPARE(step.sum, result.toDouble());
}

void TestFactor::stepSequences_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QStringList>("sequence");
    QTest::newRow("12") << "12" << QStringList{" 16", " 15", " 9", " 4", " 3",
                                               " 1",  " 0",  " 1", " 0", " 1"};
    QTest::newRow("220") << "220" << QStringList{" 284", " 220", " 284", " 220"};
    QTest::newRow("1184") << "1184" << QStringList{" 1210", " 1184"};
    QTest::newRow("sociable 12496")
        << "12496" << QStringList{" 14288", " 15472", " 14536", " 14264", " 12496"};
    QTest::newRow("95") << "95" << QStringList{" 25", " 6", " 6"};
}

// Each step reads the text the previous one wrote.
void TestFactor::stepSequences() {
    QFETCH(QString, start);
    QFETCH(QStringList, sequence);
    QString text = start;
    for (const QString& expected : sequence) {
        const AliquotStep::Outcome step = AliquotStep::Step(text);
        QVERIFY(step.accepted);
        QCOMPARE(step.text, expected);
        text = step.text;
    }
}

void TestFactor::stepMatchesPairSumOnSmallNumbers_data() {
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::newRow("0..20000") << 0 << 20000;
    QTest::newRow("around 10^9") << 999990000 << 1000000000;
}

void TestFactor::stepMatchesPairSumOnSmallNumbers() {
    QFETCH(int, first);
    QFETCH(int, last);
    for (int n = first; n <= last; ++n) {
        const AliquotStep::Outcome step = AliquotStep::Step(QString::number(n));
        QVERIFY(step.accepted);
        QCOMPARE(step.sum, divisors::PairDivisorSum(n));
    }
}

void TestFactor::stepLargeNumbers_data() {
    QTest::addColumn<double>("n");
    QTest::newRow("999999999999989 (prime)") << 999999999999989.0;
    QTest::newRow("999999999999999") << 999999999999999.0;
    QTest::newRow("999999999999998 = 2 * prime") << 999999999999998.0;
    QTest::newRow("31622743^2") << 999997874844049.0;
    QTest::newRow("31622743 * 31622741") << 999997811598563.0;
    QTest::newRow("2^49") << 562949953421312.0;
    QTest::newRow("963761198400") << 963761198400.0;
    QTest::newRow("866421317361600 (16-digit sum)") << 866421317361600.0;
    QTest::newRow("748010118753600 (16-digit sum)") << 748010118753600.0;
}

// Fifteen-digit numbers against the slow pair sum.
void TestFactor::stepLargeNumbers() {
    QFETCH(double, n);
    const QString typed = NumberText::ofInteger(static_cast<long long>(n));
    const AliquotStep::Outcome step = AliquotStep::Step(typed);
    QVERIFY(step.accepted);
    const double expected = divisors::PairDivisorSum(n);
    QCOMPARE(step.sum, expected);
    // Every digit is written, so the next step reads the same number back.
    QCOMPARE(step.text, NumberText::ofInteger(static_cast<long long>(expected)));
    QCOMPARE(NumberText::lenient(step.text), step.sum);
}

void TestFactor::stepRefusals_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("-1") << "-1";
    QTest::newRow("-0.5") << "-.5";
    QTest::newRow("-220") << "-220";
    QTest::newRow("10^15") << "1000000000000000";
    QTest::newRow("999999999999999.5") << "999999999999999.5";
    QTest::newRow("16-digit result of a step") << "4444073989185600";
    QTest::newRow("1e16") << "1e16";
    QTest::newRow("1e400") << "1e400";
    QTest::newRow("-1e400") << "-1e400";
    QTest::newRow("20 digits") << "12345678901234567890";
}

void TestFactor::stepRefusals() {
    QFETCH(QString, text);
    const AliquotStep::Outcome step = AliquotStep::Step(text);
    QVERIFY(!step.accepted);
    QCOMPARE(step.read, NumberText::lenient(text));
    QCOMPARE(AliquotStep::RefusalText(),
             QStringLiteral("S(n) nur für ganze Zahlen von 0 bis 999999999999999"));
}

QTEST_MAIN(TestFactor)
#include "test_factor.moc"

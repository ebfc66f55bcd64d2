// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
//
// libFuzzer target for every path that turns typed or pasted text into numbers: the lenient and
// strict parse, the number text, rounding for the factorization sheet, the S step, the sheet
// itself, the steppers and the hit-list header. Besides crashes and sanitizer reports it fails on
// broken invariants and on any input that takes longer than 10 ms.
#include "divisors/pairdivisorsum.h"
#include "divisors/primefactors.h"
#include "factor/aliquotstep.h"
#include "factor/factorizationsheet.h"
#include "search/hitlist.h"
#include "search/steppers.h"
#include "surface/numbertext.h"
#include "surface/picturebox.h"

#include <QApplication>
#include <QString>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using surface::NumberText;

namespace {

constexpr double slowLimitMs = 10.0;

QApplication* application = nullptr;
surface::PictureBox* sheet = nullptr;

[[noreturn]] void fail(const char* what, const QString& text) {
    std::fprintf(stderr, "invariant broken: %s\n  text: \"%s\"\n", what, qUtf8Printable(text));
    std::abort();
}

bool sameNumber(double a, double b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

void checkNumberText(double v, const QString& input) {
    const QString text = NumberText::of(v);
    if (NumberText::width(v) != text.size())
        fail("width differs from the length of the number text", input);
    if (!text.startsWith(v < 0 ? QLatin1Char('-') : QLatin1Char(' ')))
        fail("number text without its sign place", input);
    // 15 significant digits survive a round trip, so a second trip gives the same text. Values
    // that round up past the largest double read back as infinity and are left out.
    if (std::isfinite(v) && std::fabs(v) < 1e308) {
        const auto back = NumberText::strict(text);
        if (!back)
            fail("the number text is not a number to the strict parse", input);
        if (NumberText::of(*back) != text)
            fail("the number text does not read back to itself", input);
    }
}

void checkRounding(double v, const QString& input) {
    const auto r = NumberText::roundToInt32(v);
    if (!r) {
        if (std::isfinite(v) && std::nearbyint(v) >= -2147483648.0 &&
            std::nearbyint(v) <= 2147483647.0)
            fail("a value in the 32-bit range was not rounded", input);
        return;
    }
    const double distance = std::fabs(static_cast<double>(*r) - v);
    if (distance > 0.5 || (distance == 0.5 && *r % 2 != 0))
        fail("rounding is not to the nearest integer, halves to even", input);
}

void checkFactorization(std::int32_t m, const QString& input) {
    const auto factors = divisors::TrialDivisionFactors(m);
    if (m < 1) {
        if (!factors.empty())
            fail("factors of a number below 1", input);
        return;
    }
    std::uint64_t product = 1;
    std::uint64_t previous = 1;
    for (const auto& f : factors) {
        if (f.prime <= previous || f.exponent < 1 || !divisors::IsPrime(f.prime))
            fail("factors not ascending primes with positive exponents", input);
        previous = f.prime;
        for (int e = 0; e < f.exponent; ++e)
            product *= f.prime;
    }
    if (product != static_cast<std::uint64_t>(m))
        fail("the factors do not multiply to the number", input);
    const auto fast = divisors::PrimeFactors(static_cast<std::uint64_t>(m));
    if (fast.size() != factors.size() ||
        !std::equal(fast.begin(), fast.end(), factors.begin(), [](const auto& a, const auto& b) {
            return a.prime == b.prime && a.exponent == b.exponent;
        }))
        fail("trial division and the fast factorization disagree", input);
}

void checkSheet(const QString& input, double value) {
    sheet->clearRecords();
    const double current = factor::FactorizationSheet::ShowTypedNumber(*sheet, input);
    if (!sameNumber(current, value))
        fail("the sheet's current number is not the lenient reading", input);
    const auto m = NumberText::roundToInt32(value);
    qsizetype expected = 0;
    if (m && *m >= 1)
        expected = 1 + 2 * static_cast<qsizetype>(divisors::TrialDivisionFactors(*m).size());
    const qsizetype prints = std::count_if(sheet->records().begin(), sheet->records().end(),
                                           [](const auto& call) { return call.op == "Print"; });
    if (prints != expected)
        fail("the sheet does not show the head and every factor with its exponent", input);
}

void checkAliquotStep(const QString& input, double value) {
    const auto outcome = factor::AliquotStep::Step(input);
    if (!sameNumber(outcome.read, value))
        fail("the S step does not read the text leniently", input);
    const bool acceptable = value >= 0 && value <= factor::AliquotStep::largestInput;
    if (outcome.accepted != acceptable)
        fail("the S step refuses a number it takes or takes one it refuses", input);
    if (!outcome.accepted)
        return;
    if (value == std::floor(value)) {
        const auto exact = divisors::AliquotSum(static_cast<std::uint64_t>(value));
        if (!exact || outcome.sum != static_cast<double>(*exact))
            fail("the S step is not the sum of the proper divisors", input);
        // The slow pair sum is cheap enough up to a million.
        if (value <= 1e6 && outcome.sum != divisors::PairDivisorSum(value))
            fail("the S step disagrees with the pair divisor sum", input);
    } else if (outcome.sum != 1) {
        fail("a fraction does not give 1", input);
    }
    if (NumberText::lenient(outcome.text) != outcome.sum)
        fail("the written sum does not read back for the next step", input);
}

void checkSearchTexts(const QString& bText, const QString& cText) {
    for (int rangeBase : {0, 500}) {
        const QString header = search::HitList::header(rangeBase, bText, cText);
        if (header.count(QStringLiteral("\r\n")) != 10 ||
            !header.endsWith(QStringLiteral("\r\n\r\n")))
            fail("the hit-list header does not have its ten lines",
                 bText + QLatin1Char('|') + cText);
        if (!header.contains(QStringLiteral("\r\nfür S(n) = ")))
            fail("the hit-list header lacks the equation line", bText + QLatin1Char('|') + cText);
    }
    for (const QString& text : {bText, cText}) {
        const double v = NumberText::lenient(text);
        if (search::Steppers::plus(text) != NumberText::of(v + 1))
            fail("\"+\" does not write the value plus one", text);
        const auto down = search::Steppers::minus(search::Steppers::cBox, text);
        if (!down || *down != NumberText::of(v - 1))
            fail("\"-\" on the constant does not write the value minus one", text);
        if (search::Steppers::minus(search::Steppers::bBox, text).has_value() != (v > 0))
            fail("\"-\" on b steps below 0", text);
        if (search::Steppers::minus(search::Steppers::aBox, text).has_value() != (v > 1))
            fail("\"-\" on a steps below 1", text);
    }
}

void process(const std::uint8_t* data, std::size_t size) {
    const QString input =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const double value = NumberText::lenient(input);
    if (const auto whole = NumberText::strict(input); whole && !sameNumber(*whole, value))
        fail("the strict and the lenient parse read different numbers", input);
    checkNumberText(value, input);
    checkRounding(value, input);
    if (const auto m = NumberText::roundToInt32(value))
        checkFactorization(*m, input);
    checkSheet(input, value);
    checkAliquotStep(input, value);

    // The header reads two boxes: the text before the first NUL byte is b, the rest c.
    const auto* split = static_cast<const std::uint8_t*>(std::memchr(data, 0, size));
    if (!split) {
        checkSearchTexts(input, input);
    } else {
        const auto first = static_cast<qsizetype>(split - data);
        checkSearchTexts(QString::fromUtf8(reinterpret_cast<const char*>(data), first),
                         QString::fromUtf8(reinterpret_cast<const char*>(split + 1),
                                           static_cast<qsizetype>(size) - first - 1));
    }
}

double millisecondsFor(const std::uint8_t* data, std::size_t size) {
    const auto start = std::chrono::steady_clock::now();
    process(data, size);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    (void)argc;
    (void)argv;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int qtArgc = 1;
    static char name[] = "teiler_fuzz";
    static char* qtArgv[] = {name, nullptr};
    application = new QApplication(qtArgc, qtArgv);
    // The sheet as the window has it: 16000 x 675 twips, Courier New 10.2 pt bold.
    sheet = new surface::PictureBox;
    QFont font(QStringLiteral("Courier New"));
    font.setPointSizeF(10.2);
    font.setBold(true);
    sheet->setBoxFont(font);
    sheet->resize(1067, 45);
    sheet->Scale(0, 1, 2, 30);
    sheet->setRecording(true);
    // The first drawing loads fonts; keep that out of the timed inputs.
    const char warmUp[] = "720";
    process(reinterpret_cast<const std::uint8_t*>(warmUp), 3);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    double ms = millisecondsFor(data, size);
    // A busy machine can stretch one run; a slow input stays slow when tried again.
    for (int retry = 0; retry < 2 && ms > slowLimitMs; ++retry)
        ms = std::min(ms, millisecondsFor(data, size));
    if (ms > slowLimitMs) {
        std::fprintf(stderr, "slow input: %.2f ms (limit %.0f ms)\n", ms, slowLimitMs);
        std::abort();
    }
    return 0;
}

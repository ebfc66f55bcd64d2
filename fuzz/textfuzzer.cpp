// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
//
// libFuzzer target for the paths that turn typed or pasted text into numbers and numbers into
// text: the lenient and strict parse, the number text, rounding to 32 bits, both factorizations,
// the S step, the steppers and the hit-list header. No drawing and no QApplication, so it runs
// over twenty thousand inputs a second; the sheet has its own target in sheetfuzzer.cpp. Besides
// crashes and sanitizer reports it fails on broken invariants and on any input slower than 10 ms.
#include "charts/column.h"
#include "divisors/pairdivisorsum.h"
#include "divisors/primefactors.h"
#include "factor/aliquotstep.h"
#include "fuzz/harness.h"
#include "search/hitlist.h"
#include "search/steppers.h"
#include "surface/numbertext.h"

#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

using fuzz::Harness;
using surface::NumberText;

namespace {

Harness harness;
// Reused for every input: the whole text, and the b and c boxes of the hit-list header.
QString input;
QString bText;
QString cText;

[[noreturn]] void fail(const char* what, const QString& text) {
    Harness::fail(what, text);
}

void checkNumberText(double v) {
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

void checkRounding(double v) {
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

// Trials the sheet's trial division makes for m, from its prime factors: it divides out each prime
// when d reaches it and stops once d * d exceeds what is left, which then is the largest prime.
std::uint64_t trialsFor(const std::vector<divisors::PrimePower>& factors) {
    if (factors.empty())
        return 0;
    const auto& largest = factors.back();
    if (largest.exponent > 1)
        return largest.prime;
    const std::uint64_t secondLargest = factors.size() > 1 ? factors[factors.size() - 2].prime : 1;
    const auto root = static_cast<std::uint64_t>(std::sqrt(static_cast<double>(largest.prime)));
    return std::max(secondLargest, root);
}

// An m with a large prime factor costs trial division up to 46341 trials, about 0.4 ms in this
// build: many times what all other checks of an input take together. Each m factored adds
// trialsPerNumber to a budget those trials are paid from, so they average at most that much per
// input. Every m that needs no more is always compared; the budget starts full, so any input run
// on its own, as a reported one is to reproduce it, is compared in full too.
constexpr std::uint64_t trialsPerNumber = 1000;
constexpr std::uint64_t fullTrialBudget = 46341 + trialsPerNumber;
std::uint64_t trialBudget = fullTrialBudget;

void checkFactorization(std::int32_t m) {
    if (m < 1) {
        if (!divisors::TrialDivisionFactors(m).empty())
            fail("factors of a number below 1", input);
        return;
    }
    const auto fast = divisors::PrimeFactors(static_cast<std::uint64_t>(m));
    std::uint64_t product = 1;
    std::uint64_t previous = 1;
    for (const auto& f : fast) {
        if (f.prime <= previous || f.exponent < 1 || !divisors::IsPrime(f.prime))
            fail("factors not ascending primes with positive exponents", input);
        previous = f.prime;
        for (int e = 0; e < f.exponent; ++e)
            product *= f.prime;
    }
    if (product != static_cast<std::uint64_t>(m))
        fail("the factors do not multiply to the number", input);

    trialBudget = std::min(trialBudget + trialsPerNumber, fullTrialBudget);
    const std::uint64_t trials = trialsFor(fast);
    if (trials > trialBudget)
        return;
    trialBudget -= trials;
    const auto factors = divisors::TrialDivisionFactors(m);
    if (fast.size() != factors.size() ||
        !std::equal(fast.begin(), fast.end(), factors.begin(), [](const auto& a, const auto& b) {
            return a.prime == b.prime && a.exponent == b.exponent;
        }))
        fail("trial division and the fast factorization disagree", input);
}

void checkAliquotStep(double value) {
    const auto outcome = factor::AliquotStep::Step(input);
    if (!Harness::sameNumber(outcome.read, value))
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

// The steppers on one box text, whose lenient reading is v.
void checkSteppers(const QString& text, double v) {
    const QString up = NumberText::of(v + 1);
    const QString down = NumberText::of(v - 1);
    if (search::Steppers::plus(text) != up)
        fail("\"+\" does not write the value plus one", text);
    const auto c = search::Steppers::minus(search::Steppers::cBox, text);
    if (!c || *c != down)
        fail("\"-\" on the constant does not write the value minus one", text);
    const auto b = search::Steppers::minus(search::Steppers::bBox, text);
    if (b.has_value() != (v > 0))
        fail("\"-\" on b steps below 0", text);
    const auto a = search::Steppers::minus(search::Steppers::aBox, text);
    if (a.has_value() != (v > 1))
        fail("\"-\" on a steps below 1", text);
    if ((b && *b != down) || (a && *a != down))
        fail("\"-\" on b or a does not write the value minus one", text);
}

// rangeBase 0 or charts::Column::count only changes the first line, which does not depend on the
// texts; each input takes one of them (by its length), so both stay covered at the cost of one
// header.
void checkHeader(int rangeBase, const QString& b, const QString& c) {
    const QString header = search::HitList::header(rangeBase, b, c);
    if (header.count(QStringLiteral("\r\n")) != 10 || !header.endsWith(QStringLiteral("\r\n\r\n")))
        fail("the hit-list header does not have its ten lines", b + QLatin1Char('|') + c);
    if (!header.contains(QStringLiteral("\r\nfür S(n) = ")))
        fail("the hit-list header lacks the equation line", b + QLatin1Char('|') + c);
}

void process(const std::uint8_t* data, std::size_t size) {
    harness.decode(data, size, input);
    const double value = NumberText::lenient(input);
    if (const auto whole = NumberText::strict(input); whole && !Harness::sameNumber(*whole, value))
        fail("the strict and the lenient parse read different numbers", input);
    checkNumberText(value);
    checkRounding(value);
    if (const auto m = NumberText::roundToInt32(value))
        checkFactorization(*m);
    checkAliquotStep(value);

    checkSteppers(input, value);

    // An input with a NUL byte stands for the two coefficient boxes the hit-list header reads: b
    // before the first NUL, c after it ("x\0x" has b and c alike). The steppers above read b
    // already, since the lenient parse stops at the NUL; c is the b of another input.
    const auto* split = static_cast<const std::uint8_t*>(std::memchr(data, 0, size));
    if (!split)
        return;
    const auto first = static_cast<std::size_t>(split - data);
    harness.decode(data, first, bText);
    harness.decode(split + 1, size - first - 1, cText);
    checkHeader(size % 2 == 0 ? 0 : charts::Column::count, bText, cText);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Harness::runTimed(process, data, size);
    return 0;
}

// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "divisors/divisorscan.h"
#include "divisors/pairdivisorsum.h"
#include "divisors/primefactors.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numeric>
#include <optional>
#include <vector>

using divisors::AliquotSum;
using divisors::IsPrime;
using divisors::PairDivisorSum;
using divisors::PrimeFactors;
using divisors::PrimePower;
using divisors::ScanProperDivisors;
using divisors::SummarizeProperDivisors;
using divisors::TrialDivisionFactors;

namespace {

constexpr int kDivisorListLimit = 1000;
constexpr int kFactorLimit = 20000;

// "2^4 * 3^2 * 5"; an empty factorization gives an empty string.
QString FormatFactors(const std::vector<PrimePower>& factors) {
    QStringList parts;
    for (const PrimePower& pp : factors) {
        parts << (pp.exponent == 1 ? QString::number(pp.prime)
                                   : QStringLiteral("%1^%2").arg(pp.prime).arg(pp.exponent));
    }
    return parts.join(QStringLiteral(" * "));
}

QString JoinNumbers(const std::vector<long long>& numbers) {
    QStringList parts;
    for (long long v : numbers) {
        parts << QString::number(v);
    }
    return parts.join(QStringLiteral(", "));
}

// Rows that each cover a range of n, for checks over thousands of values.
void AddRangeRows(long long first, long long last, long long chunk) {
    QTest::addColumn<long long>("first");
    QTest::addColumn<long long>("last");
    for (long long lo = first; lo <= last; lo += chunk) {
        const long long hi = std::min(last, lo + chunk - 1);
        QTest::addRow("%lld..%lld", lo, hi) << lo << hi;
    }
}

} // namespace

class TestDivisors : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();

    void scanMatchesDivisorSieve_data();
    void scanMatchesDivisorSieve();
    void scanMakesNoTrialBelowTwo_data();
    void scanMakesNoTrialBelowTwo();
    void scanReportsLargestFirst_data();
    void scanReportsLargestFirst();
    void knownSummaries_data();
    void knownSummaries();
    void amicablePairs_data();
    void amicablePairs();

    void pairSumMatchesScan_data();
    void pairSumMatchesScan();
    void pairSumValues_data();
    void pairSumValues();
    void pairSumRefusesInvalid_data();
    void pairSumRefusesInvalid();

    void isPrimeMatchesSieve_data();
    void isPrimeMatchesSieve();
    void isPrimeHardCases_data();
    void isPrimeHardCases();
    void primeFactorsMatchSieve_data();
    void primeFactorsMatchSieve();
    void primeFactorsHardCases_data();
    void primeFactorsHardCases();

    void aliquotSumMatchesPairSum_data();
    void aliquotSumMatchesPairSum();
    void aliquotSumLargeMatchesPairSum_data();
    void aliquotSumLargeMatchesPairSum();
    void aliquotSumKnown_data();
    void aliquotSumKnown();

    void trialDivisionKnown_data();
    void trialDivisionKnown();
    void trialDivisionMatchesPrimeFactors_data();
    void trialDivisionMatchesPrimeFactors();

  private:
    // divisorsOf_[n]: all divisors of n including n, ascending, built by adding every d to its
    // multiples.
    std::vector<std::vector<long long>> divisorsOf_;
    // smallestPrimeFactor_[n] for n >= 2, from a sieve of Eratosthenes.
    std::vector<std::uint32_t> smallestPrimeFactor_;

    std::vector<PrimePower> SieveFactors(std::uint64_t n) const;
};

void TestDivisors::initTestCase() {
    divisorsOf_.assign(kDivisorListLimit + 1, {});
    for (long long d = 1; d <= kDivisorListLimit; ++d) {
        for (long long multiple = d; multiple <= kDivisorListLimit; multiple += d) {
            divisorsOf_[multiple].push_back(d);
        }
    }

    smallestPrimeFactor_.assign(kFactorLimit + 1, 0);
    for (std::uint32_t p = 2; p <= kFactorLimit; ++p) {
        if (smallestPrimeFactor_[p] != 0) {
            continue;
        }
        for (std::uint32_t multiple = p; multiple <= kFactorLimit; multiple += p) {
            if (smallestPrimeFactor_[multiple] == 0) {
                smallestPrimeFactor_[multiple] = p;
            }
        }
    }
}

std::vector<PrimePower> TestDivisors::SieveFactors(std::uint64_t n) const {
    std::vector<PrimePower> factors;
    while (n >= 2) {
        const std::uint64_t p = smallestPrimeFactor_[n];
        if (!factors.empty() && factors.back().prime == p) {
            ++factors.back().exponent;
        } else {
            factors.push_back({p, 1});
        }
        n /= p;
    }
    return factors;
}

void TestDivisors::scanMatchesDivisorSieve_data() {
    QTest::addColumn<long long>("n");
    for (long long n = 1; n <= kDivisorListLimit; ++n) {
        QTest::addRow("%lld", n) << n;
    }
}

void TestDivisors::scanMatchesDivisorSieve() {
    QFETCH(long long, n);
    const std::vector<long long>& all = divisorsOf_[n];
    const long long tau = static_cast<long long>(all.size());
    const long long sigma = std::accumulate(all.begin(), all.end(), 0LL);
    const std::vector<long long> expected(all.rbegin() + 1, all.rend()); // drop n, descending

    std::vector<long long> reported;
    std::vector<long long> trials;
    ScanProperDivisors(n, [&](long long t, bool isDivisor) {
        trials.push_back(t);
        if (isDivisor) {
            reported.push_back(t);
        }
    });

    QCOMPARE(static_cast<long long>(trials.size()), n - 1);
    for (std::size_t i = 0; i < trials.size(); ++i) {
        QCOMPARE(trials[i], n - 1 - static_cast<long long>(i));
    }
    QCOMPARE(JoinNumbers(reported), JoinNumbers(expected));

    const divisors::DivisorSummary summary = SummarizeProperDivisors(n);
    QCOMPARE(static_cast<long long>(summary.count), tau - 1);
    QCOMPARE(summary.sum, sigma - n);
    QCOMPARE(summary.sum - n, sigma - 2 * n);
}

void TestDivisors::scanMakesNoTrialBelowTwo_data() {
    QTest::addColumn<long long>("n");
    QTest::newRow("1") << 1LL;
    QTest::newRow("0") << 0LL;
    QTest::newRow("-1") << -1LL;
    QTest::newRow("-12") << -12LL;
    QTest::newRow("lowest long long") << std::numeric_limits<long long>::min();
}

void TestDivisors::scanMakesNoTrialBelowTwo() {
    QFETCH(long long, n);
    int trials = 0;
    ScanProperDivisors(n, [&trials](long long, bool) { ++trials; });
    QCOMPARE(trials, 0);
    const divisors::DivisorSummary summary = SummarizeProperDivisors(n);
    QCOMPARE(summary.count, 0);
    QCOMPARE(summary.sum, 0LL);
}

void TestDivisors::scanReportsLargestFirst_data() {
    QTest::addColumn<long long>("n");
    QTest::addColumn<QString>("divisors");
    QTest::newRow("12") << 12LL << QStringLiteral("6, 4, 3, 2, 1");
    QTest::newRow("28") << 28LL << QStringLiteral("14, 7, 4, 2, 1");
    QTest::newRow("997 prime") << 997LL << QStringLiteral("1");
    QTest::newRow("2") << 2LL << QStringLiteral("1");
    QTest::newRow("1") << 1LL << QString();
    QTest::newRow("1001 beyond sieve") << 1001LL << QStringLiteral("143, 91, 77, 13, 11, 7, 1");
}

void TestDivisors::scanReportsLargestFirst() {
    QFETCH(long long, n);
    QFETCH(QString, divisors);
    std::vector<long long> reported;
    ScanProperDivisors(n, [&reported](long long t, bool isDivisor) {
        if (isDivisor) {
            reported.push_back(t);
        }
    });
    QCOMPARE(JoinNumbers(reported), divisors);
}

void TestDivisors::knownSummaries_data() {
    QTest::addColumn<long long>("n");
    QTest::addColumn<int>("count");
    QTest::addColumn<long long>("sum");
    QTest::newRow("12") << 12LL << 5 << 16LL;
    QTest::newRow("840") << 840LL << 31 << 2040LL;
    QTest::newRow("960") << 960LL << 27 << 2088LL;
    QTest::newRow("997 prime") << 997LL << 1 << 1LL;
    QTest::newRow("6 perfect") << 6LL << 3 << 6LL;
    QTest::newRow("496 perfect") << 496LL << 9 << 496LL;
    QTest::newRow("8128 perfect") << 8128LL << 13 << 8128LL;
    QTest::newRow("5040") << 5040LL << 59 << 14304LL;
}

void TestDivisors::knownSummaries() {
    QFETCH(long long, n);
    QFETCH(int, count);
    QFETCH(long long, sum);
    const divisors::DivisorSummary summary = SummarizeProperDivisors(n);
    QCOMPARE(summary.count, count);
    QCOMPARE(summary.sum, sum);
}

void TestDivisors::amicablePairs_data() {
    QTest::addColumn<long long>("a");
    QTest::addColumn<long long>("b");
    QTest::newRow("220/284") << 220LL << 284LL;
    QTest::newRow("1184/1210") << 1184LL << 1210LL;
    QTest::newRow("2620/2924") << 2620LL << 2924LL;
}

void TestDivisors::amicablePairs() {
    QFETCH(long long, a);
    QFETCH(long long, b);
    QCOMPARE(SummarizeProperDivisors(a).sum, b);
    QCOMPARE(SummarizeProperDivisors(b).sum, a);
}

void TestDivisors::pairSumMatchesScan_data() {
    QTest::addColumn<long long>("n");
    for (long long n = 1; n <= kDivisorListLimit; ++n) {
        QTest::addRow("%lld", n) << n;
    }
}

void TestDivisors::pairSumMatchesScan() {
    QFETCH(long long, n);
    const double pairSum = PairDivisorSum(static_cast<double>(n));
    QCOMPARE(pairSum, static_cast<double>(SummarizeProperDivisors(n).sum));
    QCOMPARE(pairSum, std::trunc(pairSum));
}

void TestDivisors::pairSumValues_data() {
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("sum");
    QTest::newRow("0") << 0.0 << 1.0;
    QTest::newRow("1") << 1.0 << 0.0;
    QTest::newRow("2") << 2.0 << 1.0;
    QTest::newRow("4 square") << 4.0 << 3.0;
    QTest::newRow("9 square") << 9.0 << 4.0;
    QTest::newRow("12.5 not whole") << 12.5 << 1.0;
    QTest::newRow("2.25 square of 1.5") << 2.25 << 1.0;
    QTest::newRow("0.25") << 0.25 << 1.0;
    QTest::newRow("220") << 220.0 << 284.0;
    QTest::newRow("997 prime") << 997.0 << 1.0;
    QTest::newRow("999983^2") << 999966000289.0 << 999984.0;
}

void TestDivisors::pairSumValues() {
    QFETCH(double, x);
    QFETCH(double, sum);
    QCOMPARE(PairDivisorSum(x), sum);
}

void TestDivisors::pairSumRefusesInvalid_data() {
    QTest::addColumn<double>("x");
    QTest::newRow("-1") << -1.0;
    QTest::newRow("-4") << -4.0;
    QTest::newRow("-0.5") << -0.5;
    QTest::newRow("-1e300") << -1e300;
    QTest::newRow("-inf") << -std::numeric_limits<double>::infinity();
    QTest::newRow("inf") << std::numeric_limits<double>::infinity();
    QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN();
}

void TestDivisors::pairSumRefusesInvalid() {
    QFETCH(double, x);
    QVERIFY(std::isnan(PairDivisorSum(x)));
}

void TestDivisors::isPrimeMatchesSieve_data() {
    AddRangeRows(0, kFactorLimit, 5000);
}

void TestDivisors::isPrimeMatchesSieve() {
    QFETCH(long long, first);
    QFETCH(long long, last);
    for (long long n = first; n <= last; ++n) {
        const bool expected = n >= 2 && smallestPrimeFactor_[n] == n;
        if (IsPrime(static_cast<std::uint64_t>(n)) != expected) {
            QFAIL(qPrintable(QStringLiteral("IsPrime(%1) should be %2").arg(n).arg(expected)));
        }
    }
}

void TestDivisors::isPrimeHardCases_data() {
    QTest::addColumn<quint64>("n");
    QTest::addColumn<bool>("prime");
    QTest::newRow("41") << Q_UINT64_C(41) << true;
    QTest::newRow("41^2") << Q_UINT64_C(1681) << false;
    QTest::newRow("2047 pseudoprime base 2") << Q_UINT64_C(2047) << false;
    QTest::newRow("Carmichael 561") << Q_UINT64_C(561) << false;
    QTest::newRow("Carmichael 41041") << Q_UINT64_C(41041) << false;
    QTest::newRow("3215031751 pseudoprime bases 2..7") << Q_UINT64_C(3215031751) << false;
    QTest::newRow("3825123056546413051 pseudoprime bases 2..23")
        << Q_UINT64_C(3825123056546413051) << false;
    QTest::newRow("2^32+15") << Q_UINT64_C(4294967311) << true;
    QTest::newRow("999999999999989") << Q_UINT64_C(999999999999989) << true;
    QTest::newRow("999999999999999") << Q_UINT64_C(999999999999999) << false;
    QTest::newRow("999999937^2") << Q_UINT64_C(999999874000003969) << false;
    QTest::newRow("999999929*999999937") << Q_UINT64_C(999999866000004473) << false;
    QTest::newRow("2^63-25") << Q_UINT64_C(9223372036854775783) << true;
    QTest::newRow("2^63-1") << Q_UINT64_C(9223372036854775807) << false;
    QTest::newRow("4294967279*4294967291") << Q_UINT64_C(18446743979220271189) << false;
    QTest::newRow("2^64-59") << Q_UINT64_C(18446744073709551557) << true;
    QTest::newRow("2^64-1") << Q_UINT64_C(18446744073709551615) << false;
}

void TestDivisors::isPrimeHardCases() {
    QFETCH(quint64, n);
    QFETCH(bool, prime);
    QCOMPARE(IsPrime(n), prime);
}

void TestDivisors::primeFactorsMatchSieve_data() {
    AddRangeRows(0, kFactorLimit, 5000);
}

void TestDivisors::primeFactorsMatchSieve() {
    QFETCH(long long, first);
    QFETCH(long long, last);
    for (long long n = first; n <= last; ++n) {
        const auto u = static_cast<std::uint64_t>(n);
        // n is part of both strings so that a mismatch names it.
        QCOMPARE(QStringLiteral("%1 = %2").arg(n).arg(FormatFactors(PrimeFactors(u))),
                 QStringLiteral("%1 = %2").arg(n).arg(FormatFactors(SieveFactors(u))));
    }
}

void TestDivisors::primeFactorsHardCases_data() {
    QTest::addColumn<quint64>("n");
    QTest::addColumn<QString>("factors");
    QTest::newRow("997*1009 across the trial limit")
        << Q_UINT64_C(1005973) << QStringLiteral("997 * 1009");
    QTest::newRow("1009^2*1013") << Q_UINT64_C(1031316053) << QStringLiteral("1009^2 * 1013");
    QTest::newRow("1009^6") << Q_UINT64_C(1055229678769825441) << QStringLiteral("1009^6");
    QTest::newRow("Carmichael 561") << Q_UINT64_C(561) << QStringLiteral("3 * 11 * 17");
    QTest::newRow("Carmichael 41041") << Q_UINT64_C(41041) << QStringLiteral("7 * 11 * 13 * 41");
    QTest::newRow("Carmichael 3215031751")
        << Q_UINT64_C(3215031751) << QStringLiteral("151 * 751 * 28351");
    QTest::newRow("3825123056546413051")
        << Q_UINT64_C(3825123056546413051) << QStringLiteral("149491 * 747451 * 34233211");
    QTest::newRow("2^32+15 prime") << Q_UINT64_C(4294967311) << QStringLiteral("4294967311");
    QTest::newRow("999983^2") << Q_UINT64_C(999966000289) << QStringLiteral("999983^2");
    QTest::newRow("999999999999989 prime")
        << Q_UINT64_C(999999999999989) << QStringLiteral("999999999999989");
    QTest::newRow("999999999999999")
        << Q_UINT64_C(999999999999999) << QStringLiteral("3^3 * 31 * 37 * 41 * 271 * 2906161");
    QTest::newRow("999999937^2") << Q_UINT64_C(999999874000003969) << QStringLiteral("999999937^2");
    QTest::newRow("999999929*999999937")
        << Q_UINT64_C(999999866000004473) << QStringLiteral("999999929 * 999999937");
    QTest::newRow("999999893*999999937")
        << Q_UINT64_C(999999830000006741) << QStringLiteral("999999893 * 999999937");
    QTest::newRow("2^63-25 prime")
        << Q_UINT64_C(9223372036854775783) << QStringLiteral("9223372036854775783");
    QTest::newRow("2^63-1") << Q_UINT64_C(9223372036854775807)
                            << QStringLiteral("7^2 * 73 * 127 * 337 * 92737 * 649657");
    QTest::newRow("2^63-2") << Q_UINT64_C(9223372036854775806)
                            << QStringLiteral("2 * 3 * 715827883 * 2147483647");
    QTest::newRow("2^63") << Q_UINT64_C(9223372036854775808) << QStringLiteral("2^63");
    QTest::newRow("3^40") << Q_UINT64_C(12157665459056928801) << QStringLiteral("3^40");
    QTest::newRow("18401055938125660800")
        << Q_UINT64_C(18401055938125660800)
        << QStringLiteral("2^7 * 3^4 * 5^2 * 7^2 * 11 * 13 * 17 * 19 * 23 * 29 * 31 * 37 * 41");
    QTest::newRow("4294967279*4294967291")
        << Q_UINT64_C(18446743979220271189) << QStringLiteral("4294967279 * 4294967291");
    QTest::newRow("2^64-59 prime")
        << Q_UINT64_C(18446744073709551557) << QStringLiteral("18446744073709551557");
    QTest::newRow("2^64-3") << Q_UINT64_C(18446744073709551613)
                            << QStringLiteral("13 * 3889 * 364870227143809");
    QTest::newRow("2^64-1") << Q_UINT64_C(18446744073709551615)
                            << QStringLiteral("3 * 5 * 17 * 257 * 641 * 65537 * 6700417");
}

void TestDivisors::primeFactorsHardCases() {
    QFETCH(quint64, n);
    QFETCH(QString, factors);
    QCOMPARE(FormatFactors(PrimeFactors(n)), factors);
}

void TestDivisors::aliquotSumMatchesPairSum_data() {
    AddRangeRows(0, kFactorLimit, 5000);
}

void TestDivisors::aliquotSumMatchesPairSum() {
    QFETCH(long long, first);
    QFETCH(long long, last);
    for (long long n = first; n <= last; ++n) {
        const std::optional<std::uint64_t> fast = AliquotSum(static_cast<std::uint64_t>(n));
        QVERIFY(fast.has_value());
        const double reference = PairDivisorSum(static_cast<double>(n));
        if (static_cast<double>(*fast) != reference) {
            QFAIL(qPrintable(QStringLiteral("AliquotSum(%1) = %2, PairDivisorSum gives %3")
                                 .arg(n)
                                 .arg(*fast)
                                 .arg(reference, 0, 'f', 0)));
        }
    }
}

void TestDivisors::aliquotSumLargeMatchesPairSum_data() {
    // PairDivisorSum needs about sqrt(n) steps, so only a few rows near 1e15.
    QTest::addColumn<quint64>("n");
    QTest::newRow("600851475143") << Q_UINT64_C(600851475143);
    QTest::newRow("963761198400 highly composite") << Q_UINT64_C(963761198400);
    QTest::newRow("999966000289 square") << Q_UINT64_C(999966000289);
    QTest::newRow("999999000001 prime") << Q_UINT64_C(999999000001);
    QTest::newRow("1000000000000") << Q_UINT64_C(1000000000000);
    QTest::newRow("999999999999960") << Q_UINT64_C(999999999999960);
    QTest::newRow("999999999999989 prime") << Q_UINT64_C(999999999999989);
    QTest::newRow("999999999999999") << Q_UINT64_C(999999999999999);
}

void TestDivisors::aliquotSumLargeMatchesPairSum() {
    QFETCH(quint64, n);
    const std::optional<std::uint64_t> fast = AliquotSum(n);
    QVERIFY(fast.has_value());
    const double reference = PairDivisorSum(static_cast<double>(n));
    // Both are below 2^53 here, so the conversion is exact.
    QCOMPARE(*fast, static_cast<std::uint64_t>(reference));
}

void TestDivisors::aliquotSumKnown_data() {
    QTest::addColumn<quint64>("n");
    QTest::addColumn<bool>("fits");
    QTest::addColumn<quint64>("sum");
    QTest::newRow("0") << Q_UINT64_C(0) << true << Q_UINT64_C(1);
    QTest::newRow("1") << Q_UINT64_C(1) << true << Q_UINT64_C(0);
    QTest::newRow("2") << Q_UINT64_C(2) << true << Q_UINT64_C(1);
    QTest::newRow("6 perfect") << Q_UINT64_C(6) << true << Q_UINT64_C(6);
    QTest::newRow("28 perfect") << Q_UINT64_C(28) << true << Q_UINT64_C(28);
    QTest::newRow("496 perfect") << Q_UINT64_C(496) << true << Q_UINT64_C(496);
    QTest::newRow("12") << Q_UINT64_C(12) << true << Q_UINT64_C(16);
    QTest::newRow("16") << Q_UINT64_C(16) << true << Q_UINT64_C(15);
    QTest::newRow("25") << Q_UINT64_C(25) << true << Q_UINT64_C(6);
    QTest::newRow("36") << Q_UINT64_C(36) << true << Q_UINT64_C(55);
    QTest::newRow("220") << Q_UINT64_C(220) << true << Q_UINT64_C(284);
    QTest::newRow("284") << Q_UINT64_C(284) << true << Q_UINT64_C(220);
    QTest::newRow("1184") << Q_UINT64_C(1184) << true << Q_UINT64_C(1210);
    QTest::newRow("1210") << Q_UINT64_C(1210) << true << Q_UINT64_C(1184);
    QTest::newRow("999999999999989 prime") << Q_UINT64_C(999999999999989) << true << Q_UINT64_C(1);
    QTest::newRow("999999999999999")
        << Q_UINT64_C(999999999999999) << true << Q_UINT64_C(614847741624321);
    QTest::newRow("999999937^2") << Q_UINT64_C(999999874000003969) << true << Q_UINT64_C(999999938);
    QTest::newRow("4294967279*4294967291")
        << Q_UINT64_C(18446743979220271189) << true << Q_UINT64_C(8589934571);
    QTest::newRow("2^64-59 prime") << Q_UINT64_C(18446744073709551557) << true << Q_UINT64_C(1);
    // sigma(2^63) = 2^64 - 1 is the largest sigma that still fits.
    QTest::newRow("2^63") << Q_UINT64_C(9223372036854775808) << true
                          << Q_UINT64_C(9223372036854775807);
    QTest::newRow("3*2^62 overflows") << Q_UINT64_C(13835058055282163712) << false << Q_UINT64_C(0);
    QTest::newRow("2^64-1 overflows") << Q_UINT64_C(18446744073709551615) << false << Q_UINT64_C(0);
    QTest::newRow("18401055938125660800 overflows")
        << Q_UINT64_C(18401055938125660800) << false << Q_UINT64_C(0);
}

void TestDivisors::aliquotSumKnown() {
    QFETCH(quint64, n);
    QFETCH(bool, fits);
    QFETCH(quint64, sum);
    const std::optional<std::uint64_t> result = AliquotSum(n);
    QCOMPARE(result.has_value(), fits);
    if (fits) {
        QCOMPARE(*result, sum);
    }
}

void TestDivisors::trialDivisionKnown_data() {
    QTest::addColumn<qint32>("m");
    QTest::addColumn<QString>("factors");
    QTest::newRow("720") << 720 << QStringLiteral("2^4 * 3^2 * 5");
    QTest::newRow("1") << 1 << QString();
    QTest::newRow("0") << 0 << QString();
    QTest::newRow("-1") << -1 << QString();
    QTest::newRow("-720") << -720 << QString();
    QTest::newRow("INT32_MIN") << std::numeric_limits<std::int32_t>::min() << QString();
    QTest::newRow("2") << 2 << QStringLiteral("2");
    QTest::newRow("49") << 49 << QStringLiteral("7^2");
    QTest::newRow("1024") << 1024 << QStringLiteral("2^10");
    QTest::newRow("46337^2") << 2147117569 << QStringLiteral("46337^2");
    QTest::newRow("2*1073741789") << 2147483578 << QStringLiteral("2 * 1073741789");
    QTest::newRow("2147483646") << 2147483646
                                << QStringLiteral("2 * 3^2 * 7 * 11 * 31 * 151 * 331");
    QTest::newRow("2147483647 prime") << 2147483647 << QStringLiteral("2147483647");
}

void TestDivisors::trialDivisionKnown() {
    QFETCH(qint32, m);
    QFETCH(QString, factors);
    QCOMPARE(FormatFactors(TrialDivisionFactors(m)), factors);
}

void TestDivisors::trialDivisionMatchesPrimeFactors_data() {
    QTest::addColumn<qint32>("first");
    QTest::addColumn<qint32>("last");
    QTest::addColumn<qint32>("step");
    QTest::newRow("1..20000") << 1 << kFactorLimit << 1;
    QTest::newRow("top of int32, every 2147483th")
        << 2147483647 - 999 * 2147483 << 2147483647 << 2147483;
    QTest::newRow("top of int32, last 500") << 2147483647 - 499 << 2147483647 << 1;
}

void TestDivisors::trialDivisionMatchesPrimeFactors() {
    QFETCH(qint32, first);
    QFETCH(qint32, last);
    QFETCH(qint32, step);
    // 64-bit counter so that stepping past the last int32 cannot overflow.
    for (std::int64_t m = first; m <= last; m += step) {
        const auto m32 = static_cast<std::int32_t>(m);
        QCOMPARE(QStringLiteral("%1 = %2").arg(m).arg(FormatFactors(TrialDivisionFactors(m32))),
                 QStringLiteral("%1 = %2").arg(m).arg(
                     FormatFactors(PrimeFactors(static_cast<std::uint64_t>(m)))));
    }
}

QTEST_APPLESS_MAIN(TestDivisors)

#include "test_divisors.moc"

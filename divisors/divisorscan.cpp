// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "divisors/divisorscan.h"

namespace divisors {

DivisorSummary SummarizeProperDivisors(long long n) {
    DivisorSummary summary;
    ScanProperDivisors(n, [&summary](long long t, bool isDivisor) {
        if (isDivisor) {
            ++summary.count;
            summary.sum += t;
        }
    });
    return summary;
}

} // namespace divisors

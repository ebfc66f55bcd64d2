// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace divisors {

// Descending trial-division scan of the proper divisors of n (1 <= d <= n - 1, n % d == 0),
// largest first. onTrial(t, isDivisor) is called for every trial t = n - 1, n - 2, ..., 1, so a
// caller can act after each trial or only on the divisors. n < 2 (including negative n) makes no
// trial at all. Deliberately plain: no tables or caches, every call does its own n - 1 trials.
template <class OnTrial> void ScanProperDivisors(long long n, OnTrial&& onTrial) {
    // Checked before computing n - 1, which would overflow for the most negative n.
    if (n < 2) {
        return;
    }
    for (long long t = n - 1; t >= 1; --t) {
        const bool isDivisor = n % t == 0;
        onTrial(t, isDivisor);
    }
}

// Number and sum of the proper divisors: count = T(n) - 1, sum = S(n).
struct DivisorSummary {
    int count = 0;
    long long sum = 0;
};

// Summary from a single ScanProperDivisors pass.
DivisorSummary SummarizeProperDivisors(long long n);

} // namespace divisors

// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace divisors {

// Sum of the proper divisors found in pairs (d, x / d) for d = 2 .. floor(sqrt(x)), plus 1, minus
// sqrt(x) when x is a square (it was added twice). Runs in double precision and O(sqrt x) steps;
// it is the slow reference the fast routines are checked against.
// Whole x >= 1 gives S(x); x = 0 gives 1, a non-whole x gives 1.
// Negative x, NaN and infinity give NaN instead of looping.
double PairDivisorSum(double x);

} // namespace divisors

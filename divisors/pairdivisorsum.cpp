// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "divisors/pairdivisorsum.h"

#include <cmath>
#include <limits>

namespace divisors {

double PairDivisorSum(double x) {
    // Written so that NaN fails the test too; infinity would make the loop endless.
    if (!(x >= 0.0) || std::isinf(x)) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    const double root = std::sqrt(x);
    const double bound = std::floor(root);
    double sum = 0.0;
    for (double d = 2.0; d <= bound; d += 1.0) {
        const double quotient = x / d;
        if (quotient == std::trunc(quotient)) {
            sum += d;
            sum += quotient;
        }
    }
    sum += 1.0;
    if (root == std::trunc(root)) {
        sum -= root;
    }
    return sum;
}

} // namespace divisors

// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "aliquotstep.h"

#include "divisors/primefactors.h"
#include "surface/numbertext.h"

#include <cmath>
#include <cstdint>

namespace factor {

using surface::NumberText;

AliquotStep::Outcome AliquotStep::Step(QStringView text) {
    Outcome outcome;
    const double n = NumberText::lenient(text);
    outcome.read = n;
    // Written so that NaN is refused as well.
    if (!(n >= 0 && n <= largestInput))
        return outcome;
    outcome.accepted = true;
    if (n != std::floor(n)) {
        // No quotient of a fraction is whole: only the divisor 1 is counted.
        outcome.sum = 1;
    } else {
        // Below 10^15 sigma(n) is far from overflowing 64 bits, and S(n) < 2^53 stays exact
        // in a double.
        const auto sum = divisors::AliquotSum(static_cast<std::uint64_t>(n));
        outcome.sum = static_cast<double>(sum.value_or(0));
    }
    outcome.text = NumberText::ofInteger(static_cast<long long>(outcome.sum));
    return outcome;
}

QString AliquotStep::RefusalText() {
    return QStringLiteral("S(n) nur für ganze Zahlen von 0 bis 999999999999999");
}

} // namespace factor

// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace divisors {

struct PrimePower {
    std::uint64_t prime;
    int exponent;
};

// Prime factorization with the primes ascending; empty for 0 and 1. Trial division by the primes
// below 1000, then deterministic Miller-Rabin and Pollard's rho (Brent's variant) for the rest,
// so even 64-bit semiprimes with two large factors take well under a millisecond.
std::vector<PrimePower> PrimeFactors(std::uint64_t n);

// Deterministic for every 64-bit n (Miller-Rabin with the twelve prime bases 2 .. 37).
bool IsPrime(std::uint64_t n);

// Factorization the way the factorization sheet shows it: divide by d = 2, 3, 4, ... while
// d * d <= cofactor; a remaining cofactor > 1 is the last prime. At most about 46341 trials for any
// int32. m < 1 gives an empty list.
std::vector<PrimePower> TrialDivisionFactors(std::int32_t m);

// S(n), the sum of the proper divisors, as sigma(n) - n from PrimeFactors. Agrees with
// PairDivisorSum on whole numbers, including AliquotSum(0) = 1 and AliquotSum(1) = 0.
// std::nullopt when sigma(n) does not fit in 64 bits (possible only for n above about 2.7e18).
std::optional<std::uint64_t> AliquotSum(std::uint64_t n);

} // namespace divisors

// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "divisors/primefactors.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <numeric>

namespace divisors {

namespace {

using u64 = std::uint64_t;
__extension__ typedef unsigned __int128 u128;

// Trial division handles every prime below this limit; Pollard's rho only sees larger factors.
constexpr u64 kTrialLimit = 1000;

constexpr auto kSmallPrimes = [] {
    std::array<std::uint16_t, 168> primes{};
    std::size_t count = 0;
    for (std::uint16_t c = 2; c < kTrialLimit; ++c) {
        bool prime = true;
        for (std::uint16_t d = 2; d * d <= c; ++d) {
            if (c % d == 0) {
                prime = false;
                break;
            }
        }
        if (prime) {
            primes[count++] = c;
        }
    }
    return primes;
}();
static_assert(kSmallPrimes.back() == 997);

// These bases make Miller-Rabin exact for all n below 3.3e24, so for every 64-bit n.
constexpr std::array<u64, 12> kWitnesses = {2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37};

// Arithmetic modulo an odd n > 1 on values in Montgomery form (a * 2^64 mod n). A product is
// reduced with two 64x64 multiplications instead of a 128-bit division.
class Montgomery {
  public:
    explicit Montgomery(u64 n) : n_(n), inverse_(n), r2_(0) {
        // Newton's iteration for n^-1 mod 2^64; n * n == 1 mod 8 gives 3 correct bits to start,
        // and each step doubles them.
        for (int i = 0; i < 5; ++i) {
            inverse_ *= 2 - n * inverse_;
        }
        const u64 r = (0 - n) % n; // 2^64 mod n
        r2_ = static_cast<u64>(static_cast<u128>(r) * r % n);
    }

    u64 ToForm(u64 a) const { return Reduce(static_cast<u128>(a % n_) * r2_); }
    u64 Mul(u64 a, u64 b) const { return Reduce(static_cast<u128>(a) * b); }
    u64 Add(u64 a, u64 b) const {
        const u64 s = a + b;
        return (s < a || s >= n_) ? s - n_ : s;
    }
    u64 Sub(u64 a, u64 b) const { return a >= b ? a - b : a - b + n_; }

  private:
    // t * 2^-64 mod n for t < n * 2^64. t and m * n agree in their low 64 bits, so the
    // difference of the high halves is exact and lies in (-n, n).
    u64 Reduce(u128 t) const {
        const u64 m = static_cast<u64>(t) * inverse_;
        const u64 high = static_cast<u64>(t >> 64);
        const u64 mn = static_cast<u64>((static_cast<u128>(m) * n_) >> 64);
        return high >= mn ? high - mn : high - mn + n_;
    }

    u64 n_;
    u64 inverse_;
    u64 r2_; // 2^128 mod n, converts into Montgomery form
};

u64 PowForm(const Montgomery& mont, u64 base, u64 exponent, u64 one) {
    u64 result = one;
    while (exponent != 0) {
        if (exponent & 1) {
            result = mont.Mul(result, base);
        }
        base = mont.Mul(base, base);
        exponent >>= 1;
    }
    return result;
}

// A nontrivial factor of an odd composite n without prime factors below kTrialLimit.
u64 FindFactor(u64 n) {
    const Montgomery mont(n);
    constexpr u64 kBatch = 128; // differences multiplied together per gcd
    for (u64 c = 1;; ++c) {
        const u64 increment = mont.ToForm(c);
        const auto step = [&](u64 v) { return mont.Add(mont.Mul(v, v), increment); };
        u64 y = mont.ToForm(2);
        u64 x = y;
        u64 saved = y;
        u64 product = 1;
        u64 g = 1;
        for (u64 r = 1; g == 1; r *= 2) {
            x = y;
            for (u64 i = 0; i < r; ++i) {
                y = step(y);
            }
            for (u64 k = 0; k < r && g == 1; k += kBatch) {
                saved = y;
                const u64 count = std::min(kBatch, r - k);
                for (u64 i = 0; i < count; ++i) {
                    y = step(y);
                    product = mont.Mul(product, mont.Sub(x, y));
                }
                g = std::gcd(product, n);
            }
        }
        if (g == n) {
            // The batch collected every factor at once; redo it one difference at a time.
            do {
                saved = step(saved);
                g = std::gcd(mont.Sub(x, saved), n);
            } while (g == 1);
        }
        if (g != n) {
            return g;
        }
        // The sequence closed its cycle modulo n itself; try another polynomial.
    }
}

void CollectLargePrimes(u64 n, std::vector<u64>& primes) {
    if (IsPrime(n)) {
        primes.push_back(n);
        return;
    }
    const u64 factor = FindFactor(n);
    CollectLargePrimes(factor, primes);
    CollectLargePrimes(n / factor, primes);
}

void DivideOut(u64& cofactor, u64 d, std::vector<PrimePower>& result) {
    int exponent = 0;
    while (cofactor % d == 0) {
        cofactor /= d;
        ++exponent;
    }
    result.push_back({d, exponent});
}

} // namespace

bool IsPrime(std::uint64_t n) {
    if (n < 2) {
        return false;
    }
    for (const u64 p : kWitnesses) {
        if (n % p == 0) {
            return n == p;
        }
    }
    if (n < 41 * 41) {
        return true;
    }
    const Montgomery mont(n);
    const int twos = std::countr_zero(n - 1);
    const u64 odd = (n - 1) >> twos;
    const u64 one = mont.ToForm(1);
    const u64 minusOne = mont.ToForm(n - 1);
    for (const u64 a : kWitnesses) {
        u64 x = PowForm(mont, mont.ToForm(a), odd, one);
        if (x == one || x == minusOne) {
            continue;
        }
        bool witnessed = true;
        for (int i = 1; i < twos && witnessed; ++i) {
            x = mont.Mul(x, x);
            witnessed = x != minusOne;
        }
        if (witnessed) {
            return false;
        }
    }
    return true;
}

std::vector<PrimePower> PrimeFactors(std::uint64_t n) {
    std::vector<PrimePower> result;
    if (n < 2) {
        return result;
    }
    for (const u64 p : kSmallPrimes) {
        if (p * p > n) {
            break;
        }
        if (n % p == 0) {
            DivideOut(n, p, result);
        }
    }
    if (n == 1) {
        return result;
    }
    std::vector<u64> large;
    CollectLargePrimes(n, large);
    std::sort(large.begin(), large.end());
    for (std::size_t i = 0; i < large.size();) {
        std::size_t j = i;
        while (j < large.size() && large[j] == large[i]) {
            ++j;
        }
        result.push_back({large[i], static_cast<int>(j - i)});
        i = j;
    }
    return result;
}

std::vector<PrimePower> TrialDivisionFactors(std::int32_t m) {
    std::vector<PrimePower> result;
    if (m < 1) {
        return result;
    }
    u64 cofactor = static_cast<u64>(m);
    // d stays below 46342, so d * d cannot overflow.
    for (u64 d = 2; d * d <= cofactor; ++d) {
        if (cofactor % d == 0) {
            DivideOut(cofactor, d, result);
        }
    }
    if (cofactor > 1) {
        result.push_back({cofactor, 1});
    }
    return result;
}

std::optional<std::uint64_t> AliquotSum(std::uint64_t n) {
    if (n == 0) {
        return 1; // same as PairDivisorSum(0)
    }
    // sigma is multiplicative: the product of 1 + p + ... + p^e over the prime powers.
    u64 sigma = 1;
    for (const PrimePower& pp : PrimeFactors(n)) {
        u64 power = 1;
        u64 partial = 1;
        for (int i = 0; i < pp.exponent; ++i) {
            if (__builtin_mul_overflow(power, pp.prime, &power) ||
                __builtin_add_overflow(partial, power, &partial)) {
                return std::nullopt;
            }
        }
        if (__builtin_mul_overflow(sigma, partial, &sigma)) {
            return std::nullopt;
        }
    }
    return sigma - n;
}

} // namespace divisors

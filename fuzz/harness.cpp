// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "harness.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace fuzz {

namespace {

double millisecondsFor(void (*check)(const std::uint8_t*, std::size_t), const std::uint8_t* data,
                       std::size_t size) {
    const auto start = std::chrono::steady_clock::now();
    check(data, size);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

} // namespace

void Harness::decode(const std::uint8_t* bytes, std::size_t size, QString& text) {
    // UTF-8 never gives more UTF-16 units than it has bytes; resize keeps the capacity.
    text.resize(static_cast<qsizetype>(size));
    const QChar* end =
        m_utf8.appendToBuffer(text.data(), QByteArrayView(bytes, static_cast<qsizetype>(size)));
    text.truncate(end - text.constData());
}

void Harness::runTimed(void (*check)(const std::uint8_t*, std::size_t), const std::uint8_t* data,
                       std::size_t size) {
    double ms = millisecondsFor(check, data, size);
    for (int retry = 0; retry < 2 && ms > slowLimitMs; ++retry)
        ms = std::min(ms, millisecondsFor(check, data, size));
    if (ms > slowLimitMs) {
        std::fprintf(stderr, "slow input: %.2f ms (limit %.0f ms)\n", ms, slowLimitMs);
        std::abort();
    }
}

void Harness::fail(const char* what, const QString& text) {
    std::fprintf(stderr, "invariant broken: %s\n  text: \"%s\"\n", what, qUtf8Printable(text));
    std::abort();
}

bool Harness::sameNumber(double a, double b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

} // namespace fuzz

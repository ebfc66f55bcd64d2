// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringDecoder>
#include <cstddef>
#include <cstdint>

namespace fuzz {

// What every fuzz target does around its checks: turns the bytes into text without allocating
// for each input, reports a broken invariant and stops at an input that is too slow.
class Harness {
  public:
    // Longer than this and an input counts as slow; one run stays far below it.
    static constexpr double slowLimitMs = 10.0;

    // bytes as UTF-8 in the reused buffer text, the way QString::fromUtf8 reads them.
    void decode(const std::uint8_t* bytes, std::size_t size, QString& text);

    // Runs check on the input and aborts when it stays slower than slowLimitMs in three tries
    // (a busy machine can stretch one run; a slow input stays slow when tried again).
    static void runTimed(void (*check)(const std::uint8_t*, std::size_t), const std::uint8_t* data,
                         std::size_t size);

    [[noreturn]] static void fail(const char* what, const QString& text);

    // Equal, or both not a number.
    static bool sameNumber(double a, double b);

  private:
    // Stateless: each input is read on its own, a leading BOM dropped as QString::fromUtf8 does.
    QStringDecoder m_utf8{QStringDecoder::Utf8, QStringDecoder::Flag::Stateless};
};

} // namespace fuzz

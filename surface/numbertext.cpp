// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "numbertext.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

namespace surface {

namespace {

// Converts an already validated ASCII number ("-12.5e3", ".5", "7.") to double. from_chars does
// not depend on the C locale, which a Qt application sets from the environment.
double convert(const std::string& s) {
    const char* first = s.data();
    const char* last = s.data() + s.size();
    bool negative = false;
    if (first != last && (*first == '+' || *first == '-')) {
        negative = *first == '-';
        ++first;
    }
    double value = 0;
    auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: decide by the decimal exponent of the number.
        long long exponent = 0;
        const char* p = first;
        while (p != last && *p == '0')
            ++p;
        long long leadingDigits = 0;
        bool seenPoint = false;
        bool nonZero = false;
        for (; p != last && *p != 'e' && *p != 'E'; ++p) {
            if (*p == '.') {
                seenPoint = true;
            } else if (*p != '0' || nonZero) {
                nonZero = true;
                if (!seenPoint)
                    ++leadingDigits;
            } else if (seenPoint) {
                --leadingDigits; // zeros right after the point
            }
        }
        if (p != last) {
            ++p;
            bool expNegative = false;
            if (p != last && (*p == '+' || *p == '-'))
                expNegative = *p++ == '-';
            for (; p != last && exponent < 1000000; ++p)
                exponent = exponent * 10 + (*p - '0');
            if (expNegative)
                exponent = -exponent;
        }
        value = leadingDigits + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (ec != std::errc() || ptr != last) {
        value = 0;
    }
    return negative ? -value : value;
}

// Length of the number at the start of s (sign, digits, point, exponent), 0 when there is none.
qsizetype scanNumber(const std::u16string_view s) {
    qsizetype i = 0;
    const auto n = static_cast<qsizetype>(s.size());
    auto digit = [&](qsizetype k) { return k < n && s[k] >= u'0' && s[k] <= u'9'; };
    if (i < n && (s[i] == u'+' || s[i] == u'-'))
        ++i;
    qsizetype digits = 0;
    while (digit(i)) {
        ++i;
        ++digits;
    }
    if (i < n && s[i] == u'.') {
        ++i;
        while (digit(i)) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return 0;
    if (i < n && (s[i] == u'e' || s[i] == u'E')) {
        qsizetype j = i + 1;
        if (j < n && (s[j] == u'+' || s[j] == u'-'))
            ++j;
        if (digit(j)) {
            while (digit(j))
                ++j;
            i = j;
        }
    }
    return i;
}

std::string toAscii(std::u16string_view s) {
    std::string out;
    out.reserve(s.size());
    for (char16_t c : s)
        out.push_back(static_cast<char>(c));
    return out;
}

} // namespace

QString NumberText::of(double v) {
    if (std::isnan(v))
        return QStringLiteral(" NaN");
    if (std::isinf(v))
        return v > 0 ? QStringLiteral(" Inf") : QStringLiteral("-Inf");
    // Whole numbers, by far the most common case on the canvas, without going through digits.
    if (std::fabs(v) < 1e15 && v == std::trunc(v))
        return ofInteger(static_cast<long long>(v));
    const QString sign = v < 0 ? QStringLiteral("-") : QStringLiteral(" ");
    // 15 significant digits and the decimal exponent of the rounded value.
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(v));
    const QString text = QString::fromLatin1(buffer);
    const qsizetype ePos = text.indexOf(QLatin1Char('e'));
    const int exponent = text.mid(ePos + 1).toInt();
    QString digits = text.left(1) + text.mid(2, ePos - 2);
    while (digits.size() > 1 && digits.endsWith(QLatin1Char('0')))
        digits.chop(1);
    QString body;
    if (exponent >= 15 || exponent < -4) {
        body = digits.left(1);
        if (digits.size() > 1)
            body += QLatin1Char('.') + digits.mid(1);
        body += QStringLiteral("E%1%2")
                    .arg(exponent < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                    .arg(std::abs(exponent), 2, 10, QLatin1Char('0'));
    } else if (exponent >= 0) {
        const qsizetype intLen = exponent + 1;
        if (digits.size() <= intLen)
            body = digits + QString(intLen - digits.size(), QLatin1Char('0'));
        else
            body = digits.left(intLen) + QLatin1Char('.') + digits.mid(intLen);
    } else {
        body = QLatin1Char('.') + QString(-exponent - 1, QLatin1Char('0')) + digits;
    }
    return sign + body;
}

QString NumberText::ofInteger(long long v) {
    const QString digits = QString::number(v);
    return v < 0 ? digits : QLatin1Char(' ') + digits;
}

int NumberText::width(double v) {
    if (std::fabs(v) < 1e15 && v == std::trunc(v)) {
        // Digits plus the blank or the minus sign.
        auto magnitude = static_cast<long long>(std::fabs(v));
        int digits = 1;
        while (magnitude >= 10) {
            magnitude /= 10;
            ++digits;
        }
        return digits + 1;
    }
    return static_cast<int>(of(v).size());
}

double NumberText::lenient(QStringView text) {
    std::u16string packed;
    packed.reserve(static_cast<std::size_t>(text.size()));
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u' ' || u == u'\t' || u == u'\n')
            continue;
        // Only the characters a number can hold matter; the first other one ends the number.
        const bool numberChar = (u >= u'0' && u <= u'9') || u == u'+' || u == u'-' || u == u'.' ||
                                u == u'e' || u == u'E';
        if (!numberChar)
            break;
        packed.push_back(u);
    }
    const qsizetype length = scanNumber(packed);
    if (length == 0)
        return 0;
    return convert(
        toAscii(std::u16string_view(packed).substr(0, static_cast<std::size_t>(length))));
}

std::optional<double> NumberText::strict(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && (text[begin] == u' ' || text[begin] == u'\t'))
        ++begin;
    while (end > begin && (text[end - 1] == u' ' || text[end - 1] == u'\t'))
        --end;
    const QStringView core = text.mid(begin, end - begin);
    if (core.isEmpty())
        return std::nullopt;
    const std::u16string_view view(reinterpret_cast<const char16_t*>(core.utf16()),
                                   static_cast<std::size_t>(core.size()));
    if (scanNumber(view) != core.size())
        return std::nullopt;
    return convert(toAscii(view));
}

std::optional<std::int32_t> NumberText::roundToInt32(double v) {
    if (!std::isfinite(v))
        return std::nullopt;
    const double r = std::nearbyint(v); // the default rounding mode sends halves to even
    if (r < -2147483648.0 || r > 2147483647.0)
        return std::nullopt;
    return static_cast<std::int32_t>(r);
}

} // namespace surface

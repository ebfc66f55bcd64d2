// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the test programs share: numbers worked out by sieving instead of with the program's own
// arithmetic, readers of the calls a picture box records, picture comparison, and picture boxes
// set up the way the window sets up its canvas and its factorization sheet.

#include "surface/picturebox.h"
#include "surface/twips.h"

#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPalette>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QVector>

#include <cmath>
#include <cstddef>
#include <functional>
#include <limits>
#include <memory>
#include <numeric>
#include <vector>

namespace support {

using Call = surface::PictureBox::DrawCall;

// ---- colours ----------------------------------------------------------------------------------

inline const QColor black(0, 0, 0);
inline const QColor red(255, 0, 0);   // deficient numbers, outlines of the record holders
inline const QColor green(0, 255, 0); // perfect numbers
inline const QColor blue(0, 0, 255);  // T(n) and its ring
inline const QColor white(255, 255, 255);
inline const QColor darkBlue(0, 0, 128);      // freehand lines
inline const QColor stripYellow(255, 255, 0); // the strip of the number line the marks stand in
inline const QColor markBlue(0, 0, 150);      // the marks of a search

// ---- divisors and primes by sieving -----------------------------------------------------------

// Proper divisors of 0 ... 1000 in ascending order, found by adding every d to its multiples.
inline const std::vector<std::vector<long long>>& ProperDivisors() {
    static const auto table = [] {
        std::vector<std::vector<long long>> t(1001);
        for (long long d = 1; d <= 500; ++d)
            for (long long m = 2 * d; m <= 1000; m += d)
                t[m].push_back(d);
        return t;
    }();
    return table;
}

// S(n), the sum of the proper divisors, for 0 <= n <= 1000.
inline long long SumOf(long long n) {
    const auto& d = ProperDivisors()[static_cast<std::size_t>(n)];
    return std::accumulate(d.begin(), d.end(), 0LL);
}

// The primes from first to last, by the sieve of Eratosthenes.
inline std::vector<long long> PrimesBetween(long long first, long long last) {
    std::vector<bool> composite(static_cast<std::size_t>(last) + 1, false);
    std::vector<long long> primes;
    for (long long p = 2; p <= last; ++p) {
        if (composite[p])
            continue;
        if (p >= first)
            primes.push_back(p);
        for (long long m = p * p; m <= last; m += p)
            composite[m] = true;
    }
    return primes;
}

// ---- numbers on the canvas --------------------------------------------------------------------

// How a whole number is printed on the canvas: sign or blank, digits, one trailing blank.
inline QString Label(long long v) {
    return (v < 0 ? QString::number(v) : QLatin1Char(' ') + QString::number(v)) + QLatin1Char(' ');
}

// Left edge of the label of v centred on a column: 0.2 units per character of the number.
inline double LeftEdge(int column, long long v) {
    return column - 0.2 * (Label(v).size() - 1);
}

inline bool Near(double a, double b) {
    return std::abs(a - b) < 1e-9;
}

// Rounded to four decimals, for positions that are fractions of a unit.
inline double Round4(double v) {
    return std::round(v * 10000) / 10000;
}

// ---- recorded calls ---------------------------------------------------------------------------

inline QVector<Call> Only(const QVector<Call>& calls,
                          const std::function<bool(const Call&)>& keep) {
    QVector<Call> kept;
    for (const Call& c : calls)
        if (keep(c))
            kept.append(c);
    return kept;
}

// The calls of one kind: "Cls", "Line", "Circle", "PSet" or "Print".
inline QVector<Call> CallsOf(const QVector<Call>& calls, const QString& op) {
    return Only(calls, [&op](const Call& c) { return c.op == op; });
}

inline QString Describe(const Call& c) {
    return QStringLiteral("%1 '%2' at (%3, %4)-(%5, %6) r %7 in %8, %9 pt, width %10")
        .arg(c.op, c.text)
        .arg(c.x1)
        .arg(c.y1)
        .arg(c.x2)
        .arg(c.y2)
        .arg(c.radius)
        .arg(c.color.name())
        .arg(c.fontSize)
        .arg(c.drawWidth);
}

// Empty when c prints text with its top-left at (x, y) in colour and size, else what differs.
inline QString PrintMismatch(const Call& c, const QString& text, double x, double y,
                             const QColor& colour, double size) {
    if (c.op == QLatin1String("Print") && c.text == text && Near(c.x1, x) && Near(c.y1, y) &&
        c.color == colour && c.fontSize == size)
        return {};
    return QStringLiteral("expected Print '%1' at (%2, %3) in %4, %5 pt; got %6")
        .arg(text)
        .arg(x)
        .arg(y)
        .arg(colour.name())
        .arg(size)
        .arg(Describe(c));
}

// A label of a sum chart: the only prints at 16 points.
inline bool IsSumLabel(const Call& c) {
    return c.op == QLatin1String("Print") && c.fontSize == 16;
}

// Checks the two prints of each column from..to of a sum chart starting at calls[at]: the white
// copy of the other chart's label, then the label in its class colour. mode 0 is S(n), 1 is
// S(n) - n. Advances at.
inline QString SumColumnsMismatch(const QVector<Call>& calls, qsizetype& at, int from, int to,
                                  int base, int mode) {
    for (int i = from; i <= to; ++i, at += 2) {
        if (at + 1 >= calls.size())
            return QStringLiteral("column %1 missing").arg(i);
        const long long n = base + i;
        const long long s = SumOf(n);
        const double y = static_cast<double>(ProperDivisors()[n].size()) + 4;
        const QColor colour = s < n ? red : s > n ? black : green;
        QString e =
            PrintMismatch(calls[at], Label(mode == 0 ? s - n : s), LeftEdge(i, s), y, white, 16);
        if (e.isEmpty())
            e = PrintMismatch(calls[at + 1], Label(mode == 0 ? s : s - n), LeftEdge(i, s), y,
                              colour, 16);
        if (!e.isEmpty())
            return QStringLiteral("column %1 (n = %2): %3").arg(i).arg(n).arg(e);
    }
    return {};
}

// ---- the factorization sheet ------------------------------------------------------------------

// What a sheet shows after its last Cls, read back from the recorded calls: every text joined by
// "|", the head text, and the factors as "p^e" joined by " * ". Checks on the way that factors
// stand on the factor row and exponents on the raised row, and counts the dots.
struct SheetReading {
    bool cleared = false;
    int callsAfterClear = 0;
    QString texts;
    QString head;
    QString factors;
    int dots = 0;
    bool rowsRight = true;
};

inline SheetReading ReadSheet(const QVector<Call>& calls) {
    SheetReading r;
    qsizetype start = 0;
    for (qsizetype i = 0; i < calls.size(); ++i) {
        if (calls[i].op == QStringLiteral("Cls")) {
            start = i + 1;
            r.cleared = true;
        }
    }
    QStringList texts;
    QStringList parts;
    QString pendingFactor;
    bool first = true;
    for (qsizetype i = start; i < calls.size(); ++i) {
        const Call& c = calls[i];
        ++r.callsAfterClear;
        if (c.op == QStringLiteral("PSet")) {
            ++r.dots;
            r.rowsRight = r.rowsRight && c.y1 == 17 && c.drawWidth == 2;
            continue;
        }
        if (c.op != QStringLiteral("Print"))
            continue;
        texts << c.text;
        if (first) {
            r.head = c.text;
            first = false;
            r.rowsRight = r.rowsRight && c.x1 == 0 && c.y1 == 10 && c.fontSize == 18;
        } else if (pendingFactor.isEmpty()) {
            pendingFactor = c.text.trimmed();
            r.rowsRight = r.rowsRight && c.y1 == 10 && c.fontSize == 18;
        } else {
            parts << pendingFactor + QLatin1Char('^') + c.text.trimmed();
            pendingFactor.clear();
            r.rowsRight = r.rowsRight && c.y1 == 8 && c.fontSize == 14;
        }
    }
    if (!pendingFactor.isEmpty())
        parts << pendingFactor + QStringLiteral("^?");
    r.texts = texts.join(QLatin1Char('|'));
    r.factors = parts.join(QStringLiteral(" * "));
    return r;
}

// The product of "p^e * q^f ..." as read back from a sheet, 0 when a part does not parse.
inline long long ProductOf(const QString& factors) {
    long long product = 1;
    for (const QString& part : factors.split(QStringLiteral(" * "), Qt::SkipEmptyParts)) {
        const QStringList pe = part.split(QLatin1Char('^'));
        bool okP = false;
        bool okE = false;
        const long long p = pe.value(0).toLongLong(&okP);
        const int e = pe.value(1).toInt(&okE);
        if (!okP || !okE || e < 1)
            return 0;
        for (int i = 0; i < e; ++i)
            product *= p;
    }
    return product;
}

// ---- the hit list -----------------------------------------------------------------------------

inline const QString crlf = QStringLiteral("\r\n");
inline const QString thousandNines(1000, QLatin1Char('9'));

// The n of a range with a * S(n) = b * n + c, in double precision like the search.
inline std::vector<long long> HitsOf(double a, double b, double c, int rangeBase) {
    std::vector<long long> hits;
    for (long long n = rangeBase + 1; n <= rangeBase + 500; ++n)
        if (a * static_cast<double>(SumOf(n)) == b * static_cast<double>(n) + c)
            hits.push_back(n);
    return hits;
}

inline std::vector<long long> EveryNumber(int rangeBase) {
    std::vector<long long> all;
    for (long long n = rangeBase + 1; n <= rangeBase + 500; ++n)
        all.push_back(n);
    return all;
}

// The last line of a hit list: " 6, 28, 496,".
inline QString HitLine(const std::vector<long long>& hits) {
    QString line;
    for (long long n : hits)
        line += QStringLiteral(" %1,").arg(n);
    return line;
}

inline QString ExpectedList(int rangeBase, const QString& line3, const QString& hits) {
    const QString range = rangeBase == 0 ? QStringLiteral("Trefferliste von 1 bis 500")
                                         : QStringLiteral("Trefferliste von 501 bis 1000");
    return QStringLiteral("\r\n") + range + QStringLiteral("\r\n") + line3 +
           QStringLiteral("\r\n"
                          "\r\n"
                          "  Zur Primfaktorzerlegung:\r\n"
                          "  1. Zahl einfärben (markieren)\r\n"
                          "  2. Rechte Maustaste klicken\r\n"
                          "  3. kopieren wählen\r\n"
                          "  4. Gelbes Feld anklicken\r\n"
                          "\r\n") +
           hits;
}

// Searches with the whole hit list each gives: the range, the texts of the a, b and c boxes,
// the third line of the list and its hit line, and how many entries that line has (-1: not
// counted separately).
inline void AddHitListRows() {
    const double inf = std::numeric_limits<double>::infinity();
    QTest::addColumn<int>("rangeBase");
    QTest::addColumn<QString>("aText");
    QTest::addColumn<QString>("bText");
    QTest::addColumn<QString>("cText");
    QTest::addColumn<QString>("line3");
    QTest::addColumn<QString>("hits");
    QTest::addColumn<int>("entries"); // -1: not counted separately

    const QString primesLow = HitLine(PrimesBetween(1, 500));
    const QString primesHigh = HitLine(PrimesBetween(501, 1000));
    QTest::newRow("start values 1...500") << 0 << "1"
                                          << "0"
                                          << "1"
                                          << "für S(n) = +1" << primesLow << 95;
    QTest::newRow("start values 501...1000") << 500 << "1"
                                             << "0"
                                             << "1"
                                             << "für S(n) = +1" << primesHigh << 73;
    QTest::newRow("perfect typed") << 0 << "1"
                                   << "1"
                                   << "0"
                                   << "für S(n) = 1n "
                                   << " 6, 28, 496," << 3;
    QTest::newRow("perfect typed 501...1000") << 500 << "1"
                                              << "1"
                                              << "0"
                                              << "für S(n) = 1n "
                                              << "" << 0;
    QTest::newRow("no hit") << 0 << "0"
                            << "0"
                            << "1"
                            << "für S(n) = +1"
                            << "" << 0;
    QTest::newRow("all zero 1...500") << 0 << "0"
                                      << "0"
                                      << "0"
                                      << "für S(n) = 0" << HitLine(EveryNumber(0)) << 500;
    QTest::newRow("all zero 501...1000") << 500 << "0"
                                         << "0"
                                         << "0"
                                         << "für S(n) = 0" << HitLine(EveryNumber(500)) << 500;
    QTest::newRow("header 0 1") << 0 << "1"
                                << "0"
                                << "1"
                                << "für S(n) = +1" << primesLow << 95;
    QTest::newRow("header 2 -3") << 0 << "1"
                                 << "2"
                                 << "-3"
                                 << "für S(n) = 2n -3" << HitLine(HitsOf(1, 2, -3, 0)) << -1;
    QTest::newRow("header 0 0") << 0 << "1"
                                << "0"
                                << "0"
                                << "für S(n) = 0"
                                << " 1," << 1;
    QTest::newRow("header 0 -1") << 0 << "1"
                                 << "0"
                                 << "-1"
                                 << "für S(n) = -1"
                                 << "" << 0;
    // A b of 0 or less writes no b term, and with it not 0, c = 0 writes no c term either.
    QTest::newRow("header -2 0") << 0 << "1"
                                 << "-2"
                                 << "0"
                                 << "für S(n) = "
                                 << "" << 0;
    QTest::newRow("a 2, b 3, c 0") << 0 << "2"
                                   << "3"
                                   << "0"
                                   << "für S(n) = 3n "
                                   << " 24," << 1;
    QTest::newRow("header stepped 1 0") << 0 << "1"
                                        << " 1"
                                        << " 0"
                                        << "für S(n) =  1n "
                                        << " 6, 28, 496," << 3;
    QTest::newRow("b box 2.5") << 0 << "1"
                               << "2.5"
                               << "0"
                               << "für S(n) = 2.5n " << HitLine(HitsOf(1, 2.5, 0, 0)) << -1;
    QTest::newRow("c box 2.5") << 0 << "1"
                               << "0"
                               << "2.5"
                               << "für S(n) = +2.5"
                               << "" << 0;
    QTest::newRow("stepped c keeps blank") << 0 << "1"
                                           << "0"
                                           << " 3"
                                           << "für S(n) = + 3"
                                           << " 4," << 1;
    // Texts the strict reading rejects: the header shows the value the search used.
    QTest::newRow("empty b") << 0 << "1"
                             << ""
                             << "1"
                             << "für S(n) = +1" << primesLow << 95;
    QTest::newRow("letters in b") << 0 << "1"
                                  << "abc"
                                  << "1"
                                  << "für S(n) = +1" << primesLow << 95;
    QTest::newRow("b 1,5") << 0 << "1"
                           << "1,5"
                           << "0"
                           << "für S(n) =  1n "
                           << " 6, 28, 496," << 3;
    QTest::newRow("c letters, b 1") << 0 << "1"
                                    << "1"
                                    << "abc"
                                    << "für S(n) = 1n "
                                    << " 6, 28, 496," << 3;
    QTest::newRow("c letters, b 0") << 0 << "1"
                                    << "0"
                                    << "abc"
                                    << "für S(n) = 0"
                                    << " 1," << 1;
    QTest::newRow("empty c, empty b") << 0 << "1"
                                      << ""
                                      << ""
                                      << "für S(n) = 0"
                                      << " 1," << 1;
    QTest::newRow("c number then letters") << 0 << "1"
                                           << "0"
                                           << "3x"
                                           << "für S(n) = + 3"
                                           << " 4," << 1;
    QTest::newRow("c negative then letters") << 0 << "1"
                                             << "1"
                                             << "-1abc"
                                             << "für S(n) = 1n -1"
                                             << " 1, 2, 4, 8, 16, 32, 64, 128, 256," << 9;
    QTest::newRow("c with blanks inside")
        << 500 << "1"
        << "0"
        << "1 3 4 0"
        << "für S(n) = + 1340" << HitLine(HitsOf(1, 0, 1340, 500)) << -1;
    QTest::newRow("b nan") << 0 << "1"
                           << "nan"
                           << "-0"
                           << "für S(n) = 0"
                           << " 1," << 1;
    QTest::newRow("b 1e308") << 0 << "0"
                             << "1e308"
                             << "-1e308"
                             << "für S(n) = 1e308n -1e308"
                             << " 1," << 1;
    QTest::newRow("b thousand digits")
        << 0 << thousandNines << thousandNines << "0"
        << "für S(n) = " + thousandNines + "n " << HitLine(HitsOf(inf, inf, 0, 0)) << 499;
}

// ---- pictures ---------------------------------------------------------------------------------

// Empty when two pictures are the same, else how many pixels differ and where the first one
// lies, row by row, in pixels and, with the canvas given, in its units.
inline QString PictureDifference(const QImage& actual, const QImage& expected,
                                 const surface::PictureBox* canvas = nullptr) {
    if (actual.size() != expected.size())
        return QStringLiteral("%1 x %2 pixels instead of %3 x %4")
            .arg(actual.width())
            .arg(actual.height())
            .arg(expected.width())
            .arg(expected.height());
    const QImage a = actual.convertToFormat(QImage::Format_RGB32);
    const QImage b = expected.convertToFormat(QImage::Format_RGB32);
    int differing = 0;
    QPoint first;
    for (int y = 0; y < a.height(); ++y) {
        const auto* ra = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* rb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x)
            if (ra[x] != rb[x] && differing++ == 0)
                first = QPoint(x, y);
    }
    if (differing == 0)
        return {};
    QString where = QStringLiteral("(%1, %2)").arg(first.x()).arg(first.y());
    if (canvas) {
        const QPointF user = canvas->toUser(QPointF(first) / a.devicePixelRatio());
        where += QStringLiteral(", x %1 y %2 on the canvas").arg(user.x()).arg(user.y());
    }
    return QStringLiteral("%1 pixels differ, the first at %2: %3 instead of %4")
        .arg(differing)
        .arg(where, QColor(a.pixel(first)).name(), QColor(b.pixel(first)).name());
}

// As PictureDifference, but a pixel counts only where the other picture lacks its colour within
// two pixels, both ways (beyond the edge anything may lie): glyphs set a pixel apart pass, a line
// or text missing or in another colour does not. forgiven tells how many differing pixels passed
// so.
inline QString NearPictureDifference(const QImage& actual, const QImage& expected,
                                     const surface::PictureBox* canvas, int* forgiven) {
    *forgiven = 0;
    if (actual.size() != expected.size())
        return PictureDifference(actual, expected, canvas);
    const QImage a = actual.convertToFormat(QImage::Format_RGB32);
    const QImage b = expected.convertToFormat(QImage::Format_RGB32);
    const auto near = [](const QImage& in, int x, int y, QRgb colour) {
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                if (!in.rect().contains(x + dx, y + dy) || in.pixel(x + dx, y + dy) == colour)
                    return true;
        return false;
    };
    QImage counted = b;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb pa = a.pixel(x, y), pb = b.pixel(x, y);
            if (pa == pb)
                continue;
            if (near(b, x, y, pa) && near(a, x, y, pb)) {
                ++*forgiven;
                counted.setPixel(x, y, pa);
            }
        }
    return PictureDifference(a, counted, canvas);
}

// Device-pixel rectangle strictly inside the user-unit box (x1, y1)-(x2, y2).
inline QRect InnerPixels(surface::PictureBox& canvas, double x1, double y1, double x2, double y2) {
    const qreal ratio = canvas.devicePixelRatioF();
    const QRectF r =
        QRectF(canvas.toPixel(x1, y1) * ratio, canvas.toPixel(x2, y2) * ratio).normalized();
    return QRect(QPoint(int(std::ceil(r.left())) + 1, int(std::ceil(r.top())) + 1),
                 QPoint(int(std::floor(r.right())) - 2, int(std::floor(r.bottom())) - 2));
}

inline int PixelsOtherThan(const QImage& image, const QRect& area, const QColor& colour) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y).rgb() != colour.rgb())
                ++count;
    return count;
}

// WCAG's contrast of a colour against white, from its relative luminance.
inline double ContrastAgainstWhite(const QColor& colour) {
    auto linear = [](double c) {
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    const double luminance = 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
                             0.0722 * linear(colour.blueF());
    return 1.05 / (luminance + 0.05);
}

// ---- picture boxes as the window sets them up -------------------------------------------------

// The output canvas picAusgabe as the window builds it: 196596 x 10000 twips (13106 x 667
// pixels) without a border, white, with Times New Roman at 7.8 points and the system's text
// colour, and the scale (0, 36)-(505, -3) it gets when the window loads. Nothing is drawn yet.
inline std::unique_ptr<surface::PictureBox> OutputCanvas() {
    auto canvas = std::make_unique<surface::PictureBox>();
    QFont font(QStringLiteral("Times New Roman"));
    font.setPointSizeF(7.8);
    font.setBold(false);
    canvas->setBackColor(white);
    canvas->setBorder(surface::PictureBox::Border::None);
    canvas->setBoxFont(font);
    canvas->ForeColor = QGuiApplication::palette().color(QPalette::Text);
    canvas->setFont(font);
    canvas->resize(surface::Twips::toPixels(196596), surface::Twips::toPixels(10000));
    canvas->Scale(0, 36, 505, -3);
    return canvas;
}

// The factorization sheet picZeichenblatt as the window builds it: 16000 x 675 twips without a
// border, yellow, with Courier New at 10.2 points bold and the system's text colour, and the
// scale (0, 1)-(2, 30).
inline std::unique_ptr<surface::PictureBox> FactorSheet() {
    auto sheet = std::make_unique<surface::PictureBox>();
    QFont font(QStringLiteral("Courier New"));
    font.setPointSizeF(10.2);
    font.setBold(true);
    sheet->setBackColor(QColor(255, 255, 0));
    sheet->setBorder(surface::PictureBox::Border::None);
    sheet->setBoxFont(font);
    sheet->ForeColor = QGuiApplication::palette().color(QPalette::Text);
    sheet->setFont(font);
    sheet->resize(surface::Twips::toPixels(16000), surface::Twips::toPixels(675));
    sheet->Scale(0, 1, 2, 30);
    return sheet;
}

} // namespace support

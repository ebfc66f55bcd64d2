// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "boardfile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <algorithm>
#include <cmath>
#include <cstdint>
#if __has_include(<sys/mman.h>)
#include <sys/mman.h>
#endif

namespace board {

namespace {

using Kind = Drawing::Kind;

constexpr QLatin1StringView formatName("teiler-board");
constexpr int maxShownText = 20; // of a refused text quoted in the reason

// The two lists of drawings a board holds, as a refusal names them.
struct DrawingList {
    const char* key;   // in the file
    const char* name;  // UTF-8, at the start of a sentence
    const char* on;    // UTF-8, after a drawing's number
    const char* whole; // UTF-8, the list itself at the start of a sentence
};
constexpr DrawingList canvasList{"drawings", "Die Tafel", "auf der Tafel",
                                 "Die Liste der Zeichnungen auf der Tafel"};
constexpr DrawingList sheetList{"sheet", "Das Zerlegungsblatt", "auf dem Zerlegungsblatt",
                                "Die Liste der Zeichnungen auf dem Zerlegungsblatt"};

// Where a value sits, named as the window shows it: a refusal speaks of the hit list or of a
// drawing's colour, never of the file's keys, which no teacher sees. Only a refusal spells it
// out, so reading allocates nothing for it.
struct Place {
    const char* what; // UTF-8, at the start of a sentence
    qsizetype drawing = -1;
    const DrawingList* list = nullptr; // of a drawing: where it is drawn
};

QString drawingName(qsizetype index, const DrawingList& list) {
    return QStringLiteral("Die Zeichnung %1 %2")
        .arg(QString::number(index + 1), QString::fromUtf8(list.on));
}

QString nameOf(const Place& at) {
    const QString what = QString::fromUtf8(at.what);
    if (at.drawing < 0)
        return what;
    return QStringLiteral("%1 der Zeichnung %2 %3")
        .arg(what, QString::number(at.drawing + 1), QString::fromUtf8(at.list->on));
}

// The values a number may take, and how a refusal names them.
struct Rule {
    bool (*fits)(double);
    const char* wanted; // UTF-8
};

bool whole(double v) {
    return v == std::trunc(v);
}

const Rule coordinateRule{[](double v) { return std::fabs(v) <= BoardFile::maxCoordinate; },
                          "eine Zahl von -1000000 bis 1000000"};
const Rule radiusRule{[](double v) { return v >= 0 && v <= BoardFile::maxCoordinate; },
                      "eine Zahl von 0 bis 1000000"};
const Rule widthRule{[](double v) { return v >= 1 && v <= BoardFile::maxWidth && whole(v); },
                     "eine ganze Zahl von 1 bis 64"};
const Rule fontSizeRule{[](double v) { return v > 0 && v <= BoardFile::maxFontSize; },
                        "eine Zahl über 0 bis höchstens 500"};
const Rule scrollRule{[](double v) { return v >= 0 && v <= BoardFile::maxScroll && whole(v); },
                      "eine ganze Zahl von 0 bis 100000"};
const Rule rangeRule{[](double v) { return v == 0 || v == 500; }, "0 oder 500"};
const Rule sumModeRule{[](double v) { return v == 0 || v == 1; }, "0 oder 1"};
const Rule lineModeRule{[](double v) { return v == 0 || v == 1 || v == 2; }, "0, 1 oder 2"};
const Rule strokeRule{[](double v) { return v >= 0 && v <= BoardFile::maxStroke && whole(v); },
                      "eine ganze Zahl von 0 bis 2147483647"};
const Rule penInkRule{[](double v) { return v >= 0 && v <= BoardFile::maxPenInk && whole(v); },
                      "eine ganze Zahl von 0 bis 4"};
const Rule finiteRule{[](double v) { return std::isfinite(v); }, "eine endliche Zahl"};

QString numberText(double v) {
    return QString::number(v, 'g', QLocale::FloatingPointShortest);
}

bool refuse(QString& why, const QString& reason) {
    why = reason;
    return false;
}

bool fits(const Rule& rule, double v, const Place& at, QString& why) {
    if (rule.fits(v))
        return true;
    return refuse(why, QStringLiteral("%1 muss %2 sein, ist aber %3.")
                           .arg(nameOf(at), QString::fromUtf8(rule.wanted), numberText(v)));
}

bool fitsText(const QString& text, int limit, const Place& at, QString& why) {
    if (text.size() <= limit)
        return true;
    return refuse(why, QStringLiteral("%1 ist länger als %2 Zeichen.").arg(nameOf(at)).arg(limit));
}

// A value of the wrong JSON type, or none at all.
template <typename Value>
bool wrongType(const Value& v, const Place& at, const char* wanted, QString& why) {
    if (v.isUndefined())
        return refuse(why, QStringLiteral("%1 fehlt in der Datei.").arg(nameOf(at)));
    return refuse(why, QStringLiteral("%1 hat den falschen Typ (erwartet: %2).")
                           .arg(nameOf(at), QString::fromUtf8(wanted)));
}

template <typename Value>
bool readNumber(const Value& v, const Place& at, const Rule& rule, double& out, QString& why) {
    if (!v.isDouble())
        return wrongType(v, at, "Zahl", why);
    out = v.toDouble();
    return fits(rule, out, at, why);
}

template <typename Value, typename Int>
bool readInteger(const Value& v, const Place& at, const Rule& rule, Int& out, QString& why) {
    double d = 0;
    if (!readNumber(v, at, rule, d, why))
        return false;
    out = static_cast<Int>(d);
    return true;
}

template <typename Value> bool readBool(const Value& v, const Place& at, bool& out, QString& why) {
    if (!v.isBool())
        return wrongType(v, at, "true oder false", why);
    out = v.toBool();
    return true;
}

template <typename Value>
bool readText(const Value& v, const Place& at, int limit, QString& out, QString& why) {
    if (!v.isString())
        return wrongType(v, at, "Text", why);
    out = v.toString();
    return fitsText(out, limit, at, why);
}

int hexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

template <typename Value>
bool readColour(const Value& v, const Place& at, QRgb& out, QString& why) {
    if (!v.isString())
        return wrongType(v, at, "Farbe als Text #rrggbb", why);
    const QString text = v.toString();
    QRgb rgb = 0;
    bool ok = text.size() == 7 && text[0] == u'#';
    for (qsizetype i = 1; ok && i < 7; ++i) {
        const int digit = hexDigit(text[i].unicode());
        ok = digit >= 0;
        rgb = rgb << 4 | static_cast<QRgb>(digit);
    }
    if (!ok)
        return refuse(why, QStringLiteral("%1 ist nicht in der Form #rrggbb geschrieben: „%2“.")
                               .arg(nameOf(at), text.left(maxShownText)));
    out = 0xff000000u | rgb;
    return true;
}

QString colourText(QRgb rgb) {
    static constexpr char digits[] = "0123456789abcdef";
    char text[7] = {'#'};
    for (int i = 0; i < 6; ++i)
        text[1 + i] = digits[(rgb >> (20 - 4 * i)) & 0xf];
    return QString::fromLatin1(text, 7);
}

bool fitsColour(QRgb rgb, const Place& at, QString& why) {
    if (qAlpha(rgb) == 255)
        return true;
    return refuse(why, QStringLiteral("%1 ist durchscheinend; eine Tafel hält nur deckende Farben.")
                           .arg(nameOf(at)));
}

// The entries of each kind: its letter, then what it draws with.
struct KindInfo {
    char16_t letter;
    qsizetype entries;
};
constexpr KindInfo kinds[] = {{u'L', 8}, {u'C', 6}, {u'P', 5}, {u'T', 7}};
// A line of a freehand stroke has two more: the stroke's number and whether it highlights.
constexpr qsizetype strokeLineEntries = 10;

// What a refusal calls a drawing's values.
namespace shown {
constexpr const char* startX = "Die x-Koordinate des Anfangs";
constexpr const char* startY = "Die y-Koordinate des Anfangs";
constexpr const char* endX = "Die x-Koordinate des Endes";
constexpr const char* endY = "Die y-Koordinate des Endes";
constexpr const char* centreX = "Die x-Koordinate des Mittelpunkts";
constexpr const char* centreY = "Die y-Koordinate des Mittelpunkts";
constexpr const char* radius = "Der Radius";
constexpr const char* pointX = "Die x-Koordinate";
constexpr const char* pointY = "Die y-Koordinate";
constexpr const char* colour = "Die Farbe";
constexpr const char* width = "Die Strichbreite";
constexpr const char* lineMode = "Die Linienart";
constexpr const char* fontSize = "Die Schriftgröße";
constexpr const char* bold = "Der Fettdruck";
constexpr const char* text = "Der Text";
constexpr const char* stroke = "Die Nummer des Strichs";
constexpr const char* highlight = "Die Angabe „Textmarker“";
} // namespace shown

// strokes: the file's version knows the numbers of freehand strokes.
bool readDrawing(QJsonValueConstRef item, qsizetype index, const DrawingList& list, bool strokes,
                 Drawing& d, QString& why) {
    if (!item.isArray())
        return refuse(why, QStringLiteral("%1 ist keine Liste.").arg(drawingName(index, list)));
    const QJsonArray entries = item.toArray();
    const auto e = entries.constBegin();
    const qsizetype count = entries.size();
    if (count == 0 || !e[0].isString())
        return refuse(
            why, QStringLiteral("%1 beginnt nicht mit ihrer Art.").arg(drawingName(index, list)));
    const QString letter = e[0].toString();
    const KindInfo* kind = nullptr;
    for (const KindInfo& k : kinds)
        if (letter.size() == 1 && letter[0] == k.letter)
            kind = &k;
    if (!kind)
        return refuse(why, QStringLiteral("%1 hat die unbekannte Art „%2“.")
                               .arg(drawingName(index, list), letter.left(maxShownText)));
    const bool strokeLine = strokes && kind->letter == u'L' && count == strokeLineEntries;
    if (count != kind->entries && !strokeLine)
        return refuse(why, QStringLiteral("%1 hat %2 statt %3 Einträge.")
                               .arg(drawingName(index, list), QString::number(count),
                                    QString::number(kind->entries)));
    d.kind = static_cast<Kind>(kind - kinds);
    const auto at = [index, &list](const char* what) { return Place{what, index, &list}; };
    switch (d.kind) {
    case Kind::Line: {
        int mode = 0;
        if (!readNumber(e[1], at(shown::startX), coordinateRule, d.x1, why) ||
            !readNumber(e[2], at(shown::startY), coordinateRule, d.y1, why) ||
            !readNumber(e[3], at(shown::endX), coordinateRule, d.x2, why) ||
            !readNumber(e[4], at(shown::endY), coordinateRule, d.y2, why) ||
            !readColour(e[5], at(shown::colour), d.color, why) ||
            !readInteger(e[6], at(shown::width), widthRule, d.width, why) ||
            !readInteger(e[7], at(shown::lineMode), lineModeRule, mode, why))
            return false;
        d.mode = static_cast<LineMode>(mode);
        return !strokeLine || (readInteger(e[8], at(shown::stroke), strokeRule, d.stroke, why) &&
                               readBool(e[9], at(shown::highlight), d.highlight, why));
    }
    case Kind::Circle:
        return readNumber(e[1], at(shown::centreX), coordinateRule, d.x1, why) &&
               readNumber(e[2], at(shown::centreY), coordinateRule, d.y1, why) &&
               readNumber(e[3], at(shown::radius), radiusRule, d.x2, why) &&
               readColour(e[4], at(shown::colour), d.color, why) &&
               readInteger(e[5], at(shown::width), widthRule, d.width, why);
    case Kind::PSet:
        return readNumber(e[1], at(shown::pointX), coordinateRule, d.x1, why) &&
               readNumber(e[2], at(shown::pointY), coordinateRule, d.y1, why) &&
               readColour(e[3], at(shown::colour), d.color, why) &&
               readInteger(e[4], at(shown::width), widthRule, d.width, why);
    case Kind::Print:
        return readNumber(e[1], at(shown::pointX), coordinateRule, d.x1, why) &&
               readNumber(e[2], at(shown::pointY), coordinateRule, d.y1, why) &&
               readColour(e[3], at(shown::colour), d.color, why) &&
               readNumber(e[4], at(shown::fontSize), fontSizeRule, d.fontSize, why) &&
               readBool(e[5], at(shown::bold), d.bold, why) &&
               readText(e[6], at(shown::text), BoardFile::maxTextLength, d.text, why);
    }
    return false;
}

bool fitsDrawing(const Drawing& d, qsizetype index, const DrawingList& list, QString& why) {
    const auto at = [index, &list](const char* what) { return Place{what, index, &list}; };
    if (!fitsColour(d.color, at(shown::colour), why))
        return false;
    switch (d.kind) {
    case Kind::Line:
        return fits(coordinateRule, d.x1, at(shown::startX), why) &&
               fits(coordinateRule, d.y1, at(shown::startY), why) &&
               fits(coordinateRule, d.x2, at(shown::endX), why) &&
               fits(coordinateRule, d.y2, at(shown::endY), why) &&
               fits(widthRule, d.width, at(shown::width), why) &&
               fits(lineModeRule, static_cast<int>(d.mode), at(shown::lineMode), why) &&
               fits(strokeRule, d.stroke, at(shown::stroke), why);
    case Kind::Circle:
        return fits(coordinateRule, d.x1, at(shown::centreX), why) &&
               fits(coordinateRule, d.y1, at(shown::centreY), why) &&
               fits(radiusRule, d.x2, at(shown::radius), why) &&
               fits(widthRule, d.width, at(shown::width), why);
    case Kind::PSet:
        return fits(coordinateRule, d.x1, at(shown::pointX), why) &&
               fits(coordinateRule, d.y1, at(shown::pointY), why) &&
               fits(widthRule, d.width, at(shown::width), why);
    case Kind::Print:
        return fits(coordinateRule, d.x1, at(shown::pointX), why) &&
               fits(coordinateRule, d.y1, at(shown::pointY), why) &&
               fits(fontSizeRule, d.fontSize, at(shown::fontSize), why) &&
               fitsText(d.text, BoardFile::maxTextLength, at(shown::text), why);
    }
    return refuse(why, QStringLiteral("%1 hat eine unbekannte Art.").arg(drawingName(index, list)));
}

QJsonArray drawingJson(const Drawing& d) {
    const QString colour = colourText(d.color);
    switch (d.kind) {
    case Kind::Line:
        if (d.stroke != 0 || d.highlight)
            return {QLatin1StringView("L"),
                    d.x1,
                    d.y1,
                    d.x2,
                    d.y2,
                    colour,
                    d.width,
                    static_cast<int>(d.mode),
                    static_cast<double>(d.stroke),
                    d.highlight};
        return {QLatin1StringView("L"),  d.x1, d.y1, d.x2, d.y2, colour, d.width,
                static_cast<int>(d.mode)};
    case Kind::Circle:
        return {QLatin1StringView("C"), d.x1, d.y1, d.x2, colour, d.width};
    case Kind::PSet:
        return {QLatin1StringView("P"), d.x1, d.y1, colour, d.width};
    case Kind::Print:
        return {QLatin1StringView("T"), d.x1, d.y1, colour, d.fontSize, d.bold, d.text};
    }
    return {};
}

bool tooManyDrawings(qsizetype count, const DrawingList& list, QString& why) {
    if (count <= BoardFile::maxDrawings)
        return false;
    refuse(why, QStringLiteral("%1 hat %2 Zeichnungen, mehr als die erlaubten %3.")
                    .arg(QString::fromUtf8(list.name), QString::number(count),
                         QString::number(BoardFile::maxDrawings)));
    return true;
}

bool fitsDrawings(const QVector<Drawing>& drawings, const DrawingList& list, QString& why) {
    if (tooManyDrawings(drawings.size(), list, why))
        return false;
    for (qsizetype i = 0; i < drawings.size(); ++i)
        if (!fitsDrawing(drawings[i], i, list, why))
            return false;
    return true;
}

// What a refusal calls the rest of a board, as the window shows it.
constexpr Place rangePlace{"Die Zahl vor der ersten Spalte"};
constexpr Place sumModePlace{"Die Wahl zwischen S(n) und S(n)-n"};
constexpr Place sumCheckedPlace{"Der Haken an „Teilersumme S(n)“"};
constexpr Place abundanceCheckedPlace{"Der Haken an „S(n)-n“"};
constexpr Place searchPlace{"Die Suche"};
constexpr Place coefficientPlace{"Ein Feld der Suche"};
constexpr Place iterPlace{"Das Feld neben „S“"};
constexpr Place hitListPlace{"Die Trefferliste"};
constexpr Place hitListVisiblePlace{"Die Anzeige der Trefferliste"};
constexpr Place sheetNumberPlace{"Die Zahl des Zerlegungsblatts"};
constexpr Place markerPlace{"Die Markierung über dem Zahlenstrahl"};
constexpr Place scrollPlace{"Die Stellung der Bildlaufleisten"};
constexpr Place canvasScrollPlace{"Die Stellung der Bildlaufleiste unter der Tafel"};
constexpr Place heightScrollPlace{"Die Stellung der Bildlaufleiste rechts der Tafel"};
constexpr Place sheetScrollPlace{"Die Stellung der Bildlaufleiste des Zerlegungsblatts"};
constexpr Place hitListScrollPlace{"Die Stellung der Bildlaufleiste der Trefferliste"};
constexpr Place settingsPlace{"Die Zeicheneinstellung der Tafel"};
constexpr Place currentXPlace{"Die x-Koordinate der aktuellen Position auf der Tafel"};
constexpr Place currentYPlace{"Die y-Koordinate der aktuellen Position auf der Tafel"};
constexpr Place foreColorPlace{"Die Zeichenfarbe der Tafel"};
constexpr Place drawWidthPlace{"Die Strichbreite der Tafel"};
constexpr Place settingsFontSizePlace{"Die Schriftgröße der Tafel"};
constexpr Place fontBoldPlace{"Der Fettdruck der Tafel"};
constexpr Place penModePlace{"Der Haken an „Stift: linke Maustaste zeichnet“"};
constexpr Place colourBlindPlace{"Der Haken an „Farben für Rot-Grün-Schwäche“"};
constexpr Place penInkPlace{"Die Wahl unter „Stift“"};
constexpr Place penThickPlace{"Der Haken an „Dick“"};

bool fitsBoard(const Board& b, QString& why) {
    if (!fits(rangeRule, b.rangeBase, rangePlace, why) ||
        !fits(sumModeRule, b.sumMode, sumModePlace, why))
        return false;
    for (const QString& text : b.coefficients)
        if (!fitsText(text, BoardFile::maxBoxLength, coefficientPlace, why))
            return false;
    // The sheet number is not looked at: Write stores one that is not finite as 0.
    if (!fitsText(b.iterText, BoardFile::maxBoxLength, iterPlace, why) ||
        !fitsText(b.hitList, BoardFile::maxHitListLength, hitListPlace, why) ||
        !fits(coordinateRule, b.markerLeft, markerPlace, why) ||
        !fits(scrollRule, b.canvasScroll, canvasScrollPlace, why) ||
        !fits(scrollRule, b.heightScroll, heightScrollPlace, why) ||
        !fits(scrollRule, b.sheetScroll, sheetScrollPlace, why) ||
        !fits(scrollRule, b.hitListScroll, hitListScrollPlace, why) ||
        !fits(penInkRule, b.penInk, penInkPlace, why))
        return false;
    const auto& s = b.settings;
    if (!fits(coordinateRule, s.currentX, currentXPlace, why) ||
        !fits(coordinateRule, s.currentY, currentYPlace, why) ||
        !fitsColour(s.foreColor, foreColorPlace, why) ||
        !fits(widthRule, s.drawWidth, drawWidthPlace, why) ||
        !fits(fontSizeRule, s.fontSize, settingsFontSizePlace, why))
        return false;
    return fitsDrawings(b.drawings, canvasList, why) && fitsDrawings(b.sheet, sheetList, why);
}

// Whether the parser stopped at the end of the data, inside a value: a file cut short. Left over
// after the error's offset are at most the start of a literal, an escape or a UTF-8 sequence.
bool endsInsideValue(const QByteArray& bytes, const QJsonParseError& error) {
    if (error.error == QJsonParseError::GarbageAtEnd)
        return false;
    const qsizetype from = std::clamp<qsizetype>(error.offset, 0, bytes.size());
    if (bytes.size() - from > 8)
        return false;
    for (qsizetype i = from; i < bytes.size(); ++i)
        switch (bytes[i]) {
        case '"':
        case ',':
        case ':':
        case '[':
        case ']':
        case '{':
        case '}':
            return false;
        default:
            break;
        }
    return true;
}

bool readSettings(const QJsonValue& v, DrawSettings& s, QString& why) {
    if (!v.isObject())
        return wrongType(v, settingsPlace, "Objekt", why);
    const QJsonObject o = v.toObject();
    auto field = [&o](const char* key) { return o.value(QLatin1StringView(key)); };
    return readNumber(field("currentX"), currentXPlace, coordinateRule, s.currentX, why) &&
           readNumber(field("currentY"), currentYPlace, coordinateRule, s.currentY, why) &&
           readColour(field("foreColor"), foreColorPlace, s.foreColor, why) &&
           readInteger(field("drawWidth"), drawWidthPlace, widthRule, s.drawWidth, why) &&
           readNumber(field("fontSize"), settingsFontSizePlace, fontSizeRule, s.fontSize, why) &&
           readBool(field("fontBold"), fontBoldPlace, s.fontBold, why);
}

bool readScroll(const QJsonValue& v, Board& b, QString& why) {
    if (!v.isObject())
        return wrongType(v, scrollPlace, "Objekt", why);
    const QJsonObject o = v.toObject();
    auto field = [&o](const char* key) { return o.value(QLatin1StringView(key)); };
    return readInteger(field("canvas"), canvasScrollPlace, scrollRule, b.canvasScroll, why) &&
           readInteger(field("height"), heightScrollPlace, scrollRule, b.heightScroll, why) &&
           readInteger(field("sheet"), sheetScrollPlace, scrollRule, b.sheetScroll, why) &&
           readInteger(field("hitList"), hitListScrollPlace, scrollRule, b.hitListScroll, why);
}

bool readCoefficients(const QJsonValue& v, Board& b, QString& why) {
    if (!v.isArray())
        return wrongType(v, searchPlace, "Liste von drei Texten", why);
    const QJsonArray texts = v.toArray();
    if (texts.size() != qsizetype(b.coefficients.size()))
        return refuse(why,
                      QStringLiteral("%1 hat %2 statt 3 Felder.")
                          .arg(QString::fromUtf8(searchPlace.what), QString::number(texts.size())));
    for (qsizetype i = 0; i < texts.size(); ++i)
        if (!readText(texts.constBegin()[i], coefficientPlace, BoardFile::maxBoxLength,
                      b.coefficients[size_t(i)], why))
            return false;
    return true;
}

// Two million drawings take 176 MB. Faulting that in 4 KiB pages costs more than converting the
// drawings; transparent huge pages, where the kernel offers them, cut the faults to a few hundred.
void adviseHugePages(const void* start, std::size_t bytes) {
#ifdef MADV_HUGEPAGE
    constexpr std::uintptr_t huge = 2 * 1024 * 1024;
    if (bytes < 4 * huge)
        return;
    const auto first = reinterpret_cast<std::uintptr_t>(start);
    const std::uintptr_t from = (first + huge - 1) & ~(huge - 1);
    const std::uintptr_t to = (first + bytes) & ~(huge - 1);
    if (to > from)
        madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
#else
    (void)start;
    (void)bytes;
#endif
}

bool readDrawings(const QJsonValue& v, const DrawingList& list, bool strokes,
                  QVector<Drawing>& into, QString& why) {
    if (!v.isArray())
        return wrongType(v, {list.whole}, "Liste", why);
    const QJsonArray items = v.toArray();
    if (tooManyDrawings(items.size(), list, why))
        return false;
    into.reserve(items.size());
    adviseHugePages(into.constData(), sizeof(Drawing) * size_t(items.size()));
    qsizetype index = 0;
    for (auto it = items.constBegin(); it != items.constEnd(); ++it, ++index)
        if (!readDrawing(*it, index, list, strokes, into.emplace_back(), why))
            return false;
    return true;
}

// Before version 3 a freehand stroke left plain lines 3 pixels wide, each starting where the one
// before it ended, and nothing else draws such lines: each run of them is numbered as a stroke.
void numberStrokes(QVector<Drawing>& drawings) {
    const auto freehand = [](const Drawing& d) {
        return d.kind == Kind::Line && d.mode == LineMode::Plain && d.width == 3;
    };
    quint32 stroke = 0;
    for (qsizetype i = 0; i < drawings.size(); ++i) {
        Drawing& d = drawings[i];
        if (!freehand(d))
            continue;
        const bool joins = i > 0 && freehand(drawings[i - 1]) && drawings[i - 1].x2 == d.x1 &&
                           drawings[i - 1].y2 == d.y1;
        d.stroke = joins ? stroke : ++stroke;
    }
}

std::optional<Board> read(const QByteArray& bytes, QString& why) {
    if (bytes.size() > BoardFile::maxBytes) {
        refuse(why, BoardFile::TooLargeReason());
        return std::nullopt;
    }
    if (bytes.trimmed().isEmpty()) {
        refuse(why, QStringLiteral("Die Datei ist leer."));
        return std::nullopt;
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError) {
        if (endsInsideValue(bytes, error))
            refuse(why, QStringLiteral("Die Datei ist unvollständig oder beschädigt: sie endet "
                                       "mitten in der Tafel."));
        else
            refuse(why, QStringLiteral("Die Datei ist keine Teiler-Tafel (kein JSON: %1 bei "
                                       "Byte %2).")
                            .arg(error.errorString())
                            .arg(error.offset));
        return std::nullopt;
    }
    if (!document.isObject()) {
        refuse(why, QStringLiteral("Die Datei ist keine Teiler-Tafel (kein JSON-Objekt)."));
        return std::nullopt;
    }
    const QJsonObject root = document.object();
    const QJsonValue format = root.value(QLatin1StringView("format"));
    if (!format.isString() || format.toString() != formatName) {
        refuse(why,
               QStringLiteral(
                   "Die Datei ist keine Teiler-Tafel (die Kennung einer Teiler-Tafel fehlt)."));
        return std::nullopt;
    }
    const QJsonValue version = root.value(QLatin1StringView("version"));
    if (!version.isDouble() || !whole(version.toDouble()) || version.toDouble() < 1) {
        refuse(why, QStringLiteral("Die Datei hat keine gültige Versionsnummer (eine ganze Zahl ab "
                                   "1)."));
        return std::nullopt;
    }
    if (version.toDouble() > BoardFile::version) {
        refuse(why, QStringLiteral("Die Datei wurde von einem neueren Teiler geschrieben (Version "
                                   "%1); dieser liest Tafeln bis Version %2.")
                        .arg(numberText(version.toDouble()))
                        .arg(BoardFile::version));
        return std::nullopt;
    }
    auto field = [&root](const char* key) { return root.value(QLatin1StringView(key)); };
    const bool strokes = version.toDouble() >= 3;
    Board b;
    if (!readInteger(field("range"), rangePlace, rangeRule, b.rangeBase, why) ||
        !readInteger(field("sumMode"), sumModePlace, sumModeRule, b.sumMode, why) ||
        !readBool(field("sumChecked"), sumCheckedPlace, b.sumChecked, why) ||
        !readBool(field("abundanceChecked"), abundanceCheckedPlace, b.abundanceChecked, why) ||
        !readCoefficients(field("coefficients"), b, why) ||
        !readText(field("iter"), iterPlace, BoardFile::maxBoxLength, b.iterText, why) ||
        !readText(field("hitList"), hitListPlace, BoardFile::maxHitListLength, b.hitList, why) ||
        !readBool(field("hitListVisible"), hitListVisiblePlace, b.hitListVisible, why) ||
        !readNumber(field("sheetNumber"), sheetNumberPlace, finiteRule, b.sheetNumber, why) ||
        !readNumber(field("marker"), markerPlace, coordinateRule, b.markerLeft, why) ||
        !readScroll(field("scroll"), b, why) || !readSettings(field("settings"), b.settings, why) ||
        !readDrawings(field(canvasList.key), canvasList, strokes, b.drawings, why) ||
        !readDrawings(field(sheetList.key), sheetList, strokes, b.sheet, why))
        return std::nullopt;
    if (version.toDouble() >= 2 &&
        (!readBool(field("penMode"), penModePlace, b.penMode, why) ||
         !readBool(field("colourBlind"), colourBlindPlace, b.colourBlind, why)))
        return std::nullopt;
    if (strokes && (!readInteger(field("penInk"), penInkPlace, penInkRule, b.penInk, why) ||
                    !readBool(field("penThick"), penThickPlace, b.penThick, why)))
        return std::nullopt;
    if (!strokes)
        numberStrokes(b.drawings);
    return b;
}

} // namespace

std::optional<QByteArray> BoardFile::Write(const Board& board, QString* reason) {
    QString why;
    if (!fitsBoard(board, why)) {
        if (reason)
            *reason = why;
        return std::nullopt;
    }
    QJsonArray drawings;
    for (const Drawing& d : board.drawings)
        drawings.append(drawingJson(d));
    QJsonArray sheet;
    for (const Drawing& d : board.sheet)
        sheet.append(drawingJson(d));
    const auto& s = board.settings;
    // JSON has no infinity, yet "1e999" typed beside "S" makes the sheet's number one. The sheet
    // shows no factorization for it, nor for 0, so 0 stands in for it and the board opens as it
    // was shown.
    const double sheetNumber = std::isfinite(board.sheetNumber) ? board.sheetNumber : 0.0;
    const QJsonObject root{
        {QLatin1StringView("format"), formatName},
        {QLatin1StringView("version"), version},
        {QLatin1StringView("range"), board.rangeBase},
        {QLatin1StringView("sumMode"), board.sumMode},
        {QLatin1StringView("sumChecked"), board.sumChecked},
        {QLatin1StringView("abundanceChecked"), board.abundanceChecked},
        {QLatin1StringView("coefficients"),
         QJsonArray{board.coefficients[0], board.coefficients[1], board.coefficients[2]}},
        {QLatin1StringView("iter"), board.iterText},
        {QLatin1StringView("hitList"), board.hitList},
        {QLatin1StringView("hitListVisible"), board.hitListVisible},
        {QLatin1StringView("sheet"), sheet},
        {QLatin1StringView("sheetNumber"), sheetNumber},
        {QLatin1StringView("marker"), board.markerLeft},
        {QLatin1StringView("scroll"),
         QJsonObject{{QLatin1StringView("canvas"), board.canvasScroll},
                     {QLatin1StringView("height"), board.heightScroll},
                     {QLatin1StringView("sheet"), board.sheetScroll},
                     {QLatin1StringView("hitList"), board.hitListScroll}}},
        {QLatin1StringView("settings"),
         QJsonObject{{QLatin1StringView("currentX"), s.currentX},
                     {QLatin1StringView("currentY"), s.currentY},
                     {QLatin1StringView("foreColor"), colourText(s.foreColor)},
                     {QLatin1StringView("drawWidth"), s.drawWidth},
                     {QLatin1StringView("fontSize"), s.fontSize},
                     {QLatin1StringView("fontBold"), s.fontBold}}},
        {QLatin1StringView("drawings"), drawings},
        {QLatin1StringView("penMode"), board.penMode},
        {QLatin1StringView("colourBlind"), board.colourBlind},
        {QLatin1StringView("penInk"), board.penInk},
        {QLatin1StringView("penThick"), board.penThick},
    };
    QByteArray bytes = QJsonDocument(root).toJson(QJsonDocument::Compact);
    // Reading refuses a file this large before it looks inside; a board written so would never
    // open again.
    if (bytes.size() > maxBytes) {
        if (reason)
            *reason = TooLargeReason();
        return std::nullopt;
    }
    return bytes;
}

QString BoardFile::TooLargeReason() {
    return QStringLiteral("Die Datei ist zu groß für eine Teiler-Tafel (über %1 MB).")
        .arg(maxBytes / (1024 * 1024));
}

std::optional<Board> BoardFile::Read(const QByteArray& bytes, QString* reason) {
    QString why;
    auto board = read(bytes, why);
    if (!board && reason)
        *reason = why;
    return board;
}

} // namespace board

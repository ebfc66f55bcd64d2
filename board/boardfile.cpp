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

namespace app {

namespace {

using Drawing = surface::PictureBox::Drawing;
using Kind = Drawing::Kind;
using LineMode = surface::PictureBox::LineMode;

constexpr QLatin1StringView formatName("teiler-board");
constexpr int maxShownText = 20; // of a refused text quoted in the reason

// Where a value sits. Only a refusal spells it out, so reading allocates nothing for it.
struct Place {
    const char* field;
    qsizetype drawing = -1; // index into "drawings"
};

QString nameOf(const Place& at) {
    const QString field = QString::fromLatin1(at.field);
    if (at.drawing < 0)
        return QStringLiteral("„%1“").arg(field);
    return QStringLiteral("„%1“ der Zeichnung %2").arg(field).arg(at.drawing + 1);
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
    return refuse(why, QStringLiteral("Das Feld %1 muss %2 sein, ist aber %3.")
                           .arg(nameOf(at), QString::fromUtf8(rule.wanted), numberText(v)));
}

bool fitsText(const QString& text, int limit, const Place& at, QString& why) {
    if (text.size() <= limit)
        return true;
    return refuse(
        why, QStringLiteral("Das Feld %1 ist länger als %2 Zeichen.").arg(nameOf(at)).arg(limit));
}

// A value of the wrong JSON type, or none at all.
template <typename Value>
bool wrongType(const Value& v, const Place& at, const char* wanted, QString& why) {
    if (v.isUndefined())
        return refuse(why, QStringLiteral("Das Feld %1 fehlt.").arg(nameOf(at)));
    return refuse(why, QStringLiteral("Das Feld %1 hat den falschen Typ (erwartet: %2).")
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
        return refuse(why, QStringLiteral("Das Feld %1 ist keine Farbe der Form #rrggbb: „%2“.")
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
    return refuse(
        why,
        QStringLiteral("Das Feld %1 ist eine durchscheinende Farbe; eine Tafel hält nur deckende.")
            .arg(nameOf(at)));
}

// The entries of each kind: its letter, then what it draws with.
struct KindInfo {
    char16_t letter;
    qsizetype entries;
};
constexpr KindInfo kinds[] = {{u'L', 8}, {u'C', 6}, {u'P', 5}, {u'T', 7}};

bool readDrawing(QJsonValueConstRef item, qsizetype index, Drawing& d, QString& why) {
    if (!item.isArray())
        return refuse(why, QStringLiteral("Die Zeichnung %1 ist keine Liste.").arg(index + 1));
    const QJsonArray entries = item.toArray();
    const auto e = entries.constBegin();
    const qsizetype count = entries.size();
    if (count == 0 || !e[0].isString())
        return refuse(
            why, QStringLiteral("Die Zeichnung %1 beginnt nicht mit ihrer Art.").arg(index + 1));
    const QString letter = e[0].toString();
    const KindInfo* kind = nullptr;
    for (const KindInfo& k : kinds)
        if (letter.size() == 1 && letter[0] == k.letter)
            kind = &k;
    if (!kind)
        return refuse(why, QStringLiteral("Die Zeichnung %1 hat die unbekannte Art „%2“.")
                               .arg(index + 1)
                               .arg(letter.left(maxShownText)));
    if (count != kind->entries)
        return refuse(why, QStringLiteral("Die Zeichnung %1 („%2“) hat %3 statt %4 Einträge.")
                               .arg(index + 1)
                               .arg(letter)
                               .arg(count)
                               .arg(kind->entries));
    d.kind = static_cast<Kind>(kind - kinds);
    switch (d.kind) {
    case Kind::Line: {
        int mode = 0;
        if (!readNumber(e[1], {"x1", index}, coordinateRule, d.x1, why) ||
            !readNumber(e[2], {"y1", index}, coordinateRule, d.y1, why) ||
            !readNumber(e[3], {"x2", index}, coordinateRule, d.x2, why) ||
            !readNumber(e[4], {"y2", index}, coordinateRule, d.y2, why) ||
            !readColour(e[5], {"color", index}, d.color, why) ||
            !readInteger(e[6], {"width", index}, widthRule, d.width, why) ||
            !readInteger(e[7], {"mode", index}, lineModeRule, mode, why))
            return false;
        d.mode = static_cast<LineMode>(mode);
        return true;
    }
    case Kind::Circle:
        return readNumber(e[1], {"x", index}, coordinateRule, d.x1, why) &&
               readNumber(e[2], {"y", index}, coordinateRule, d.y1, why) &&
               readNumber(e[3], {"radius", index}, radiusRule, d.x2, why) &&
               readColour(e[4], {"color", index}, d.color, why) &&
               readInteger(e[5], {"width", index}, widthRule, d.width, why);
    case Kind::PSet:
        return readNumber(e[1], {"x", index}, coordinateRule, d.x1, why) &&
               readNumber(e[2], {"y", index}, coordinateRule, d.y1, why) &&
               readColour(e[3], {"color", index}, d.color, why) &&
               readInteger(e[4], {"width", index}, widthRule, d.width, why);
    case Kind::Print:
        return readNumber(e[1], {"x", index}, coordinateRule, d.x1, why) &&
               readNumber(e[2], {"y", index}, coordinateRule, d.y1, why) &&
               readColour(e[3], {"color", index}, d.color, why) &&
               readNumber(e[4], {"fontSize", index}, fontSizeRule, d.fontSize, why) &&
               readBool(e[5], {"bold", index}, d.bold, why) &&
               readText(e[6], {"text", index}, BoardFile::maxTextLength, d.text, why);
    }
    return false;
}

bool fitsDrawing(const Drawing& d, qsizetype index, QString& why) {
    if (!fitsColour(d.color, {"color", index}, why))
        return false;
    switch (d.kind) {
    case Kind::Line:
        return fits(coordinateRule, d.x1, {"x1", index}, why) &&
               fits(coordinateRule, d.y1, {"y1", index}, why) &&
               fits(coordinateRule, d.x2, {"x2", index}, why) &&
               fits(coordinateRule, d.y2, {"y2", index}, why) &&
               fits(widthRule, d.width, {"width", index}, why) &&
               fits(lineModeRule, static_cast<int>(d.mode), {"mode", index}, why);
    case Kind::Circle:
        return fits(coordinateRule, d.x1, {"x", index}, why) &&
               fits(coordinateRule, d.y1, {"y", index}, why) &&
               fits(radiusRule, d.x2, {"radius", index}, why) &&
               fits(widthRule, d.width, {"width", index}, why);
    case Kind::PSet:
        return fits(coordinateRule, d.x1, {"x", index}, why) &&
               fits(coordinateRule, d.y1, {"y", index}, why) &&
               fits(widthRule, d.width, {"width", index}, why);
    case Kind::Print:
        return fits(coordinateRule, d.x1, {"x", index}, why) &&
               fits(coordinateRule, d.y1, {"y", index}, why) &&
               fits(fontSizeRule, d.fontSize, {"fontSize", index}, why) &&
               fitsText(d.text, BoardFile::maxTextLength, {"text", index}, why);
    }
    return refuse(why, QStringLiteral("Die Zeichnung %1 hat eine unbekannte Art.").arg(index + 1));
}

QJsonArray drawingJson(const Drawing& d) {
    const QString colour = colourText(d.color);
    switch (d.kind) {
    case Kind::Line:
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

bool tooManyDrawings(qsizetype count, QString& why) {
    if (count <= BoardFile::maxDrawings)
        return false;
    refuse(why, QStringLiteral("Die Tafel hat %1 Zeichnungen, mehr als die erlaubten %2.")
                    .arg(count)
                    .arg(BoardFile::maxDrawings));
    return true;
}

bool fitsBoard(const Board& b, QString& why) {
    if (!fits(rangeRule, b.rangeBase, {"range"}, why) ||
        !fits(sumModeRule, b.sumMode, {"sumMode"}, why))
        return false;
    for (const QString& text : b.coefficients)
        if (!fitsText(text, BoardFile::maxTextLength, {"coefficients"}, why))
            return false;
    if (!fitsText(b.iterText, BoardFile::maxTextLength, {"iter"}, why) ||
        !fitsText(b.hitList, BoardFile::maxHitListLength, {"hitList"}, why) ||
        !fits(finiteRule, b.sheetNumber, {"sheetNumber"}, why) ||
        !fits(coordinateRule, b.markerLeft, {"marker"}, why) ||
        !fits(scrollRule, b.canvasScroll, {"scroll.canvas"}, why) ||
        !fits(scrollRule, b.heightScroll, {"scroll.height"}, why) ||
        !fits(scrollRule, b.sheetScroll, {"scroll.sheet"}, why) ||
        !fits(scrollRule, b.hitListScroll, {"scroll.hitList"}, why))
        return false;
    const auto& s = b.settings;
    if (!fits(coordinateRule, s.currentX, {"settings.currentX"}, why) ||
        !fits(coordinateRule, s.currentY, {"settings.currentY"}, why) ||
        !fitsColour(s.foreColor, {"settings.foreColor"}, why) ||
        !fits(widthRule, s.drawWidth, {"settings.drawWidth"}, why) ||
        !fits(fontSizeRule, s.fontSize, {"settings.fontSize"}, why))
        return false;
    if (tooManyDrawings(b.drawings.size(), why))
        return false;
    for (qsizetype i = 0; i < b.drawings.size(); ++i)
        if (!fitsDrawing(b.drawings[i], i, why))
            return false;
    if (tooManyDrawings(b.sheet.size(), why))
        return false;
    for (qsizetype i = 0; i < b.sheet.size(); ++i)
        if (!fitsDrawing(b.sheet[i], i, why))
            return false;
    return true;
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

bool readSettings(const QJsonValue& v, surface::PictureBox::Settings& s, QString& why) {
    if (!v.isObject())
        return wrongType(v, {"settings"}, "Objekt", why);
    const QJsonObject o = v.toObject();
    return readNumber(o.value(QLatin1StringView("currentX")), {"settings.currentX"}, coordinateRule,
                      s.currentX, why) &&
           readNumber(o.value(QLatin1StringView("currentY")), {"settings.currentY"}, coordinateRule,
                      s.currentY, why) &&
           readColour(o.value(QLatin1StringView("foreColor")), {"settings.foreColor"}, s.foreColor,
                      why) &&
           readInteger(o.value(QLatin1StringView("drawWidth")), {"settings.drawWidth"}, widthRule,
                       s.drawWidth, why) &&
           readNumber(o.value(QLatin1StringView("fontSize")), {"settings.fontSize"}, fontSizeRule,
                      s.fontSize, why) &&
           readBool(o.value(QLatin1StringView("fontBold")), {"settings.fontBold"}, s.fontBold, why);
}

bool readScroll(const QJsonValue& v, Board& b, QString& why) {
    if (!v.isObject())
        return wrongType(v, {"scroll"}, "Objekt", why);
    const QJsonObject o = v.toObject();
    return readInteger(o.value(QLatin1StringView("canvas")), {"scroll.canvas"}, scrollRule,
                       b.canvasScroll, why) &&
           readInteger(o.value(QLatin1StringView("height")), {"scroll.height"}, scrollRule,
                       b.heightScroll, why) &&
           readInteger(o.value(QLatin1StringView("sheet")), {"scroll.sheet"}, scrollRule,
                       b.sheetScroll, why) &&
           readInteger(o.value(QLatin1StringView("hitList")), {"scroll.hitList"}, scrollRule,
                       b.hitListScroll, why);
}

bool readCoefficients(const QJsonValue& v, Board& b, QString& why) {
    if (!v.isArray())
        return wrongType(v, {"coefficients"}, "Liste von drei Texten", why);
    const QJsonArray texts = v.toArray();
    if (texts.size() != qsizetype(b.coefficients.size()))
        return refuse(
            why, QStringLiteral("Das Feld „coefficients“ hat %1 statt 3 Texte.").arg(texts.size()));
    for (qsizetype i = 0; i < texts.size(); ++i)
        if (!readText(texts.constBegin()[i], {"coefficients"}, BoardFile::maxTextLength,
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

bool readDrawings(const QJsonValue& v, const char* name, QVector<Drawing>& into, QString& why) {
    if (!v.isArray())
        return wrongType(v, {name}, "Liste", why);
    const QJsonArray items = v.toArray();
    if (tooManyDrawings(items.size(), why))
        return false;
    into.reserve(items.size());
    adviseHugePages(into.constData(), sizeof(Drawing) * size_t(items.size()));
    qsizetype index = 0;
    for (auto it = items.constBegin(); it != items.constEnd(); ++it, ++index)
        if (!readDrawing(*it, index, into.emplace_back(), why))
            return false;
    return true;
}

std::optional<Board> read(const QByteArray& bytes, QString& why) {
    if (bytes.size() > BoardFile::maxBytes) {
        refuse(why, QStringLiteral("Die Datei ist zu groß für eine Teiler-Tafel (über %1 MB).")
                        .arg(BoardFile::maxBytes / (1024 * 1024)));
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
        refuse(why, QStringLiteral("Die Datei ist keine Teiler-Tafel („format“ ist nicht „%1“).")
                        .arg(formatName));
        return std::nullopt;
    }
    const QJsonValue version = root.value(QLatin1StringView("version"));
    if (!version.isDouble() || !whole(version.toDouble()) || version.toDouble() < 1) {
        refuse(why, QStringLiteral("Die Datei hat keine gültige Versionsnummer („version“ fehlt "
                                   "oder ist keine ganze Zahl ab 1)."));
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
    Board b;
    if (!readInteger(field("range"), {"range"}, rangeRule, b.rangeBase, why) ||
        !readInteger(field("sumMode"), {"sumMode"}, sumModeRule, b.sumMode, why) ||
        !readBool(field("sumChecked"), {"sumChecked"}, b.sumChecked, why) ||
        !readBool(field("abundanceChecked"), {"abundanceChecked"}, b.abundanceChecked, why) ||
        !readCoefficients(field("coefficients"), b, why) ||
        !readText(field("iter"), {"iter"}, BoardFile::maxTextLength, b.iterText, why) ||
        !readText(field("hitList"), {"hitList"}, BoardFile::maxHitListLength, b.hitList, why) ||
        !readBool(field("hitListVisible"), {"hitListVisible"}, b.hitListVisible, why) ||
        !readNumber(field("sheetNumber"), {"sheetNumber"}, finiteRule, b.sheetNumber, why) ||
        !readNumber(field("marker"), {"marker"}, coordinateRule, b.markerLeft, why) ||
        !readScroll(field("scroll"), b, why) || !readSettings(field("settings"), b.settings, why) ||
        !readDrawings(field("drawings"), "drawings", b.drawings, why) ||
        !readDrawings(field("sheet"), "sheet", b.sheet, why))
        return std::nullopt;
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
        {QLatin1StringView("sheetNumber"), board.sheetNumber},
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
    };
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

std::optional<Board> BoardFile::Read(const QByteArray& bytes, QString* reason) {
    QString why;
    auto board = read(bytes, why);
    if (!board && reason)
        *reason = why;
    return board;
}

} // namespace app

// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/boardfile.h"
#include "board/document.h"
#include "board/history.h"
#include "board/presets.h"
#include "board/recentboards.h"
#include "board/recovery.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>
#include <cstring>
#include <functional>
#include <limits>
#include <optional>
#include <thread>
#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using board::Board;
using board::BoardFile;
using board::Drawing;
using board::LineMode;

Q_DECLARE_METATYPE(board::Board)
Q_DECLARE_METATYPE(std::optional<board::Board>)

// The ".teiler" file of a prepared board through BoardFile alone, and the history of a canvas
// without a window; saving, opening and undo from the window are tested in test_app.
class TestBoard : public QObject {
    Q_OBJECT

  private slots:
    void boardRoundTrip_data();
    void boardRoundTrip();
    void corruptBoardIsRefused_data();
    void corruptBoardIsRefused();
    void olderBoardOpens();
    void historyDepth_data();
    void historyDepth();
    void onlyRegularFilesOpen_data();
    void onlyRegularFilesOpen();
    void recoveryIsFound_data();
    void recoveryIsFound();
    void recentBoards_data();
    void recentBoards();
    void presetsChoose_data();
    void presetsChoose();
    void presetsReadTheirPlaces();
};

namespace {

Drawing line(double x1, double y1, double x2, double y2, QRgb color, int width, LineMode mode) {
    Drawing d;
    d.kind = Drawing::Kind::Line;
    d.x1 = x1;
    d.y1 = y1;
    d.x2 = x2;
    d.y2 = y2;
    d.color = color;
    d.width = width;
    d.mode = mode;
    return d;
}

Drawing circle(double x, double y, double radius, QRgb color, int width) {
    Drawing d;
    d.kind = Drawing::Kind::Circle;
    d.x1 = x;
    d.y1 = y;
    d.x2 = radius;
    d.color = color;
    d.width = width;
    return d;
}

Drawing point(double x, double y, QRgb color, int width) {
    Drawing d;
    d.kind = Drawing::Kind::PSet;
    d.x1 = x;
    d.y1 = y;
    d.color = color;
    d.width = width;
    return d;
}

Drawing text(double x, double y, QRgb color, double fontSize, bool bold, const QString& text) {
    Drawing d;
    d.kind = Drawing::Kind::Print;
    d.x1 = x;
    d.y1 = y;
    d.color = color;
    d.fontSize = fontSize;
    d.bold = bold;
    d.text = text;
    return d;
}

// A board with one drawing of each kind, as the window saves it after a lesson's preparation.
Board sampleBoard() {
    Board b;
    b.drawings = {line(1, 2, 3, 4, 0xff123456, 1, LineMode::Plain),
                  circle(10, 20, 5, 0xffff0000, 2), point(-3, 4.5, 0xff00ff00, 3),
                  text(0, 31, 0xff0000ff, 8.25, true, QStringLiteral(" 220 "))};
    b.coefficients = {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("1")};
    b.iterText = QStringLiteral("220");
    b.hitList = QStringLiteral("\r\nTrefferliste\r\n");
    b.hitListVisible = true;
    b.sheetNumber = 720;
    return b;
}

// The saved sample board with edit applied to its JSON object.
QByteArray edited(const std::function<void(QJsonObject&)>& edit) {
    QJsonObject o = QJsonDocument::fromJson(*BoardFile::Write(sampleBoard(), nullptr)).object();
    edit(o);
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

QByteArray withField(const QString& key, const QJsonValue& value) {
    return edited([&](QJsonObject& o) { o[key] = value; });
}

QByteArray withoutField(const QString& key) {
    return edited([&](QJsonObject& o) { o.remove(key); });
}

QByteArray withInner(const QString& object, const QString& key, const QJsonValue& value) {
    return edited([&](QJsonObject& o) {
        QJsonObject inner = o[object].toObject();
        if (value.isUndefined())
            inner.remove(key);
        else
            inner[key] = value;
        o[object] = inner;
    });
}

// The sample board with one more drawing, written as given.
QByteArray withDrawing(const QJsonValue& drawing) {
    return edited([&](QJsonObject& o) {
        QJsonArray drawings = o[QStringLiteral("drawings")].toArray();
        drawings.append(drawing);
        o[QStringLiteral("drawings")] = drawings;
    });
}

} // namespace

void TestBoard::boardRoundTrip_data() {
    QTest::addColumn<Board>("board");
    // What opening the saved board gives where that is not the board itself.
    QTest::addColumn<std::optional<Board>>("opened");
    const std::optional<Board> same;
    QTest::newRow("empty board") << Board{} << same;
    QTest::newRow("each drawing kind") << sampleBoard() << same;

    Board modes = sampleBoard();
    modes.drawings = {line(0, 0, 1, 1, 0xff000000, 1, LineMode::Plain),
                      line(0, 0, 1, 1, 0xffabcdef, 2, LineMode::Box),
                      line(0, 0, 1, 1, 0xffffffff, 64, LineMode::FilledBox)};
    QTest::newRow("line modes") << modes << same;

    // Doubles that need all 17 digits, or that a decimal writer with fewer digits would alter.
    Board doubles = sampleBoard();
    doubles.drawings = {line(6.6, 0.1 + 0.2, 499.2, -0.5, 0xff000000, 1, {}),
                        circle(1e-300, -1e6, 1e6, 0xff000000, 1),
                        point(5e-324, 123456.789012345, 0xff000000, 1),
                        text(-999999.9999999999, 1.0 / 3, 0xff000000, 0.1 + 0.7, false, {})};
    doubles.settings = {2.0 / 3, -0.1, 0xff808080, 7, 499.99999999999994, true};
    doubles.sheetNumber = 1.7976931348623157e308;
    QTest::newRow("exact doubles") << doubles << same;
    Board largeSheet = sampleBoard();
    largeSheet.sheetNumber = 9007199254740993.0 * 3; // integral, beyond 2^53
    QTest::newRow("large integral sheet number") << largeSheet << same;

    Board texts = sampleBoard();
    texts.drawings = {text(1, 2, 0xff102030, 500, false, QStringLiteral("Grüße, Äpfel & Öl 😀")),
                      text(1, 3, 0xff102030, 12, true, QStringLiteral("\"\\/\t\u00ad")),
                      text(1, 4, 0xff102030, 12, true, QString(64, QChar(u'ß')))};
    texts.coefficients = {QStringLiteral("½"), QString(64, QLatin1Char('9')), QString()};
    texts.iterText = QStringLiteral("🙂🙂");
    QTest::newRow("umlauts and emoji") << texts << same;

    Board hits = sampleBoard();
    hits.hitList = QStringLiteral("\r\nTrefferliste\r\n\r\n 220  284 \r\n 1184  1210 \r\n");
    hits.hitListVisible = false;
    QTest::newRow("hit list with CR LF") << hits << same;

    Board limits = sampleBoard();
    limits.rangeBase = 500;
    limits.sumMode = 1;
    limits.sumChecked = true;
    limits.abundanceChecked = true;
    limits.hitList = QString(BoardFile::maxHitListLength, QLatin1Char('x'));
    limits.canvasScroll = 100000;
    limits.heightScroll = 1;
    limits.sheetScroll = 99999;
    limits.hitListScroll = 42;
    limits.drawings.append(circle(0, 0, 0, 0xff000000, 64));
    QTest::newRow("every limit reached") << limits << same;

    // "1e999" typed beside "S" makes the sheet's number infinite, which JSON cannot hold. The
    // sheet shows no factorization for it, nor for 0, which is saved in its place.
    Board typedInfinity = sampleBoard();
    typedInfinity.sheetNumber = std::numeric_limits<double>::infinity();
    Board asZero = typedInfinity;
    asZero.sheetNumber = 0;
    QTest::newRow("infinite sheet number") << typedInfinity << std::optional(asZero);

    Board inClass = sampleBoard();
    inClass.penMode = true;
    inClass.colourBlind = true;
    QTest::newRow("pen mode and colours") << inClass << same;

    Board inked = sampleBoard();
    Drawing segment = line(5, 6, 7, 8, 0xffa04090, 6, LineMode::Plain);
    segment.stroke = 2147483647;
    inked.drawings.append(segment);
    segment.color = 0xffff96dc;
    segment.width = 14;
    segment.stroke = 3;
    segment.highlight = true;
    inked.drawings.append(segment);
    inked.penInk = 4;
    inked.penThick = true;
    QTest::newRow("strokes, a highlighter and the pen's ink") << inked << same;
}

void TestBoard::boardRoundTrip() {
    QFETCH(Board, board);
    QFETCH(std::optional<Board>, opened);
    QString reason;
    const std::optional<QByteArray> bytes = BoardFile::Write(board, &reason);
    QVERIFY2(bytes, qPrintable(reason));
    const std::optional<Board> read = BoardFile::Read(*bytes, &reason);
    QVERIFY2(read, qPrintable(reason));
    if (opened) // from here on, the board as it opens
        board = *opened;
    QVERIFY(*read == board);
    // Bit for bit: == would let -0 pass for 0.
    const auto same = [](double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; };
    for (qsizetype i = 0; i < board.drawings.size(); ++i) {
        const auto& a = read->drawings[i];
        const auto& b = board.drawings[i];
        QVERIFY(same(a.x1, b.x1) && same(a.y1, b.y1) && same(a.x2, b.x2) && same(a.y2, b.y2) &&
                same(a.fontSize, b.fontSize));
    }
    QVERIFY(same(read->sheetNumber, board.sheetNumber));
    QVERIFY(same(read->settings.currentX, board.settings.currentX));
    // Saving the opened board again gives the same file.
    QCOMPARE(BoardFile::Write(*read, nullptr), bytes);
}

void TestBoard::corruptBoardIsRefused_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("fragment"); // of the German reason
    // A board holding what the bytes hold, which saving must refuse with the same reason.
    QTest::addColumn<std::optional<Board>>("board");
    const std::optional<Board> none;
    const QByteArray valid = *BoardFile::Write(sampleBoard(), nullptr);

    QTest::newRow("over 64 MB") << QByteArray(BoardFile::maxBytes + 1, ' ') << "zu groß" << none;
    QTest::newRow("empty") << QByteArray() << "leer" << none;
    QTest::newRow("not JSON") << QByteArray("Teiler 1.0\n") << "kein JSON" << none;
    QTest::newRow("garbage after the board") << valid + "}"
                                             << "kein JSON" << none;
    // A letter after the board is no board cut short, though a parser that stopped there would
    // also have met the end of a word.
    QTest::newRow("letter after the board") << valid + "x"
                                            << "kein JSON" << none;
    QByteArray infinite = valid;
    infinite.replace("\"sheetNumber\":720", "\"sheetNumber\":1e400");
    QVERIFY(infinite != valid);
    QTest::newRow("number beyond double") << infinite << "kein JSON" << none;
    for (int tenth = 1; tenth < 10; ++tenth)
        QTest::addRow("cut short at %d/10", tenth)
            << valid.left(valid.size() * tenth / 10) << "unvollständig oder beschädigt" << none;
    QTest::newRow("array") << QByteArray("[1, 2]") << "kein JSON-Objekt" << none;
    QTest::newRow("format missing") << withoutField("format") << "Kennung" << none;
    QTest::newRow("other format") << withField("format", "teiler-sheet") << "Kennung" << none;
    QTest::newRow("version missing") << withoutField("version") << "Versionsnummer" << none;
    QTest::newRow("version a fraction") << withField("version", 1.5) << "Versionsnummer" << none;
    QTest::newRow("version a text") << withField("version", "1") << "Versionsnummer" << none;
    QTest::newRow("version 0") << withField("version", 0) << "Versionsnummer" << none;
    QTest::newRow("newer version")
        << withField("version", BoardFile::version + 1) << "neueren Teiler" << none;
    QTest::newRow("pen mode missing") << withoutField("penMode") << "Stift" << none;
    QTest::newRow("stroke number below 0")
        << withDrawing(QJsonArray{"L", 0, 0, 1, 1, "#000000", 3, 0, -1, false})
        << "Die Nummer des Strichs der Zeichnung 5" << none;

    QTest::newRow("field missing") << withoutField("hitListVisible")
                                   << "Die Anzeige der Trefferliste fehlt in der Datei." << none;
    QTest::newRow("inner field missing")
        << withInner("scroll", "sheet", QJsonValue::Undefined)
        << "Die Stellung der Bildlaufleiste des Zerlegungsblatts fehlt in der Datei." << none;
    QTest::newRow("number for a bool")
        << withField("sumChecked", 1) << "Der Haken an „Teilersumme S(n)“ hat den falschen Typ"
        << none;
    QTest::newRow("text for a number")
        << withField("sheetNumber", "720") << "Die Zahl des Zerlegungsblatts hat den falschen Typ"
        << none;
    QTest::newRow("settings a list")
        << withField("settings", QJsonArray{})
        << "Die Zeicheneinstellung der Tafel hat den falschen Typ" << none;
    QTest::newRow("two coefficients") << withField("coefficients", QJsonArray{"1", "2"})
                                      << "Die Suche hat 2 statt 3 Felder" << none;

    Board range = sampleBoard();
    range.rangeBase = 250;
    QTest::newRow("range 250") << withField("range", 250)
                               << "Die Zahl vor der ersten Spalte muss 0 oder 500 sein"
                               << std::optional(range);
    QTest::newRow("sum mode 2") << withField("sumMode", 2)
                                << "Die Wahl zwischen S(n) und S(n)-n muss 0 oder 1" << none;
    Board scroll = sampleBoard();
    scroll.canvasScroll = -1;
    QTest::newRow("scroll below 0")
        << withInner("scroll", "canvas", -1)
        << "Die Stellung der Bildlaufleiste unter der Tafel muss eine ganze Zahl von 0 bis 100000"
        << std::optional(scroll);
    QTest::newRow("scroll a fraction")
        << withInner("scroll", "hitList", 0.5)
        << "Die Stellung der Bildlaufleiste der Trefferliste muss eine ganze Zahl" << none;
    QTest::newRow("scroll over 100000")
        << withInner("scroll", "height", 100001)
        << "Die Stellung der Bildlaufleiste rechts der Tafel muss" << none;
    Board drawWidth = sampleBoard();
    drawWidth.settings.drawWidth = 65;
    QTest::newRow("draw width 65") << withInner("settings", "drawWidth", 65)
                                   << "Die Strichbreite der Tafel muss eine ganze Zahl von 1 bis 64"
                                   << std::optional(drawWidth);
    QTest::newRow("draw width 0") << withInner("settings", "drawWidth", 0)
                                  << "Die Strichbreite der Tafel muss" << none;
    QTest::newRow("font size 0") << withInner("settings", "fontSize", 0)
                                 << "Die Schriftgröße der Tafel muss" << none;
    QTest::newRow("font size over 500")
        << withInner("settings", "fontSize", 500.5) << "Die Schriftgröße der Tafel muss" << none;
    QTest::newRow("current x too far")
        << withInner("settings", "currentX", 1000000.5)
        << "Die x-Koordinate der aktuellen Position auf der Tafel muss" << none;
    QTest::newRow("fore colour without #")
        << withInner("settings", "foreColor", "ff0000")
        << "Die Zeichenfarbe der Tafel ist nicht in der Form #rrggbb" << none;

    QTest::newRow("width a fraction")
        << withDrawing(QJsonArray{"L", 0, 0, 1, 1, "#000000", 1.5, 0})
        << "Die Strichbreite der Zeichnung 5 auf der Tafel muss eine ganze Zahl von 1 bis 64"
        << none;
    QTest::newRow("line mode 3") << withDrawing(QJsonArray{"L", 0, 0, 1, 1, "#000000", 1, 3})
                                 << "Die Linienart der Zeichnung 5 auf der Tafel muss 0, 1 oder 2"
                                 << none;
    Board radius = sampleBoard();
    radius.drawings.append(circle(0, 0, -1, 0xff000000, 1));
    QTest::newRow("negative radius")
        << withDrawing(QJsonArray{"C", 0, 0, -1, "#000000", 1})
        << "Der Radius der Zeichnung 5 auf der Tafel muss eine Zahl von 0 bis 1000000"
        << std::optional(radius);
    Board far = sampleBoard();
    far.drawings.append(point(0, -1e7, 0xff000000, 1));
    QTest::newRow("point too far")
        << withDrawing(QJsonArray{"P", 0, -1e7, "#000000", 1})
        << "Die y-Koordinate der Zeichnung 5 auf der Tafel muss eine Zahl von -1000000 bis 1000000"
        << std::optional(far);
    QTest::newRow("text font size 0")
        << withDrawing(QJsonArray{"T", 0, 0, "#000000", 0, false, ""})
        << "Die Schriftgröße der Zeichnung 5 auf der Tafel muss" << none;
    QTest::newRow("colour with a g")
        << withDrawing(QJsonArray{"P", 0, 0, "#12345g", 1})
        << "Die Farbe der Zeichnung 5 auf der Tafel ist nicht in der Form #rrggbb" << none;
    QTest::newRow("short colour")
        << withDrawing(QJsonArray{"P", 0, 0, "#fff", 1})
        << "Die Farbe der Zeichnung 5 auf der Tafel ist nicht in der Form #rrggbb" << none;
    QTest::newRow("colour a number")
        << withDrawing(QJsonArray{"P", 0, 0, 0, 1})
        << "Die Farbe der Zeichnung 5 auf der Tafel hat den falschen Typ" << none;
    QTest::newRow("unknown kind") << withDrawing(QJsonArray{"Q", 0, 0, "#000000", 1})
                                  << "unbekannte Art „Q“" << none;
    QTest::newRow("one entry short")
        << withDrawing(QJsonArray{"P", 0, 0, "#000000"}) << "hat 4 statt 5 Einträge" << none;
    QTest::newRow("empty drawing") << withDrawing(QJsonArray{}) << "nicht mit ihrer Art" << none;
    QTest::newRow("drawing an object")
        << withDrawing(QJsonObject{}) << "Die Zeichnung 5 auf der Tafel ist keine Liste" << none;
    QTest::newRow("bold a text")
        << withDrawing(QJsonArray{"T", 0, 0, "#000000", 8, "ja", ""})
        << "Der Fettdruck der Zeichnung 5 auf der Tafel hat den falschen Typ" << none;

    const QString longText(BoardFile::maxTextLength + 1, QLatin1Char('x'));
    Board drawnText = sampleBoard();
    drawnText.drawings.append(text(0, 0, 0xff000000, 8, false, longText));
    QTest::newRow("long drawing text")
        << withDrawing(QJsonArray{"T", 0, 0, "#000000", 8, false, longText})
        << "Der Text der Zeichnung 5 auf der Tafel ist länger als 64 Zeichen"
        << std::optional(drawnText);
    const QString longBox(BoardFile::maxBoxLength + 1, QLatin1Char('7'));
    Board coefficient = sampleBoard();
    coefficient.coefficients[1] = longBox;
    QTest::newRow("long coefficient")
        << withField("coefficients", QJsonArray{"0", longBox, "1"})
        << "Ein Feld der Suche ist länger als 32767 Zeichen" << std::optional(coefficient);
    QTest::newRow("long iter") << withField("iter", longBox)
                               << "Das Feld neben „S“ ist länger als 32767 Zeichen" << none;
    Board hits = sampleBoard();
    hits.hitList = QString(BoardFile::maxHitListLength + 1, QLatin1Char('\n'));
    QTest::newRow("long hit list")
        << withField("hitList", hits.hitList) << "Die Trefferliste ist länger als 32768 Zeichen"
        << std::optional(hits);

    // Two million and one of the smallest drawings: refused by their count, before any of them
    // is looked at.
    QByteArray many = valid;
    const qsizetype at = many.indexOf("\"drawings\":[") + 12;
    QVERIFY(at >= 12);
    many.insert(at, QByteArray("[],").repeated(BoardFile::maxDrawings + 1));
    QTest::newRow("too many drawings") << many << "mehr als die erlaubten 2000000" << none;

    // Texts of control characters, each written as six bytes, until the file is over 64 MB: a
    // board that saving must refuse, since opening it would be refused for its size.
    const QString controls(BoardFile::maxTextLength, QChar(u'\x01'));
    const Drawing filler = text(0, 0, 0xff000000, 8, false, controls);
    const QByteArray fillerJson =
        QJsonDocument(QJsonArray{QJsonArray{"T", 0, 0, "#000000", 8, false, controls}})
            .toJson(QJsonDocument::Compact)
            .mid(1)
            .chopped(1) +
        ',';
    QVERIFY(fillerJson.size() > 6 * BoardFile::maxTextLength);
    const qsizetype fillers = BoardFile::maxBytes / fillerJson.size() + 1;
    Board huge = sampleBoard();
    huge.drawings = QVector<Drawing>(fillers, filler) + huge.drawings;
    QByteArray hugeBytes = valid;
    hugeBytes.insert(at, fillerJson.repeated(fillers));
    QTest::newRow("too large to open") << hugeBytes << "zu groß" << std::optional(huge);
}

void TestBoard::corruptBoardIsRefused() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, fragment);
    QFETCH(std::optional<Board>, board);
    QString reason;
    const std::optional<Board> read = BoardFile::Read(bytes, &reason);
    QVERIFY(!read);
    QVERIFY2(reason.contains(fragment), qPrintable(reason));
    if (!board)
        return;
    QString writeReason;
    QVERIFY(!BoardFile::Write(*board, &writeReason));
    QCOMPARE(writeReason, reason);
}

// A board of version 1 knows neither the pen mode nor the colours: it opens with both off. Nor
// does it know strokes: each run of joined lines 3 pixels wide becomes one.
void TestBoard::olderBoardOpens() {
    Board inClass = sampleBoard();
    inClass.penMode = true;
    inClass.colourBlind = true;
    const QVector<Drawing> freehand{line(1, 1, 2, 2, 0xff000080, 3, LineMode::Plain),
                                    line(2, 2, 3, 1, 0xff000000, 3, LineMode::Plain),
                                    line(2, 2, 3, 1, 0xff000080, 3, LineMode::Plain)};
    inClass.drawings += freehand;
    QJsonObject o = QJsonDocument::fromJson(*BoardFile::Write(inClass, nullptr)).object();
    o[QStringLiteral("version")] = 1;
    o.remove(QStringLiteral("penMode"));
    o.remove(QStringLiteral("colourBlind"));
    QString reason;
    const std::optional<Board> read =
        BoardFile::Read(QJsonDocument(o).toJson(QJsonDocument::Compact), &reason);
    QVERIFY2(read, qPrintable(reason));
    Board opened = sampleBoard();
    opened.drawings += freehand;
    const qsizetype first = opened.drawings.size() - 3;
    opened.drawings[first].stroke = 1;
    opened.drawings[first + 1].stroke = 1;
    opened.drawings[first + 2].stroke = 2;
    QVERIFY(*read == opened);
}

namespace {

// A canvas that is only its list, as the history sees a picture box.
class ListCanvas : public board::Canvas {
  public:
    const QVector<Drawing>& drawings() const override { return list; }
    void replaceDrawings(qsizetype keep, const QVector<Drawing>& tail) override {
        list = list.first(keep) + tail;
    }
    board::DrawSettings settings() const override { return drawSettings; }
    void setSettings(const board::DrawSettings& s) override { drawSettings = s; }
    // Draws d over the drawing at index, which it covers: that one leaves the list.
    void cover(qsizetype index, const Drawing& d) {
        tellAboutToRemove(index, list.at(index));
        list.remove(index);
        list.append(d);
    }
    QVector<Drawing> list;
    board::DrawSettings drawSettings;
};

} // namespace

void TestBoard::historyDepth_data() {
    QTest::addColumn<int>("depth");
    QTest::addColumn<int>("steps");
    // "draw", "clear" (a step that only clears), "nothing", "cover" (drawings that cover
    // others, which leave the list) or "cover, clear"
    QTest::addColumn<QString>("step");
    QTest::addColumn<int>("undos"); // how many steps back the history takes
    QTest::newRow("100 deep, 100 steps") << 100 << 100 << "draw" << 100;
    QTest::newRow("100 deep, 101 steps") << 100 << 101 << "draw" << 100;
    QTest::newRow("3 deep, 5 steps") << 3 << 5 << "draw" << 3;
    QTest::newRow("a step that only clears") << 100 << 1 << "clear" << 1;
    QTest::newRow("a step that changes nothing") << 100 << 3 << "nothing" << 0;
    QTest::newRow("steps that cover drawings") << 100 << 4 << "cover" << 4;
    QTest::newRow("a step that covers drawings and clears") << 100 << 1 << "cover, clear" << 1;
}

// Each step taken back restores the list as it was, and the board is unmodified again exactly
// where it was marked saved.
void TestBoard::historyDepth() {
    QFETCH(int, depth);
    QFETCH(int, steps);
    QFETCH(QString, step);
    QFETCH(int, undos);
    ListCanvas canvas;
    canvas.list = {point(0, 0, 0xff000000, 1)};
    board::History history(canvas, depth);
    history.markClean();
    QVector<QVector<Drawing>> seen{canvas.list};
    for (int i = 0; i < steps; ++i) {
        history.begin({});
        if (step == QLatin1String("draw")) {
            canvas.list.append(point(i, i, 0xff000000, 1));
        } else if (step.startsWith(QLatin1String("cover"))) {
            // Two drawings of its own, then three that cover one each: drawings the step found,
            // out of order, and its own.
            canvas.list.append({point(i, 1, 0xff000000, 1), point(i, 2, 0xff000000, 1)});
            for (const qsizetype at : {2, 0, 1})
                canvas.cover(at, point(i, 10 + at, 0xffffffff, 1));
        }
        if (step.endsWith(QLatin1String("clear"))) {
            history.canvasAboutToClear();
            canvas.list.clear();
        }
        history.end({});
        seen.append(canvas.list);
    }
    QCOMPARE(history.isClean(), undos == 0);
    int taken = 0;
    while (history.undo())
        QVERIFY(canvas.list == seen[steps - ++taken]);
    QCOMPARE(taken, undos);
    QCOMPARE(history.isClean(), canvas.list == seen.constFirst());
    for (int i = 0; i < undos; ++i)
        QVERIFY(history.redo());
    QVERIFY(canvas.list == seen.constLast());
}

void TestBoard::onlyRegularFilesOpen_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("fragment"); // of the German reason
    QTest::newRow("named pipe") << "pipe"
                                << "keine gewöhnliche Datei";
    QTest::newRow("folder") << "folder"
                            << "Ordner";
    QTest::newRow("missing") << "missing"
                             << "nicht lesen";
}

// A pipe nobody writes to would stop the window in open(): it is refused at once. Should the
// reader wait all the same, a writer comes after two seconds, so the test ends and fails.
void TestBoard::onlyRegularFilesOpen() {
    QFETCH(QString, kind);
    QFETCH(QString, fragment);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tafel.teiler"));
    if (kind == QLatin1String("pipe")) {
#ifdef Q_OS_UNIX
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
#else
        QSKIP("no named pipes in the file system here");
#endif
    } else if (kind == QLatin1String("folder")) {
        QVERIFY(QDir().mkdir(path));
    }
    std::atomic<bool> done = false;
    std::thread writer([&] {
        for (int i = 0; i < 200 && !done; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
#ifdef Q_OS_UNIX
        if (!done && kind == QLatin1String("pipe"))
            ::close(::open(QFile::encodeName(path).constData(), O_WRONLY));
#endif
    });
    QElapsedTimer clock;
    clock.start();
    QString reason;
    const std::optional<Board> read = board::Document::ReadFile(path, &reason);
    const qint64 took = clock.elapsed();
    done = true;
    writer.join();
    QVERIFY(!read);
    QVERIFY2(reason.contains(fragment), qPrintable(reason));
    QVERIFY2(took < 1000, qPrintable(QStringLiteral("%1 ms").arg(took)));
}

void TestBoard::recoveryIsFound_data() {
    QTest::addColumn<QString>("left"); // what the first window left behind
    QTest::addColumn<bool>("found");   // the next window finds it
    QTest::newRow("a window that ended without asking") << "ended" << true;
    QTest::newRow("a window that still runs") << "running" << false;
    QTest::newRow("a window that closed as asked") << "closed" << false;
    QTest::newRow("a damaged file, moved aside") << "damaged" << false;
}

// Two windows never share a recovery file; the file of a window that ended without asking is
// found by the next, with the board's own file named, and a damaged one is put aside for good.
void TestBoard::recoveryIsFound() {
    QFETCH(QString, left);
    QFETCH(bool, found);
    QTemporaryDir dir;
    Board sample = sampleBoard();
    auto first = std::make_unique<board::Recovery>(dir.path());
    QVERIFY(!first->claim());
    QString reason;
    QVERIFY2(first->write(sample, QStringLiteral("/schule/stunde1.teiler"), &reason),
             qPrintable(reason));
    if (left == QLatin1String("closed"))
        first->remove();
    if (left == QLatin1String("damaged")) {
        first.reset();
        board::Recovery second(dir.path());
        const auto damaged = second.claim();
        QVERIFY(damaged);
        const QString aside = second.moveAside();
        QVERIFY(aside != damaged->path && QFileInfo::exists(aside));
        QVERIFY(!QFileInfo::exists(damaged->path));
    } else if (left != QLatin1String("running")) {
        first.reset();
    }
    board::Recovery next(dir.path());
    const std::optional<board::Recovery::Found> got = next.claim();
    QCOMPARE(bool(got), found);
    if (got) {
        QCOMPARE(got->boardFile, QStringLiteral("/schule/stunde1.teiler"));
        const std::optional<Board> read = board::Document::ReadFile(got->path, &reason);
        QVERIFY2(read && *read == sample, qPrintable(reason));
    }
    // The next window writes a file of its own.
    QVERIFY(next.write(Board{}, QString(), &reason));
    if (first) {
        const std::optional<Board> kept = board::Document::ReadFile(
            QDir(dir.path()).filePath(QStringLiteral("tafel-1.teiler")), &reason);
        QVERIFY(kept && *kept == sample);
    }
}

void TestBoard::recentBoards_data() {
    QTest::addColumn<QStringList>("added"); // in this order
    QTest::addColumn<QStringList>("listed");
    QStringList ten;
    for (int i = 1; i <= 10; ++i)
        ten << QStringLiteral("/t/%1.teiler").arg(i);
    QStringList newestEight;
    for (int i = 10; i >= 3; --i)
        newestEight << QStringLiteral("/t/%1.teiler").arg(i);
    QTest::newRow("ten boards keep the newest eight") << ten << newestEight;
    QTest::newRow("a board again moves to the front")
        << QStringList{"/t/a.teiler", "/t/b.teiler", "/t/a.teiler"}
        << QStringList{"/t/a.teiler", "/t/b.teiler"};
}

void TestBoard::recentBoards() {
    QFETCH(QStringList, added);
    QFETCH(QStringList, listed);
    QTemporaryDir dir;
    QSettings settings(dir.filePath(QStringLiteral("teiler.conf")), QSettings::IniFormat);
    board::RecentBoards recent(settings);
    for (const QString& path : added)
        recent.add(path);
    QStringList expected;
    for (const QString& path : listed)
        expected << QFileInfo(path).absoluteFilePath();
    QCOMPARE(recent.list(), expected);
}

void TestBoard::presetsChoose_data() {
    // The settings as files hold them: the teacher's, the admin's and the package's.
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("admin");
    QTest::addColumn<QString>("package");
    QTest::addColumn<int>("option");   // board::Presets::Option
    QTest::addColumn<QString>("text"); // the folder as Teiler uses it
    QTest::addColumn<int>("source");   // board::Presets::Source
    QTest::addColumn<QStringList>("refused");
    using O = board::Presets::Option;
    using S = board::Presets::Source;
    QTest::newRow("nothing set") << ""
                                 << ""
                                 << "" << int(O::ColourBlind) << "" << int(S::None)
                                 << QStringList{};
    QTest::newRow("the admin's default")
        << ""
        << "farbenblind=1"
        << "" << int(O::ColourBlind) << "1" << int(S::Preset) << QStringList{};
    QTest::newRow("the teacher's own choice over the default")
        << "stiftmodus=nein"
        << "stiftmodus=ja"
        << "" << int(O::PenMode) << "nein" << int(S::Own) << QStringList{};
    QTest::newRow("fixed: the admin's over the teacher's")
        << "stiftmodus=nein"
        << "stiftmodus=ja\nfest=zoom, Stiftmodus"
        << "" << int(O::PenMode) << "ja" << int(S::Fixed) << QStringList{};
    QTest::newRow("fixed by the package's key")
        << "zoom=2"
        << ""
        << "zoom=fit\nfest=zoom" << int(O::Zoom) << "fit" << int(S::Fixed) << QStringList{};
    QTest::newRow("a fixed name without a value fixes nothing")
        << "zoom=2"
        << "fest=zoom"
        << "zoom=" << int(O::Zoom) << "2" << int(S::Own) << QStringList{};
    QTest::newRow("the admin's key before the package's")
        << ""
        << "zoom=1,5"
        << "zoom=fit" << int(O::Zoom) << "1,5" << int(S::Preset) << QStringList{};
    QTest::newRow("an empty value of the package is none")
        << ""
        << ""
        << "farbenblind=" << int(O::ColourBlind) << "" << int(S::None) << QStringList{};
    QTest::newRow("invalid values pass over")
        << "zoom=riesig"
        << "zoom=4,5"
        << "zoom=3" << int(O::Zoom) << "3" << int(S::Preset) << QStringList{"4,5", "riesig"};
    // %TEILER_TEST_DIR% is a temporary folder; a folder expected is the one the dialogs take.
    QTest::newRow("a folder with the environment's variables, made")
        << ""
        << "ordner=%TEILER_TEST_DIR%/Tafeln"
        << "" << int(O::Folder) << "%TEILER_TEST_DIR%/Tafeln" << int(S::Preset) << QStringList{};
    QTest::newRow("the teacher's folder gone: the admin's")
        << "ordner=%TEILER_TEST_DIR%/weg"
        << "ordner=%TEILER_TEST_DIR%/Schule"
        << "" << int(O::Folder) << "%TEILER_TEST_DIR%/Schule" << int(S::Own) << QStringList{};
    QTest::newRow("an unset variable or a relative folder passes over")
        << ""
        << "ordner=%TEILER_UNSET%/Tafeln"
        << "ordner=Tafeln" << int(O::Folder) << "" << int(S::None)
        << QStringList{"%TEILER_UNSET%/Tafeln", "Tafeln"};
}

// Each option is the teacher's own choice or the admin's default, whichever counts, and the
// values no option takes are passed over.
void TestBoard::presetsChoose() {
    QFETCH(QString, user);
    QFETCH(QString, admin);
    QFETCH(QString, package);
    QFETCH(int, option);
    QFETCH(QString, text);
    QFETCH(int, source);
    QFETCH(QStringList, refused);
    QTemporaryDir dir;
    qputenv("TEILER_TEST_DIR", dir.path().toLocal8Bit());
    auto settings = [&dir](const QString& name, const QString& lines) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(lines.toUtf8()) < 0)
            qFatal("cannot write %s", qPrintable(file.fileName()));
        file.close();
        return std::make_unique<QSettings>(file.fileName(), QSettings::IniFormat);
    };
    const auto ownSettings = settings(QStringLiteral("user.conf"), user);
    const auto adminSettings = settings(QStringLiteral("admin.conf"), admin);
    const auto packageSettings = settings(QStringLiteral("package.conf"), package);
    const board::Presets presets(*ownSettings, {adminSettings.get(), packageSettings.get()});
    const auto which = board::Presets::Option(option);
    if (which == board::Presets::Option::Folder && !text.isEmpty())
        QCOMPARE(presets.boardFolder(true),
                 QString(text).replace(QStringLiteral("%TEILER_TEST_DIR%"), dir.path()));
    else
        QCOMPARE(presets.value(which).text, text);
    QCOMPARE(int(presets.value(which).source), source);
    QCOMPARE(presets.value(which).refused, refused);
}

// The teacher's settings are read without the machine's behind them, or every default would
// look like the teacher's own choice; and what is remembered is read back as the teacher's.
void TestBoard::presetsReadTheirPlaces() {
#ifdef Q_OS_WIN
    QSKIP("The places are the registry's, which setPath cannot move: the Wine test checks them.");
#endif
    QTemporaryDir user;
    QTemporaryDir machine;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, user.path());
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, machine.path());
    QSettings(QSettings::NativeFormat, QSettings::SystemScope, "Teiler", "Teiler")
        .setValue("farbenblind", "1");
    QCOMPARE(int(board::Presets::Read().value(board::Presets::Option::ColourBlind).source),
             int(board::Presets::Source::Preset));
    board::Presets::Remember(board::Presets::Option::ColourBlind, "0");
    const board::Presets read = board::Presets::Read();
    QCOMPARE(int(read.value(board::Presets::Option::ColourBlind).source),
             int(board::Presets::Source::Own));
    QCOMPARE(read.flag(board::Presets::Option::ColourBlind), std::optional(false));
}

QTEST_APPLESS_MAIN(TestBoard)
#include "test_board.moc"

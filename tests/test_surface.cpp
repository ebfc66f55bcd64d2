// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "surface/fontchoice.h"
#include "surface/multilinetextbox.h"
#include "surface/numbertext.h"
#include "surface/picturebox.h"
#include "surface/twips.h"

#include <QClipboard>
#include <QMenu>
#include <QRandomGenerator>
#include <QRawFont>
#include <QtEndian>
#include <QtTest>
#include <cmath>
#include <limits>

using surface::NumberText;
using surface::PictureBox;

class TestSurface : public QObject {
    Q_OBJECT

  public:
    // QTEST_MAIN calls it before the QApplication exists.
    static void initMain() { surface::FontChoice::PreferLiberation2(); }

  private slots:
    void numberText_data();
    void numberText();
    void lenient_data();
    void lenient();
    void lenientHugeText();
    void strict_data();
    void strict();
    void roundToInt32_data();
    void roundToInt32();
    void scaleMapsCorners_data();
    void scaleMapsCorners();
    void printAdvancesLine();
    void recorderListsCallsWithSettings();
    void recorderIsOffByDefault();
    void drawingPersistsInImage();
    void clsResetsPositionAndErases();
    void backingImageMatchesCanvasSize();
    void moveChildKeepsExactPosition();
    void circleRadiusInXUnits_data();
    void circleRadiusInXUnits();
    void linesAreLogicalPixelsWide_data();
    void linesAreLogicalPixelsWide();
    void multiLineBoxPastesText_data();
    void multiLineBoxPastesText();
    void middleClickPastesSelectionAtPointer();
    void heldPressOpensContextMenu_data();
    void heldPressOpensContextMenu();
    void liberationFacesAreVersion2_data();
    void liberationFacesAreVersion2();
    void drawingsOnPaperKeepTheirPlace_data();
    void drawingsOnPaperKeepTheirPlace();
    void tilesGiveTheWholePicture_data();
    void tilesGiveTheWholePicture();
};

void TestSurface::numberText_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("2") << 2.0 << " 2";
    QTest::newRow("0") << 0.0 << " 0";
    QTest::newRow("-0") << -0.0 << " 0";
    QTest::newRow("-1") << -1.0 << "-1";
    QTest::newRow("1.5") << 1.5 << " 1.5";
    QTest::newRow("-0.5") << -0.5 << "-.5";
    QTest::newRow("1000") << 1000.0 << " 1000";
    QTest::newRow("15 digits") << 999999999999999.0 << " 999999999999999";
    QTest::newRow("1e15") << 1e15 << " 1E+15";
    QTest::newRow("1.5e20") << 1.5e20 << " 1.5E+20";
    QTest::newRow("1/3") << 1.0 / 3 << " .333333333333333";
    QTest::newRow("2/3 rounds") << 2.0 / 3 << " .666666666666667";
    QTest::newRow(".0001") << 0.0001 << " .0001";
    QTest::newRow("1e-5") << 1e-5 << " 1E-05";
    QTest::newRow("-2.5e-7") << -2.5e-7 << "-2.5E-07";
    QTest::newRow("0.1+0.2") << 0.1 + 0.2 << " .3";
    QTest::newRow("int32 max") << 2147483647.0 << " 2147483647";
    QTest::newRow("1e308") << 1e308 << " 1E+308";
}

void TestSurface::numberText() {
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(NumberText::of(value), text);
    QCOMPARE(NumberText::width(value), text.size());
}

void TestSurface::lenient_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("220") << "220" << 220.0;
    QTest::newRow("hit entry") << " 28," << 28.0;
    QTest::newRow("blanks inside") << "2 2 0" << 220.0;
    QTest::newRow("pair") << "220,284" << 220.0;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("fraction") << "12.5" << 12.5;
    QTest::newRow("trailing letters") << "12abc" << 12.0;
    QTest::newRow("tab and line feed") << "\t1\n2" << 12.0;
    QTest::newRow("carriage return ends") << "12\r3" << 12.0;
    QTest::newRow("exponent") << "1e3" << 1000.0;
    QTest::newRow("exponent with blanks") << "1 e 2" << 100.0;
    QTest::newRow("lone e") << "1e" << 1.0;
    QTest::newRow("e and sign") << "1e+" << 1.0;
    QTest::newRow("plus sign") << "+5" << 5.0;
    QTest::newRow("minus point") << "-.5" << -0.5;
    QTest::newRow("second point") << "1.2.3" << 1.2;
    QTest::newRow("minus later") << "5-3" << 5.0;
    QTest::newRow("lone minus") << "-" << 0.0;
    QTest::newRow("lone point") << "." << 0.0;
    QTest::newRow("double sign") << "--5" << 0.0;
    QTest::newRow("nan") << "nan" << 0.0;
    QTest::newRow("inf") << "inf" << 0.0;
    QTest::newRow("arabic-indic digits") << QString::fromUtf8("\u0661\u0662") << 0.0;
    QTest::newRow("fullwidth digits") << QString::fromUtf8("\uff11\uff12") << 0.0;
    QTest::newRow("control characters") << QString::fromUtf8("\x01\x02"
                                                             "5")
                                        << 0.0;
    QTest::newRow("underflow") << "1e-400" << 0.0;
    QTest::newRow("overflow") << "1e400" << std::numeric_limits<double>::infinity();
    QTest::newRow("negative overflow") << "-1e400" << -std::numeric_limits<double>::infinity();
    QTest::newRow("many digits") << QString(400, QLatin1Char('9'))
                                 << std::numeric_limits<double>::infinity();
}

void TestSurface::lenient() {
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(NumberText::lenient(text), value);
}

void TestSurface::lenientHugeText() {
    // Megabytes of pasted text read in one pass; a number this long overflows to infinity.
    const QString digits(4 * 1024 * 1024, QLatin1Char('7'));
    QVERIFY(std::isinf(NumberText::lenient(digits)));
    const QString blanks = QString(4 * 1024 * 1024, QLatin1Char(' ')) + QStringLiteral("42");
    QCOMPARE(NumberText::lenient(blanks), 42.0);
    const QString zeros = QStringLiteral("0.") + QString(1024 * 1024, QLatin1Char('0')) + "1";
    QCOMPARE(NumberText::lenient(zeros), 0.0);
}

void TestSurface::strict_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("value");
    QTest::newRow("1") << "1" << true << 1.0;
    QTest::newRow("blanks around") << "  2 " << true << 2.0;
    QTest::newRow("stepper text") << " 0" << true << 0.0;
    QTest::newRow("negative") << "-3" << true << -3.0;
    QTest::newRow("fraction") << "2.5" << true << 2.5;
    QTest::newRow("minus point") << "-.5" << true << -0.5;
    QTest::newRow("exponent") << "1e3" << true << 1000.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("blanks only") << "   " << false << 0.0;
    QTest::newRow("letters") << "abc" << false << 0.0;
    QTest::newRow("comma") << "1,5" << false << 0.0;
    QTest::newRow("trailing letters") << "12x" << false << 0.0;
    QTest::newRow("blank inside") << "1 2" << false << 0.0;
    QTest::newRow("sign apart") << "- 1" << false << 0.0;
    QTest::newRow("lone point") << "." << false << 0.0;
    QTest::newRow("nan") << "nan" << false << 0.0;
}

void TestSurface::strict() {
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(double, value);
    const auto parsed = NumberText::strict(text);
    QCOMPARE(parsed.has_value(), ok);
    if (ok)
        QCOMPARE(*parsed, value);
}

void TestSurface::roundToInt32_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("rounded");
    QTest::newRow("12.5 to even") << 12.5 << true << 12;
    QTest::newRow("13.5 to even") << 13.5 << true << 14;
    QTest::newRow("-12.5 to even") << -12.5 << true << -12;
    QTest::newRow("12.4") << 12.4 << true << 12;
    QTest::newRow("max") << 2147483647.0 << true << 2147483647;
    QTest::newRow("max + .4") << 2147483647.4 << true << 2147483647;
    QTest::newRow("max + .5 rounds out") << 2147483647.5 << false << 0;
    QTest::newRow("2^31") << 2147483648.0 << false << 0;
    QTest::newRow("min") << -2147483648.0 << true << -2147483647 - 1;
    QTest::newRow("min - .5 to even") << -2147483648.5 << true << -2147483647 - 1;
    QTest::newRow("min - 1") << -2147483649.0 << false << 0;
    QTest::newRow("1e300") << 1e300 << false << 0;
    QTest::newRow("nan") << std::nan("") << false << 0;
    QTest::newRow("inf") << std::numeric_limits<double>::infinity() << false << 0;
}

void TestSurface::roundToInt32() {
    QFETCH(double, value);
    QFETCH(bool, ok);
    QFETCH(int, rounded);
    const auto result = NumberText::roundToInt32(value);
    QCOMPARE(result.has_value(), ok);
    if (ok)
        QCOMPARE(*result, rounded);
}

void TestSurface::scaleMapsCorners_data() {
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<QPointF>("pixel");
    // A 505 x 39 pixel box with the canvas scale: one pixel per unit, y pointing up.
    QTest::newRow("top-left") << 0.0 << 36.0 << QPointF(0, 0);
    QTest::newRow("bottom-right") << 505.0 << -3.0 << QPointF(505, 39);
    QTest::newRow("origin") << 0.0 << 0.0 << QPointF(0, 36);
    QTest::newRow("column 7 row 1") << 7.0 << 1.0 << QPointF(7, 35);
}

void TestSurface::scaleMapsCorners() {
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(QPointF, pixel);
    PictureBox box;
    box.resize(505, 39);
    box.Scale(0, 36, 505, -3);
    QCOMPARE(box.toPixel(x, y), pixel);
    QCOMPARE(box.toUser(pixel), QPointF(x, y));
}

void TestSurface::printAdvancesLine() {
    PictureBox box;
    box.resize(505, 390);
    box.Scale(0, 36, 505, -3);
    box.FontSize = 12;
    box.CurrentX = 6.6;
    box.CurrentY = 10;
    const double line = box.textHeight();
    QVERIFY(line > 0);
    box.Print(7);
    // One line down means towards smaller y on a scale whose y points up; x back to the left edge.
    QCOMPARE(box.CurrentY, 10 - line);
    QCOMPARE(box.CurrentX, 0.0);

    PictureBox sheet;
    sheet.resize(200, 290);
    sheet.Scale(0, 1, 2, 30);
    sheet.FontSize = 18;
    sheet.CurrentY = 10;
    sheet.Print(QStringLiteral("x"));
    QCOMPARE(sheet.CurrentY, 10 + sheet.textHeight());
}

void TestSurface::recorderListsCallsWithSettings() {
    PictureBox box;
    box.resize(505, 390);
    box.Scale(0, 36, 505, -3);
    box.setRecording(true);
    box.ForeColor = QColor(0, 0, 200);
    box.FontSize = 12;
    box.FontBold = true;
    box.DrawWidth = 2;
    box.CurrentX = 6.6;
    box.CurrentY = 0;
    box.Print(7);
    box.Line(0, -2, 500, 0, QColor(255, 255, 150), PictureBox::LineMode::FilledBox);
    box.Circle(11.8, 6.5, 0.4);
    box.PSet(1, 2);
    const auto& calls = box.records();
    QCOMPARE(calls.size(), 4);
    QCOMPARE(calls[0].op, QStringLiteral("Print"));
    QCOMPARE(calls[0].text, QStringLiteral(" 7 "));
    QCOMPARE(calls[0].x1, 6.6);
    QCOMPARE(calls[0].y1, 0.0);
    QCOMPARE(calls[0].color, QColor(0, 0, 200));
    QCOMPARE(calls[0].fontSize, 12.0);
    QVERIFY(calls[0].bold);
    QCOMPARE(calls[1].op, QStringLiteral("Line"));
    QCOMPARE(calls[1].mode, PictureBox::LineMode::FilledBox);
    QCOMPARE(calls[1].color, QColor(255, 255, 150)); // the colour argument, not ForeColor
    QCOMPARE(calls[1].y1, -2.0);
    QCOMPARE(calls[1].x2, 500.0);
    QCOMPARE(calls[2].op, QStringLiteral("Circle"));
    QCOMPARE(calls[2].radius, 0.4);
    QCOMPARE(calls[2].color, QColor(0, 0, 200));
    QCOMPARE(calls[3].drawWidth, 2);
}

void TestSurface::recorderIsOffByDefault() {
    PictureBox box;
    box.resize(50, 50);
    box.Line(0, 0, 100, 100);
    box.Print(QStringLiteral("x"));
    QVERIFY(box.records().isEmpty());
}

void TestSurface::drawingPersistsInImage() {
    PictureBox box;
    box.resize(505, 390);
    box.Scale(0, 36, 505, -3);
    box.Line(0, -1.5, 500, -3, QColor(255, 255, 0), PictureBox::LineMode::FilledBox);
    box.DrawWidth = 1;
    box.Line(0, 10, 500, 10, QColor(200, 200, 200));
    const QImage& img = box.image();
    const qreal ratio = img.devicePixelRatio(); // the image is in device pixels
    const QPointF band = box.toPixel(250, -2.5) * ratio;
    QCOMPARE(img.pixelColor(band.toPoint()), QColor(255, 255, 0));
    const QPointF grid = box.toPixel(250, 10) * ratio;
    QCOMPARE(img.pixelColor(grid.toPoint()), QColor(200, 200, 200));
    const QPointF empty = box.toPixel(250, 20.5) * ratio;
    QCOMPARE(img.pixelColor(empty.toPoint()), QColor(255, 255, 255));
    // The settings stay as they were set.
    QCOMPARE(box.DrawWidth, 1);
    QCOMPARE(box.ForeColor, QColor(Qt::black));
}

void TestSurface::clsResetsPositionAndErases() {
    PictureBox box;
    box.resize(505, 390);
    box.setBackColor(QColor(255, 255, 0));
    box.Scale(0, 1, 2, 30);
    box.Line(0, 1, 2, 30, QColor(0, 0, 0), PictureBox::LineMode::FilledBox);
    box.CurrentX = 1.5;
    box.CurrentY = 20;
    box.Cls();
    QCOMPARE(box.CurrentX, 0.0);
    QCOMPARE(box.CurrentY, 1.0);
    QCOMPARE(box.image().pixelColor(100, 100), QColor(255, 255, 0));
}

void TestSurface::backingImageMatchesCanvasSize() {
    PictureBox canvas;
    canvas.resize(surface::Twips::toPixels(196596), surface::Twips::toPixels(10000));
    const QImage& img = canvas.image();
    QCOMPARE(img.size(), QSize(13106, 667) * canvas.devicePixelRatioF());
}

void TestSurface::moveChildKeepsExactPosition() {
    PictureBox holder;
    holder.setBorder(PictureBox::Border::Flat);
    holder.resize(363, 59);
    QWidget child(&holder);
    holder.moveChild(&child, -1, 0); // one twip left of the inside edge
    QCOMPARE(PictureBox::childLeft(&child), -1.0);
    QCOMPARE(child.x(), 1); // the border; a twip is less than half a pixel

    PictureBox frame;
    frame.setBorder(PictureBox::Border::Flat);
    frame.resize(202, 102);
    frame.Scale(0, 0, 100, 100);
    QWidget canvas(&frame);
    frame.moveChild(&canvas, -23, -24);
    QCOMPARE(canvas.pos(), QPoint(1 - 46, 1 - 24));
    // A control lying only on the border leaves it visible.
    canvas.setAutoFillBackground(true);
    canvas.resize(46, 50);
    const QImage shown = frame.grab().toImage();
    QCOMPARE(shown.pixelColor(0, qRound(10 * shown.devicePixelRatio())),
             frame.palette().color(QPalette::WindowText));

    // Zoomed, a child keeps its place on the picture and grows with it, placed in twips before
    // the box had a scale as the window's controls are, and moved at the zoom as well.
    PictureBox box;
    box.resize(400, 300);
    QWidget marker(&box);
    marker.resize(28, 29);
    box.moveChild(&marker, 0, 9240);
    box.Scale(0, 36, 505, -3);
    box.setZoom(2.5);
    QCOMPARE(marker.geometry(), QRect(0, 1540, 70, 73));
    box.moveChild(&marker, 100, std::nullopt);
    box.setZoom(4);
    QCOMPARE(marker.geometry(), QRect(qRound(100 * 400 / 505.0 * 4), 2464, 112, 116));
    box.setZoom(1);
    QCOMPARE(marker.geometry(), QRect(qRound(100 * 400 / 505.0), 616, 28, 29));
}

void TestSurface::circleRadiusInXUnits_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPointF>("topLeft");
    QTest::addColumn<QPointF>("bottomRight");
    QTest::addColumn<double>("radius");
    // About 26 pixels per column and 17 per row: the ring of 0.4 is about 10 pixels wide.
    QTest::newRow("ring on the canvas")
        << QSize(13106, 667) << QPointF(0, 36) << QPointF(505, -3) << 0.4;
    QTest::newRow("units taller than wide")
        << QSize(100, 400) << QPointF(0, 0) << QPointF(10, 10) << 2.0;
}

// The radius is in x units whatever the y scale, and the ring is round in pixels.
void TestSurface::circleRadiusInXUnits() {
    QFETCH(QSize, size);
    QFETCH(QPointF, topLeft);
    QFETCH(QPointF, bottomRight);
    QFETCH(double, radius);
    PictureBox box;
    box.resize(size);
    box.Scale(topLeft.x(), topLeft.y(), bottomRight.x(), bottomRight.y());
    const QPointF centre = (topLeft + bottomRight) / 2;
    box.Circle(centre.x(), centre.y(), radius);
    const QImage& image = box.image();
    QRect painted;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                painted |= QRect(x, y, 1, 1);
    const double ratio = image.devicePixelRatio();
    const double diameter = 2 * radius * size.width() / (bottomRight.x() - topLeft.x());
    const QString extent = QStringLiteral("%1 x %2 pixels, diameter %3")
                               .arg(painted.width() / ratio)
                               .arg(painted.height() / ratio)
                               .arg(diameter);
    QVERIFY2(std::abs(painted.width() / ratio - 1 - diameter) <= 1, qPrintable(extent));
    QVERIFY2(std::abs(painted.height() / ratio - 1 - diameter) <= 1, qPrintable(extent));
}

void TestSurface::linesAreLogicalPixelsWide_data() {
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<int>("drawWidth");
    QTest::newRow("thin horizontal") << false << 1;
    QTest::newRow("thin vertical") << true << 1;
    QTest::newRow("width 3") << false << 3;
}

// A line of width w covers w logical pixels across, that is w times the pixel ratio in the
// backing image; the suite also runs at ratio 2 (QT_SCALE_FACTOR=2), where this shows.
void TestSurface::linesAreLogicalPixelsWide() {
    QFETCH(bool, vertical);
    QFETCH(int, drawWidth);
    surface::PictureBox box;
    box.resize(100, 100);
    box.Scale(0, 0, 100, 100);
    box.DrawWidth = drawWidth;
    if (vertical)
        box.Line(50.2, 10, 50.2, 90);
    else
        box.Line(10, 50.2, 90, 50.2);
    const QImage& image = box.image();
    const qreal ratio = image.devicePixelRatio();
    int across = 0;
    for (int i = 0; i < image.width(); ++i) {
        const int at = static_cast<int>(50 * ratio);
        const QColor c = vertical ? image.pixelColor(i, at) : image.pixelColor(at, i);
        if (c == Qt::black)
            ++across;
    }
    QCOMPARE(across, qRound(drawWidth * ratio));
}

void TestSurface::multiLineBoxPastesText_data() {
    QTest::addColumn<QString>("clipboard"); // "image" for a picture without text
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<QString>("text");
    QTest::newRow("text") << "28,\n496," << false << "28,\r\n496,Trefferliste";
    QTest::newRow("picture only") << "image" << false << "Trefferliste";
    QTest::newRow("read-only box") << "28," << true << "Trefferliste";
}

// Pasting reads the clipboard's text through QClipboard, at the cursor.
void TestSurface::multiLineBoxPastesText() {
    QFETCH(QString, clipboard);
    QFETCH(bool, readOnly);
    QFETCH(QString, text);
    QClipboard* board = QGuiApplication::clipboard();
    if (clipboard == QLatin1String("image")) {
        QImage picture(4, 4, QImage::Format_RGB32);
        picture.fill(Qt::yellow);
        board->setImage(picture);
    } else {
        board->setText(clipboard);
    }
    surface::MultiLineTextBox box;
    box.setText(QStringLiteral("Trefferliste"));
    box.setReadOnly(readOnly);
    box.moveCursor(QTextCursor::Start);
    box.paste();
    QCOMPARE(box.text(), text);
}

// A middle click pastes the PRIMARY selection where the pointer is, not at the text cursor.
// Only X11 has that selection: ctest runs this as test_surface_x11 on a virtual X server.
void TestSurface::middleClickPastesSelectionAtPointer() {
    QClipboard* board = QGuiApplication::clipboard();
    if (!board->supportsSelection())
        QSKIP("no PRIMARY selection on this platform; test_surface_x11 runs it under X11");
    board->setText(QStringLiteral("496,"), QClipboard::Selection);
    surface::MultiLineTextBox box;
    box.setText(QStringLiteral("Trefferliste\r\n28,"));
    box.resize(300, 100);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.moveCursor(QTextCursor::Start);
    QTextCursor end(box.document());
    end.movePosition(QTextCursor::End);
    const QPoint behindLastLine(box.viewport()->width() - 4, box.cursorRect(end).center().y());
    QTest::mouseClick(box.viewport(), Qt::MiddleButton, {}, behindLastLine);
    QCOMPARE(box.text(), QStringLiteral("Trefferliste\r\n28,496,"));
}

void TestSurface::heldPressOpensContextMenu_data() {
    QTest::addColumn<bool>("selected"); // the whole text selected before the press
    QTest::addColumn<QPoint>("moved");  // how far the press moves before it is held
    QTest::addColumn<bool>("released"); // lifted before the delay
    QTest::addColumn<int>("menus");
    QTest::addColumn<QString>("copied"); // the clipboard after "Kopieren", if it can be chosen
    QTest::newRow("held on the selection copies it")
        << true << QPoint() << false << 1 << "6\n28\n496";
    QTest::newRow("held without a selection, nothing to copy")
        << false << QPoint() << false << 1 << "before";
    QTest::newRow("wandering 3 pixels is still held")
        << true << QPoint(2, 1) << false << 1 << "6\n28\n496";
    QTest::newRow("a drag selects, no menu") << true << QPoint(12, 0) << false << 0 << "before";
    QTest::newRow("lifted early, no menu") << true << QPoint() << true << 0 << "before";
}

// A left press (or a finger) held still opens the right button's context menu for the
// selection there was, so that a board without a right button can copy from the hit list.
void TestSurface::heldPressOpensContextMenu() {
    QFETCH(bool, selected);
    QFETCH(QPoint, moved);
    QFETCH(bool, released);
    QFETCH(int, menus);
    QFETCH(QString, copied);
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    surface::MultiLineTextBox box;
    box.setText(QStringLiteral("6\r\n28\r\n496"));
    box.resize(300, 100);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    if (selected)
        box.selectAll();
    QCOMPARE(box.holdDelay(), 800);
    box.setHoldDelay(50);
    // The menu runs in a loop of its own; it is read and closed from the event loop, the checks
    // come after it.
    int opened = 0;
    QStringList entries;
    QTimer closer;
    closer.setInterval(0);
    connect(&closer, &QTimer::timeout, &box, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        ++opened;
        QAction* copy = nullptr;
        for (QAction* a : menu->actions()) {
            entries << a->objectName();
            if (a->objectName() == QLatin1String("edit-copy") && a->isEnabled())
                copy = a;
        }
        menu->close();
        if (copy)
            copy->trigger();
    });
    closer.start();
    QTextCursor second(box.document());
    second.setPosition(3);
    const QPoint at = box.cursorRect(second).center();
    QTest::mousePress(box.viewport(), Qt::LeftButton, {}, at);
    if (!moved.isNull())
        QTest::mouseMove(box.viewport(), at + moved);
    if (released)
        QTest::mouseRelease(box.viewport(), Qt::LeftButton, {}, at + moved);
    if (menus > 0)
        QTRY_COMPARE_WITH_TIMEOUT(opened, menus, 3000);
    else
        QTest::qWait(300);
    if (!released)
        QTest::mouseRelease(box.viewport(), Qt::LeftButton, {}, at + moved);
    QTest::qWait(20);
    QCOMPARE(opened, menus);
    if (menus > 0)
        QVERIFY2(entries.contains(QStringLiteral("select-all")), qPrintable(entries.join(", ")));
    QCOMPARE(QGuiApplication::clipboard()->text(), copied);
}

void TestSurface::liberationFacesAreVersion2_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<bool>("bold");
    QTest::newRow("Liberation Serif") << "Liberation Serif" << false;
    QTest::newRow("Liberation Serif bold") << "Liberation Serif" << true;
    QTest::newRow("Liberation Mono") << "Liberation Mono" << false;
    QTest::newRow("Liberation Mono bold") << "Liberation Mono" << true;
    QTest::newRow("Liberation Sans") << "Liberation Sans" << false;
    QTest::newRow("Liberation Sans bold") << "Liberation Sans" << true;
}

// The faces that stand in for Times New Roman, Courier New and MS Sans Serif come from Liberation
// 2 even where Liberation 1.x is installed as well: the major version of the font revision in the
// head table is 2.
void TestSurface::liberationFacesAreVersion2() {
    QFETCH(QString, family);
    QFETCH(bool, bold);
    QFont font(family);
    font.setPointSizeF(10.2);
    font.setBold(bold);
    QCOMPARE(QFontInfo(font).family(), family);
    const QByteArray head = QRawFont::fromFont(font).fontTable("head");
    QVERIFY(head.size() >= 8);
    QCOMPARE(qFromBigEndian<quint16>(head.constData() + 4), quint16(2));
}

QTEST_MAIN(TestSurface)
void TestSurface::tilesGiveTheWholePicture_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<double>("zoom");
    QTest::newRow("slanted lines") << "Line" << 1.0;
    QTest::newRow("boxes") << "Box" << 1.0;
    QTest::newRow("circles") << "Circle" << 1.0;
    QTest::newRow("texts") << "Print" << 1.0;
    QTest::newRow("texts written again") << "Print again" << 1.0;
    QTest::newRow("slanted lines at 400%") << "Line" << 4.0;
    QTest::newRow("texts at 125%") << "Print" << 1.25;
    QTest::newRow("texts at 250%") << "Print" << 2.5;
    QTest::newRow("texts, the box made taller than a tile") << "Print taller" << 1.0;
}

// The screen paints from tiles; a drawing that crosses a tile's edge must come out as in the one
// picture of the whole box, wherever the edge cuts it (the suite runs at ratio 1 and 2). Zoomed,
// the box shows its picture drawn afresh at that size, as sharp as at 100% (a text four times
// as high, not its pixels enlarged), and back at 100% the picture it showed before.
void TestSurface::tilesGiveTheWholePicture() {
    QFETCH(QString, kind);
    QFETCH(double, zoom);
    PictureBox box;
    box.resize(700, 300);
    box.Scale(0, 30, 70, 0);
    box.FontBold = true;
    QRandomGenerator random(7);
    // "Print again" writes labels as the two sum charts do, each chart over the other: in white
    // where the other chart's label stands, then its own in colour at the same place. Each chart
    // drawn again covers every drawing of the one before, which leaves the list while the tiles
    // shown so far catch up with the rest; the picture is that of the last chart alone.
    const bool again = kind == QLatin1String("Print again");
    PictureBox alone;
    alone.resize(box.size());
    alone.Scale(0, 30, 70, 0);
    alone.FontBold = true;
    const int charts = 4;
    for (int chart = 0; chart < charts && again; ++chart) {
        if (chart == 1) {
            box.grab(); // the shared image, then tiles of their own
            box.grab();
        }
        for (PictureBox* into : {&box, &alone}) {
            if (into == &alone && chart != charts - 1)
                continue;
            random.seed(7);
            for (int i = 0; i < 300; ++i) {
                const double x = random.bounded(700) / 10.0, y = random.bounded(300) / 10.0;
                into->FontSize = 8 + random.bounded(12);
                const QColor ink = QColor::fromRgb(random.generate() | 0xff000000);
                const int sums[] = {random.bounded(1000), random.bounded(1000)};
                for (const bool own : {false, true}) {
                    into->CurrentX = x;
                    into->CurrentY = y;
                    into->ForeColor = own ? ink : QColor(Qt::white);
                    into->Print(sums[(chart + own) % 2]);
                }
            }
        }
    }
    if (again) {
        QCOMPARE(box.drawings().size(), alone.drawings().size());
        QVERIFY(box.image() == alone.image());
    }
    for (int i = 0; i < 300 && !again; ++i) {
        const double x = random.bounded(700) / 10.0, y = random.bounded(300) / 10.0;
        box.DrawWidth = 1 + random.bounded(3);
        box.ForeColor = QColor::fromRgb(random.generate() | 0xff000000);
        box.FontSize = 8 + random.bounded(12);
        if (kind == QLatin1String("Line"))
            box.Line(x, y, x + random.bounded(200) / 10.0 - 10,
                     y + random.bounded(200) / 10.0 - 10);
        else if (kind == QLatin1String("Box"))
            box.Line(x, y, x + random.bounded(80) / 10.0, y - random.bounded(80) / 10.0, {},
                     PictureBox::LineMode::Box);
        else if (kind == QLatin1String("Circle"))
            box.Circle(x, y, random.bounded(30) / 10.0 + 0.1);
        else {
            box.CurrentX = x;
            box.CurrentY = y;
            box.Print(random.bounded(-100000, 100000));
        }
    }
    if (kind == QLatin1String("Print taller"))
        box.resize(700, 2100);
    const QImage unzoomed = box.image();
    if (zoom != 1) {
        box.grab(); // tiles at 100% that the zoom must not show
        box.grab();
        box.setZoom(zoom);
        QCOMPARE(box.size(), QSize(qRound(700 * zoom), qRound(300 * zoom)));
    }
    const QImage whole = box.image();
    // Shown the first time, a square is drawn in the shared image; from the second time on, in a
    // tile of its own.
    for (const char* showing : {"first", "second"}) {
        const QImage tiled = box.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(tiled.size(), whole.size());
        int differing = 0;
        for (int y = 0; y < whole.height(); ++y)
            for (int x = 0; x < whole.width(); ++x)
                differing += tiled.pixel(x, y) != whole.pixel(x, y);
        QVERIFY2(differing == 0, qPrintable(QStringLiteral("%1 showing: %2 pixels differ")
                                                .arg(QLatin1String(showing))
                                                .arg(differing)));
    }
    if (zoom != 1) {
        box.setZoom(1);
        QCOMPARE(box.size(), QSize(700, 300));
        QVERIFY(box.image() == unzoomed);
        QVERIFY(box.grab().toImage().convertToFormat(QImage::Format_RGB32) == unzoomed);
    }
}

void TestSurface::drawingsOnPaperKeepTheirPlace_data() {
    QTest::addColumn<int>("dpi"); // of the page; the painter scales logical pixels to it
    QTest::addColumn<double>("zoom");
    QTest::newRow("screen") << 96 << 1.0;
    QTest::newRow("300 dpi") << 300 << 1.0;
    QTest::newRow("1200 dpi") << 1200 << 1.0;
    QTest::newRow("300 dpi, zoomed to 250%") << 300 << 2.5;
}

// Painted as shapes and text on a page of any resolution, scaled to it, the drawings stand where
// the screen shows them and the text keeps its size; what lies outside the part is left out.
void TestSurface::drawingsOnPaperKeepTheirPlace() {
    QFETCH(int, dpi);
    QFETCH(double, zoom);
    PictureBox box;
    box.resize(200, 100);
    box.Scale(0, 0, 200, 100);
    box.FontSize = 14;
    box.CurrentX = 20;
    box.CurrentY = 30;
    box.Print(QStringLiteral("1234"));
    box.Line(20, 70, 120, 70);
    box.CurrentX = 160; // right of the part
    box.CurrentY = 30;
    box.Print(QStringLiteral("88"));
    box.setZoom(zoom);
    const double z = zoom; // logical pixels of the zoomed box per pixel at 100%
    const QRectF part(0, 0, 150 * z, 100 * z);
    const qreal scale = dpi / 96.0;
    QImage page((QSizeF(box.size()) * scale).toSize(), QImage::Format_RGB32);
    page.setDotsPerMeterX(qRound(dpi / 0.0254));
    page.setDotsPerMeterY(qRound(dpi / 0.0254));
    page.fill(Qt::gray);
    {
        QPainter painter(&page);
        painter.scale(scale, scale);
        box.paintDrawings(painter, part);
    }
    // Where it is dark, in logical pixels: the text, then the line.
    auto darkIn = [&](const QRectF& where) {
        QRectF dark;
        const QRect pixels = QRectF(where.topLeft() * scale, where.size() * scale).toRect();
        for (int y = pixels.top(); y <= pixels.bottom(); ++y)
            for (int x = pixels.left(); x <= pixels.right(); ++x)
                if (qGray(page.pixel(x, y)) < 100)
                    dark |= QRectF(x / scale, y / scale, 1 / scale, 1 / scale);
        return dark;
    };
    const QRectF text = darkIn(QRectF(0, 0, 150 * z, 60 * z));
    const QRectF line = darkIn(QRectF(0, 60 * z, 150 * z, 40 * z));
    const QImage screen = box.image();
    const qreal ratio = screen.devicePixelRatio() / z; // its pixels per pixel of the zoomed box
    QRectF onScreen;
    for (int y = 0; y < 60 * z * ratio; ++y)
        for (int x = 0; x < 150 * z * ratio; ++x)
            if (qGray(screen.pixel(x, y)) < 100)
                onScreen |= QRectF(x / ratio, y / ratio, 1 / ratio, 1 / ratio);
    const QString where = QStringLiteral("text %1,%2 %3x%4, on screen %5,%6 %7x%8")
                              .arg(text.x())
                              .arg(text.y())
                              .arg(text.width())
                              .arg(text.height())
                              .arg(onScreen.x())
                              .arg(onScreen.y())
                              .arg(onScreen.width())
                              .arg(onScreen.height());
    QVERIFY2(!onScreen.isEmpty(), qPrintable(where));
    QVERIFY2(std::abs(text.left() - onScreen.left()) <= 1.5 * z &&
                 std::abs(text.top() - onScreen.top()) <= 1.5 * z &&
                 std::abs(text.width() - onScreen.width()) <= 2.5 * z &&
                 std::abs(text.height() - onScreen.height()) <= 2.5 * z,
             qPrintable(where));
    QVERIFY2(std::abs(line.left() - 20 * z) <= z && std::abs(line.right() - 121 * z) <= z &&
                 std::abs(line.center().y() - 70.5 * z) <= z,
             qPrintable(QStringLiteral("line %1 to %2 at %3")
                            .arg(line.left())
                            .arg(line.right())
                            .arg(line.center().y())));
    // Only the part is painted, in the back colour; nothing of the text right of it.
    QCOMPARE(page.pixelColor((QPointF(149, 99) * z * scale).toPoint()), QColor(Qt::white));
    QVERIFY(darkIn(QRectF(151 * z, 0, 48 * z, 99 * z)).isEmpty());
    QCOMPARE(page.pixelColor((QPointF(170, 50) * z * scale).toPoint()), QColor(Qt::gray));
}

#include "test_surface.moc"

// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "board/canvas.h"
#include "board/drawing.h"
#include "board/drawsettings.h"
#include "board/linemode.h"

#include <QColor>
#include <QElapsedTimer>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QRgb>
#include <QSet>
#include <QStaticText>
#include <QTimer>
#include <QVector>
#include <QWidget>
#include <optional>

namespace surface {

// A drawing surface whose pictures persist until cleared. The box keeps what was drawn, not
// pixels: each drawing call (in user coordinates set with Scale) goes into a list, and paintEvent
// paints the exposed part from square tiles of device pixels, drawn from that list and kept, while
// there is room, from the second time they are shown. A box holds no pixels of its own until a
// part of its picture is shown again.
class PictureBox : public QWidget, public board::Canvas {
    Q_OBJECT
  public:
    using LineMode = board::LineMode;
    enum class Border { None, Flat };

    // One drawing call as a test sees it: arguments in user units plus the settings in force.
    struct DrawCall {
        QString op; // "Cls", "Line", "Circle", "PSet", "Print"
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0, radius = 0;
        LineMode mode = LineMode::Plain;
        QString text;
        QColor color;
        double fontSize = 0;
        bool bold = false;
        int drawWidth = 1;
    };

    // The drawings the box keeps and repaints itself from, and its drawing settings, as plain
    // data that a board file holds too.
    using Drawing = board::Drawing;
    using Settings = board::DrawSettings;

    explicit PictureBox(QWidget* parent = nullptr);

    void setBackColor(const QColor& color);
    QColor backColor() const { return m_back; }
    void setBorder(Border m_border);
    int borderWidth() const { return m_border == Border::Flat ? 1 : 0; }
    // The family, size and boldness Print starts with.
    void setBoxFont(const QFont& font);
    QFont boxFont() const { return m_fontBase; }

    // User coordinates: (x1, y1) is the top-left corner of the inside, (x2, y2) the bottom-right.
    void Scale(double x1, double y1, double x2, double y2);
    bool hasScale() const { return m_scaled; }
    double scaleLeft() const { return m_sx1; }
    double scaleTop() const { return m_sy1; }
    double scaleWidth() const { return m_sx2 - m_sx1; }
    double scaleHeight() const { return m_sy2 - m_sy1; }

    // Shows the picture enlarged by zoom (1 is 100%): the box grows by it, its drawings are
    // drawn again at that size and its children keep their places on the picture. User
    // coordinates, drawings and settings stay as they are.
    void setZoom(double zoom);
    double zoom() const { return m_zoom; }

    // Mapping between user units and logical pixels of the inside area, at the zoom shown.
    QPointF toPixel(double x, double y) const;
    QPointF toUser(const QPointF& pixel) const;
    // Places a child: left/top in user units once the box has a scale, else in twips.
    int childX(double left) const;
    int childY(double top) const;
    // Moves a child to Left/Top given in the units above and remembers the exact values, which
    // pixel positions cannot hold (a twip is a fifteenth of a pixel).
    void moveChild(QWidget* child, std::optional<double> left, std::optional<double> top);
    static double childLeft(const QWidget* child);
    static double childTop(const QWidget* child);

    void Cls();
    void Line(double x1, double y1, double x2, double y2, std::optional<QColor> color = {},
              LineMode mode = LineMode::Plain);
    void Circle(double x, double y, double radius);
    void PSet(double x, double y);
    void Print(const QString& text);
    void Print(double value); // number text plus one trailing blank
    // Keeps a segment of a freehand stroke as given, in its own colour and width, with its
    // stroke's number; it is recorded as a Line, and the current position moves to its end.
    void drawStroke(const Drawing& segment);
    // Takes every segment of the strokes numbered in strokes off the box (drawings of no stroke
    // stay, whatever the set holds) and tells about each as about a covered one; returns how
    // many went.
    qsizetype eraseStrokes(const QSet<quint32>& strokes);

    // Drawing settings, kept until changed.
    double CurrentX = 0;
    double CurrentY = 0;
    QColor ForeColor = Qt::black;
    int DrawWidth = 1;
    double FontSize = 8.25;
    bool FontBold = false;

    // Height of one text line of the current font, in user units (positive).
    double textHeight() const;

    void setRecording(bool on);
    // Tests switch recording on for boxes created afterwards, to see what start-up draws.
    static void setRecordingForNewBoxes(bool on);
    const QVector<DrawCall>& records() const { return m_recorded; }
    void clearRecords() { m_recorded.clear(); }

    // What the box shows: its drawings since the last Cls, in order, but for those that a later
    // one covers completely.
    const QVector<Drawing>& drawings() const override;
    // Keeps the first `keep` drawings, puts `tail` after them and repaints.
    void replaceDrawings(qsizetype keep, const QVector<Drawing>& tail) override;
    Settings settings() const override;
    void setSettings(const Settings& settings) override;

    // The whole picture in device pixels at the zoom shown, drawn afresh, e.g. for tests.
    QImage image() const;
    // Paints the part (logical pixels of the inside) of the picture on a painter whose
    // coordinates are those of the inside; pixel for pixel what the screen shows.
    void paintPicture(QPainter& painter, const QRect& part) const;
    // Paints the part (logical pixels of the inside) as lines, circles and text rather than
    // pixels, on a painter whose coordinates are those of the inside and may be scaled: sharp on
    // paper and in a PDF. Text keeps its size in logical pixels whatever the device's resolution.
    void paintDrawings(QPainter& painter, const QRectF& part) const;

  signals:
    // Before Cls wipes the drawings, while drawings() still holds them.
    void aboutToClear();
    void mouseDown(int button, int shift, double x, double y);
    void mouseMove(int button, int shift, double x, double y);
    void mouseUp(int button, int shift, double x, double y);
    void clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void childEvent(QChildEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void clipChildren();
    void clipChild(QWidget* child);
    struct FontEntry {
        QFont font;
        double ascent;
        double height;
        double maxWidth; // at least the widest advance of a character
    };
    // A square of the picture in device pixels, drawn from the drawings up to drawnUpTo.
    struct Tile {
        QImage image;
        qsizetype drawnUpTo = 0;
        quint64 lastUse = 0;
    };
    static quint64 fontKeyOf(double size, bool bold);
    const FontEntry& fontEntry(double size, bool bold) const;
    const FontEntry& currentFont() const { return fontEntry(FontSize, FontBold); }
    const QStaticText& layoutOf(const FontEntry& entry, double size, bool bold,
                                const QString& text) const;
    void keep(Drawing drawing); // and repaints where it reaches
    void refreshExtents();
    static size_t shapeOf(const Drawing& drawing);
    static bool sameShape(const Drawing& a, const Drawing& b);
    void indexShapes();
    void dropCovered(quint64 serial, const Drawing& cover);
    void removeCovered();
    QRect extentOf(const Drawing& drawing) const;
    void paintDrawing(QPainter& painter, const Drawing& drawing, qreal ratio) const;
    static QRectF cellsOf(const QRectF& box, qreal ratio);
    bool filled(const Drawing& drawing, qreal ratio) const;
    bool drawnApart(const Drawing& drawing, const QRectF& part, qreal ratio) const;
    bool endsLeftOf(const Drawing& drawing, double left) const;
    static QTransform shifted(const QPoint& device, qreal ratio);
    bool drawApart(QImage& target, const QPoint& origin, const Drawing& drawing,
                   const QRect& extent, qreal ratio) const;
    void drawInto(QImage& target, const QPoint& origin, qsizetype from) const;
    QImage pictureOf(const QRect& device, qreal ratio) const;
    static quint64 tileKey(int column, int row);
    bool clearTileImage(QImage& image, qreal ratio) const;
    Tile& tileAt(int column, int row, qreal ratio);
    const QImage* tileImage(int column, int row, qreal ratio);
    void dropTiles();
    void trimTiles(const QRect& keepDevice);
    qreal pictureRatio() const;
    void record(DrawCall call, const QColor& ink); // ink: the colour the call draws in
    void markDirty(const QRectF& pictureRect);     // in pixels of the picture at 100%
    void flushDirty();
    QSizeF insideSize() const;
    QSizeF pictureSize() const; // the inside at 100%
    // User units to pixels of the picture at 100%, where the drawings are worked out.
    QPointF atPicture(double x, double y) const;
    double pixelsPerUnitX() const;
    double pixelsPerUnitY() const;

    QColor m_back = Qt::white;
    Border m_border = Border::None;
    QFont m_fontBase;
    bool m_scaled = false;
    double m_sx1 = 0, m_sy1 = 0, m_sx2 = 1, m_sy2 = 1;
    QVector<Drawing> m_drawings; // and the covered ones not yet removed
    QVector<QRect> m_extents;    // each drawing's reach in pixels of the picture at 100%
    QSizeF m_extentsSize;        // the picture size the extents were worked out for
    double m_zoom = 1;
    QSize m_unzoomed; // the inside at 100%, while zoomed
    // Each drawing's number in the order it was kept, and for each shape (a hash of all but the
    // colour) the number of the last drawing kept with it, so that a drawing that covers an
    // earlier one completely is found at once. Numbered afresh when the list was replaced.
    QVector<quint64> m_serials;
    QHash<size_t, quint64> m_shapes;
    quint64 m_nextSerial = 0;
    // The indices of drawings found covered since the list was last made whole, ascending: they
    // are drawn no more (their extents are empty) and leave the list in one go.
    QVector<qsizetype> m_covered;
    QHash<quint64, Tile> m_tiles;
    QVector<QImage> m_spareTiles; // images of dropped tiles, for the next ones
    // Squares shown without a tile of their own, with the paint that first showed them.
    QHash<quint64, quint64> m_firstShown;
    qreal m_tileRatio = 0;  // device pixels of a tile per pixel of the picture at 100%
    int m_tileHeight = 1;   // in device pixels; tiles are 128 wide
    int m_tileMargin = 0;   // device pixels left of a tile that are drawn but not shown
    mutable QImage m_apart; // where small drawings cut by a tile's edge are drawn whole
    quint64 m_paintCount = 0;
    bool m_recording = false;
    QVector<DrawCall> m_recorded;
    mutable QHash<quint64, FontEntry> m_fonts;
    mutable QHash<QPair<quint64, QString>, QStaticText> m_layouts; // laid out once per font
    QRectF m_dirty;
    QTimer m_repaintTimer;
    QElapsedTimer m_sinceRepaint;
    bool m_pressedInside = false;
};

} // namespace surface

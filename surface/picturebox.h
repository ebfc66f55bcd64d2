// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QElapsedTimer>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QStaticText>
#include <QTimer>
#include <QVector>
#include <QWidget>
#include <optional>

namespace surface {

// A drawing surface whose pictures persist until cleared. Drawing goes through user
// coordinates set with Scale into a backing image; paintEvent only copies the exposed part.
class PictureBox : public QWidget {
    Q_OBJECT
  public:
    enum class LineMode { Plain, Box, FilledBox };
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

    // Mapping between user units and logical pixels of the inside area.
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

    // The backing image (device pixels), e.g. for tests and screenshots.
    const QImage& image();

  signals:
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
    };
    const FontEntry& currentFont() const;
    quint64 fontKey() const;
    QPainter& painter();
    void endPainting();
    void ensureImage();
    void record(DrawCall call, const QColor& ink); // ink: the colour the call draws in
    void markDirty(const QRectF& pixelRect);
    void flushDirty();
    QSizeF insideSize() const;
    double pixelsPerUnitX() const;
    double pixelsPerUnitY() const;

    QColor m_back = Qt::white;
    Border m_border = Border::None;
    QFont m_fontBase;
    bool m_scaled = false;
    double m_sx1 = 0, m_sy1 = 0, m_sx2 = 1, m_sy2 = 1;
    QImage m_backing;
    QSizeF m_imageSize; // the inside size the backing image was made for
    QPainter m_activePainter;
    bool m_recording = false;
    QVector<DrawCall> m_recorded;
    mutable QHash<quint64, FontEntry> m_fonts;
    QHash<QPair<quint64, QString>, QStaticText> m_layouts; // texts laid out once per font
    QRectF m_dirty;
    QTimer m_repaintTimer;
    QElapsedTimer m_sinceRepaint;
    bool m_pressedInside = false;
};

} // namespace surface

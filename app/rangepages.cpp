// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "rangepages.h"

#include "board/safefile.h"
#include "charts/column.h"
#include "menutable.h"
#include "pictureexport.h"
#include "surface/picturebox.h"

#include <QBuffer>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <algorithm>

namespace app {

namespace {

// The canvas is painted in slices this many logical pixels wide, so that no second picture of
// its whole width is needed beside the one being made.
constexpr int sliceWidth = 1024;

// Where the canvas starts: right of the strip, on its right border line if it has one.
int canvasLeft(const surface::PictureBox& strip) {
    return strip.width() - strip.borderWidth();
}

// How far the strip stands below the canvas's top; both are children of the frame.
int stripTop(const surface::PictureBox& canvas, const surface::PictureBox& strip) {
    return canvas.parentWidget() == strip.parentWidget() ? strip.y() - canvas.y() : 0;
}

QRectF insideOf(const surface::PictureBox& box) {
    const int b = box.borderWidth();
    return QRectF(0, 0, std::max(0, box.width() - 2 * b), std::max(0, box.height() - 2 * b));
}

} // namespace

QVector<RangePages::Span> RangePages::Split(int count, int perPage, int overlap) {
    QVector<Span> spans;
    const int step = std::max(1, perPage - overlap);
    for (int first = 1; first <= count; first += step) {
        spans.append({first, std::min(count, first + perPage - 1)});
        if (spans.last().last == count)
            break;
    }
    return spans;
}

QString RangePages::Caption(int rangeBase, const QString& charts, int page, int pages,
                            const Span& span) {
    const QString dash = QStringLiteral(" – ");
    QString caption =
        QStringLiteral("Teiler") + dash +
        QStringLiteral("%1...%2").arg(rangeBase + 1).arg(rangeBase + charts::Column::count);
    if (!charts.isEmpty())
        caption += dash + charts;
    return caption + dash +
           QStringLiteral("Seite %1 von %2 (Zahlen %3 bis %4)")
               .arg(page)
               .arg(pages)
               .arg(rangeBase + span.first)
               .arg(rangeBase + span.last);
}

QString RangePages::ChartNames(const QVector<charts::ShownChart::Chart>& shown) {
    using Chart = charts::ShownChart::Chart;
    QStringList names;
    for (const Chart chart : shown) {
        const char* entry = chart == Chart::Skyline        ? "cmdTeiler"
                            : chart == Chart::DivisorCount ? "cmdHochzerlegbar"
                            : chart == Chart::DivisorSum   ? "cmdTeilersumme"
                                                           : "cmdTeilersumme2";
        for (const MenuTable::Item& item : MenuTable::items()) {
            if (!item.name || qstrcmp(item.name, entry) != 0)
                continue;
            // The entry's name without its mnemonic and the remark in brackets.
            QString text = QString::fromUtf8(item.text).remove(QLatin1Char('&'));
            text = text.left(text.indexOf(QLatin1String("  ["))).simplified();
            names << text;
        }
    }
    return names.join(QStringLiteral(", "));
}

RangePages::RangePages(const surface::PictureBox& canvas, const surface::PictureBox& strip,
                       int rangeBase, int sumMode)
    : m_canvas(canvas), m_strip(strip), m_rangeBase(rangeBase),
      m_charts(ChartNames(charts::ShownChart::of(canvas.drawings(), sumMode))) {}

QVector<RangePages::Span> RangePages::pages() const {
    return Split(charts::Column::count, perPage, overlap);
}

QString RangePages::caption(int page) const {
    const QVector<Span> spans = pages();
    return Caption(m_rangeBase, m_charts, page, static_cast<int>(spans.size()),
                   spans.value(page - 1));
}

QImage RangePages::picture() const {
    const int left = canvasLeft(m_strip);
    const int top = stripTop(m_canvas, m_strip);
    const QSize size(left + m_canvas.width(), std::max(m_canvas.height(), top + m_strip.height()));
    // At most twice as sharp as at 96 dpi: at "--zoom 4" the picture would take half a gigabyte.
    const qreal ratio = std::clamp<qreal>(m_canvas.devicePixelRatioF(), 1.0, 2.0);
    QImage picture((QSizeF(size) * ratio).toSize(), QImage::Format_RGB32);
    if (picture.isNull())
        return {};
    picture.setDevicePixelRatio(ratio);
    // 96 dots per inch of logical pixels, so that other programs show it at its size on screen.
    picture.setDotsPerMeterX(qRound(3780 * ratio));
    picture.setDotsPerMeterY(qRound(3780 * ratio));
    picture.fill(Qt::white);
    QPainter painter(&picture);
    const QRect canvasInside = insideOf(m_canvas).toRect();
    painter.save();
    painter.translate(left + m_canvas.borderWidth(), m_canvas.borderWidth());
    for (int x = 0; x < canvasInside.width(); x += sliceWidth)
        m_canvas.paintPicture(painter, QRect(x, 0, std::min(sliceWidth, canvasInside.width() - x),
                                             canvasInside.height()));
    painter.restore();
    // The strip lies over the canvas, as in the window.
    painter.translate(0, top);
    const int b = m_strip.borderWidth();
    if (b > 0) {
        painter.setPen(m_strip.palette().color(QPalette::WindowText));
        painter.drawRect(QRect(QPoint(0, 0), m_strip.size()).adjusted(0, 0, -1, -1));
    }
    painter.translate(b, b);
    m_strip.paintPicture(painter, insideOf(m_strip).toRect());
    return picture;
}

void RangePages::paintPage(QPainter& painter, const QRectF& page, int number) const {
    const Span span = pages().value(number - 1);
    painter.save();
    // The caption in 10 points, whatever the device's resolution.
    QFont font = m_canvas.boxFont();
    font.setBold(false);
    font.setPointSizeF(10);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const qreal line = QFontMetricsF(font, painter.device()).height();
    painter.drawText(QRectF(page.left(), page.top(), page.width(), line),
                     Qt::AlignLeft | Qt::AlignVCenter, caption(number));
    const QRectF area = page.adjusted(0, line * 1.5, 0, 0);

    // Every page at the scale of a full one: the strip and perPage columns fill its width.
    const int left = canvasLeft(m_strip);
    const int top = stripTop(m_canvas, m_strip);
    const double column = m_canvas.toPixel(1, 0).x() - m_canvas.toPixel(0, 0).x();
    const QSizeF size(left + column * perPage, std::max(m_canvas.height(), top + m_strip.height()));
    const qreal scale = std::min(area.width() / size.width(), area.height() / size.height());
    painter.translate(area.topLeft());
    painter.scale(scale, scale);

    const int cb = m_canvas.borderWidth();
    const double from = m_canvas.toPixel(span.first - 0.5, 0).x();
    const double to = m_canvas.toPixel(span.last + 0.5, 0).x();
    const QRectF shown(from, 0, to - from, insideOf(m_canvas).height());
    painter.save();
    painter.translate(left + cb - from, cb);
    m_canvas.paintDrawings(painter, shown);
    painter.setPen(QPen(m_strip.palette().color(QPalette::WindowText), 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(shown);
    painter.restore();

    painter.translate(0, top);
    const int b = m_strip.borderWidth();
    painter.translate(b, b);
    m_strip.paintDrawings(painter, insideOf(m_strip));
    painter.translate(-b, -b);
    painter.setPen(QPen(m_strip.palette().color(QPalette::WindowText), 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(QPointF(0, 0), QSizeF(m_strip.size())));
    painter.restore();
}

bool RangePages::paint(QPagedPaintDevice& device) const {
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const qsizetype count = pages().size();
    for (int number = 1; number <= count; ++number) {
        if (number > 1 && !device.newPage())
            return false;
        paintPage(painter, QRectF(painter.viewport()), number);
    }
    return painter.end();
}

bool RangePages::save(const QString& path, QString* error) const {
    const QString ending = QFileInfo(path).suffix().toLower();
    if (ending == QLatin1String("png")) {
        const QImage whole = picture();
        if (whole.isNull()) {
            *error = QStringLiteral("Für das Bild aller Spalten reicht der Arbeitsspeicher nicht.");
            return false;
        }
        return PictureExport::Save(whole, path, error);
    }
    if (ending != QLatin1String("pdf")) {
        *error = QStringLiteral("Unbekannte Dateiendung \"%1\": möglich sind .png und .pdf.")
                     .arg(ending);
        return false;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setCreator(QStringLiteral("Teiler"));
    writer.setTitle(caption(1).section(QStringLiteral(" – Seite"), 0, 0));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                     QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
    writer.setResolution(300);
    if (!paint(writer)) {
        *error = QStringLiteral("Die Seiten ließen sich nicht als PDF anlegen.");
        return false;
    }
    return board::SafeFile::Write(bytes, path, error);
}

bool RangePages::print(QPrinter& printer, QString* error) const {
    if (const auto written = PictureExport::PrintToFile(
            printer, [this](QPagedPaintDevice& device) { return paint(device); },
            QStringLiteral("Die Seiten ließen sich nicht als PDF anlegen."), error))
        return *written;
    if (!paint(printer)) {
        *error = QStringLiteral("Der Drucker nahm den Auftrag nicht an.");
        return false;
    }
    return true;
}

} // namespace app

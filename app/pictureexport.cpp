// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictureexport.h"

#include "board/safefile.h"
#include "charts/column.h"
#include "surface/picturebox.h"

#include <QBuffer>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <algorithm>

namespace app {

namespace {

// 96 dots per inch: the picture keeps its on-screen size on the PDF page.
constexpr int screenDpi = 96;

// Where the picture stands on a page: centred, scaled down to fit when it is larger, and scaled
// up as well when enlarge is set; always in proportion.
QRectF placeOnPage(const QImage& picture, const QRectF& page, bool enlarge) {
    QSizeF size = picture.deviceIndependentSize();
    if (enlarge || size.width() > page.width() || size.height() > page.height())
        size.scale(page.size(), Qt::KeepAspectRatio);
    return {page.center() - QPointF(size.width() / 2, size.height() / 2), size};
}

// The picture as a one-page PDF: A4 landscape, the picture at its size on screen, centred.
QByteArray pdfOf(const QImage& picture) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setCreator(QStringLiteral("Teiler"));
    writer.setTitle(QStringLiteral("Teiler"));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                     QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
    writer.setResolution(screenDpi);
    QPainter painter(&writer);
    // Without this hint Qt stores the picture as JPEG and blurs its thin lines and digits.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    const QRectF page(QPointF(0, 0), QSizeF(writer.width(), writer.height()));
    painter.drawImage(placeOnPage(picture, page, false), picture);
    painter.end();
    return bytes;
}

// The picture fitted to the page, kept in proportion and centred.
bool paintOnPage(const QImage& picture, QPagedPaintDevice& device) {
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::LosslessImageRendering);
    painter.drawImage(placeOnPage(picture, painter.viewport(), true), picture);
    return painter.end();
}

} // namespace

QImage PictureExport::FramePicture(surface::PictureBox& frame, surface::PictureBox& canvas,
                                   surface::PictureBox& strip, int visibleRight) {
    const int b = frame.borderWidth();
    QRect inside = frame.rect().adjusted(b, b, -b, -b);
    inside.setRight(std::min(inside.right(), visibleRight - 1));
    if (inside.isEmpty())
        return {};
    const qreal ratio = frame.devicePixelRatioF();
    QImage picture((QSizeF(inside.size()) * ratio).toSize(), QImage::Format_RGB32);
    if (picture.isNull())
        return {};
    picture.setDevicePixelRatio(ratio);
    // 96 dots per inch of logical pixels, so that other programs show it at its size on screen.
    picture.setDotsPerMeterX(qRound(3780 * ratio));
    picture.setDotsPerMeterY(qRound(3780 * ratio));
    picture.fill(frame.backColor());
    QPainter painter(&picture);
    painter.translate(-inside.topLeft());
    // The strip lies over the canvas, as in the window.
    for (surface::PictureBox* box : {&canvas, &strip}) {
        if (box->isHidden())
            continue;
        const int inner = box->borderWidth();
        // Only the part of the box that the frame shows is drawn.
        const QPoint origin = box->pos() + QPoint(inner, inner);
        const QRect shown =
            inside.translated(-origin) & box->rect().adjusted(0, 0, -2 * inner, -2 * inner);
        if (!shown.isEmpty()) {
            painter.save();
            painter.translate(origin);
            box->paintPicture(painter, shown);
            painter.restore();
        }
        if (inner > 0) {
            painter.setPen(box->palette().color(QPalette::WindowText));
            painter.drawRect(QRect(box->pos(), box->size()).adjusted(0, 0, -1, -1));
        }
    }
    return picture;
}

QString PictureExport::SuggestedName(int rangeBase) {
    return QStringLiteral("teiler-%1-%2.png")
        .arg(rangeBase + 1)
        .arg(rangeBase + charts::Column::count);
}

bool PictureExport::Save(const QImage& picture, const QString& path, QString* error) {
    if (picture.isNull()) {
        *error = QStringLiteral("Das Fenster zeigt gerade kein Bild (der Rahmen ist zu schmal).");
        return false;
    }
    const QString ending = QFileInfo(path).suffix().toLower();
    QByteArray bytes;
    if (ending == QLatin1String("png")) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "png");
        if (!writer.write(picture)) {
            *error = QStringLiteral("Das Bild ließ sich nicht als PNG umwandeln.");
            return false;
        }
    } else if (ending == QLatin1String("pdf")) {
        bytes = pdfOf(picture);
    } else {
        *error = QStringLiteral("Unbekannte Dateiendung \"%1\": möglich sind .png und .pdf.")
                     .arg(ending);
        return false;
    }
    return board::SafeFile::Write(bytes, path, error);
}

std::optional<bool> PictureExport::PrintToFile(QPrinter& printer,
                                               const std::function<bool(QPagedPaintDevice&)>& paint,
                                               const QString& failure, QString* error) {
    if (printer.outputFormat() != QPrinter::PdfFormat || printer.outputFileName().isEmpty())
        return std::nullopt;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setCreator(QStringLiteral("Teiler"));
    writer.setTitle(printer.docName());
    writer.setPageLayout(printer.pageLayout());
    writer.setResolution(printer.resolution());
    if (!paint(writer)) {
        *error = failure;
        return false;
    }
    return board::SafeFile::Write(bytes, printer.outputFileName(), error);
}

bool PictureExport::Print(const QImage& picture, QPrinter& printer, QString* error) {
    const bool grey = printer.colorMode() == QPrinter::GrayScale;
    if (const auto written = PrintToFile(
            printer,
            [&](QPagedPaintDevice& device) {
                return paintOnPage(
                    grey ? picture.convertToFormat(QImage::Format_Grayscale8) : picture, device);
            },
            QStringLiteral("Die Seite ließ sich nicht als PDF anlegen."), error))
        return *written;
    if (!paintOnPage(picture, printer)) {
        *error = QStringLiteral("Der Drucker nahm den Auftrag nicht an.");
        return false;
    }
    return true;
}

void PictureExport::Copy(const QImage& picture) {
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setImage(picture);
}

} // namespace app

// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "appicon.h"

#include <QPainter>

namespace app {

QImage AppIcon::image(int size) {
    QImage img(size, size, QImage::Format_RGB32);
    QPainter p(&img);
    const double u = size / 16.0;
    // White card with a blue border.
    p.fillRect(QRectF(0, 0, 16 * u, 16 * u), QColor(255, 255, 255));
    p.setPen(QPen(QColor(0, 0, 128), 1));
    p.drawRect(QRectF(0, 0, size - 1, size - 1));
    // Yellow number line at the bottom.
    p.fillRect(QRectF(1 * u, 12 * u, 14 * u, 3 * u), QColor(255, 255, 0));
    // Columns as high as 1 ... 6 have proper divisors; the record holder 6 is outlined in red.
    const int heights[] = {1, 1, 2, 1, 3, 1};
    for (int i = 0; i < 6; ++i)
        p.fillRect(
            QRectF((2 + 2 * i) * u, (12 - 1.5 * heights[i]) * u, 1.5 * u, 1.5 * heights[i] * u),
            i == 4 ? QColor(0, 0, 0) : QColor(0, 0, 255));
    p.setPen(QPen(QColor(255, 0, 0), size >= 32 ? 2 : 1));
    p.drawRect(QRectF(9.5 * u, 6.5 * u, 2.5 * u, 5.5 * u));
    p.end();
    // Reduce to the 16 colours of the classic palette.
    const QList<QRgb> palette{
        qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
        qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
        qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
    return img.convertToFormat(QImage::Format_Indexed8, palette, Qt::ThresholdDither);
}

QIcon AppIcon::make() {
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(image(32)));
    icon.addPixmap(QPixmap::fromImage(image(16)));
    return icon;
}

} // namespace app

// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "surface/picturebox.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QLineF>
#include <QPoint>
#include <QRectF>
#include <QString>
#include <vector>

namespace bench {

// The drawing part of a chart's floor: the drawing calls a command made on the canvas, converted
// once to pixels, fonts and pens, and drawn straight into an image with one painter. Every call is
// drawn, also those that fall outside the image.
class FloorDrawing {
  public:
    FloorDrawing(const QVector<surface::PictureBox::DrawCall>& calls, surface::PictureBox& canvas);
    // Draws every call into `image`, whose top-left pixel is the pixel `origin` of the canvas's
    // inside: an image of the canvas's size at (0, 0), or only the part a frame shows.
    void draw(QImage& image, const QPoint& origin = QPoint(0, 0)) const;
    int labels() const { return m_printCount; }
    int calls() const { return static_cast<int>(m_steps.size()); }

  private:
    enum class Kind { Fill, FillRect, Line, Rect, Ellipse, Text };
    struct Step {
        Kind kind;
        QRectF rect;
        QLineF line;
        QPointF at;
        QColor color;
        int width = 1;
        int font = -1; // index into fonts
        QString text;
    };
    std::vector<Step> m_steps;
    std::vector<QFont> m_fonts;
    int m_printCount = 0;
};

} // namespace bench

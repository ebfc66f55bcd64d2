// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "surface/picturebox.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QLineF>
#include <QRectF>
#include <QStaticText>
#include <QString>
#include <vector>

namespace bench {

// The least a chart can cost: the drawing calls a command made on the canvas, converted once to
// pixels, fonts and pens, and drawn straight into an image of the canvas's size with one painter.
// Comparing a command with its floor shows what the canvas layer and the chart's own work add.
class FloorDrawing {
  public:
    FloorDrawing(const QVector<surface::PictureBox::DrawCall>& calls, surface::PictureBox& canvas);
    // Draws every call into `image`, which must have the canvas's size.
    void draw(QImage& image) const;
    // The same, setting the painter's font and pen again before every label, as the canvas
    // does: what that set-up costs.
    void drawWithSetUpPerLabel(QImage& image) const;
    // The same, with every label laid out once beforehand (QStaticText) instead of at each call:
    // what a cache of laid-out labels in the canvas would save.
    void drawCachedLabels(QImage& image) const;
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
        QPointF topLeft;
        int layout = -1; // index into layouts
    };
    enum class Mode { Plain, SetUpPerLabel, CachedLabels };
    void drawSteps(QImage& image, Mode mode) const;
    std::vector<Step> m_steps;
    std::vector<QFont> m_fonts;
    std::vector<QStaticText> m_layouts;
    int m_printCount = 0;
};

} // namespace bench

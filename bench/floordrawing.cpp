// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "floordrawing.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

namespace bench {

using surface::PictureBox;

FloorDrawing::FloorDrawing(const QVector<PictureBox::DrawCall>& calls, PictureBox& canvas) {
    // Fonts as the canvas makes them: its family at the call's size and weight, without
    // antialiasing, measured at 96 dots per inch like the canvas image.
    QImage probe(1, 1, QImage::Format_RGB32);
    probe.setDotsPerMeterX(3780);
    probe.setDotsPerMeterY(3780);
    std::map<std::pair<double, bool>, std::pair<int, double>> fontIndex; // -> index, ascent
    auto fontFor = [&](double size, bool bold) {
        auto found = fontIndex.find({size, bold});
        if (found != fontIndex.end())
            return found->second;
        QFont font = canvas.boxFont();
        font.setPointSizeF(size > 0 ? size : 1);
        font.setBold(bold);
        font.setStyleStrategy(QFont::NoAntialias);
        m_fonts.push_back(font);
        const std::pair<int, double> entry{static_cast<int>(m_fonts.size()) - 1,
                                           QFontMetricsF(font, &probe).ascent()};
        fontIndex.emplace(std::make_pair(size, bold), entry);
        return entry;
    };

    const qreal ratio = std::max<qreal>(1.0, canvas.devicePixelRatioF());
    for (const PictureBox::DrawCall& call : calls) {
        Step step;
        step.color = call.color;
        step.width = call.drawWidth;
        const QPointF a = canvas.toPixel(call.x1, call.y1);
        if (call.op == QLatin1String("Cls")) {
            step.kind = Kind::Fill;
            step.color = canvas.backColor();
        } else if (call.op == QLatin1String("Line")) {
            // Lines through pixel centres and filled boxes over whole pixels, as the canvas
            // draws them.
            const QPointF b = canvas.toPixel(call.x2, call.y2);
            const QRectF box = QRectF(a, b).normalized();
            auto cell = [ratio](double v) { return std::floor(v * ratio) / ratio; };
            auto centre = [&](const QPointF& q) {
                return QPointF(cell(q.x()) + 0.5 / ratio, cell(q.y()) + 0.5 / ratio);
            };
            switch (call.mode) {
            case PictureBox::LineMode::FilledBox:
                step.kind = Kind::FillRect;
                step.rect =
                    QRectF(QPointF(cell(box.left()), cell(box.top())),
                           QPointF(cell(box.right()) + 1 / ratio, cell(box.bottom()) + 1 / ratio));
                break;
            case PictureBox::LineMode::Box:
                step.kind = Kind::Rect;
                step.rect = QRectF(centre(box.topLeft()), centre(box.bottomRight()));
                break;
            case PictureBox::LineMode::Plain:
                step.kind = Kind::Line;
                step.line = QLineF(centre(a), centre(b));
                break;
            }
        } else if (call.op == QLatin1String("Circle")) {
            const double r = std::fabs(canvas.toPixel(call.x1 + call.radius, call.y1).x() - a.x());
            step.kind = Kind::Ellipse;
            step.rect = QRectF(a.x() - r, a.y() - r, 2 * r, 2 * r);
        } else if (call.op == QLatin1String("PSet")) {
            const double size = std::max(1, call.drawWidth);
            step.kind = Kind::FillRect;
            step.rect = QRectF(a.x() - size / 2, a.y() - size / 2, size, size);
        } else if (call.op == QLatin1String("Print")) {
            const auto [index, ascent] = fontFor(call.fontSize, call.bold);
            step.kind = Kind::Text;
            step.font = index;
            step.at = QPointF(a.x(), a.y() + ascent);
            step.text = call.text;
            ++m_printCount;
        } else {
            continue;
        }
        m_steps.push_back(std::move(step));
    }
}

void FloorDrawing::draw(QImage& image, const QPoint& origin) const {
    QPainter p(&image);
    p.translate(-origin);
    int font = -1;
    QColor pen;
    int penWidth = -1;
    bool textPen = false;
    for (const Step& s : m_steps) {
        switch (s.kind) {
        case Kind::Fill:
            p.fillRect(QRect(origin, image.size()), s.color);
            break;
        case Kind::FillRect:
            p.fillRect(s.rect, s.color);
            break;
        case Kind::Line:
        case Kind::Rect:
        case Kind::Ellipse:
            if (textPen || pen != s.color || penWidth != s.width) {
                p.setPen(QPen(s.color, s.width, Qt::SolidLine, Qt::RoundCap, Qt::MiterJoin));
                pen = s.color;
                penWidth = s.width;
                textPen = false;
            }
            if (s.kind == Kind::Line) {
                p.drawLine(s.line);
            } else if (s.kind == Kind::Rect) {
                p.drawRect(s.rect);
            } else {
                p.setRenderHint(QPainter::Antialiasing, true);
                p.drawEllipse(s.rect);
                p.setRenderHint(QPainter::Antialiasing, false);
            }
            break;
        case Kind::Text:
            if (font != s.font) {
                p.setFont(m_fonts[static_cast<std::size_t>(s.font)]);
                font = s.font;
            }
            if (!textPen || pen != s.color) {
                p.setPen(s.color);
                pen = s.color;
                textPen = true;
            }
            p.drawText(s.at, s.text);
            break;
        }
    }
}

} // namespace bench

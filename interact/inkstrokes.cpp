// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "inkstrokes.h"

#include "interact/peninput.h"
#include "surface/picturebox.h"

#include <QLineF>
#include <algorithm>
#include <cmath>

namespace interact {

namespace {

// The distance from p to the segment from a to b.
double distanceTo(const QPointF& p, const QPointF& a, const QPointF& b) {
    const QPointF ab = b - a;
    const double length2 = QPointF::dotProduct(ab, ab);
    const double t =
        length2 > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / length2, 0.0, 1.0) : 0.0;
    return QLineF(p, a + t * ab).length();
}

// The distance between the segments a and b.
double distanceBetween(const QLineF& a, const QLineF& b) {
    if (a.intersects(b, nullptr) == QLineF::BoundedIntersection)
        return 0;
    return std::min({distanceTo(a.p1(), b.p1(), b.p2()), distanceTo(a.p2(), b.p1(), b.p2()),
                     distanceTo(b.p1(), a.p1(), a.p2()), distanceTo(b.p2(), a.p1(), a.p2())});
}

} // namespace

InkStrokes::InkStrokes(surface::PictureBox& canvas, QObject* parent)
    : QObject(parent), m_canvas(canvas) {}

quint32 InkStrokes::NextStroke(const surface::PictureBox& canvas) {
    quint32 highest = 0;
    for (const auto& d : canvas.drawings())
        highest = std::max(highest, d.stroke);
    return highest + 1;
}

QSet<quint32> InkStrokes::Touched(const surface::PictureBox& canvas, const QPointF& from,
                                  const QPointF& to) {
    const QLineF path(canvas.toPixel(from.x(), from.y()), canvas.toPixel(to.x(), to.y()));
    QSet<quint32> touched;
    for (const auto& d : canvas.drawings()) {
        if (d.stroke == 0 || touched.contains(d.stroke))
            continue;
        const QLineF segment(canvas.toPixel(d.x1, d.y1), canvas.toPixel(d.x2, d.y2));
        if (distanceBetween(path, segment) <= eraserRadius + d.width / 2.0)
            touched.insert(d.stroke);
    }
    return touched;
}

void InkStrokes::mouseDown(int button, int, double x, double y) {
    m_last = QPointF(x, y);
    if (button == PenInput::penButton) {
        m_work = Work::Drawing;
        m_stroke = NextStroke(m_canvas);
    } else if (button == PenInput::eraserButton) {
        m_work = Work::Erasing;
        erase(m_last);
    }
}

void InkStrokes::mouseMove(int, int, double x, double y) {
    const QPointF to(x, y);
    if (m_work == Work::Drawing) {
        board::Drawing segment;
        segment.x1 = m_last.x();
        segment.y1 = m_last.y();
        segment.x2 = x;
        segment.y2 = y;
        segment.color = m_ink.colour.rgb();
        segment.width = m_ink.width;
        segment.highlight = m_ink.highlight;
        segment.stroke = m_stroke;
        m_canvas.drawStroke(segment);
    } else if (m_work == Work::Erasing) {
        erase(to);
    }
    m_last = to;
}

void InkStrokes::mouseUp(int button, int, double, double) {
    if (button == PenInput::penButton || button == PenInput::eraserButton)
        m_work = Work::None;
}

void InkStrokes::erase(const QPointF& to) {
    const QSet<quint32> touched = Touched(m_canvas, m_last, to);
    if (!touched.isEmpty())
        m_canvas.eraseStrokes(touched);
}

} // namespace interact

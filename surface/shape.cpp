// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "shape.h"

#include <QPainter>

namespace surface {

Shape::Shape(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
}

void Shape::setOutline(const QColor& color, int width) {
    m_outline = color;
    m_lineWidth = width;
    update();
}

void Shape::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const double inset = m_lineWidth / 2.0;
    p.setPen(QPen(m_outline, m_lineWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset));
}

} // namespace surface

// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QWidget>

namespace surface {

// A rectangle outline lying on another control. It takes no mouse events: presses and moves
// over it reach the control below.
class Shape : public QWidget {
    Q_OBJECT
  public:
    explicit Shape(QWidget* parent = nullptr);
    void setOutline(const QColor& color, int width);
    QColor outlineColor() const { return m_outline; }
    int outlineWidth() const { return m_lineWidth; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor m_outline = Qt::black;
    int m_lineWidth = 1;
};

} // namespace surface

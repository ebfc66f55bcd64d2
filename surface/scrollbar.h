// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QScrollBar>

namespace surface {

// A scroll bar whose Min may be larger than its Max: Min stands at the top (or left) end of the
// track and Max at the other, and the arrows, track clicks and the wheel move the thumb the way
// they point. Value() reads the position in those terms. Left and Right move a horizontal thumb
// the way they point too.
class ScrollBar : public QScrollBar {
    Q_OBJECT
  public:
    ScrollBar(Qt::Orientation orientation, int min, int max, QWidget* parent = nullptr);
    int Min() const { return m_first; }
    int Max() const { return m_last; }
    int Value() const;
    void SetValue(int v);
    // Moves the ends; the thumb keeps its Value as far as the new ends allow.
    void setEnds(int min, int max);

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    int m_first;
    int m_last;
};

} // namespace surface

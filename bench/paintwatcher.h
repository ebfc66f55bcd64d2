// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <chrono>

class QWidget;

namespace bench {

// Counts the paint events a widget receives, so that a measurement can end once the picture a
// command drew has reached the screen.
class PaintWatcher : public QObject {
    Q_OBJECT
  public:
    explicit PaintWatcher(QWidget* widget);
    int paints() const { return m_count; }
    QWidget* widget() const;
    // Handles events until the widget has been painted more than `already` times or the limit
    // has passed; false when the limit passed without a paint.
    bool waitForPaint(int already, std::chrono::milliseconds limit) const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    int m_count = 0;
};

} // namespace bench

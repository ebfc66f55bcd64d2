// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPlainTextEdit>

class QMimeData;
class QMouseEvent;

namespace surface {

// A multi-line text box whose text has CR LF line ends, as the program writes it. The box shows
// each line as a line; text() gives back exactly what setText() stored, or the user's edit of it.
class MultiLineTextBox : public QPlainTextEdit {
    Q_OBJECT
  public:
    explicit MultiLineTextBox(QWidget* parent = nullptr);
    void setText(const QString& text);
    QString text() const;

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

  private:
    void pasteSelectionAt(const QPoint& at);
};

} // namespace surface

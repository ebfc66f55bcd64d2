// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTimer>

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
    // The most characters the box holds (a line end counts one); what is typed or pasted beyond
    // is cut off, as a one-line box does. Unlimited unless set.
    void setMaxLength(int characters);

    // How long, in milliseconds, a left press (or a finger) must stay put to open the context
    // menu, as a board without a right button needs; 800 unless set.
    void setHoldDelay(int milliseconds) { m_hold.setInterval(milliseconds); }
    int holdDelay() const { return m_hold.interval(); }

  signals:
    // A double click (or double tap) at that text position, after the box selected its word.
    void doubleClicked(int position);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

  private:
    void pasteSelectionAt(const QPoint& at);
    void keepWithinLength(int position, int added);
    void openMenuAfterHold();

    QTimer m_hold;                  // runs while a left press stays put
    QPoint m_holdAt;                // where it was pressed, in the viewport
    QTextCursor m_cursorBeforeHold; // the selection the menu is for
    int m_maxLength = -1;
    bool m_cutting = false;
};

} // namespace surface

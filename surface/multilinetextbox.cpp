// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "multilinetextbox.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMouseEvent>

namespace surface {

MultiLineTextBox::MultiLineTextBox(QWidget* parent) : QPlainTextEdit(parent) {}

void MultiLineTextBox::setText(const QString& text) {
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    setPlainText(shown);
}

QString MultiLineTextBox::text() const {
    QString stored = toPlainText();
    stored.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return stored;
}

// The middle button is handled here rather than by QPlainTextEdit, whose own paste of the
// selection crashes in Qt 6.4 when no program owns the X11 PRIMARY selection.
void MultiLineTextBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) {
        event->accept();
        return;
    }
    QPlainTextEdit::mousePressEvent(event);
}

void MultiLineTextBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) {
        event->accept();
        pasteSelectionAt(event->position().toPoint());
        return;
    }
    QPlainTextEdit::mouseReleaseEvent(event);
}

// Inserts the PRIMARY selection's text where the pointer is, as X11 users expect; without a
// selection, or with one that holds no text, nothing happens.
void MultiLineTextBox::pasteSelectionAt(const QPoint& at) {
    if (isReadOnly())
        return;
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard || !clipboard->supportsSelection())
        return;
    const QString text = clipboard->text(QClipboard::Selection);
    if (text.isEmpty())
        return;
    QTextCursor cursor = cursorForPosition(at);
    cursor.insertText(text);
    setTextCursor(cursor);
}

} // namespace surface

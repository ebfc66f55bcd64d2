// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "multilinetextbox.h"

#include <QTextDocument>
#include <algorithm>

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QMouseEvent>
#include <optional>

namespace surface {

namespace {

// How far a held press may wander, in logical pixels, before it is a drag that selects.
constexpr int holdSlop = 4;

} // namespace

MultiLineTextBox::MultiLineTextBox(QWidget* parent) : QPlainTextEdit(parent) {
    m_hold.setSingleShot(true);
    m_hold.setInterval(800);
    connect(&m_hold, &QTimer::timeout, this, &MultiLineTextBox::openMenuAfterHold);
}

void MultiLineTextBox::setText(const QString& text) {
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    setPlainText(shown);
}

void MultiLineTextBox::setMaxLength(int characters) {
    if (m_maxLength < 0)
        connect(document(), &QTextDocument::contentsChange, this,
                [this](int position, int, int added) { keepWithinLength(position, added); });
    m_maxLength = characters;
    keepWithinLength(0, document()->characterCount() - 1);
}

// Cuts what was just put in at position to the room the box has left.
void MultiLineTextBox::keepWithinLength(int position, int added) {
    const int over = document()->characterCount() - 1 - m_maxLength;
    if (m_maxLength < 0 || over <= 0 || m_cutting)
        return;
    m_cutting = true;
    const int end = position + added;
    QTextCursor cut(document());
    cut.setPosition(std::max(position, end - over));
    cut.setPosition(end, QTextCursor::KeepAnchor);
    cut.removeSelectedText();
    // Anything still over the limit (nothing was added) goes from the end.
    const int still = document()->characterCount() - 1 - m_maxLength;
    if (still > 0) {
        cut.movePosition(QTextCursor::End);
        cut.movePosition(QTextCursor::PreviousCharacter, QTextCursor::KeepAnchor, still);
        cut.removeSelectedText();
    }
    m_cutting = false;
}

QString MultiLineTextBox::text() const {
    QString stored = toPlainText();
    stored.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return stored;
}

// The middle button is handled here rather than by QPlainTextEdit, whose own paste of the
// selection crashes in Qt 6.4 when no program owns the X11 PRIMARY selection.
void MultiLineTextBox::mousePressEvent(QMouseEvent* event) {
    m_hold.stop();
    if (event->button() == Qt::LeftButton) {
        m_cursorBeforeHold = textCursor();
        m_holdAt = event->position().toPoint();
        m_hold.start();
    }
    if (event->button() == Qt::MiddleButton) {
        event->accept();
        return;
    }
    // A press inside the selection would start dragging it, and a quick drag out of the box
    // can leave Qt's drag hanging under the X11 pointer; the hit list is for selecting and
    // copying, so a press always places the cursor.
    if (event->button() == Qt::LeftButton && textCursor().hasSelection()) {
        const int at = cursorForPosition(event->position().toPoint()).position();
        const QTextCursor selection = textCursor();
        if (at >= selection.selectionStart() && at <= selection.selectionEnd()) {
            QTextCursor cursor = selection;
            cursor.clearSelection();
            setTextCursor(cursor);
        }
    }
    QPlainTextEdit::mousePressEvent(event);
}

namespace {

// Which clipboard a data object handed to the box belongs to, if any.
std::optional<QClipboard::Mode> clipboardModeOf(const QMimeData* source) {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard || !source)
        return std::nullopt;
    if (source == clipboard->mimeData(QClipboard::Clipboard))
        return QClipboard::Clipboard;
    if (clipboard->supportsSelection() && source == clipboard->mimeData(QClipboard::Selection))
        return QClipboard::Selection;
    return std::nullopt;
}

} // namespace

// Pasting from the clipboard (Ctrl+V, Shift+Insert, "Einfügen") takes the clipboard's text as
// plain text. QPlainTextEdit's own reading of the clipboard's data object crashes in Qt 6.4 when
// no program owns the X11 clipboard; reading its text through QClipboard is safe.
bool MultiLineTextBox::canInsertFromMimeData(const QMimeData* source) const {
    if (const auto mode = clipboardModeOf(source))
        return !QGuiApplication::clipboard()->text(*mode).isEmpty();
    return QPlainTextEdit::canInsertFromMimeData(source);
}

void MultiLineTextBox::insertFromMimeData(const QMimeData* source) {
    if (isReadOnly())
        return;
    if (const auto mode = clipboardModeOf(source)) {
        const QString text = QGuiApplication::clipboard()->text(*mode);
        if (!text.isEmpty())
            insertPlainText(text);
        return;
    }
    QPlainTextEdit::insertFromMimeData(source);
}

void MultiLineTextBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_hold.stop();
    if (event->button() == Qt::MiddleButton) {
        event->accept();
        pasteSelectionAt(event->position().toPoint());
        return;
    }
    QPlainTextEdit::mouseReleaseEvent(event);
}

void MultiLineTextBox::mouseDoubleClickEvent(QMouseEvent* event) {
    QPlainTextEdit::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit doubleClicked(cursorForPosition(event->position().toPoint()).position());
}

void MultiLineTextBox::mouseMoveEvent(QMouseEvent* event) {
    if (m_hold.isActive() && (event->position().toPoint() - m_holdAt).manhattanLength() > holdSlop)
        m_hold.stop();
    QPlainTextEdit::mouseMoveEvent(event);
}

// A press held still opens the menu the right button opens, for the selection there was
// before the press: the press itself may have taken it away.
void MultiLineTextBox::openMenuAfterHold() {
    setTextCursor(m_cursorBeforeHold);
    QContextMenuEvent menu(QContextMenuEvent::Mouse, m_holdAt, viewport()->mapToGlobal(m_holdAt));
    QCoreApplication::sendEvent(viewport(), &menu);
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

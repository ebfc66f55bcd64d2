// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "menukeys.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QShortcut>

namespace app {

MenuKeys::MenuKeys(QWidget& window, QMenuBar& bar)
    : QObject(&window), m_window(window), m_bar(bar) {
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), &window);
    f10->setObjectName(QStringLiteral("menuBarKey"));
    connect(f10, &QShortcut::activated, this, &MenuKeys::openFirstMenu);
#ifndef Q_OS_MACOS // there Option with a letter types a character, and menus have no mnemonics
    // At the application, so that boxes made later are watched too; only the window's count.
    qApp->installEventFilter(this);
#endif
}

void MenuKeys::openFirstMenu() {
    for (QAction* entry : m_bar.actions()) {
        if (entry->isVisible() && entry->isEnabled() && !entry->isSeparator()) {
            m_bar.setActiveAction(entry);
            return;
        }
    }
}

bool MenuKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    auto* box = static_cast<QWidget*>(watched);
    if (box->window() != &m_window ||
        !(qobject_cast<QLineEdit*>(box) || qobject_cast<QPlainTextEdit*>(box)))
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    // Shift may come along (Alt+Shift+Q would type 'Q'); Ctrl may not, for AltGr.
    if ((key->modifiers() & ~Qt::ShiftModifier) != Qt::AltModifier)
        return false;
    // Only what would be typed: Alt with the arrows, Backspace and the like stays the box's.
    const QString text = key->text();
    return !text.isEmpty() && text.at(0).isPrint();
}

} // namespace app

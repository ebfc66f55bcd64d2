// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "multilinetextbox.h"

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

} // namespace surface

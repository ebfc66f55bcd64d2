// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "failurebox.h"

#include <QMessageBox>

namespace app {

void FailureBox::Show(QWidget* parent, const QString& title, const QString& text,
                      const QString& name) {
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
    box.setObjectName(name);
    box.exec();
}

} // namespace app

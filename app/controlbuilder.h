// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QString>

class QWidget;

namespace app {

// Makes the window's controls from the layout table: one widget for each row, inside the
// container the row names, with its geometry, colours, font and settings.
class ControlBuilder {
  public:
    // Builds every control of the table inside form, the container the table calls "Form1",
    // stacks them as the table lists them, chains them in its keyboard order and gives the first
    // of that order the focus. Returns the controls by their names in the table.
    static QHash<QString, QWidget*> Build(QWidget* form);
};

} // namespace app

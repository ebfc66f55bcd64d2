// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

namespace app {

// How the window tells that something failed: a warning box with the file and the reason.
class FailureBox {
  public:
    // name is the box's object name, by which the tests find it.
    static void Show(QWidget* parent, const QString& title, const QString& text,
                     const QString& name);
};

} // namespace app

// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QCoreApplication;

namespace app {

// Qt's own texts in German: context menus of the text boxes, message-box buttons and dialogs.
class GermanTranslations {
  public:
    // Loads qtbase_de from Qt's translations folder; false when it is not installed.
    static bool Install(QCoreApplication& application);
};

} // namespace app

// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "board/presets.h"

#include <QObject>

class QAction;
class QWidget;

namespace app {

// The colour-blind palette ("cmdFarben") and the pen mode ("cmdStift") as the window starts: as
// the teacher last chose them, or as an admin preset them. What the teacher chooses in the menu
// is kept for the next start. A board opened brings its own, unless the admin fixed the option:
// then its entry is the admin's and cannot be switched.
class PresetCommands : public QObject {
    Q_OBJECT
  public:
    // Sets the window's entries and follows them; the window owns this.
    PresetCommands(QWidget& window, const board::Presets& presets);

  private:
    void follow(QWidget& window, const char* entry, board::Presets::Option option);

    board::Presets m_presets;
};

} // namespace app

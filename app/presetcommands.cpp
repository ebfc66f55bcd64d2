// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "presetcommands.h"

#include <QAction>
#include <QWidget>

namespace app {

PresetCommands::PresetCommands(QWidget& window, const board::Presets& presets)
    : QObject(&window), m_presets(presets) {
    follow(window, "cmdFarben", board::Presets::Option::ColourBlind);
    follow(window, "cmdStift", board::Presets::Option::PenMode);
}

void PresetCommands::follow(QWidget& window, const char* entry, board::Presets::Option option) {
    auto* action = window.findChild<QAction*>(QString::fromLatin1(entry));
    Q_ASSERT_X(action, "PresetCommands", entry);
    if (const std::optional<bool> on = m_presets.flag(option))
        action->setChecked(*on);
    // Only the teacher's own clicks and keys: a board shown sets the entry without triggering it.
    connect(action, &QAction::triggered, this, [this, option](bool checked) {
        if (!m_presets.fixed(option))
            board::Presets::Remember(option, checked ? QStringLiteral("1") : QStringLiteral("0"));
    });
}

} // namespace app

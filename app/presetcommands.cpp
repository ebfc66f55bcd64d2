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
    const std::optional<bool> preset = m_presets.flag(option);
    if (preset)
        action->setChecked(*preset);
    if (m_presets.fixed(option)) {
        // The admin's choice stands: the entry cannot be switched, and a board opened with
        // another keeps its drawings but not its choice.
        action->setEnabled(false);
        action->setStatusTip(QStringLiteral("%1 – für alle Benutzer dieses Rechners festgelegt")
                                 .arg(action->text().remove(QLatin1Char('&'))));
        connect(action, &QAction::toggled, this, [action, on = *preset](bool checked) {
            if (checked != on)
                action->setChecked(on);
        });
        return;
    }
    // Only the teacher's own clicks and keys: a board shown sets the entry without triggering it.
    connect(action, &QAction::triggered, this, [option](bool checked) {
        board::Presets::Remember(option, checked ? QStringLiteral("1") : QStringLiteral("0"));
    });
}

} // namespace app

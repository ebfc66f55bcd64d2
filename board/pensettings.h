// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSettings>

namespace board {

// The pen's ink and "Dick" as the teacher last chose them, kept in the user's settings for the
// next start. An ink the settings hold that no board could hold reads as the designed one.
class PenSettings {
  public:
    explicit PenSettings(QSettings& settings) : m_settings(settings) {}

    int ink() const;
    bool thick() const;
    void store(int ink, bool thick);

  private:
    QSettings& m_settings;
};

} // namespace board

// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSettings>
#include <QStringList>

namespace board {

// The boards last opened or saved, the newest first, kept in the user's settings.
class RecentBoards {
  public:
    static constexpr int size = 8;

    explicit RecentBoards(QSettings& settings) : m_settings(settings) {}

    QStringList list() const;
    // Puts the file first; a file already listed moves up, the oldest beyond size drops out.
    void add(const QString& path);
    void remove(const QString& path);

  private:
    void store(const QStringList& list);

    QSettings& m_settings;
};

} // namespace board

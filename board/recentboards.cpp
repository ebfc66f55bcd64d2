// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "recentboards.h"

#include <QFileInfo>

namespace board {

namespace {
const QString key = QStringLiteral("Tafeln/zuletztGeoeffnet");
}

QStringList RecentBoards::list() const {
    QStringList paths = m_settings.value(key).toStringList();
    paths.removeAll(QString());
    paths.removeDuplicates();
    return paths.mid(0, size);
}

void RecentBoards::add(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList paths = list();
    paths.removeAll(absolute);
    paths.prepend(absolute);
    store(paths.mid(0, size));
}

void RecentBoards::remove(const QString& path) {
    QStringList paths = list();
    paths.removeAll(path);
    store(paths);
}

void RecentBoards::store(const QStringList& list) {
    m_settings.setValue(key, list);
    m_settings.sync();
}

} // namespace board

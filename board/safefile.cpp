// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "safefile.h"

#include <QSaveFile>

namespace board {

namespace {

// Why writing failed, in German, with the system's own words after it.
QString reasonOf(const QSaveFile& file, bool opened, bool shortWrite) {
    QString reason;
    if (!opened)
        reason = QStringLiteral("Die Datei lässt sich dort nicht anlegen (kein Schreibrecht, "
                                "der Ordner fehlt oder der Name ist ein Ordner).");
    else if (shortWrite || file.error() == QFileDevice::ResourceError)
        reason = QStringLiteral("Die Datei ließ sich nicht vollständig schreiben: der "
                                "Datenträger ist voll (oder die Datei größer, als er erlaubt).");
    else
        reason = QStringLiteral("Die Datei ließ sich nicht schreiben.");
    if (file.error() != QFileDevice::NoError && !file.errorString().isEmpty())
        reason += QStringLiteral("\n(%1)").arg(file.errorString());
    return reason;
}

} // namespace

// Unbuffered, a full disk shows in the write itself; buffered, the last block would fail
// unnoticed inside commit().
bool SafeFile::Write(const QByteArray& bytes, const QString& path, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        *error = reasonOf(file, false, false);
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        *error = reasonOf(file, true, true);
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        *error = reasonOf(file, true, false);
        return false;
    }
    return true;
}

} // namespace board

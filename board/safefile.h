// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace board {

// Every file the program writes goes through here.
class SafeFile {
  public:
    // Writes the bytes beside the target and moves them over it only once every byte is on the
    // disk, so a failure loses nothing and leaves nothing behind; the reason, in German, is then
    // in *error.
    static bool Write(const QByteArray& bytes, const QString& path, QString* error);
};

} // namespace board

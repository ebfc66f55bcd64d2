// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstdio>

namespace app {

// What Teiler prints: --help, --version and its error lines. A Windows console shows text in its
// own code page (850 in a German cmd or PowerShell window), in which UTF-8 comes out garbled;
// there the text goes through the console's wide-character API. Into a file or a pipe, and on
// every other system, it is written as UTF-8.
class ConsoleText {
  public:
    // A window program on Windows has no console of its own: started from one, it writes into
    // its parent's console whatever stream the parent did not redirect.
    static void AttachParent();
    // Writes text to stdout or stderr as it is, without a line end of its own.
    static void Write(std::FILE* stream, const QString& text);
    // As Write, with "teiler: " before and a line end after.
    static void Line(std::FILE* stream, const QString& text);
};

} // namespace app

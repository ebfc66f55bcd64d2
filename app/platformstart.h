// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QStringList>
#include <functional>
#include <optional>

namespace app {

// Starting Qt's platform, the connection to the display. Where none can be had, Teiler says in
// one German line what to do and ends with status 1, instead of Qt's English abort.
class PlatformStart {
  public:
    // Reads an environment variable; nullopt when it is not set.
    using Environment = std::function<std::optional<QByteArray>(const char*)>;
    static Environment SystemEnvironment();

    // On X11 and Wayland systems: no platform is chosen (QT_QPA_PLATFORM, -platform) and neither
    // DISPLAY nor WAYLAND_DISPLAY names a display, so Qt would find none. Never on Windows.
    static bool DisplayMissing(const QStringList& arguments, const Environment& environment);
    // The line for a missing display and the one for a display or platform that cannot be
    // started, both ending in how to start Teiler in a virtual display.
    static QString MissingLine(const QString& program);
    static QString UnreachableLine(const QString& program, const QStringList& arguments,
                                   const Environment& environment);

    // From Guard until Release, Qt's messages are held back; if Qt gives up starting its
    // platform in between, the unreachable line is printed and the program ends with status 1.
    // Release hands the held messages on as they came.
    static void Guard(const QStringList& arguments);
    static void Release();
};

} // namespace app

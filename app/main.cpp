// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    // Without a display Qt would abort with a long message; say plainly what to do instead.
    const bool platformChosen = std::getenv("QT_QPA_PLATFORM") != nullptr;
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (!platformChosen && (!x11 || !*x11) && (!wayland || !*wayland)) {
        std::fprintf(stderr,
                     "teiler: no display found (DISPLAY is not set); start it under a virtual one "
                     "with: xvfb-run -a -s \"-screen 0 1920x1080x24\" %s\n",
                     argv[0]);
        return 1;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Teiler"));
    QApplication::setDesktopFileName(QStringLiteral("teiler"));
    Form1 window;
    window.show();
    return QApplication::exec();
}

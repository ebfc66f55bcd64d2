// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "commandline.h"
#include "form1.h"
#include "germantranslations.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void nameApplication() {
    QCoreApplication::setApplicationName(QStringLiteral("Teiler"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TEILER_VERSION));
}

} // namespace

int main(int argc, char* argv[]) {
    // The options are read first, so that --help and --version work without a display.
    app::CommandLine::Options options;
    {
        nameApplication();
        QCoreApplication reader(argc, argv);
        app::GermanTranslations::Install(reader);
        options = app::CommandLine::Parse(QCoreApplication::arguments());
    }
    if (options.exitCode)
        return *options.exitCode;

    // Without a display Qt would abort with a long message; say plainly what to do instead.
    bool platformChosen = std::getenv("QT_QPA_PLATFORM") != nullptr;
    for (int i = 1; i < argc; ++i)
        platformChosen = platformChosen || std::strcmp(argv[i], "-platform") == 0 ||
                         std::strcmp(argv[i], "--platform") == 0;
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (!platformChosen && (!x11 || !*x11) && (!wayland || !*wayland)) {
        std::fprintf(stderr,
                     "teiler: kein Bildschirm gefunden (DISPLAY ist nicht gesetzt); in einem "
                     "virtuellen starten mit: xvfb-run -a -s \"-screen 0 1920x1080x24\" %s\n",
                     argv[0]);
        return 1;
    }
    app::CommandLine::ApplyZoom(options, argc, argv);
    QApplication application(argc, argv);
    nameApplication();
    QApplication::setDesktopFileName(QStringLiteral("teiler"));
    app::GermanTranslations::Install(application);
    Form1 window;
    window.show();
    return QApplication::exec();
}

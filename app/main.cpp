// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "commandline.h"
#include "consoletext.h"
#include "form1.h"
#include "germantranslations.h"
#include "platformstart.h"
#include "presetcommands.h"
#include "runningmark.h"
#include "surface/fontchoice.h"

#include <QApplication>
#include <QTimer>

namespace {

void nameApplication() {
    QCoreApplication::setApplicationName(QStringLiteral("Teiler"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TEILER_VERSION));
}

} // namespace

int main(int argc, char* argv[]) {
    app::ConsoleText::AttachParent();
    // The options are read first, so that --help and --version work without a display.
    app::CommandLine::Options options;
    QStringList arguments;
    board::Presets presets;
    {
        nameApplication();
        QCoreApplication reader(argc, argv);
        app::GermanTranslations::Install(reader);
        arguments = QCoreApplication::arguments();
        presets = board::Presets::Read();
        options = app::CommandLine::Parse(arguments, presets);
    }
    if (options.exitCode)
        return *options.exitCode;

    // Without a display Qt would abort with a long English message; say plainly what to do.
    if (app::PlatformStart::DisplayMissing(arguments, app::PlatformStart::SystemEnvironment())) {
        app::ConsoleText::Write(stderr, app::PlatformStart::MissingLine(arguments.constFirst()));
        return 1;
    }
    // The same for a display that is named but cannot be reached, from here on until the
    // window's application has its platform; the screen probe of --zoom counts too.
    app::PlatformStart::Guard(arguments);
    // Before Qt lists the fonts, so that the probe of --zoom measures with them too.
    surface::FontChoice::PreferLiberation2();
    app::CommandLine::ApplyZoom(options, argc, argv);
    QApplication application(argc, argv);
    app::PlatformStart::Release();
    nameApplication();
    QApplication::setDesktopFileName(QStringLiteral("teiler"));
    app::GermanTranslations::Install(application);
    const app::RunningMark running;
    Form1 window;
    new app::PresetCommands(window, presets);
    app::CommandLine::ShowWindow(window, options);
    // Once the window has shown itself: the board a crash left behind first, then the board
    // given; one that cannot be opened is told in a message box, and the window stays open.
    QTimer::singleShot(0, &window, [&window, &options] { window.startWith(options.board); });
    return QApplication::exec();
}

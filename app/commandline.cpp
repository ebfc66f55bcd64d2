// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "commandline.h"

#include "consoletext.h"

#include "surface/twips.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLocale>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <vector>

namespace app {

namespace {

constexpr double smallestZoom = board::Presets::Zoom::smallest;
constexpr double largestZoom = board::Presets::Zoom::largest;

} // namespace

namespace {

// The admin's zoom goes before --fit-board, which only says how a file manager opens a board;
// --zoom goes before the admin's, unless the admin fixed it, which a line then says.
void takeZoomPreset(CommandLine::Options& options, bool zoomOption, const board::Presets& presets) {
    using board::Presets;
    options.zoomGiven = zoomOption || options.fit;
    const Presets::Value& preset = presets.value(Presets::Option::Zoom);
    if (preset.source == Presets::Source::None ||
        (zoomOption && preset.source != Presets::Source::Fixed))
        return;
    if (zoomOption)
        ConsoleText::Line(stderr, QStringLiteral("--zoom gilt nicht: der Zoom ist für alle "
                                                 "Benutzer dieses Rechners auf %1 festgelegt")
                                      .arg(preset.text));
    const Presets::Zoom zoom = *presets.zoom();
    options.fit = zoom.fit;
    options.zoom = zoom.fit ? std::nullopt : std::optional(zoom.factor);
    options.zoomGiven = false;
}

} // namespace

CommandLine::Options CommandLine::Parse(const QStringList& arguments,
                                        const board::Presets& presets) {
    Options options;
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Teiler – ein Lernprogramm über die Teiler der Zahlen von 1 bis 1000"));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Zeigt diese Hilfe an."));
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Zeigt die Versionsnummer an."));
    const QCommandLineOption zoom(
        QStringLiteral("zoom"),
        QStringLiteral("Vergrößert das ganze Fenster um den Faktor F (1 bis 4) für Beamer; "
                       "\"fit\" wählt den größten Faktor, bei dem das Fenster auf den "
                       "Bildschirm passt, und öffnet es maximiert, so dass alles bis zum "
                       "rechten Bildschirmrand zu sehen ist; ein größeres F wird auf diesen "
                       "Faktor gesenkt."),
        QStringLiteral("F"));
    const QCommandLineOption boardFit(
        QStringLiteral("fit-board"),
        QStringLiteral("Öffnet die TAFEL maximiert im Faktor \"fit\", wie \"Teiler groß "
                       "(Beamer)\"; so öffnet der Dateimanager eine Tafel. --zoom geht vor."));
    const QCommandLineOption settings(
        QStringLiteral("einstellungen"),
        QStringLiteral("Zeigt, mit welchen Einstellungen Teiler startet und woher sie kommen: "
                       "eigene Wahl oder Vorgabe für alle Benutzer dieses Rechners."));
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(settings);
    parser.addOption(zoom);
    parser.addOption(boardFit);
    parser.addPositionalArgument(QStringLiteral("TAFEL"),
                                 QStringLiteral("Öffnet die mit \"Tafel speichern\" gespeicherte "
                                                "Datei (.teiler)."),
                                 QStringLiteral("[TAFEL]"));
    // Qt's own options (-platform xcb, -style fusion, ...) are read later by the application
    // object; here they are only let through.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const char* name :
         {"platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
          "qwindowicon", "qwindowtitle", "session", "display", "geometry", "style", "stylesheet",
          "qmljsdebugger", "title", "icon", "name"}) {
        QCommandLineOption qtOption(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        qtOption.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(qtOption);
    }
    for (const char* name : {"reverse", "widgetcount", "nograb", "dograb", "sync", "testability"}) {
        QCommandLineOption qtFlag(QString::fromLatin1(name));
        qtFlag.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(qtFlag);
    }

    auto refuse = [&options](const QString& message) {
        ConsoleText::Line(stderr, message);
        options.exitCode = 2;
        return options;
    };
    if (!parser.parse(arguments))
        return refuse(parser.errorText());
    // One board to open; a file manager hands over the file the teacher double-clicked.
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return refuse(QStringLiteral("unerwartetes Argument \"%1\" (Teiler öffnet eine Tafel)")
                          .arg(files.at(1)));
    if (!files.isEmpty())
        options.board = files.constFirst();
    if (parser.isSet(help)) {
        ConsoleText::Write(stdout, parser.helpText());
        options.exitCode = 0;
        return options;
    }
    if (parser.isSet(version)) {
        ConsoleText::Write(
            stdout, QStringLiteral("teiler %1\n").arg(QCoreApplication::applicationVersion()));
        options.exitCode = 0;
        return options;
    }
    // A board double-clicked in a file manager opens at the size a class needs.
    if (!parser.isSet(zoom)) {
        options.fit = parser.isSet(boardFit) && !options.board.isEmpty();
    } else {
        const std::optional<board::Presets::Zoom> given =
            board::Presets::ParseZoom(parser.value(zoom));
        if (!given)
            return refuse(QStringLiteral("--zoom erwartet eine Zahl von 1 bis 4 oder \"fit\", "
                                         "nicht \"%1\"")
                              .arg(parser.value(zoom)));
        options.fit = given->fit;
        if (!given->fit)
            options.zoom = given->factor;
    }
    takeZoomPreset(options, parser.isSet(zoom), presets);
    if (parser.isSet(settings)) {
        ConsoleText::Write(stdout, SettingsLines(presets, options).join(QLatin1Char('\n')) +
                                       QLatin1Char('\n'));
        options.exitCode = 0;
    }
    return options;
}

QStringList CommandLine::SettingsLines(const board::Presets& presets, const Options& options) {
    using board::Presets;
    const QLocale german(QLocale::German);
    QStringList lines;
    for (const Presets::Option option : Presets::all) {
        const Presets::Value& value = presets.value(option);
        QString shown;
        QString source = QStringList{QStringLiteral("ohne Vorgabe"), QStringLiteral("eigene Wahl"),
                                     QStringLiteral("Vorgabe"), QStringLiteral("Vorgabe, fest")}
                             .at(static_cast<int>(value.source));
        switch (option) {
        case Presets::Option::ColourBlind:
        case Presets::Option::PenMode:
            shown = presets.flag(option).value_or(false) ? QStringLiteral("ja")
                                                         : QStringLiteral("nein");
            break;
        case Presets::Option::Zoom:
            shown = options.fit    ? QStringLiteral("fit")
                    : options.zoom ? german.toString(*options.zoom)
                                   : QStringLiteral("1");
            if (options.zoomGiven)
                source = QStringLiteral("Befehlszeile");
            break;
        case Presets::Option::Folder: {
            QStringList passedOver;
            shown = QDir::toNativeSeparators(presets.boardFolder(false, &passedOver));
            // A folder passed over: the one shown is the admin's behind it, or none given.
            if (!passedOver.isEmpty())
                source = !value.preset.isEmpty() &&
                                 !passedOver.contains(Presets::ExpandFolder(value.preset))
                             ? QStringLiteral("Vorgabe")
                             : QStringLiteral("ohne Vorgabe");
            for (const QString& folder : passedOver)
                source += QStringLiteral("; \"%1\" ist nicht zu erreichen")
                              .arg(QDir::toNativeSeparators(folder));
            break;
        }
        }
        for (const QString& refused : value.refused)
            source += QStringLiteral("; \"%1\" ist ungültig").arg(refused);
        if (value.fixedWithoutValue)
            source += QStringLiteral("; \"fest\" nennt es, aber ohne Vorgabe");
        lines << QStringLiteral("%1 = %2 (%3)").arg(Presets::Key(option), shown, source);
    }
    if (const QStringList& unknown = presets.unknownFixed(); !unknown.isEmpty())
        lines << QStringLiteral("fest: \"%1\" %2")
                     .arg(unknown.join(QStringLiteral("\", \"")),
                          unknown.size() == 1
                              ? QStringLiteral("ist kein Name einer Einstellung")
                              : QStringLiteral("sind keine Namen von Einstellungen"));
    return lines;
}

double CommandLine::FitFactor(const QRect& available, const QSize& window, const QMargins& frame) {
    // The frame's title bar is drawn by the window manager and does not grow with the factor.
    // Counted in whole hundredths: a quotient such as 1.16 is a hair below itself as a double,
    // and rounding that down would take a factor that fits exactly for one too large.
    const long long across =
        (available.width() - frame.left() - frame.right()) * 100LL / std::max(1, window.width());
    const long long down =
        (available.height() - frame.top() - frame.bottom()) * 100LL / std::max(1, window.height());
    const double factor = static_cast<double>(std::min(across, down)) / 100;
    return std::clamp(factor, smallestZoom, largestZoom);
}

QSize CommandLine::DesignWindowSize(int menuBarHeight) {
    return {surface::Twips::toPixels(11880), surface::Twips::toPixels(9708) + menuBarHeight};
}

QMargins CommandLine::AssumedFrame() {
    return {4, 32, 4, 4};
}

double CommandLine::ChosenZoom(const Options& options, double fitFactor, QString* note) {
    if (options.fit)
        return fitFactor;
    if (!options.zoom)
        return 0;
    if (*options.zoom <= fitFactor)
        return *options.zoom;
    const QLocale german(QLocale::German);
    *note = QStringLiteral("%1 %2 ist für diesen Bildschirm zu groß; Teiler nimmt %3, den "
                           "größten Faktor, bei dem das Fenster hineinpasst")
                .arg(options.zoomGiven ? QStringLiteral("--zoom")
                                       : QStringLiteral("Der vorgegebene Zoom"),
                     german.toString(*options.zoom), german.toString(fitFactor));
    return fitFactor;
}

void CommandLine::ApplyZoom(const Options& options, int& argc, char** argv) {
    if (!options.zoom && !options.fit)
        return;
    double fit = largestZoom;
    if (options.fit || *options.zoom > smallestZoom) {
        // Measure the screen without any scale factor of the environment.
        qunsetenv("QT_SCALE_FACTOR");
        // The probe gets a copy: it takes Qt's own options out of the list it is given, and the
        // real application has to see them.
        int probeArgc = argc;
        std::vector<char*> probeArgv(argv, argv + argc + 1);
        QGuiApplication probe(probeArgc, probeArgv.data());
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const int menuBar = QFontMetrics(QGuiApplication::font()).height() + 8;
            fit = FitFactor(screen->availableGeometry(), DesignWindowSize(menuBar), AssumedFrame());
        }
    }
    QString note;
    const double factor = ChosenZoom(options, fit, &note);
    if (!note.isEmpty())
        ConsoleText::Line(stderr, note);
    qputenv("QT_SCALE_FACTOR", QByteArray::number(factor, 'g', 4));
}

void CommandLine::ShowWindow(QWidget& window, const Options& options) {
    if (options.fit)
        window.showMaximized();
    else
        window.show();
}

} // namespace app

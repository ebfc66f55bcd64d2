// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platformstart.h"

#include "consoletext.h"

#include <QList>
#include <QtGlobal>
#include <cstdlib>
#include <utility>

namespace app {

namespace {

// The platform chosen on the command line or in the environment; empty when none is.
QString chosenPlatform(const QStringList& arguments,
                       const PlatformStart::Environment& environment) {
    for (qsizetype i = 1; i + 1 < arguments.size(); ++i)
        if (arguments[i] == QLatin1String("-platform") ||
            arguments[i] == QLatin1String("--platform"))
            return arguments[i + 1];
    return QString::fromLocal8Bit(environment("QT_QPA_PLATFORM").value_or(QByteArray()));
}

bool platformOption(const QStringList& arguments) {
    return arguments.contains(QLatin1String("-platform")) ||
           arguments.contains(QLatin1String("--platform"));
}

QString virtualDisplayHint(const QString& program) {
    return QStringLiteral("in einem virtuellen Bildschirm starten mit: xvfb-run -a -s \"-screen 0 "
                          "1920x1080x24\" %1")
        .arg(program);
}

struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};

struct Guarded {
    QtMessageHandler previous = nullptr;
    QList<HeldMessage> held;
    QString unreachableLine;
    bool active = false;
};

Guarded& guarded() {
    static Guarded state;
    return state;
}

void holdOrGiveUp(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    Guarded& state = guarded();
    if (type == QtFatalMsg) {
        ConsoleText::Write(stderr, state.unreachableLine);
        std::_Exit(1);
    }
    state.held.append({type, QByteArray(context.category), text});
}

} // namespace

PlatformStart::Environment PlatformStart::SystemEnvironment() {
    return [](const char* name) -> std::optional<QByteArray> {
        if (!qEnvironmentVariableIsSet(name))
            return std::nullopt;
        return qgetenv(name);
    };
}

bool PlatformStart::DisplayMissing(const QStringList& arguments, const Environment& environment) {
    if (platformOption(arguments) || environment("QT_QPA_PLATFORM"))
        return false;
#if !defined(Q_OS_UNIX) || defined(Q_OS_DARWIN)
    // Windows and macOS always have their screen; DISPLAY means nothing to Qt there.
    return false;
#else
    return environment("DISPLAY").value_or(QByteArray()).isEmpty() &&
           environment("WAYLAND_DISPLAY").value_or(QByteArray()).isEmpty();
#endif
}

QString PlatformStart::MissingLine(const QString& program) {
    return QStringLiteral("teiler: kein Bildschirm gefunden (DISPLAY ist nicht gesetzt); %1\n")
        .arg(virtualDisplayHint(program));
}

QString PlatformStart::UnreachableLine(const QString& program, const QStringList& arguments,
                                       const Environment& environment) {
    const auto value = [&environment](const char* name) {
        return QString::fromLocal8Bit(environment(name).value_or(QByteArray()));
    };
    const QString platform = chosenPlatform(arguments, environment);
    const bool wayland =
        platform.startsWith(QLatin1String("wayland")) ||
        (platform.isEmpty() && value("DISPLAY").isEmpty() && !value("WAYLAND_DISPLAY").isEmpty());
    QString what;
    if (!platform.isEmpty() && !platform.startsWith(QLatin1String("xcb")) && !wayland)
        what = QStringLiteral("die Qt-Plattform \"%1\" lässt sich nicht starten (ohne -platform "
                              "und QT_QPA_PLATFORM wählt Qt selbst)")
                   .arg(platform);
    else if (wayland)
        what = QStringLiteral("der Wayland-Bildschirm \"%1\" ist nicht erreichbar (stimmt "
                              "WAYLAND_DISPLAY?)")
                   .arg(value("WAYLAND_DISPLAY"));
    else
        what = QStringLiteral("der Bildschirm \"%1\" ist nicht erreichbar (läuft die grafische "
                              "Sitzung, stimmt DISPLAY?)")
                   .arg(value("DISPLAY"));
    return QStringLiteral("teiler: %1; %2\n").arg(what, virtualDisplayHint(program));
}

void PlatformStart::Guard(const QStringList& arguments) {
    Guarded& state = guarded();
    const QString program = arguments.isEmpty() ? QStringLiteral("teiler") : arguments.first();
    state.unreachableLine = UnreachableLine(program, arguments, SystemEnvironment());
    state.held.clear();
    state.active = true;
    state.previous = qInstallMessageHandler(holdOrGiveUp);
}

void PlatformStart::Release() {
    Guarded& state = guarded();
    if (!state.active)
        return;
    state.active = false;
    qInstallMessageHandler(state.previous);
    const QList<HeldMessage> held = std::exchange(state.held, {});
    for (const HeldMessage& message : held) {
        const QMessageLogContext context(nullptr, 0, nullptr, message.category.constData());
        qt_message_output(message.type, context, message.text);
    }
}

} // namespace app

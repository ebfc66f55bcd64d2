// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "presets.h"

#include <QDir>
#include <QRegularExpression>
#include <QSettings>
#include <cmath>
#include <memory>

namespace board {

namespace {

const QString organization = QStringLiteral("Teiler");

// A value as written: a list, as an INI file gives one for "1,5" or "zoom, ordner", joined again
// with bare commas; a number, as
// the registry gives a DWORD, in digits.
QString textOf(const QVariant& value) {
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(',')).trimmed();
    return value.toString().trimmed();
}

bool valid(Presets::Option option, const QString& text) {
    switch (option) {
    case Presets::Option::ColourBlind:
    case Presets::Option::PenMode:
        return Presets::ParseFlag(text).has_value();
    case Presets::Option::Zoom:
        return Presets::ParseZoom(text).has_value();
    case Presets::Option::Folder:
        return true;
    }
    return false;
}

} // namespace

Presets::Presets(const QSettings& user, const std::vector<const QSettings*>& machine) {
    QStringList fixed;
    for (const QSettings* settings : machine)
        fixed += textOf(settings->value(QStringLiteral("fest")))
                     .toLower()
                     .split(QRegularExpression(QStringLiteral("[,;\\s]+")), Qt::SkipEmptyParts);
    for (const Option option : all) {
        Value& value = m_values[static_cast<int>(option)];
        const QString key = Key(option);
        QString preset;
        for (const QSettings* settings : machine) {
            const QString text = textOf(settings->value(key));
            if (text.isEmpty())
                continue;
            if (valid(option, text)) {
                preset = text;
                break;
            }
            value.refused << text;
        }
        const QString own = textOf(user.value(key));
        const bool ownValid = !own.isEmpty() && valid(option, own);
        if (!own.isEmpty() && !ownValid)
            value.refused << own;
        if (!preset.isEmpty() && fixed.contains(key))
            value = {preset, Source::Fixed, value.refused};
        else if (ownValid)
            value = {own, Source::Own, value.refused};
        else if (!preset.isEmpty())
            value = {preset, Source::Preset, value.refused};
    }
}

Presets Presets::Read() {
    QSettings user(QSettings::NativeFormat, QSettings::UserScope, organization, organization);
    user.setFallbacksEnabled(false);
    const QSettings admin(QSettings::NativeFormat, QSettings::SystemScope, organization,
                          organization);
    const QSettings package(QSettings::NativeFormat, QSettings::SystemScope, organization,
                            QStringLiteral("Paket"));
    return Presets(user, {&admin, &package});
}

void Presets::Remember(Option option, const QString& text) {
    QSettings user(QSettings::NativeFormat, QSettings::UserScope, organization, organization);
    user.setValue(Key(option), text);
    user.sync();
}

std::optional<bool> Presets::flag(Option option) const {
    return ParseFlag(value(option).text);
}

std::optional<Presets::Zoom> Presets::zoom() const {
    return ParseZoom(value(Option::Zoom).text);
}

QString Presets::folder() const {
    QString text = value(Option::Folder).text;
    static const QRegularExpression variable(QStringLiteral("%([^%]+)%"));
    QString expanded;
    qsizetype from = 0;
    for (auto it = variable.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const QString name = match.captured(1);
        expanded += text.mid(from, match.capturedStart() - from);
        expanded += qEnvironmentVariableIsSet(name.toLocal8Bit().constData())
                        ? qEnvironmentVariable(name.toLocal8Bit().constData())
                        : match.captured();
        from = match.capturedEnd();
    }
    expanded += text.mid(from);
    if (expanded == QLatin1String("~") || expanded.startsWith(QLatin1String("~/")))
        expanded = QDir::homePath() + expanded.mid(1);
    return expanded.isEmpty() ? expanded : QDir::cleanPath(QDir::fromNativeSeparators(expanded));
}

QString Presets::Key(Option option) {
    switch (option) {
    case Option::ColourBlind:
        return QStringLiteral("farbenblind");
    case Option::PenMode:
        return QStringLiteral("stiftmodus");
    case Option::Zoom:
        return QStringLiteral("zoom");
    case Option::Folder:
        return QStringLiteral("ordner");
    }
    return {};
}

std::optional<bool> Presets::ParseFlag(const QString& text) {
    const QString word = text.trimmed().toLower();
    for (const char* yes : {"1", "ja", "ein", "an", "true"})
        if (word == QLatin1String(yes))
            return true;
    for (const char* no : {"0", "nein", "aus", "false"})
        if (word == QLatin1String(no))
            return false;
    return std::nullopt;
}

std::optional<Presets::Zoom> Presets::ParseZoom(const QString& text) {
    QString word = text.trimmed().toLower();
    if (word == QLatin1String("fit"))
        return Zoom{true, 1};
    word.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double factor = word.toDouble(&ok);
    if (!ok || !std::isfinite(factor) || factor < 1 || factor > 4)
        return std::nullopt;
    return Zoom{false, factor};
}

} // namespace board

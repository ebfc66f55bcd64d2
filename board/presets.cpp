// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "presets.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <cmath>
#include <memory>
#include <utility>
#include <vector>

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
    case Presets::Option::Folder: {
        const QString folder = Presets::ExpandFolder(text);
        return QDir::isAbsolutePath(folder) &&
               !folder.contains(QRegularExpression(QStringLiteral("%[^%]+%")));
    }
    }
    return false;
}

// Whether mkpath could make the folder: the nearest folder above it that is there takes new ones.
bool canMake(const QString& path) {
    QFileInfo above(path);
    while (!above.exists() && !above.isRoot() && above.absoluteFilePath() != above.absolutePath())
        above = QFileInfo(above.absolutePath());
    return above.isDir() && above.isWritable();
}

} // namespace

Presets::Presets(const QSettings& user, const std::vector<const QSettings*>& machine) {
    QStringList fixed;
    for (const QSettings* settings : machine)
        fixed += textOf(settings->value(QStringLiteral("fest")))
                     .toLower()
                     .split(QRegularExpression(QStringLiteral("[,;\\s]+")), Qt::SkipEmptyParts);
    for (const QString& name : std::as_const(fixed)) {
        bool known = false;
        for (const Option option : all)
            known = known || name == Key(option);
        if (!known && !m_unknownFixed.contains(name))
            m_unknownFixed << name;
    }
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
        value.preset = preset;
        value.fixedWithoutValue = preset.isEmpty() && fixed.contains(key);
        if (!preset.isEmpty() && fixed.contains(key)) {
            value.text = preset;
            value.source = Source::Fixed;
        } else if (ownValid) {
            value.text = own;
            value.source = Source::Own;
        } else if (!preset.isEmpty()) {
            value.text = preset;
            value.source = Source::Preset;
        }
    }
}

Presets Presets::Read() {
    QSettings user(QSettings::NativeFormat, QSettings::UserScope, organization, organization);
    user.setFallbacksEnabled(false);
#ifdef Q_OS_WIN
    // Opened at a key that is there: QSettings makes the key it opens where it may write, and an
    // administrator's Teiler would leave empty keys behind that no uninstaller made.
    QSettings admin(QStringLiteral("HKEY_LOCAL_MACHINE\\Software"), QSettings::NativeFormat);
    QSettings package(QStringLiteral("HKEY_LOCAL_MACHINE\\Software"), QSettings::NativeFormat);
    admin.beginGroup(organization + QLatin1Char('/') + organization);
    package.beginGroup(organization + QStringLiteral("/Paket"));
#else
    const QSettings admin(QSettings::NativeFormat, QSettings::SystemScope, organization,
                          organization);
    const QSettings package(QSettings::NativeFormat, QSettings::SystemScope, organization,
                            QStringLiteral("Paket"));
#endif
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

QString Presets::boardFolder(bool make, QStringList* passedOver) const {
    const Value& folder = value(Option::Folder);
    std::vector<std::pair<QString, bool>> given; // the folder, and whether it is the teacher's
    if (folder.source == Source::Own)
        given.emplace_back(ExpandFolder(folder.text), true);
    if (!folder.preset.isEmpty())
        given.emplace_back(ExpandFolder(folder.preset), false);
    for (const auto& [path, mine] : given) {
        if (QFileInfo(path).isDir())
            return path;
        // The admin's folder is made in each user's place; the teacher's last, once gone, is not.
        if (!mine && !QFileInfo::exists(path) && (make ? QDir().mkpath(path) : canMake(path)))
            return path;
        if (passedOver)
            *passedOver << path;
    }
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

QString Presets::ExpandFolder(const QString& text) {
    static const QRegularExpression variable(QStringLiteral("%([^%]+)%"));
    QString expanded;
    qsizetype from = 0;
    for (auto it = variable.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const QByteArray name = match.captured(1).toLocal8Bit();
        expanded += text.mid(from, match.capturedStart() - from);
        expanded += qEnvironmentVariableIsSet(name.constData())
                        ? qEnvironmentVariable(name.constData())
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
    for (const char* yes : {"1", "ja", "ein", "an", "true", "yes", "on"})
        if (word == QLatin1String(yes))
            return true;
    for (const char* no : {"0", "nein", "aus", "false", "no", "off"})
        if (word == QLatin1String(no))
            return false;
    return std::nullopt;
}

std::optional<Presets::Zoom> Presets::ParseZoom(const QString& text) {
    QString word = text.trimmed().toLower();
    if (word == QLatin1String("fit"))
        return Zoom{true, Zoom::smallest};
    word.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double factor = word.toDouble(&ok);
    if (!ok || !std::isfinite(factor) || factor < Zoom::smallest || factor > Zoom::largest)
        return std::nullopt;
    return Zoom{false, factor};
}

} // namespace board

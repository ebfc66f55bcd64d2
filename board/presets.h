// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

class QSettings;

namespace board {

// The options Teiler starts with: the colour-blind palette, the pen mode, the window's zoom and
// the folder the board dialogs open in. Each is the teacher's own choice, kept in the user's
// settings, or else a default an admin set for every user of the machine: first in Teiler's
// machine-wide settings (on Windows HKLM\Software\Teiler\Teiler, elsewhere
// /etc/xdg/Teiler/Teiler.conf), then in those the installer package writes from its properties
// (HKLM\Software\Teiler\Paket), where an empty value is none. An option the admin names in "fest"
// takes the admin's value even over the teacher's. A value that is not one of the option's
// passes over to the next; the one passed over is noted. A folder is one when it is a whole path
// once its variables are replaced.
class Presets {
  public:
    enum class Option { ColourBlind, PenMode, Zoom, Folder };
    static constexpr std::array<Option, 4> all{Option::ColourBlind, Option::PenMode, Option::Zoom,
                                               Option::Folder};
    enum class Source { None, Own, Preset, Fixed };
    struct Value {
        QString text; // as written, without surrounding blanks; empty for none
        Source source = Source::None;
        QStringList refused;            // values passed over, as written
        QString preset;                 // the admin's, also when another counts
        bool fixedWithoutValue = false; // named in "fest", but the admin gave no value
    };
    struct Zoom {
        static constexpr double smallest = 1;
        static constexpr double largest = 4;
        bool fit = false;
        double factor = smallest; // from smallest to largest
    };

    Presets() = default;
    // The settings of the given places, the machine's in the order they count.
    Presets(const QSettings& user, const std::vector<const QSettings*>& machine);
    // Teiler's own places.
    static Presets Read();
    // Keeps the teacher's choice in the user's settings, for the next start.
    static void Remember(Option option, const QString& text);

    const Value& value(Option option) const { return m_values[static_cast<int>(option)]; }
    std::optional<bool> flag(Option option) const;
    std::optional<Zoom> zoom() const;
    // The folder the board dialogs open in: the teacher's last, if it is still there; else the
    // admin's, made if need be (made only if make); else the documents, else the home folder.
    // The folders given but not taken go to *passedOver.
    QString boardFolder(bool make, QStringList* passedOver = nullptr) const;
    bool fixed(Option option) const { return value(option).source == Source::Fixed; }
    // The names in "fest" that name no option.
    const QStringList& unknownFixed() const { return m_unknownFixed; }

    // The option's name in the settings.
    static QString Key(Option option);
    // 1 or 0, ja or nein, ein or aus, an, true or false.
    static std::optional<bool> ParseFlag(const QString& text);
    // "fit", or a factor from 1 to 4, "1,5" as written in German too.
    static std::optional<Zoom> ParseZoom(const QString& text);
    // With %NAME% replaced by the environment's variable and a leading ~ by the home folder.
    static QString ExpandFolder(const QString& text);

  private:
    std::array<Value, all.size()> m_values;
    QStringList m_unknownFixed;
};

} // namespace board

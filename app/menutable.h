// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QString>
#include <span>

class QMenuBar;
class QObject;

namespace app {

// The menu bar as designed, with the "Tafel" menu beyond it, listed as it is shown: each menu
// followed by its entries. The entries beyond the designed menu carry their keys.
class MenuTable {
  public:
    enum class Kind { Menu, Entry, Separator, BarEntry, Submenu };
    struct Item {
        Kind kind;
        const char* name;           // the object name; nullptr for a separator
        const char* text;           // with '&' before the letter of its mnemonic
        const char* keys = nullptr; // in Qt's portable form, several parted by "; "
        bool checkable = false;
    };

    static std::span<const Item> items();
    // Builds the menus and entries into bar; each is found by its object name.
    static QHash<QString, QObject*> Build(QMenuBar& bar);
};

} // namespace app

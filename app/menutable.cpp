// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "menutable.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace app {

namespace {

using K = MenuTable::Kind;

// Keys of the export entries: none of them is a key a text box keeps for itself (Ctrl+C, Ctrl+V,
// Ctrl+A, ...), so a focused box goes on copying its own text.
// Every caption has its mnemonic, a letter no other entry of its menu (or the bar) has.
constexpr MenuTable::Item table[] = {
    {K::Menu, "cmdDatei", "&Datei"},
    {K::Entry, "cmdloesch", "Bildschirm &löschen"},
    {K::Separator, nullptr, nullptr},
    {K::Entry, "cmdSpeichern", "Bild &speichern …", "Ctrl+E"},
    {K::Entry, "cmdKopieren", "Bild &kopieren", "Ctrl+Shift+C"},
    {K::Entry, "cmdDrucken", "&Drucken …", "Ctrl+P"},
    {K::Separator, nullptr, nullptr},
    {K::Entry, "cmdEnde", "&beenden"},
    {K::Menu, "cmdStrahl", "&Zahlenstrahl"},
    {K::Entry, "cmdSkala", "&1...500"},
    {K::Entry, "cmdSkala2", "&501...1000"},
    {K::Menu, "cmdTeiler0", "&Teiler"},
    {K::Entry, "cmdTeiler", "&Liste als \"Skyline\""},
    {K::Entry, "cmdHochzerlegbar", "&Teileranzahl T(n)  [alle Teiler]"},
    {K::Entry, "cmdTeilersumme", "Teilersumme &S(n)   [echte Teiler]"},
    {K::Entry, "cmdTeilersumme2", "S(n)-n  [\"&Reichtum\"]"},
    {K::BarEntry, "cmdTrefferliste", "T&refferliste ein/aus"},
    {K::BarEntry, "cmdVortrag", "&Info"},
    // For the board: entries beyond the designed menu, each with a key.
    {K::Menu, "cmdTafel", "T&afel"},
    {K::Entry, "cmdNeueTafel", "&Neue Tafel", "Ctrl+N"},
    {K::Entry, "cmdStift", "S&tift: linke Maustaste zeichnet", "Ctrl+D", true},
    {K::Entry, "cmdVollbild", "&Vollbild", "F11", true},
    {K::Entry, "cmdFarben", "&Farben für Rot-Grün-Schwäche", nullptr, true},
    {K::Entry, "cmdVergroessern", "Ver&größern", "Ctrl++; Ctrl+="},
    {K::Entry, "cmdVerkleinern", "Ver&kleinern", "Ctrl+-"},
    {K::Entry, "cmdOriginalgroesse", "&Originalgröße", "Ctrl+0"},
    {K::Separator, nullptr, nullptr},
    {K::Entry, "cmdRueckgaengig", "&Rückgängig", "Ctrl+Z"},
    {K::Entry, "cmdWiederholen", "&Wiederholen", "Ctrl+Y; Ctrl+Shift+Z"},
    {K::Separator, nullptr, nullptr},
    {K::Entry, "cmdTafelSpeichern", "Tafel &speichern", "Ctrl+S"},
    {K::Entry, "cmdTafelSpeichernUnter", "Tafel speichern &unter …", "Ctrl+Shift+S"},
    {K::Entry, "cmdTafelOeffnen", "Tafel &öffnen …", "Ctrl+O"},
    {K::Submenu, "cmdZuletzt", "&Zuletzt geöffnet"},
};

} // namespace

std::span<const MenuTable::Item> MenuTable::items() {
    return table;
}

QHash<QString, QObject*> MenuTable::Build(QMenuBar& bar) {
    QHash<QString, QObject*> built;
    QMenu* menu = nullptr;
    for (const Item& item : table) {
        const QString text = QString::fromUtf8(item.text);
        QObject* made = nullptr;
        switch (item.kind) {
        case Kind::Menu:
            made = menu = bar.addMenu(text);
            break;
        case Kind::Submenu:
            made = menu->addMenu(text);
            break;
        case Kind::Separator:
            menu->addSeparator();
            continue;
        case Kind::Entry:
        case Kind::BarEntry: {
            QAction* entry = item.kind == Kind::Entry ? menu->addAction(text) : bar.addAction(text);
            entry->setCheckable(item.checkable);
            if (item.keys)
                entry->setShortcuts(QKeySequence::listFromString(QString::fromLatin1(item.keys)));
            made = entry;
            break;
        }
        }
        made->setObjectName(QString::fromLatin1(item.name));
        built.insert(made->objectName(), made);
    }
    return built;
}

} // namespace app

// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ink.h"

namespace interact {

namespace {

struct Choice {
    QRgb colour;
    const char* name; // UTF-8
};

// Contrast against white: dark blue 16.0, bluish green 3.4, purple 5.8, brown 7.1. In CIELAB
// the three beside dark blue lie at least 32 from every chart colour, and any two inks at least
// 32 apart under a simulated deuteranopia or protanopia. The highlighter's pink darkens the
// strip's yellow to orange and leaves black, blue and red digits as they are.
constexpr Choice table[Ink::choices] = {
    {qRgb(0, 0, 128), "&Dunkelblau"},     {qRgb(0, 158, 115), "&Blaugrün"},
    {qRgb(160, 64, 144), "&Purpur"},      {qRgb(139, 69, 19), "Brau&n"},
    {qRgb(255, 150, 220), "&Textmarker"},
};

} // namespace

Ink Ink::of(int choice, bool thick) {
    if (choice < 0 || choice >= choices)
        choice = 0;
    Ink ink;
    ink.colour = QColor::fromRgb(table[choice].colour);
    ink.highlight = choice == highlighterChoice;
    ink.width = ink.highlight ? highlighterWidth : thick ? thickWidth : plainWidth;
    return ink;
}

QString Ink::name(int choice) {
    return QString::fromUtf8(table[choice < 0 || choice >= choices ? 0 : choice].name);
}

} // namespace interact

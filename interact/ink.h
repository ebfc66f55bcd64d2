// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QString>

namespace interact {

// What the pen draws with at the board: the designed dark blue, three more colours, or the
// highlighter ("Textmarker"). The colours differ from every colour a chart, a pick or a search
// draws, in both palettes; each keeps a contrast of at least 3:1 against white, and they stay
// apart from each other for pupils with a red or a green weakness (Okabe and Ito's bluish green
// among them). The highlighter is a light colour that only darkens what lies under it, so the
// numbers stay readable and overlapping segments no darker than one.
struct Ink {
    static constexpr int colours = 4;                 // choices 0 to 3
    static constexpr int highlighterChoice = colours; // choice 4
    static constexpr int choices = colours + 1;
    static constexpr int plainWidth = 3; // of a colour, as the right button draws
    static constexpr int thickWidth = 6; // of a colour with "Dick"
    static constexpr int highlighterWidth = 14;

    QColor colour;
    int width = plainWidth;
    bool highlight = false;

    // The ink of a choice (0 to 4; others give the designed one), thick with "Dick", which a
    // highlighter does not heed.
    static Ink of(int choice, bool thick);
    // Dark blue, 3 pixels: what the right button draws (in the canvas's ForeColor) and what the
    // pen draws until another ink is chosen.
    static Ink designed() { return of(0, false); }
    // The German name of a choice, with '&' before the letter of its mnemonic.
    static QString name(int choice);
    bool operator==(const Ink&) const = default;
};

} // namespace interact

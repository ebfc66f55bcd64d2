// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>

namespace interact {

// The wheel over the canvas frame, in units of the frame's two scroll bars: up and down moves
// vscHoch, sideways moves HScAusgabe when Shift is held or the wheel turns sideways. A notch (120
// in Qt's angle delta) moves 10 units, a tenth of what the frame shows, as a text view moves
// three lines for it. Each bar follows the sum of all turns for it: it stands at the whole units
// that sum makes, so smaller turns add up, and turns back by the same amount, in notches or in a
// fine wheel's steps, bring it back exactly where it was.
class WheelScroll {
  public:
    static constexpr int notch = 120;
    static constexpr int unitsPerNotch = 10;

    struct Move {
        bool across = false; // HScAusgabe; else vscHoch
        int units = 0;       // to add to the bar's Value
    };

    // One turn: its angle delta and whether Shift is held. Turning the wheel down or to the
    // right moves vscHoch towards its bottom (Value 0) and HScAusgabe towards its right end
    // (Value 2200).
    Move turn(QPoint angleDelta, bool shift);

  private:
    // What the wheel has turned in all, in 120ths of a unit.
    long long m_turnedAcross = 0;
    long long m_turnedDown = 0;
};

} // namespace interact

// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "wheelscroll.h"

#include <cstdlib>

namespace interact {

WheelScroll::Move WheelScroll::turn(QPoint angleDelta, bool shift) {
    const bool sideways = std::abs(angleDelta.x()) > std::abs(angleDelta.y());
    Move move;
    move.across = shift || sideways;
    const long long added =
        static_cast<long long>(sideways ? angleDelta.x() : angleDelta.y()) * unitsPerNotch;
    long long& turned = move.across ? m_turnedAcross : m_turnedDown;
    // Whole units towards zero: what falls short of a unit waits for more turns either way.
    const long long before = turned / notch;
    turned += move.across ? -added : added;
    move.units = static_cast<int>(turned / notch - before);
    return move;
}

} // namespace interact

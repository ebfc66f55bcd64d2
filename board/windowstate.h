// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace board {

// What the window keeps beside the canvas's drawings that decides what the next command draws:
// a board restores it, and so does taking a step back.
struct WindowState {
    int rangeBase = 0;             // 0 or 500: the number before column 1
    int sumMode = 0;               // 0: the last sum chart was S(n), 1: S(n)-n
    bool sumChecked = false;       // "Teilersumme S(n)" carries its check mark
    bool abundanceChecked = false; // "S(n)-n" carries its check mark
    bool operator==(const WindowState&) const = default;
};

} // namespace board

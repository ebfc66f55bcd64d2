// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRgb>
#include <span>

namespace app {

// The window's controls as designed, listed from topmost to bottommost: geometry in twips
// inside the container, colours, fonts and the settings that make each control what it is.
class LayoutTable {
  public:
    enum class Kind {
        PictureBox,
        HScrollBar,
        VScrollBar,
        TextBox,
        MultiLineTextBox,
        CommandButton,
        Label,
        Frame,
        Shape
    };
    // Text without an alignment flag stands at the left.
    enum Flag : unsigned {
        Flat = 1,
        NoBorder = 2,
        AlignCenter = 4,
        AlignRight = 8,
    };
    // Colours that follow the system instead of a fixed RGB value.
    static constexpr QRgb SystemWindow = 0x01000000;
    static constexpr QRgb SystemWindowText = 0x02000000;
    static constexpr QRgb Default = 0x03000000;

    struct Control {
        const char* name;
        Kind kind;
        const char* container;
        int left, top, width, height;
        const char* text;
        QRgb back, fore;
        const char* fontFamily; // nullptr: the system's default font
        double fontSize;
        bool bold;
        unsigned flags;
        int min, max, value; // scroll bars only
        int tab;             // keyboard order; frames, labels and the shape take no focus
    };

    static std::span<const Control> controls();
};

} // namespace app

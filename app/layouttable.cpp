// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "layouttable.h"

#include <array>

namespace app {

namespace {

using K = LayoutTable::Kind;
constexpr QRgb SW = LayoutTable::SystemWindow;
constexpr QRgb SWT = LayoutTable::SystemWindowText;
constexpr QRgb DEF = LayoutTable::Default;
constexpr unsigned FLAT = LayoutTable::Flat;
constexpr unsigned NOB = LayoutTable::NoBorder;
constexpr unsigned CENTRE = LayoutTable::AlignCenter;
constexpr unsigned RIGHT = LayoutTable::AlignRight;
constexpr QRgb rgb(int r, int g, int b) {
    return 0xff000000u | (r << 16) | (g << 8) | b;
}
constexpr const char* TNR = "Times New Roman";

// clang-format off
constexpr std::array<LayoutTable::Control, 31> table{{
    // name               kind                   container         left    top   width height text              back               fore                    font family        size  bold flags         min  max  value tab
    {"Picture3",         K::PictureBox,        "Form1",           600,   300,  5415,   855, "",               SW,                SWT,                    nullptr,           0,    false, FLAT,         0, 0, 0, 27},
    {"HScroll1",         K::HScrollBar,        "Picture3",          0,   660,  5415,   195, "",               DEF,               DEF,                    nullptr,           0,    false, 0,            0, 12000, 0, 29},
    {"picZeichenblatt",  K::PictureBox,        "Picture3",          0,     0, 16000,   675, "",               rgb(255, 255, 0),  SWT,                    "Courier New",     10.2, true,  FLAT | NOB,   0, 0, 0, 28},
    {"txtTreffer",       K::MultiLineTextBox,  "Form1",           660,  1200,  5355,  3375, "\r\nTrefferliste\r\n", rgb(255, 255, 255), rgb(0, 0, 128), "Courier",         9.6,  false, FLAT,         0, 0, 0, 26},
    {"picSteuerstand",   K::PictureBox,        "Form1",           240,  8520, 11055,   975, "",               rgb(128, 128, 255), SWT,                   nullptr,           0,    false, FLAT,         0, 0, 0, 6},
    {"txtHilfe",         K::TextBox,           "picSteuerstand", 7860,   240,  3015,   525, "",               DEF,               DEF,                    TNR,               15.6, false, CENTRE,       0, 0, 0, 25},
    {"Frame2",           K::Frame,             "picSteuerstand", 4680,    60,  3132,   795, "Berechne",       rgb(128, 128, 255), DEF,                   nullptr,           0,    false, 0,            0, 0, 0, 19},
    {"txtIter",          K::TextBox,           "Frame2",         1020,   240,  1752,   435, "220",            DEF,               DEF,                    TNR,               16.2, false, CENTRE,       0, 0, 0, 23},
    {"cmdIter",          K::CommandButton,     "Frame2",          240,   240,   555,   435, "S",              DEF,               DEF,                    TNR,               13.2, false, 0,            0, 0, 0, 21},
    {"Label6",           K::Label,             "Frame2",         2700,   180,   312,   552, ")",              rgb(128, 128, 255), DEF,                   TNR,               21.6, false, CENTRE,       0, 0, 0, 24},
    {"Label5",           K::Label,             "Frame2",          720,   180,   432,   552, "(",              rgb(128, 128, 255), DEF,                   TNR,               21.6, false, CENTRE,       0, 0, 0, 22},
    {"Frame1",           K::Frame,             "picSteuerstand",    0,    60,  4572,   795, "Suche",          rgb(128, 128, 255), DEF,                   nullptr,           0,    false, 0,            0, 0, 0, 10},
    {"Text1(2)",         K::TextBox,           "Frame1",          300,   240,   492,   435, "1",              rgb(255, 255, 255), DEF,                   TNR,               18,   false, RIGHT,        0, 0, 0, 32},
    {"Command2(2)",      K::CommandButton,     "Frame1",          120,   240,   255,   195, "+",              DEF,               DEF,                    nullptr,           0,    false, 0,            0, 0, 0, 31},
    {"Command3(2)",      K::CommandButton,     "Frame1",          120,   480,   255,   195, "-",              DEF,               DEF,                    nullptr,           0,    false, 0,            0, 0, 0, 30},
    {"Command3(0)",      K::CommandButton,     "Frame1",         1920,   480,   255,   195, "-",              DEF,               DEF,                    nullptr,           0,    false, 0,            0, 0, 0, 18},
    {"Command2(0)",      K::CommandButton,     "Frame1",         1920,   240,   255,   195, "+",              DEF,               DEF,                    nullptr,           0,    false, 0,            0, 0, 0, 17},
    {"Command3(1)",      K::CommandButton,     "Frame1",         3420,   480,   255,   195, "-",              DEF,               DEF,                    nullptr,           0,    false, 0,            0, 0, 0, 15},
    {"Command2(1)",      K::CommandButton,     "Frame1",         3420,   240,   255,   195, "+",              DEF,               DEF,                    nullptr,           0,    false, 0,            0, 0, 0, 14},
    {"Text1(1)",         K::TextBox,           "Frame1",         3600,   240,   855,   435, "1",              rgb(255, 255, 255), DEF,                   TNR,               18,   false, RIGHT,        0, 0, 0, 13},
    {"cmdSuche",         K::CommandButton,     "Frame1",          840,   240,   735,   435, "S(n)",           DEF,               DEF,                    TNR,               13.2, false, 0,            0, 0, 0, 12},
    {"Text1(0)",         K::TextBox,           "Frame1",         2100,   240,   615,   435, "0",              rgb(255, 255, 255), DEF,                   TNR,               18,   false, RIGHT,        0, 0, 0, 11},
    {"Label4",           K::Label,             "Frame1",         1500,   300,   432,   372, "=",              rgb(128, 128, 255), DEF,                   TNR,               18,   false, CENTRE,       0, 0, 0, 20},
    {"Label2",           K::Label,             "Frame1",         2820,   240,   492,   372, "n + ",           rgb(128, 128, 255), DEF,                   TNR,               18,   false, CENTRE,       0, 0, 0, 16},
    {"HScAusgabe",       K::HScrollBar,        "Form1",           240,  8220, 10695,   315, "",               DEF,               DEF,                    nullptr,           0,    false, 0,            0, 2200, 0, 5},
    {"picRahmen",        K::PictureBox,        "Form1",           240,   300, 10695,  8295, "",               SW,                SWT,                    nullptr,           0,    false, FLAT,         0, 0, 0, 0},
    {"Command1",         K::CommandButton,     "picRahmen",         0,     0,   315,   375, "X",              DEF,               DEF,                    "MS Sans Serif",   7.8,  true,  0,            0, 0, 0, 9},
    {"vscHoch",          K::VScrollBar,        "picRahmen",     10440,     0,   315,  7995, "",               DEF,               DEF,                    nullptr,           0,    false, 0,            100, 0, 0, 8},
    {"picSkala",         K::PictureBox,        "picRahmen",         0, -2040,   375, 10000, "",               rgb(224, 224, 224), SWT,                   nullptr,           0,    false, FLAT | NOB,   0, 0, 0, 4},
    {"picAusgabe",       K::PictureBox,        "picRahmen",       360, -2040, 196596, 10000, "",              rgb(255, 255, 255), DEF,                   TNR,               7.8,  false, NOB,          0, 0, 0, 1},
    {"Shape1",           K::Shape,             "picAusgabe",        0,  9240,   420,   435, "",               DEF,               rgb(0, 0, 128),         nullptr,           0,    false, 0,            0, 0, 0, 0},
}};
// clang-format on

} // namespace

std::span<const LayoutTable::Control> LayoutTable::controls() {
    return table;
}

} // namespace app

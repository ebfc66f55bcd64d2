// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "board/presets.h"

#include <QMargins>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace app {

// The command line: --help, --version, --einstellungen, --zoom F for projectors (F a number from
// 1 to 4 or "fit") and a board file to open. A zoom the admin preset takes the place of a missing
// --zoom, and a fixed one that of any. The zoom is Qt's scale factor, which has to be set before
// the application exists.
class CommandLine {
  public:
    struct Options {
        std::optional<double> zoom;  // a factor from 1 to 4
        bool fit = false;            // the largest factor at which the window fits the screen
        std::optional<int> exitCode; // set when the program ends here (help, version, error)
        QString board;               // a ".teiler" file to open at start-up
        bool zoomGiven = false;      // by --zoom or --fit-board, not by a preset
    };

    // Reads the arguments; prints help, version or one line on a bad option (exit code 2).
    static Options Parse(const QStringList& arguments, const board::Presets& presets = {});
    // What --einstellungen prints: a line for each option, with its value and where it came from.
    static QStringList SettingsLines(const board::Presets& presets, const Options& options);
    // The largest factor from 1 to 4 at which a window of the given size, with its frame,
    // fits the available area; two decimals, rounded down.
    static double FitFactor(const QRect& available, const QSize& window, const QMargins& frame);
    // The factor to use on a screen that takes at most fitFactor: "fit" takes that, a larger
    // factor is lowered to it and *note says so; 0 for no zoom.
    static double ChosenZoom(const Options& options, double fitFactor, QString* note);
    // Sets the scale factor for the application about to be created; for "fit" and for a
    // factor above 1 it first asks a short-lived application for the screen.
    static void ApplyZoom(const Options& options, int& argc, char** argv);
    // Shows the window: maximized for "fit", so that what Form_Load fitted to the screen's
    // width (the canvas frame, the panel below it, HScAusgabe, "X" and the help line) is inside
    // it; else at its design size.
    static void ShowWindow(QWidget& window, const Options& options);

    // The window's size at factor 1: the client area of 11880 x 9708 twips below a menu bar of
    // the given height; and the frame a window manager is assumed to put around it.
    static QSize DesignWindowSize(int menuBarHeight);
    static QMargins AssumedFrame();
};

} // namespace app

// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "layoutfit.h"

#include "commandline.h"
#include "surface/picturebox.h"
#include "surface/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <optional>

namespace app {

using surface::PictureBox;
using surface::Twips;

void LayoutFit::Centre(QWidget& window) {
    QScreen* s = window.screen();
    if (!s)
        return;
    // A top-level window's position is that of its frame.
    const QRect available = s->availableGeometry();
    const QSize outer = window.size().grownBy(CommandLine::AssumedFrame());
    const QPoint centred((available.width() - outer.width()) / 2 + available.left(),
                         (available.height() - outer.height()) / 2 + available.top());
    window.move(std::max(centred.x(), available.left()), std::max(centred.y(), available.top()));
}

void LayoutFit::FitToScreen(const QWidget& window, const Controls& c) {
    const double screen = ScreenWidthTwips(window);
    SetWidthTwips(c.picRahmen, screen - LeftTwips(c.picRahmen) - 240);
    SetWidthTwips(c.picSteuerstand, screen - LeftTwips(c.picSteuerstand) - 240);
    SetLeftTwips(c.vscHoch, WidthTwips(c.picRahmen) - WidthTwips(c.vscHoch));
    SetWidthTwips(c.HScAusgabe, screen - LeftTwips(c.HScAusgabe) - 240);
    SetLeftTwips(c.Command1,
                 WidthTwips(c.picRahmen) - WidthTwips(c.vscHoch) - WidthTwips(c.Command1));
    SetWidthTwips(c.txtHilfe, WidthTwips(c.picSteuerstand) - LeftTwips(c.txtHilfe) - 120);
}

double LayoutFit::ScreenWidthTwips(const QWidget& window) {
    const QScreen* s = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    return Twips::fromPixels(s ? s->geometry().width() : 0);
}

double LayoutFit::WidthTwips(const QWidget& control) {
    return Twips::fromPixels(control.width());
}

double LayoutFit::LeftTwips(const QWidget& control) {
    if (auto* holder = qobject_cast<const PictureBox*>(control.parentWidget()))
        return Twips::fromPixels(control.x() - holder->borderWidth());
    return Twips::fromPixels(control.x());
}

void LayoutFit::SetWidthTwips(QWidget& control, double twips) {
    control.resize(Twips::toPixels(std::max(0.0, twips)), control.height());
}

void LayoutFit::SetLeftTwips(QWidget& control, double twips) {
    if (auto* holder = qobject_cast<PictureBox*>(control.parentWidget()))
        holder->moveChild(&control, twips, std::nullopt);
    else
        control.move(Twips::toPixels(twips), control.y());
}

} // namespace app

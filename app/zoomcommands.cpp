// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "zoomcommands.h"

#include "surface/picturebox.h"
#include "surface/scrollbar.h"

#include <QAction>
#include <QCursor>
#include <QLineEdit>
#include <QWidget>
#include <cmath>

namespace app {

namespace {

template <class T> T& named(QWidget& window, const char* name) {
    T* found = window.findChild<T*>(QString::fromLatin1(name));
    Q_ASSERT_X(found, "ZoomCommands", name);
    return *found;
}

} // namespace

ZoomCommands::ZoomCommands(QWidget& window) : QObject(&window) {
    using surface::PictureBox;
    using surface::ScrollBar;
    m_frame = &named<PictureBox>(window, "picRahmen");
    m_helpLine = &named<QLineEdit>(window, "txtHilfe");
    m_larger = &named<QAction>(window, "cmdVergroessern");
    m_smaller = &named<QAction>(window, "cmdVerkleinern");
    m_original = &named<QAction>(window, "cmdOriginalgroesse");
    m_zoom = new interact::CanvasZoom(
        {*m_frame, named<PictureBox>(window, "picAusgabe"), named<PictureBox>(window, "picSkala"),
         named<ScrollBar>(window, "HScAusgabe"), named<ScrollBar>(window, "vscHoch")},
        this);
    connect(m_larger, &QAction::triggered, this, [this] { m_zoom->zoomIn(anchor()); });
    connect(m_smaller, &QAction::triggered, this, [this] { m_zoom->zoomOut(anchor()); });
    connect(m_original, &QAction::triggered, this,
            [this] { m_zoom->zoomTo(interact::CanvasZoom::smallest, anchor()); });
    connect(m_zoom, &interact::CanvasZoom::zoomChanged, this, [this](double zoom) {
        enableEntries(zoom);
        m_helpLine->setText(QStringLiteral("Vergrößerung %1 %").arg(std::lround(zoom * 100)));
    });
    enableEntries(m_zoom->zoom());
}

QPointF ZoomCommands::anchor() const {
    const QPoint pointer = m_frame->mapFromGlobal(QCursor::pos());
    return m_frame->rect().contains(pointer) ? QPointF(pointer) : m_zoom->frameCentre();
}

void ZoomCommands::enableEntries(double zoom) {
    m_larger->setEnabled(zoom < interact::CanvasZoom::largest);
    m_smaller->setEnabled(zoom > interact::CanvasZoom::smallest);
    m_original->setEnabled(zoom > interact::CanvasZoom::smallest);
}

} // namespace app

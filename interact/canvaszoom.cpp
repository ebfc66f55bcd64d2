// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "canvaszoom.h"

#include "surface/picturebox.h"
#include "surface/scrollbar.h"

#include <QCoreApplication>
#include <QLineF>
#include <QTouchEvent>
#include <algorithm>
#include <cmath>

namespace interact {

namespace {

// As the window's scroll procedures place the canvas: Left = acrossOrigin - HScAusgabe and
// Top = vscHoch - downOrigin, in hundredths of the frame; the frame's bottom is at 100.
constexpr double acrossOrigin = 1;
constexpr double downOrigin = 24;
constexpr double frameBottom = 100;
// A pinch sets the zoom in whole percents.
constexpr double pinchStep = 100;

int rounded(double v) {
    return static_cast<int>(std::lround(v));
}

} // namespace

CanvasZoom::CanvasZoom(Controls controls, QObject* parent)
    : QObject(parent), m_controls(controls), m_acrossEnd(controls.across.Max()),
      m_downEnd(controls.down.Max()), m_stripHeight(controls.strip.height()) {
    setObjectName(QStringLiteral("canvasZoom"));
    controls.canvas.setAttribute(Qt::WA_AcceptTouchEvents);
    // Filters installed later see the events first: two fingers are the zoom's before the pen's.
    controls.canvas.installEventFilter(this);
}

double CanvasZoom::hundredthX() const {
    return m_controls.frame.toPixel(1, 0).x() - m_controls.frame.toPixel(0, 0).x();
}

double CanvasZoom::hundredthY() const {
    return m_controls.frame.toPixel(0, 1).y() - m_controls.frame.toPixel(0, 0).y();
}

QPointF CanvasZoom::frameCentre() const {
    return QPointF(m_controls.frame.width(), m_controls.frame.height()) / 2;
}

void CanvasZoom::zoomTo(double zoom, QPointF anchor) {
    place(zoom, anchor, pictureAt(anchor));
}

QPointF CanvasZoom::pictureAt(QPointF framePoint) const {
    return (framePoint - QPointF(m_controls.canvas.pos())) / m_zoom;
}

void CanvasZoom::place(double zoom, QPointF anchor, QPointF shown) {
    zoom = std::clamp(zoom, smallest, largest);
    if (qFuzzyCompare(zoom, m_zoom))
        return;
    surface::PictureBox& frame = m_controls.frame;
    surface::PictureBox& canvas = m_controls.canvas;
    surface::ScrollBar& across = m_controls.across;
    surface::ScrollBar& down = m_controls.down;
    const QSizeF unzoomed = QSizeF(canvas.size()) / m_zoom;
    const double hx = hundredthX();
    const double hy = hundredthY();
    const int b = frame.borderWidth();
    const QPointF corner = anchor - shown * zoom;
    if (m_zoom == 1) {
        m_home = {canvas.pos(),
                  m_controls.strip.pos(),
                  canvas.property("Left"),
                  canvas.property("Top"),
                  m_controls.strip.property("Top"),
                  across.Value(),
                  down.Value()};
    }
    const bool goingHome =
        zoom == 1 && across.Value() == m_home.zoomedAcross && down.Value() == m_home.zoomedDown;
    m_zoom = zoom;
    canvas.setZoom(zoom);
    m_controls.strip.resize(m_controls.strip.width(), rounded(m_stripHeight * zoom));

    across.setEnds(across.Min(), m_acrossEnd + rounded((zoom - 1) * unzoomed.width() / hx));
    down.setEnds(down.Min(), m_downEnd - rounded((zoom - 1) * unzoomed.height() / hy));
    // The bars stand at whole hundredths; the canvas lies exactly where it keeps the anchor still
    // unless that is beyond an end of a bar, where it lies as the bar places it.
    double left = (corner.x() - b) / hx;
    double top = (corner.y() - b) / hy;
    const int acrossValue =
        std::clamp(rounded(acrossOrigin - left), std::min(across.Min(), across.Max()),
                   std::max(across.Min(), across.Max()));
    const int downValue = std::clamp(rounded(top + downOrigin), std::min(down.Min(), down.Max()),
                                     std::max(down.Min(), down.Max()));
    if (acrossValue != rounded(acrossOrigin - left))
        left = acrossOrigin - acrossValue;
    if (downValue != rounded(top + downOrigin))
        top = downValue - downOrigin;
    if (goingHome) {
        // Not scrolled since the zoom left 100%: the canvas goes back exactly where it was.
        across.SetValue(m_home.across);
        down.SetValue(m_home.down);
        canvas.move(m_home.canvas);
        canvas.setProperty("Left", m_home.left);
        canvas.setProperty("Top", m_home.top);
        m_controls.strip.move(m_home.strip);
        m_controls.strip.setProperty("Top", m_home.stripTop);
    } else {
        across.SetValue(acrossValue);
        down.SetValue(downValue);
        frame.moveChild(&canvas, left, top);
        frame.moveChild(&m_controls.strip, std::nullopt, top);
    }
    m_home.zoomedAcross = across.Value();
    m_home.zoomedDown = down.Value();
    emit zoomChanged(zoom);
}

void CanvasZoom::zoomIn(QPointF anchor) {
    const auto next = std::find_if(steps.begin(), steps.end(),
                                   [this](double step) { return step > m_zoom * 1.001; });
    if (next != steps.end())
        zoomTo(*next, anchor);
}

void CanvasZoom::zoomOut(QPointF anchor) {
    const auto next = std::find_if(steps.rbegin(), steps.rend(),
                                   [this](double step) { return step < m_zoom / 1.001; });
    if (next != steps.rend())
        zoomTo(*next, anchor);
}

int CanvasZoom::unzoomedAcross() const {
    const double value = acrossOrigin - (acrossOrigin - m_controls.across.Value()) / m_zoom;
    return std::clamp(rounded(value), std::min(m_controls.across.Min(), m_acrossEnd),
                      std::max(m_controls.across.Min(), m_acrossEnd));
}

int CanvasZoom::unzoomedDown() const {
    const double bottom = frameBottom + downOrigin;
    const double value = bottom - (bottom - m_controls.down.Value()) / m_zoom;
    return std::clamp(rounded(value), std::min(m_controls.down.Min(), m_downEnd),
                      std::max(m_controls.down.Min(), m_downEnd));
}

void CanvasZoom::scrollTo(int unzoomedAcross, int unzoomedDown) {
    const double bottom = frameBottom + downOrigin;
    m_controls.across.SetValue(rounded(acrossOrigin - (acrossOrigin - unzoomedAcross) * m_zoom));
    m_controls.down.SetValue(rounded(bottom - (bottom - unzoomedDown) * m_zoom));
}

bool CanvasZoom::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &m_controls.canvas)
        return false;
    switch (event->type()) {
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
        return touchEvent(static_cast<QTouchEvent*>(event));
    default:
        return false;
    }
}

// From the moment a second finger touches until the last one leaves, the touches are the zoom's.
bool CanvasZoom::touchEvent(QTouchEvent* event) {
    if (event->type() == QEvent::TouchEnd || event->type() == QEvent::TouchCancel) {
        const bool was = m_pinching;
        m_pinching = false;
        return was;
    }
    QList<QPointF> held; // in pixels of the frame, which stays put while the canvas moves
    for (const QEventPoint& finger : event->points())
        if (finger.state() != QEventPoint::Released)
            held.append(m_controls.frame.mapFromGlobal(finger.globalPosition()));
    if (!m_pinching) {
        if (held.size() < 2)
            return false;
        if (event->type() != QEvent::TouchBegin) {
            // The first finger's press is no tap and no line: the pen lets it go.
            QTouchEvent cancel(QEvent::TouchCancel, event->pointingDevice(), event->modifiers());
            QCoreApplication::sendEvent(&m_controls.canvas, &cancel);
        }
        m_pinching = true;
        m_pinchSpan = QLineF(held[0], held[1]).length();
        m_pinchZoom = m_zoom;
        m_pinchShown = pictureAt((held[0] + held[1]) / 2);
    } else if (held.size() >= 2 && m_pinchSpan > 0) {
        const double span = QLineF(held[0], held[1]).length();
        const double zoom = std::round(m_pinchZoom * span / m_pinchSpan * pinchStep) / pinchStep;
        place(zoom, (held[0] + held[1]) / 2, m_pinchShown);
    }
    event->accept();
    return true;
}

} // namespace interact

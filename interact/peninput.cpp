// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "peninput.h"

#include "surface/picturebox.h"

#include <QLineF>
#include <QMouseEvent>
#include <QPointingDevice>
#include <QTabletEvent>
#include <QTouchEvent>

namespace interact {

namespace {

constexpr int leftButton = 1;
constexpr int rightButton = 2;
constexpr int penButton = PenInput::penButton;
constexpr int eraserButton = PenInput::eraserButton;

} // namespace

PenInput::PenInput(surface::PictureBox& canvas) : QObject(&canvas), m_canvas(canvas) {
    canvas.setAttribute(Qt::WA_AcceptTouchEvents);
    canvas.installEventFilter(this);
}

bool PenInput::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &m_canvas)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
        return mouseEvent(static_cast<QMouseEvent*>(event));
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
        return touchEvent(static_cast<QTouchEvent*>(event));
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
        return tabletEvent(static_cast<QTabletEvent*>(event));
    default:
        return false;
    }
}

bool PenInput::mouseEvent(QMouseEvent* event) {
    // A finger is followed through its touch events, a tablet pen through its tablet events;
    // the mouse events made up from them would press a second time.
    const QPointingDevice* device = event->pointingDevice();
    const auto type = device ? device->type() : QInputDevice::DeviceType::Mouse;
    if (type == QInputDevice::DeviceType::TouchScreen)
        return true;
    if (event->source() != Qt::MouseEventNotSynthesized &&
        (type == QInputDevice::DeviceType::Stylus || type == QInputDevice::DeviceType::Airbrush ||
         type == QInputDevice::DeviceType::Puck))
        return true;

    const QPointF at = event->position();
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        // A press while the last one is still open means its release went elsewhere.
        if (event->button() != Qt::LeftButton || !m_leftButtonDraws ||
            (m_source != Source::None && m_source != Source::Mouse))
            return false;
        begin(Source::Mouse, at, m_erasing ? eraserButton : 0);
        return true;
    case QEvent::MouseMove:
        // The canvas reports the move itself, and it draws once the drag has begun. A move
        // without the left button held means the release went elsewhere: the press is over.
        if (m_source == Source::Mouse) {
            if (event->buttons() & Qt::LeftButton)
                moveTo(at);
            else
                cancel(m_lastAt);
        }
        return false;
    default:
        if (m_source != Source::Mouse || event->button() != Qt::LeftButton)
            return false;
        end(at);
        return true;
    }
}

bool PenInput::touchEvent(QTouchEvent* event) {
    event->accept();
    if (event->type() == QEvent::TouchCancel) {
        if (m_source == Source::Touch)
            cancel(m_lastAt);
        return true;
    }
    if (event->type() == QEvent::TouchBegin) {
        if ((m_source != Source::None && m_source != Source::Touch) || event->points().isEmpty())
            return true;
        const QEventPoint& finger = event->points().first();
        begin(Source::Touch, finger.position(), m_erasing ? eraserButton : 0);
        m_touchId = finger.id();
        return true;
    }
    if (m_source != Source::Touch)
        return true;
    for (const QEventPoint& finger : event->points()) {
        if (finger.id() != m_touchId)
            continue;
        const QPointF at = finger.position();
        if (event->type() == QEvent::TouchEnd || finger.state() == QEventPoint::Released) {
            end(at);
        } else {
            const QPointF user = userAt(at);
            emit mouseMove(moveTo(at) ? m_button : leftButton, 0, user.x(), user.y());
        }
    }
    return true;
}

bool PenInput::tabletEvent(QTabletEvent* event) {
    event->accept();
    const QPointF at = event->position();
    const QPointF user = userAt(at);
    const bool barrel = event->buttons() & (Qt::MiddleButton | Qt::RightButton);
    switch (event->type()) {
    case QEvent::TabletPress:
        if (m_source != Source::None && m_source != Source::Tablet)
            break;
        if (barrel) {
            // The barrel button is the right button: it draws from where the pen is.
            begin(Source::Tablet, at, rightButton);
            m_tabletButton = Qt::NoButton;
        } else if (event->button() == Qt::LeftButton) {
            // The pen turned round: its eraser end erases.
            const bool eraser = event->pointerType() == QPointingDevice::PointerType::Eraser;
            begin(Source::Tablet, at, eraser || m_erasing ? eraserButton : 0);
            m_tabletButton = Qt::LeftButton;
        }
        break;
    case QEvent::TabletMove:
        if (m_source == Source::Tablet)
            emit mouseMove(moveTo(at) ? m_button : leftButton, 0, user.x(), user.y());
        else if (m_source == Source::None)
            emit mouseMove(0, 0, user.x(), user.y()); // hovering names the number below
        break;
    default:
        // Lifting the tip ends its press even if the event still counts the tip among the
        // buttons held, and a barrel press ends with the last button.
        if (m_source == Source::Tablet &&
            (event->buttons() == Qt::NoButton || event->button() == m_tabletButton))
            end(at);
        break;
    }
    return true;
}

void PenInput::begin(Source source, const QPointF& pixel, int button) {
    // The press before is still open: its release went elsewhere or did not lift the button.
    // Its line ends where it last was, before this one starts at its own press, else the
    // window would draw on from the old line's end to this press's first moves.
    if (m_source != Source::None)
        cancel(m_lastAt);
    m_source = source;
    m_dragging = button != 0;
    m_button = button != 0 ? button : penButton;
    m_pressedAt = pixel;
    m_lastAt = pixel;
    if (m_dragging) {
        const QPointF user = userAt(pixel);
        emit mouseDown(m_button, 0, user.x(), user.y());
    }
}

bool PenInput::moveTo(const QPointF& pixel) {
    m_lastAt = pixel;
    if (!m_dragging && QLineF(m_pressedAt, pixel).length() >= tapSlop) {
        m_dragging = true;
        const QPointF start = userAt(m_pressedAt);
        emit mouseDown(m_button, 0, start.x(), start.y());
    }
    return m_dragging;
}

void PenInput::end(const QPointF& pixel) {
    const bool tap = !m_dragging;
    reset();
    if (tap) {
        const QPointF user = userAt(m_pressedAt);
        emit mouseDown(leftButton, 0, user.x(), user.y());
        emit mouseUp(leftButton, 0, user.x(), user.y());
    } else {
        const QPointF user = userAt(pixel);
        emit mouseUp(m_button, 0, user.x(), user.y());
    }
}

// A press that ends without its release (a cancelled touch, say) ends a line it drew; a tap it
// was is dropped.
void PenInput::cancel(const QPointF& pixel) {
    if (m_dragging)
        end(pixel);
    else
        reset();
}

void PenInput::reset() {
    m_source = Source::None;
    m_dragging = false;
    m_touchId = -1;
}

QPointF PenInput::userAt(const QPointF& pixel) const {
    const double border = m_canvas.borderWidth();
    return m_canvas.toUser(pixel - QPointF(border, border));
}

} // namespace interact

// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#include "picturebox.h"

#include "numbertext.h"
#include "twips.h"

#include <QChildEvent>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QStaticText>
#include <algorithm>
#include <cmath>

namespace surface {

namespace {

// 96 dots per inch, so that font points map to device-independent pixels as on the screen.
constexpr int dotsPerMeter96 = 3780;
// At most one repaint per screen frame while a long drawing yields to the event loop.
constexpr int frameMilliseconds = 16;
// 2^28 pixels (1 GiB): the canvas at ratio 4 needs 140 million.
constexpr double maxImagePixels = 268435456.0;

bool recordNewBoxes = false;

int buttonCode(Qt::MouseButtons buttons) {
    int code = 0;
    if (buttons & Qt::LeftButton)
        code |= 1;
    if (buttons & Qt::RightButton)
        code |= 2;
    if (buttons & Qt::MiddleButton)
        code |= 4;
    return code;
}

int shiftCode(Qt::KeyboardModifiers modifiers) {
    int code = 0;
    if (modifiers & Qt::ShiftModifier)
        code |= 1;
    if (modifiers & Qt::ControlModifier)
        code |= 2;
    if (modifiers & Qt::AltModifier)
        code |= 4;
    return code;
}

} // namespace

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    m_repaintTimer.setSingleShot(true);
    connect(&m_repaintTimer, &QTimer::timeout, this, &PictureBox::flushDirty);
    m_sinceRepaint.start();
    m_recording = recordNewBoxes;
    m_fontBase = font();
    FontSize = m_fontBase.pointSizeF();
    FontBold = m_fontBase.bold();
}

void PictureBox::setBackColor(const QColor& color) {
    m_back = color;
    update();
}

void PictureBox::setBorder(Border newBorder) {
    m_border = newBorder;
    clipChildren();
    update();
}

void PictureBox::setBoxFont(const QFont& font) {
    m_fontBase = font;
    FontSize = font.pointSizeF();
    FontBold = font.bold();
    m_fonts.clear();
}

void PictureBox::Scale(double x1, double y1, double x2, double y2) {
    m_scaled = true;
    m_sx1 = x1;
    m_sy1 = y1;
    m_sx2 = x2;
    m_sy2 = y2;
}

QSizeF PictureBox::insideSize() const {
    const int b = borderWidth();
    return QSizeF(qMax(0, width() - 2 * b), qMax(0, height() - 2 * b));
}

double PictureBox::pixelsPerUnitX() const {
    return m_scaled ? insideSize().width() / (m_sx2 - m_sx1) : 1.0 / Twips::perPixel;
}

double PictureBox::pixelsPerUnitY() const {
    return m_scaled ? insideSize().height() / (m_sy2 - m_sy1) : 1.0 / Twips::perPixel;
}

QPointF PictureBox::toPixel(double x, double y) const {
    if (!m_scaled)
        return QPointF(x / Twips::perPixel, y / Twips::perPixel);
    return QPointF((x - m_sx1) * pixelsPerUnitX(), (y - m_sy1) * pixelsPerUnitY());
}

QPointF PictureBox::toUser(const QPointF& pixel) const {
    if (!m_scaled)
        return pixel * Twips::perPixel;
    return QPointF(m_sx1 + pixel.x() / pixelsPerUnitX(), m_sy1 + pixel.y() / pixelsPerUnitY());
}

int PictureBox::childX(double left) const {
    return borderWidth() + static_cast<int>(std::lround(toPixel(left, m_scaled ? m_sy1 : 0).x()));
}

int PictureBox::childY(double top) const {
    return borderWidth() + static_cast<int>(std::lround(toPixel(m_scaled ? m_sx1 : 0, top).y()));
}

void PictureBox::moveChild(QWidget* child, std::optional<double> left, std::optional<double> top) {
    if (left)
        child->setProperty("Left", *left);
    if (top)
        child->setProperty("Top", *top);
    child->move(left ? childX(*left) : child->x(), top ? childY(*top) : child->y());
}

double PictureBox::childLeft(const QWidget* child) {
    return child->property("Left").toDouble();
}

double PictureBox::childTop(const QWidget* child) {
    return child->property("Top").toDouble();
}

void PictureBox::ensureImage() {
    const QSizeF inside = insideSize();
    qreal ratio = devicePixelRatioF();
    // A very large zoom on a high-resolution screen would ask gigabytes for the wide canvas;
    // above maxImagePixels the image is drawn at a lower ratio and scaled up on screen.
    const double pixelsAtOne = std::max(1.0, inside.width() * inside.height());
    if (pixelsAtOne * ratio * ratio > maxImagePixels)
        ratio = std::max(1.0, std::floor(std::sqrt(maxImagePixels / pixelsAtOne) * 4) / 4);
    const QSize wanted(static_cast<int>(std::ceil(inside.width() * ratio)),
                       static_cast<int>(std::ceil(inside.height() * ratio)));
    m_imageSize = inside;
    if (m_backing.size() == wanted && qFuzzyCompare(m_backing.devicePixelRatio(), ratio))
        return;
    endPainting();
    QImage fresh(wanted, QImage::Format_RGB32);
    if (fresh.isNull()) {
        // Out of memory: keep drawing at ratio 1 rather than into nothing.
        ratio = 1;
        fresh = QImage(inside.toSize().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
        if (fresh.isNull())
            return;
    }
    fresh.setDotsPerMeterX(dotsPerMeter96);
    fresh.setDotsPerMeterY(dotsPerMeter96);
    fresh.setDevicePixelRatio(ratio);
    fresh.fill(m_back);
    if (!m_backing.isNull()) {
        QPainter copy(&fresh);
        copy.drawImage(QPointF(0, 0), m_backing);
    }
    m_backing = std::move(fresh);
}

// The full check of the image (which asks the screen for its pixel ratio) runs only when the
// painter opens; while it is open, a cheap size comparison catches a resize of a hidden box.
QPainter& PictureBox::painter() {
    if (m_activePainter.isActive() && m_imageSize != insideSize())
        endPainting();
    if (!m_activePainter.isActive()) {
        ensureImage();
        m_activePainter.begin(&m_backing);
    }
    return m_activePainter;
}

void PictureBox::endPainting() {
    if (m_activePainter.isActive())
        m_activePainter.end();
}

const QImage& PictureBox::image() {
    ensureImage();
    endPainting();
    return m_backing;
}

quint64 PictureBox::fontKey() const {
    return (static_cast<quint64>(std::llround(FontSize * 100)) << 1) | (FontBold ? 1 : 0);
}

const PictureBox::FontEntry& PictureBox::currentFont() const {
    const quint64 key = fontKey();
    auto found = m_fonts.constFind(key);
    if (found != m_fonts.constEnd())
        return *found;
    QFont font = m_fontBase;
    font.setPointSizeF(FontSize > 0 ? FontSize : 1);
    font.setBold(FontBold);
    // Plain pixels, no blending with what lies below: text printed again in the back colour at
    // the same place then erases it completely.
    font.setStyleStrategy(QFont::NoAntialias);
    QImage probe(1, 1, QImage::Format_RGB32);
    probe.setDotsPerMeterX(dotsPerMeter96);
    probe.setDotsPerMeterY(dotsPerMeter96);
    const QFontMetricsF metrics(font, &probe);
    return *m_fonts.insert(key, FontEntry{font, metrics.ascent(), metrics.height()});
}

double PictureBox::textHeight() const {
    return currentFont().height / std::fabs(pixelsPerUnitY());
}

void PictureBox::setRecording(bool on) {
    m_recording = on;
    if (!on)
        m_recorded.clear();
}

void PictureBox::setRecordingForNewBoxes(bool on) {
    recordNewBoxes = on;
}

void PictureBox::record(DrawCall call, const QColor& ink) {
    if (!m_recording)
        return;
    call.color = ink;
    call.fontSize = FontSize;
    call.bold = FontBold;
    call.drawWidth = DrawWidth;
    m_recorded.append(std::move(call));
}

void PictureBox::markDirty(const QRectF& pixelRect) {
    const int b = borderWidth();
    m_dirty |= pixelRect.translated(b, b);
    if (!m_repaintTimer.isActive())
        m_repaintTimer.start(qMax<qint64>(0, frameMilliseconds - m_sinceRepaint.elapsed()));
}

void PictureBox::flushDirty() {
    if (!m_dirty.isEmpty())
        update(m_dirty.toAlignedRect().adjusted(-2, -2, 2, 2));
    m_dirty = QRectF();
    m_sinceRepaint.restart();
}

void PictureBox::Cls() {
    DrawCall call;
    call.op = QStringLiteral("Cls");
    record(call, ForeColor);
    ensureImage();
    endPainting();
    m_backing.fill(m_back);
    CurrentX = m_scaled ? m_sx1 : 0;
    CurrentY = m_scaled ? m_sy1 : 0;
    markDirty(QRectF(QPointF(0, 0), insideSize()));
}

void PictureBox::Line(double x1, double y1, double x2, double y2, std::optional<QColor> color,
                      LineMode mode) {
    DrawCall call;
    call.op = QStringLiteral("Line");
    call.x1 = x1;
    call.y1 = y1;
    call.x2 = x2;
    call.y2 = y2;
    call.mode = mode;
    const QColor ink = color.value_or(ForeColor);
    record(call, ink);
    // Every point starts at the device pixel it falls in and reaches one logical pixel on (one
    // device pixel at ratio 1, two at ratio 2): a line at y runs through the middle of that
    // stretch and a filled box covers the stretches of both its corners, so a box that ends where
    // a line lies covers that line and not the row beyond it, at every pixel ratio.
    const QPointF a = toPixel(x1, y1);
    const QPointF b = toPixel(x2, y2);
    QPainter& p = painter();
    const qreal ratio = m_backing.devicePixelRatio();
    auto cell = [ratio](double v) { return std::floor(v * ratio) / ratio; };
    auto centre = [&](const QPointF& q) { return QPointF(cell(q.x()) + 0.5, cell(q.y()) + 0.5); };
    const QRectF box = QRectF(a, b).normalized();
    const QRectF cells(QPointF(cell(box.left()), cell(box.top())),
                       QPointF(cell(box.right()) + 1, cell(box.bottom()) + 1));
    const bool straightThin =
        mode == LineMode::Plain && DrawWidth == 1 && (cells.width() < 1.5 || cells.height() < 1.5);
    if (mode == LineMode::FilledBox || straightThin) {
        // A thin horizontal or vertical line covers exactly these pixels too; filling is faster.
        p.fillRect(cells, ink);
    } else {
        p.setPen(QPen(ink, DrawWidth, Qt::SolidLine, Qt::RoundCap, Qt::MiterJoin));
        p.setBrush(Qt::NoBrush);
        if (mode == LineMode::Box)
            p.drawRect(QRectF(centre(box.topLeft()), centre(box.bottomRight())));
        else
            p.drawLine(centre(a), centre(b));
    }
    CurrentX = x2;
    CurrentY = y2;
    markDirty(box.adjusted(-DrawWidth - 1, -DrawWidth - 1, DrawWidth + 1, DrawWidth + 1));
}

void PictureBox::Circle(double x, double y, double radius) {
    DrawCall call;
    call.op = QStringLiteral("Circle");
    call.x1 = x;
    call.y1 = y;
    call.radius = radius;
    record(call, ForeColor);
    const QPointF centre = toPixel(x, y);
    const double r = radius * std::fabs(pixelsPerUnitX());
    // Plain pixels as for text: drawing the same circle again leaves the picture as it was.
    QPainter& p = painter();
    p.setPen(QPen(ForeColor, DrawWidth));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, r, r);
    CurrentX = x;
    CurrentY = y;
    const double reach = r + DrawWidth + 1;
    markDirty(QRectF(centre.x() - reach, centre.y() - reach, 2 * reach, 2 * reach));
}

void PictureBox::PSet(double x, double y) {
    DrawCall call;
    call.op = QStringLiteral("PSet");
    call.x1 = x;
    call.y1 = y;
    record(call, ForeColor);
    const QPointF at = toPixel(x, y);
    const double size = qMax(1, DrawWidth);
    const QRectF dot(at.x() - size / 2, at.y() - size / 2, size, size);
    painter().fillRect(dot, ForeColor);
    CurrentX = x;
    CurrentY = y;
    markDirty(dot.adjusted(-1, -1, 1, 1));
}

void PictureBox::Print(const QString& text) {
    DrawCall call;
    call.op = QStringLiteral("Print");
    call.x1 = CurrentX;
    call.y1 = CurrentY;
    call.text = text;
    record(call, ForeColor);
    QPainter& p = painter();
    const FontEntry& entry = currentFont();
    const QPointF at = toPixel(CurrentX, CurrentY);
    // Charts write the same few hundred numbers again and again: lay each text out once per font.
    if (m_layouts.size() > 20000)
        m_layouts.clear();
    const auto key = qMakePair(fontKey(), text);
    auto layout = m_layouts.find(key);
    if (layout == m_layouts.end()) {
        QStaticText prepared(text);
        prepared.setTextFormat(Qt::PlainText);
        prepared.prepare(QTransform(), entry.font);
        layout = m_layouts.insert(key, prepared);
    }
    if (p.font() != entry.font)
        p.setFont(entry.font);
    if (p.pen().color() != ForeColor || p.pen().widthF() != 1)
        p.setPen(ForeColor);
    p.drawStaticText(at, *layout);
    // A generous estimate of the text's extent; exact widths are not needed for repainting.
    markDirty(QRectF(at.x() - 2, at.y() - 2, text.size() * entry.height + 4, entry.height + 4));
    CurrentY += entry.height / pixelsPerUnitY();
    CurrentX = m_scaled ? m_sx1 : 0;
}

void PictureBox::Print(double value) {
    Print(NumberText::of(value) + QLatin1Char(' '));
}

void PictureBox::paintEvent(QPaintEvent* event) {
    endPainting();
    ensureImage();
    QPainter p(this);
    const int b = borderWidth();
    const QRect inside = rect().adjusted(b, b, -b, -b);
    const QRect exposed = event->rect() & inside;
    if (!exposed.isEmpty()) {
        const qreal ratio = m_backing.devicePixelRatio();
        const QRectF source(QPointF(exposed.x() - b, exposed.y() - b) * ratio,
                            QSizeF(exposed.size()) * ratio);
        p.drawImage(QRectF(exposed), m_backing, source);
    }
    if (b > 0) {
        p.setPen(QPen(palette().color(QPalette::WindowText), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void PictureBox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ensureImage();
    clipChildren();
}

// Controls inside the box are clipped to the inside of its border, so the border stays visible.
void PictureBox::childEvent(QChildEvent* event) {
    QWidget::childEvent(event);
    if (event->added() && event->child()->isWidgetType()) {
        auto* child = static_cast<QWidget*>(event->child());
        child->installEventFilter(this);
        clipChild(child);
    } else if (event->removed()) {
        event->child()->removeEventFilter(this);
    }
}

bool PictureBox::eventFilter(QObject* watched, QEvent* event) {
    if ((event->type() == QEvent::Move || event->type() == QEvent::Resize) &&
        watched->parent() == this && watched->isWidgetType())
        clipChild(static_cast<QWidget*>(watched));
    return QWidget::eventFilter(watched, event);
}

void PictureBox::clipChildren() {
    for (QObject* child : children())
        if (child->isWidgetType())
            clipChild(static_cast<QWidget*>(child));
}

void PictureBox::clipChild(QWidget* child) {
    const int b = borderWidth();
    if (b == 0) {
        if (!child->mask().isEmpty())
            child->clearMask();
        return;
    }
    const QRect inside = rect().adjusted(b, b, -b, -b);
    const QRect geometry = child->geometry();
    if (inside.contains(geometry)) {
        if (!child->mask().isEmpty())
            child->clearMask();
        return;
    }
    QRect visible = (inside & geometry).translated(-geometry.topLeft());
    // An empty mask would show the whole child; a child wholly on the border shows nothing.
    if (visible.isEmpty())
        visible = QRect(-1, -1, 1, 1);
    child->setMask(QRegion(visible));
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    m_pressedInside = event->button() == Qt::LeftButton;
    const QPointF user = toUser(event->position() - QPointF(borderWidth(), borderWidth()));
    emit mouseDown(buttonCode(event->button()), shiftCode(event->modifiers()), user.x(), user.y());
}

// Qt delivers the second press of a double click as a double-click event; it is a press all the
// same, so that every press picks, starts a drawing or reads the clipboard.
void PictureBox::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
    const QPointF user = toUser(event->position() - QPointF(borderWidth(), borderWidth()));
    emit mouseMove(buttonCode(event->buttons()), shiftCode(event->modifiers()), user.x(), user.y());
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    const QPointF user = toUser(event->position() - QPointF(borderWidth(), borderWidth()));
    emit mouseUp(buttonCode(event->button()), shiftCode(event->modifiers()), user.x(), user.y());
    if (event->button() == Qt::LeftButton && m_pressedInside &&
        rect().contains(event->position().toPoint()))
        emit clicked();
    m_pressedInside = false;
}

} // namespace surface

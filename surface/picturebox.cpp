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
#include <bit>
#include <cmath>
#include <cstring>
#include <numeric>
#include <utility>

namespace surface {

namespace {

// 96 dots per inch, so that font points map to device-independent pixels as on the screen.
constexpr int dotsPerMeter96 = 3780;
// At most one repaint per screen frame while a long drawing yields to the event loop.
constexpr int frameMilliseconds = 16;
// 2^28 pixels (1 GiB): the whole canvas at ratio 4 needs 140 million.
constexpr double maxImagePixels = 268435456.0;
// Tiles are columns this many device pixels wide and as high as the box (if that is at most
// maxTileHeight; else squares). A box is scrolled sideways far more than up and down, and a text
// that starts above a tile is drawn apart, which costs more than the pixels a column holds
// beyond what is shown.
constexpr int tileSize = 128;
constexpr int tileMarginPixels = 32; // logical pixels
constexpr int maxTileHeight = 2048;
// A drawing held apart to be drawn whole is at most this wide and high, in device pixels;
// up to smallApartSide it is drawn in an image kept for the purpose.
constexpr int maxApartSide = 4096;
constexpr int smallApartSide = 256;

bool recordNewBoxes = false;

// Where a child of the box lies at 100%, in logical pixels of the inside.
constexpr char unzoomedGeometry[] = "teilerUnzoomedGeometry";

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
    dropTiles();
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
    m_layouts.clear();
    dropTiles();
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

// The picture is drawn at its size at 100%; the zoom enlarges the box and what it shows.
QSizeF PictureBox::pictureSize() const {
    return insideSize() / m_zoom;
}

double PictureBox::pixelsPerUnitX() const {
    return m_scaled ? pictureSize().width() / (m_sx2 - m_sx1) : 1.0 / Twips::perPixel;
}

double PictureBox::pixelsPerUnitY() const {
    return m_scaled ? pictureSize().height() / (m_sy2 - m_sy1) : 1.0 / Twips::perPixel;
}

QPointF PictureBox::atPicture(double x, double y) const {
    if (!m_scaled)
        return QPointF(x / Twips::perPixel, y / Twips::perPixel);
    return QPointF((x - m_sx1) * pixelsPerUnitX(), (y - m_sy1) * pixelsPerUnitY());
}

QPointF PictureBox::toPixel(double x, double y) const {
    return atPicture(x, y) * m_zoom;
}

QPointF PictureBox::toUser(const QPointF& pixel) const {
    const QPointF at = pixel / m_zoom;
    if (!m_scaled)
        return at * Twips::perPixel;
    return QPointF(m_sx1 + at.x() / pixelsPerUnitX(), m_sy1 + at.y() / pixelsPerUnitY());
}

void PictureBox::setZoom(double zoom) {
    if (!(zoom > 0) || zoom == m_zoom)
        return;
    const int b = borderWidth();
    // The size at 100% as it was when the zoom left it, unless the box was resized since: steps
    // from zoom to zoom do not add up their roundings.
    const QSize inside = insideSize().toSize();
    if (m_zoom == 1 || inside != (QSizeF(m_unzoomed) * m_zoom).toSize())
        m_unzoomed = (insideSize() / m_zoom).toSize();
    const QSizeF picture(m_unzoomed);
    const double before = std::exchange(m_zoom, zoom);
    // Children keep their place on the picture: where they lay at 100%, or where moveChild has
    // placed them since.
    QVector<std::pair<QWidget*, QRectF>> placed;
    for (QObject* object : children()) {
        if (!object->isWidgetType())
            continue;
        auto* child = static_cast<QWidget*>(object);
        QVariant unzoomed = child->property(unzoomedGeometry);
        if (before == 1 || !unzoomed.isValid()) {
            unzoomed = QRectF(QPointF(child->pos() - QPoint(b, b)) / before,
                              QSizeF(child->size()) / before);
            child->setProperty(unzoomedGeometry, unzoomed);
        }
        placed.append({child, unzoomed.toRectF()});
    }
    resize(static_cast<int>(std::lround(picture.width() * zoom)) + 2 * b,
           static_cast<int>(std::lround(picture.height() * zoom)) + 2 * b);
    for (const auto& [child, at] : placed)
        child->setGeometry(b + static_cast<int>(std::lround(at.x() * zoom)),
                           b + static_cast<int>(std::lround(at.y() * zoom)),
                           static_cast<int>(std::lround(at.width() * zoom)),
                           static_cast<int>(std::lround(at.height() * zoom)));
    update();
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
    QVariant unzoomed = child->property(unzoomedGeometry);
    if (unzoomed.isValid()) {
        QRectF at = unzoomed.toRectF();
        if (left)
            at.moveLeft(atPicture(*left, m_scaled ? m_sy1 : 0).x());
        if (top)
            at.moveTop(atPicture(m_scaled ? m_sx1 : 0, *top).y());
        child->setProperty(unzoomedGeometry, at);
    }
}

double PictureBox::childLeft(const QWidget* child) {
    return child->property("Left").toDouble();
}

double PictureBox::childTop(const QWidget* child) {
    return child->property("Top").toDouble();
}

qreal PictureBox::pictureRatio() const {
    return std::max<qreal>(1.0, devicePixelRatioF());
}

quint64 PictureBox::fontKeyOf(double size, bool bold) {
    return (static_cast<quint64>(std::llround(size * 100)) << 1) | (bold ? 1 : 0);
}

const PictureBox::FontEntry& PictureBox::fontEntry(double size, bool bold) const {
    const quint64 key = fontKeyOf(size, bold);
    auto found = m_fonts.constFind(key);
    if (found != m_fonts.constEnd())
        return *found;
    QFont font = m_fontBase;
    font.setPointSizeF(size > 0 ? size : 1);
    font.setBold(bold);
    // Plain pixels, no blending with what lies below: text printed again in the back colour at
    // the same place then erases it completely.
    font.setStyleStrategy(QFont::NoAntialias);
    QImage probe(1, 1, QImage::Format_RGB32);
    probe.setDotsPerMeterX(dotsPerMeter96);
    probe.setDotsPerMeterY(dotsPerMeter96);
    const QFontMetricsF metrics(font, &probe);
    return *m_fonts.insert(key, FontEntry{font, metrics.ascent(), metrics.height(),
                                          std::max(metrics.maxWidth(), metrics.height())});
}

// Charts write the same few hundred numbers again and again: each text is laid out once per font.
const QStaticText& PictureBox::layoutOf(const FontEntry& entry, double size, bool bold,
                                        const QString& text) const {
    if (m_layouts.size() > 20000)
        m_layouts.clear();
    const auto key = qMakePair(fontKeyOf(size, bold), text);
    auto layout = m_layouts.find(key);
    if (layout == m_layouts.end()) {
        QStaticText prepared(text);
        prepared.setTextFormat(Qt::PlainText);
        prepared.prepare(QTransform(), entry.font);
        layout = m_layouts.insert(key, prepared);
    }
    return *layout;
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

void PictureBox::markDirty(const QRectF& pictureRect) {
    const int b = borderWidth();
    m_dirty |= QRectF(pictureRect.topLeft() * m_zoom, pictureRect.size() * m_zoom).translated(b, b);
    if (!m_repaintTimer.isActive())
        m_repaintTimer.start(qMax<qint64>(0, frameMilliseconds - m_sinceRepaint.elapsed()));
}

void PictureBox::flushDirty() {
    if (!m_dirty.isEmpty())
        update(m_dirty.toAlignedRect().adjusted(-2, -2, 2, 2));
    m_dirty = QRectF();
    m_sinceRepaint.restart();
}

// How far a drawing reaches, generously: a tile it does not reach it leaves untouched.
QRect PictureBox::extentOf(const Drawing& d) const {
    const QPointF a = atPicture(d.x1, d.y1);
    QRectF reach;
    switch (d.kind) {
    case Drawing::Kind::Line: {
        const QRectF box = QRectF(a, atPicture(d.x2, d.y2)).normalized();
        reach = box.adjusted(-d.width - 1, -d.width - 1, d.width + 1, d.width + 1);
        break;
    }
    case Drawing::Kind::Circle: {
        const double r = d.x2 * std::fabs(pixelsPerUnitX()) + d.width + 1;
        reach = QRectF(a.x() - r, a.y() - r, 2 * r, 2 * r);
        break;
    }
    case Drawing::Kind::PSet: {
        const double size = qMax(1, d.width);
        reach = QRectF(a.x() - size / 2 - 1, a.y() - size / 2 - 1, size + 2, size + 2);
        break;
    }
    case Drawing::Kind::Print: {
        // No wider than its characters at the font's widest advance: the text need not be laid
        // out until it is shown.
        const FontEntry& entry = fontEntry(d.fontSize, d.bold);
        reach = QRectF(a.x() - 2, a.y() - 2, d.text.size() * entry.maxWidth + entry.height + 4,
                       entry.height + 4);
        break;
    }
    }
    // Far outside the picture (a stroke dragged off the box) the reach stays a valid rectangle.
    constexpr double limit = 1 << 28;
    reach &= QRectF(-limit, -limit, 2 * limit, 2 * limit);
    return reach.toAlignedRect();
}

// A resized box: the kept drawings reach elsewhere now.
void PictureBox::refreshExtents() {
    removeCovered();
    m_extentsSize = pictureSize();
    for (qsizetype i = 0; i < m_drawings.size(); ++i)
        m_extents[i] = extentOf(m_drawings[i]);
    dropTiles();
}

void PictureBox::keep(Drawing drawing) {
    if (m_extentsSize != pictureSize())
        refreshExtents();
    if (m_serials.size() != m_drawings.size() || m_shapes.size() > 2 * m_drawings.size() + 4096)
        indexShapes();
    const size_t shape = shapeOf(drawing);
    const auto known = m_shapes.find(shape);
    if (known == m_shapes.end()) {
        m_shapes.emplace(shape, m_nextSerial);
    } else {
        const quint64 earlier = std::exchange(*known, m_nextSerial);
        // A highlighter lets what lies under it show through: it covers nothing.
        if (qAlpha(drawing.color) == 255 && !drawing.highlight)
            dropCovered(earlier, drawing);
    }
    m_serials.append(m_nextSerial++);
    m_extents.append(extentOf(drawing));
    m_drawings.append(std::move(drawing));
    markDirty(m_extents.constLast());
    if (2 * m_covered.size() > m_drawings.size())
        removeCovered();
}

// Everything that decides which pixels a drawing covers: all but its colour. And its stroke: a
// segment that exactly covers one of another stroke must not take it along when it is erased.
// Worked out for every drawing kept, so in place: the texts are short.
size_t PictureBox::shapeOf(const Drawing& d) {
    quint64 h = static_cast<quint64>(d.kind) | static_cast<quint64>(d.mode) << 8 |
                static_cast<quint64>(d.bold) << 16 | static_cast<quint64>(d.highlight) << 24 |
                static_cast<quint64>(d.width) << 32;
    h ^= static_cast<quint64>(d.stroke) * 0x9e3779b97f4a7c15ULL;
    const auto mix = [&h](quint64 v) { h = (h ^ v) * 0x100000001b3ULL + (h >> 29); };
    for (const double v : {d.x1, d.y1, d.x2, d.y2, d.fontSize})
        mix(std::bit_cast<quint64>(v));
    for (const QChar c : d.text)
        mix(c.unicode());
    return static_cast<size_t>(h ^ (h >> 32));
}

bool PictureBox::sameShape(const Drawing& a, const Drawing& b) {
    return a.kind == b.kind && a.mode == b.mode && a.x1 == b.x1 && a.y1 == b.y1 && a.x2 == b.x2 &&
           a.y2 == b.y2 && a.width == b.width && a.fontSize == b.fontSize && a.bold == b.bold &&
           a.text == b.text && a.stroke == b.stroke && a.highlight == b.highlight;
}

// Numbers are never given twice, so that the shapes of drawings gone from the list (by Cls, say)
// find nothing; they are cleared out here once they are many.
void PictureBox::indexShapes() {
    removeCovered();
    m_serials.resize(m_drawings.size());
    std::iota(m_serials.begin(), m_serials.end(), m_nextSerial);
    m_nextSerial += m_serials.size();
    m_shapes.clear();
    m_shapes.reserve(m_drawings.size());
    for (qsizetype i = 0; i < m_drawings.size(); ++i)
        m_shapes.insert(shapeOf(m_drawings[i]), m_serials[i]);
}

// Drawn without smoothing, an opaque drawing covers exactly the pixels that an earlier drawing of
// the same shape covers, and as it comes later it paints over all of them whatever lies between:
// the earlier one leaves the list, and the picture stays the same pixel for pixel. A chart drawn
// again thus keeps the list as long as it was. Taking each out of the middle of the list at once
// would cost a chart time in proportion to its length squared: they stay in place, undrawn, until
// the list is read or half of it is covered.
void PictureBox::dropCovered(quint64 serial, const Drawing& cover) {
    const auto at = std::lower_bound(m_serials.cbegin(), m_serials.cend(), serial);
    if (at == m_serials.cend() || *at != serial)
        return;
    const qsizetype index = at - m_serials.cbegin();
    if (!sameShape(m_drawings[index], cover))
        return; // two shapes with one hash: the earlier stays
    const auto place = std::lower_bound(m_covered.cbegin(), m_covered.cend(), index);
    if (place != m_covered.cend() && *place == index)
        return;
    const qsizetype before = place - m_covered.cbegin();
    m_covered.insert(before, index);
    m_extents[index] = QRect();
    tellAboutToRemove(index - before, Drawing(m_drawings[index]));
}

// A tile that has drawn covered drawings draws the later ones over them as it catches up: it only
// counts as many drawings less.
void PictureBox::removeCovered() {
    if (m_covered.isEmpty())
        return;
    auto next = m_covered.cbegin();
    qsizetype to = *next;
    for (qsizetype from = to; from < m_drawings.size(); ++from) {
        if (next != m_covered.cend() && *next == from) {
            ++next;
            continue;
        }
        m_drawings[to] = std::move(m_drawings[from]);
        m_extents[to] = m_extents[from];
        m_serials[to] = m_serials[from];
        ++to;
    }
    m_drawings.resize(to);
    m_extents.resize(to);
    m_serials.resize(to);
    for (Tile& tile : m_tiles)
        tile.drawnUpTo -= std::lower_bound(m_covered.cbegin(), m_covered.cend(), tile.drawnUpTo) -
                          m_covered.cbegin();
    m_covered.clear();
}

const QVector<PictureBox::Drawing>& PictureBox::drawings() const {
    const_cast<PictureBox*>(this)->removeCovered();
    return m_drawings;
}

// The images of dropped tiles are kept for the next tiles, while they have the same size: a
// chart that starts by clearing the box then draws into memory that is already there.
void PictureBox::dropTiles() {
    for (Tile& tile : m_tiles)
        if (!tile.image.isNull())
            m_spareTiles.append(std::move(tile.image));
    m_tiles.clear();
    m_firstShown.clear();
}

void PictureBox::replaceDrawings(qsizetype keepCount, const QVector<Drawing>& tail) {
    removeCovered();
    keepCount = std::clamp<qsizetype>(keepCount, 0, m_drawings.size());
    if (keepCount < m_drawings.size() || !tail.isEmpty())
        m_serials.clear();
    m_drawings.resize(keepCount);
    m_extents.resize(keepCount);
    m_drawings.append(tail);
    m_extentsSize = pictureSize();
    for (qsizetype i = 0; i < m_drawings.size(); ++i) {
        if (i < keepCount && i < m_extents.size())
            continue;
        m_extents.append(extentOf(m_drawings[i]));
    }
    dropTiles();
    markDirty(QRectF(QPointF(0, 0), pictureSize()));
}

PictureBox::Settings PictureBox::settings() const {
    return {CurrentX, CurrentY, ForeColor.rgb(), DrawWidth, FontSize, FontBold};
}

void PictureBox::setSettings(const Settings& settings) {
    CurrentX = settings.currentX;
    CurrentY = settings.currentY;
    ForeColor = QColor::fromRgb(settings.foreColor);
    DrawWidth = settings.drawWidth;
    FontSize = settings.fontSize;
    FontBold = settings.fontBold;
}

void PictureBox::Cls() {
    DrawCall call;
    call.op = QStringLiteral("Cls");
    record(call, ForeColor);
    emit aboutToClear();
    m_drawings.clear();
    m_extents.clear();
    m_serials.clear();
    m_covered.clear();
    dropTiles();
    CurrentX = m_scaled ? m_sx1 : 0;
    CurrentY = m_scaled ? m_sy1 : 0;
    markDirty(QRectF(QPointF(0, 0), pictureSize()));
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
    Drawing d;
    d.kind = Drawing::Kind::Line;
    d.mode = mode;
    d.x1 = x1;
    d.y1 = y1;
    d.x2 = x2;
    d.y2 = y2;
    d.color = ink.rgb();
    d.width = DrawWidth;
    keep(std::move(d));
    CurrentX = x2;
    CurrentY = y2;
}

void PictureBox::Circle(double x, double y, double radius) {
    DrawCall call;
    call.op = QStringLiteral("Circle");
    call.x1 = x;
    call.y1 = y;
    call.radius = radius;
    record(call, ForeColor);
    Drawing d;
    d.kind = Drawing::Kind::Circle;
    d.x1 = x;
    d.y1 = y;
    d.x2 = radius;
    d.color = ForeColor.rgb();
    d.width = DrawWidth;
    keep(std::move(d));
    CurrentX = x;
    CurrentY = y;
}

void PictureBox::PSet(double x, double y) {
    DrawCall call;
    call.op = QStringLiteral("PSet");
    call.x1 = x;
    call.y1 = y;
    record(call, ForeColor);
    Drawing d;
    d.kind = Drawing::Kind::PSet;
    d.x1 = x;
    d.y1 = y;
    d.color = ForeColor.rgb();
    d.width = DrawWidth;
    keep(std::move(d));
    CurrentX = x;
    CurrentY = y;
}

void PictureBox::Print(const QString& text) {
    DrawCall call;
    call.op = QStringLiteral("Print");
    call.x1 = CurrentX;
    call.y1 = CurrentY;
    call.text = text;
    record(call, ForeColor);
    const FontEntry& entry = currentFont();
    Drawing d;
    d.kind = Drawing::Kind::Print;
    d.x1 = CurrentX;
    d.y1 = CurrentY;
    d.color = ForeColor.rgb();
    d.fontSize = FontSize;
    d.bold = FontBold;
    d.text = text;
    keep(std::move(d));
    CurrentY += entry.height / pixelsPerUnitY();
    CurrentX = m_scaled ? m_sx1 : 0;
}

void PictureBox::Print(double value) {
    Print(NumberText::of(value) + QLatin1Char(' '));
}

void PictureBox::drawStroke(const Drawing& segment) {
    DrawCall call;
    call.op = QStringLiteral("Line");
    call.x1 = segment.x1;
    call.y1 = segment.y1;
    call.x2 = segment.x2;
    call.y2 = segment.y2;
    record(call, QColor::fromRgb(segment.color));
    if (m_recording)
        m_recorded.last().drawWidth = segment.width;
    CurrentX = segment.x2;
    CurrentY = segment.y2;
    keep(segment);
}

qsizetype PictureBox::eraseStrokes(const QSet<quint32>& strokes) {
    removeCovered();
    qsizetype to = 0;
    for (qsizetype from = 0; from < m_drawings.size(); ++from) {
        const Drawing& d = m_drawings[from];
        if (d.stroke != 0 && strokes.contains(d.stroke)) {
            // Its index in the list as it is up to then: past the ones taken before it.
            tellAboutToRemove(to, d);
            continue;
        }
        if (to != from) {
            m_drawings[to] = std::move(m_drawings[from]);
            m_extents[to] = m_extents[from];
        }
        ++to;
    }
    const qsizetype erased = m_drawings.size() - to;
    if (erased == 0)
        return 0;
    m_drawings.resize(to);
    m_extents.resize(to);
    m_serials.clear();
    dropTiles();
    markDirty(QRectF(QPointF(0, 0), insideSize()));
    return erased;
}

// The device pixels a box covers: from the pixel its top-left corner falls in to that of its
// bottom-right corner, both included.
QRectF PictureBox::cellsOf(const QRectF& box, qreal ratio) {
    auto cell = [ratio](double v) { return std::floor(v * ratio) / ratio; };
    return QRectF(QPointF(cell(box.left()), cell(box.top())),
                  QPointF(cell(box.right()) + 1, cell(box.bottom()) + 1));
}

// A filled box, or a thin horizontal or vertical line, which covers exactly the pixels of its
// cells too: filling is faster, and exact wherever an image's edge cuts it.
bool PictureBox::filled(const Drawing& d, qreal ratio) const {
    if (d.kind != Drawing::Kind::Line)
        return false;
    if (d.mode == LineMode::FilledBox)
        return true;
    if (d.mode != LineMode::Plain || d.width != 1)
        return false;
    const QRectF cells =
        cellsOf(QRectF(atPicture(d.x1, d.y1), atPicture(d.x2, d.y2)).normalized(), ratio);
    return cells.width() < 1.5 || cells.height() < 1.5;
}

void PictureBox::paintDrawing(QPainter& p, const Drawing& d, qreal ratio) const {
    const QColor ink = QColor::fromRgb(d.color);
    switch (d.kind) {
    case Drawing::Kind::Line: {
        // Every point starts at the device pixel it falls in and reaches one logical pixel on (one
        // device pixel at ratio 1, two at ratio 2): a line at y runs through the middle of that
        // stretch and a filled box covers the stretches of both its corners, so a box that ends
        // where a line lies covers that line and not the row beyond it, at every pixel ratio.
        const QPointF a = atPicture(d.x1, d.y1);
        const QPointF b = atPicture(d.x2, d.y2);
        auto cell = [ratio](double v) { return std::floor(v * ratio) / ratio; };
        auto centre = [&](const QPointF& q) {
            return QPointF(cell(q.x()) + 0.5, cell(q.y()) + 0.5);
        };
        const QRectF box = QRectF(a, b).normalized();
        if (filled(d, ratio)) {
            p.fillRect(cellsOf(box, ratio), ink);
        } else {
            p.setPen(QPen(ink, d.width, Qt::SolidLine, Qt::RoundCap, Qt::MiterJoin));
            p.setBrush(Qt::NoBrush);
            // A highlighter keeps the darker of its colour and what lies under it, channel by
            // channel: the numbers under it stay as dark as they were, and where its segments
            // overlap it is no darker than elsewhere.
            if (d.highlight)
                p.setCompositionMode(QPainter::CompositionMode_Darken);
            if (d.mode == LineMode::Box)
                p.drawRect(QRectF(centre(box.topLeft()), centre(box.bottomRight())));
            else
                p.drawLine(centre(a), centre(b));
            if (d.highlight)
                p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        }
        break;
    }
    case Drawing::Kind::Circle: {
        // Plain pixels as for text: drawing the same circle again leaves the picture as it was.
        const double r = d.x2 * std::fabs(pixelsPerUnitX());
        p.setPen(QPen(ink, d.width));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(atPicture(d.x1, d.y1), r, r);
        break;
    }
    case Drawing::Kind::PSet: {
        const QPointF at = atPicture(d.x1, d.y1);
        const double size = qMax(1, d.width);
        p.fillRect(QRectF(at.x() - size / 2, at.y() - size / 2, size, size), ink);
        break;
    }
    case Drawing::Kind::Print: {
        const FontEntry& entry = fontEntry(d.fontSize, d.bold);
        const QStaticText& layout = layoutOf(entry, d.fontSize, d.bold, d.text);
        const QPointF at = atPicture(d.x1, d.y1);
        if (p.font() != entry.font)
            p.setFont(entry.font);
        if (p.pen().color() != ink || p.pen().widthF() != 1 || p.pen().style() != Qt::SolidLine)
            p.setPen(ink);
        p.drawStaticText(at, layout);
        break;
    }
    }
}

// Whether the drawing is drawn in an image of its own and copied in. Qt draws a text that starts
// left of or above the image it draws in otherwise than the same text inside it (the whole
// text, not only the glyphs that cross). Circles and slanted lines come out with a pixel more or
// less here and there depending on where in an image they are drawn and where its edges cut
// them; drawn apart, each always starts at the same device pixel of its own image, so every tile
// and the whole picture show it alike. Fills are exact wherever they are drawn.
bool PictureBox::drawnApart(const Drawing& d, const QRectF& part, qreal ratio) const {
    switch (d.kind) {
    case Drawing::Kind::Print: {
        const QPointF at = atPicture(d.x1, d.y1);
        return at.x() < part.left() || at.y() < part.top();
    }
    case Drawing::Kind::Circle:
        return true;
    case Drawing::Kind::Line:
        return !filled(d, ratio);
    case Drawing::Kind::PSet:
        return false;
    }
    return false;
}

// Draws the drawing into an image of its own that holds it whole and copies its pixels to where
// they belong in target. Drawn without smoothing, every pixel of a drawing is plain ink, so this
// gives what a larger picture holding the drawing whole would show.
bool PictureBox::drawApart(QImage& target, const QPoint& origin, const Drawing& d,
                           const QRect& extent, qreal ratio) const {
    const QTransform world = shifted(origin, ratio);
    const QRect device =
        world.mapRect(QRectF(extent)).adjusted(-2, -2, 2, 2).toAlignedRect().adjusted(-1, -1, 1, 1);
    const QRect scaled(QPoint(static_cast<int>(std::floor(device.left() * ratio)),
                              static_cast<int>(std::floor(device.top() * ratio))),
                       QPoint(static_cast<int>(std::ceil(device.right() * ratio)),
                              static_cast<int>(std::ceil(device.bottom() * ratio))));
    if (scaled.width() > maxApartSide || scaled.height() > maxApartSide)
        return false; // too large to hold apart: drawn cut after all
    // Small drawings, texts above all, share one image that is cleared only as far as needed.
    QImage local;
    const bool small = scaled.width() <= smallApartSide && scaled.height() <= smallApartSide;
    QImage& apart = small ? m_apart : local;
    if (!small || apart.isNull() || !qFuzzyCompare(apart.devicePixelRatio(), ratio)) {
        apart = QImage(small ? QSize(smallApartSide, smallApartSide) : scaled.size(),
                       QImage::Format_ARGB32_Premultiplied);
        if (apart.isNull())
            return false;
        apart.setDotsPerMeterX(dotsPerMeter96);
        apart.setDotsPerMeterY(dotsPerMeter96);
        apart.setDevicePixelRatio(ratio);
    }
    for (int y = 0; y < scaled.height(); ++y)
        std::memset(apart.scanLine(y), 0, static_cast<std::size_t>(scaled.width()) * 4);
    {
        QPainter q(&apart);
        q.setWorldTransform(shifted(origin + scaled.topLeft(), ratio));
        paintDrawing(q, d, ratio);
    }
    const int left = scaled.left();
    const int top = scaled.top();
    // Drawn on nothing, a highlighter's pixels are its plain colour: they darken the target here.
    const auto darker = [](QRgb a, QRgb b) {
        return qRgb(std::min(qRed(a), qRed(b)), std::min(qGreen(a), qGreen(b)),
                    std::min(qBlue(a), qBlue(b)));
    };
    for (int y = std::max(0, -top); y < scaled.height() && top + y < target.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(apart.constScanLine(y));
        auto* to = reinterpret_cast<QRgb*>(target.scanLine(top + y));
        for (int x = std::max(0, -left); x < scaled.width() && left + x < target.width(); ++x)
            if (qAlpha(from[x]) != 0)
                to[left + x] = d.highlight ? darker(from[x], to[left + x]) : from[x];
    }
    return true;
}

bool PictureBox::endsLeftOf(const Drawing& d, double left) const {
    if (d.kind != Drawing::Kind::Print)
        return false;
    const FontEntry& entry = fontEntry(d.fontSize, d.bold);
    const double width = layoutOf(entry, d.fontSize, d.bold, d.text).size().width();
    return atPicture(d.x1, d.y1).x() + width + entry.height / 2 < left;
}

// The translation that brings the device pixel `device` of the whole picture to the top-left
// pixel of an image drawn at ratio: the painter multiplies it by the ratio, and it comes out
// exactly as whole pixels, so that every drawing falls on the same pixels of the image as of the
// whole picture, at a ratio like 2.5 too, where device / ratio is no exact number.
QTransform PictureBox::shifted(const QPoint& device, qreal ratio) {
    const auto exact = [ratio](int pixels) {
        double shift = -pixels / ratio;
        for (int i = 0; i < 8 && shift * ratio != -pixels; ++i)
            shift = std::nextafter(shift, shift * ratio > -pixels ? -HUGE_VAL : HUGE_VAL);
        return shift;
    };
    return QTransform::fromTranslate(exact(device.x()), exact(device.y()));
}

// Draws the drawings from `from` on that reach into target, whose top-left pixel is the device
// pixel origin of the inside, as one picture of the whole inside would show them there.
void PictureBox::drawInto(QImage& target, const QPoint& origin, qsizetype from) const {
    const qreal ratio = target.devicePixelRatio();
    const QRectF part(QPointF(origin) / ratio, QSizeF(target.size()) / ratio);
    const QRect reach = part.toAlignedRect().adjusted(-1, -1, 1, 1);
    const QTransform world = shifted(origin, ratio);
    QPainter p(&target);
    p.setWorldTransform(world);
    for (qsizetype i = from; i < m_drawings.size(); ++i) {
        if (!m_extents[i].intersects(reach))
            continue;
        // The painter draws straight into the image's pixels, so pixels copied in beside it
        // take their place in the order of the drawings.
        const bool apart = drawnApart(m_drawings[i], part, ratio);
        // A drawing's reach is an estimate; a text that ends left of the target, laid out, is
        // not drawn at all rather than drawn apart.
        if (apart && endsLeftOf(m_drawings[i], part.left()))
            continue;
        if (!apart || !drawApart(target, origin, m_drawings[i], m_extents[i], ratio))
            paintDrawing(p, m_drawings[i], ratio);
    }
}

quint64 PictureBox::tileKey(int column, int row) {
    return (static_cast<quint64>(static_cast<quint32>(row)) << 32) | static_cast<quint32>(column);
}

// Makes image a tile's size and gives it the back colour where it is shown; false when there is
// no memory for it.
bool PictureBox::clearTileImage(QImage& image, qreal ratio) const {
    const QSize size(m_tileMargin + tileSize, m_tileHeight);
    if (image.size() != size)
        image = QImage(size, QImage::Format_RGB32);
    if (image.isNull())
        return false;
    image.setDotsPerMeterX(dotsPerMeter96);
    image.setDotsPerMeterY(dotsPerMeter96);
    image.setDevicePixelRatio(ratio);
    // The margin is drawn in but never shown: only the shown part needs the back colour.
    const QRgb back = m_back.rgb();
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        std::fill(line + m_tileMargin, line + m_tileMargin + tileSize, back);
    }
    return true;
}

PictureBox::Tile& PictureBox::tileAt(int column, int row, qreal ratio) {
    Tile& tile = m_tiles[tileKey(column, row)];
    tile.lastUse = m_paintCount;
    if (tile.image.isNull()) {
        while (!m_spareTiles.isEmpty() && tile.image.isNull()) {
            QImage spare = m_spareTiles.takeLast();
            if (spare.size() == QSize(m_tileMargin + tileSize, m_tileHeight))
                tile.image = std::move(spare);
        }
        if (!clearTileImage(tile.image, ratio))
            return tile; // out of memory: this square stays unpainted rather than fail
        tile.drawnUpTo = 0;
    }
    if (tile.drawnUpTo < m_drawings.size()) {
        drawInto(tile.image, QPoint(column * tileSize - m_tileMargin, row * m_tileHeight),
                 tile.drawnUpTo);
        tile.drawnUpTo = m_drawings.size();
    }
    return tile;
}

// The pixels of a tile to copy to the screen, or nullptr. A tile is kept once its square is shown
// a second time; shown for the first time, it is drawn in one image all boxes share, so that a
// part that is never shown again (at start-up, most of them) costs no memory of its own.
const QImage* PictureBox::tileImage(int column, int row, qreal ratio) {
    const quint64 key = tileKey(column, row);
    const auto firstShown = m_firstShown.constFind(key);
    if (m_tiles.contains(key) ||
        (firstShown != m_firstShown.cend() && *firstShown != m_paintCount)) {
        const QImage& image = tileAt(column, row, ratio).image;
        return image.isNull() ? nullptr : &image;
    }
    if (firstShown == m_firstShown.cend())
        m_firstShown.insert(key, m_paintCount);
    static QImage shared;
    if (!clearTileImage(shared, ratio))
        return nullptr;
    drawInto(shared, QPoint(column * tileSize - m_tileMargin, row * m_tileHeight), 0);
    return &shared;
}

// Keeps the tiles in keepDevice and, beyond them, as many of the most recently shown as the
// visible part of the box needs again, so that scrolling back is quick and memory stays bounded.
void PictureBox::trimTiles(const QRect& keepDevice) {
    const qreal screen = pictureRatio();
    const int allRows =
        static_cast<int>(std::ceil(std::ceil(insideSize().height() * screen) / m_tileHeight));
    const int columns = (keepDevice.width() + tileSize - 1) / tileSize + 2;
    const int rows = std::min(allRows, (keepDevice.height() + m_tileHeight - 1) / m_tileHeight + 1);
    const qsizetype budget = std::max(4, columns * std::max(1, rows));
    while (!m_spareTiles.isEmpty() && m_tiles.size() + m_spareTiles.size() > budget)
        m_spareTiles.removeLast();
    if (m_tiles.size() <= budget)
        return;
    QVector<quint64> uses;
    uses.reserve(m_tiles.size());
    for (const Tile& tile : std::as_const(m_tiles))
        uses.append(tile.lastUse);
    std::nth_element(uses.begin(), uses.begin() + (uses.size() - budget), uses.end());
    const quint64 oldestKept = uses[uses.size() - budget];
    for (auto it = m_tiles.begin(); it != m_tiles.end();) {
        if (it->lastUse < oldestKept && it->lastUse != m_paintCount)
            it = m_tiles.erase(it);
        else
            ++it;
    }
}

void PictureBox::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    const int b = borderWidth();
    const QRect inside = rect().adjusted(b, b, -b, -b);
    const QRect exposed = event->rect() & inside;
    if (!exposed.isEmpty()) {
        if (m_drawings.isEmpty()) {
            p.fillRect(exposed, m_back);
        } else {
            // Device pixels of the screen per logical pixel of the box, and per pixel of the
            // picture at 100%: the tiles are drawn at the zoom, as sharp as at 100%.
            const qreal ratio = pictureRatio();
            const qreal drawn = ratio * m_zoom;
            if (m_extentsSize != pictureSize())
                refreshExtents();
            const int fullHeight = static_cast<int>(std::ceil(insideSize().height() * ratio));
            const int tileHeight = fullHeight <= maxTileHeight ? std::max(1, fullHeight) : tileSize;
            if (!qFuzzyCompare(drawn, m_tileRatio) || tileHeight != m_tileHeight) {
                // Left of each tile a margin where a text that starts a little left of the tile
                // is drawn as it is everywhere else; one that starts further left is drawn apart.
                m_tileMargin = static_cast<int>(std::ceil(tileMarginPixels * drawn));
                dropTiles();
                m_tileRatio = drawn;
                m_tileHeight = tileHeight;
            }
            ++m_paintCount;
            // Each tile is copied once for each rectangle of the painted region it meets: clipped
            // to a rectangle its pixels are copied, while a clip of several rectangles (a button
            // lying on the box) has them blended span by span, spread over threads by Qt. The
            // clip is the region's own rectangle, so that at any ratio every pixel of the region
            // is drawn by the tile it falls in, as under one clip for all.
            const QRegion region = event->region() & exposed;
            const QRectF device = QRectF(exposed.translated(-b, -b)).adjusted(0, 0, -0.5, -0.5);
            const int firstColumn = static_cast<int>(std::floor(device.left() * ratio / tileSize));
            const int lastColumn = static_cast<int>(std::floor(device.right() * ratio / tileSize));
            const int firstRow = static_cast<int>(std::floor(device.top() * ratio / m_tileHeight));
            const int lastRow =
                static_cast<int>(std::floor(device.bottom() * ratio / m_tileHeight));
            for (int row = firstRow; row <= lastRow; ++row)
                for (int column = firstColumn; column <= lastColumn; ++column) {
                    const QRectF target(b + column * tileSize / ratio,
                                        b + row * m_tileHeight / ratio, tileSize / ratio,
                                        m_tileHeight / ratio);
                    const QRect reach = target.toAlignedRect();
                    if (!region.intersects(reach))
                        continue;
                    const QImage* image = tileImage(column, row, drawn);
                    if (!image)
                        continue;
                    for (const QRect& part : region) {
                        if (!part.intersects(reach))
                            continue;
                        p.setClipRect(part);
                        p.drawImage(target, *image,
                                    QRectF(m_tileMargin, 0, tileSize, m_tileHeight));
                    }
                }
            p.setClipping(false);
            const QRect visible = visibleRegion().boundingRect() & inside;
            trimTiles(QRectF(QRectF(visible).topLeft() * ratio, QSizeF(visible.size()) * ratio)
                          .toAlignedRect());
        }
    }
    if (b > 0) {
        p.setPen(QPen(palette().color(QPalette::WindowText), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

QImage PictureBox::image() const {
    const QSizeF inside = pictureSize();
    qreal ratio = pictureRatio() * m_zoom;
    // A very large zoom on a high-resolution screen would ask gigabytes for the wide canvas;
    // above maxImagePixels the picture is drawn at a lower ratio.
    const double pixelsAtOne = std::max(1.0, inside.width() * inside.height());
    if (pixelsAtOne * ratio * ratio > maxImagePixels)
        ratio = std::max(1.0, std::floor(std::sqrt(maxImagePixels / pixelsAtOne) * 4) / 4);
    // What a zoom leaves beyond whole pixels is a rounding of the box's size, no pixel more.
    constexpr double rounding = 1e-6;
    return pictureOf(
        QRect(QPoint(0, 0), QSize(static_cast<int>(std::ceil(inside.width() * ratio - rounding)),
                                  static_cast<int>(std::ceil(inside.height() * ratio - rounding)))
                                .expandedTo(QSize(1, 1))),
        ratio);
}

QImage PictureBox::pictureOf(const QRect& device, qreal ratio) const {
    QImage picture(device.size(), QImage::Format_RGB32);
    if (picture.isNull())
        return picture;
    picture.setDotsPerMeterX(dotsPerMeter96);
    picture.setDotsPerMeterY(dotsPerMeter96);
    picture.setDevicePixelRatio(ratio);
    picture.fill(m_back);
    if (!m_drawings.isEmpty()) {
        if (m_extentsSize != pictureSize())
            const_cast<PictureBox*>(this)->refreshExtents();
        drawInto(picture, device.topLeft(), 0);
    }
    return picture;
}

void PictureBox::paintPicture(QPainter& painter, const QRect& part) const {
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QRect device =
        QRectF(QPointF(part.topLeft()) * ratio, QSizeF(part.size()) * ratio).toAlignedRect();
    painter.drawImage(QRectF(part), pictureOf(device, ratio * m_zoom));
}

void PictureBox::paintDrawings(QPainter& painter, const QRectF& part) const {
    painter.save();
    painter.setClipRect(part, Qt::IntersectClip);
    painter.fillRect(part, m_back);
    // The drawings are laid out on the picture at 100%; the zoom only enlarges it.
    painter.scale(m_zoom, m_zoom);
    const QRectF picturePart(part.topLeft() / m_zoom, part.size() / m_zoom);
    if (m_extentsSize != pictureSize())
        const_cast<PictureBox*>(this)->replaceDrawings(m_drawings.size(), {});
    const QRect reach = picturePart.toAlignedRect().adjusted(-1, -1, 1, 1);
    // Fonts are sized for 96 dots per inch, as on the screen.
    const int dpi = painter.device() ? painter.device()->logicalDpiY() : 96;
    for (qsizetype i = 0; i < m_drawings.size(); ++i) {
        if (!m_extents[i].intersects(reach))
            continue;
        const Drawing& d = m_drawings[i];
        if (d.kind != Drawing::Kind::Print) {
            paintDrawing(painter, d, 1.0);
            continue;
        }
        const FontEntry& entry = fontEntry(d.fontSize, d.bold);
        QFont font = entry.font;
        font.setStyleStrategy(QFont::PreferDefault);
        font.setPointSizeF(font.pointSizeF() * 96.0 / std::max(1, dpi));
        painter.setFont(font);
        painter.setPen(QColor::fromRgb(d.color));
        painter.drawText(atPicture(d.x1, d.y1) + QPointF(0, entry.ascent), d.text);
    }
    painter.restore();
}

void PictureBox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
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

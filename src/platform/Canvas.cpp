// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Canvas.h"

#include <QPagedPaintDevice>
#include <QPolygonF>
#include <algorithm>
#include <array>

namespace {

std::uint32_t toPixel(TColor color)
{
    const TColor rgb = colorToRgb(color);
    return 0xFF000000u | ((std::uint32_t(rgb) & 0xFFu) << 16) | (std::uint32_t(rgb) & 0xFF00u) |
           ((std::uint32_t(rgb) >> 16) & 0xFFu);
}

TColor fromPixel(std::uint32_t pixel)
{
    return rgbColor(int((pixel >> 16) & 0xFF), int((pixel >> 8) & 0xFF), int(pixel & 0xFF));
}

bool isRasterFormat(QImage::Format format)
{
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
           format == QImage::Format_ARGB32_Premultiplied;
}

// Dash patterns of one-pixel pens, one entry per pixel along the line's major axis: runs of
// pixels drawn and left out, starting with a drawn run.
struct DashPattern
{
    std::array<std::uint8_t, 24> bits{};
    int length = 0;
    QList<qreal> runs;
};

DashPattern makePattern(std::initializer_list<int> runs)
{
    DashPattern pattern;
    bool on = true;
    for (int run : runs) {
        for (int i = 0; i < run; ++i)
            pattern.bits[std::size_t(pattern.length++)] = on ? 1 : 0;
        pattern.runs.append(run);
        on = !on;
    }
    return pattern;
}

const DashPattern *patternFor(TPenStyle style)
{
    static const DashPattern dash = makePattern({18, 6});
    static const DashPattern dot = makePattern({3, 3});
    static const DashPattern dashDot = makePattern({9, 6, 3, 6});
    static const DashPattern dashDotDot = makePattern({9, 3, 3, 3, 3, 3});
    switch (style) {
    case Gfx::psDash:
        return &dash;
    case Gfx::psDot:
        return &dot;
    case Gfx::psDashDot:
        return &dashDot;
    case Gfx::psDashDotDot:
        return &dashDotDot;
    default:
        return nullptr;
    }
}

RasterOp ropFor(TPenMode mode)
{
    switch (mode) {
    case Gfx::pmXor:
        return RasterOp::Xor;
    case Gfx::pmNotXor:
        return RasterOp::NotXor;
    case Gfx::pmNot:
        return RasterOp::Not;
    case Gfx::pmMask:
        return RasterOp::And;
    case Gfx::pmMerge:
        return RasterOp::Or;
    case Gfx::pmCopy:
    default:
        return RasterOp::Copy;
    }
}

QPainter::CompositionMode compositionFor(RasterOp rop)
{
    switch (rop) {
    case RasterOp::Xor:
        return QPainter::RasterOp_SourceXorDestination;
    case RasterOp::NotXor:
        return QPainter::RasterOp_NotSourceXorDestination;
    case RasterOp::Not:
        return QPainter::RasterOp_NotDestination;
    case RasterOp::And:
        return QPainter::RasterOp_SourceAndDestination;
    case RasterOp::Or:
        return QPainter::RasterOp_SourceOrDestination;
    case RasterOp::Copy:
    default:
        return QPainter::CompositionMode_SourceOver;
    }
}

QPainter::CompositionMode compositionFor(TCopyMode mode)
{
    switch (mode) {
    case cmSrcAnd:
        return QPainter::RasterOp_SourceAndDestination;
    case cmSrcPaint:
        return QPainter::RasterOp_SourceOrDestination;
    case cmSrcInvert:
        return QPainter::RasterOp_SourceXorDestination;
    case cmSrcCopy:
    default:
        return QPainter::CompositionMode_Source;
    }
}

// Pixel centres: QPainter's integer coordinates are pixel corners.
QPointF centre(QPoint point)
{
    return QPointF(point.x() + 0.5, point.y() + 0.5);
}

} // namespace

QRect scaledRect(const QRect &rect, double ratio)
{
    if (ratio == 1.0)
        return rect;
    const long long l = scaledCoordinate(rect.left(), ratio);
    const long long t = scaledCoordinate(rect.top(), ratio);
    const long long r = scaledCoordinate(rect.left() + (long long)rect.width(), ratio);
    const long long b = scaledCoordinate(rect.top() + (long long)rect.height(), ratio);
    return QRect(int(l), int(t), int(r - l), int(b - t));
}

QSize designSize(const QImage &image)
{
    const double ratio = image.devicePixelRatio();
    if (ratio == 1.0)
        return image.size();
    return QSize(int(std::lround(image.width() / ratio)), int(std::lround(image.height() / ratio)));
}

// ---------------------------------------------------------------------------------------------
// Device and state

Canvas::Canvas(QPaintDevice *device)
{
    setDevice(device);
}

Canvas::~Canvas()
{
    if (m_painter.isActive())
        m_painter.end();
}

void Canvas::setDevice(QPaintDevice *device)
{
    if (m_painter.isActive())
        m_painter.end();
    m_device = device;
    m_image = nullptr;
    m_bits = nullptr;
    m_stride = 0;
    m_bounds = QRect();
    m_ratio = 1.0;
    m_scaled = false;
    m_wholeRatio = 0;
    m_painterUse = PainterUse::None;
    m_painterFontSet = false;
    m_metrics.reset();

    if (device) {
        if (device->devType() == QInternal::Image)
            m_image = static_cast<QImage *>(device);
        const bool drawable = m_image ? !m_image->isNull() : device->width() > 0;
        if (drawable && m_painter.begin(device)) {
            m_painter.setRenderHint(QPainter::Antialiasing, false);
            m_painter.setRenderHint(QPainter::TextAntialiasing, false);
            m_painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
            m_bounds = QRect(0, 0, device->width(), device->height());
            if (m_image && m_image->devicePixelRatio() != 1.0) {
                m_ratio = m_image->devicePixelRatio();
                m_bounds = designRect(*m_image);
            }
            if (m_image && isRasterFormat(m_image->format())) {
                m_scaled = m_ratio != 1.0;
                m_wholeRatio = m_ratio == std::floor(m_ratio) ? int(m_ratio) : 0;
                // The painter has made the image's buffer its own; drawing straight into it
                // and through the painter goes to the same pixels.
                m_bits = reinterpret_cast<std::uint32_t *>(m_image->bits());
                m_stride = m_image->bytesPerLine() / 4;
            }
        }
    }
    m_font.SetPixelsPerInch(pixelsPerInchY());
    applyClip();
}

bool Canvas::isPrinter() const
{
    return m_treatAsPrinter || dynamic_cast<QPagedPaintDevice *>(m_device) != nullptr;
}

void Canvas::setTreatAsPrinter(bool printer)
{
    m_treatAsPrinter = printer;
    m_font.SetPixelsPerInch(pixelsPerInchY());
}

int Canvas::pixelsPerInchX() const
{
    return isPrinter() && m_device ? m_device->logicalDpiX() : screenPixelsPerInch;
}

int Canvas::pixelsPerInchY() const
{
    return isPrinter() && m_device ? m_device->logicalDpiY() : screenPixelsPerInch;
}

int Canvas::aspectX() const
{
    // A pixel's width is inversely proportional to the horizontal density.
    return isPrinter() ? pixelsPerInchY() : 36;
}

int Canvas::aspectY() const
{
    return isPrinter() ? pixelsPerInchX() : 36;
}

void Canvas::setTextAlign(TextAlignH horizontal, TextAlignV vertical)
{
    m_alignH = horizontal;
    m_alignV = vertical;
}

void Canvas::setClipRect(const QRect &rect)
{
    m_userClip = rect.normalized();
    applyClip();
}

void Canvas::resetClipRect()
{
    m_userClip.reset();
    applyClip();
}

void Canvas::applyClip()
{
    setDrawingClip(m_userClip ? m_userClip->intersected(m_bounds) : m_bounds);
}

void Canvas::setDrawingClip(const QRect &clip)
{
    m_clip = clip;
    m_deviceClip = m_scaled ? scaledRect(m_clip, m_ratio).intersected(m_image->rect()) : m_clip;
    // An explicit clip rectangle keeps QPainter's raster engine on its fast paths.
    if (m_painter.isActive())
        m_painter.setClipRect(m_clip);
}

const Canvas::ResolvedPen &Canvas::pen()
{
    if (m_penResolved && m_pen == m_resolvedPenFrom)
        return m_resolvedPen;
    ResolvedPen resolved;
    resolved.color = toPixel(m_pen.Color);
    resolved.rop = ropFor(m_pen.Mode);
    resolved.width = std::max(1, m_pen.Width);
    resolved.clear = m_pen.Style == Gfx::psClear;
    // Wide pens draw solid whatever their style.
    if (resolved.width == 1) {
        if (const DashPattern *pattern = patternFor(m_pen.Style)) {
            resolved.pattern = pattern->bits.data();
            resolved.patternLength = pattern->length;
        }
    }
    if (!m_penResolved || m_pen.Style != m_resolvedPenFrom.Style)
        m_styleCounter = 0;
    m_resolvedPenFrom = m_pen;
    m_resolvedPen = resolved;
    m_penResolved = true;
    return m_resolvedPen;
}

const Canvas::ResolvedBrush &Canvas::brush()
{
    if (m_brushResolved && m_brush == m_resolvedBrushFrom)
        return m_resolvedBrush;
    m_resolvedBrush.color = toPixel(m_brush.Color);
    m_resolvedBrush.clear = m_brush.Style == Gfx::bsClear;
    m_resolvedBrushFrom = m_brush;
    m_brushResolved = true;
    return m_resolvedBrush;
}

bool Canvas::opaqueBackground()
{
    switch (m_bkMode) {
    case BkMode::Opaque:
        return true;
    case BkMode::Transparent:
        return false;
    case BkMode::FollowBrush:
    default:
        return m_brush.Style == Gfx::bsSolid;
    }
}

// ---------------------------------------------------------------------------------------------
// Lines and shapes

void Canvas::MoveTo(int x, int y)
{
    m_penPos = QPoint(x, y);
    m_styleCounter = 0;
}

// The box of a run of lines, widened by the pen (round caps reach half a width beyond).
void Canvas::noteLines(std::span<const QPoint> points)
{
    if (!m_drawnBox || points.empty())
        return;
    int l = points[0].x(), r = l, t = points[0].y(), b = t;
    for (const QPoint &point : points) {
        l = std::min(l, point.x());
        r = std::max(r, point.x());
        t = std::min(t, point.y());
        b = std::max(b, point.y());
    }
    const int w = std::max(1, m_pen.Width);
    noteDrawn(QRect(QPoint(l, t), QPoint(r, b)).adjusted(-w, -w, w, w));
}

void Canvas::LineTo(int x, int y)
{
    const QPoint from = m_penPos;
    m_penPos = QPoint(x, y);
    if (m_clip.isEmpty())
        return;
    const ResolvedPen &p = pen();
    if (p.clear)
        return;
    const QPoint ends[2] = {from, m_penPos};
    noteLines(ends);
    if (raster() && p.width == 1) {
        line(from.x(), from.y(), x, y);
        return;
    }
    const QPoint points[2] = {from, m_penPos};
    painterLines(points, false);
}

void Canvas::Polyline(std::span<const QPoint> points)
{
    if (points.size() < 2 || m_clip.isEmpty())
        return;
    const ResolvedPen &p = pen();
    if (p.clear)
        return;
    m_styleCounter = 0;
    noteLines(points);
    if (raster() && p.width == 1) {
        for (std::size_t i = 1; i < points.size(); ++i)
            line(points[i - 1].x(), points[i - 1].y(), points[i].x(), points[i].y());
        return;
    }
    painterLines(points, false);
}

void Canvas::Polygon(std::span<const QPoint> points)
{
    if (points.size() < 2 || m_clip.isEmpty())
        return;
    const ResolvedPen &p = pen();
    const ResolvedBrush &b = brush();
    noteLines(points);
    if (raster()) {
        if (!b.clear)
            polygonFill(points, b.color, p.rop);
        if (p.clear)
            return;
        if (p.width == 1) {
            m_styleCounter = 0;
            const std::size_t n = points.size();
            for (std::size_t i = 0; i < n; ++i) {
                const QPoint &a = points[i];
                const QPoint &c = points[(i + 1) % n];
                line(a.x(), a.y(), c.x(), c.y());
            }
        } else {
            painterLines(points, true);
        }
        return;
    }
    QPolygonF polygon;
    polygon.reserve(qsizetype(points.size()));
    for (const QPoint &point : points)
        polygon.append(centre(point));
    shapePainter(true).drawPolygon(polygon);
}

void Canvas::Rectangle(int l, int t, int r, int b)
{
    if (l > r)
        std::swap(l, r);
    if (t > b)
        std::swap(t, b);
    if (m_clip.isEmpty())
        return;
    const QPoint corners[2] = {{l, t}, {r, b}};
    noteLines(corners);
    const ResolvedPen &p = pen();
    const ResolvedBrush &br = brush();
    if (p.clear) {
        // Without an outline the brush covers one pixel less to the right and below.
        if (br.clear || r - l < 2 || b - t < 2)
            return;
        if (raster())
            fillBox(rectLTRB(l, t, r - 1, b - 1), br.color, p.rop);
        else
            shapePainter(true).fillRect(rectLTRB(l, t, r - 1, b - 1), toQColor(m_brush.Color));
        return;
    }
    if (r == l || b == t)
        return;
    if (raster()) {
        boxOutline(l, t, r, b);
        return;
    }
    QPainter &painter = shapePainter(true);
    const qreal inset = m_pen.Style == Gfx::psInsideFrame ? (p.width - 1) / 2.0 : 0.0;
    painter.drawRect(
        QRectF(l + 0.5 + inset, t + 0.5 + inset, r - l - 1 - 2 * inset, b - t - 1 - 2 * inset));
}

void Canvas::Ellipse(int l, int t, int r, int b)
{
    if (l > r)
        std::swap(l, r);
    if (t > b)
        std::swap(t, b);
    if (m_clip.isEmpty() || r == l || b == t)
        return;
    const QPoint corners[2] = {{l, t}, {r, b}};
    noteLines(corners);
    if (raster()) {
        ellipseRaster(l, t, r, b);
        return;
    }
    const ResolvedPen &p = pen();
    QPainter &painter = shapePainter(true);
    if (p.clear) {
        painter.drawEllipse(QRectF(l, t, r - l - 1, b - t - 1));
        return;
    }
    const qreal inset = m_pen.Style == Gfx::psInsideFrame ? (p.width - 1) / 2.0 : 0.0;
    painter.drawEllipse(
        QRectF(l + 0.5 + inset, t + 0.5 + inset, r - l - 1 - 2 * inset, b - t - 1 - 2 * inset));
}

void Canvas::FillRect(const QRect &rect)
{
    if (m_clip.isEmpty() || rect.isEmpty())
        return;
    const ResolvedBrush &b = brush();
    if (b.clear)
        return;
    noteDrawn(rect);
    if (raster())
        fillBox(rect, b.color, RasterOp::Copy);
    else
        copyPainter().fillRect(rect, toQColor(m_brush.Color));
}

void Canvas::SetPixel(int x, int y, TColor color)
{
    noteDrawn(QRect(x, y, 1, 1));
    if (!m_clip.contains(x, y))
        return;
    if (m_scaled) {
        span(y, x, x, toPixel(color), RasterOp::Copy);
        return;
    }
    if (raster()) {
        m_bits[qsizetype(y) * m_stride + x] = toPixel(color);
        return;
    }
    copyPainter().fillRect(QRect(x, y, 1, 1), toQColor(color));
}

TColor Canvas::Pixel(int x, int y) const
{
    if (!m_image || !m_bounds.contains(x, y))
        return clInvalidPixel;
    if (m_ratio != 1.0) {
        // The block's top-left device pixel.
        x = int(std::min<long long>(scaledCoordinate(x, m_ratio), m_image->width() - 1));
        y = int(std::min<long long>(scaledCoordinate(y, m_ratio), m_image->height() - 1));
    }
    if (m_bits)
        return fromPixel(m_bits[qsizetype(y) * m_stride + x]);
    return fromQColor(m_image->pixelColor(x, y));
}

// ---------------------------------------------------------------------------------------------
// QPainter paths

QPainter &Canvas::shapePainter(bool withBrush)
{
    const ResolvedPen &p = pen();
    const QPainter::CompositionMode mode =
        m_image ? compositionFor(p.rop) : QPainter::CompositionMode_SourceOver;
    if (m_painter.compositionMode() != mode)
        m_painter.setCompositionMode(mode);
    if (m_painterUse == PainterUse::Shape && m_painterPen == m_pen &&
        m_painterWithBrush == withBrush && (!withBrush || m_painterBrush == m_brush))
        return m_painter;

    if (p.clear) {
        m_painter.setPen(Qt::NoPen);
    } else {
        QPen qpen(toQColor(m_pen.Color));
        if (p.width == 1) {
            qpen.setWidth(0); // cosmetic: one device pixel whatever the transformation
            qpen.setCapStyle(Qt::FlatCap);
            if (const DashPattern *pattern = patternFor(m_pen.Style))
                qpen.setDashPattern(pattern->runs);
        } else {
            qpen.setWidth(p.width);
            qpen.setCapStyle(Qt::RoundCap);
            qpen.setJoinStyle(Qt::RoundJoin);
        }
        m_painter.setPen(qpen);
    }
    if (withBrush && m_brush.Style == Gfx::bsSolid)
        m_painter.setBrush(toQColor(m_brush.Color));
    else
        m_painter.setBrush(Qt::NoBrush);
    m_painterUse = PainterUse::Shape;
    m_painterPen = m_pen;
    m_painterBrush = m_brush;
    m_painterWithBrush = withBrush;
    return m_painter;
}

QPainter &Canvas::copyPainter()
{
    if (m_painter.compositionMode() != QPainter::CompositionMode_SourceOver)
        m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    return m_painter;
}

void Canvas::painterLines(std::span<const QPoint> points, bool closed)
{
    QPolygonF polygon;
    polygon.reserve(qsizetype(points.size()));
    for (const QPoint &point : points) {
        if (polygon.isEmpty() || centre(point) != polygon.constLast())
            polygon.append(centre(point));
    }
    if (polygon.size() < 2)
        return;
    QPainter &painter = shapePainter(false);
    if (closed)
        painter.drawPolygon(polygon);
    else
        painter.drawPolyline(polygon);
}

void Canvas::syncFont() const
{
    if (m_metrics && m_fontDataFrom == m_font.data())
        return;
    m_fontDataFrom = m_font.data();
    m_qfont = toQFont(m_fontDataFrom);
    m_textLayouts.clear();
    if (m_painter.isActive())
        m_metrics.emplace(m_qfont, m_device);
    else
        m_metrics.emplace(m_qfont);
}

QPainter &Canvas::textPainter()
{
    syncFont();
    if (m_painter.compositionMode() != QPainter::CompositionMode_SourceOver)
        m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (!m_painterFontSet || !(m_painterFont == m_fontDataFrom)) {
        m_painter.setFont(m_qfont);
        m_painterFont = m_fontDataFrom;
        m_painterFontSet = true;
    }
    if (m_painterUse != PainterUse::Text || m_painterTextColor != m_font.Color()) {
        m_painter.setPen(toQColor(m_font.Color()));
        m_painter.setBrush(Qt::NoBrush);
        m_painterTextColor = m_font.Color();
        m_painterUse = PainterUse::Text;
    }
    return m_painter;
}

void Canvas::painterBlit(const QRect &dest, const QImage &source, const QRect &sourceRect,
                         TCopyMode mode)
{
    const QPainter::CompositionMode composition =
        m_image ? compositionFor(mode) : QPainter::CompositionMode_SourceOver;
    if (m_painter.compositionMode() != composition)
        m_painter.setCompositionMode(composition);
    m_painter.drawImage(QRectF(dest), source,
                        QRectF(scaledRect(sourceRect, source.devicePixelRatio())));
}

// ---------------------------------------------------------------------------------------------
// Texts

const Canvas::TextLayout &Canvas::textLayout(const QString &text) const
{
    syncFont();
    auto it = m_textLayouts.find(text);
    if (it == m_textLayouts.end()) {
        constexpr int maxCachedTexts = 512;
        if (m_textLayouts.size() >= maxCachedTexts)
            m_textLayouts.clear();
        TextLayout layout;
        layout.text.setText(text);
        layout.text.setTextFormat(Qt::PlainText);
        layout.text.setPerformanceHint(QStaticText::AggressiveCaching);
        // Laid out for the device pixels it is drawn on.
        layout.text.prepare(QTransform::fromScale(m_ratio, m_ratio), m_qfont);
        layout.advance = m_metrics->horizontalAdvance(text);
        // Aliased glyphs may land a pixel off the outline's box.
        layout.ink = m_metrics->boundingRect(text)
                         .translated(0, m_metrics->ascent())
                         .united(QRect(0, 0, layout.advance, m_metrics->height()))
                         .adjusted(-2, -2, 2, 2);
        it = m_textLayouts.insert(text, layout);
    }
    return *it;
}

int Canvas::TextWidth(const QString &text) const
{
    return textLayout(text).advance;
}

int Canvas::TextHeight(const QString &) const
{
    syncFont();
    return m_metrics->height();
}

QSize Canvas::TextExtent(const QString &text) const
{
    return QSize(TextWidth(text), TextHeight(text));
}

int Canvas::textAscent() const
{
    syncFont();
    return m_metrics->ascent();
}

void Canvas::TextOut(int x, int y, const QString &text)
{
    drawText(x, y, text, nullptr);
}

void Canvas::TextRect(const QRect &rect, int x, int y, const QString &text)
{
    drawText(x, y, text, &rect);
}

void Canvas::drawText(int x, int y, const QString &text, const QRect *limit)
{
    if (m_clip.isEmpty())
        return;
    const TextLayout &layout = textLayout(text);
    const int width = layout.advance;
    const int height = m_metrics->height();
    if (m_alignH == TextAlignH::Right)
        x -= width;
    else if (m_alignH == TextAlignH::Center)
        x -= width / 2;
    if (m_alignV == TextAlignV::Baseline)
        y -= m_metrics->ascent();
    else if (m_alignV == TextAlignV::Bottom)
        y -= height;

    if (opaqueBackground()) {
        const QRect box = limit ? *limit : QRect(x, y, width, height);
        noteDrawn(box);
        if (raster())
            fillBox(box, toPixel(m_brush.Color), RasterOp::Copy);
        else
            copyPainter().fillRect(box.intersected(m_clip), toQColor(m_brush.Color));
    }
    if (text.isEmpty())
        return;
    // Texts wholly outside the clip (an axis redrawn for a strip of the picture) cost only
    // this test.
    const QRect ink = layout.ink.translated(x, y);
    noteDrawn(limit ? ink.intersected(*limit) : ink);
    if (!ink.intersects(m_clip))
        return;
    QPainter &painter = textPainter();
    if (limit) {
        const QRect clip = limit->normalized().intersected(m_clip);
        if (clip.isEmpty())
            return;
        painter.setClipRect(clip);
    }
    if (raster())
        painter.drawStaticText(QPoint(x, y), layout.text);
    else
        painter.drawText(QPoint(x, y + m_metrics->ascent()), text);
    if (limit)
        painter.setClipRect(m_clip);
}

// ---------------------------------------------------------------------------------------------
// Image transfers

void Canvas::CopyRect(const QRect &dest, const QImage &source, const QRect &sourceRect)
{
    if (m_clip.isEmpty() || source.isNull() || dest.isEmpty() || sourceRect.isEmpty())
        return;
    noteDrawn(dest.normalized());
    if (raster())
        blit(dest, source, sourceRect, m_copyMode);
    else
        painterBlit(dest, source, sourceRect, m_copyMode);
}

void Canvas::CopyRect(const QRect &dest, const Canvas &source, const QRect &sourceRect)
{
    if (source.m_image)
        CopyRect(dest, *source.m_image, sourceRect);
}

void Canvas::Draw(int x, int y, const QImage &image)
{
    CopyRect(QRect(QPoint(x, y), designSize(image)), image, designRect(image));
}

void Canvas::Draw(int x, int y, const Bitmap &bitmap)
{
    Draw(x, y, bitmap.image());
}

void Canvas::StretchDraw(const QRect &dest, const QImage &image)
{
    CopyRect(dest, image, designRect(image));
}

void Canvas::StretchDraw(const QRect &dest, const Bitmap &bitmap)
{
    StretchDraw(dest, bitmap.image());
}

void Canvas::TileDraw(const QRect &area, const QImage &image)
{
    if (image.isNull() || area.isEmpty())
        return;
    const QRect saved = m_clip;
    if (const QRect inside = m_clip.intersected(area); !inside.isEmpty()) {
        setDrawingClip(inside);
        const QSize size = designSize(image);
        for (int y = area.top(); y <= area.bottom(); y += std::max(1, size.height()))
            for (int x = area.left(); x <= area.right(); x += std::max(1, size.width()))
                Draw(x, y, image);
        setDrawingClip(saved);
    }
}

// ---------------------------------------------------------------------------------------------
// Bitmap

Bitmap::Bitmap() = default;

Bitmap::Bitmap(int width, int height)
{
    SetSize(width, height);
}

void Bitmap::SetSize(int width, int height)
{
    rebuild(std::max(0, width), std::max(0, height), m_ratio);
}

void Bitmap::setDevicePixelRatio(double ratio)
{
    if (ratio > 0 && ratio != m_ratio)
        rebuild(m_width, m_height, ratio);
}

void Bitmap::rebuild(int width, int height, double ratio)
{
    if (width == m_width && height == m_height && ratio == m_ratio)
        return;
    m_canvas.setDevice(nullptr);
    QImage resized;
    if (width > 0 && height > 0) {
        const int dw = int(scaledCoordinate(width, ratio));
        const int dh = int(scaledCoordinate(height, ratio));
        resized = QImage(dw, dh, QImage::Format_RGB32);
        resized.setDevicePixelRatio(ratio);
        resized.fill(Qt::white);
        // The shared pixels stay only while the device pixels mean the same.
        const bool keep = ratio == m_ratio;
        const int w = keep ? std::min(dw, m_image.width()) : 0;
        const int h = keep ? std::min(dh, m_image.height()) : 0;
        for (int y = 0; y < h; ++y)
            std::copy_n(reinterpret_cast<const std::uint32_t *>(m_image.constScanLine(y)), w,
                        reinterpret_cast<std::uint32_t *>(resized.scanLine(y)));
    }
    m_image = resized;
    m_width = width;
    m_height = height;
    m_ratio = ratio;
    m_canvas.setDevice(&m_image);
}

bool Bitmap::LoadFromFile(const QString &fileName)
{
    QImage loaded;
    if (!loaded.load(fileName))
        return false;
    setImage(loaded);
    return true;
}

void Bitmap::setImage(const QImage &image)
{
    m_canvas.setDevice(nullptr);
    m_image = image.isNull() ? QImage() : image.convertToFormat(QImage::Format_RGB32);
    const QSize size = designSize(m_image);
    m_width = size.width();
    m_height = size.height();
    m_ratio = m_image.isNull() ? m_ratio : m_image.devicePixelRatio();
    m_canvas.setDevice(&m_image);
}

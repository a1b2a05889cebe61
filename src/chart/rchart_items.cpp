// SPDX-License-Identifier: GPL-3.0-or-later
// The contents of the data area: the grid of the active layer, the stored items replayed
// through the mapping of their layers, the 30 text labels and the frame.
//
// The display update redraws 2001 items ten times a second, so the item loop is written for
// speed: the mapping coefficients of the layers are read once per call, runs of line-to items
// collect in a fixed buffer of 200 points that is drawn as one polyline (no allocation per
// batch or item), and pen, brush and font attributes are set on the canvas only when an item
// needs different ones.

#include "chart/Zel_rchart.h"

#include "platform/CanvasSave.h"
#include "scales/zelbase_markers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

using Zel::roundEven;

constexpr TColor kMonochromeFill = 12632256;
constexpr int kBatchSize = 200;
constexpr int kGridLimit = 1000;

// A pixel offset stored in an item: rounded halves to even and kept within the int range.
inline int pixelOffset(double v)
{
    if (std::isnan(v))
        return 0;
    return roundEven(std::clamp(v, -PixelLimit, PixelLimit));
}

inline bool samePixel(QPoint a, QPoint b)
{
    return a == b;
}

// The decade exponent of a positive value: log10, snapped to the nearest integer when that is
// closer than 1e-14.
double decadeExponent(double v)
{
    const double e = std::log10(v);
    const double r = std::nearbyint(e);
    return std::fabs(e - r) < 1e-14 ? r : e;
}

// The mantissa of v (1 <= m < 10) rounded to an integer, with the decade's power of ten.
void mantissaOf(double v, double &mantissa, double &decade)
{
    decade = std::pow(10.0, std::floor(decadeExponent(v)));
    mantissa = std::nearbyint(v / decade);
}

// The successive grid values of one axis, in the order the grid rules give them.
class GridSequence
{
public:
    GridSequence(double step, bool logarithmic, const TScale &renderer, double lo, double hi)
        : m_step(step), m_log(logarithmic), m_renderer(renderer), m_hi(hi)
    {
        m_value = first(lo);
    }

    double value() const { return m_value; }
    // Moves to the next grid value.
    void advance()
    {
        ++m_index;
        m_value = next(m_value);
    }

private:
    double first(double lo) const
    {
        const double G = m_step;
        if (G == 0) {
            if (m_renderer.NumTicks() > 0)
                return m_renderer.TickPosition(1);
            return std::min(m_renderer.RangeLow(), m_renderer.RangeHigh());
        }
        if (!m_log || G > 0)
            return std::ceil(lo / G) * G;
        if (G == -1)
            return std::pow(10.0, std::ceil(std::log10(lo)));
        if (G == -2 || G == -3) {
            const double e = std::floor(std::log10(lo));
            const double m = std::nearbyint(std::pow(10.0, std::log10(lo) - e));
            const double p = std::pow(10.0, e);
            if (G == -3)
                return p * m;
            return p * (m <= 2 ? 2 : m <= 5 ? 5 : 10);
        }
        return lo;
    }

    double next(double v) const
    {
        const double G = m_step;
        if (G == 0) {
            // m_index is the 1-based number of the value wanted now.
            if (m_index <= m_renderer.NumTicks())
                return m_renderer.TickPosition(m_index);
            return m_hi;
        }
        if (!m_log || G > 0)
            return v + std::fabs(G);
        if (G == -1)
            return v * 10;
        double mantissa, decade;
        mantissaOf(v, mantissa, decade);
        if (G == -2)
            return decade * (mantissa <= 1 ? 2 : mantissa <= 2 ? 5 : 10);
        return decade * (mantissa + 1);
    }

    double m_step;
    bool m_log;
    const TScale &m_renderer;
    double m_hi;
    double m_value = 0;
    int m_index = 1;
};

// The drawing state of one DrawItems call: where the next polyline starts, the points of the
// batch, and the attributes last set on the canvas.
class ItemPainter
{
public:
    ItemPainter(const TCustomRChart &chart, Canvas &canvas, int DX, int DY, bool monochrome,
                TFontStyles textStyle, TTextBkStyle textBkStyle, TColor textBkColor,
                TColor chartColor)
        : m_canvas(canvas), m_offX(DX - chart.MarginLeft()), m_offY(DY - chart.MarginTop()),
          m_monochrome(monochrome), m_textStyle(textStyle), m_textBkStyle(textBkStyle),
          m_textBkColor(textBkColor)
    {
        for (int L = 1; L <= TCustomRChart::LayerCount; ++L) {
            LayerMap &m = m_layers[std::size_t(L - 1)];
            m.x = chart.layerMapX(L);
            m.y = chart.layerMapY(L);
            m.linear = !m.x.Logarithmic() && !m.y.Logarithmic();
        }
        m_penWidth = chart.LineWidth();
        m_canvas.Pen().Width = m_penWidth;
        m_current = QPoint(DX, DY);
        m_canvas.MoveTo(DX, DY);
        m_penColor = chartColor;
        m_brushColor = chartColor;
        m_fontColor = chartColor;
        m_penStyle = Gfx::psSolid;
        m_canvas.Pen().Color = chartColor;
        m_canvas.Pen().Style = Gfx::psSolid;
        m_canvas.Brush().Color = chartColor;
        // Text items and character marks are written in the chart's face, whatever font an
        // earlier paint (a text label, a handler) left on the canvas.
        m_canvas.Font().Assign(*chart.Font());
        m_canvas.Font().SetColor(chartColor);
        m_canvas.setTextAlign(TextAlignH::Left, TextAlignV::Top);
    }

    void draw(const TChartItem &item)
    {
        if (item.LineWidth != m_penWidth) {
            flush();
            m_penWidth = item.LineWidth;
            m_canvas.Pen().Width = m_penWidth;
        }
        const TColor ink = m_monochrome ? clBlack : item.Color;
        const TColor fill = m_monochrome ? kMonochromeFill : item.FillColor;
        const auto style = static_cast<TPenStyle>(item.PenStyle);
        switch (item.Kind) {
        case ikLineTo: {
            if (ink != m_penColor || style != m_penStyle || item.FillColor != m_brushColor) {
                flush();
                setPen(ink, style);
                setBrushColor(item.FillColor);
            }
            addPoint(toData(item.Layer, item.X, item.Y));
            return;
        }
        case ikMoveTo:
            flush();
            m_current = toData(item.Layer, item.X, item.Y);
            m_canvas.MoveTo(m_current.x(), m_current.y());
            return;
        case ikMark: {
            flush();
            setPen(ink, style);
            // Filled shapes take the brush style in force: a transparent item before must
            // not leave them hollow.
            m_canvas.Brush().Style = Gfx::bsSolid;
            const QPoint p = toData(item.Layer, item.X, item.Y);
            DrawMarker(m_canvas, item.Mode, p.x(), p.y());
            // DrawMarker restores the brush colour, but may leave the style solid.
            m_canvas.Brush().Color = m_brushColor;
            return;
        }
        case ikLine: {
            flush();
            setPen(ink, style);
            setBrushColor(item.FillColor);
            const QPoint a = toData(item.Layer, item.X, item.Y);
            const QPoint b = toData(item.Layer, item.X2, item.Y2);
            if (samePixel(a, b))
                m_canvas.SetPixel(a.x(), a.y(), ink);
            else
                m_canvas.Polyline({a, b});
            return;
        }
        case ikRect:
        case ikEllipse:
        case ikBox:
            flush();
            drawClosedShape(item, ink, fill, style);
            return;
        case ikFramedRect:
            flush();
            drawFramedRect(item, fill, style);
            return;
        case ikBar3D:
            flush();
            drawBar3D(item, ink, fill, style);
            return;
        case ikText:
        case ikTextOfs:
            flush();
            drawText(item, ink);
            return;
        case ikMoveRel: {
            flush();
            const QPoint p = relativeTarget(item);
            m_current = p;
            m_canvas.MoveTo(p.x(), p.y());
            return;
        }
        case ikLineRel: {
            flush();
            const QPoint target = relativeTarget(item);
            setPen(ink, style);
            setBrushColor(item.FillColor);
            m_canvas.LineTo(target.x(), target.y());
            m_canvas.SetPixel(target.x(), target.y(), ink);
            return;
        }
        case ikArrow:
            flush();
            drawArrow(item, ink, fill, style);
            return;
        }
        // Unassigned kinds draw nothing.
    }

    // A line-to item and the line-to items after it that share its layer, class and
    // attributes (the shape of a trace): the attributes are settled once, then the points
    // are mapped in a tight loop. Returns the first item not drawn.
    const TChartItem *drawLineToRun(const TChartItem *first, const TChartItem *end)
    {
        draw(*first);
        const LayerMap &m = layerMap(first->Layer);
        const TChartItem *item = first + 1;
        if (!m.linear)
            return item;
        for (; item != end && continuesRun(*first, *item); ++item)
            addPoint(mapLinear(m, *item));
        return item;
    }

    // Draws what is left of the batch; the pen width goes back to one pixel.
    void finish()
    {
        flush();
        m_canvas.Pen().Width = 1;
    }

    void setPolylineHook(const std::function<void(std::span<const QPoint>)> *hook)
    {
        m_hook = hook && *hook ? hook : nullptr;
    }

private:
    // The maps of a layer's axes, read once per DrawItems.
    struct LayerMap
    {
        TAxisMap x, y;
        bool linear = true;
    };

    const LayerMap &layerMap(int layer) const
    {
        return m_layers[std::size_t(std::clamp(layer, 1, TCustomRChart::LayerCount) - 1)];
    }

    // A world point of a layer in data-image pixels: control pixels limited to +-30000, then
    // shifted by (DX - MarginLeft, DY - MarginTop).
    QPoint toData(int layer, double X, double Y) const
    {
        const LayerMap &m = layerMap(layer);
        return {m.x.itemPixel(X) + m_offX, m.y.itemPixel(Y) + m_offY};
    }

    static bool continuesRun(const TChartItem &first, const TChartItem &item)
    {
        return item.Kind == ikLineTo && item.Layer == first.Layer &&
               item.ClassNo == first.ClassNo && item.Color == first.Color &&
               item.FillColor == first.FillColor && item.PenStyle == first.PenStyle &&
               item.LineWidth == first.LineWidth;
    }

    // toData for a linear layer, both axes at once (TAxisMap::itemPixel for two values). Falls
    // back to the scalar rule when a pixel is beyond the limit, not a number, or too close to
    // a half to trust the double.
    QPoint mapLinear(const LayerMap &m, const TChartItem &item) const
    {
#if defined(__SSE2__)
        const __m128d v = _mm_set_pd(item.Y, item.X);
        const __m128d sign = _mm_set1_pd(-0.0);
        const __m128d term = _mm_mul_pd(_mm_set_pd(m.y.k(), m.x.k()), v);
        const __m128d d = _mm_set_pd(m.y.d(), m.x.d());
        const __m128d p = _mm_add_pd(term, d);
        const __m128i n = _mm_cvtpd_epi32(p); // halves to even, like roundEven
        const __m128d off =
            _mm_andnot_pd(sign, _mm_sub_pd(_mm_andnot_pd(sign, _mm_sub_pd(p, _mm_cvtepi32_pd(n))),
                                           _mm_set1_pd(0.5)));
        const __m128d tolerance = _mm_mul_pd(
            _mm_set1_pd(1e-14), _mm_add_pd(_mm_andnot_pd(sign, term), _mm_andnot_pd(sign, d)));
        const __m128d ok =
            _mm_and_pd(_mm_cmplt_pd(_mm_andnot_pd(sign, p), _mm_set1_pd(ItemPixelLimit)),
                       _mm_cmpgt_pd(off, tolerance));
        if (_mm_movemask_pd(ok) == 3) [[likely]]
            return {_mm_cvtsi128_si32(n) + m_offX,
                    _mm_cvtsi128_si32(_mm_shuffle_epi32(n, 1)) + m_offY};
#endif
        return {m.x.itemPixel(item.X) + m_offX, m.y.itemPixel(item.Y) + m_offY};
    }

    // The control pixel of a world point of a layer, limited only to the int range (for the
    // kinds that add pixel offsets before limiting).
    QPoint toControl(int layer, double X, double Y) const
    {
        const LayerMap &m = layerMap(layer);
        return {m.x.pixel(X), m.y.pixel(Y)};
    }

    // The pen position moved by the item's pixel offsets, limited like every item pixel (a
    // chain of large offsets cannot run out of the int range).
    QPoint relativeTarget(const TChartItem &item) const
    {
        const QPoint pen = m_canvas.PenPos();
        return {limitItemPixel((long long)pen.x() + pixelOffset(item.X)),
                limitItemPixel((long long)pen.y() + pixelOffset(item.Y))};
    }

    QPoint controlToData(long long x, long long y) const
    {
        return {limitItemPixel(x) + m_offX, limitItemPixel(y) + m_offY};
    }

    void setPen(TColor color, TPenStyle style)
    {
        if (color != m_penColor) {
            m_penColor = color;
            m_canvas.Pen().Color = color;
        }
        if (style != m_penStyle) {
            m_penStyle = style;
            m_canvas.Pen().Style = style;
        }
    }

    void setBrushColor(TColor color)
    {
        if (color != m_brushColor) {
            m_brushColor = color;
            m_canvas.Brush().Color = color;
        }
    }

    void setBrush(TColor color, bool clear)
    {
        setBrushColor(color);
        m_canvas.Brush().Style = clear ? Gfx::bsClear : Gfx::bsSolid;
    }

    void setFontColor(TColor color)
    {
        if (color != m_fontColor) {
            m_fontColor = color;
            m_canvas.Font().SetColor(color);
        }
    }

    void addPoint(QPoint p)
    {
        if (m_batchCount == 0)
            m_batch[0] = m_current, m_batchCount = 1;
        m_batch[std::size_t(m_batchCount++)] = p;
        if (m_batchCount == kBatchSize) {
            drawBatch();
            m_current = m_batch[kBatchSize - 1];
            m_batch[0] = m_current;
            m_batchCount = 1;
        }
    }

    void drawBatch()
    {
        const std::span<const QPoint> points(m_batch.data(), std::size_t(m_batchCount));
        m_canvas.Polyline(points);
        if (m_hook)
            (*m_hook)(points);
    }

    void flush()
    {
        if (m_batchCount == 0)
            return;
        drawBatch();
        m_current = m_batch[std::size_t(m_batchCount - 1)];
        m_canvas.MoveTo(m_current.x(), m_current.y());
        m_batchCount = 0;
    }

    // ikRect, ikEllipse and ikBox: outline in the ink, interior in the fill (none when
    // transparent); corners on one pixel draw that pixel.
    void drawClosedShape(const TChartItem &item, TColor ink, TColor fill, TPenStyle style)
    {
        setPen(ink, style);
        setBrush(fill, item.Transparent != 0);
        QPoint a, b;
        if (item.Kind == ikRect) {
            a = toData(item.Layer, item.X, item.Y);
            b = toData(item.Layer, item.X2, item.Y2);
        } else if (item.Kind == ikEllipse) {
            a = toData(item.Layer, item.X - item.X2, item.Y + item.Y2);
            b = toData(item.Layer, item.X + item.X2, item.Y - item.Y2);
        } else {
            const QPoint c = toControl(item.Layer, item.X, item.Y);
            const long long hx = pixelOffset(item.X2);
            const long long hy = pixelOffset(item.Y2);
            a = controlToData(c.x() - hx, c.y() - hy);
            b = controlToData(c.x() + hx, c.y() + hy);
        }
        if (samePixel(a, b)) {
            m_canvas.SetPixel(a.x(), a.y(), ink);
            return;
        }
        const int l = std::min(a.x(), b.x()), r = std::max(a.x(), b.x()) + 1;
        const int t = std::min(a.y(), b.y()), bt = std::max(a.y(), b.y()) + 1;
        if (item.Kind == ikEllipse)
            m_canvas.Ellipse(l, t, r, bt);
        else
            m_canvas.Rectangle(l, t, r, bt);
    }

    void drawFramedRect(const TChartItem &item, TColor fill, TPenStyle style)
    {
        setPen(fill, style);
        setBrush(fill, false);
        const QPoint a = toData(item.Layer, item.X, item.Y);
        const QPoint b = toData(item.Layer, item.X2, item.Y2);
        if (samePixel(a, b)) {
            m_canvas.SetPixel(a.x(), a.y(), fill);
            return;
        }
        // x1 <= x2; y1 the lower edge (the larger pixel row), y2 the upper one.
        const int x1 = std::min(a.x(), b.x()), x2 = std::max(a.x(), b.x());
        const int y1 = std::max(a.y(), b.y()), y2 = std::min(a.y(), b.y());
        m_canvas.Rectangle(x1, y2, x2, y1);
        TColor c1 = m_monochrome ? clBlack : item.FrameColor1;
        TColor c2 = m_monochrome ? clBlack : item.FrameColor2;
        switch (item.FrameStyle) {
        case Zel::fsRaised:
            std::swap(c1, c2);
            [[fallthrough]];
        case Zel::fsLowered:
            setPen(c1, style);
            m_canvas.Polyline({{x1, y1}, {x1, y2}, {x2, y2}});
            setPen(c2, style);
            m_canvas.Polyline({{x2, y2}, {x2, y1}, {x1, y1}});
            break;
        case Zel::fsEngraved:
            std::swap(c1, c2);
            [[fallthrough]];
        case Zel::fsEmbossed:
            setPen(c1, style);
            outline(x1 + 1, y2 + 1, x2, y1);
            setPen(c2, style);
            outline(x1, y2, x2 - 1, y1 - 1);
            break;
        default:
            break;
        }
    }

    // The closed outline through the four corners (all inclusive).
    void outline(int l, int t, int r, int b)
    {
        m_canvas.Polyline({{l, t}, {r, t}, {r, b}, {l, b}, {l, t}});
    }

    void drawBar3D(const TChartItem &item, TColor ink, TColor fill, TPenStyle style)
    {
        setPen(ink, style);
        setBrush(fill, false);
        const QPoint a = toData(item.Layer, item.X, item.Y);
        const QPoint b = toData(item.Layer, item.X2, item.Y2);
        int x1 = std::min(a.x(), b.x()), x2 = std::max(a.x(), b.x());
        const int y1 = std::min(a.y(), b.y()), y2 = std::max(a.y(), b.y());
        const double angle = item.Size * std::numbers::pi / 180.0;
        const int hx = pixelOffset(std::cos(angle) * item.Depth);
        const int hy = -pixelOffset(std::sin(angle) * item.Depth);
        if (item.Size > 90)
            std::swap(x1, x2);
        m_canvas.Polygon({{x1, y1}, {x1 + hx, y1 + hy}, {x2 + hx, y1 + hy}, {x2, y1}});
        m_canvas.Polygon({{x2 + hx, y1 + hy}, {x2, y1}, {x2, y2}, {x2 + hx, y2 + hy}});
        m_canvas.Rectangle(std::min(x1, x2), y1, std::max(x1, x2) + 1, y2 + 1);
    }

    void drawText(const TChartItem &item, TColor ink)
    {
        QPoint p;
        if (item.Kind == ikTextOfs) {
            const QPoint c = toControl(item.Layer, item.X, item.Y);
            p = controlToData(c.x() + (long long)pixelOffset(item.X2),
                              c.y() + (long long)pixelOffset(item.Y2));
        } else {
            p = toData(item.Layer, item.X, item.Y);
        }
        setFontColor(ink);
        TFont &font = m_canvas.Font();
        font.SetStyle(m_textStyle);
        font.SetSize(item.Size);
        setBrush(m_textBkColor, m_textBkStyle != RChart::tbSolid);
        const QString text = item.Text.toString();
        const QSize extent = m_canvas.TextExtent(text);
        int x = p.x();
        int y = p.y() - extent.height() / 2;
        if (item.Mode == 1)
            x -= extent.width();
        else if (item.Mode == 2)
            x -= extent.width() / 2;
        m_canvas.TextOut(x, y, text);
    }

    void drawArrow(const TChartItem &item, TColor ink, TColor fill, TPenStyle style)
    {
        setPen(ink, style);
        const bool open = item.Transparent != 0;
        setBrush(fill, open);
        const QPoint p1 = toData(item.Layer, item.X, item.Y);
        const QPoint p2 = toData(item.Layer, item.X2, item.Y2);
        if (samePixel(p1, p2)) {
            m_canvas.SetPixel(p1.x(), p1.y(), ink);
            return;
        }
        m_canvas.Polyline({p1, p2});
        if (item.Size < 1)
            return;
        const double x1 = p1.x(), y1 = p1.y(), x2 = p2.x(), y2 = p2.y();
        double theta;
        if (x1 == x2)
            // The limits of the other directions: down the screen pi, up the screen 0.
            theta = y2 > y1 ? std::numbers::pi : 0.0;
        else
            theta = std::atan((y2 - y1) / (x2 - x1)) +
                    (x2 > x1 ? std::numbers::pi / 2 : 1.5 * std::numbers::pi);
        const double barb = 20.0 * std::numbers::pi / 180.0;
        const double size = item.Size;
        const auto end = [&](double a) {
            return QPoint(p2.x() - pixelOffset(std::sin(a) * size),
                          p2.y() + pixelOffset(std::cos(a) * size));
        };
        const QPoint e1 = end(theta + barb);
        const QPoint e2 = end(theta - barb);
        if (open) {
            m_canvas.Polyline({p2, e1});
            m_canvas.Polyline({p2, e2});
        } else {
            m_canvas.Polygon({p2, e1, e2});
        }
    }

    Canvas &m_canvas;
    const int m_offX;
    const int m_offY;
    const bool m_monochrome;
    const TFontStyles m_textStyle;
    const TTextBkStyle m_textBkStyle;
    const TColor m_textBkColor;
    std::array<LayerMap, TCustomRChart::LayerCount> m_layers;
    const std::function<void(std::span<const QPoint>)> *m_hook = nullptr;

    QPoint m_current;
    std::array<QPoint, kBatchSize> m_batch;
    int m_batchCount = 0;

    TColor m_penColor = 0;
    TPenStyle m_penStyle = Gfx::psSolid;
    int m_penWidth = 1;
    TColor m_brushColor = 0;
    TColor m_fontColor = 0;
};

} // namespace

// --- DrawItems ----------------------------------------------------------------------------

void TCustomRChart::raiseRenderEvent(const TRenderEvent &event, Canvas &canvas, int top, int left)
{
    if (event)
        event(this, canvas, top, left);
}

void TCustomRChart::DrawItems(Canvas &canvas, int DX, int DY, bool Monochrome, bool NoGrid)
{
    if (OnBeforeRenderData) {
        const CanvasSave saved(canvas, CanvasSave::PenColor | CanvasSave::BrushColor);
        raiseRenderEvent(OnBeforeRenderData, canvas, m_marginTop - DY, m_marginLeft - DX);
    }
    canvas.Pen().Mode = Gfx::pmCopy;
    if (m_gridStyle != RChart::gsNone && !NoGrid)
        drawGrid(canvas, DX, DY, Monochrome);

    {
        ItemPainter painter(*this, canvas, DX, DY, Monochrome, m_textFontStyle, m_textBkStyle,
                            m_textBkColor, m_chartColor);
        painter.setPolylineHook(&polylineDrawn);
        const TChartItem *item = m_items.get();
        const TChartItem *const end = item + m_count;
        while (item != end) {
            if (!(m_classVisible[item->ClassNo] && item->Layer >= 1 && item->Layer <= LayerCount &&
                  m_layerVisible[std::size_t(item->Layer - 1)]))
                ++item;
            else if (item->Kind == ikLineTo)
                item = painter.drawLineToRun(item, end);
            else
                painter.draw(*item++);
        }
        painter.finish();
    }

    drawTextLabels(canvas, DX, DY);

    raiseRenderEvent(OnDataRendered, canvas, m_marginTop - DY, m_marginLeft - DX);

    canvas.Pen().Color = Monochrome ? clBlack : m_chartFrameColor;
    canvas.Pen().Style = Gfx::psSolid;
    canvas.Pen().Width = 1;
    const int pw = plotWidth(), ph = plotHeight();
    canvas.Polyline({{DX, DY}, {DX + pw, DY}, {DX + pw, DY + ph}, {DX, DY + ph}, {DX, DY}});
}

// --- Grid ---------------------------------------------------------------------------------

void TCustomRChart::drawGrid(Canvas &canvas, int DX, int DY, bool Monochrome)
{
    const bool dotted = m_gridStyle == RChart::gsHorizDotLines ||
                        m_gridStyle == RChart::gsVertDotLines || m_gridStyle == RChart::gsDotLines;
    {
        const CanvasSave saved(canvas, CanvasSave::PenColor | CanvasSave::PenStyle);
        drawGridLines(canvas, DX, DY, Monochrome, dotted);
    }
    // The dotted styles set the pen back to solid afterwards.
    if (dotted)
        canvas.Pen().Style = Gfx::psSolid;
}

void TCustomRChart::drawGridLines(Canvas &canvas, int DX, int DY, bool Monochrome, bool dotted)
{
    const int L = m_activeLayer;
    const TScaleProps &xs = *LayerScaleX(L);
    const TScaleProps &ys = *LayerScaleY(L);
    const double xLo = std::min(xs.RangeLow(), xs.RangeHigh());
    const double xHi = std::max(xs.RangeLow(), xs.RangeHigh());
    const double yLo = std::min(ys.RangeLow(), ys.RangeHigh());
    const double yHi = std::max(ys.RangeLow(), ys.RangeHigh());
    const int offX = DX - m_marginLeft;
    const int offY = DY - m_marginTop;
    const auto point = [&](double x, double y) {
        int px = 0, py = 0;
        WorldToPixel(L, x, y, px, py);
        return QPoint(int(std::clamp<long long>((long long)px + offX, INT32_MIN, INT32_MAX)),
                      int(std::clamp<long long>((long long)py + offY, INT32_MIN, INT32_MAX)));
    };

    canvas.Pen().Color = Monochrome ? clBlack : m_gridColor;
    canvas.Pen().Width = 1;
    canvas.Brush().Color = m_chartColor;
    canvas.Brush().Style = Gfx::bsSolid;
    canvas.Pen().Style = dotted ? Gfx::psDot : Gfx::psSolid;

    const auto xValues = [&](auto &&visit) {
        GridSequence seq(m_gridDx, xs.Logarithmic(), *layerRendererX(L), xLo, xHi);
        for (int n = 0; n < kGridLimit && seq.value() < xHi; ++n, seq.advance())
            visit(seq.value());
    };
    const auto yValues = [&](auto &&visit) {
        GridSequence seq(m_gridDy, ys.Logarithmic(), *layerRendererY(L), yLo, yHi);
        for (int n = 0; n < kGridLimit && seq.value() < yHi; ++n, seq.advance())
            visit(seq.value());
    };
    const auto verticals = [&] {
        xValues([&](double x) { canvas.Polyline({point(x, yLo), point(x, yHi)}); });
    };
    const auto horizontals = [&] {
        yValues([&](double y) { canvas.Polyline({point(xLo, y), point(xHi, y)}); });
    };

    switch (m_gridStyle) {
    case RChart::gsPoints: {
        const TColor color = canvas.Pen().Color;
        int pixels = 0;
        xValues([&](double x) {
            yValues([&](double y) {
                if (pixels >= kGridLimit)
                    return;
                ++pixels;
                const QPoint p = point(x, y);
                canvas.SetPixel(p.x(), p.y(), color);
            });
        });
        break;
    }
    case RChart::gsVertLines:
    case RChart::gsVertDotLines:
        verticals();
        break;
    case RChart::gsHorizLines:
    case RChart::gsHorizDotLines:
        horizontals();
        break;
    case RChart::gsLines:
    case RChart::gsDotLines:
        verticals();
        horizontals();
        break;
    default:
        break;
    }
}

// --- Text labels --------------------------------------------------------------------------

void TCustomRChart::drawTextLabel(Canvas &canvas, const TTextLabel &label, int DX, int DY)
{
    if (label.Mode() == Zel::tlOff || !label.Visible() || !LayerVisible(label.Layer()))
        return;
    int px = 0, py = 0;
    if (label.AttachToData() != Zel::tlamNone)
        WorldToPixel(label.Layer(), label.PosX(), label.PosY(), px, py);
    if (label.AttachToData() == Zel::tlamNone || label.AttachToData() == Zel::tlamYOnly)
        px = pixelOffset(label.PosX());
    if (label.AttachToData() == Zel::tlamNone || label.AttachToData() == Zel::tlamXOnly)
        py = pixelOffset(label.PosY());
    // Anchors are limited like item pixels, so that the box arithmetic below stays in range.
    const auto toData = [](long long v, int shift) { return limitItemPixel(v) + shift; };
    int x = toData(px, DX - m_marginLeft);
    int y = toData(py, DY - m_marginTop);

    canvas.Font().Assign(*label.Font());
    canvas.Pen().Color = label.ColorBorder();
    canvas.Pen().Style = Gfx::psSolid;
    canvas.Pen().Width = 1;
    canvas.Brush().Color = label.ColorBkg();
    canvas.Brush().Style = label.Transparent() ? Gfx::bsClear : Gfx::bsSolid;

    const QStringList lines = label.CaptionLines();
    const int n = int(lines.size());
    int w = 0;
    for (const QString &line : lines)
        w = std::max(w, canvas.TextWidth(line));
    if (w == 0)
        w = canvas.TextWidth(label.Caption());
    const int h = canvas.TextHeight(label.Caption());

    switch (label.VerticalAlignment()) {
    case Zel::vaTop:
        y += h * n;
        break;
    case Zel::vaCenter:
        y += (h * n) / 2;
        break;
    default:
        break;
    }
    if (label.Alignment() == Zel::taRightJustify)
        x -= w;
    else if (label.Alignment() == Zel::taCenter)
        x -= w / 2;

    const QRect box = rectLTRB(x - 4, y - h * n - 2, x + w + 4, y + 2);
    const auto fillBorderless = [&] {
        if (label.Transparent())
            return;
        canvas.Pen().Color = label.ColorBkg();
        canvas.Rectangle(box);
        canvas.Pen().Color = label.ColorBorder();
    };
    switch (label.Mode()) {
    case Zel::tlsimple:
        fillBorderless();
        break;
    case Zel::tlBox:
        canvas.Rectangle(box);
        break;
    case Zel::tlUnderline:
        fillBorderless();
        canvas.Polyline({{x, y}, {x + w, y}});
        break;
    case Zel::tlShadow: {
        {
            const CanvasSave saved(canvas, CanvasSave::PenColor | CanvasSave::BrushColor |
                                               CanvasSave::BrushStyle);
            canvas.Pen().Color = label.ColorShadow();
            canvas.Brush() = TBrush{label.ColorShadow(), Gfx::bsSolid};
            canvas.Rectangle(box.translated(label.ShadowDx(), label.ShadowDy()));
        }
        canvas.Rectangle(box);
        break;
    }
    default:
        break;
    }

    canvas.setTextAlign(TextAlignH::Left, TextAlignV::Top);
    for (int k = 0; k < n; ++k) {
        int shift = 0;
        if (n > 1) {
            const int lw = canvas.TextWidth(lines[k]);
            if (label.Alignment() == Zel::taRightJustify)
                shift = w - lw;
            else if (label.Alignment() == Zel::taCenter)
                shift = (w - lw) / 2;
        }
        canvas.TextOut(x + shift, y - h * (n - k), lines[k]);
    }
}

void TCustomRChart::drawTextLabels(Canvas &canvas, int DX, int DY)
{
    for (int n = TextLabelCount; n >= 1; --n)
        drawTextLabel(canvas, *m_textLabels[std::size_t(n - 1)], DX, DY);
}

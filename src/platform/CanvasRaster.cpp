// SPDX-License-Identifier: GPL-3.0-or-later
// The canvas's own rasteriser for 32-bit images: lines, rectangles, ellipses, polygon
// interiors and image transfers, written straight into the image's memory and clipped to the
// canvas's clip rectangle. Everything here is integer arithmetic, so a picture depends only on
// the calls that drew it.

#include "platform/Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

__extension__ using Wide = __int128;

constexpr std::uint32_t opaque = 0xFF000000u;

template <RasterOp R> inline std::uint32_t combine(std::uint32_t d, std::uint32_t c)
{
    if constexpr (R == RasterOp::Copy)
        return c;
    else if constexpr (R == RasterOp::Xor)
        return (d ^ c) | opaque;
    else if constexpr (R == RasterOp::NotXor)
        return ~(d ^ c) | opaque;
    else if constexpr (R == RasterOp::Not)
        return ~d | opaque;
    else if constexpr (R == RasterOp::And)
        return (d & c) | opaque;
    else
        return d | c | opaque;
}

inline std::uint32_t combine(RasterOp rop, std::uint32_t d, std::uint32_t c)
{
    switch (rop) {
    case RasterOp::Copy:
        return c;
    case RasterOp::Xor:
        return combine<RasterOp::Xor>(d, c);
    case RasterOp::NotXor:
        return combine<RasterOp::NotXor>(d, c);
    case RasterOp::Not:
        return combine<RasterOp::Not>(d, c);
    case RasterOp::And:
        return combine<RasterOp::And>(d, c);
    case RasterOp::Or:
    default:
        return combine<RasterOp::Or>(d, c);
    }
}

// Calls f with the raster operation as a compile-time constant, so inner loops carry no switch.
template <class F> void withRop(RasterOp rop, F &&f)
{
    switch (rop) {
    case RasterOp::Copy:
        f.template operator()<RasterOp::Copy>();
        break;
    case RasterOp::Xor:
        f.template operator()<RasterOp::Xor>();
        break;
    case RasterOp::NotXor:
        f.template operator()<RasterOp::NotXor>();
        break;
    case RasterOp::Not:
        f.template operator()<RasterOp::Not>();
        break;
    case RasterOp::And:
        f.template operator()<RasterOp::And>();
        break;
    case RasterOp::Or:
        f.template operator()<RasterOp::Or>();
        break;
    }
}

// The pixels of the line from (x0, y0) towards (x1, y1), leaving out (x1, y1): one pixel per
// step along the major axis (x when |dx| >= |dy|), the minor coordinate of step i being the
// start's plus i * dminor / n rounded to the nearest integer, halves towards the start. Calls
// plot(x, y, i) for the steps i whose pixel lies inside clip, in order; the steps outside
// are skipped arithmetically, so a line far longer than the picture costs no more than one
// across it.
template <class Plot>
void walkLine(long long x0, long long y0, long long x1, long long y1, const QRect &clip,
              Plot &&plot)
{
    const long long dx = x1 - x0;
    const long long dy = y1 - y0;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const long long n = xMajor ? std::llabs(dx) : std::llabs(dy);
    if (n == 0)
        return;
    const long long ad = xMajor ? std::llabs(dy) : std::llabs(dx);
    const int sMajor = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const int sMinor = (xMajor ? dy : dx) < 0 ? -1 : 1;
    const long long major0 = xMajor ? x0 : y0;
    const long long minor0 = xMajor ? y0 : x0;
    const long long clipMajorLo = xMajor ? clip.left() : clip.top();
    const long long clipMajorHi = xMajor ? clip.right() : clip.bottom();
    const long long clipMinorLo = xMajor ? clip.top() : clip.left();
    const long long clipMinorHi = xMajor ? clip.bottom() : clip.right();

    // Steps whose major coordinate is inside the clip.
    long long iLo = 0;
    long long iHi = n - 1;
    if (sMajor > 0) {
        iLo = std::max(iLo, clipMajorLo - major0);
        iHi = std::min(iHi, clipMajorHi - major0);
    } else {
        iLo = std::max(iLo, major0 - clipMajorHi);
        iHi = std::min(iHi, major0 - clipMajorLo);
    }
    if (iLo > iHi)
        return;

    // Steps whose minor offset r(i) = floor((2 i ad + n - 1) / 2n) keeps the minor coordinate
    // inside the clip; r is non-decreasing in i, so the bounds solve for i directly.
    long long rLo = sMinor > 0 ? clipMinorLo - minor0 : minor0 - clipMinorHi;
    long long rHi = sMinor > 0 ? clipMinorHi - minor0 : minor0 - clipMinorLo;
    rLo = std::max(rLo, 0LL);
    rHi = std::min(rHi, ad);
    if (rLo > rHi)
        return;
    const Wide twoN = Wide(2) * n;
    if (rLo > 0) {
        const Wide num = twoN * rLo - n + 1;
        const Wide den = Wide(2) * ad;
        iLo = std::max(iLo, static_cast<long long>((num + den - 1) / den));
    }
    if (rHi < ad) {
        const Wide num = twoN * (rHi + 1) - n;
        iHi = std::min(iHi, static_cast<long long>(num / (Wide(2) * ad)));
    }
    if (iLo > iHi)
        return;

    long long r, rem;
    if (n < (1LL << 30) && ad < (1LL << 30)) {
        // The usual case: everything fits in 64 bits, and 64-bit division is far cheaper.
        const long long start = 2 * iLo * ad + n - 1;
        r = start / (2 * n);
        rem = start % (2 * n);
    } else {
        const Wide start = Wide(2) * iLo * ad + n - 1;
        r = static_cast<long long>(start / twoN);
        rem = static_cast<long long>(start % twoN);
    }
    const long long step = 2 * ad;
    const long long wrap = 2 * n;
    long long major = major0 + sMajor * iLo;
    long long minor = minor0 + sMinor * r;
    for (long long i = iLo; i <= iHi; ++i) {
        if (xMajor)
            plot(int(major), int(minor), i);
        else
            plot(int(minor), int(major), i);
        major += sMajor;
        rem += step;
        if (rem >= wrap) {
            rem -= wrap;
            minor += sMinor;
        }
    }
}

// The rows of the ellipse inscribed in the box l..r-1, t..b-1: its outline touches all four
// sides of the box, and each row of the region is one span. The outline is traced
// incrementally with integer error terms, one quadrant's pixels mirrored into the other three;
// boxes wider or taller than 65536 pixels (never drawn in practice) sample pixel centres
// against the ellipse through the box's edges instead.
class EllipseRows
{
public:
    EllipseRows(long long l, long long t, long long r, long long b) : m_l(l), m_t(t), m_r(r), m_b(b)
    {
        if (r <= l || b <= t)
            return;
        if (r - l > traceLimit || b - t > traceLimit)
            return;
        trace();
    }

    long long top() const { return m_t; }
    long long bottom() const { return m_b - 1; }

    bool row(long long y, long long &x0, long long &x1) const
    {
        if (m_r <= m_l || y < m_t || y >= m_b)
            return false;
        if (!m_rows.empty()) {
            const auto &span = m_rows[std::size_t(y - m_t)];
            if (span.first > span.second)
                return false;
            x0 = span.first;
            x1 = span.second;
            return true;
        }
        return sampled(y, x0, x1);
    }

private:
    static constexpr long long traceLimit = 65536;

    void mark(long long x, long long y)
    {
        if (y < m_t || y >= m_b || x < m_l || x >= m_r)
            return;
        auto &span = m_rows[std::size_t(y - m_t)];
        span.first = std::min(span.first, x);
        span.second = std::max(span.second, x);
    }

    void trace()
    {
        m_rows.assign(std::size_t(m_b - m_t), {m_r, m_l - 1});
        long long x0 = m_l, x1 = m_r - 1, y0 = m_t, y1 = m_b - 1;
        long long a = x1 - x0, b = y1 - y0;
        long long b1 = b & 1;
        long long dx = 4 * (1 - a) * b * b;
        long long dy = 4 * (b1 + 1) * a * a;
        long long err = dx + dy + b1 * a * a;
        y0 += (b + 1) / 2;
        y1 = y0 - b1;
        const long long a8 = 8 * a * a;
        const long long b8 = 8 * b * b;
        do {
            mark(x1, y0);
            mark(x0, y0);
            mark(x0, y1);
            mark(x1, y1);
            const long long e2 = 2 * err;
            if (e2 <= dy) {
                ++y0;
                --y1;
                err += dy += a8;
            }
            if (e2 >= dx || 2 * err > dy) {
                ++x0;
                --x1;
                err += dx += b8;
            }
        } while (x0 <= x1);
        // Very flat ellipses stop early: finish their tips.
        while (y0 - y1 <= b) {
            mark(x0 - 1, y0);
            mark(x1 + 1, y0++);
            mark(x0 - 1, y1);
            mark(x1 + 1, y1--);
        }
    }

    bool sampled(long long y, long long &x0, long long &x1) const
    {
        const long long w = m_r - m_l;
        const long long h = m_b - m_t;
        const long long yy = 2 * y - (m_t + m_b - 1);
        // Largest X >= 0 with X^2 h^2 <= w^2 (h^2 - Y^2), X of the parity of w - 1 (doubled
        // coordinates, so that half-pixel centres stay integers).
        const Wide rhs = Wide(w) * w * (Wide(h) * h - Wide(yy) * yy);
        if (rhs < 0)
            return false;
        long long xx = static_cast<long long>(std::sqrt(static_cast<long double>(rhs)) /
                                              static_cast<long double>(h));
        const Wide h2 = Wide(h) * h;
        while (xx > 0 && Wide(xx) * xx * h2 > rhs)
            --xx;
        while (Wide(xx + 1) * (xx + 1) * h2 <= rhs)
            ++xx;
        if ((xx & 1) != ((w - 1) & 1))
            --xx;
        if (xx < 0)
            return false;
        x0 = (m_l + m_r - 1 - xx) / 2;
        x1 = (m_l + m_r - 1 + xx) / 2;
        return true;
    }

    long long m_l, m_t, m_r, m_b;
    std::vector<std::pair<long long, long long>> m_rows;
};

// An x limited to one pixel beyond either side of the clip rectangle, as span takes it.
int clipX(const QRect &clip, long long x)
{
    return int(std::clamp<long long>(x, clip.left() - 1LL, clip.right() + 1LL));
}

// A row of an ellipse region: its extent x0..x1 and, on the one-pixel ring's walk, the
// interior i0..i1 that the rows above and below enclose (the ring is the rest of the row).
struct RingRow
{
    bool present = false;
    long long x0 = 0, x1 = 0;
    bool hasInterior = false;
    long long i0 = 0, i1 = 0;
};

// The ring of an ellipse region is made of the pixels with a 4-neighbour outside the region: a
// thin 8-connected ring around the interior. Visits the present rows from yFrom to yTo.
template <class Visit>
void forEachRingRow(const EllipseRows &box, long long yFrom, long long yTo, Visit &&visit)
{
    RingRow above, current, below;
    const auto read = [&box](long long y, RingRow &row) {
        row.present = box.row(y, row.x0, row.x1);
    };
    read(yFrom - 1, above);
    read(yFrom, current);
    for (long long y = yFrom; y <= yTo; ++y) {
        read(y + 1, below);
        if (current.present) {
            current.hasInterior = false;
            if (above.present && below.present) {
                current.i0 = std::max({current.x0 + 1, above.x0, below.x0});
                current.i1 = std::min({current.x1 - 1, above.x1, below.x1});
                current.hasInterior = current.i0 <= current.i1;
            }
            visit(y, current);
        }
        above = current;
        current = below;
    }
}

bool is32Bit(const QImage &image)
{
    const QImage::Format format = image.format();
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
           format == QImage::Format_ARGB32_Premultiplied;
}

long long floorDiv(Wide num, Wide den)
{
    Wide q = num / den;
    if ((num % den != 0) && ((num < 0) != (den < 0)))
        --q;
    return static_cast<long long>(q);
}

} // namespace

// A run of design pixels; at another ratio than 1 each fills its block of device pixels.
void Canvas::span(int y, int x0, int x1, std::uint32_t color, RasterOp rop)
{
    if (y < m_clip.top() || y > m_clip.bottom())
        return;
    x0 = std::max(x0, m_clip.left());
    x1 = std::min(x1, m_clip.right());
    if (x0 > x1)
        return;
    if (m_scaled) {
        const int dx0 = int(dev(x0));
        const int dx1 = int(std::min<long long>(dev(x1 + 1LL) - 1, m_deviceClip.right()));
        const int dy1 = int(std::min<long long>(dev(y + 1LL), m_deviceClip.bottom() + 1LL));
        for (int dy = int(dev(y)); dy < dy1; ++dy)
            deviceSpan(dy, dx0, dx1, color, rop);
        return;
    }
    deviceSpan(y, x0, x1, color, rop);
}

// A run of device pixels already inside the clip.
void Canvas::deviceSpan(int y, int x0, int x1, std::uint32_t color, RasterOp rop)
{
    if (x0 > x1)
        return;
    std::uint32_t *p = m_bits + qsizetype(y) * m_stride + x0;
    std::uint32_t *const end = p + (x1 - x0 + 1);
    if (rop == RasterOp::Copy) {
        std::fill(p, end, color);
        return;
    }
    withRop(rop, [&]<RasterOp R>() {
        for (; p != end; ++p)
            *p = combine<R>(*p, color);
    });
}

void Canvas::fillBox(const QRect &box, std::uint32_t color, RasterOp rop)
{
    const QRect area = box.normalized().intersected(m_clip);
    for (int y = area.top(); y <= area.bottom(); ++y)
        span(y, area.left(), area.right(), color, rop);
}

void Canvas::line(int x0, int y0, int x1, int y1)
{
    const ResolvedPen &p = pen();
    if (m_scaled) {
        // Solid diagonals in copy mode are drawn at device resolution; straight lines, styled
        // pens and the other modes keep their exact design pixels (xor must not touch a pixel
        // twice where two lines meet).
        if (!p.pattern && (x0 == x1 || y0 == y1))
            straightLine(x0, y0, x1, y1);
        else if (!p.pattern && p.rop == RasterOp::Copy)
            deviceLine(x0, y0, x1, y1);
        else
            blockLine(x0, y0, x1, y1);
        return;
    }
    std::uint32_t *const bits = m_bits;
    const qsizetype stride = m_stride;
    const std::uint32_t color = p.color;
    if (!p.pattern) {
        withRop(p.rop, [&]<RasterOp R>() {
            walkLine(x0, y0, x1, y1, m_clip, [=, this](int x, int y, long long) {
                Q_ASSERT(m_clip.contains(x, y));
                std::uint32_t &pixel = bits[qsizetype(y) * stride + x];
                pixel = combine<R>(pixel, color);
            });
        });
        return;
    }
    // Styled pen: the pattern runs on from the previous line of the same figure; gaps take
    // the background colour while the background is opaque.
    const bool fillGaps = opaqueBackground();
    const std::uint32_t gapColor = brush().color;
    const std::uint8_t *pattern = p.pattern;
    const long long length = p.patternLength;
    const long long base = m_styleCounter;
    const RasterOp rop = p.rop;
    walkLine(x0, y0, x1, y1, m_clip, [&](int x, int y, long long i) {
        Q_ASSERT(m_clip.contains(x, y));
        std::uint32_t &pixel = bits[qsizetype(y) * stride + x];
        if (pattern[(base + i) % length])
            pixel = combine(rop, pixel, color);
        else if (fillGaps)
            pixel = combine(rop, pixel, gapColor);
    });
    const long long n = std::max(std::llabs(static_cast<long long>(x1) - x0),
                                 std::llabs(static_cast<long long>(y1) - y0));
    m_styleCounter = (m_styleCounter + n) % length;
}

// A solid horizontal or vertical line at a ratio: the design pixels it covers are one box.
void Canvas::straightLine(int x0, int y0, int x1, int y1)
{
    if (x0 == x1 && y0 == y1)
        return;
    const ResolvedPen &p = pen();
    const auto cover = [](int from, int to) { // from towards to, leaving out to
        return from < to ? std::pair(from, to - 1) : std::pair(to + 1, from);
    };
    if (y0 == y1) {
        const auto [l, r] = cover(x0, x1);
        span(y0, l, r, p.color, p.rop);
    } else {
        const auto [t, b] = cover(y0, y1);
        fillBox(QRect(QPoint(x0, t), QPoint(x0, b)), p.color, p.rop);
    }
}

void Canvas::blockLine(int x0, int y0, int x1, int y1)
{
    const ResolvedPen &p = pen();
    const bool fillGaps = p.pattern && opaqueBackground();
    const std::uint32_t gapColor = brush().color;
    const long long length = std::max(1, p.patternLength);
    const long long base = m_styleCounter;
    walkLine(x0, y0, x1, y1, m_clip, [&](int x, int y, long long i) {
        if (!p.pattern || p.pattern[(base + i) % length])
            span(y, x, x, p.color, p.rop);
        else if (fillGaps)
            span(y, x, x, gapColor, p.rop);
    });
    if (p.pattern) {
        const long long n = std::max(std::llabs(static_cast<long long>(x1) - x0),
                                     std::llabs(static_cast<long long>(y1) - y0));
        m_styleCounter = (m_styleCounter + n) % length;
    }
}

// The line between the scaled end points, qRound(ratio) device pixels thick across its major
// axis. An end point maps to the edge of its block that the line starts from, so the line
// covers the blocks from its first point up to its last one, which it leaves out, in either
// direction.
void Canvas::deviceLine(int x0, int y0, int x1, int y1)
{
    const long long dx = static_cast<long long>(x1) - x0;
    const long long dy = static_cast<long long>(y1) - y0;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const auto end = [this](long long v, bool major, long long delta) {
        return major && delta < 0 ? dev(v + 1) - 1 : dev(v);
    };
    const long long X0 = end(x0, xMajor, dx), X1 = end(x1, xMajor, dx);
    const long long Y0 = end(y0, !xMajor, dy), Y1 = end(y1, !xMajor, dy);
    const bool deviceXMajor = std::llabs(X1 - X0) >= std::llabs(Y1 - Y0);
    const int thickness = std::max(1, qRound(m_ratio));
    // Steps whose run reaches into the clip from above or from the left count too.
    QRect walkClip = m_deviceClip;
    if (deviceXMajor)
        walkClip.setTop(walkClip.top() - (thickness - 1));
    else
        walkClip.setLeft(walkClip.left() - (thickness - 1));
    std::uint32_t *const bits = m_bits;
    const qsizetype stride = m_stride;
    const std::uint32_t color = pen().color;
    const QRect clip = m_deviceClip;
    walkLine(X0, Y0, X1, Y1, walkClip, [&](int x, int y, long long) {
        if (deviceXMajor) {
            const int to = std::min(y + thickness - 1, clip.bottom());
            for (int yy = std::max(y, clip.top()); yy <= to; ++yy)
                bits[qsizetype(yy) * stride + x] = color;
        } else {
            const int from = std::max(x, clip.left());
            const int to = std::min(x + thickness - 1, clip.right());
            if (from <= to)
                std::fill(bits + qsizetype(y) * stride + from,
                          bits + qsizetype(y) * stride + to + 1, color);
        }
    });
}

void Canvas::boxOutline(int l, int t, int r, int b)
{
    const ResolvedPen &p = pen();
    const ResolvedBrush &br = brush();
    if (p.pattern) {
        // A styled one-pixel outline runs once round the box, clockwise from the top-left
        // corner, each corner drawn once.
        if (!br.clear && r - l > 2 && b - t > 2)
            fillBox(rectLTRB(l + 1, t + 1, r - 1, b - 1), br.color, p.rop);
        m_styleCounter = 0;
        if (b - t == 1) {
            line(l, t, r, t);
        } else if (r - l == 1) {
            line(l, t, l, b);
        } else {
            line(l, t, r - 1, t);
            line(r - 1, t, r - 1, b - 1);
            line(r - 1, b - 1, l, b - 1);
            line(l, b - 1, l, t);
        }
        return;
    }
    // Solid outline of any width: a band of Width pixels centred on the box's edge pixels
    // (the extra pixel of an even width going outwards), or inside the box for psInsideFrame.
    const long long w = p.width;
    const long long outward = m_pen.Style == Gfx::psInsideFrame ? 0 : w / 2;
    const long long inward = m_pen.Style == Gfx::psInsideFrame ? w - 1 : (w - 1) / 2;
    const long long ol = l - outward, ot = t - outward;
    const long long orr = (r - 1) + outward, ob = (b - 1) + outward;
    const long long il = l + inward + 1, it = t + inward + 1;
    const long long ir = (r - 2) - inward, ib = (b - 2) - inward;
    const bool hasInside = il <= ir && it <= ib;
    const long long yFrom = std::max<long long>(ot, m_clip.top());
    const long long yTo = std::min<long long>(ob, m_clip.bottom());
    const auto clampX = [this](long long x) {
        return int(std::clamp<long long>(x, m_clip.left() - 1LL, m_clip.right() + 1LL));
    };
    for (long long y = yFrom; y <= yTo; ++y) {
        if (hasInside && y >= it && y <= ib) {
            span(int(y), clampX(ol), clampX(il - 1), p.color, p.rop);
            span(int(y), clampX(ir + 1), clampX(orr), p.color, p.rop);
            if (!br.clear)
                span(int(y), clampX(il), clampX(ir), br.color, p.rop);
        } else {
            span(int(y), clampX(ol), clampX(orr), p.color, p.rop);
        }
    }
}

// Ellipses by the pen: the brush alone (clear pen), a pen wider than one pixel (the band between
// two ellipse regions), a solid one-pixel pen (the region's ring) and a styled one-pixel pen
// (the ring's pixels in order round the centre, the pattern running along them).
void Canvas::ellipseRaster(int l, int t, int r, int b)
{
    const ResolvedPen &p = pen();
    if (p.clear)
        ellipseBrushOnly(l, t, r, b);
    else if (p.width > 1)
        ellipseWidePen(l, t, r, b);
    else if (!p.pattern)
        ellipseThinPen(l, t, r, b);
    else
        ellipseStyledPen(l, t, r, b);
}

void Canvas::ellipseBrushOnly(int l, int t, int r, int b)
{
    const ResolvedBrush &br = brush();
    if (br.clear)
        return;
    // As with rectangles, the brush alone covers one pixel less each way.
    const EllipseRows box(l, t, r - 1LL, b - 1LL);
    const long long yFrom = std::max<long long>(box.top(), m_clip.top());
    const long long yTo = std::min<long long>(box.bottom(), m_clip.bottom());
    long long x0 = 0, x1 = 0;
    for (long long y = yFrom; y <= yTo; ++y)
        if (box.row(y, x0, x1))
            span(int(y), clipX(m_clip, x0), clipX(m_clip, x1), br.color, pen().rop);
}

void Canvas::ellipseWidePen(int l, int t, int r, int b)
{
    const ResolvedPen &p = pen();
    const ResolvedBrush &br = brush();
    const long long w = p.width;
    const long long outward = m_pen.Style == Gfx::psInsideFrame ? 0 : w / 2;
    const long long inward = m_pen.Style == Gfx::psInsideFrame ? w - 1 : (w - 1) / 2;
    const EllipseRows outer(l - outward, t - outward, r + outward, b + outward);
    const EllipseRows inner(l + inward + 1, t + inward + 1, r - inward - 1, b - inward - 1);
    const long long yFrom = std::max<long long>(outer.top(), m_clip.top());
    const long long yTo = std::min<long long>(outer.bottom(), m_clip.bottom());
    for (long long y = yFrom; y <= yTo; ++y) {
        long long ox0 = 0, ox1 = 0, ix0 = 0, ix1 = 0;
        if (!outer.row(y, ox0, ox1))
            continue;
        if (inner.row(y, ix0, ix1)) {
            span(int(y), clipX(m_clip, ox0), clipX(m_clip, ix0 - 1), p.color, p.rop);
            span(int(y), clipX(m_clip, ix1 + 1), clipX(m_clip, ox1), p.color, p.rop);
            if (!br.clear)
                span(int(y), clipX(m_clip, ix0), clipX(m_clip, ix1), br.color, p.rop);
        } else {
            span(int(y), clipX(m_clip, ox0), clipX(m_clip, ox1), p.color, p.rop);
        }
    }
}

void Canvas::ellipseThinPen(int l, int t, int r, int b)
{
    const ResolvedPen &p = pen();
    const ResolvedBrush &br = brush();
    const long long yFrom = std::max<long long>(t, m_clip.top());
    const long long yTo = std::min<long long>(b - 1LL, m_clip.bottom());
    forEachRingRow(EllipseRows(l, t, r, b), yFrom, yTo, [&](long long y, const RingRow &row) {
        if (!row.hasInterior) {
            span(int(y), clipX(m_clip, row.x0), clipX(m_clip, row.x1), p.color, p.rop);
            return;
        }
        span(int(y), clipX(m_clip, row.x0), clipX(m_clip, row.i0 - 1), p.color, p.rop);
        span(int(y), clipX(m_clip, row.i1 + 1), clipX(m_clip, row.x1), p.color, p.rop);
        if (!br.clear)
            span(int(y), clipX(m_clip, row.i0), clipX(m_clip, row.i1), br.color, p.rop);
    });
}

void Canvas::ellipseStyledPen(int l, int t, int r, int b)
{
    const ResolvedPen &p = pen();
    const ResolvedBrush &br = brush();
    struct RingPixel
    {
        long long x, y;
        double angle;
    };
    std::vector<RingPixel> ring;
    const long long cx2 = static_cast<long long>(l) + r - 1;
    const long long cy2 = static_cast<long long>(t) + b - 1;
    const auto addRing = [&](long long y, long long x0, long long x1) {
        for (long long x = x0; x <= x1; ++x)
            ring.push_back({x, y, std::atan2(double(2 * y - cy2), double(2 * x - cx2))});
    };
    // The whole ring is collected, clipped or not, so that the pattern starts where it would.
    forEachRingRow(EllipseRows(l, t, r, b), t, b - 1LL, [&](long long y, const RingRow &row) {
        if (!row.hasInterior) {
            addRing(y, row.x0, row.x1);
            return;
        }
        addRing(y, row.x0, row.i0 - 1);
        addRing(y, row.i1 + 1, row.x1);
        if (!br.clear)
            span(int(y), clipX(m_clip, row.i0), clipX(m_clip, row.i1), br.color, p.rop);
    });
    std::sort(ring.begin(), ring.end(), [](const RingPixel &a, const RingPixel &c) {
        if (a.angle != c.angle)
            return a.angle < c.angle;
        return a.y != c.y ? a.y < c.y : a.x < c.x;
    });
    const bool fillGaps = opaqueBackground();
    const std::uint32_t gapColor = br.color;
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const RingPixel &px = ring[i];
        if (!m_clip.contains(int(px.x), int(px.y)))
            continue;
        if (m_scaled) {
            if (p.pattern[i % std::size_t(p.patternLength)])
                span(int(px.y), int(px.x), int(px.x), p.color, p.rop);
            else if (fillGaps)
                span(int(px.y), int(px.x), int(px.x), gapColor, p.rop);
            continue;
        }
        std::uint32_t &pixel = m_bits[qsizetype(px.y) * m_stride + qsizetype(px.x)];
        if (p.pattern[i % std::size_t(p.patternLength)])
            pixel = combine(p.rop, pixel, p.color);
        else if (fillGaps)
            pixel = combine(p.rop, pixel, gapColor);
    }
}

void Canvas::polygonFill(std::span<const QPoint> points, std::uint32_t color, RasterOp rop)
{
    // Even-odd rule on pixel centres; a centre exactly on an edge belongs to the polygon when
    // the edge is a left or top one, so shapes that share an edge never overlap.
    const std::size_t n = points.size();
    if (n < 3)
        return;
    long long yMin = points[0].y(), yMax = points[0].y();
    for (const QPoint &point : points) {
        yMin = std::min<long long>(yMin, point.y());
        yMax = std::max<long long>(yMax, point.y());
    }
    const long long yFrom = std::max<long long>(yMin, m_clip.top());
    const long long yTo = std::min<long long>(yMax - 1, m_clip.bottom());
    std::vector<long long> crossings;
    crossings.reserve(n);
    for (long long y = yFrom; y <= yTo; ++y) {
        crossings.clear();
        for (std::size_t i = 0; i < n; ++i) {
            QPoint a = points[i];
            QPoint c = points[(i + 1) % n];
            if (a.y() == c.y())
                continue;
            if (a.y() > c.y())
                std::swap(a, c);
            if (y < a.y() || y >= c.y())
                continue;
            // First pixel centre at or right of the crossing: ceil(x).
            const Wide num = Wide(y - a.y()) * (static_cast<long long>(c.x()) - a.x());
            const long long den = static_cast<long long>(c.y()) - a.y();
            crossings.push_back(a.x() - floorDiv(-num, den));
        }
        std::sort(crossings.begin(), crossings.end());
        const auto clampX = [this](long long x) {
            return int(std::clamp<long long>(x, m_clip.left() - 1LL, m_clip.right() + 1LL));
        };
        for (std::size_t k = 0; k + 1 < crossings.size(); k += 2)
            span(int(y), clampX(crossings[k]), clampX(crossings[k + 1] - 1), color, rop);
    }
}

void Canvas::blit(const QRect &designDest, const QImage &sourceImage, const QRect &designSourceRect,
                  TCopyMode mode)
{
    // Device pixels on both sides: a source at this picture's ratio copies one to one, a
    // source at another ratio (a design-size picture) is scaled to the device pixels.
    QRect dest = m_scaled ? scaledRect(designDest, m_ratio) : designDest;
    const QRect sourceRect = scaledRect(designSourceRect, sourceImage.devicePixelRatio());
    // At a fractional ratio a part of the same design size may round to a device pixel more
    // or less here than in the source: it is copied one to one all the same, not resampled.
    if (m_scaled && sourceImage.devicePixelRatio() == m_ratio &&
        designDest.size() == designSourceRect.size())
        dest.setSize(sourceRect.size());
    const QRect target = dest.intersected(m_deviceClip);
    if (target.isEmpty())
        return;
    // Work from a 32-bit source; a source sharing this image's pixels is copied first, so
    // overlapping transfers read the picture as it was.
    QImage converted;
    const QImage *source = &sourceImage;
    QRect from = sourceRect;
    if (m_image && sourceImage.constBits() == m_image->constBits()) {
        converted = sourceImage.copy(sourceRect);
        from.moveTo(0, 0);
        source = &converted;
    } else if (!is32Bit(sourceImage)) {
        converted = sourceImage.convertToFormat(QImage::Format_RGB32);
        source = &converted;
    }

    const long long dw = dest.width(), dh = dest.height();
    const long long sw = from.width(), sh = from.height();
    const bool unscaled = dw == sw && dh == sh;
    const auto sourceX = [&](long long dx) {
        return from.left() + (unscaled ? dx : ((2 * dx + 1) * sw) / (2 * dw));
    };
    const auto sourceY = [&](long long dy) {
        return from.top() + (unscaled ? dy : ((2 * dy + 1) * sh) / (2 * dh));
    };
    std::vector<int> columns(unscaled ? 0 : std::size_t(target.width()));
    for (int x = target.left(); !unscaled && x <= target.right(); ++x) {
        const long long sx = sourceX(x - dest.left());
        columns[std::size_t(x - target.left())] = sx >= 0 && sx < source->width() ? int(sx) : -1;
    }
    const auto transfer = [&](auto op) {
        for (int y = target.top(); y <= target.bottom(); ++y) {
            const long long sy = sourceY(y - dest.top());
            if (sy < 0 || sy >= source->height())
                continue;
            const auto *srcRow =
                reinterpret_cast<const std::uint32_t *>(source->constScanLine(int(sy)));
            std::uint32_t *dstRow = m_bits + qsizetype(y) * m_stride;
            if (unscaled) {
                // Unscaled, the valid columns are one run at a fixed offset.
                const long long offset = from.left() - dest.left();
                const int x0 = int(std::max<long long>(target.left(), -offset));
                const int x1 =
                    int(std::min<long long>(target.right(), source->width() - 1 - offset));
                for (int x = x0; x <= x1; ++x)
                    dstRow[x] = op(dstRow[x], srcRow[x + offset]);
                continue;
            }
            for (int x = target.left(); x <= target.right(); ++x) {
                const int sx = columns[std::size_t(x - target.left())];
                if (sx >= 0)
                    dstRow[x] = op(dstRow[x], srcRow[sx]);
            }
        }
    };
    switch (mode) {
    case cmSrcAnd:
        transfer([](std::uint32_t d, std::uint32_t s) { return (d & s) | opaque; });
        break;
    case cmSrcPaint:
        transfer([](std::uint32_t d, std::uint32_t s) { return d | s | opaque; });
        break;
    case cmSrcInvert:
        transfer([](std::uint32_t d, std::uint32_t s) { return (d ^ s) | opaque; });
        break;
    case cmSrcCopy:
    default:
        transfer([](std::uint32_t, std::uint32_t s) { return s | opaque; });
        break;
    }
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The drawing surface of every component. A Canvas draws on a paint device with the pixel rules
// the drawing code is written against, so that pictures are exact and testable pixel by pixel:
//
// - integer coordinates name pixels; lines and polylines leave out their last point, and a
//   polyline draws each interior vertex once (which matters in xor mode);
// - Rectangle and Ellipse (l, t, r, b) cover the pixels l..r-1 and t..b-1, outline in the pen,
//   interior in the brush; a clear brush leaves the interior alone; with a clear pen the brush
//   alone fills l..r-2, t..b-2 (one pixel less to the right and below);
// - pen modes combine the pen (and the brush of closed shapes) with the picture; FillRect,
//   SetPixel and texts always copy;
// - dashed and dotted pens repeat fixed patterns along the line; their gaps are filled with the
//   brush colour while the background mode is opaque (by default: while the brush is solid);
// - TextOut puts the text box's top-left corner at (x, y) unless told otherwise by
//   setTextAlign; the box is TextWidth x TextHeight and is filled with the brush colour while
//   the background mode is opaque;
// - a QRect argument covers exactly its width x height pixels, the same pixels as
//   (left, top, left + width, top + height) in the (l, t, r, b) forms.
//
// On 32-bit images (Format_RGB32 and the two ARGB32 formats) lines, shapes, fills and image
// transfers are rasterised here, straight into the image's memory and always clipped to the
// clip rectangle; one-pixel lines run without QPainter's per-call overhead. Texts and pens
// wider than one pixel go through a QPainter held on the image for the canvas's lifetime
// (antialiasing off, explicit clip rectangle). On any other device (PDF writers, printers)
// everything goes through QPainter with the same geometry, which keeps the pictures right
// but not pixel-exact.
//
// Pixel density: every coordinate above is a design pixel. An image with a devicePixelRatio r
// holds r x r device pixels per design pixel (design pixel x covers device pixels
// scaledCoordinate(x, r) up to scaledCoordinate(x + 1, r)); width() and height() stay in
// design pixels. Texts, wide pens and diagonal solid one-pixel lines are drawn at device
// resolution (a one-pixel line is qRound(r) device pixels thick); everything else keeps the
// exact design-pixel rules above, each design pixel filling its block of device pixels. At
// r = 1 nothing changes.
//
// While a Canvas is attached to a QImage the image must not be replaced or resized; Bitmap
// does that for its own image. Copies of the image taken meanwhile are deep copies (Qt copies
// an image that is being painted on).

#include "platform/Colors.h"
#include "platform/Fonts.h"
#include "platform/GraphicsTypes.h"

#include <QFontMetrics>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QStaticText>
#include <QString>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>

// The pixel colour Pixel() reports for a point outside the picture or on a device that cannot
// be read back.
constexpr TColor clInvalidPixel = TColor(-1);

struct TPen
{
    TColor Color = clBlack;
    int Width = 1; // 0 and 1 both mean one pixel
    TPenStyle Style = Gfx::psSolid;
    TPenMode Mode = Gfx::pmCopy;

    bool operator==(const TPen &) const = default;
};

struct TBrush
{
    TColor Color = clWhite;
    TBrushStyle Style = Gfx::bsSolid;

    bool operator==(const TBrush &) const = default;
};

// How Draw, StretchDraw, TileDraw and CopyRect combine source pixels with the picture.
enum TCopyMode {
    cmSrcCopy,  // destination := source
    cmSrcAnd,   // destination := destination AND source
    cmSrcPaint, // destination := destination OR source
    cmSrcInvert // destination := destination XOR source
};

// Background of texts and of the gaps of dashed lines.
enum class BkMode { FollowBrush, Opaque, Transparent };

// Which point of the text box TextOut's (x, y) names.
enum class TextAlignH { Left, Right, Center };
enum class TextAlignV { Top, Baseline, Bottom };

// How a pen or brush colour c combines with a pixel d: c, d XOR c, NOT (d XOR c), NOT d,
// d AND c, d OR c.
enum class RasterOp : std::uint8_t { Copy, Xor, NotXor, Not, And, Or };

// The first device pixel of design pixel v at the device pixel ratio r: v * r rounded half up,
// so adjacent design pixels tile the device pixels without gaps or overlaps.
inline long long scaledCoordinate(long long v, double ratio)
{
    return static_cast<long long>(std::floor(double(v) * ratio + 0.5));
}

// The device pixels that the design rectangle covers at the ratio.
QRect scaledRect(const QRect &rect, double ratio);
// An image's size and rectangle in design pixels (its size over its devicePixelRatio).
QSize designSize(const QImage &image);
inline QRect designRect(const QImage &image)
{
    return QRect(QPoint(0, 0), designSize(image));
}

// The QRect covering l..r-1 and t..b-1.
inline QRect rectLTRB(int l, int t, int r, int b)
{
    return QRect(l, t, r - l, b - t);
}

class Bitmap;

class Canvas
{
public:
    explicit Canvas(QPaintDevice *device = nullptr);
    ~Canvas();
    Canvas(const Canvas &) = delete;
    Canvas &operator=(const Canvas &) = delete;

    // Ends drawing on the current device and starts on another (nullptr: none). Pen, brush,
    // font, pen position, modes and the user clip rectangle are kept.
    void setDevice(QPaintDevice *device);
    QPaintDevice *device() const { return m_device; }
    // The image drawn on, or nullptr for other devices.
    QImage *image() const { return m_image; }
    // The picture's size in design pixels.
    int width() const { return m_bounds.width(); }
    int height() const { return m_bounds.height(); }
    // Device pixels per design pixel: the image's devicePixelRatio, 1 for other devices.
    double devicePixelRatio() const { return m_ratio; }

    // A printer canvas is one on a paged device (a PDF writer or a printer), or one told to
    // behave as such (which lets tests look at the pixels of printer pictures).
    bool isPrinter() const;
    void setTreatAsPrinter(bool printer);
    // Pixel density: the device's for printers, the fixed screen density otherwise.
    int pixelsPerInchX() const;
    int pixelsPerInchY() const;
    // Relative width and height of a device pixel (36 each for square pixels).
    int aspectX() const;
    int aspectY() const;

    TPen &Pen() { return m_pen; }
    const TPen &Pen() const { return m_pen; }
    TBrush &Brush() { return m_brush; }
    const TBrush &Brush() const { return m_brush; }
    TFont &Font() { return m_font; }
    const TFont &Font() const { return m_font; }
    QPoint PenPos() const { return m_penPos; }
    void SetPenPos(QPoint pos) { MoveTo(pos.x(), pos.y()); }
    TCopyMode CopyMode() const { return m_copyMode; }
    void SetCopyMode(TCopyMode mode) { m_copyMode = mode; }

    void setBkMode(BkMode mode) { m_bkMode = mode; }
    BkMode bkMode() const { return m_bkMode; }
    void setTextAlign(TextAlignH horizontal, TextAlignV vertical);
    TextAlignH textAlignH() const { return m_alignH; }
    TextAlignV textAlignV() const { return m_alignV; }

    // Drawing is limited to this rectangle (and always to the device's bounds).
    void setClipRect(const QRect &rect);
    void resetClipRect();
    // The rectangle drawing is limited to now.
    QRect clipRect() const { return m_clip; }

    // While set, every drawing call adds to *box the part of the device it may touch, clip
    // rectangle or not; the chart learns from it where an axis lies. nullptr: off.
    void setDrawnBoxRecorder(QRect *box) { m_drawnBox = box; }

    void MoveTo(int x, int y);
    // A line from the pen position to (x, y), leaving out (x, y); the pen moves there.
    void LineTo(int x, int y);
    // Lines through the points, leaving out the last one; the pen position is not used or
    // changed.
    void Polyline(std::span<const QPoint> points);
    void Polyline(std::initializer_list<QPoint> points)
    {
        Polyline(std::span<const QPoint>(points.begin(), points.size()));
    }
    // The closed outline through the points in the pen, its interior (even-odd rule) in the
    // brush.
    void Polygon(std::span<const QPoint> points);
    void Polygon(std::initializer_list<QPoint> points)
    {
        Polygon(std::span<const QPoint>(points.begin(), points.size()));
    }
    void Rectangle(int l, int t, int r, int b);
    void Rectangle(const QRect &rect)
    {
        Rectangle(rect.left(), rect.top(), rect.x() + rect.width(), rect.y() + rect.height());
    }
    void Ellipse(int l, int t, int r, int b);
    void Ellipse(const QRect &rect)
    {
        Ellipse(rect.left(), rect.top(), rect.x() + rect.width(), rect.y() + rect.height());
    }
    // Fills with the brush (nothing with a clear brush).
    void FillRect(const QRect &rect);
    void FillRect(int l, int t, int r, int b) { FillRect(rectLTRB(l, t, r, b)); }
    void SetPixel(int x, int y, TColor color);
    TColor Pixel(int x, int y) const;

    void TextOut(int x, int y, const QString &text);
    // TextOut limited to rect; an opaque background fills all of rect.
    void TextRect(const QRect &rect, int x, int y, const QString &text);
    int TextWidth(const QString &text) const;
    int TextHeight(const QString &text) const;
    QSize TextExtent(const QString &text) const;
    // The current font's ascent (the baseline's distance from the text box's top).
    int textAscent() const;

    // Image transfers, combined by the copy mode. Stretching picks the nearest source pixel.
    void Draw(int x, int y, const QImage &image);
    void Draw(int x, int y, const Bitmap &bitmap);
    void StretchDraw(const QRect &dest, const QImage &image);
    void StretchDraw(const QRect &dest, const Bitmap &bitmap);
    // Repeats the image from the area's top-left corner, cut off at the area's edges.
    void TileDraw(const QRect &area, const QImage &image);
    void CopyRect(const QRect &dest, const QImage &source, const QRect &sourceRect);
    void CopyRect(const QRect &dest, const Canvas &source, const QRect &sourceRect);

private:
    struct ResolvedPen
    {
        std::uint32_t color = 0xFF000000u;
        RasterOp rop = RasterOp::Copy;
        int width = 1;
        const std::uint8_t *pattern = nullptr; // nullptr: solid
        int patternLength = 0;
        bool clear = false;
    };
    struct ResolvedBrush
    {
        std::uint32_t color = 0xFFFFFFFFu;
        bool clear = false;
    };
    enum class PainterUse : std::uint8_t { None, Text, Shape, Image };

    bool raster() const { return m_bits != nullptr; }
    long long dev(long long v) const
    {
        if (!m_scaled)
            return v;
        return m_wholeRatio ? v * m_wholeRatio : scaledCoordinate(v, m_ratio);
    }
    void noteDrawn(const QRect &box)
    {
        if (m_drawnBox)
            *m_drawnBox |= box.intersected(m_bounds);
    }
    void noteLines(std::span<const QPoint> points);
    const ResolvedPen &pen();
    const ResolvedBrush &brush();
    bool opaqueBackground();
    void applyClip();
    // Limits drawing to the clip (design pixels), on the raster engine and the painter alike.
    void setDrawingClip(const QRect &clip);

    // Raster engine (32-bit images).
    void span(int y, int x0, int x1, std::uint32_t color, RasterOp rop);
    void deviceSpan(int y, int x0, int x1, std::uint32_t color, RasterOp rop);
    void fillBox(const QRect &box, std::uint32_t color, RasterOp rop);
    void line(int x0, int y0, int x1, int y1);
    void blockLine(int x0, int y0, int x1, int y1);
    void straightLine(int x0, int y0, int x1, int y1);
    void deviceLine(int x0, int y0, int x1, int y1);
    void boxOutline(int l, int t, int r, int b);
    void ellipseRaster(int l, int t, int r, int b);
    void ellipseBrushOnly(int l, int t, int r, int b);
    void ellipseWidePen(int l, int t, int r, int b);
    void ellipseThinPen(int l, int t, int r, int b);
    void ellipseStyledPen(int l, int t, int r, int b);
    void polygonFill(std::span<const QPoint> points, std::uint32_t color, RasterOp rop);
    void blit(const QRect &dest, const QImage &source, const QRect &sourceRect, TCopyMode mode);

    // QPainter paths (texts, wide pens, other devices).
    void syncFont() const;
    QPainter &shapePainter(bool withBrush);
    QPainter &textPainter();
    QPainter &copyPainter(); // for fills in a given colour that ignore the pen mode
    void painterLines(std::span<const QPoint> points, bool closed);
    void painterBlit(const QRect &dest, const QImage &source, const QRect &sourceRect,
                     TCopyMode mode);
    void drawText(int x, int y, const QString &text, const QRect *fillRect);

    QPaintDevice *m_device = nullptr;
    QImage *m_image = nullptr;
    QPainter m_painter;
    std::uint32_t *m_bits = nullptr; // raster engine target, or nullptr
    qsizetype m_stride = 0;          // pixels per row
    QRect m_bounds;                  // design pixels
    std::optional<QRect> m_userClip;
    QRect m_clip;       // design pixels
    QRect m_deviceClip; // the clip in device pixels, within the image
    double m_ratio = 1.0;
    bool m_scaled = false; // a raster image at a ratio other than 1
    int m_wholeRatio = 0;  // the ratio when it is a whole number, else 0
    QRect *m_drawnBox = nullptr;
    bool m_treatAsPrinter = false;

    TPen m_pen;
    TBrush m_brush;
    TFont m_font;
    QPoint m_penPos;
    TCopyMode m_copyMode = cmSrcCopy;
    BkMode m_bkMode = BkMode::FollowBrush;
    TextAlignH m_alignH = TextAlignH::Left;
    TextAlignV m_alignV = TextAlignV::Top;
    long long m_styleCounter = 0; // position in the dash pattern, carried from line to line

    TPen m_resolvedPenFrom;
    ResolvedPen m_resolvedPen;
    bool m_penResolved = false;
    TBrush m_resolvedBrushFrom;
    ResolvedBrush m_resolvedBrush;
    bool m_brushResolved = false;

    mutable FontData m_fontDataFrom;
    mutable QFont m_qfont;
    mutable std::optional<QFontMetrics> m_metrics;
    // Laid-out texts of the current font: axis labels repeat on every repaint, and laying a
    // text out costs far more than drawing it.
    struct TextLayout
    {
        QStaticText text;
        int advance = 0;
        QRect ink; // the glyphs' box, from the top left corner of the line
    };
    mutable QHash<QString, TextLayout> m_textLayouts;
    const TextLayout &textLayout(const QString &text) const;

    PainterUse m_painterUse = PainterUse::None;
    TPen m_painterPen;
    TBrush m_painterBrush;
    bool m_painterWithBrush = false;
    TColor m_painterTextColor = 0;
    FontData m_painterFont;
    bool m_painterFontSet = false;
};

// An off-screen picture: an RGB32 image with a canvas on it.
class Bitmap
{
public:
    Bitmap();
    Bitmap(int width, int height);
    Bitmap(const Bitmap &) = delete;
    Bitmap &operator=(const Bitmap &) = delete;

    // The size in design pixels.
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // Resizes, keeping the pixels both sizes share; new pixels are white. Negative sizes
    // count as 0.
    void SetSize(int width, int height);
    // The device pixels per design pixel of the image; a change starts a white picture.
    void setDevicePixelRatio(double ratio);
    double devicePixelRatio() const { return m_ratio; }
    void SetWidth(int width) { SetSize(width, Height()); }
    void SetHeight(int height) { SetSize(Width(), height); }
    // Loads a picture file in any format Qt reads; false (and the picture unchanged) on failure.
    bool LoadFromFile(const QString &fileName);
    void setImage(const QImage &image);

    Canvas &canvas() { return m_canvas; }
    const Canvas &canvas() const { return m_canvas; }
    const QImage &image() const { return m_image; }

private:
    void rebuild(int width, int height, double ratio);

    QImage m_image;
    Canvas m_canvas;
    int m_width = 0;
    int m_height = 0;
    double m_ratio = 1.0;
};

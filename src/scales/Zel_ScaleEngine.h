// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The scale engine: the pure arithmetic behind every axis, in plain functions and value types
// that need no QApplication and no widget. The scale control TScale (Zel_Scale.h) and the
// chart's axis renderers draw with exactly these functions: the rounding helpers, the nice
// tick step, the automatic decimals, the value-to-pixel mapping, the tick loops of linear and
// logarithmic axes and the label texts.
//
// Ranges that cannot be drawn. Nothing a caller can set makes a scale crash, hang or draw
// outside its canvas:
// - RangeLow and RangeHigh refuse NaN and infinities (the old value stays);
// - every finite range is computed in long doubles, so even -1.7e308..1.7e308 gets its ticks;
//   a step lost in rounding against the ends (more than 1e18 steps from zero, as a step of 1
//   on a range near 1e20) gives no ticks: ComputeTickStep reports a Step of 0;
// - a logarithmic axis with an end at or below zero draws no ticks (its mapping stays as it
//   was, there is no place for them);
// - each tick loop stops after TickLoopLimit positions, far more than any axis has pixels; a
//   drawn axis never reaches that, since MinTicks 0 (a tick at every integer) gives way to
//   the automatic step where the integers are denser than the pixels (LinearAxisMinTicks);
// - pixel positions are limited to +-2147483647 (NaN values map to pixel 0), and all drawing
//   coordinates are limited to a range the canvas clips safely.

#include <QObject>
#include <QString>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <span>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ZelScl {
Q_NAMESPACE

// sctXB and sctXT are horizontal axes (ticks and labels above / below the base line), sctYL
// and sctYR vertical ones (ticks and labels right / left of the base line).
enum TScaleType { sctXB, sctXT, sctYL, sctYR };
Q_ENUM_NS(TScaleType)

// Label kinds: none, numbers, seconds as h:mm:ss, day counts as dates and times, and texts
// taken from UserTickText.
enum TFigType { ftNoFigs, ftNum, ftTime, ftDateTime, ftUserText };
Q_ENUM_NS(TFigType)

// The end of the axis the caption offsets are measured from.
enum TScaleUnitAnchor { uaSclTopLft, uaSclCenter, uaSclBotRgt };
Q_ENUM_NS(TScaleUnitAnchor)

} // namespace ZelScl

using ZelScl::TFigType;
using ZelScl::TScaleType;
using ZelScl::TScaleUnitAnchor;
using enum ZelScl::TScaleType;
using enum ZelScl::TFigType;
using enum ZelScl::TScaleUnitAnchor;

inline bool isVerticalScale(TScaleType type)
{
    return type == sctYL || type == sctYR;
}

// ---- rounding --------------------------------------------------------------------------------

namespace Zel {
// All four keep the floating type, so that huge values and NaN pass through unharmed.
// Floor: the nearest integer, minus one if x lies below it. Ceil: the nearest integer, plus
// one if x lies above it. Int: truncation toward zero. Round: the nearest integer, halves to
// even (2.5 gives 2, 3.5 gives 4, -2.5 gives -2).
long double Floor(long double x);
long double Ceil(long double x);
long double Int(long double x);
long double Round(long double x);
} // namespace Zel

// ---- tick arithmetic -------------------------------------------------------------------------

// Recorded tick positions per paint.
constexpr int TickCountLimit = 250;
// The most positions one tick loop visits.
constexpr int TickLoopLimit = 20000;

// Tick lengths in pixels.
constexpr int ShortTickLength = 4;
constexpr int LongTickLengthHoriz = 7;
constexpr int LongTickLengthVert = 6;

struct TTickStep
{
    long double FirstTick = 0;    // value of the first labelled tick
    long double Step = 0;         // between labelled ticks, negative on reversed axes; 0: no ticks
    std::uint16_t ShortCount = 1; // short intervals per step
    // The round numbers behind them: |Step| = Mantissa x 10^Exponent (Mantissa 1, 2 or 5) and
    // FirstTick = FirstIndex x Step. The tick loops build every position from these, so that
    // a tick is the round number it stands for (rounded once), however far from zero.
    long long FirstIndex = 0;
    int Mantissa = 1;
    int Exponent = 0;
};

// The nice step of a linear axis: the largest of 1, 2 or 5 times a power of ten that gives at
// least MinTicks labelled intervals (MinTicks 0: a step of 1), and the first multiple of it
// that lies no more than 0.1 % of a step before RangeLow. Step is 0 for equal ends, for a
// negative MinTicks and for the ranges described at the top of this header.
TTickStep ComputeTickStep(int MinTicks, long double RangeLow, long double RangeHigh);

// The MinTicks a linear axis is drawn with, axisPixels being the pixels between its ends.
// MinTicks 0 asks for a tick at every integer; those are kept while they are no denser than
// the pixels (and within TickLoopLimit), else the axis takes the step of DefaultMinTicks.
constexpr int DefaultMinTicks = 3;
int LinearAxisMinTicks(int MinTicks, double RangeLow, double RangeHigh, long long axisPixels);

// Effective decimals of the labels of a linear axis: DecPlaces itself unless it is -2 or -3;
// then by the range's width -1 (scientific) for widths >= 1e6 or <= 1e-4, 0 for widths >= 100,
// else 2 - Round(ln(width) / 2.5).
int AutoDecPlaces(int DecPlaces, double RangeHigh, double RangeLow);
// The same for logarithmic axes: DecPlaces itself unless it is -2 (so -3 passes through);
// then -1 for widths >= 1e6 or <= 1e-4, 0 when the smaller end is >= 1, else
// 1 - Round(log10(smaller end)).
int AutoLogDecPlaces(int DecPlaces, double RangeHigh, double RangeLow);

// The control's extent and margins, as the mapping reads them.
struct TScaleGeometry
{
    int Width = 0;
    int Height = 0;
    int MarginLeft = 0;
    int MarginRight = 0;
    int MarginTop = 0;
    int MarginBottom = 0;
    TScaleType ScaleType = sctXB;
};

// pixel = PixelFactor * value + PixelOffset (value replaced by ln(value) on logarithmic axes).
struct TScaleMapping
{
    double PixelFactor = 1.0;
    double PixelOffset = 0.0;
};

// Recomputes the mapping so that RangeLow lands on the axis's first pixel (left end, or
// bottom end of a vertical axis) and RangeHigh on its last. Returns false and leaves the
// mapping alone for equal or non-finite ends, and on a logarithmic axis for ends <= 0. A
// control too small for its margins gets PixelFactor 0 and PixelOffset Width / 2.
bool ComputeScaleMapping(const TScaleGeometry &geometry, double RangeLow, double RangeHigh,
                         bool Logarithmic, TScaleMapping &mapping);

// ---- the value-to-pixel map ------------------------------------------------------------------

// Mapped pixels are limited to +-PixelLimit; the chart limits the pixels of its items further,
// to +-ItemPixelLimit, a range in which the canvas clips every shape safely.
constexpr double PixelLimit = 2147483647.0;
constexpr int ItemPixelLimit = 30000;
// Values at or below this have no place on a logarithmic axis.
constexpr double kLogAxisFloor = 1e-100;

namespace Zel {
// The nearest integer, halves to even, of a value known to be finite and within the int range:
// one conversion instruction on x86 (lrint would be a library call unless errno handling is
// switched off).
inline int roundEven(double v)
{
#if defined(__SSE2__)
    return _mm_cvtsd_si32(_mm_set_sd(v));
#else
    return static_cast<int>(std::lrint(v));
#endif
}
} // namespace Zel

inline int limitItemPixel(long long v)
{
    return static_cast<int>(std::clamp<long long>(v, -ItemPixelLimit, ItemPixelLimit));
}

// The map of one axis between world values and pixels, used by the scales, the chart's
// mapping, its mouse hit-tests and its item drawing alike:
//     pixel = K * v + D, with v the value or, on a logarithmic axis, its natural logarithm.
// A pixel is limited to +-PixelLimit and rounded to the nearest integer, halves to even; NaN
// gives 0. On a logarithmic axis values <= kLogAxisFloor go to FloorPixel, the control's
// edge at the low end of the axis (lowEndEdge).
//
// The scales and the chart have always formed the last bits of a pixel differently, which
// decides the side of a half-pixel now and then; both ways are kept, so no picture moves:
// - Rounding::Extended (scales): the logarithm in double precision, the sum K * v + D rounded
//   as a long double;
// - Rounding::ViaDouble (the chart): the logarithm and the sum in long double, the sum stored
//   as a double, then rounded.
class TAxisMap
{
public:
    enum class Rounding : std::uint8_t { Extended, ViaDouble };

    TAxisMap() = default;
    TAxisMap(long double K, long double D, bool logarithmic, int floorPixel, double rangeLow,
             Rounding rounding)
        : m_K(K), m_D(D), m_k(static_cast<double>(K)), m_d(static_cast<double>(D)),
          m_rangeLow(rangeLow), m_floorPixel(floorPixel), m_logarithmic(logarithmic),
          m_rounding(rounding)
    {
    }

    long double K() const { return m_K; }
    long double D() const { return m_D; }
    // K and D rounded to double, for the fast paths of item drawing.
    double k() const { return m_k; }
    double d() const { return m_d; }
    bool Logarithmic() const { return m_logarithmic; }
    int FloorPixel() const { return m_floorPixel; }

    // The pixel of a value.
    int pixel(double value) const;

    // The pixel of a value limited to +-ItemPixelLimit, as chart items are drawn. Limiting
    // before rounding gives the same integer as rounding before limiting. On a linear axis the
    // sum is formed in double arithmetic, where it differs from the extended one by far less
    // than 1e-14 of the terms' size: it rounds to the same integer unless it lies that close to
    // a half, and only then (and beyond the limit, and for NaN) pixel() is asked.
    int itemPixel(double value) const
    {
        if (!m_logarithmic) [[likely]] {
            const double term = m_k * value;
            const double p = term + m_d;
            if (std::fabs(p) < ItemPixelLimit) [[likely]] {
                const int n = Zel::roundEven(p);
                const double tolerance = 1e-14 * (std::fabs(term) + std::fabs(m_d));
                if (std::fabs(std::fabs(p - double(n)) - 0.5) > tolerance) [[likely]]
                    return n;
            }
        }
        return limitItemPixel(pixel(value));
    }

    // The value at a pixel (the inverse of the map); RangeLow when the map has no extent
    // (K = 0).
    double world(int pixel) const;

    // Where a logarithmic axis puts the values it has no place for: the control's edge at the
    // low end of the axis, pixel 0 of a horizontal axis (width when reversed) and pixel height
    // of a vertical one (0 when reversed).
    static int lowEndEdge(bool vertical, int width, int height, double rangeLow, double rangeHigh)
    {
        if (vertical)
            return rangeHigh >= rangeLow ? height : 0;
        return rangeHigh >= rangeLow ? 0 : width;
    }

private:
    long double m_K = 0;
    long double m_D = 0;
    double m_k = 0;
    double m_d = 0;
    double m_rangeLow = 0;
    int m_floorPixel = 0;
    bool m_logarithmic = false;
    Rounding m_rounding = Rounding::Extended;
};

// The map of a scale with the given mapping, extent and range (Rounding::Extended).
TAxisMap ScaleAxisMap(const TScaleMapping &mapping, const TScaleGeometry &geometry, double RangeLow,
                      double RangeHigh, bool Logarithmic);

// The pixel of a value along a scale's axis: ScaleAxisMap(...).pixel(value).
int MapValueToPixel(const TScaleMapping &mapping, const TScaleGeometry &geometry, double RangeLow,
                    double RangeHigh, bool Logarithmic, double value);

enum class TTickKind : std::uint8_t {
    Short,       // unlabelled tick of a linear axis
    Labelled,    // labelled tick of a linear axis
    LogMinor,    // unlabelled tick of a logarithmic axis (3, 4, 6, 7, 8, 9 x 10^k)
    LogLabelled, // labelled tick of a logarithmic axis (1, 2, 5 x 10^k)
};

// One tick as the loops hand it out, in drawing order.
struct TScaleTick
{
    long double Value = 0;
    TTickKind Kind = TTickKind::Short;
    bool Record = false; // goes into TickPositions
    bool Decade = false; // a logarithmic tick at 1 x 10^Exponent
    int Exponent = 0;    // logarithmic ticks: the power of ten of the decade
};

using TTickVisitor = std::function<void(const TScaleTick &tick)>;

inline bool isLabelledTick(TTickKind kind)
{
    return kind == TTickKind::Labelled || kind == TTickKind::LogLabelled;
}

// The ticks of a linear numeric axis: first the short ticks (when ShortTicks), starting one
// step before the first labelled tick but not before RangeLow, then the labelled ones. Short
// ticks are always recorded; labelled ones on vertical axes always, on horizontal ones only
// without short ticks. Nothing is visited when the step is 0.
void ForEachLinearTick(int MinTicks, double RangeLow, double RangeHigh, bool ShortTicks,
                       bool Vertical, const TTickVisitor &visit);

// True when a logarithmic axis over the range uses decade ticks: both ends positive and at
// least one decade apart. Positive ranges narrower than a decade take the linear loops (on
// the logarithmic mapping). Decades are counted so that ends written as m x 10^k and
// m x 10^(k+1) are exactly one apart, although neither is exact in binary.
bool UsesDecadeTicks(double RangeLow, double RangeHigh);

// The decade ticks of a logarithmic axis, ascending: 1 x 10^k always; when MinTicks exceeds
// the number of decades by more than 0.5 also 2 and 5 x 10^k (labelled) and, with ShortTicks,
// 3, 4, 6, 7, 8, 9 x 10^k. Range ends are included with a relative tolerance of 1e-9. Nothing
// is visited unless both ends are positive and finite.
void ForEachLogTick(int MinTicks, double RangeLow, double RangeHigh, bool ShortTicks, bool Vertical,
                    const TTickVisitor &visit);

// ---- label texts -----------------------------------------------------------------------------

// dp >= 0: fixed notation with dp decimals ("12.50", "-0.2", "100"); dp < 0: scientific with
// two significant digits behind a sign column (" 1.5E+06", "-2.0E-05"), eight asterisks when
// the exponent needs three digits.
QString FormatTickValue(long double value, int dp);

// The inscript's part before its first "&", the text, and its part after it; without "&" the
// inscript is a prefix. An empty text stays empty.
QString ApplyInscript(const QString &text, const QString &inscript);

// Item n (1-based) of a "|"-separated list; past the end the last item again (empty when the
// list ends with "|"); empty for an empty list and for n < 1.
QString UserTickItem(const QString &list, int n);

// The text of a labelled tick of a linear axis before user texts and inscripts: values within
// 1e-14 of the range's width from zero are written as zero ("0.0", or "0" for dp 0, when the
// width exceeds 100000), texts are cut to 14 characters, and with DecPlaces 0 a value more
// than 1e-6 away from an integer gets no text. dp is the effective count (AutoDecPlaces).
QString LinearTickLabel(long double value, int dp, int DecPlaces, double RangeLow,
                        double RangeHigh);

// The text of a labelled tick of a logarithmic axis: with dp -3 the exponent alone at
// 1 x 10^k and nothing at 2 and 5 x 10^k, else FormatTickValue; cut to 14 characters; with
// DecPlaces -2 trailing zeros of a fixed text are removed, then a trailing ".". A value too
// small for its decimals (a text that reads as zero) is written in scientific form instead.
QString LogTickLabel(const TScaleTick &tick, int dp, int DecPlaces);

// The values of the ticks drawn by the last paint, at most TickCountLimit of them.
class TTickPositions
{
public:
    void clear() { m_count = 0; }
    // Appends a value; silently ignored once the limit is reached.
    void record(double value)
    {
        if (m_count < TickCountLimit)
            m_values[m_count++] = value;
    }
    int count() const { return m_count; }
    // The value with the 1-based index, 0.0 outside 1..count().
    double at(int index) const
    {
        return index >= 1 && index <= m_count ? m_values[index - 1] : 0.0;
    }
    std::span<const double> values() const
    {
        return {m_values.data(), static_cast<std::size_t>(m_count)};
    }

private:
    std::array<double, TickCountLimit> m_values{};
    int m_count = 0;
};

// Pure arithmetic of the scale engine: rounding helpers, the nice tick step, the automatic
// decimals, the value-to-pixel mapping and the tick loops of linear and logarithmic axes.
// Intermediate values are long doubles; the tolerances (1e-10 on the mantissa, 0.001 of a
// step at the loop ends, 1e-9 relative at the ends of a logarithmic axis) are applied as the
// tick layout has always used them.

#include "scales/Zel_ScaleEngine.h"

#include <algorithm>
#include <cmath>

namespace Zel {

long double Round(long double x)
{
    // Halves go to the even neighbour, as the default rounding mode does. A zero result is +0
    // (the nearest integer of -0.3 is 0, not -0); only -0 itself stays -0.
    const long double r = std::rint(x);
    return r == 0 && x != 0 ? 0.0L : r;
}

long double Floor(long double x)
{
    const long double r = Round(x);
    return x < r ? r - 1 : r;
}

long double Ceil(long double x)
{
    const long double r = Round(x);
    return x > r ? r + 1 : r;
}

long double Int(long double x)
{
    return std::trunc(x);
}

} // namespace Zel

namespace {

constexpr long double kMantissaTolerance = 1e-10L;
constexpr long double kLogEndTolerance = 0.999999999L;
// A step smaller than this fraction of the larger range end is lost in the arithmetic.
constexpr long double kMaxStepsFromZero = 1e18L;

bool finite(long double x)
{
    return std::isfinite(x);
}

// 10^e; exact up to 10^27, which the long double's 64-bit mantissa holds.
long double powerOfTen(int e)
{
    if (e > 27)
        return std::pow(10.0L, e);
    long double p = 1;
    for (int i = 0; i < e; ++i)
        p *= 10;
    return p;
}

// n x mantissa x 10^exponent with a single rounding: n x mantissa is a whole number below
// 2^64, exact, and so is the power of ten it is multiplied or divided by.
long double roundMultiple(long double n, int mantissa, int exponent)
{
    const long double count = n * mantissa;
    return exponent >= 0 ? count * powerOfTen(exponent) : count / powerOfTen(-exponent);
}

// Decades between two positive values, snapped to a whole number within 1e-12: the ends of a
// range are decimal numbers rounded to binary, off by far less than that.
long double decadesBetween(long double a, long double b)
{
    const long double d = std::fabs(std::log10(b) - std::log10(a));
    const long double whole = std::nearbyint(d);
    return std::fabs(d - whole) < 1e-12L ? whole : d;
}

// The position of a tick: index steps of Mantissa x 10^Exponent, signed like the step.
long double tickAt(long long index, long double sign, int mantissa, int exponent)
{
    return roundMultiple(sign * static_cast<long double>(index), mantissa, exponent);
}

} // namespace

TTickStep ComputeTickStep(int MinTicks, long double RangeLow, long double RangeHigh)
{
    TTickStep result;
    result.FirstTick = RangeLow;
    const long double lo = RangeLow;
    const long double hi = RangeHigh;
    if (hi == lo || !finite(lo) || !finite(hi) || MinTicks < 0)
        return result;

    const long double s = lo < hi ? 1 : -1;
    const long double span = std::fabs(hi - lo);
    if (!finite(span))
        return result;

    std::uint16_t shortCount = 5;
    int mantissa = 1;
    int exponent = 0;
    if (MinTicks == 0) {
        shortCount = span > 10 ? 1 : 5;
    } else {
        long double L = std::log10(span / MinTicks);
        long double F = L - Zel::Int(L);
        if (std::fabs(F) < kMantissaTolerance || std::fabs(F) > 1 - kMantissaTolerance) {
            L = Zel::Round(L);
            F = 0;
        }
        if (L < 0 && F != 0)
            L -= 1;
        if (F < 0)
            F += 1;
        static const long double log2 = std::log10(2.0L);
        static const long double log5 = std::log10(5.0L);
        // Spans of doubles keep the exponent within a few thousand.
        exponent = static_cast<int>(Zel::Int(L));
        if (F < log2 + kMantissaTolerance) {
            mantissa = 1;
            shortCount = 5;
        } else if (F < log5 + kMantissaTolerance) {
            mantissa = 2;
            shortCount = 4;
        } else {
            mantissa = 5;
            shortCount = 5;
        }
    }
    const long double step = s * roundMultiple(1, mantissa, exponent);
    if (!finite(step) || step == 0)
        return result;
    if (std::max(std::fabs(lo), std::fabs(hi)) / std::fabs(step) > kMaxStepsFromZero)
        return result;

    long long first = static_cast<long long>(Zel::Int(lo / step)) - 1;
    for (int guard = 0;
         guard < 64 && s * (lo - tickAt(first, s, mantissa, exponent)) > 0.001L * std::fabs(step);
         ++guard)
        ++first;

    result.FirstTick = tickAt(first, s, mantissa, exponent);
    result.Step = step;
    result.ShortCount = shortCount;
    result.FirstIndex = first;
    result.Mantissa = mantissa;
    result.Exponent = exponent;
    return result;
}

int LinearAxisMinTicks(int MinTicks, double RangeLow, double RangeHigh, long long axisPixels)
{
    if (MinTicks != 0)
        return MinTicks;
    const long double span = std::fabs(static_cast<long double>(RangeHigh) - RangeLow);
    // The short loop visits one step more than the labelled one: span + 2 positions.
    if (span <= axisPixels && span + 2 <= TickLoopLimit)
        return 0;
    return DefaultMinTicks;
}

int AutoDecPlaces(int DecPlaces, double RangeHigh, double RangeLow)
{
    if (DecPlaces != -2 && DecPlaces != -3)
        return DecPlaces;
    // The bounds are compared in double precision, the precision the ends are set in.
    const double d = std::fabs(RangeHigh - RangeLow);
    if (!std::isfinite(d) || d >= 1000000 || d <= 0.0001)
        return -1;
    if (d >= 100)
        return 0;
    return 2 - static_cast<int>(Zel::Round(std::log(static_cast<long double>(d)) / 2.5L));
}

int AutoLogDecPlaces(int DecPlaces, double RangeHigh, double RangeLow)
{
    if (DecPlaces != -2)
        return DecPlaces;
    const double mx = std::max(RangeHigh, RangeLow);
    const double mn = std::min(RangeHigh, RangeLow);
    const double d = mx - mn;
    if (!std::isfinite(d) || d >= 1000000 || d <= 0.0001)
        return -1;
    if (mn >= 1)
        return 0;
    const long double lg = std::log10(std::fabs(static_cast<long double>(mn)));
    if (!finite(lg))
        return -1;
    return 1 - static_cast<int>(Zel::Round(lg));
}

bool ComputeScaleMapping(const TScaleGeometry &g, double RangeLow, double RangeHigh,
                         bool Logarithmic, TScaleMapping &mapping)
{
    if (RangeHigh == RangeLow || !std::isfinite(RangeLow) || !std::isfinite(RangeHigh))
        return false;
    const bool vertical = isVerticalScale(g.ScaleType);
    const long long span = vertical
                               ? static_cast<long long>(g.Height) - g.MarginTop - g.MarginBottom - 1
                               : static_cast<long long>(g.Width) - g.MarginLeft - g.MarginRight - 1;
    if (span <= 0) {
        mapping.PixelFactor = 0;
        mapping.PixelOffset = g.Width / 2.0;
        return true;
    }
    long double low = RangeLow;
    long double high = RangeHigh;
    if (Logarithmic) {
        if (!(RangeLow > 0 && RangeHigh > 0))
            return false;
        low = std::log(low);
        high = std::log(high);
        if (low == high)
            return false;
    }
    long double factor;
    long double offset;
    if (vertical) {
        factor = span / (low - high);
        offset = g.MarginTop - high * factor;
    } else {
        factor = span / (high - low);
        offset = g.MarginLeft - low * factor;
    }
    if (!finite(factor) || !finite(offset))
        return false;
    mapping.PixelFactor = static_cast<double>(factor);
    mapping.PixelOffset = static_cast<double>(offset);
    return true;
}

int TAxisMap::pixel(double value) const
{
    if (m_rounding == Rounding::ViaDouble) {
        double v;
        if (m_logarithmic && !(value > kLogAxisFloor))
            v = m_floorPixel;
        else if (m_logarithmic)
            v = static_cast<double>(m_K * std::log(static_cast<long double>(value)) + m_D);
        else
            v = static_cast<double>(m_K * value + m_D);
        if (std::isnan(v))
            return 0;
        v = std::clamp(v, -PixelLimit, PixelLimit);
        return static_cast<int>(std::nearbyint(v));
    }
    long double p;
    if (m_logarithmic && !(value > kLogAxisFloor))
        p = m_floorPixel;
    else if (m_logarithmic)
        p = m_K * std::log(value) + m_D;
    else
        p = m_K * value + m_D;
    if (std::isnan(p))
        return 0;
    p = std::clamp<long double>(p, -PixelLimit, PixelLimit);
    return static_cast<int>(Zel::Round(p));
}

double TAxisMap::world(int pixel) const
{
    if (m_K == 0)
        return m_rangeLow;
    const long double v = (pixel - m_D) / m_K;
    return static_cast<double>(m_logarithmic ? std::exp(v) : v);
}

TAxisMap ScaleAxisMap(const TScaleMapping &mapping, const TScaleGeometry &g, double RangeLow,
                      double RangeHigh, bool Logarithmic)
{
    const int floor =
        TAxisMap::lowEndEdge(isVerticalScale(g.ScaleType), g.Width, g.Height, RangeLow, RangeHigh);
    return TAxisMap(mapping.PixelFactor, mapping.PixelOffset, Logarithmic, floor, RangeLow,
                    TAxisMap::Rounding::Extended);
}

int MapValueToPixel(const TScaleMapping &mapping, const TScaleGeometry &g, double RangeLow,
                    double RangeHigh, bool Logarithmic, double value)
{
    return ScaleAxisMap(mapping, g, RangeLow, RangeHigh, Logarithmic).pixel(value);
}

void ForEachLinearTick(int MinTicks, double RangeLow, double RangeHigh, bool ShortTicks,
                       bool Vertical, const TTickVisitor &visit)
{
    const TTickStep ts = ComputeTickStep(MinTicks, RangeLow, RangeHigh);
    if (ts.Step == 0)
        return;
    const long double lo = RangeLow;
    const long double hi = RangeHigh;
    const long double dir = hi > lo ? 1 : -1;
    const long double step = ts.Step;
    const long double shortStep = step / ts.ShortCount;

    if (ShortTicks) {
        // The short step is a round number too: Mantissa x 10 / ShortCount x 10^(Exponent - 1).
        int mantissa = ts.Mantissa * 10 / ts.ShortCount;
        int exponent = ts.Exponent - 1;
        while (mantissa % 10 == 0) {
            mantissa /= 10;
            ++exponent;
        }
        const long long start = (ts.FirstIndex - 1) * ts.ShortCount;
        const auto at = [&](long long d) { return tickAt(start + d, dir, mantissa, exponent); };
        // RangeLow itself may lie a rounding inside the tick that stands on it: the tolerance
        // points outward, below RangeLow on a rising axis and above it on a reversed one
        // (shortStep carries the direction).
        const long double lowEnd = lo - 0.001L * shortStep;
        for (long long d = 0; d < TickLoopLimit; ++d) {
            const long double pos = at(d);
            if (dir * pos >= dir * lowEnd)
                visit({pos, TTickKind::Short, true, false, 0});
            if (!(0.001L * dir * shortStep >= dir * (at(d + 1) - hi)))
                break;
        }
    }
    const bool recordLabelled = Vertical || !ShortTicks;
    const auto at = [&](long long n) {
        return tickAt(ts.FirstIndex + n, dir, ts.Mantissa, ts.Exponent);
    };
    for (long long n = 0; n < TickLoopLimit; ++n) {
        visit({at(n), TTickKind::Labelled, recordLabelled, false, 0});
        if (!(0.001L * dir * step >= dir * (at(n + 1) - hi)))
            break;
    }
}

bool UsesDecadeTicks(double RangeLow, double RangeHigh)
{
    if (!(RangeLow > 0 && RangeHigh > 0) || !std::isfinite(RangeLow) || !std::isfinite(RangeHigh))
        return false;
    return decadesBetween(RangeLow, RangeHigh) >= 1;
}

void ForEachLogTick(int MinTicks, double RangeLow, double RangeHigh, bool ShortTicks, bool Vertical,
                    const TTickVisitor &visit)
{
    if (!(RangeLow > 0 && RangeHigh > 0) || !std::isfinite(RangeLow) || !std::isfinite(RangeHigh))
        return;
    const long double mn = std::min(RangeLow, RangeHigh);
    const long double mx = std::max(RangeLow, RangeHigh);
    const long double decades = decadesBetween(mn, mx);
    const bool dense = MinTicks > decades + 0.5L;

    const int firstExponent = static_cast<int>(Zel::Floor(std::log10(mn * kLogEndTolerance)));
    const long double base = std::pow(10.0L, firstExponent);
    long double mult = 1;
    // Positive doubles span some 630 decades; the guard only bounds the loop.
    for (int decade = 0; decade < 2000; ++decade) {
        const int lastK = dense ? 9 : 1;
        for (int k = 1; k <= lastK; ++k) {
            const bool labelled = k == 1 || k == 2 || k == 5;
            if (!labelled && !ShortTicks)
                continue;
            const long double v = k * base * mult;
            if (v / kLogEndTolerance > mn && v * kLogEndTolerance < mx) {
                TScaleTick tick;
                tick.Value = v;
                tick.Kind = labelled ? TTickKind::LogLabelled : TTickKind::LogMinor;
                tick.Record = labelled || Vertical || ShortTicks;
                tick.Decade = k == 1;
                tick.Exponent = firstExponent + decade;
                visit(tick);
            }
        }
        mult *= 10;
        if (!(mx >= kLogEndTolerance * base * mult))
            break;
    }
}

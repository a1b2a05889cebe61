// Pure arithmetic of the scale engine: rounding helpers, the nice tick step, the automatic
// decimals, the value-to-pixel mapping and the tick loops of linear and logarithmic axes.
// Intermediate values are long doubles; the tolerances (1e-10 on the mantissa, 0.001 of a
// step at the loop ends, 1e-9 relative at the ends of a logarithmic axis) are applied as the
// tick layout has always used them.

#include "scales/Zel_Scale.h"

#include <algorithm>
#include <cmath>

namespace Zel {

long double Round(long double x)
{
    if (!std::isfinite(x))
        return x;
    const long double lower = std::floor(x);
    const long double diff = x - lower;
    if (diff < 0.5L)
        return lower;
    if (diff > 0.5L)
        return lower + 1;
    // A tie: the even neighbour.
    return std::fmod(lower, 2.0L) == 0 ? lower : lower + 1;
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

    long double step = 0;
    std::uint16_t shortCount = 5;
    if (MinTicks == 0) {
        step = s;
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
        long double E;
        if (F < log2 + kMantissaTolerance) {
            E = Zel::Int(L);
            shortCount = 5;
        } else if (F < log5 + kMantissaTolerance) {
            E = Zel::Int(L) + log2;
            shortCount = 4;
        } else {
            E = Zel::Int(L) + log5;
            shortCount = 5;
        }
        step = s * std::exp(E * std::log(10.0L));
    }
    if (!finite(step) || step == 0)
        return result;
    if (std::max(std::fabs(lo), std::fabs(hi)) / std::fabs(step) > kMaxStepsFromZero)
        return result;

    long double first = (Zel::Int(lo / step) - 1) * step;
    for (int guard = 0; guard < 64 && s * (lo - first) > 0.001L * std::fabs(step); ++guard)
        first += step;

    result.FirstTick = first;
    result.Step = step;
    result.ShortCount = shortCount;
    return result;
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

int MapValueToPixel(const TScaleMapping &mapping, const TScaleGeometry &g, double RangeLow,
                    double RangeHigh, bool Logarithmic, double value)
{
    long double p;
    if (Logarithmic) {
        if (value > 1e-100) {
            p = static_cast<long double>(mapping.PixelFactor) * std::log(value) +
                mapping.PixelOffset;
        } else if (isVerticalScale(g.ScaleType)) {
            p = RangeHigh >= RangeLow ? g.Height : 0;
        } else {
            p = RangeHigh >= RangeLow ? 0 : g.Width;
        }
    } else {
        p = static_cast<long double>(mapping.PixelFactor) * value + mapping.PixelOffset;
    }
    if (std::isnan(p))
        return 0;
    p = std::clamp(p, -2147483647.0L, 2147483647.0L);
    return static_cast<int>(Zel::Round(p));
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
        const long double start = ts.FirstTick - step;
        for (long long d = 0; d < TickLoopLimit; ++d) {
            const long double pos = start + d * shortStep;
            if (dir * pos >= dir * lo)
                visit({pos, TTickKind::Short, true, false, 0});
            if (!(0.001L * dir * shortStep >= dir * (start + (d + 1) * shortStep - hi)))
                break;
        }
    }
    const bool recordLabelled = Vertical || !ShortTicks;
    for (long long n = 0; n < TickLoopLimit; ++n) {
        const long double pos = ts.FirstTick + n * step;
        visit({pos, TTickKind::Labelled, recordLabelled, false, 0});
        if (!(0.001L * dir * step >= dir * (ts.FirstTick + (n + 1) * step - hi)))
            break;
    }
}

bool UsesDecadeTicks(double RangeLow, double RangeHigh)
{
    if (!(RangeLow > 0 && RangeHigh > 0) || !std::isfinite(RangeLow) || !std::isfinite(RangeHigh))
        return false;
    const long double decades =
        std::fabs(std::log10(static_cast<long double>(RangeHigh)) - std::log10(RangeLow));
    return decades >= 1;
}

void ForEachLogTick(int MinTicks, double RangeLow, double RangeHigh, bool ShortTicks, bool Vertical,
                    const TTickVisitor &visit)
{
    if (!(RangeLow > 0 && RangeHigh > 0) || !std::isfinite(RangeLow) || !std::isfinite(RangeHigh))
        return;
    const long double mn = std::min(RangeLow, RangeHigh);
    const long double mx = std::max(RangeLow, RangeHigh);
    const long double decades = std::log10(mx) - std::log10(mn);
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

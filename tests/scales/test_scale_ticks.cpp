// SPDX-License-Identifier: GPL-3.0-or-later
// Tick arithmetic of the scale engine: rounding, nice steps, decimals, mapping and the tick
// loops, without any widget.

#include "scales/Zel_ScaleEngine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

std::vector<TScaleTick> linearTicks(int minTicks, double lo, double hi, bool shortTicks = true,
                                    bool vertical = false)
{
    std::vector<TScaleTick> ticks;
    ForEachLinearTick(minTicks, lo, hi, shortTicks, vertical,
                      [&](const TScaleTick &t) { ticks.push_back(t); });
    return ticks;
}

std::vector<TScaleTick> logTicks(int minTicks, double lo, double hi, bool shortTicks = true,
                                 bool vertical = false)
{
    std::vector<TScaleTick> ticks;
    ForEachLogTick(minTicks, lo, hi, shortTicks, vertical,
                   [&](const TScaleTick &t) { ticks.push_back(t); });
    return ticks;
}

std::vector<double> valuesOf(const std::vector<TScaleTick> &ticks, TTickKind kind)
{
    std::vector<double> values;
    for (const TScaleTick &t : ticks)
        if (t.Kind == kind)
            values.push_back(static_cast<double>(t.Value));
    return values;
}

void expectValues(const std::vector<double> &actual, const std::vector<double> &expected,
                  double tolerance = 1e-9)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i)
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "index " << i;
}

} // namespace

// ---- rounding --------------------------------------------------------------------------------

TEST(ScaleRounding, RoundHalvesToEvenAndOthersToNearest)
{
    EXPECT_EQ(Zel::Round(2.5L), 2);
    EXPECT_EQ(Zel::Round(3.5L), 4);
    EXPECT_EQ(Zel::Round(-2.5L), -2);
    EXPECT_EQ(Zel::Round(0.5L), 0);
    EXPECT_EQ(Zel::Round(2.4999L), 2);
    EXPECT_EQ(Zel::Round(-2.6L), -3);
    EXPECT_EQ(Zel::Round(1e30L), 1e30L);
    EXPECT_TRUE(std::isnan(Zel::Round(kNaN)));
    // Small negatives round to +0 (a label of "-0" would come from -0); -0 itself stays.
    EXPECT_FALSE(std::signbit(Zel::Round(-0.3L)));
    EXPECT_FALSE(std::signbit(Zel::Round(-0.5L)));
    EXPECT_TRUE(std::signbit(Zel::Round(-0.0L)));
}

TEST(ScaleRounding, FloorCeilAndInt)
{
    EXPECT_EQ(Zel::Floor(-1.5L), -2);
    EXPECT_EQ(Zel::Floor(-2.5L), -3); // Round gives -2, which lies above
    EXPECT_EQ(Zel::Floor(2.0L), 2);
    EXPECT_EQ(Zel::Floor(2.9L), 2);
    EXPECT_EQ(Zel::Ceil(-1.5L), -1);
    EXPECT_EQ(Zel::Ceil(2.5L), 3); // Round gives 2, which lies below
    EXPECT_EQ(Zel::Ceil(2.0L), 2);
    EXPECT_EQ(Zel::Int(-2.7L), -2);
    EXPECT_EQ(Zel::Int(2.7L), 2);
}

// ---- nice steps ------------------------------------------------------------------------------

TEST(ComputeTickStep, WorkedExamples)
{
    struct Case
    {
        int minTicks;
        double lo, hi;
        double first, step;
        int shortCount;
    };
    const Case cases[] = {
        {3, 0, 100, 0, 20, 4},     // 33.3 per tick: step 20, short ticks every 5
        {3, 0, 1, 0, 0.2, 4},      // below 1: the logarithm's floor, step 0.2
        {10, 0, 10, 0, 1, 5},      // exactly 1 per tick
        {3, 100, 0, 100, -20, 4},  // reversed: the step carries the direction
        {5, -3.7, 12.2, -2, 2, 4}, // first multiple of the step after RangeLow
        {3, 0, 1e7, 0, 2e6, 4},    // large
        {2, 0, 1200, 0, 500, 5},   // step 5 x 10^n
        {2, -7, -1, -6, 2, 4},     // negative range
        {4, 0.013, 0.0175, 0.013, 0.001, 5},
    };
    for (const Case &c : cases) {
        const TTickStep ts = ComputeTickStep(c.minTicks, c.lo, c.hi);
        EXPECT_NEAR(double(ts.Step), c.step, std::fabs(c.step) * 1e-12) << c.lo << ".." << c.hi;
        EXPECT_NEAR(double(ts.FirstTick), c.first, std::fabs(c.step) * 1e-9)
            << c.lo << ".." << c.hi;
        EXPECT_EQ(ts.ShortCount, c.shortCount) << c.lo << ".." << c.hi;
    }
}

TEST(ComputeTickStep, MantissaThresholdsAreWidenedUpwards)
{
    // span / MinTicks exactly 2 or 5: the mantissa lies on the threshold, which the 1e-10
    // widening assigns to the smaller step.
    EXPECT_NEAR(double(ComputeTickStep(2, 0, 4).Step), 1, 1e-15);
    EXPECT_NEAR(double(ComputeTickStep(2, 0, 10).Step), 2, 1e-15);
    // Just above the widened threshold the larger step is taken.
    EXPECT_NEAR(double(ComputeTickStep(2, 0, 4.00001).Step), 2, 1e-15);
    // A mantissa within 1e-10 of a whole decade counts as the decade.
    EXPECT_NEAR(double(ComputeTickStep(3, 0, 30 * (1 - 1e-12)).Step), 10, 1e-12);
}

TEST(ComputeTickStep, FirstTickToleratesATenthOfAPercent)
{
    // RangeLow 0.0005 above a multiple of the step 1: within 0.1 % of a step, that multiple
    // is still the first tick; 0.002 above it is not.
    EXPECT_NEAR(double(ComputeTickStep(5, 0.0005, 9.99).FirstTick), 0, 1e-12);
    EXPECT_NEAR(double(ComputeTickStep(5, 0.002, 9.99).FirstTick), 1, 1e-12);
    EXPECT_NEAR(double(ComputeTickStep(5, -0.0005, 9.99).FirstTick), 0, 1e-12);
}

TEST(ComputeTickStep, MinTicksZeroStepsByOne)
{
    TTickStep ts = ComputeTickStep(0, 0, 5);
    EXPECT_EQ(ts.Step, 1);
    EXPECT_EQ(ts.ShortCount, 5);
    ts = ComputeTickStep(0, 0, 50);
    EXPECT_EQ(ts.Step, 1);
    EXPECT_EQ(ts.ShortCount, 1);
    ts = ComputeTickStep(0, 7.5, 2);
    EXPECT_EQ(ts.Step, -1);
    EXPECT_EQ(ts.FirstTick, 7);
}

TEST(ComputeTickStep, UndrawableRangesGiveNoStep)
{
    EXPECT_EQ(ComputeTickStep(3, 5, 5).Step, 0);
    EXPECT_EQ(ComputeTickStep(3, 5, 5).ShortCount, 1);
    EXPECT_EQ(ComputeTickStep(3, kNaN, 5).Step, 0);
    EXPECT_EQ(ComputeTickStep(3, 0, kInf).Step, 0);
    // Steps of 1 on a range near 1e20 are lost in the arithmetic.
    EXPECT_EQ(ComputeTickStep(0, 1e20, 1e20 + 1e6).Step, 0);
    EXPECT_EQ(ComputeTickStep(-1, 0, 10).Step, 0);
    // A narrow range far from zero is still resolved.
    const TTickStep ts = ComputeTickStep(3, 1e10, 1e10 + 1e-3);
    EXPECT_NEAR(double(ts.Step), 2e-4, 1e-15);
}

TEST(ComputeTickStep, WidestRangeIsStillDrawable)
{
    // The width overflows a double but not the long double arithmetic.
    constexpr double big = std::numeric_limits<double>::max();
    const TTickStep ts = ComputeTickStep(3, -big, big);
    EXPECT_EQ(double(ts.Step), 1e308);
    EXPECT_EQ(double(ts.FirstTick), -1e308);
    expectValues(valuesOf(linearTicks(3, -big, big, false), TTickKind::Labelled),
                 {-1e308, 0, 1e308}, 1e293);
}

TEST(LinearTicks, ShortTickAtTheLowEndIsKept)
{
    // RangeLow on a short tick: step 0.2, short ticks every 0.05 from RangeLow to RangeHigh.
    for (const double lo : {1000.0, 7.7, 123.45, -4.8, 1e5 + 0.1}) {
        const auto shorts = valuesOf(linearTicks(2, lo, lo + 1), TTickKind::Short);
        ASSERT_EQ(shorts.size(), 21u) << lo;
        EXPECT_NEAR(shorts.front(), lo, 1e-9) << lo;
    }
}

// ---- decimals --------------------------------------------------------------------------------

TEST(AutoDecPlaces, ByRangeWidth)
{
    EXPECT_EQ(AutoDecPlaces(-2, 100, 0), 0);
    EXPECT_EQ(AutoDecPlaces(-2, 1e6, 0), -1);
    EXPECT_EQ(AutoDecPlaces(-2, 0.0001, 0), -1);
    EXPECT_EQ(AutoDecPlaces(-2, 1, 0), 2);
    EXPECT_EQ(AutoDecPlaces(-2, 10, 0), 1);
    EXPECT_EQ(AutoDecPlaces(-2, 50, 0), 0);
    EXPECT_EQ(AutoDecPlaces(-2, 0.1, 0), 3);
    EXPECT_EQ(AutoDecPlaces(-2, 0, 0.01), 4); // reversed: the width counts
    EXPECT_EQ(AutoDecPlaces(-3, 10, 0), 1);   // -3 is automatic on linear axes
    EXPECT_EQ(AutoDecPlaces(5, 10, 0), 5);
    EXPECT_EQ(AutoDecPlaces(-1, 10, 0), -1);
    EXPECT_EQ(AutoDecPlaces(-2, 1e308, -1e308), -1);
}

TEST(AutoLogDecPlaces, BySmallerEnd)
{
    EXPECT_EQ(AutoLogDecPlaces(-2, 1000, 1), 0);
    EXPECT_EQ(AutoLogDecPlaces(-2, 100, 0.5), 1);
    EXPECT_EQ(AutoLogDecPlaces(-2, 0.01, 100), 3);
    EXPECT_EQ(AutoLogDecPlaces(-2, 1000, 0.1), 2);
    EXPECT_EQ(AutoLogDecPlaces(-2, 1e7, 1), -1);
    EXPECT_EQ(AutoLogDecPlaces(-3, 1000, 0.1), -3);
    EXPECT_EQ(AutoLogDecPlaces(4, 1000, 0.1), 4);
}

// ---- mapping ---------------------------------------------------------------------------------

TEST(ScaleMapping, RangeEndsLandOnTheAxisEnds)
{
    TScaleGeometry g{400, 300, 20, 30, 10, 40, sctXB};
    TScaleMapping m;
    ASSERT_TRUE(ComputeScaleMapping(g, 0, 100, false, m));
    EXPECT_EQ(MapValueToPixel(m, g, 0, 100, false, 0), 20);
    EXPECT_EQ(MapValueToPixel(m, g, 0, 100, false, 100), 400 - 30 - 1);

    g.ScaleType = sctYL;
    ASSERT_TRUE(ComputeScaleMapping(g, 0, 100, false, m));
    EXPECT_LT(m.PixelFactor, 0);
    EXPECT_EQ(MapValueToPixel(m, g, 0, 100, false, 100), 10);
    EXPECT_EQ(MapValueToPixel(m, g, 0, 100, false, 0), 300 - 40 - 1);

    // Reversed horizontal axis: RangeLow (100) at the left end.
    g.ScaleType = sctXT;
    ASSERT_TRUE(ComputeScaleMapping(g, 100, 0, false, m));
    EXPECT_EQ(MapValueToPixel(m, g, 100, 0, false, 100), 20);
    EXPECT_EQ(MapValueToPixel(m, g, 100, 0, false, 0), 369);
}

TEST(ScaleMapping, Logarithmic)
{
    const TScaleGeometry g{400, 400, 20, 20, 20, 20, sctXB};
    TScaleMapping m;
    ASSERT_TRUE(ComputeScaleMapping(g, 1, 1000, true, m));
    EXPECT_EQ(MapValueToPixel(m, g, 1, 1000, true, 1), 20);
    EXPECT_EQ(MapValueToPixel(m, g, 1, 1000, true, 1000), 379);
    EXPECT_EQ(MapValueToPixel(m, g, 1, 1000, true, 10), 140); // 20 + 359 / 3
    // Values at or below 1e-100 go to the low end's edge of the control.
    EXPECT_EQ(MapValueToPixel(m, g, 1, 1000, true, 0), 0);
    EXPECT_EQ(MapValueToPixel(m, g, 1000, 1, true, 0), 400);
    const TScaleGeometry v{300, 200, 20, 20, 20, 20, sctYR};
    ASSERT_TRUE(ComputeScaleMapping(v, 1, 1000, true, m));
    EXPECT_EQ(MapValueToPixel(m, v, 1, 1000, true, -5), 200);
    EXPECT_EQ(MapValueToPixel(m, v, 1000, 1, true, -5), 0);
}

TEST(ScaleMapping, SkippedOrDegenerateCases)
{
    TScaleGeometry g{400, 400, 20, 20, 20, 20, sctXB};
    TScaleMapping m{3.0, 7.0};
    EXPECT_FALSE(ComputeScaleMapping(g, 5, 5, false, m));
    EXPECT_FALSE(ComputeScaleMapping(g, 0, 100, true, m)); // RangeLow 0 on a logarithmic axis
    EXPECT_FALSE(ComputeScaleMapping(g, kNaN, 100, false, m));
    EXPECT_EQ(m.PixelFactor, 3.0);
    EXPECT_EQ(m.PixelOffset, 7.0);

    // Too small for its margins: everything in the middle of the control's width.
    g = {41, 400, 20, 20, 20, 20, sctXB};
    ASSERT_TRUE(ComputeScaleMapping(g, 0, 100, false, m));
    EXPECT_EQ(m.PixelFactor, 0);
    EXPECT_EQ(m.PixelOffset, 20.5);
    g = {400, 30, 20, 20, 20, 20, sctYL};
    ASSERT_TRUE(ComputeScaleMapping(g, 0, 100, false, m));
    EXPECT_EQ(m.PixelOffset, 200);
    // Margins that would overflow an int.
    g = {400, 400, 2147483647, 2147483647, 0, 0, sctXB};
    ASSERT_TRUE(ComputeScaleMapping(g, 0, 100, false, m));
    EXPECT_EQ(m.PixelFactor, 0);
}

TEST(ScaleMapping, PixelsAreLimitedAndRoundedToEven)
{
    const TScaleGeometry g{400, 400, 0, 0, 0, 0, sctXB};
    TScaleMapping m{1.0, 0.0};
    EXPECT_EQ(MapValueToPixel(m, g, 0, 1, false, 1e300), 2147483647);
    EXPECT_EQ(MapValueToPixel(m, g, 0, 1, false, -1e300), -2147483647);
    EXPECT_EQ(MapValueToPixel(m, g, 0, 1, false, 2.5), 2);
    EXPECT_EQ(MapValueToPixel(m, g, 0, 1, false, 3.5), 4);
    EXPECT_EQ(MapValueToPixel(m, g, 0, 1, false, kNaN), 0);
    m = {0.0, 5.0};
    EXPECT_EQ(MapValueToPixel(m, g, 0, 1, false, kInf), 0);
}

TEST(AxisMap, TheTwoRoundingsDifferOnlyInTheLastBitsOfAHalf)
{
    // 2.5 plus 2^-60: the extended sum lies above the half, its double is the half itself.
    const long double D = 0.5L + 0x1p-60L;
    const TAxisMap extended(1, D, false, 0, 0, TAxisMap::Rounding::Extended);
    const TAxisMap viaDouble(1, D, false, 0, 0, TAxisMap::Rounding::ViaDouble);
    EXPECT_EQ(extended.pixel(2), 3);
    EXPECT_EQ(viaDouble.pixel(2), 2);
    EXPECT_EQ(extended.pixel(1), 2);
    EXPECT_EQ(viaDouble.pixel(1), 2);
}

TEST(AxisMap, ItemPixelIsThePixelLimitedToTheItemRangeIncludingHalves)
{
    // A mass window of 8 units over 730 pixels from pixel 50, and a day-count axis: coefficients
    // that long double holds more exactly than double, and values on and around half pixels.
    struct Case
    {
        long double K, D;
        double origin, halfStep;
    };
    const long double K1 = 730.0L / 8.0L;
    const long double K2 = 540.0L / 10.5L;
    const Case cases[] = {{K1, 50 - 38 * K1, 38.0, 0.5 / double(K1)},
                          {-K2, 560 + 43000 * K2, 43000.0, 0.5 / double(K2)}};
    for (const Case &c : cases) {
        for (const auto rounding : {TAxisMap::Rounding::Extended, TAxisMap::Rounding::ViaDouble}) {
            const TAxisMap map(c.K, c.D, false, 0, c.origin, rounding);
            for (int i = -3000; i <= 3000; ++i) {
                const double v = c.origin + i * c.halfStep;
                for (const double w : {std::nextafter(v, -kInf), v, std::nextafter(v, kInf)})
                    ASSERT_EQ(map.itemPixel(w), limitItemPixel(map.pixel(w))) << w;
            }
            for (const double w : {1e300, -1e300, kNaN, kInf})
                EXPECT_EQ(map.itemPixel(w), limitItemPixel(map.pixel(w))) << w;
        }
    }
    // Logarithmic maps take the pixel and limit it.
    const TAxisMap log(100, 0, true, 7, 1, TAxisMap::Rounding::ViaDouble);
    EXPECT_EQ(log.itemPixel(std::exp(2.0)), 200);
    EXPECT_EQ(log.itemPixel(1e300), ItemPixelLimit);
    EXPECT_EQ(log.itemPixel(0), 7);
}

// ---- linear tick loops -----------------------------------------------------------------------

TEST(LinearTicks, ZeroToHundred)
{
    const auto ticks = linearTicks(3, 0, 100);
    expectValues(valuesOf(ticks, TTickKind::Labelled), {0, 20, 40, 60, 80, 100});
    std::vector<double> shorts;
    for (int i = 0; i <= 20; ++i)
        shorts.push_back(5.0 * i);
    expectValues(valuesOf(ticks, TTickKind::Short), shorts);
    // Short ticks come first, then the labelled ones.
    EXPECT_EQ(ticks.front().Kind, TTickKind::Short);
    EXPECT_EQ(ticks.back().Kind, TTickKind::Labelled);
}

TEST(LinearTicks, ShortTicksStartOneStepBeforeTheFirstLabelLimitedByRangeLow)
{
    // First label at 1 (step 1, short step 0.2); shorts from 0 (one step earlier) but not
    // before RangeLow 0.3.
    const auto ticks = linearTicks(5, 0.3, 5.7);
    expectValues(valuesOf(ticks, TTickKind::Labelled), {1, 2, 3, 4, 5});
    const auto shorts = valuesOf(ticks, TTickKind::Short);
    ASSERT_FALSE(shorts.empty());
    EXPECT_NEAR(shorts.front(), 0.4, 1e-12);
    EXPECT_NEAR(shorts.back(), 5.6, 1e-12);
}

TEST(LinearTicks, ReversedRangeRunsDownward)
{
    const auto ticks = linearTicks(3, 100, 0, false);
    expectValues(valuesOf(ticks, TTickKind::Labelled), {100, 80, 60, 40, 20, 0});
    EXPECT_TRUE(valuesOf(ticks, TTickKind::Short).empty());
}

TEST(LinearTicks, EndsAreIncludedWithinATenthOfAPercentOfAStep)
{
    expectValues(valuesOf(linearTicks(3, 0, 100.015, false), TTickKind::Labelled),
                 {0, 20, 40, 60, 80, 100});
    expectValues(valuesOf(linearTicks(3, 0, 99.99, false), TTickKind::Labelled),
                 {0, 20, 40, 60, 80, 100});
    expectValues(valuesOf(linearTicks(3, 0, 99.9, false), TTickKind::Labelled),
                 {0, 20, 40, 60, 80});
}

TEST(LinearTicks, MinTicksZero)
{
    auto ticks = linearTicks(0, 0, 5);
    expectValues(valuesOf(ticks, TTickKind::Labelled), {0, 1, 2, 3, 4, 5});
    EXPECT_EQ(valuesOf(ticks, TTickKind::Short).size(), 26u); // every 0.2
    ticks = linearTicks(0, 0, 50);
    EXPECT_EQ(valuesOf(ticks, TTickKind::Labelled).size(), 51u);
    expectValues(valuesOf(ticks, TTickKind::Short), valuesOf(ticks, TTickKind::Labelled));
}

TEST(LinearTicks, RecordingByOrientation)
{
    auto count = [](const std::vector<TScaleTick> &ticks) {
        int n = 0;
        for (const TScaleTick &t : ticks)
            n += t.Record ? 1 : 0;
        return n;
    };
    EXPECT_EQ(count(linearTicks(3, 0, 100, true, false)), 21); // shorts only
    EXPECT_EQ(count(linearTicks(3, 0, 100, true, true)), 27);  // labels twice
    EXPECT_EQ(count(linearTicks(3, 0, 100, false, false)), 6);
    EXPECT_EQ(count(linearTicks(3, 0, 100, false, true)), 6);
}

TEST(LinearTicks, EqualEndsDrawNothingAndHugeCountsStopAtTheLimit)
{
    EXPECT_TRUE(linearTicks(3, 5, 5).empty());
    EXPECT_TRUE(linearTicks(0, -1e20, 1e20).empty());
    // A million integer ticks asked for: each loop stops at the limit.
    const auto ticks = linearTicks(0, 0, 1e6, true);
    EXPECT_EQ(valuesOf(ticks, TTickKind::Short).size(), std::size_t(TickLoopLimit - 1));
    EXPECT_EQ(valuesOf(ticks, TTickKind::Labelled).size(), std::size_t(TickLoopLimit));
}

// ---- logarithmic tick loops ------------------------------------------------------------------

TEST(LogTicks, SparseDecades)
{
    const auto ticks = logTicks(3, 1, 1000);
    expectValues(valuesOf(ticks, TTickKind::LogLabelled), {1, 10, 100, 1000}, 1e-12);
    EXPECT_TRUE(valuesOf(ticks, TTickKind::LogMinor).empty());
    ASSERT_EQ(ticks.size(), 4u);
    EXPECT_TRUE(ticks[2].Decade);
    EXPECT_EQ(ticks[2].Exponent, 2);
}

TEST(LogTicks, DenseDecades)
{
    const auto ticks = logTicks(5, 1, 1000);
    expectValues(valuesOf(ticks, TTickKind::LogLabelled),
                 {1, 2, 5, 10, 20, 50, 100, 200, 500, 1000}, 1e-12);
    const auto minor = valuesOf(ticks, TTickKind::LogMinor);
    ASSERT_EQ(minor.size(), 18u);
    expectValues({minor[0], minor[1], minor[6], minor[17]}, {3, 4, 30, 900}, 1e-12);
    // Without short ticks only the labelled ones.
    EXPECT_EQ(logTicks(5, 1, 1000, false).size(), 10u);
    // Everything drawn is recorded on both orientations.
    for (const TScaleTick &t : ticks)
        EXPECT_TRUE(t.Record);
}

TEST(LogTicks, ReversedAndFractionalRanges)
{
    const auto reversed = logTicks(3, 1000, 1);
    expectValues(valuesOf(reversed, TTickKind::LogLabelled), {1, 10, 100, 1000}, 1e-12);
    const auto small = logTicks(3, 0.01, 100);
    std::vector<int> exponents;
    for (const TScaleTick &t : small)
        exponents.push_back(t.Exponent);
    EXPECT_EQ(exponents, (std::vector<int>{-2, -1, 0, 1, 2}));
    // Ends are included with a relative tolerance of 1e-9, not more.
    EXPECT_EQ(logTicks(3, 1 + 1e-10, 1000 * (1 - 1e-10)).size(), 4u);
    EXPECT_EQ(logTicks(3, 1 + 1e-8, 1000).size(), 3u);
}

TEST(LogTicks, ARatioOfTenIsOneDecade)
{
    // Both ends as written in decimal, as a user or a stored description gives them.
    for (const char *m : {"1", "1.5", "2", "2.5", "3", "4", "5", "6", "7", "7.5", "8", "9"})
        for (int e = -15; e <= 15; ++e) {
            const double lo = std::stod(std::string(m) + "e" + std::to_string(e));
            const double hi = std::stod(std::string(m) + "e" + std::to_string(e + 1));
            EXPECT_TRUE(UsesDecadeTicks(lo, hi) && UsesDecadeTicks(hi, lo)) << lo << ".." << hi;
            EXPECT_FALSE(UsesDecadeTicks(lo, hi * 0.9999)) << lo << ".." << hi;
        }
    expectValues(valuesOf(logTicks(3, 2, 20), TTickKind::LogLabelled), {2, 5, 10, 20}, 1e-12);
}

TEST(LogTicks, NarrowAndInvalidRanges)
{
    EXPECT_FALSE(UsesDecadeTicks(1, 5));
    EXPECT_TRUE(UsesDecadeTicks(1, 10));
    EXPECT_TRUE(UsesDecadeTicks(10, 1));
    EXPECT_FALSE(UsesDecadeTicks(0, 10));
    EXPECT_FALSE(UsesDecadeTicks(-10, 10));
    EXPECT_TRUE(logTicks(3, 0, 1000).empty());
    EXPECT_TRUE(logTicks(3, -1, 1000).empty());
    // The widest positive range still ends.
    const auto all = logTicks(3, std::numeric_limits<double>::denorm_min(), 1.7e308);
    EXPECT_GT(all.size(), 600u);
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The tick and label computation of the scales over any range and settings: linear,
// logarithmic, time and date/time axes, their labels and the value-to-pixel mapping. Checked:
// loops end within their limits, labelled linear ticks lie within the range (give or take a
// thousandth of a step), logarithmic ones too (give or take their end tolerance), label texts keep
// their length limit, and date/time axes either draw ticks or say why not.

#include "FuzzInput.h"
#include "FuzzTargets.h"
#include "scales/Zel_Scale.h"

#include <cmath>

namespace {

void linearTicks(FuzzInput &in, double low, double high)
{
    const int minTicks = in.intIn(-2, 300);
    const int decPlaces = in.intIn(-4, 20);
    const bool shortTicks = in.flag();
    const bool vertical = in.flag();
    const TTickStep ts = ComputeTickStep(minTicks, low, high);
    if (ts.Step != 0) {
        FUZZ_REQUIRE(ts.Mantissa == 1 || ts.Mantissa == 2 || ts.Mantissa == 5, "step mantissa");
        FUZZ_REQUIRE((ts.Step > 0) == (high > low), "the step follows the axis' direction");
    }
    const long double dir = high > low ? 1 : -1;
    const long double slack = 0.001L * std::fabs(ts.Step);
    const int dp = AutoDecPlaces(decPlaces, high, low);
    int visits = 0;
    int labelled = 0;
    ForEachLinearTick(minTicks, low, high, shortTicks, vertical, [&](const TScaleTick &tick) {
        ++visits;
        if (tick.Kind != TTickKind::Labelled)
            return;
        // MinTicks 0 steps by one; its first tick may lie beyond a range narrower than that.
        if (minTicks > 0 || labelled > 0) {
            FUZZ_REQUIRE(dir * (tick.Value - low) >= -slack, "labelled tick before the range");
            FUZZ_REQUIRE(dir * (tick.Value - high) <= slack, "labelled tick after the range");
        }
        ++labelled;
        const QString label = LinearTickLabel(tick.Value, dp, decPlaces, low, high);
        FUZZ_REQUIRE(label.size() <= 14, "linear labels are cut to 14 characters");
    });
    FUZZ_REQUIRE(visits <= 2 * TickLoopLimit, "each tick loop stops at its limit");
    LinearAxisMinTicks(minTicks, low, high, in.intIn(0, 100000));
}

void logTicks(FuzzInput &in, double low, double high)
{
    const int minTicks = in.intIn(-2, 300);
    const int decPlaces = in.intIn(-4, 20);
    const int dp = AutoLogDecPlaces(decPlaces, high, low);
    const long double mn = std::min(low, high);
    const long double mx = std::max(low, high);
    int visits = 0;
    UsesDecadeTicks(low, high);
    ForEachLogTick(minTicks, low, high, in.flag(), in.flag(), [&](const TScaleTick &tick) {
        ++visits;
        FUZZ_REQUIRE(tick.Value >= mn * (1 - 1e-8L) && tick.Value <= mx * (1 + 1e-8L),
                     "log ticks lie within the range");
        if (isLabelledTick(tick.Kind))
            FUZZ_REQUIRE(LogTickLabel(tick, dp, decPlaces).size() <= 14,
                         "log labels are cut to 14 characters");
    });
    FUZZ_REQUIRE(visits <= TickLoopLimit, "the log loop stops at its limit");
}

void mapping(FuzzInput &in, double low, double high)
{
    TScaleGeometry g;
    g.Width = in.intIn(-10, 5000);
    g.Height = in.intIn(-10, 5000);
    g.MarginLeft = in.intIn(-10, 500);
    g.MarginRight = in.intIn(-10, 500);
    g.MarginTop = in.intIn(-10, 500);
    g.MarginBottom = in.intIn(-10, 500);
    g.ScaleType = TScaleType(in.intIn(0, 3));
    const bool logarithmic = in.flag();
    TScaleMapping m;
    ComputeScaleMapping(g, low, high, logarithmic, m);
    MapValueToPixel(m, g, low, high, logarithmic, in.number());
}

void timeTicks(FuzzInput &in, double low, double high)
{
    const TimeAxisLayout layout = computeTimeAxis(low, high, in.intIn(-2, 300), in.flag());
    if (!layout.handled)
        return;
    const double tolerance = std::fabs(layout.shortStep) / 1000;
    for (const AxisTick &tick : layout.ticks) {
        FUZZ_REQUIRE(tick.value >= std::min(low, high) - tolerance &&
                         tick.value <= std::max(low, high) + tolerance,
                     "time ticks lie within the range");
    }
}

void dateTimeTicks(FuzzInput &in, double low, double high)
{
    DateTimeFormat format;
    format.timeFormat = TTimeFormat(in.intIn(0, 2));
    format.dateSeparator = QChar(char16_t(in.intIn(32, 0x2FF)));
    format.timeSeparator = QChar(char16_t(in.intIn(32, 0x2FF)));
    format.yearLength = TYearLength(in.intIn(0, 2));
    format.monthName = in.flag();
    format.dateOrder = TDateOrder(in.intIn(0, 2));
    format.dateForTime = TDateForTime(in.intIn(0, 3));
    const DateTimeAxisLayout layout =
        computeDateTimeAxis(low, high, in.intIn(-2, 300), in.flag(), in.flag(), format);
    FUZZ_REQUIRE(layout.ticks.size() <= size_t(kMaxDateTimeTicks), "date/time tick limit");
    if (layout.level == DateTimeLevel::InvalidRange || layout.level == DateTimeLevel::SpanTooSmall)
        FUZZ_REQUIRE(layout.ticks.empty() && !layout.message.isEmpty(),
                     "an axis without ticks says why");
}

void labelTexts(FuzzInput &in)
{
    FormatTickValue(in.number(), in.intIn(-3, 40));
    const QString list = in.text(64);
    UserTickItem(list, in.intIn(-2, 40));
    ApplyInscript(in.text(16), in.text(16));
}

} // namespace

int fuzzTicks(const std::uint8_t *data, std::size_t size)
{
    FuzzInput in(data, size);
    const double low = in.number();
    // The high end near the low one as often as far from it: narrow ranges are the hard ones.
    const double high = in.flag() ? low + in.number() : in.number();
    switch (in.intIn(0, 5)) {
    case 0:
        linearTicks(in, low, high);
        break;
    case 1:
        logTicks(in, low, high);
        break;
    case 2:
        mapping(in, low, high);
        break;
    case 3:
        timeTicks(in, low, high);
        break;
    case 4:
        dateTimeTicks(in, low, high);
        break;
    default:
        labelTexts(in);
        break;
    }
    return 0;
}

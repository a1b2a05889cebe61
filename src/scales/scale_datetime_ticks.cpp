// Tick positions and texts of time and date/time axes.

#include "scales/Zel_ScaleDateTime.h"
#include "scales/Zel_math2.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Positions closer than this to a range end (in days) count as lying on it.
constexpr double kDayTolerance = 1e-8;
// Relative tolerance of the step choice of a time axis.
constexpr double kTimeTolerance = 1e-9;
// Every loop stops after this many positions, drawn or skipped.
constexpr int kMaxIterations = 4 * kMaxDateTimeTicks;

long long floorMod(long long a, long long n)
{
    const long long r = a % n;
    return r < 0 ? r + n : r;
}

// Index (0-based) of the largest entry of the first `count` steps of a row that is at most
// limit; 0 when none is. slack, in the same unit, is what the rounding of the range's ends can
// take off the limit: a step larger than the wanted one by more would leave the axis with
// fewer labelled intervals than asked for.
int largestStepAtMost(SubDayRow row, double limit, double slack, int count = 6)
{
    int k = 0;
    for (int i = 0; i < count; ++i)
        if (SubDayStepTable[row][i] <= limit + slack)
            k = i;
    return k;
}

// How far the span of a range can be off through the rounding of its two ends (in the range's
// unit: days, or seconds on a time axis).
double spanRounding(double low, double high)
{
    return 2 * std::numeric_limits<double>::epsilon() * std::max(std::fabs(low), std::fabs(high));
}

// Decides which long ticks carry the date line during one computation.
class DateLinePolicy
{
public:
    DateLinePolicy(const DateTimeFormat &format)
        : m_mode(format.dateForTime),
          m_pattern(BuildDateFormat(format.monthName, format.yearLength, format.dateOrder,
                                    format.dateSeparator))
    {
    }

    // The date line of a long tick at p, or an empty text.
    QString at(double p)
    {
        bool show = false;
        switch (m_mode) {
        case dtNone:
            break;
        case dtOnePerChart:
            show = m_first;
            break;
        case dtOnePerDay: {
            QDate date;
            int msec = 0;
            if (decodeDayValue(p, date, msec) && date.day() != m_lastDay) {
                show = true;
                m_lastDay = date.day();
            }
            break;
        }
        case dtAllTicks:
            show = true;
            break;
        }
        m_first = false;
        return show ? FormatDayValue(m_pattern, p) : QString();
    }

private:
    TDateForTime m_mode;
    QString m_pattern;
    bool m_first = true;
    int m_lastDay = 0; // day of the month of the last date line; 0: none yet
};

void subDayTicks(DateTimeAxisLayout &out, double low, double high, double perTick, double slack,
                 bool shortTicks, const DateTimeFormat &format)
{
    SubDayRow row = sdrMinutes;
    long long unitsPerDay = 1440;
    switch (out.level) {
    case DateTimeLevel::Hours:
        row = sdrHours;
        unitsPerDay = 24;
        break;
    case DateTimeLevel::Minutes:
        break;
    case DateTimeLevel::Seconds:
        unitsPerDay = 86400;
        break;
    default: // hundredths
        row = sdrHundredths;
        unitsPerDay = 8640000;
        break;
    }
    const double upd = double(unitsPerDay);
    const int k = largestStepAtMost(row, perTick * upd, slack * upd);
    const long long step = SubDayStepTable[row][k];
    const long long shortStep = SubDayShortStepTable[row][k];
    const long long advance = shortTicks ? shortStep : step;
    out.step = int(step);
    out.shortStep = int(advance);

    // A position this close to an end counts as lying on it: the day tolerance, but never
    // more than a thousandth of a short step (at the hundredths level the day tolerance is
    // several per cent of one) nor less than the rounding of day counts this far from zero.
    const double tolerance =
        std::max(std::min(kDayTolerance, 1e-3 * double(shortStep) / upd), spanRounding(low, high));

    // The first multiple of the step at or after low, counted in units from the midnight of
    // low's day. A time that lies within the tolerance above a multiple counts as on it.
    const double day = std::floor(low);
    const long long t = (long long)std::ceil((low - day) * upd - tolerance * upd);
    long long u = t % step == 0 ? t : t + step - t % step;
    auto position = [&](long long units) { return day + double(units) / upd; };
    if (shortTicks)
        while (position(u) > low)
            u -= shortStep;

    const QString pattern = timeLabelPattern(out.level, format.timeFormat, format.timeSeparator);
    DateLinePolicy dateLine(format);
    for (int guard = 0; guard < kMaxIterations; ++guard, u += advance) {
        const double p = position(u);
        if (p - high >= tolerance || out.ticks.size() >= size_t(kMaxDateTimeTicks))
            break;
        if (p < low - tolerance)
            continue;
        AxisTick tick;
        tick.value = p;
        // Steps divide a day, so a long tick is a multiple of the step from midnight.
        tick.isLong = !shortTicks || floorMod(u, step) == 0;
        if (tick.isLong) {
            tick.label = FormatDayValue(pattern, p);
            tick.dateLine = dateLine.at(p);
        }
        out.ticks.push_back(std::move(tick));
    }
}

void dayTicks(DateTimeAxisLayout &out, double low, double high, double perTick, double slack,
              bool shortTicks, const DateTimeFormat &format)
{
    const int k = largestStepAtMost(sdrDays, perTick, slack);
    const long long n = SubDayStepTable[sdrDays][k];
    const long long shortStep = SubDayShortStepTable[sdrDays][k];
    const long long advance = shortTicks ? shortStep : n;
    out.step = int(n);
    out.shortStep = int(advance);

    QDate date;
    int msec = 0;
    decodeDayValue(low, date, msec);
    // Steps are counted from 1 January of low's year.
    const double jan1 = dayValueOf(QDate(date.year(), 1, 1));
    double p = jan1 + double(n) * std::trunc((low - jan1) / double(n));
    const long long residue = floorMod(std::llround(p), n);

    const QString pattern = dayLabelPattern(format);
    for (int guard = 0; guard < kMaxIterations; ++guard, p += double(advance)) {
        if (p - high >= kDayTolerance || out.ticks.size() >= size_t(kMaxDateTimeTicks))
            break;
        if (p < low - kDayTolerance)
            continue;
        AxisTick tick;
        tick.value = p;
        tick.isLong = !shortTicks || floorMod(std::llround(p), n) == residue;
        if (tick.isLong)
            tick.label = FormatDayValue(pattern, p);
        out.ticks.push_back(std::move(tick));
    }
}

void monthTicks(DateTimeAxisLayout &out, double low, double high, int minTicks, double slack,
                bool shortTicks, const DateTimeFormat &format)
{
    const int k =
        largestStepAtMost(sdrMonths, (high - low) / 30.4375 / minTicks, slack / 30.4375, 5);
    const int n = SubDayStepTable[sdrMonths][k];
    const int advance = shortTicks ? 1 : n;
    out.step = n;
    out.shortStep = advance;

    QDate date;
    int msec = 0;
    decodeDayValue(low, date, msec);
    int year = date.year();
    int month = date.month();
    auto nextMonth = [&](int by) {
        month += by;
        while (month > 12) {
            month -= 12;
            ++year;
        }
    };
    // Without short ticks only the labelled months are visited, beginning with the first one
    // after low's month: low's own month is never the first tick then, even when it is a
    // labelled month and low lies on its first day.
    if (n > 1 && !shortTicks) {
        nextMonth(1);
        while (month % n != 1)
            nextMonth(1);
    }

    const QString pattern = monthLabelPattern(format);
    for (int guard = 0; guard < kMaxIterations; ++guard, nextMonth(advance)) {
        const double p = dayValueOf(QDate(year, month, 1));
        if (p - high >= kDayTolerance || out.ticks.size() >= size_t(kMaxDateTimeTicks))
            break;
        if (p < low - kDayTolerance)
            continue;
        AxisTick tick;
        tick.value = p;
        tick.isLong = !(shortTicks && n > 1 && month % n != 1);
        if (tick.isLong)
            tick.label = FormatDayValue(pattern, p);
        out.ticks.push_back(std::move(tick));
    }
}

void yearTicks(DateTimeAxisLayout &out, double low, double high, int minTicks, bool shortTicks,
               const DateTimeFormat &format)
{
    const double years = std::max((high - low) / 365.25 / minTicks, 1.0);
    const double l = Log10Strict(years);
    const double mantissa = std::pow(10.0, l - std::trunc(l));
    // A hair of tolerance, so that 20 years per tick is 2 x 10 and not 1 x 10 when the power
    // comes out as 1.9999999999999996.
    const int f = mantissa >= 5 - 1e-9 ? 5 : mantissa >= 2 - 1e-9 ? 2 : 1;
    const long long h = std::llround(std::nearbyint(f * std::trunc(std::pow(10.0, std::trunc(l)))));
    long long shortStep = h;
    if (shortTicks && h > 1)
        shortStep = (long long)std::nearbyint(double(h) / (f == 5 ? 5.0 : 2.0));
    out.step = int(h);
    out.shortStep = int(shortStep);

    QDate date;
    int msec = 0;
    decodeDayValue(low, date, msec);
    const long long firstYear = std::max(date.year(), 1);
    // The first multiple of the short step whose 1 January is not before low.
    long long year = (firstYear + shortStep - 1) / shortStep * shortStep;
    auto position = [](long long y) {
        return y > 9999 ? dayValueOf(QDate(9999, 12, 31)) : dayValueOf(QDate(int(y), 1, 1));
    };
    if (position(year) < low - kDayTolerance)
        year += shortStep;

    double last = -std::numeric_limits<double>::infinity();
    for (int guard = 0; guard < kMaxIterations; ++guard, year += shortStep) {
        const double p = position(year);
        // Past 9999 the position stays on the last day of the calendar: one tick there at most.
        if (p - high >= kDayTolerance || p <= last || out.ticks.size() >= size_t(kMaxDateTimeTicks))
            break;
        last = p;
        AxisTick tick;
        tick.value = p;
        tick.isLong = !shortTicks || year % h == 0;
        if (tick.isLong) {
            switch (format.yearLength) {
            case ylNone:
                break;
            case ylYY:
                tick.label = FormatDayValue(QStringLiteral("yy"), p);
                break;
            case ylYYYY:
                tick.label = QString::number(std::min(year, 9999LL));
                break;
            }
        }
        out.ticks.push_back(std::move(tick));
    }
}

} // namespace

// ---- time axes -------------------------------------------------------------------------------

TimeAxisLayout computeTimeAxis(double low, double high, int minTicks, bool shortTicks)
{
    TimeAxisLayout out;
    const double dir = high > low ? 1.0 : -1.0;
    const double perTick = std::fabs(high - low) / minTicks;
    for (int i = int(TimeStepTable.size()); i >= 1; --i) {
        if (TimeStepTable[i - 1].step <= perTick * (1 + kTimeTolerance)) {
            out.stepIndex = i;
            break;
        }
    }
    // Below a millisecond, and at a day or more per tick, numbers serve better.
    if (out.stepIndex == 0 || out.stepIndex == int(TimeStepTable.size()))
        return out;

    const TimeStep &entry = TimeStepTable[out.stepIndex - 1];
    out.step = dir * entry.step;
    out.shortStep = out.step / entry.shortCount;
    const double shortStep = out.shortStep;
    // Ranges far from zero whose ticks lie closer than the doubles can tell apart go to the
    // numeric drawing.
    if (std::max(std::fabs(low), std::fabs(high)) / std::fabs(shortStep) > 1e15)
        return out;
    out.handled = true;

    // Every position is a multiple of the short step; the labelled ones are multiples of the
    // step. The ends are included with a tolerance of a thousandth of the short step (or of
    // the doubles' spacing there, if larger), outward in either direction.
    const double tolerance = std::max(1e-3 * std::fabs(shortStep), spanRounding(low, high));
    const double lowEnd = low - dir * tolerance;
    const double highEnd = high + dir * tolerance;
    auto inside = [&](double p) { return dir * p >= dir * lowEnd && dir * highEnd >= dir * p; };
    const long long first = (long long)std::floor(low / shortStep) - 1;
    auto pass = [&](bool labelled) {
        for (long long n = first; n < first + kMaxIterations; ++n) {
            const double p = double(n) * shortStep;
            if (dir * p > dir * highEnd || out.ticks.size() >= size_t(kMaxDateTimeTicks))
                break;
            if (!inside(p))
                continue;
            if (labelled && floorMod(n, entry.shortCount) != 0)
                continue;
            AxisTick tick;
            tick.value = p;
            tick.isLong = labelled;
            if (labelled)
                tick.label = FormatSeconds(p, out.stepIndex <= 9);
            out.ticks.push_back(std::move(tick));
        }
    };
    if (shortTicks)
        pass(false);
    pass(true);
    return out;
}

// ---- date/time axes --------------------------------------------------------------------------

DateTimeAxisLayout computeDateTimeAxis(double low, double high, int minTicks, bool shortTicks,
                                       bool vertical, const DateTimeFormat &format)
{
    DateTimeAxisLayout out;
    if (!isValidDateTimeRange(low, high)) {
        out.level = DateTimeLevel::InvalidRange;
        out.message = dateTimeMessage(out.level, vertical);
        return out;
    }
    const int intervals = std::max(minTicks, 1);
    const double perTick = (high - low) / intervals;
    const double slack = spanRounding(low, high) / intervals;
    out.level = dateTimeLevel(perTick, vertical);
    switch (out.level) {
    case DateTimeLevel::InvalidRange:
    case DateTimeLevel::SpanTooSmall:
        out.message = dateTimeMessage(out.level, vertical);
        break;
    case DateTimeLevel::Hundredths:
    case DateTimeLevel::Seconds:
    case DateTimeLevel::Minutes:
    case DateTimeLevel::Hours:
        subDayTicks(out, low, high, perTick, slack, shortTicks, format);
        break;
    case DateTimeLevel::Days:
        dayTicks(out, low, high, perTick, slack, shortTicks, format);
        break;
    case DateTimeLevel::Months:
        monthTicks(out, low, high, intervals, slack, shortTicks, format);
        break;
    case DateTimeLevel::Years:
        yearTicks(out, low, high, intervals, shortTicks, format);
        break;
    }
    return out;
}

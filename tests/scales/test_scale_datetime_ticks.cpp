#include "scales/Zel_ScaleDateTime.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <ostream>

#include <cmath>
#include <limits>
#include <vector>

// Readable failure messages for texts (internal linkage: every test file may have its own).
static void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

class DateTimeTicks : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_saved = QLocale();
        QLocale::setDefault(QLocale(QLocale::English));
    }
    void TearDown() override { QLocale::setDefault(m_saved); }

private:
    QLocale m_saved;
};

double dayValue(int y, int m, int d, int hh = 0, int nn = 0, double ss = 0)
{
    return dayValueOf(QDate(y, m, d)) + (hh * 3600 + nn * 60 + ss) / 86400.0;
}

std::vector<const AxisTick *> longTicks(const std::vector<AxisTick> &ticks)
{
    std::vector<const AxisTick *> out;
    for (const AxisTick &t : ticks)
        if (t.isLong)
            out.push_back(&t);
    return out;
}

QStringList labels(const std::vector<AxisTick> &ticks)
{
    QStringList out;
    for (const AxisTick &t : ticks)
        if (t.isLong)
            out << t.label;
    return out;
}

QStringList dateLines(const std::vector<AxisTick> &ticks)
{
    QStringList out;
    for (const AxisTick &t : ticks)
        if (t.isLong)
            out << t.dateLine;
    return out;
}

} // namespace

// ---- levels ----------------------------------------------------------------------------------

TEST(DateTimeLevel, VerticalAxesResolveFinerThanHorizontalOnes)
{
    using L = DateTimeLevel;
    const double second = 1.0 / 86400;
    EXPECT_EQ(dateTimeLevel(0.005 * second, true), L::SpanTooSmall);
    EXPECT_EQ(dateTimeLevel(0.5 * second, true), L::Hundredths);
    EXPECT_EQ(dateTimeLevel(0.5 * second, false), L::SpanTooSmall);
    EXPECT_EQ(dateTimeLevel(1.1574e-5, false), L::SpanTooSmall); // the bound itself
    EXPECT_EQ(dateTimeLevel(2 * second, false), L::Seconds);
    EXPECT_EQ(dateTimeLevel(59 * second, true), L::Seconds);
    EXPECT_EQ(dateTimeLevel(0.041667, false), L::Minutes);
    EXPECT_EQ(dateTimeLevel(0.05, true), L::Hours);
    EXPECT_EQ(dateTimeLevel(1.0, true), L::Hours);
    EXPECT_EQ(dateTimeLevel(30.0, false), L::Days);
    EXPECT_EQ(dateTimeLevel(366.0, false), L::Months);
    EXPECT_EQ(dateTimeLevel(366.5, true), L::Years);
}

TEST(DateTimeAxis, InvalidRangesShowTheMessageAndNoTicks)
{
    const DateTimeFormat f;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (auto [lo, hi] : {std::pair{1.0, 0.0}, std::pair{kFirstDayValue - 1, 0.0},
                          std::pair{0.0, kLastDayValue + 1}, std::pair{nan, 1.0},
                          std::pair{0.0, std::numeric_limits<double>::infinity()}}) {
        const DateTimeAxisLayout v = computeDateTimeAxis(lo, hi, 3, true, true, f);
        EXPECT_EQ(v.level, DateTimeLevel::InvalidRange) << lo << ".." << hi;
        EXPECT_TRUE(v.ticks.empty());
        EXPECT_EQ(v.message, QStringList({"invalid", "DateTime", "scale"}));
        const DateTimeAxisLayout h = computeDateTimeAxis(lo, hi, 3, true, false, f);
        EXPECT_EQ(h.message, QStringList({"invalid DateTime scale"}));
    }
    // The ends of the calendar themselves are fine.
    EXPECT_EQ(computeDateTimeAxis(kFirstDayValue, kLastDayValue, 3, true, false, f).level,
              DateTimeLevel::Years);
}

TEST_F(DateTimeTicks, HalfASecondPerTick)
{
    const double lo = dayValue(2020, 6, 1, 12);
    const double hi = lo + 2.0 / 86400; // 2 s in 4 ticks
    const DateTimeAxisLayout v = computeDateTimeAxis(lo, hi, 4, true, true, DateTimeFormat());
    ASSERT_EQ(v.level, DateTimeLevel::Hundredths);
    EXPECT_EQ(v.step, 50);
    EXPECT_EQ(v.shortStep, 10);
    EXPECT_EQ(v.ticks.size(), 21u);
    EXPECT_EQ(labels(v.ticks), QStringList({"12:00:00.000", "12:00:00.500", "12:00:01.000",
                                            "12:00:01.500", "12:00:02.000"}));

    const DateTimeAxisLayout h = computeDateTimeAxis(lo, hi, 4, true, false, DateTimeFormat());
    EXPECT_EQ(h.level, DateTimeLevel::SpanTooSmall);
    EXPECT_TRUE(h.ticks.empty());
    EXPECT_EQ(h.message, QStringList({"DateTime range is below 1 second"}));
    const DateTimeAxisLayout tiny =
        computeDateTimeAxis(lo, lo + 0.02 / 86400, 4, true, true, DateTimeFormat());
    EXPECT_EQ(tiny.message, QStringList({"DateTime", "range is", "below 1", "second"}));
}

// ---- below a day -----------------------------------------------------------------------------

TEST_F(DateTimeTicks, OneDayInFourTicks)
{
    const DateTimeAxisLayout v = computeDateTimeAxis(0, 1, 4, true, true, DateTimeFormat());
    ASSERT_EQ(v.level, DateTimeLevel::Hours);
    EXPECT_EQ(v.step, 6);
    EXPECT_EQ(v.shortStep, 2);
    ASSERT_EQ(v.ticks.size(), 13u); // every 2 h, both ends included
    for (size_t i = 0; i < v.ticks.size(); ++i)
        EXPECT_NEAR(v.ticks[i].value, i / 12.0, 1e-12);
    EXPECT_EQ(labels(v.ticks), QStringList({"00:00", "06:00", "12:00", "18:00", "00:00"}));
    EXPECT_EQ(dateLines(v.ticks), QStringList({"30-Dec-1899", "", "", "", "31-Dec-1899"}));
    for (const AxisTick &t : v.ticks) {
        if (!t.isLong) {
            EXPECT_TRUE(t.label.isEmpty() && t.dateLine.isEmpty());
        }
    }

    // Horizontally the same ticks.
    const DateTimeAxisLayout h = computeDateTimeAxis(0, 1, 4, true, false, DateTimeFormat());
    EXPECT_EQ(h.ticks.size(), v.ticks.size());
    EXPECT_EQ(labels(h.ticks), labels(v.ticks));

    // Without short ticks only the labelled positions.
    const DateTimeAxisLayout s = computeDateTimeAxis(0, 1, 4, false, true, DateTimeFormat());
    EXPECT_EQ(s.ticks.size(), 5u);
    EXPECT_EQ(longTicks(s.ticks).size(), 5u);
}

TEST_F(DateTimeTicks, TheFourDateLineModes)
{
    DateTimeFormat f;
    const double lo = dayValue(2021, 1, 1, 12);
    const double hi = lo + 1.5; // 12:00 on the 1st to 00:00 on the 3rd, 6 h steps
    auto lines = [&](TDateForTime mode) {
        f.dateForTime = mode;
        return dateLines(computeDateTimeAxis(lo, hi, 6, true, false, f).ticks);
    };
    EXPECT_EQ(labels(computeDateTimeAxis(lo, hi, 6, true, false, f).ticks),
              QStringList({"12:00", "18:00", "00:00", "06:00", "12:00", "18:00", "00:00"}));
    EXPECT_EQ(lines(dtNone), QStringList(7, QString()));
    EXPECT_EQ(lines(dtOnePerChart), QStringList({"01-Jan-2021", "", "", "", "", "", ""}));
    EXPECT_EQ(lines(dtOnePerDay),
              QStringList({"01-Jan-2021", "", "02-Jan-2021", "", "", "", "03-Jan-2021"}));
    EXPECT_EQ(lines(dtAllTicks),
              QStringList({"01-Jan-2021", "01-Jan-2021", "02-Jan-2021", "02-Jan-2021",
                           "02-Jan-2021", "02-Jan-2021", "03-Jan-2021"}));
}

TEST_F(DateTimeTicks, NegativeDayCounts)
{
    // 28 December 1899 12:00 .. 29 December 00:00 in steps of 3 hours.
    const DateTimeAxisLayout v = computeDateTimeAxis(-1.5, -1.0, 4, true, true, DateTimeFormat());
    ASSERT_EQ(v.level, DateTimeLevel::Hours);
    EXPECT_EQ(v.step, 3);
    const auto l = longTicks(v.ticks);
    ASSERT_EQ(l.size(), 5u);
    EXPECT_DOUBLE_EQ(l[2]->value, -1.25);
    EXPECT_EQ(l[2]->label, "18:00");
    EXPECT_EQ(labels(v.ticks), QStringList({"12:00", "15:00", "18:00", "21:00", "00:00"}));
    EXPECT_EQ(dateLines(v.ticks), QStringList({"28-Dec-1899", "", "", "", "29-Dec-1899"}));
}

TEST_F(DateTimeTicks, MinutesAndSecondsLevels)
{
    const double lo = dayValue(2010, 5, 5, 10, 3, 20);
    const DateTimeAxisLayout m = computeDateTimeAxis(lo, lo + 1.0 / 24, 4, true, false, {});
    ASSERT_EQ(m.level, DateTimeLevel::Minutes);
    EXPECT_EQ(m.step, 10);
    EXPECT_EQ(m.shortStep, 2);
    // The first labelled tick is the first multiple of 10 minutes at or after low.
    EXPECT_EQ(labels(m.ticks), QStringList({"10:10", "10:20", "10:30", "10:40", "10:50", "11:00"}));
    EXPECT_GE(m.ticks.front().value, lo); // the short tick at 10:02 lies before low
    EXPECT_NEAR(m.ticks.front().value, dayValue(2010, 5, 5, 10, 4), 1e-9);

    const DateTimeAxisLayout s = computeDateTimeAxis(lo, lo + 1.0 / 1440, 4, false, false, {});
    ASSERT_EQ(s.level, DateTimeLevel::Seconds);
    EXPECT_EQ(labels(s.ticks), QStringList({"10:03:20", "10:03:30", "10:03:40", "10:03:50",
                                            "10:04:00", "10:04:10", "10:04:20"}));
}

TEST_F(DateTimeTicks, ALabelledTickOnTheRangeStartIsKept)
{
    // 10:00 is not exactly representable; the tick there must not be lost to rounding.
    const double lo = 45000 + 600.0 / 1440;
    const DateTimeAxisLayout v = computeDateTimeAxis(lo, lo + 1.0 / 24, 3, false, true, {});
    ASSERT_FALSE(v.ticks.empty());
    EXPECT_EQ(v.ticks.front().label, "10:00");
}

TEST_F(DateTimeTicks, HundredthsStayWithinTheRangeGiveOrTakeAThousandthOfAShortStep)
{
    // A day count carries about 7e-12 days of rounding here; a tick a millisecond outside the
    // range (a tenth of a short step) is outside it.
    const double ms = 1e-3 / 86400;
    struct Case
    {
        double low, high;
        bool shortTicks;
        const char *first, *last, *firstDate;
    };
    const Case cases[] = {
        // 9.16 ms and 9.80 ms before midnight: the tick at 23:59:59.990 lies 0.84 ms and
        // 0.20 ms before RangeLow.
        {36525.999999893946, 36526.000000945285, true, "00:00:00.000", "00:00:00.080",
         "01-Jan-2000"},
        {36525.999999893946, 36526.000000945285, false, "00:00:00.000", "00:00:00.080",
         "01-Jan-2000"},
        {36525.999999893946 - 0.64 * ms, 36526.000000945285, true, "00:00:00.000", "00:00:00.080",
         "01-Jan-2000"},
        // The tick at 90 ms lies 0.5 ms after RangeHigh.
        {36526, 36526 + 89.5 * ms, true, "00:00:00.000", "00:00:00.080", "01-Jan-2000"},
        // Ticks exactly on both ends, not exactly representable, are kept.
        {45000 + 1234 * 10 * ms, 45000 + 1243 * 10 * ms, false, "00:00:12.340", "00:00:12.430",
         "15-Mar-2023"},
    };
    for (const Case &c : cases) {
        const DateTimeAxisLayout v = computeDateTimeAxis(c.low, c.high, 6, c.shortTicks, true, {});
        ASSERT_EQ(v.level, DateTimeLevel::Hundredths);
        ASSERT_FALSE(v.ticks.empty());
        const QStringList l = labels(v.ticks);
        EXPECT_EQ(l.front().toStdString(), c.first) << c.low;
        EXPECT_EQ(l.back().toStdString(), c.last) << c.low;
        EXPECT_EQ(dateLines(v.ticks).front().toStdString(), c.firstDate) << c.low;
        const double tolerance = 1e-3 * v.shortStep * 10 * ms;
        EXPECT_GE(v.ticks.front().value, c.low - tolerance) << c.low;
        EXPECT_LE(v.ticks.back().value, c.high + tolerance) << c.low;
    }
}

// ---- days, months, years ---------------------------------------------------------------------

TEST_F(DateTimeTicks, DaysCountedFromTheFirstOfJanuary)
{
    const double lo = dayValue(2023, 1, 5);
    const DateTimeAxisLayout v = computeDateTimeAxis(lo, lo + 10, 3, true, false, {});
    ASSERT_EQ(v.level, DateTimeLevel::Days);
    EXPECT_EQ(v.step, 3);
    EXPECT_EQ(v.ticks.size(), 11u); // every day
    // Multiples of 3 days from 1 January: the 7th, 10th, 13th.
    EXPECT_EQ(labels(v.ticks), QStringList({"07-Jan-2023", "10-Jan-2023", "13-Jan-2023"}));

    // 14-day steps with weekly short ticks.
    const DateTimeAxisLayout w = computeDateTimeAxis(lo, lo + 56, 3, true, false, {});
    EXPECT_EQ(w.step, 14);
    EXPECT_EQ(w.shortStep, 7);
    EXPECT_EQ(labels(w.ticks),
              QStringList({"15-Jan-2023", "29-Jan-2023", "12-Feb-2023", "26-Feb-2023"}));
    EXPECT_EQ(w.ticks.size(), 8u);
}

TEST_F(DateTimeTicks, DaysAcrossDayZeroKeepTheirRhythm)
{
    const DateTimeAxisLayout v = computeDateTimeAxis(-20, 20, 3, true, false, {});
    ASSERT_EQ(v.step, 7);
    const auto l = longTicks(v.ticks);
    ASSERT_GE(l.size(), 5u);
    for (size_t i = 1; i < l.size(); ++i)
        EXPECT_DOUBLE_EQ(l[i]->value - l[i - 1]->value, 7.0);
}

TEST_F(DateTimeTicks, MonthsInFourMonthSteps)
{
    const double lo = dayValue(2000, 1, 1);
    const double hi = dayValue(2001, 1, 1);
    const DateTimeAxisLayout v = computeDateTimeAxis(lo, hi, 3, true, false, {});
    ASSERT_EQ(v.level, DateTimeLevel::Months);
    EXPECT_EQ(v.step, 4);
    EXPECT_EQ(v.ticks.size(), 13u);
    EXPECT_EQ(labels(v.ticks), QStringList({"Jan-2000", "May-2000", "Sep-2000", "Jan-2001"}));
    DateTimeFormat f;
    f.dateOrder = doYYMMDD;
    f.monthName = false;
    EXPECT_EQ(labels(computeDateTimeAxis(lo, hi, 3, true, false, f).ticks).front(), "2000-01");
}

TEST_F(DateTimeTicks, WithoutShortTicksTheFirstMonthIsNeverTheRangeStartsOwn)
{
    // Steps of more than a month without short ticks begin after RangeLow's month, even when
    // that month is a labelled one and RangeLow is its first day.
    struct Case
    {
        double low, high;
        int minTicks;
        const char *expected; // the labels, separated by blanks
    };
    const Case cases[] = {
        {dayValue(1900, 1, 1), dayValue(1900, 7, 21), 2, "Apr-1900 Jul-1900"}, // step 3
        {dayValue(2000, 1, 1), dayValue(2001, 1, 1), 3, "May-2000 Sep-2000 Jan-2001"},
        {dayValue(2000, 1, 15), dayValue(2001, 1, 15), 3, "May-2000 Sep-2000 Jan-2001"},
        {dayValue(2000, 3, 1), dayValue(2000, 10, 1), 3, "May-2000 Jul-2000 Sep-2000"},
        {dayValue(2000, 2, 10), dayValue(2000, 9, 10), 2, "Apr-2000 Jul-2000"},
        {dayValue(1999, 7, 1), dayValue(2001, 1, 1), 3, "Jan-2000 Jul-2000 Jan-2001"},
    };
    for (const Case &c : cases) {
        const DateTimeAxisLayout v =
            computeDateTimeAxis(c.low, c.high, c.minTicks, false, true, {});
        ASSERT_EQ(v.level, DateTimeLevel::Months);
        EXPECT_EQ(labels(v.ticks).join(' ').toStdString(), c.expected);
        EXPECT_EQ(v.ticks.size(), size_t(labels(v.ticks).size())) << c.expected;
    }
}

TEST_F(DateTimeTicks, TenYears)
{
    const double lo = dayValue(2000, 1, 1);
    const double hi = dayValue(2010, 1, 1);
    const DateTimeAxisLayout v = computeDateTimeAxis(lo, hi, 3, true, false, {});
    ASSERT_EQ(v.level, DateTimeLevel::Years);
    EXPECT_EQ(v.step, 2);
    EXPECT_EQ(v.shortStep, 1);
    EXPECT_EQ(v.ticks.size(), 11u);
    EXPECT_EQ(labels(v.ticks), QStringList({"2000", "2002", "2004", "2006", "2008", "2010"}));
    for (const AxisTick &t : v.ticks) {
        QDate date;
        int ms = 0;
        ASSERT_TRUE(decodeDayValue(t.value, date, ms));
        EXPECT_TRUE(date.month() == 1 && date.day() == 1 && ms == 0);
    }

    DateTimeFormat f;
    f.yearLength = ylYY;
    EXPECT_EQ(labels(computeDateTimeAxis(lo, hi, 3, true, false, f).ticks).at(1), "02");
    f.yearLength = ylNone;
    EXPECT_EQ(labels(computeDateTimeAxis(lo, hi, 3, true, false, f).ticks).at(1), "");
    // Early years lose their leading zeros.
    EXPECT_EQ(
        labels(computeDateTimeAxis(kFirstDayValue, kFirstDayValue + 3653, 3, true, false, {}).ticks)
            .front(),
        "2");
}

TEST_F(DateTimeTicks, YearsStartAtTheFirstStepAfterTheRangeStart)
{
    // From mid-March 2001, steps of 2 years without short ticks: 2002 is the first.
    const double lo = dayValue(2001, 3, 15);
    const DateTimeAxisLayout v = computeDateTimeAxis(lo, lo + 3653, 3, false, false, {});
    ASSERT_EQ(v.step, 2);
    EXPECT_EQ(labels(v.ticks).front(), "2002");
}

TEST_F(DateTimeTicks, YearsStopAtTheEndOfTheCalendar)
{
    const DateTimeAxisLayout v =
        computeDateTimeAxis(dayValue(9000, 1, 1), kLastDayValue, 3, true, false, {});
    ASSERT_EQ(v.level, DateTimeLevel::Years);
    ASSERT_FALSE(v.ticks.empty());
    for (const AxisTick &t : v.ticks)
        EXPECT_LE(t.value, dayValue(9999, 12, 31));
    for (size_t i = 1; i < v.ticks.size(); ++i)
        EXPECT_GT(v.ticks[i].value, v.ticks[i - 1].value);
}

TEST_F(DateTimeTicks, NoTickIntervalsCountAsOne)
{
    const DateTimeAxisLayout v = computeDateTimeAxis(0, 1, 0, true, false, {});
    EXPECT_EQ(v.level, DateTimeLevel::Hours);
    EXPECT_EQ(labels(v.ticks), QStringList({"00:00", "12:00", "00:00"}));
}

// ---- time axes -------------------------------------------------------------------------------

TEST(TimeAxis, OneHourInThreeTicks)
{
    const TimeAxisLayout t = computeTimeAxis(0, 3600, 3, true);
    ASSERT_TRUE(t.handled);
    EXPECT_EQ(t.stepIndex, 21);
    EXPECT_DOUBLE_EQ(t.step, 1200);
    EXPECT_DOUBLE_EQ(t.shortStep, 200);
    // All short ticks come first, then the labelled ones.
    ASSERT_EQ(t.ticks.size(), 19u + 4u);
    for (size_t i = 0; i < 19; ++i) {
        EXPECT_FALSE(t.ticks[i].isLong);
        EXPECT_DOUBLE_EQ(t.ticks[i].value, 200.0 * i);
    }
    EXPECT_EQ(labels(t.ticks), QStringList({" 00:00:00", " 00:20:00", " 00:40:00", " 01:00:00"}));
    EXPECT_EQ(computeTimeAxis(0, 3600, 3, false).ticks.size(), 4u);
}

TEST(TimeAxis, MillisecondsForStepsUpToHalfASecond)
{
    const TimeAxisLayout t = computeTimeAxis(0, 1, 3, false);
    ASSERT_EQ(t.stepIndex, 8); // 0.2 s
    EXPECT_EQ(labels(t.ticks), QStringList({" 00:00:00.000", " 00:00:00.200", " 00:00:00.400",
                                            " 00:00:00.600", " 00:00:00.800", " 00:00:01.000"}));
    EXPECT_EQ(computeTimeAxis(0, 3, 3, false).stepIndex, 10); // 1 s: no milliseconds
    EXPECT_EQ(labels(computeTimeAxis(0, 3, 3, false).ticks).front(), " 00:00:00");
}

TEST(TimeAxis, DeclinesWhenNoTableStepFits)
{
    EXPECT_FALSE(computeTimeAxis(0, 0.0005, 3, true).handled); // below the smallest step
    EXPECT_EQ(computeTimeAxis(0, 0.0005, 3, true).stepIndex, 0);
    EXPECT_FALSE(computeTimeAxis(0, 400000, 3, true).handled); // a day or more per tick
    EXPECT_EQ(computeTimeAxis(0, 400000, 3, true).stepIndex, 28);
    EXPECT_FALSE(computeTimeAxis(0, 100, 0, true).handled); // no interval count
    EXPECT_FALSE(computeTimeAxis(5, 5, 3, true).handled);
    EXPECT_FALSE(computeTimeAxis(std::numeric_limits<double>::quiet_NaN(), 1, 3, true).handled);
    // Ticks closer together than the doubles there can tell apart.
    EXPECT_FALSE(computeTimeAxis(1e12, 1e12 + 0.003, 3, true).handled);
}

TEST(TimeAxis, NegativeRangesAreCoveredFromTheirStart)
{
    const TimeAxisLayout t = computeTimeAxis(-100, 100, 3, true);
    ASSERT_EQ(t.stepIndex, 16); // 60 s in 6 short intervals
    std::vector<double> shorts;
    for (const AxisTick &k : t.ticks)
        if (!k.isLong)
            shorts.push_back(k.value);
    ASSERT_EQ(shorts.size(), 21u);
    EXPECT_DOUBLE_EQ(shorts.front(), -100);
    EXPECT_DOUBLE_EQ(shorts.back(), 100);
    EXPECT_EQ(labels(t.ticks), QStringList({"-00:01:00", " 00:00:00", " 00:01:00"}));
}

TEST(TimeAxis, BothEndsOfAReversedAxis)
{
    const TimeAxisLayout t = computeTimeAxis(3600, 0, 3, false);
    ASSERT_TRUE(t.handled);
    EXPECT_DOUBLE_EQ(t.step, -1200);
    std::vector<double> values;
    for (const AxisTick &k : t.ticks)
        values.push_back(k.value);
    EXPECT_EQ(values, (std::vector<double>{3600, 2400, 1200, 0}));
}

TEST(TimeAxis, TheLastLabelledTickIsNotLost)
{
    // The first step multiple lies almost a step before the range start here.
    const TimeAxisLayout t = computeTimeAxis(115, 420, 3, true);
    ASSERT_EQ(t.stepIndex, 16);
    const QStringList l = labels(t.ticks);
    ASSERT_FALSE(l.isEmpty());
    EXPECT_EQ(l.front(), " 00:02:00");
    EXPECT_EQ(l.back(), " 00:07:00");
}

TEST(TimeAxis, FarFromZeroEveryTickLiesInsideTheRange)
{
    for (const auto &[low, high] : {std::pair{1e6, 1e6 + 0.003},
                                    {1e7, 1e7 + 0.05},
                                    {-1e7 - 3, -1e7},
                                    {1e7 + 0.05, 1e7},
                                    {123456.78, 123456.9}}) {
        const TimeAxisLayout t = computeTimeAxis(low, high, 3, true);
        // Within the range, give or take the rounding of a position (far below a pixel).
        const double slack = 1e-3 * std::fabs(t.shortStep);
        for (const AxisTick &k : t.ticks) {
            EXPECT_GE(k.value, std::min(low, high) - slack) << low << ".." << high;
            EXPECT_LE(k.value, std::max(low, high) + slack) << low << ".." << high;
        }
    }
    EXPECT_EQ(
        labels(computeTimeAxis(1e6, 1e6 + 0.003, 3, true).ticks),
        QStringList({" 277:46:40.000", " 277:46:40.001", " 277:46:40.002", " 277:46:40.003"}));
}

TEST_F(DateTimeTicks, AStepIsTakenOnlyWhenItFitsMinTicksTimes)
{
    // Four ticks of two hours, minutes, seconds, days and months.
    for (const double span : {8 / 24.0, 8 / 1440.0, 8 / 86400.0, 8.0, 8 * 30.4375}) {
        // A hair short of two units per tick: one unit is the largest step that fits.
        EXPECT_EQ(computeDateTimeAxis(0, span * (1 - 5e-5), 4, false, true, {}).step, 1) << span;
        // Exactly two, also far from day zero where the span is rounded.
        for (const double low : {0.0, dayValue(2024, 3, 1, 12, 30), 2900000.0})
            EXPECT_EQ(computeDateTimeAxis(low, low + span, 4, false, true, {}).step, 2) << low;
    }
}

#include "scales/Zel_ScaleDateTime.h"
#include "test_support.h"

#include <QLocale>
#include <QMetaEnum>
#include <QMetaObject>
#include <QMetaProperty>

#include <gtest/gtest.h>

#include <ostream>

#include <cmath>
#include <limits>

// Readable failure messages for texts (internal linkage: every test file may have its own).
static void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

// Month names come from the default locale; the expectations are English.
class DateTimeText : public ::testing::Test
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

// Day count of a calendar day at a time of day.
double dayValue(int y, int m, int d, int hh = 0, int nn = 0, double ss = 0)
{
    return dayValueOf(QDate(y, m, d)) + (hh * 3600 + nn * 60 + ss) / 86400.0;
}

} // namespace

// ---- FormatSeconds ---------------------------------------------------------------------------

TEST(FormatSeconds, SignColumnPaddedFieldsAndMilliseconds)
{
    EXPECT_EQ(FormatSeconds(0, false), QStringLiteral(" 00:00:00"));
    EXPECT_EQ(FormatSeconds(3600, false), QStringLiteral(" 01:00:00"));
    EXPECT_EQ(FormatSeconds(-3723.25, true), QStringLiteral("-01:02:03.250"));
    EXPECT_EQ(FormatSeconds(0.005, true), QStringLiteral(" 00:00:00.005"));
    EXPECT_EQ(FormatSeconds(360000 + 59, false), QStringLiteral(" 100:00:59")); // hours grow
}

TEST(FormatSeconds, RoundsToTheMillisecondBeforeSplitting)
{
    // Tick positions computed in floating point land a hair off whole seconds.
    EXPECT_EQ(FormatSeconds(0.9999999999, true), QStringLiteral(" 00:00:01.000"));
    EXPECT_EQ(FormatSeconds(59.99999, false), QStringLiteral(" 00:01:00"));
    EXPECT_EQ(FormatSeconds(0.30000000000000004, true), QStringLiteral(" 00:00:00.300"));
    // A negative value that rounds to zero gets no minus sign.
    EXPECT_EQ(FormatSeconds(-1e-12, true), QStringLiteral(" 00:00:00.000"));
    EXPECT_EQ(FormatSeconds(-0.25, false), QStringLiteral("-00:00:00"));
}

TEST(FormatSeconds, NonFiniteValues)
{
    EXPECT_EQ(FormatSeconds(std::numeric_limits<double>::quiet_NaN(), true), "NAN");
    EXPECT_EQ(FormatSeconds(-std::numeric_limits<double>::infinity(), false), "-INF");
    EXPECT_EQ(FormatSeconds(1e300, false).left(4), QStringLiteral(" 277")); // no overflow
}

// ---- FormatDayValue --------------------------------------------------------------------------

TEST_F(DateTimeText, DayZeroAndEveryToken)
{
    EXPECT_EQ(FormatDayValue("dd-mmm-yyyy hh:nn:ss", 0), "30-Dec-1899 00:00:00");
    const double v = dayValue(2024, 3, 7, 9, 5, 4.321);
    EXPECT_EQ(FormatDayValue("yyyy yy mmm mm dd", v), "2024 24 Mar 03 07");
    EXPECT_EQ(FormatDayValue("hh h nn ss zz", v), "09 9 05 04 321");
    // Milliseconds always have three digits: 20 ms written ".20" would read as 200 ms.
    EXPECT_EQ(FormatDayValue("ss.zz", dayValue(2024, 3, 7, 9, 5, 4.02)), "04.020");
    EXPECT_EQ(FormatDayValue("ss.zz", dayValue(2024, 3, 7, 9, 5, 4.005)), "04.005");
    // Tokens match in either case; everything else is copied.
    EXPECT_EQ(FormatDayValue("YYYY/MM/DD T", v), "2024/03/07 T");
}

TEST_F(DateTimeText, QuotedTextIsCopiedWithoutTheQuotes)
{
    const double v = dayValue(2024, 3, 7, 9, 5);
    EXPECT_EQ(FormatDayValue("h\"h\"nn", v), "9h05");
    EXPECT_EQ(FormatDayValue("\"dd mm\" dd", v), "dd mm 07");
    EXPECT_EQ(FormatDayValue("'hh' hh", v), "hh 09");
    EXPECT_EQ(FormatDayValue("hh\"unclosed nn", v), "09unclosed nn");
}

TEST_F(DateTimeText, AmPmTurnsHoursIntoTwelveHourClock)
{
    EXPECT_EQ(FormatDayValue("ham/pm", dayValue(2000, 1, 1, 0)), "12am");
    EXPECT_EQ(FormatDayValue("ham/pm", dayValue(2000, 1, 1, 11, 59)), "11am");
    EXPECT_EQ(FormatDayValue("ham/pm", dayValue(2000, 1, 1, 12)), "12pm");
    EXPECT_EQ(FormatDayValue("hh:nnAM/PM", dayValue(2000, 1, 1, 13, 5)), "01:05PM");
    // Without am/pm the hours run 0..23.
    EXPECT_EQ(FormatDayValue("h", dayValue(2000, 1, 1, 13)), "13");
}

TEST_F(DateTimeText, NegativeDayCountsRunOnContinuously)
{
    EXPECT_EQ(FormatDayValue("dd-mmm-yyyy hh:nn", -1.25), "28-Dec-1899 18:00");
    EXPECT_EQ(FormatDayValue("dd-mmm-yyyy hh:nn", -0.5), "29-Dec-1899 12:00");
    EXPECT_EQ(FormatDayValue("dd-mmm-yyyy hh:nn", -2.0), "28-Dec-1899 00:00");
    EXPECT_EQ(FormatDayValue("dd-mmm-yyyy hh:nn", -0.000000001), "30-Dec-1899 00:00");
    EXPECT_EQ(FormatDayValue("dd-mm-yyyy", kFirstDayValue), "01-01-0001");
    EXPECT_EQ(FormatDayValue("dd-mm-yyyy hh:nn", kFirstDayValue + 0.75), "01-01-0001 18:00");
}

TEST_F(DateTimeText, TimeIsTakenToTheNearestMillisecond)
{
    // Just below midnight is midnight of the next day, not 23:59:59.999 rounding to 1000 ms.
    EXPECT_EQ(FormatDayValue("dd hh:nn:ss.zz", 1.0 - 1e-12), "31 00:00:00.000");
    EXPECT_EQ(FormatDayValue("dd hh:nn:ss.zz", -1e-12), "30 00:00:00.000");
    EXPECT_EQ(FormatDayValue("hh:nn", 0.25 * (1 - 1e-15)), "06:00");
}

TEST_F(DateTimeText, ValuesTheCalendarCannotHoldGiveNoText)
{
    EXPECT_EQ(FormatDayValue("dd", std::numeric_limits<double>::quiet_NaN()), "");
    EXPECT_EQ(FormatDayValue("dd", std::numeric_limits<double>::infinity()), "");
    EXPECT_EQ(FormatDayValue("dd", 1e300), "");
}

TEST(FormatDayValueLocale, MonthNamesComeFromTheDefaultLocale)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString german = QLocale(QLocale::German).monthName(3, QLocale::ShortFormat);
    EXPECT_EQ(FormatDayValue("mmm", dayValue(2024, 3, 1)), german);
    QLocale::setDefault(QLocale(QLocale::English));
    EXPECT_EQ(FormatDayValue("mmm", dayValue(2024, 3, 1)), "Mar");
    QLocale::setDefault(saved);
}

// ---- patterns --------------------------------------------------------------------------------

TEST_F(DateTimeText, DateLinePatternsByOrderAndYear)
{
    const double v = dayValue(1999, 12, 31, 13);
    auto line = [&](bool month, TYearLength year, TDateOrder order, QChar sep) {
        return FormatDayValue(BuildDateFormat(month, year, order, sep), v);
    };
    EXPECT_EQ(line(true, ylYYYY, doDDMMYY, '-'), "31-Dec-1999");
    EXPECT_EQ(line(false, ylYY, doMMDDYY, '/'), "12/31/99");
    EXPECT_EQ(line(true, ylYYYY, doYYMMDD, '.'), "1999.Dec.31");
    // Without a year the date is month and day (day and month for doDDMMYY).
    EXPECT_EQ(line(true, ylNone, doDDMMYY, '-'), "31-Dec");
    EXPECT_EQ(line(false, ylNone, doMMDDYY, '/'), "12/31");
    EXPECT_EQ(line(false, ylNone, doYYMMDD, '/'), "12/31");
    // Separators that are pattern letters or quotes stay literal.
    EXPECT_EQ(line(false, ylYYYY, doDDMMYY, 'd'), "31d12d1999");
    EXPECT_EQ(line(false, ylYYYY, doDDMMYY, '"'), "31\"12\"1999");
}

TEST_F(DateTimeText, DayAndMonthLabelsKeepTheSeparatorsWithoutAYear)
{
    const double v = dayValue(2001, 2, 3);
    DateTimeFormat f;
    EXPECT_EQ(FormatDayValue(dayLabelPattern(f), v), "03-Feb-2001");
    EXPECT_EQ(FormatDayValue(monthLabelPattern(f), v), "Feb-2001");
    f.yearLength = ylNone;
    EXPECT_EQ(FormatDayValue(dayLabelPattern(f), v), "03-Feb-");
    f.dateOrder = doYYMMDD;
    f.monthName = false;
    EXPECT_EQ(FormatDayValue(dayLabelPattern(f), v), "-02-03");
    EXPECT_EQ(FormatDayValue(monthLabelPattern(f), v), "-02");
    f.yearLength = ylYY;
    f.dateOrder = doMMDDYY;
    EXPECT_EQ(FormatDayValue(dayLabelPattern(f), v), "02-03-01");
    EXPECT_EQ(FormatDayValue(monthLabelPattern(f), v), "02-01");
}

TEST_F(DateTimeText, TimeLabelsOfTheThreeFormatsAtEveryLevel)
{
    const double v = dayValue(2000, 1, 1, 13, 5, 7.25);
    auto label = [&](DateTimeLevel level, TTimeFormat tf) {
        return FormatDayValue(timeLabelPattern(level, tf, QLatin1Char(':')), v);
    };
    using L = DateTimeLevel;
    EXPECT_EQ(label(L::Hours, tfHHMMSS), "13:05");
    EXPECT_EQ(label(L::Hours, tfHHhMM), "13h");
    EXPECT_EQ(label(L::Hours, tfAMPM), "1pm");
    EXPECT_EQ(label(L::Minutes, tfHHMMSS), "13:05");
    EXPECT_EQ(label(L::Minutes, tfHHhMM), "13h05");
    EXPECT_EQ(label(L::Minutes, tfAMPM), "1:05pm");
    EXPECT_EQ(label(L::Seconds, tfHHMMSS), "13:05:07");
    EXPECT_EQ(label(L::Seconds, tfHHhMM), "13h05:07");
    EXPECT_EQ(label(L::Seconds, tfAMPM), "1:05.07pm");
    EXPECT_EQ(label(L::Hundredths, tfHHMMSS), "13:05:07.250");
    EXPECT_EQ(label(L::Hundredths, tfHHhMM), "13h05:07.250");
    EXPECT_EQ(label(L::Hundredths, tfAMPM), "1:05.07.250pm");
    EXPECT_EQ(label(L::Days, tfHHMMSS), ""); // not a time level
    // The time separator is taken literally, whatever it is.
    EXPECT_EQ(FormatDayValue(timeLabelPattern(L::Seconds, tfHHMMSS, 'h'), v), "13h05h07");
}

// ---- TDTLabel --------------------------------------------------------------------------------

TEST(TDTLabel, PublishedPropertiesWithTheDefaultsOfANewScaleInOrder)
{
    TDTLabel label;
    expectPublishedProperties(label, QObject::staticMetaObject,
                              {{"TimeFormat", QVariant::fromValue(tfHHMMSS)},
                               {"DateSeparator", QChar(u'-')},
                               {"TimeSeparator", QChar(u':')},
                               {"YearLength", QVariant::fromValue(ylYYYY)},
                               {"MonthName", true},
                               {"DateOrder", QVariant::fromValue(doDDMMYY)},
                               {"DateForTime", QVariant::fromValue(dtOnePerDay)}});
    const QMetaObject &mo = TDTLabel::staticMetaObject;
    // Enumerations carry their published names, so stored descriptions can set them.
    const QMetaProperty order = mo.property(mo.indexOfProperty("DateOrder"));
    ASSERT_TRUE(order.isEnumType());
    EXPECT_STREQ(order.enumerator().valueToKey(doYYMMDD), "doYYMMDD");
    EXPECT_TRUE(label.setProperty("DateForTime", QVariant::fromValue(dtAllTicks)));
    EXPECT_EQ(label.DateForTime(), dtAllTicks);
    EXPECT_TRUE(label.setProperty("DateSeparator", QVariant(QChar('/'))));
    EXPECT_EQ(label.DateSeparator(), QLatin1Char('/'));
}

TEST(TDTLabel, OnChangeRules)
{
    TDTLabel label;
    int changes = 0;
    QObject *sender = nullptr;
    label.OnChange = [&](QObject *s) {
        ++changes;
        sender = s;
    };
    // DateOrder and TimeFormat notify on every assignment.
    label.SetDateOrder(label.DateOrder());
    label.SetTimeFormat(label.TimeFormat());
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(sender, &label);
    // The others only when the value changes.
    label.SetDateSeparator('-');
    label.SetTimeSeparator(':');
    label.SetYearLength(ylYYYY);
    label.SetMonthName(true);
    label.SetDateForTime(dtOnePerDay);
    EXPECT_EQ(changes, 2);
    label.SetDateSeparator('/');
    label.SetTimeSeparator('.');
    label.SetYearLength(ylYY);
    label.SetMonthName(false);
    label.SetDateForTime(dtNone);
    EXPECT_EQ(changes, 7);
}

TEST(TDTLabel, AssignCopiesEveryValueAndNotifiesOnce)
{
    TDTLabel source;
    source.SetTimeFormat(tfAMPM);
    source.SetDateSeparator('/');
    source.SetTimeSeparator('.');
    source.SetYearLength(ylNone);
    source.SetMonthName(false);
    source.SetDateOrder(doYYMMDD);
    source.SetDateForTime(dtAllTicks);

    TDTLabel target;
    int changes = 0;
    target.OnChange = [&](QObject *) { ++changes; };
    target.Assign(source);
    EXPECT_EQ(target.data(), source.data());
    EXPECT_EQ(changes, 1);
    target.Assign(source); // nothing changes
    target.Assign(target);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(source.OnChange == nullptr); // handlers are not copied
}

// SPDX-License-Identifier: GPL-3.0-or-later
// Label texts of numeric and logarithmic scale axes.

#include "scales/Zel_ScaleEngine.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace {

// The labels a linear axis writes at its labelled ticks, before user texts and inscripts.
QStringList linearLabels(int minTicks, double lo, double hi, int decPlaces)
{
    const int dp = AutoDecPlaces(decPlaces, hi, lo);
    QStringList labels;
    ForEachLinearTick(minTicks, lo, hi, false, false, [&](const TScaleTick &t) {
        labels << LinearTickLabel(t.Value, dp, decPlaces, lo, hi);
    });
    return labels;
}

QStringList logLabels(int minTicks, double lo, double hi, int decPlaces)
{
    const int dp = AutoLogDecPlaces(decPlaces, hi, lo);
    QStringList labels;
    ForEachLogTick(minTicks, lo, hi, false, false, [&](const TScaleTick &t) {
        if (t.Kind == TTickKind::LogLabelled)
            labels << LogTickLabel(t, dp, decPlaces);
    });
    return labels;
}

} // namespace

TEST(FormatTickValue, FixedAndScientific)
{
    EXPECT_EQ(FormatTickValue(12.5, 2), "12.50");
    EXPECT_EQ(FormatTickValue(-0.2, 1), "-0.2");
    EXPECT_EQ(FormatTickValue(100, 0), "100");
    EXPECT_EQ(FormatTickValue(1234567.25, 1), "1234567.2"); // no thousands separators
    EXPECT_EQ(FormatTickValue(1.5e6, -1), " 1.5E+06");
    EXPECT_EQ(FormatTickValue(-0.00002, -1), "-2.0E-05");
    EXPECT_EQ(FormatTickValue(1e150, -1), "********");
    EXPECT_EQ(FormatTickValue(-1e-150, -1), "********");
}

TEST(ApplyInscript, AmpersandMarksTheNumber)
{
    EXPECT_EQ(ApplyInscript("5", "& kg"), "5 kg");
    EXPECT_EQ(ApplyInscript("20", "&%"), "20%");
    EXPECT_EQ(ApplyInscript("5", "$"), "$5");
    EXPECT_EQ(ApplyInscript("5", "a&b&c"), "a5b&c"); // only the first "&"
    EXPECT_EQ(ApplyInscript("5", ""), "5");
    EXPECT_EQ(ApplyInscript("", "& kg"), "");
}

TEST(UserTickItem, ItemsRepeatTheLastOne)
{
    QStringList got;
    for (int n = 1; n <= 5; ++n)
        got << UserTickItem("p|q|r", n);
    EXPECT_EQ(got, (QStringList{"p", "q", "r", "r", "r"}));
    EXPECT_EQ(UserTickItem("p|q|", 2), "q");
    EXPECT_EQ(UserTickItem("p|q|", 3), "");
    EXPECT_EQ(UserTickItem("p|q|", 7), "");
    EXPECT_EQ(UserTickItem("p||r", 2), "");
    EXPECT_EQ(UserTickItem("", 1), "");
    EXPECT_EQ(UserTickItem("p|q", 0), "");
}

TEST(LinearTickLabel, AutomaticDecimals)
{
    EXPECT_EQ(linearLabels(3, 0, 100, -2), (QStringList{"0", "20", "40", "60", "80", "100"}));
    EXPECT_EQ(linearLabels(3, 0, 1, -2),
              (QStringList{"0.00", "0.20", "0.40", "0.60", "0.80", "1.00"}));
    EXPECT_EQ(linearLabels(3, 100, 0, -2), (QStringList{"100", "80", "60", "40", "20", "0"}));
}

TEST(LinearTickLabel, ScientificWithSnappedZero)
{
    // Width over 100000: the zero is "0.0", the others scientific.
    EXPECT_EQ(linearLabels(3, 0, 1e7, -2),
              (QStringList{"0.0", " 2.0E+06", " 4.0E+06", " 6.0E+06", " 8.0E+06", " 1.0E+07"}));
    // Width below 0.0001: scientific labels, the zero formatted as a number.
    const QStringList tiny = linearLabels(3, -1e-9, 1e-9, -2);
    ASSERT_FALSE(tiny.isEmpty());
    EXPECT_EQ(tiny.front(), "-1.0E-09");
    EXPECT_TRUE(tiny.contains(" 0.0E+00"));
    EXPECT_EQ(tiny.back(), " 1.0E-09");
}

TEST(LinearTickLabel, ZeroSnappingAvoidsNegativeZero)
{
    // A tick that should be zero but carries rounding noise.
    EXPECT_EQ(LinearTickLabel(-1e-17, 2, -2, -1, 1), "0.00");
    EXPECT_EQ(LinearTickLabel(-1e-17, 0, 0, -1e6, 1e6), "0");
    EXPECT_EQ(LinearTickLabel(3e-15, -1, -2, -1e6, 1e6), "0.0");
    // Not snapped: far enough from zero for the range.
    EXPECT_EQ(LinearTickLabel(-0.004, 2, -2, -1, 1), "-0.00");
}

TEST(LinearTickLabel, CutAfterFourteenCharacters)
{
    EXPECT_EQ(LinearTickLabel(123456789012.5, 4, 4, 0, 1e12), "123456789012.5");
    EXPECT_EQ(LinearTickLabel(-2.0 / 3.0, 12, 12, -1, 1), "-0.66666666666");
}

TEST(LinearTickLabel, DecPlacesZeroLabelsOnlyIntegers)
{
    EXPECT_EQ(linearLabels(3, 0, 1, 0), (QStringList{"0", "", "", "", "", "1"}));
    EXPECT_EQ(LinearTickLabel(2.0000005, 0, 0, 0, 10), "2");
    EXPECT_EQ(LinearTickLabel(2.00001, 0, 0, 0, 10), "");
}

TEST(LogTickLabel, ExponentLabels)
{
    EXPECT_EQ(logLabels(3, 0.01, 100, -3), (QStringList{"-2", "-1", "0", "1", "2"}));
    // Dense decades: the 2 and 5 ticks stay unlabelled.
    EXPECT_EQ(logLabels(5, 1, 100, -3), (QStringList{"0", "", "", "1", "", "", "2"}));
}

TEST(LogTickLabel, TrailingZerosRemovedOnlyWhenAutomatic)
{
    EXPECT_EQ(logLabels(3, 0.1, 1000, -2), (QStringList{"0.1", "1", "10", "100", "1000"}));
    EXPECT_EQ(logLabels(3, 0.1, 1000, 2),
              (QStringList{"0.10", "1.00", "10.00", "100.00", "1000.00"}));
    // Scientific texts keep their zeros.
    EXPECT_EQ(logLabels(3, 1, 1e7, -2).back(), " 1.0E+07");
    EXPECT_EQ(logLabels(3, 1, 1e7, -2).front(), " 1.0E+00");
}

TEST(LinearTickLabel, WholeNumbersOfLargeAxesKeepTheirLabels)
{
    EXPECT_EQ(linearLabels(3, 2e12, 3e13, 0),
              (QStringList{"5000000000000", "10000000000000", "15000000000000", "20000000000000",
                           "25000000000000", "30000000000000"}));
}

TEST(LogTickLabel, LowDecadesAreNeverZero)
{
    for (const auto &[lo, hi, decPlaces] :
         {std::tuple{1e-13, 1.0, -2}, {3e-13, 10.0, -2}, {1e-4, 1.0, 2}, {1e-20, 1.0, 12}})
        for (const QString &label : logLabels(3, lo, hi, decPlaces))
            EXPECT_GT(label.toDouble(), 0) << lo << " \"" << label.toStdString() << "\"";
    EXPECT_EQ(logLabels(3, 0.001, 10, -2), (QStringList{"0.001", "0.01", "0.1", "1", "10"}));
}

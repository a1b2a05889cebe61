// SPDX-License-Identifier: GPL-3.0-or-later
// The chart's world-to-pixel mapping: plot edges, reversed and logarithmic axes, rounding and
// limits of WorldToPixel, its inverse, and when the mapping is recomputed.

#include "chart_probe.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// A chart whose plot is 450 x 250 pixels: from x 0 to 450 and from y 20 to 270.
void makePlot450(TRChart &chart)
{
    chart.SetMarginLeft(0);
    chart.SetMarginRight(10);
    chart.SetMarginTop(20);
    chart.SetMarginBottom(30);
    chart.SetBounds(0, 0, 460, 300);
}

QPoint toPixel(const TRChart &chart, int layer, double x, double y)
{
    int px = 0, py = 0;
    chart.WorldToPixel(layer, x, y, px, py);
    return {px, py};
}

} // namespace

TEST(RChartMapping, RangeEndsMapToThePlotEdges)
{
    TRChart chart;
    makePlot450(chart);
    ASSERT_EQ(chart.plotWidth(), 450);
    ASSERT_EQ(chart.plotHeight(), 250);
    chart.Scale1X()->SetRangeHigh(180);
    chart.Scale1Y()->SetRangeHigh(50);

    EXPECT_EQ(toPixel(chart, 1, 90, 25), QPoint(225, 145));
    EXPECT_EQ(toPixel(chart, 1, 0, 0), QPoint(0, 270));     // left and bottom plot edges
    EXPECT_EQ(toPixel(chart, 1, 180, 50), QPoint(450, 20)); // right and top plot edges

    // The shadow is taken off the plot at the right and at the bottom.
    chart.SetShadowWidth(10);
    EXPECT_EQ(toPixel(chart, 1, 180, 0), QPoint(440, 260));
    EXPECT_EQ(toPixel(chart, 1, 90, 50), QPoint(220, 20));
}

TEST(RChartMapping, ReversedRangesRunTheOtherWay)
{
    TRChart chart;
    makePlot450(chart);
    chart.SetLayerRange(2, 100, 10, 0, -10);
    EXPECT_EQ(chart.layerRangeX(2), std::make_pair(100.0, 0.0));
    // RangeLow keeps its place at the left and bottom edges; the values run backwards.
    EXPECT_EQ(toPixel(chart, 2, 100, 10), QPoint(0, 270));
    EXPECT_EQ(toPixel(chart, 2, 0, -10), QPoint(450, 20));
    EXPECT_EQ(toPixel(chart, 2, 20, 6), QPoint(360, 220));
}

TEST(RChartMapping, LogarithmicAxes)
{
    TRChart chart;
    makePlot450(chart);
    chart.SetLayerRange(1, 1, 1, 1000, 100);
    chart.Scale1X()->SetLogarithmic(true);
    chart.Scale1Y()->SetLogarithmic(true);
    ASSERT_TRUE(chart.Scale1X()->Logarithmic());

    EXPECT_EQ(toPixel(chart, 1, 1, 1), QPoint(0, 270));
    EXPECT_EQ(toPixel(chart, 1, 10, 10), QPoint(150, 145));
    EXPECT_EQ(toPixel(chart, 1, 1000, 100), QPoint(450, 20));
    // Values with no place on the axis go to the control's edge at the axis's low end.
    EXPECT_EQ(toPixel(chart, 1, 0, 0), QPoint(0, 300));
    EXPECT_EQ(toPixel(chart, 1, -5, 1e-101), QPoint(0, 300));

    // Reversed: the other edges.
    chart.SetLayerRange(1, 1000, 100, 1, 1);
    EXPECT_EQ(toPixel(chart, 1, 0, 0), QPoint(460, 0));
    EXPECT_EQ(toPixel(chart, 1, 1000, 100), QPoint(0, 270));
}

TEST(RChartMapping, PixelsAreRoundedHalvesToEvenAndLimited)
{
    TRChart chart;
    makePlot450(chart);
    chart.SetLayerRange(1, 0, 0, 450, 250); // one pixel per unit, y = 270 - Y
    EXPECT_EQ(toPixel(chart, 1, 2.5, 0.5), QPoint(2, 270));
    EXPECT_EQ(toPixel(chart, 1, 3.5, 1.5), QPoint(4, 268));
    EXPECT_EQ(toPixel(chart, 1, -2.5, -0.5), QPoint(-2, 270));
    EXPECT_EQ(toPixel(chart, 1, 2.5000001, 0), QPoint(3, 270));

    EXPECT_EQ(toPixel(chart, 1, 1e300, -1e300), QPoint(2147483647, 2147483647));
    EXPECT_EQ(toPixel(chart, 1, -1e300, 1e300), QPoint(-2147483647, -2147483647));
    EXPECT_EQ(toPixel(chart, 1, 3e9, 0).x(), 2147483647);
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(toPixel(chart, 1, inf, -inf), QPoint(2147483647, 2147483647));
    EXPECT_EQ(toPixel(chart, 1, std::nan(""), std::nan("")), QPoint(0, 0));
}

TEST(RChartMapping, LayersAreClampedAndMappedOnTheirOwn)
{
    TRChart chart;
    makePlot450(chart);
    chart.SetLayerRange(1, 0, 0, 10, 10);
    chart.SetLayerRange(16, 0, 0, 100, 100);
    EXPECT_EQ(toPixel(chart, 0, 5, 5), toPixel(chart, 1, 5, 5));
    EXPECT_EQ(toPixel(chart, -3, 5, 5), QPoint(225, 145));
    EXPECT_EQ(toPixel(chart, 17, 50, 50), QPoint(225, 145));
    EXPECT_EQ(toPixel(chart, 99, 5, 5), toPixel(chart, 16, 5, 5));
    EXPECT_NE(toPixel(chart, 1, 5, 5), toPixel(chart, 16, 5, 5));
}

TEST(RChartMapping, PixelToWorldInvertsTheMapping)
{
    TRChart chart;
    makePlot450(chart);
    chart.SetLayerRange(1, -3, 2, 42, 7);
    chart.SetLayerRange(3, 1, 1, 1e4, 1e3);
    chart.LayerScaleX(3)->SetLogarithmic(true);
    chart.LayerScaleY(3)->SetLogarithmic(true);

    double x = 0, y = 0;
    chart.PixelToWorld(1, 0, 270, x, y);
    EXPECT_NEAR(x, -3, 1e-12);
    EXPECT_NEAR(y, 2, 1e-12);
    chart.PixelToWorld(1, 450, 20, x, y);
    EXPECT_NEAR(x, 42, 1e-12);
    EXPECT_NEAR(y, 7, 1e-12);
    chart.PixelToWorld(3, 225, 145, x, y);
    EXPECT_NEAR(x, 100, 1e-9);
    EXPECT_NEAR(y, std::sqrt(1e3), 1e-9);

    // Every pixel of the plot survives the round trip.
    for (int px = 0; px <= 450; px += 7) {
        for (int layer : {1, 3}) {
            chart.PixelToWorld(layer, px, 20 + px / 2, x, y);
            EXPECT_EQ(toPixel(chart, layer, x, y), QPoint(px, 20 + px / 2)) << layer << " " << px;
        }
    }
}

TEST(RChartMapping, AControlWithoutPlotMapsToItsMiddle)
{
    TRChart chart;
    chart.SetBounds(0, 0, 300, 200);
    chart.SetMarginLeft(400); // no plot width left; the control keeps its size
    ASSERT_LT(chart.plotWidth(), 0);
    chart.SetLayerRange(1, 0, 0, 10, 10);
    EXPECT_EQ(toPixel(chart, 1, 3, 10).x(), 150);
    EXPECT_EQ(toPixel(chart, 1, 7, 10).x(), 150);
    double x = 1, y = 1;
    chart.PixelToWorld(1, 17, 20, x, y);
    EXPECT_EQ(x, 0.0); // the inverse of a constant: the range's low end, never inf or NaN
    EXPECT_NEAR(y, 10, 1e-12);
}

TEST(RChartMapping, MappingFollowsMarginsSizeAndRanges)
{
    TRChart chart;
    makePlot450(chart);
    chart.SetLayerRange(1, 0, 0, 100, 100);
    EXPECT_EQ(toPixel(chart, 1, 100, 100), QPoint(450, 20));
    chart.SetMarginLeft(50);
    EXPECT_EQ(toPixel(chart, 1, 0, 0), QPoint(50, 270));
    chart.SetMarginTop(0);
    EXPECT_EQ(toPixel(chart, 1, 100, 100), QPoint(450, 0));
    chart.SetBounds(0, 0, 560, 300);
    EXPECT_EQ(toPixel(chart, 1, 100, 0), QPoint(550, 270));
    chart.Scale1X()->SetRangeLow(50);
    EXPECT_EQ(toPixel(chart, 1, 50, 0).x(), 50);
}

TEST(RChartMapping, LoadingDefersTheMappingToItsEnd)
{
    TRChart chart;
    makePlot450(chart);
    chart.SetLayerRange(1, 0, 0, 10, 10);
    chart.beginLoading();
    chart.SetLayerRange(1, 0, 0, 450, 250);
    chart.SetMarginLeft(50);
    EXPECT_EQ(toPixel(chart, 1, 10, 10), QPoint(450, 20)); // the mapping from before
    chart.loaded();
    EXPECT_EQ(toPixel(chart, 1, 450, 250), QPoint(450, 20));
    EXPECT_EQ(toPixel(chart, 1, 0, 0), QPoint(50, 270));
}

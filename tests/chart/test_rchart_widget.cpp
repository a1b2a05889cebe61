// SPDX-License-Identifier: GPL-3.0-or-later
// The chart as a control: published properties, images and background, the paint lock,
// loading, ShowItems and the repaints it causes in a sharing group, and layer ranges.

#include "chart_probe.h"
#include "test_support.h"

#include <QMetaProperty>
#include <QPixmap>
#include <gtest/gtest.h>

#include <cmath>

namespace {

// A shown chart of a known size; showing creates the window and releases the paint lock.
void showChart(TRChart &chart, int w = 200, int h = 150)
{
    chart.resize(w, h);
    chart.show();
}

} // namespace

TEST(RChartControl, PublishesPropertiesInOrder)
{
    const QMetaObject &meta = TRChart::staticMetaObject;
    QStringList names;
    for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i)
        names << QString::fromLatin1(meta.property(i).name());
    const QStringList expected = {"Font",
                                  "PopupMenu",
                                  "AllocSize",
                                  "AutoRedraw",
                                  "MarginLeft",
                                  "MarginRight",
                                  "MarginTop",
                                  "MarginBottom",
                                  "LRim",
                                  "RRim",
                                  "TRim",
                                  "BRim",
                                  "BackGroundImg",
                                  "ClassDefault",
                                  "GridStyle",
                                  "GridDx",
                                  "GridDy",
                                  "Isometric",
                                  "DataColor",
                                  "PenStyle",
                                  "ChartFrameColor",
                                  "FillColor",
                                  "ChartColor",
                                  "WindColor",
                                  "GridColor",
                                  "JointLayers",
                                  "LineWidth",
                                  "Caption",
                                  "CaptionPosX",
                                  "CaptionPosY",
                                  "CaptionAlignment",
                                  "CaptionAnchorHoriz",
                                  "CaptionAnchorVert",
                                  "CrossHair1",
                                  "CrossHair2",
                                  "CrossHair3",
                                  "CrossHair4",
                                  "MouseAction",
                                  "MouseCursorFixed",
                                  "Scale1X",
                                  "Scale1Y",
                                  "Scale2X",
                                  "Scale2Y",
                                  "Scale3X",
                                  "Scale3Y",
                                  "Scale4X",
                                  "Scale4Y",
                                  "StandardLayout",
                                  "ShadowWidth",
                                  "ShadowStyle",
                                  "ShadowColor",
                                  "ShadowBakColor",
                                  "UseDataOf",
                                  "TextFontStyle",
                                  "TextBkStyle",
                                  "TextBkColor",
                                  "TextAlignment"};
    EXPECT_EQ(names, expected);

    TRChart chart;
    ASSERT_TRUE(chart.setProperty("PenStyle", QVariant::fromValue(Gfx::psDash)));
    EXPECT_EQ(chart.PenStyle(), Gfx::psDash);
    ASSERT_TRUE(chart.setProperty("BRim", 33));
    EXPECT_EQ(chart.MarginBottom(), 33);
    ASSERT_TRUE(chart.setProperty("AllocSize", 0));
    EXPECT_EQ(chart.property("AllocSize").toInt(), 1000);
}

TEST(RChartControl, MarginsAndImageSizes)
{
    TRChart chart;
    EXPECT_EQ(chart.size(), QSize(280, 200));
    EXPECT_EQ(chart.MarginLeft(), 50);
    EXPECT_EQ(chart.MarginRight(), 20);
    EXPECT_EQ(chart.MarginTop(), 20);
    EXPECT_EQ(chart.MarginBottom(), 40);
    EXPECT_EQ(chart.ChartColor(), clWhite);
    EXPECT_EQ(chart.WindColor(), clBtnFace);
    EXPECT_EQ(chart.fullImage().size(), QSize(280, 200));
    EXPECT_EQ(chart.fullImage().format(), QImage::Format_RGB32);
    EXPECT_EQ(chart.dataImage().size(), QSize(280 - 50 - 20 + 1, 200 - 20 - 40 + 1));

    chart.SetLRim(10);
    chart.SetRRim(5);
    chart.SetShadowWidth(40); // clamped to 32
    EXPECT_EQ(chart.MarginLeft(), 10);
    EXPECT_EQ(chart.ShadowWidth(), 32);
    EXPECT_EQ(chart.dataImage().width(), 280 - 10 - 5 - 32 + 1);
    EXPECT_EQ(chart.dataImage().height(), 200 - 20 - 40 - 32 + 1);

    chart.resize(400, 300);
    showChart(chart, 400, 300); // the resize reaches the chart when it is shown
    EXPECT_EQ(chart.fullImage().size(), QSize(400, 300));
    EXPECT_EQ(chart.dataImage().width(), 400 - 10 - 5 - 32 + 1);

    // Margins wider than the control leave an empty data image, never a negative one.
    chart.SetMarginLeft(500);
    EXPECT_TRUE(chart.dataImage().isNull());
    EXPECT_EQ(chart.plotWidth(), 400 - 500 - 5 - 32);
    chart.SetMarginLeft(10);
    EXPECT_EQ(chart.dataImage().width(), 400 - 10 - 5 - 32 + 1);
}

TEST(RChartControl, PaintLockHoldsUntilShownAndBackgroundIsPainted)
{
    ProbeChart chart;
    chart.SetWindColor(clNavy);
    chart.SetChartColor(clGreen);
    EXPECT_TRUE(chart.PaintLocked());
    // Repaints while locked compose nothing.
    EXPECT_EQ(chart.fullImage().pixel(100, 100), rgbOf(clBtnFace));

    showChart(chart);
    EXPECT_FALSE(chart.PaintLocked());
    const QImage shown = chart.grab().toImage();
    EXPECT_EQ(shown.pixel(5, 5), rgbOf(clNavy));      // margin
    EXPECT_EQ(shown.pixel(50, 20), rgbOf(clBlack));   // the data frame's top-left corner
    EXPECT_EQ(shown.pixel(180, 110), rgbOf(clBlack)); // ... and bottom-right corner
    EXPECT_EQ(shown.pixel(51, 21), rgbOf(clGreen));   // inside the frame
    EXPECT_EQ(shown.pixel(179, 109), rgbOf(clGreen));
    EXPECT_EQ(shown.pixel(181, 110), rgbOf(clNavy)); // just right of it
    EXPECT_EQ(shown.pixel(100, 111), rgbOf(clNavy)); // just below it

    const int before = chart.fullRepaints;
    chart.SetChartColor(clRed);
    EXPECT_EQ(chart.fullRepaints, before + 1);
    EXPECT_EQ(chart.fullImage().pixel(100, 60), rgbOf(clRed));
}

TEST(RChartControl, LoadingDefersPaintingUntilLoaded)
{
    ProbeChart chart;
    showChart(chart);
    chart.SetChartColor(clWhite); // composes the picture once
    ASSERT_EQ(chart.fullImage().pixel(100, 60), rgbOf(clWhite));
    chart.beginLoading();
    chart.SetChartColor(clBlue);
    chart.SetLayerRange(1, 0, 0, 10, 10);
    EXPECT_EQ(chart.fullImage().pixel(100, 60), rgbOf(clWhite));
    const int before = chart.fullRepaints;
    chart.loaded();
    EXPECT_FALSE(chart.isLoading());
    EXPECT_EQ(chart.fullRepaints, before + 1);
    EXPECT_EQ(chart.fullImage().pixel(100, 60), rgbOf(clBlue));
}

TEST(RChartControl, AutoRedrawOffOnlyStoresUntilTheNextPlatformRepaint)
{
    ProbeChart chart;
    showChart(chart);
    chart.SetAutoRedraw(false);
    const int before = chart.fullRepaints;
    chart.SetWindColor(clOlive);
    chart.SetMarginTop(30);
    EXPECT_EQ(chart.fullRepaints, before);
    EXPECT_NE(chart.fullImage().pixel(5, 5), rgbOf(clOlive));
    // The platform's repaint shows the new state.
    const QImage shown = chart.grab().toImage();
    EXPECT_EQ(shown.pixel(5, 5), rgbOf(clOlive));
    EXPECT_EQ(shown.pixel(100, 25), rgbOf(clOlive));
    EXPECT_EQ(shown.pixel(100, 30), rgbOf(clBlack)); // the data frame's top edge
    EXPECT_EQ(shown.pixel(100, 31), rgbOf(clWhite));
}

TEST(RChartControl, ShowItemsWithAutoRedrawRedrawsOnlyTheDataArea)
{
    ProbeChart chart;
    showChart(chart);
    chart.SetAutoRedraw(false);
    chart.SetWindColor(clTeal);
    chart.SetChartColor(clPurple);
    chart.SetAutoRedraw(true);
    const int before = chart.fullRepaints;

    chart.ClearItems();
    chart.AddMoveTo(0, 0);
    chart.AddLineTo(1, 1);
    chart.ShowItems();
    EXPECT_EQ(chart.fullRepaints, before); // no full repaint without sharing charts
    EXPECT_EQ(chart.fullImage().pixel(100, 60), rgbOf(clPurple));
    EXPECT_NE(chart.fullImage().pixel(5, 5), rgbOf(clTeal)); // margins stay as they were

    // Without AutoRedraw, ShowItems repaints the whole control.
    chart.SetAutoRedraw(false);
    chart.ShowItems();
    EXPECT_EQ(chart.fullRepaints, before + 1);
    EXPECT_EQ(chart.fullImage().pixel(5, 5), rgbOf(clTeal));
}

TEST(RChartControl, ClearItemsRedrawsTheDataImageButNotTheScreen)
{
    ProbeChart chart;
    showChart(chart);
    chart.SetAutoRedraw(false);
    chart.SetChartColor(clLime);
    const int before = chart.fullRepaints;
    chart.ClearItems();
    EXPECT_EQ(chart.fullRepaints, before);
    EXPECT_EQ(chart.dataImage().pixel(10, 10), rgbOf(clLime));
    EXPECT_NE(chart.fullImage().pixel(100, 60), rgbOf(clLime));
}

TEST(RChartControl, ShowItemsRepaintsTheSharingGroup)
{
    ProbeChart owner, a, b, lone;
    for (ProbeChart *chart : {&owner, &a, &b, &lone})
        showChart(*chart);
    a.SetUseDataOf(&owner);
    b.SetUseDataOf(&owner);
    b.SetAutoRedraw(false);
    for (ProbeChart *chart : {&owner, &a, &b, &lone})
        chart->fullRepaints = 0;

    // Through a user: the owner and every user of the owner (the writer included).
    a.AddLineTo(1, 1);
    a.ShowItems();
    EXPECT_EQ(owner.fullRepaints, 1);
    EXPECT_EQ(a.fullRepaints, 1);
    EXPECT_EQ(b.fullRepaints, 0); // AutoRedraw off: nothing
    EXPECT_EQ(lone.fullRepaints, 0);

    // Through the owner: its users.
    owner.ShowItems();
    EXPECT_EQ(owner.fullRepaints, 1);
    EXPECT_EQ(a.fullRepaints, 2);

    // An invisible chart still has its group repainted.
    a.hide();
    a.ShowItems();
    EXPECT_EQ(owner.fullRepaints, 2);
    EXPECT_EQ(a.fullRepaints, 3);
}

TEST(RChartControl, SharingChangesRepaintWithAutoRedraw)
{
    ProbeChart owner, user;
    showChart(owner);
    showChart(user);
    user.fullRepaints = 0;
    user.SetUseDataOf(&owner);
    EXPECT_EQ(user.fullRepaints, 1);
    user.SetUseDataOf(nullptr);
    EXPECT_EQ(user.fullRepaints, 2);
    user.SetAutoRedraw(false);
    user.SetUseDataOf(&owner);
    EXPECT_EQ(user.fullRepaints, 2);
}

// --- Layer ranges -------------------------------------------------------------------------

TEST(RChartLayers, SetLayerRangeSetsOneLayerOrAll)
{
    TRChart chart;
    for (int l = 1; l <= 16; ++l) {
        EXPECT_EQ(chart.layerRangeX(l), std::make_pair(0.0, 1.0));
        EXPECT_EQ(chart.layerRangeY(l), std::make_pair(0.0, 1.0));
    }
    chart.SetLayerRange(2, 10, -5, 20, 5);
    EXPECT_EQ(chart.layerRangeX(2), std::make_pair(10.0, 20.0));
    EXPECT_EQ(chart.layerRangeY(2), std::make_pair(-5.0, 5.0));
    EXPECT_EQ(chart.layerRangeX(1), std::make_pair(0.0, 1.0));

    // A reversed range is a reversed axis, not an error.
    chart.SetLayerRange(3, 9, 0, 1, 1);
    EXPECT_EQ(chart.layerRangeX(3), std::make_pair(9.0, 1.0));

    chart.SetLayerRange(0, 100, 200, 300, 400);
    for (int l = 1; l <= 16; ++l) {
        EXPECT_EQ(chart.layerRangeX(l), std::make_pair(100.0, 300.0)) << l;
        EXPECT_EQ(chart.layerRangeY(l), std::make_pair(200.0, 400.0)) << l;
    }
    // Layers outside 0..16 are refused; reading one gives layer 1.
    chart.SetLayerRange(17, 1, 1, 2, 2);
    chart.SetLayerRange(-1, 1, 1, 2, 2);
    for (int l = 1; l <= 16; ++l)
        EXPECT_EQ(chart.layerRangeX(l), std::make_pair(100.0, 300.0)) << l;
    chart.SetLayerRange(1, 1, 2, 3, 4);
    EXPECT_EQ(chart.layerRangeX(99), std::make_pair(1.0, 3.0));
}

TEST(RChartLayers, DegenerateRangesAreWidenedByMinRange)
{
    TRChart chart;
    const double minRange = 1e-10;
    chart.SetLayerRange(1, 5, 0, 5, 10);
    const auto [xLo, xHi] = chart.layerRangeX(1);
    EXPECT_NEAR(xLo, 5 - minRange / 2, 1e-15);
    EXPECT_NEAR(xHi, 5 + minRange / 2, 1e-15);
    EXPECT_LT(xLo, xHi);
    EXPECT_EQ(chart.layerRangeY(1), std::make_pair(0.0, 10.0));

    // At 10, rounding makes the widened range a hair narrower than MinRange; it is still the
    // range asked for and must not leave the old one in place.
    chart.SetLayerRange(2, 3, 10, 4, 10);
    const auto [yLo, yHi] = chart.layerRangeY(2);
    EXPECT_NEAR(yLo, 10 - minRange / 2, 1e-14);
    EXPECT_NEAR(yHi, 10 + minRange / 2, 1e-14);
    EXPECT_EQ(chart.layerRangeX(2), std::make_pair(3.0, 4.0));
}

TEST(RChartLayers, TooNarrowOrNonFiniteRangesKeepTheOldOne)
{
    TRChart chart;
    chart.SetLayerRange(1, 0, 0, 10, 10);
    chart.SetLayerRange(1, 2, 3, 2 + 5e-11, 7); // x narrower than MinRange, y fine
    EXPECT_EQ(chart.layerRangeX(1), std::make_pair(0.0, 10.0));
    EXPECT_EQ(chart.layerRangeY(1), std::make_pair(3.0, 7.0));

    // Where no width survives the widening, the old range stays too.
    chart.SetLayerRange(1, 1e6, 0, 1e6, 1);
    EXPECT_EQ(chart.layerRangeX(1), std::make_pair(0.0, 10.0));

    chart.SetLayerRange(1, NAN, 0, 1, INFINITY);
    EXPECT_EQ(chart.layerRangeX(1), std::make_pair(0.0, 10.0));
    EXPECT_EQ(chart.layerRangeY(1), std::make_pair(0.0, 1.0)); // from the call above
}

TEST(RChartLayers, SetLayerRangeRepaintsOnlyWithAutoRedraw)
{
    ProbeChart chart;
    showChart(chart);
    chart.fullRepaints = 0;
    chart.SetLayerRange(1, 0, 0, 2, 2);
    EXPECT_EQ(chart.fullRepaints, 1);
    chart.SetAutoRedraw(false);
    chart.SetLayerRange(1, 0, 0, 3, 3);
    EXPECT_EQ(chart.fullRepaints, 1);
    EXPECT_EQ(chart.layerRangeX(1), std::make_pair(0.0, 3.0));
}

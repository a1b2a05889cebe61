// SPDX-License-Identifier: GPL-3.0-or-later
// The chart's layers: axis records and their setter rules, the per-layer defaults, the hidden
// axis renderers and what they are handed, SetLayerRange with widening and coupling, the
// isometric correction, the minimum size, tick reports and a rendered picture with axes.

#include "app/TfrmExample.h"
#include "chart_probe.h"
#include "test_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QMetaProperty>
#include <gtest/gtest.h>

#include <cmath>

namespace {

// Counts a record's OnChange notifications.
struct ChangeCounter
{
    explicit ChangeCounter(TScaleProps &record)
    {
        record.OnChange = [this](QObject *) { ++count; };
    }
    int count = 0;
};

} // namespace

// --- Axis records ---------------------------------------------------------------------------

TEST(ScaleProps, PublishedPropertiesWithTheirDefaultsInOrder)
{
    TScalePropsHoriz x;
    expectPublishedProperties(x, QObject::staticMetaObject,
                              {{"Caption"},
                               {"CaptionPosX"},
                               {"CaptionPosY"},
                               {"CaptionAlignment", QVariant::fromValue(Zel::taCenter)},
                               {"CaptionAnchor", QVariant::fromValue(uaSclTopLft)},
                               {"ColorScale"},
                               {"DateFormat"},
                               {"DecPlaces", -2},
                               {"Font"},
                               {"Logarithmic", false},
                               {"LabelType", QVariant::fromValue(ftNum)},
                               {"MinTicks", 3},
                               {"MinRange", 1e-10},
                               {"RangeLow", 0.0},
                               {"RangeHigh", 1.0},
                               {"ShortTicks", true},
                               {"ScaleInscript"},
                               {"ScalePos"},
                               {"UserTickText"},
                               {"Visible", false},
                               {"ScaleLocation", QVariant::fromValue(slBottom)}});
    EXPECT_EQ(x.Font()->Height(), FontData().height);
    EXPECT_EQ(x.DateFormat()->data(), DateTimeFormat());
    EXPECT_EQ(x.ScaleType(), sctXT);
    TScalePropsVert y;
    EXPECT_EQ(y.ScaleLocation(), slLeft);
    EXPECT_EQ(y.ScaleType(), sctYR);

    // The location selects the renderer's scale type.
    x.SetScaleLocation(slTop);
    EXPECT_EQ(x.ScaleType(), sctXB);
    y.SetScaleLocation(slRight);
    EXPECT_EQ(y.ScaleType(), sctYL);
    EXPECT_TRUE(y.setProperty("ScaleLocation", QVariant::fromValue(slLeft)));
    EXPECT_EQ(y.ScaleType(), sctYR);
}

TEST(ScaleProps, ClampsAndNotifiesOnEveryAssignment)
{
    TScalePropsHoriz x;
    ChangeCounter changes(x);
    x.SetDecPlaces(20);
    EXPECT_EQ(x.DecPlaces(), 12);
    x.SetDecPlaces(-5);
    EXPECT_EQ(x.DecPlaces(), -3);
    x.SetCaption(QStringLiteral("m/z"));
    x.SetCaption(QStringLiteral("m/z")); // unchanged, still notified
    EXPECT_EQ(changes.count, 4);

    x.SetLabelType(ftTime);
    EXPECT_EQ(x.DecPlaces(), 4);
    EXPECT_EQ(changes.count, 5);
}

TEST(ScaleProps, LogarithmicNeedsAPositiveRangeAndNoDates)
{
    TScalePropsVert y;
    ChangeCounter changes(y);
    y.SetLogarithmic(true); // 0..1: no place for 0
    EXPECT_FALSE(y.Logarithmic());
    EXPECT_EQ(changes.count, 1);

    y.SetRangeLow(0.5);
    y.SetLogarithmic(true);
    EXPECT_TRUE(y.Logarithmic());
    // Date labels switch it off, and keep it off.
    y.SetLabelType(ftDateTime);
    EXPECT_FALSE(y.Logarithmic());
    y.SetLogarithmic(true);
    EXPECT_FALSE(y.Logarithmic());
    y.SetLabelType(ftNum);
    y.SetLogarithmic(true);
    EXPECT_TRUE(y.Logarithmic());
    y.SetLogarithmic(false);
    EXPECT_FALSE(y.Logarithmic());

    // While the owning chart loads, the stored value is taken as it is.
    TRChart chart;
    chart.beginLoading();
    chart.Scale1Y()->SetLogarithmic(true);
    EXPECT_TRUE(chart.Scale1Y()->Logarithmic());
    chart.Scale1Y()->SetRangeLow(1);
    chart.loaded();
    chart.Scale2Y()->SetLogarithmic(true);
    EXPECT_FALSE(chart.Scale2Y()->Logarithmic());
}

TEST(ScaleProps, MinRangeWidensANarrowerRange)
{
    TScalePropsHoriz x;
    ChangeCounter changes(x);
    x.SetMinRange(2);
    EXPECT_EQ(x.RangeLow(), -0.5);
    EXPECT_EQ(x.RangeHigh(), 1.5);
    EXPECT_EQ(changes.count, 1);

    x.SetMinRange(1); // wide enough already: stored, nothing else, no notification
    EXPECT_EQ(x.MinRange(), 1.0);
    EXPECT_EQ(x.RangeHigh(), 1.5);
    EXPECT_EQ(changes.count, 1);

    for (double bad : {1e-100, 0.0, -1.0, double(NAN), double(INFINITY)}) {
        x.SetMinRange(bad);
        EXPECT_EQ(x.MinRange(), 1.0) << bad;
    }
    EXPECT_EQ(changes.count, 1);

    // A logarithmic axis is not widened to zero or below; it grows upward instead.
    TScalePropsHoriz log;
    log.SetRangeHigh(4);
    log.SetRangeLow(2);
    log.SetLogarithmic(true);
    log.SetMinRange(10);
    EXPECT_EQ(log.RangeLow(), 2.0);
    EXPECT_EQ(log.RangeHigh(), 12.0);
}

TEST(ScaleProps, RangeEndsKeepMinRangeApart)
{
    TScalePropsHoriz x;
    x.SetMinRange(1);
    x.SetRangeLow(0.5); // 0.5 away from RangeHigh 1: RangeHigh moves
    EXPECT_EQ(x.RangeLow(), 0.5);
    EXPECT_EQ(x.RangeHigh(), 1.5);
    x.SetRangeHigh(1.0); // 0.5 away from RangeLow: RangeLow moves
    EXPECT_EQ(x.RangeLow(), 0.0);
    EXPECT_EQ(x.RangeHigh(), 1.0);
    x.SetRangeLow(10); // a reversed axis is fine
    EXPECT_EQ(x.RangeLow(), 10.0);
    EXPECT_EQ(x.RangeHigh(), 1.0);

    x.SetRangeLow(NAN);
    x.SetRangeHigh(-INFINITY);
    EXPECT_EQ(x.RangeLow(), 10.0);
    EXPECT_EQ(x.RangeHigh(), 1.0);

    TScalePropsVert log;
    log.SetRangeLow(1);
    log.SetRangeHigh(100);
    log.SetLogarithmic(true);
    ChangeCounter changes(log);
    log.SetRangeLow(0);
    log.SetRangeHigh(-5);
    EXPECT_EQ(log.RangeLow(), 1.0);
    EXPECT_EQ(log.RangeHigh(), 100.0);
    EXPECT_EQ(changes.count, 2);
    // Pulling the low end under zero is refused as well.
    log.SetMinRange(5);
    log.SetRangeHigh(3);
    EXPECT_EQ(log.RangeLow(), 1.0);
    EXPECT_EQ(log.RangeHigh(), 100.0);
}

TEST(ScaleProps, FontAndDateFormatAreCopiedIntoTheRecordsOwnObjects)
{
    TScalePropsHoriz x;
    TFont *ownFont = x.Font();
    TDTLabel *ownDates = x.DateFormat();
    ChangeCounter changes(x);

    TFont font;
    font.SetName(QStringLiteral("Arial"));
    font.SetHeight(-20);
    font.SetColor(clRed);
    x.SetFont(&font);
    EXPECT_EQ(x.Font(), ownFont);
    EXPECT_EQ(x.Font()->Name(), QStringLiteral("Arial"));
    EXPECT_EQ(x.Font()->Color(), clRed);
    EXPECT_EQ(changes.count, 1);
    font.SetHeight(-30);
    EXPECT_EQ(x.Font()->Height(), -20);

    TDTLabel dates;
    dates.SetDateOrder(doYYMMDD);
    EXPECT_TRUE(x.setProperty("DateFormat", QVariant::fromValue(&dates)));
    EXPECT_EQ(x.DateFormat(), ownDates);
    EXPECT_EQ(x.DateFormat()->DateOrder(), doYYMMDD);
    EXPECT_EQ(changes.count, 2);

    // Changing the record's own objects notifies through the record.
    x.Font()->SetHeight(-11);
    x.DateFormat()->SetMonthName(false);
    EXPECT_EQ(changes.count, 4);
}

TEST(ScaleProps, AssignCopiesTheValuesAndNotifiesOnce)
{
    TScalePropsHoriz source;
    source.SetCaption(QStringLiteral("mass"));
    source.SetScaleLocation(slTop);
    source.SetRangeLow(2);
    source.SetRangeHigh(1000);
    source.SetLogarithmic(true);
    source.SetScalePos(30);
    source.SetVisible(true);
    source.Font()->SetHeight(-17);
    source.DateFormat()->SetYearLength(ylYY);
    source.OnChange = [](QObject *) { FAIL() << "the source's handler is not copied"; };

    TScalePropsHoriz copy;
    ChangeCounter changes(copy);
    copy.Assign(source);
    EXPECT_EQ(changes.count, 1);
    EXPECT_EQ(copy.Caption(), QStringLiteral("mass"));
    EXPECT_EQ(copy.ScaleLocation(), slTop);
    EXPECT_EQ(copy.RangeLow(), 2.0);
    EXPECT_EQ(copy.RangeHigh(), 1000.0);
    EXPECT_TRUE(copy.Logarithmic());
    EXPECT_EQ(copy.ScalePos(), 30);
    EXPECT_TRUE(copy.Visible());
    EXPECT_EQ(copy.Font()->Height(), -17);
    EXPECT_NE(copy.Font(), source.Font());
    EXPECT_EQ(copy.DateFormat()->YearLength(), ylYY);

    // A vertical record takes the values but keeps its own location.
    TScalePropsVert vertical;
    vertical.Assign(source);
    EXPECT_EQ(vertical.Caption(), QStringLiteral("mass"));
    EXPECT_EQ(vertical.ScaleLocation(), slLeft);
}

// --- A chart's layers -----------------------------------------------------------------------

TEST(RChartLayers, PerLayerDefaultsAndTheCreationLayout)
{
    TRChart chart;
    const TColor colors[16] = {0,        128, 32768, 32896, 8388608,  8388736,  8421376,  8421504,
                               12632256, 255, 65280, 65535, 16711680, 16711935, 16776960, 16777215};
    for (int L = 1; L <= 16; ++L) {
        EXPECT_EQ(chart.LayerScaleX(L)->ColorScale(), colors[L - 1]) << L;
        EXPECT_EQ(chart.LayerScaleY(L)->ColorScale(), colors[L - 1]) << L;
        EXPECT_EQ(chart.LayerScaleX(L)->Visible(), L == 1) << L;
        EXPECT_EQ(chart.LayerScaleY(L)->Visible(), L == 1) << L;
    }
    // Layers 5..16 keep their own sides and distances.
    EXPECT_EQ(chart.LayerScaleX(5)->ScaleLocation(), slBottom);
    EXPECT_EQ(chart.LayerScaleX(6)->ScaleLocation(), slTop);
    EXPECT_EQ(chart.LayerScaleY(5)->ScaleLocation(), slLeft);
    EXPECT_EQ(chart.LayerScaleY(6)->ScaleLocation(), slRight);
    EXPECT_EQ(chart.LayerScaleX(6)->ScalePos(), 60);
    EXPECT_EQ(chart.LayerScaleY(6)->ScalePos(), 100);
    EXPECT_EQ(chart.LayerScaleX(16)->ScalePos(), 210);
    EXPECT_EQ(chart.LayerScaleY(16)->ScalePos(), 350);
    // Layers 1..4 as the layout a new chart starts with puts them.
    EXPECT_EQ(chart.Scale2X()->ScaleLocation(), slBottom);
    EXPECT_EQ(chart.Scale2Y()->ScaleLocation(), slLeft);
    EXPECT_EQ(chart.Scale2X()->ScalePos(), 0);
    EXPECT_EQ(chart.Scale1X()->CaptionPosY(), 22);
    EXPECT_EQ(chart.Scale1X()->CaptionAnchor(), uaSclCenter);
    EXPECT_EQ(chart.Scale1Y()->CaptionPosY(), -16);
    EXPECT_EQ(chart.Scale1Y()->CaptionAlignment(), Zel::taLeftJustify);
    EXPECT_EQ(chart.Scale3Y()->CaptionPosX(), 10);
    EXPECT_EQ(chart.Scale3Y()->CaptionAlignment(), Zel::taRightJustify);

    EXPECT_EQ(chart.Scale3X(), chart.LayerScaleX(3));
    EXPECT_EQ(chart.LayerScaleX(0), chart.Scale1X());
    EXPECT_EQ(chart.LayerScaleY(17), chart.Scale1Y());
    EXPECT_FALSE(chart.Isometric());
    for (int L = 1; L <= 16; ++L) {
        EXPECT_EQ(chart.JointLayers()->ControlledBy(TJointLayers::Axis::X, L), L);
        EXPECT_EQ(chart.JointLayers()->ControlledBy(TJointLayers::Axis::Y, L), L);
    }
}

TEST(RChartLayers, PublishedScalesAreAssignedByCopying)
{
    ProbeChart chart;
    chart.resize(300, 200);
    chart.show();
    TScalePropsVert source;
    source.SetCaption(QStringLiteral("intensity"));
    source.SetRangeHigh(50);
    source.SetVisible(true);
    TScalePropsVert *own = chart.Scale2Y();
    const int before = chart.fullRepaints;
    ASSERT_TRUE(chart.setProperty("Scale2Y", QVariant::fromValue(&source)));
    EXPECT_EQ(chart.Scale2Y(), own);
    EXPECT_EQ(own->Caption(), QStringLiteral("intensity"));
    EXPECT_EQ(chart.layerRangeY(2), std::make_pair(0.0, 50.0));
    EXPECT_EQ(chart.layerRendererY(2)->Caption(), QStringLiteral("intensity"));
    EXPECT_TRUE(chart.layerRendererY(2)->Visible());
    EXPECT_EQ(chart.fullRepaints, before + 1);
    source.SetCaption(QStringLiteral("changed later"));
    EXPECT_EQ(own->Caption(), QStringLiteral("intensity"));
}

TEST(RChartLayers, RenderersAreNamedHiddenAndGetTheirMargins)
{
    TRChart chart; // 280 x 200, margins 50, 20, 20, 40
    QWidget *parent = nullptr;
    for (int L = 1; L <= 16; ++L) {
        TScale *x = chart.findChild<TScale *>(QStringLiteral("RC_FScale_X_%1").arg(L));
        TScale *y = chart.findChild<TScale *>(QStringLiteral("RC_FScale_Y_%1").arg(L));
        ASSERT_NE(x, nullptr);
        ASSERT_NE(y, nullptr);
        EXPECT_EQ(x, chart.layerRendererX(L));
        EXPECT_EQ(y, chart.layerRendererY(L));
        for (TScale *s : {x, y}) {
            EXPECT_TRUE(s->Embedded());
            EXPECT_TRUE(s->Transparent());
            EXPECT_TRUE(s->SuspendPaint());
            EXPECT_EQ(s->FrameStyle(), Zel::fsNone);
            EXPECT_EQ(s->size(), QSize(280, 200));
            parent = s->parentWidget();
        }
    }
    EXPECT_EQ(parent, &chart);
    EXPECT_EQ(chart.findChildren<TScale *>().size(), 32);

    // Bottom axis: its line on the plot's bottom edge, its extent the plot's width.
    TScale *x1 = chart.layerRendererX(1);
    EXPECT_EQ(x1->ScaleType(), sctXT);
    EXPECT_EQ(x1->MarginTop(), 200 - 40);
    EXPECT_EQ(x1->MarginLeft(), 50);
    EXPECT_EQ(x1->MarginRight(), 20 - 1);
    // Left axis.
    TScale *y1 = chart.layerRendererY(1);
    EXPECT_EQ(y1->ScaleType(), sctYR);
    EXPECT_EQ(y1->MarginRight(), 280 - 50 - 1);
    EXPECT_EQ(y1->MarginTop(), 20);
    EXPECT_EQ(y1->MarginBottom(), 40 - 1);
    // Top and right axes of layer 6, moved outward by their ScalePos.
    EXPECT_EQ(chart.layerRendererX(6)->ScaleType(), sctXB);
    EXPECT_EQ(chart.layerRendererX(6)->MarginBottom(), 60 + 200 - 20 - 1);
    EXPECT_EQ(chart.layerRendererY(6)->ScaleType(), sctYL);
    EXPECT_EQ(chart.layerRendererY(6)->MarginLeft(), 100 + 280 - 20);
    EXPECT_EQ(chart.layerRendererX(6)->ColorScale(), 8388736);

    // Margins, shadow and size reach the renderers.
    chart.SetShadowWidth(6);
    chart.SetMarginTop(30);
    chart.SetBounds(0, 0, 400, 300);
    EXPECT_EQ(x1->size(), QSize(400, 300));
    EXPECT_EQ(x1->MarginTop(), 300 - 40 - 6);
    EXPECT_EQ(x1->MarginRight(), 20 + 6 - 1);
    EXPECT_EQ(y1->MarginTop(), 30);
    EXPECT_EQ(y1->MarginBottom(), 40 + 6 - 1);
    EXPECT_EQ(chart.layerRendererY(6)->MarginLeft(), 100 + 400 - 20 - 6);
    EXPECT_EQ(chart.layerRendererX(6)->MarginBottom(), 60 + 300 - 30 - 1);

    // Showing the chart does not show its renderers.
    chart.show();
    EXPECT_FALSE(x1->isVisible());
    EXPECT_TRUE(x1->Visible());
}

TEST(RChartLayers, RenderersDrawWhereTheChartMaps)
{
    TRChart chart;
    chart.SetBounds(0, 0, 517, 333);
    chart.SetShadowWidth(7);
    chart.SetLayerRange(1, -3.3, 0.25, 41.7, 1.75);
    chart.SetLayerRange(6, 5, 2, 1005, 2000);
    chart.LayerScaleX(6)->SetLogarithmic(true);
    chart.LayerScaleY(6)->SetLogarithmic(true);
    for (int L : {1, 6}) {
        TScale *x = chart.layerRendererX(L);
        TScale *y = chart.layerRendererY(L);
        const auto [xLo, xHi] = chart.layerRangeX(L);
        const auto [yLo, yHi] = chart.layerRangeY(L);
        EXPECT_EQ(x->RangeLow(), xLo);
        EXPECT_EQ(y->RangeHigh(), yHi);
        EXPECT_EQ(x->Logarithmic(), L == 6);
        for (int step = 0; step <= 10; ++step) {
            const double wx =
                L == 6 ? xLo * std::pow(xHi / xLo, step / 10.0) : xLo + (xHi - xLo) * step / 10;
            const double wy =
                L == 6 ? yLo * std::pow(yHi / yLo, step / 10.0) : yLo + (yHi - yLo) * step / 10;
            int px = 0, py = 0;
            chart.WorldToPixel(L, wx, wy, px, py);
            EXPECT_EQ(x->ValueToPixel(wx), px) << L << " " << wx;
            EXPECT_EQ(y->ValueToPixel(wy), py) << L << " " << wy;
        }
    }
}

TEST(RChartLayers, RecordChangesReachTheRenderersAndRepaintOnce)
{
    ProbeChart chart;
    chart.resize(300, 200);
    chart.show();
    const int before = chart.fullRepaints;
    chart.Scale1X()->SetCaption(QStringLiteral("m/z"));
    EXPECT_EQ(chart.layerRendererX(1)->Caption(), QStringLiteral("m/z"));
    EXPECT_EQ(chart.fullRepaints, before + 1);
    chart.Scale1X()->SetScaleLocation(slTop);
    EXPECT_EQ(chart.layerRendererX(1)->ScaleType(), sctXB);
    EXPECT_EQ(chart.layerRendererX(1)->MarginBottom(), 200 - 20 - 1);
    chart.Scale1Y()->Font()->SetColor(clRed);
    EXPECT_EQ(chart.layerRendererY(1)->Font()->Color(), clRed);
    chart.Scale1Y()->DateFormat()->SetTimeFormat(tfAMPM);
    EXPECT_EQ(chart.layerRendererY(1)->DateFormat()->TimeFormat(), tfAMPM);
    chart.LayerScaleY(9)->SetLabelType(ftDateTime);
    EXPECT_EQ(chart.layerRendererY(9)->LabelType(), ftDateTime);
    EXPECT_EQ(chart.fullRepaints, before + 5);

    // Without AutoRedraw the change is stored for the next platform repaint.
    chart.SetAutoRedraw(false);
    chart.Scale1X()->SetMinTicks(5);
    EXPECT_EQ(chart.layerRendererX(1)->MinTicks(), 5);
    EXPECT_EQ(chart.fullRepaints, before + 5);

    // While loading, the renderers wait for the end of loading.
    chart.SetAutoRedraw(true);
    chart.beginLoading();
    chart.Scale2X()->SetVisible(true);
    chart.Scale2X()->SetCaption(QStringLiteral("loaded"));
    EXPECT_FALSE(chart.layerRendererX(2)->Visible());
    EXPECT_EQ(chart.fullRepaints, before + 5);
    chart.loaded();
    EXPECT_TRUE(chart.layerRendererX(2)->Visible());
    EXPECT_EQ(chart.layerRendererX(2)->Caption(), QStringLiteral("loaded"));
    EXPECT_EQ(chart.fullRepaints, before + 6);
}

// --- SetLayerRange --------------------------------------------------------------------------

TEST(RChartLayers, EqualEndsAreWidened)
{
    TRChart chart;
    chart.Scale1X()->SetMinRange(1);
    chart.SetLayerRange(1, 5, 0, 5, 10);
    EXPECT_EQ(chart.layerRangeX(1), std::make_pair(4.5, 5.5));
    EXPECT_EQ(chart.layerRangeY(1), std::make_pair(0.0, 10.0));

    chart.SetLayerRange(2, 1, 1, 1000, 1000);
    chart.LayerScaleX(2)->SetLogarithmic(true);
    chart.SetLayerRange(2, 100, 1, 100, 1000);
    const auto [lo, hi] = chart.layerRangeX(2);
    EXPECT_DOUBLE_EQ(lo, 100 / 1.1);
    EXPECT_DOUBLE_EQ(hi, 110.0);

    // The renderers draw the new ranges.
    EXPECT_EQ(chart.layerRendererX(1)->RangeLow(), 4.5);
    EXPECT_EQ(chart.layerRendererX(2)->RangeHigh(), hi);
}

TEST(RChartLayers, RangesThatCannotBeShownLeaveThePresentOne)
{
    TRChart chart;
    chart.SetLayerRange(1, 0, 0, 10, 10);
    chart.Scale1X()->SetMinRange(1);
    chart.SetLayerRange(1, 3, 2, 3.5, 8); // x narrower than MinRange
    EXPECT_EQ(chart.layerRangeX(1), std::make_pair(0.0, 10.0));
    EXPECT_EQ(chart.layerRangeY(1), std::make_pair(2.0, 8.0));

    // On a logarithmic axis each end below 1e-100 is refused on its own.
    chart.SetLayerRange(3, 1, 1, 100, 100);
    chart.LayerScaleX(3)->SetLogarithmic(true);
    chart.SetLayerRange(3, 0, 5, 1000, 50);
    EXPECT_EQ(chart.layerRangeX(3), std::make_pair(1.0, 1000.0));
    chart.SetLayerRange(3, 10, 5, -1, 50);
    EXPECT_EQ(chart.layerRangeX(3), std::make_pair(10.0, 1000.0));
    EXPECT_EQ(chart.layerRangeY(3), std::make_pair(5.0, 50.0));

    // Equal ends widened by the factor 1.1 are still held to MinRange: around 1e-12 the
    // result is far narrower than the default 1e-10.
    chart.LayerScaleY(3)->SetLogarithmic(true);
    chart.SetLayerRange(3, 10, 1e-12, 1000, 1e-12);
    EXPECT_EQ(chart.layerRangeY(3), std::make_pair(5.0, 50.0));
    EXPECT_EQ(chart.layerRendererY(3)->RangeLow(), 5.0);
    chart.LayerScaleY(3)->SetMinRange(1e-14);
    chart.SetLayerRange(3, 10, 1e-12, 1000, 1e-12);
    EXPECT_DOUBLE_EQ(chart.layerRangeY(3).first, 1e-12 / 1.1);
    EXPECT_DOUBLE_EQ(chart.layerRangeY(3).second, 1.1e-12);
}

TEST(RChartLayers, LayerZeroSetsEveryLayer)
{
    TRChart chart;
    chart.LayerScaleX(7)->SetMinRange(100); // too narrow for layer 7 alone
    chart.SetLayerRange(0, -1, 2, 1, 3);
    for (int L = 1; L <= 16; ++L) {
        EXPECT_EQ(chart.layerRangeY(L), std::make_pair(2.0, 3.0)) << L;
        if (L != 7) {
            EXPECT_EQ(chart.layerRangeX(L), std::make_pair(-1.0, 1.0)) << L;
        }
    }
    EXPECT_EQ(chart.layerRangeX(7), std::make_pair(-49.5, 50.5));
}

// --- Joint layers ---------------------------------------------------------------------------

TEST(RChartLayers, JointLayersFollowTheirController)
{
    ProbeChart chart;
    chart.resize(300, 200);
    chart.show();
    chart.SetLayerRange(1, 0, 0, 10, 10);
    chart.SetLayerRange(2, 20, 20, 30, 30);

    // Coupling takes over the controller's x range at once and keeps the own y range.
    const int before = chart.fullRepaints;
    chart.JointLayers()->SetL02xControlledBy(1);
    EXPECT_EQ(chart.JointLayers()->L02xControlledBy(), 1);
    EXPECT_EQ(chart.layerRangeX(2), std::make_pair(0.0, 10.0));
    EXPECT_EQ(chart.layerRangeY(2), std::make_pair(20.0, 30.0));
    EXPECT_EQ(chart.fullRepaints, before + 1);

    chart.SetLayerRange(1, 5, 6, 15, 16);
    EXPECT_EQ(chart.layerRangeX(2), std::make_pair(5.0, 15.0));
    EXPECT_EQ(chart.layerRangeY(2), std::make_pair(20.0, 30.0));
    EXPECT_EQ(chart.layerRendererX(2)->RangeLow(), 5.0);
    int px1 = 0, px2 = 0, py = 0;
    chart.WorldToPixel(1, 7, 0, px1, py);
    chart.WorldToPixel(2, 7, 0, px2, py);
    EXPECT_EQ(px1, px2);

    // The controlled axis refuses ranges of its own; the other axis takes them.
    chart.SetLayerRange(2, 100, 100, 200, 200);
    EXPECT_EQ(chart.layerRangeX(2), std::make_pair(5.0, 15.0));
    EXPECT_EQ(chart.layerRangeY(2), std::make_pair(100.0, 200.0));
    EXPECT_EQ(chart.layerRangeX(1), std::make_pair(5.0, 15.0));

    // Range changes through a record reach the coupled layer as well.
    chart.Scale1X()->SetRangeHigh(25);
    EXPECT_EQ(chart.layerRangeX(2), std::make_pair(5.0, 25.0));

    // Coupling a layer back to itself ends it.
    chart.JointLayers()->SetL02xControlledBy(2);
    chart.SetLayerRange(1, 0, 0, 1, 1);
    EXPECT_EQ(chart.layerRangeX(2), std::make_pair(5.0, 25.0));
}

TEST(RChartLayers, JointLayersRefuseChainsWithTheRightTexts)
{
    TRChart chart;
    TJointLayers &joint = *chart.JointLayers();
    joint.SetL02xControlledBy(1);
    try {
        joint.SetL03xControlledBy(2);
        FAIL() << "no error";
    } catch (const EZelRChartError &e) {
        EXPECT_STREQ(e.what(), "Destination layer 2 is already joined");
    }
    EXPECT_EQ(joint.L03xControlledBy(), 3);

    joint.SetL03xControlledBy(1);
    try {
        joint.SetL01xControlledBy(4);
        FAIL() << "no error";
    } catch (const EZelRChartError &e) {
        EXPECT_STREQ(e.what(), "Layer 1 is joined by other layers (2, 3)");
    }
    EXPECT_EQ(joint.L01xControlledBy(), 1);
    // The y axes are coupled independently of the x axes.
    joint.SetL01yControlledBy(4);
    EXPECT_EQ(joint.L01yControlledBy(), 4);

    for (int bad : {0, 17, -1}) {
        try {
            joint.SetL05yControlledBy(bad);
            FAIL() << "no error for " << bad;
        } catch (const EZelError &e) {
            EXPECT_EQ(std::string(e.what()),
                      "Destination layer " + std::to_string(bad) + " is out of range");
        }
    }
    EXPECT_EQ(joint.L05yControlledBy(), 5);

    // A whole assignment copies without checks.
    TJointLayers other;
    other.SetL16xControlledBy(15);
    other.SetL09yControlledBy(1);
    chart.SetJointLayers(&other);
    EXPECT_EQ(joint.L16xControlledBy(), 15);
    EXPECT_EQ(joint.L09yControlledBy(), 1);
    EXPECT_EQ(joint.L02xControlledBy(), 2);
    EXPECT_EQ(joint.L01yControlledBy(), 1);
}

// --- Isometric ------------------------------------------------------------------------------

TEST(RChartLayers, IsometricFitsTheYRangeToTheXRange)
{
    TRChart chart;
    chart.SetMarginLeft(0);
    chart.SetMarginRight(0);
    chart.SetMarginTop(0);
    chart.SetMarginBottom(0);
    chart.SetBounds(0, 0, 400, 200); // PW + 1 = 401, PH + 1 = 201
    chart.SetLayerRange(1, 0, 10, 400, 20);
    EXPECT_EQ(chart.layerRangeY(1), std::make_pair(10.0, 20.0)); // switching on corrects

    chart.SetIsometric(true);
    const double half = 400.0 * 201 / 401 / 2;
    EXPECT_DOUBLE_EQ(chart.layerRangeY(1).first, 15 - half);
    EXPECT_DOUBLE_EQ(chart.layerRangeY(1).second, 15 + half);

    chart.SetLayerRange(1, 0, 0, 40, 100);
    EXPECT_DOUBLE_EQ(chart.layerRangeY(1).first, 50 - 40.0 * 201 / 401 / 2);
    int px = 0, py = 0, qx = 0, qy = 0;
    chart.WorldToPixel(1, 0, 50, px, py);
    chart.WorldToPixel(1, 10, 60, qx, qy);
    EXPECT_EQ(qx - px, py - qy); // ten units are as long across as up

    // A margin change keeps the pictures square.
    chart.SetMarginBottom(100); // PH + 1 = 101
    const auto [lo, hi] = chart.layerRangeY(1);
    EXPECT_NEAR(hi - lo, 40.0 * 101 / 401, 1e-9);
    EXPECT_NEAR((hi + lo) / 2, 50, 1e-9);

    // Switching off changes no range.
    chart.SetIsometric(false);
    chart.SetLayerRange(1, 0, 0, 40, 100);
    EXPECT_EQ(chart.layerRangeY(1), std::make_pair(0.0, 100.0));
}

// --- Size -----------------------------------------------------------------------------------

TEST(RChartLayers, ResizingKeepsAMinimumSize)
{
    TRChart chart;
    chart.SetMarginLeft(50);
    chart.SetMarginRight(10);
    chart.SetMarginTop(16);
    chart.SetMarginBottom(32);
    chart.SetBounds(5, 6, 10, 10);
    EXPECT_EQ(chart.geometry(), QRect(5, 6, 140, 68));
    EXPECT_EQ(chart.layerRendererX(3)->size(), QSize(140, 68));
    EXPECT_EQ(chart.dataImage().size(), QSize(81, 21));

    chart.SetShadowWidth(40);
    EXPECT_EQ(chart.ShadowWidth(), 32);
    chart.SetBounds(0, 0, 100, 300);
    EXPECT_EQ(chart.size(), QSize(172, 300));

    // A layout or resize() on a shown chart is held to the same minimum.
    QWidget parent;
    parent.resize(500, 400);
    auto *child = new TRChart(&parent);
    child->SetMarginLeft(50);
    child->SetMarginRight(10);
    child->SetMarginTop(16);
    child->SetMarginBottom(32);
    parent.show();
    child->setGeometry(0, 0, 10, 10);
    EXPECT_EQ(child->size(), QSize(140, 68));
    child->resize(300, 10);
    EXPECT_EQ(child->size(), QSize(300, 68));
    EXPECT_EQ(child->fullImage().size(), QSize(300, 68));
    EXPECT_EQ(child->layerRendererY(1)->size(), QSize(300, 68));
}

// --- Painting -------------------------------------------------------------------------------

TEST(RChartLayers, TickReportsComeFromTheChart)
{
    TRChart chart;
    chart.resize(400, 300);
    struct Tick
    {
        QObject *sender;
        TScaleType type;
        double value;
        int x, y;
    };
    std::vector<Tick> ticks;
    chart.OnScaleTickDrawn = [&](QObject *sender, Canvas &canvas, TScaleType type, double value,
                                 int x, int y) {
        EXPECT_EQ(canvas.image(), &chart.fullImage());
        ticks.push_back({sender, type, value, x, y});
    };
    chart.show();
    chart.SetLayerRange(1, 0, 0, 10, 1);
    ASSERT_FALSE(ticks.empty());
    bool sawX = false, sawY = false;
    for (const Tick &tick : ticks) {
        EXPECT_EQ(tick.sender, &chart);
        int px = 0, py = 0;
        chart.WorldToPixel(1, tick.value, tick.value, px, py);
        if (tick.type == sctXT) {
            sawX = true;
            EXPECT_EQ(tick.x, px);
            EXPECT_EQ(tick.y, 300 - 40);
        } else {
            EXPECT_EQ(tick.type, sctYR);
            sawY = true;
            EXPECT_EQ(tick.x, 50);
            EXPECT_EQ(tick.y, py);
        }
    }
    EXPECT_TRUE(sawX);
    EXPECT_TRUE(sawY);
}

TEST(RChartLayers, AFullRepaintDrawsTheVisibleAxes)
{
    TRChart chart;
    chart.resize(480, 320);
    chart.SetMarginRight(16);
    chart.SetChartColor(clBlack);
    chart.Scale1X()->SetCaption(QStringLiteral("mass (u)"));
    chart.Scale1Y()->SetCaption(QStringLiteral("intensity"));
    chart.LayerScaleY(2)->SetVisible(true);
    chart.LayerScaleY(2)->SetScaleLocation(slRight);
    chart.LayerScaleY(2)->SetColorScale(clBlue);
    chart.SetMarginRight(60);
    chart.show();
    chart.SetLayerRange(1, 38, -0.2, 46, 100);
    chart.SetLayerRange(2, 0, 0, 1, 1);

    const QImage &image = chart.fullImage();
    const QString file = QCoreApplication::applicationDirPath() + "/rchart_axes.png";
    EXPECT_TRUE(image.save(file)) << file.toStdString();

    // Every recorded tick of the bottom axis is drawn just below the plot in the axis colour,
    // and nothing of the axes lies where no axis is.
    const int bottom = 320 - 40;
    TScale *x = chart.layerRendererX(1);
    ASSERT_GT(x->NumTicks(), 3);
    for (double value : x->TickPositions()) {
        int px = 0, py = 0;
        chart.WorldToPixel(1, value, 0, px, py);
        EXPECT_EQ(image.pixel(px, bottom + 2), rgbOf(clBlack)) << value;
    }
    TScale *y2 = chart.layerRendererY(2);
    ASSERT_GT(y2->NumTicks(), 2);
    for (double value : y2->TickPositions()) {
        int px = 0, py = 0;
        chart.WorldToPixel(2, 0, value, px, py);
        EXPECT_EQ(image.pixel(480 - 60 + 2, py), rgbOf(clBlue)) << value;
    }
    // Labels: the left margin holds black text pixels; the top margin between the left
    // axis's caption and the right axis's top label holds nothing.
    int labelPixels = 0;
    for (int px = 0; px < 42; ++px)
        for (int py = 20; py <= bottom; ++py)
            labelPixels += image.pixel(px, py) == rgbOf(clBlack);
    EXPECT_GT(labelPixels, 50);
    for (int px = 150; px < 400; ++px)
        for (int py = 0; py < 20; ++py)
            ASSERT_EQ(image.pixel(px, py), rgbOf(clBtnFace)) << px << "," << py;
    // The plot itself stays the data area's.
    EXPECT_EQ(image.pixel(200, 150), rgbOf(clBlack));
}

// --- The main window's chart ----------------------------------------------------------------

TEST(RChartLayers, MainWindowScopeShowsLayerOneAxesOnly)
{
    TfrmExample w;
    TRChart &scope = *w.RCScope;
    EXPECT_FALSE(scope.isLoading());
    EXPECT_FALSE(scope.Isometric());
    EXPECT_TRUE(scope.Scale1X()->Visible());
    EXPECT_EQ(scope.Scale1X()->ScaleLocation(), slBottom);
    EXPECT_EQ(scope.Scale1X()->CaptionPosY(), 22);
    EXPECT_TRUE(scope.Scale1Y()->Visible());
    EXPECT_EQ(scope.Scale1Y()->CaptionAlignment(), Zel::taLeftJustify);
    EXPECT_EQ(scope.Scale3X()->ColorScale(), clGreen);
    EXPECT_EQ(scope.Scale4Y()->CaptionAlignment(), Zel::taRightJustify);
    EXPECT_EQ(scope.Scale2Y()->CaptionPosY(), 100);
    for (int L = 2; L <= 16; ++L) {
        EXPECT_FALSE(scope.layerRendererX(L)->Visible()) << L;
        EXPECT_FALSE(scope.layerRendererY(L)->Visible()) << L;
    }
    EXPECT_TRUE(scope.layerRendererX(1)->Visible());
    EXPECT_EQ(scope.layerRendererY(1)->Font()->Name(), QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(scope.layerRendererY(1)->Font()->Height(), -13);
    EXPECT_EQ(scope.layerRendererY(1)->RangeHigh(), 50.0);
    EXPECT_EQ(scope.layerRendererY(1)->MarginRight(), scope.width() - 50 - 1);
}

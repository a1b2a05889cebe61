// SPDX-License-Identifier: GPL-3.0-or-later
// The chart on screens of other densities: mouse positions are design pixels, so zoom-drags,
// crosshair drags and the reported values hit the same design pixels at every ratio, and the
// crosshair is drawn where the mouse left it.

#include "chart_probe.h"
#include "platform/PixelRatio.h"
#include "test_support.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <gtest/gtest.h>

namespace {

using Range = std::pair<double, double>;

// The chart of the mouse tests (800 x 600, plot x 50..780, y 20..560, layer 1 0..1000 by
// 0..100) with its pictures composed at the ratio of the parameter.
class ChartAtRatio : public ::testing::TestWithParam<double>
{
protected:
    void SetUp() override
    {
        setPixelRatioOverride(GetParam());
        chart.resize(800, 600);
        chart.show();
        chart.SetLayerRange(1, 0, 0, 1000, 100);
    }
    void TearDown() override { setPixelRatioOverride(std::nullopt); }

    void send(QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, QPointF(pos), QPointF(chart.mapToGlobal(pos)), button, buttons,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(&chart, &event);
    }
    void drag(std::initializer_list<QPoint> points)
    {
        send(QEvent::MouseButtonPress, *points.begin(), Qt::LeftButton, Qt::LeftButton);
        for (QPoint p : points)
            send(QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, *std::prev(points.end()), Qt::LeftButton, Qt::NoButton);
    }
    // The full picture's colour at a design pixel.
    TColor shown(int x, int y)
    {
        QImage image = chart.fullImage();
        return Canvas(&image).Pixel(x, y);
    }

    ProbeChart chart;
};

} // namespace

TEST_P(ChartAtRatio, PicturesHaveTheDesignSizeAtTheRatio)
{
    const double r = GetParam();
    EXPECT_EQ(chart.fullImage().devicePixelRatio(), r);
    EXPECT_EQ(chart.fullImage().size(), QSize(int(800 * r), int(600 * r)));
    EXPECT_EQ(designSize(chart.dataImage()), QSize(731, 541));
}

TEST_P(ChartAtRatio, ZoomDragMovesTheRangesAsAtRatioOne)
{
    chart.SetMouseAction(Zel::maZoomDrag);
    drag({{400, 300}, {600, 300}});
    EXPECT_EQ(chart.layerRangeX(1), Range(125, 875));
    drag({{400, 300}, {400, 450}});
    EXPECT_EQ(chart.layerRangeY(1), Range(-12.5, 112.5));
}

TEST_P(ChartAtRatio, CrossHairIsDrawnWhereTheMouseLeftIt)
{
    chart.SetChartColor(clBlack);
    chart.CrossHair(1)->SetColor(clRed);
    chart.CrossHair(1)->SetMode(Zel::chBoth);
    chart.SetMouseAction(Zel::maDragCrossH);
    drag({{400, 300}, {517, 233}});
    double x = 0, y = 0;
    chart.PixelToWorld(1, 517, 233, x, y);
    EXPECT_EQ(chart.CrossHair(1)->PosX(), x);
    EXPECT_EQ(chart.CrossHair(1)->PosY(), y);
    chart.grab(); // paints
    EXPECT_EQ(shown(517, 400), clRed);
    EXPECT_EQ(shown(516, 400), clBlack);
    EXPECT_EQ(shown(518, 400), clBlack);
    EXPECT_EQ(shown(300, 233), clRed);
    EXPECT_EQ(shown(300, 232), clBlack);
}

TEST_P(ChartAtRatio, MouseMovesReportTheWorldAtTheDesignPixel)
{
    std::vector<QPointF> reports;
    chart.OnMouseMoveInChart = [&](QObject *, bool, TShiftState, double x, double y) {
        reports.push_back({x, y});
    };
    for (QPoint p : {QPoint(50, 560), QPoint(780, 20), QPoint(415, 290)})
        send(QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton);
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_EQ(reports[0], QPointF(0, 0));
    EXPECT_EQ(reports[1], QPointF(1000, 100));
    EXPECT_DOUBLE_EQ(reports[2].x(), 500);
    EXPECT_DOUBLE_EQ(reports[2].y(), 50);
}

INSTANTIATE_TEST_SUITE_P(Ratios, ChartAtRatio, ::testing::Values(1.5, 2.0));

TEST(ChartRatio, AMoveToAScreenOfAnotherRatioComposesAnew)
{
    const auto picture = [](ProbeChart &chart) {
        QImage image = chart.fullImage();
        Canvas canvas(&image);
        std::vector<TColor> pixels;
        for (QPoint p : {QPoint(40, 20), QPoint(40, 21), QPoint(150, 100), QPoint(290, 190)})
            pixels.push_back(canvas.Pixel(p.x(), p.y()));
        return pixels;
    };
    ProbeChart chart;
    chart.resize(300, 200);
    chart.SetChartColor(clNavy);
    chart.SetWindColor(clYellow);
    chart.show();
    chart.grab(); // paints
    const std::vector<TColor> atOne = picture(chart);
    setPixelRatioOverride(2.0);
    chart.grab(); // paints
    EXPECT_EQ(chart.fullImage().devicePixelRatio(), 2.0);
    EXPECT_EQ(picture(chart), atOne);
    setPixelRatioOverride(1.5);
    chart.grab(); // paints
    EXPECT_EQ(chart.fullImage().size(), QSize(450, 300));
    EXPECT_EQ(picture(chart), atOne);
    setPixelRatioOverride(std::nullopt);
}

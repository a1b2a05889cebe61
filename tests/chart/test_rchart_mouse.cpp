// SPDX-License-Identifier: GPL-3.0-or-later
// The chart's mouse modes driven by synthesised mouse events: zoom-drag, pans, zoom and
// rubber-band rectangles with their outline on the screen, dragging crosshairs and text
// labels, the double click, the cursor rule and the mouse reports, also on dense screens.

#include "chart_probe.h"
#include "platform/PixelRatio.h"
#include "platform/ScreenCursors.h"
#include "test_support.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QEnterEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPixmap>
#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace Zel;
using Range = std::pair<double, double>;

// An 800 x 600 chart with the plot at x 50..780 and y 20..560 (PW 730, PH 540), layer 1 from
// 0 to 1000 across and 0 to 100 up; the mouse is driven through events, its buttons tracked.
class ChartMouse : public ::testing::Test
{
protected:
    void SetUp() override
    {
        chart.resize(800, 600);
        chart.show();
        chart.SetLayerRange(1, 0, 0, 1000, 100);
        chart.OnZoomPan = [this](QObject *sender) {
            EXPECT_EQ(sender, &chart);
            ++zoomPans;
        };
    }

    void send(QEvent::Type type, QPoint pos, Qt::MouseButton button)
    {
        QMouseEvent event(type, QPointF(pos), QPointF(chart.mapToGlobal(pos)), button, buttons,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(&chart, &event);
    }
    void press(QPoint pos, Qt::MouseButton button = Qt::LeftButton)
    {
        buttons |= button;
        send(QEvent::MouseButtonPress, pos, button);
    }
    void release(QPoint pos, Qt::MouseButton button = Qt::LeftButton)
    {
        buttons &= ~button;
        send(QEvent::MouseButtonRelease, pos, button);
    }
    void doubleClick(QPoint pos)
    {
        buttons |= Qt::LeftButton;
        send(QEvent::MouseButtonDblClick, pos, Qt::LeftButton);
    }
    void move(QPoint pos) { send(QEvent::MouseMove, pos, Qt::NoButton); }
    // A left-button drag along the points (the first move starts it).
    void drag(std::initializer_list<QPoint> points)
    {
        press(*points.begin());
        for (QPoint p : points)
            move(p);
    }

    QPointF world(int layer, QPoint pixel) const
    {
        double x = 0, y = 0;
        chart.PixelToWorld(layer, pixel.x(), pixel.y(), x, y);
        return {x, y};
    }

    ProbeChart chart;
    Qt::MouseButtons buttons;
    int zoomPans = 0;
};

} // namespace

// --- Zoom-drag ----------------------------------------------------------------------------

TEST_F(ChartMouse, ZoomDragScalesAboutTheCentreRelativeToTheStart)
{
    chart.SetMouseAction(maZoomDrag);
    press({400, 300});
    EXPECT_FALSE(chart.isMouseDragging()); // the press itself does nothing
    move({400, 300});
    EXPECT_TRUE(chart.isMouseDragging());
    EXPECT_EQ(zoomPans, 0);

    // A quarter of the control's width (not of the plot's) to the right: 0.75 of the width.
    move({600, 300});
    EXPECT_EQ(chart.layerRangeX(1), Range(125, 875));
    EXPECT_EQ(chart.layerRangeY(1), Range(0, 100));
    EXPECT_EQ(zoomPans, 1);
    // Down by a quarter of the height widens y by a quarter; x is back where it began.
    move({400, 450});
    EXPECT_EQ(chart.layerRangeX(1), Range(0, 1000));
    EXPECT_EQ(chart.layerRangeY(1), Range(-12.5, 112.5));
    // Left widens x, up narrows y.
    move({200, 150});
    EXPECT_EQ(chart.layerRangeX(1), Range(-125, 1125));
    EXPECT_EQ(chart.layerRangeY(1), Range(12.5, 87.5));

    // Releasing changes nothing; the drag ends at the next move without the button.
    release({200, 150});
    EXPECT_TRUE(chart.isMouseDragging());
    move({300, 300});
    EXPECT_FALSE(chart.isMouseDragging());
    EXPECT_EQ(chart.layerRangeX(1), Range(-125, 1125));
    EXPECT_EQ(zoomPans, 3);
}

TEST_F(ChartMouse, ZoomDragBackToTheAnchorRestoresTheRangesExactly)
{
    chart.SetMouseAction(maZoomDrag);
    chart.SetLayerRange(1, 0.1, -3.3, 0.7, 9.1);
    const Range x = chart.layerRangeX(1), y = chart.layerRangeY(1);
    drag({{333, 222}, {571, 97}, {123, 456}, {700, 555}, {341, 229}});
    EXPECT_NE(chart.layerRangeX(1), x);
    move({333, 222});
    EXPECT_EQ(chart.layerRangeX(1), x);
    EXPECT_EQ(chart.layerRangeY(1), y);
}

TEST_F(ChartMouse, IsometricZoomDragScalesBothAxesByTheHorizontalMove)
{
    chart.SetIsometric(true);
    chart.SetMouseAction(maZoomDrag);
    const auto [xLo, xHi] = chart.layerRangeX(1);
    const auto [yLo, yHi] = chart.layerRangeY(1);
    drag({{400, 300}, {400, 500}});
    EXPECT_EQ(chart.layerRangeX(1), Range(xLo, xHi));
    EXPECT_EQ(chart.layerRangeY(1), Range(yLo, yHi));

    move({600, 500});
    const auto [nxLo, nxHi] = chart.layerRangeX(1);
    const auto [nyLo, nyHi] = chart.layerRangeY(1);
    EXPECT_DOUBLE_EQ(nxHi - nxLo, 0.75 * (xHi - xLo));
    EXPECT_DOUBLE_EQ(nyHi - nyLo, 0.75 * (yHi - yLo));
    EXPECT_DOUBLE_EQ(nxLo + nxHi, xLo + xHi);
    EXPECT_DOUBLE_EQ(nyLo + nyHi, yLo + yHi);
}

TEST_F(ChartMouse, ZoomDragPausesOutsideThePlotAndGoesOnFromTheSameAnchor)
{
    chart.SetMouseAction(maZoomDrag);
    drag({{400, 300}, {600, 300}});
    ASSERT_EQ(chart.layerRangeX(1), Range(125, 875));
    move({790, 300}); // right of the plot (it ends at 780)
    move({600, 590}); // below it
    EXPECT_EQ(chart.layerRangeX(1), Range(125, 875));
    EXPECT_EQ(chart.layerRangeY(1), Range(0, 100));
    EXPECT_EQ(zoomPans, 1);
    move({500, 300});
    EXPECT_EQ(chart.layerRangeX(1), Range(62.5, 937.5));
    release({500, 300});
    move({500, 300});

    // A drag may start outside the plot; only the moves that change ranges must be inside.
    drag({{10, 300}, {210, 300}});
    EXPECT_EQ(chart.layerRangeX(1), Range(62.5 + 875 / 8.0, 937.5 - 875 / 8.0));
}

TEST_F(ChartMouse, NoPlotAreaMeansNoRangeChange)
{
    chart.SetMouseAction(maZoomDrag);
    chart.SetMarginLeft(790); // wider than the control less the right margin
    drag({{795, 300}, {700, 300}, {795, 250}});
    EXPECT_EQ(chart.layerRangeX(1), Range(0, 1000));
    EXPECT_EQ(zoomPans, 0);
}

// --- Pans ---------------------------------------------------------------------------------

TEST_F(ChartMouse, PanningByThePlotSizeShiftsByAWholeRange)
{
    chart.SetMouseAction(maPan);
    // Right by the plot's width: the content follows, so x moves to lower values.
    drag({{50, 20}, {780, 20}});
    EXPECT_EQ(chart.layerRangeX(1), Range(-1000, 0));
    EXPECT_EQ(chart.layerRangeY(1), Range(0, 100));
    // Down by the plot's height: y moves to higher values.
    move({780, 560});
    EXPECT_EQ(chart.layerRangeY(1), Range(100, 200));
    move({50, 20});
    EXPECT_EQ(chart.layerRangeX(1), Range(0, 1000));
    EXPECT_EQ(chart.layerRangeY(1), Range(0, 100));
    EXPECT_EQ(zoomPans, 3);
    release({50, 20});
    move({50, 20});

    chart.SetMouseAction(maPanHoriz);
    drag({{400, 300}, {765, 435}});
    EXPECT_EQ(chart.layerRangeX(1), Range(-500, 500));
    EXPECT_EQ(chart.layerRangeY(1), Range(0, 100));
    release({765, 435});
    move({765, 435});

    chart.SetMouseAction(maPanVert);
    drag({{400, 300}, {765, 165}});
    EXPECT_EQ(chart.layerRangeX(1), Range(-500, 500));
    EXPECT_EQ(chart.layerRangeY(1), Range(-25, 75));
}

TEST_F(ChartMouse, PanningALogarithmicAxisMultipliesTheRange)
{
    chart.SetLayerRange(1, 1, 0, 1000, 100);
    chart.LayerScaleX(1)->SetLogarithmic(true);
    ASSERT_TRUE(chart.LayerScaleX(1)->Logarithmic());
    chart.SetMouseAction(maPanHoriz);
    // Half the plot to the right: the range is divided by the root of its ratio.
    drag({{100, 300}, {465, 300}});
    const auto [lo, hi] = chart.layerRangeX(1);
    EXPECT_NEAR(lo, 1 / std::sqrt(1000.0), 1e-12);
    EXPECT_NEAR(hi, 1000 / std::sqrt(1000.0), 1e-9);
}

// --- Rectangles ---------------------------------------------------------------------------

TEST_F(ChartMouse, ZoomWindowTakesTheCornersAsDrawnAndZoomWindowPosKeepsDirections)
{
    const QPointF a = world(1, {600, 100});
    const QPointF b = world(1, {200, 400});
    chart.SetMouseAction(maZoomWind);
    press({600, 100});
    EXPECT_TRUE(chart.isDrawingRectangle());
    move({200, 400});
    release({200, 400});
    EXPECT_FALSE(chart.isDrawingRectangle());
    // Right to left reverses x; top to bottom reverses y.
    EXPECT_EQ(chart.layerRangeX(1), Range(a.x(), b.x()));
    EXPECT_EQ(chart.layerRangeY(1), Range(a.y(), b.y()));
    EXPECT_GT(a.x(), b.x());
    EXPECT_GT(a.y(), b.y());
    EXPECT_EQ(zoomPans, 1);

    chart.SetLayerRange(1, 0, 0, 1000, 100);
    chart.SetMouseAction(maZoomWindPos);
    press({600, 100});
    move({200, 400});
    release({200, 400});
    EXPECT_EQ(chart.layerRangeX(1), Range(b.x(), a.x()));
    EXPECT_EQ(chart.layerRangeY(1), Range(b.y(), a.y()));

    // On a reversed axis it keeps the reversal.
    chart.SetLayerRange(1, 1000, 0, 0, 100);
    const QPointF c = world(1, {200, 400});
    const QPointF d = world(1, {600, 100});
    press({200, 400});
    move({600, 100});
    release({600, 100});
    EXPECT_EQ(chart.layerRangeX(1), Range(c.x(), d.x()));
    EXPECT_GT(c.x(), d.x());
    EXPECT_EQ(zoomPans, 3);
}

TEST_F(ChartMouse, RectangleCornerStaysInThePlotAndIsometricKeepsItSquare)
{
    chart.SetMouseAction(maZoomWind);
    const QPointF corner = world(1, {780, 560});
    press({700, 500});
    move({900, 700}); // held at the plot's corner
    release({900, 700});
    EXPECT_EQ(chart.layerRangeX(1).second, corner.x());
    EXPECT_EQ(chart.layerRangeY(1).second, corner.y());

    chart.SetLayerRange(1, 0, 0, 1000, 100);
    chart.SetIsometric(true);
    const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255);
    press({300, 300});
    move({400, 280}); // right and up: the corner goes to (400, 200)
    QImage shown = chart.grab().toImage();
    EXPECT_EQ(shown.pixel(350, 200), black);
    EXPECT_EQ(shown.pixel(399, 250), black);
    EXPECT_EQ(shown.pixel(350, 280), white);
    move({200, 320}); // left and down: the corner goes to (200, 400)
    shown = chart.grab().toImage();
    EXPECT_EQ(shown.pixel(250, 399), black);
    EXPECT_EQ(shown.pixel(250, 320), white);
    move({400, 280});
    const QPointF low = world(1, {300, 300}), high = world(1, {400, 200});
    release({400, 280});
    // The y range is fitted to the x range about the rectangle's middle, for square pixels.
    const auto [xLo, xHi] = chart.layerRangeX(1);
    const auto [yLo, yHi] = chart.layerRangeY(1);
    EXPECT_EQ(xLo, low.x());
    EXPECT_EQ(xHi, high.x());
    EXPECT_DOUBLE_EQ(yLo + yHi, low.y() + high.y());
    EXPECT_NEAR((yHi - yLo) / (xHi - xLo), 541.0 / 731.0, 1e-12);
}

TEST_F(ChartMouse, RectangleOutlineIsInvertedOnTheScreenOnly)
{
    chart.SetChartColor(clBlue);
    const QRgb plain = rgbOf(clBlue);
    const QRgb inverted = qRgb(255, 255, 0);
    chart.SetMouseAction(maZoomWind);
    press({300, 200});
    move({500, 400});
    QImage shown = chart.grab().toImage();
    EXPECT_EQ(shown.pixel(300, 300), inverted); // left edge
    EXPECT_EQ(shown.pixel(499, 300), inverted); // right edge, one pixel in
    EXPECT_EQ(shown.pixel(500, 300), plain);
    EXPECT_EQ(shown.pixel(400, 399), inverted); // bottom edge
    EXPECT_EQ(shown.pixel(400, 300), plain);    // inside
    EXPECT_EQ(chart.fullImage().pixel(300, 300), plain);

    // Moving erases the old outline; a full repaint meanwhile does not lose the outline.
    move({450, 350});
    chart.SetWindColor(clSilver);
    shown = chart.grab().toImage();
    EXPECT_EQ(shown.pixel(499, 300), plain);
    EXPECT_EQ(shown.pixel(449, 300), inverted);
    EXPECT_EQ(shown.pixel(300, 300), inverted);

    // The right button cancels: the outline goes, the ranges stay.
    release({450, 350}, Qt::RightButton);
    EXPECT_FALSE(chart.isDrawingRectangle());
    shown = chart.grab().toImage();
    EXPECT_EQ(shown.pixel(300, 300), plain);
    EXPECT_EQ(shown.pixel(449, 300), plain);
    EXPECT_EQ(chart.layerRangeX(1), Range(0, 1000));
    EXPECT_EQ(chart.layerRangeY(1), Range(0, 100));
    EXPECT_EQ(zoomPans, 0);
    // The left button still held starts nothing new on release.
    release({450, 350});
    EXPECT_EQ(chart.layerRangeX(1), Range(0, 1000));
}

TEST_F(ChartMouse, DegenerateRectanglesAndPressesOutsideThePlotChangeNothing)
{
    chart.SetMouseAction(maZoomWind);
    press({300, 200});
    move({300, 400}); // no width
    release({300, 400});
    press({300, 200});
    move({500, 200}); // no height
    release({500, 200});
    EXPECT_EQ(chart.layerRangeX(1), Range(0, 1000));
    EXPECT_EQ(zoomPans, 0);

    press({10, 10}); // outside the plot
    EXPECT_FALSE(chart.isDrawingRectangle());
    release({10, 10});
    press({300, 200}, Qt::RightButton);
    EXPECT_FALSE(chart.isDrawingRectangle());
    release({300, 200}, Qt::RightButton);
}

TEST_F(ChartMouse, RubberBandReportsEachAffectedLayerThenZoomPan)
{
    chart.SetMouseAffectsLayer(3, true);
    chart.SetLayerRange(3, -1, -2, 1, 2);
    chart.SetMouseAction(maRubberBand);
    QStringList log;
    chart.OnRubberBand = [&](QObject *, int layer, double loX, double loY, double hiX, double hiY) {
        log << QStringLiteral("band %1").arg(layer);
        // The direction of normal axes is kept however the rectangle is drawn.
        EXPECT_LT(loX, hiX);
        EXPECT_LT(loY, hiY);
        const QPointF lowLeft = world(layer, {200, 400});
        const QPointF highRight = world(layer, {600, 100});
        EXPECT_EQ(loX, lowLeft.x());
        EXPECT_EQ(loY, lowLeft.y());
        EXPECT_EQ(hiX, highRight.x());
        EXPECT_EQ(hiY, highRight.y());
    };
    chart.OnZoomPan = [&](QObject *) { log << QStringLiteral("zoompan"); };
    press({600, 100});
    move({200, 400});
    release({200, 400});
    EXPECT_EQ(log, QStringList({"band 1", "band 3", "zoompan"}));
    EXPECT_EQ(chart.layerRangeX(1), Range(0, 1000));
    EXPECT_EQ(chart.layerRangeY(3), Range(-2, 2));
}

TEST_F(ChartMouse, DoubleClickSecondPressStartsNoRectangle)
{
    chart.SetMouseAction(maZoomWind);
    int downs = 0, ups = 0, clicks = 0, doubles = 0;
    chart.OnMouseDown = [&](QObject *, Qt::MouseButton, TShiftState shift, int, int) {
        ++downs;
        EXPECT_TRUE(shift & Input::ssLeft);
    };
    chart.OnMouseUp = [&](QObject *, Qt::MouseButton, TShiftState, int, int) { ++ups; };
    chart.OnClick = [&](QObject *) { ++clicks; };
    chart.OnDblClick = [&](QObject *) { ++doubles; };

    press({300, 200});
    release({300, 200});
    doubleClick({300, 200});
    EXPECT_FALSE(chart.isDrawingRectangle());
    move({500, 400});
    release({500, 400});
    EXPECT_EQ(chart.layerRangeX(1), Range(0, 1000));
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(ups, 2);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(doubles, 1);

    // The next press is an ordinary one again.
    press({300, 200});
    EXPECT_TRUE(chart.isDrawingRectangle());
    EXPECT_EQ(downs, 2);
    release({300, 200});

    // Another button's double click is a press that says double.
    TShiftState rightShift;
    chart.OnMouseDown = [&](QObject *, Qt::MouseButton button, TShiftState shift, int, int) {
        EXPECT_EQ(button, Qt::RightButton);
        rightShift = shift;
    };
    press({300, 200}, Qt::RightButton);
    EXPECT_FALSE(rightShift & Input::ssDouble);
    release({300, 200}, Qt::RightButton);
    buttons |= Qt::RightButton;
    send(QEvent::MouseButtonDblClick, {300, 200}, Qt::RightButton);
    EXPECT_EQ(rightShift, TShiftState(Input::ssRight | Input::ssDouble));
    release({300, 200}, Qt::RightButton);
    EXPECT_EQ(doubles, 1);
}

// The popup menu opens on the context menu request and drops a rectangle being drawn, whose
// release the menu would otherwise take; without a menu the request goes on to the parent.
TEST_F(ChartMouse, PopupMenuOpensAndDropsARectangleInProgress)
{
    const auto request = [&](QPoint pos) {
        QContextMenuEvent event(QContextMenuEvent::Mouse, pos, chart.mapToGlobal(pos));
        QCoreApplication::sendEvent(&chart, &event);
        return event.isAccepted();
    };
    EXPECT_FALSE(request({300, 200}));

    chart.SetMouseAction(maZoomWind);
    press({300, 200});
    move({500, 400});
    ASSERT_TRUE(chart.isDrawingRectangle());
    {
        QMenu menu;
        menu.addAction(QStringLiteral("Reset"));
        ASSERT_TRUE(chart.setProperty("PopupMenu", QVariant::fromValue(&menu)));
        EXPECT_TRUE(request({500, 400}));
        EXPECT_TRUE(menu.isVisible());
        EXPECT_FALSE(chart.isDrawingRectangle());
        menu.hide();
    }
    // The release after the menu changes nothing; a deleted menu is forgotten.
    release({500, 400});
    EXPECT_EQ(chart.layerRangeX(1), Range(0, 1000));
    EXPECT_EQ(zoomPans, 0);
    EXPECT_EQ(chart.PopupMenu(), nullptr);
}

TEST_F(ChartMouse, LayersWithoutTheMouseFlagKeepTheirRangesUnlessJoined)
{
    EXPECT_TRUE(chart.MouseAffectsLayer(1));
    EXPECT_FALSE(chart.MouseAffectsLayer(2));
    EXPECT_FALSE(chart.MouseAffectsLayer(0));
    chart.SetMouseAffectsLayer(17, true); // ignored
    EXPECT_FALSE(chart.MouseAffectsLayer(17));
    chart.SetLayerRange(2, 0, 0, 10, 10);
    chart.JointLayers()->SetControlledBy(TJointLayers::Axis::X, 3, 1);
    chart.SetMouseAction(maZoomDrag);
    drag({{400, 300}, {600, 500}});
    EXPECT_EQ(chart.layerRangeX(1), Range(125, 875));
    EXPECT_EQ(chart.layerRangeX(2), Range(0, 10));
    EXPECT_EQ(chart.layerRangeY(2), Range(0, 10));
    EXPECT_EQ(chart.layerRangeX(3), Range(125, 875)); // follows layer 1
    EXPECT_EQ(chart.layerRangeY(3), Range(0, 1));
}

// --- Crosshairs and text labels -------------------------------------------------------------

TEST_F(ChartMouse, CrossHairDragMovesTheNearestLineOrCrossHairOne)
{
    chart.SetMouseAction(maDragCrossH);
    std::vector<TCrossHair *> moved;
    chart.OnCrossHairMove = [&](QObject *, TCrossHair *hair) { moved.push_back(hair); };

    // All four off: crosshair 1 is dragged, on its own layer's mapping.
    drag({{400, 300}, {500, 200}});
    EXPECT_EQ(moved, std::vector<TCrossHair *>({chart.CrossHair(1)}));
    EXPECT_EQ(chart.CrossHair(1)->PosX(), world(1, {500, 200}).x());
    EXPECT_EQ(chart.CrossHair(1)->PosY(), world(1, {500, 200}).y());
    release({500, 200});
    move({500, 200});

    // A vertical line competes with its x distance, a horizontal one with its y distance.
    chart.SetLayerRange(2, 0, 0, 10, 10);
    chart.SetLayerRange(3, 0, 0, 10, 10);
    chart.CrossHair(2)->SetMode(chVert);
    chart.CrossHair(2)->SetPosX(world(2, {600, 0}).x());
    chart.CrossHair(3)->SetMode(chHoriz);
    chart.CrossHair(3)->SetPosY(world(3, {0, 150}).y());
    moved.clear();
    drag({{590, 500}, {620, 510}}); // 10 pixels from 2, 350 from 3
    EXPECT_EQ(moved, std::vector<TCrossHair *>({chart.CrossHair(2)}));
    EXPECT_EQ(chart.CrossHair(2)->PosX(), world(2, {620, 510}).x());
    EXPECT_EQ(chart.CrossHair(1)->PosX(), world(1, {500, 200}).x());
    release({620, 510});
    move({620, 510});

    moved.clear();
    drag({{300, 160}, {300, 170}}); // 10 pixels from 3, 300 from 2
    EXPECT_EQ(moved, std::vector<TCrossHair *>({chart.CrossHair(3)}));
    // A dragged crosshair may go anywhere on the control.
    move({5, 590});
    EXPECT_EQ(chart.CrossHair(3)->PosY(), world(3, {5, 590}).y());
}

TEST_F(ChartMouse, TextLabelDragTakesPixelsOrWorldByAttachment)
{
    chart.SetMouseAction(maDragLabel);
    TTextLabel *pixels = chart.TextLabel(5);
    pixels->SetMode(tlsimple);
    pixels->SetVisible(true);
    pixels->SetAttachToData(tlamNone);
    pixels->SetPosX(300);
    pixels->SetPosY(100);
    TTextLabel *data = chart.TextLabel(6);
    data->SetMode(tlBox);
    data->SetVisible(true);
    data->SetPosX(world(1, {600, 400}).x());
    data->SetPosY(world(1, {600, 400}).y());
    TTextLabel *off = chart.TextLabel(7); // nearest, but off
    off->SetAttachToData(tlamNone);
    off->SetPosX(110);
    off->SetPosY(100);
    TTextLabel *hidden = chart.TextLabel(8); // nearest, but invisible
    hidden->SetMode(tlsimple);
    hidden->SetAttachToData(tlamNone);
    hidden->SetPosX(110);
    hidden->SetPosY(100);
    std::vector<TTextLabel *> moved;
    chart.OnTextLabelMove = [&](QObject *, TTextLabel *label) { moved.push_back(label); };

    drag({{110, 100}, {200, 150}});
    EXPECT_EQ(moved, std::vector<TTextLabel *>({pixels}));
    EXPECT_EQ(pixels->PosX(), 200);
    EXPECT_EQ(pixels->PosY(), 150);
    release({200, 150});
    move({200, 150});

    data->SetAttachToData(tlamXOnly);
    data->SetPosY(400); // a pixel now
    drag({{590, 410}, {650, 300}});
    EXPECT_EQ(moved.back(), data);
    EXPECT_EQ(data->PosX(), world(1, {650, 300}).x());
    EXPECT_EQ(data->PosY(), 300);
    release({650, 300});
    move({650, 300});

    // With no label shown, label 1 is dragged.
    pixels->SetVisible(false);
    data->SetMode(tlOff);
    drag({{400, 300}, {420, 320}});
    EXPECT_EQ(moved.back(), chart.TextLabel(1));
    EXPECT_EQ(chart.TextLabel(1)->PosX(), world(1, {420, 320}).x());
}

// --- Reports and cursors ------------------------------------------------------------------

TEST_F(ChartMouse, MovesAreReportedInWorldCoordinatesOfTheActiveLayer)
{
    struct Report
    {
        bool inChart;
        TShiftState shift;
        double x, y;
    };
    std::vector<Report> reports;
    chart.OnMouseMoveInChart = [&](QObject *, bool inChart, TShiftState shift, double x, double y) {
        reports.push_back({inChart, shift, x, y});
    };
    move({50, 560});
    press({780, 20});
    move({780, 20});
    release({780, 20});
    move({10, 590});
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_TRUE(reports[0].inChart);
    EXPECT_DOUBLE_EQ(reports[0].x, 0);
    EXPECT_DOUBLE_EQ(reports[0].y, 0);
    EXPECT_FALSE(reports[0].shift & Input::ssLeft);
    EXPECT_TRUE(reports[1].inChart);
    EXPECT_DOUBLE_EQ(reports[1].x, 1000);
    EXPECT_DOUBLE_EQ(reports[1].y, 100);
    EXPECT_TRUE(reports[1].shift & Input::ssLeft);
    EXPECT_FALSE(reports[2].inChart);
    EXPECT_LT(reports[2].x, 0); // reported outside the plot as well

    chart.SetLayerRange(2, 0, 0, 10, 10);
    chart.SetActiveLayer(2);
    move({780, 20});
    EXPECT_DOUBLE_EQ(reports.back().x, 10);
}

TEST_F(ChartMouse, EnterAndLeaveAreReported)
{
    QStringList log;
    chart.OnMouseEnter = [&](QObject *sender) {
        EXPECT_EQ(sender, &chart);
        log << "enter";
    };
    chart.OnMouseLeave = [&](QObject *) { log << "leave"; };
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(chart.mapToGlobal(QPoint(5, 5))));
    QCoreApplication::sendEvent(&chart, &enter);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&chart, &leave);
    EXPECT_EQ(log, QStringList({"enter", "leave"}));
}

TEST_F(ChartMouse, TheApplicationCursorShowsTheModeInsideThePlot)
{
    const auto shown = []() -> const QCursor * { return QGuiApplication::overrideCursor(); };
    chart.SetMouseAction(maZoomDrag);
    move({400, 300});
    EXPECT_EQ(shown(), nullptr); // MouseCursorFixed: never the chart's own cursors

    chart.SetMouseCursorFixed(false);
    move({400, 300});
    ASSERT_NE(shown(), nullptr);
    EXPECT_EQ(shown()->shape(), Qt::BitmapCursor);
    EXPECT_EQ(shown()->pixmap().cacheKey(),
              Screen::cursor(TCustomRChart::CursorZoomDrag).pixmap().cacheKey());
    move({10, 300});
    EXPECT_EQ(shown(), nullptr);

    chart.SetMouseAction(maNone);
    move({400, 300});
    ASSERT_NE(shown(), nullptr);
    EXPECT_EQ(shown()->shape(), Qt::CrossCursor);
    chart.SetMouseAction(maZoom); // no cursor of its own: it stays
    move({401, 300});
    ASSERT_NE(shown(), nullptr);
    EXPECT_EQ(shown()->shape(), Qt::CrossCursor);
    chart.SetMouseAction(maPanHoriz);
    move({402, 300});
    ASSERT_NE(shown(), nullptr);
    EXPECT_EQ(shown()->pixmap().cacheKey(),
              Screen::cursor(TCustomRChart::CursorHand).pixmap().cacheKey());

    // Leaving the control takes the chart's cursor away.
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&chart, &leave);
    EXPECT_EQ(shown(), nullptr);
    EXPECT_EQ(Screen::applicationCursor(), Screen::crDefault);
}

TEST_F(ChartMouse, ModesWithoutEffectChangeNoRange)
{
    for (TMouseActMode mode : {maNone, maZoom, maRotate, maRotAndZoom, maRotXOnly, maRotZOnly}) {
        chart.SetMouseAction(mode);
        drag({{400, 300}, {600, 500}});
        release({600, 500});
        EXPECT_EQ(chart.layerRangeX(1), Range(0, 1000)) << mode;
        EXPECT_FALSE(chart.isMouseDragging()) << mode;
        EXPECT_FALSE(chart.isDrawingRectangle()) << mode;
    }
    EXPECT_EQ(zoomPans, 0);
}

// Mouse positions are design pixels: on a dense screen the same moves give the same ranges and
// reports, and the crosshair is drawn on the design pixels where the mouse left it.
TEST_F(ChartMouse, MouseHitsTheSameDesignPixelsAtRatios1_5And2)
{
    chart.SetChartColor(clBlack);
    chart.CrossHair(1)->SetColor(clRed);
    chart.CrossHair(1)->SetMode(chBoth);
    std::vector<QPointF> reports;
    chart.OnMouseMoveInChart = [&](QObject *, bool, TShiftState, double x, double y) {
        reports.push_back({x, y});
    };
    for (double ratio : {1.5, 2.0}) {
        setPixelRatioOverride(ratio);
        chart.SetLayerRange(1, 0, 0, 1000, 100);
        chart.grab(); // paints at the ratio
        EXPECT_EQ(chart.fullImage().size(), QSize(int(800 * ratio), int(600 * ratio)));
        chart.SetMouseAction(maZoomDrag);
        drag({{400, 300}, {600, 450}});
        release({600, 450});
        move({780, 20}); // ends the drag
        EXPECT_EQ(chart.layerRangeX(1), Range(125, 875)) << ratio;
        EXPECT_EQ(chart.layerRangeY(1), Range(-12.5, 112.5)) << ratio;
        EXPECT_EQ(reports.back(), QPointF(875, 112.5)) << ratio;

        chart.SetMouseAction(maDragCrossH);
        drag({{400, 300}, {517, 233}});
        release({517, 233});
        move({517, 233});
        chart.grab();
        QImage image = chart.fullImage();
        Canvas canvas(&image);
        std::vector<TColor> colours;
        for (QPoint p : {QPoint(516, 400), QPoint(517, 400), QPoint(518, 400), QPoint(300, 232),
                         QPoint(300, 233)})
            colours.push_back(canvas.Pixel(p.x(), p.y()));
        EXPECT_EQ(colours, std::vector<TColor>({clBlack, clRed, clBlack, clBlack, clRed})) << ratio;
    }
    setPixelRatioOverride(std::nullopt);
}

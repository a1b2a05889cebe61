// SPDX-License-Identifier: GPL-3.0-or-later
// Composing the chart's picture: the frame step (window colour, shadow styles, caption), the
// data area background (plain, picture in its fill modes, area band), crosshairs, ShowItems
// with and without AutoRedraw, the rendering events, and the main window's scope.

#include "app/CommandLine.h"
#include "app/TfrmExample.h"
#include "app/TraceExport.h"
#include "chart/Zel_rchart.h"
#include "chart_probe.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace {

TColor at(const QImage &image, int x, int y)
{
    if (!image.rect().contains(x, y))
        return clInvalidPixel;
    return fromQColor(image.pixelColor(x, y));
}

// A shown 300 x 200 chart with margins 50, 20, 20, 40 (plot 230 x 140) whose layer 1 maps
// world units one to one onto data pixels.
class PaintTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        chart.resize(300, 200);
        chart.show();
        chart.SetLayerRange(1, 0, 0, 230, 140);
    }

    const QImage &full() const { return chart.fullImage(); }
    const QImage &data() const { return chart.dataImage(); }

    ProbeChart chart;
};

} // namespace

TEST_F(PaintTest, FullPictureHasWindowColourAxesAndTheDataArea)
{
    chart.SetChartColor(clBlack);
    chart.SetWindColor(clWhite);
    EXPECT_EQ(at(full(), 5, 5), clWhite);
    EXPECT_EQ(at(full(), 100, 80), clBlack);
    EXPECT_EQ(at(full(), 50, 80), clBlack); // the data frame on the plot's left edge
    // The x axis of layer 1 draws below the plot: something dark under it.
    bool axis = false;
    for (int x = 50; x < 280 && !axis; ++x)
        for (int y = 161; y < 200 && !axis; ++y)
            axis = at(full(), x, y) != clWhite;
    EXPECT_TRUE(axis);
    EXPECT_EQ(data().size(), QSize(231, 141));
}

TEST_F(PaintTest, CaptionEndsAtThePlotsRightEdge)
{
    chart.SetWindColor(clWhite);
    chart.SetFont(nullptr);
    chart.Font()->SetColor(clRed);
    chart.SetCaption(QStringLiteral("Spectrum"));
    ASSERT_EQ(chart.CaptionAnchorHoriz(), RChart::cahChartRight);
    ASSERT_EQ(chart.CaptionAlignment(), Zel::taRightJustify);
    int right = -1, top = 1000;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 300; ++x)
            if (at(full(), x, y) == clRed)
                right = std::max(right, x), top = std::min(top, y);
    ASSERT_GE(right, 0) << "caption not drawn";
    // The text box ends at x = Width - MarginRight = 280 (exclusive); the last ink lies just
    // inside it.
    EXPECT_LT(right, 280);
    EXPECT_GE(right, 276);
    EXPECT_GE(top, 20 - 16);

    // Other anchors: control left, chart bottom.
    chart.SetCaptionAnchorHoriz(RChart::cahControlLeft);
    chart.SetCaptionAlignment(Zel::taLeftJustify);
    chart.SetCaptionAnchorVert(RChart::cavChartBottom);
    chart.SetCaptionPosX(2);
    chart.SetCaptionPosY(4);
    int left = 1000;
    top = 1000;
    for (int y = 160; y < 200; ++y)
        for (int x = 0; x < 300; ++x)
            if (at(full(), x, y) == clRed)
                left = std::min(left, x), top = std::min(top, y);
    EXPECT_GE(left, 2);
    EXPECT_LE(left, 4);
    EXPECT_GE(top, 164);
}

TEST_F(PaintTest, ShadowStylesDifferInTheirCorners)
{
    chart.SetWindColor(clWhite);
    chart.SetShadowColor(clBlue);
    chart.SetShadowBakColor(clLime);
    chart.SetShadowWidth(8);
    const int W = 300, H = 200, S = 8;
    // ssFlying: the shadow starts S - 1 pixels in; the corner squares keep the back colour.
    EXPECT_EQ(chart.ShadowStyle(), RChart::ssFlying);
    EXPECT_EQ(at(full(), 1, H - S + 1), clLime);
    EXPECT_EQ(at(full(), W - S + 1, 1), clLime);
    EXPECT_EQ(at(full(), W / 2, H - 3), clBlue);
    EXPECT_EQ(at(full(), W - 3, H / 2), clBlue);
    EXPECT_EQ(at(full(), W - S, H / 2), clBlack); // the body's outline
    EXPECT_EQ(at(full(), W / 2, 0), clBlack);

    // ssBox: slanted faces from the corners, outlined in black.
    chart.SetShadowStyle(RChart::ssBox);
    EXPECT_EQ(at(full(), 1, H - S + 1), clBlack);
    EXPECT_EQ(at(full(), W - S + 1, 1), clBlack);
    EXPECT_EQ(at(full(), W / 2, H - 1), clBlack);
    EXPECT_EQ(at(full(), W / 2, H - 3), clBlue);
    EXPECT_EQ(at(full(), 0, H - 2), clLime);
}

TEST_F(PaintTest, MissingBackgroundPictureDrawsThePlainBackgroundAndIsForgotten)
{
    chart.SetChartColor(clSilver);
    chart.BackGroundImg()->SetAreaMode(RChart::bamRect); // not drawn while a name is set
    chart.BackGroundImg()->SetName(QStringLiteral("/no/such/folder/ionograph-missing.bmp"));
    EXPECT_EQ(chart.BackGroundImg()->Name(), QString());
    EXPECT_EQ(at(data(), 100, 70), clSilver);
    EXPECT_EQ(at(data(), 1, 1), clSilver);
}

TEST(BakGndImg, NameKeepsTheDirectoryOnlyWithIncludePath)
{
    TBakGndImg image;
    int changes = 0;
    image.OnChange = [&](QObject *) { ++changes; };
    image.SetName(QStringLiteral("/tmp/pictures/back.bmp"));
    EXPECT_EQ(image.Name(), QStringLiteral("back.bmp"));
    image.SetIncludePath(true);
    image.SetName(QStringLiteral("C:\\data\\back.bmp"));
    EXPECT_EQ(image.Name(), QStringLiteral("C:\\data\\back.bmp"));
    image.SetIncludePath(false);
    EXPECT_EQ(image.Name(), QStringLiteral("back.bmp"));
    EXPECT_EQ(changes, 4);

    TBakGndImg copy;
    copy.SetAreaMode(RChart::bamTop);
    copy.SetAreaColor(clRed);
    image.Assign(copy);
    EXPECT_EQ(image.AreaMode(), RChart::bamTop);
    EXPECT_EQ(image.AreaColor(), clRed);
    EXPECT_EQ(image.Name(), QString());
    EXPECT_EQ(image.FillMode(), RChart::bfStretch);
}

TEST_F(PaintTest, BackgroundPictureFillModes)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.setPixelColor(0, 0, Qt::red);
    picture.setPixelColor(1, 0, Qt::blue);
    picture.setPixelColor(0, 1, Qt::blue);
    picture.setPixelColor(1, 1, Qt::red);
    const QString file = dir.filePath(QStringLiteral("tile.bmp"));
    ASSERT_TRUE(picture.save(file, "BMP"));

    chart.SetChartColor(clWhite);
    TBakGndImg *bg = chart.BackGroundImg();
    bg->SetIncludePath(true);
    bg->SetFillMode(RChart::bfTile);
    bg->SetName(file);
    EXPECT_EQ(bg->Name(), file);
    EXPECT_EQ(at(data(), 100, 70), clRed);
    EXPECT_EQ(at(data(), 101, 70), clBlue);
    EXPECT_EQ(at(data(), 101, 71), clRed);

    bg->SetFillMode(RChart::bfSimple);
    EXPECT_EQ(at(data(), 1, 1), clRed);
    EXPECT_EQ(at(data(), 100, 70), clWhite);

    bg->SetFillMode(RChart::bfStretch);
    EXPECT_EQ(at(data(), 50, 30), clRed);   // upper left quarter
    EXPECT_EQ(at(data(), 180, 30), clBlue); // upper right quarter
    EXPECT_EQ(at(data(), 180, 110), clRed);
}

TEST_F(PaintTest, AreaBandModes)
{
    chart.SetChartColor(clWhite);
    TBakGndImg *bg = chart.BackGroundImg();
    bg->SetAreaColor(clLime);
    bg->SetAreaLeft(100);
    bg->SetAreaRight(150);
    bg->SetAreaTop(100);   // row 40
    bg->SetAreaBottom(50); // row 90
    struct Case
    {
        TBkgAreaMode mode;
        QPoint inside, outside;
    };
    const Case cases[] = {
        {RChart::bamNone, {}, {120, 70}},         {RChart::bamLeft, {99, 70}, {101, 70}},
        {RChart::bamRight, {151, 70}, {149, 70}}, {RChart::bamTop, {20, 39}, {20, 41}},
        {RChart::bamBottom, {20, 91}, {20, 89}},  {RChart::bamVStripe, {120, 5}, {160, 5}},
        {RChart::bamHStripe, {5, 60}, {5, 30}},   {RChart::bamRect, {120, 60}, {120, 30}},
    };
    for (const Case &c : cases) {
        bg->SetAreaMode(c.mode);
        if (c.mode != RChart::bamNone) {
            EXPECT_EQ(at(data(), c.inside.x(), c.inside.y()), clLime) << int(c.mode);
        }
        EXPECT_EQ(at(data(), c.outside.x(), c.outside.y()), clWhite) << int(c.mode);
    }
}

TEST_F(PaintTest, CrossHairsInTheFullPictureAndAfterShowItems)
{
    chart.SetChartColor(clWhite);
    TCrossHair hair;
    hair.SetColor(clRed);
    hair.SetMode(Zel::chBoth);
    hair.SetPosX(100); // control x 150
    hair.SetPosY(40);  // control y 120
    hair.SetLayer(1);
    chart.SetCrossHair(1, &hair);
    EXPECT_EQ(chart.CrossHair(1)->PosX(), 100.0);
    EXPECT_EQ(at(full(), 150, 60), clRed);
    EXPECT_EQ(at(full(), 80, 120), clRed);
    EXPECT_EQ(at(full(), 51, 120), clRed);   // from MarginLeft + 1
    EXPECT_EQ(at(full(), 50, 120), clBlack); // the frame stays
    EXPECT_EQ(at(full(), 280, 120), clBlack);
    EXPECT_EQ(at(full(), 150, 20), clBlack);

    // ShowItems redraws the data area alone: the crosshair is carried in the data image.
    chart.AddMoveTo(0, 0);
    chart.ShowItems();
    EXPECT_EQ(at(data(), 100, 50), clRed);
    EXPECT_EQ(at(full(), 150, 60), clRed);

    // A crosshair on the plot's edge is not drawn.
    chart.CrossHair(1)->SetPosY(0);
    chart.CrossHair(1)->SetMode(Zel::chHoriz);
    EXPECT_EQ(at(full(), 100, 159), clWhite);
    EXPECT_EQ(at(full(), 150, 60), clWhite);
}

TEST_F(PaintTest, ShowItemsRedrawsTheDataAreaOrEverything)
{
    chart.SetChartColor(clBlack);
    chart.SetDataColor(47360);
    const int before = chart.fullRepaints;
    chart.AddMoveTo(0, 70);
    chart.AddLineTo(230, 70);
    chart.ShowItems();
    EXPECT_EQ(chart.fullRepaints, before);
    EXPECT_EQ(at(data(), 100, 70), TColor(47360));
    EXPECT_EQ(at(full(), 150, 90), TColor(47360));

    chart.SetAutoRedraw(false);
    chart.ClearItems();
    chart.AddMoveTo(0, 30);
    chart.AddLineTo(230, 30);
    chart.ShowItems();
    EXPECT_EQ(chart.fullRepaints, before + 1);
    EXPECT_EQ(at(full(), 150, 130), TColor(47360));
    EXPECT_EQ(at(full(), 150, 90), clBlack);
}

// ClearItems does not touch the screen: the full picture keeps the data area drawn last,
// whichever of the two images is read first, while the data image holds the bare area.
TEST_F(PaintTest, ClearItemsLeavesTheLastPictureInTheFullImage)
{
    chart.SetChartColor(clBlack);
    chart.SetDataColor(47360);
    chart.AddMoveTo(0, 70);
    chart.AddLineTo(230, 70);
    chart.ShowItems();
    chart.ClearItems();
    EXPECT_EQ(at(full(), 150, 90), TColor(47360));
    EXPECT_EQ(at(data(), 100, 70), clBlack);

    chart.AddMoveTo(0, 30);
    chart.AddLineTo(230, 30);
    chart.ShowItems();
    chart.ClearItems();
    EXPECT_EQ(at(data(), 100, 110), clBlack); // world y 30
    EXPECT_EQ(at(full(), 150, 130), TColor(47360));
    EXPECT_EQ(at(full(), 150, 90), clBlack);
}

// ShowItems after a display update's range setting draws the data area again whenever that
// can come out differently: the rendering events are raised, and the background picture is
// read from its file again.
TEST_F(PaintTest, ShowItemsRedrawsForRenderingHandlersAndBackgroundPictures)
{
    int before = 0, after = 0;
    chart.OnBeforeRenderData = [&](QObject *, Canvas &, int, int) { ++before; };
    chart.OnDataRendered = [&](QObject *, Canvas &, int, int) { ++after; };
    chart.ClearItems();
    chart.AddMoveTo(0, 70);
    chart.AddLineTo(230, 70);
    chart.SetLayerRange(1, 0, 0, 230, 140);
    EXPECT_EQ(after, 1);
    chart.ShowItems();
    EXPECT_EQ(before, 2);
    EXPECT_EQ(after, 2);
    chart.OnBeforeRenderData = nullptr;
    chart.OnDataRendered = nullptr;

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.fill(Qt::red);
    const QString file = dir.filePath(QStringLiteral("back.bmp"));
    ASSERT_TRUE(picture.save(file, "BMP"));
    chart.SetChartColor(clWhite);
    chart.BackGroundImg()->SetIncludePath(true);
    chart.BackGroundImg()->SetName(file);
    chart.SetLayerRange(1, 0, 0, 230, 140);
    EXPECT_EQ(at(data(), 100, 30), clRed);
    ASSERT_TRUE(QFile::remove(file));
    chart.ShowItems();
    EXPECT_EQ(chart.BackGroundImg()->Name(), QString());
    EXPECT_EQ(at(data(), 100, 30), clWhite);
}

// The display update sets the same window again and again: then only the data area is
// redrawn, and the result must be the picture a full repaint gives.
TEST_F(PaintTest, SettingAnUnchangedRangeRedrawsOnlyTheDataArea)
{
    chart.SetChartColor(clBlack);
    chart.SetDataColor(47360);
    const int before = chart.fullRepaints;
    chart.ClearItems();
    chart.AddMoveTo(0, 70);
    chart.AddLineTo(230, 70);
    chart.SetLayerRange(1, 0, 0, 230, 140);
    EXPECT_EQ(chart.fullRepaints, before);
    EXPECT_EQ(at(full(), 150, 90), TColor(47360));
    const QImage partial = full().copy();
    chart.SetCaption(QString()); // an unchanged setting still repaints everything
    EXPECT_EQ(chart.fullRepaints, before + 1);
    EXPECT_EQ(full(), partial);

    // A moved window repaints the moved axis as well (its labels change), without a full
    // repaint; the moved windows themselves are checked in MovedWindowsRepaintOnlyTheirAxes.
    chart.SetLayerRange(1, 1000, 0, 1230, 140);
    EXPECT_EQ(chart.fullRepaints, before + 1);
    EXPECT_NE(full().copy(0, 160, 300, 40), partial.copy(0, 160, 300, 40));

    // A handler drawing on the axes gets its full repaint every time.
    int rendered = 0;
    chart.OnScalesRendered = [&](QObject *, Canvas &, int, int) { ++rendered; };
    chart.SetLayerRange(1, 1000, 0, 1230, 140);
    EXPECT_EQ(chart.fullRepaints, before + 2);
    EXPECT_EQ(rendered, 1);

    // A pending change of the frame is not lost behind an unchanged range.
    chart.OnScalesRendered = nullptr;
    chart.SetAutoRedraw(false);
    chart.SetWindColor(clRed);
    chart.SetAutoRedraw(true);
    chart.SetLayerRange(1, 1000, 0, 1230, 140);
    EXPECT_EQ(at(full(), 5, 5), clRed);
}

// While a slider is dragged every update moves the window: only the strips of the moved axes
// are drawn again, and the picture must be the one a full repaint gives, whatever else lies
// in those strips (shadow, caption, other axes, wide italic labels) and however the labels'
// widths change.
TEST_F(PaintTest, MovedWindowsRepaintOnlyTheirAxes)
{
    struct Move
    {
        int layer;
        double xLo, yLo, xHi, yHi;
    };
    struct Case
    {
        const char *name;
        std::function<void(TRChart &)> setUp;
        std::vector<Move> moves;
    };
    const std::vector<Move> xMoves = {{1, 1000, 0, 1230, 140},     {1, -5e5, 0, 5e5, 140},
                                      {1, 0.001, 0, 0.0023, 140},  {1, 99990, 0, 100010, 140},
                                      {1, 1e9, 0, 1e9 + 230, 140}, {1, 0, 0, 230, 140}};
    const std::vector<Case> cases = {
        {"x axis", [](TRChart &) {}, xMoves},
        {"y axis",
         [](TRChart &) {},
         {{1, 0, 1000, 230, 1140}, {1, 0, -1e6, 230, 1e6}, {1, 0, 0.5, 230, 0.51}}},
        {"both axes", [](TRChart &) {}, {{1, 10, 10, 20, 20}, {1, -3e4, 5, 3e4, 7}}},
        {"shadow, caption and italic labels",
         [](TRChart &c) {
             c.SetShadowStyle(RChart::ssBox);
             c.SetShadowWidth(6);
             c.SetCaption(QStringLiteral("Ion current"));
             c.SetCaptionAnchorVert(RChart::cavControlBottom);
             c.SetCaptionPosY(-14);
             TFont font;
             font.SetSize(14);
             font.SetStyle(Gfx::fsItalic);
             c.LayerScaleX(1)->SetFont(&font);
             c.LayerScaleY(1)->SetFont(&font);
         },
         xMoves},
        {"second layer's axes, and a layer coupled to the moved one",
         [](TRChart &c) {
             c.SetMarginTop(40);
             c.SetMarginRight(60);
             c.LayerScaleX(2)->SetVisible(true);
             c.LayerScaleY(2)->SetVisible(true);
             c.SetLayerRange(2, 5, 5, 50, 50);
             c.JointLayers()->SetControlledBy(TJointLayers::Axis::X, 3, 1);
             c.LayerScaleX(3)->SetVisible(true);
         },
         {{2, 500, 5, 50000, 50}, {2, 5, -8, 50, 8}, {1, 1000, 0, 1230, 140}}},
        {"logarithmic x axis",
         [](TRChart &c) { c.LayerScaleX(1)->SetLogarithmic(true); },
         {{1, 1, 0, 1000, 140}, {1, 10, 0, 1e5, 140}, {1, 2, 0, 20, 140}}},
    };
    for (const Case &test : cases) {
        SCOPED_TRACE(test.name);
        ProbeChart c;
        c.resize(300, 200);
        c.show();
        c.SetLayerRange(1, 0, 0, 230, 140);
        test.setUp(c);
        c.SetCaption(c.Caption()); // a full repaint after the set-up
        for (const Move &move : test.moves) {
            const int repaints = c.fullRepaints;
            c.SetLayerRange(move.layer, move.xLo, move.yLo, move.xHi, move.yHi);
            EXPECT_EQ(c.fullRepaints, repaints) << "window " << move.xLo << " " << move.yLo;
            const QImage moved = c.fullImage().copy();
            c.SetCaption(c.Caption());
            EXPECT_TRUE(c.fullImage() == moved) << "window " << move.xLo << " " << move.yLo;
        }
    }
}

// After a data-only redraw the screen is painted from the data image for the plot and from the
// full image for the margins; reading the full image afterwards must give the same picture.
TEST_F(PaintTest, TheScreenShowsWhatTheFullPictureHolds)
{
    chart.SetChartColor(clBlack);
    chart.SetDataColor(47360);
    chart.CrossHair(1)->SetColor(clRed);
    chart.CrossHair(1)->SetPosX(40);
    chart.CrossHair(1)->SetMode(Zel::chVert);
    chart.AddMoveTo(0, 70);
    chart.AddLineTo(230, 70);
    chart.ShowItems();
    const QImage screen = chart.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(at(screen, 150, 90), TColor(47360));
    EXPECT_EQ(at(screen, 90, 40), clRed); // the crosshair at x 40 of the plot
    EXPECT_EQ(screen, full());
}

TEST_F(PaintTest, SettersRepaintOnlyWithAutoRedraw)
{
    chart.SetAutoRedraw(false);
    const int before = chart.fullRepaints;
    chart.SetGridStyle(RChart::gsLines);
    chart.SetShadowStyle(RChart::ssBox);
    chart.SetCaption(QStringLiteral("x"));
    chart.CrossHair(2)->SetMode(Zel::chBoth);
    chart.TextLabel(5)->SetCaption(QStringLiteral("y"));
    chart.BackGroundImg()->SetAreaMode(RChart::bamLeft);
    EXPECT_EQ(chart.fullRepaints, before);
    chart.SetAutoRedraw(true);
    chart.SetTextBkColor(clRed);
    chart.SetGridDx(-4); // refused: no repaint either
    EXPECT_EQ(chart.fullRepaints, before + 1);
}

TEST_F(PaintTest, ScalesRenderedEventSeesTheFullPicture)
{
    int calls = 0, top = -1, left = -1;
    chart.OnScalesRendered = [&](QObject *sender, Canvas &canvas, int t, int l) {
        EXPECT_EQ(sender, &chart);
        EXPECT_EQ(canvas.width(), 300);
        ++calls, top = t, left = l;
        canvas.SetPixel(2, 2, clRed);
    };
    chart.SetWindColor(clWhite);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(top, 0);
    EXPECT_EQ(left, 0);
    EXPECT_EQ(at(full(), 2, 2), clRed);
}

TEST_F(PaintTest, CreationDefaults)
{
    EXPECT_EQ(chart.ChartFrameColor(), clBlack);
    EXPECT_EQ(chart.ShadowColor(), clGrayText);
    EXPECT_EQ(chart.ShadowBakColor(), clBtnFace);
    EXPECT_EQ(chart.CaptionPosY(), -16);
    EXPECT_EQ(chart.CaptionAnchorVert(), RChart::cavChartTop);
    EXPECT_EQ(chart.GridStyle(), RChart::gsNone);
    EXPECT_EQ(chart.TextBkStyle(), RChart::tbClear);
    EXPECT_EQ(chart.TextBkColor(), clWhite);
    EXPECT_EQ(chart.TextAlignment(), Zel::taCenter);
    for (int n = 1; n <= 4; ++n)
        EXPECT_EQ(chart.CrossHair(n)->Layer(), n);
    EXPECT_EQ(chart.CrossHair(5), nullptr);
    const TTextLabel *label = chart.TextLabel(30);
    EXPECT_EQ(label->Mode(), Zel::tlOff);
    EXPECT_FALSE(label->Visible());
    EXPECT_EQ(label->AttachToData(), Zel::tlamBoth);
    EXPECT_EQ(label->ShadowDx(), 3);
    EXPECT_EQ(label->ColorBkg(), clWhite);
    EXPECT_EQ(label->Font()->data(), chart.Font()->data());
    EXPECT_EQ(chart.BackGroundImg()->AreaColor(), TColor(14540253));
}

// --- The main window's scope --------------------------------------------------------------

namespace {

struct Snapshot
{
    QImage image;
    QRect plot;    // inside the data frame, in window pixels
    QPoint origin; // the chart's top-left corner in window pixels
};

Snapshot snapshotOf(TfrmExample &window)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("scope.png"));
    QString error;
    EXPECT_TRUE(writeSnapshot(window, window.size(), file, &error)) << error.toStdString();
    Snapshot shot;
    shot.image = QImage(file);
    const TRChart &scope = *window.RCScope;
    shot.origin = scope.mapTo(&window, QPoint(0, 0));
    shot.plot =
        QRect(shot.origin.x() + scope.MarginLeft() + 1, shot.origin.y() + scope.MarginTop() + 1,
              scope.plotWidth() - 1, scope.plotHeight() - 1);
    return shot;
}

// The highest green pixel (smallest row) in the columns of world x +- 2 pixels, and the
// number of green pixels in the tallest of those columns.
std::pair<int, int> greenAt(const Snapshot &shot, const TRChart &scope, double x)
{
    int px = 0, py = 0;
    scope.WorldToPixel(1, x, 0, px, py);
    int top = 100000, tallest = 0;
    for (int c = px - 2; c <= px + 2; ++c) {
        int run = 0;
        for (int y = shot.plot.top(); y <= shot.plot.bottom(); ++y)
            if (fromQColor(shot.image.pixelColor(shot.origin.x() + c, y)) == TColor(47360)) {
                top = std::min(top, y);
                ++run;
            }
        tallest = std::max(tallest, run);
    }
    return {top, tallest};
}

} // namespace

TEST(ScopeSnapshot, PlotIsBlackWithTheGreenArgonLine)
{
    TfrmExample window;
    window.UpdateDisplay();
    const Snapshot shot = snapshotOf(window);
    ASSERT_FALSE(shot.image.isNull());
    const TRChart &scope = *window.RCScope;
    const auto [xLo, xHi] = scope.layerRangeX(1);
    EXPECT_DOUBLE_EQ(xLo, 38);
    EXPECT_DOUBLE_EQ(xHi, 46);

    int black = 0, green = 0, other = 0;
    for (int y = shot.plot.top(); y <= shot.plot.bottom(); ++y)
        for (int x = shot.plot.left(); x <= shot.plot.right(); ++x) {
            const TColor c = fromQColor(shot.image.pixelColor(x, y));
            black += c == clBlack;
            green += c == TColor(47360);
            other += c != clBlack && c != TColor(47360);
        }
    EXPECT_GT(black, shot.plot.width() * shot.plot.height() * 9 / 10);
    EXPECT_GT(green, shot.plot.width() * 9 / 10); // the trace runs across the plot
    EXPECT_EQ(other, 0);
    // On the full scale of 100 the argon line (0.96) stands a few pixels above the trace's
    // base line; between the lines the trace stays on it.
    const int argonTop = greenAt(shot, scope, 39.96).first;
    const int quietTop = greenAt(shot, scope, 42.0).first;
    EXPECT_LE(argonTop, quietTop - 2);
}

TEST(ScopeSnapshot, AtHighestGainTheArgonLineFillsThePlot)
{
    TfrmExample window;
    window.FormShow(); // the tour's first step, which the options then override, as at start-up
    CommandLineOptions options;
    options.amplification = 100; // full scale 1
    applySliderOptions(options, window);
    window.UpdateDisplay();
    const Snapshot shot = snapshotOf(window);
    const TRChart &scope = *window.RCScope;
    // 0.96 on a scale from -0.2 to 1: the peak reaches near the top, and its flanks draw
    // long green runs in the columns it rises through.
    const auto [argonTop, argonRun] = greenAt(shot, scope, 39.96);
    EXPECT_LT(argonTop, shot.plot.top() + shot.plot.height() / 8);
    EXPECT_GT(argonRun, shot.plot.height() / 4);
    const auto [quietTop, quietRun] = greenAt(shot, scope, 42.0);
    EXPECT_GT(quietTop, shot.plot.bottom() - shot.plot.height() / 4);
    EXPECT_LT(quietRun, shot.plot.height() / 8);
}

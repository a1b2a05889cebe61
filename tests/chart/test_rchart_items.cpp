// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing the data area: item kinds, polyline batches, the pixel limit, filters, the grid rules
// and the text labels, checked pixel by pixel on an image of the data area's size.

#include "chart/Zel_rchart.h"
#include "platform/Canvas.h"

#include <QImage>
#include <array>
#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr TColor kRed = clRed;
constexpr TColor kBlue = clBlue;

// A 300 x 200 chart with margins 50, 20, 20, 40: the plot is 230 x 140 pixels and layer 1 maps
// world units one to one onto data-image pixels (x to the right, y upwards from the bottom).
class ItemsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        chart.resize(300, 200);
        chart.SetLayerRange(1, 0, 0, 230, 140);
        chart.SetChartColor(clWhite);
        image = QImage(chart.plotWidth() + 1, chart.plotHeight() + 1, QImage::Format_RGB32);
        image.fill(Qt::white);
    }

    // Runs DrawItems into the test image.
    void draw(bool monochrome = false, bool noGrid = false, int DX = 0, int DY = 0)
    {
        Canvas canvas(&image);
        chart.DrawItems(canvas, DX, DY, monochrome, noGrid);
    }

    TColor pixel(int x, int y) const
    {
        if (!image.rect().contains(x, y))
            return clInvalidPixel;
        return fromQColor(image.pixelColor(x, y));
    }

    // World y of a data-image row.
    static double wy(int row) { return 140 - row; }

    int countColumnsWith(TColor color, int row) const
    {
        int n = 0;
        for (int x = 0; x < image.width(); ++x)
            n += pixel(x, row) == color;
        return n;
    }

    TRChart chart;
    QImage image;
};

} // namespace

// --- Polylines ----------------------------------------------------------------------------

TEST_F(ItemsTest, TwoThousandOneItemsDrawElevenChainedPolylines)
{
    std::vector<std::vector<QPoint>> batches;
    chart.polylineDrawn = [&](std::span<const QPoint> points) {
        batches.emplace_back(points.begin(), points.end());
    };
    chart.AddMoveTo(0, 70);
    for (int i = 1; i <= 2000; ++i)
        chart.AddLineTo(i * 0.1, 70 + (i % 7));
    draw();

    ASSERT_EQ(batches.size(), 11u);
    for (int b = 0; b < 10; ++b)
        EXPECT_EQ(batches[b].size(), 200u) << "batch " << b;
    EXPECT_EQ(batches[10].size(), 11u);
    EXPECT_EQ(batches[0].front(), QPoint(0, 70));
    for (std::size_t b = 1; b < batches.size(); ++b)
        EXPECT_EQ(batches[b].front(), batches[b - 1].back()) << "batch " << b;
    // 1 + 10 * 199 + 10 points: every item's point once, in order.
    EXPECT_EQ(batches[10].back(), QPoint(200, 70 - (2000 % 7)));
}

TEST_F(ItemsTest, AttributeChangeAndOtherKindsEndTheBatch)
{
    std::vector<std::size_t> sizes;
    chart.polylineDrawn = [&](std::span<const QPoint> points) { sizes.push_back(points.size()); };
    chart.AddMoveTo(10, 10);
    chart.AddLineTo(20, 10);
    chart.AddLineTo(30, 10);
    chart.SetDataColor(kRed);
    chart.AddLineTo(40, 10); // new colour: the first run is drawn first
    chart.AddMark(50, 50, 0);
    chart.AddLineTo(60, 10); // starts at the current position (40, 10)
    draw();
    EXPECT_EQ(sizes, (std::vector<std::size_t>{3, 2, 2}));
    EXPECT_EQ(pixel(25, 130), clBlack);
    EXPECT_EQ(pixel(35, 130), kRed);
    EXPECT_EQ(pixel(50, 90), kRed); // the mark
    EXPECT_EQ(pixel(50, 130), kRed);
    EXPECT_EQ(pixel(60, 130), clWhite); // end point left out
}

TEST_F(ItemsTest, LineToOnAnEmptyStoreStartsAtTheDataAreaCorner)
{
    chart.SetDataColor(kRed);
    chart.AddLineTo(0, wy(10)); // straight down the left edge from (0, 0)
    draw();
    // The frame covers column 0; the line ends just above row 10 and the frame is drawn over
    // it, so look one pixel inside with a diagonal instead.
    chart.ClearItems();
    chart.AddLineTo(10, wy(10));
    image.fill(Qt::white);
    draw();
    EXPECT_EQ(pixel(5, 5), kRed);
    EXPECT_EQ(pixel(9, 9), kRed);
}

TEST_F(ItemsTest, FarAwayPointsAreLimitedToThirtyThousandPixels)
{
    std::vector<QPoint> points;
    chart.polylineDrawn = [&](std::span<const QPoint> p) { points.assign(p.begin(), p.end()); };
    chart.SetDataColor(kRed);
    chart.AddMoveTo(10, 70);
    chart.AddLineTo(1e12, 70);
    draw();
    ASSERT_EQ(points.size(), 2u);
    // Control pixel 30000 less the left margin.
    EXPECT_EQ(points[1], QPoint(30000 - 50, 70));
    EXPECT_EQ(pixel(229, 70), kRed);
    EXPECT_EQ(pixel(120, 70), kRed);

    chart.ClearItems();
    chart.AddMoveTo(-1e300, -1e300);
    chart.AddLineTo(1e300, 1e300);
    draw();
    EXPECT_EQ(points[0], QPoint(-30000 - 50, 30000 - 20));
    EXPECT_EQ(points[1], QPoint(30000 - 50, -30000 - 20));
}

TEST_F(ItemsTest, ItemPixelsAgreeWithWorldToPixelIncludingHalves)
{
    std::vector<QPoint> points;
    chart.polylineDrawn = [&](std::span<const QPoint> p) {
        points.insert(points.end(), p.begin(), p.end());
    };
    std::vector<std::pair<double, double>> world = {
        {10.5, 20.5}, {11.5, 21.5}, {-0.5, 0.5}, {229.5, 139.5}, {1e-9, 70}};
    for (int i = 0; i < 150; ++i)
        world.emplace_back(i * 1.537 - 3, 140 - i * 0.931);
    chart.AddMoveTo(0, 0);
    for (const auto &[x, y] : world)
        chart.AddLineTo(x, y);
    draw();
    ASSERT_EQ(points.size(), world.size() + 1);
    for (std::size_t i = 0; i < world.size(); ++i) {
        int px = 0, py = 0;
        chart.WorldToPixel(1, world[i].first, world[i].second, px, py);
        EXPECT_EQ(points[i + 1], QPoint(px - 50, py - 20)) << world[i].first;
    }
    // Halves go to the even neighbour: 60.5 -> 60, 61.5 -> 62 in control pixels.
    EXPECT_EQ(points[1].x(), 10);
    EXPECT_EQ(points[2].x(), 12);

    // A mapping with large terms (masses on a narrow window) agrees as well.
    points.clear();
    chart.ClearItems();
    chart.SetLayerRange(1, 38, -0.2, 46, 100);
    chart.AddMoveTo(0, 0);
    for (int i = 1; i <= 190; ++i)
        chart.AddLineTo(38 + i * 0.004 * 10.5, i * 0.5 - 0.2);
    draw();
    ASSERT_EQ(points.size(), 191u);
    for (int i = 1; i <= 190; ++i) {
        int px = 0, py = 0;
        chart.WorldToPixel(1, 38 + i * 0.004 * 10.5, i * 0.5 - 0.2, px, py);
        EXPECT_EQ(points[std::size_t(i)], QPoint(px - 50, py - 20)) << i;
    }
}

TEST_F(ItemsTest, HugeRelativeOffsetsAndLabelAnchorsStayWithinTheLimit)
{
    chart.SetDataColor(kRed);
    chart.AddMoveTo(10, wy(70));
    chart.AddMoveRel(2000000000, 0);
    chart.AddMoveRel(2000000000, 0); // would leave the int range without the limit
    chart.AddMoveRel(-30000, 0);     // back from +30000 to 0
    chart.AddLineRel(2000000000, 0); // a line from x 0 to the limit, through the whole row
    TTextLabel *label = chart.TextLabel(3);
    label->SetAttachToData(Zel::tlamNone);
    label->SetPosX(1e300);
    label->SetPosY(-1e300);
    label->SetCaption(QStringLiteral("far"));
    label->SetMode(Zel::tlBox);
    label->SetVisible(true);
    draw();
    EXPECT_EQ(pixel(1, 70), kRed);
    EXPECT_EQ(pixel(229, 70), kRed);
}

// --- Item kinds ---------------------------------------------------------------------------

TEST_F(ItemsTest, RectangleCoversBothCornersAndCollapsesToOnePixel)
{
    chart.SetDataColor(kRed);
    chart.SetFillColor(kBlue);
    chart.AddRect(10, wy(10), 20, wy(20));
    chart.AddRect(100, wy(100), 100, wy(100));
    draw();
    EXPECT_EQ(pixel(10, 10), kRed);
    EXPECT_EQ(pixel(20, 20), kRed); // both corners inside
    EXPECT_EQ(pixel(15, 15), kBlue);
    EXPECT_EQ(pixel(21, 15), clWhite);
    EXPECT_EQ(pixel(100, 100), kRed);
    EXPECT_EQ(pixel(101, 100), clWhite);
}

TEST_F(ItemsTest, TransparentRectangleAndEllipseLeaveTheInterior)
{
    chart.SetDataColor(kRed);
    chart.SetFillColor(kBlue);
    chart.AddRect(10, wy(10), 20, wy(20), true);
    chart.AddEllipse(60, wy(60), 10, 5);
    draw();
    EXPECT_EQ(pixel(10, 15), kRed);
    EXPECT_EQ(pixel(15, 15), clWhite);
    // Ellipse inscribed in (50, 55)..(70, 65), both inclusive.
    EXPECT_EQ(pixel(60, 60), kBlue);
    EXPECT_EQ(pixel(50, 60), kRed);
    EXPECT_EQ(pixel(70, 60), kRed);
    EXPECT_EQ(pixel(60, 55), kRed);
    EXPECT_EQ(pixel(60, 65), kRed);
    EXPECT_EQ(pixel(50, 55), clWhite);
}

TEST_F(ItemsTest, LineLeavesOutItsEndWhileLineRelIncludesIt)
{
    chart.SetDataColor(kRed);
    chart.AddLine(10, wy(10), 20, wy(10));
    chart.AddMoveTo(10, wy(30));
    chart.AddLineRel(10, 0);
    draw();
    EXPECT_EQ(pixel(10, 10), kRed);
    EXPECT_EQ(pixel(19, 10), kRed);
    EXPECT_EQ(pixel(20, 10), clWhite);
    EXPECT_EQ(pixel(10, 30), kRed);
    EXPECT_EQ(pixel(20, 30), kRed);
    EXPECT_EQ(pixel(21, 30), clWhite);
}

TEST_F(ItemsTest, LineRelMovesThePenButNotTheStartOfTheNextPolyline)
{
    chart.SetDataColor(kRed);
    chart.AddMoveTo(10, wy(50));
    chart.AddLineRel(0, 20);     // pen ends at (10, 70)
    chart.AddMoveRel(5, 0);      // from the pen: (15, 70)
    chart.AddLineTo(40, wy(70)); // from the current position (15, 70)
    chart.AddLineRel(0, -20);    // flushes to (40, 70), then up to (40, 50) inclusive
    draw();
    EXPECT_EQ(pixel(10, 60), kRed);
    EXPECT_EQ(pixel(12, 70), clWhite);
    EXPECT_EQ(pixel(15, 70), kRed);
    EXPECT_EQ(pixel(39, 70), kRed);
    EXPECT_EQ(pixel(40, 50), kRed);
}

TEST_F(ItemsTest, BoxIsSizedInPixelsAroundItsCentre)
{
    chart.SetDataColor(kRed);
    chart.SetFillColor(kBlue);
    chart.AddBox(100, wy(50), 3, 2);
    draw();
    EXPECT_EQ(pixel(97, 48), kRed);
    EXPECT_EQ(pixel(103, 52), kRed);
    EXPECT_EQ(pixel(100, 50), kBlue);
    EXPECT_EQ(pixel(104, 50), clWhite);
    EXPECT_EQ(pixel(100, 53), clWhite);
}

TEST_F(ItemsTest, FramedRectangleEdgesFollowTheFrameStyle)
{
    chart.SetFillColor(clSilver);
    chart.AddFramedRect(10, wy(40), 40, wy(10), Zel::fsLowered, kRed, kBlue);
    chart.AddFramedRect(60, wy(40), 90, wy(10), Zel::fsRaised, kRed, kBlue);
    draw();
    // fsLowered: left and top in the first colour, right and bottom in the second.
    EXPECT_EQ(pixel(10, 25), kRed);
    EXPECT_EQ(pixel(25, 10), kRed);
    EXPECT_EQ(pixel(40, 25), kBlue);
    EXPECT_EQ(pixel(25, 40), kBlue);
    EXPECT_EQ(pixel(25, 25), clSilver);
    // fsRaised: exchanged.
    EXPECT_EQ(pixel(60, 25), kBlue);
    EXPECT_EQ(pixel(90, 25), kRed);
}

TEST_F(ItemsTest, ArrowHeadPointsAlongTheLine)
{
    chart.SetDataColor(kRed);
    chart.SetFillColor(kBlue);
    chart.AddArrow(20, wy(50), 80, wy(50), 10, false);
    chart.AddArrow(20, wy(100), 80, wy(100), 10, true);
    draw();
    EXPECT_EQ(pixel(50, 50), kRed);
    // Closed head: a triangle behind the tip, barbs at (80 - 9, 50 -+ 3).
    EXPECT_EQ(pixel(74, 50), kBlue);
    EXPECT_EQ(pixel(71, 47), kRed);
    EXPECT_EQ(pixel(71, 53), kRed);
    EXPECT_EQ(pixel(85, 50), clWhite);
    // Open head: only the barbs.
    EXPECT_EQ(pixel(75, 98), kRed);
    EXPECT_EQ(pixel(74, 100), kRed); // the shaft
    EXPECT_NE(pixel(74, 99), kBlue);
}

TEST_F(ItemsTest, VerticalArrowHeadsPointAlongTheShaftLikeTheirNeighbours)
{
    chart.SetFillColor(kBlue);
    // Down and up the screen: a row inside the head, a row past the tip.
    for (const auto &[from, to, inside, beyond] : {std::array{20, 80, 76, 85}, {80, 20, 24, 15}})
        for (int x2 : {100, 101}) { // exactly vertical, and one pixel off
            chart.ClearItems();
            image.fill(Qt::white);
            chart.AddArrow(100, wy(from), x2, wy(to), 10, false);
            draw();
            EXPECT_EQ(pixel(100, inside), kBlue) << to << " x2 " << x2;
            EXPECT_EQ(pixel(100, beyond), clWhite) << to << " x2 " << x2;
        }
}

TEST_F(ItemsTest, TextIsCentredVerticallyOnItsPointAndAlignedByMode)
{
    chart.SetDataColor(kRed);
    chart.AddText(100, wy(50), QStringLiteral("WWW"), 10, Zel::taRightJustify);
    draw();
    int minX = 1000, maxX = -1, minY = 1000, maxY = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (pixel(x, y) == kRed) {
                minX = std::min(minX, x), maxX = std::max(maxX, x);
                minY = std::min(minY, y), maxY = std::max(maxY, y);
            }
    ASSERT_GE(maxX, 0) << "no text drawn";
    EXPECT_LT(maxX, 100); // right-aligned: the text ends left of the point
    EXPECT_GT(maxX, 90);
    EXPECT_LT(minY, 50);
    EXPECT_GT(maxY, 45);
    EXPECT_LT(maxY, 60);
}

TEST_F(ItemsTest, MarkUsesTheMarkerShapes)
{
    chart.SetDataColor(kRed);
    chart.AddMark(100, wy(50), 9); // filled 7 x 7 square
    draw();
    EXPECT_EQ(pixel(97, 47), kRed);
    EXPECT_EQ(pixel(103, 53), kRed);
    EXPECT_EQ(pixel(104, 50), clWhite);
}

// Marks and text items look the same whatever was drawn before them.
TEST_F(ItemsTest, MarksTakeTheSymbolColourAndFillWhateverCameBefore)
{
    chart.SetFillColor(kBlue);
    chart.AddRect(10, wy(10), 20, wy(20)); // leaves a solid blue brush
    chart.SetDataColor(kRed);
    chart.AddMark(100, wy(50), 'W');          // red, with nothing behind it
    chart.AddEllipse(30, wy(30), 5, 5, true); // leaves a clear brush
    chart.AddMark(150, wy(50), 9);            // still a filled square
    draw();
    int red = 0, blue = 0;
    for (int y = 38; y <= 62; ++y)
        for (int x = 88; x <= 112; ++x)
            red += pixel(x, y) == kRed, blue += pixel(x, y) == kBlue;
    EXPECT_GT(red, 10);
    EXPECT_EQ(blue, 0);
    EXPECT_EQ(pixel(150, 50), kRed);
}

TEST_F(ItemsTest, TextItemsAreWrittenInTheChartsFace)
{
    chart.Font()->SetName(QStringLiteral("Courier New"));
    chart.AddText(20, wy(50), QStringLiteral("Ion 38"), 12, Zel::taLeftJustify);
    draw();
    const QImage fresh = image;
    // The same item on a canvas that a label in another face has used.
    TTextLabel *label = chart.TextLabel(1);
    label->Font()->SetName(QStringLiteral("Arial"));
    label->SetCaption(QStringLiteral("label"));
    label->SetMode(Zel::tlsimple);
    label->SetVisible(true);
    {
        Canvas canvas(&image);
        chart.DrawItems(canvas, 0, 0, false, false);
        label->SetVisible(false);
        image.fill(Qt::white);
        chart.DrawItems(canvas, 0, 0, false, false);
    }
    EXPECT_TRUE(image == fresh);
    chart.Font()->SetName(QStringLiteral("Arial"));
    image.fill(Qt::white);
    draw();
    EXPECT_FALSE(image == fresh);
}

TEST_F(ItemsTest, ClassAndLayerFiltersHideItems)
{
    chart.SetDataColor(kRed);
    chart.SetClassDefault(3);
    chart.AddRect(10, wy(10), 20, wy(20));
    chart.SetClassDefault(0);
    chart.SetActiveLayer(2);
    chart.SetLayerRange(2, 0, 0, 230, 140);
    chart.AddRect(30, wy(10), 40, wy(20));
    chart.SetClassVisible(3, false);
    chart.SetLayerVisible(2, false);
    draw();
    EXPECT_EQ(pixel(10, 10), clWhite);
    EXPECT_EQ(pixel(30, 10), clWhite);
    chart.SetLayerVisible(2, true);
    draw();
    EXPECT_EQ(pixel(30, 10), kRed);
}

TEST_F(ItemsTest, MonochromeDrawsBlackPensAndGreyFills)
{
    chart.SetDataColor(kRed);
    chart.SetFillColor(kBlue);
    chart.AddRect(10, wy(10), 20, wy(20));
    draw(true);
    EXPECT_EQ(pixel(10, 10), clBlack);
    EXPECT_EQ(pixel(15, 15), TColor(12632256));
}

TEST_F(ItemsTest, OffsetShiftsEverythingAndEventsReportIt)
{
    int beforeTop = 0, beforeLeft = 0, afterTop = 0, afterLeft = 0;
    TColor seenAfter = 0;
    chart.OnBeforeRenderData = [&](QObject *, Canvas &canvas, int top, int left) {
        beforeTop = top, beforeLeft = left;
        canvas.Pen().Color = clLime; // restored by the chart
    };
    chart.OnDataRendered = [&](QObject *, Canvas &canvas, int top, int left) {
        afterTop = top, afterLeft = left;
        seenAfter = canvas.Pixel(15, 25);
    };
    chart.SetDataColor(kRed);
    chart.AddRect(10, wy(10), 20, wy(20));
    draw(false, false, 5, 10);
    EXPECT_EQ(beforeLeft, 50 - 5);
    EXPECT_EQ(beforeTop, 20 - 10);
    EXPECT_EQ(afterLeft, 45);
    EXPECT_EQ(afterTop, 10);
    EXPECT_EQ(seenAfter, kRed); // items are in place when OnDataRendered runs
    EXPECT_EQ(pixel(15, 20), kRed);
    EXPECT_EQ(pixel(12, 15), clWhite);
    // The frame moves with the offset.
    EXPECT_EQ(pixel(5, 100), clBlack);
    EXPECT_EQ(pixel(0, 100), clWhite);
}

TEST_F(ItemsTest, DataFrameSurroundsTheImageInTheFrameColour)
{
    chart.SetChartFrameColor(kBlue);
    draw();
    EXPECT_EQ(pixel(0, 0), kBlue);
    EXPECT_EQ(pixel(230, 0), kBlue);
    EXPECT_EQ(pixel(230, 140), kBlue);
    EXPECT_EQ(pixel(0, 140), kBlue);
    EXPECT_EQ(pixel(100, 140), kBlue);
    EXPECT_EQ(pixel(100, 139), clWhite);
}

// --- Grid ---------------------------------------------------------------------------------

namespace {

std::vector<int> columnsWith(const QImage &image, TColor color, int row)
{
    std::vector<int> columns;
    for (int x = 0; x < image.width(); ++x)
        if (fromQColor(image.pixelColor(x, row)) == color)
            columns.push_back(x);
    return columns;
}

std::vector<int> rowsWith(const QImage &image, TColor color, int column)
{
    std::vector<int> rows;
    for (int y = 0; y < image.height(); ++y)
        if (fromQColor(image.pixelColor(column, y)) == color)
            rows.push_back(y);
    return rows;
}

} // namespace

TEST_F(ItemsTest, GridStepsStartAtTheFirstMultipleAboveTheLowEnd)
{
    chart.SetLayerRange(1, 5, 0, 235, 140);
    chart.SetGridColor(kRed);
    chart.SetGridStyle(RChart::gsLines);
    chart.SetGridDx(50);
    chart.SetGridDy(40);
    draw();
    // x 50, 100, 150, 200 lie at pixels 45, 95, 145, 195; y 40, 80, 120 at rows 100, 60, 20.
    EXPECT_EQ(columnsWith(image, kRed, 70), (std::vector<int>{45, 95, 145, 195}));
    EXPECT_EQ(rowsWith(image, kRed, 10), (std::vector<int>{20, 60, 100}));
}

TEST_F(ItemsTest, NoGridAndGridStylesChooseTheDirections)
{
    chart.SetGridColor(kRed);
    chart.SetGridDx(50);
    chart.SetGridDy(40);
    chart.SetGridStyle(RChart::gsVertLines);
    draw(false, true);
    EXPECT_TRUE(columnsWith(image, kRed, 70).empty());
    draw();
    EXPECT_EQ(columnsWith(image, kRed, 70), (std::vector<int>{50, 100, 150, 200}));
    EXPECT_TRUE(rowsWith(image, kRed, 10).empty());

    image.fill(Qt::white);
    chart.SetGridStyle(RChart::gsHorizDotLines);
    draw();
    EXPECT_TRUE(columnsWith(image, kRed, 70).empty());
    const std::vector<int> dotted = columnsWith(image, kRed, 100);
    EXPECT_GT(dotted.size(), 50u);
    EXPECT_LT(dotted.size(), 200u); // dots, not a solid line
    // Dots of three pixels from the left end of the line.
    EXPECT_EQ(pixel(96, 20), kRed);
    EXPECT_EQ(pixel(99, 20), clWhite);

    image.fill(Qt::white);
    chart.SetGridStyle(RChart::gsPoints);
    draw();
    EXPECT_EQ(pixel(50, 100), kRed);
    EXPECT_EQ(pixel(51, 100), clWhite);
    EXPECT_EQ(pixel(50, 99), clWhite);
}

TEST_F(ItemsTest, GridStepRulesRejectValuesBelowMinusThree)
{
    chart.SetGridDx(-4);
    EXPECT_EQ(chart.GridDx(), 0.0);
    chart.SetGridDx(-3);
    EXPECT_EQ(chart.GridDx(), -3.0);
    chart.SetGridDy(-3.5);
    EXPECT_EQ(chart.GridDy(), 0.0);
}

TEST_F(ItemsTest, LogarithmicGridRules)
{
    chart.LayerScaleX(1)->SetRangeLow(1);
    chart.LayerScaleX(1)->SetRangeHigh(1000);
    chart.LayerScaleX(1)->SetLogarithmic(true);
    chart.SetLayerRange(1, 1, 0, 1000, 140);
    ASSERT_TRUE(chart.LayerScaleX(1)->Logarithmic());
    chart.SetGridColor(kRed);
    chart.SetGridStyle(RChart::gsVertLines);
    const auto expected = [&](std::initializer_list<double> values) {
        std::vector<int> columns;
        for (double v : values) {
            int px = 0, py = 0;
            chart.WorldToPixel(1, v, 70, px, py);
            columns.push_back(px - chart.MarginLeft());
        }
        return columns;
    };

    chart.SetGridDx(-1); // decades; 1000 is the upper end and not drawn
    draw();
    // 1 lies on the left edge under the frame.
    EXPECT_EQ(columnsWith(image, kRed, 70), expected({10, 100}));
    EXPECT_EQ(pixel(0, 70), clBlack);

    image.fill(Qt::white);
    chart.SetGridDx(-2); // 1-2-5, starting at the first step above the low end's mantissa
    draw();
    EXPECT_EQ(columnsWith(image, kRed, 70), expected({2, 5, 10, 20, 50, 100, 200, 500}));

    image.fill(Qt::white);
    chart.SetGridDx(-3); // every mantissa
    draw();
    EXPECT_EQ(columnsWith(image, kRed, 70).size(), 26u); // 2..9, 10..90, 100..900

    image.fill(Qt::white);
    chart.SetGridDx(300); // a plain step on a logarithmic axis
    draw();
    EXPECT_EQ(columnsWith(image, kRed, 70), expected({300, 600, 900}));
}

TEST_F(ItemsTest, GridLoopsStopAfterAThousandValues)
{
    chart.SetGridColor(kRed);
    chart.SetGridStyle(RChart::gsVertLines);
    chart.SetGridDx(1e-3); // 1000 lines cover only 0 .. 0.999: columns 0 and 1
    draw();
    EXPECT_EQ(columnsWith(image, kRed, 70), (std::vector<int>{1}));

    // Points: at most 1000 in all, so the first x value's 1000 y values use them up.
    chart.SetLayerRange(1, 5, 0, 235, 140);
    chart.SetGridStyle(RChart::gsPoints);
    chart.SetGridDx(50);
    chart.SetGridDy(1e-3);
    image.fill(Qt::white);
    draw();
    EXPECT_EQ(pixel(45, 139), kRed);
    EXPECT_EQ(pixel(95, 139), clWhite);

    // A step too small to move the value on still ends.
    chart.SetGridStyle(RChart::gsVertLines);
    chart.SetGridDx(1e-300);
    image.fill(Qt::white);
    draw();
    EXPECT_TRUE(columnsWith(image, kRed, 70).empty());
}

TEST(RChartGrid, ZeroStepFollowsTheTicksTheRendererRecorded)
{
    TRChart chart;
    chart.resize(410, 200);
    chart.show();
    chart.SetLayerRange(1, 0, 0, 180, 100);
    chart.LayerScaleX(1)->SetShortTicks(false);
    chart.SetGridColor(kRed);
    chart.SetGridStyle(RChart::gsLines);
    chart.SetGridDx(0);
    chart.SetGridDy(0);
    const TScale &renderer = *chart.layerRendererX(1);
    ASSERT_EQ(renderer.NumTicks(), 4);

    QImage image(chart.plotWidth() + 1, chart.plotHeight() + 1, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        Canvas canvas(&image);
        chart.DrawItems(canvas, 0, 0, false, false);
    }
    std::vector<int> expected;
    for (double v : {50.0, 100.0, 150.0}) { // the line at 0 is under the frame
        int px = 0, py = 0;
        chart.WorldToPixel(1, v, 50, px, py);
        expected.push_back(px - chart.MarginLeft());
    }
    EXPECT_EQ(columnsWith(image, kRed, 30), expected);

    // With short ticks every recorded tick gets a line.
    chart.LayerScaleX(1)->SetShortTicks(true);
    chart.SetGridStyle(RChart::gsVertLines);
    ASSERT_GT(renderer.NumTicks(), 4);
    image.fill(Qt::white);
    {
        Canvas canvas(&image);
        chart.DrawItems(canvas, 0, 0, false, false);
    }
    int below = 0;
    for (int k = 1; k <= renderer.NumTicks(); ++k)
        below += renderer.TickPosition(k) > 0 && renderer.TickPosition(k) < 180;
    EXPECT_EQ(int(columnsWith(image, kRed, 30).size()), below);
}

// --- Text labels --------------------------------------------------------------------------

TEST_F(ItemsTest, TwoLineLabelAtTheBottomStandsOnItsAnchor)
{
    TTextLabel *label = chart.TextLabel(1);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(chart.TextLabel(0), nullptr);
    EXPECT_EQ(chart.TextLabel(31), nullptr);
    label->SetAttachToData(Zel::tlamNone);
    label->SetPosX(150); // control pixels: data (100, 80)
    label->SetPosY(100);
    label->SetAlignment(Zel::taLeftJustify);
    label->SetVerticalAlignment(Zel::vaBottom);
    label->SetCaption(QStringLiteral("Ar\nCO2"));
    label->SetColorBorder(kRed);
    label->SetColorBkg(clWhite);
    label->Font()->SetColor(kBlue);
    label->SetMode(Zel::tlBox);
    label->SetVisible(true);
    draw();

    Canvas probe(&image);
    probe.Font().Assign(*label->Font());
    const int h = probe.TextHeight(label->Caption());
    const int w = probe.TextWidth(QStringLiteral("CO2"));
    // Box (x - 4, y - 2h - 2) .. (x + w + 4, y + 2), right and bottom exclusive.
    EXPECT_EQ(pixel(96, 81), kRed);
    EXPECT_EQ(pixel(96, 80 - 2 * h - 2), kRed);
    EXPECT_EQ(pixel(100 + w + 3, 70), kRed);
    EXPECT_EQ(pixel(95, 70), clWhite);
    int lowest = -1, highest = 1000;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 90; x < 100 + w + 4; ++x)
            if (pixel(x, y) == kBlue)
                lowest = std::max(lowest, y), highest = std::min(highest, y);
    EXPECT_LT(lowest, 80);          // the second line ends on the anchor row
    EXPECT_GE(lowest, 80 - h / 2);  // ... and reaches down near it
    EXPECT_GE(highest, 80 - 2 * h); // the first line starts one line higher
}

TEST_F(ItemsTest, LabelAlignmentsAndAttachModes)
{
    TTextLabel *label = chart.TextLabel(2);
    label->SetAttachToData(Zel::tlamBoth); // world (100, 70) = data (100, 70)
    label->SetPosX(100);
    label->SetPosY(70);
    label->SetCaption(QStringLiteral("MMMM"));
    label->SetAlignment(Zel::taRightJustify);
    label->SetVerticalAlignment(Zel::vaTop);
    label->SetColorBorder(kRed);
    label->SetMode(Zel::tlBox);
    label->SetVisible(true);
    draw();
    Canvas probe(&image);
    probe.Font().Assign(*label->Font());
    const int h = probe.TextHeight(label->Caption());
    const int w = probe.TextWidth(label->Caption());
    // Right-aligned, hanging from the anchor: box from (100 - w - 4, 68) to (104, 70 + h + 2).
    EXPECT_EQ(pixel(103, 75), kRed);
    EXPECT_EQ(pixel(100 - w - 4, 75), kRed);
    EXPECT_EQ(pixel(90, 68), kRed);
    EXPECT_EQ(pixel(90, 70 + h + 1), kRed);

    // Hidden, off and on an invisible layer: nothing.
    image.fill(Qt::white);
    label->SetVisible(false);
    draw();
    EXPECT_EQ(pixel(103, 75), clWhite);
    label->SetVisible(true);
    chart.SetLayerVisible(1, false);
    draw();
    EXPECT_EQ(pixel(103, 75), clWhite);
}

TEST_F(ItemsTest, LabelOneIsDrawnLastAndShadowsAreOffset)
{
    for (int n : {1, 2}) {
        TTextLabel *label = chart.TextLabel(n);
        label->SetAttachToData(Zel::tlamNone);
        label->SetPosX(150 + 6 * n);
        label->SetPosY(100);
        label->SetCaption(QStringLiteral("XXXXXX"));
        label->SetColorBkg(n == 1 ? kBlue : kRed);
        label->SetColorBorder(n == 1 ? kBlue : kRed);
        label->SetMode(n == 1 ? Zel::tlsimple : Zel::tlShadow);
        label->SetColorShadow(clLime);
        label->SetVisible(true);
    }
    draw();
    // Overlap of the two boxes: label 1 is on top.
    EXPECT_EQ(pixel(109, 79), kBlue);
    // Label 2's shadow is offset by (3, 3) and shows below its box.
    bool lime = false;
    for (int x = 80; x < 160; ++x)
        lime = lime || pixel(x, 83) == clLime;
    EXPECT_TRUE(lime);
}

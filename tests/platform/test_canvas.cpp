// SPDX-License-Identifier: GPL-3.0-or-later
// Pixel tests of the canvas: lines, polylines, rectangles, ellipses, polygons and pen modes.

#include "platform/Canvas.h"
#include "platform/CanvasSave.h"
#include "test_support.h"

#include <QBuffer>
#include <QPdfWriter>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// A picture as text, one character per pixel: '.' white, '#' black, 'r', 'g', 'b' pure red,
// green and blue, '?' anything else.
std::string picture(const QImage &image, QRect area = QRect())
{
    if (area.isNull())
        area = image.rect();
    std::string text;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            switch (image.pixel(x, y) & 0xFFFFFFu) {
            case 0xFFFFFF:
                text += '.';
                break;
            case 0x000000:
                text += '#';
                break;
            case 0xFF0000:
                text += 'r';
                break;
            case 0x00FF00:
                text += 'g';
                break;
            case 0x0000FF:
                text += 'b';
                break;
            default:
                text += '?';
            }
        }
        text += '\n';
    }
    return text;
}

std::string rowsOf(std::initializer_list<const char *> rows)
{
    std::string text;
    for (const char *row : rows)
        text += std::string(row) + '\n';
    return text;
}

// Some colourful content to draw over, so that modes that combine pixels have work to do.
void paintStripes(Bitmap &bitmap)
{
    Canvas &c = bitmap.canvas();
    const TColor colours[] = {clRed, clLime, clBlue, clYellow, rgbColor(17, 99, 201), clWhite};
    for (int x = 0; x < bitmap.Width(); ++x) {
        c.Brush().Color = colours[x % 6];
        c.FillRect(x, 0, x + 1, bitmap.Height());
    }
    c.Brush().Color = clWhite;
}

} // namespace

TEST(CanvasLines, LineLeavesOutItsEndPointInEitherDirection)
{
    Bitmap bmp(12, 6);
    Canvas &c = bmp.canvas();
    c.MoveTo(2, 1);
    c.LineTo(7, 1);
    EXPECT_EQ(c.PenPos(), QPoint(7, 1));
    c.MoveTo(7, 3);
    c.LineTo(2, 3);
    c.MoveTo(10, 0);
    c.LineTo(10, 5);
    EXPECT_EQ(picture(bmp.image()), rowsOf({
                                        "..........#.",
                                        "..#####...#.",
                                        "..........#.",
                                        "...#####..#.",
                                        "..........#.",
                                        "............",
                                    }));
}

TEST(CanvasLines, SlopedLinesRoundTheMinorCoordinate)
{
    // y = i / 3 rounded: 0, 0, 1, 1, 1, 2, 2, 2, 3 for i = 0..8; (9, 3) itself is left out.
    Bitmap bmp(10, 4);
    Canvas &c = bmp.canvas();
    c.MoveTo(0, 0);
    c.LineTo(9, 3);
    EXPECT_EQ(picture(bmp.image()), rowsOf({
                                        "##........",
                                        "..###.....",
                                        ".....###..",
                                        "........#.",
                                    }));
    // A 45-degree line is a plain diagonal, and ties go towards the start point.
    Bitmap tie(5, 5);
    tie.canvas().MoveTo(0, 0);
    tie.canvas().LineTo(4, 4);
    tie.canvas().MoveTo(0, 4);
    tie.canvas().LineTo(4, 3);
    EXPECT_EQ(picture(tie.image()), rowsOf({
                                        "#....",
                                        ".#...",
                                        "..#..",
                                        "...#.",
                                        "###..",
                                    }));
}

TEST(CanvasLines, ZeroAndOnePixelSegments)
{
    Bitmap bmp(6, 6);
    Canvas &c = bmp.canvas();
    c.MoveTo(3, 3);
    c.LineTo(3, 3);
    EXPECT_EQ(picture(bmp.image()).find('#'), std::string::npos);
    c.LineTo(4, 4);
    EXPECT_EQ(picture(bmp.image()), rowsOf({
                                        "......",
                                        "......",
                                        "......",
                                        "...#..",
                                        "......",
                                        "......",
                                    }));
}

TEST(CanvasLines, PolylineDrawsEveryInteriorVertexOnceAndLeavesOutTheLastPoint)
{
    // In xor mode a pixel drawn twice would vanish again.
    Bitmap bmp(10, 10);
    Canvas &c = bmp.canvas();
    c.Pen().Color = clWhite;
    c.Pen().Mode = Gfx::pmXor;
    const std::vector<QPoint> square = {{1, 1}, {8, 1}, {8, 8}, {8, 8}, {1, 8}, {1, 1}};
    c.Polyline(square);
    EXPECT_EQ(picture(bmp.image()), rowsOf({
                                        "..........",
                                        ".########.",
                                        ".#......#.",
                                        ".#......#.",
                                        ".#......#.",
                                        ".#......#.",
                                        ".#......#.",
                                        ".#......#.",
                                        ".########.",
                                        "..........",
                                    }));
    // There and back: the way back covers the way out except its first pixel, so only the two
    // ends remain.
    Bitmap back(10, 3);
    back.canvas().Pen().Color = clWhite;
    back.canvas().Pen().Mode = Gfx::pmXor;
    const std::vector<QPoint> there = {{1, 1}, {8, 1}, {1, 1}};
    back.canvas().Polyline(there);
    EXPECT_EQ(picture(back.image()), rowsOf({
                                         "..........",
                                         ".#......#.",
                                         "..........",
                                     }));
    // The pen position is neither used nor moved.
    EXPECT_EQ(back.canvas().PenPos(), QPoint(0, 0));
}

TEST(CanvasLines, ClippedLinesKeepTheirPixels)
{
    // Lines drawn whole into a large picture, and the same lines drawn into small pictures
    // that show only a window of it (so that they enter and leave through every side),
    // agree pixel for pixel.
    const std::vector<std::pair<QPoint, QPoint>> lines = {
        {{0, 0}, {1499, 611}},    {{1499, 3}, {2, 699}},  {{700, 0}, {650, 699}},
        {{10, 690}, {1400, 5}},   {{3, 650}, {17, 2}},    {{1200, 10}, {1210, 600}},
        {{1490, 690}, {11, 121}}, {{0, 350}, {1499, 352}}};
    Bitmap whole(1500, 700);
    for (const auto &[from, to] : lines) {
        whole.canvas().MoveTo(from.x(), from.y());
        whole.canvas().LineTo(to.x(), to.y());
    }
    int windowsWithInk = 0;
    for (int top = 0; top <= 660; top += 37) {
        for (int left = 0; left <= 1460; left += 61) {
            Bitmap window(40, 40);
            for (const auto &[from, to] : lines) {
                window.canvas().MoveTo(from.x() - left, from.y() - top);
                window.canvas().LineTo(to.x() - left, to.y() - top);
            }
            const std::string expected = picture(whole.image(), QRect(left, top, 40, 40));
            windowsWithInk += expected.find('#') != std::string::npos ? 1 : 0;
            ASSERT_EQ(picture(window.image()), expected) << left << "," << top;
        }
    }
    EXPECT_GT(windowsWithInk, 100);
}

TEST(CanvasLines, HugeCoordinatesDrawWhatIsVisible)
{
    Bitmap bmp(20, 20);
    Canvas &c = bmp.canvas();
    c.MoveTo(-30000, -30000);
    c.LineTo(30000, 30000);
    c.MoveTo(-2000000000, 3);
    c.LineTo(2000000000, 3);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            EXPECT_EQ(rgbAt(bmp, x, y), (x == y || y == 3) ? 0u : 0xFFFFFFu) << x << "," << y;
}

TEST(CanvasLines, ClipRectangleLimitsEveryKindOfDrawing)
{
    Bitmap bmp(10, 6);
    Canvas &c = bmp.canvas();
    c.setClipRect(QRect(2, 1, 5, 3));
    c.MoveTo(0, 2);
    c.LineTo(10, 2);
    c.Brush().Color = clRed;
    c.FillRect(0, 0, 10, 1);
    c.FillRect(0, 3, 10, 6);
    c.SetPixel(8, 1, clBlack);
    EXPECT_EQ(picture(bmp.image()), rowsOf({
                                        "..........",
                                        "..........",
                                        "..#####...",
                                        "..rrrrr...",
                                        "..........",
                                        "..........",
                                    }));
    c.resetClipRect();
    EXPECT_EQ(c.clipRect(), QRect(0, 0, 10, 6));
    c.SetPixel(8, 1, clBlack);
    EXPECT_EQ(rgbAt(bmp, 8, 1), 0x000000u);
}

TEST(CanvasLines, DashedAndDottedPensLeaveGaps)
{
    Bitmap bmp(60, 3);
    Canvas &c = bmp.canvas();
    c.Brush().Style = Gfx::bsClear; // transparent background: gaps keep the picture
    c.Pen().Style = Gfx::psDash;
    c.MoveTo(0, 0);
    c.LineTo(60, 0);
    c.Pen().Style = Gfx::psDot;
    c.MoveTo(0, 1);
    c.LineTo(60, 1);
    const std::string rows = picture(bmp.image());
    const std::string dash = rows.substr(0, 60);
    const std::string dot = rows.substr(61, 60);
    EXPECT_EQ(dash.substr(0, 30), "##################......######");
    EXPECT_EQ(dot.substr(0, 12), "###...###...");
    // Periodic along the whole line.
    EXPECT_EQ(dash.substr(24, 24), dash.substr(0, 24));

    // The pattern runs on from one LineTo to the next.
    Bitmap pieces(60, 1);
    pieces.canvas().Brush().Style = Gfx::bsClear;
    pieces.canvas().Pen().Style = Gfx::psDash;
    pieces.canvas().MoveTo(0, 0);
    for (int x : {7, 20, 21, 44, 60})
        pieces.canvas().LineTo(x, 0);
    EXPECT_EQ(picture(pieces.image()), dash + '\n');
}

TEST(CanvasLines, OpaqueBackgroundFillsTheGapsWithTheBrushColour)
{
    Bitmap bmp(12, 2);
    Canvas &c = bmp.canvas();
    c.Brush().Color = clRed;
    c.Pen().Style = Gfx::psDot;
    c.MoveTo(0, 0);
    c.LineTo(12, 0);
    c.setBkMode(BkMode::Transparent);
    c.MoveTo(0, 1);
    c.LineTo(12, 1);
    EXPECT_EQ(picture(bmp.image()), rowsOf({
                                        "###rrr###rrr",
                                        "###...###...",
                                    }));
}

TEST(CanvasLines, StylesOfWideAndClearPens)
{
    Bitmap bmp(30, 9);
    Canvas &c = bmp.canvas();
    c.Pen().Style = Gfx::psClear;
    c.MoveTo(0, 1);
    c.LineTo(30, 1);
    EXPECT_EQ(picture(bmp.image()).find('#'), std::string::npos);
    // Wider than one pixel: drawn solid whatever the style, Width pixels across.
    c.Pen().Style = Gfx::psDash;
    c.Pen().Width = 3;
    c.MoveTo(2, 5);
    c.LineTo(27, 5);
    for (int x = 4; x < 26; ++x) {
        EXPECT_EQ(rgbAt(bmp, x, 4), 0u) << x;
        EXPECT_EQ(rgbAt(bmp, x, 5), 0u) << x;
        EXPECT_EQ(rgbAt(bmp, x, 6), 0u) << x;
        EXPECT_EQ(rgbAt(bmp, x, 3), 0xFFFFFFu) << x;
        EXPECT_EQ(rgbAt(bmp, x, 7), 0xFFFFFFu) << x;
    }
}

TEST(CanvasModes, XorTwiceRestoresThePicture)
{
    Bitmap bmp(40, 30);
    paintStripes(bmp);
    const QImage before = bmp.image().copy();
    Canvas &c = bmp.canvas();
    c.Pen().Mode = Gfx::pmXor;
    c.Pen().Color = clWhite;
    c.Brush().Style = Gfx::bsClear;
    for (int pass = 0; pass < 2; ++pass) {
        c.Rectangle(3, 4, 31, 22); // the rubber band of a zoom drag
        c.MoveTo(0, 29);
        c.LineTo(39, 0);
        const std::vector<QPoint> zigzag = {{1, 1}, {20, 9}, {5, 25}, {38, 28}, {1, 1}};
        c.Polyline(zigzag);
        c.Ellipse(10, 10, 37, 27);
    }
    EXPECT_EQ(bmp.image(), before);
    // And once changes it.
    c.Rectangle(3, 4, 31, 22);
    EXPECT_NE(bmp.image(), before);
}

TEST(CanvasModes, PenModesCombineWithThePicture)
{
    Bitmap bmp(4, 4);
    Canvas &c = bmp.canvas();
    c.Brush().Color = rgbColor(0x30, 0x60, 0x90);
    c.FillRect(0, 0, 4, 4);
    c.Pen().Color = rgbColor(0xF0, 0x0F, 0x55);
    const auto draw = [&](TPenMode mode, int y) {
        c.Pen().Mode = mode;
        c.MoveTo(0, y);
        c.LineTo(4, y);
    };
    draw(Gfx::pmXor, 0);
    draw(Gfx::pmNot, 1);
    draw(Gfx::pmMask, 2);
    draw(Gfx::pmMerge, 3);
    EXPECT_EQ(rgbAt(bmp, 1, 0), qRgb(0x30 ^ 0xF0, 0x60 ^ 0x0F, 0x90 ^ 0x55) & 0xFFFFFFu);
    EXPECT_EQ(rgbAt(bmp, 1, 1), qRgb(0xCF, 0x9F, 0x6F) & 0xFFFFFFu);
    EXPECT_EQ(rgbAt(bmp, 1, 2), qRgb(0x30 & 0xF0, 0x60 & 0x0F, 0x90 & 0x55) & 0xFFFFFFu);
    EXPECT_EQ(rgbAt(bmp, 1, 3), qRgb(0x30 | 0xF0, 0x60 | 0x0F, 0x90 | 0x55) & 0xFFFFFFu);
    // FillRect and SetPixel copy whatever the pen mode.
    c.Pen().Mode = Gfx::pmXor;
    c.Brush().Color = clRed;
    c.FillRect(0, 0, 1, 1);
    c.SetPixel(3, 3, clBlue);
    EXPECT_EQ(rgbAt(bmp, 0, 0), 0xFF0000u);
    EXPECT_EQ(rgbAt(bmp, 3, 3), 0x0000FFu);
}

TEST(CanvasColours, SystemColoursResolveThroughTheFixedTable)
{
    Bitmap bmp(3, 1);
    Canvas &c = bmp.canvas();
    c.SetPixel(0, 0, clBtnFace);
    c.Pen().Color = clInfoBk;
    c.MoveTo(1, 0);
    c.LineTo(2, 0);
    c.Brush().Color = clGrayText;
    c.FillRect(2, 0, 3, 1);
    EXPECT_EQ(rgbAt(bmp, 0, 0), qRgb(240, 240, 240) & 0xFFFFFFu);
    EXPECT_EQ(rgbAt(bmp, 1, 0), qRgb(255, 255, 225) & 0xFFFFFFu);
    EXPECT_EQ(c.Pixel(2, 0), rgbColor(109, 109, 109));
    EXPECT_EQ(c.Pixel(3, 0), clInvalidPixel);
    EXPECT_EQ(c.Pixel(-1, 0), clInvalidPixel);
}

TEST(CanvasShapes, RectangleCoversLeftToRightMinusOne)
{
    Bitmap bmp(10, 8);
    Canvas &c = bmp.canvas();
    c.Brush().Color = clRed;
    c.Rectangle(2, 1, 8, 6);
    // Corners given the other way round draw the same.
    c.Rectangle(8, 7, 9, 8);
    EXPECT_EQ(picture(bmp.image()), rowsOf({
                                        "..........",
                                        "..######..",
                                        "..#rrrr#..",
                                        "..#rrrr#..",
                                        "..#rrrr#..",
                                        "..######..",
                                        "..........",
                                        "........#.",
                                    }));
}

TEST(CanvasShapes, ClearBrushAndClearPen)
{
    Bitmap bmp(9, 7);
    Canvas &c = bmp.canvas();
    c.Brush().Color = clLime;
    c.FillRect(0, 0, 9, 7);
    c.Brush().Style = Gfx::bsClear;
    c.Rectangle(1, 1, 5, 5);
    // Without a pen the brush covers one pixel less to the right and below.
    c.Pen().Style = Gfx::psClear;
    c.Brush().Style = Gfx::bsSolid;
    c.Brush().Color = clBlue;
    c.Rectangle(5, 2, 9, 6);
    EXPECT_EQ(picture(bmp.image()), rowsOf({
                                        "ggggggggg",
                                        "g####gggg",
                                        "g#gg#bbbg",
                                        "g#gg#bbbg",
                                        "g####bbbg",
                                        "ggggggggg",
                                        "ggggggggg",
                                    }));
}

TEST(CanvasShapes, WidePenOutlines)
{
    Bitmap bmp(14, 12);
    Canvas &c = bmp.canvas();
    c.Brush().Color = clRed;
    c.Pen().Width = 3;
    c.Rectangle(3, 3, 11, 9);
    // Three pixels across, centred on the one-pixel outline of 3..10 x 3..8.
    EXPECT_EQ(picture(bmp.image()), rowsOf({
                                        "..............",
                                        "..............",
                                        "..##########..",
                                        "..##########..",
                                        "..##########..",
                                        "..###rrrr###..",
                                        "..###rrrr###..",
                                        "..##########..",
                                        "..##########..",
                                        "..##########..",
                                        "..............",
                                        "..............",
                                    }));
}

TEST(CanvasShapes, InsideFramePenStaysInsideTheBox)
{
    Bitmap bmp(10, 9);
    Canvas &c = bmp.canvas();
    c.Brush().Color = clRed;
    c.Pen().Width = 2;
    c.Pen().Style = Gfx::psInsideFrame;
    c.Rectangle(1, 1, 9, 8);
    EXPECT_EQ(picture(bmp.image()), rowsOf({
                                        "..........",
                                        ".########.",
                                        ".########.",
                                        ".##rrrr##.",
                                        ".##rrrr##.",
                                        ".##rrrr##.",
                                        ".########.",
                                        ".########.",
                                        "..........",
                                    }));
}

TEST(CanvasShapes, EllipseFillsItsBoxExactly)
{
    Bitmap bmp(9, 8);
    Canvas &c = bmp.canvas();
    c.Brush().Color = clRed;
    c.Ellipse(1, 1, 8, 7);
    EXPECT_EQ(picture(bmp.image()), rowsOf({
                                        ".........",
                                        "...###...",
                                        "..#rrr#..",
                                        ".#rrrrr#.",
                                        ".#rrrrr#.",
                                        "..#rrr#..",
                                        "...###...",
                                        ".........",
                                    }));
    // A small circle as the markers use it: box (x-2, y-2, x+3, y+3).
    Bitmap dot(5, 5);
    dot.canvas().Brush().Style = Gfx::bsClear;
    dot.canvas().Ellipse(0, 0, 5, 5);
    EXPECT_EQ(picture(dot.image()), rowsOf({
                                        ".###.",
                                        "#...#",
                                        "#...#",
                                        "#...#",
                                        ".###.",
                                    }));
}

TEST(CanvasShapes, EllipseTouchesAllFourSidesAndIsSymmetric)
{
    for (const QRect box : {QRect(3, 2, 30, 17), QRect(0, 0, 1, 1), QRect(4, 4, 2, 9),
                            QRect(1, 5, 33, 4), QRect(6, 1, 25, 24)}) {
        Bitmap bmp(40, 30);
        Canvas &c = bmp.canvas();
        c.Brush().Style = Gfx::bsClear;
        c.Ellipse(box);
        QRect inked;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x)
                if (rgbAt(bmp, x, y) == 0)
                    inked |= QRect(x, y, 1, 1);
        EXPECT_EQ(inked, box);
        const QImage inside = bmp.image().copy(box);
        EXPECT_EQ(inside.mirrored(true, false), inside);
        EXPECT_EQ(inside.mirrored(false, true), inside);
    }
}

TEST(CanvasShapes, ShapesDrawEachPixelOnceInXorMode)
{
    // Drawn in xor white over white, every pixel the copy pen draws must come out black:
    // outline and interior never overlap and no outline pixel is drawn twice.
    const auto draw = [](Canvas &c) {
        c.Brush().Color = clWhite;
        c.Rectangle(1, 1, 20, 12);
        c.Ellipse(22, 2, 39, 29);
        c.Pen().Width = 3;
        c.Rectangle(3, 16, 18, 28);
        c.Ellipse(5, 31, 35, 45);
        c.Pen().Width = 1;
        c.Pen().Style = Gfx::psDot;
        c.Brush().Style = Gfx::bsClear;
        c.Rectangle(1, 47, 30, 58);
    };
    Bitmap copy(42, 60);
    copy.canvas().Brush().Color = clBlack;
    copy.canvas().FillRect(0, 0, 42, 60);
    copy.canvas().Brush().Color = clWhite;
    copy.canvas().Pen().Color = clWhite;
    // In copy mode: white shapes on black.
    draw(copy.canvas());
    Bitmap xored(42, 60);
    xored.canvas().Pen().Color = clWhite;
    xored.canvas().Pen().Mode = Gfx::pmXor;
    draw(xored.canvas());
    // Invert one to compare: xor turned exactly the drawn pixels black.
    QImage drawn = copy.image().copy();
    drawn.invertPixels();
    EXPECT_EQ(picture(xored.image()), picture(drawn));
}

TEST(CanvasShapes, EllipseWithClearPenFillsOnePixelLess)
{
    Bitmap bmp(8, 8);
    Canvas &c = bmp.canvas();
    c.Pen().Style = Gfx::psClear;
    c.Brush().Color = clBlack;
    c.Ellipse(1, 1, 7, 7);
    QRect inked;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            if (rgbAt(bmp, x, y) == 0)
                inked |= QRect(x, y, 1, 1);
    EXPECT_EQ(inked, QRect(1, 1, 5, 5));
}

TEST(CanvasShapes, PolygonOutlineThroughEveryVertexAndInteriorInTheBrush)
{
    Bitmap bmp(9, 8);
    Canvas &c = bmp.canvas();
    c.Brush().Color = clRed;
    c.Polygon({{1, 1}, {7, 1}, {4, 6}});
    EXPECT_EQ(picture(bmp.image()), rowsOf({
                                        ".........",
                                        ".#######.",
                                        "..#rrr#..",
                                        "..#rrr#..",
                                        "...#r#...",
                                        "...#r#...",
                                        "....#....",
                                        ".........",
                                    }));
}

TEST(CanvasShapes, PolygonsSharingAnEdgeDoNotOverlap)
{
    // Without a pen, two triangles that make up a square fill each pixel of it exactly once,
    // and the square covers one pixel less to the right and below, like a pen-less Rectangle.
    Bitmap bmp(8, 8);
    Canvas &c = bmp.canvas();
    c.Pen().Style = Gfx::psClear;
    c.Pen().Mode = Gfx::pmXor;
    c.Brush().Color = clWhite;
    const std::vector<QPoint> upper = {{1, 1}, {7, 1}, {7, 7}};
    const std::vector<QPoint> lower = {{1, 1}, {7, 7}, {1, 7}};
    c.Polygon(upper);
    c.Polygon(lower);
    Bitmap expected(8, 8);
    expected.canvas().Pen().Style = Gfx::psClear;
    expected.canvas().Brush().Color = clBlack;
    expected.canvas().Rectangle(1, 1, 8, 8);
    EXPECT_EQ(picture(bmp.image()), picture(expected.image()));
}

TEST(CanvasDevices, PrinterCanvasIsToldApartFromScreenOnes)
{
    Bitmap bmp(4, 4);
    EXPECT_FALSE(bmp.canvas().isPrinter());
    EXPECT_EQ(bmp.canvas().Font().PixelsPerInch(), screenPixelsPerInch);
    EXPECT_EQ(bmp.canvas().aspectX(), bmp.canvas().aspectY());

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(600);
        Canvas c(&pdf);
        EXPECT_TRUE(c.isPrinter());
        EXPECT_EQ(c.pixelsPerInchY(), 600);
        EXPECT_EQ(c.Font().PixelsPerInch(), 600);
        // A screen font assigned to it keeps its point size.
        TFont screenFont;
        screenFont.SetHeight(-20);
        c.Font().Assign(screenFont);
        EXPECT_EQ(c.Font().Size(), screenFont.Size());
        EXPECT_EQ(c.Font().Height(), -mulDiv(screenFont.Size(), 600, 72));
        // Everything draws (not pixel-checked on paper) and nothing can be read back.
        c.Rectangle(100, 100, 900, 700);
        c.Ellipse(100, 100, 900, 700);
        const std::vector<QPoint> points = {{0, 0}, {500, 500}, {900, 20}};
        c.Polyline(points);
        c.Polygon(points);
        c.TextOut(100, 800, QStringLiteral("Printed"));
        c.Draw(10, 10, bmp.image());
        EXPECT_EQ(c.Pixel(150, 150), clInvalidPixel);
    }
    EXPECT_TRUE(buffer.data().startsWith("%PDF"));

    bmp.canvas().setTreatAsPrinter(true);
    EXPECT_TRUE(bmp.canvas().isPrinter());
}

TEST(CanvasDevices, BitmapResizeKeepsSharedPixelsAndCanvasState)
{
    Bitmap bmp(4, 3);
    Canvas &c = bmp.canvas();
    c.Pen().Color = clRed;
    c.MoveTo(0, 0);
    c.LineTo(4, 3);
    bmp.SetSize(6, 4);
    EXPECT_EQ(picture(bmp.image()), rowsOf({
                                        "r.....",
                                        ".rr...",
                                        "...r..",
                                        "......",
                                    }));
    EXPECT_EQ(&bmp.canvas(), &c);
    EXPECT_EQ(c.Pen().Color, clRed);
    EXPECT_EQ(c.clipRect(), QRect(0, 0, 6, 4));
    c.LineTo(6, 3);
    EXPECT_EQ(picture(bmp.image()), rowsOf({
                                        "r.....",
                                        ".rr...",
                                        "...r..",
                                        "....rr",
                                    }));

    // An empty bitmap draws nothing and does not fail.
    bmp.SetSize(0, 5);
    EXPECT_EQ(bmp.Width(), 0);
    c.Rectangle(0, 0, 5, 5);
    c.TextOut(0, 0, QStringLiteral("x"));
    c.Draw(0, 0, QImage(2, 2, QImage::Format_RGB32));
    EXPECT_GT(c.TextWidth(QStringLiteral("x")), 0);
}

TEST(CanvasDevices, ImageCopiesTakenWhileDrawingAreSnapshots)
{
    Bitmap bmp(5, 5);
    const QImage before = bmp.image();
    bmp.canvas().SetPixel(2, 2, clBlack);
    bmp.canvas().MoveTo(0, 0);
    bmp.canvas().LineTo(5, 0);
    EXPECT_EQ(before.pixel(2, 2) & 0xFFFFFFu, 0xFFFFFFu);
    EXPECT_EQ(before.pixel(1, 0) & 0xFFFFFFu, 0xFFFFFFu);
    EXPECT_EQ(rgbAt(bmp, 2, 2), 0u);
}

TEST(CanvasDevices, OtherImageFormatsDrawThroughQPainter)
{
    QImage image(12, 10, QImage::Format_RGB888);
    image.fill(Qt::white);
    {
        Canvas c(&image);
        c.Brush().Color = clRed;
        c.Rectangle(2, 2, 10, 8);
        EXPECT_EQ(c.Pixel(5, 5), clRed);
        EXPECT_EQ(c.Pixel(2, 2), clBlack);
        EXPECT_EQ(c.Pixel(9, 7), clBlack);
        EXPECT_EQ(c.Pixel(10, 8), clWhite);
        EXPECT_EQ(c.Pixel(1, 1), clWhite);
    }
}

TEST(CanvasSave, PutsBackTheNamedPartsOnly)
{
    Bitmap bmp(10, 10);
    Canvas &c = bmp.canvas();
    const auto setUp = [&c] {
        c.Pen() = TPen{clRed, 3, Gfx::psDash, Gfx::pmXor};
        c.Brush() = TBrush{clBlue, Gfx::bsClear};
        c.MoveTo(4, 5);
        c.Font().SetColor(clGreen);
        c.setTextAlign(TextAlignH::Right, TextAlignV::Bottom);
        c.setBkMode(BkMode::Opaque);
    };
    const auto change = [&c] {
        c.Pen() = TPen{};
        c.Brush() = TBrush{};
        c.MoveTo(0, 0);
        c.Font().SetColor(clBlack);
        c.setTextAlign(TextAlignH::Left, TextAlignV::Top);
        c.setBkMode(BkMode::Transparent);
    };

    setUp();
    {
        const CanvasSave saved(c,
                               CanvasSave::PenColor | CanvasSave::BrushStyle | CanvasSave::PenPos);
        change();
    }
    EXPECT_EQ(c.Pen(), (TPen{clRed, 1, Gfx::psSolid, Gfx::pmCopy}));
    EXPECT_EQ(c.Brush(), (TBrush{clWhite, Gfx::bsClear}));
    EXPECT_EQ(c.PenPos(), QPoint(4, 5));
    EXPECT_EQ(c.Font().Color(), clBlack);
    EXPECT_EQ(c.textAlignH(), TextAlignH::Left);
    EXPECT_EQ(c.bkMode(), BkMode::Transparent);

    setUp();
    {
        const CanvasSave saved(c, CanvasSave::Pen | CanvasSave::PenPos | CanvasSave::BrushColor |
                                      CanvasSave::BrushStyle | CanvasSave::FontColor |
                                      CanvasSave::TextAlign | CanvasSave::BackgroundMode);
        change();
    }
    EXPECT_EQ(c.Pen(), (TPen{clRed, 3, Gfx::psDash, Gfx::pmXor}));
    EXPECT_EQ(c.Brush(), (TBrush{clBlue, Gfx::bsClear}));
    EXPECT_EQ(c.PenPos(), QPoint(4, 5));
    EXPECT_EQ(c.Font().Color(), clGreen);
    EXPECT_EQ(c.textAlignH(), TextAlignH::Right);
    EXPECT_EQ(c.textAlignV(), TextAlignV::Bottom);
    EXPECT_EQ(c.bkMode(), BkMode::Opaque);
}

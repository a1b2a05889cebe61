// SPDX-License-Identifier: GPL-3.0-or-later
// The canvas at device pixel ratios other than 1: the same figures in design pixels, each design
// pixel a block of device pixels, one-pixel lines ratio pixels thick, texts at device resolution.

#include "platform/Canvas.h"
#include "test_support.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace {

using Figure = std::function<void(Canvas &)>;

std::unique_ptr<Bitmap> drawn(double ratio, const Figure &figure, int w = 40, int h = 30)
{
    auto bitmap = std::make_unique<Bitmap>();
    bitmap->setDevicePixelRatio(ratio);
    bitmap->SetSize(w, h);
    figure(bitmap->canvas());
    return bitmap;
}

// The first design pixel where the picture at the ratio, read as each block's top-left device
// pixel, differs from the picture at ratio 1; empty when there is none.
std::string firstDifference(double ratio, const Figure &figure)
{
    const auto one = drawn(1, figure);
    const auto scaled = drawn(ratio, figure);
    const QImage &image = scaled->image();
    for (int y = 0; y < one->Height(); ++y)
        for (int x = 0; x < one->Width(); ++x) {
            const QRgb want = rgbAt(*one, x, y);
            const int dx = int(scaledCoordinate(x, ratio)), dy = int(scaledCoordinate(y, ratio));
            if (rgbAt(image, dx, dy) != want ||
                scaled->canvas().Pixel(x, y) != pixelAt(one->image(), x, y))
                return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
        }
    return {};
}

// Diagonal solid lines are the one figure drawn finer than the design pixels.
const struct
{
    const char *name;
    Figure figure;
    bool exactAtFractionalRatios = true;
} blockFigures[] = {
    {"straight lines and a polyline",
     [](Canvas &c) {
         c.MoveTo(2, 3);
         c.LineTo(30, 3);
         c.LineTo(30, 20);
         c.Polyline({{5, 25}, {5, 10}, {12, 10}});
     }},
    {"rectangle outline and brush",
     [](Canvas &c) {
         c.Pen().Color = clRed;
         c.Brush().Color = clBlue;
         c.Rectangle(3, 4, 17, 13);
     }},
    {"clear pen, one pixel less",
     [](Canvas &c) {
         c.Pen().Style = Gfx::psClear;
         c.Brush().Color = clRed;
         c.Rectangle(3, 4, 9, 8);
     }},
    {"ellipse and polygon",
     [](Canvas &c) {
         c.Brush().Color = clBlue;
         c.Ellipse(2, 2, 19, 13);
         c.Pen().Style = Gfx::psClear; // diagonal edges: finer
         c.Polygon({{20, 28}, {38, 16}, {36, 28}});
     }},
    {"dashed pen on an opaque background",
     [](Canvas &c) {
         c.Pen().Style = Gfx::psDashDot;
         c.Brush().Color = clRed;
         c.Polyline({{1, 1}, {39, 1}, {39, 29}});
         c.MoveTo(0, 0);
         c.LineTo(37, 28);
     }},
    {"xor lines meeting at a vertex",
     [](Canvas &c) {
         c.Pen() = TPen{clWhite, 1, Gfx::psSolid, Gfx::pmXor};
         c.Polyline({{0, 0}, {20, 13}, {39, 2}, {5, 29}});
     }},
    {"pixels, fills and a clip",
     [](Canvas &c) {
         c.setClipRect(QRect(4, 4, 20, 20));
         c.Brush().Color = clBlue;
         c.FillRect(0, 0, 10, 10);
         c.SetPixel(12, 12, clRed);
         c.SetPixel(30, 12, clRed);
     }},
    {"image transfers",
     [](Canvas &c) {
         QImage source(5, 4, QImage::Format_RGB32);
         source.fill(Qt::red);
         source.setPixel(1, 1, qRgb(0, 0, 255));
         c.Draw(2, 3, source);
         c.StretchDraw(QRect(10, 3, 10, 8), source);
     }},
    // Copied one to one in device pixels, which at a fractional ratio may put a block's edge a
    // device pixel off where the offset rounds differently.
    {"a copy within the picture",
     [](Canvas &c) {
         c.Brush().Color = clBlue;
         c.Ellipse(1, 1, 9, 8);
         c.CopyRect(QRect(25, 15, 10, 10), c, QRect(0, 0, 10, 10));
     },
     false},
};

} // namespace

TEST(CanvasRatio, FiguresKeepTheirDesignPixels)
{
    for (double ratio : {2.0, 1.5, 3.0}) {
        for (const auto &entry : blockFigures) {
            if (!entry.exactAtFractionalRatios && ratio != std::floor(ratio))
                continue;
            EXPECT_EQ(firstDifference(ratio, entry.figure), "")
                << entry.name << " at ratio " << ratio;
        }
    }
}

TEST(CanvasRatio, DesignPixelsTileTheDevicePixels)
{
    const auto b = drawn(1.5, [](Canvas &c) {
        c.Brush().Color = clRed;
        c.FillRect(0, 0, 3, 30);
        c.Brush().Color = clBlue;
        c.FillRect(3, 0, 7, 30);
    });
    EXPECT_EQ(b->Width(), 40);
    EXPECT_EQ(b->image().size(), QSize(60, 45));
    EXPECT_EQ(b->canvas().width(), 40);
    // Design pixels 0..2 are device pixels 0..4 (5 = 3 * 1.5 rounded up), 3..6 are 5..10.
    for (int x = 0; x < 12; ++x)
        EXPECT_EQ(rgbAt(*b, x, 20), x < 5 ? 0xFF0000u : x < 11 ? 0x0000FFu : 0xFFFFFFu) << x;
}

TEST(CanvasRatio, OnePixelLinesAreRatioPixelsThickAndLeaveOutTheirEnd)
{
    const auto b = drawn(2, [](Canvas &c) {
        c.MoveTo(2, 2);
        c.LineTo(10, 2); // horizontal: device rows 4 and 5
        c.MoveTo(0, 10);
        c.LineTo(20, 15); // diagonal, drawn at device resolution
    });
    EXPECT_EQ(rgbAt(*b, 4, 4), 0u);
    EXPECT_EQ(rgbAt(*b, 19, 5), 0u);
    EXPECT_EQ(rgbAt(*b, 4, 6), 0xFFFFFFu);
    EXPECT_EQ(rgbAt(*b, 20, 4), 0xFFFFFFu); // the end point's block stays white
    for (int x = 0; x < 40; ++x) {
        int black = 0;
        for (int y = 10; y < 60; ++y)
            black += rgbAt(*b, x, y) == 0;
        EXPECT_EQ(black, 2) << "device column " << x;
    }
    EXPECT_EQ(rgbAt(*b, 0, 20), 0u);
    EXPECT_EQ(rgbAt(*b, 0, 21), 0u);
    for (int y = 28; y < 34; ++y)
        for (int x = 40; x < 42; ++x)
            EXPECT_EQ(rgbAt(*b, x, y), 0xFFFFFFu) << "end point at " << x << ", " << y;
}

TEST(CanvasRatio, TextIsDrawnAtDeviceResolution)
{
    const auto text = [](Canvas &c) {
        c.Font().SetName(QStringLiteral("Arial"));
        c.Font().SetHeight(-14);
        c.TextOut(1, 1, QStringLiteral("Resolution 800"));
    };
    const auto one = drawn(1, text, 140, 24);
    const auto two = drawn(2, text, 140, 24);
    EXPECT_EQ(two->canvas().TextWidth(QStringLiteral("Resolution 800")),
              one->canvas().TextWidth(QStringLiteral("Resolution 800")));
    // Pixel doubling would make every 2 x 2 block one colour; glyph edges split blocks.
    int splitBlocks = 0, inked = 0;
    for (int y = 0; y < 48; y += 2)
        for (int x = 0; x < 280; x += 2) {
            const QRgb a = rgbAt(*two, x, y);
            inked += a != 0xFFFFFFu;
            splitBlocks += a != rgbAt(*two, x + 1, y) || a != rgbAt(*two, x, y + 1) ||
                           a != rgbAt(*two, x + 1, y + 1);
        }
    EXPECT_GT(inked, 20);
    EXPECT_GT(splitBlocks, 20);
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The canvas at device pixel ratios other than 1: the same figures in design pixels, each design
// pixel a block of device pixels, one-pixel lines ratio pixels thick, texts at device resolution.

#include "platform/Canvas.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace {

using Figure = void (*)(Canvas &);

std::unique_ptr<Bitmap> drawn(double ratio, Figure figure, int w = 40, int h = 30)
{
    auto bitmap = std::make_unique<Bitmap>();
    bitmap->setDevicePixelRatio(ratio);
    bitmap->SetSize(w, h);
    figure(bitmap->canvas());
    return bitmap;
}

// The first design pixel where the picture at the ratio, read through Pixel and as each block's
// top-left device pixel, differs from the picture at ratio 1; empty when there is none.
std::string firstDifference(double ratio, Figure figure)
{
    const auto one = drawn(1, figure);
    const auto scaled = drawn(ratio, figure);
    for (int y = 0; y < one->Height(); ++y)
        for (int x = 0; x < one->Width(); ++x) {
            const TColor want = one->canvas().Pixel(x, y);
            const int dx = int(scaledCoordinate(x, ratio)), dy = int(scaledCoordinate(y, ratio));
            if (pixelAt(scaled->image(), dx, dy) != want || scaled->canvas().Pixel(x, y) != want)
                return std::to_string(x) + ", " + std::to_string(y);
        }
    return {};
}

// Everything but diagonal solid lines keeps its design pixels.
const std::pair<const char *, Figure> blockFigures[] = {
    {"lines and rectangles",
     [](Canvas &c) {
         c.Polyline({{2, 3}, {30, 3}, {30, 20}, {5, 20}});
         c.Pen().Color = clRed;
         c.Brush().Color = clBlue;
         c.Rectangle(3, 4, 17, 13);
         c.Pen().Style = Gfx::psClear; // the brush one pixel less each way
         c.Rectangle(20, 22, 26, 27);
     }},
    {"ellipse, polygon interior, pixels and a clip",
     [](Canvas &c) {
         c.Brush().Color = clBlue;
         c.Ellipse(2, 2, 19, 13);
         c.Pen().Style = Gfx::psClear;
         c.Polygon({{20, 28}, {38, 16}, {36, 28}});
         c.setClipRect(QRect(4, 14, 20, 20));
         c.FillRect(0, 10, 10, 20);
         c.SetPixel(12, 16, clRed);
         c.SetPixel(30, 16, clRed);
     }},
    {"dashed pen on an opaque background, xor lines meeting",
     [](Canvas &c) {
         c.Pen().Style = Gfx::psDashDot;
         c.Brush().Color = clRed;
         c.Polyline({{1, 1}, {39, 1}, {39, 29}, {0, 0}});
         c.Pen() = TPen{clWhite, 1, Gfx::psSolid, Gfx::pmXor};
         c.Polyline({{0, 29}, {20, 13}, {39, 22}, {5, 5}});
     }},
    {"image transfers",
     [](Canvas &c) {
         QImage source(5, 4, QImage::Format_RGB32); // design size: scaled up
         source.fill(Qt::red);
         source.setPixel(1, 1, qRgb(0, 0, 255));
         c.Draw(2, 3, source);
         c.StretchDraw(QRect(10, 3, 10, 8), source);
         c.CopyRect(QRect(24, 14, 10, 10), c, QRect(0, 0, 10, 10)); // device pixels 1:1
     }},
};

} // namespace

TEST(CanvasRatio, FiguresKeepTheirDesignPixels)
{
    for (double ratio : {2.0, 1.5, 3.0})
        for (const auto &[name, figure] : blockFigures)
            EXPECT_EQ(firstDifference(ratio, figure), "") << name << " at ratio " << ratio;
}

TEST(CanvasRatio, DesignPixelsTileTheDevicePixels)
{
    const auto b = drawn(1.5, [](Canvas &c) {
        c.Brush().Color = clRed;
        c.FillRect(0, 0, 3, 30);
        c.Brush().Color = clBlue;
        c.FillRect(3, 0, 7, 30);
    });
    EXPECT_EQ(b->canvas().width(), 40);
    EXPECT_EQ(b->image().size(), QSize(60, 45));
    // Design pixels 0..2 are device pixels 0..4 (3 * 1.5 rounded up), 3..6 are 5..10.
    for (int x = 0; x < 12; ++x)
        EXPECT_EQ(rgbAt(*b, x, 20), x < 5 ? 0xFF0000u : x < 11 ? 0x0000FFu : 0xFFFFFFu) << x;
}

TEST(CanvasRatio, OnePixelLinesAreRatioPixelsThickAndLeaveOutTheirEnd)
{
    const auto b = drawn(2, [](Canvas &c) {
        c.Polyline({{2, 2}, {10, 2}});   // device rows 4 and 5, columns 4..19
        c.Polyline({{0, 10}, {20, 15}}); // at device resolution
    });
    EXPECT_EQ(rgbAt(*b, 4, 4), 0u);
    EXPECT_EQ(rgbAt(*b, 19, 5), 0u);
    EXPECT_EQ(rgbAt(*b, 4, 6), 0xFFFFFFu);
    EXPECT_EQ(rgbAt(*b, 20, 4), 0xFFFFFFu);
    for (int x = 0; x < 42; ++x) {
        int black = 0;
        for (int y = 10; y < 60; ++y)
            black += rgbAt(*b, x, y) == 0;
        EXPECT_EQ(black, x < 40 ? 2 : 0) << "device column " << x; // 40, 41: the end's block
    }
}

TEST(CanvasRatio, TextIsDrawnAtDeviceResolution)
{
    const QString text = QStringLiteral("Resolution 800");
    const auto one = drawn(
        1, [](Canvas &) {}, 140, 24);
    const auto two = drawn(
        2, [](Canvas &) {}, 140, 24);
    for (Canvas *c : {&one->canvas(), &two->canvas()}) {
        c->Font().SetName(QStringLiteral("Arial"));
        c->Font().SetHeight(-14);
        c->TextOut(1, 1, text);
    }
    EXPECT_EQ(two->canvas().TextWidth(text), one->canvas().TextWidth(text));
    // Pixel doubling would make every 2 x 2 block one colour; glyph edges split blocks.
    int split = 0;
    for (int y = 0; y < 48; y += 2)
        for (int x = 0; x < 280; x += 2) {
            const QRgb a = rgbAt(*two, x, y);
            split += a != rgbAt(*two, x + 1, y) || a != rgbAt(*two, x, y + 1);
        }
    EXPECT_GT(split, 40);
}

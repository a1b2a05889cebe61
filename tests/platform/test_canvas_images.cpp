// SPDX-License-Identifier: GPL-3.0-or-later
// Image transfers on the canvas: copying, bitwise combination, stretching and tiling.

#include "platform/Canvas.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

// A small source whose every pixel differs: red = 10 x + 1, green = 10 y + 1, blue 0x5A.
QImage numbered(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(10 * x + 1, 10 * y + 1, 0x5A));
    return image;
}

} // namespace

TEST(CanvasImages, DrawCopiesTheImageAndClipsAtTheEdges)
{
    Bitmap bmp(6, 5);
    Canvas &c = bmp.canvas();
    const QImage source = numbered(3, 3);
    c.Draw(1, 1, source);
    c.Draw(4, -1, source); // partly outside
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(rgbAt(bmp.image(), 1 + x, 1 + y), rgbAt(source, x, y));
    EXPECT_EQ(rgbAt(bmp.image(), 5, 0), rgbAt(source, 1, 1));
    EXPECT_EQ(rgbAt(bmp.image(), 4, 1), rgbAt(source, 0, 2));
    EXPECT_EQ(rgbAt(bmp.image(), 0, 0), 0xFFFFFFu);
    EXPECT_EQ(rgbAt(bmp.image(), 0, 4), 0xFFFFFFu);

    // The clip rectangle limits transfers as it limits shapes.
    Bitmap clipped(6, 5);
    clipped.canvas().setClipRect(QRect(2, 2, 2, 2));
    clipped.canvas().Draw(0, 0, numbered(6, 5));
    int changed = 0;
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x)
            changed += rgbAt(clipped.image(), x, y) != 0xFFFFFFu ? 1 : 0;
    EXPECT_EQ(changed, 4);
    EXPECT_EQ(rgbAt(clipped.image(), 3, 3), qRgb(31, 31, 0x5A) & 0xFFFFFFu);
}

TEST(CanvasImages, BitwiseTransfersCombineEachPixel)
{
    const QImage source = numbered(4, 3);
    for (const TCopyMode mode : {cmSrcAnd, cmSrcPaint, cmSrcInvert}) {
        Bitmap bmp(4, 3);
        Canvas &c = bmp.canvas();
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x)
                c.SetPixel(x, y, rgbColor(0xF0 - 16 * x, 0x3C + y, 0xC3));
        const QImage before = bmp.image().copy();
        c.SetCopyMode(mode);
        c.Draw(0, 0, source);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x) {
                const QRgb d = rgbAt(before, x, y);
                const QRgb s = rgbAt(source, x, y);
                const QRgb expected = mode == cmSrcAnd     ? (d & s)
                                      : mode == cmSrcPaint ? (d | s)
                                                           : (d ^ s);
                EXPECT_EQ(rgbAt(bmp.image(), x, y), expected) << mode << " " << x << "," << y;
            }
    }
}

TEST(CanvasImages, AndTransferLetsWhiteShowTheBackground)
{
    // A picture drawn on white and ANDed onto a surface keeps the surface where it was white.
    Bitmap picture(8, 4);
    picture.canvas().MoveTo(1, 2);
    picture.canvas().LineTo(7, 2);
    Bitmap surface(10, 6);
    surface.canvas().Brush().Color = clAqua;
    surface.canvas().FillRect(0, 0, 10, 6);
    surface.canvas().SetCopyMode(cmSrcAnd);
    surface.canvas().Draw(1, 1, picture);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool onLine = y == 3 && x >= 2 && x <= 7;
            EXPECT_EQ(rgbAt(surface.image(), x, y), onLine ? 0u : 0x00FFFFu) << x << "," << y;
        }
}

TEST(CanvasImages, StretchDrawRepeatsTheNearestSourcePixel)
{
    Bitmap bmp(8, 8);
    const QImage source = numbered(2, 3);
    bmp.canvas().StretchDraw(QRect(1, 1, 4, 6), source);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(rgbAt(bmp.image(), 1 + x, 1 + y), rgbAt(source, x / 2, y / 2));
    EXPECT_EQ(rgbAt(bmp.image(), 5, 1), 0xFFFFFFu);
    EXPECT_EQ(rgbAt(bmp.image(), 1, 7), 0xFFFFFFu);

    // Shrinking picks pixel centres: every other column of a 6-wide source, starting at the
    // second.
    Bitmap small(3, 1);
    const QImage wide = numbered(6, 1);
    small.canvas().StretchDraw(QRect(0, 0, 3, 1), wide);
    EXPECT_EQ(rgbAt(small.image(), 0, 0), rgbAt(wide, 1, 0));
    EXPECT_EQ(rgbAt(small.image(), 2, 0), rgbAt(wide, 5, 0));
}

TEST(CanvasImages, TileDrawRepeatsTheImageOverTheArea)
{
    Bitmap bmp(12, 9);
    const QImage tile = numbered(3, 2);
    const QRect area(1, 2, 8, 5);
    bmp.canvas().TileDraw(area, tile);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 12; ++x) {
            const QRgb expected = area.contains(x, y)
                                      ? rgbAt(tile, (x - area.left()) % 3, (y - area.top()) % 2)
                                      : 0xFFFFFFu;
            EXPECT_EQ(rgbAt(bmp.image(), x, y), expected) << x << "," << y;
        }
    // The clip rectangle in force afterwards is the one before.
    EXPECT_EQ(bmp.canvas().clipRect(), QRect(0, 0, 12, 9));
}

TEST(CanvasImages, CopyRectBetweenCanvasesAndWithinOne)
{
    Bitmap source(5, 5);
    source.canvas().Draw(0, 0, numbered(5, 5));
    Bitmap target(6, 6);
    target.canvas().CopyRect(QRect(2, 3, 2, 2), source.canvas(), QRect(1, 1, 2, 2));
    EXPECT_EQ(rgbAt(target.image(), 2, 3), rgbAt(source.image(), 1, 1));
    EXPECT_EQ(rgbAt(target.image(), 3, 4), rgbAt(source.image(), 2, 2));
    EXPECT_EQ(rgbAt(target.image(), 4, 4), 0xFFFFFFu);

    // Overlapping copy within one picture reads the picture as it was before.
    const QImage before = source.image().copy();
    source.canvas().CopyRect(QRect(1, 0, 4, 5), source.canvas(), QRect(0, 0, 4, 5));
    for (int y = 0; y < 5; ++y)
        for (int x = 1; x < 5; ++x)
            EXPECT_EQ(rgbAt(source.image(), x, y), rgbAt(before, x - 1, y)) << x << "," << y;
}

TEST(CanvasImages, BitmapLoadsPictureFiles)
{
    const QString path = QDir::temp().filePath(QStringLiteral("ionograph-canvas-test.bmp"));
    numbered(3, 2).convertToFormat(QImage::Format_RGB888).save(path, "BMP");
    Bitmap bmp;
    ASSERT_TRUE(bmp.LoadFromFile(path));
    EXPECT_EQ(bmp.image().format(), QImage::Format_RGB32);
    EXPECT_EQ(bmp.Width(), 3);
    EXPECT_EQ(rgbAt(bmp.image(), 2, 1), qRgb(21, 11, 0x5A) & 0xFFFFFFu);
    bmp.canvas().SetPixel(0, 0, clBlack);
    EXPECT_EQ(rgbAt(bmp.image(), 0, 0), 0u);
    QFile::remove(path);
    EXPECT_FALSE(bmp.LoadFromFile(path));
    EXPECT_EQ(bmp.Width(), 3);
}

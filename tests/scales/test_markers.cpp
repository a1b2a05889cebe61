// SPDX-License-Identifier: GPL-3.0-or-later
// Data-point markers, pixel by pixel: the screen patterns and their printer line forms, filled
// and open shapes, brush restoration, character markers and codes outside the table.

#include "platform/Canvas.h"
#include "scales/Zel_zelbase.h"

#include <QImage>
#include <climits>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

constexpr int kSize = 21;
constexpr int kCx = 10;
constexpr int kCy = 10;

// A white picture with a black pen and a blue solid brush, the marker centred at (10, 10).
struct MarkerPicture
{
    Bitmap bitmap{kSize, kSize};

    MarkerPicture()
    {
        Canvas &c = canvas();
        c.Brush().Color = clWhite;
        c.Brush().Style = Gfx::bsSolid;
        c.FillRect(0, 0, kSize, kSize);
        c.Pen().Color = clBlack;
        c.Brush().Color = clBlue;
    }
    Canvas &canvas() { return bitmap.canvas(); }
    void draw(int code) { DrawMarker(canvas(), code, kCx, kCy); }
    TColor at(int dx, int dy) const { return bitmap.canvas().Pixel(kCx + dx, kCy + dy); }

    // The pixels (dx, dy) relative to the centre that are not white.
    std::vector<std::pair<int, int>> inked() const
    {
        std::vector<std::pair<int, int>> points;
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x)
                if (bitmap.canvas().Pixel(x, y) != clWhite)
                    points.emplace_back(x - kCx, y - kCy);
        return points;
    }

    // The 9 x 9 block around the centre, '#' pen-black, '.' white, 'b' blue, '?' other;
    // asserts that nothing outside the block was touched.
    std::string block() const
    {
        std::string text;
        for (int y = 0; y < kSize; ++y) {
            for (int x = 0; x < kSize; ++x) {
                const TColor p = bitmap.canvas().Pixel(x, y);
                const bool inside = std::abs(x - kCx) <= 4 && std::abs(y - kCy) <= 4;
                if (!inside) {
                    EXPECT_EQ(p, clWhite) << "stray pixel at " << x << "," << y;
                    continue;
                }
                text += p == clBlack ? '#' : p == clWhite ? '.' : p == clBlue ? 'b' : '?';
            }
            if (std::abs(y - kCy) <= 4)
                text += '\n';
        }
        return text;
    }
};

// A 7 x 7 pattern framed by one white pixel on every side, as block() shows it.
std::string framed(std::initializer_list<const char *> rows)
{
    std::string text = ".........\n";
    for (const char *row : rows)
        text += std::string(".") + row + ".\n";
    return text + ".........\n";
}

std::string rowsOf(std::initializer_list<const char *> rows)
{
    std::string text;
    for (const char *row : rows)
        text += std::string(row) + '\n';
    return text;
}

} // namespace

TEST(Marker, CodeZeroSetsExactlyOnePixel)
{
    MarkerPicture pic;
    pic.canvas().Pen().Color = clRed;
    pic.draw(0);
    EXPECT_EQ(pic.inked(), (std::vector<std::pair<int, int>>{{0, 0}}));
    EXPECT_EQ(pic.at(0, 0), clRed);
}

TEST(Marker, ScreenPatternsAreStampedPixelForPixel)
{
    struct Case
    {
        int code;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {1, framed({".......", ".......", "...#...", "..###..", "...#...", ".......", "......."})},
        {3, framed({"...#...", "...#...", "...#...", "#######", "...#...", "...#...", "...#..."})},
        {5, framed({".......", ".#...#.", "..#.#..", "...#...", "..#.#..", ".#...#.", "......."})},
        {6, framed({"#.....#", ".#...#.", "..#.#..", "...#...", "..#.#..", ".#...#.", "#.....#"})},
        {18, framed({"#.#.#.#", ".#.#.#.", "#.#.#.#", ".#.#.#.", "#.#.#.#", ".#.#.#.", "#.#.#.#"})},
        {25, framed({"##...##", "###.###", ".#####.", "..###..", ".#####.", "###.###", "##...##"})},
    };
    for (const Case &c : cases) {
        MarkerPicture pic;
        pic.canvas().Pen().Width = 3; // patterns ignore the pen width
        pic.draw(c.code);
        EXPECT_EQ(pic.block(), c.expected) << "code " << c.code;
    }
}

TEST(Marker, PrinterDrawsLinesInsteadOfPatterns)
{
    struct Case
    {
        int code;
        std::string expected;
    };
    const std::vector<Case> cases = {
        // Plus of arm 2: lines (x-2, y)-(x+2, y) and (x, y-2)-(x, y+2), far ends left out.
        {1, rowsOf({".........", ".........", "....#....", "....#....", "..####...", "....#....",
                    ".........", ".........", "........."})},
        {3, rowsOf({"....#....", "....#....", "....#....", "....#....", "########.", "....#....",
                    "....#....", "....#....", "........."})},
        {6, rowsOf({"#........", ".#.....#.", "..#...#..", "...#.#...", "....#....", "...#.#...",
                    "..#...#..", ".#.....#.", "#........"})},
        // Three parallel lines each way; the far ends are left out.
        {25, rowsOf({".........", ".##......", ".###.##..", "..#####..", "...###...", "..#####..",
                     ".###.##..", ".##......", "........."})},
        // The chequer has no line form: the same pixels.
        {18, framed({"#.#.#.#", ".#.#.#.", "#.#.#.#", ".#.#.#.", "#.#.#.#", ".#.#.#.", "#.#.#.#"})},
    };
    for (const Case &c : cases) {
        MarkerPicture pic;
        pic.canvas().setTreatAsPrinter(true);
        pic.draw(c.code);
        EXPECT_EQ(pic.block(), c.expected) << "code " << c.code;
    }
}

TEST(Marker, FilledSquareUsesThePenColourAndRestoresTheBrush)
{
    MarkerPicture pic;
    pic.canvas().Pen().Color = clRed;
    pic.draw(9);
    for (int dy = -4; dy <= 4; ++dy) {
        for (int dx = -4; dx <= 4; ++dx) {
            const bool inside = std::abs(dx) <= 3 && std::abs(dy) <= 3;
            EXPECT_EQ(pic.at(dx, dy), inside ? clRed : clWhite) << dx << "," << dy;
        }
    }
    EXPECT_EQ(pic.canvas().Brush().Color, clBlue);
    EXPECT_EQ(pic.canvas().Brush().Style, Gfx::bsSolid);
}

TEST(Marker, FilledShapesKeepAClearBrushClear)
{
    // A clear brush at the call leaves filled shapes as outlines and stays clear.
    MarkerPicture pic;
    pic.canvas().Brush().Style = Gfx::bsClear;
    pic.draw(8);
    EXPECT_EQ(pic.block(), framed({".......", ".#####.", ".#...#.", ".#...#.", ".#...#.", ".#####.",
                                   "......."}));
    EXPECT_EQ(pic.canvas().Brush().Style, Gfx::bsClear);
    EXPECT_EQ(pic.canvas().Brush().Color, clBlue);
}

TEST(Marker, OpenAndFilledOutlines)
{
    struct Case
    {
        int code;
        std::string expected;
    };
    const std::vector<Case> cases = {
        // Square outline, a = 2, all four corners drawn.
        {11, framed({".......", ".#####.", ".#...#.", ".#...#.", ".#...#.", ".#####.", "......."})},
        // Diamond with and without the centre pixel.
        {13, framed({"...#...", "..#.#..", ".#...#.", "#..#..#", ".#...#.", "..#.#..", "...#..."})},
        {19, framed({"...#...", "..#.#..", ".#...#.", "#.....#", ".#...#.", "..#.#..", "...#..."})},
        // Filled diamond, a = 3: interior in the pen colour, not the blue brush.
        {15, framed({"...#...", "..###..", ".#####.", "#######", ".#####.", "..###..", "...#..."})},
        // Caret, a = 3: the arms end one pixel short of (x -+ 3, y + 3).
        {20, framed({".......", ".......", ".......", "...#...", "..#.#..", ".#...#.", "......."})},
        // V, a = 4.
        {23, rowsOf({".........", ".#.....#.", "..#...#..", "...#.#...", "....#....", ".........",
                     ".........", ".........", "........."})},
        // Filled triangle, apex down, a = 3.
        {30, framed({".......", ".......", ".......", "#######", ".#####.", "..###..", "...#..."})},
        // Open triangle, same points: the interior keeps the background.
        {32, framed({".......", ".......", ".......", "#######", ".#...#.", "..#.#..", "...#..."})},
    };
    for (const Case &c : cases) {
        MarkerPicture pic;
        pic.draw(c.code);
        EXPECT_EQ(pic.block(), c.expected) << "code " << c.code;
    }
}

TEST(Marker, CompositeShapes)
{
    {
        // Inverted T: bar (x-3..x+3, y), stem up to y-7.
        MarkerPicture pic;
        pic.draw(37);
        EXPECT_EQ(pic.at(-3, 0), clBlack);
        EXPECT_EQ(pic.at(3, 0), clBlack);
        EXPECT_EQ(pic.at(4, 0), clWhite);
        EXPECT_EQ(pic.at(0, -7), clBlack);
        EXPECT_EQ(pic.at(0, -8), clWhite);
        EXPECT_EQ(pic.at(0, 1), clWhite);
    }
    {
        // I-beam.
        MarkerPicture pic;
        pic.draw(38);
        EXPECT_EQ(pic.block(), framed({".......", "#######", "...#...", "...#...", "...#...",
                                       "#######", "......."}));
    }
    {
        // Open square with the longer plus, the far ends of the plus included.
        MarkerPicture pic;
        pic.draw(49);
        EXPECT_EQ(pic.block(),
                  rowsOf({"....#....", "....#....", "..#####..", "..#.#.#..", "#########",
                          "..#.#.#..", "..#####..", "....#....", "....#...."}));
    }
    {
        // Target: longer plus and four bars of three pixels.
        MarkerPicture pic;
        pic.draw(51);
        EXPECT_EQ(pic.block(),
                  rowsOf({"....#....", "...###...", "....#....", ".#..#..#.", "#########",
                          ".#..#..#.", "....#....", "...###...", "....#...."}));
    }
}

TEST(Marker, BrushColourIsRestoredAndOpenShapesLeaveItSolid)
{
    auto isOpen = [](int code) {
        return code == 16 || code == 17 || code == 27 || code == 31 || code == 32 || code == 33 ||
               code == 35 || code == 39 || code == 40 || code == 42 || code == 44 || code == 46 ||
               (code >= 48 && code <= 51);
    };
    for (bool printer : {false, true}) {
        for (TBrushStyle style : {Gfx::bsSolid, Gfx::bsClear}) {
            for (int code = 0; code <= 51; ++code) {
                MarkerPicture pic;
                pic.canvas().setTreatAsPrinter(printer);
                pic.canvas().Pen().Color = clRed;
                pic.canvas().Brush().Style = style;
                pic.draw(code);
                EXPECT_EQ(pic.canvas().Brush().Color, clBlue) << "code " << code;
                EXPECT_EQ(pic.canvas().Brush().Style, isOpen(code) ? Gfx::bsSolid : style)
                    << "code " << code << " printer " << printer;
                EXPECT_EQ(pic.canvas().Pen().Color, clRed) << "code " << code;
                // Every shape draws something, in the pen colour only.
                const auto inked = pic.inked();
                EXPECT_FALSE(inked.empty()) << "code " << code;
                for (auto [dx, dy] : inked)
                    EXPECT_EQ(pic.at(dx, dy), clRed) << "code " << code;
            }
        }
    }
}

TEST(Marker, OpenCircleLeavesItsInteriorAlone)
{
    MarkerPicture pic;
    pic.canvas().Pen().Color = clRed;
    pic.draw(17);
    EXPECT_EQ(pic.at(0, 0), clWhite);
    EXPECT_EQ(pic.at(-3, 0), clRed);
    EXPECT_EQ(pic.at(3, 0), clRed);
    EXPECT_EQ(pic.at(0, -3), clRed);
    EXPECT_EQ(pic.at(0, 3), clRed);
    EXPECT_EQ(pic.at(-3, -3), clWhite);

    MarkerPicture filled;
    filled.canvas().Pen().Color = clRed;
    filled.draw(24); // the same box, filled
    EXPECT_EQ(filled.at(0, 0), clRed);
    EXPECT_EQ(filled.at(2, 1), clRed);
    EXPECT_EQ(filled.at(-3, -3), clWhite);
}

TEST(Marker, CharacterCodesDrawTheCharacterCentred)
{
    for (int code : {65, 149, 215}) {
        MarkerPicture pic;
        Canvas &c = pic.canvas();
        c.Font().SetColor(clBlack);
        c.Font().SetHeight(-12);
        c.Brush().Style = Gfx::bsClear;
        c.setTextAlign(TextAlignH::Right, TextAlignV::Bottom); // ignored, and kept
        pic.draw(code);
        EXPECT_EQ(c.textAlignH(), TextAlignH::Right);
        EXPECT_EQ(c.textAlignV(), TextAlignV::Bottom);

        // The same character put with its box's top-left corner at (x - w div 2, y - h div 2).
        const QString text = code == 65    ? QStringLiteral("A")
                             : code == 149 ? QString(QChar(0x2022))
                                           : QString(QChar(0xD7));
        MarkerPicture ref;
        Canvas &r = ref.canvas();
        r.Font().SetColor(clBlack);
        r.Font().SetHeight(-12);
        r.Brush().Style = Gfx::bsClear;
        const int w = r.TextWidth(text);
        const int h = r.TextHeight(text);
        ASSERT_GT(w, 0);
        r.TextOut(kCx - w / 2, kCy - h / 2, text);

        EXPECT_FALSE(pic.inked().empty()) << "code " << code;
        EXPECT_EQ(pic.bitmap.image(), ref.bitmap.image()) << "code " << code;
    }
}

TEST(Marker, CodesOutsideTheTableDrawNothing)
{
    for (int code : {-1, 256, 1000, INT_MIN, INT_MAX}) {
        MarkerPicture pic;
        pic.draw(code);
        EXPECT_TRUE(pic.inked().empty()) << "code " << code;
        EXPECT_EQ(pic.canvas().Brush().Color, clBlue);
        EXPECT_EQ(pic.canvas().Brush().Style, Gfx::bsSolid);
    }
}

TEST(Marker, CentresFarOutsideThePictureAreSafe)
{
    // The offsets of every shape must not overflow near the ends of the integer range.
    for (int code : {3, 9, 17, 25, 36, 37, 49, 50, 65}) {
        for (int v : {INT_MIN, INT_MAX, INT_MAX - 2}) {
            MarkerPicture pic;
            DrawMarker(pic.canvas(), code, v, kCy);
            DrawMarker(pic.canvas(), code, kCx, v);
            pic.canvas().setTreatAsPrinter(true);
            DrawMarker(pic.canvas(), code, v, v);
            EXPECT_TRUE(pic.inked().empty()) << "code " << code;
        }
    }
}

TEST(Marker, ShapesAreClippedAtThePictureEdge)
{
    MarkerPicture pic;
    DrawMarker(pic.canvas(), 9, 0, 0);
    DrawMarker(pic.canvas(), 25, kSize - 1, kSize - 1);
    EXPECT_EQ(pic.canvas().Pixel(0, 0), clBlack);
    EXPECT_EQ(pic.canvas().Pixel(3, 3), clBlack);
    EXPECT_EQ(pic.canvas().Pixel(4, 4), clWhite);
    // The heavy cross's first row "##...##" starts at (x - 3, y - 3) = (17, 17).
    EXPECT_EQ(pic.canvas().Pixel(kSize - 1, kSize - 1), clBlack);
    EXPECT_EQ(pic.canvas().Pixel(18, 17), clBlack);
    EXPECT_EQ(pic.canvas().Pixel(19, 17), clWhite);
}

// SPDX-License-Identifier: GPL-3.0-or-later
// Data-point markers.

#include "scales/zelbase_markers.h"

#include "platform/Canvas.h"
#include "platform/CanvasSave.h"

#include <QChar>
#include <QPoint>
#include <QString>
#include <algorithm>
#include <array>
#include <cstdint>

namespace {

// A 7 x 7 screen pattern, row 0 at y - 3, column 0 at x - 3; '#' is a pixel in the pen colour.
using Pattern = std::array<const char *, 7>;

constexpr Pattern kPlus1 = {".......", ".......", "...#...", "..###..",
                            "...#...", ".......", "......."};
constexpr Pattern kPlus2 = {".......", "...#...", "...#...", ".#####.",
                            "...#...", "...#...", "......."};
constexpr Pattern kPlus3 = {"...#...", "...#...", "...#...", "#######",
                            "...#...", "...#...", "...#..."};
constexpr Pattern kCross1 = {".......", ".......", "..#.#..", "...#...",
                             "..#.#..", ".......", "......."};
constexpr Pattern kCross2 = {".......", ".#...#.", "..#.#..", "...#...",
                             "..#.#..", ".#...#.", "......."};
constexpr Pattern kCross3 = {"#.....#", ".#...#.", "..#.#..", "...#...",
                             "..#.#..", ".#...#.", "#.....#"};
constexpr Pattern kChequer = {"#.#.#.#", ".#.#.#.", "#.#.#.#", ".#.#.#.",
                              "#.#.#.#", ".#.#.#.", "#.#.#.#"};
constexpr Pattern kHeavyCross = {"##...##", "###.###", ".#####.", "..###..",
                                 ".#####.", "###.###", "##...##"};

void stamp(Canvas &canvas, const Pattern &pattern, int x, int y)
{
    const TColor color = canvas.Pen().Color;
    for (int row = 0; row < 7; ++row) {
        for (int column = 0; column < 7; ++column) {
            if (pattern[row][column] == '#')
                canvas.SetPixel(x - 3 + column, y - 3 + row, color);
        }
    }
}

// A line from (x1, y1) up to but not including (x2, y2).
void line(Canvas &canvas, int x1, int y1, int x2, int y2)
{
    canvas.MoveTo(x1, y1);
    canvas.LineTo(x2, y2);
}

// Filled shapes: the brush takes the pen colour, in the brush style in force.
void fillWithPen(Canvas &canvas)
{
    canvas.Brush().Color = canvas.Pen().Color;
}

// Open shapes draw with a clear brush; the brush is left solid afterwards.
void beginOpen(Canvas &canvas)
{
    canvas.Brush().Style = Gfx::bsClear;
}

void endOpen(Canvas &canvas)
{
    canvas.Brush().Style = Gfx::bsSolid;
}

void triangle(Canvas &canvas, QPoint a, QPoint b, QPoint c, bool filled)
{
    if (filled) {
        fillWithPen(canvas);
        canvas.Polygon({a, b, c});
    } else {
        beginOpen(canvas);
        canvas.Polygon({a, b, c});
        endOpen(canvas);
    }
}

// The plus of shapes 49..51, arms of four pixels and the far ends included.
void longPlus(Canvas &canvas, int x, int y)
{
    line(canvas, x - 4, y, x + 5, y);
    line(canvas, x, y - 4, x, y + 5);
}

// The character of a code 52..255 in the Windows ANSI code page: 128..159 hold typographic
// characters there (the bullet, dashes, quotes, the euro sign...); the five codes it leaves
// unassigned, and all others, are their Latin-1 characters.
QChar ansiCharacter(int code)
{
    static constexpr std::array<char16_t, 32> k80to9F = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    if (code >= 0x80 && code <= 0x9F)
        return QChar(k80to9F[code - 0x80]);
    return QChar(char16_t(code));
}

void drawCharacter(Canvas &canvas, int code, int x, int y)
{
    const QString text(ansiCharacter(code));
    const int w = canvas.TextWidth(text);
    const int h = canvas.TextHeight(text);
    const CanvasSave saved(canvas, CanvasSave::TextAlign | CanvasSave::FontColor |
                                       CanvasSave::BrushStyle | CanvasSave::BackgroundMode);
    // The symbol colour is the pen's, like every other shape's; nothing is drawn behind it.
    canvas.Font().SetColor(canvas.Pen().Color);
    canvas.Brush().Style = Gfx::bsClear;
    canvas.setBkMode(BkMode::Transparent);
    canvas.setTextAlign(TextAlignH::Left, TextAlignV::Top);
    canvas.TextOut(x - w / 2, y - h / 2, text);
}

// ---- the shape families ------------------------------------------------------------------------

// 1..3: pluses with arms of 1, 2 and 3 pixels; 4..6: diagonal crosses of the same sizes.
// Stamped on the screen, drawn with lines of the pen on a printer.
void drawThinCross(Canvas &canvas, int code, int x, int y)
{
    if (!canvas.isPrinter()) {
        static constexpr std::array<const Pattern *, 6> patterns = {&kPlus1,  &kPlus2,  &kPlus3,
                                                                    &kCross1, &kCross2, &kCross3};
        stamp(canvas, *patterns[std::size_t(code - 1)], x, y);
    } else if (code <= 3) {
        const int a = code + 1;
        line(canvas, x - a, y, x + a, y);
        line(canvas, x, y - a, x, y + a);
    } else {
        const int a = code - 2;
        line(canvas, x - a, y - a, x + a, y + a);
        line(canvas, x - a, y + a, x + a, y - a);
    }
}

// 25: the heavy diagonal cross, stamped on the screen, six lines on a printer.
void drawHeavyCross(Canvas &canvas, int x, int y)
{
    if (!canvas.isPrinter()) {
        stamp(canvas, kHeavyCross, x, y);
        return;
    }
    line(canvas, x - 3, y - 3, x + 3, y + 3);
    line(canvas, x - 3, y - 2, x + 2, y + 3);
    line(canvas, x - 2, y - 3, x + 3, y + 2);
    line(canvas, x - 3, y + 3, x + 3, y - 3);
    line(canvas, x - 3, y + 2, x + 2, y - 3);
    line(canvas, x - 2, y + 3, x + 3, y - 2);
}

// 7..9: filled squares of half-width 1..3; 10..12: their outlines.
void drawSquare(Canvas &canvas, int code, int x, int y)
{
    if (code <= 9) {
        const int a = code - 6;
        fillWithPen(canvas);
        canvas.Rectangle(x - a, y - a, x + a + 1, y + a + 1);
        return;
    }
    const int a = code - 9;
    canvas.Polyline(
        {{x - a, y - a}, {x - a, y + a}, {x + a, y + a}, {x + a, y - a}, {x - a, y - a}});
}

// 13: a diamond outline with its centre pixel, 19: the outline alone; 14, 15: filled diamonds.
void drawDiamond(Canvas &canvas, int code, int x, int y)
{
    if (code == 14 || code == 15) {
        const int a = code - 12;
        fillWithPen(canvas);
        canvas.Polygon({{x - a, y}, {x, y + a}, {x + a, y}, {x, y - a}});
        return;
    }
    canvas.Polyline({{x - 3, y}, {x, y + 3}, {x + 3, y}, {x, y - 3}, {x - 3, y}});
    if (code == 13)
        canvas.SetPixel(x, y, canvas.Pen().Color);
}

// 16, 17, 27: open circles; 24, 26, 28: filled ones.
void drawCircle(Canvas &canvas, int code, int x, int y)
{
    switch (code) {
    case 16:
    case 17: {
        const int a = code - 14;
        beginOpen(canvas);
        canvas.Ellipse(x - a, y - a, x + a + 1, y + a + 1);
        endOpen(canvas);
        return;
    }
    case 27:
        beginOpen(canvas);
        canvas.Ellipse(x - 2, y - 2, x + 2, y + 2);
        endOpen(canvas);
        return;
    case 24:
        fillWithPen(canvas);
        canvas.Ellipse(x - 3, y - 3, x + 4, y + 4);
        return;
    case 26:
        fillWithPen(canvas);
        canvas.Ellipse(x - 2, y - 2, x + 3, y + 3);
        return;
    default: // 28
        fillWithPen(canvas);
        canvas.Ellipse(x - 2, y - 2, x + 2, y + 2);
        return;
    }
}

// 20, 21: a caret opening downwards; 22, 23: upwards.
void drawChevron(Canvas &canvas, int code, int x, int y)
{
    if (code <= 21) {
        const int a = code - 17;
        line(canvas, x, y, x - a, y + a);
        line(canvas, x, y, x + a, y + a);
    } else {
        const int a = code - 19;
        line(canvas, x, y, x - a, y - a);
        line(canvas, x, y, x + a, y - a);
    }
}

// The triangles, by their corners relative to the centre: 29..36 pointing up and down, 40..47
// left and right.
struct TriangleShape
{
    int code;
    std::array<QPoint, 3> corners;
    bool filled;
};

constexpr std::array<TriangleShape, 16> kTriangles = {{
    {29, {{{-2, 0}, {0, 2}, {2, 0}}}, true},
    {30, {{{-3, 0}, {0, 3}, {3, 0}}}, true},
    {31, {{{-2, 0}, {0, 2}, {2, 0}}}, false},
    {32, {{{-3, 0}, {0, 3}, {3, 0}}}, false},
    {33, {{{-4, -3}, {0, 4}, {4, -3}}}, false},
    {34, {{{-4, -3}, {0, 4}, {4, -3}}}, true},
    {35, {{{-4, 3}, {0, -4}, {4, 3}}}, false},
    {36, {{{-4, 3}, {0, -4}, {4, 3}}}, true},
    {40, {{{3, -2}, {-2, 0}, {3, 2}}}, false},
    {41, {{{3, -2}, {-2, 0}, {3, 2}}}, true},
    {42, {{{4, -3}, {-3, 0}, {4, 3}}}, false},
    {43, {{{4, -3}, {-3, 0}, {4, 3}}}, true},
    {44, {{{-3, -2}, {2, 0}, {-3, 2}}}, false},
    {45, {{{-3, -2}, {2, 0}, {-3, 2}}}, true},
    {46, {{{-4, -3}, {3, 0}, {-4, 3}}}, false},
    {47, {{{-4, -3}, {3, 0}, {-4, 3}}}, true},
}};

void drawTriangle(Canvas &canvas, int code, int x, int y)
{
    for (const TriangleShape &shape : kTriangles) {
        if (shape.code != code)
            continue;
        const QPoint centre(x, y);
        triangle(canvas, centre + shape.corners[0], centre + shape.corners[1],
                 centre + shape.corners[2], shape.filled);
        return;
    }
}

// 37, 38: a post and an I-beam; 39: a circle with a plus; 48..51: plus, boxes and stars.
void drawComposite(Canvas &canvas, int code, int x, int y)
{
    switch (code) {
    case 37:
        line(canvas, x - 3, y, x + 4, y);
        line(canvas, x, y, x, y - 8);
        return;
    case 38:
        line(canvas, x - 3, y - 2, x + 4, y - 2);
        line(canvas, x - 3, y + 2, x + 4, y + 2);
        line(canvas, x, y - 2, x, y + 2);
        return;
    case 39:
        beginOpen(canvas);
        canvas.Ellipse(x - 3, y - 3, x + 4, y + 4);
        endOpen(canvas);
        line(canvas, x - 3, y, x + 4, y);
        line(canvas, x, y - 3, x, y + 4);
        return;
    case 48:
        beginOpen(canvas);
        canvas.Rectangle(x - 3, y - 3, x + 4, y + 4);
        line(canvas, x - 3, y, x + 4, y);
        line(canvas, x, y - 3, x, y + 4);
        endOpen(canvas);
        return;
    case 49:
        beginOpen(canvas);
        canvas.Rectangle(x - 2, y - 2, x + 3, y + 3);
        longPlus(canvas, x, y);
        endOpen(canvas);
        return;
    case 50:
        longPlus(canvas, x, y);
        line(canvas, x - 3, y - 3, x + 4, y + 4);
        line(canvas, x - 3, y + 3, x + 4, y - 4);
        endOpen(canvas);
        return;
    default: // 51
        longPlus(canvas, x, y);
        line(canvas, x - 1, y - 3, x + 2, y - 3);
        line(canvas, x - 1, y + 3, x + 2, y + 3);
        line(canvas, x - 3, y - 1, x - 3, y + 2);
        line(canvas, x + 3, y - 1, x + 3, y + 2);
        endOpen(canvas);
        return;
    }
}

// The families of the shape codes 0..51, and the family of each code.
enum class Family : std::uint8_t {
    Pixel,
    ThinCross,
    Square,
    Diamond,
    Circle,
    Chequer,
    Chevron,
    HeavyCross,
    Triangle,
    Composite
};

using enum Family;
constexpr std::array<Family, 52> kFamilies = {
    Pixel,     ThinCross,  ThinCross, ThinCross, ThinCross, ThinCross, ThinCross, Square,
    Square,    Square,     Square,    Square,    Square,    Diamond,   Diamond,   Diamond,
    Circle,    Circle,     Chequer,   Diamond,   Chevron,   Chevron,   Chevron,   Chevron,
    Circle,    HeavyCross, Circle,    Circle,    Circle,    Triangle,  Triangle,  Triangle,
    Triangle,  Triangle,   Triangle,  Triangle,  Triangle,  Composite, Composite, Composite,
    Triangle,  Triangle,   Triangle,  Triangle,  Triangle,  Triangle,  Triangle,  Triangle,
    Composite, Composite,  Composite, Composite};

void drawShape(Canvas &canvas, int code, int x, int y)
{
    switch (kFamilies[std::size_t(code)]) {
    case Pixel:
        canvas.SetPixel(x, y, canvas.Pen().Color);
        break;
    case ThinCross:
        drawThinCross(canvas, code, x, y);
        break;
    case Square:
        drawSquare(canvas, code, x, y);
        break;
    case Diamond:
        drawDiamond(canvas, code, x, y);
        break;
    case Circle:
        drawCircle(canvas, code, x, y);
        break;
    case Chequer:
        // The printer gets the same pixels: there is no line form of a chequer.
        stamp(canvas, kChequer, x, y);
        break;
    case Chevron:
        drawChevron(canvas, code, x, y);
        break;
    case HeavyCross:
        drawHeavyCross(canvas, x, y);
        break;
    case Triangle:
        drawTriangle(canvas, code, x, y);
        break;
    case Composite:
        drawComposite(canvas, code, x, y);
        break;
    }
}

} // namespace

void DrawMarker(Canvas &canvas, int code, int x, int y)
{
    if (code < 0 || code > 255)
        return;
    // Every shape reaches at most a few pixels from its centre; centres far outside any picture
    // are pulled in to where that arithmetic cannot overflow and the shape is still invisible.
    constexpr int limit = 1 << 30;
    x = std::clamp(x, -limit, limit);
    y = std::clamp(y, -limit, limit);
    if (code >= 52) {
        drawCharacter(canvas, code, x, y);
        return;
    }
    const CanvasSave saved(canvas, CanvasSave::BrushColor);
    drawShape(canvas, code, x, y);
}

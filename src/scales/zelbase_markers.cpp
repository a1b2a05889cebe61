// Data-point markers.

#include "scales/zelbase_markers.h"

#include "platform/Canvas.h"

#include <QChar>
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
    const TextAlignH alignH = canvas.textAlignH();
    const TextAlignV alignV = canvas.textAlignV();
    const TColor fontColor = canvas.Font().Color();
    const TBrushStyle brushStyle = canvas.Brush().Style;
    const BkMode bkMode = canvas.bkMode();
    // The symbol colour is the pen's, like every other shape's; nothing is drawn behind it.
    canvas.Font().SetColor(canvas.Pen().Color);
    canvas.Brush().Style = Gfx::bsClear;
    canvas.setBkMode(BkMode::Transparent);
    canvas.setTextAlign(TextAlignH::Left, TextAlignV::Top);
    canvas.TextOut(x - w / 2, y - h / 2, text);
    canvas.setTextAlign(alignH, alignV);
    canvas.setBkMode(bkMode);
    canvas.Brush().Style = brushStyle;
    canvas.Font().SetColor(fontColor);
}

void drawShape(Canvas &canvas, int code, int x, int y)
{
    const bool printer = canvas.isPrinter();
    switch (code) {
    case 0:
        canvas.SetPixel(x, y, canvas.Pen().Color);
        break;
    case 1:
    case 2:
    case 3:
        if (printer) {
            const int a = code + 1;
            line(canvas, x - a, y, x + a, y);
            line(canvas, x, y - a, x, y + a);
        } else {
            stamp(canvas, code == 1 ? kPlus1 : code == 2 ? kPlus2 : kPlus3, x, y);
        }
        break;
    case 4:
    case 5:
    case 6:
        if (printer) {
            const int a = code - 2;
            line(canvas, x - a, y - a, x + a, y + a);
            line(canvas, x - a, y + a, x + a, y - a);
        } else {
            stamp(canvas, code == 4 ? kCross1 : code == 5 ? kCross2 : kCross3, x, y);
        }
        break;
    case 7:
    case 8:
    case 9: {
        const int a = code - 6;
        fillWithPen(canvas);
        canvas.Rectangle(x - a, y - a, x + a + 1, y + a + 1);
        break;
    }
    case 10:
    case 11:
    case 12: {
        const int a = code - 9;
        canvas.Polyline(
            {{x - a, y - a}, {x - a, y + a}, {x + a, y + a}, {x + a, y - a}, {x - a, y - a}});
        break;
    }
    case 13:
    case 19:
        canvas.Polyline({{x - 3, y}, {x, y + 3}, {x + 3, y}, {x, y - 3}, {x - 3, y}});
        if (code == 13)
            canvas.SetPixel(x, y, canvas.Pen().Color);
        break;
    case 14:
    case 15: {
        const int a = code - 12;
        fillWithPen(canvas);
        canvas.Polygon({{x - a, y}, {x, y + a}, {x + a, y}, {x, y - a}});
        break;
    }
    case 16:
    case 17: {
        const int a = code - 14;
        beginOpen(canvas);
        canvas.Ellipse(x - a, y - a, x + a + 1, y + a + 1);
        endOpen(canvas);
        break;
    }
    case 18:
        // The printer gets the same pixels: there is no line form of a chequer.
        stamp(canvas, kChequer, x, y);
        break;
    case 20:
    case 21: {
        const int a = code - 17;
        line(canvas, x, y, x - a, y + a);
        line(canvas, x, y, x + a, y + a);
        break;
    }
    case 22:
    case 23: {
        const int a = code - 19;
        line(canvas, x, y, x - a, y - a);
        line(canvas, x, y, x + a, y - a);
        break;
    }
    case 24:
        fillWithPen(canvas);
        canvas.Ellipse(x - 3, y - 3, x + 4, y + 4);
        break;
    case 25:
        if (printer) {
            line(canvas, x - 3, y - 3, x + 3, y + 3);
            line(canvas, x - 3, y - 2, x + 2, y + 3);
            line(canvas, x - 2, y - 3, x + 3, y + 2);
            line(canvas, x - 3, y + 3, x + 3, y - 3);
            line(canvas, x - 3, y + 2, x + 2, y - 3);
            line(canvas, x - 2, y + 3, x + 3, y - 2);
        } else {
            stamp(canvas, kHeavyCross, x, y);
        }
        break;
    case 26:
        fillWithPen(canvas);
        canvas.Ellipse(x - 2, y - 2, x + 3, y + 3);
        break;
    case 27:
        beginOpen(canvas);
        canvas.Ellipse(x - 2, y - 2, x + 2, y + 2);
        endOpen(canvas);
        break;
    case 28:
        fillWithPen(canvas);
        canvas.Ellipse(x - 2, y - 2, x + 2, y + 2);
        break;
    case 29:
    case 30:
    case 31:
    case 32: {
        const int a = (code == 29 || code == 31) ? 2 : 3;
        triangle(canvas, {x - a, y}, {x, y + a}, {x + a, y}, code <= 30);
        break;
    }
    case 33:
    case 34:
        triangle(canvas, {x - 4, y - 3}, {x, y + 4}, {x + 4, y - 3}, code == 34);
        break;
    case 35:
    case 36:
        triangle(canvas, {x - 4, y + 3}, {x, y - 4}, {x + 4, y + 3}, code == 36);
        break;
    case 37:
        line(canvas, x - 3, y, x + 4, y);
        line(canvas, x, y, x, y - 8);
        break;
    case 38:
        line(canvas, x - 3, y - 2, x + 4, y - 2);
        line(canvas, x - 3, y + 2, x + 4, y + 2);
        line(canvas, x, y - 2, x, y + 2);
        break;
    case 39:
        beginOpen(canvas);
        canvas.Ellipse(x - 3, y - 3, x + 4, y + 4);
        endOpen(canvas);
        line(canvas, x - 3, y, x + 4, y);
        line(canvas, x, y - 3, x, y + 4);
        break;
    case 40:
    case 41:
        triangle(canvas, {x + 3, y - 2}, {x - 2, y}, {x + 3, y + 2}, code == 41);
        break;
    case 42:
    case 43:
        triangle(canvas, {x + 4, y - 3}, {x - 3, y}, {x + 4, y + 3}, code == 43);
        break;
    case 44:
    case 45:
        triangle(canvas, {x - 3, y - 2}, {x + 2, y}, {x - 3, y + 2}, code == 45);
        break;
    case 46:
    case 47:
        triangle(canvas, {x - 4, y - 3}, {x + 3, y}, {x - 4, y + 3}, code == 47);
        break;
    case 48:
        beginOpen(canvas);
        canvas.Rectangle(x - 3, y - 3, x + 4, y + 4);
        line(canvas, x - 3, y, x + 4, y);
        line(canvas, x, y - 3, x, y + 4);
        endOpen(canvas);
        break;
    case 49:
        beginOpen(canvas);
        canvas.Rectangle(x - 2, y - 2, x + 3, y + 3);
        longPlus(canvas, x, y);
        endOpen(canvas);
        break;
    case 50:
        longPlus(canvas, x, y);
        line(canvas, x - 3, y - 3, x + 4, y + 4);
        line(canvas, x - 3, y + 3, x + 4, y - 4);
        endOpen(canvas);
        break;
    case 51:
        longPlus(canvas, x, y);
        line(canvas, x - 1, y - 3, x + 2, y - 3);
        line(canvas, x - 1, y + 3, x + 2, y + 3);
        line(canvas, x - 3, y - 1, x - 3, y + 2);
        line(canvas, x + 3, y - 1, x + 3, y + 2);
        endOpen(canvas);
        break;
    default:
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
    const TColor brushColor = canvas.Brush().Color;
    drawShape(canvas, code, x, y);
    canvas.Brush().Color = brushColor;
}

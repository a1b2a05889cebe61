// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pixel probes shared by the scale drawing tests: colour checks, runs and boxes of one colour,
// and where a text landed compared with the same text written at a known point.

#include "platform/Canvas.h"

#include <QImage>
#include <QRect>
#include <climits>

namespace scale_pixels {

inline bool isColor(const QImage &image, int x, int y, TColor color)
{
    if (!image.rect().contains(x, y))
        return false;
    return (image.pixel(x, y) & 0xFFFFFFu) == (toQColor(color).rgb() & 0xFFFFFFu);
}

// Pixels of one colour in a row, starting at (x, y) and going (dx, dy).
inline int run(const QImage &image, int x, int y, int dx, int dy, TColor color)
{
    int n = 0;
    while (isColor(image, x + n * dx, y + n * dy, color))
        ++n;
    return n;
}

// The bounding box of the pixels of one colour inside an area.
inline QRect colorBox(const QImage &image, const QRect &area, TColor color)
{
    QRect box;
    const QRect r = area & image.rect();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (isColor(image, x, y, color))
                box |= QRect(x, y, 1, 1);
    return box;
}

// Where TextOut put a text: the glyphs' box in the picture, compared with the box of the
// same text written at a known point in the same font.
inline QPoint textOrigin(const QImage &image, const QRect &area, const QString &text,
                         const TFont &font)
{
    Bitmap reference(400, 100);
    Canvas &c = reference.canvas();
    c.Brush() = TBrush{clWhite};
    c.FillRect(0, 0, 400, 100);
    c.Font().Assign(font);
    c.Brush().Style = Gfx::bsClear;
    c.TextOut(50, 20, text);
    const QRect ref = colorBox(reference.image(), reference.image().rect(), font.Color());
    const QRect got = colorBox(image, area, font.Color());
    if (ref.isNull() || got.isNull())
        return {INT_MIN, INT_MIN};
    return got.topLeft() - ref.topLeft() + QPoint(50, 20);
}

inline QSize textSize(const TFont &font, const QString &text)
{
    Bitmap b(10, 10);
    b.canvas().Font().Assign(font);
    return {b.canvas().TextWidth(text), b.canvas().TextHeight(text)};
}

} // namespace scale_pixels

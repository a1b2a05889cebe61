// SPDX-License-Identifier: GPL-3.0-or-later
// Frames around the pictures of the scale control and other framed rectangles.

#include "platform/Canvas.h"
#include "platform/CanvasSave.h"
#include "scales/Zel_zelbase.h"

#include <algorithm>

namespace {

// Coordinates handed to the canvas stay in a range where one more pixel cannot overflow.
int safe(long long v)
{
    return static_cast<int>(std::clamp(v, -(1LL << 30), 1LL << 30));
}

// One ring: left edge up from the bottom-left corner and the top edge up to and including the
// top-right corner in the first colour; right edge down from just below the top-right corner
// and the bottom edge back to and including the bottom-left corner in the second.
void ring(Canvas &canvas, long long l, long long t, long long r, long long b, TColor topLeft,
          TColor bottomRight)
{
    if (r < l || b < t)
        return;
    canvas.Pen().Color = topLeft;
    canvas.MoveTo(safe(l), safe(b));
    canvas.LineTo(safe(l), safe(t));
    canvas.LineTo(safe(r + 1), safe(t));
    canvas.Pen().Color = bottomRight;
    canvas.MoveTo(safe(r), safe(t + 1));
    canvas.LineTo(safe(r), safe(b));
    canvas.LineTo(safe(l - 1), safe(b));
}

} // namespace

TFrameColors frameColorsOf(TColorScheme scheme)
{
    if (scheme == Zel::csSystem)
        return {clBlack, clBtnShadow, clBtnHighlight};
    return {clBlack, rgbColor(128, 128, 128), clWhite};
}

void DrawFrame3D(Canvas &canvas, int left, int top, int right, int bottom, TFrameStyle style,
                 TColor frameColor, TColor shadowColor, TColor highlightColor)
{
    struct Rings
    {
        TColor outerTopLeft, outerBottomRight, innerTopLeft, innerBottomRight;
    };
    const TColor F = frameColor;
    const TColor S = shadowColor;
    const TColor H = highlightColor;
    const TColor V = clFrameSilver;
    Rings rings{};
    switch (style) {
    case Zel::fsNone:
        return;
    case Zel::fsSimple:
        break;
    case Zel::fsLowered:
        rings = {S, H, F, V};
        break;
    case Zel::fsRaised:
        rings = {H, F, V, S};
        break;
    case Zel::fsEmbossed:
        rings = {H, S, S, H};
        break;
    case Zel::fsEngraved:
        rings = {S, H, H, S};
        break;
    default:
        return;
    }

    const CanvasSave saved(canvas, CanvasSave::Pen | CanvasSave::PenPos);
    canvas.Pen() = TPen{};
    if (style == Zel::fsSimple) {
        ring(canvas, left, top, right, bottom, F, F);
    } else {
        ring(canvas, left, top, right, bottom, rings.outerTopLeft, rings.outerBottomRight);
        ring(canvas, left + 1LL, top + 1LL, right - 1LL, bottom - 1LL, rings.innerTopLeft,
             rings.innerBottomRight);
    }
}

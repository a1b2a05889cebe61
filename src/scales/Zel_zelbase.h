// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Enumerations, exceptions and drawing objects shared by the component library's controls.

#include "platform/Colors.h"

#include <QObject>
#include <stdexcept>
#include <string>

// Base of the component library's exceptions.
class EZelError : public std::runtime_error
{
public:
    explicit EZelError(const std::string &message) : std::runtime_error(message) {}
};

namespace Zel {
Q_NAMESPACE

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
Q_ENUM_NS(TAlignment)

enum TFrameStyle { fsNone, fsSimple, fsLowered, fsRaised, fsEmbossed, fsEngraved };
Q_ENUM_NS(TFrameStyle)

enum TColorScheme { csBWG, csSystem };
Q_ENUM_NS(TColorScheme)

// ---- chart overlays and mouse modes (crosshairs, text labels) ----------------------------------

// Which lines of a crosshair are shown.
enum TCrossHMode { chOff, chHoriz, chVert, chBoth };
Q_ENUM_NS(TCrossHMode)

// Which coordinates of a text label's anchor follow the data mapping (the others are pixels).
enum TTxtLblAttachMode { tlamNone, tlamXOnly, tlamYOnly, tlamBoth };
Q_ENUM_NS(TTxtLblAttachMode)

// How a text label is drawn.
enum TTxtLblMode { tlOff, tlsimple, tlBox, tlUnderline, tlShadow };
Q_ENUM_NS(TTxtLblMode)

// Vertical placement of a text label's block against its anchor.
enum TVerticalAlignment { vaTop, vaCenter, vaBottom };
Q_ENUM_NS(TVerticalAlignment)

// What the mouse does in a chart.
enum TMouseActMode {
    maNone,
    maPan,
    maPanHoriz,
    maPanVert,
    maRubberBand,
    maZoom,
    maZoomWind,
    maZoomWindPos,
    maZoomDrag,
    maDragCrossH,
    maDragLabel,
    maRotate,
    maRotAndZoom,
    maRotXOnly,
    maRotZOnly
};
Q_ENUM_NS(TMouseActMode)

} // namespace Zel

using Zel::TAlignment;
using Zel::TColorScheme;
using Zel::TFrameStyle;

using Zel::TCrossHMode;
using Zel::TMouseActMode;
using Zel::TTxtLblAttachMode;
using Zel::TTxtLblMode;
using Zel::TVerticalAlignment;

class Canvas;

// ---- frames ----------------------------------------------------------------------------------

// The colours of a 3D frame: the frame colour (black) and the shadow and highlight colours of
// a colour scheme.
struct TFrameColors
{
    TColor Frame = clBlack;
    TColor Shadow = 0;
    TColor Highlight = 0;
};

// csBWG: grey (128,128,128) shadow and white highlight; csSystem: the system button shadow
// and highlight colours.
TFrameColors frameColorsOf(TColorScheme scheme);

// Silver, the inner bottom/right colour of lowered and inner top/left of raised frames.
constexpr TColor clFrameSilver = 0xC0C0C0;

// Draws a frame on the pixels left..right, top..bottom (all inclusive): fsNone nothing,
// fsSimple a one-pixel rectangle in the frame colour F; the 3D styles an outer ring and, one
// pixel inside it, an inner ring, each with its top and left edges in one colour and its
// bottom and right edges in another (S shadow, H highlight, V silver):
//     fsLowered  outer S/H, inner F/V        fsRaised    outer H/F, inner V/S
//     fsEmbossed outer H/S, inner S/H        fsEngraved  outer S/H, inner H/S
// A ring runs from the bottom-left corner up the left edge and along the top edge to the
// right edge (the top-right corner in the first colour), then from just below the top-right
// corner down the right edge and back along the bottom edge (the bottom-left corner in the
// second colour). The canvas pen is used and restored afterwards.
void DrawFrame3D(Canvas &canvas, int left, int top, int right, int bottom, TFrameStyle style,
                 TColor frameColor, TColor shadowColor, TColor highlightColor);
inline void DrawFrame3D(Canvas &canvas, int left, int top, int right, int bottom, TFrameStyle style,
                        const TFrameColors &colors)
{
    DrawFrame3D(canvas, left, top, right, bottom, style, colors.Frame, colors.Shadow,
                colors.Highlight);
}

// ---- crosshairs, text labels and data-point markers ---------------------------------------------

#include "scales/zelbase_markers.h"
#include "scales/zelbase_overlays.h"

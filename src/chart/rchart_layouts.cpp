// SPDX-License-Identifier: GPL-3.0-or-later
// The seven standard layouts: margins, the chart caption's placement and the axes of layers
// 1..4 in one step. Axes of layers 1..4 a layout does not show get a neutral placement and
// are hidden; the axes of layers 5..16 are always hidden.

#include "chart/Zel_rchart.h"

#include <iterator>

namespace {

// One axis of layers 1..4 as a layout places it.
struct AxisPlace
{
    bool visible;
    bool far; // top (x) or right (y) instead of bottom or left
    int scalePos;
    int captionX;
    int captionY;
    TAlignment alignment;
    TScaleUnitAnchor anchor;
};

struct Margins
{
    int left, right, top, bottom;
};

// The chart caption's offset, alignment and horizontal anchor (it is always placed from the
// top of the plot).
struct CaptionPlace
{
    int x, y;
    TAlignment alignment;
    TCaptionAnchorHoriz anchor;
};

struct Layout
{
    Margins margins;
    CaptionPlace caption;
    AxisPlace x[4];
    AxisPlace y[4];
};

using Zel::taCenter;
using Zel::taLeftJustify;
using Zel::taRightJustify;

constexpr AxisPlace kHiddenX{false, false, 0, 10, 100, taCenter, uaSclCenter};
constexpr AxisPlace kHiddenY{false, false, 0, 10, 100, taRightJustify, uaSclTopLft};
constexpr AxisPlace kBottomX1{true, false, 0, 0, 22, taCenter, uaSclCenter};
constexpr CaptionPlace kCaptionRight{0, -16, taRightJustify, RChart::cahChartRight};

constexpr AxisPlace leftY(int pos)
{
    return {true, false, pos, 0, -23, taRightJustify, uaSclTopLft};
}

constexpr AxisPlace bottomX2(int pos)
{
    return {true, false, pos, -20, 7, taRightJustify, uaSclTopLft};
}

// Indexed by TrcLayout.
constexpr Layout kLayouts[] = {
    // rcl_X1Bottom_Y1Left
    {{50, 20, 20, 40},
     kCaptionRight,
     {kBottomX1, kHiddenX, kHiddenX, kHiddenX},
     {{true, false, 0, 0, -16, taLeftJustify, uaSclTopLft}, kHiddenY, kHiddenY, kHiddenY}},
    // rcl_X1Bottom_Y2Left
    {{100, 20, 24, 40},
     kCaptionRight,
     {kBottomX1, kHiddenX, kHiddenX, kHiddenX},
     {leftY(0), leftY(50), kHiddenY, kHiddenY}},
    // rcl_X1Bottom_Y3Left
    {{150, 20, 24, 40},
     kCaptionRight,
     {kBottomX1, kHiddenX, kHiddenX, kHiddenX},
     {leftY(0), leftY(50), leftY(100), kHiddenY}},
    // rcl_X1Bottom_Y4Left
    {{200, 20, 24, 40},
     kCaptionRight,
     {kBottomX1, kHiddenX, kHiddenX, kHiddenX},
     {leftY(0), leftY(50), leftY(100), leftY(150)}},
    // rcl_X1Bottom_Y2Both
    {{50, 50, 24, 40},
     {0, -20, taCenter, RChart::cahChartCenter},
     {kBottomX1, kHiddenX, kHiddenX, kHiddenX},
     {leftY(0), {true, true, 0, 0, -23, taLeftJustify, uaSclTopLft}, kHiddenY, kHiddenY}},
    // rcl_X2Bottom_Y2Left
    {{100, 20, 24, 70},
     kCaptionRight,
     {bottomX2(0), bottomX2(30), kHiddenX, kHiddenX},
     {leftY(0), leftY(50), kHiddenY, kHiddenY}},
    // rcl_X2Both_Y2Both: its hidden y axes 3 and 4 get the caption offset (0, -23).
    {{50, 50, 48, 40},
     {0, -46, taCenter, RChart::cahChartCenter},
     {bottomX2(0), {true, true, 0, -20, -24, taRightJustify, uaSclTopLft}, kHiddenX, kHiddenX},
     {{true, false, 0, 0, -40, taRightJustify, uaSclTopLft},
      {true, true, 0, 0, -40, taLeftJustify, uaSclTopLft},
      {false, false, 0, 0, -23, taRightJustify, uaSclTopLft},
      {false, false, 0, 0, -23, taRightJustify, uaSclTopLft}}},
};

// Each field through its setter, in the order location, caption offsets, alignment, anchor,
// axis position, visibility.
template <typename Record, typename Location>
void placeAxis(Record &record, const AxisPlace &place, Location nearSide, Location farSide)
{
    record.SetScaleLocation(place.far ? farSide : nearSide);
    record.SetCaptionPosX(place.captionX);
    record.SetCaptionPosY(place.captionY);
    record.SetCaptionAlignment(place.alignment);
    record.SetCaptionAnchor(place.anchor);
    record.SetScalePos(place.scalePos);
    record.SetVisible(place.visible);
}

} // namespace

void TCustomRChart::SetStandardLayout(TrcLayout layout)
{
    const int index = static_cast<int>(layout);
    if (index < 0 || index >= int(std::size(kLayouts)))
        return;
    const Layout &l = kLayouts[index];
    const bool former = lockPainting();
    m_standardLayout = layout;

    SetMarginLeft(l.margins.left);
    SetMarginRight(l.margins.right);
    SetMarginTop(l.margins.top);
    SetMarginBottom(l.margins.bottom);
    SetCaptionPosX(l.caption.x);
    SetCaptionPosY(l.caption.y);
    SetCaptionAlignment(l.caption.alignment);
    SetCaptionAnchorHoriz(l.caption.anchor);
    SetCaptionAnchorVert(RChart::cavChartTop);

    // The record changes run the scale-change handler once, at the end.
    ++m_scaleChangeBatch;
    for (int L = 1; L <= 4; ++L) {
        placeAxis(*m_scaleX[L - 1], l.x[L - 1], slBottom, slTop);
        placeAxis(*m_scaleY[L - 1], l.y[L - 1], slLeft, slRight);
    }
    for (int L = 5; L <= LayerCount; ++L) {
        m_scaleX[L - 1]->SetVisible(false);
        m_scaleY[L - 1]->SetVisible(false);
    }
    --m_scaleChangeBatch;
    settleScaleChanges();

    restorePaintLock(former);
}

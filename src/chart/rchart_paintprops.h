// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Settings of the chart's picture that are not tied to a layer: the enumerations of the grid,
// the drop shadow, the caption anchors, the text items and the standard layouts, the
// background picture object TBakGndImg, and the rendering events.

#include "platform/Colors.h"

#include <QObject>
#include <QString>
#include <functional>

class Canvas;

namespace RChart {
Q_NAMESPACE

// The grid drawn under the items of the active layer.
enum GridStyleType {
    gsNone,
    gsPoints,
    gsVertLines,
    gsHorizLines,
    gsLines,
    gsHorizDotLines,
    gsVertDotLines,
    gsDotLines
};
Q_ENUM_NS(GridStyleType)

// ssFlying: a shadow set in from the body's corners; ssBox: slanted side faces outlined in
// black.
enum TShadowStyle { ssFlying, ssBox };
Q_ENUM_NS(TShadowStyle)

// The point of the control the chart caption is placed from.
enum TCaptionAnchorHoriz {
    cahControlLeft,
    cahChartLeft,
    cahChartCenter,
    cahChartRight,
    cahControlRight
};
Q_ENUM_NS(TCaptionAnchorHoriz)

enum TCaptionAnchorVert {
    cavControlTop,
    cavChartTop,
    cavChartCenter,
    cavChartBottom,
    cavControlBottom
};
Q_ENUM_NS(TCaptionAnchorVert)

// Background of text items.
enum TTextBkStyle { tbClear, tbSolid };
Q_ENUM_NS(TTextBkStyle)

// How the background picture covers the data area.
enum TBkgFillMode { bfSimple, bfStretch, bfTile };
Q_ENUM_NS(TBkgFillMode)

// The band of the data area painted in AreaColor when there is no background picture.
enum TBkgAreaMode {
    bamNone,
    bamLeft,
    bamRight,
    bamTop,
    bamBottom,
    bamVStripe,
    bamHStripe,
    bamRect
};
Q_ENUM_NS(TBkgAreaMode)

// Standard arrangements of margins, chart caption and the axes of layers 1..4 (int-based, so
// that any stored number is a value the setter can refuse).
enum TrcLayout : int {
    rcl_X1Bottom_Y1Left,
    rcl_X1Bottom_Y2Left,
    rcl_X1Bottom_Y3Left,
    rcl_X1Bottom_Y4Left,
    rcl_X1Bottom_Y2Both,
    rcl_X2Bottom_Y2Left,
    rcl_X2Both_Y2Both
};
Q_ENUM_NS(TrcLayout)

} // namespace RChart

using RChart::GridStyleType;
using RChart::TBkgAreaMode;
using RChart::TBkgFillMode;
using RChart::TCaptionAnchorHoriz;
using RChart::TCaptionAnchorVert;
using RChart::TrcLayout;
using RChart::TShadowStyle;
using RChart::TTextBkStyle;

// Raised around the chart's drawing steps: Canvas is the picture being drawn, and subtracting
// (Left, Top) from control pixels gives pixels of that picture.
using TRenderEvent = std::function<void(QObject *Sender, Canvas &Canvas, int Top, int Left)>;

// The plain published settings of the background picture, one value, so that Assign copies
// them all.
struct TBakGndImgSettings
{
    QString name;
    bool includePath = false;
    TBkgFillMode fillMode = RChart::bfStretch;
    TBkgAreaMode areaMode = RChart::bamNone;
    TColor areaColor = 14540253;
    double areaLeft = -1;
    double areaRight = 1;
    double areaTop = 1;
    double areaBottom = -1;

    bool operator==(const TBakGndImgSettings &) const = default;
};

// The chart's background picture and the area band. Every assignment notifies through
// OnChange; the chart repaints.
class TBakGndImg : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(bool IncludePath READ IncludePath WRITE SetIncludePath)
    Q_PROPERTY(RChart::TBkgFillMode FillMode READ FillMode WRITE SetFillMode)
    Q_PROPERTY(RChart::TBkgAreaMode AreaMode READ AreaMode WRITE SetAreaMode)
    Q_PROPERTY(TColor AreaColor READ AreaColor WRITE SetAreaColor)
    Q_PROPERTY(double AreaLeft READ AreaLeft WRITE SetAreaLeft)
    Q_PROPERTY(double AreaRight READ AreaRight WRITE SetAreaRight)
    Q_PROPERTY(double AreaTop READ AreaTop WRITE SetAreaTop)
    Q_PROPERTY(double AreaBottom READ AreaBottom WRITE SetAreaBottom)

public:
    explicit TBakGndImg(QObject *parent = nullptr);

    // The picture file; empty for none. Without IncludePath only the file name part of what
    // is assigned is kept.
    QString Name() const { return m_settings.name; }
    void SetName(const QString &value);
    // Switching it off drops the directory from the stored name.
    bool IncludePath() const { return m_settings.includePath; }
    void SetIncludePath(bool value);
    TBkgFillMode FillMode() const { return m_settings.fillMode; }
    void SetFillMode(TBkgFillMode value);
    TBkgAreaMode AreaMode() const { return m_settings.areaMode; }
    void SetAreaMode(TBkgAreaMode value);
    TColor AreaColor() const { return m_settings.areaColor; }
    void SetAreaColor(TColor value);
    // Edges of the area band in world coordinates of layer 1.
    double AreaLeft() const { return m_settings.areaLeft; }
    void SetAreaLeft(double value);
    double AreaRight() const { return m_settings.areaRight; }
    void SetAreaRight(double value);
    double AreaTop() const { return m_settings.areaTop; }
    void SetAreaTop(double value);
    double AreaBottom() const { return m_settings.areaBottom; }
    void SetAreaBottom(double value);

    // Copies every value (not OnChange), then notifies once.
    void Assign(const TBakGndImg &source);
    // Forgets the picture without notifying: the chart does this while it paints, when the
    // file cannot be loaded.
    void dropName() { m_settings.name.clear(); }

    std::function<void(QObject *sender)> OnChange;

private:
    void changed();

    TBakGndImgSettings m_settings;
};

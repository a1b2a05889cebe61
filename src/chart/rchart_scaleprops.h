// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The persistent sub-objects of a chart's layers: the axis records (TScaleProps with its
// horizontal and vertical forms), which the chart hands field by field to its hidden axis
// renderers, and TJointLayers, which couples the ranges of layers.
//
// Both are plain QObjects that work without a chart; the chart sets their OnChange (and
// TJointLayers' OnJoin) to its own handlers.

#include "platform/Colors.h"
#include "platform/Component.h"
#include "platform/Fonts.h"
#include "scales/Zel_Scale.h"
#include "scales/Zel_ScaleDateTime.h"
#include "scales/Zel_zelbase.h"

#include <QObject>
#include <QString>
#include <array>
#include <functional>

namespace ZelAxis {
Q_NAMESPACE

// Where the axis of a horizontal record lies: above (slTop) or below (slBottom) the plot.
enum TScaleLocHoriz { slTop, slBottom };
Q_ENUM_NS(TScaleLocHoriz)

// Where the axis of a vertical record lies: left (slLeft) or right (slRight) of the plot.
enum TScaleLocVert { slLeft, slRight };
Q_ENUM_NS(TScaleLocVert)

} // namespace ZelAxis

using ZelAxis::TScaleLocHoriz;
using ZelAxis::TScaleLocVert;
using enum ZelAxis::TScaleLocHoriz;
using enum ZelAxis::TScaleLocVert;

// The plain published settings of an axis record, one value, so that Assign copies them all.
struct TScalePropsSettings
{
    QString caption;
    int captionPosX = 0;
    int captionPosY = 0;
    TAlignment captionAlignment = Zel::taCenter;
    TScaleUnitAnchor captionAnchor = uaSclTopLft;
    TColor colorScale = clBlack;
    int decPlaces = -2;
    bool logarithmic = false;
    TFigType labelType = ftNum;
    int minTicks = 3;
    double minRange = 1e-10;
    double rangeLow = 0.0;
    double rangeHigh = 1.0;
    bool shortTicks = true;
    QString scaleInscript;
    int scalePos = 0;
    QString userTickText;
    bool visible = false;

    bool operator==(const TScalePropsSettings &) const = default;
};

// The published settings of one chart axis. Every setter ends with OnChange (raised on every
// assignment, also of an unchanged value) unless its comment says otherwise. The record's
// font and date format are its own objects; changing them through their own setters raises
// the record's OnChange as well.
class TScaleProps : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int CaptionPosX READ CaptionPosX WRITE SetCaptionPosX)
    Q_PROPERTY(int CaptionPosY READ CaptionPosY WRITE SetCaptionPosY)
    Q_PROPERTY(Zel::TAlignment CaptionAlignment READ CaptionAlignment WRITE SetCaptionAlignment)
    Q_PROPERTY(ZelScl::TScaleUnitAnchor CaptionAnchor READ CaptionAnchor WRITE SetCaptionAnchor)
    Q_PROPERTY(TColor ColorScale READ ColorScale WRITE SetColorScale)
    Q_PROPERTY(TDTLabel *DateFormat READ DateFormat WRITE SetDateFormat)
    Q_PROPERTY(int DecPlaces READ DecPlaces WRITE SetDecPlaces)
    Q_PROPERTY(TFont *Font READ Font WRITE SetFont)
    Q_PROPERTY(bool Logarithmic READ Logarithmic WRITE SetLogarithmic)
    Q_PROPERTY(ZelScl::TFigType LabelType READ LabelType WRITE SetLabelType)
    Q_PROPERTY(int MinTicks READ MinTicks WRITE SetMinTicks)
    Q_PROPERTY(double MinRange READ MinRange WRITE SetMinRange)
    Q_PROPERTY(double RangeLow READ RangeLow WRITE SetRangeLow)
    Q_PROPERTY(double RangeHigh READ RangeHigh WRITE SetRangeHigh)
    Q_PROPERTY(bool ShortTicks READ ShortTicks WRITE SetShortTicks)
    Q_PROPERTY(QString ScaleInscript READ ScaleInscript WRITE SetScaleInscript)
    Q_PROPERTY(int ScalePos READ ScalePos WRITE SetScalePos)
    Q_PROPERTY(QString UserTickText READ UserTickText WRITE SetUserTickText)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)

public:
    ~TScaleProps() override;

    QString Caption() const { return m_settings.caption; }
    void SetCaption(const QString &value);
    int CaptionPosX() const { return m_settings.captionPosX; }
    void SetCaptionPosX(int value);
    int CaptionPosY() const { return m_settings.captionPosY; }
    void SetCaptionPosY(int value);
    TAlignment CaptionAlignment() const { return m_settings.captionAlignment; }
    void SetCaptionAlignment(TAlignment value);
    TScaleUnitAnchor CaptionAnchor() const { return m_settings.captionAnchor; }
    void SetCaptionAnchor(TScaleUnitAnchor value);
    TColor ColorScale() const { return m_settings.colorScale; }
    void SetColorScale(TColor value);
    // Assigning copies the values into the record's own object.
    TDTLabel *DateFormat() const { return m_dateFormat; }
    void SetDateFormat(const TDTLabel *value);
    // Clamped to -3..12.
    int DecPlaces() const { return m_settings.decPlaces; }
    void SetDecPlaces(int value);
    // Assigning copies the values into the record's own object.
    TFont *Font() const { return m_font; }
    void SetFont(const TFont *value);
    // Switching off always takes effect. Switching on is taken unchecked while the owner is
    // loading, otherwise only when both range ends are >= 1e-100 and LabelType is not
    // ftDateTime. OnChange in every case.
    bool Logarithmic() const { return m_settings.logarithmic; }
    void SetLogarithmic(bool value);
    // ftDateTime also switches Logarithmic off, ftTime sets DecPlaces to 4.
    TFigType LabelType() const { return m_settings.labelType; }
    void SetLabelType(TFigType value);
    int MinTicks() const { return m_settings.minTicks; }
    void SetMinTicks(int value);
    // The smallest range width. Values <= 1e-100 (and NaN, infinities) are ignored without
    // OnChange. A present range narrower than the new value is widened about its midpoint
    // (OnChange); otherwise nothing else happens and OnChange is not raised.
    double MinRange() const { return m_settings.minRange; }
    void SetMinRange(double value);
    // Setting an end closer than MinRange to the other moves the other end to MinRange away.
    // On a logarithmic axis values below 1e-100 are ignored, and so is a RangeHigh that would
    // pull the low end below 1e-100 that way; NaN and infinities are always ignored. OnChange
    // in every case.
    double RangeLow() const { return m_settings.rangeLow; }
    void SetRangeLow(double value);
    double RangeHigh() const { return m_settings.rangeHigh; }
    void SetRangeHigh(double value);
    bool ShortTicks() const { return m_settings.shortTicks; }
    void SetShortTicks(bool value);
    QString ScaleInscript() const { return m_settings.scaleInscript; }
    void SetScaleInscript(const QString &value);
    // Pixels by which the axis is moved outward from the plot edge.
    int ScalePos() const { return m_settings.scalePos; }
    void SetScalePos(int value);
    QString UserTickText() const { return m_settings.userTickText; }
    void SetUserTickText(const QString &value);
    bool Visible() const { return m_settings.visible; }
    void SetVisible(bool value);

    // The renderer's scale type that the location selects.
    TScaleType ScaleType() const { return m_scaleType; }
    bool isHorizontal() const { return !isVerticalScale(m_scaleType); }

    // Copies every value (the font and the date format into the record's own objects; the
    // location only between records of the same orientation), then raises OnChange once.
    // OnChange itself is not copied.
    void Assign(const TScaleProps &source);

    // The component whose loading state SetLogarithmic honours (the owning chart); none for a
    // free-standing record, which is never loading.
    void setLoadingOwner(const ZelComponent *owner) { m_loadingOwner = owner; }
    bool isLoading() const { return m_loadingOwner && m_loadingOwner->isLoading(); }

    // Writes a range straight into the record: no rules, no OnChange (the chart's range
    // operations check the values themselves).
    void setRangeDirect(double low, double high)
    {
        m_settings.rangeLow = low;
        m_settings.rangeHigh = high;
    }

    std::function<void(QObject *sender)> OnChange;

protected:
    TScaleProps(TScaleType type, QObject *parent);
    void setScaleTypeValue(TScaleType type);
    void changed();

private:
    TScalePropsSettings m_settings;
    TDTLabel *m_dateFormat;
    TFont *m_font;
    TScaleType m_scaleType;
    const ZelComponent *m_loadingOwner = nullptr;
    // Set while the record changes its own font or date format, whose notifications would
    // otherwise raise OnChange a second time.
    bool m_muted = false;
};

// The record of a horizontal axis: slTop draws with sctXB (labels above the line), slBottom
// with sctXT (labels below it). A new record lies at the bottom.
class TScalePropsHoriz : public TScaleProps
{
    Q_OBJECT
    Q_PROPERTY(ZelAxis::TScaleLocHoriz ScaleLocation READ ScaleLocation WRITE SetScaleLocation)

public:
    explicit TScalePropsHoriz(QObject *parent = nullptr);

    TScaleLocHoriz ScaleLocation() const { return ScaleType() == sctXB ? slTop : slBottom; }
    void SetScaleLocation(TScaleLocHoriz value);
};

// The record of a vertical axis: slLeft draws with sctYR (labels left of the line), slRight
// with sctYL (labels right of it). A new record lies at the left.
class TScalePropsVert : public TScaleProps
{
    Q_OBJECT
    Q_PROPERTY(ZelAxis::TScaleLocVert ScaleLocation READ ScaleLocation WRITE SetScaleLocation)

public:
    explicit TScalePropsVert(QObject *parent = nullptr);

    TScaleLocVert ScaleLocation() const { return ScaleType() == sctYL ? slRight : slLeft; }
    void SetScaleLocation(TScaleLocVert value);
};

// Which layer controls the x and the y range of each of the 16 layers; each layer controls
// itself by default. Coupling is one level deep: a controlling layer cannot itself be
// controlled, and a controlled layer cannot control others. The setters raise EZelRChartError
// for a destination outside 1..16 ("Destination layer M is out of range"), for a destination
// that is itself controlled ("Destination layer M is already joined") and for a layer that
// others depend on ("Layer N is joined by other layers (a, b)"); the coupling then stays as it
// was.
class TJointLayers : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int L01xControlledBy READ L01xControlledBy WRITE SetL01xControlledBy)
    Q_PROPERTY(int L01yControlledBy READ L01yControlledBy WRITE SetL01yControlledBy)
    Q_PROPERTY(int L02xControlledBy READ L02xControlledBy WRITE SetL02xControlledBy)
    Q_PROPERTY(int L02yControlledBy READ L02yControlledBy WRITE SetL02yControlledBy)
    Q_PROPERTY(int L03xControlledBy READ L03xControlledBy WRITE SetL03xControlledBy)
    Q_PROPERTY(int L03yControlledBy READ L03yControlledBy WRITE SetL03yControlledBy)
    Q_PROPERTY(int L04xControlledBy READ L04xControlledBy WRITE SetL04xControlledBy)
    Q_PROPERTY(int L04yControlledBy READ L04yControlledBy WRITE SetL04yControlledBy)
    Q_PROPERTY(int L05xControlledBy READ L05xControlledBy WRITE SetL05xControlledBy)
    Q_PROPERTY(int L05yControlledBy READ L05yControlledBy WRITE SetL05yControlledBy)
    Q_PROPERTY(int L06xControlledBy READ L06xControlledBy WRITE SetL06xControlledBy)
    Q_PROPERTY(int L06yControlledBy READ L06yControlledBy WRITE SetL06yControlledBy)
    Q_PROPERTY(int L07xControlledBy READ L07xControlledBy WRITE SetL07xControlledBy)
    Q_PROPERTY(int L07yControlledBy READ L07yControlledBy WRITE SetL07yControlledBy)
    Q_PROPERTY(int L08xControlledBy READ L08xControlledBy WRITE SetL08xControlledBy)
    Q_PROPERTY(int L08yControlledBy READ L08yControlledBy WRITE SetL08yControlledBy)
    Q_PROPERTY(int L09xControlledBy READ L09xControlledBy WRITE SetL09xControlledBy)
    Q_PROPERTY(int L09yControlledBy READ L09yControlledBy WRITE SetL09yControlledBy)
    Q_PROPERTY(int L10xControlledBy READ L10xControlledBy WRITE SetL10xControlledBy)
    Q_PROPERTY(int L10yControlledBy READ L10yControlledBy WRITE SetL10yControlledBy)
    Q_PROPERTY(int L11xControlledBy READ L11xControlledBy WRITE SetL11xControlledBy)
    Q_PROPERTY(int L11yControlledBy READ L11yControlledBy WRITE SetL11yControlledBy)
    Q_PROPERTY(int L12xControlledBy READ L12xControlledBy WRITE SetL12xControlledBy)
    Q_PROPERTY(int L12yControlledBy READ L12yControlledBy WRITE SetL12yControlledBy)
    Q_PROPERTY(int L13xControlledBy READ L13xControlledBy WRITE SetL13xControlledBy)
    Q_PROPERTY(int L13yControlledBy READ L13yControlledBy WRITE SetL13yControlledBy)
    Q_PROPERTY(int L14xControlledBy READ L14xControlledBy WRITE SetL14xControlledBy)
    Q_PROPERTY(int L14yControlledBy READ L14yControlledBy WRITE SetL14yControlledBy)
    Q_PROPERTY(int L15xControlledBy READ L15xControlledBy WRITE SetL15xControlledBy)
    Q_PROPERTY(int L15yControlledBy READ L15yControlledBy WRITE SetL15yControlledBy)
    Q_PROPERTY(int L16xControlledBy READ L16xControlledBy WRITE SetL16xControlledBy)
    Q_PROPERTY(int L16yControlledBy READ L16yControlledBy WRITE SetL16yControlledBy)

public:
    static constexpr int LayerCount = 16;
    enum class Axis { X, Y };

    explicit TJointLayers(QObject *parent = nullptr);

    // The layer controlling the given axis of a layer (1..16); a layer outside 1..16 reads as
    // layer 1.
    int ControlledBy(Axis axis, int layer) const;
    // Couples the axis of layer (1..16) to the destination, with the checks above; a layer
    // outside 1..16 is ignored. Storing a coupling with another layer raises OnJoin.
    void SetControlledBy(Axis axis, int layer, int destination);

    // Copies all 32 values without checks and raises OnChange.
    void Assign(const TJointLayers &source);

#define ZEL_JOINT_LAYER_ACCESSORS(NN, N)                                                           \
    int L##NN##xControlledBy() const                                                               \
    {                                                                                              \
        return ControlledBy(Axis::X, N);                                                           \
    }                                                                                              \
    void SetL##NN##xControlledBy(int value)                                                        \
    {                                                                                              \
        SetControlledBy(Axis::X, N, value);                                                        \
    }                                                                                              \
    int L##NN##yControlledBy() const                                                               \
    {                                                                                              \
        return ControlledBy(Axis::Y, N);                                                           \
    }                                                                                              \
    void SetL##NN##yControlledBy(int value)                                                        \
    {                                                                                              \
        SetControlledBy(Axis::Y, N, value);                                                        \
    }
    ZEL_JOINT_LAYER_ACCESSORS(01, 1)
    ZEL_JOINT_LAYER_ACCESSORS(02, 2)
    ZEL_JOINT_LAYER_ACCESSORS(03, 3)
    ZEL_JOINT_LAYER_ACCESSORS(04, 4)
    ZEL_JOINT_LAYER_ACCESSORS(05, 5)
    ZEL_JOINT_LAYER_ACCESSORS(06, 6)
    ZEL_JOINT_LAYER_ACCESSORS(07, 7)
    ZEL_JOINT_LAYER_ACCESSORS(08, 8)
    ZEL_JOINT_LAYER_ACCESSORS(09, 9)
    ZEL_JOINT_LAYER_ACCESSORS(10, 10)
    ZEL_JOINT_LAYER_ACCESSORS(11, 11)
    ZEL_JOINT_LAYER_ACCESSORS(12, 12)
    ZEL_JOINT_LAYER_ACCESSORS(13, 13)
    ZEL_JOINT_LAYER_ACCESSORS(14, 14)
    ZEL_JOINT_LAYER_ACCESSORS(15, 15)
    ZEL_JOINT_LAYER_ACCESSORS(16, 16)
#undef ZEL_JOINT_LAYER_ACCESSORS

    // Raised after a whole assignment.
    std::function<void(QObject *sender)> OnChange;
    // Raised after a setter has coupled an axis of layer to another layer.
    std::function<void(TJointLayers *sender, Axis axis, int layer)> OnJoin;

private:
    std::array<int, LayerCount> &table(Axis axis)
    {
        return axis == Axis::X ? m_x : m_y;
    }
    const std::array<int, LayerCount> &table(Axis axis) const
    {
        return axis == Axis::X ? m_x : m_y;
    }

    std::array<int, LayerCount> m_x{};
    std::array<int, LayerCount> m_y{};
};

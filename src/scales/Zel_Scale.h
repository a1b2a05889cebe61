#pragma once
// The axis scale engine and the standalone scale control TScale.
//
// Every axis of the program is drawn by this engine: a TScale placed on a form as well as the
// hidden renderers a chart keeps for each of its layer axes (the chart makes them Embedded,
// leaves their painting suspended, points them at its own off-screen canvas with
// SetTargetCanvas and draws them with PaintSuspended).
//
// The first half of this header is pure arithmetic that needs no QApplication: the rounding
// helpers, the nice tick step, the automatic decimals, the value-to-pixel mapping, the tick
// loops of linear and logarithmic axes and the label texts. TScale uses exactly these
// functions when it draws.
//
// Ranges that cannot be drawn. Nothing a caller can set makes a scale crash, hang or draw
// outside its canvas:
// - RangeLow and RangeHigh refuse NaN and infinities (the old value stays);
// - every finite range is computed in long doubles, so even -1.7e308..1.7e308 gets its ticks;
//   a step lost in rounding against the ends (more than 1e18 steps from zero, as a step of 1
//   on a range near 1e20) gives no ticks: ComputeTickStep reports a Step of 0;
// - a logarithmic axis with an end at or below zero draws no ticks (its mapping stays as it
//   was, there is no place for them);
// - each tick loop stops after TickLoopLimit positions, far more than any axis has pixels; a
//   drawn axis never reaches that, since MinTicks 0 (a tick at every integer) gives way to
//   the automatic step where the integers are denser than the pixels (LinearAxisMinTicks);
// - pixel positions are limited to +-2147483647 (NaN values map to pixel 0), and all drawing
//   coordinates are limited to a range the canvas clips safely.

#include "platform/AlignLayout.h"
#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/Component.h"
#include "platform/Fonts.h"
#include "platform/MouseEvents.h"
#include "platform/ParentSettings.h"
#include "scales/Zel_ScaleDateTime.h"
#include "scales/Zel_zelbase.h"

#include <QImage>
#include <QMenu>
#include <QPoint>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <span>

namespace ZelScl {
Q_NAMESPACE

// sctXB and sctXT are horizontal axes (ticks and labels above / below the base line), sctYL
// and sctYR vertical ones (ticks and labels right / left of the base line).
enum TScaleType { sctXB, sctXT, sctYL, sctYR };
Q_ENUM_NS(TScaleType)

// Label kinds: none, numbers, seconds as h:mm:ss, day counts as dates and times, and texts
// taken from UserTickText.
enum TFigType { ftNoFigs, ftNum, ftTime, ftDateTime, ftUserText };
Q_ENUM_NS(TFigType)

// The end of the axis the caption offsets are measured from.
enum TScaleUnitAnchor { uaSclTopLft, uaSclCenter, uaSclBotRgt };
Q_ENUM_NS(TScaleUnitAnchor)

} // namespace ZelScl

using ZelScl::TFigType;
using ZelScl::TScaleType;
using ZelScl::TScaleUnitAnchor;
using enum ZelScl::TScaleType;
using enum ZelScl::TFigType;
using enum ZelScl::TScaleUnitAnchor;

inline bool isVerticalScale(TScaleType type)
{
    return type == sctYL || type == sctYR;
}

// ---- rounding --------------------------------------------------------------------------------

namespace Zel {
// All four keep the floating type, so that huge values and NaN pass through unharmed.
// Floor: the nearest integer, minus one if x lies below it. Ceil: the nearest integer, plus
// one if x lies above it. Int: truncation toward zero. Round: the nearest integer, halves to
// even (2.5 gives 2, 3.5 gives 4, -2.5 gives -2).
long double Floor(long double x);
long double Ceil(long double x);
long double Int(long double x);
long double Round(long double x);
} // namespace Zel

// ---- tick arithmetic -------------------------------------------------------------------------

// Recorded tick positions per paint.
constexpr int TickCountLimit = 250;
// The most positions one tick loop visits.
constexpr int TickLoopLimit = 20000;

// Tick lengths in pixels.
constexpr int ShortTickLength = 4;
constexpr int LongTickLengthHoriz = 7;
constexpr int LongTickLengthVert = 6;

struct TTickStep
{
    long double FirstTick = 0;    // value of the first labelled tick
    long double Step = 0;         // between labelled ticks, negative on reversed axes; 0: no ticks
    std::uint16_t ShortCount = 1; // short intervals per step
    // The round numbers behind them: |Step| = Mantissa x 10^Exponent (Mantissa 1, 2 or 5) and
    // FirstTick = FirstIndex x Step. The tick loops build every position from these, so that
    // a tick is the round number it stands for (rounded once), however far from zero.
    long long FirstIndex = 0;
    int Mantissa = 1;
    int Exponent = 0;
};

// The nice step of a linear axis: the largest of 1, 2 or 5 times a power of ten that gives at
// least MinTicks labelled intervals (MinTicks 0: a step of 1), and the first multiple of it
// that lies no more than 0.1 % of a step before RangeLow. Step is 0 for equal ends, for a
// negative MinTicks and for the ranges described at the top of this header.
TTickStep ComputeTickStep(int MinTicks, long double RangeLow, long double RangeHigh);

// The MinTicks a linear axis is drawn with, axisPixels being the pixels between its ends.
// MinTicks 0 asks for a tick at every integer; those are kept while they are no denser than
// the pixels (and within TickLoopLimit), else the axis takes the step of DefaultMinTicks.
constexpr int DefaultMinTicks = 3;
int LinearAxisMinTicks(int MinTicks, double RangeLow, double RangeHigh, long long axisPixels);

// Effective decimals of the labels of a linear axis: DecPlaces itself unless it is -2 or -3;
// then by the range's width -1 (scientific) for widths >= 1e6 or <= 1e-4, 0 for widths >= 100,
// else 2 - Round(ln(width) / 2.5).
int AutoDecPlaces(int DecPlaces, double RangeHigh, double RangeLow);
// The same for logarithmic axes: DecPlaces itself unless it is -2 (so -3 passes through);
// then -1 for widths >= 1e6 or <= 1e-4, 0 when the smaller end is >= 1, else
// 1 - Round(log10(smaller end)).
int AutoLogDecPlaces(int DecPlaces, double RangeHigh, double RangeLow);

// The control's extent and margins, as the mapping reads them.
struct TScaleGeometry
{
    int Width = 0;
    int Height = 0;
    int MarginLeft = 0;
    int MarginRight = 0;
    int MarginTop = 0;
    int MarginBottom = 0;
    TScaleType ScaleType = sctXB;
};

// pixel = PixelFactor * value + PixelOffset (value replaced by ln(value) on logarithmic axes).
struct TScaleMapping
{
    double PixelFactor = 1.0;
    double PixelOffset = 0.0;
};

// Recomputes the mapping so that RangeLow lands on the axis's first pixel (left end, or
// bottom end of a vertical axis) and RangeHigh on its last. Returns false and leaves the
// mapping alone for equal or non-finite ends, and on a logarithmic axis for ends <= 0. A
// control too small for its margins gets PixelFactor 0 and PixelOffset Width / 2.
bool ComputeScaleMapping(const TScaleGeometry &geometry, double RangeLow, double RangeHigh,
                         bool Logarithmic, TScaleMapping &mapping);

// The pixel of a value along the axis, limited to +-2147483647 and rounded halves to even.
// On a logarithmic axis values <= 1e-100 go to the low end's edge of the control: pixel 0 of
// a horizontal axis (Width when reversed), pixel Height of a vertical one (0 when reversed).
// NaN gives 0.
int MapValueToPixel(const TScaleMapping &mapping, const TScaleGeometry &geometry, double RangeLow,
                    double RangeHigh, bool Logarithmic, double value);

enum class TTickKind : std::uint8_t {
    Short,       // unlabelled tick of a linear axis
    Labelled,    // labelled tick of a linear axis
    LogMinor,    // unlabelled tick of a logarithmic axis (3, 4, 6, 7, 8, 9 x 10^k)
    LogLabelled, // labelled tick of a logarithmic axis (1, 2, 5 x 10^k)
};

// One tick as the loops hand it out, in drawing order.
struct TScaleTick
{
    long double Value = 0;
    TTickKind Kind = TTickKind::Short;
    bool Record = false; // goes into TickPositions
    bool Decade = false; // a logarithmic tick at 1 x 10^Exponent
    int Exponent = 0;    // logarithmic ticks: the power of ten of the decade
};

using TTickVisitor = std::function<void(const TScaleTick &tick)>;

inline bool isLabelledTick(TTickKind kind)
{
    return kind == TTickKind::Labelled || kind == TTickKind::LogLabelled;
}

// The ticks of a linear numeric axis: first the short ticks (when ShortTicks), starting one
// step before the first labelled tick but not before RangeLow, then the labelled ones. Short
// ticks are always recorded; labelled ones on vertical axes always, on horizontal ones only
// without short ticks. Nothing is visited when the step is 0.
void ForEachLinearTick(int MinTicks, double RangeLow, double RangeHigh, bool ShortTicks,
                       bool Vertical, const TTickVisitor &visit);

// True when a logarithmic axis over the range uses decade ticks: both ends positive and at
// least one decade apart. Positive ranges narrower than a decade take the linear loops (on
// the logarithmic mapping). Decades are counted so that ends written as m x 10^k and
// m x 10^(k+1) are exactly one apart, although neither is exact in binary.
bool UsesDecadeTicks(double RangeLow, double RangeHigh);

// The decade ticks of a logarithmic axis, ascending: 1 x 10^k always; when MinTicks exceeds
// the number of decades by more than 0.5 also 2 and 5 x 10^k (labelled) and, with ShortTicks,
// 3, 4, 6, 7, 8, 9 x 10^k. Range ends are included with a relative tolerance of 1e-9. Nothing
// is visited unless both ends are positive and finite.
void ForEachLogTick(int MinTicks, double RangeLow, double RangeHigh, bool ShortTicks, bool Vertical,
                    const TTickVisitor &visit);

// ---- label texts -----------------------------------------------------------------------------

// dp >= 0: fixed notation with dp decimals ("12.50", "-0.2", "100"); dp < 0: scientific with
// two significant digits behind a sign column (" 1.5E+06", "-2.0E-05"), eight asterisks when
// the exponent needs three digits.
QString FormatTickValue(long double value, int dp);

// The inscript's part before its first "&", the text, and its part after it; without "&" the
// inscript is a prefix. An empty text stays empty.
QString ApplyInscript(const QString &text, const QString &inscript);

// Item n (1-based) of a "|"-separated list; past the end the last item again (empty when the
// list ends with "|"); empty for an empty list and for n < 1.
QString UserTickItem(const QString &list, int n);

// The text of a labelled tick of a linear axis before user texts and inscripts: values within
// 1e-14 of the range's width from zero are written as zero ("0.0", or "0" for dp 0, when the
// width exceeds 100000), texts are cut to 14 characters, and with DecPlaces 0 a value more
// than 1e-6 away from an integer gets no text. dp is the effective count (AutoDecPlaces).
QString LinearTickLabel(long double value, int dp, int DecPlaces, double RangeLow,
                        double RangeHigh);

// The text of a labelled tick of a logarithmic axis: with dp -3 the exponent alone at
// 1 x 10^k and nothing at 2 and 5 x 10^k, else FormatTickValue; cut to 14 characters; with
// DecPlaces -2 trailing zeros of a fixed text are removed, then a trailing ".". A value too
// small for its decimals (a text that reads as zero) is written in scientific form instead.
QString LogTickLabel(const TScaleTick &tick, int dp, int DecPlaces);

// The values of the ticks drawn by the last paint, at most TickCountLimit of them.
class TTickPositions
{
public:
    void clear() { m_count = 0; }
    // Appends a value; silently ignored once the limit is reached.
    void record(double value)
    {
        if (m_count < TickCountLimit)
            m_values[m_count++] = value;
    }
    int count() const { return m_count; }
    // The value with the 1-based index, 0.0 outside 1..count().
    double at(int index) const
    {
        return index >= 1 && index <= m_count ? m_values[index - 1] : 0.0;
    }
    std::span<const double> values() const
    {
        return {m_values.data(), static_cast<std::size_t>(m_count)};
    }

private:
    std::array<double, TickCountLimit> m_values{};
    int m_count = 0;
};

// ---- the control -----------------------------------------------------------------------------

// Raised after every tick with the tick's value and its point on the base line.
using TScaleTickDrawnEvent =
    std::function<void(QObject *Sender, Canvas &Canvas, TScaleType ScaleType, double CurrentTickPos,
                       int ChartX, int ChartY)>;
// Raised before and after each rendering of the scale. Before: with the canvas the scale
// draws on (target or own picture), its font already set. After: with the canvas the axis was
// drawn on, so that what a handler adds lands in the same picture (in opaque mode the
// off-screen picture, before its frame is drawn and it is copied out).
using TScaleRenderedEvent = std::function<void(QObject *Sender, Canvas &Canvas)>;

// A window control that shows one axis: base line, long and short ticks, labels and a caption,
// either opaque (on its own ColorBackGnd with a frame of FrameStyle, composed off-screen) or
// transparent (drawn straight onto the canvas, no background, no frame).
//
// Painting. Every setter ends in Repaint: an opaque or Embedded scale paints at once; a
// transparent standalone scale is invalidated so that its parent's background is redrawn
// under it first. Nothing is drawn while the scale is hidden (setVisible(false)), while it
// is loading, or while its painting is suspended. A new scale starts suspended; its first
// showing (the creation of its window) ends that. Without a target canvas the scale draws
// into its own picture, which paintEvent copies to the screen; with one (SetTargetCanvas) it
// draws onto that canvas, shifted by the target's offsets.
//
// Embedded scales (a chart's renderers) are never shown as widgets of their own:
// setVisible(true) only sets the flag that Paint reads. Set Embedded before Visible.
class TScale : public QWidget, public ZelComponent, public TControlMouseEvents
{
    Q_OBJECT
    Q_PROPERTY(Zel::TFrameStyle FrameStyle READ FrameStyle WRITE SetFrameStyle)
    Q_PROPERTY(TColor ColorScale READ ColorScale WRITE SetColorScale)
    Q_PROPERTY(TColor ColorBackGnd READ ColorBackGnd WRITE SetColorBackGnd)
    Q_PROPERTY(Zel::TColorScheme ColorScheme READ ColorScheme WRITE SetColorScheme)
    Q_PROPERTY(bool Logarithmic READ Logarithmic WRITE SetLogarithmic)
    Q_PROPERTY(double RangeLow READ RangeLow WRITE SetRangeLow)
    Q_PROPERTY(double RangeHigh READ RangeHigh WRITE SetRangeHigh)
    Q_PROPERTY(bool ShortTicks READ ShortTicks WRITE SetShortTicks)
    Q_PROPERTY(int DecPlaces READ DecPlaces WRITE SetDecPlaces)
    Q_PROPERTY(QString UserTickText READ UserTickText WRITE SetUserTickText)
    Q_PROPERTY(int MinTicks READ MinTicks WRITE SetMinTicks)
    Q_PROPERTY(int NumTicks READ NumTicks)
    Q_PROPERTY(ZelScl::TScaleType ScaleType READ ScaleType WRITE SetScaleType)
    Q_PROPERTY(ZelScl::TFigType LabelType READ LabelType WRITE SetLabelType)
    Q_PROPERTY(bool ShowBaseLine READ ShowBaseLine WRITE SetShowBaseLine)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(int MarginTop READ MarginTop WRITE SetMarginTop)
    Q_PROPERTY(int MarginBottom READ MarginBottom WRITE SetMarginBottom)
    Q_PROPERTY(int MarginRight READ MarginRight WRITE SetMarginRight)
    Q_PROPERTY(int MarginLeft READ MarginLeft WRITE SetMarginLeft)
    Q_PROPERTY(int CaptionPosX READ CaptionPosX WRITE SetCaptionPosX)
    Q_PROPERTY(int CaptionPosY READ CaptionPosY WRITE SetCaptionPosY)
    Q_PROPERTY(Zel::TAlignment CaptionAlignment READ CaptionAlignment WRITE SetCaptionAlignment)
    Q_PROPERTY(ZelScl::TScaleUnitAnchor CaptionAnchor READ CaptionAnchor WRITE SetCaptionAnchor)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(QString ScaleInscript READ ScaleInscript WRITE SetScaleInscript)
    Q_PROPERTY(TDTLabel *DateFormat READ DateFormat WRITE SetDateFormat)
    Q_PROPERTY(TFont *Font READ Font WRITE SetFont)
    Q_PROPERTY(TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(TAnchors Anchors READ Anchors WRITE SetAnchors)
    Q_PROPERTY(bool ParentFont READ ParentFont WRITE SetParentFont)
    Q_PROPERTY(bool ParentShowHint READ ParentShowHint WRITE SetParentShowHint)
    Q_PROPERTY(QMenu *PopupMenu READ PopupMenu WRITE SetPopupMenu)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(bool Visible READ Visible WRITE setVisible)

public:
    explicit TScale(QWidget *parent = nullptr);
    ~TScale() override;

    // --- published properties -----------------------------------------------------------
    TFrameStyle FrameStyle() const { return m_frameStyle; }
    void SetFrameStyle(TFrameStyle value);
    TColor ColorScale() const { return m_colorScale; }
    void SetColorScale(TColor value);
    TColor ColorBackGnd() const { return m_colorBackGnd; }
    void SetColorBackGnd(TColor value);
    // csBWG: grey (128,128,128) shadow and white highlight; csSystem: clBtnShadow and
    // clBtnHighlight. Changes only the frame's shadow and highlight colours.
    TColorScheme ColorScheme() const { return m_colorScheme; }
    void SetColorScheme(TColorScheme value);
    // Switching on is refused (silently) unless both range ends are >= 1e-100 and LabelType is
    // not ftDateTime; while the scale is loading it is accepted unchecked.
    bool Logarithmic() const { return m_logarithmic; }
    void SetLogarithmic(bool value);
    // Setting one end to the other's value moves the other end to the new value + 1.
    // NaN and infinities are refused.
    double RangeLow() const { return m_rangeLow; }
    void SetRangeLow(double value);
    double RangeHigh() const { return m_rangeHigh; }
    void SetRangeHigh(double value);
    bool ShortTicks() const { return m_shortTicks; }
    void SetShortTicks(bool value);
    // -3..12: 0..12 fixed decimals, -1 scientific, -2 automatic, -3 automatic with exponent
    // labels on logarithmic axes. Clamped.
    int DecPlaces() const { return m_decPlaces; }
    void SetDecPlaces(int value);
    QString UserTickText() const { return m_userTickText; }
    void SetUserTickText(const QString &value);
    // 0 (a tick at every integer) or 2..10; other values are clamped into 2..10.
    int MinTicks() const { return m_minTicks; }
    void SetMinTicks(int value);
    int NumTicks() const { return m_ticks.count(); }
    TScaleType ScaleType() const { return m_scaleType; }
    void SetScaleType(TScaleType value);
    // ftDateTime also switches Logarithmic off; ftTime sets DecPlaces to 4.
    TFigType LabelType() const { return m_labelType; }
    void SetLabelType(TFigType value);
    bool ShowBaseLine() const { return m_showBaseLine; }
    void SetShowBaseLine(bool value);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool value);
    // Pixels between the control's edges and the axis's ends; negative values are stored as 0.
    int MarginTop() const { return m_marginTop; }
    void SetMarginTop(int value);
    int MarginBottom() const { return m_marginBottom; }
    void SetMarginBottom(int value);
    int MarginRight() const { return m_marginRight; }
    void SetMarginRight(int value);
    int MarginLeft() const { return m_marginLeft; }
    void SetMarginLeft(int value);
    int CaptionPosX() const { return m_captionPosX; }
    void SetCaptionPosX(int value);
    int CaptionPosY() const { return m_captionPosY; }
    void SetCaptionPosY(int value);
    TAlignment CaptionAlignment() const { return m_captionAlignment; }
    void SetCaptionAlignment(TAlignment value);
    TScaleUnitAnchor CaptionAnchor() const { return m_captionAnchor; }
    void SetCaptionAnchor(TScaleUnitAnchor value);
    QString Caption() const { return m_caption; }
    void SetCaption(const QString &value);
    // Decoration of numeric labels; "&" marks where the number goes ("& kg"), without it the
    // inscript is a prefix ("$").
    QString ScaleInscript() const { return m_scaleInscript; }
    void SetScaleInscript(const QString &value);
    // Date/time label settings, owned by the scale; assigning copies the values. A change of
    // any of its settings repaints the scale.
    TDTLabel *DateFormat() const { return m_dateFormat; }
    void SetDateFormat(const TDTLabel *value);
    // The label and caption font, owned by the scale; assigning copies the values. While
    // ParentFont is on it follows the parent's font; assigning or changing it turns
    // ParentFont off.
    TFont *Font() const { return m_font; }
    void SetFont(const TFont *value);
    // Stored for the window's layout, which places aligned and anchored children.
    TAlign Align() const { return m_align; }
    void SetAlign(TAlign value) { m_align = value; }
    TAnchors Anchors() const { return m_anchors; }
    void SetAnchors(TAnchors value) { m_anchors = value; }
    bool ParentFont() const { return m_parentSettings.parentFont(); }
    void SetParentFont(bool value) { m_parentSettings.setParentFont(value); }
    // Tool tips are shown only while ShowHint is on; with ParentShowHint it comes from the
    // parent's "ShowHint" property. Setting ShowHint turns ParentShowHint off.
    bool ParentShowHint() const { return m_parentSettings.parentShowHint(); }
    void SetParentShowHint(bool value) { m_parentSettings.setParentShowHint(value); }
    bool ShowHint() const { return m_parentSettings.showHint(); }
    void SetShowHint(bool value) { m_parentSettings.setShowHint(value); }
    // Opened at the mouse on a context-menu request that OnContextPopup leaves unhandled.
    QMenu *PopupMenu() const { return m_popupMenu; }
    void SetPopupMenu(QMenu *menu) { m_popupMenu = menu; }

    // --- events ---------------------------------------------------------------------------
    TScaleTickDrawnEvent OnScaleTickDrawn;
    TScaleRenderedEvent OnBeforeScaleRendered;
    TScaleRenderedEvent OnAfterScaleRendered;
    // OnClick, OnDblClick, OnMouseDown, OnMouseUp, OnMouseMove: see TControlMouseEvents.
    std::function<void(QObject *Sender, QPoint MousePos, bool &Handled)> OnContextPopup;

    // --- mapping and ticks ----------------------------------------------------------------
    double PixelFactor() const { return m_mapping.PixelFactor; }
    double PixelOffset() const { return m_mapping.PixelOffset; }
    // Recomputes PixelFactor and PixelOffset (not while loading; see ComputeScaleMapping).
    void UpdateMapping();
    // The pixel along the axis (x of horizontal, y of vertical axes) of a value.
    int ValueToPixel(double value) const;
    // The recorded tick with the 1-based index, 0.0 outside 1..NumTicks.
    double TickPosition(int index) const { return m_ticks.at(index); }
    std::span<const double> TickPositions() const { return m_ticks.values(); }
    TScaleGeometry geometry() const;

    // --- painting -------------------------------------------------------------------------
    // The internal refresh of every setter (see the class comment).
    void Repaint();
    // Draws the whole scale now onto the target canvas or the scale's own picture.
    virtual void Paint();
    bool SuspendPaint() const { return m_suspendPaint; }
    // Clearing the flag repaints.
    void SetSuspendPaint(bool value);
    // Repaints once with the suspension lifted, then restores it (how a chart draws its
    // axes). Like every repaint, a transparent scale that is not Embedded is only invalidated,
    // so for it this draws nothing while it stays suspended.
    void PaintSuspended();
    bool Embedded() const { return m_embedded; }
    // Repaints when the flag changes.
    void SetEmbedded(bool value);
    // Later paints draw onto canvas (nullptr: the scale's own picture), the base line shifted
    // by the offsets. The canvas must outlive its use as a target.
    void SetTargetCanvas(Canvas *canvas, int offsetX, int offsetY);
    Canvas *TargetCanvas() const { return m_target; }
    int TargetOffsetX() const { return m_targetX; }
    int TargetOffsetY() const { return m_targetY; }
    // The scale's own picture as paintEvent copies it to the screen.
    const QImage &picture() const { return m_picture; }
    // The visibility flag that Paint reads (true unless hidden by setVisible(false)).
    bool Visible() const { return m_visible; }
    void setVisible(bool visible) override;

    // --- component life -------------------------------------------------------------------
    // Changes position and size, then recomputes the mapping and repaints.
    void SetBounds(int left, int top, int width, int height);
    // True from construction until loading has finished (loaded()).
    bool LoadingDefaults() const { return m_loadingDefaults; }
    // End of loading: mapping, LoadingDefaults cleared, repaint.
    void loaded() override;
    // From another TScale: frame style, colours and colour scheme, the tick event handler,
    // Logarithmic, the mapping and range, ShortTicks, the recorded ticks, MinTicks,
    // DecPlaces, ShowBaseLine, Transparent, LabelType, the margins, the DateFormat settings,
    // the caption and its placement, UserTickText, ScaleInscript, the target canvas with its
    // offsets, ScaleType and SuspendPaint; then repaints. Not the font, size or Embedded.
    // Any other source raises EZelError ("Cannot assign a <class> to a TScale").
    virtual void Assign(const QObject *source);
    // Copies this scale into dest through dest's Assign; raises EZelError for anything but a
    // TScale.
    virtual void AssignTo(QObject *dest) const;

protected:
    // The creation of the control's window (its first showing): painting starts.
    virtual void CreateWnd();

    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

    // --- drawing helpers for the axis routines --------------------------------------------
    // All of them work during a paint, on the canvas and base-line coordinate (the x of a
    // vertical, the y of a horizontal axis, target offset included) that the axis routine
    // was given. Positions along the axis come from ValueToPixel, unshifted.
    bool isVertical() const { return isVerticalScale(m_scaleType); }
    // Long tick length of this orientation (7 horizontal, 6 vertical).
    int longTickLength() const { return isVertical() ? LongTickLengthVert : LongTickLengthHoriz; }
    // The tick's point on the base line: (pixel, baseLine) or (baseLine, pixel).
    QPoint tickBasePoint(int baseLine, double value) const;
    // A tick of the given length from the base line towards the label side.
    void drawTickMark(Canvas &canvas, int baseLine, double value, int length);
    // Appends a value to TickPositions (ignored past TickCountLimit).
    void recordTick(double value) { m_ticks.record(value); }
    // Raises OnScaleTickDrawn for the tick at value.
    void raiseTickDrawn(Canvas &canvas, int baseLine, double value);
    // A label of a horizontal axis at pixel x: centred on the tick, never left of pixel 2 and
    // right-aligned 2 px before the control's right edge when it would reach it; its top 7 px
    // below (sctXT) or its bottom 7 px above (sctXB) baseLine.
    void drawHorizontalLabel(Canvas &canvas, int x, int baseLine, const QString &text);
    // A label of a vertical axis at pixel y: 8 px right of (sctYL) or left of (sctYR) the
    // base line, its top at y - textHeight div 2.
    void drawVerticalLabel(Canvas &canvas, int y, int baseLine, const QString &text,
                           int textHeight);
    // The label of the tick at value by the orientation (vertical labels centred with the
    // height of "0").
    void drawTickLabel(Canvas &canvas, int baseLine, double value, const QString &text);
    // TextOut with the coordinates limited to what the canvas can clip.
    static void textOutClipped(Canvas &canvas, long long x, long long y, const QString &text);
    // The height of "0" in the paint's font.
    int zeroTextHeight() const { return m_zeroHeight; }
    // MinTicks as the current paint uses it (horizontal axes clamp non-zero values to 2..20).
    int paintMinTicks() const { return m_paintMinTicks; }
    // The numeric axis: decade ticks when Logarithmic and the range spans a decade, else the
    // linear loops (numbers, user texts or no labels by LabelType).
    void drawNumericAxis(Canvas &canvas, int baseLine);

private:
    // The date/time axis routines (the date/time drawing code defines them). The time axis
    // returns false when no step of its table fits, and the axis is then drawn as numbers.
    bool drawTimeScale(Canvas &canvas, int baseLine);
    void drawDateTimeScale(Canvas &canvas, int baseLine);
    void drawLinearAxis(Canvas &canvas, int baseLine);
    void drawLogAxis(Canvas &canvas, int baseLine);
    // Everything of one axis: font, brush, ticks by LabelType, caption.
    void drawAxis(Canvas &canvas, int baseLine);
    void drawBaseLine(Canvas &canvas, int baseLine);
    void drawCaption(Canvas &canvas, int baseLine);
    void applyPrinterFont(Canvas &canvas);
    long long baseLineCoordinate(int offsetX, int offsetY) const;
    void labelTick(Canvas &canvas, int baseLine, double value, QString text);
    bool mayPaint() const;
    void ensureOwnPicture();
    void boundsChanged();
    void setFrameColorsFromScheme();
    void repaintIfChanged(bool changed);
    void updateMappingAndRepaint();

    // Published state.
    TFrameStyle m_frameStyle = Zel::fsLowered;
    TColor m_colorScale = clBlack;
    TColor m_colorBackGnd = clBtnFace;
    TColorScheme m_colorScheme = Zel::csBWG;
    bool m_logarithmic = false;
    double m_rangeLow = 0.0;
    double m_rangeHigh = 100.0;
    bool m_shortTicks = true;
    int m_decPlaces = -2;
    QString m_userTickText;
    int m_minTicks = 3;
    TScaleType m_scaleType = sctXB;
    TFigType m_labelType = ftNum;
    bool m_showBaseLine = true;
    bool m_transparent = false;
    int m_marginTop = 20;
    int m_marginBottom = 20;
    int m_marginRight = 20;
    int m_marginLeft = 20;
    int m_captionPosX = 4;
    int m_captionPosY = 4;
    TAlignment m_captionAlignment = Zel::taCenter;
    TScaleUnitAnchor m_captionAnchor = uaSclTopLft;
    QString m_caption;
    QString m_scaleInscript;
    TParentSettings m_parentSettings;
    TDTLabel *m_dateFormat = nullptr;
    TFont *m_font = nullptr;
    TAlign m_align = TAlign::alNone;
    TAnchors m_anchors = defaultAnchors();
    QPointer<QMenu> m_popupMenu;

    // Frame colours.
    TColor m_frameColor = clBlack;
    TColor m_shadowColor = rgbColor(128, 128, 128);
    TColor m_highlightColor = clWhite;

    // Mapping and ticks.
    TScaleMapping m_mapping;
    TTickPositions m_ticks;
    QSize m_boundsSize;

    // Painting.
    bool m_suspendPaint = true;
    bool m_embedded = false;
    bool m_visible = true;
    bool m_loadingDefaults = true;
    bool m_windowCreated = false;
    bool m_painting = false;
    bool m_pictureStale = true;
    Canvas *m_target = nullptr;
    int m_targetX = 0;
    int m_targetY = 0;
    QImage m_picture;
    Canvas m_ownCanvas;

    // Per paint.
    int m_zeroHeight = 0;
    int m_labelCounter = 0;
    int m_paintMinTicks = 3;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The standalone scale control TScale, which draws one axis with the scale engine
// (Zel_ScaleEngine.h, included here, holds the engine's arithmetic and the scale
// enumerations).
//
// Every axis of the program is drawn by this control: a TScale placed on a form as well as the
// hidden renderers a chart keeps for each of its layer axes (the chart makes them Embedded,
// leaves their painting suspended, points them at its own off-screen canvas with
// SetTargetCanvas and draws them with PaintSuspended).

#include "platform/AlignLayout.h"
#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/Component.h"
#include "platform/Fonts.h"
#include "platform/MouseEvents.h"
#include "platform/ParentSettings.h"
#include "scales/Zel_ScaleDateTime.h"
#include "scales/Zel_ScaleEngine.h"
#include "scales/Zel_zelbase.h"

#include <QImage>
#include <QMenu>
#include <QPoint>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QWidget>
#include <functional>
#include <span>

// Raised after every tick with the tick's value and its point on the base line.
using TScaleTickDrawnEvent =
    std::function<void(QObject *Sender, Canvas &Canvas, TScaleType ScaleType, double CurrentTickPos,
                       int ChartX, int ChartY)>;
// Raised before and after each rendering of the scale. Before: with the canvas the scale
// draws on (target or own picture), its font already set. After: with the canvas the axis was
// drawn on, so that what a handler adds lands in the same picture (in opaque mode the
// off-screen picture, before its frame is drawn and it is copied out).
using TScaleRenderedEvent = std::function<void(QObject *Sender, Canvas &Canvas)>;

// The plain published settings of a scale, one value, so that Assign copies them all.
struct TScaleSettings
{
    TFrameStyle frameStyle = Zel::fsLowered;
    TColor colorScale = clBlack;
    TColor colorBackGnd = clBtnFace;
    TColorScheme colorScheme = Zel::csBWG;
    bool logarithmic = false;
    double rangeLow = 0.0;
    double rangeHigh = 100.0;
    bool shortTicks = true;
    int decPlaces = -2;
    QString userTickText;
    int minTicks = 3;
    TScaleType scaleType = sctXB;
    TFigType labelType = ftNum;
    bool showBaseLine = true;
    bool transparent = false;
    int marginTop = 20;
    int marginBottom = 20;
    int marginRight = 20;
    int marginLeft = 20;
    int captionPosX = 4;
    int captionPosY = 4;
    TAlignment captionAlignment = Zel::taCenter;
    TScaleUnitAnchor captionAnchor = uaSclTopLft;
    QString caption;
    QString scaleInscript;

    bool operator==(const TScaleSettings &) const = default;
};

// A window control that shows one axis: base line, long and short ticks, labels and a caption,
// either opaque (on its own ColorBackGnd with a frame of FrameStyle, composed off-screen) or
// transparent (drawn straight onto the canvas, no background, no frame).
//
// Painting. The setters of the axis's values store the value and then refresh the scale with
// Repaint:
// - ScaleType (only when it changes), the four margins, RangeLow, RangeHigh, DecPlaces and
//   Logarithmic recompute the mapping first;
// - ShortTicks, ColorScale, ColorBackGnd, FrameStyle and ColorScheme repaint only when the
//   value changes;
// - Caption, CaptionPosX, CaptionPosY, CaptionAlignment, CaptionAnchor, ShowBaseLine,
//   Transparent, LabelType, UserTickText, ScaleInscript and MinTicks repaint on every
//   assignment;
// - DateFormat and Font repaint through their own change notification; Align and Anchors are
//   only stored.
// Repaint paints an opaque or Embedded scale at once; a transparent standalone scale is
// invalidated so that its parent's background is redrawn under it first. Nothing is drawn
// while the scale is hidden (setVisible(false)), while it is loading, or while its painting
// is suspended. A new scale starts suspended; its first showing (the creation of its window)
// ends that. Without a target canvas the scale draws into its own picture, which paintEvent
// copies to the screen; with one (SetTargetCanvas) it draws onto that canvas, shifted by the
// target's offsets.
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
    TFrameStyle FrameStyle() const { return m_settings.frameStyle; }
    void SetFrameStyle(TFrameStyle value);
    TColor ColorScale() const { return m_settings.colorScale; }
    void SetColorScale(TColor value);
    TColor ColorBackGnd() const { return m_settings.colorBackGnd; }
    void SetColorBackGnd(TColor value);
    // csBWG: grey (128,128,128) shadow and white highlight; csSystem: clBtnShadow and
    // clBtnHighlight. Changes only the frame's shadow and highlight colours.
    TColorScheme ColorScheme() const { return m_settings.colorScheme; }
    void SetColorScheme(TColorScheme value);
    // Switching on is refused (silently) unless both range ends are >= 1e-100 and LabelType is
    // not ftDateTime; while the scale is loading it is accepted unchecked.
    bool Logarithmic() const { return m_settings.logarithmic; }
    void SetLogarithmic(bool value);
    // Setting one end to the other's value moves the other end to the new value + 1.
    // NaN and infinities are refused.
    double RangeLow() const { return m_settings.rangeLow; }
    void SetRangeLow(double value);
    double RangeHigh() const { return m_settings.rangeHigh; }
    void SetRangeHigh(double value);
    bool ShortTicks() const { return m_settings.shortTicks; }
    void SetShortTicks(bool value);
    // -3..12: 0..12 fixed decimals, -1 scientific, -2 automatic, -3 automatic with exponent
    // labels on logarithmic axes. Clamped.
    int DecPlaces() const { return m_settings.decPlaces; }
    void SetDecPlaces(int value);
    QString UserTickText() const { return m_settings.userTickText; }
    void SetUserTickText(const QString &value);
    // 0 (a tick at every integer) or 2..10; other values are clamped into 2..10.
    int MinTicks() const { return m_settings.minTicks; }
    void SetMinTicks(int value);
    int NumTicks() const { return m_ticks.count(); }
    TScaleType ScaleType() const { return m_settings.scaleType; }
    void SetScaleType(TScaleType value);
    // ftDateTime also switches Logarithmic off; ftTime sets DecPlaces to 4.
    TFigType LabelType() const { return m_settings.labelType; }
    void SetLabelType(TFigType value);
    bool ShowBaseLine() const { return m_settings.showBaseLine; }
    void SetShowBaseLine(bool value);
    bool Transparent() const { return m_settings.transparent; }
    void SetTransparent(bool value);
    // Pixels between the control's edges and the axis's ends; negative values are stored as 0.
    int MarginTop() const { return m_settings.marginTop; }
    void SetMarginTop(int value);
    int MarginBottom() const { return m_settings.marginBottom; }
    void SetMarginBottom(int value);
    int MarginRight() const { return m_settings.marginRight; }
    void SetMarginRight(int value);
    int MarginLeft() const { return m_settings.marginLeft; }
    void SetMarginLeft(int value);
    int CaptionPosX() const { return m_settings.captionPosX; }
    void SetCaptionPosX(int value);
    int CaptionPosY() const { return m_settings.captionPosY; }
    void SetCaptionPosY(int value);
    TAlignment CaptionAlignment() const { return m_settings.captionAlignment; }
    void SetCaptionAlignment(TAlignment value);
    TScaleUnitAnchor CaptionAnchor() const { return m_settings.captionAnchor; }
    void SetCaptionAnchor(TScaleUnitAnchor value);
    QString Caption() const { return m_settings.caption; }
    void SetCaption(const QString &value);
    // Decoration of numeric labels; "&" marks where the number goes ("& kg"), without it the
    // inscript is a prefix ("$").
    QString ScaleInscript() const { return m_settings.scaleInscript; }
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
    // The map of the axis: the mapping with the present extent, range and Logarithmic.
    TAxisMap axisMap() const;
    // The pixel along the axis (x of horizontal, y of vertical axes) of a value.
    int ValueToPixel(double value) const;
    // The recorded tick with the 1-based index, 0.0 outside 1..NumTicks.
    double TickPosition(int index) const { return m_ticks.at(index); }
    std::span<const double> TickPositions() const { return m_ticks.values(); }
    TScaleGeometry geometry() const;

    // --- painting -------------------------------------------------------------------------
    // The refresh the setters end in (see the class comment).
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
    bool isVertical() const { return isVerticalScale(m_settings.scaleType); }
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
    void updateMappingAndRepaint();

    // Published state.
    TScaleSettings m_settings;
    TParentSettings m_parentSettings;
    TDTLabel *m_dateFormat = nullptr;
    TFont *m_font = nullptr;
    TAlign m_align = TAlign::alNone;
    TAnchors m_anchors = defaultAnchors();
    QPointer<QMenu> m_popupMenu;

    // Frame colours.
    TFrameColors m_frameColors{clBlack, rgbColor(128, 128, 128), clWhite};

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

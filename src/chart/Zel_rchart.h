#pragma once
// The chart control. It keeps no picture of what it shows: it keeps a list of drawing items in
// the world coordinates of one of its 16 layers, and every repaint replays that list through
// the current mapping. Several charts can share one item store (UseDataOf).
//
// The implementation is split by concern: rchart_store.cpp (items, adds, sharing),
// rchart_layers.cpp (axis records, renderers, layer ranges and their coupling),
// rchart_mapping.cpp (world-to-pixel mapping), rchart_widget.cpp (construction, margins,
// images, painting, resizing, loading), rchart_paint.cpp and rchart_items.cpp (the picture),
// rchart_axes.cpp (the axes on it, and the repaint of a moved window), rchart_layouts.cpp
// (standard layouts), rchart_mouse.cpp (mouse modes, rubber band, cursors), rchart_keys.cpp
// (keys and wheel), rchart_cursors.cpp (the cursor images); the axis records and TJointLayers
// themselves are in rchart_scaleprops.h.
//
// Layers. Each of the 16 layers has an x and a y axis record (TScalePropsHoriz,
// TScalePropsVert) holding its world range and axis settings, and a hidden axis renderer for
// each (a TScale named "RC_FScale_X_n" / "RC_FScale_Y_n") that draws the axis onto the
// chart's full image. Whenever something changes that can move an axis (a record, a range,
// a margin, the size), the record is handed to its renderer.

#include "chart/rchart_paintprops.h"
#include "chart/rchart_scaleprops.h"
#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/Component.h"
#include "platform/GraphicsTypes.h"
#include "platform/ShiftState.h"
#include "scales/Zel_Scale.h"
#include "scales/Zel_zelbase.h"

#include <QImage>
#include <QMenu>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <type_traits>
#include <utility>

// Misuse of the chart that a programmer can cause (layer coupling).
class EZelRChartError : public EZelError
{
public:
    using EZelError::EZelError;
};

// The chart's events (besides TRenderEvent and TScaleTickDrawnEvent).
using TNotifyEvent = std::function<void(QObject *Sender)>;
using TMouseMoveInChartEvent = std::function<void(QObject *Sender, bool InChart, TShiftState Shift,
                                                  double rMousePosX, double rMousePosY)>;
using TRubberBandEvent =
    std::function<void(QObject *Sender, int Layer, double LoX, double LoY, double HiX, double HiY)>;
using TCrossHairMoveEvent = std::function<void(QObject *Sender, TCrossHair *WhichCrossHair)>;
using TTextLabelMoveEvent = std::function<void(QObject *Sender, TTextLabel *WhichTextLabel)>;
using TChartMouseEvent =
    std::function<void(QObject *Sender, Qt::MouseButton Button, TShiftState Shift, int X, int Y)>;
using TChartMouseMoveEvent = std::function<void(QObject *Sender, TShiftState Shift, int X, int Y)>;
using TMouseWheelEvent = std::function<void(QObject *Sender, TShiftState Shift, int WheelDelta,
                                            QPoint MousePos, bool &Handled)>;
using TMouseWheelUpDownEvent =
    std::function<void(QObject *Sender, TShiftState Shift, QPoint MousePos, bool &Handled)>;
// Key is a Qt::Key code; a handler that sets it to 0 ends the key's handling.
using TKeyEvent = std::function<void(QObject *Sender, int &Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(QObject *Sender, QChar &Key)>;

// Item kinds (TChartItem::Kind), one byte. 0, 10 and 11 are unassigned; painting skips such
// items.
enum TItemKind : std::uint8_t {
    ikMark = 1,
    ikLine = 2,
    ikLineTo = 3,
    ikRect = 4,
    ikFramedRect = 5,
    ikBar3D = 6,
    ikText = 7,
    ikMoveTo = 8,
    ikEllipse = 9,
    ikMoveRel = 12,
    ikLineRel = 13,
    ikArrow = 14,
    ikTextOfs = 15,
    ikBox = 16
};

// The text of a text item, stored inline (length byte and at most 17 Latin-1 characters) so
// that items stay plain records that can be shared, copied and released without per-item work.
struct TItemText
{
    static constexpr int MaxLength = 17;

    std::uint8_t Length;
    char Chars[MaxLength];

    QString toString() const;
    // Stores the text as Latin-1 (characters outside it become '?'), cut to MaxLength.
    void assign(const QString &text);
};

// One drawing item. Which fields a kind uses is given with the add operations below; unused
// fields stay zero.
struct TChartItem
{
    double X;  // world x of the (first) point; pixel offset for the relative kinds
    double Y;  // world y of the (first) point; pixel offset for the relative kinds
    double X2; // second point, x radius, or pixel half-width / offset, by kind
    double Y2; // second point, y radius, or pixel half-height / offset, by kind
    TColor Color;
    TColor FillColor;
    TColor FrameColor1;
    TColor FrameColor2;
    std::uint8_t PenStyle; // a TPenStyle value
    std::int32_t LineWidth;
    std::uint8_t ClassNo; // 0..254, for the class filter
    TItemKind Kind;       // ik... constant
    std::int32_t Layer;   // 1..16
    std::uint8_t Transparent;
    std::uint8_t FrameStyle; // a TFrameStyle value
    TItemText Text;
    std::int32_t Size;  // font size in points, arrow head length, or 3-D bar depth angle
    std::int32_t Depth; // depth of a 3-D bar in pixels
    std::uint8_t Mode;  // mark shape, or text alignment (0 left, 1 right, 2 centred)
};
static_assert(std::is_trivially_copyable_v<TChartItem>);
static_assert(std::is_standard_layout_v<TChartItem>);

// All state and behaviour of the chart; TRChart publishes it.
class TCustomRChart : public QWidget, public ZelComponent
{
    Q_OBJECT

public:
    static constexpr int LayerCount = 16;
    static constexpr int ClassCount = 256;
    static constexpr int MaxDataUsers = 4;
    static constexpr int MaxAllocSize = 1000000;

    explicit TCustomRChart(QWidget *parent = nullptr);
    ~TCustomRChart() override;

    // --- Item store ---------------------------------------------------------------------
    int Count() const { return m_count; }
    int Capacity() const { return m_capacity; }
    std::span<const TChartItem> Items() const
    {
        return {m_items.get(), static_cast<std::size_t>(m_count)};
    }

    // Growth step of the store; values outside 1..1000000 are ignored.
    int AllocSize() const { return m_allocSize; }
    void SetAllocSize(int value);
    // Layer of new items, 1..16; other values are ignored.
    int ActiveLayer() const { return m_activeLayer; }
    void SetActiveLayer(int layer);

    // Attributes that new items take over (stored only; no repaint).
    TColor DataColor() const { return m_dataColor; }
    void SetDataColor(TColor color) { m_dataColor = color; }
    TColor FillColor() const { return m_fillColor; }
    void SetFillColor(TColor color) { m_fillColor = color; }
    TPenStyle PenStyle() const { return m_penStyle; }
    void SetPenStyle(TPenStyle style) { m_penStyle = style; }
    // A byte: values are limited to 0..255.
    int LineWidth() const { return m_lineWidth; }
    void SetLineWidth(int width);
    // Class number of new items, 0..254; 255 and values outside a byte are ignored.
    int ClassDefault() const { return m_classDefault; }
    void SetClassDefault(int classNo);

    // Removes all items and releases the storage for the whole sharing group; redraws the
    // bare data area into the data image but does not repaint the screen.
    void ClearItems();
    inline void AddMoveTo(double X, double Y);
    inline void AddLineTo(double X, double Y);
    // Further item kinds; each stamps Layer, ClassNo, Color, PenStyle and LineWidth from the
    // current attributes, the closed shapes and lines also FillColor.
    void AddMark(double X, double Y, int Mark);
    void AddLine(double X1, double Y1, double X2, double Y2);
    void AddRect(double X1, double Y1, double X2, double Y2, bool Transparent = false);
    void AddFramedRect(double X1, double Y1, double X2, double Y2, TFrameStyle FrameStyle,
                       TColor FrameColor1, TColor FrameColor2);
    void AddBar3D(double X1, double Y1, double X2, double Y2, int Depth, int Angle);
    void AddEllipse(double X, double Y, double RadiusX, double RadiusY, bool Transparent = false);
    // Text items are aligned by TextAlignment unless given an alignment of their own.
    void AddText(double X, double Y, const QString &Text, int Size,
                 std::optional<TAlignment> Alignment = std::nullopt);
    void AddTextOfs(double X, double Y, int OffsetX, int OffsetY, const QString &Text, int Size,
                    std::optional<TAlignment> Alignment = std::nullopt);
    void AddMoveRel(int DX, int DY);
    void AddLineRel(int DX, int DY);
    void AddArrow(double X1, double Y1, double X2, double Y2, int HeadLength,
                  bool OpenHead = false);
    void AddBox(double X, double Y, int HalfWidth, int HalfHeight, bool Transparent = false);

    // Makes the stored items visible: redraws the data area (AutoRedraw) or the whole chart,
    // then repaints the other charts of the sharing group.
    void ShowItems();

    // --- Painting filter ------------------------------------------------------------------
    bool ClassVisible(int classNo) const;
    void SetClassVisible(int classNo, bool visible);
    bool LayerVisible(int layer) const;
    void SetLayerVisible(int layer, bool visible);
    // An item is drawn only if both its class and its layer are visible.
    bool isItemVisible(const TChartItem &item) const;

    // --- Data sharing ---------------------------------------------------------------------
    // The chart whose store this chart uses, or nullptr.
    TCustomRChart *DataOwner() const { return m_dataOwner; }
    // The charts that use this chart's store, in the order they attached.
    int DataUserCount() const { return m_dataUserCount; }
    TCustomRChart *DataUsers(int index) const;
    // Starts (chart) or ends (nullptr) using another chart's store; misuse is reported in an
    // information message box and changes nothing.
    void useDataOf(TCustomRChart *chart);

    // --- Layers and mapping ---------------------------------------------------------------
    // Sets the world ranges of one layer (1..16) or of all layers (0); other layers are
    // ignored. A degenerate range (lo = hi) is widened (by MinRange, or by the factor 1.1 on a
    // logarithmic axis); with Isometric the y range is fitted to the x range; a layer's axis
    // controlled by another layer keeps its range, and layers controlled by this one follow
    // it. A range narrower than the axis's MinRange, non-finite bounds and, on a logarithmic
    // axis, bounds below 1e-100 leave the present value in place. Repaints with AutoRedraw
    // (not while loading).
    void SetLayerRange(int Layer, double XLo, double YLo, double XHi, double YHi);
    // (RangeLow, RangeHigh) of a layer's axes; a layer outside 1..16 yields layer 1's.
    std::pair<double, double> layerRangeX(int layer) const;
    std::pair<double, double> layerRangeY(int layer) const;

    // The axis records of a layer; a layer outside 1..16 yields layer 1's. The chart owns
    // them.
    TScalePropsHoriz *LayerScaleX(int L) const;
    TScalePropsVert *LayerScaleY(int L) const;
    // The hidden renderers of a layer's axes; a layer outside 1..16 yields layer 1's.
    TScale *layerRendererX(int L) const;
    TScale *layerRendererY(int L) const;

    // Maps a world point of a layer (clamped to 1..16) to control pixels: limited to
    // +-2147483647 and rounded halves to even. On a logarithmic axis values <= 1e-100 go to the
    // control's edge at the low end of the axis (x 0, y Height; the other edge when the range
    // is reversed). NaN gives 0.
    void WorldToPixel(int Layer, double X, double Y, int &PX, int &PY) const;
    // The inverse of WorldToPixel. An axis without extent (the plot has no width or height,
    // or its range is unusable) gives its RangeLow.
    void PixelToWorld(int Layer, int PX, int PY, double &X, double &Y) const;
    // Recomputes the mapping of all layers (not while loading).
    virtual void UpdateMapping();

    // The maps of a layer's axes (layer clamped to 1..16): the coefficients of the last
    // UpdateMapping with the axis records' present Logarithmic and range.
    TAxisMap layerMapX(int L) const;
    TAxisMap layerMapY(int L) const;

    // Keeps the y range of every layer fitted to its x range so that one world unit has the
    // same length on screen in x and y. Switching it on corrects every layer at once;
    // switching it off changes no range.
    bool Isometric() const { return m_isometric; }
    void SetIsometric(bool on);

    // Which layer controls which; assigning copies the values (without the setters' checks).
    TJointLayers *JointLayers() const { return m_jointLayers; }
    void SetJointLayers(const TJointLayers *value);

    // Raised for every tick an axis renderer draws, with the chart as Sender.
    TScaleTickDrawnEvent OnScaleTickDrawn;

    // --- Margins, colours, painting -------------------------------------------------------
    int MarginLeft() const { return m_marginLeft; }
    void SetMarginLeft(int value);
    int MarginRight() const { return m_marginRight; }
    void SetMarginRight(int value);
    int MarginTop() const { return m_marginTop; }
    void SetMarginTop(int value);
    int MarginBottom() const { return m_marginBottom; }
    void SetMarginBottom(int value);
    int LRim() const { return m_marginLeft; }
    void SetLRim(int value) { SetMarginLeft(value); }
    int RRim() const { return m_marginRight; }
    void SetRRim(int value) { SetMarginRight(value); }
    int TRim() const { return m_marginTop; }
    void SetTRim(int value) { SetMarginTop(value); }
    int BRim() const { return m_marginBottom; }
    void SetBRim(int value) { SetMarginBottom(value); }
    // Drop shadow width, clamped to 0..32; taken off the plot area at the right and bottom.
    int ShadowWidth() const { return m_shadowWidth; }
    void SetShadowWidth(int value);
    // Plot width and height (may be negative for a control smaller than its margins).
    int plotWidth() const;
    int plotHeight() const;
    // The smallest size resizing gives the control: the margins and shadow plus 80 x 20.
    int minimumChartWidth() const;
    int minimumChartHeight() const;
    // Moves and resizes the control, raising the size to the minimum first; the renderers
    // follow and the mapping is recomputed.
    void SetBounds(int left, int top, int width, int height);

    TColor ChartColor() const { return m_chartColor; }
    void SetChartColor(TColor color);
    TColor WindColor() const { return m_windColor; }
    void SetWindColor(TColor color);
    bool AutoRedraw() const { return m_autoRedraw; }
    void SetAutoRedraw(bool on) { m_autoRedraw = on; }

    // While true no painting happens; true from creation until the control is first shown.
    bool PaintLocked() const { return m_paintLocked; }

    // The off-screen pictures: the whole control, and the data area (plot) alone.
    const QImage &fullImage() const;
    // The canvas drawing on the full image (the axis renderers' target).
    Canvas &fullCanvas() { return m_fullCanvas; }
    const QImage &dataImage() const;

    // Ends loading and paints.
    void loaded() override;

    // --- Standard layout (rchart_layouts.cpp) ---------------------------------------------
    // Places the margins, the chart caption and the axes of layers 1..4 in one step and hides
    // the axes of layers 5..16; the property keeps the value. Paint-locked meanwhile; if that
    // lock is released at the end, the chart repaints.
    TrcLayout StandardLayout() const { return m_standardLayout; }
    void SetStandardLayout(TrcLayout layout);

    // --- Mouse (rchart_mouse.cpp) ---------------------------------------------------------
    // The application's screen cursors the chart registers (a hand for panning, magnifiers
    // for the zoom modes).
    static constexpr int CursorHand = 1;
    static constexpr int CursorZoomWind = 2;
    static constexpr int CursorZoomDrag = 3;
    static constexpr int CursorZoomWindPos = 4;
    static void registerCursors();

    // What the left button does. Changing it does not end a drag or rectangle in progress.
    TMouseActMode MouseAction() const { return m_mouseAction; }
    void SetMouseAction(TMouseActMode mode) { m_mouseAction = mode; }
    // When true the chart never shows its own cursors.
    bool MouseCursorFixed() const { return m_mouseCursorFixed; }
    void SetMouseCursorFixed(bool fixed) { m_mouseCursorFixed = fixed; }
    // Only layers whose flag is set are panned and zoomed by the mouse (layer 1 alone at
    // creation). Layers outside 1..16 read false and are ignored.
    bool MouseAffectsLayer(int layer) const;
    void SetMouseAffectsLayer(int layer, bool affected);
    // Whether a control pixel lies in the plot area, its edges included.
    bool isInPlotArea(int X, int Y) const;
    // A drag (pan, zoom-drag, crosshair, label) or a rectangle is in progress.
    bool isMouseDragging() const { return m_dragging; }
    // A pan, zoom-drag or object drag whose left button is still held (the drag itself ends
    // only at the next move without the button).
    bool isMouseDragInProgress() const { return m_dragging && m_leftButtonHeld; }
    bool isDrawingRectangle() const { return m_drawingRect; }

    // --- Events -----------------------------------------------------------------------------
    // Every mouse move, with the position in world coordinates of the active layer (also
    // outside the plot area).
    TMouseMoveInChartEvent OnMouseMoveInChart;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    // A rectangle drawn in maRubberBand mode, once per affected layer.
    TRubberBandEvent OnRubberBand;
    // Ranges were changed by the mouse (also after the OnRubberBand reports).
    TNotifyEvent OnZoomPan;
    TCrossHairMoveEvent OnCrossHairMove;
    TTextLabelMoveEvent OnTextLabelMove;
    // The control's generic events.
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TChartMouseEvent OnMouseDown;
    TChartMouseEvent OnMouseUp;
    TChartMouseMoveEvent OnMouseMove;
    TMouseWheelEvent OnMouseWheel;
    TMouseWheelUpDownEvent OnMouseWheelDown;
    TMouseWheelUpDownEvent OnMouseWheelUp;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnResize;

    // The menu a right click (or the menu key) opens; none by default. The chart does not own
    // it; a menu deleted elsewhere is forgotten.
    QMenu *PopupMenu() const { return m_popupMenu; }
    void SetPopupMenu(QMenu *menu) { m_popupMenu = menu; }

    // --- Picture settings (rchart_paint.cpp, rchart_items.cpp) ----------------------------
    // Setters store and repaint with AutoRedraw.
    TColor ChartFrameColor() const { return m_chartFrameColor; }
    void SetChartFrameColor(TColor color);
    TShadowStyle ShadowStyle() const { return m_shadowStyle; }
    void SetShadowStyle(TShadowStyle style);
    TColor ShadowColor() const { return m_shadowColor; }
    void SetShadowColor(TColor color);
    TColor ShadowBakColor() const { return m_shadowBakColor; }
    void SetShadowBakColor(TColor color);

    // The chart caption, placed at its anchor plus (CaptionPosX, CaptionPosY) in the chart's
    // Font.
    QString Caption() const { return m_caption; }
    void SetCaption(const QString &text);
    int CaptionPosX() const { return m_captionPosX; }
    void SetCaptionPosX(int value);
    int CaptionPosY() const { return m_captionPosY; }
    void SetCaptionPosY(int value);
    TAlignment CaptionAlignment() const { return m_captionAlignment; }
    void SetCaptionAlignment(TAlignment value);
    TCaptionAnchorHoriz CaptionAnchorHoriz() const { return m_captionAnchorHoriz; }
    void SetCaptionAnchorHoriz(TCaptionAnchorHoriz value);
    TCaptionAnchorVert CaptionAnchorVert() const { return m_captionAnchorVert; }
    void SetCaptionAnchorVert(TCaptionAnchorVert value);
    // The caption font (also the font the text labels copy at creation); assigning copies.
    TFont *Font() const { return m_font.get(); }
    void SetFont(const TFont *font);

    // Grid of the active layer. GridDx and GridDy are steps (> 0), decade rules on
    // logarithmic axes (-1 decades, -2 1-2-5, -3 every mantissa) or 0 for the ticks the
    // axis renderer recorded; values below -3 are ignored.
    GridStyleType GridStyle() const { return m_gridStyle; }
    void SetGridStyle(GridStyleType style);
    double GridDx() const { return m_gridDx; }
    void SetGridDx(double value);
    double GridDy() const { return m_gridDy; }
    void SetGridDy(double value);
    TColor GridColor() const { return m_gridColor; }
    void SetGridColor(TColor color);

    // Text items: font style and background, and the alignment of those added without one.
    TFontStyles TextFontStyle() const { return m_textFontStyle; }
    void SetTextFontStyle(TFontStyles style);
    TTextBkStyle TextBkStyle() const { return m_textBkStyle; }
    void SetTextBkStyle(TTextBkStyle style);
    TColor TextBkColor() const { return m_textBkColor; }
    void SetTextBkColor(TColor color);
    TAlignment TextAlignment() const { return m_textAlignment; }
    void SetTextAlignment(TAlignment alignment);

    // Crosshairs 1..4 and text labels 1..30 (nullptr outside); the chart owns them. Assigning a
    // crosshair copies its values.
    TCrossHair *CrossHair(int n) const;
    void SetCrossHair(int n, const TCrossHair *value);
    static constexpr int TextLabelCount = 30;
    TTextLabel *TextLabel(int n) const;

    // The background picture and area band; assigning copies the values.
    TBakGndImg *BackGroundImg() const { return m_bakGndImg.get(); }
    void SetBackGroundImg(const TBakGndImg *value);

    // OnScalesRendered: after the axes are drawn onto the full image (Top = Left = 0).
    // OnBeforeRenderData, OnDataRendered: before the grid and after the text labels, on the
    // data image.
    TRenderEvent OnScalesRendered;
    TRenderEvent OnBeforeRenderData;
    TRenderEvent OnDataRendered;

    // Called with every polyline the item painter draws (a run of line-to items, up to 200
    // points); for inspection, empty by default.
    std::function<void(std::span<const QPoint> points)> polylineDrawn;

    // Draws the contents of the data area: grid, items, text labels, frame. DX, DY shift the
    // picture; Monochrome draws pens and texts black and fills in 12632256; NoGrid leaves the
    // grid out.
    virtual void DrawItems(Canvas &canvas, int DX, int DY, bool Monochrome, bool NoGrid);
    // Draws the data area background (plain ChartColor, the background picture or the area
    // band) at (DX, DY); the data image is resized first.
    virtual void DrawBackground(Canvas &canvas, int DX, int DY);
    // Draws the crosshairs that are on, with (OX, OY) subtracted from control pixels.
    void drawCrossHairs(Canvas &canvas, int OX, int OY);

protected:
    // Draws the visible axes onto the full image through their renderers (the mapping is
    // recomputed first): the x axes of layers 1..16, then the y axes.
    void drawScales();
    // The chart's full repaint: composes the whole picture off-screen and schedules the copy
    // to the screen. Nothing is drawn while invisible, loading or paint-locked.
    virtual void fullRepaint();

    // Sets the paint lock and returns its former value; restorePaintLock puts a former value
    // back and repaints (with AutoRedraw) if that releases the lock.
    bool lockPainting();
    void restorePaintLock(bool former);
    // Window creation: releases the lock set at creation, without painting.
    void releaseCreationPaintLock();

    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

    // Mouse and keys (rchart_mouse.cpp, rchart_keys.cpp).
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    // Tab and Shift+Tab do not move the focus away: the chart takes them as keys.
    bool focusNextPrevChild(bool next) override;

private:
    // The control's accessible interface, installed with the first control made.
    static void ensureAccessibleFactory();
    // Picture internals (rchart_paint.cpp, rchart_items.cpp).
    void createPictureObjects();
    void drawShadow(Canvas &canvas);
    void drawCaption(Canvas &canvas);
    void drawAreaBand(Canvas &canvas, int DX, int DY, int w, int h);
    void renderDataImage();
    void drawBareDataArea();
    void drawGrid(Canvas &canvas, int DX, int DY, bool Monochrome);
    void drawGridLines(Canvas &canvas, int DX, int DY, bool Monochrome, bool dotted);
    void drawTextLabels(Canvas &canvas, int DX, int DY);
    void drawTextLabel(Canvas &canvas, const TTextLabel &label, int DX, int DY);
    void raiseRenderEvent(const TRenderEvent &event, Canvas &canvas, int top, int left);
    void pictureChanged(QObject *);

    // Holds the paint lock for a scope and puts the former value back at its end, without
    // repainting (the caller decides what to repaint).
    class PaintLockGuard
    {
    public:
        explicit PaintLockGuard(TCustomRChart &chart)
            : m_chart(chart), m_former(chart.lockPainting())
        {
        }
        ~PaintLockGuard() { m_chart.m_paintLocked = m_former; }
        PaintLockGuard(const PaintLockGuard &) = delete;
        PaintLockGuard &operator=(const PaintLockGuard &) = delete;

    private:
        TCustomRChart &m_chart;
        bool m_former;
    };

    // The world ranges of all layers, x low/high then y low/high per layer.
    using LayerRanges = std::array<double, 4 * LayerCount>;
    LayerRanges layerRanges() const;
    // One flag per axis renderer: the x axes of layers 1..16, then the y axes.
    using AxisFlags = std::array<bool, 2 * LayerCount>;
    // The frame step on the whole full image, or only within a strip of it, where the moved
    // axes and the unmoved ones that reach into the strip are painted again (rchart_paint.cpp).
    void drawFrameStep(const QRect *strip = nullptr, const AxisFlags *moved = nullptr);
    // Axis internals (rchart_axes.cpp).
    void paintAxes(const QRect *strip, const AxisFlags *moved);
    // A window change redrawn as the strips of the moved axes and the data area; false when
    // the picture needs its full repaint instead.
    bool repaintMovedAxes(const LayerRanges &before);
    void forwardTickEvents(bool on);
    TScale *renderer(int k) const
    {
        return k < LayerCount ? m_rendererX[std::size_t(k)]
                              : m_rendererY[std::size_t(k - LayerCount)];
    }

    // Layer internals (rchart_layers.cpp).
    void createLayers();
    void scaleChanged();
    void runScaleChange(bool repaint);
    void settleScaleChanges();
    void handRecord(int layer, bool xAxis);
    void handAllRecords();
    void resizeRenderers();
    void applyJointRange(int layer, double XLo, double YLo, double XHi, double YHi, bool xWidened,
                         bool yWidened);
    void applyLayerRange(int layer, double XLo, double YLo, double XHi, double YHi,
                         bool xWidened = false, bool yWidened = false);
    bool isometricRange(double xLo, double xHi, double &yLo, double &yHi) const;
    void correctIsometricLayers();
    void layersJoined(TJointLayers::Axis axis, int layer);
    // Mapping internals (rchart_mapping.cpp).
    void updateLayerMapping(int layer);
    // Mouse internals (rchart_mouse.cpp).
    void startDrag(QPoint pos);
    void zoomDrag(QPoint pos);
    void pan(QPoint pos);
    void moveRectangle(QPoint pos);
    void finishRectangle(Qt::MouseButton button);
    void chooseCrossHair(QPoint pos);
    void dragCrossHair(QPoint pos);
    void chooseTextLabel(QPoint pos);
    void dragTextLabel(QPoint pos);
    void setMouseCursor(bool inPlot);
    void releaseMouseCursor();
    void endMouseRangeChange(bool formerLock);
    QRect rubberBandOutline() const;
    void drawRubberBand(QPainter &painter, const QRect &exposed) const;
    // Widget internals (rchart_widget.cpp).
    void marginsChanged();
    void boundsChanged();

    // Store internals (rchart_store.cpp).
    TChartItem &newItem(TItemKind kind);
    void commitItem();
    void growItems();
    void synchroniseShares();
    void takeStoreOf(const TCustomRChart &writer);
    void makeItemsPrivate();
    void removeDataUser(TCustomRChart *user);
    void leaveSharingGroup();

    // Painting internals (rchart_widget.cpp).
    bool canPaint() const;
    void repaintIfAutoRedraw();
    void invalidatePicture();
    void repaintDataArea();
    void settleBareArea();
    void resizeImages();
    void redrawDataArea();
    // Copies the data image into the full image if it has changed since the last copy.
    void settleFullImage();
    void composePicture();
    QRect dataRect() const;

    // Item store.
    std::shared_ptr<TChartItem[]> m_items;
    int m_count = 0;
    int m_capacity = 0;
    // Items the array really holds (at least Capacity).
    int m_allocated = 0;
    // ClearItems releases the store's array; one that no other chart uses is kept here, so
    // that the next fill of the store grows into it without allocating and copying.
    std::shared_ptr<TChartItem[]> m_spareItems;
    int m_spareAllocated = 0;
    int m_allocSize = 1000;
    int m_activeLayer = 1;
    TColor m_dataColor = clBlack;
    TColor m_fillColor = 12632256;
    TPenStyle m_penStyle = Gfx::psSolid;
    std::uint8_t m_lineWidth = 1;
    std::uint8_t m_classDefault = 0;
    std::array<bool, ClassCount> m_classVisible;
    std::array<bool, LayerCount> m_layerVisible;

    // Sharing.
    TCustomRChart *m_dataOwner = nullptr;
    std::array<TCustomRChart *, MaxDataUsers> m_dataUsers{};
    int m_dataUserCount = 0;

    // Layers.
    std::array<TScalePropsHoriz *, LayerCount> m_scaleX{};
    std::array<TScalePropsVert *, LayerCount> m_scaleY{};
    std::array<TScale *, LayerCount> m_rendererX{};
    std::array<TScale *, LayerCount> m_rendererY{};
    // Where each renderer drew on the full image when it was last painted (see AxisFlags).
    std::array<QRect, 2 * LayerCount> m_axisBoxes{};
    // The renderers report their ticks only while the chart has a handler for them: finding
    // each tick's pixel for nobody costs a tenth of an axis.
    TScaleTickDrawnEvent m_forwardTicks;
    bool m_ticksForwarded = true;
    // pixel = K * world + D per layer and axis (world replaced by its natural logarithm on
    // logarithmic axes).
    struct LayerMapping
    {
        long double KX = 0, DX = 0, KY = 0, DY = 0;
    };
    std::array<LayerMapping, LayerCount> m_mapping{};
    TJointLayers *m_jointLayers = nullptr;
    bool m_isometric = false;
    // Device aspect (relative width and height of a pixel), read once at creation.
    int m_aspectX = 36;
    int m_aspectY = 36;
    // While positive, record changes only mark the scale-change handler as pending; it then
    // runs once when the batch ends (creation, loading, isometric corrections).
    int m_scaleChangeBatch = 0;
    bool m_scaleChangePending = false;
    bool m_inBoundsChange = false;

    // Geometry and painting.
    // The stored-form defaults; creation applies the standard layout over them.
    int m_marginLeft = 50;
    int m_marginRight = 10;
    int m_marginTop = 16;
    int m_marginBottom = 32;
    int m_shadowWidth = 0;
    TColor m_chartColor = clWhite;
    TColor m_windColor = clBtnFace;
    bool m_autoRedraw = true;
    bool m_paintLocked = true;
    bool m_windowCreated = false;
    // The full image no longer shows the chart's state / the data image no longer shows the
    // items; the next screen copy recomposes what is stale.
    bool m_frameDirty = true;
    bool m_dataDirty = true;
    // ClearItems' bare data area, drawn only when the data image is read before the next
    // redraw of the data area (which draws the same background anyway).
    bool m_bareAreaPending = false;
    // The data image has changed since it was last copied into the full image.
    bool m_fullLagsData = false;
    QImage m_fullImage;
    QImage m_dataImage;
    // The canvas on the data image, kept attached like the full image's; it lets go of the
    // image whenever the image is replaced.
    Canvas m_dataCanvas;

    // Picture settings.
    TColor m_chartFrameColor = clBlack;
    TShadowStyle m_shadowStyle = RChart::ssFlying;
    TColor m_shadowColor = clGrayText;
    TColor m_shadowBakColor = clBtnFace;
    QString m_caption;
    int m_captionPosX = 0;
    int m_captionPosY = -15;
    TAlignment m_captionAlignment = Zel::taRightJustify;
    TCaptionAnchorHoriz m_captionAnchorHoriz = RChart::cahChartRight;
    TCaptionAnchorVert m_captionAnchorVert = RChart::cavChartTop;
    std::unique_ptr<TFont> m_font;
    GridStyleType m_gridStyle = RChart::gsNone;
    double m_gridDx = 0;
    double m_gridDy = 0;
    TColor m_gridColor = clBlack;
    TFontStyles m_textFontStyle;
    TTextBkStyle m_textBkStyle = RChart::tbClear;
    TColor m_textBkColor = clWhite;
    TAlignment m_textAlignment = Zel::taCenter;
    std::array<std::unique_ptr<TCrossHair>, 4> m_crossHairs;
    std::array<std::unique_ptr<TTextLabel>, TextLabelCount> m_textLabels;
    std::unique_ptr<TBakGndImg> m_bakGndImg;
    TrcLayout m_standardLayout = RChart::rcl_X1Bottom_Y1Left;

    // Mouse state.
    struct DragStart
    {
        QPoint anchor;
        double xLo = 0, xHi = 1, yLo = 0, yHi = 1;
    };
    TMouseActMode m_mouseAction = Zel::maNone;
    bool m_mouseCursorFixed = true;
    std::array<bool, LayerCount> m_mouseAffectsLayer{};
    bool m_dragging = false;
    bool m_leftButtonHeld = false;
    bool m_drawingRect = false;
    bool m_doubleClick = false;
    bool m_clickPending = false;
    // The chart has set the application's cursor (and resets it when the mouse leaves).
    bool m_ownsAppCursor = false;
    std::array<DragStart, LayerCount> m_dragStart{};
    // The rectangle's fixed corner (X0, Y0) and moving corner (X1, Y1), and the mode it was
    // started in.
    QPoint m_rectFixed;
    QPoint m_rectMoving;
    TMouseActMode m_rectMode = Zel::maNone;
    // The crosshair (1..4) or text label (1..30) being dragged.
    int m_dragCrossHair = 1;
    int m_dragTextLabel = 1;
    // Wheel turn not yet counted as a notch (less than WheelNotch either way).
    static constexpr int WheelNotch = 120;
    int m_wheelAccumulator = 0;
    QPointer<QMenu> m_popupMenu;
    // The canvas on the full image (kept attached: attaching sets up a painter and fonts
    // anew). The axis renderers draw on it; all drawing on the full image goes through it,
    // and it lets go of the image whenever the image is replaced.
    Canvas m_fullCanvas;
};

// The published chart control.
class TRChart : public TCustomRChart
{
    Q_OBJECT
    Q_PROPERTY(TFont *Font READ Font WRITE SetFont)
    Q_PROPERTY(QMenu *PopupMenu READ PopupMenu WRITE SetPopupMenu)
    Q_PROPERTY(int AllocSize READ AllocSize WRITE SetAllocSize)
    Q_PROPERTY(bool AutoRedraw READ AutoRedraw WRITE SetAutoRedraw)
    Q_PROPERTY(int MarginLeft READ MarginLeft WRITE SetMarginLeft)
    Q_PROPERTY(int MarginRight READ MarginRight WRITE SetMarginRight)
    Q_PROPERTY(int MarginTop READ MarginTop WRITE SetMarginTop)
    Q_PROPERTY(int MarginBottom READ MarginBottom WRITE SetMarginBottom)
    Q_PROPERTY(int LRim READ MarginLeft WRITE SetMarginLeft)
    Q_PROPERTY(int RRim READ MarginRight WRITE SetMarginRight)
    Q_PROPERTY(int TRim READ MarginTop WRITE SetMarginTop)
    Q_PROPERTY(int BRim READ MarginBottom WRITE SetMarginBottom)
    Q_PROPERTY(TBakGndImg *BackGroundImg READ BackGroundImg WRITE SetBackGroundImg)
    Q_PROPERTY(int ClassDefault READ ClassDefault WRITE SetClassDefault)
    Q_PROPERTY(RChart::GridStyleType GridStyle READ GridStyle WRITE SetGridStyle)
    Q_PROPERTY(double GridDx READ GridDx WRITE SetGridDx)
    Q_PROPERTY(double GridDy READ GridDy WRITE SetGridDy)
    Q_PROPERTY(bool Isometric READ Isometric WRITE SetIsometric)
    Q_PROPERTY(TColor DataColor READ DataColor WRITE SetDataColor)
    Q_PROPERTY(Gfx::TPenStyle PenStyle READ PenStyle WRITE SetPenStyle)
    Q_PROPERTY(TColor ChartFrameColor READ ChartFrameColor WRITE SetChartFrameColor)
    Q_PROPERTY(TColor FillColor READ FillColor WRITE SetFillColor)
    Q_PROPERTY(TColor ChartColor READ ChartColor WRITE SetChartColor)
    Q_PROPERTY(TColor WindColor READ WindColor WRITE SetWindColor)
    Q_PROPERTY(TColor GridColor READ GridColor WRITE SetGridColor)
    Q_PROPERTY(TJointLayers *JointLayers READ JointLayers WRITE SetJointLayers)
    Q_PROPERTY(int LineWidth READ LineWidth WRITE SetLineWidth)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int CaptionPosX READ CaptionPosX WRITE SetCaptionPosX)
    Q_PROPERTY(int CaptionPosY READ CaptionPosY WRITE SetCaptionPosY)
    Q_PROPERTY(Zel::TAlignment CaptionAlignment READ CaptionAlignment WRITE SetCaptionAlignment)
    Q_PROPERTY(RChart::TCaptionAnchorHoriz CaptionAnchorHoriz READ CaptionAnchorHoriz WRITE
                   SetCaptionAnchorHoriz)
    Q_PROPERTY(RChart::TCaptionAnchorVert CaptionAnchorVert READ CaptionAnchorVert WRITE
                   SetCaptionAnchorVert)
    Q_PROPERTY(TCrossHair *CrossHair1 READ CrossHair1 WRITE SetCrossHair1)
    Q_PROPERTY(TCrossHair *CrossHair2 READ CrossHair2 WRITE SetCrossHair2)
    Q_PROPERTY(TCrossHair *CrossHair3 READ CrossHair3 WRITE SetCrossHair3)
    Q_PROPERTY(TCrossHair *CrossHair4 READ CrossHair4 WRITE SetCrossHair4)
    Q_PROPERTY(Zel::TMouseActMode MouseAction READ MouseAction WRITE SetMouseAction)
    Q_PROPERTY(bool MouseCursorFixed READ MouseCursorFixed WRITE SetMouseCursorFixed)
    Q_PROPERTY(TScalePropsHoriz *Scale1X READ Scale1X WRITE SetScale1X)
    Q_PROPERTY(TScalePropsVert *Scale1Y READ Scale1Y WRITE SetScale1Y)
    Q_PROPERTY(TScalePropsHoriz *Scale2X READ Scale2X WRITE SetScale2X)
    Q_PROPERTY(TScalePropsVert *Scale2Y READ Scale2Y WRITE SetScale2Y)
    Q_PROPERTY(TScalePropsHoriz *Scale3X READ Scale3X WRITE SetScale3X)
    Q_PROPERTY(TScalePropsVert *Scale3Y READ Scale3Y WRITE SetScale3Y)
    Q_PROPERTY(TScalePropsHoriz *Scale4X READ Scale4X WRITE SetScale4X)
    Q_PROPERTY(TScalePropsVert *Scale4Y READ Scale4Y WRITE SetScale4Y)
    Q_PROPERTY(RChart::TrcLayout StandardLayout READ StandardLayout WRITE SetStandardLayout)
    Q_PROPERTY(int ShadowWidth READ ShadowWidth WRITE SetShadowWidth)
    Q_PROPERTY(RChart::TShadowStyle ShadowStyle READ ShadowStyle WRITE SetShadowStyle)
    Q_PROPERTY(TColor ShadowColor READ ShadowColor WRITE SetShadowColor)
    Q_PROPERTY(TColor ShadowBakColor READ ShadowBakColor WRITE SetShadowBakColor)
    Q_PROPERTY(TRChart *UseDataOf READ UseDataOf WRITE SetUseDataOf)
    Q_PROPERTY(Gfx::TFontStyles TextFontStyle READ TextFontStyle WRITE SetTextFontStyle)
    Q_PROPERTY(RChart::TTextBkStyle TextBkStyle READ TextBkStyle WRITE SetTextBkStyle)
    Q_PROPERTY(TColor TextBkColor READ TextBkColor WRITE SetTextBkColor)
    Q_PROPERTY(Zel::TAlignment TextAlignment READ TextAlignment WRITE SetTextAlignment)

public:
    explicit TRChart(QWidget *parent = nullptr);

    TRChart *UseDataOf() const;
    void SetUseDataOf(TRChart *chart) { useDataOf(chart); }

    TCrossHair *CrossHair1() const { return CrossHair(1); }
    void SetCrossHair1(const TCrossHair *value) { SetCrossHair(1, value); }
    TCrossHair *CrossHair2() const { return CrossHair(2); }
    void SetCrossHair2(const TCrossHair *value) { SetCrossHair(2, value); }
    TCrossHair *CrossHair3() const { return CrossHair(3); }
    void SetCrossHair3(const TCrossHair *value) { SetCrossHair(3, value); }
    TCrossHair *CrossHair4() const { return CrossHair(4); }
    void SetCrossHair4(const TCrossHair *value) { SetCrossHair(4, value); }

    // The published axis records of layers 1..4; assigning copies the given record's values
    // into the chart's own record.
    TScalePropsHoriz *Scale1X() const { return LayerScaleX(1); }
    void SetScale1X(const TScaleProps *value) { assignScale(LayerScaleX(1), value); }
    TScalePropsVert *Scale1Y() const { return LayerScaleY(1); }
    void SetScale1Y(const TScaleProps *value) { assignScale(LayerScaleY(1), value); }
    TScalePropsHoriz *Scale2X() const { return LayerScaleX(2); }
    void SetScale2X(const TScaleProps *value) { assignScale(LayerScaleX(2), value); }
    TScalePropsVert *Scale2Y() const { return LayerScaleY(2); }
    void SetScale2Y(const TScaleProps *value) { assignScale(LayerScaleY(2), value); }
    TScalePropsHoriz *Scale3X() const { return LayerScaleX(3); }
    void SetScale3X(const TScaleProps *value) { assignScale(LayerScaleX(3), value); }
    TScalePropsVert *Scale3Y() const { return LayerScaleY(3); }
    void SetScale3Y(const TScaleProps *value) { assignScale(LayerScaleY(3), value); }
    TScalePropsHoriz *Scale4X() const { return LayerScaleX(4); }
    void SetScale4X(const TScaleProps *value) { assignScale(LayerScaleX(4), value); }
    TScalePropsVert *Scale4Y() const { return LayerScaleY(4); }
    void SetScale4Y(const TScaleProps *value) { assignScale(LayerScaleY(4), value); }

protected:
    void showEvent(QShowEvent *event) override;

private:
    static void assignScale(TScaleProps *record, const TScaleProps *value)
    {
        if (value)
            record->Assign(*value);
    }
};

// --- Hot path: the two appends the display update runs 2001 times per refresh --------------

inline TChartItem &TCustomRChart::newItem(TItemKind kind)
{
    if (m_count >= m_capacity)
        growItems();
    // Filled in place: a zeroed local copied into the slot would be read back in wide words
    // right after its narrow fields were written, which stalls store forwarding on every add.
    TChartItem &slot = m_items[m_count];
    std::memset(static_cast<void *>(&slot), 0, sizeof slot);
    slot.Kind = kind;
    slot.Layer = m_activeLayer;
    slot.ClassNo = m_classDefault;
    slot.Color = m_dataColor;
    slot.PenStyle = static_cast<std::uint8_t>(m_penStyle);
    slot.LineWidth = m_lineWidth;
    return slot;
}

inline void TCustomRChart::commitItem()
{
    ++m_count;
    m_dataDirty = true;
    if (m_dataOwner != nullptr || m_dataUserCount > 0)
        synchroniseShares();
}

inline void TCustomRChart::AddMoveTo(double X, double Y)
{
    TChartItem &item = newItem(ikMoveTo);
    item.X = X;
    item.Y = Y;
    commitItem();
}

inline void TCustomRChart::AddLineTo(double X, double Y)
{
    TChartItem &item = newItem(ikLineTo);
    item.X = X;
    item.Y = Y;
    item.FillColor = m_fillColor;
    commitItem();
}

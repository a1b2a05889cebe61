// SPDX-License-Identifier: GPL-3.0-or-later
// The chart as a control: construction, margins and colours, the two off-screen images, the
// paint lock, loading, and the copy to the screen.
//
// The full image (the size of the control) holds the whole picture: window colour, the axes
// (drawn by the layers' renderers) and a copy of the data image ((PW + 1) x (PH + 1), the
// plot area) at (MarginLeft, MarginTop). The copy is made when the full image is read: the
// display update redraws only the data image, and paintEvent shows the margins from the full
// image and the plot from the data image, recomposing first whatever has gone stale.

#include "chart/Zel_rchart.h"
#include "platform/PixelRatio.h"

#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <algorithm>
#include <cstring>

// Creation: the members start with the store, margins and colours of a new chart, paint-locked
// until the window is created; then the crosshairs and text labels, the cursors, the layers,
// the size, the standard layout, and the renderers' set-up.
TCustomRChart::TCustomRChart(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Moves without a button report the position and end drags. The chart is no tab stop and
    // a click leaves the focus where it is, unless the program handles the chart's keys (see
    // mousePressEvent): holding Tab and the arrow keys, a focused chart would keep the
    // keyboard from every other control.
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    ensureAccessibleFactory();
    m_classVisible.fill(true);
    m_layerVisible.fill(true);
    m_mouseAffectsLayer[0] = true;
    createPictureObjects();
    registerCursors();
    m_aspectX = m_fullCanvas.aspectX();
    m_aspectY = m_fullCanvas.aspectY();

    // Creation sets many record values; the renderers are handed the result once at the end.
    ++m_scaleChangeBatch;
    createLayers();
    resize(280, 200);
    SetStandardLayout(RChart::rcl_X1Bottom_Y1Left);
    for (int L = 1; L <= LayerCount; ++L) {
        for (TScale *scale : {layerRendererX(L), layerRendererY(L)}) {
            scale->SetTransparent(true);
            scale->SetColorBackGnd(m_windColor);
            scale->SetFrameStyle(Zel::fsNone);
        }
    }
    resizeRenderers();
    handAllRecords();
    --m_scaleChangeBatch;
    m_scaleChangePending = false;
    resizeImages();
    UpdateMapping();
}

TCustomRChart::~TCustomRChart()
{
    releaseMouseCursor();
    leaveSharingGroup();
    // The renderers point at the full image's canvas, a member: they go first.
    for (int i = 0; i < LayerCount; ++i) {
        delete m_rendererX[i];
        delete m_rendererY[i];
        m_scaleX[i]->OnChange = nullptr;
        m_scaleY[i]->OnChange = nullptr;
    }
    m_jointLayers->OnChange = nullptr;
    m_jointLayers->OnJoin = nullptr;
}

// --- Geometry -----------------------------------------------------------------------------

int TCustomRChart::plotWidth() const
{
    return width() - m_marginLeft - m_marginRight - m_shadowWidth;
}

int TCustomRChart::plotHeight() const
{
    return height() - m_marginTop - m_marginBottom - m_shadowWidth;
}

int TCustomRChart::minimumChartWidth() const
{
    return m_marginLeft + m_marginRight + m_shadowWidth + 80;
}

int TCustomRChart::minimumChartHeight() const
{
    return m_marginTop + m_marginBottom + m_shadowWidth + 20;
}

QRect TCustomRChart::dataRect() const
{
    return {QPoint(m_marginLeft, m_marginTop), designSize(m_dataImage)};
}

// After a margin or the shadow width changed: the data image follows, the isometric
// correction is redone for the new plot, the renderers get their new margins and extents,
// and the mapping is recomputed.
void TCustomRChart::marginsChanged()
{
    resizeImages();
    if (m_isometric)
        correctIsometricLayers();
    settleScaleChanges();
    UpdateMapping();
    invalidatePicture();
}

void TCustomRChart::SetMarginLeft(int value)
{
    m_marginLeft = value;
    marginsChanged();
}

void TCustomRChart::SetMarginRight(int value)
{
    m_marginRight = value;
    marginsChanged();
}

void TCustomRChart::SetMarginTop(int value)
{
    m_marginTop = value;
    marginsChanged();
}

void TCustomRChart::SetMarginBottom(int value)
{
    m_marginBottom = value;
    marginsChanged();
}

void TCustomRChart::SetShadowWidth(int value)
{
    m_shadowWidth = std::clamp(value, 0, 32);
    marginsChanged();
}

// --- Resizing -----------------------------------------------------------------------------

void TCustomRChart::SetBounds(int left, int top, int width, int height)
{
    const QRect bounds(left, top, std::max(width, minimumChartWidth()),
                       std::max(height, minimumChartHeight()));
    const QSize before = size();
    {
        PaintLockGuard lock(*this);
        m_inBoundsChange = true;
        setGeometry(bounds);
        m_inBoundsChange = false;
        boundsChanged();
    }
    invalidatePicture();
    // A shown control's resize event has passed by above; a hidden one gets it when shown.
    if (OnResize && isVisible() && size() != before)
        OnResize(this);
}

// The control has its new size: images, isometric correction, renderers and mapping follow.
void TCustomRChart::boundsChanged()
{
    resizeImages();
    if (m_isometric)
        correctIsometricLayers();
    resizeRenderers();
    settleScaleChanges();
    UpdateMapping();
}

void TCustomRChart::SetChartColor(TColor color)
{
    m_chartColor = color;
    invalidatePicture();
}

void TCustomRChart::SetWindColor(TColor color)
{
    m_windColor = color;
    invalidatePicture();
}

// --- Images -------------------------------------------------------------------------------

// Keeps the full image at the control's size and the data image at (PW + 1) x (PH + 1), never
// negative. New images start in their background colours until the next composition.
void TCustomRChart::resizeImages()
{
    if (!fitsWidget(m_fullImage, this, size())) {
        // The canvas must let go of the image before it is replaced.
        m_fullCanvas.setDevice(nullptr);
        m_fullImage = makeWidgetImage(this, size(), QImage::Format_RGB32, toQColor(m_windColor));
        if (!m_fullImage.isNull())
            m_fullCanvas.setDevice(&m_fullImage);
        m_frameDirty = true;
    }
    const QSize dataSize(std::max(0, plotWidth() + 1), std::max(0, plotHeight() + 1));
    if (!fitsWidget(m_dataImage, this, dataSize)) {
        m_dataCanvas.setDevice(nullptr);
        m_dataImage = makeWidgetImage(this, dataSize, QImage::Format_RGB32, toQColor(m_chartColor));
        if (!m_dataImage.isNull())
            m_dataCanvas.setDevice(&m_dataImage);
        m_frameDirty = true;
    }
}

void TCustomRChart::settleFullImage()
{
    if (!m_fullLagsData)
        return;
    m_fullLagsData = false;
    // A bare area that ClearItems left pending is not taken along: the full image keeps the
    // data area as it was last drawn, as the screen does.
    if (m_dataImage.isNull() || m_fullImage.isNull())
        return;
    // A plain copy of whole rows: the data image lies inside the full image whenever both
    // have their sizes (the plot is the control less its margins), both are RGB32 and design
    // pixels are device pixels; otherwise the canvas maps the copy.
    const QRect target = dataRect().intersected(designRect(m_fullImage));
    if (target.size() != designSize(m_dataImage) || m_fullImage.format() != m_dataImage.format() ||
        m_fullImage.devicePixelRatio() != 1.0) {
        m_fullCanvas.SetCopyMode(cmSrcCopy);
        m_fullCanvas.Draw(m_marginLeft, m_marginTop, m_dataImage);
        return;
    }
    const std::size_t rowBytes = std::size_t(m_dataImage.width()) * 4;
    for (int y = 0; y < m_dataImage.height(); ++y)
        std::memcpy(m_fullImage.scanLine(m_marginTop + y) + std::size_t(m_marginLeft) * 4,
                    m_dataImage.constScanLine(y), rowBytes);
}

// --- Repainting ---------------------------------------------------------------------------

bool TCustomRChart::canPaint() const
{
    return isVisible() && !isLoading() && !m_paintLocked;
}

void TCustomRChart::fullRepaint()
{
    m_frameDirty = true;
    if (!canPaint())
        return;
    composePicture();
    update();
}

void TCustomRChart::repaintIfAutoRedraw()
{
    if (m_autoRedraw)
        fullRepaint();
}

// A visual setter's ending: the picture is stale; with AutoRedraw it is repainted at once
// (unless painting is locked), otherwise on the next platform repaint.
void TCustomRChart::invalidatePicture()
{
    m_frameDirty = true;
    if (!m_paintLocked)
        repaintIfAutoRedraw();
}

// The data area alone: redrawn into the data image, copied into the full image and shown.
void TCustomRChart::repaintDataArea()
{
    m_dataDirty = true;
    if (!m_autoRedraw || !canPaint())
        return;
    redrawDataArea();
    update(dataRect());
}

bool TCustomRChart::lockPainting()
{
    const bool former = m_paintLocked;
    m_paintLocked = true;
    return former;
}

void TCustomRChart::restorePaintLock(bool former)
{
    const bool releases = m_paintLocked && !former;
    m_paintLocked = former;
    if (releases)
        invalidatePicture();
}

void TCustomRChart::releaseCreationPaintLock()
{
    if (m_windowCreated)
        return;
    m_windowCreated = true;
    m_paintLocked = false;
}

// End of loading: the renderers get the loaded records, layers coupled to others follow their
// controllers, the mapping is computed and the chart paints.
void TCustomRChart::loaded()
{
    ZelComponent::loaded();
    resizeRenderers();
    runScaleChange(false);
    UpdateMapping();
    fullRepaint();
}

void TCustomRChart::paintEvent(QPaintEvent *event)
{
    // On a screen of another density the images are made anew and composed again.
    if (m_fullImage.devicePixelRatio() != widgetPixelRatio(this))
        resizeImages();
    if (canPaint()) {
        if (m_frameDirty) {
            composePicture();
        } else if (m_dataDirty) {
            redrawDataArea();
        }
    }
    QPainter painter(this);
    const QRect exposed = event->rect();
    const QRect plot = dataRect().intersected(designRect(m_fullImage));
    if (m_fullLagsData && !m_dataImage.isNull() && plot.size() == designSize(m_dataImage)) {
        for (const QRect &part : QRegion(exposed).subtracted(plot))
            drawDesignPart(painter, part, m_fullImage, part);
        const QRect shown = exposed.intersected(plot);
        if (!shown.isEmpty())
            drawDesignPart(painter, shown, m_dataImage, shown.translated(-plot.topLeft()));
    } else {
        settleFullImage();
        drawDesignPart(painter, exposed, m_fullImage, exposed);
    }
    drawRubberBand(painter, event->rect());
}

// Every change of the bounds (a layout, resize(), setGeometry()) ends here: a size below the
// minimum is raised to it, and the renderers and the mapping follow the new size.
void TCustomRChart::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_inBoundsChange)
        return;
    {
        PaintLockGuard lock(*this);
        if (width() < minimumChartWidth() || height() < minimumChartHeight()) {
            m_inBoundsChange = true;
            resize(std::max(width(), minimumChartWidth()),
                   std::max(height(), minimumChartHeight()));
            m_inBoundsChange = false;
        }
        boundsChanged();
    }
    invalidatePicture();
    if (OnResize)
        OnResize(this);
}

// --- TRChart ------------------------------------------------------------------------------

TRChart::TRChart(QWidget *parent) : TCustomRChart(parent) {}

TRChart *TRChart::UseDataOf() const
{
    return qobject_cast<TRChart *>(DataOwner());
}

// The first showing is where the control's window comes into existence: from then on the
// chart may paint.
void TRChart::showEvent(QShowEvent *event)
{
    releaseCreationPaintLock();
    TCustomRChart::showEvent(event);
}

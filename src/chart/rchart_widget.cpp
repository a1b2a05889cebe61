// The chart as a control: construction, margins and colours, the two off-screen images, the
// paint lock, loading, and the copy to the screen.
//
// The full image (the size of the control) holds the whole picture; the data image
// ((PW + 1) x (PH + 1)) holds the plot area and is copied into the full image at
// (MarginLeft, MarginTop). paintEvent only copies the full image to the screen, recomposing
// first whatever has gone stale since the last composition.

#include "chart/Zel_rchart.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

TCustomRChart::TCustomRChart(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_classVisible.fill(true);
    m_layerVisible.fill(true);
    resize(280, 200);
    resizeImages();
}

TCustomRChart::~TCustomRChart()
{
    leaveSharingGroup();
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

QRect TCustomRChart::dataRect() const
{
    return {m_marginLeft, m_marginTop, m_dataImage.width(), m_dataImage.height()};
}

void TCustomRChart::setMarginLeft(int value)
{
    m_marginLeft = value;
    resizeImages();
    invalidatePicture();
}

void TCustomRChart::setMarginRight(int value)
{
    m_marginRight = value;
    resizeImages();
    invalidatePicture();
}

void TCustomRChart::setMarginTop(int value)
{
    m_marginTop = value;
    resizeImages();
    invalidatePicture();
}

void TCustomRChart::setMarginBottom(int value)
{
    m_marginBottom = value;
    resizeImages();
    invalidatePicture();
}

void TCustomRChart::setShadowWidth(int value)
{
    m_shadowWidth = std::clamp(value, 0, 32);
    resizeImages();
    invalidatePicture();
}

void TCustomRChart::setChartColor(TColor color)
{
    m_chartColor = color;
    invalidatePicture();
}

void TCustomRChart::setWindColor(TColor color)
{
    m_windColor = color;
    invalidatePicture();
}

// --- Images -------------------------------------------------------------------------------

// Keeps the full image at the control's size and the data image at (PW + 1) x (PH + 1), never
// negative. New images start in their background colours until the next composition.
void TCustomRChart::resizeImages()
{
    if (m_fullImage.size() != size()) {
        m_fullImage = QImage(size(), QImage::Format_RGB32);
        m_fullImage.fill(toQColor(m_windColor));
        m_frameDirty = true;
    }
    const QSize dataSize(std::max(0, plotWidth() + 1), std::max(0, plotHeight() + 1));
    if (m_dataImage.size() != dataSize) {
        m_dataImage = dataSize.isEmpty() ? QImage() : QImage(dataSize, QImage::Format_RGB32);
        m_dataImage.fill(toQColor(m_chartColor));
        m_frameDirty = true;
    }
}

void TCustomRChart::DrawBackground(QImage &target, int DX, int DY)
{
    resizeImages();
    if (target.isNull())
        return;
    QPainter painter(&target);
    painter.fillRect(QRect(DX, DY, m_dataImage.width(), m_dataImage.height()),
                     toQColor(m_chartColor));
}

void TCustomRChart::redrawDataArea()
{
    DrawBackground(m_dataImage, 0, 0);
    m_dataDirty = false;
}

void TCustomRChart::copyDataIntoFull()
{
    if (m_dataImage.isNull() || m_fullImage.isNull())
        return;
    QPainter painter(&m_fullImage);
    painter.drawImage(m_marginLeft, m_marginTop, m_dataImage);
}

void TCustomRChart::composePicture()
{
    resizeImages();
    if (!m_fullImage.isNull())
        m_fullImage.fill(toQColor(m_windColor));
    redrawDataArea();
    copyDataIntoFull();
    m_frameDirty = false;
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

// A visual setter's ending: the picture is stale; with AutoRedraw it is repainted at once,
// otherwise on the next platform repaint.
void TCustomRChart::invalidatePicture()
{
    m_frameDirty = true;
    repaintIfAutoRedraw();
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
        fullRepaint();
}

void TCustomRChart::releaseCreationPaintLock()
{
    if (m_windowCreated)
        return;
    m_windowCreated = true;
    m_paintLocked = false;
}

void TCustomRChart::loaded()
{
    ZelComponent::loaded();
    fullRepaint();
}

void TCustomRChart::paintEvent(QPaintEvent *event)
{
    if (canPaint()) {
        if (m_frameDirty) {
            composePicture();
        } else if (m_dataDirty) {
            redrawDataArea();
            copyDataIntoFull();
        }
    }
    QPainter painter(this);
    painter.drawImage(event->rect(), m_fullImage, event->rect());
}

void TCustomRChart::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    resizeImages();
    m_frameDirty = true;
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

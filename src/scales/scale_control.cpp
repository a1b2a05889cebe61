// SPDX-License-Identifier: GPL-3.0-or-later
// The scale as a control: construction, published properties and their setters, the repaint
// policy, paint suspension, the loading bracket, copying, and the widget's events.

#include "scales/Zel_Scale.h"

#include "platform/PixelRatio.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <utility>

TScale::TScale(QWidget *parent)
    : QWidget(parent), m_parentSettings(this, [this] { Repaint(); }),
      m_dateFormat(new TDTLabel(this)), m_font(m_parentSettings.font())
{
    m_dateFormat->OnChange = [this](QObject *) { Repaint(); };
    // An opaque scale covers every pixel of its picture; a transparent one lets the parent's
    // background show.
    setAttribute(Qt::WA_OpaquePaintEvent, !m_settings.transparent);
    // OnMouseMove reports every move over the control, not only while a button is held.
    setMouseTracking(true);
    setFrameColorsFromScheme();
    resize(400, 400);
    m_boundsSize = size();
    UpdateMapping();
    m_parentSettings.followParentFont();
}

TScale::~TScale() = default;

// --- mapping ----------------------------------------------------------------------------------

TScaleGeometry TScale::geometry() const
{
    return {width(),
            height(),
            m_settings.marginLeft,
            m_settings.marginRight,
            m_settings.marginTop,
            m_settings.marginBottom,
            m_settings.scaleType};
}

void TScale::UpdateMapping()
{
    if (isLoading())
        return;
    ComputeScaleMapping(geometry(), m_settings.rangeLow, m_settings.rangeHigh,
                        m_settings.logarithmic, m_mapping);
}

TAxisMap TScale::axisMap() const
{
    return ScaleAxisMap(m_mapping, geometry(), m_settings.rangeLow, m_settings.rangeHigh,
                        m_settings.logarithmic);
}

int TScale::ValueToPixel(double value) const
{
    return axisMap().pixel(value);
}

void TScale::updateMappingAndRepaint()
{
    UpdateMapping();
    Repaint();
}

// --- setters ----------------------------------------------------------------------------------

void TScale::SetFrameStyle(TFrameStyle value)
{
    if (assignIfChanged(m_settings.frameStyle, value))
        Repaint();
}

void TScale::SetColorScale(TColor value)
{
    if (assignIfChanged(m_settings.colorScale, value))
        Repaint();
}

void TScale::SetColorBackGnd(TColor value)
{
    if (assignIfChanged(m_settings.colorBackGnd, value))
        Repaint();
}

void TScale::setFrameColorsFromScheme()
{
    const TFrameColors colors = frameColorsOf(m_settings.colorScheme);
    m_frameColors.Shadow = colors.Shadow;
    m_frameColors.Highlight = colors.Highlight;
}

void TScale::SetColorScheme(TColorScheme value)
{
    const bool changed = assignIfChanged(m_settings.colorScheme, value);
    setFrameColorsFromScheme();
    if (changed)
        Repaint();
}

void TScale::SetLogarithmic(bool value)
{
    // Loading applies the stored values in any order, so the check waits until they are all
    // in; a scale made in code is checked at once.
    if (value && !isLoading()) {
        if (!(m_settings.rangeLow >= kLogAxisFloor && m_settings.rangeHigh >= kLogAxisFloor) ||
            m_settings.labelType == ftDateTime)
            value = m_settings.logarithmic;
    }
    m_settings.logarithmic = value;
    updateMappingAndRepaint();
}

void TScale::SetRangeLow(double value)
{
    if (!std::isfinite(value))
        return;
    if (value == m_settings.rangeHigh)
        m_settings.rangeHigh = value + 1;
    m_settings.rangeLow = value;
    updateMappingAndRepaint();
}

void TScale::SetRangeHigh(double value)
{
    if (!std::isfinite(value))
        return;
    if (value == m_settings.rangeLow)
        m_settings.rangeLow = value + 1;
    m_settings.rangeHigh = value;
    updateMappingAndRepaint();
}

void TScale::SetShortTicks(bool value)
{
    if (assignIfChanged(m_settings.shortTicks, value))
        Repaint();
}

void TScale::SetDecPlaces(int value)
{
    m_settings.decPlaces = std::clamp(value, -3, 12);
    updateMappingAndRepaint();
}

void TScale::SetUserTickText(const QString &value)
{
    m_settings.userTickText = value;
    Repaint();
}

void TScale::SetMinTicks(int value)
{
    m_settings.minTicks = value == 0 ? 0 : std::clamp(value, 2, 10);
    Repaint();
}

void TScale::SetScaleType(TScaleType value)
{
    if (assignIfChanged(m_settings.scaleType, value))
        updateMappingAndRepaint();
}

void TScale::SetLabelType(TFigType value)
{
    m_settings.labelType = value;
    if (value == ftDateTime && m_settings.logarithmic) {
        // The mapping must follow, or the linear axis would be placed by logarithms.
        m_settings.logarithmic = false;
        UpdateMapping();
    } else if (value == ftTime) {
        m_settings.decPlaces = 4;
    }
    Repaint();
}

void TScale::SetShowBaseLine(bool value)
{
    m_settings.showBaseLine = value;
    Repaint();
}

void TScale::SetTransparent(bool value)
{
    m_settings.transparent = value;
    setAttribute(Qt::WA_OpaquePaintEvent, !value);
    Repaint();
}

void TScale::SetMarginTop(int value)
{
    m_settings.marginTop = std::max(value, 0);
    updateMappingAndRepaint();
}

void TScale::SetMarginBottom(int value)
{
    m_settings.marginBottom = std::max(value, 0);
    updateMappingAndRepaint();
}

void TScale::SetMarginRight(int value)
{
    m_settings.marginRight = std::max(value, 0);
    updateMappingAndRepaint();
}

void TScale::SetMarginLeft(int value)
{
    m_settings.marginLeft = std::max(value, 0);
    updateMappingAndRepaint();
}

void TScale::SetCaptionPosX(int value)
{
    m_settings.captionPosX = value;
    Repaint();
}

void TScale::SetCaptionPosY(int value)
{
    m_settings.captionPosY = value;
    Repaint();
}

void TScale::SetCaptionAlignment(TAlignment value)
{
    m_settings.captionAlignment = value;
    Repaint();
}

void TScale::SetCaptionAnchor(TScaleUnitAnchor value)
{
    m_settings.captionAnchor = value;
    Repaint();
}

void TScale::SetCaption(const QString &value)
{
    m_settings.caption = value;
    Repaint();
}

void TScale::SetScaleInscript(const QString &value)
{
    m_settings.scaleInscript = value;
    Repaint();
}

void TScale::SetDateFormat(const TDTLabel *value)
{
    if (value)
        m_dateFormat->Assign(*value);
}

void TScale::SetFont(const TFont *value)
{
    m_parentSettings.setFont(value);
}

// --- painting policy --------------------------------------------------------------------------

void TScale::Repaint()
{
    if (!m_settings.transparent || m_embedded) {
        Paint();
        return;
    }
    // A transparent scale on a form lets its parent redraw the background under it first.
    m_pictureStale = true;
    update();
}

void TScale::SetSuspendPaint(bool value)
{
    m_suspendPaint = value;
    if (!value)
        Repaint();
}

void TScale::PaintSuspended()
{
    const bool former = m_suspendPaint;
    m_suspendPaint = false;
    struct Restore
    {
        TScale *scale;
        bool value;
        ~Restore() { scale->m_suspendPaint = value; }
    } restore{this, former};
    Repaint();
}

void TScale::SetEmbedded(bool value)
{
    if (assignIfChanged(m_embedded, value))
        Repaint();
}

void TScale::SetTargetCanvas(Canvas *canvas, int offsetX, int offsetY)
{
    m_target = canvas;
    m_targetX = offsetX;
    m_targetY = offsetY;
}

void TScale::setVisible(bool visible)
{
    m_visible = visible;
    // An embedded renderer draws only onto its target; it never becomes a window.
    if (m_embedded && visible)
        return;
    QWidget::setVisible(visible);
}

// --- component life ---------------------------------------------------------------------------

void TScale::boundsChanged()
{
    m_boundsSize = size();
    m_pictureStale = true;
    UpdateMapping();
}

void TScale::SetBounds(int left, int top, int width, int height)
{
    setGeometry(left, top, std::max(width, 0), std::max(height, 0));
    if (size() != m_boundsSize) {
        boundsChanged();
        Repaint();
    }
}

void TScale::loaded()
{
    ZelComponent::loaded();
    UpdateMapping();
    m_loadingDefaults = false;
    Repaint();
}

void TScale::CreateWnd()
{
    m_suspendPaint = false;
    m_pictureStale = true;
}

void TScale::Assign(const QObject *source)
{
    const auto *other = qobject_cast<const TScale *>(source);
    if (!other) {
        const QString name =
            source ? QString::fromLatin1(source->metaObject()->className()) : QStringLiteral("nil");
        throw EZelError("Cannot assign a " + name.toStdString() + " to a TScale");
    }
    m_settings = other->m_settings;
    m_frameColors = other->m_frameColors;
    OnScaleTickDrawn = other->OnScaleTickDrawn;
    m_mapping = other->m_mapping;
    m_ticks = other->m_ticks;
    setAttribute(Qt::WA_OpaquePaintEvent, !m_settings.transparent);
    {
        // One repaint at the end, not one from the date format's notification halfway.
        auto notify = std::move(m_dateFormat->OnChange);
        m_dateFormat->setData(other->m_dateFormat->data());
        m_dateFormat->OnChange = std::move(notify);
    }
    m_target = other->m_target;
    m_targetX = other->m_targetX;
    m_targetY = other->m_targetY;
    m_suspendPaint = other->m_suspendPaint;
    Repaint();
}

void TScale::AssignTo(QObject *dest) const
{
    if (auto *scale = qobject_cast<TScale *>(dest)) {
        scale->Assign(this);
        return;
    }
    const QString name =
        dest ? QString::fromLatin1(dest->metaObject()->className()) : QStringLiteral("nil");
    throw EZelError("Cannot assign a TScale to a " + name.toStdString());
}

// --- widget events ----------------------------------------------------------------------------

void TScale::showEvent(QShowEvent *event)
{
    if (!m_windowCreated) {
        m_windowCreated = true;
        CreateWnd();
    }
    QWidget::showEvent(event);
}

bool TScale::event(QEvent *event)
{
    if (m_parentSettings.handleEvent(event))
        return true;
    return QWidget::event(event);
}

void TScale::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        m_parentSettings.followParentFont();
}

void TScale::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (size() != m_boundsSize) {
        boundsChanged();
        Repaint();
    }
}

void TScale::paintEvent(QPaintEvent *event)
{
    if (!m_target && (m_pictureStale || !fitsWidget(m_picture, this, size())))
        Paint();
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    drawDesignPart(painter, event->rect(), m_picture, event->rect());
}

void TScale::mousePressEvent(QMouseEvent *event)
{
    raiseMouseDown(this, event);
}

void TScale::mouseReleaseEvent(QMouseEvent *event)
{
    raiseMouseUp(this, event);
}

void TScale::mouseMoveEvent(QMouseEvent *event)
{
    raiseMouseMove(this, event);
}

void TScale::mouseDoubleClickEvent(QMouseEvent *event)
{
    raiseDblClick(this, event);
    QWidget::mouseDoubleClickEvent(event);
}

void TScale::contextMenuEvent(QContextMenuEvent *event)
{
    bool handled = false;
    if (OnContextPopup)
        OnContextPopup(this, event->pos(), handled);
    if (!handled && m_popupMenu) {
        m_popupMenu->popup(event->globalPos());
        handled = true;
    }
    if (handled)
        event->accept();
    else
        event->ignore();
}

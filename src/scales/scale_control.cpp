// The scale as a control: construction, published properties and their setters, the repaint
// policy, paint suspension, the loading bracket, copying, and the widget's events.

#include "scales/Zel_Scale.h"

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
    setAttribute(Qt::WA_OpaquePaintEvent, !m_transparent);
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
    return {width(),     height(),       m_marginLeft, m_marginRight,
            m_marginTop, m_marginBottom, m_scaleType};
}

void TScale::UpdateMapping()
{
    if (isLoading())
        return;
    ComputeScaleMapping(geometry(), m_rangeLow, m_rangeHigh, m_logarithmic, m_mapping);
}

TAxisMap TScale::axisMap() const
{
    return ScaleAxisMap(m_mapping, geometry(), m_rangeLow, m_rangeHigh, m_logarithmic);
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

void TScale::repaintIfChanged(bool changed)
{
    if (changed)
        Repaint();
}

// --- setters ----------------------------------------------------------------------------------

void TScale::SetFrameStyle(TFrameStyle value)
{
    const bool changed = value != m_frameStyle;
    m_frameStyle = value;
    repaintIfChanged(changed);
}

void TScale::SetColorScale(TColor value)
{
    const bool changed = value != m_colorScale;
    m_colorScale = value;
    repaintIfChanged(changed);
}

void TScale::SetColorBackGnd(TColor value)
{
    const bool changed = value != m_colorBackGnd;
    m_colorBackGnd = value;
    repaintIfChanged(changed);
}

void TScale::setFrameColorsFromScheme()
{
    const TFrameColors colors = frameColorsOf(m_colorScheme);
    m_shadowColor = colors.Shadow;
    m_highlightColor = colors.Highlight;
}

void TScale::SetColorScheme(TColorScheme value)
{
    const bool changed = value != m_colorScheme;
    m_colorScheme = value;
    setFrameColorsFromScheme();
    repaintIfChanged(changed);
}

void TScale::SetLogarithmic(bool value)
{
    // Loading applies the stored values in any order, so the check waits until they are all
    // in; a scale made in code is checked at once.
    if (value && !isLoading()) {
        if (!(m_rangeLow >= kLogAxisFloor && m_rangeHigh >= kLogAxisFloor) ||
            m_labelType == ftDateTime)
            value = m_logarithmic;
    }
    m_logarithmic = value;
    updateMappingAndRepaint();
}

void TScale::SetRangeLow(double value)
{
    if (!std::isfinite(value))
        return;
    if (value == m_rangeHigh)
        m_rangeHigh = value + 1;
    m_rangeLow = value;
    updateMappingAndRepaint();
}

void TScale::SetRangeHigh(double value)
{
    if (!std::isfinite(value))
        return;
    if (value == m_rangeLow)
        m_rangeLow = value + 1;
    m_rangeHigh = value;
    updateMappingAndRepaint();
}

void TScale::SetShortTicks(bool value)
{
    const bool changed = value != m_shortTicks;
    m_shortTicks = value;
    repaintIfChanged(changed);
}

void TScale::SetDecPlaces(int value)
{
    m_decPlaces = std::clamp(value, -3, 12);
    updateMappingAndRepaint();
}

void TScale::SetUserTickText(const QString &value)
{
    m_userTickText = value;
    Repaint();
}

void TScale::SetMinTicks(int value)
{
    m_minTicks = value == 0 ? 0 : std::clamp(value, 2, 10);
    Repaint();
}

void TScale::SetScaleType(TScaleType value)
{
    if (value == m_scaleType)
        return;
    m_scaleType = value;
    updateMappingAndRepaint();
}

void TScale::SetLabelType(TFigType value)
{
    m_labelType = value;
    if (value == ftDateTime && m_logarithmic) {
        // The mapping must follow, or the linear axis would be placed by logarithms.
        m_logarithmic = false;
        UpdateMapping();
    } else if (value == ftTime) {
        m_decPlaces = 4;
    }
    Repaint();
}

void TScale::SetShowBaseLine(bool value)
{
    m_showBaseLine = value;
    Repaint();
}

void TScale::SetTransparent(bool value)
{
    m_transparent = value;
    setAttribute(Qt::WA_OpaquePaintEvent, !value);
    Repaint();
}

void TScale::SetMarginTop(int value)
{
    m_marginTop = std::max(value, 0);
    updateMappingAndRepaint();
}

void TScale::SetMarginBottom(int value)
{
    m_marginBottom = std::max(value, 0);
    updateMappingAndRepaint();
}

void TScale::SetMarginRight(int value)
{
    m_marginRight = std::max(value, 0);
    updateMappingAndRepaint();
}

void TScale::SetMarginLeft(int value)
{
    m_marginLeft = std::max(value, 0);
    updateMappingAndRepaint();
}

void TScale::SetCaptionPosX(int value)
{
    m_captionPosX = value;
    Repaint();
}

void TScale::SetCaptionPosY(int value)
{
    m_captionPosY = value;
    Repaint();
}

void TScale::SetCaptionAlignment(TAlignment value)
{
    m_captionAlignment = value;
    Repaint();
}

void TScale::SetCaptionAnchor(TScaleUnitAnchor value)
{
    m_captionAnchor = value;
    Repaint();
}

void TScale::SetCaption(const QString &value)
{
    m_caption = value;
    Repaint();
}

void TScale::SetScaleInscript(const QString &value)
{
    m_scaleInscript = value;
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
    if (!m_transparent || m_embedded) {
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
    if (value == m_embedded)
        return;
    m_embedded = value;
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
    m_frameStyle = other->m_frameStyle;
    m_frameColor = other->m_frameColor;
    m_shadowColor = other->m_shadowColor;
    m_highlightColor = other->m_highlightColor;
    m_colorScale = other->m_colorScale;
    m_colorBackGnd = other->m_colorBackGnd;
    m_colorScheme = other->m_colorScheme;
    OnScaleTickDrawn = other->OnScaleTickDrawn;
    m_logarithmic = other->m_logarithmic;
    m_mapping = other->m_mapping;
    m_rangeLow = other->m_rangeLow;
    m_rangeHigh = other->m_rangeHigh;
    m_shortTicks = other->m_shortTicks;
    m_ticks = other->m_ticks;
    m_minTicks = other->m_minTicks;
    m_decPlaces = other->m_decPlaces;
    m_showBaseLine = other->m_showBaseLine;
    m_transparent = other->m_transparent;
    setAttribute(Qt::WA_OpaquePaintEvent, !m_transparent);
    m_labelType = other->m_labelType;
    m_marginTop = other->m_marginTop;
    m_marginBottom = other->m_marginBottom;
    m_marginLeft = other->m_marginLeft;
    m_marginRight = other->m_marginRight;
    {
        // One repaint at the end, not one from the date format's notification halfway.
        auto notify = std::move(m_dateFormat->OnChange);
        m_dateFormat->setData(other->m_dateFormat->data());
        m_dateFormat->OnChange = std::move(notify);
    }
    m_captionPosX = other->m_captionPosX;
    m_captionPosY = other->m_captionPosY;
    m_captionAlignment = other->m_captionAlignment;
    m_captionAnchor = other->m_captionAnchor;
    m_userTickText = other->m_userTickText;
    m_scaleInscript = other->m_scaleInscript;
    m_caption = other->m_caption;
    m_target = other->m_target;
    m_targetX = other->m_targetX;
    m_targetY = other->m_targetY;
    m_scaleType = other->m_scaleType;
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
    if (!m_target && (m_pictureStale || m_picture.size() != size()))
        Paint();
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(event->rect(), m_picture, event->rect());
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

// SPDX-License-Identifier: GPL-3.0-or-later
// The read-out as a control: properties and their setters, the off-screen picture, the
// transfer to the parent's surface, copying and the mouse.

#include "widgets/Zel_NumLab.h"

#include "platform/PixelRatio.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

namespace {

// The texts are centred vertically on the height of this sample in the control's font.
const QString kSampleText = QStringLiteral(u"(8g]}\u00DC\u00C4\u00A7");

} // namespace

TNumLab::TNumLab(QWidget *parent)
    : QWidget(parent), m_parentSettings(this, [this] { Repaint(); }),
      m_font(m_parentSettings.font())
{
    m_frameColors = frameColorsOf(m_colorScheme);
    ensureAccessibleFactory();
    // Mouse moves arrive without a button pressed, so the mouse area is always current.
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent, !m_transparent);
    resize(DefaultWidth, DefaultHeight);
    m_parentSettings.followParentFont();
}

TNumLab::~TNumLab() = default;

// --- setters ----------------------------------------------------------------------------------

template <class T> void TNumLab::setAndRepaint(T &field, const T &value)
{
    if (assignIfChanged(field, value))
        Repaint();
}

void TNumLab::SetFont(const TFont *value)
{
    m_parentSettings.setFont(value);
}

void TNumLab::SetParentFont(bool value)
{
    m_parentSettings.setParentFont(value);
}

void TNumLab::SetParentShowHint(bool value)
{
    m_parentSettings.setParentShowHint(value);
}

bool TNumLab::ShowHint() const
{
    return m_parentSettings.showHint();
}

void TNumLab::SetShowHint(bool value)
{
    m_parentSettings.setShowHint(value);
}

void TNumLab::setVisible(bool visible)
{
    m_visible = visible;
    QWidget::setVisible(visible);
}

void TNumLab::SetValue(double value)
{
    // NaN never equals the stored value, so assigning it always repaints.
    if (assignIfChanged(m_value, value))
        Repaint();
}

void TNumLab::SetDisplayType(TDisplay value)
{
    setAndRepaint(m_format.displayType, value);
}

void TNumLab::SetPrecision(int value)
{
    if (value < 0)
        return;
    setAndRepaint(m_format.precision, std::min(value, 15));
}

void TNumLab::SetComma(bool value)
{
    setAndRepaint(m_format.comma, value);
}

void TNumLab::SetForcePlusSign(bool value)
{
    setAndRepaint(m_format.forcePlusSign, value);
}

void TNumLab::SetDTFormat(const QString &value)
{
    setAndRepaint(m_format.dtFormat, value);
}

void TNumLab::SetStateText(const QString &value)
{
    setAndRepaint(m_format.stateText, value);
}

void TNumLab::SetOverflowIndicator(const QString &value)
{
    setAndRepaint(m_format.overflowIndicator, value);
}

void TNumLab::SetEmpty(bool value)
{
    setAndRepaint(m_empty, value);
}

void TNumLab::SetLeftText(const QString &value)
{
    setAndRepaint(m_leftText, value);
}

void TNumLab::SetRightText(const QString &value)
{
    setAndRepaint(m_rightText, value);
}

void TNumLab::SetLeftSpace(int value)
{
    if (value < 0)
        return;
    setAndRepaint(m_leftSpace, std::min(value, width()));
}

void TNumLab::SetLabelWidth(int value)
{
    setAndRepaint(m_labelWidth, std::max(value, 0));
}

void TNumLab::SetAlignment(TAlignment value)
{
    setAndRepaint(m_alignment, value);
}

void TNumLab::SetLeftTextAlignment(TAlignment value)
{
    setAndRepaint(m_leftTextAlignment, value);
}

void TNumLab::SetRightTextAlignment(TAlignment value)
{
    setAndRepaint(m_rightTextAlignment, value);
}

void TNumLab::SetFrameStyle(TFrameStyle value)
{
    setAndRepaint(m_frameStyle, value);
}

void TNumLab::SetColorScheme(TColorScheme value)
{
    if (value == m_colorScheme)
        return;
    m_colorScheme = value;
    const TFrameColors scheme = frameColorsOf(value);
    m_frameColors.Shadow = scheme.Shadow;
    m_frameColors.Highlight = scheme.Highlight;
    Repaint();
}

void TNumLab::SetColorLabBakG(TColor value)
{
    setAndRepaint(m_colorLabBakG, value);
}

void TNumLab::SetColorLabText(TColor value)
{
    setAndRepaint(m_colorLabText, value);
}

void TNumLab::SetColorOutBakG(TColor value)
{
    setAndRepaint(m_colorOutBakG, value);
}

void TNumLab::SetColorOutText(TColor value)
{
    setAndRepaint(m_colorOutText, value);
}

void TNumLab::SetTransparent(bool value)
{
    if (value == m_transparent)
        return;
    m_transparent = value;
    applyTransparency();
    Repaint();
}

void TNumLab::applyTransparency()
{
    // An opaque read-out covers every pixel; under a transparent one the parent's background
    // must be drawn first.
    setAttribute(Qt::WA_OpaquePaintEvent, !m_transparent);
    if (m_transparent && parentWidget())
        parentWidget()->update(geometry());
}

bool TNumLab::Enabled() const
{
    return !testAttribute(Qt::WA_ForceDisabled);
}

void TNumLab::SetEnabled(bool value)
{
    m_settingEnabled = true;
    setEnabled(value);
    m_settingEnabled = false;
    Repaint();
}

// --- painting ---------------------------------------------------------------------------------

void TNumLab::Repaint()
{
    if (!m_visible || isLoading()) {
        m_stale = true;
        return;
    }
    compose();
    update();
}

void TNumLab::drawSideText(Canvas &canvas, const QString &text, int x, int y, int whiteDx)
{
    if (text.isEmpty())
        return;
    if (Enabled()) {
        canvas.Font().SetColor(m_colorOutText);
        canvas.TextOut(x, y, text);
        return;
    }
    canvas.Font().SetColor(clWhite);
    canvas.TextOut(x + whiteDx, y + 1, text);
    canvas.Font().SetColor(clGray);
    canvas.TextOut(x, y, text);
}

QString TNumLab::numberText(const Canvas &canvas)
{
    QString text = FormatNumLabValue(m_format, m_value);
    if (OnBeforeDisplay)
        OnBeforeDisplay(this, text);
    if (m_format.displayType != dtState && canvas.TextWidth(text) > m_labelWidth - 6)
        text = m_format.overflowIndicator;
    return text;
}

void TNumLab::compose()
{
    const int W = width();
    const int H = height();
    m_stale = false;
    ++m_paintCount;
    m_displayedText.clear();
    m_picture.setDevicePixelRatio(widgetPixelRatio(this));
    if (m_picture.Width() != W || m_picture.Height() != H)
        m_picture.SetSize(W, H);
    if (W <= 0 || H <= 0)
        return;

    Canvas &c = m_picture.canvas();
    c.resetClipRect();
    c.SetCopyMode(cmSrcCopy);
    c.setTextAlign(TextAlignH::Left, TextAlignV::Top);
    c.Font().setData(m_font->data());
    c.Pen() = TPen{};
    c.Brush() = TBrush{m_transparent ? clWhite : m_colorOutBakG, Gfx::bsSolid};
    c.FillRect(0, 0, W, H);
    c.setBkMode(BkMode::Transparent);

    const int y = (H - c.TextHeight(kSampleText)) / 2;
    const int ls = m_leftSpace;
    const int lw = m_labelWidth;

    int w = c.TextWidth(m_leftText);
    switch (m_leftTextAlignment) {
    case Zel::taLeftJustify:
        drawSideText(c, m_leftText, 7, y, 1);
        break;
    case Zel::taRightJustify:
        drawSideText(c, m_leftText, ls - w - 5, y, 1);
        break;
    case Zel::taCenter:
        drawSideText(c, m_leftText, (ls - w) / 2, y, 1);
        break;
    }

    w = c.TextWidth(m_rightText);
    switch (m_rightTextAlignment) {
    case Zel::taLeftJustify:
        drawSideText(c, m_rightText, ls + lw + 7, y, 1);
        break;
    case Zel::taRightJustify:
        // The embossed copy of right-aligned text lies to the left, inside the control.
        drawSideText(c, m_rightText, W - w - 6, y, -1);
        break;
    case Zel::taCenter:
        drawSideText(c, m_rightText, (W - (ls + lw + w)) / 2 + ls + lw + 1, y, 1);
        break;
    }

    // The number field: its background with an outline, and for the 3D styles one line pair
    // along the upper-left and one along the lower-right edge.
    const TColor dark = m_frameColors.Frame;
    const TColor mid = m_frameColors.Shadow;
    const TColor light = m_frameColors.Highlight;
    c.Brush() = TBrush{m_colorLabBakG, Gfx::bsSolid};
    c.Pen() = TPen{m_frameStyle == Zel::fsNone       ? m_colorLabBakG
                   : m_frameStyle == Zel::fsEmbossed ? light
                                                     : mid};
    if (m_frameStyle == Zel::fsNone || m_frameStyle == Zel::fsSimple) {
        c.Rectangle(ls, 0, ls + lw + 2, H);
    } else {
        c.Rectangle(ls, 0, ls + lw + 2, H - 1);
        TColor upperLeft = dark;
        TColor lowerRight = light;
        switch (m_frameStyle) {
        case Zel::fsRaised:
            upperLeft = light;
            lowerRight = dark;
            break;
        case Zel::fsEmbossed:
            upperLeft = lowerRight = mid;
            break;
        case Zel::fsEngraved:
            upperLeft = lowerRight = light;
            break;
        default:
            break;
        }
        c.Pen().Color = upperLeft;
        c.MoveTo(ls + 1, H - 3);
        c.LineTo(ls + 1, 1);
        c.LineTo(ls + lw + 1, 1);
        c.Pen().Color = lowerRight;
        c.MoveTo(ls + 1, H - 1);
        c.LineTo(ls + lw + 2, H - 1);
        c.LineTo(ls + lw + 2, 0);
    }

    if (m_empty)
        return;
    const QString text = numberText(c);
    m_displayedText = text;
    w = c.TextWidth(text);
    int x = ls + (lw - w) / 2 + 2;
    if (m_alignment == Zel::taLeftJustify)
        x = ls + 4;
    else if (m_alignment == Zel::taRightJustify)
        x = ls + lw - w - 2;
    // A field too narrow or too low for its clip rectangle shows no text at all.
    const QRect clip = rectLTRB(ls + 3, 2, ls + lw - 1, H - 3);
    if (clip.isEmpty())
        return;
    c.Font().SetColor(Enabled() ? m_colorLabText : clGray);
    c.TextRect(clip, x, y, text);
}

void TNumLab::PaintTo(Canvas &surface, int x, int y)
{
    if (m_stale || m_picture.Width() != width() || m_picture.Height() != height())
        compose();
    const TCopyMode savedMode = surface.CopyMode();
    const TBrush savedBrush = surface.Brush();
    if (m_transparent) {
        surface.Brush() =
            TBrush{colorToRgb(m_colorLabText) == clBlack ? m_colorLabBakG : clWhite, Gfx::bsSolid};
        surface.FillRect(
            rectLTRB(x + m_leftSpace + 2, y + 2, x + m_leftSpace + m_labelWidth, y + height() - 2));
        surface.SetCopyMode(cmSrcAnd);
    } else {
        surface.SetCopyMode(cmSrcCopy);
    }
    surface.Draw(x, y, m_picture);
    surface.SetCopyMode(savedMode);
    surface.Brush() = savedBrush;
}

void TNumLab::paintEvent(QPaintEvent *)
{
    if (m_stale || m_picture.Width() != width() || m_picture.Height() != height() ||
        m_picture.devicePixelRatio() != widgetPixelRatio(this))
        compose();
    if (m_picture.image().isNull())
        return;
    QPainter painter(this);
    if (!m_transparent) {
        painter.drawImage(0, 0, m_picture.image());
        return;
    }
    // The parent's background is already here; the field gets its colour (as on a canvas, an
    // inverted rectangle fills nothing), and the picture's white parts leave the rest as it is.
    const TColor field = colorToRgb(m_colorLabText) == clBlack ? m_colorLabBakG : clWhite;
    const QRect fieldRect = rectLTRB(m_leftSpace + 2, 2, m_leftSpace + m_labelWidth, height() - 2);
    if (!fieldRect.isEmpty())
        painter.fillRect(fieldRect, toQColor(field));
    painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    painter.drawImage(0, 0, m_picture.image());
}

void TNumLab::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Repaint();
}

void TNumLab::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        m_parentSettings.followParentFont();
    else if (event->type() == QEvent::EnabledChange && !m_settingEnabled)
        Repaint();
}

bool TNumLab::event(QEvent *event)
{
    if (m_parentSettings.handleEvent(event))
        return true;
    return QWidget::event(event);
}

// --- component life ---------------------------------------------------------------------------

void TNumLab::loaded()
{
    ZelComponent::loaded();
    Repaint();
}

void TNumLab::Assign(const QObject *source)
{
    const auto *other = qobject_cast<const TNumLab *>(source);
    if (!other)
        throw EZelError(std::string("Cannot assign a ") +
                        (source ? source->metaObject()->className() : "nil") + " to a TNumLab");
    m_leftSpace = other->m_leftSpace;
    m_empty = other->m_empty;
    m_labelWidth = other->m_labelWidth;
    m_format.precision = other->m_format.precision;
    m_leftText = other->m_leftText;
    m_rightText = other->m_rightText;
    m_frameStyle = other->m_frameStyle;
    m_alignment = other->m_alignment;
    m_rightTextAlignment = other->m_rightTextAlignment;
    m_leftTextAlignment = other->m_leftTextAlignment;
    m_format.overflowIndicator = other->m_format.overflowIndicator;
    m_value = other->m_value;
    m_format.stateText = other->m_format.stateText;
    m_colorLabBakG = other->m_colorLabBakG;
    m_colorLabText = other->m_colorLabText;
    m_colorOutBakG = other->m_colorOutBakG;
    m_colorOutText = other->m_colorOutText;
    m_frameColors = other->m_frameColors;
    m_colorScheme = other->m_colorScheme;
    m_format.displayType = other->m_format.displayType;
    if (m_transparent != other->m_transparent) {
        m_transparent = other->m_transparent;
        applyTransparency();
    }
    Repaint();
}

void TNumLab::AssignTo(QObject *dest) const
{
    if (auto *target = qobject_cast<TNumLab *>(dest)) {
        target->Assign(this);
        return;
    }
    throw EZelError(std::string("Cannot assign a TNumLab to a ") +
                    (dest ? dest->metaObject()->className() : "nil"));
}

// --- mouse ------------------------------------------------------------------------------------

void TNumLab::mousePressEvent(QMouseEvent *event)
{
    raiseMouseDown(this, event);
}

void TNumLab::mouseReleaseEvent(QMouseEvent *event)
{
    raiseMouseUp(this, event);
}

void TNumLab::mouseDoubleClickEvent(QMouseEvent *event)
{
    raiseDblClick(this, event);
    QWidget::mouseDoubleClickEvent(event);
}

void TNumLab::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    if (at.x() <= m_leftSpace)
        m_mouseArea = 0;
    else if (at.x() <= m_leftSpace + m_labelWidth)
        m_mouseArea = 1;
    else
        m_mouseArea = 2;
    raiseMouseMove(this, event);
}

void TNumLab::contextMenuEvent(QContextMenuEvent *event)
{
    if (!m_popupMenu) {
        event->ignore();
        return;
    }
    m_popupMenu->popup(event->globalPos());
    event->accept();
}

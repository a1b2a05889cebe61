// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Controls.h"

#include <QAccessible>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QToolTip>
#include <cmath>

namespace {
void drawBevelRect(QPainter &p, QRect r, TBevelCut cut)
{
    if (cut == Ctl::bvNone)
        return;
    const QColor light = toQColor(clBtnHighlight);
    const QColor dark = toQColor(clBtnShadow);
    const QColor topLeft = cut == Ctl::bvRaised ? light : dark;
    const QColor bottomRight = cut == Ctl::bvRaised ? dark : light;
    p.setPen(topLeft);
    p.drawLine(r.left(), r.top(), r.right(), r.top());
    p.drawLine(r.left(), r.top(), r.left(), r.bottom());
    p.setPen(bottomRight);
    p.drawLine(r.right(), r.top(), r.right(), r.bottom());
    p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
}

void useFaceColor(QWidget *w)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, toQColor(clBtnFace));
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}
} // namespace

// Two pixels by default, seen at a glance on any face.
void drawFocusFrame(QWidget *w, int width)
{
    QPainter p(w);
    p.setPen(toQColor(clHighlight));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < width; ++i)
        p.drawRect(w->rect().adjusted(i, i, -1 - i, -1 - i));
}

TPanel::TPanel(QWidget *parent) : QFrame(parent)
{
    useFaceColor(this);
}

void TPanel::SetCaption(const QString &caption)
{
    m_caption = caption;
    update();
}

void TPanel::SetBevelInner(TBevelCut bevel)
{
    m_bevelInner = bevel;
    update();
}

void TPanel::SetBevelOuter(TBevelCut bevel)
{
    m_bevelOuter = bevel;
    update();
}

void TPanel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    drawBevelRect(p, rect(), m_bevelOuter);
    const int outer = m_bevelOuter == Ctl::bvNone ? 0 : 1;
    drawBevelRect(p, rect().adjusted(outer, outer, -outer, -outer), m_bevelInner);
    if (!m_caption.isEmpty())
        p.drawText(rect(), Qt::AlignCenter, m_caption);
}

TBevel::TBevel(QWidget *parent) : QWidget(parent) {}

void TBevel::SetShape(TBevelShape shape)
{
    m_shape = shape;
    update();
}

void TBevel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    switch (m_shape) {
    case Ctl::bsLeftLine:
        p.setPen(toQColor(clBtnShadow));
        p.drawLine(0, 0, 0, height() - 1);
        p.setPen(toQColor(clBtnHighlight));
        p.drawLine(1, 0, 1, height() - 1);
        break;
    case Ctl::bsTopLine:
        p.setPen(toQColor(clBtnShadow));
        p.drawLine(0, 0, width() - 1, 0);
        p.setPen(toQColor(clBtnHighlight));
        p.drawLine(0, 1, width() - 1, 1);
        break;
    case Ctl::bsBox:
        drawBevelRect(p, rect(), Ctl::bvLowered);
        break;
    }
}

TLabel::TLabel(QWidget *parent) : QLabel(parent) {}

TBitBtn::TBitBtn(QWidget *parent) : QPushButton(parent)
{
    connect(this, &QPushButton::clicked, this, [this] {
        if (OnClick)
            OnClick();
    });
}

void TBitBtn::paintEvent(QPaintEvent *event)
{
    QPushButton::paintEvent(event);
    if (hasFocus())
        drawFocusFrame(this);
}

TScrollBar::TScrollBar(Qt::Orientation orientation, QWidget *parent)
    : QScrollBar(orientation, parent)
{
    // A scroll bar is a tab stop and answers the arrow keys.
    setFocusPolicy(Qt::StrongFocus);
    setRange(0, 100);
    setSingleStep(1);
    setPageStep(1);
    setValue(0);
    // QAbstractSlider clamps and signals only real changes, in code and from the user.
    connect(this, &QScrollBar::valueChanged, this, [this] {
        if (OnChange)
            OnChange(this);
        valueTextChanged();
    });
    // While the thumb is dragged its value follows the mouse.
    connect(this, &QScrollBar::sliderMoved, this, [this] {
        if (m_units.text)
            showValueTip(QCursor::pos());
    });
    ensureAccessibleFactory();
}

void TScrollBar::keyPressEvent(QKeyEvent *event)
{
    // The toolkit's scroll bar reverses the keys of one of its orientations.
    const int page = m_keyPageStep > 0 ? m_keyPageStep : pageStep();
    switch (event->key()) {
    case Qt::Key_Right:
    case Qt::Key_Down:
        triggerAction(SliderSingleStepAdd);
        break;
    case Qt::Key_Left:
    case Qt::Key_Up:
        triggerAction(SliderSingleStepSub);
        break;
    case Qt::Key_PageDown:
        SetPosition(value() > maximum() - page ? maximum() : value() + page);
        break;
    case Qt::Key_PageUp:
        SetPosition(value() < minimum() + page ? minimum() : value() - page);
        break;
    case Qt::Key_Home:
        SetPosition(minimum());
        break;
    case Qt::Key_End:
        SetPosition(maximum());
        break;
    default:
        QScrollBar::keyPressEvent(event);
        return;
    }
    event->accept();
}

bool TScrollBar::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip && m_units.text) {
        showValueTip(static_cast<QHelpEvent *>(event)->globalPos());
        return true;
    }
    return QScrollBar::event(event);
}

void TScrollBar::paintEvent(QPaintEvent *event)
{
    QScrollBar::paintEvent(event);
    if (hasFocus())
        drawFocusFrame(this);
}

void TScrollBar::showValueTip(QPoint globalPos)
{
    QToolTip::showText(globalPos, valueText(), this, rect());
}

void TScrollBar::SetValueUnits(TValueUnits units)
{
    m_units = std::move(units);
    m_toldText = valueText();
}

double TScrollBar::unitsOf(int position) const
{
    return m_units.toUnits ? m_units.toUnits(position) : double(position);
}

int TScrollBar::positionOf(double value) const
{
    if (m_units.toPosition)
        return m_units.toPosition(value);
    if (!std::isfinite(value))
        return value > 0 ? maximum() : minimum();
    return int(std::lround(std::clamp(value, double(minimum()), double(maximum()))));
}

QString TScrollBar::valueText() const
{
    return m_units.text ? m_units.text(value()) : QString::number(value());
}

void TScrollBar::valueTextChanged()
{
    const QString text = valueText();
    if (text == m_toldText)
        return;
    m_toldText = text;
    if (QToolTip::isVisible() && underMouse())
        showValueTip(QCursor::pos());
    QAccessibleEvent event(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
}

void TScrollBar::SetParams(int position, int min, int max)
{
    setRange(min, max);
    setValue(position);
}

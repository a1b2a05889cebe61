#include "platform/Controls.h"

#include <QKeyEvent>
#include <QPainter>

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
    });
}

void TScrollBar::keyPressEvent(QKeyEvent *event)
{
    // The toolkit's scroll bar reverses the keys of one of its orientations.
    switch (event->key()) {
    case Qt::Key_Right:
    case Qt::Key_Down:
        triggerAction(SliderSingleStepAdd);
        event->accept();
        return;
    case Qt::Key_Left:
    case Qt::Key_Up:
        triggerAction(SliderSingleStepSub);
        event->accept();
        return;
    default:
        QScrollBar::keyPressEvent(event);
    }
}

void TScrollBar::SetParams(int position, int min, int max)
{
    setRange(min, max);
    setValue(position);
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/AlignLayout.h"

#include <QEvent>
#include <QVariant>
#include <QWidget>

namespace {
const char *const layoutProperty = "_zel_alignLayout";
}

AlignLayout::AlignLayout(QWidget *container, QSize designedSize, int border)
    : QObject(container), m_container(container), m_border(border), m_designedSize(designedSize)
{
    container->installEventFilter(this);
    container->setProperty(layoutProperty, QVariant::fromValue<QObject *>(this));
}

AlignLayout *AlignLayout::of(QWidget *container)
{
    return static_cast<AlignLayout *>(container->property(layoutProperty).value<QObject *>());
}

void AlignLayout::place(QWidget *child, QRect designed, TAlign align, TAnchors anchors)
{
    m_entries.push_back({child, designed, align, anchors});
    child->setGeometry(designed);
}

void AlignLayout::apply()
{
    if (m_applying)
        return;
    m_applying = true;
    const QSize size = m_container->size();
    // Free area left for aligned children, inside the frame.
    QRect free(m_border, m_border, size.width() - 2 * m_border, size.height() - 2 * m_border);
    const int dw = size.width() - m_designedSize.width();
    const int dh = size.height() - m_designedSize.height();

    for (const Entry &e : m_entries) {
        if (e.align != TAlign::alNone)
            continue;
        QRect r = e.designed;
        const bool left = e.anchors.testFlag(TAnchor::akLeft);
        const bool right = e.anchors.testFlag(TAnchor::akRight);
        const bool top = e.anchors.testFlag(TAnchor::akTop);
        const bool bottom = e.anchors.testFlag(TAnchor::akBottom);
        if (left && right)
            r.setWidth(std::max(0, r.width() + dw));
        else if (right)
            r.moveLeft(r.left() + dw);
        else if (!left)
            r.moveLeft(r.left() + dw / 2);
        if (top && bottom)
            r.setHeight(std::max(0, r.height() + dh));
        else if (bottom)
            r.moveTop(r.top() + dh);
        else if (!top)
            r.moveTop(r.top() + dh / 2);
        e.child->setGeometry(r);
    }

    for (TAlign pass :
         {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight, TAlign::alClient}) {
        for (const Entry &e : m_entries) {
            if (e.align != pass)
                continue;
            QRect r;
            switch (pass) {
            case TAlign::alTop:
                r = QRect(free.left(), free.top(), free.width(), e.designed.height());
                free.setTop(free.top() + r.height());
                break;
            case TAlign::alBottom:
                r = QRect(free.left(), free.bottom() + 1 - e.designed.height(), free.width(),
                          e.designed.height());
                free.setBottom(free.bottom() - r.height());
                break;
            case TAlign::alLeft:
                r = QRect(free.left(), free.top(), e.designed.width(), free.height());
                free.setLeft(free.left() + r.width());
                break;
            case TAlign::alRight:
                r = QRect(free.right() + 1 - e.designed.width(), free.top(), e.designed.width(),
                          free.height());
                free.setRight(free.right() - r.width());
                break;
            default:
                r = free;
                break;
            }
            r.setWidth(std::max(0, r.width()));
            r.setHeight(std::max(0, r.height()));
            e.child->setGeometry(r);
        }
    }
    for (const Entry &e : m_entries)
        if (AlignLayout *inner = of(e.child))
            inner->apply();
    m_applying = false;
}

bool AlignLayout::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_container && event->type() == QEvent::Resize)
        apply();
    return QObject::eventFilter(watched, event);
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The standard mouse events of a light-weight control (click, double click, button down and
// up, move) and their raising from Qt's mouse events. A control inherits this beside QWidget
// and calls the raise functions from its mouse handlers.

#include <QMouseEvent>
#include <QObject>
#include <QWidget>
#include <functional>

class TControlMouseEvents
{
public:
    using TNotifyEvent = std::function<void(QObject *Sender)>;
    using TMouseButtonEvent = std::function<void(QObject *Sender, Qt::MouseButton Button,
                                                 Qt::KeyboardModifiers Shift, int X, int Y)>;
    using TMouseMoveEvent =
        std::function<void(QObject *Sender, Qt::KeyboardModifiers Shift, int X, int Y)>;

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseButtonEvent OnMouseDown;
    TMouseButtonEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

protected:
    void raiseMouseDown(QWidget *control, const QMouseEvent *event) const
    {
        if (OnMouseDown)
            OnMouseDown(control, event->button(), event->modifiers(), at(event).x(), at(event).y());
    }

    // A click is a left-button release over the control.
    void raiseMouseUp(QWidget *control, const QMouseEvent *event) const
    {
        if (OnMouseUp)
            OnMouseUp(control, event->button(), event->modifiers(), at(event).x(), at(event).y());
        if (OnClick && event->button() == Qt::LeftButton && control->rect().contains(at(event)))
            OnClick(control);
    }

    void raiseMouseMove(QWidget *control, const QMouseEvent *event) const
    {
        if (OnMouseMove)
            OnMouseMove(control, event->modifiers(), at(event).x(), at(event).y());
    }

    // Only the left button double-clicks. The control then passes the event on to Qt, which
    // makes it the second button-down as well.
    void raiseDblClick(QWidget *control, const QMouseEvent *event) const
    {
        if (OnDblClick && event->button() == Qt::LeftButton)
            OnDblClick(control);
    }

private:
    static QPoint at(const QMouseEvent *event) { return event->position().toPoint(); }
};

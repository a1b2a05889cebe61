// SPDX-License-Identifier: GPL-3.0-or-later
// Keys and the mouse wheel. The chart wants the arrow keys and Tab for itself: with the focus
// they reach its key events instead of moving the focus to another control.

#include "chart/Zel_rchart.h"

#include <QKeyEvent>
#include <QWheelEvent>

namespace {

bool isChartKey(int key)
{
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return true;
    default:
        return false;
    }
}

} // namespace

bool TCustomRChart::focusNextPrevChild(bool)
{
    return false;
}

// OnKeyDown may change the key or end its handling by setting it to 0; OnKeyPress follows for
// keys that produce a character. Keys the chart does not take and no handler ended go on to
// the parent (a dialog's default and cancel buttons, shortcuts).
void TCustomRChart::keyPressEvent(QKeyEvent *event)
{
    int key = event->key();
    if (OnKeyDown)
        OnKeyDown(this, key, shiftStateOf(event->modifiers()));
    if (key != 0 && OnKeyPress && !event->text().isEmpty()) {
        QChar character = event->text().at(0);
        OnKeyPress(this, character);
    }
    event->setAccepted(key == 0 || isChartKey(event->key()));
}

void TCustomRChart::keyReleaseEvent(QKeyEvent *event)
{
    int key = event->key();
    if (OnKeyUp)
        OnKeyUp(this, key, shiftStateOf(event->modifiers()));
    event->setAccepted(key == 0 || isChartKey(event->key()));
}

// OnMouseWheel first; if it leaves the wheel unhandled, the turn is added up and every full
// notch (120 units) raises OnMouseWheelDown or OnMouseWheelUp by its direction, so that fine
// steps of a smooth wheel or touchpad add up to notches instead of each counting as one.
// MousePos is in screen coordinates. An unhandled wheel goes on to the parent.
void TCustomRChart::wheelEvent(QWheelEvent *event)
{
    bool handled = false;
    const TShiftState shift = shiftStateOf(event->modifiers(), event->buttons());
    const QPoint mousePos = event->globalPosition().toPoint();
    const int delta = event->angleDelta().y();
    if (OnMouseWheel)
        OnMouseWheel(this, shift, delta, mousePos, handled);
    if (!handled) {
        m_wheelAccumulator += delta;
        while (m_wheelAccumulator >= WheelNotch || m_wheelAccumulator <= -WheelNotch) {
            bool notchHandled = false;
            if (m_wheelAccumulator < 0) {
                m_wheelAccumulator += WheelNotch;
                if (OnMouseWheelDown)
                    OnMouseWheelDown(this, shift, mousePos, notchHandled);
            } else {
                m_wheelAccumulator -= WheelNotch;
                if (OnMouseWheelUp)
                    OnMouseWheelUp(this, shift, mousePos, notchHandled);
            }
            handled = handled || notchHandled;
        }
    }
    event->setAccepted(handled);
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The shift state that mouse and key events report: the modifier keys and the mouse buttons
// held, and whether the event belongs to a double click.

#include <QFlags>
#include <Qt>

namespace Input {

enum TShiftStateFlag {
    ssShift = 0x01,
    ssAlt = 0x02,
    ssCtrl = 0x04,
    ssLeft = 0x08,
    ssRight = 0x10,
    ssMiddle = 0x20,
    ssDouble = 0x40
};
Q_DECLARE_FLAGS(TShiftState, TShiftStateFlag)

inline TShiftState shiftStateOf(Qt::KeyboardModifiers keys, Qt::MouseButtons buttons = {})
{
    TShiftState state;
    if (keys & Qt::ShiftModifier)
        state |= ssShift;
    if (keys & Qt::AltModifier)
        state |= ssAlt;
    if (keys & Qt::ControlModifier)
        state |= ssCtrl;
    if (buttons & Qt::LeftButton)
        state |= ssLeft;
    if (buttons & Qt::RightButton)
        state |= ssRight;
    if (buttons & Qt::MiddleButton)
        state |= ssMiddle;
    return state;
}

} // namespace Input

Q_DECLARE_OPERATORS_FOR_FLAGS(Input::TShiftState)

using Input::shiftStateOf;
using Input::TShiftState;

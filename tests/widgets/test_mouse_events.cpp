// SPDX-License-Identifier: GPL-3.0-or-later
// The standard mouse events as the light-weight controls raise them.

#include "scales/Zel_Scale.h"
#include "widgets/Zel_NumLab.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

void send(QWidget &control, QEvent::Type type, QPoint pos, Qt::MouseButton button)
{
    QMouseEvent event(type, QPointF(pos), QPointF(control.mapToGlobal(pos)), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button),
                      Qt::ShiftModifier);
    QCoreApplication::sendEvent(&control, &event);
}

// Records every event of a control as one line of text.
template <class Control> QStringList recordEvents(Control &control)
{
    QStringList log;
    control.OnMouseDown = [&](QObject *sender, Qt::MouseButton b, Qt::KeyboardModifiers s, int x,
                              int y) {
        EXPECT_EQ(sender, &control);
        EXPECT_EQ(s, Qt::ShiftModifier);
        log << QStringLiteral("down %1 %2,%3").arg(int(b)).arg(x).arg(y);
    };
    control.OnMouseUp = [&](QObject *, Qt::MouseButton b, Qt::KeyboardModifiers, int x, int y) {
        log << QStringLiteral("up %1 %2,%3").arg(int(b)).arg(x).arg(y);
    };
    control.OnMouseMove = [&](QObject *, Qt::KeyboardModifiers, int x, int y) {
        log << QStringLiteral("move %1,%2").arg(x).arg(y);
    };
    control.OnClick = [&](QObject *) { log << QStringLiteral("click"); };
    control.OnDblClick = [&](QObject *) { log << QStringLiteral("double"); };

    control.resize(100, 30);
    send(control, QEvent::MouseButtonPress, {5, 6}, Qt::LeftButton);
    send(control, QEvent::MouseMove, {7, 8}, Qt::NoButton);
    send(control, QEvent::MouseButtonRelease, {7, 8}, Qt::LeftButton);   // a click
    send(control, QEvent::MouseButtonRelease, {150, 8}, Qt::LeftButton); // let go outside: none
    send(control, QEvent::MouseButtonRelease, {7, 8}, Qt::RightButton);  // right: no click
    send(control, QEvent::MouseButtonDblClick, {7, 8}, Qt::RightButton); // right: no double
    send(control, QEvent::MouseButtonDblClick, {7, 8}, Qt::LeftButton);
    return log;
}

// Moves are reported with no button held; a double click is also the second button-down.
const QStringList expectedLog = {"down 1 5,6", "move 7,8",   "up 1 7,8", "click",     "up 1 150,8",
                                 "up 2 7,8",   "down 2 7,8", "double",   "down 1 7,8"};

} // namespace

TEST(ControlMouseEvents, ScaleAndReadoutRaiseTheSameEvents)
{
    TScale scale;
    EXPECT_EQ(recordEvents(scale), expectedLog);
    TNumLab readout;
    EXPECT_EQ(recordEvents(readout), expectedLog);
}

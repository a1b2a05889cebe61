// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The application's screen cursors: one program-wide table of cursors by number, and the
// application-wide cursor that overrides every window's own while it is set.
//
// Numbers 0 and below are the standard shapes (crDefault, crArrow, crCross, ...); components
// register their own cursors under positive numbers. A registered cursor is built on first
// use, once a QGuiApplication exists (cursor images are pixmaps).

#include <QCursor>
#include <QString>
#include <functional>

namespace Screen {

constexpr int crDefault = 0; // no cursor of its own: the window's cursor shows
constexpr int crNone = -1;
constexpr int crArrow = -2;
constexpr int crCross = -3;
constexpr int crIBeam = -4;
constexpr int crSizeNESW = -6;
constexpr int crSizeNS = -7;
constexpr int crSizeNWSE = -8;
constexpr int crSizeWE = -9;
constexpr int crUpArrow = -10;
constexpr int crHourGlass = -11;
constexpr int crNo = -18;
constexpr int crHelp = -20;
constexpr int crHandPoint = -21;
constexpr int crSizeAll = -22;

// Registers a cursor under number (> 0; other numbers are refused and false returned).
// Registering under a number that already holds a cursor of the same name keeps the one
// built; another name replaces it.
bool registerCursor(int number, const QString &name, std::function<QCursor()> make);
// Whether number names a standard shape or a registered cursor.
bool hasCursor(int number);
// The name a cursor was registered with (empty for standard shapes and unknown numbers).
QString cursorName(int number);
// The cursor of a number; an unknown number gives the default arrow, as does any number
// before a QGuiApplication exists.
QCursor cursor(int number);

// The application-wide cursor: crDefault (the start) lets every window show its own cursor;
// any other number overrides them all until crDefault is set again.
int applicationCursor();
void setApplicationCursor(int number);

} // namespace Screen

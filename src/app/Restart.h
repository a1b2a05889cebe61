// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A change of display size restarts the program, since Qt cannot change the scale of a running
// one: the window's state becomes command-line arguments, and the new start takes the place of
// this process.

#include "app/TraceModel.h"

#include <QRect>
#include <QString>
#include <QStringList>
#include <optional>

struct CommandLineOptions;
class TfrmExample;

// What a restart carries over. Not carried: hold (its frozen noise), the values under the
// mouse, measuring, an open dialog, a zoom, and where the noise generator had got to (a seed
// starts it again from the seed).
struct RestartState
{
    SliderPositions positions;
    int tourStep = 1;
    bool lightColours = false;
    bool noNoise = false;
    std::optional<quint64> seed;
    std::optional<QString> language;
    QString substance; // empty: none
    int substanceCharge = 1;
    int substanceAmount = 0;
    QRect geometry; // frame position and client size
    double scale = 1;
    QStringList parameters; // for the host link, as given

    bool operator==(const RestartState &) const = default;
};

// The window's state; language and host parameters are those it was started with.
RestartState restartState(const TfrmExample &window, const CommandLineOptions &started,
                          double scale);
// The arguments that start the program in that state, without the About box.
QStringList restartArguments(const RestartState &state);

// Where the window goes at another display size: the frame stays where it is on the screen
// (positions are in pixels of the display size), the client area keeps its size in design
// pixels, so it grows with the display size, but no more than the screen (available area,
// in pixels of the present display size) has room for beside the frame's title bar and
// borders; the window's minimum still applies.
QRect geometryAtScale(QRect geometry, QSize frame, QRect screen, double from, double to);

// The display size the program was started at: QT_SCALE_FACTOR, 1 when it is not a number.
double startScale();

// Replaces this process by the program started with the arguments (argument 0 as given).
// Returns only when that fails, with the reason.
QString execProgram(const char *argument0, const QStringList &arguments);

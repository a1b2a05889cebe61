// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the screen should show: the main window built in this process, off the screen, from the
// same window description and dictionary as the program under test, put into the state the
// test has driven the program to. Its controls give the places to look at on the screen and
// their pictures the expected pixels (fonts, frames and labels come from the same code).

#include "app/TfrmExample.h"

#include <QImage>
#include <QRect>

class QWidget;

class ScreenOracle
{
public:
    explicit ScreenOracle(const QString &dictionaryFile);

    TfrmExample &window() { return m_window; }

    // A control's rectangle in the window's client area.
    QRect rectOf(const QWidget *control) const;
    // A control as it is drawn now.
    QImage picture(QWidget *control);
    // The chart's data area (inside its frame) in the client area.
    QRect plot() const;
    // The strips beside the plot that hold the axes, their ticks and labels.
    QRect bottomAxis() const;
    QRect leftAxis() const;

    // The tour at a step, as its buttons leave it (Next disabled at the last step).
    void showStep(int step);

private:
    TfrmExample m_window;
};

// Share of the pixels of `expected` whose counterpart in `screen` at `at` differs by more than
// a small tolerance in a channel; 1 when the region does not fit on the screen.
double mismatch(const QImage &screen, QPoint at, const QImage &expected);

// Pixels of the region with every channel below 80 (text and tick marks).
int darkPixels(const QImage &screen, const QRect &region);

// The trace: pixels of the plot that are exactly the trace's green, and pixels that are
// neither that green nor black.
struct PlotPixels
{
    int green = 0;
    int other = 0;
};
PlotPixels plotPixels(const QImage &screen, const QRect &plot);

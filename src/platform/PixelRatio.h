// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one place that decides at which device pixel ratio a widget's pictures are composed:
// the ratio of the screen the widget is on. Components ask for their images here and compare
// a cached picture's ratio with the widget's before they show it, so a move to a screen of
// another density composes the picture anew.

#include <QImage>
#include <QRect>
#include <QSize>
#include <optional>

class QPainter;
class QWidget;

// The widget's devicePixelRatioF(), unless a fixed ratio is set below.
double widgetPixelRatio(const QWidget *widget);

// Fixes the ratio for every widget (nullopt: back to the screens' ratios). Only for tests and
// the benchmark, which have no screen of another density at hand.
void setPixelRatioOverride(std::optional<double> ratio);

// An image of the design size at the widget's ratio, filled with fill.
QImage makeWidgetImage(const QWidget *widget, QSize designSize, QImage::Format format,
                       const QColor &fill);

// Whether an image cached for the widget has the design size and the widget's ratio.
bool fitsWidget(const QImage &image, const QWidget *widget, QSize size);

// Draws the design rectangle `source` of the image at the design rectangle `target`.
void drawDesignPart(QPainter &painter, const QRect &target, const QImage &image,
                    const QRect &source);

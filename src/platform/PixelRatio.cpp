// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PixelRatio.h"

#include "platform/Canvas.h"

#include <QPainter>
#include <QWidget>

namespace {

std::optional<double> &ratioOverride()
{
    static std::optional<double> ratio;
    return ratio;
}

} // namespace

double widgetPixelRatio(const QWidget *widget)
{
    if (ratioOverride())
        return *ratioOverride();
    const double ratio = widget ? widget->devicePixelRatioF() : 1.0;
    return ratio > 0 ? ratio : 1.0;
}

void setPixelRatioOverride(std::optional<double> ratio)
{
    if (ratio && !(*ratio > 0))
        ratio.reset();
    ratioOverride() = ratio;
}

QImage makeWidgetImage(const QWidget *widget, QSize designSize, QImage::Format format,
                       const QColor &fill)
{
    if (designSize.isEmpty())
        return QImage();
    const double ratio = widgetPixelRatio(widget);
    QImage image(scaledRect(QRect(QPoint(0, 0), designSize), ratio).size(), format);
    image.setDevicePixelRatio(ratio);
    image.fill(fill);
    return image;
}

bool fitsWidget(const QImage &image, const QWidget *widget, QSize size)
{
    if (size.isEmpty())
        return image.isNull();
    return image.devicePixelRatio() == widgetPixelRatio(widget) && designSize(image) == size;
}

void drawDesignPart(QPainter &painter, const QRect &target, const QImage &image,
                    const QRect &source)
{
    const double ratio = image.devicePixelRatio();
    if (ratio == 1.0) {
        painter.drawImage(target, image, source);
        return;
    }
    // At the image's own device pixels: one to one on a screen of the same ratio.
    painter.drawImage(QPointF(target.topLeft()), image, QRectF(scaledRect(source, ratio)));
}

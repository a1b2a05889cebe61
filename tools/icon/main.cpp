// SPDX-License-Identifier: GPL-3.0-or-later
// ionograph-icon: paints the program's icon, a small oscilloscope screen with a green trace of
// three peaks, at every size the desktop's icon theme asks for, into
// <folder>/hicolor/<n>x<n>/apps/<name>.png. Painted by code, so every size is drawn for its own
// pixel grid instead of being scaled from one picture.

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdio>

namespace {

const QColor bezel(60, 60, 60);
const QColor trace(0, 185, 0);
const QColor grid(0, 70, 0);

// The trace over x in 0..1: a flat base line with peaks of different height, as a spectrum.
double signal(double x)
{
    const struct
    {
        double at, height, width;
    } peaks[] = {{0.28, 0.45, 0.035}, {0.52, 0.9, 0.03}, {0.74, 0.3, 0.04}};
    double y = 0.04;
    for (const auto &p : peaks)
        y += p.height * std::max(0.0, 1.0 - std::abs(x - p.at) / p.width);
    return y;
}

QImage paint(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    const qreal margin = size >= 32 ? size / 16.0 : 0.5;
    const QRectF outer(margin, margin + size / 10.0, size - 2 * margin, size * 0.8 - 2 * margin);
    painter.setPen(Qt::NoPen);
    painter.setBrush(bezel);
    painter.drawRoundedRect(outer, size / 10.0, size / 10.0);

    const qreal inset = std::max(1.0, size / 14.0);
    const QRectF screen = outer.adjusted(inset, inset, -inset, -inset);
    painter.setBrush(Qt::black);
    painter.drawRoundedRect(screen, size / 24.0, size / 24.0);

    if (size >= 32) {
        painter.setPen(QPen(grid, std::max(1.0, size / 128.0)));
        for (int i = 1; i < 4; ++i) {
            const qreal x = screen.left() + screen.width() * i / 4;
            const qreal y = screen.top() + screen.height() * i / 4;
            painter.drawLine(QPointF(x, screen.top()), QPointF(x, screen.bottom()));
            painter.drawLine(QPointF(screen.left(), y), QPointF(screen.right(), y));
        }
    }

    QPainterPath path;
    const int steps = 4 * size;
    for (int i = 0; i <= steps; ++i) {
        const double x = double(i) / steps;
        const QPointF point(screen.left() + x * screen.width(),
                            screen.bottom() - signal(x) * screen.height() * 0.92);
        if (i == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(
        QPen(trace, std::max(1.0, size / 40.0), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(path);
    return image;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fputs("Usage: ionograph-icon FOLDER NAME\n", stderr);
        return 2;
    }
    // Shapes painted into images need no application object and no screen.
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString dir = QStringLiteral("%1/hicolor/%2x%2/apps").arg(folder).arg(size);
        const QString file = QStringLiteral("%1/%2.png").arg(dir, name);
        if (!QDir().mkpath(dir) || !paint(size).save(file, "PNG")) {
            std::fprintf(stderr, "ionograph-icon: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}

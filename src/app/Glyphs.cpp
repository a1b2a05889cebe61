// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>

namespace {

template <class Draw> QIcon paintIcon(int size, Draw draw)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p, size);
    return QIcon(pixmap);
}

} // namespace

namespace Glyphs {

QIcon windowIcon()
{
    return paintIcon(32, [](QPainter &p, int s) {
        p.fillRect(0, 0, s, s, QColor(20, 20, 20));
        p.setPen(QPen(QColor(0, 185, 0), 2));
        QPainterPath trace;
        trace.moveTo(2, s - 6);
        const double peaks[][3] = {{9, 14, 2}, {17, 4, 2}, {24, 18, 1.5}};
        for (int x = 2; x < s - 1; ++x) {
            double y = s - 6;
            for (const auto &pk : peaks)
                y -= (s - 10 - pk[1]) * std::exp(-(x - pk[0]) * (x - pk[0]) / (2 * pk[2] * pk[2]));
            trace.lineTo(x, y);
        }
        p.drawPath(trace);
    });
}

QIcon exitGlyph()
{
    return paintIcon(16, [](QPainter &p, int) {
        p.setPen(QPen(QColor(80, 60, 40), 1));
        p.setBrush(QColor(170, 120, 70));
        p.drawRect(QRectF(3.5, 1.5, 8, 13));
        p.setPen(QPen(QColor(200, 30, 30), 2));
        p.drawLine(QPointF(9, 8), QPointF(15, 8));
        p.drawLine(QPointF(12, 5), QPointF(15, 8));
        p.drawLine(QPointF(12, 11), QPointF(15, 8));
    });
}

QIcon nextGlyph()
{
    return paintIcon(16, [](QPainter &p, int) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 140, 0));
        const QPointF arrow[] = {{2, 5}, {8, 5}, {8, 1.5}, {14.5, 8}, {8, 14.5}, {8, 11}, {2, 11}};
        p.drawPolygon(arrow, 7);
    });
}

QIcon resetGlyph()
{
    return paintIcon(16, [](QPainter &p, int) {
        p.setPen(QPen(QColor(0, 70, 170), 2));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(2.5, 2.5, 11, 11), 100 * 16, 280 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 70, 170));
        const QPointF head[] = {{5, 0.5}, {10, 3}, {5, 6.5}};
        p.drawPolygon(head, 3);
    });
}

QIcon aboutGlyph()
{
    return paintIcon(16, [](QPainter &p, int) {
        p.setPen(QPen(QColor(0, 70, 170), 1));
        p.setBrush(QColor(235, 242, 255));
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 70, 170));
        p.drawEllipse(QRectF(7, 3.5, 2.2, 2.2));
        p.drawRect(QRectF(7, 6.5, 2.2, 6));
    });
}

QIcon okGlyph()
{
    return paintIcon(16, [](QPainter &p, int) {
        p.setPen(QPen(QColor(0, 140, 0), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const QPointF tick[] = {{2.5, 8.5}, {6, 12.5}, {13.5, 3.5}};
        p.drawPolyline(tick, 3);
    });
}

} // namespace Glyphs

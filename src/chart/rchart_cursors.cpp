// SPDX-License-Identifier: GPL-3.0-or-later
// The chart's four cursors, drawn in code as 32 x 32 pictures: a hand for panning and three
// magnifiers for the zoom modes (a frame in the lens for the zoom window, arrows for the zoom
// drag, a frame with a corner mark for the zoom window that keeps the axes' direction).

#include "chart/Zel_rchart.h"
#include "platform/ScreenCursors.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

constexpr int kSize = 32;

// A transparent picture with a painter that draws black outlines on white fills, without
// smoothing, so the cursor stays crisp at any screen.
struct CursorPicture
{
    QImage image{kSize, kSize, QImage::Format_ARGB32_Premultiplied};
    QPainter painter;

    CursorPicture()
    {
        image.fill(Qt::transparent);
        painter.begin(&image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Qt::white);
    }

    QCursor finish(int hotX, int hotY)
    {
        painter.end();
        return QCursor(QPixmap::fromImage(image), hotX, hotY);
    }
};

QCursor handCursor()
{
    CursorPicture p;
    QPainterPath hand;
    // Four fingers, the thumb and the palm, united into one outline.
    hand.addRoundedRect(7, 6, 4, 13, 2, 2);
    hand.addRoundedRect(11, 3, 4, 15, 2, 2);
    hand.addRoundedRect(15, 4, 4, 14, 2, 2);
    hand.addRoundedRect(19, 7, 4, 12, 2, 2);
    QPainterPath thumb;
    thumb.moveTo(7, 19);
    thumb.lineTo(3, 14);
    thumb.lineTo(5, 12);
    thumb.lineTo(9, 16);
    thumb.closeSubpath();
    QPainterPath palm;
    palm.addRoundedRect(7, 13, 16, 14, 4, 4);
    hand = hand.united(thumb).united(palm).simplified();
    p.painter.drawPath(hand);
    // Finger gaps.
    p.painter.drawLine(11, 13, 11, 17);
    p.painter.drawLine(15, 13, 15, 17);
    p.painter.drawLine(19, 13, 19, 17);
    return p.finish(15, 15);
}

// A lens centred at (12, 12) with its handle to the bottom right; the hot spot is the lens's
// centre.
void drawMagnifier(QPainter &painter)
{
    painter.save();
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::black);
    QPolygon handle;
    handle << QPoint(18, 20) << QPoint(20, 18) << QPoint(30, 28) << QPoint(28, 30);
    painter.drawPolygon(handle);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPoint(12, 12), 10, 10);
    painter.restore();
}

QCursor zoomWindowCursor()
{
    CursorPicture p;
    drawMagnifier(p.painter);
    p.painter.setBrush(Qt::NoBrush);
    p.painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    p.painter.drawRect(7, 8, 10, 8);
    return p.finish(12, 12);
}

QCursor zoomDragCursor()
{
    CursorPicture p;
    drawMagnifier(p.painter);
    // A double arrow across and one up and down.
    p.painter.drawLine(6, 12, 18, 12);
    p.painter.drawLine(12, 6, 12, 18);
    for (int i = 1; i <= 2; ++i) {
        p.painter.drawLine(6 + i, 12 - i, 6 + i, 12 + i);
        p.painter.drawLine(18 - i, 12 - i, 18 - i, 12 + i);
        p.painter.drawLine(12 - i, 6 + i, 12 + i, 6 + i);
        p.painter.drawLine(12 - i, 18 - i, 12 + i, 18 - i);
    }
    return p.finish(12, 12);
}

QCursor zoomWindowPosCursor()
{
    CursorPicture p;
    drawMagnifier(p.painter);
    p.painter.setBrush(Qt::NoBrush);
    p.painter.drawRect(7, 8, 10, 8);
    // The corner mark: the frame's low corner, where the axes start.
    p.painter.setBrush(Qt::black);
    p.painter.drawRect(7, 14, 2, 2);
    return p.finish(12, 12);
}

} // namespace

void TCustomRChart::registerCursors()
{
    Screen::registerCursor(CursorHand, QStringLiteral("CURHAND"), handCursor);
    Screen::registerCursor(CursorZoomWind, QStringLiteral("CURZOOMW"), zoomWindowCursor);
    Screen::registerCursor(CursorZoomDrag, QStringLiteral("CURZOOMD"), zoomDragCursor);
    Screen::registerCursor(CursorZoomWindPos, QStringLiteral("CURZOOMP"), zoomWindowPosCursor);
}

// SPDX-License-Identifier: GPL-3.0-or-later
// Mouse interaction: the MouseAction modes (pans, zoom-drag, zoom rectangles, the rubber band,
// dragging crosshairs and text labels), the rectangle's outline over the shown picture, the
// application cursor, and the mouse events.
//
// Pans and the zoom-drag compute every move's ranges from the ranges stored when the drag
// began, so rounding does not build up and returning to the anchor restores them exactly. All
// range changes go through the coupling steps of SetLayerRange (joint layers, MinRange,
// logarithmic bounds), without its widening and isometric correction.

#include "chart/Zel_rchart.h"
#include "platform/ScreenCursors.h"

#include <QContextMenuEvent>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <utility>

namespace {

using namespace Zel;

// The starting distance of the nearest-object searches.
constexpr double kFarAway = 1.7e308;

bool isPanMode(TMouseActMode mode)
{
    return mode == maPan || mode == maPanHoriz || mode == maPanVert;
}

bool isRectangleMode(TMouseActMode mode)
{
    return mode == maZoomWind || mode == maZoomWindPos || mode == maRubberBand;
}

// Limits v to lo..hi; with lo > hi (no plot area) the result is lo.
int limit(int v, int lo, int hi)
{
    return std::max(lo, std::min(v, hi));
}

double square(double v)
{
    return v * v;
}

} // namespace

// --- Settings -------------------------------------------------------------------------------

bool TCustomRChart::MouseAffectsLayer(int layer) const
{
    return layer >= 1 && layer <= LayerCount && m_mouseAffectsLayer[std::size_t(layer - 1)];
}

void TCustomRChart::SetMouseAffectsLayer(int layer, bool affected)
{
    if (layer >= 1 && layer <= LayerCount)
        m_mouseAffectsLayer[std::size_t(layer - 1)] = affected;
}

bool TCustomRChart::isInPlotArea(int X, int Y) const
{
    return m_marginLeft <= X && X <= width() - m_marginRight - m_shadowWidth && m_marginTop <= Y &&
           Y <= height() - m_marginBottom - m_shadowWidth;
}

// --- Handlers -------------------------------------------------------------------------------

void TCustomRChart::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    m_leftButtonHeld = event->buttons() & Qt::LeftButton;
    if (OnKeyDown || OnKeyUp || OnKeyPress)
        setFocus(Qt::MouseFocusReason);
    // The press a double click brings with it only ends the double click.
    if (m_doubleClick) {
        m_doubleClick = false;
        return;
    }
    const QPoint pos = event->position().toPoint();
    TShiftState shift = shiftStateOf(event->modifiers(), event->buttons());
    if (event->type() == QEvent::MouseButtonDblClick)
        shift |= Input::ssDouble;
    if (OnMouseDown)
        OnMouseDown(this, event->button(), shift, pos.x(), pos.y());
    if (event->button() == Qt::LeftButton)
        m_clickPending = true;
    if (isRectangleMode(m_mouseAction) && event->button() == Qt::LeftButton && !m_drawingRect &&
        isInPlotArea(pos.x(), pos.y())) {
        m_drawingRect = true;
        m_rectMode = m_mouseAction;
        m_rectFixed = pos;
        m_rectMoving = pos;
    }
}

void TCustomRChart::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    m_leftButtonHeld = event->buttons() & Qt::LeftButton;
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton && m_clickPending) {
        m_clickPending = false;
        if (rect().contains(pos) && OnClick)
            OnClick(this);
    }
    if (m_doubleClick) {
        m_doubleClick = false;
        return;
    }
    if (OnMouseUp)
        OnMouseUp(this, event->button(), shiftStateOf(event->modifiers(), event->buttons()),
                  pos.x(), pos.y());
    if (m_drawingRect)
        finishRectangle(event->button());
}

// A left double click is reported and then passed on as a press, which the double-click flag
// swallows: the second press starts no rectangle and raises no OnMouseDown. Other buttons'
// double clicks are presses whose shift state says double.
void TCustomRChart::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_doubleClick = true;
        m_clickPending = false;
        if (OnDblClick)
            OnDblClick(this);
    }
    mousePressEvent(event);
}

void TCustomRChart::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    m_leftButtonHeld = event->buttons() & Qt::LeftButton;
    const QPoint pos = event->position().toPoint();
    const TShiftState shift = shiftStateOf(event->modifiers(), event->buttons());
    if (OnMouseMove)
        OnMouseMove(this, shift, pos.x(), pos.y());

    if (m_drawingRect)
        moveRectangle(pos);
    const TMouseActMode mode = m_mouseAction;
    if (isPanMode(mode) || mode == maZoomDrag || mode == maDragCrossH || mode == maDragLabel) {
        if (!(event->buttons() & Qt::LeftButton)) {
            m_dragging = false;
        } else if (!m_dragging) {
            startDrag(pos);
            if (mode == maDragCrossH)
                chooseCrossHair(pos);
            else if (mode == maDragLabel)
                chooseTextLabel(pos);
        } else if (mode == maZoomDrag) {
            zoomDrag(pos);
        } else if (isPanMode(mode)) {
            pan(pos);
        } else if (mode == maDragCrossH) {
            dragCrossHair(pos);
        } else {
            dragTextLabel(pos);
        }
    }

    const bool inPlot = isInPlotArea(pos.x(), pos.y());
    setMouseCursor(inPlot);
    if (OnMouseMoveInChart) {
        double x = 0, y = 0;
        PixelToWorld(m_activeLayer, pos.x(), pos.y(), x, y);
        OnMouseMoveInChart(this, inPlot, shift, x, y);
    }
}

void TCustomRChart::enterEvent(QEnterEvent *event)
{
    QWidget::enterEvent(event);
    if (OnMouseEnter)
        OnMouseEnter(this);
}

// The chart's own cursor does not stay with the mouse when it goes elsewhere.
void TCustomRChart::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    releaseMouseCursor();
    if (OnMouseLeave)
        OnMouseLeave(this);
}

// The popup menu takes the mouse; a rectangle being drawn is dropped first, as a right button
// release would, so that its outline does not stay behind.
void TCustomRChart::contextMenuEvent(QContextMenuEvent *event)
{
    if (!m_popupMenu) {
        event->ignore();
        return;
    }
    if (m_drawingRect)
        finishRectangle(Qt::RightButton);
    m_popupMenu->popup(event->globalPos());
    event->accept();
}

// --- Drags ----------------------------------------------------------------------------------

// The anchor and the present ranges of every layer.
void TCustomRChart::startDrag(QPoint pos)
{
    for (int i = 0; i < LayerCount; ++i) {
        DragStart &start = m_dragStart[std::size_t(i)];
        start.anchor = pos;
        start.xLo = m_scaleX[std::size_t(i)]->RangeLow();
        start.xHi = m_scaleX[std::size_t(i)]->RangeHigh();
        start.yLo = m_scaleY[std::size_t(i)]->RangeLow();
        start.yHi = m_scaleY[std::size_t(i)]->RangeHigh();
    }
    m_dragging = true;
}

// Moving right by a quarter of the control's width narrows x to three quarters of its
// starting width about the same centre; moving down widens y. Written as the start range
// moved in at both ends, so that no movement gives back the start range exactly.
void TCustomRChart::zoomDrag(QPoint pos)
{
    if (!isInPlotArea(pos.x(), pos.y()) || width() <= 0 || height() <= 0)
        return;
    const bool former = m_paintLocked;
    {
        PaintLockGuard lock(*this);
        for (int L = 1; L <= LayerCount; ++L) {
            if (!m_mouseAffectsLayer[std::size_t(L - 1)])
                continue;
            const DragStart &s = m_dragStart[std::size_t(L - 1)];
            // 1 - fx and 1 - fy of the zoom factors.
            const double dx = double(pos.x() - s.anchor.x()) / width();
            const double dy = m_isometric ? dx : -double(pos.y() - s.anchor.y()) / height();
            const double inX = (s.xHi - s.xLo) * dx / 2;
            const double inY = (s.yHi - s.yLo) * dy / 2;
            applyJointRange(L, s.xLo + inX, s.yLo + inY, s.xHi - inX, s.yHi - inY, false, false);
        }
    }
    endMouseRangeChange(former);
    if (OnZoomPan)
        OnZoomPan(this);
}

// The content follows the mouse: moving by the plot's width shifts the range by its width.
void TCustomRChart::pan(QPoint pos)
{
    if (!isInPlotArea(pos.x(), pos.y()))
        return;
    const bool panX = m_mouseAction != maPanVert && plotWidth() > 0;
    const bool panY = m_mouseAction != maPanHoriz && plotHeight() > 0;
    const double PW = plotWidth();
    const double PH = plotHeight();
    const bool former = m_paintLocked;
    {
        PaintLockGuard lock(*this);
        for (int L = 1; L <= LayerCount; ++L) {
            if (!m_mouseAffectsLayer[std::size_t(L - 1)])
                continue;
            const DragStart &s = m_dragStart[std::size_t(L - 1)];
            const TScaleProps &xr = *m_scaleX[std::size_t(L - 1)];
            const TScaleProps &yr = *m_scaleY[std::size_t(L - 1)];
            double xLo = xr.RangeLow(), xHi = xr.RangeHigh();
            double yLo = yr.RangeLow(), yHi = yr.RangeHigh();
            if (panX) {
                if (xr.Logarithmic()) {
                    const double f = std::exp(std::log(xHi / xLo) * (s.anchor.x() - pos.x()) / PW);
                    xLo = s.xLo * f;
                    xHi = s.xHi * f;
                } else {
                    const double d = (xHi - xLo) * (pos.x() - s.anchor.x()) / PW;
                    xLo = s.xLo - d;
                    xHi = s.xHi - d;
                }
            }
            if (panY) {
                if (yr.Logarithmic()) {
                    const double f = std::exp(std::log(yHi / yLo) * (pos.y() - s.anchor.y()) / PH);
                    yLo = s.yLo * f;
                    yHi = s.yHi * f;
                } else {
                    const double d = (yHi - yLo) * (pos.y() - s.anchor.y()) / PH;
                    yLo = s.yLo + d;
                    yHi = s.yHi + d;
                }
            }
            applyJointRange(L, xLo, yLo, xHi, yHi, false, false);
        }
    }
    endMouseRangeChange(former);
    if (OnZoomPan)
        OnZoomPan(this);
}

// After the mouse changed ranges under the paint lock: a lock that is released again shows
// the new ranges (the platform repaints them also without AutoRedraw).
void TCustomRChart::endMouseRangeChange(bool formerLock)
{
    if (formerLock)
        return;
    invalidatePicture();
    update();
}

// The crosshair nearest to the mouse: a vertical line competes with its x distance, a
// horizontal one with its y distance; crosshairs that are off do not compete, and with none
// competing crosshair 1 is taken.
void TCustomRChart::chooseCrossHair(QPoint pos)
{
    double best = kFarAway;
    int choice = 1;
    for (int n = 1; n <= 4; ++n) {
        const TCrossHair &hair = *CrossHair(n);
        const TCrossHMode mode = hair.Mode();
        if (mode == chOff)
            continue;
        int px = 0, py = 0;
        WorldToPixel(hair.Layer(), hair.PosX(), hair.PosY(), px, py);
        if (mode == chVert || mode == chBoth) {
            const double d = square(double(px) - pos.x());
            if (d < best) {
                best = d;
                choice = n;
            }
        }
        if (mode == chHoriz || mode == chBoth) {
            const double d = square(double(py) - pos.y());
            if (d < best) {
                best = d;
                choice = n;
            }
        }
    }
    m_dragCrossHair = choice;
}

void TCustomRChart::dragCrossHair(QPoint pos)
{
    TCrossHair *hair = CrossHair(m_dragCrossHair);
    if (!hair)
        return;
    double x = 0, y = 0;
    PixelToWorld(hair->Layer(), pos.x(), pos.y(), x, y);
    {
        PaintLockGuard lock(*this);
        hair->SetPosX(x);
        hair->SetPosY(y);
    }
    fullRepaint();
    if (OnCrossHairMove)
        OnCrossHairMove(this, hair);
}

// The shown text label nearest to the mouse; with none shown, label 1.
void TCustomRChart::chooseTextLabel(QPoint pos)
{
    double best = kFarAway;
    int choice = 1;
    for (int n = 1; n <= TextLabelCount; ++n) {
        const TTextLabel &label = *TextLabel(n);
        if (label.Mode() == tlOff || !label.Visible())
            continue;
        int wx = 0, wy = 0;
        WorldToPixel(label.Layer(), label.PosX(), label.PosY(), wx, wy);
        const TTxtLblAttachMode attach = label.AttachToData();
        const double px =
            attach == tlamXOnly || attach == tlamBoth ? double(wx) : std::nearbyint(label.PosX());
        const double py =
            attach == tlamYOnly || attach == tlamBoth ? double(wy) : std::nearbyint(label.PosY());
        const double d = square(px - pos.x()) + square(py - pos.y());
        if (d < best) {
            best = d;
            choice = n;
        }
    }
    m_dragTextLabel = choice;
}

// Coordinates attached to the data take the world position, the others the pixel.
void TCustomRChart::dragTextLabel(QPoint pos)
{
    TTextLabel *label = TextLabel(m_dragTextLabel);
    if (!label)
        return;
    double x = 0, y = 0;
    PixelToWorld(label->Layer(), pos.x(), pos.y(), x, y);
    const TTxtLblAttachMode attach = label->AttachToData();
    {
        PaintLockGuard lock(*this);
        label->SetPosX(attach == tlamXOnly || attach == tlamBoth ? x : pos.x());
        label->SetPosY(attach == tlamYOnly || attach == tlamBoth ? y : pos.y());
    }
    fullRepaint();
    if (OnTextLabelMove)
        OnTextLabelMove(this, label);
}

// --- Rectangles -----------------------------------------------------------------------------

// The moving corner follows the mouse inside the plot area; with Isometric the rectangle is
// kept square in pixels.
void TCustomRChart::moveRectangle(QPoint pos)
{
    const int X = limit(pos.x(), m_marginLeft, width() - m_marginRight - m_shadowWidth);
    int Y = pos.y();
    if (m_isometric) {
        const int X0 = m_rectFixed.x(), Y0 = m_rectFixed.y();
        if ((long long)(Y - Y0) * (X - X0) < 1)
            Y = Y0 + X0 - X;
        else
            Y = Y0 + X - X0;
    }
    Y = limit(Y, m_marginTop, height() - m_marginBottom - m_shadowWidth);
    const QRect before = rubberBandOutline();
    m_rectMoving = QPoint(X, Y);
    update(before.united(rubberBandOutline()));
}

// Any button ends the rectangle. Only the left button with a rectangle of some width and
// height zooms (or reports it in maRubberBand); the right button cancels it.
void TCustomRChart::finishRectangle(Qt::MouseButton button)
{
    update(rubberBandOutline());
    m_drawingRect = false;
    const int X0 = m_rectFixed.x(), Y0 = m_rectFixed.y();
    const int X1 = m_rectMoving.x(), Y1 = m_rectMoving.y();
    if (button != Qt::LeftButton || X0 == X1 || Y0 == Y1)
        return;
    // A rectangle finishes in the present mode, or in the one it began in if the present
    // mode draws none.
    const TMouseActMode mode = isRectangleMode(m_mouseAction) ? m_mouseAction : m_rectMode;
    const bool keepDirection = mode == maZoomWindPos || mode == maRubberBand;
    const bool former = m_paintLocked;
    {
        PaintLockGuard lock(*this);
        for (int L = 1; L <= LayerCount; ++L) {
            if (!m_mouseAffectsLayer[std::size_t(L - 1)])
                continue;
            double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
            PixelToWorld(L, X0, Y0, x0, y0);
            PixelToWorld(L, X1, Y1, x1, y1);
            if (keepDirection) {
                const auto [xLo, xHi] = layerRangeX(L);
                const auto [yLo, yHi] = layerRangeY(L);
                if ((x1 < x0 && xLo < xHi) || (x1 > x0 && xLo > xHi))
                    std::swap(x0, x1);
                if ((y1 < y0 && yLo < yHi) || (y1 > y0 && yLo > yHi))
                    std::swap(y0, y1);
            }
            if (m_isometric)
                isometricRange(x0, x1, y0, y1);
            if (mode == maRubberBand) {
                if (OnRubberBand)
                    OnRubberBand(this, L, x0, y0, x1, y1);
            } else {
                applyJointRange(L, x0, y0, x1, y1, false, false);
            }
        }
        if (OnZoomPan)
            OnZoomPan(this);
    }
    endMouseRangeChange(former);
}

// The pixels the outline covers: the rectangle between the two corners, its right and bottom
// edges one pixel in (a rectangle without width or height shows nothing).
QRect TCustomRChart::rubberBandOutline() const
{
    if (!m_drawingRect)
        return {};
    const int l = std::min(m_rectFixed.x(), m_rectMoving.x());
    const int r = std::max(m_rectFixed.x(), m_rectMoving.x());
    const int t = std::min(m_rectFixed.y(), m_rectMoving.y());
    const int b = std::max(m_rectFixed.y(), m_rectMoving.y());
    return rectLTRB(l, t, r, b);
}

// The outline is inverted (exclusive-or with white) over the picture on the screen; the
// off-screen images never carry it, so it vanishes with the next copy of the area.
void TCustomRChart::drawRubberBand(QPainter &painter, const QRect &exposed) const
{
    const QRect band = rubberBandOutline().intersected(designRect(m_fullImage));
    if (band.isEmpty() || !band.intersects(exposed))
        return;
    const QRect outline = rubberBandOutline();
    QImage part = fullImage().copy(scaledRect(band, m_fullImage.devicePixelRatio()));
    {
        Canvas canvas(&part);
        canvas.Pen() = TPen{clWhite, 1, Gfx::psSolid, Gfx::pmXor};
        canvas.Brush().Style = Gfx::bsClear;
        canvas.Rectangle(outline.translated(-band.topLeft()));
    }
    painter.save();
    painter.setClipRect(exposed);
    painter.drawImage(band.topLeft(), part);
    painter.restore();
}

// --- Cursor ---------------------------------------------------------------------------------

// Inside the plot area, unless MouseCursorFixed, the application's cursor shows the mode;
// elsewhere it is the default one. Modes without a cursor of their own leave it as it is.
void TCustomRChart::setMouseCursor(bool inPlot)
{
    int cursor = Screen::crDefault;
    if (inPlot && !m_mouseCursorFixed) {
        switch (m_mouseAction) {
        case maNone:
            cursor = Screen::crCross;
            break;
        case maPan:
        case maPanHoriz:
        case maPanVert:
            cursor = CursorHand;
            break;
        case maZoomWind:
            cursor = CursorZoomWind;
            break;
        case maZoomDrag:
            cursor = CursorZoomDrag;
            break;
        case maZoomWindPos:
            cursor = CursorZoomWindPos;
            break;
        case maRubberBand:
        case maDragCrossH:
        case maDragLabel:
            cursor = Screen::crDefault;
            break;
        default:
            return;
        }
    }
    Screen::setApplicationCursor(cursor);
    m_ownsAppCursor = cursor != Screen::crDefault;
}

void TCustomRChart::releaseMouseCursor()
{
    if (!m_ownsAppCursor)
        return;
    m_ownsAppCursor = false;
    Screen::setApplicationCursor(Screen::crDefault);
}

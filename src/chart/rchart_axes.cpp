// SPDX-License-Identifier: GPL-3.0-or-later
// The axes on the chart's full image: the renderers painted in their order, each one's box
// noted, and the partial repaint of a moved window, which draws only the strips the moved
// axes lie in.
//
// The renderers draw the same whatever was drawn before them (each sets its own pen, brush,
// font and alignment), so a strip drawn again with everything that reaches into it, clipped
// to it, holds exactly what a full frame step would put there.

#include "chart/Zel_rchart.h"
#include "platform/PixelRatio.h"

void TCustomRChart::drawScales()
{
    UpdateMapping();
    if (m_fullImage.isNull())
        return;
    paintAxes(nullptr, nullptr);
}

// Paints the visible renderers in their order (all of them, or within a strip the moved ones
// and those whose last drawing reaches into it) and notes where the repainted ones drew.
void TCustomRChart::paintAxes(const QRect *strip, const AxisFlags *moved)
{
    forwardTickEvents(bool(OnScaleTickDrawn));
    for (int k = 0; k < 2 * LayerCount; ++k) {
        TScale *scale = renderer(k);
        QRect &box = m_axisBoxes[std::size_t(k)];
        if (!scale->Visible()) {
            box = QRect();
            continue;
        }
        const bool anew = !strip || (*moved)[std::size_t(k)];
        if (!anew && !box.intersects(*strip))
            continue;
        if (anew) {
            box = QRect();
            m_fullCanvas.setDrawnBoxRecorder(&box);
        }
        scale->PaintSuspended();
        m_fullCanvas.setDrawnBoxRecorder(nullptr);
    }
}

void TCustomRChart::forwardTickEvents(bool on)
{
    if (on == m_ticksForwarded)
        return;
    m_ticksForwarded = on;
    for (int k = 0; k < 2 * LayerCount; ++k)
        renderer(k)->OnScaleTickDrawn = on ? m_forwardTicks : nullptr;
}

// A moved window changes only the axes whose ranges moved. Each is redrawn in the strip of
// the full image it lies in (its last drawing widened along the axis, since the labels move
// along it), together with everything else that reaches into that strip; if its new drawing
// reaches beyond, the strip grows and is drawn once more. Then the data area follows.
bool TCustomRChart::repaintMovedAxes(const LayerRanges &before)
{
    if (!m_autoRedraw || !canPaint() || m_scaleChangeBatch > 0 || m_scaleChangePending)
        return false;
    const QSize dataSize(plotWidth() + 1, plotHeight() + 1);
    if (m_fullImage.isNull() || !fitsWidget(m_fullImage, this, size()) || m_dataImage.isNull() ||
        !fitsWidget(m_dataImage, this, dataSize))
        return false;
    const LayerRanges after = layerRanges();
    AxisFlags moved{};
    QRect strip;
    for (int k = 0; k < 2 * LayerCount; ++k) {
        const bool xAxis = k < LayerCount;
        const std::size_t at = 4 * std::size_t(xAxis ? k : k - LayerCount) + (xAxis ? 0 : 2);
        moved[std::size_t(k)] = before[at] != after[at] || before[at + 1] != after[at + 1];
        if (!moved[std::size_t(k)] || !renderer(k)->Visible())
            continue;
        const QRect &box = m_axisBoxes[std::size_t(k)];
        // An axis that drew nothing last time gives no strip to start from.
        if (box.isEmpty())
            return false;
        strip |= xAxis ? QRect(0, box.top(), width(), box.height())
                       : QRect(box.left(), 0, box.width(), height());
    }
    UpdateMapping();
    for (int pass = 0; pass < 2 && !strip.isEmpty(); ++pass) {
        drawFrameStep(&strip, &moved);
        QRect reached = strip;
        for (int k = 0; k < 2 * LayerCount; ++k) {
            if (moved[std::size_t(k)])
                reached |= m_axisBoxes[std::size_t(k)];
        }
        if (reached == strip)
            break;
        strip = reached;
    }
    redrawDataArea();
    m_frameDirty = false;
    update(strip);
    update(dataRect());
    return true;
}

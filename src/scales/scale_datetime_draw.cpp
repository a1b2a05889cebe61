// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing of time and date/time axes: the ticks computed by computeTimeAxis and
// computeDateTimeAxis, their labels and date lines, and the messages of ranges that a
// date/time axis cannot show.

#include "scales/Zel_Scale.h"

#include <algorithm>

bool TScale::drawTimeScale(Canvas &canvas, int baseLine)
{
    const TimeAxisLayout layout = computeTimeAxis(m_settings.rangeLow, m_settings.rangeHigh,
                                                  paintMinTicks(), m_settings.shortTicks);
    if (!layout.handled)
        return false;
    for (const AxisTick &tick : layout.ticks) {
        recordTick(tick.value);
        if (tick.isLong) {
            drawTickMark(canvas, baseLine, tick.value, longTickLength());
            // Placed like numeric labels: vertically centred with the height of "0".
            drawTickLabel(canvas, baseLine, tick.value, tick.label);
        } else {
            drawTickMark(canvas, baseLine, tick.value, ShortTickLength);
        }
        raiseTickDrawn(canvas, baseLine, tick.value);
    }
    return true;
}

void TScale::drawDateTimeScale(Canvas &canvas, int baseLine)
{
    const bool vertical = isVertical();
    const DateTimeAxisLayout layout =
        computeDateTimeAxis(m_settings.rangeLow, m_settings.rangeHigh, paintMinTicks(),
                            m_settings.shortTicks, vertical, m_dateFormat->data());

    if (!layout.message.isEmpty()) {
        // Written at the middle of the range instead of ticks. Vertical axes stack the lines
        // beside the base line, the first one a line above the middle; horizontal axes centre
        // the one line on the labels' side of the base line.
        const long long mid = ValueToPixel((m_settings.rangeLow + m_settings.rangeHigh) / 2);
        const long long lineHeight = canvas.TextHeight(QStringLiteral("T"));
        const long long b = baseLine;
        if (vertical) {
            for (qsizetype i = 0; i < layout.message.size(); ++i) {
                const QString &line = layout.message.at(i);
                const long long top = mid + (i - 1) * lineHeight;
                const long long left =
                    m_settings.scaleType == sctYR ? b - 2 - canvas.TextWidth(line) : b + 2;
                textOutClipped(canvas, left, top, line);
            }
        } else {
            const QString &line = layout.message.front();
            const long long top =
                m_settings.scaleType == sctXT ? b + 7 : b - 7 - canvas.TextHeight(line);
            textOutClipped(canvas, mid - canvas.TextWidth(line) / 2, top, line);
        }
        return;
    }

    for (const AxisTick &tick : layout.ticks) {
        recordTick(tick.value);
        if (!tick.isLong) {
            drawTickMark(canvas, baseLine, tick.value, ShortTickLength);
            raiseTickDrawn(canvas, baseLine, tick.value);
            continue;
        }
        drawTickMark(canvas, baseLine, tick.value, longTickLength());
        const int pixel = ValueToPixel(tick.value);
        if (vertical) {
            // Centred on the tick with the label's own height; the date line one line above.
            const int h =
                canvas.TextHeight(tick.label.isEmpty() ? QStringLiteral("0") : tick.label);
            drawVerticalLabel(canvas, pixel, baseLine, tick.label, h);
            if (!tick.dateLine.isEmpty()) {
                const long long above = static_cast<long long>(pixel) - 2 * (h / 2);
                drawVerticalLabel(canvas, static_cast<int>(std::max(above, -(1LL << 30))), baseLine,
                                  tick.dateLine, h);
            }
        } else {
            drawHorizontalLabel(canvas, pixel, baseLine, tick.label);
            if (!tick.dateLine.isEmpty()) {
                // One text height further away from the base line than the time label.
                const int h = canvas.TextHeight(tick.dateLine);
                const int shifted = m_settings.scaleType == sctXT ? baseLine + h : baseLine - h;
                drawHorizontalLabel(canvas, pixel, shifted, tick.dateLine);
            }
        }
        raiseTickDrawn(canvas, baseLine, tick.value);
    }
}

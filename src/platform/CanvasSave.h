// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// CanvasSave keeps parts of a canvas's drawing state for a scope and puts them back when the
// scope ends, as the chart's CanvasOn does with a canvas's device:
//
//     {
//         CanvasSave saved(canvas, CanvasSave::PenColor | CanvasSave::BrushColor);
//         ... draw with other colours ...
//     } // pen and brush colour are what they were
//
// Only the parts named are put back; everything else stays as the scope left it. The pen
// position is put back by MoveTo, which also restarts the pen's dash pattern.

#include "platform/Canvas.h"

class CanvasSave
{
public:
    enum Part : unsigned {
        PenColor = 1u << 0,
        PenWidth = 1u << 1,
        PenStyle = 1u << 2,
        PenMode = 1u << 3,
        Pen = PenColor | PenWidth | PenStyle | PenMode,
        PenPos = 1u << 4,
        BrushColor = 1u << 5,
        BrushStyle = 1u << 6,
        FontColor = 1u << 7,
        TextAlign = 1u << 8,
        BackgroundMode = 1u << 9,
    };

    CanvasSave(Canvas &canvas, unsigned parts)
        : m_canvas(canvas), m_parts(parts), m_pen(canvas.Pen()), m_brush(canvas.Brush()),
          m_penPos(canvas.PenPos()), m_fontColor(canvas.Font().Color()),
          m_alignH(canvas.textAlignH()), m_alignV(canvas.textAlignV()), m_bkMode(canvas.bkMode())
    {
    }

    ~CanvasSave()
    {
        TPen &pen = m_canvas.Pen();
        if (m_parts & PenColor)
            pen.Color = m_pen.Color;
        if (m_parts & PenWidth)
            pen.Width = m_pen.Width;
        if (m_parts & PenStyle)
            pen.Style = m_pen.Style;
        if (m_parts & PenMode)
            pen.Mode = m_pen.Mode;
        if (m_parts & PenPos)
            m_canvas.MoveTo(m_penPos.x(), m_penPos.y());
        if (m_parts & BrushColor)
            m_canvas.Brush().Color = m_brush.Color;
        if (m_parts & BrushStyle)
            m_canvas.Brush().Style = m_brush.Style;
        if (m_parts & FontColor)
            m_canvas.Font().SetColor(m_fontColor);
        if (m_parts & TextAlign)
            m_canvas.setTextAlign(m_alignH, m_alignV);
        if (m_parts & BackgroundMode)
            m_canvas.setBkMode(m_bkMode);
    }

    CanvasSave(const CanvasSave &) = delete;
    CanvasSave &operator=(const CanvasSave &) = delete;

private:
    Canvas &m_canvas;
    const unsigned m_parts;
    const TPen m_pen;
    const TBrush m_brush;
    const QPoint m_penPos;
    const TColor m_fontColor;
    const TextAlignH m_alignH;
    const TextAlignV m_alignV;
    const BkMode m_bkMode;
};

// SPDX-License-Identifier: GPL-3.0-or-later
// The mapping between the world coordinates of the chart's layers and control pixels.
//
// Per layer and axis, pixel = K * world + D (the natural logarithm of the world value on a
// logarithmic axis), evaluated by TAxisMap. The coefficients are kept in long double: the
// products with large world values (day counts, masses times a steep factor) keep their
// sub-pixel part that way.

#include "chart/Zel_rchart.h"

#include <algorithm>
#include <cmath>

namespace {

// K and D of one axis that map the record's RangeLow to the pixel `from` and RangeHigh to the
// pixel `to`. Without extent, or for a range the mapping cannot use (equal ends, non-positive
// ends on a logarithmic axis), every value goes to `fallback`.
void axisCoefficients(const TScaleProps &record, int extent, long double from, long double to,
                      long double fallback, long double &K, long double &D)
{
    K = 0;
    D = fallback;
    if (extent <= 0)
        return;
    long double low = record.RangeLow();
    long double high = record.RangeHigh();
    if (record.Logarithmic()) {
        low = std::log(low);
        high = std::log(high);
    }
    const long double width = high - low;
    const long double k = (to - from) / width;
    const long double d = (from * high - to * low) / width;
    if (std::isfinite(k) && std::isfinite(d) && width != 0) {
        K = k;
        D = d;
    }
}

int clampLayer(int layer)
{
    return std::clamp(layer, 1, TCustomRChart::LayerCount);
}

} // namespace

void TCustomRChart::updateLayerMapping(int layer)
{
    const int w = width();
    const int h = height();
    const long double right = static_cast<long double>(w) - m_marginRight - m_shadowWidth;
    const long double bottom = static_cast<long double>(h) - m_marginBottom - m_shadowWidth;
    LayerMapping &m = m_mapping[layer - 1];
    axisCoefficients(*m_scaleX[layer - 1], plotWidth(), m_marginLeft, right, w / 2.0L, m.KX, m.DX);
    axisCoefficients(*m_scaleY[layer - 1], plotHeight(), bottom, m_marginTop, h / 2.0L, m.KY, m.DY);
}

void TCustomRChart::UpdateMapping()
{
    if (isLoading())
        return;
    for (int layer = 1; layer <= LayerCount; ++layer)
        updateLayerMapping(layer);
}

TAxisMap TCustomRChart::layerMapX(int L) const
{
    const int i = clampLayer(L) - 1;
    const TScaleProps &record = *m_scaleX[i];
    const int floor =
        TAxisMap::lowEndEdge(false, width(), height(), record.RangeLow(), record.RangeHigh());
    return TAxisMap(m_mapping[i].KX, m_mapping[i].DX, record.Logarithmic(), floor,
                    record.RangeLow(), TAxisMap::Rounding::ViaDouble);
}

TAxisMap TCustomRChart::layerMapY(int L) const
{
    const int i = clampLayer(L) - 1;
    const TScaleProps &record = *m_scaleY[i];
    const int floor =
        TAxisMap::lowEndEdge(true, width(), height(), record.RangeLow(), record.RangeHigh());
    return TAxisMap(m_mapping[i].KY, m_mapping[i].DY, record.Logarithmic(), floor,
                    record.RangeLow(), TAxisMap::Rounding::ViaDouble);
}

void TCustomRChart::WorldToPixel(int Layer, double X, double Y, int &PX, int &PY) const
{
    PX = layerMapX(Layer).pixel(X);
    PY = layerMapY(Layer).pixel(Y);
}

void TCustomRChart::PixelToWorld(int Layer, int PX, int PY, double &X, double &Y) const
{
    X = layerMapX(Layer).world(PX);
    Y = layerMapY(Layer).world(PY);
}

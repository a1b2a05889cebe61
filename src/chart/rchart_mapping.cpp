// The mapping between the world coordinates of the chart's layers and control pixels.
//
// Per layer and axis, pixel = K * world + D (the natural logarithm of the world value on a
// logarithmic axis). The coefficients are kept in long double: the products with large world
// values (day counts, masses times a steep factor) keep their sub-pixel part that way.

#include "chart/Zel_rchart.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPixelLimit = 2147483647.0;

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

// One coordinate: the sum is formed in long double, stored as a double, limited to the int
// range and rounded to the nearest integer, halves to even.
int toPixel(long double K, long double D, double value, const TScaleProps &record, int lowEdge,
            int highEdge)
{
    double v;
    if (record.Logarithmic()) {
        if (value > kLogAxisFloor)
            v = static_cast<double>(K * std::log(static_cast<long double>(value)) + D);
        else
            v = record.RangeHigh() >= record.RangeLow() ? lowEdge : highEdge;
    } else {
        v = static_cast<double>(K * value + D);
    }
    if (std::isnan(v))
        return 0;
    v = std::clamp(v, -kPixelLimit, kPixelLimit);
    return static_cast<int>(std::nearbyint(v));
}

double toWorld(long double K, long double D, int pixel, const TScaleProps &record)
{
    if (K == 0)
        return record.RangeLow();
    const long double v = (pixel - D) / K;
    return static_cast<double>(record.Logarithmic() ? std::exp(v) : v);
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

const TCustomRChart::LayerMapping &TCustomRChart::layerMapping(int L) const
{
    return m_mapping[L >= 1 && L <= LayerCount ? L - 1 : 0];
}

void TCustomRChart::WorldToPixel(int Layer, double X, double Y, int &PX, int &PY) const
{
    const int i = clampLayer(Layer) - 1;
    const LayerMapping &m = m_mapping[i];
    PX = toPixel(m.KX, m.DX, X, *m_scaleX[i], 0, width());
    PY = toPixel(m.KY, m.DY, Y, *m_scaleY[i], height(), 0);
}

void TCustomRChart::PixelToWorld(int Layer, int PX, int PY, double &X, double &Y) const
{
    const int i = clampLayer(Layer) - 1;
    const LayerMapping &m = m_mapping[i];
    X = toWorld(m.KX, m.DX, PX, *m_scaleX[i]);
    Y = toWorld(m.KY, m.DY, PY, *m_scaleY[i]);
}

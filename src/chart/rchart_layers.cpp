// The world ranges of the chart's 16 layers.

#include "chart/Zel_rchart.h"

#include <cmath>

namespace {

// Widens a degenerate range (lo = hi) to minRange about its value. Returns whether it did.
bool widenDegenerate(double &lo, double &hi, double minRange)
{
    if (lo != hi)
        return false;
    hi += minRange / 2;
    lo -= minRange / 2;
    return true;
}

// A range narrower than the axis's MinRange leaves the present range in place. A range that
// was just widened to MinRange is taken as long as it has any width at all: rounding at the
// bounds' magnitude can make it a hair narrower than MinRange, and rejecting it then would
// leave a stale range behind a perfectly sensible request. Non-finite bounds are refused, as
// they would make the mapping meaningless.
template <typename Axis> void applyRange(Axis &axis, double lo, double hi, bool widened)
{
    if (!std::isfinite(lo) || !std::isfinite(hi))
        return;
    const bool tooNarrow = widened ? !(hi > lo) : std::abs(hi - lo) < axis.MinRange;
    if (tooNarrow)
        return;
    axis.RangeLow = lo;
    axis.RangeHigh = hi;
}

} // namespace

void TCustomRChart::SetLayerRange(int Layer, double XLo, double YLo, double XHi, double YHi)
{
    if (Layer < 0 || Layer > LayerCount)
        return;
    const int first = Layer == 0 ? 1 : Layer;
    const int last = Layer == 0 ? LayerCount : Layer;
    for (int layer = first; layer <= last; ++layer) {
        LayerRanges &ranges = m_layers[layer - 1];
        double xLo = XLo, xHi = XHi, yLo = YLo, yHi = YHi;
        const bool xWidened = widenDegenerate(xLo, xHi, ranges.x.MinRange);
        const bool yWidened = widenDegenerate(yLo, yHi, ranges.y.MinRange);
        applyRange(ranges.x, xLo, xHi, xWidened);
        applyRange(ranges.y, yLo, yHi, yWidened);
    }
    if (!isLoading())
        repaintIfAutoRedraw();
}

std::pair<double, double> TCustomRChart::layerRangeX(int layer) const
{
    const AxisRange &axis = m_layers[(layer >= 1 && layer <= LayerCount ? layer : 1) - 1].x;
    return {axis.RangeLow, axis.RangeHigh};
}

std::pair<double, double> TCustomRChart::layerRangeY(int layer) const
{
    const AxisRange &axis = m_layers[(layer >= 1 && layer <= LayerCount ? layer : 1) - 1].y;
    return {axis.RangeLow, axis.RangeHigh};
}

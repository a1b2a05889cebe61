// SPDX-License-Identifier: GPL-3.0-or-later
// The chart's 16 layers: their axis records and hidden axis renderers, handing the records to
// the renderers, layer ranges (SetLayerRange) with widening, the isometric correction and the
// coupling of layers (TJointLayers), and the handler of record changes.

#include "chart/Zel_rchart.h"

#include <algorithm>
#include <cmath>

namespace {

// Colour of both axes of layer L by default: entry L - 1.
constexpr std::array<TColor, TCustomRChart::LayerCount> kLayerColors = {
    0,        128, 32768, 32896, 8388608,  8388736,  8421376,  8421504,
    12632256, 255, 65280, 65535, 16711680, 16711935, 16776960, 16777215};

int layerIndex(int L)
{
    return (L >= 1 && L <= TCustomRChart::LayerCount ? L : 1) - 1;
}

// Sets a renderer property only when it differs: handing a record runs after every range
// change, and most of its fields are unchanged then.
template <typename T, typename V>
void handOver(TScale &scale, T (TScale::*get)() const, void (TScale::*set)(V), const T &value)
{
    if ((scale.*get)() != value)
        (scale.*set)(value);
}

// Writes one axis of a range into its record (step "apply" of SetLayerRange). A range
// narrower than MinRange leaves the record alone, except one that was just widened by
// MinRange from equal ends: rounding at the bounds' magnitude can leave it a hair narrower
// than MinRange, and it is still the range that was asked for. Non-finite bounds are refused.
// On a logarithmic axis each end below 1e-100 is refused on its own.
void applyAxisRange(TScaleProps &record, double low, double high, bool widened)
{
    if (!std::isfinite(low) || !std::isfinite(high))
        return;
    const double width = std::abs(high - low);
    if (widened ? !(width > 0) : width < record.MinRange())
        return;
    if (record.Logarithmic()) {
        record.setRangeDirect(low >= kLogAxisFloor ? low : record.RangeLow(),
                              high >= kLogAxisFloor ? high : record.RangeHigh());
    } else {
        record.setRangeDirect(low, high);
    }
}

// Widens equal ends: by the factor 1.1 on a logarithmic axis, by MinRange on a linear one.
// True only for the MinRange widening, whose result may miss MinRange by rounding alone; the
// factor can leave small values far narrower than MinRange, and such a range is refused.
bool widenDegenerate(const TScaleProps &record, double &low, double &high)
{
    if (low != high)
        return false;
    if (record.Logarithmic()) {
        high *= 1.1;
        low /= 1.1;
        return false;
    }
    high += record.MinRange() / 2;
    low -= record.MinRange() / 2;
    return true;
}

} // namespace

// --- Records and renderers ------------------------------------------------------------------

void TCustomRChart::createLayers()
{
    m_jointLayers = new TJointLayers(this);
    m_jointLayers->OnChange = [this](QObject *) { invalidatePicture(); };
    m_jointLayers->OnJoin = [this](TJointLayers *, TJointLayers::Axis axis, int layer) {
        layersJoined(axis, layer);
    };

    m_forwardTicks = [this](QObject *, Canvas &canvas, TScaleType type, double value, int chartX,
                            int chartY) {
        if (OnScaleTickDrawn)
            OnScaleTickDrawn(this, canvas, type, value, chartX, chartY);
    };
    const auto makeRenderer = [&](const QString &name) {
        auto *scale = new TScale(this);
        scale->setObjectName(name);
        // Drawn only onto the chart's full image, never shown as a window of its own: hidden
        // explicitly, so that showing the chart does not show it.
        scale->SetEmbedded(true);
        scale->SetParentFont(false); // the axis record's font, handed on before each paint
        scale->QWidget::setVisible(false);
        scale->setAttribute(Qt::WA_TransparentForMouseEvents);
        scale->SetTargetCanvas(&m_fullCanvas, 0, 0);
        scale->OnScaleTickDrawn = m_forwardTicks;
        return scale;
    };

    for (int L = 1; L <= LayerCount; ++L) {
        const int i = L - 1;
        const bool odd = L % 2 == 1;
        m_rendererX[i] = makeRenderer(QStringLiteral("RC_FScale_X_%1").arg(L));
        m_rendererY[i] = makeRenderer(QStringLiteral("RC_FScale_Y_%1").arg(L));

        auto *x = new TScalePropsHoriz(this);
        x->setLoadingOwner(this);
        x->SetColorScale(kLayerColors[i]);
        x->SetScaleLocation(odd ? slBottom : slTop);
        x->SetScalePos((L - 1) / 2 * 30);
        x->OnChange = [this](QObject *) { scaleChanged(); };
        m_scaleX[i] = x;

        auto *y = new TScalePropsVert(this);
        y->setLoadingOwner(this);
        y->SetColorScale(kLayerColors[i]);
        y->SetScaleLocation(odd ? slLeft : slRight);
        y->SetScalePos((L - 1) / 2 * 50);
        y->OnChange = [this](QObject *) { scaleChanged(); };
        m_scaleY[i] = y;
    }
}

TScalePropsHoriz *TCustomRChart::LayerScaleX(int L) const
{
    return m_scaleX[layerIndex(L)];
}

TScalePropsVert *TCustomRChart::LayerScaleY(int L) const
{
    return m_scaleY[layerIndex(L)];
}

TScale *TCustomRChart::layerRendererX(int L) const
{
    return m_rendererX[layerIndex(L)];
}

TScale *TCustomRChart::layerRendererY(int L) const
{
    return m_rendererY[layerIndex(L)];
}

std::pair<double, double> TCustomRChart::layerRangeX(int layer) const
{
    const TScaleProps &record = *LayerScaleX(layer);
    return {record.RangeLow(), record.RangeHigh()};
}

std::pair<double, double> TCustomRChart::layerRangeY(int layer) const
{
    const TScaleProps &record = *LayerScaleY(layer);
    return {record.RangeLow(), record.RangeHigh()};
}

// Hands a record to its renderer: the scale type with the margin that puts the axis line at
// the plot edge (moved outward by ScalePos), the extent along the axis, and every setting.
void TCustomRChart::handRecord(int layer, bool xAxis)
{
    const int i = layer - 1;
    const TScaleProps &r = xAxis ? static_cast<const TScaleProps &>(*m_scaleX[i]) : *m_scaleY[i];
    TScale &s = xAxis ? *m_rendererX[i] : *m_rendererY[i];
    const int w = width();
    const int h = height();

    const TScaleType type = r.ScaleType();
    handOver(s, &TScale::ScaleType, &TScale::SetScaleType, type);
    const auto margin = [](int value) { return std::max(value, 0); };
    switch (type) {
    case sctXB:
        handOver(s, &TScale::MarginBottom, &TScale::SetMarginBottom,
                 margin(r.ScalePos() + h - m_marginTop - 1));
        break;
    case sctXT:
        handOver(s, &TScale::MarginTop, &TScale::SetMarginTop,
                 margin(r.ScalePos() + h - m_marginBottom - m_shadowWidth));
        break;
    case sctYL:
        handOver(s, &TScale::MarginLeft, &TScale::SetMarginLeft,
                 margin(r.ScalePos() + w - m_marginRight - m_shadowWidth));
        break;
    case sctYR:
        handOver(s, &TScale::MarginRight, &TScale::SetMarginRight,
                 margin(r.ScalePos() + w - m_marginLeft - 1));
        break;
    }
    if (xAxis) {
        handOver(s, &TScale::MarginLeft, &TScale::SetMarginLeft, margin(m_marginLeft));
        handOver(s, &TScale::MarginRight, &TScale::SetMarginRight,
                 margin(m_marginRight + m_shadowWidth - 1));
    } else {
        handOver(s, &TScale::MarginTop, &TScale::SetMarginTop, margin(m_marginTop));
        handOver(s, &TScale::MarginBottom, &TScale::SetMarginBottom,
                 margin(m_marginBottom + m_shadowWidth - 1));
    }

    // A renderer refuses a logarithmic mapping over a range that reaches zero, so the range
    // goes in after switching off and before switching on. Setting one end to the value of
    // the other would make the renderer move that other end, so the order of the two ends
    // avoids it.
    if (!r.Logarithmic() && s.Logarithmic())
        s.SetLogarithmic(false);
    const double low = r.RangeLow();
    const double high = r.RangeHigh();
    if (s.RangeLow() != low || s.RangeHigh() != high) {
        if (low == s.RangeHigh()) {
            s.SetRangeHigh(high);
            s.SetRangeLow(low);
        } else {
            s.SetRangeLow(low);
            s.SetRangeHigh(high);
        }
    }
    handOver(s, &TScale::LabelType, &TScale::SetLabelType, r.LabelType());
    handOver(s, &TScale::Logarithmic, &TScale::SetLogarithmic, r.Logarithmic());
    handOver(s, &TScale::DecPlaces, &TScale::SetDecPlaces, r.DecPlaces());

    if (s.Visible() != r.Visible())
        s.setVisible(r.Visible());
    handOver(s, &TScale::Caption, &TScale::SetCaption, r.Caption());
    handOver(s, &TScale::CaptionPosX, &TScale::SetCaptionPosX, r.CaptionPosX());
    handOver(s, &TScale::CaptionPosY, &TScale::SetCaptionPosY, r.CaptionPosY());
    handOver(s, &TScale::CaptionAlignment, &TScale::SetCaptionAlignment, r.CaptionAlignment());
    handOver(s, &TScale::CaptionAnchor, &TScale::SetCaptionAnchor, r.CaptionAnchor());
    handOver(s, &TScale::ColorScale, &TScale::SetColorScale, r.ColorScale());
    handOver(s, &TScale::ShortTicks, &TScale::SetShortTicks, r.ShortTicks());
    handOver(s, &TScale::MinTicks, &TScale::SetMinTicks, r.MinTicks());
    handOver(s, &TScale::ScaleInscript, &TScale::SetScaleInscript, r.ScaleInscript());
    handOver(s, &TScale::UserTickText, &TScale::SetUserTickText, r.UserTickText());
    // Both copy only what differs.
    s.SetFont(r.Font());
    s.SetDateFormat(r.DateFormat());
}

void TCustomRChart::handAllRecords()
{
    for (int L = 1; L <= LayerCount; ++L) {
        handRecord(L, true);
        handRecord(L, false);
    }
}

void TCustomRChart::resizeRenderers()
{
    for (int i = 0; i < LayerCount; ++i) {
        m_rendererX[i]->SetBounds(0, 0, width(), height());
        m_rendererY[i]->SetBounds(0, 0, width(), height());
    }
}

// --- Record changes -------------------------------------------------------------------------

void TCustomRChart::scaleChanged()
{
    if (m_scaleChangeBatch > 0 || isLoading()) {
        m_scaleChangePending = true;
        return;
    }
    runScaleChange(true);
}

// Hands every record to its renderer and applies every layer's present ranges again, so that
// the renderers, the mapping and the layers coupled to others follow the records.
void TCustomRChart::runScaleChange(bool repaint)
{
    m_scaleChangePending = false;
    {
        PaintLockGuard lock(*this);
        handAllRecords();
        for (int L = 1; L <= LayerCount; ++L) {
            const TScaleProps &x = *m_scaleX[L - 1];
            const TScaleProps &y = *m_scaleY[L - 1];
            applyJointRange(L, x.RangeLow(), y.RangeLow(), x.RangeHigh(), y.RangeHigh(), false,
                            false);
        }
    }
    if (repaint)
        invalidatePicture();
}

// After a batch of record changes: the handler's work if a change is pending (and the chart
// is not loading), else at least every record handed to its renderer. Inside an enclosing
// batch nothing happens yet: its end settles.
void TCustomRChart::settleScaleChanges()
{
    if (m_scaleChangeBatch > 0)
        return;
    if (m_scaleChangePending && !isLoading())
        runScaleChange(false);
    else
        handAllRecords();
}

// --- Ranges ---------------------------------------------------------------------------------

void TCustomRChart::SetLayerRange(int Layer, double XLo, double YLo, double XHi, double YHi)
{
    if (Layer < 0 || Layer > LayerCount)
        return;
    const LayerRanges before = layerRanges();
    const bool frameWasCurrent = !m_frameDirty;
    {
        PaintLockGuard lock(*this);
        const int first = Layer == 0 ? 1 : Layer;
        const int last = Layer == 0 ? LayerCount : Layer;
        for (int L = first; L <= last; ++L) {
            const TScaleProps &x = *m_scaleX[L - 1];
            const TScaleProps &y = *m_scaleY[L - 1];
            double xLo = XLo, xHi = XHi, yLo = YLo, yHi = YHi;
            const bool xWidened = widenDegenerate(x, xLo, xHi);
            bool yWidened = widenDegenerate(y, yLo, yHi);
            if (m_isometric && isometricRange(xLo, xHi, yLo, yHi))
                yWidened = false;
            applyJointRange(L, xLo, yLo, xHi, yHi, xWidened, yWidened);
        }
    }
    if (isLoading())
        return;
    // The display update sets the same window ten times a second. When no range moved, the
    // margins and axes already on the full image are exactly what a new frame step would
    // draw, so only the data area is redrawn; when ranges moved (a slider dragged), only the
    // strips of the moved axes are drawn again. Handlers that draw on the axes are given their
    // full repaint every time, since what they draw may change.
    const bool handlers = OnScalesRendered || OnScaleTickDrawn;
    if (layerRanges() == before && !m_frameDirty && !handlers)
        repaintDataArea();
    else if (!(frameWasCurrent && !handlers && repaintMovedAxes(before)))
        invalidatePicture();
}

TCustomRChart::LayerRanges TCustomRChart::layerRanges() const
{
    LayerRanges ranges{};
    for (std::size_t i = 0; i < std::size_t(LayerCount); ++i) {
        ranges[4 * i] = m_scaleX[i]->RangeLow();
        ranges[4 * i + 1] = m_scaleX[i]->RangeHigh();
        ranges[4 * i + 2] = m_scaleY[i]->RangeLow();
        ranges[4 * i + 3] = m_scaleY[i]->RangeHigh();
    }
    return ranges;
}

// The coupling steps of SetLayerRange: an axis controlled by another layer keeps its present
// range; the range is applied; then every layer coupled to this one takes its ranges from
// the layers that control it.
void TCustomRChart::applyJointRange(int layer, double XLo, double YLo, double XHi, double YHi,
                                    bool xWidened, bool yWidened)
{
    const TJointLayers &joint = *m_jointLayers;
    const TScaleProps &x = *m_scaleX[layer - 1];
    const TScaleProps &y = *m_scaleY[layer - 1];
    if (joint.ControlledBy(TJointLayers::Axis::X, layer) != layer) {
        XLo = x.RangeLow();
        XHi = x.RangeHigh();
        xWidened = false;
    }
    if (joint.ControlledBy(TJointLayers::Axis::Y, layer) != layer) {
        YLo = y.RangeLow();
        YHi = y.RangeHigh();
        yWidened = false;
    }
    applyLayerRange(layer, XLo, YLo, XHi, YHi, xWidened, yWidened);

    for (int K = 1; K <= LayerCount; ++K) {
        if (K == layer)
            continue;
        const int byX = joint.ControlledBy(TJointLayers::Axis::X, K);
        const int byY = joint.ControlledBy(TJointLayers::Axis::Y, K);
        if (byX != layer && byY != layer)
            continue;
        // Values copied in by a whole assignment are not checked; an impossible controller
        // counts as the layer itself.
        const TScaleProps &cx = *m_scaleX[(byX >= 1 && byX <= LayerCount ? byX : K) - 1];
        const TScaleProps &cy = *m_scaleY[(byY >= 1 && byY <= LayerCount ? byY : K) - 1];
        applyLayerRange(K, cx.RangeLow(), cy.RangeLow(), cx.RangeHigh(), cy.RangeHigh());
    }
}

// Writes a range into a layer's records, hands both to their renderers and recomputes the
// mapping.
void TCustomRChart::applyLayerRange(int layer, double XLo, double YLo, double XHi, double YHi,
                                    bool xWidened, bool yWidened)
{
    applyAxisRange(*m_scaleX[layer - 1], XLo, XHi, xWidened);
    applyAxisRange(*m_scaleY[layer - 1], YLo, YHi, yWidened);
    handRecord(layer, true);
    handRecord(layer, false);
    UpdateMapping();
}

// Fits a y range to an x range: the same midpoint, and a height that makes one world unit as
// long in y as in x on this device. False (and nothing changed) while the plot has no area.
bool TCustomRChart::isometricRange(double xLo, double xHi, double &yLo, double &yHi) const
{
    const int pw1 = plotWidth() + 1;
    const int ph1 = plotHeight() + 1;
    if (pw1 <= 0 || ph1 <= 0 || m_aspectX <= 0 || m_aspectY <= 0)
        return false;
    const double mid = (yHi + yLo) / 2;
    const double half = (xHi - xLo) * ph1 / pw1 * m_aspectY / m_aspectX / 2;
    yHi = mid + half;
    yLo = mid - half;
    return true;
}

// The isometric correction of every layer through the records' setters, as one batch of
// record changes (settleScaleChanges finishes it).
void TCustomRChart::correctIsometricLayers()
{
    ++m_scaleChangeBatch;
    for (int i = 0; i < LayerCount; ++i) {
        const TScaleProps &x = *m_scaleX[i];
        TScaleProps &y = *m_scaleY[i];
        double yLo = y.RangeLow();
        double yHi = y.RangeHigh();
        if (isometricRange(x.RangeLow(), x.RangeHigh(), yLo, yHi)) {
            y.SetRangeHigh(yHi);
            y.SetRangeLow(yLo);
        }
    }
    --m_scaleChangeBatch;
}

void TCustomRChart::SetIsometric(bool on)
{
    m_isometric = on;
    if (!on)
        return;
    correctIsometricLayers();
    settleScaleChanges();
    UpdateMapping();
    invalidatePicture();
}

// --- Joint layers ---------------------------------------------------------------------------

void TCustomRChart::SetJointLayers(const TJointLayers *value)
{
    if (value)
        m_jointLayers->Assign(*value);
}

// A setter of JointLayers has coupled an axis of layer to another layer: the layer takes the
// controller's range on that axis and keeps its own on the other.
void TCustomRChart::layersJoined(TJointLayers::Axis axis, int layer)
{
    const int by = m_jointLayers->ControlledBy(axis, layer);
    const bool xAxis = axis == TJointLayers::Axis::X;
    const TScaleProps &x = *m_scaleX[(xAxis ? by : layer) - 1];
    const TScaleProps &y = *m_scaleY[(xAxis ? layer : by) - 1];
    {
        PaintLockGuard lock(*this);
        applyLayerRange(layer, x.RangeLow(), y.RangeLow(), x.RangeHigh(), y.RangeHigh());
    }
    invalidatePicture();
}

// The axis records of the chart's layers and the coupling of layers.

#include "chart/rchart_scaleprops.h"

#include "chart/Zel_rchart.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

// --- TScaleProps ----------------------------------------------------------------------------

TScaleProps::TScaleProps(TScaleType type, QObject *parent)
    : QObject(parent), m_dateFormat(new TDTLabel(this)), m_font(new TFont(this)), m_scaleType(type)
{
    m_dateFormat->OnChange = [this](QObject *) {
        if (!m_muted)
            changed();
    };
    m_font->OnChange = [this](QObject *) {
        if (!m_muted)
            changed();
    };
}

TScaleProps::~TScaleProps()
{
    // The children go after this destructor; nothing of theirs may reach the record then.
    m_dateFormat->OnChange = nullptr;
    m_font->OnChange = nullptr;
}

void TScaleProps::changed()
{
    if (OnChange)
        OnChange(this);
}

void TScaleProps::setScaleTypeValue(TScaleType type)
{
    m_scaleType = type;
}

void TScaleProps::SetCaption(const QString &value)
{
    m_caption = value;
    changed();
}

void TScaleProps::SetCaptionPosX(int value)
{
    m_captionPosX = value;
    changed();
}

void TScaleProps::SetCaptionPosY(int value)
{
    m_captionPosY = value;
    changed();
}

void TScaleProps::SetCaptionAlignment(TAlignment value)
{
    m_captionAlignment = value;
    changed();
}

void TScaleProps::SetCaptionAnchor(TScaleUnitAnchor value)
{
    m_captionAnchor = value;
    changed();
}

void TScaleProps::SetColorScale(TColor value)
{
    m_colorScale = value;
    changed();
}

void TScaleProps::SetDateFormat(const TDTLabel *value)
{
    if (value) {
        m_muted = true;
        m_dateFormat->Assign(*value);
        m_muted = false;
    }
    changed();
}

void TScaleProps::SetDecPlaces(int value)
{
    m_decPlaces = std::clamp(value, -3, 12);
    changed();
}

void TScaleProps::SetFont(const TFont *value)
{
    if (value) {
        m_muted = true;
        m_font->Assign(*value);
        m_muted = false;
    }
    changed();
}

void TScaleProps::SetLogarithmic(bool value)
{
    // Stored values arrive in any order while loading, so the check waits until they are in.
    if (value && !isLoading()) {
        const bool fits = m_rangeLow >= kLogAxisFloor && m_rangeHigh >= kLogAxisFloor &&
                          m_labelType != ftDateTime;
        if (!fits)
            value = false;
    }
    m_logarithmic = value;
    changed();
}

void TScaleProps::SetLabelType(TFigType value)
{
    m_labelType = value;
    if (value == ftDateTime)
        m_logarithmic = false;
    else if (value == ftTime)
        m_decPlaces = 4;
    changed();
}

void TScaleProps::SetMinTicks(int value)
{
    m_minTicks = value;
    changed();
}

void TScaleProps::SetMinRange(double value)
{
    if (!(value > kLogAxisFloor) || !std::isfinite(value))
        return;
    m_minRange = value;
    if (!(std::abs(m_rangeHigh - m_rangeLow) < value))
        return;
    const double mid = (m_rangeLow + m_rangeHigh) / 2;
    double low = mid - value / 2;
    double high = mid + value / 2;
    // On a logarithmic axis the widening must not reach zero or below: the range then grows
    // upward from its lower end instead.
    if (m_logarithmic && low < kLogAxisFloor) {
        low = std::min(m_rangeLow, m_rangeHigh);
        high = low + value;
    }
    m_rangeLow = low;
    m_rangeHigh = high;
    changed();
}

void TScaleProps::SetRangeLow(double value)
{
    // A non-positive bound has no place on a logarithmic axis, however close it is to the
    // other end; NaN and infinities have none on any axis.
    const bool refused = !std::isfinite(value) || (m_logarithmic && value < kLogAxisFloor);
    if (!refused) {
        if (std::abs(m_rangeHigh - value) < m_minRange) {
            m_rangeLow = value;
            m_rangeHigh = value + m_minRange;
        } else {
            m_rangeLow = value;
        }
    }
    changed();
}

void TScaleProps::SetRangeHigh(double value)
{
    bool refused = !std::isfinite(value) || (m_logarithmic && value < kLogAxisFloor);
    const bool tooClose = std::abs(m_rangeLow - value) < m_minRange;
    // Pulling the low end down by MinRange must not take a logarithmic axis to zero or below.
    if (tooClose && m_logarithmic && value - m_minRange < kLogAxisFloor)
        refused = true;
    if (!refused) {
        if (tooClose) {
            m_rangeHigh = value;
            m_rangeLow = value - m_minRange;
        } else {
            m_rangeHigh = value;
        }
    }
    changed();
}

void TScaleProps::SetShortTicks(bool value)
{
    m_shortTicks = value;
    changed();
}

void TScaleProps::SetScaleInscript(const QString &value)
{
    m_scaleInscript = value;
    changed();
}

void TScaleProps::SetScalePos(int value)
{
    m_scalePos = value;
    changed();
}

void TScaleProps::SetUserTickText(const QString &value)
{
    m_userTickText = value;
    changed();
}

void TScaleProps::SetVisible(bool value)
{
    m_visible = value;
    changed();
}

void TScaleProps::Assign(const TScaleProps &source)
{
    if (&source == this)
        return;
    m_caption = source.m_caption;
    m_captionPosX = source.m_captionPosX;
    m_captionPosY = source.m_captionPosY;
    m_captionAlignment = source.m_captionAlignment;
    m_captionAnchor = source.m_captionAnchor;
    m_colorScale = source.m_colorScale;
    m_decPlaces = source.m_decPlaces;
    m_logarithmic = source.m_logarithmic;
    m_labelType = source.m_labelType;
    m_minTicks = source.m_minTicks;
    m_minRange = source.m_minRange;
    m_rangeLow = source.m_rangeLow;
    m_rangeHigh = source.m_rangeHigh;
    m_shortTicks = source.m_shortTicks;
    m_scaleInscript = source.m_scaleInscript;
    m_scalePos = source.m_scalePos;
    m_userTickText = source.m_userTickText;
    m_visible = source.m_visible;
    if (source.isHorizontal() == isHorizontal())
        m_scaleType = source.m_scaleType;
    m_muted = true;
    m_font->Assign(*source.m_font);
    m_dateFormat->Assign(*source.m_dateFormat);
    m_muted = false;
    changed();
}

TScalePropsHoriz::TScalePropsHoriz(QObject *parent) : TScaleProps(sctXT, parent) {}

void TScalePropsHoriz::SetScaleLocation(TScaleLocHoriz value)
{
    setScaleTypeValue(value == slTop ? sctXB : sctXT);
    changed();
}

TScalePropsVert::TScalePropsVert(QObject *parent) : TScaleProps(sctYR, parent) {}

void TScalePropsVert::SetScaleLocation(TScaleLocVert value)
{
    setScaleTypeValue(value == slRight ? sctYL : sctYR);
    changed();
}

// --- TJointLayers ---------------------------------------------------------------------------

TJointLayers::TJointLayers(QObject *parent) : QObject(parent)
{
    for (int i = 0; i < LayerCount; ++i)
        m_x[i] = m_y[i] = i + 1;
}

int TJointLayers::ControlledBy(Axis axis, int layer) const
{
    if (layer < 1 || layer > LayerCount)
        layer = 1;
    return table(axis)[layer - 1];
}

void TJointLayers::SetControlledBy(Axis axis, int layer, int destination)
{
    if (layer < 1 || layer > LayerCount)
        return;
    std::array<int, LayerCount> &by = table(axis);
    if (destination < 1 || destination > LayerCount)
        throw EZelRChartError("Destination layer " + std::to_string(destination) +
                              " is out of range");
    if (destination == layer) {
        by[layer - 1] = layer;
        return;
    }
    if (by[destination - 1] != destination)
        throw EZelRChartError("Destination layer " + std::to_string(destination) +
                              " is already joined");
    std::string dependants;
    for (int other = 1; other <= LayerCount; ++other) {
        if (other != layer && by[other - 1] == layer)
            dependants += (dependants.empty() ? "" : ", ") + std::to_string(other);
    }
    if (!dependants.empty())
        throw EZelRChartError("Layer " + std::to_string(layer) + " is joined by other layers (" +
                              dependants + ")");
    by[layer - 1] = destination;
    if (OnJoin)
        OnJoin(this, axis, layer);
}

void TJointLayers::Assign(const TJointLayers &source)
{
    m_x = source.m_x;
    m_y = source.m_y;
    if (OnChange)
        OnChange(this);
}

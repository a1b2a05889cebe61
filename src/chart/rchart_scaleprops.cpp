// SPDX-License-Identifier: GPL-3.0-or-later
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
    m_settings.caption = value;
    changed();
}

void TScaleProps::SetCaptionPosX(int value)
{
    m_settings.captionPosX = value;
    changed();
}

void TScaleProps::SetCaptionPosY(int value)
{
    m_settings.captionPosY = value;
    changed();
}

void TScaleProps::SetCaptionAlignment(TAlignment value)
{
    m_settings.captionAlignment = value;
    changed();
}

void TScaleProps::SetCaptionAnchor(TScaleUnitAnchor value)
{
    m_settings.captionAnchor = value;
    changed();
}

void TScaleProps::SetColorScale(TColor value)
{
    m_settings.colorScale = value;
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
    m_settings.decPlaces = std::clamp(value, -3, 12);
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
        const bool fits = m_settings.rangeLow >= kLogAxisFloor &&
                          m_settings.rangeHigh >= kLogAxisFloor &&
                          m_settings.labelType != ftDateTime;
        if (!fits)
            value = false;
    }
    m_settings.logarithmic = value;
    changed();
}

void TScaleProps::SetLabelType(TFigType value)
{
    m_settings.labelType = value;
    if (value == ftDateTime)
        m_settings.logarithmic = false;
    else if (value == ftTime)
        m_settings.decPlaces = 4;
    changed();
}

void TScaleProps::SetMinTicks(int value)
{
    m_settings.minTicks = value;
    changed();
}

void TScaleProps::SetMinRange(double value)
{
    if (!(value > kLogAxisFloor) || !std::isfinite(value))
        return;
    m_settings.minRange = value;
    if (!(std::abs(m_settings.rangeHigh - m_settings.rangeLow) < value))
        return;
    const double mid = (m_settings.rangeLow + m_settings.rangeHigh) / 2;
    double low = mid - value / 2;
    double high = mid + value / 2;
    // On a logarithmic axis the widening must not reach zero or below: the range then grows
    // upward from its lower end instead.
    if (m_settings.logarithmic && low < kLogAxisFloor) {
        low = std::min(m_settings.rangeLow, m_settings.rangeHigh);
        high = low + value;
    }
    m_settings.rangeLow = low;
    m_settings.rangeHigh = high;
    changed();
}

void TScaleProps::SetRangeLow(double value)
{
    // A non-positive bound has no place on a logarithmic axis, however close it is to the
    // other end; NaN and infinities have none on any axis.
    const bool refused = !std::isfinite(value) || (m_settings.logarithmic && value < kLogAxisFloor);
    if (!refused) {
        if (std::abs(m_settings.rangeHigh - value) < m_settings.minRange) {
            m_settings.rangeLow = value;
            m_settings.rangeHigh = value + m_settings.minRange;
        } else {
            m_settings.rangeLow = value;
        }
    }
    changed();
}

void TScaleProps::SetRangeHigh(double value)
{
    bool refused = !std::isfinite(value) || (m_settings.logarithmic && value < kLogAxisFloor);
    const bool tooClose = std::abs(m_settings.rangeLow - value) < m_settings.minRange;
    // Pulling the low end down by MinRange must not take a logarithmic axis to zero or below.
    if (tooClose && m_settings.logarithmic && value - m_settings.minRange < kLogAxisFloor)
        refused = true;
    if (!refused) {
        if (tooClose) {
            m_settings.rangeHigh = value;
            m_settings.rangeLow = value - m_settings.minRange;
        } else {
            m_settings.rangeHigh = value;
        }
    }
    changed();
}

void TScaleProps::SetShortTicks(bool value)
{
    m_settings.shortTicks = value;
    changed();
}

void TScaleProps::SetScaleInscript(const QString &value)
{
    m_settings.scaleInscript = value;
    changed();
}

void TScaleProps::SetScalePos(int value)
{
    m_settings.scalePos = value;
    changed();
}

void TScaleProps::SetUserTickText(const QString &value)
{
    m_settings.userTickText = value;
    changed();
}

void TScaleProps::SetVisible(bool value)
{
    m_settings.visible = value;
    changed();
}

void TScaleProps::Assign(const TScaleProps &source)
{
    if (&source == this)
        return;
    m_settings = source.m_settings;
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

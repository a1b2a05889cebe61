// SPDX-License-Identifier: GPL-3.0-or-later
// TDTLabel, the step tables of time and date/time axes and the choice of the date/time level.

#include "scales/Zel_ScaleDateTime.h"

#include "platform/Component.h"

#include <cmath>

// ---- TDTLabel --------------------------------------------------------------------------------

TDTLabel::TDTLabel(QObject *parent) : QObject(parent) {}

void TDTLabel::changed()
{
    if (OnChange)
        OnChange(this);
}

void TDTLabel::SetTimeFormat(TTimeFormat value)
{
    // Notifies on every assignment, so assigning the same format still repaints.
    m_data.timeFormat = value;
    changed();
}

void TDTLabel::SetDateSeparator(QChar value)
{
    if (assignIfChanged(m_data.dateSeparator, value))
        changed();
}

void TDTLabel::SetTimeSeparator(QChar value)
{
    if (assignIfChanged(m_data.timeSeparator, value))
        changed();
}

void TDTLabel::SetYearLength(TYearLength value)
{
    if (assignIfChanged(m_data.yearLength, value))
        changed();
}

void TDTLabel::SetMonthName(bool value)
{
    if (assignIfChanged(m_data.monthName, value))
        changed();
}

void TDTLabel::SetDateOrder(TDateOrder value)
{
    // Notifies on every assignment, like SetTimeFormat.
    m_data.dateOrder = value;
    changed();
}

void TDTLabel::SetDateForTime(TDateForTime value)
{
    if (assignIfChanged(m_data.dateForTime, value))
        changed();
}

void TDTLabel::Assign(const TDTLabel &source)
{
    if (&source == this)
        return;
    setData(source.m_data);
}

void TDTLabel::setData(const DateTimeFormat &data)
{
    if (assignIfChanged(m_data, data))
        changed();
}

// ---- tables ----------------------------------------------------------------------------------

const std::array<TimeStep, 28> TimeStepTable = {{
    {0.001, 5}, {0.002, 4}, {0.005, 5}, {0.01, 5},  {0.02, 4},  {0.05, 5},  {0.1, 5},
    {0.2, 4},   {0.5, 5},   {1, 5},     {2, 4},     {5, 5},     {10, 5},    {20, 4},
    {30, 6},    {60, 6},    {120, 6},   {180, 6},   {300, 5},   {600, 5},   {1200, 6},
    {1800, 6},  {3600, 6},  {7200, 4},  {14400, 4}, {21600, 6}, {43200, 6}, {86400, 6},
}};

const std::array<std::array<int, 6>, 5> SubDayStepTable = {{
    {1, 2, 3, 6, 8, 12},   // hours
    {1, 2, 5, 10, 20, 30}, // minutes and seconds
    {1, 2, 3, 7, 14, 28},  // days
    {1, 2, 5, 10, 20, 50}, // hundredths of a second
    {1, 2, 3, 4, 6, 12},   // months
}};

const std::array<std::array<int, 6>, 5> SubDayShortStepTable = {{
    {1, 1, 1, 2, 2, 3},
    {1, 1, 1, 2, 5, 10},
    {1, 1, 1, 1, 7, 7},
    {1, 1, 1, 5, 10, 10},
    {1, 1, 1, 1, 1, 1},
}};

// ---- levels ----------------------------------------------------------------------------------

bool isValidDateTimeRange(double low, double high)
{
    return high >= low && low >= kFirstDayValue && high <= kLastDayValue;
}

DateTimeLevel dateTimeLevel(double daysPerTick, bool vertical)
{
    // Upper bounds, inclusive. Labels of a horizontal axis stand side by side, so it stops at
    // whole seconds; a vertical axis has room for hundredths.
    if (vertical) {
        if (daysPerTick <= 1.1574074e-7) // 0.01 s
            return DateTimeLevel::SpanTooSmall;
        if (daysPerTick <= 1.1574074e-5) // 1 s
            return DateTimeLevel::Hundredths;
        if (daysPerTick <= 6.944444e-4) // 60 s
            return DateTimeLevel::Seconds;
    } else {
        if (daysPerTick <= 1.1574e-5)
            return DateTimeLevel::SpanTooSmall;
        if (daysPerTick <= 6.9444e-4)
            return DateTimeLevel::Seconds;
    }
    if (daysPerTick <= 0.041667)
        return DateTimeLevel::Minutes;
    if (daysPerTick <= 1)
        return DateTimeLevel::Hours;
    if (daysPerTick <= 30)
        return DateTimeLevel::Days;
    if (daysPerTick <= 366)
        return DateTimeLevel::Months;
    return DateTimeLevel::Years;
}

QStringList dateTimeMessage(DateTimeLevel level, bool vertical)
{
    switch (level) {
    case DateTimeLevel::InvalidRange:
        if (vertical)
            return {QStringLiteral("invalid"), QStringLiteral("DateTime"), QStringLiteral("scale")};
        return {QStringLiteral("invalid DateTime scale")};
    case DateTimeLevel::SpanTooSmall:
        if (vertical)
            return {QStringLiteral("DateTime"), QStringLiteral("range is"),
                    QStringLiteral("below 1"), QStringLiteral("second")};
        return {QStringLiteral("DateTime range is below 1 second")};
    default:
        return {};
    }
}

// SPDX-License-Identifier: GPL-3.0-or-later
// Label texts of numeric scale axes: number formatting, zero snapping, the 14-character cut,
// inscripts, user texts and the labels of logarithmic axes.

#include "scales/Zel_ScaleEngine.h"
#include "scales/Zel_math2.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMaxLabelLength = 14;

// A label of nothing but zeros, points and signs.
bool readsAsZero(const QString &text)
{
    bool digit = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('0'))
            digit = true;
        else if (c != QLatin1Char('.') && c != QLatin1Char('-') && c != QLatin1Char(' '))
            return false;
    }
    return digit;
}

} // namespace

QString FormatTickValue(long double value, int dp)
{
    if (dp >= 0)
        return FormatFixed(0, dp, value);
    // A field of eight: sign column, one digit, ".", one digit, "E", sign, two digits.
    return FormatFixed(8, -2, value);
}

QString ApplyInscript(const QString &text, const QString &inscript)
{
    if (text.isEmpty())
        return text;
    const qsizetype amp = inscript.indexOf(QLatin1Char('&'));
    if (amp < 0)
        return inscript + text;
    return inscript.left(amp) + text + inscript.mid(amp + 1);
}

QString UserTickItem(const QString &list, int n)
{
    if (list.isEmpty() || n < 1)
        return {};
    const QStringList items = list.split(QLatin1Char('|'));
    // A list ending with "|" has an empty last item, which the indexes past the end repeat.
    const qsizetype index = std::min<qsizetype>(n, items.size()) - 1;
    return items.at(index);
}

QString LinearTickLabel(long double value, int dp, int DecPlaces, double RangeLow, double RangeHigh)
{
    const long double span = static_cast<long double>(RangeHigh) - RangeLow;
    QString text;
    if (std::fabs(value / span) < 1e-14L) {
        value = 0;
        if (std::fabs(span) <= 100000)
            text = FormatTickValue(0, dp);
        else
            text = dp != 0 ? QStringLiteral("0.0") : QStringLiteral("0");
    } else {
        text = FormatTickValue(value, dp);
    }
    text.truncate(kMaxLabelLength);
    if (DecPlaces == 0 && !(std::fabs(value - Zel::Round(value)) <= 1e-6L))
        text.clear();
    return text;
}

QString LogTickLabel(const TScaleTick &tick, int dp, int DecPlaces)
{
    QString text;
    if (dp == -3)
        text = tick.Decade ? QString::number(tick.Exponent) : QString();
    else
        text = FormatTickValue(tick.Value, dp);
    text.truncate(kMaxLabelLength);
    if (DecPlaces == -2 && text.contains(QLatin1Char('.')) &&
        !text.contains(QLatin1Char('e'), Qt::CaseInsensitive)) {
        qsizetype end = text.size();
        while (end > 0 && text.at(end - 1) == QLatin1Char('0'))
            --end;
        if (end > 0 && text.at(end - 1) == QLatin1Char('.'))
            --end;
        text.truncate(end);
    }
    // Every tick of a logarithmic axis is above zero: its decimals, or the cut, lost it.
    if (dp != -3 && readsAsZero(text))
        text = FormatTickValue(tick.Value, -1);
    return text;
}

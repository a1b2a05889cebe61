// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AccessibleTexts.h"

#include "app/SampleLists.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Lines below this share of the full scale are less than a pixel high: not told.
constexpr double kSmallestShare = 0.5;
// The strongest lines are named; more would be too long to listen to.
constexpr int kNamedLines = 10;

QString text(const TranslateText &translate, const char *key, const QStringList &params = {})
{
    return translate(QString::fromLatin1(key), params);
}

// At most maxDecimals, without trailing zeros ("100", "99.8", "1.02").
QString shortNumber(double value, int maxDecimals, const TranslateText &translate)
{
    QString s = localNumber(value, maxDecimals, translate);
    const QString point = localNumber(0.5, 1, translate).mid(1, 1);
    if (maxDecimals > 0) {
        while (s.endsWith(QLatin1Char('0')))
            s.chop(1);
        if (s.endsWith(point))
            s.chop(1);
    }
    return s;
}

QString fullScaleText(double fullScale, const TranslateText &translate)
{
    return shortNumber(fullScale, fullScale >= 100 ? 0 : fullScale >= 10 ? 1 : 2, translate);
}

QString massText(int thousandths, const TranslateText &translate)
{
    return localNumber(thousandths / 1000.0, 3, translate);
}

QString signedMassText(int thousandths, const TranslateText &translate)
{
    const QString magnitude = massText(std::abs(thousandths), translate);
    return thousandths > 0   ? QLatin1Char('+') + magnitude
           : thousandths < 0 ? QChar(0x2212) + magnitude
                             : magnitude;
}

} // namespace

int &positionOf(SliderPositions &p, SliderKind kind)
{
    switch (kind) {
    case SliderKind::MassCoarse:
        return p.M;
    case SliderKind::MassFine:
        return p.F;
    case SliderKind::Range:
        return p.X;
    case SliderKind::Resolution:
        return p.R;
    case SliderKind::Amplification:
        return p.A;
    case SliderKind::Pfk:
        return p.P_pfk;
    case SliderKind::MethylNonenone:
        return p.P_mnn;
    case SliderKind::Pregnene:
        break;
    }
    return p.P_preg;
}

double sliderUnits(SliderKind kind, int position)
{
    switch (kind) {
    case SliderKind::MassCoarse:
    case SliderKind::MassFine:
    case SliderKind::Range:
        return position / 1000.0;
    case SliderKind::Resolution:
        return position;
    case SliderKind::Amplification:
        return double(position) * position / 10000.0;
    case SliderKind::Pfk:
    case SliderKind::MethylNonenone:
    case SliderKind::Pregnene:
        break;
    }
    return 100 - position;
}

int sliderPosition(SliderKind kind, double units)
{
    // Far outside every slider's range, yet far inside an int: the slider clamps the rest.
    const auto toInt = [](double v) {
        return std::isnan(v) ? 0 : int(std::lround(std::clamp(v, -1e9, 1e9)));
    };
    switch (kind) {
    case SliderKind::MassCoarse:
    case SliderKind::MassFine:
    case SliderKind::Range:
        return toInt(units * 1000);
    case SliderKind::Resolution:
        return toInt(units);
    case SliderKind::Amplification:
        return toInt(units > 0 ? std::sqrt(std::min(units, 1e9) * 10000) : 0);
    case SliderKind::Pfk:
    case SliderKind::MethylNonenone:
    case SliderKind::Pregnene:
        break;
    }
    return toInt(100 - units);
}

int sliderDecimals(SliderKind kind)
{
    switch (kind) {
    case SliderKind::MassCoarse:
    case SliderKind::MassFine:
    case SliderKind::Range:
        return 3;
    case SliderKind::Amplification:
        return 2;
    default:
        return 0;
    }
}

QString sliderUnitSuffix(SliderKind kind, const TranslateText &translate)
{
    switch (kind) {
    case SliderKind::MassCoarse:
    case SliderKind::MassFine:
    case SliderKind::Range:
        return text(translate, "UnitMass");
    case SliderKind::Pfk:
    case SliderKind::MethylNonenone:
    case SliderKind::Pregnene:
        return QStringLiteral("%");
    default:
        return QString();
    }
}

QString sliderValueText(SliderKind kind, const SliderPositions &p, const TranslateText &translate)
{
    SliderPositions copy = p;
    const int position = positionOf(copy, kind);
    const QString centre = massText(p.M + p.F, translate);
    switch (kind) {
    case SliderKind::MassCoarse:
        return p.F == 0 ? text(translate, "SliderMass", {centre})
                        : text(translate, "SliderMassCentre", {massText(p.M, translate), centre});
    case SliderKind::MassFine:
        return text(translate, "SliderMassCentre", {signedMassText(p.F, translate), centre});
    case SliderKind::Range:
        return text(translate, "SliderMass", {massText(p.X, translate)});
    case SliderKind::Resolution:
        return QString::number(position);
    case SliderKind::Amplification:
        return text(translate, "SliderFullScale",
                    {fullScaleText(sliderUnits(kind, position), translate)});
    default:
        break;
    }
    const int amount = int(sliderUnits(kind, position));
    return amount == 0 ? text(translate, "SliderNone")
                       : text(translate, "SliderAmount", {QString::number(amount)});
}

QString scopeDescription(const SliderPositions &p, bool held,
                         std::span<const NamedLine> furtherLines, const TranslateText &translate)
{
    const VisibleWindow window = visibleWindow(p);
    const double fullScale = window.YHi;
    QString out =
        text(translate, "ScopeWindow",
             {localNumber(window.XLo, 3, translate), localNumber(window.XHi, 3, translate),
              fullScaleText(fullScale, translate)});

    std::vector<NamedLine> lines =
        linesInWindow(p, furtherLines, [&](const QString &key) { return translate(key, {}); });
    std::erase_if(lines,
                  [&](const NamedLine &l) { return l.height / fullScale * 100 < kSmallestShare; });
    // The strongest ones, told in the order of their masses.
    std::stable_sort(lines.begin(), lines.end(),
                     [](const NamedLine &a, const NamedLine &b) { return a.height > b.height; });
    const int weaker = std::max(0, int(lines.size()) - kNamedLines);
    lines.resize(std::min(lines.size(), size_t(kNamedLines)));
    std::stable_sort(lines.begin(), lines.end(),
                     [](const NamedLine &a, const NamedLine &b) { return a.mz < b.mz; });

    out += QLatin1Char(' ');
    if (lines.empty()) {
        out += text(translate, "ScopeNoLines");
    } else {
        QStringList told;
        for (const NamedLine &line : lines) {
            const double share = line.height / fullScale * 100;
            told << text(translate, share > 100 ? "ScopeLineCutOff" : "ScopeLine",
                         {line.name, localNumber(line.mz, 3, translate),
                          shortNumber(share, share >= 10 ? 0 : 1, translate)});
        }
        if (weaker > 0)
            told << text(translate, "ScopeMoreLines", {QString::number(weaker)});
        out += text(translate, "ScopeLines", {told.join(QStringLiteral("; "))});
    }
    if (held)
        out += QLatin1Char(' ') + text(translate, "ScopeHeld");
    return out;
}

QString localNumber(double value, int decimals, const TranslateText &translate)
{
    QString s = QString::number(value, 'f', decimals);
    const QString separator = text(translate, "DecimalSeparator");
    if (separator.size() == 1 && separator != QLatin1String("."))
        s.replace(QLatin1Char('.'), separator);
    return s;
}

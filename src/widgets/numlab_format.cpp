// The read-out's text: the fifteen display types and the separator and sign post-processing.

#include "scales/Zel_ScaleDateTime.h"
#include "scales/Zel_math2.h"
#include "widgets/Zel_NumLab.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {

// Degree and minute values this close to an integer are taken as that integer, so that
// 12.1 degrees does not show as 12 degrees 5 minutes 59.99 seconds.
constexpr double kSnapDistance = 3e-12;

// The value range of dtHex, dtBin and dtOct.
bool inR32(double v)
{
    return v >= -2147483648.0 && v <= 4294967295.0;
}

double snapToInteger(double v)
{
    const double nearest = std::round(v);
    return std::fabs(v - nearest) < kSnapDistance ? nearest : v;
}

// Scientific form of a finite value with the given number of decimals: the digits without
// the point and the decimal exponent ("1.25e+03" gives "125" and 3).
struct Scientific
{
    std::string digits;
    int exponent = 0;
};

Scientific scientificDigits(double magnitude, int decimals)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                      std::chars_format::scientific, decimals);
    const std::string text(buffer, result.ptr);
    const auto e = text.find('e');
    Scientific s;
    for (std::size_t i = 0; i < e; ++i)
        if (text[i] != '.')
            s.digits += text[i];
    s.exponent = std::atoi(text.c_str() + e + 1);
    return s;
}

void dropTrailingZeros(std::string &fraction)
{
    while (!fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
}

QString latin1(const std::string &text)
{
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

// General format with p significant digits: fixed point when the value itself is at least
// 0.00001 and its rounded form has no more than p digits before the point, scientific
// otherwise; no trailing zeros or point; the exponent without "+" and without leading zeros.
// A value just below 0.00001 that rounds up to it is scientific (9.96e-6 to one digit is
// "1E-5"), as the runtime's general format writes it.
QString generalFormat(double v, int p)
{
    if (v == 0)
        return QStringLiteral("0");
    p = std::max(p, 1);
    const Scientific s = scientificDigits(std::fabs(v), p - 1);
    const int x = s.exponent;
    std::string text;
    if (std::fabs(v) >= 0.00001 && x + 1 <= p) {
        std::string whole;
        std::string fraction;
        if (x >= 0) {
            whole = s.digits.substr(0, std::size_t(x) + 1);
            fraction = s.digits.substr(std::size_t(x) + 1);
        } else {
            whole = "0";
            fraction = std::string(std::size_t(-x - 1), '0') + s.digits;
        }
        dropTrailingZeros(fraction);
        text = fraction.empty() ? whole : whole + '.' + fraction;
    } else {
        std::string fraction = s.digits.substr(1);
        dropTrailingZeros(fraction);
        text = s.digits.substr(0, 1);
        if (!fraction.empty())
            text += '.' + fraction;
        text += 'E';
        if (x < 0)
            text += '-';
        text += std::to_string(std::abs(x));
    }
    return v < 0 ? QLatin1Char('-') + latin1(text) : latin1(text);
}

// One digit, the point and p - 1 decimals (no point for p <= 1), "E", the exponent's sign and
// at least three exponent digits.
QString exponentFormat(double v, int p)
{
    p = std::max(p, 1);
    const Scientific s = scientificDigits(std::fabs(v), p - 1);
    std::string text = s.digits.substr(0, 1);
    if (p > 1)
        text += '.' + s.digits.substr(1);
    text += 'E';
    text += s.exponent < 0 ? '-' : '+';
    std::string exponent = std::to_string(std::abs(s.exponent));
    if (exponent.size() < 3)
        exponent.insert(0, 3 - exponent.size(), '0');
    text += exponent;
    return v < 0 ? QLatin1Char('-') + latin1(text) : latin1(text);
}

// The last `count` digits of an unsigned number in a base, zero-filled.
QString lastDigits(quint64 n, int base, int count)
{
    if (count <= 0)
        return QString();
    QString digits = QString::number(n, base).toUpper();
    if (digits.size() < count)
        digits.prepend(QString(count - digits.size(), QLatin1Char('0')));
    return digits.right(count);
}

QString rightAligned(const QString &text, int width)
{
    return text.size() >= width ? text : QString(width - text.size(), QLatin1Char(' ')) + text;
}

// The degrees part of the two sexagesimal forms: the whole degrees without decimals, with a
// minus sign also when they are 0 (-0.5 degrees is "-0", not "0").
QString degreesPart(bool negative, double wholeDegrees)
{
    const QString whole = FormatFixed(1, 0, wholeDegrees);
    return negative ? QLatin1Char('-') + whole : whole;
}

const QChar kDegree(0x00B0);

// Minutes or seconds that round up to 60 at the shown decimals carry into the unit above, so
// 12.99999 degrees is 13 degrees 0.00 minutes, never 12 degrees 60.00 minutes.
bool roundsToSixty(const QString &fixedText)
{
    return fixedText.toDouble() >= 60;
}

QString degreeMinutes(double v, int decimals)
{
    v = snapToInteger(v);
    const double a = std::fabs(v);
    double degrees = std::trunc(a);
    QString minutes = FormatFixed(1, decimals, (a - degrees) * 60);
    if (roundsToSixty(minutes)) {
        degrees += 1;
        minutes = FormatFixed(1, decimals, 0.0L);
    }
    return degreesPart(v < 0, degrees) + kDegree + QLatin1Char(' ') +
           rightAligned(minutes, decimals + 3) + QLatin1Char('\'');
}

QString degreeMinutesSeconds(double v, int decimals)
{
    v = snapToInteger(v);
    const double a = std::fabs(v);
    double degrees = std::trunc(a);
    const double m = snapToInteger((a - degrees) * 60);
    double wholeMinutes = std::trunc(m);
    QString seconds = FormatFixed(1, decimals, (m - wholeMinutes) * 60);
    if (roundsToSixty(seconds)) {
        wholeMinutes += 1;
        seconds = FormatFixed(1, decimals, 0.0L);
    }
    if (wholeMinutes >= 60) {
        degrees += 1;
        wholeMinutes -= 60;
    }
    return degreesPart(v < 0, degrees) + kDegree + QLatin1Char(' ') +
           rightAligned(FormatFixed(1, 0, wholeMinutes), 2) + QStringLiteral("' ") +
           rightAligned(seconds, decimals + 3) + QLatin1Char('"');
}

// The display type's own form, or nothing when the value is out of its range.
std::optional<QString> formatted(const NumLabFormat &f, double v)
{
    const int p = std::clamp(f.precision, 0, 15);
    const int degreeDecimals = std::min(p, 8);
    if (f.displayType == dtState)
        return f.stateText;
    if (!std::isfinite(v))
        return std::nullopt;
    switch (f.displayType) {
    case dtFloat:
        return generalFormat(v, p);
    case dtFixP:
        return FormatFixed(1, p, v);
    case dtExp:
        return exponentFormat(v, p);
    case dtHex:
    case dtBin:
    case dtOct: {
        if (!inR32(v))
            return std::nullopt;
        const quint64 n = quint64(*roundHalfEven64(v));
        if (f.displayType == dtHex)
            return lastDigits(n, 16, std::min(p, 8));
        if (f.displayType == dtBin)
            return lastDigits(n & 0xFFFFFFFFu, 2, std::min(p, 32));
        return lastDigits(n & 0xFFFFFFFFu, 8, std::min(p, 11));
    }
    case dtZeroInt: {
        if (v < -2147483648.0 || v > 2147483647.0)
            return std::nullopt;
        const qint64 n = *roundHalfEven64(v);
        QString digits = QString::number(n < 0 ? -n : n);
        if (digits.size() < p)
            digits.prepend(QString(p - digits.size(), QLatin1Char('0')));
        return n < 0 ? QLatin1Char('-') + digits : digits;
    }
    case dtInt: {
        const std::optional<qint64> n = roundHalfEven64(v);
        if (!n)
            return std::nullopt;
        return QString::number(*n);
    }
    case dtDateTime: {
        QDate date;
        int msecOfDay = 0;
        if (!decodeDayValue(v, date, msecOfDay))
            return std::nullopt;
        return FormatDayValue(f.dtFormat, v);
    }
    case dtDeg:
        return FormatFixed(1, degreeDecimals, v) + kDegree;
    case dtDegMin:
        return degreeMinutes(v, degreeDecimals);
    case dtDegMinSec:
        return degreeMinutesSeconds(v, degreeDecimals);
    case dtEEng:
        return FormatWithPrefix(std::clamp(p, -9, 9), v);
    case dtEEngNoDP:
        return FormatWithPrefix(std::clamp(-p, -9, 9), v);
    case dtState:
        break;
    }
    return std::nullopt;
}

bool postProcessed(TDisplay type)
{
    return type != dtHex && type != dtDateTime && type != dtState && type != dtBin;
}

} // namespace

std::optional<qint64> roundHalfEven64(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    // nearbyint rounds in the default mode, to nearest with halves to even.
    const double r = std::nearbyint(value);
    constexpr double limit = 9223372036854775808.0; // 2^63
    if (r < -limit || r >= limit)
        return std::nullopt;
    return qint64(r);
}

QString FormatNumLabValue(const NumLabFormat &format, double value)
{
    if (value == 0)
        value = 0; // negative zero shows as zero
    std::optional<QString> text = formatted(format, value);
    if (!text)
        return format.overflowIndicator;
    if (!postProcessed(format.displayType))
        return *text;
    if (format.comma)
        text->replace(QLatin1Char('.'), QLatin1Char(','));
    else
        text->replace(QLatin1Char(','), QLatin1Char('.'));
    if (format.forcePlusSign && value > 0)
        text->prepend(QLatin1Char('+'));
    return *text;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// Number routines: the strict logarithm, fixed-width formatting and the engineering form with
// a metric prefix.

#include "scales/Zel_math2.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kMaxFieldWidth = 4096;
constexpr int kMaxDecimals = 1000;

// Locale-independent conversion of a finite value ("." as decimal point, "e" exponent).
std::string toChars(long double x, std::chars_format format, int precision)
{
    // A long double's integer part has at most 4933 digits; the rest is sign, point, exponent
    // and the requested decimals.
    std::vector<char> buffer(std::size_t(5000 + precision));
    const auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), x, format, precision);
    return std::string(buffer.data(), result.ptr);
}

QString padLeft(const QString &text, int width)
{
    if (text.size() >= width)
        return text;
    return QString(width - text.size(), QLatin1Char(' ')) + text;
}

// Scientific form with a sign column and a two-digit exponent; asterisks when the exponent
// needs more digits.
QString scientific(int width, long double x)
{
    const int digits = width + 2 >= 10 ? std::min(width + 2 - 8, 18) : 2;
    const std::string plain = toChars(std::fabs(x), std::chars_format::scientific, digits - 1);
    const auto e = plain.find('e');
    const std::string mantissa = plain.substr(0, e);
    const char exponentSign = plain[e + 1];
    const int exponent = std::atoi(plain.c_str() + e + 2);

    QString text;
    text += std::signbit(x) ? QLatin1Char('-') : QLatin1Char(' ');
    text += QLatin1String(mantissa.data(), qsizetype(mantissa.size()));
    text += QLatin1Char('E');
    text += QLatin1Char(exponentSign);
    if (exponent >= 100)
        return QString(text.size() + 2, QLatin1Char('*'));
    text += QLatin1Char(char('0' + exponent / 10));
    text += QLatin1Char(char('0' + exponent % 10));
    return text;
}

} // namespace

double Log10Strict(double x)
{
    if (!(x > 0))
        throw EMathError("logarithm: invalid argument");
    return std::log10(x);
}

QString FormatFixed(int width, int decimals, long double x)
{
    const int m = width < 0 ? (width < -kMaxFieldWidth ? kMaxFieldWidth : -width)
                            : std::min(width, kMaxFieldWidth);
    if (std::isnan(x))
        return padLeft(QStringLiteral("NAN"), m);
    if (std::isinf(x))
        return padLeft(x < 0 ? QStringLiteral("-INF") : QStringLiteral("INF"), m);
    if (x == 0)
        x = 0; // no "-0.00"

    QString text;
    if (decimals == -2) {
        text = scientific(m, x);
    } else {
        const int places = std::clamp(decimals, 0, kMaxDecimals);
        const std::string fixed = toChars(x, std::chars_format::fixed, places);
        text = padLeft(QLatin1String(fixed.data(), qsizetype(fixed.size())), m);
    }

    if (width < 0) {
        qsizetype i = 0;
        while (i < text.size() && text[i] == QLatin1Char(' ')) {
            text[i] = QLatin1Char('0');
            ++i;
        }
        if (i < text.size() && text[i] == QLatin1Char('-')) {
            text[i] = QLatin1Char('0');
            text[0] = QLatin1Char('-');
        }
    }
    return text;
}

QString FormatWithPrefix(int digits, double x)
{
    const int a = std::clamp(digits, -9, 9);
    const int d = std::abs(a) >= 2 ? std::abs(a) - 1 : 0;
    const bool replacePoint = a <= -2;

    if (x == 0)
        return FormatFixed(1, d, 0.0L);
    if (!std::isfinite(x))
        return FormatFixed(1, d, x);

    const double s = std::fabs(x);
    const double lg = Log10Strict(s);
    const int e = int(std::floor(lg));
    const int k = std::clamp(int(std::floor(lg / 3)), -6, 4);

    // Scale by an exact power of ten (10^3 .. 10^18 are exact), multiplying for small values,
    // so that the mantissa carries a single rounding.
    long double power = 1;
    for (int i = 0; i < std::abs(k); ++i)
        power *= 1000;
    const long double mantissa = k >= 0 ? s / power : s * power;
    QString text = FormatFixed(1, std::max(0, d - (e - 3 * k)), mantissa);

    if (k != 0) {
        const QChar prefix = QLatin1Char("afpnum kMGT"[k + 6]);
        const qsizetype point = text.indexOf(QLatin1Char('.'));
        if (replacePoint && point >= 0)
            text[point] = prefix;
        else
            text += prefix;
    }
    if (x < 0)
        text.prepend(QLatin1Char('-'));
    return text;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// Texts of time and date/time axes: seconds as h:mm:ss, day counts through date/time patterns,
// and the patterns of the labels and the date line.

#include "scales/Zel_ScaleDateTime.h"

#include <QLocale>

#include <cmath>

namespace {

constexpr qint64 kMsecPerDay = 86400000;
constexpr double kMaxDayMagnitude = 1e12;

// Julian day of day count 0, 30 December 1899.
qint64 julianDayOfDayZero()
{
    static const qint64 jd = QDate(1899, 12, 30).toJulianDay();
    return jd;
}

QString twoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

// A character as a quoted pattern literal. A double quote is quoted with single quotes, so
// that any separator survives the pattern.
QString quoted(QChar c)
{
    if (c == QLatin1Char('"'))
        return QStringLiteral("'\"'");
    return QLatin1Char('"') + QString(c) + QLatin1Char('"');
}

bool matchesAt(const QString &text, qsizetype pos, QLatin1StringView token)
{
    return QStringView(text).mid(pos, token.size()).compare(token, Qt::CaseInsensitive) == 0;
}

// The tokens of a pattern, longest first where one is the start of another.
enum class Token {
    Literal,
    Year4,
    Year2,
    MonthName,
    Month,
    Day,
    Hour2,
    Hour,
    Minute,
    Second,
    Millisecond,
    AmPm
};

struct TokenMatch
{
    Token token;
    QLatin1StringView text;
};

const TokenMatch kTokens[] = {
    {Token::AmPm, QLatin1StringView("am/pm")},     {Token::Year4, QLatin1StringView("yyyy")},
    {Token::Year2, QLatin1StringView("yy")},       {Token::MonthName, QLatin1StringView("mmm")},
    {Token::Month, QLatin1StringView("mm")},       {Token::Day, QLatin1StringView("dd")},
    {Token::Hour2, QLatin1StringView("hh")},       {Token::Hour, QLatin1StringView("h")},
    {Token::Minute, QLatin1StringView("nn")},      {Token::Second, QLatin1StringView("ss")},
    {Token::Millisecond, QLatin1StringView("zz")},
};

// Walks the pattern, calling onPiece(token, text) for every token or literal piece (quotes
// removed from literals).
template <typename Emit> void scanPattern(const QString &pattern, Emit onPiece)
{
    qsizetype i = 0;
    const qsizetype n = pattern.size();
    while (i < n) {
        const QChar c = pattern.at(i);
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            qsizetype close = pattern.indexOf(c, i + 1);
            if (close < 0)
                close = n;
            onPiece(Token::Literal, QStringView(pattern).mid(i + 1, close - i - 1));
            i = close + 1;
            continue;
        }
        bool matched = false;
        for (const TokenMatch &t : kTokens) {
            if (matchesAt(pattern, i, t.text)) {
                onPiece(t.token, QStringView(pattern).mid(i, t.text.size()));
                i += t.text.size();
                matched = true;
                break;
            }
        }
        if (!matched) {
            onPiece(Token::Literal, QStringView(pattern).mid(i, 1));
            ++i;
        }
    }
}

} // namespace

// ---- seconds ---------------------------------------------------------------------------------

QString FormatSeconds(double seconds, bool withMilliseconds)
{
    if (std::isnan(seconds))
        return QStringLiteral("NAN");
    if (std::isinf(seconds))
        return seconds > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");

    // Taken to the nearest millisecond first: a tick position of 0.9999999999 s is 1 s, not
    // 0 s and 1000 ms.
    const double a = std::fabs(seconds);
    double whole = std::floor(a);
    long long ms = std::llround((a - whole) * 1000.0);
    if (ms >= 1000) {
        whole += 1;
        ms -= 1000;
    }
    const bool negative = seconds < 0 && (whole > 0 || ms > 0);
    if (!withMilliseconds)
        ms = 0;
    const double rem = std::fmod(whole, 3600.0);
    const double hours = (whole - rem) / 3600.0;
    const int minutes = int(rem / 60.0);
    const int secs = int(rem - 60.0 * minutes);

    QString text = negative ? QStringLiteral("-") : QStringLiteral(" ");
    text += QString::number(hours, 'f', 0).rightJustified(2, QLatin1Char('0'));
    text += QLatin1Char(':') + twoDigits(minutes) + QLatin1Char(':') + twoDigits(secs);
    if (withMilliseconds)
        text += QStringLiteral(".%1").arg(int(ms), 3, 10, QLatin1Char('0'));
    return text;
}

// ---- day counts ------------------------------------------------------------------------------

bool decodeDayValue(double dayValue, QDate &date, int &msecOfDay)
{
    if (!std::isfinite(dayValue) || std::fabs(dayValue) > kMaxDayMagnitude)
        return false;
    double v = dayValue;
    if (std::fabs(v) < 1e-8)
        v = 0;
    // Below zero the count stays continuous: -1.25 is day -2 (28 December 1899) at 18:00.
    // A negative value within 1e-8 of a whole day keeps that day, at its midnight.
    const double fraction = v - std::trunc(v);
    double day;
    double time;
    if (v < 0 && std::fabs(fraction) >= 1e-8) {
        day = std::floor(v);
        time = v - day;
    } else {
        day = std::trunc(v);
        time = std::fabs(fraction);
    }
    qint64 ms = std::llround(time * double(kMsecPerDay));
    qint64 days = qint64(day);
    if (ms >= kMsecPerDay) {
        ms -= kMsecPerDay;
        ++days;
    }
    date = QDate::fromJulianDay(julianDayOfDayZero() + days);
    msecOfDay = int(ms);
    return date.isValid();
}

double dayValueOf(const QDate &date)
{
    return double(date.toJulianDay() - julianDayOfDayZero());
}

QString FormatDayValue(const QString &pattern, double dayValue)
{
    QDate date;
    int msecOfDay = 0;
    if (!decodeDayValue(dayValue, date, msecOfDay))
        return QString();

    bool twelveHours = false;
    scanPattern(pattern, [&](Token token, QStringView) {
        if (token == Token::AmPm)
            twelveHours = true;
    });

    const int hour = msecOfDay / 3600000;
    const int minute = msecOfDay / 60000 % 60;
    const int second = msecOfDay / 1000 % 60;
    const int msec = msecOfDay % 1000;
    int shownHour = hour;
    if (twelveHours) {
        shownHour = hour % 12;
        if (shownHour == 0)
            shownHour = 12;
    }
    const QLocale locale; // the default locale: its month names
    QString text;
    scanPattern(pattern, [&](Token token, QStringView piece) {
        switch (token) {
        case Token::Literal:
            text += piece;
            break;
        case Token::Year4: {
            const int year = date.year();
            QString digits = QString::number(std::abs(year)).rightJustified(4, QLatin1Char('0'));
            text += year < 0 ? QLatin1Char('-') + digits : digits;
            break;
        }
        case Token::Year2:
            text += twoDigits(std::abs(date.year()) % 100);
            break;
        case Token::MonthName:
            text += locale.monthName(date.month(), QLocale::ShortFormat);
            break;
        case Token::Month:
            text += twoDigits(date.month());
            break;
        case Token::Day:
            text += twoDigits(date.day());
            break;
        case Token::Hour2:
            text += twoDigits(shownHour);
            break;
        case Token::Hour:
            text += QString::number(shownHour);
            break;
        case Token::Minute:
            text += twoDigits(minute);
            break;
        case Token::Second:
            text += twoDigits(second);
            break;
        case Token::Millisecond:
            text += QStringLiteral("%1").arg(msec, 3, 10, QLatin1Char('0'));
            break;
        case Token::AmPm: {
            const bool upper = piece.at(0).isUpper();
            const char *word = hour < 12 ? (upper ? "AM" : "am") : (upper ? "PM" : "pm");
            text += QLatin1StringView(word);
            break;
        }
        }
    });
    return text;
}

// ---- patterns --------------------------------------------------------------------------------

namespace {

QString monthToken(const DateTimeFormat &format)
{
    return format.monthName ? QStringLiteral("mmm") : QStringLiteral("mm");
}

QString yearToken(TYearLength yearLength)
{
    switch (yearLength) {
    case ylYY:
        return QStringLiteral("yy");
    case ylYYYY:
        return QStringLiteral("yyyy");
    default:
        return QString();
    }
}

} // namespace

QString BuildDateFormat(bool monthName, TYearLength yearLength, TDateOrder dateOrder,
                        QChar dateSeparator)
{
    const QString m = monthName ? QStringLiteral("mmm") : QStringLiteral("mm");
    const QString y = yearToken(yearLength);
    const QString d = quoted(dateSeparator);
    const QString dd = QStringLiteral("dd");
    switch (dateOrder) {
    case doMMDDYY:
        return y.isEmpty() ? m + d + dd : m + d + dd + d + y;
    case doYYMMDD:
        return y.isEmpty() ? m + d + dd : y + d + m + d + dd;
    case doDDMMYY:
    default:
        return y.isEmpty() ? dd + d + m : dd + d + m + d + y;
    }
}

QString dayLabelPattern(const DateTimeFormat &format)
{
    const QString m = monthToken(format);
    const QString y = yearToken(format.yearLength);
    const QString d = quoted(format.dateSeparator);
    const QString dd = QStringLiteral("dd");
    switch (format.dateOrder) {
    case doMMDDYY:
        return m + d + dd + d + y;
    case doYYMMDD:
        return y + d + m + d + dd;
    case doDDMMYY:
    default:
        return dd + d + m + d + y;
    }
}

QString monthLabelPattern(const DateTimeFormat &format)
{
    const QString m = monthToken(format);
    const QString y = yearToken(format.yearLength);
    const QString d = quoted(format.dateSeparator);
    if (format.dateOrder == doYYMMDD)
        return y + d + m;
    return m + d + y;
}

QString timeLabelPattern(DateTimeLevel level, TTimeFormat timeFormat, QChar timeSeparator)
{
    const QString s = quoted(timeSeparator);
    const QString hLit = QStringLiteral("\"h\"");
    const QString dot = QStringLiteral("\".\"");
    switch (level) {
    case DateTimeLevel::Hours:
        switch (timeFormat) {
        case tfHHhMM:
            return QStringLiteral("h") + hLit;
        case tfAMPM:
            return QStringLiteral("ham/pm");
        default:
            return QStringLiteral("hh") + s + QStringLiteral("nn");
        }
    case DateTimeLevel::Minutes:
        switch (timeFormat) {
        case tfHHhMM:
            return QStringLiteral("h") + hLit + QStringLiteral("nn");
        case tfAMPM:
            return QStringLiteral("h") + s + QStringLiteral("nnam/pm");
        default:
            return QStringLiteral("hh") + s + QStringLiteral("nn");
        }
    case DateTimeLevel::Seconds:
        switch (timeFormat) {
        case tfHHhMM:
            return QStringLiteral("h") + hLit + QStringLiteral("nn") + s + QStringLiteral("ss");
        case tfAMPM:
            return QStringLiteral("h") + s + QStringLiteral("nn") + dot + QStringLiteral("ssam/pm");
        default:
            return QStringLiteral("hh") + s + QStringLiteral("nn") + s + QStringLiteral("ss");
        }
    case DateTimeLevel::Hundredths:
        switch (timeFormat) {
        case tfHHhMM:
            return QStringLiteral("h") + hLit + QStringLiteral("nn") + s + QStringLiteral("ss.zz");
        case tfAMPM:
            return QStringLiteral("h") + s + QStringLiteral("nn") + dot +
                   QStringLiteral("ss.zzam/pm");
        default:
            return QStringLiteral("hh") + s + QStringLiteral("nn") + s + QStringLiteral("ss.zz");
        }
    default:
        return QString();
    }
}

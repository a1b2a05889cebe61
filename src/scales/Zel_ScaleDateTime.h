#pragma once
// Date and time axes of the scale engine.
//
// Two label kinds show time instead of plain numbers:
// - time axes treat values as seconds and label them h:mm:ss, choosing the step from
//   TimeStepTable (and leaving the axis to the numeric drawing when no table step fits);
// - date/time axes treat values as day counts (day 0 is 30 December 1899, 00:00; the
//   fraction is the time of day; the count runs on below zero) and choose one of eight levels,
//   from hundredths of a second to years, each with its own steps, tick pattern and label
//   pattern, optionally with the date on an extra line beside the time labels.
//
// The settings of the labels live in a TDTLabel owned by each scale (its DateFormat). The
// arithmetic here is pure: computeTimeAxis and computeDateTimeAxis turn a range into the list
// of ticks to draw, in drawing order, with their label and date-line texts; the scale draws
// that list with its own tick and label placement. Nothing here needs a QApplication.
//
// Month names ("mmm") are the abbreviated names of the default QLocale, so a program (or a
// test) that sets QLocale::setDefault gets that language's names.

#include <QChar>
#include <QDate>
#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <vector>

namespace ZelDT {
Q_NAMESPACE

enum TTimeFormat { tfHHMMSS, tfHHhMM, tfAMPM };
Q_ENUM_NS(TTimeFormat)

enum TYearLength { ylNone, ylYY, ylYYYY };
Q_ENUM_NS(TYearLength)

enum TDateOrder { doMMDDYY, doDDMMYY, doYYMMDD };
Q_ENUM_NS(TDateOrder)

enum TDateForTime { dtNone, dtOnePerChart, dtOnePerDay, dtAllTicks };
Q_ENUM_NS(TDateForTime)

} // namespace ZelDT

using ZelDT::TDateForTime;
using ZelDT::TDateOrder;
using ZelDT::TTimeFormat;
using ZelDT::TYearLength;
using enum ZelDT::TTimeFormat;
using enum ZelDT::TYearLength;
using enum ZelDT::TDateOrder;
using enum ZelDT::TDateForTime;

// The values of a TDTLabel, as the arithmetic reads them. The defaults are those of a new
// scale's DateFormat.
struct DateTimeFormat
{
    TTimeFormat timeFormat = tfHHMMSS;
    QChar dateSeparator = QLatin1Char('-');
    QChar timeSeparator = QLatin1Char(':');
    TYearLength yearLength = ylYYYY;
    bool monthName = true;
    TDateOrder dateOrder = doDDMMYY;
    TDateForTime dateForTime = dtOnePerDay;

    bool operator==(const DateTimeFormat &) const = default;
};

// The date/time label settings of a scale (its DateFormat), a persistent sub-object.
// DateOrder and TimeFormat raise OnChange on every assignment, the other setters only when the
// value changes. The owning scale (or chart) sets OnChange to its repaint.
class TDTLabel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(ZelDT::TTimeFormat TimeFormat READ TimeFormat WRITE SetTimeFormat)
    Q_PROPERTY(QChar DateSeparator READ DateSeparator WRITE SetDateSeparator)
    Q_PROPERTY(QChar TimeSeparator READ TimeSeparator WRITE SetTimeSeparator)
    Q_PROPERTY(ZelDT::TYearLength YearLength READ YearLength WRITE SetYearLength)
    Q_PROPERTY(bool MonthName READ MonthName WRITE SetMonthName)
    Q_PROPERTY(ZelDT::TDateOrder DateOrder READ DateOrder WRITE SetDateOrder)
    Q_PROPERTY(ZelDT::TDateForTime DateForTime READ DateForTime WRITE SetDateForTime)

public:
    explicit TDTLabel(QObject *parent = nullptr);

    TTimeFormat TimeFormat() const { return m_data.timeFormat; }
    void SetTimeFormat(TTimeFormat value);
    QChar DateSeparator() const { return m_data.dateSeparator; }
    void SetDateSeparator(QChar value);
    QChar TimeSeparator() const { return m_data.timeSeparator; }
    void SetTimeSeparator(QChar value);
    TYearLength YearLength() const { return m_data.yearLength; }
    void SetYearLength(TYearLength value);
    bool MonthName() const { return m_data.monthName; }
    void SetMonthName(bool value);
    TDateOrder DateOrder() const { return m_data.dateOrder; }
    void SetDateOrder(TDateOrder value);
    TDateForTime DateForTime() const { return m_data.dateForTime; }
    void SetDateForTime(TDateForTime value);

    // Copies every value of source; OnChange is raised once when anything changed.
    void Assign(const TDTLabel &source);

    const DateTimeFormat &data() const { return m_data; }
    // Sets every value at once; OnChange is raised once when anything changed.
    void setData(const DateTimeFormat &data);

    std::function<void(QObject *sender)> OnChange;

private:
    void changed();

    DateTimeFormat m_data;
};

enum class DateTimeLevel;

// ---- formatting ------------------------------------------------------------------------------

// Seconds as a time text: a sign column (blank, or "-" for negative values), the hours with at
// least two digits, ":", two-digit minutes, ":", two-digit seconds and, when asked for,
// "." and three-digit milliseconds ("-01:02:03.250"). The value is first rounded to the
// nearest millisecond, so 59.9999 s is " 00:01:00" rather than " 00:00:59", and a value that
// rounds to zero gets no minus sign. NaN and infinities give "NAN", "INF" and "-INF".
QString FormatSeconds(double seconds, bool withMilliseconds);

// A day count formatted by a date/time pattern. Tokens: "yyyy" four-digit year, "yy"
// two-digit year, "mmm" abbreviated month name of the default locale, "mm" two-digit month,
// "dd" two-digit day, "hh" two-digit hour (0..23), "h" hour without leading zero, "nn"
// two-digit minute, "ss" two-digit second, "zz" three-digit milliseconds, "am/pm" the text
// am or pm (which also turns the hours into 1..12). "zz" always writes three digits, leading
// zeros included: written without them, 20 ms after a full second would read ".20" in the
// hundredths labels ("ss.zz"), which reads as 200 ms. Letters of tokens match in either case;
// text between double (or single) quotes is copied without the quotes; every other character
// is copied as it is. The value is taken to the nearest millisecond; a negative value denotes
// calendar day Floor(v) at time of day v - Floor(v) (-1.25 is 28 December 1899, 18:00).
// Values the calendar cannot hold (NaN, infinities, more than 1e12 days from day 0) give an
// empty text.
QString FormatDayValue(const QString &pattern, double dayValue);

// The calendar day and the time of day (milliseconds since midnight, 0..86399999) of a day
// count, taken to the nearest millisecond as FormatDayValue does; false for NaN, infinities
// and values more than 1e12 days from day 0.
bool decodeDayValue(double dayValue, QDate &date, int &msecOfDay);
// The day count of a calendar day's midnight.
double dayValueOf(const QDate &date);

// The label pattern of the time labels of a level below a day (hours, minutes, seconds or
// hundredths), with the time separator quoted; empty for the other levels.
QString timeLabelPattern(DateTimeLevel level, TTimeFormat timeFormat, QChar timeSeparator);

// The pattern of the date line beside time labels: month ("mmm" or "mm"), day and year ("",
// "yy" or "yyyy") in the given order, joined by the quoted date separator. Without a year the
// date is month and day (day and month for doDDMMYY).
QString BuildDateFormat(bool monthName, TYearLength yearLength, TDateOrder dateOrder,
                        QChar dateSeparator);

// The label pattern of the days level (month, day and year, the separators stay when the
// year is left out) and of the months level (month and year).
QString dayLabelPattern(const DateTimeFormat &format);
QString monthLabelPattern(const DateTimeFormat &format);

// ---- tables ----------------------------------------------------------------------------------

struct TimeStep
{
    double step;    // seconds between labelled ticks
    int shortCount; // short intervals per step
};

// Steps of time axes, index 0..27 (entry i is the table's step i + 1).
extern const std::array<TimeStep, 28> TimeStepTable;

// Candidate steps of the date/time levels below a month, in each row's unit, with the step
// between short ticks in the same unit. Rows: hours, minutes (also seconds), days, hundredths
// of a second, months (only the first five steps are used).
enum SubDayRow { sdrHours, sdrMinutes, sdrDays, sdrHundredths, sdrMonths };
extern const std::array<std::array<int, 6>, 5> SubDayStepTable;
extern const std::array<std::array<int, 6>, 5> SubDayShortStepTable;

// ---- levels ----------------------------------------------------------------------------------

enum class DateTimeLevel {
    InvalidRange, // "invalid DateTime scale"
    SpanTooSmall, // "DateTime range is below 1 second"
    Hundredths,   // vertical axes only
    Seconds,
    Minutes,
    Hours,
    Days,
    Months,
    Years
};

// Day counts a date/time axis can show: 1 January of year 1 up to day 3000000.
constexpr double kFirstDayValue = -693593.0;
constexpr double kLastDayValue = 3000000.0;

// True when low..high can be drawn as a date/time axis: high >= low and both within
// kFirstDayValue..kLastDayValue (NaN never is).
bool isValidDateTimeRange(double low, double high);

// The level for a span per labelled interval (days). Vertical axes resolve down to hundredths
// of a second, horizontal ones (where labels lie side by side) down to seconds.
DateTimeLevel dateTimeLevel(double daysPerTick, bool vertical);

// The message lines a date/time axis shows instead of ticks: vertical axes write one word
// group per line, horizontal axes one line. Empty for the levels that draw ticks.
QStringList dateTimeMessage(DateTimeLevel level, bool vertical);

// ---- ticks -----------------------------------------------------------------------------------

// One tick of a time or date/time axis, in drawing order.
struct AxisTick
{
    double value = 0; // position on the axis (seconds, or a day count)
    bool isLong = false;
    QString label;    // drawn at long ticks only; may be empty there
    QString dateLine; // the date drawn beside the time label; empty when none
};

struct TimeAxisLayout
{
    // False when no table step fits the range: the scale then draws a numeric axis.
    bool handled = false;
    int stepIndex = 0; // 1..28, 0 when no table step is small enough
    double step = 0;   // seconds, with the axis's direction
    double shortStep = 0;
    std::vector<AxisTick> ticks; // the short ticks first, then the labelled ones
};

// The ticks of a time axis from low to high (low > high is a reversed axis). minTicks is the
// scale's minimum number of labelled intervals. All short ticks come first (when shortTicks),
// then every labelled tick with its FormatSeconds text, with milliseconds for steps up to
// 0.5 s. Positions lie within the range, give or take a thousandth of the short step.
TimeAxisLayout computeTimeAxis(double low, double high, int minTicks, bool shortTicks);

struct DateTimeAxisLayout
{
    DateTimeLevel level = DateTimeLevel::InvalidRange;
    // The step between labelled ticks and between short ticks, in the level's unit: hours,
    // minutes, seconds, hundredths of a second, days, months or years.
    int step = 0;
    int shortStep = 0;
    QStringList message; // for InvalidRange and SpanTooSmall
    std::vector<AxisTick> ticks;
};

// The ticks of a date/time axis over the day counts low..high. A minTicks below 1 counts as 1.
// A range that is invalid, or whose span per tick is below the level bounds, yields a message
// and no ticks. Below a day the long ticks carry the date line by format.dateForTime.
DateTimeAxisLayout computeDateTimeAxis(double low, double high, int minTicks, bool shortTicks,
                                       bool vertical, const DateTimeFormat &format);

// The most ticks one computation yields; a guard that ordinary settings never reach.
constexpr int kMaxDateTimeTicks = 10000;

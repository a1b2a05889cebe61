#include "widgets/Zel_NumLab.h"

#include <QLocale>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

const QString kIndicator = QStringLiteral("*********");

struct Case
{
    TDisplay type;
    int precision;
    double value;
    const char *expected; // UTF-8
    bool comma = false;
    bool plus = false;
};

void expectCases(std::initializer_list<Case> cases)
{
    for (const Case &c : cases) {
        NumLabFormat f;
        f.displayType = c.type;
        f.precision = c.precision;
        f.comma = c.comma;
        f.forcePlusSign = c.plus;
        EXPECT_EQ(FormatNumLabValue(f, c.value), QString::fromUtf8(c.expected))
            << "type " << int(c.type) << " P " << c.precision << " value " << c.value
            << (c.comma ? " comma" : "") << (c.plus ? " plus" : "");
    }
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

} // namespace

TEST(NumLabFormat, IntegersRoundHalvesToEven)
{
    expectCases({
        {dtInt, 2, 800, "800"},
        {dtInt, 2, 2.5, "2"},
        {dtInt, 2, 3.5, "4"},
        {dtInt, 2, -2.5, "-2"},
        {dtInt, 2, -0.4, "0"},
        {dtInt, 2, 0, "0"},
        {dtInt, 9, 1e15, "1000000000000000"},                       // no range test
        {dtInt, 2, -9223372036854775808.0, "-9223372036854775808"}, // still 64 bits
        {dtInt, 2, 7, "+7", false, true},
    });
    EXPECT_EQ(*roundHalfEven64(0.5), 0);
    EXPECT_EQ(*roundHalfEven64(1.5), 2);
    EXPECT_EQ(*roundHalfEven64(-1.5), -2);
    EXPECT_FALSE(roundHalfEven64(9223372036854775808.0));
    EXPECT_FALSE(roundHalfEven64(kNaN));
}

TEST(NumLabFormat, ValuesWithoutANumberOrBeyondRangesShowTheIndicator)
{
    for (const TDisplay type : {dtFloat, dtFixP, dtExp, dtHex, dtZeroInt, dtInt, dtDateTime, dtBin,
                                dtOct, dtDeg, dtDegMin, dtDegMinSec, dtEEng, dtEEngNoDP}) {
        NumLabFormat f;
        f.displayType = type;
        EXPECT_EQ(FormatNumLabValue(f, kNaN), kIndicator) << int(type);
        EXPECT_EQ(FormatNumLabValue(f, -kInf), kIndicator) << int(type);
    }
    expectCases({
        {dtInt, 2, 1e300, "*********"},
        {dtHex, 4, 4294967296.0, "*********"},
        {dtHex, 4, -2147483648.5, "*********"}, // the range test sees the unrounded value
        {dtBin, 4, 4294967295.4, "*********"},
        {dtBin, 4, 4294967294.6, "1111"},
        {dtOct, 4, 4294967295.6, "*********"},
        {dtZeroInt, 5, 2147483648.0, "*********"},
        {dtZeroInt, 5, -2147483648.0, "-2147483648"},
    });
    // The indicator is shown as it is: no separator change, no plus sign.
    NumLabFormat f;
    f.displayType = dtZeroInt;
    f.overflowIndicator = QStringLiteral("o.f");
    f.comma = true;
    f.forcePlusSign = true;
    EXPECT_EQ(FormatNumLabValue(f, 3e9), "o.f");
}

TEST(NumLabFormat, FixedPointSeparatorAndPlusSign)
{
    expectCases({
        {dtFixP, 2, 3.14159, "3.14"},
        {dtFixP, 2, 3.14159, "3,14", true},
        {dtFixP, 2, 3.14159, "+3.14", false, true},
        {dtFixP, 2, 0, "0.00", false, true}, // zero gets no plus sign
        {dtFixP, 2, -0.0, "0.00"},           // nor a minus sign
        {dtFixP, 2, -3.14159, "-3,14", true, true},
        {dtFixP, 0, 2.5, "2"},
        {dtFixP, 15, 0.1, "0.100000000000000"},
        {dtFixP, 2, 1e20, "100000000000000000000.00"},
    });
}

TEST(NumLabFormat, GeneralAndScientificForms)
{
    expectCases({
        {dtFloat, 4, 3.14159, "3.142"},
        {dtFloat, 4, 2.5, "2.5"},
        {dtFloat, 4, 100, "100"},
        {dtFloat, 2, 100, "1E2"}, // more digits before the point than P
        {dtFloat, 4, 123456, "1.235E5"},
        {dtFloat, 3, 0.00001, "0.00001"},
        // Below 0.00001 the form is scientific, also when the digits round up to it.
        {dtFloat, 1, 9.96e-6, "1E-5"},
        {dtFloat, 1, -9.96e-6, "-1E-5"},
        {dtFloat, 4, 9.9996e-6, "1E-5"},
        {dtFloat, 5, 9.9996e-6, "9.9996E-6"},
        {dtFloat, 2, 9.96e-5, "0.0001"},
        {dtFloat, 1, 9.96e-6, "+1E-5", true, true}, // no point to make a comma of
        {dtFloat, 3, 0.000001, "1E-6"},
        {dtFloat, 3, -2.5e-7, "-2.5E-7"},
        {dtFloat, 15, 1.5e10, "15000000000"},
        {dtFloat, 15, 1.5e20, "1.5E20"},
        {dtFloat, 4, -0.0, "0"},
        {dtFloat, 4, 0.5, "0,5", true},
        {dtExp, 3, 1234.5, "1.23E+003"},
        {dtExp, 2, -0.00012, "-1.2E-004"},
        {dtExp, 1, 1e300, "1E+300"},
        {dtExp, 4, 0, "0.000E+000"},
        {dtExp, 3, 1234.5, "+1,23E+003", true, true},
    });
}

TEST(NumLabFormat, HexBinaryAndOctalShowTheLastDigits)
{
    expectCases({
        {dtHex, 4, -1, "FFFF"},
        {dtHex, 15, -1, "FFFFFFFF"}, // at most 8 hexadecimal digits
        {dtHex, 0, 255, ""},
        {dtHex, 4, 255, "00FF", true, true}, // no separator or sign rules
        {dtHex, 4, 4294967295.0, "FFFF"},
        {dtHex, 8, 2.5, "00000002"},
        {dtBin, 8, 5, "00000101"},
        {dtBin, 8, 5, "00000101", false, true}, // base 2 never takes the plus sign
        {dtBin, 15, -1, "111111111111111"},
        {dtBin, 0, 5, ""},
        {dtOct, 4, 8, "0010"},
        {dtOct, 4, 8, "+0010", false, true},
        {dtOct, 15, -1, "37777777777"}, // the low 32 bits, at most 11 digits
        {dtZeroInt, 5, -42, "-00042"},
        {dtZeroInt, 5, 42, "+00042", false, true},
        {dtZeroInt, 0, 0, "0"},
    });
}

TEST(NumLabFormat, DegreeForms)
{
    expectCases({
        {dtDeg, 2, 12.5, "12.50°"},
        {dtDeg, 12, 1, "1.00000000°"}, // at most 8 decimals
        {dtDeg, 2, 12.5, "12,50°", true},
        {dtDegMin, 2, 12.5, "12° 30.00'"},
        {dtDegMin, 2, 12.05, "12°  3.00'"}, // minutes padded to five characters
        {dtDegMin, 0, 12.5, "12°  30'"},
        {dtDegMin, 2, -12.5, "-12° 30.00'"},
        {dtDegMin, 2, -0.5, "-0° 30.00'"}, // the sign is kept below one degree
        {dtDegMin, 2, 12.9999999999999, "13°  0.00'"},
        {dtDegMin, 2, 12.5, "+12° 30,00'", true, true},
        {dtDegMinSec, 2, 12.5, "12° 30'  0.00\""},
        // 12.1 degrees is 12 degrees 6 minutes, although the fraction times 60 is a hair
        // below 6.
        {dtDegMinSec, 2, 12.1, "12°  6'  0.00\""},
        {dtDegMinSec, 1, 45.2625, "45° 15' 45.0\""},
        // Minutes and seconds that round up to 60 carry into the unit above.
        {dtDegMin, 2, 12.99999, "13°  0.00'"},
        {dtDegMin, 0, -0.995, "-1°   0'"},
        {dtDegMinSec, 2, 12.9999999, "13°  0'  0.00\""},
        {dtDegMinSec, 0, 12.5 + 59.6 / 3600, "12° 31'   0\""},
    });
}

TEST(NumLabFormat, EngineeringForms)
{
    expectCases({
        {dtEEng, 3, 4700, "4.70k"},
        {dtEEng, 3, 0.0047, "4.70m"},
        {dtEEng, 3, 47, "47.0"},
        {dtEEng, 3, -4.7e-6, "-4.70u"},
        {dtEEng, 3, 0, "0.00"},
        {dtEEng, 3, 4700, "+4,70k", true, true},
        {dtEEngNoDP, 3, 4700, "4k70"},
        {dtEEngNoDP, 3, 47, "47.0"}, // no prefix: the point stays
        {dtEEngNoDP, 1, 4700, "5k"},
        {dtEEng, 15, 1, "1.00000000"}, // nine significant digits at most
    });
}

TEST(NumLabFormat, DateTimeAndStateAreNotPostProcessed)
{
    const QLocale saved;
    QLocale::setDefault(QLocale::c());
    NumLabFormat f;
    f.displayType = dtDateTime;
    f.comma = true;
    f.forcePlusSign = true;
    EXPECT_EQ(FormatNumLabValue(f, 45000.75), "Mar-15, 2023"); // the default pattern
    EXPECT_EQ(FormatNumLabValue(f, 0), "Dec-30, 1899");
    EXPECT_EQ(FormatNumLabValue(f, 1e15), kIndicator);
    f.dtFormat = QStringLiteral("yyyy-mm-dd hh:nn");
    EXPECT_EQ(FormatNumLabValue(f, 45000.75), "2023-03-15 18:00");
    QLocale::setDefault(saved);

    f.displayType = dtState;
    f.stateText = QStringLiteral("1.5, off");
    EXPECT_EQ(FormatNumLabValue(f, 3), "1.5, off");
    EXPECT_EQ(FormatNumLabValue(f, kNaN), "1.5, off");
}

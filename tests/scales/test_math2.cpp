// SPDX-License-Identifier: GPL-3.0-or-later
#include "scales/Zel_math2.h"

#include <QBuffer>
#include <QIODevice>

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <vector>

// ---- logarithm -------------------------------------------------------------------------------

TEST(Log10Strict, PowersOfTenAreExact)
{
    // The engineering form floors these; 2.9999999999999996 for 1000 would show "1000".
    for (int p = -15; p <= 15; ++p)
        EXPECT_EQ(Log10Strict(std::pow(10.0, p)), double(p)) << "10^" << p;
    EXPECT_NEAR(Log10Strict(2), 0.30102999566398120, 1e-15);
}

TEST(Log10Strict, RejectsNonPositiveAndNaN)
{
    for (double x : {0.0, -0.0, -1.0, -std::numeric_limits<double>::infinity(),
                     std::numeric_limits<double>::quiet_NaN()}) {
        try {
            Log10Strict(x);
            ADD_FAILURE() << "no error for " << x;
        } catch (const EMathError &e) {
            EXPECT_STREQ(e.what(), "logarithm: invalid argument");
        }
    }
    // EMathError is a std::runtime_error, so generic handlers catch it.
    EXPECT_THROW(Log10Strict(0), std::runtime_error);
}

// ---- fixed-width formatting ------------------------------------------------------------------

TEST(FormatFixed, FixedNotationRightAlignedInTheField)
{
    EXPECT_EQ(FormatFixed(8, 2, 12.5L), QStringLiteral("   12.50"));
    EXPECT_EQ(FormatFixed(-8, 2, 12.5L), QStringLiteral("00012.50"));
    EXPECT_EQ(FormatFixed(2, 3, -3.14159L), QStringLiteral("-3.142")); // wider when needed
    EXPECT_EQ(FormatFixed(0, 1, 0.25L), QStringLiteral("0.2"));        // exact tie goes to even
    EXPECT_EQ(FormatFixed(6, -1, 2.7L), QStringLiteral("     3"));     // negative decimals: none
    EXPECT_EQ(FormatFixed(5, 2, -0.0L), QStringLiteral(" 0.00"));
}

TEST(FormatFixed, NegativeWidthMovesTheSignInFrontOfTheZeros)
{
    EXPECT_EQ(FormatFixed(-8, 2, -12.5L), QStringLiteral("-0012.50"));
    EXPECT_EQ(FormatFixed(-7, 0, -5.0L), QStringLiteral("-000005"));
    // No padding needed: the text stays as it is.
    EXPECT_EQ(FormatFixed(-3, 2, -12.5L), QStringLiteral("-12.50"));
    EXPECT_EQ(FormatFixed(-7, 2, -12.5L), QStringLiteral("-012.50"));
}

TEST(FormatFixed, UsesTheFullExtendedPrecision)
{
    if constexpr (std::numeric_limits<long double>::digits >= 64) {
        // 2^63 + 1 is not a double; it must survive as a long double.
        const long double big = 9223372036854775808.0L + 1.0L;
        EXPECT_EQ(FormatFixed(1, 0, big), QStringLiteral("9223372036854775809"));
    } else {
        GTEST_SKIP() << "long double is no wider than double here";
    }
}

TEST(FormatFixed, DecimalPointIsAPointInAnyLocale)
{
    const char *chosen = nullptr;
    for (const char *name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"}) {
        if (std::setlocale(LC_NUMERIC, name)) {
            chosen = name;
            break;
        }
    }
    if (!chosen)
        GTEST_SKIP() << "no locale with a decimal comma installed";
    const QString fixed = FormatFixed(1, 2, 3.25L);
    const QString sci = FormatFixed(10, -2, 3.25L);
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(fixed, QStringLiteral("3.25"));
    EXPECT_EQ(sci, QStringLiteral(" 3.250E+00"));
}

TEST(FormatFixed, ScientificDigitCountFollowsTheWidth)
{
    // Width m >= 8 gives m - 6 significant digits and a text exactly m wide.
    EXPECT_EQ(FormatFixed(10, -2, 12345.678L), QStringLiteral(" 1.235E+04"));
    EXPECT_EQ(FormatFixed(12, -2, -0.000123456L), QStringLiteral("-1.23456E-04"));
    // Narrower fields keep two significant digits and overflow the field.
    EXPECT_EQ(FormatFixed(1, -2, 12345.678L), QStringLiteral(" 1.2E+04"));
    EXPECT_EQ(FormatFixed(7, -2, 0.0L), QStringLiteral(" 0.0E+00"));
    // At most 18 significant digits, however wide the field.
    const QString wide = FormatFixed(40, -2, 1.0L);
    EXPECT_EQ(wide, QStringLiteral(" 1.00000000000000000E+00"));
    EXPECT_EQ(wide.size(), 24);
    // Negative widths zero-fill the sign column of positive numbers only.
    EXPECT_EQ(FormatFixed(-10, -2, 12345.678L), QStringLiteral("01.235E+04"));
    EXPECT_EQ(FormatFixed(-10, -2, -12345.678L), QStringLiteral("-1.235E+04"));
}

TEST(FormatFixed, ThreeDigitExponentsBecomeAsterisks)
{
    EXPECT_EQ(FormatFixed(10, -2, 1e100L), QString(10, QLatin1Char('*')));
    EXPECT_EQ(FormatFixed(3, -2, 1e300L * 1e300L), QString(8, QLatin1Char('*')));
    // The exponent is the one after rounding: 9.96e99 rounds up to 1.0E+100.
    EXPECT_EQ(FormatFixed(8, -2, 9.94e99L), QStringLiteral(" 9.9E+99"));
    EXPECT_EQ(FormatFixed(8, -2, 9.96e99L), QStringLiteral("********"));
    EXPECT_EQ(FormatFixed(8, -2, 1e-99L), QStringLiteral(" 1.0E-99"));
}

TEST(FormatFixed, ExtremeArgumentsStaySafe)
{
    // |INT_MIN| does not fit an int; the field is capped instead of overflowing.
    const QString capped = FormatFixed(std::numeric_limits<int>::min(), 0, 1.0L);
    EXPECT_EQ(capped.size(), 4096);
    EXPECT_TRUE(capped.startsWith(QStringLiteral("0000")));
    EXPECT_TRUE(capped.endsWith(QStringLiteral("01")));
    EXPECT_EQ(FormatFixed(1, std::numeric_limits<int>::max(), 0.5L).size(), 1002);
    EXPECT_EQ(FormatFixed(1, 0, std::numeric_limits<long double>::max()).size(), 4933);

    const long double inf = std::numeric_limits<long double>::infinity();
    EXPECT_EQ(FormatFixed(5, 2, std::numeric_limits<long double>::quiet_NaN()),
              QStringLiteral("  NAN"));
    EXPECT_EQ(FormatFixed(-6, 2, -inf), QStringLiteral("  -INF"));
    EXPECT_EQ(FormatFixed(1, -2, inf), QStringLiteral("INF"));
}

// ---- engineering form ------------------------------------------------------------------------

TEST(FormatWithPrefix, ShowsSignificantDigitsWithAPrefixLetter)
{
    EXPECT_EQ(FormatWithPrefix(3, 1234), QStringLiteral("1.23k"));
    EXPECT_EQ(FormatWithPrefix(3, 4700), QStringLiteral("4.70k"));
    EXPECT_EQ(FormatWithPrefix(3, 0.0047), QStringLiteral("4.70m"));
    EXPECT_EQ(FormatWithPrefix(3, 47), QStringLiteral("47.0"));
    EXPECT_EQ(FormatWithPrefix(3, 470), QStringLiteral("470"));
    EXPECT_EQ(FormatWithPrefix(3, -0.000015), QStringLiteral("-15.0u"));
    EXPECT_EQ(FormatWithPrefix(3, 3.3e10), QStringLiteral("33.0G"));
    // Exact powers of ten start a new prefix.
    EXPECT_EQ(FormatWithPrefix(3, 1000), QStringLiteral("1.00k"));
    EXPECT_EQ(FormatWithPrefix(3, 0.001), QStringLiteral("1.00m"));
    EXPECT_EQ(FormatWithPrefix(3, 1e6), QStringLiteral("1.00M"));
}

TEST(FormatWithPrefix, DigitsBelowTwoGiveOneDigitAndAreLimitedToNine)
{
    EXPECT_EQ(FormatWithPrefix(1, 1234), QStringLiteral("1k"));
    EXPECT_EQ(FormatWithPrefix(-1, 1234), QStringLiteral("1k"));
    EXPECT_EQ(FormatWithPrefix(1, 56), QStringLiteral("56"));
    EXPECT_EQ(FormatWithPrefix(25, 1234), QStringLiteral("1.23400000k"));
    EXPECT_EQ(FormatWithPrefix(-25, 1234), QStringLiteral("1k23400000"));
}

TEST(FormatWithPrefix, PointReplacingMode)
{
    EXPECT_EQ(FormatWithPrefix(-3, 4700), QStringLiteral("4k70"));
    EXPECT_EQ(FormatWithPrefix(-3, 1234), QStringLiteral("1k23"));
    EXPECT_EQ(FormatWithPrefix(-3, -0.0047), QStringLiteral("-4m70"));
    EXPECT_EQ(FormatWithPrefix(-2, 1234), QStringLiteral("1k2"));
    // No point to replace: the letter is appended.
    EXPECT_EQ(FormatWithPrefix(-2, 123456), QStringLiteral("123k"));
    // Without a prefix the point stays.
    EXPECT_EQ(FormatWithPrefix(-3, 47), QStringLiteral("47.0"));
}

TEST(FormatWithPrefix, ZeroRangeEndsAndNonFiniteValues)
{
    EXPECT_EQ(FormatWithPrefix(3, 0), QStringLiteral("0.00"));
    EXPECT_EQ(FormatWithPrefix(-3, -0.0), QStringLiteral("0.00"));
    EXPECT_EQ(FormatWithPrefix(1, 0), QStringLiteral("0"));
    // Beyond tera and atto the prefix stays at the end of the table.
    EXPECT_EQ(FormatWithPrefix(3, 1e15), QStringLiteral("1000T"));
    EXPECT_EQ(FormatWithPrefix(3, 1e-20), QStringLiteral("0.0100a"));
    EXPECT_EQ(FormatWithPrefix(3, 2e-18), QStringLiteral("2.00a"));
    EXPECT_NO_THROW(FormatWithPrefix(3, std::numeric_limits<double>::denorm_min()));
    EXPECT_EQ(FormatWithPrefix(3, std::numeric_limits<double>::quiet_NaN()), QStringLiteral("NAN"));
    EXPECT_EQ(FormatWithPrefix(3, -std::numeric_limits<double>::infinity()),
              QStringLiteral("-INF"));
}

// ---- text ------------------------------------------------------------------------------------

TEST(ReplaceAll, ReplacesLeftToRightWithoutRescanning)
{
    EXPECT_EQ(ReplaceAll(QStringLiteral("aaaa"), QStringLiteral("aa"), QStringLiteral("a"), false),
              QStringLiteral("aa"));
    EXPECT_EQ(ReplaceAll(QStringLiteral("aaa"), QStringLiteral("aa"), QStringLiteral("b"), false),
              QStringLiteral("ba"));
    // The replacement contains the search text: inserted text is never searched again.
    EXPECT_EQ(ReplaceAll(QStringLiteral("a-a"), QStringLiteral("a"), QStringLiteral("aa"), false),
              QStringLiteral("aa-aa"));
    EXPECT_EQ(
        ReplaceAll(QStringLiteral("x\r\ny\r\n"), QStringLiteral("\r"), QStringLiteral(" "), false),
        QStringLiteral("x \ny \n"));
    EXPECT_EQ(ReplaceAll(QStringLiteral("one  two"), QStringLiteral(" "), QString(), false),
              QStringLiteral("onetwo"));
    EXPECT_EQ(ReplaceAll(QStringLiteral("abc"), QStringLiteral("abcd"), QStringLiteral("x"), false),
              QStringLiteral("abc"));
}

TEST(ReplaceAll, IgnoreCaseFoldsBothTexts)
{
    const QString text = QStringLiteral("Name: <%AppName%> and <%appname%>");
    EXPECT_EQ(ReplaceAll(text, QStringLiteral("<%APPNAME%>"), QStringLiteral("Ionograph"), true),
              QStringLiteral("Name: Ionograph and Ionograph"));
    EXPECT_EQ(ReplaceAll(text, QStringLiteral("<%APPNAME%>"), QStringLiteral("Ionograph"), false),
              text);
    EXPECT_EQ(ReplaceAll(QStringLiteral("a <%1%> b"), QStringLiteral("<%1%>"), QString(), true),
              QStringLiteral("a  b"));
    // A character whose full lower case is longer must not shift later matches.
    EXPECT_EQ(
        ReplaceAll(QStringLiteral("\u0130xX"), QStringLiteral("x"), QStringLiteral("y"), true),
        QStringLiteral("\u0130yy"));
}

TEST(ReplaceAll, EmptySearchTextHasNoOccurrence)
{
    EXPECT_EQ(ReplaceAll(QStringLiteral("abc"), QString(), QStringLiteral("x"), false),
              QStringLiteral("abc"));
    EXPECT_EQ(ReplaceAll(QStringLiteral("abc"), QString(), QStringLiteral("x"), true),
              QStringLiteral("abc"));
    EXPECT_EQ(ReplaceAll(QString(), QStringLiteral("a"), QStringLiteral("x"), false), QString());
}

TEST(FindOccurrence, CountsNonOverlappingOccurrencesFromTheStart)
{
    const QString banana = QStringLiteral("banana");
    const QString a = QStringLiteral("a");
    EXPECT_EQ(FindOccurrence(a, banana, 1, false, 1), 2);
    EXPECT_EQ(FindOccurrence(a, banana, 1, false, 3), 6);
    EXPECT_EQ(FindOccurrence(a, banana, 1, false, 4), 0);
    EXPECT_EQ(FindOccurrence(QStringLiteral("ana"), banana, 1, false, 2), 0); // no overlap
    EXPECT_EQ(FindOccurrence(QStringLiteral("aa"), QStringLiteral("aaaa"), 1, false, 2), 3);
    EXPECT_EQ(FindOccurrence(QStringLiteral("aa"), QStringLiteral("aaa"), 1, false, 2), 0);
    // Positions are counted in the whole text; the part before start is skipped.
    EXPECT_EQ(FindOccurrence(a, banana, 3, false, 1), 4);
    EXPECT_EQ(FindOccurrence(a, banana, 3, false, 2), 6);
    EXPECT_EQ(FindOccurrence(QStringLiteral("aa"), QStringLiteral("aaaa"), 2, false, 1), 2);
    EXPECT_EQ(FindOccurrence(QStringLiteral("aa"), QStringLiteral("aaaa"), 2, false, 2), 0);
}

TEST(FindOccurrence, StartCountAndCaseRules)
{
    const QString banana = QStringLiteral("bAnana");
    EXPECT_EQ(FindOccurrence(QStringLiteral("a"), banana, 0, false, 1), 4);
    EXPECT_EQ(FindOccurrence(QStringLiteral("a"), banana, -7, false, 1), 4);
    EXPECT_EQ(FindOccurrence(QStringLiteral("a"), banana, 0, true, 1), 2);
    EXPECT_EQ(FindOccurrence(QStringLiteral("NA"), banana, 1, true, 2), 5);
    EXPECT_EQ(FindOccurrence(QStringLiteral("NA"), banana, 1, false, 1), 0);
    EXPECT_EQ(FindOccurrence(QStringLiteral("a"), banana, 6, false, 1), 6);
    EXPECT_EQ(FindOccurrence(QStringLiteral("a"), banana, 7, false, 1), 0);
    EXPECT_EQ(FindOccurrence(QStringLiteral("a"), banana, 1, false, 0), 0);
    EXPECT_EQ(FindOccurrence(QStringLiteral("a"), banana, 1, false, -1), 0);
    EXPECT_EQ(FindOccurrence(QString(), banana, 1, false, 1), 0);
}

TEST(TrimBlanks, RemovesOnlyCode32AtBothEnds)
{
    EXPECT_EQ(TrimBlanks(QStringLiteral("     ")), QString());
    EXPECT_EQ(TrimBlanks(QString()), QString());
    EXPECT_EQ(TrimBlanks(QStringLiteral("  http://x.org/a b  ")),
              QStringLiteral("http://x.org/a b"));
    EXPECT_EQ(TrimBlanks(QStringLiteral("\t x \t")), QStringLiteral("\t x \t"));
    EXPECT_EQ(TrimBlanks(QStringLiteral(" \n")), QStringLiteral("\n"));
}

// ---- reading up to a terminator --------------------------------------------------------------

namespace {

// A stream that cannot seek, like a pipe or socket.
class SequentialSource : public QIODevice
{
public:
    explicit SequentialSource(QByteArray data) : m_data(std::move(data))
    {
        open(QIODevice::ReadOnly);
    }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override
    {
        return m_data.size() - m_at + QIODevice::bytesAvailable();
    }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 n = std::min<qint64>(maxSize, m_data.size() - m_at);
        std::memcpy(data, m_data.constData() + m_at, size_t(n));
        m_at += n;
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_data;
    qint64 m_at = 0;
};

QByteArray xs(int n)
{
    return QByteArray(n, 'x');
}

} // namespace

TEST(ReadUpToTerminator, ReadsEntryAfterEntryAndPositionsAfterEachTerminator)
{
    QByteArray data = "[a]=1|$$\r\n[b]=2|$$\r\ntrailing";
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);

    TerminatedText first = ReadUpToTerminator(buffer, "|$$");
    EXPECT_TRUE(first.ok());
    EXPECT_EQ(first.text, QByteArray("[a]=1|$$"));
    EXPECT_EQ(first.found, 6);
    EXPECT_EQ(buffer.pos(), 8);

    TerminatedText second = ReadUpToTerminator(buffer, "|$$");
    EXPECT_EQ(second.text, QByteArray("\r\n[b]=2|$$"));
    EXPECT_EQ(buffer.pos(), 18);

    TerminatedText third = ReadUpToTerminator(buffer, "|$$");
    EXPECT_FALSE(third.ok());
    EXPECT_EQ(third.found, -1);
    EXPECT_TRUE(third.text.isEmpty());
    EXPECT_EQ(buffer.pos(), 18); // nothing consumed on failure
}

TEST(ReadUpToTerminator, TerminatorAcrossABlockBoundaryAndLongEntries)
{
    // Terminator at bytes 254..256: the first block ends after "|$".
    QByteArray data = xs(254) + "|$$" + "rest|$$";
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    TerminatedText entry = ReadUpToTerminator(buffer, "|$$");
    EXPECT_EQ(entry.found, 255);
    EXPECT_EQ(entry.text, xs(254) + "|$$");
    EXPECT_EQ(buffer.pos(), 257);
    EXPECT_EQ(ReadUpToTerminator(buffer, "|$$").text, QByteArray("rest|$$"));
    EXPECT_EQ(buffer.pos(), data.size());

    // Terminator ending exactly on the block's last byte, then an entry of three blocks.
    QByteArray exact = xs(253) + "|$$" + xs(700) + "|$$" + "tail";
    QBuffer second(&exact);
    second.open(QIODevice::ReadOnly);
    EXPECT_EQ(ReadUpToTerminator(second, "|$$").text.size(), 256);
    EXPECT_EQ(second.pos(), 256);
    TerminatedText longEntry = ReadUpToTerminator(second, "|$$");
    EXPECT_EQ(longEntry.text, xs(700) + "|$$");
    EXPECT_EQ(second.pos(), 959);
    EXPECT_EQ(second.readAll(), QByteArray("tail"));
}

TEST(ReadUpToTerminator, StartsAtTheCurrentPositionAndIgnoresCase)
{
    QByteArray data = "skip END here Data eNd more";
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    buffer.seek(5);
    TerminatedText entry = ReadUpToTerminator(buffer, "end");
    EXPECT_EQ(entry.text, QByteArray("END"));
    EXPECT_EQ(buffer.pos(), 8);
    entry = ReadUpToTerminator(buffer, "end");
    EXPECT_EQ(entry.text, QByteArray(" here Data eNd"));
    EXPECT_EQ(entry.found, 12);
    EXPECT_EQ(buffer.pos(), 22);
}

TEST(ReadUpToTerminator, FailureLeavesTheStreamInPlace)
{
    QByteArray blocks = xs(522); // from 10: two full blocks, then an empty one
    QBuffer buffer(&blocks);
    buffer.open(QIODevice::ReadOnly);
    buffer.seek(10);
    EXPECT_EQ(ReadUpToTerminator(buffer, "|$$").found, -1);
    EXPECT_EQ(buffer.pos(), 10);

    QByteArray empty;
    QBuffer nothing(&empty);
    nothing.open(QIODevice::ReadOnly);
    EXPECT_FALSE(ReadUpToTerminator(nothing, "|$$").ok());

    // An empty terminator would be "found" without consuming anything, so a reader loop
    // would never end; it counts as not found.
    QByteArray data = "abc";
    QBuffer some(&data);
    some.open(QIODevice::ReadOnly);
    EXPECT_FALSE(ReadUpToTerminator(some, QByteArray()).ok());
    EXPECT_EQ(some.pos(), 0);

    QBuffer closed(&data);
    EXPECT_FALSE(ReadUpToTerminator(closed, "a").ok());
}

TEST(ReadUpToTerminator, SequentialStreamKeepsTheBytesAfterTheTerminator)
{
    SequentialSource source(xs(300) + "|$$" + "after" + xs(600));
    TerminatedText entry = ReadUpToTerminator(source, "|$$");
    EXPECT_EQ(entry.text, xs(300) + "|$$");
    EXPECT_EQ(source.read(5), QByteArray("after"));

    EXPECT_FALSE(ReadUpToTerminator(source, "|$$").ok());
    EXPECT_EQ(source.readAll(), xs(600)); // a failed search consumes nothing

    SequentialSource busy(QByteArray("a|$$"));
    busy.startTransaction();
    EXPECT_FALSE(ReadUpToTerminator(busy, "|$$").ok());
    busy.rollbackTransaction();
    EXPECT_EQ(busy.readAll(), QByteArray("a|$$"));
}

// ---- normal deviates -------------------------------------------------------------------------

namespace {

class NextGaussianTest : public ::testing::Test
{
protected:
    void TearDown() override { setUniformSource(nullptr); }

    // Installs a source that hands out the given values and counts the draws.
    void inject(std::vector<double> values)
    {
        m_values = std::move(values);
        m_next = 0;
        setUniformSource([this] {
            if (m_next >= m_values.size())
                throw std::out_of_range("uniform sequence exhausted");
            return m_values[m_next++];
        });
    }
    // Extends the sequence without touching the installed source.
    void append(const std::vector<double> &values)
    {
        m_values.insert(m_values.end(), values.begin(), values.end());
    }
    std::size_t draws() const { return m_next; }

private:
    std::vector<double> m_values;
    std::size_t m_next = 0;
};

// The pair (z1, z2) = (0.5, -0.25), from u = 0.75 and 0.375.
const double kS = 0.5 * 0.5 + 0.25 * 0.25;
const double kF = std::sqrt(-2 * std::log(kS) / kS);

} // namespace

TEST_F(NextGaussianTest, ReturnsSecondValueAndCachesFirst)
{
    inject({0.75, 0.375});
    EXPECT_DOUBLE_EQ(NextGaussian(), -0.25 * kF);
    EXPECT_EQ(draws(), 2u);
    EXPECT_DOUBLE_EQ(NextGaussian(), 0.5 * kF); // from the cache, no draw
    EXPECT_EQ(draws(), 2u);
    EXPECT_THROW(NextGaussian(), std::out_of_range); // the cache is empty again
}

TEST_F(NextGaussianTest, RedrawsOutsideTheUnitCircleAndAtItsCentre)
{
    inject({0.0, 0.0,      // s = 2
            0.0, 0.5,      // s = 1 exactly: not inside
            0.5, 0.5,      // s = 0: the method is undefined there
            0.75, 0.375}); // accepted
    const double value = NextGaussian();
    EXPECT_TRUE(std::isfinite(value));
    EXPECT_DOUBLE_EQ(value, -0.25 * kF);
    EXPECT_EQ(draws(), 8u);
    EXPECT_DOUBLE_EQ(NextGaussian(), 0.5 * kF);
}

TEST_F(NextGaussianTest, CacheCanBeResetAndIsClearedBySourceChanges)
{
    inject({0.75, 0.375, 0.75, 0.375});
    NextGaussian();
    resetGaussianCache();
    EXPECT_DOUBLE_EQ(NextGaussian(), -0.25 * kF); // a fresh pair, not the cached value
    EXPECT_EQ(draws(), 4u);

    EXPECT_DOUBLE_EQ(NextGaussian(), 0.5 * kF); // from the cache

    // A source that fails mid-draw must not leave the old value marked as cached.
    append({0.75});
    EXPECT_THROW(NextGaussian(), std::out_of_range);
    append({0.75, 0.375});
    EXPECT_DOUBLE_EQ(NextGaussian(), -0.25 * kF);
    EXPECT_EQ(draws(), 7u);

    inject({0.75, 0.375});
    NextGaussian();
    inject({0.25, 0.625}); // (z1, z2) = (-0.5, 0.25): a new source starts afresh
    EXPECT_DOUBLE_EQ(NextGaussian(), 0.25 * kF);
}

TEST_F(NextGaussianTest, SeedingRepeatsTheSequence)
{
    seedUniformSource(42);
    std::vector<double> first;
    for (int i = 0; i < 5; ++i)
        first.push_back(NextGaussian()); // an odd count: a value stays cached

    seedUniformSource(42); // drops the cached value
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(NextGaussian(), first[std::size_t(i)]) << i;

    inject({0.75, 0.375});
    NextGaussian();
    seedUniformSource(42); // takes the injected source out and drops its cached value
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(NextGaussian(), first[std::size_t(i)]) << i;
}

TEST_F(NextGaussianTest, DefaultGeneratorGivesStandardNormalDeviates)
{
    seedUniformSource(20240601);
    const int n = 40000;
    double sum = 0, sumSq = 0;
    int within1 = 0;
    for (int i = 0; i < n; ++i) {
        const double u = nextUniform();
        ASSERT_GE(u, 0.0);
        ASSERT_LT(u, 1.0);
        const double g = NextGaussian();
        sum += g;
        sumSq += g * g;
        within1 += std::fabs(g) < 1 ? 1 : 0;
    }
    const double mean = sum / n;
    EXPECT_NEAR(mean, 0.0, 0.03);
    EXPECT_NEAR(sumSq / n - mean * mean, 1.0, 0.03);
    EXPECT_NEAR(double(within1) / n, 0.6827, 0.01);
}

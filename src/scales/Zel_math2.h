// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Math and text routines shared by the component library: a strict base-10 logarithm,
// fixed-width and metric-prefix number formatting, the library's normal random deviate,
// exchanges of two variables, and text helpers (replace all, n-th occurrence, blank trimming,
// reading a stream up to a terminator).
//
// Everything here is meant for the GUI thread; the random generator and the deviate cache are
// process-wide and not guarded by a lock.

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <functional>
#include <stdexcept>
#include <utility>

class QIODevice;

// Raised by the math routines; the only raiser is Log10Strict.
class EMathError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// ---- numbers ---------------------------------------------------------------------------------

// log10(x) for x > 0. Raises EMathError("logarithm: invalid argument") for x <= 0 and for NaN.
// Exact powers of ten give exact integers (log10(1000) is 3, not 2.9999999999999996), which the
// engineering formatting relies on.
double Log10Strict(double x);

// Number to text in a field of m = |width| characters, with "." as decimal point whatever the
// locale.
// - decimals == -2: scientific form. Significant digits D = m - 6 (at most 18) when m >= 8,
//   else 2. The text is a sign column (blank or "-"), one digit, ".", D - 1 digits, "E", the
//   exponent's sign and two exponent digits ("1.2E+03" style). An exponent that needs three or
//   more digits turns every character of the text into "*". The text is exactly m characters
//   wide for 8 <= m <= 24 and 8 characters wide below that; it is not padded beyond 24.
// - other decimals: fixed notation with that many decimals (a negative count other than -2
//   counts as 0, counts above 1000 as 1000), right-aligned with blanks in a field of m characters
//   (wider when needed).
// - width < 0: the leading blanks become "0"; a "-" that followed them becomes "0" and the first
//   character of the text becomes "-", so the sign stands in front of the zero padding
//   (FormatFixed(-8, 2, -12.5) is "-0012.50").
// Field widths above 4096 count as 4096. Negative zero is written as zero. NaN and infinities
// are written "NAN", "INF" and "-INF", right-aligned with blanks, never zero-padded.
QString FormatFixed(int width, int decimals, long double x);

// Engineering form with a metric prefix letter ("afpnum kMGT", "u" for micro), as the numeric
// label shows it. digits (limited to -9..9) gives d + 1 significant digits with
// d = |digits| - 1 (0 for |digits| < 2). With digits <= -2 the prefix letter replaces the
// decimal point ("4k70"); otherwise it is appended ("4.70k"). Exponents beyond atto and tera
// stay at those prefixes. 0 gives 0 with d decimals; NaN and infinities give FormatFixed's
// texts.
QString FormatWithPrefix(int digits, double x);

// ---- random numbers --------------------------------------------------------------------------

// A standard normal deviate by the polar method: every second call returns the value cached by
// the call before. Pairs that fall outside the unit circle, or exactly on its centre (where the
// method is undefined), are drawn again.
double NextGaussian();

// The process's uniform generator, values in [0, 1). By default a 64-bit Mersenne twister that
// was seeded once from the clock at start-up.
double nextUniform();

// Replaces the uniform source (tests inject fixed sequences); an empty function restores the
// default generator with its current state. The source must return values in [0, 1).
// Changing the source also clears the deviate cache.
void setUniformSource(std::function<double()> source);

// Seeds the default generator, makes it the uniform source again and clears the deviate cache,
// so the same seed always gives the same deviates.
void seedUniformSource(quint64 seed);

// Empties NextGaussian's one-value cache.
void resetGaussianCache();

// ---- exchanges -------------------------------------------------------------------------------

inline void SwapLongint(qint32 &a, qint32 &b) noexcept
{
    std::swap(a, b);
}
inline void SwapDouble(double &a, double &b) noexcept
{
    std::swap(a, b);
}
inline void SwapExtended(long double &a, long double &b) noexcept
{
    std::swap(a, b);
}

// ---- text ------------------------------------------------------------------------------------

// Replaces every occurrence of search in text, left to right without overlap; the scan goes on
// after the inserted replacement, which is never rescanned (ReplaceAll("aaaa", "aa", "a") is
// "aa"). With ignoreCase both texts are compared lower-cased. An empty search text has no
// occurrence: the text comes back unchanged.
QString ReplaceAll(const QString &text, const QString &search, const QString &replacement,
                   bool ignoreCase);

// 1-based position (in the whole text) of the n-th non-overlapping occurrence of search in
// text, counting from position start (start <= 0 counts as 1), or 0 when there are fewer than
// n occurrences, n <= 0, or search is empty. With ignoreCase both texts are lower-cased.
int FindOccurrence(const QString &search, const QString &text, int start, bool ignoreCase, int n);

// Removes blanks (code 32 only; tabs and other white space stay) at both ends.
QString TrimBlanks(const QString &text);

// Result of ReadUpToTerminator.
struct TerminatedText
{
    QByteArray text; // up to and including the terminator; empty when not found
    int found = -1;  // 1-based position of the terminator in text, -1 when not found
    bool ok() const { return found > 0; }
};

// Reads from the device's current position in blocks of 256 bytes until a block comes back
// shorter than 256 bytes or the accumulated bytes contain the terminator (compared with ASCII
// letters lower-cased). When found, returns the bytes up to and including the first
// occurrence and leaves the device just after it, however far the block reading went.
// When not found, returns found == -1 and leaves the device where it was. An empty terminator,
// a device that is not open for reading, or a sequential device inside a transaction of the
// caller's count as not found (nothing is consumed). Random-access devices are repositioned
// by seeking, sequential ones through a read transaction.
TerminatedText ReadUpToTerminator(QIODevice &stream, const QByteArray &terminator);

// SPDX-License-Identifier: GPL-3.0-or-later
// Text routines: replace all, n-th occurrence, blank trimming, reading a stream up to a
// terminator.

#include "scales/Zel_math2.h"

#include <QIODevice>

#include <algorithm>

namespace {

// Lower-cases character by character with the simple (one-to-one) mapping, so positions in
// the folded text are positions in the original. QString::toLower may change the length
// (U+0130 becomes two code units), which would misplace every later match.
QString foldLower(const QString &text)
{
    QString out = text;
    const qsizetype n = out.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = out[i];
        if (c.isHighSurrogate() && i + 1 < n && out[i + 1].isLowSurrogate()) {
            const char32_t lower = QChar::toLower(QChar::surrogateToUcs4(c, out[i + 1]));
            if (QChar::requiresSurrogates(lower)) {
                out[i] = QChar(QChar::highSurrogate(lower));
                out[i + 1] = QChar(QChar::lowSurrogate(lower));
            }
            ++i;
        } else if (!c.isSurrogate()) {
            out[i] = c.toLower();
        }
    }
    return out;
}

// 0-based index of the next occurrence at or after from, or -1.
qsizetype nextOccurrence(const QString &haystack, const QString &needle, qsizetype from)
{
    if (from > haystack.size())
        return -1;
    return haystack.indexOf(needle, from, Qt::CaseSensitive);
}

QByteArray asciiLower(const QByteArray &bytes)
{
    return bytes.toLower(); // ASCII letters only, one byte for one byte
}

} // namespace

int FindOccurrence(const QString &search, const QString &text, int start, bool ignoreCase, int n)
{
    if (n <= 0 || search.isEmpty())
        return 0;
    const QString haystack = ignoreCase ? foldLower(text) : text;
    const QString needle = ignoreCase ? foldLower(search) : search;
    qsizetype from = start <= 0 ? 0 : qsizetype(start) - 1;
    for (int found = 1;; ++found) {
        const qsizetype at = nextOccurrence(haystack, needle, from);
        if (at < 0)
            return 0;
        if (found == n)
            return int(at + 1);
        from = at + needle.size();
    }
}

QString ReplaceAll(const QString &text, const QString &search, const QString &replacement,
                   bool ignoreCase)
{
    if (search.isEmpty())
        return text;
    // Scanning the folded original gives the same occurrences as rescanning the edited text
    // from after each insertion, since the text behind the scan position is unchanged.
    const QString haystack = ignoreCase ? foldLower(text) : text;
    const QString needle = ignoreCase ? foldLower(search) : search;
    QString result;
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = nextOccurrence(haystack, needle, from);
        if (at < 0)
            break;
        result += QStringView(text).mid(from, at - from);
        result += replacement;
        from = at + needle.size();
    }
    result += QStringView(text).mid(from);
    return result;
}

QString TrimBlanks(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == QLatin1Char(' '))
        ++first;
    while (last > first && text[last - 1] == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}

TerminatedText ReadUpToTerminator(QIODevice &stream, const QByteArray &terminator)
{
    constexpr qint64 kBlock = 256;
    TerminatedText result;
    if (terminator.isEmpty() || !stream.isOpen() || !stream.isReadable())
        return result;

    const bool sequential = stream.isSequential();
    if (sequential && stream.isTransactionStarted())
        return result;
    const qint64 start = stream.pos();
    if (sequential)
        stream.startTransaction();

    const QByteArray needle = asciiLower(terminator);
    QByteArray accumulator;
    QByteArray lowered;
    qsizetype at = -1;
    for (;;) {
        const QByteArray block = stream.read(kBlock);
        // Only the tail that the new block can complete needs searching again.
        const qsizetype from = std::max<qsizetype>(0, lowered.size() - needle.size() + 1);
        accumulator += block;
        lowered += asciiLower(block);
        at = lowered.indexOf(needle, from);
        if (at >= 0 || block.size() < kBlock)
            break;
    }

    if (at < 0) {
        if (sequential)
            stream.rollbackTransaction();
        else
            stream.seek(start);
        return result;
    }

    const qsizetype length = at + terminator.size();
    if (sequential) {
        stream.rollbackTransaction();
        stream.skip(length);
    } else {
        stream.seek(start + length);
    }
    result.text = accumulator.left(length);
    result.found = int(at + 1);
    return result;
}

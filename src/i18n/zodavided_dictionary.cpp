// SPDX-License-Identifier: GPL-3.0-or-later
// Dictionary parsing: entries of the ".itl" text, key and value normalisation. Pure logic,
// no application object needed.

#include "i18n/Zodavided2000.h"
#include "scales/Zel_math2.h"

#include <QIODevice>
#include <QStringDecoder>

namespace ZelI18n {

namespace {

// Copy with 1-based start and a count, as the entry rules count: a count <= 0 gives the
// empty text, a start below 1 counts as 1.
QString copyText(const QString &text, qsizetype start, qsizetype count)
{
    if (count <= 0)
        return QString();
    return text.mid(std::max<qsizetype>(start, 1) - 1, count);
}

// 1-based position of the first occurrence, 0 when there is none.
qsizetype positionOf(const QString &text, QLatin1StringView what)
{
    return text.indexOf(what) + 1;
}

} // namespace

QString lowerAZ(const QString &text)
{
    QString out = text;
    for (QChar &c : out) {
        const char16_t u = c.unicode();
        if (u >= u'A' && u <= u'Z')
            c = QChar(char16_t(u + (u'a' - u'A')));
    }
    return out;
}

QString normaliseKey(const QString &key)
{
    const QString space = QStringLiteral(" ");
    QString k = ReplaceAll(key, QStringLiteral("\r"), space, false);
    k = ReplaceAll(k, QStringLiteral("\n"), space, false);
    k = ReplaceAll(k, QStringLiteral("\t"), space, false);
    const QString twoSpaces = QStringLiteral("  ");
    while (k.contains(twoSpaces))
        k = ReplaceAll(k, twoSpaces, space, false);
    qsizetype lead = 0;
    while (lead < k.size() && k[lead] == QLatin1Char(' '))
        ++lead;
    return k.mid(lead);
}

QString normaliseValue(const QString &value, const QString &appName)
{
    const QString space = QStringLiteral(" ");
    QString v = ReplaceAll(value, QStringLiteral("\r"), space, false);
    v = ReplaceAll(v, QStringLiteral("\n"), space, false);
    v = ReplaceAll(v, QStringLiteral("\\n"), QStringLiteral("\r\n"), false);
    return ReplaceAll(v, QStringLiteral("<%APPNAME%>"), appName, true);
}

QString substituteParams(const QString &text, const QStringList &params)
{
    QString out = text;
    for (qsizetype k = 1; k <= params.size(); ++k)
        out = ReplaceAll(out, QStringLiteral("<%%1%>").arg(k), params[k - 1], true);
    return out;
}

ItlEntry parseEntry(const QString &entryText, const QString &appName)
{
    const qsizetype p = positionOf(entryText, QLatin1StringView("["));
    const qsizetype q = positionOf(entryText, QLatin1StringView("]="));
    const qsizetype t = positionOf(entryText, QLatin1StringView(kTerminator));
    ItlEntry entry;
    // Without "]=" the text begins at the entry's second character; a character outside the
    // Basic Multilingual Plane is two UTF-16 units, which must not be split.
    const qsizetype first =
        entryText.size() > 1 && entryText[0].isHighSurrogate() && entryText[1].isLowSurrogate() ? 2
                                                                                                : 1;
    const qsizetype valueStart = q > 0 ? q + 2 : first + 1;
    entry.key = normaliseKey(lowerAZ(copyText(entryText, p + 1, q - p - 1)));
    entry.value = normaliseValue(copyText(entryText, valueStart, t - valueStart), appName);
    return entry;
}

void ItlDictionary::load(QIODevice &stream, const QString &appName)
{
    keys.clear();
    values.clear();
    if (!stream.isSequential())
        stream.seek(0);
    const QByteArray terminator(kTerminator);
    for (;;) {
        const TerminatedText read = ReadUpToTerminator(stream, terminator);
        if (!read.ok())
            break;
        const ItlEntry entry = parseEntry(decodeItlText(read.text), appName);
        keys.append(entry.key);
        values.append(entry.value);
    }
}

qsizetype ItlDictionary::indexOf(const QString &lowerKey) const
{
    return keys.indexOf(lowerKey);
}

QString decodeItlText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    // The Western 8-bit code page: Latin-1 except for 0x80..0x9F, which hold typographic
    // quotes, dashes and the euro sign; its five unused bytes keep their own value.
    static constexpr char16_t k80to9F[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    text = QString::fromLatin1(bytes);
    for (QChar &c : text) {
        if (c.unicode() >= 0x80 && c.unicode() <= 0x9F)
            c = QChar(k80to9F[c.unicode() - 0x80]);
    }
    return text;
}

QString itlLine(const QString &key, const QString &text)
{
    return QLatin1Char('[') + key + QLatin1String("]=") + text + QLatin1String(kTerminator);
}

} // namespace ZelI18n

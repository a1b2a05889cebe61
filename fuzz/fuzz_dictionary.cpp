// SPDX-License-Identifier: GPL-3.0-or-later
// The dictionary loader and the lookups: any bytes as a dictionary file, then every key looked
// up as written and in capitals, with and without parameters, and the translator's file
// written from the dictionary read back.

#include "FuzzInput.h"
#include "FuzzTargets.h"
#include "i18n/Zodavided2000.h"

#include <QBuffer>

namespace {

QString upperAZ(const QString &text)
{
    QString out = text;
    for (QChar &c : out)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - (u'a' - u'A'));
    return out;
}

void load(TZodavided2000 &engine, const QByteArray &bytes)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    engine.LoadDictionary(buffer);
}

} // namespace

int fuzzDictionary(const std::uint8_t *data, std::size_t size)
{
    FuzzInput input(data, size);
    const QStringList params = {input.text(8), input.text(8)};
    const QString extraKey = input.text(16);
    const QByteArray file = input.rest();

    TZodavided2000 engine(QStringLiteral("Ionograph"));
    load(engine, file);
    FUZZ_REQUIRE(engine.Keys().size() == engine.Values().size(), "keys and values pair up");

    const qsizetype count = std::min<qsizetype>(engine.Keys().size(), 64);
    for (qsizetype i = 0; i < count; ++i) {
        const QString &key = engine.Keys()[i];
        const QString &value = engine.Values()[engine.Keys().indexOf(key)];
        FUZZ_REQUIRE(engine.TranslateString(key) == value, "a stored key finds its text");
        FUZZ_REQUIRE(engine.TranslateString(upperAZ(key)) == value,
                     "keys match regardless of the case of A to Z");
        engine.TranslateString(key, params);
    }
    engine.TranslateString(extraKey, params);

    // The translator's file holds every entry so that it reads back into the same dictionary.
    engine.SetAutoCreateItlFile(true);
    engine.TranslateString(extraKey);
    engine.SetAutoCreateItlFile(false);
    // The missing keys come first; a key that holds the terminator cannot be written, so only
    // the entries are read back.
    QByteArray written;
    for (const QString &line : engine.ItlFileLines().mid(engine.MissingEntries().size()))
        written += line.toUtf8() + "\r\n";
    TZodavided2000 reread(QStringLiteral("Ionograph"));
    load(reread, written);
    FUZZ_REQUIRE(reread.Keys() == engine.Keys(), "written keys read back");
    FUZZ_REQUIRE(reread.Values() == engine.Values(), "written texts read back");
    return 0;
}

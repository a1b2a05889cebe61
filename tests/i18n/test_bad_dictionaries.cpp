// SPDX-License-Identifier: GPL-3.0-or-later
// Dictionaries that are not what they should be: empty, binary garbage, entries without
// terminators, and a large one. Loading never fails; what is not an entry is not read, and
// every lookup still answers (with the key when there is no entry).

#include "i18n/Zodavided2000.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace {

TZodavided2000 &loaded(TZodavided2000 &engine, QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    engine.LoadDictionary(buffer);
    return engine;
}

QByteArray garbage(int size)
{
    QByteArray bytes;
    quint32 state = 12345;
    for (int i = 0; i < size; ++i) {
        state = state * 1103515245u + 12345u;
        bytes.append(char(state >> 23));
    }
    return bytes;
}

} // namespace

TEST(BadDictionaries, WhatIsNoEntryIsNotReadAndLookupsStillAnswer)
{
    const struct
    {
        const char *what;
        QByteArray bytes;
        QStringList keys; // the entries read
    } cases[] = {
        {"empty", QByteArray(), {}},
        {"no terminators at all", "[Next]=Weiter\r\n[Exit]=Ende\r\n", {}},
        {"the last entry without its terminator", "[Next]=Weiter|$$\r\n[Exit]=Ende", {"next"}},
        {"NUL bytes inside an entry",
         QByteArray("[Ne\0xt]=W\0|$$", 13),
         {QString("ne") + QChar(0) + "xt"}},
        {"binary garbage without a terminator", garbage(100000).replace("|$$", "|$-"), {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        TZodavided2000 engine;
        loaded(engine, c.bytes);
        EXPECT_EQ(engine.Keys(), c.keys);
        EXPECT_EQ(engine.TranslateString("BF_Reset"), "BF_Reset");
    }
}

TEST(BadDictionaries, GarbageWithTerminatorsGivesEntriesThatPairUp)
{
    // Terminators spread through random bytes: every piece is an entry of some key and text.
    QByteArray bytes = garbage(200000);
    for (int at = 97; at < bytes.size(); at += 997)
        bytes.replace(at, 3, "|$$");
    // The garbage's last piece ends where a readable entry begins.
    bytes += "|$$\r\n[Next]=Weiter|$$";
    TZodavided2000 engine;
    loaded(engine, bytes);
    EXPECT_EQ(engine.Keys().size(), engine.Values().size());
    EXPECT_GT(engine.Keys().size(), 150);
    EXPECT_EQ(engine.TranslateString("BF_Next"), "BF_Next");
    EXPECT_EQ(engine.TranslateString("next"), "Weiter");
}

TEST(BadDictionaries, ALargeDictionaryIsReadWhole)
{
    // 16 MiB is the most a program reads; here 2 MiB of entries, the last one found.
    QByteArray bytes;
    int n = 0;
    while (bytes.size() < 2 * 1024 * 1024)
        bytes += QStringLiteral("[key%1]=text of entry %1|$$\r\n").arg(n++).toUtf8();
    TZodavided2000 engine;
    loaded(engine, bytes);
    ASSERT_EQ(engine.Keys().size(), n);
    EXPECT_EQ(engine.TranslateString(QStringLiteral("KEY%1").arg(n - 1)),
              QStringLiteral("text of entry %1").arg(n - 1));
}

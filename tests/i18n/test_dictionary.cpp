// SPDX-License-Identifier: GPL-3.0-or-later
// Reading dictionaries and single lookups: the entry rules, key and value normalisation,
// parameters, missing keys and the hook after a found key.

#include "i18n/Zodavided2000.h"
#include "i18n_test_objects.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace {

void load(TZodavided2000 &engine, const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    engine.LoadDictionary(buffer);
}

QString lookup(const QByteArray &dictionary, const QString &key, const QStringList &params = {},
               const QString &appName = QString())
{
    TZodavided2000 engine(appName);
    load(engine, dictionary);
    return engine.TranslateString(key, params);
}

} // namespace

TEST(ItlDictionary, EntriesAreReadBetweenBracketAndTerminatorIgnoringTheRest)
{
    TZodavided2000 engine;
    load(engine, "; a note before the first entry\r\n[Next]=Weiter|$$\r\n"
                 "comment [Exit]=Ende|$$ trailing text without terminator");
    EXPECT_EQ(engine.Keys(), QStringList({"next", "exit"}));
    EXPECT_EQ(engine.Values(), QStringList({"Weiter", "Ende"}));

    load(engine, "[a]=b, but the terminator is missing");
    EXPECT_TRUE(engine.Keys().isEmpty()) << "a new load replaces the old entries";
    load(engine, "");
    EXPECT_TRUE(engine.Keys().isEmpty());
}

TEST(ItlDictionary, KeysAreLowerCasedAndTheirWhiteSpaceFolded)
{
    TZodavided2000 engine;
    load(engine, "[Mass  Range]=a|$$\n[Two\r\n\tLines]=b|$$\n[  Lead ]=c|$$\n[\xc3\x84Q]=d|$$");
    EXPECT_EQ(engine.Keys(), QStringList({"mass range", "two lines", "lead ", QString("\u00c4q")}));

    EXPECT_EQ(engine.TranslateString("MASS RANGE"), "a");
    EXPECT_EQ(engine.TranslateString("Two Lines"), "b");
    EXPECT_EQ(engine.TranslateString("lead "), "c") << "trailing blanks belong to the key";
    EXPECT_EQ(engine.TranslateString("Mass  Range"), "Mass  Range")
        << "the lookup key is not folded";
    EXPECT_EQ(engine.TranslateString(QString("\u00c4Q")), "d");
    EXPECT_EQ(engine.TranslateString(QString("\u00e4Q")), QString("\u00e4Q"))
        << "only A to Z compare without case";
}

TEST(ItlDictionary, ValuesKeepTheirBlanksAndTurnEscapesIntoLineBreaks)
{
    EXPECT_EQ(lookup("[k]=first\r\n  second|$$", "k"), "first    second");
    EXPECT_EQ(lookup("[k]= a\t b |$$", "k"), " a\t b ");
    EXPECT_EQ(lookup("[k]=one\\ntwo|$$", "k"), "one\r\ntwo");
    EXPECT_EQ(lookup("[k]=one\\Ntwo|$$", "k"), "one\\Ntwo");
    EXPECT_EQ(lookup("[k]=About <%appname%>!|$$", "k", {}, "Ionograph"), "About Ionograph!");
    EXPECT_EQ(lookup("[k]=a <%APPNAME%> b|$$", "k"), "a  b")
        << "an empty application name leaves both blanks";
    EXPECT_EQ(lookup("[k]=x|$$[k]=y|$$", "K"), "x") << "the first of two equal keys wins";
    EXPECT_EQ(lookup("[k]=|$$", "k"), "") << "an empty text is a translation too";
}

TEST(ItlDictionary, MalformedEntriesFollowThePositionRules)
{
    // Without "[" the key starts at the entry's beginning; the line break before it folds away.
    EXPECT_EQ(lookup("[a]=1|$$\r\nnext]=2|$$", "next"), "2");
    // Without "]=" the key is empty and the text runs from the entry's second character.
    EXPECT_EQ(lookup("[abc|$$", ""), "abc");
    // A first character outside the Basic Multilingual Plane is one character, not half of one.
    EXPECT_EQ(lookup("\xf0\x9f\x98\x80"
                     "abc|$$",
                     ""),
              "abc");
    // "]=" before the "[": the key is empty, the text follows the "]=".
    EXPECT_EQ(lookup("]=v[x|$$", ""), "v[x");
    // A "[" inside the key stays part of it.
    EXPECT_EQ(lookup("[a[b]=c|$$", "a[b"), "c");
}

TEST(ItlDictionary, LongEntriesAndTerminatorsAcrossBlocksAreRead)
{
    const QByteArray longText(700, 'x');
    QByteArray bytes = "[long]=" + longText + "|$$";
    // The next entry is read from byte 710 on; its terminator straddles the end of the
    // first 256-byte block of that read.
    const qsizetype straddle = bytes.size() + 255;
    QByteArray second = "\r\n[split]=";
    const qsizetype used = bytes.size() + second.size();
    second += QByteArray(straddle - used, 'y');
    bytes += second + "|$$[last]=z|$$";
    ASSERT_EQ(bytes.indexOf("|$$", 710), straddle);

    TZodavided2000 engine;
    load(engine, bytes);
    ASSERT_EQ(engine.Keys(), QStringList({"long", "split", "last"}));
    EXPECT_EQ(engine.Values()[0], QString(longText));
    EXPECT_EQ(engine.Values()[1], QString(QByteArray(straddle - used, 'y')));
    EXPECT_EQ(engine.Values()[2], "z");
}

TEST(ItlDictionary, LoadingStartsAtTheStreamsBeginning)
{
    QBuffer buffer;
    buffer.setData("[a]=1|$$[b]=2|$$");
    buffer.open(QIODevice::ReadOnly);
    buffer.seek(10);
    TZodavided2000 engine;
    engine.LoadDictionary(buffer);
    EXPECT_EQ(engine.Keys(), QStringList({"a", "b"}));
}

TEST(ItlDictionary, EightBitDictionariesAreReadAsLatin1)
{
    // "Gr\xf6\xdfe" is not valid UTF-8: the entry is read in the 8-bit code page.
    EXPECT_EQ(lookup("[size]=Gr\xf6\xdf"
                     "e|$$",
                     "size"),
              QString("Gr\u00f6\u00dfe"));
    EXPECT_EQ(lookup("[size]=Gr\xc3\xb6\xc3\x9f"
                     "e|$$",
                     "size"),
              QString("Gr\u00f6\u00dfe"));
}

TEST(ItlDictionary, EightBitQuotesDashesAndTheEuroSignAreRead)
{
    EXPECT_EQ(lookup("[q]=\x84Gr\xf6\xdf"
                     "e\x93 \x96 5 \x80|$$",
                     "q"),
              QString::fromUtf16(u"\u201eGr\u00f6\u00dfe\u201c \u2013 5 \u20ac"));
}

TEST(TranslateString, MissingKeysShowTheKeyAndParametersGoIn)
{
    TZodavided2000 engine;
    load(engine, "[step]=Step <%1%> of <%2%>|$$[keep]=Only <%1%>|$$");
    EXPECT_EQ(engine.TranslateString("Step", {"2", "5"}), "Step 2 of 5");
    EXPECT_EQ(engine.TranslateString("keep"), "Only <%1%>") << "no parameters, no replacement";
    EXPECT_EQ(engine.TranslateString("keep", {"a", "b"}), "Only a");
    EXPECT_EQ(engine.TranslateString("Not There <%1%>", {"x"}), "Not There x");
    EXPECT_EQ(engine.TranslateString("NoEntry"), "NoEntry") << "the key keeps its letter case";

    QString text = "old";
    engine.TranslateString("step", {"<%2%>", "B"}, text);
    EXPECT_EQ(text, "Step B of B") << "parameters go in one after the other";
}

TEST(TranslateString, TheHookSeesFoundKeysOnlyAndMayChangeTheText)
{
    TZodavided2000 engine;
    load(engine, "[hello]=Hallo <%1%>|$$");
    QStringList seen;
    engine.OnStringTranslated = [&](TZodavided2000 *sender, const QString &key, QString &text) {
        EXPECT_EQ(sender, &engine);
        seen << key + "=" + text;
        text += "!";
    };
    EXPECT_EQ(engine.TranslateString("HELLO", {"Welt"}), "Hallo Welt!");
    EXPECT_EQ(engine.TranslateString("missing"), "missing");
    EXPECT_EQ(seen, QStringList({"HELLO=Hallo Welt"}));
}

TEST(TranslateString, MissingKeysAreRecordedOnceWhileAskedTo)
{
    TZodavided2000 engine;
    load(engine, "[known]=K|$$");
    engine.TranslateString("before");
    EXPECT_TRUE(engine.MissingEntries().isEmpty());

    engine.SetAutoCreateItlFile(true);
    engine.TranslateString("Exit");
    engine.TranslateString("known");
    engine.TranslateString("Exit");
    engine.TranslateString("EXIT");
    engine.TranslateString("p <%1%>", {"1"});
    EXPECT_EQ(engine.MissingEntries(),
              QStringList({"[Exit]=Exit|$$", "[EXIT]=EXIT|$$", "[p <%1%>]=p <%1%>|$$"}));

    load(engine, "[exit]=Ende|$$");
    EXPECT_EQ(engine.MissingEntries().size(), 3) << "loading leaves the recorded keys alone";
    EXPECT_EQ(engine.TranslateString("Exit"), "Ende");
    engine.SetAutoCreateItlFile(false); // no file from this test
}

TEST(TranslateString, PrefixAndNamesOfTheItlFile)
{
    TZodavided2000 engine("App");
    EXPECT_EQ(engine.KeyPrefix(), "BF_");
    EXPECT_FALSE(engine.AutoCreateItlFile());
    EXPECT_EQ(engine.ApplicationName(), "App");
    engine.SetKeyPrefix("");
    EXPECT_EQ(engine.KeyPrefix(), "BF_") << "an empty prefix would make every text a key";
    engine.SetKeyPrefix("XX_");
    EXPECT_EQ(engine.KeyPrefix(), "XX_");

    EXPECT_EQ(ZelI18n::itlFileNameFor("C:/prog/prog.exe"), "prog.itl");
    EXPECT_EQ(ZelI18n::itlFileNameFor("/usr/bin/ionograph"), "ionograph.itl");
    EXPECT_EQ(ZelI18n::itlFileNameFor("a.b"), "a.b.itl");
}

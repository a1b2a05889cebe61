// SPDX-License-Identifier: GPL-3.0-or-later
// The translator's check: what it finds in dictionaries broken on purpose, that every shipped
// dictionary passes it, and how the program prints it.

#include "app/DictionaryCheck.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString dictionaryDir = QStringLiteral(IONOGRAPH_DICTIONARY_DIR);

// The English dictionary with one entry's text replaced, or the entry removed (text empty),
// and entries appended.
QByteArray edited(const char *key, const QByteArray &text, const char *appended = "")
{
    QByteArray bytes = referenceDictionary();
    if (key) {
        const QByteArray start = QByteArray("[") + key + "]=";
        const qsizetype from = bytes.indexOf(start);
        EXPECT_GT(from, 0) << key;
        bytes.replace(from, bytes.indexOf("|$$", from) + 3 - from,
                      text.isEmpty() ? QByteArray() : start + text + "|$$");
    }
    return bytes + appended;
}

QString written(const QTemporaryDir &dir, const QByteArray &bytes)
{
    const QString path = dir.filePath(QStringLiteral("case.itl"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    return path;
}

} // namespace

TEST(DictionaryCheck, FindsWhatABrokenDictionaryGetsWrong)
{
    QTemporaryDir dir;
    struct Case
    {
        const char *what;
        QByteArray bytes;
        int missing, unused, tooLarge, lost;
        const char *finding; // the start of the first finding's line
        QString path = {};   // instead of the bytes
        int exitCode = 1;
    } cases[] = {
        {"a removed key", edited("Mass", {}), 1, 0, 0, 0, "missing key [mass] (English: \"Mass\")"},
        {"an overlong button caption", edited("Next", "Weiter zum nächsten Schritt"), 0, 0, 1, 0,
         "does not fit: [next] \"Weiter zum nächsten Schritt\" in BButNext needs "},
        {"the read-out's left text", edited("Resolution", "Auflösungsvermögen"), 0, 0, 1, 0,
         "does not fit: [resolution] \"Auflösungsvermögen\" in NLabResol needs 135 px across, the "
         "box has 87 px"},
        // Label8 is wider than the room its panel leaves it on the right.
        {"a caption cut off by its panel", edited("coarse", "grossier"), 0, 0, 1, 0,
         "does not fit: [coarse] \"grossier\" in Label8 needs"},
        {"a tour text longer than the pane",
         edited("explain3",
                "Step 3 – " + QByteArray("far too many words for the pane ").repeated(30)),
         0, 0, 1, 0,
         "does not fit: [explain3] \"Step 3 – far too many words for the pane far too many "
         "words …\" in rtfExplanation needs"},
        {"an About box line with too many lines",
         edited("AboutWebSite", QByteArray("Further reading on these pages: ").repeated(3)), 0, 0,
         1, 0, "does not fit: [aboutwebsite]"},
        {"a formula message too long for the dialog's two lines",
         edited("FormulaUnknownElement",
                "unknown element \"<%1%>\" at " + QByteArray("position <%2%> ").repeated(12)),
         0, 0, 1, 0,
         "does not fit: [formulaunknownelement] \"unknown element \"Xx\" at position 100"},
        {"a lost placeholder", edited("ValueAtMouse", "Mass <%1%>, signal"), 0, 0, 0, 1,
         "lost placeholder <%2%> in [valueatmouse]: \"Mass <%1%>, signal\""},
        {"an entry of no key", edited(nullptr, {}, "[Bogus]=x|$$"), 0, 1, 0, 0,
         "unused entry [bogus]: the program has no such key"},
        {"a second entry for a key", edited(nullptr, {}, "\n[NEXT]=Weiter|$$"), 0, 1, 0, 0,
         "unused entry [next]: a second entry for the key, the first one wins"},
        {"the English dictionary", edited(nullptr, {}), 0, 0, 0, 0, "", {}, 0},
        {"a missing file", {}, 0, 0, 0, 0, "", dir.filePath("none.itl"), 2},
        {"a folder", {}, 0, 0, 0, 0, "", dir.path(), 2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const QString path = c.path.isEmpty() ? written(dir, c.bytes) : c.path;
        const DictionaryCheck check = checkDictionary(path);
        EXPECT_EQ(check.exitCode(), c.exitCode) << check.findings.join('\n').toStdString();
        EXPECT_EQ(check.error.contains(path), c.exitCode == 2) << check.error.toStdString();
        EXPECT_EQ(std::tuple(check.missing, check.unused, check.tooLarge, check.lostPlaceholders),
                  std::tuple(c.missing, c.unused, c.tooLarge, c.lost));
        EXPECT_EQ(check.findings.size(), c.missing + c.unused + c.tooLarge + c.lost);
        EXPECT_TRUE(!*c.finding || check.findings.value(0).startsWith(QString::fromUtf8(c.finding)))
            << check.findings.value(0).toStdString();
    }
}

TEST(DictionaryCheck, EveryShippedDictionaryPasses)
{
    const QStringList files = QDir(dictionaryDir).entryList({"ionograph*.itl"}, QDir::Files);
    EXPECT_EQ(files.size(), 5);
    for (const QString &name : files) {
        const DictionaryCheck check = checkDictionary(dictionaryDir + QLatin1Char('/') + name);
        EXPECT_EQ(check.exitCode(), 0) << name.toStdString() << ":\n"
                                       << check.findings.join('\n').toStdString();
    }
}

// As a translator runs it: no display, no platform chosen; findings and summary on the output,
// an unreadable file in one line on the error output.
TEST(DictionaryCheck, TheProgramPrintsFindingsThenASummaryWithoutADisplay)
{
    QTemporaryDir dir;
    const QString broken = written(dir, edited("Mass", {}, "[Bogus]=x|$$"));
    const QString none = dir.filePath("none.itl");
    const struct
    {
        QString file;
        int exitCode;
        QStringList out;
        QString errEnd;
    } cases[] = {
        {broken,
         1,
         {"missing key [mass] (English: \"Mass\")",
          "unused entry [bogus]: the program has no such key",
          broken + ": 1 missing key, 1 unused entry, 0 texts too large, 0 lost placeholders"},
         ""},
        {dictionaryDir + "/ionograph.fr.itl",
         0,
         {dictionaryDir + "/ionograph.fr.itl: every key of the English dictionary, all texts fit"},
         ""},
        {none, 2, {}, "\nionograph: cannot read the dictionary \"" + none + "\": no such file\n"},
    };
    for (const auto &c : cases) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(name);
        process.setProcessEnvironment(env);
        process.start(qEnvironmentVariable("IONOGRAPH_BINARY"), {"--check-dictionary", c.file});
        ASSERT_TRUE(process.waitForFinished(120000));
        const QString err = "\n" + QString::fromUtf8(process.readAllStandardError());
        EXPECT_EQ(process.exitCode(), c.exitCode) << err.toStdString();
        EXPECT_EQ(
            QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
            c.out);
        EXPECT_TRUE(err.endsWith(c.errEnd)) << err.toStdString();
    }
}

// The translator's check: what it finds in dictionaries broken on purpose, that every shipped
// dictionary passes it, and how the program prints it.

#include "app/DictionaryCheck.h"
#include "i18n/Zodavided2000.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString dictionaryDir = QStringLiteral(IONOGRAPH_DICTIONARY_DIR);

QByteArray englishText(const char *key)
{
    QByteArray bytes = referenceDictionary();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TZodavided2000 engine;
    engine.LoadDictionary(buffer);
    return engine.TranslateString(QString::fromLatin1(key)).toUtf8();
}

// The English dictionary with one entry's text replaced, or the entry removed (text empty),
// and entries appended.
QByteArray edited(const char *key, const QByteArray &text, const char *appended = "")
{
    QByteArray bytes = referenceDictionary();
    if (key) {
        const QByteArray start = QByteArray("[") + key + "]=";
        const qsizetype from = bytes.indexOf(start);
        const qsizetype to = bytes.indexOf("|$$", from) + 3;
        EXPECT_GT(from, 0) << key;
        bytes.replace(from, to - from, text.isEmpty() ? QByteArray() : start + text + "|$$");
    }
    return bytes + appended;
}

struct ProgramRun
{
    int exitCode;
    QStringList out;
    QString err;
};

// The program as a translator runs it: no display, no platform chosen.
ProgramRun runCheck(const QString &file)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(name);
    process.setProcessEnvironment(env);
    process.start(qEnvironmentVariable("IONOGRAPH_BINARY"), {"--check-dictionary", file});
    process.waitForFinished(120000);
    return {process.exitCode(),
            QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
            QString::fromUtf8(process.readAllStandardError())};
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
        const char *finding; // the start of one finding's line
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
         edited("explain3", englishText("explain3") + " " + englishText("explain3")), 0, 0, 1, 0,
         "does not fit: [explain3] \"Step 3 – the overview, masses 15 to 265 at a full scale of "
         "4…\" in rtfExplanation needs"},
        {"an About box text too long for its lines",
         edited("AboutWebSite", "Further reading on mass spectrometry is found in the "
                                "encyclopaedia, on the following pages:"),
         0, 0, 1, 0, "does not fit: [aboutwebsite]"},
        {"a lost placeholder", edited("ValueAtMouse", "Mass <%1%>, signal"), 0, 0, 0, 1,
         "lost placeholder <%2%> in [valueatmouse]: \"Mass <%1%>, signal\""},
        {"an entry of no key", edited(nullptr, {}, "[Bogus]=x|$$"), 0, 1, 0, 0,
         "unused entry [bogus]: the program has no such key"},
        {"a second entry for a key", edited(nullptr, {}, "\n[NEXT]=Weiter|$$"), 0, 1, 0, 0,
         "unused entry [next]: a second entry for the key, the first one wins"},
        {"the English dictionary", edited(nullptr, {}), 0, 0, 0, 0, nullptr, {}, 0},
        {"a missing file", {}, 0, 0, 0, 0, nullptr, dir.filePath("none.itl"), 2},
        {"a folder", {}, 0, 0, 0, 0, nullptr, dir.path(), 2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QString path = c.path;
        if (path.isEmpty()) {
            path = dir.filePath(QStringLiteral("case.itl"));
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(c.bytes);
        }
        const DictionaryCheck check = checkDictionary(path);
        EXPECT_EQ(check.exitCode(), c.exitCode) << check.findings.join('\n').toStdString();
        if (c.exitCode == 2) {
            EXPECT_TRUE(check.error.contains(path)) << check.error.toStdString();
            continue;
        }
        EXPECT_EQ(check.missing, c.missing);
        EXPECT_EQ(check.unused, c.unused);
        EXPECT_EQ(check.tooLarge, c.tooLarge);
        EXPECT_EQ(check.lostPlaceholders, c.lost);
        EXPECT_EQ(check.findings.size(), c.missing + c.unused + c.tooLarge + c.lost);
        if (c.finding) {
            EXPECT_TRUE(check.findings.value(0).startsWith(QString::fromUtf8(c.finding)))
                << check.findings.value(0).toStdString();
        }
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

TEST(DictionaryCheck, TheProgramPrintsFindingsThenASummaryWithoutADisplay)
{
    QTemporaryDir dir;
    const QString broken = dir.filePath("broken.itl");
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(edited("Mass", {}, "[Bogus]=x|$$"));
    file.close();

    const ProgramRun found = runCheck(broken);
    EXPECT_EQ(found.exitCode, 1) << found.err.toStdString();
    ASSERT_EQ(found.out.size(), 3) << found.out.join('\n').toStdString();
    EXPECT_TRUE(found.out[0].startsWith("missing key [mass]"));
    EXPECT_TRUE(found.out[1].startsWith("unused entry [bogus]"));
    EXPECT_EQ(found.out[2], broken + ": 1 missing key, 1 unused entry, 0 texts too large, 0 lost "
                                     "placeholders");

    const ProgramRun clean = runCheck(dictionaryDir + "/ionograph.fr.itl");
    EXPECT_EQ(clean.exitCode, 0) << clean.out.join('\n').toStdString();
    EXPECT_EQ(clean.out.size(), 1);

    const ProgramRun unreadable = runCheck(dir.filePath("none.itl"));
    EXPECT_EQ(unreadable.exitCode, 2);
    EXPECT_TRUE(unreadable.out.isEmpty());
    EXPECT_TRUE(unreadable.err.endsWith("ionograph: cannot read the dictionary \"" +
                                        dir.filePath("none.itl") + "\": no such file\n"))
        << unreadable.err.toStdString();
}

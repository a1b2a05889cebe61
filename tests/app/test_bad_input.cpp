// The program given bad input from outside: dictionaries that are empty, garbage, without
// terminators, far too large or not a file, and command-line values that are huge, negative,
// not numbers or empty. It either does its work or ends with one line and exit code 2.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Outcome
{
    int exitCode = -1;
    QString err;
};

Outcome run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("LC_ALL", "C.UTF-8");
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardError())};
}

// A copy of the program in a folder of its own, so that the test decides what lies beside it.
struct ProgramCopy
{
    QTemporaryDir dir;
    QString program = dir.filePath("ionograph");

    ProgramCopy() { EXPECT_TRUE(QFile::copy(qEnvironmentVariable("IONOGRAPH_BINARY"), program)); }
    void putDictionary(const QString &name, const QByteArray &bytes, qint64 size = -1)
    {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        if (size >= 0)
            file.resize(size); // a sparse file: large without taking the disk
    }
};

} // namespace

TEST(BadInput, DictionariesThatAreNoDictionaries)
{
    ProgramCopy copy;
    QByteArray garbage(300000, '\0');
    for (int i = 0; i < garbage.size(); ++i)
        garbage[i] = char((i * 2654435761u) >> 13);
    const struct
    {
        const char *what;
        QByteArray bytes;
        qint64 size;
        int exitCode;
        const char *message;
    } cases[] = {
        {"empty", "", -1, 0, ""},
        {"binary garbage", garbage, -1, 0, ""},
        {"no terminators", "[Next]=Weiter\n[Exit]=Ende\n", -1, 0, ""},
        {"100 MiB", "[Next]=Weiter|$$", 100 * 1024 * 1024, 2,
         "is too large (100.0 MiB; at most 16 MiB)"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        copy.putDictionary("ionograph.itl", c.bytes, c.size);
        const QString png = copy.dir.filePath("shot.png");
        QFile::remove(png);
        const Outcome r = run(copy.program, {"--snapshot", png});
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err.toStdString();
        EXPECT_EQ(QFile::exists(png), c.exitCode == 0);
        if (c.exitCode != 0) {
            EXPECT_TRUE(r.err.contains(c.message)) << r.err.toStdString();
            EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
        }
    }
    // A folder in the dictionary's place is no dictionary either.
    ASSERT_TRUE(QFile::remove(copy.dir.filePath("ionograph.itl")));
    ASSERT_TRUE(QDir(copy.dir.path()).mkdir("ionograph.itl"));
    const Outcome r = run(copy.program, {"--snapshot", copy.dir.filePath("x.png")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("ionograph.itl\" is not a file")) << r.err.toStdString();
}

TEST(BadInput, CommandLineValuesThatAreHugeNegativeNoNumbersOrEmpty)
{
    QTemporaryDir dir;
    const QString csv = dir.filePath("t.csv");
    const QString program = qEnvironmentVariable("IONOGRAPH_BINARY");
    const QString hundredThousandDigits(100000, QLatin1Char('9'));
    const struct
    {
        QStringList arguments;
        int exitCode; // 0: the trace is written, the sliders having held the values to range
        const char *message;
    } cases[] = {
        {{"--mass", "1e308", "--range", "-1e308", "--resolution", "-5"}, 0, ""},
        {{"--amplification", "2147483648", "--pfk", "-0", "--pregnene", "1e-320"}, 0, ""},
        {{"--mass", hundredThousandDigits}, 2, "--mass needs a number"},
        {{"--mass", "1e400"}, 2, "--mass needs a number"},
        {{"--resolution", "twelve"}, 2, "--resolution needs a number"},
        {{"--range", ""}, 2, "--range needs a number"},
        {{"--seed", "-1"}, 2, "--seed needs a number"},
        {{"--seed", "18446744073709551616"}, 2, "--seed needs a number"},
        {{"--tour-step", "-2147483649"}, 2, "--tour-step needs a step"},
        {{"--language", ""}, 2, "no dictionary for the language"},
        {{"--snapshot", ""}, 2, "--snapshot needs a file name"},
        {{"--export-trace", " "}, 2, "--export-trace needs a file name"},
        {{"--pfk"}, 2, "missing value for \"--pfk\" (see --help)"},
    };
    for (const auto &c : cases) {
        const QString shown = c.arguments.join(' ').left(60);
        SCOPED_TRACE(shown.toStdString());
        QFile::remove(csv);
        // The trace file comes first, so a missing value at the end stays missing.
        const Outcome r = run(program, QStringList{"--export-trace", csv} + c.arguments);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err.toStdString();
        EXPECT_EQ(QFile::exists(csv), c.exitCode == 0);
        if (c.exitCode != 0) {
            EXPECT_TRUE(r.err.contains(c.message)) << r.err.left(200).toStdString();
            EXPECT_EQ(r.err.count('\n'), 1) << r.err.left(200).toStdString();
        }
    }
}

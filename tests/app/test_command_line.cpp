// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AboutBox.h"
#include "app/CommandLine.h"
#include "app/TfrmExample.h"
#include "platform/Controls.h"
#include "scales/Zel_math2.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <gtest/gtest.h>
#include <tuple>

namespace {

struct ProgramRun
{
    int exitCode;
    QString out, err;
};

ProgramRun runProgram(const QStringList &arguments,
                      const QProcessEnvironment &base = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    QProcessEnvironment env = base;
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.remove("QT_QPA_PLATFORM"); // the off-screen outputs must choose it themselves
    process.setProcessEnvironment(env);
    process.start(qEnvironmentVariable("IONOGRAPH_BINARY"), arguments);
    process.waitForFinished(120000);
    return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

QStringList readLines(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    // Without the settings' comment lines, as common tools read the file.
    QStringList lines = QString::fromLatin1(f.readAll()).split('\n', Qt::SkipEmptyParts);
    lines.removeIf([](const QString &line) { return line.startsWith('#'); });
    return lines;
}

} // namespace

TEST(CommandLine, ParsesNumbersNoiseOutputsAndKeepsHostArguments)
{
    const CommandLineOptions o = parseCommandLine(
        {"--mass", "155", "--range", "8", "--pfk", "70", "--seed", "42", "--no-noise",
         "/serverhandle=abc", "lesson.qln", "--export-trace", "t.csv"});
    ASSERT_EQ(o.action, CommandLineOptions::Action::Run) << o.message.toStdString();
    EXPECT_EQ(o.mass, 155.0);
    EXPECT_EQ(o.range, 8.0);
    EXPECT_EQ(o.pfk, 70.0);
    EXPECT_EQ(o.seed, 42u);
    EXPECT_TRUE(o.noNoise);
    EXPECT_EQ(o.parameters, (QStringList{"/serverhandle=abc", "lesson.qln"}));
    EXPECT_EQ(o.exportTrace, "t.csv");
    EXPECT_TRUE(o.runsWithoutWindow());
}

TEST(CommandLine, MalformedNumbersNameTheOption)
{
    for (const QStringList &args : {QStringList{"--mass", "4x2"}, QStringList{"--resolution", ""},
                                    QStringList{"--pregnene", "nan"}, QStringList{"--seed", "-3"},
                                    QStringList{"--range", "inf"}}) {
        const CommandLineOptions o = parseCommandLine(args);
        EXPECT_EQ(o.action, CommandLineOptions::Action::Error) << args.join(' ').toStdString();
        EXPECT_TRUE(o.message.contains(args[0])) << o.message.toStdString();
    }
    EXPECT_EQ(parseCommandLine({"--version"}).message, "Ionograph 1.1");
    EXPECT_EQ(parseCommandLine({"--help"}).action, CommandLineOptions::Action::Help);
    EXPECT_TRUE(parseCommandLine({"--help"}).message.startsWith("Usage: ionograph [options]"))
        << parseCommandLine({"--help"}).message.toStdString();
}

TEST(CommandLine, SliderOptionsGoThroughTheSlidersInTheirOrder)
{
    TfrmExample w;
    w.SBarMassFineAdj->SetPosition(250);
    const int before = w.updateCount();
    const CommandLineOptions o = parseCommandLine(
        {"--mass", "155.0004", "--range", "1e9", "--resolution", "1000", "--amplification", "200",
         "--pfk", "70", "--nonenone", "120", "--pregnene", "0"});
    applySliderOptions(o, w);
    EXPECT_EQ(w.SBarMass->Position(), 155000);
    EXPECT_EQ(w.SBarMassFineAdj->Position(), 0);
    EXPECT_EQ(w.SBarMagnifX->Position(), 250000); // clamped by the slider
    EXPECT_EQ(w.SBarResol->Position(), 1000);
    EXPECT_EQ(w.SBarAmplif->Position(), 200);
    EXPECT_EQ(w.SBarPFK->Position(), 30);
    EXPECT_EQ(w.SBarMetNonenone->Position(), 0); // 100 - 120 clamped
    EXPECT_EQ(w.SBarPregnene->Position(), 100);  // already there: no change event
    EXPECT_EQ(w.updateCount(), before + 7);
}

TEST(CommandLineProgram, ExportsTheTraceAsCsv)
{
    QTemporaryDir dir;
    const QString csv = dir.filePath("trace.csv");
    const ProgramRun run = runProgram({"--no-noise", "--export-trace", csv});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList lines = readLines(csv);
    ASSERT_EQ(lines.size(), 2001);
    EXPECT_EQ(lines[0], "mass,signal");
    EXPECT_EQ(lines[1].section(',', 0, 0), "34.008"); // the shortest text of the double
    EXPECT_EQ(lines[2000], "50,0");
    // The argon line of the start-up settings at sample 745.
    EXPECT_EQ(lines[745].section(',', 1, 1).toDouble(), 0.96f);
    EXPECT_EQ(lines[745].section(',', 0, 0).toDouble(), 39.96);
}

TEST(CommandLineProgram, SeedMakesTheNoiseRepeatable)
{
    QTemporaryDir dir;
    const QStringList base = {"--seed", "7", "--mass", "155", "--pfk", "70", "--export-trace"};
    ASSERT_EQ(runProgram(base + QStringList{dir.filePath("a.csv")}).exitCode, 0);
    ASSERT_EQ(runProgram(base + QStringList{dir.filePath("b.csv")}).exitCode, 0);
    ASSERT_EQ(runProgram({"--seed", "8", "--export-trace", dir.filePath("c.csv")}).exitCode, 0);
    const QStringList a = readLines(dir.filePath("a.csv"));
    ASSERT_EQ(a.size(), 2001);
    EXPECT_EQ(a, readLines(dir.filePath("b.csv")));
    EXPECT_NE(a, readLines(dir.filePath("c.csv")));
    EXPECT_DOUBLE_EQ(a[1].section(',', 0, 0).toDouble(), 147.008);
}

TEST(CommandLineProgram, SnapshotRendersTheWindowWithoutADisplay)
{
    QTemporaryDir dir;
    const QString png = dir.filePath("shot.png");
    const ProgramRun run = runProgram({"--snapshot", png, "/serverhandle=x", "extra"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QImage image(png);
    EXPECT_EQ(image.size(), QSize(720, 560));
}

TEST(CommandLineProgram, MalformedNumberExitsWithTwoAndWritesNothing)
{
    QTemporaryDir dir;
    const QString csv = dir.filePath("never.csv");
    const ProgramRun run = runProgram({"--amplification", "loud", "--export-trace", csv});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("--amplification"));
    EXPECT_EQ(run.err.count('\n'), 1);
    EXPECT_FALSE(QFile::exists(csv));

    const ProgramRun version = runProgram({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out.trimmed(), "Ionograph 1.1");
}

TEST(CommandLine, TourStepTakesOneToFive)
{
    const CommandLineOptions good = parseCommandLine({"--tour-step", " 5"});
    ASSERT_EQ(good.action, CommandLineOptions::Action::Run) << good.message.toStdString();
    EXPECT_EQ(good.tourStep, 5);
    EXPECT_FALSE(parseCommandLine({}).tourStep);
    for (const char *bad : {"0", "6", "-1", "2.5", "three", "", "99999999999"}) {
        const CommandLineOptions o = parseCommandLine({"--tour-step", bad});
        EXPECT_EQ(o.action, CommandLineOptions::Action::Error) << bad;
        EXPECT_TRUE(o.message.contains("--tour-step")) << o.message.toStdString();
    }
    EXPECT_TRUE(parseCommandLine({"--help"}).message.contains("--tour-step"));
}

TEST(CommandLine, TourStepPressesNextFromStepOne)
{
    TfrmExample w;
    w.Timer1->stop();
    w.FormShow();
    applyTourStep(parseCommandLine({"--tour-step", "5"}), w);
    EXPECT_EQ(w.CurrentTourStep(), 5);
    EXPECT_FALSE(w.BButNext->isEnabled());
    EXPECT_EQ(w.SBarMass->Position(), 155000);
    EXPECT_EQ(w.rtfExplanation->toPlainText(), "explain5");
}

TEST(CommandLineProgram, TourStepShowsInTheTraceAndTheSnapshot)
{
    QTemporaryDir dir;
    // Step 4 is the wide view with the methyl-nonenone at half amount and resolution 1000.
    ASSERT_EQ(
        runProgram({"--no-noise", "--tour-step", "4", "--export-trace", dir.filePath("t.csv")})
            .exitCode,
        0);
    ASSERT_EQ(runProgram({"--no-noise", "--mass", "140", "--range", "250", "--amplification", "700",
                          "--resolution", "1000", "--nonenone", "50", "--export-trace",
                          dir.filePath("s.csv")})
                  .exitCode,
              0);
    const QStringList tour = readLines(dir.filePath("t.csv"));
    ASSERT_EQ(tour.size(), 2001);
    EXPECT_EQ(tour, readLines(dir.filePath("s.csv")));

    // The read-out in the snapshot: 800 at steps 1 and 3, 1000 at step 4.
    auto readout = [&](const char *step) {
        const QString png = dir.filePath(QStringLiteral("s%1.png").arg(step));
        const ProgramRun run = runProgram({"--tour-step", step, "--snapshot", png});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        return QImage(png).copy(3, 332 + 93, 153, 20);
    };
    const QImage step1 = readout("1");
    ASSERT_FALSE(step1.isNull());
    EXPECT_EQ(step1, readout("3"));
    EXPECT_NE(step1, readout("4"));
}

TEST(CommandLineProgram, BadTourStepExitsWithTwo)
{
    QTemporaryDir dir;
    const QString png = dir.filePath("never.png");
    const ProgramRun run = runProgram({"--tour-step", "6", "--snapshot", png});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("--tour-step"));
    EXPECT_EQ(run.err.count('\n'), 1);
    EXPECT_FALSE(QFile::exists(png));
}

TEST(CommandLine, OwnSubstanceOptions)
{
    struct Case
    {
        QStringList args;
        const char *error; // null: accepted
    };
    const Case cases[] = {
        {{"--substance", " (CH3)3COH ", "--substance-charge", "2", "--substance-amount", "40"},
         nullptr},
        {{"--substance", "C2H5Xx"},
         "--substance \"C2H5Xx\": unknown element \"Xx\" at position 5 (see --help)"},
        {{"--substance", "Ca(OH"},
         "--substance \"Ca(OH\": the \"(\" at position 3 is not closed (see --help)"},
        {{"--substance", " "}, "--substance needs a formula (see --help)"},
        {{"--substance-amount", "50"}, "--substance-amount needs --substance (see --help)"},
        {{"--substance", "CO", "--substance-charge", "1.5"},
         "--substance-charge needs 1, 2 or 3, not \"1.5\" (see --help)"},
    };
    for (const Case &c : cases) {
        const CommandLineOptions o = parseCommandLine(c.args);
        SCOPED_TRACE(c.args.join(' ').toStdString());
        if (c.error) {
            EXPECT_EQ(o.action, CommandLineOptions::Action::Error);
            EXPECT_EQ(o.message, c.error);
        } else {
            EXPECT_EQ(o.action, CommandLineOptions::Action::Run) << o.message.toStdString();
        }
    }
    // The help gives the ranges that the parser and the window keep to, the formula first.
    const QString help = parseCommandLine({"--help"}).message.simplified();
    const qsizetype formula = help.indexOf("--substance <FORMULA>");
    const qsizetype charge = help.indexOf("--substance-charge <Z> Charge of the own substance, "
                                          "1 to 3;");
    const qsizetype amount = help.indexOf("--substance-amount <P> Amount of the own substance, "
                                          "0 to 100 %;");
    EXPECT_TRUE(0 <= formula && formula < charge && charge < amount) << help.toStdString();

    // Without an amount the substance shows in full; an amount is clamped as a slider's.
    TfrmExample w;
    w.Timer1->stop();
    applySliderOptions(parseCommandLine({"--substance", " (CH3)3COH "}), w);
    EXPECT_EQ(w.ownSubstance().formula, "(CH3)3COH");
    EXPECT_EQ(w.ownSubstance().charge, 1);
    EXPECT_EQ(w.ownSubstance().amount, 100);
    applySliderOptions(parseCommandLine({"--substance", "CO", "--substance-charge", "3",
                                         "--substance-amount", "150"}),
                       w);
    EXPECT_EQ(w.ownSubstance().formula, "CO");
    EXPECT_EQ(w.ownSubstance().charge, 3);
    EXPECT_EQ(w.ownSubstance().amount, 100);
    EXPECT_NEAR(w.ownSubstance().pattern.monoisotopicMz, 27.99491461957 / 3, 1e-9);
}

TEST(CommandLineProgram, OwnSubstanceInTheTraceAndTheFiles)
{
    QTemporaryDir dir;
    const QString csv = dir.filePath("t.csv"), png = dir.filePath("s.png");
    const ProgramRun run =
        runProgram({"--no-noise", "--substance", "CH\u2083Br", "--substance-amount", "50",
                    "--export-trace", csv, "--snapshot", png});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList all = QString::fromUtf8(file.readAll()).split('\n');
    for (const char *line :
         {"# Own substance: CH\u2083Br", "# Own substance charge: 1", "# Own substance %: 50"})
        EXPECT_TRUE(all.contains(QString::fromUtf8(line))) << line;
    const QImage picture(png);
    EXPECT_EQ(picture.text("Own substance"), "CH\u2083Br");
    EXPECT_EQ(picture.text("Own substance %"), "50");

    const ProgramRun bad = runProgram({"--substance", "C2H5Xx", "--snapshot", png + "2"});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_EQ(bad.err, "ionograph: --substance \"C2H5Xx\": unknown element \"Xx\" at position 5 "
                       "(see --help)\n");
    EXPECT_FALSE(QFile::exists(png + "2"));
}

TEST(CommandLine, ErrorsNameWhatIsWrongInOneStyle)
{
    const std::pair<QStringList, const char *> cases[] = {
        {{"--bogus"}, "unknown option \"--bogus\" (see --help)"},
        {{"--mass", "40", "-bogus=3"}, "unknown option \"-bogus\" (see --help)"},
        {{"--seed", "1", "--mass"}, "missing value for \"--mass\" (see --help)"},
        {{"--no-noise=1"}, "option \"--no-noise\" takes no value (see --help)"},
        {{"--mass", "4x2"}, "--mass needs a number, not \"4x2\" (see --help)"},
        {{"--snapshot", "out.gif"},
         "--snapshot writes png, jpg, jpeg or bmp pictures, not \"out.gif\" (see --help)"},
        {{"--check-dictionary", " "}, "--check-dictionary needs a file name (see --help)"},
        {{"--check-dictionary", "fr.itl", "--snapshot", "s.png"},
         "--check-dictionary runs alone, without --export-trace, --snapshot and "
         "--snapshot-about (see --help)"},
    };
    for (const auto &[arguments, message] : cases) {
        const CommandLineOptions o = parseCommandLine(arguments);
        EXPECT_EQ(o.action, CommandLineOptions::Action::Error) << message;
        EXPECT_EQ(o.message, message);
    }
}

TEST(CommandLine, HelpGivesEachSliderOptionsRangeAsItsSliderHasIt)
{
    const QString help = parseCommandLine({"--help"}).message.simplified();
    const std::tuple<const char *, const char *, const char *, TScrollBar * TfrmExample::*>
        cases[] = {
            {"mass", "1", "900 mass units", &TfrmExample::SBarMass},
            {"range", "0.8", "250 mass units", &TfrmExample::SBarMagnifX},
            {"resolution", "100", "2000", &TfrmExample::SBarResol},
            {"amplification", "100", "1000", &TfrmExample::SBarAmplif},
            {"pfk", "0", "100 %", &TfrmExample::SBarPFK},
            {"pregnene", "0", "100 %", &TfrmExample::SBarPregnene},
        };
    TfrmExample w;
    w.Timer1->stop();
    for (const auto &[option, lowest, highest, slider] : cases) {
        SCOPED_TRACE(option);
        const QString text =
            help.section(QStringLiteral("--%1 <").arg(option), 1).section(" --", 0, 0);
        EXPECT_TRUE(text.contains(QStringLiteral("%1 to %2").arg(lowest, highest)))
            << text.toStdString();
        // The ends the help names are the slider's ends.
        QList<int> ends;
        for (const QString &value : {QString(lowest), QString(highest).section(' ', 0, 0)}) {
            applySliderOptions(parseCommandLine({QStringLiteral("--%1").arg(option), value}), w);
            ends << (w.*slider)->Position();
        }
        std::sort(ends.begin(), ends.end());
        EXPECT_EQ(ends, (QList<int>{(w.*slider)->Min(), (w.*slider)->Max()}));
    }
}

TEST(CommandLine, SliderOptionsThatLeaveTheStepReplaceItsExplanation)
{
    const std::pair<QStringList, const char *> cases[] = {
        {{"--mass", "28", "--range", "1"},
         "The sliders were set on the command line and no "
         "longer show step 1 of the guided tour"},
        {{"--tour-step", "5", "--pfk", "50"},
         "The sliders were set on the command line and no longer show step 5"},
        {{"--tour-step", "5", "--pfk", "70", "--range", "8"}, "Step 5"}, // the step's positions
    };
    for (const auto &[arguments, pane] : cases) {
        SCOPED_TRACE(pane);
        TfrmExample w(QStringLiteral(IONOGRAPH_DICTIONARY_DIR "/ionograph.itl"));
        w.Timer1->stop();
        w.FormShow();
        applyTourStep(parseCommandLine(arguments), w);
        applySliderOptions(parseCommandLine(arguments), w);
        EXPECT_TRUE(w.rtfExplanation->toPlainText().startsWith(pane));
    }
}

TEST(BatchOutputs, TheSeedFixesThePictureHoweverSlowTheStart)
{
    QTemporaryDir dir;
    const auto shoot = [&](const QString &name, bool slowStart) {
        seedUniformSource(7);
        TfrmExample window;
        TFrmAbout about;
        FrmAbout = &about;
        if (slowStart)
            QThread::msleep(250); // the timer is due before the picture's event processing
        else
            window.Timer1->stop();
        const QString file = dir.filePath(name);
        QString error;
        EXPECT_TRUE(writeBatchOutputs(parseCommandLine({"--tour-step", "2", "--snapshot", file}),
                                      window, about, &error))
            << error.toStdString();
        FrmAbout = nullptr;
        return QImage(file);
    };
    const QImage still = shoot("still.png", false);
    ASSERT_FALSE(still.isNull());
    EXPECT_EQ(shoot("slow.png", true), still);
}

TEST(CommandLineProgram, OutputsAreWrittenAsTheirNameSaysOrNameTheFile)
{
    QTemporaryDir dir;
    const struct
    {
        const char *option, *file;
        QByteArray magic; // empty: the file cannot be written
        bool keepsSettings;
    } cases[] = {
        {"--snapshot", "s.png", "\x89PNG", true}, {"--snapshot", "s.JPG", "\xFF\xD8\xFF", true},
        {"--snapshot", "s.bmp", "BM", false},     {"--snapshot", "s", "\x89PNG", true},
        {"--snapshot", "no/s.png", "", false},    {"--export-trace", "no/t.csv", "", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        const QString path = dir.filePath(c.file);
        const ProgramRun run = runProgram({"--tour-step", "3", c.option, path});
        if (c.magic.isEmpty()) {
            EXPECT_EQ(run.exitCode, 1);
            EXPECT_TRUE(
                run.err.contains(QStringLiteral("ionograph: cannot write \"%1\": ").arg(path)))
                << run.err.toStdString();
            continue;
        }
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        EXPECT_TRUE(bytes.startsWith(c.magic));
        EXPECT_EQ(bytes.contains("Tour step"), c.keepsSettings); // PNG text, JPEG comments
        EXPECT_EQ(QImage::fromData(bytes).size(), QSize(720, 560));
    }
}

TEST(CommandLine, ScaleTakesANumberFromOneToFourAndGeometryItsForm)
{
    const std::pair<const char *, double> good[] = {
        {"1", 1}, {" 1.25", 1.25}, {"4", 4}, {"2e0", 2}, {"1.5 ", 1.5}};
    for (const auto &[text, value] : good) {
        const CommandLineOptions o = parseCommandLine({"--scale", text});
        ASSERT_EQ(o.action, CommandLineOptions::Action::Run) << text << o.message.toStdString();
        EXPECT_EQ(o.scale, value) << text;
    }
    EXPECT_FALSE(parseCommandLine({}).scale);
    for (const char *bad : {"0.99", "4.01", "0", "-2", "x", "nan", "inf", "-inf", "1,5", "", "2x"})
        EXPECT_EQ(
            parseCommandLine({"--scale", bad}).message,
            QStringLiteral("--scale needs a number from 1 to 4, not \"%1\" (see --help)").arg(bad));

    EXPECT_EQ(parseCommandLine({"--geometry", "800x620+100-20"}).geometry,
              QRect(100, -20, 800, 620));
    for (const char *bad : {"800x620", "800x620+1", "axb+1+2", "800 x 620+1+2", "9999999x1+0+0"})
        EXPECT_EQ(parseCommandLine({"--geometry", bad}).message,
                  QStringLiteral(
                      "--geometry needs WxH+X+Y, such as 800x620+100+80, not \"%1\" (see --help)")
                      .arg(bad));
}

TEST(CommandLineProgram, BadScaleExitsWithTwoAndOneLine)
{
    QTemporaryDir dir;
    const QString png = dir.filePath("never.png");
    const ProgramRun run = runProgram({"--scale", "5", "--snapshot", png});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, "ionograph: --scale needs a number from 1 to 4, not \"5\" (see --help)\n");
    EXPECT_FALSE(QFile::exists(png));
}

TEST(CommandLineProgram, SnapshotsAtAScaleAreDrawnAtTheDeviceRatio)
{
    QTemporaryDir dir;
    QProcessEnvironment scaled = QProcessEnvironment::systemEnvironment();
    scaled.insert("QT_SCALE_FACTOR", "3"); // the option replaces the user's factor
    const auto shoot = [&](const QStringList &scale, const char *name,
                           const char *option = "--snapshot") {
        const QString file = dir.filePath(name);
        const ProgramRun run =
            runProgram(scale + QStringList{"--seed", "1", option, file},
                       scale.isEmpty() ? QProcessEnvironment::systemEnvironment() : scaled);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const QByteArray plain = shoot({}, "plain.png");
    ASSERT_FALSE(plain.isEmpty());
    EXPECT_EQ(shoot({"--scale", "1"}, "one.png"), plain);
    EXPECT_EQ(QImage::fromData(plain).text("Scale"), "");

    const QImage two = QImage::fromData(shoot({"--scale", "2"}, "two.png"));
    EXPECT_EQ(two.size(), QSize(1440, 1120));
    EXPECT_EQ(two.text("Scale"), "2");
    // Drawn at the device ratio, not enlarged: Qt's own buttons (the command column) have
    // edges and letters finer than 2 x 2 blocks.
    int finer = 0;
    for (int y = 0; y < 2 * 460; y += 2)
        for (int x = 2 * 568; x < 1440; x += 2) {
            const QRgb c = two.pixel(x, y);
            finer += c != two.pixel(x + 1, y) || c != two.pixel(x, y + 1) ||
                     c != two.pixel(x + 1, y + 1);
        }
    EXPECT_GT(finer, 200);

    const QImage about =
        QImage::fromData(shoot({"--scale", "1.5"}, "about.png", "--snapshot-about"));
    const QImage aboutPlain = QImage::fromData(shoot({}, "about1.png", "--snapshot-about"));
    EXPECT_EQ(about.size(), aboutPlain.size() * 1.5);
    EXPECT_EQ(about.text("Scale"), "1.5");
}

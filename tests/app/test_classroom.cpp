// SPDX-License-Identifier: GPL-3.0-or-later
// The classroom tools of the main window: hold, the values under the mouse, measuring with two
// crosshairs, saved files with their settings, projector colours, the keys and the menu.

#include "app/AboutBox.h"
#include "app/CommandLine.h"
#include "app/TfrmExample.h"
#include "chart/Zel_rchart.h"
#include "platform/Controls.h"
#include "platform/FileDialog.h"
#include "scales/Zel_math2.h"

#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QMouseEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QString english = QStringLiteral(IONOGRAPH_DICTIONARY_DIR "/ionograph.itl");

// A window after its start-up, timer stopped, with or without noise.
struct Window
{
    explicit Window(bool noise = true, const QString &dictionary = english) : w(dictionary)
    {
        w.Timer1->stop();
        w.model().setNoiseEnabled(noise);
        w.FormShow();
    }
    std::vector<double> signal() const
    {
        std::vector<double> y;
        for (const TraceSample &s : w.model().samples())
            y.push_back(s.y);
        return y;
    }
    // Drags crosshair n from where it stands to the pixel column x and lets it go there.
    void dragCrossHair(int n, int x, Qt::KeyboardModifiers modifiers)
    {
        int from = 0, y = 0;
        w.RCScope->WorldToPixel(1, w.RCScope->CrossHair(n)->PosX(), 0.5, from, y);
        const auto send = [&](QEvent::Type type, int at, Qt::MouseButton button,
                              Qt::MouseButtons held) {
            QMouseEvent event(type, QPointF(at, y), w.RCScope->mapToGlobal(QPointF(at, y)), button,
                              held, modifiers);
            QCoreApplication::sendEvent(w.RCScope, &event);
        };
        send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        send(QEvent::MouseMove, from, Qt::NoButton, Qt::LeftButton); // picks the crosshair
        send(QEvent::MouseMove, x, Qt::NoButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, x, Qt::LeftButton, Qt::NoButton);
        send(QEvent::MouseMove, x, Qt::NoButton, Qt::NoButton); // ends the drag
    }
    void moveMouseTo(double mass, double signal)
    {
        int px = 0, py = 0;
        w.RCScope->WorldToPixel(1, mass, signal, px, py);
        QMouseEvent move(QEvent::MouseMove, QPointF(px, py),
                         w.RCScope->mapToGlobal(QPointF(px, py)), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(w.RCScope, &move);
    }
    TfrmExample w;
};

std::vector<double> noiseFreeSignal(const SliderPositions &positions)
{
    TraceModel clean;
    clean.setNoiseEnabled(false);
    clean.ComputeSpectrum(positions);
    std::vector<double> y;
    for (const TraceSample &s : clean.samples())
        y.push_back(s.y);
    return y;
}

} // namespace

TEST(Classroom, HoldFreezesTheTraceAndSliderMovesKeepItsNoise)
{
    Window f;
    TfrmExample &w = f.w;
    w.SetHold(true);
    const std::vector<double> held = f.signal();
    std::vector<double> noise = held;
    const std::vector<double> clean = noiseFreeSignal(w.sliderPositions());
    for (size_t i = 0; i < noise.size(); ++i)
        noise[i] -= clean[i];
    w.Timer1Timer();
    w.Timer1Timer();
    EXPECT_EQ(f.signal(), held) << "the timer leaves a held trace alone";
    EXPECT_EQ(w.RCScope->Caption(), "HOLD (Space releases)");

    w.SBarMass->SetPosition(w.SBarMass->Position() + 500); // recomputed with the frozen noise
    const std::vector<double> moved = f.signal();
    const std::vector<double> movedClean = noiseFreeSignal(w.sliderPositions());
    for (size_t i = 0; i < moved.size(); ++i)
        ASSERT_NEAR(moved[i] - movedClean[i], noise[i], 1e-12) << i;

    w.SetHold(false);
    w.Timer1Timer();
    EXPECT_NE(f.signal(), moved) << "fresh noise again";
    EXPECT_EQ(w.RCScope->Caption(), "");
}

TEST(Classroom, ValuesUnderTheMouseNameTheNearestLinePresent)
{
    Window f(false);
    TfrmExample &w = f.w;
    const TTextLabel &label = *w.RCScope->TextLabel(TfrmExample::MouseReadoutLabel);
    f.moveMouseTo(40.0, 0.5);
    EXPECT_FALSE(label.Visible()) << "off by default";
    w.SetMouseReadout(true);
    w.SetOwnSubstance("CH3Br");
    w.SetOwnSubstanceAmount(100);
    struct Case
    {
        int tourStep;
        double mass;
        const char *line;
    } cases[] = {
        // Named within two line widths m/R, or three pixels where lines are thinner.
        {1, 39.97, "Nearest line: Ar 39.962"},
        {1, 44.05, "Nearest line: CO\u2082 43.990"},
        {2, 28.05, "Nearest line: N\u2082 28.006"},
        {3, 93.8, "Nearest line: CH3Br\u207a 93.942"}, // the own substance, in the wide window
        {4, 111.2, "Nearest line: Methyl-nonenone 111.081"},
        {5, 154.9, "Nearest line: PFK 154.992"},
        // Farther away the nearest line is not the one under the mouse.
        {1, 44.5, "No line near"},
        {2, 27.0, "No line near"},
        {3, 99.5, "No line near"},
        {4, 200.1, "No line near"},
        {5, 154.5, "No line near"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line);
        w.TourStep(c.tourStep);
        f.moveMouseTo(c.mass, 0.5);
        ASSERT_TRUE(label.Visible());
        const QStringList lines = label.CaptionLines();
        ASSERT_EQ(lines.size(), 2);
        // The mass of the mouse's pixel and the trace's value at that mass.
        int px = 0, py = 0;
        double mass = 0, signal = 0;
        w.RCScope->WorldToPixel(1, c.mass, 0.5, px, py);
        w.RCScope->PixelToWorld(1, px, py, mass, signal);
        const double value = w.model().sample(w.model().nearestSampleIndex(mass)).y;
        EXPECT_EQ(lines[0], QStringLiteral("Mass %1, signal %2")
                                .arg(mass, 0, 'f', 3)
                                .arg(QString::number(value, 'g', 3)));
        EXPECT_EQ(lines[1], QString::fromUtf8(c.line));
    }
    // Two lines 0.003 apart, the mouse nearer the weak one: the ion's M+1 line of 13C (1.1 % of
    // the strongest) is the one under the mouse, not the 2H line beside it (0.035 %).
    w.SBarMagnifX->SetPosition(800);
    w.SBarMass->SetPosition(94947);
    f.moveMouseTo(94.9475, 0.5);
    EXPECT_EQ(label.CaptionLines().value(1), QStringLiteral("Nearest line: CH3Br\u207a 94.945"));
    f.moveMouseTo(100, 0.5); // beyond the plot
    EXPECT_FALSE(label.Visible());
}

TEST(Classroom, CrosshairsOnTheHalfHeightPointsMeasureTheResolvingPower)
{
    Window f(false);
    TfrmExample &w = f.w;
    w.SBarMagnifX->SetPosition(800); // 0.8 wide around 42: the argon line at 39.962 is not in it
    w.SBarMass->SetPosition(39962);
    for (const int resolvingPower : {800, 1500}) {
        SCOPED_TRACE(resolvingPower);
        w.SBarResol->SetPosition(resolvingPower);
        w.SetMeasuring(true);
        EXPECT_EQ(w.RCScope->MouseAction(), Zel::maDragCrossH);
        // The half-height points of the noise-free line, between samples.
        const auto samples = w.model().samples();
        const auto top = std::max_element(samples.begin(), samples.end(),
                                          [](auto &a, auto &b) { return a.y < b.y; });
        const double half = top->y / 2;
        auto crossing = [&](int step) {
            auto it = top;
            while ((it + step)->y > half)
                it += step;
            const auto out = it + step;
            return it->x + (half - it->y) * (out->x - it->x) / (out->y - it->y);
        };
        w.RCScope->CrossHair(1)->SetPosX(crossing(-1));
        w.RCScope->CrossHair(2)->SetPosX(crossing(+1));
        w.RCScope->OnCrossHairMove(w.RCScope, w.RCScope->CrossHair(2));
        const QString text = w.RCScope->TextLabel(TfrmExample::MeasurementLabel)->Caption();
        const QStringList parts = text.split(QRegularExpression("[^0-9.]+"), Qt::SkipEmptyParts);
        ASSERT_EQ(parts.size(), 2) << text.toStdString();
        const double spacing = samples[1].x - samples[0].x;
        const double mass = 39.962383;
        EXPECT_NEAR(parts[0].toDouble(), mass / resolvingPower, spacing);
        EXPECT_NEAR(parts[1].toDouble(), resolvingPower,
                    resolvingPower * spacing / (mass / resolvingPower));
        w.SetMeasuring(false);
        EXPECT_EQ(w.RCScope->MouseAction(), Zel::maZoomDrag);
        EXPECT_EQ(w.RCScope->CrossHair(1)->Mode(), Zel::chOff);
    }
}

TEST(Classroom, ReleasedCrosshairsSnapToTheHalfHeightOfTheNearestFlank)
{
    seedUniformSource(3);
    Window f; // with noise
    TfrmExample &w = f.w;
    w.SBarAmplif->SetPosition(100);
    w.SBarMagnifX->SetPosition(1000);
    w.SBarMass->SetPosition(39962); // the argon line, 0.05 wide at R 800, range 1
    w.SetMeasuring(true);
    const double top = w.model().sample(w.model().nearestSampleIndex(39.962383)).x;
    const auto pixelOf = [&](double mass) {
        int px = 0, py = 0;
        w.RCScope->WorldToPixel(1, mass, 0.5, px, py);
        return px;
    };
    // Pixels from the left and right half-height points, the keys held, whether it snaps.
    const std::tuple<int, int, Qt::KeyboardModifiers, bool> cases[] = {
        {-3, -3, Qt::NoModifier, true},   {4, 2, Qt::NoModifier, true},
        {-4, 4, Qt::NoModifier, true},    {-3, -3, Qt::ShiftModifier, false},
        {-12, 12, Qt::NoModifier, false}, // too far from any flank
    };
    for (const auto &[leftOffset, rightOffset, modifiers, snaps] : cases) {
        SCOPED_TRACE(testing::Message() << leftOffset << " " << rightOffset);
        const int left = pixelOf(top - top / 1600) + leftOffset;
        const int right = pixelOf(top + top / 1600) + rightOffset;
        f.dragCrossHair(1, left, modifiers);
        f.dragCrossHair(2, right, modifiers);
        const double x1 = w.RCScope->CrossHair(1)->PosX(), x2 = w.RCScope->CrossHair(2)->PosX();
        if (snaps)
            EXPECT_NEAR((x1 + x2) / 2 / (x2 - x1), 800, 800 * 0.02);
        else
            EXPECT_EQ(std::pair(pixelOf(x1), pixelOf(x2)), std::pair(left, right));
        EXPECT_TRUE(w.RCScope->TextLabel(TfrmExample::MeasurementLabel)
                        ->Caption()
                        .endsWith(QString::number(std::lround((x1 + x2) / 2 / (x2 - x1)))));
    }
}

TEST(Classroom, SavedFilesCarryTheirSettings)
{
    QTemporaryDir dir;
    QProcess program;
    program.start(qEnvironmentVariable("IONOGRAPH_BINARY"),
                  {"--seed", "7", "--tour-step", "2", "--pfk", "30", "--snapshot",
                   dir.filePath("s.png"), "--export-trace", dir.filePath("t.csv")});
    ASSERT_TRUE(program.waitForFinished(120000));
    ASSERT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    const QImage picture(dir.filePath("s.png"));
    QFile csv(dir.filePath("t.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(csv.readAll()).split('\n');
    const std::pair<const char *, const char *> expected[] = {{"Program", "Ionograph 1.1"},
                                                              {"Centre mass", "30.000"},
                                                              {"Range", "8.000"},
                                                              {"Resolving power", "800"},
                                                              {"PFK %", "30"},
                                                              {"Tour step", "2"},
                                                              {"Seed", "7"}};
    for (const auto &[key, value] : expected) {
        EXPECT_EQ(picture.text(key), value) << key;
        EXPECT_TRUE(lines.contains(QStringLiteral("# %1: %2").arg(key, value))) << key;
    }
    const qsizetype header = lines.indexOf("mass,signal");
    EXPECT_EQ(header, picture.textKeys().size()) << "comment lines, then the header";
    EXPECT_EQ(lines[header + 1].split(',')[0], "22.008");

    // From the window: through the file dialog, which starts in the desktop's folders for
    // pictures and documents with a name of the step and the time; a cancelled dialog writes
    // nothing.
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME"), oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(".config")));
    QDir(home.path()).mkpath("Pictures");
    QDir(home.path()).mkpath("Documents");
    Window f;
    f.w.TourStep(3);
    QString answer = dir.filePath("w.png");
    QStringList suggested;
    const SaveFileHandler previous =
        setSaveFileHandler([&](QWidget *, const SaveFileRequest &request) {
            suggested << request.suggestedName;
            return answer;
        });
    f.w.SavePicture();
    EXPECT_EQ(QImage(answer).text("Tour step"), "3");
    answer.clear();
    f.w.SaveTrace();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 3);
    setSaveFileHandler(previous);
    qputenv("HOME", oldHome);
    qputenv("XDG_CONFIG_HOME", oldConfig);
    ASSERT_EQ(suggested.size(), 2);
    const QRegularExpression name(R"(^ionograph-step3-\d{4}-\d\d-\d\d-\d{6}\.(png|csv)$)");
    for (const auto &[path, folder] :
         {std::pair(suggested[0], "Pictures"), std::pair(suggested[1], "Documents")}) {
        EXPECT_EQ(QFileInfo(path).dir().path(), home.filePath(folder));
        EXPECT_TRUE(name.match(QFileInfo(path).fileName()).hasMatch()) << path.toStdString();
    }
}

TEST(Classroom, ProjectorColoursDrawADarkTraceOnWhite)
{
    Window f(false);
    TfrmExample &w = f.w;
    w.TourStep(2); // nitrogen and oxygen: tall lines
    w.setAttribute(Qt::WA_DontShowOnScreen);
    w.show();
    w.SetLightColours(true);
    const QImage &image = w.RCScope->dataImage(); // the plot area
    int white = 0, dark = 0, green = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            white += p == qRgb(255, 255, 255);
            dark += p == qRgb(0, 90, 0);
            green += p == qRgb(0, 185, 0);
        }
    EXPECT_GT(white, 1000);
    EXPECT_GT(dark, 100);
    EXPECT_EQ(green, 0);
    w.SetLightColours(false);
    EXPECT_EQ(w.RCScope->ChartColor(), clBlack);

    EXPECT_TRUE(parseCommandLine({"--colours", "Light"}).lightColours);
    EXPECT_FALSE(parseCommandLine({"--colours", "dark"}).lightColours);
    const CommandLineOptions bad = parseCommandLine({"--colours", "blue"});
    EXPECT_EQ(bad.action, CommandLineOptions::Action::Error);
    EXPECT_EQ(bad.message, "--colours needs dark or light, not \"blue\" (see --help)");
}

TEST(Classroom, KeysWorkWithoutTheMouse)
{
    Window f;
    TfrmExample &w = f.w;
    TFrmAbout about;
    FrmAbout = &about;
    w.show(); // the offscreen platform shows nothing, but the window becomes active
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.SBarMass->setFocus();
    QStringList saved;
    const SaveFileHandler previous =
        setSaveFileHandler([&](QWidget *, const SaveFileRequest &request) {
            return saved << request.filter, QString();
        });
    bool aboutShown = false;
    QTimer::singleShot(200, &about, [&] {
        aboutShown = QApplication::activeModalWidget() == &about;
        about.BButOKClick();
    });
    QTest::keyClick(&w, Qt::Key_N);
    EXPECT_EQ(w.CurrentTourStep(), 2);
    QTest::keyClick(w.SBarMass, Qt::Key_Space);
    EXPECT_TRUE(w.Hold());
    QTest::keyClick(w.SBarMass, Qt::Key_Space);
    EXPECT_FALSE(w.Hold());
    QTest::keyClick(&w, Qt::Key_R);
    EXPECT_EQ(w.CurrentTourStep(), 1);
    QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(saved, (QStringList{"PNG pictures (*.png)", "CSV tables (*.csv)"}));
    QTest::keyClick(&w, Qt::Key_F1);
    EXPECT_TRUE(aboutShown);
    setSaveFileHandler(previous);
    FrmAbout = nullptr;
}

TEST(Classroom, TheScopeMenuAndTheTipsSpeakTheDictionarysLanguage)
{
    Window f(true, QStringLiteral(IONOGRAPH_DICTIONARY_DIR "/ionograph.de.itl"));
    QStringList texts;
    for (const QAction *action : f.w.ScopeMenu()->actions())
        if (!action->isSeparator())
            texts << action->text();
    EXPECT_EQ(texts, (QStringList{"Anhalten", "Werte unter der Maus",
                                  "Aufl\u00f6sungsverm\u00f6gen messen", "Beamer-Farben",
                                  "Einstellungen\u2026", "Eigene Substanz\u2026",
                                  "Bild speichern\u2026", "Spur speichern\u2026",
                                  "Anzeigegr\u00f6\u00dfe", "Weiter", "Von vorn", "Info"}));
    texts.clear();
    for (const QAction *action : f.w.ScopeMenu()->findChild<QMenu *>("DisplaySizeMenu")->actions())
        texts << action->text();
    EXPECT_EQ(texts, (QStringList{"100 % (normal)", "125 %", "150 %", "200 % (Beamer, Druck)"}));
    EXPECT_EQ(f.w.BButNext->toolTip(), "N\u00e4chster Schritt der Tour (N)");
    EXPECT_EQ(f.w.RCScope->PopupMenu(), f.w.ScopeMenu());
}

// SPDX-License-Identifier: GPL-3.0-or-later
// A change of display size: the menu that offers it, and the restart's arguments, which must
// bring the window back as it was.

#include "app/CommandLine.h"
#include "app/Restart.h"
#include "app/TfrmExample.h"
#include "platform/Controls.h"

#include <QAction>
#include <QMenu>
#include <QTimer>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

QString english()
{
    return QStringLiteral(IONOGRAPH_DICTIONARY_DIR "/ionograph.itl");
}

// A window started as the program starts one from these options, without showing it.
void start(const CommandLineOptions &options, TfrmExample &window)
{
    window.Timer1->stop();
    applyWindowOptions(options, window);
    window.FormShow();
    applyTourStep(options, window);
    applySliderOptions(options, window);
}

} // namespace

TEST(Restart, ArgumentsBringBackTheWindowsState)
{
    const CommandLineOptions started =
        parseCommandLine({"--language", "de", "--seed", "5", "/serverhandle=lesson", "--", "-x"});
    ASSERT_EQ(started.action, CommandLineOptions::Action::Run) << started.message.toStdString();
    TfrmExample before(english());
    start(started, before);
    before.BButNext->click();
    // The coarse mass at its end with the fine one added: more than --mass alone can carry.
    before.SBarMass->SetPosition(900000);
    before.SBarMassFineAdj->SetPosition(2999);
    before.SBarMagnifX->SetPosition(1234);
    before.SBarAmplif->SetPosition(333);
    before.SBarPFK->SetPosition(17);
    before.SetLightColours(true);
    before.model().setNoiseEnabled(false);
    before.SetOwnSubstanceAmount(40);
    before.SetOwnSubstance(QStringLiteral("(CH3)3COH"), 2);
    before.move(-30, 45);
    before.resize(900, 700);
    const RestartState state = restartState(before, started, 1.5);

    const QStringList arguments = restartArguments(state);
    const CommandLineOptions options = parseCommandLine(arguments);
    ASSERT_EQ(options.action, CommandLineOptions::Action::Run) << options.message.toStdString();
    EXPECT_EQ(options.scale, 1.5);
    EXPECT_TRUE(options.noAboutBox);
    TfrmExample after(english());
    start(options, after);
    EXPECT_EQ(restartState(after, options, 1.5), state) << arguments.join(' ').toStdString();
    EXPECT_EQ(after.CurrentTourStep(), 2);
    EXPECT_EQ(options.parameters, (QStringList{"/serverhandle=lesson", "-x"}));
}

TEST(Restart, TheWindowStaysOnTheScreenAtTheNewSize)
{
    const QRect screen(0, 0, 1600, 1200);
    const struct
    {
        QRect geometry;
        double from, to;
        QRect expected;
    } cases[] = {
        {{100, 40, 720, 560}, 1, 2, {50, 20, 720, 560}},   // the same place on the screen
        {{300, 200, 720, 560}, 1, 2, {70, 20, 720, 560}},  // moved back inside
        {{0, 0, 1000, 800}, 1, 2, {0, 0, 790, 580}},       // no larger than the screen
        {{-50, 10, 720, 560}, 1.25, 1, {0, 13, 720, 560}}, // a frame off the left edge
    };
    for (const auto &c : cases)
        EXPECT_EQ(geometryAtScale(c.geometry, {20, 40}, screen, c.from, c.to), c.expected)
            << c.from << " to " << c.to;
}

TEST(Restart, TheMenuChecksTheRunningSizeAndReportsAnother)
{
    TfrmExample w(english());
    w.Timer1->stop();
    std::vector<double> chosen;
    w.OnDisplaySizeChosen = [&chosen](double factor) { chosen.push_back(factor); };
    w.SetDisplaySize(1.25);
    const QList<QAction *> sizes = w.ScopeMenu()->findChild<QMenu *>("DisplaySizeMenu")->actions();
    ASSERT_EQ(sizes.size(), 4);
    const auto checked = [&] {
        return std::count_if(sizes.begin(), sizes.end(), [](auto *a) { return a->isChecked(); }) ==
                   1 &&
               sizes[1]->isChecked();
    };
    EXPECT_TRUE(checked());
    sizes[3]->trigger();
    sizes[1]->trigger(); // the size that runs: nothing to restart
    EXPECT_EQ(chosen, std::vector<double>{2.0});
    EXPECT_TRUE(checked()); // until the program has restarted
}

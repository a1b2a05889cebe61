// SPDX-License-Identifier: GPL-3.0-or-later
// The program for keyboard and screen-reader users: the focus after every mouse use of the
// scope, the Page, Home and End keys, the value texts in units, the chart's account of its
// lines, the Settings dialog, and what the accessible interfaces report and accept.

#include "app/AccessibleTexts.h"
#include "app/SettingsDialog.h"
#include "app/TfrmExample.h"
#include "chart/Zel_rchart.h"
#include "platform/Controls.h"
#include "widgets/Zel_NumLab.h"

#include <QAccessible>
#include <QApplication>
#include <QDoubleSpinBox>
#include <QMenu>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

const QString english = QStringLiteral(IONOGRAPH_DICTIONARY_DIR "/ionograph.itl");
const QString german = QStringLiteral(IONOGRAPH_DICTIONARY_DIR "/ionograph.de.itl");

struct Window
{
    explicit Window(const QString &dictionary = english) : w(dictionary)
    {
        w.Timer1->stop();
        w.model().setNoiseEnabled(false);
        w.FormShow();
    }
    TfrmExample w;
};

QAccessibleInterface *accessible(QObject *object)
{
    return QAccessible::queryAccessibleInterface(object);
}

} // namespace

// After each kind of mouse use on the scope, Tab goes on from the focused slider and the arrow
// keys move the slider that Tab reached.
TEST(KeyboardFocus, TabAndArrowsWorkAfterEveryMouseUseOfTheScope)
{
    Window f;
    TfrmExample &w = f.w;
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    TRChart *scope = w.RCScope;
    const QPoint centre = scope->rect().center();
    const std::vector<std::pair<const char *, std::function<void()>>> uses = {
        {"left click", [&] { QTest::mouseClick(scope, Qt::LeftButton, {}, centre); }},
        {"zoom drag",
         [&] {
             QTest::mousePress(scope, Qt::LeftButton, {}, centre);
             QTest::mouseMove(scope, centre + QPoint(40, 10));
             QTest::mouseRelease(scope, Qt::LeftButton, {}, centre + QPoint(40, 10));
         }},
        {"crosshair drag",
         [&] {
             w.SetMeasuring(true);
             QTest::mousePress(scope, Qt::LeftButton, {}, centre);
             QTest::mouseMove(scope, centre + QPoint(20, 0));
             QTest::mouseRelease(scope, Qt::LeftButton, {}, centre + QPoint(20, 0));
             w.SetMeasuring(false);
         }},
        {"values under the mouse",
         [&] {
             w.SetMouseReadout(true);
             QTest::mouseMove(scope, centre + QPoint(5, 5));
             QTest::mouseClick(scope, Qt::LeftButton, {}, centre + QPoint(5, 5));
             w.SetMouseReadout(false);
         }},
        // Last: without a window manager nothing activates the window again once the popup
        // has gone (on a desktop the manager does), so later uses would find it inactive.
        {"menu closed with Escape",
         [&] {
             QTest::mouseClick(scope, Qt::RightButton, {}, centre);
             QContextMenuEvent request(QContextMenuEvent::Mouse, centre,
                                       scope->mapToGlobal(centre));
             QCoreApplication::sendEvent(scope, &request);
             ASSERT_TRUE(w.ScopeMenu()->isVisible());
             QTest::keyClick(w.ScopeMenu(), Qt::Key_Escape);
             ASSERT_FALSE(w.ScopeMenu()->isVisible());
         }},
    };
    for (const auto &[name, use] : uses) {
        SCOPED_TRACE(name);
        QTest::mouseClick(w.SBarMass, Qt::LeftButton, {}, w.SBarMass->rect().center());
        ASSERT_EQ(QApplication::focusWidget(), w.SBarMass);
        use();
        EXPECT_EQ(QApplication::focusWidget(), w.SBarMass);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), w.SBarMagnifX);
        const int range = w.SBarMagnifX->Position();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        EXPECT_EQ(w.SBarMagnifX->Position(), range + 1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        EXPECT_EQ(QApplication::focusWidget(), w.SBarMass);
    }
}

// A chart whose program handles its keys still takes the focus with a click.
TEST(KeyboardFocus, AChartWithKeyHandlersTakesTheFocusWithAClick)
{
    QWidget window;
    auto *before = new QScrollBar(&window);
    auto *chart = new TRChart(&window);
    chart->move(30, 0);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    before->setFocus();
    QTest::mouseClick(chart, Qt::LeftButton, {}, QPoint(40, 40));
    EXPECT_EQ(QApplication::focusWidget(), before);
    chart->OnKeyDown = [](QObject *, int &, TShiftState) {};
    QTest::mouseClick(chart, Qt::LeftButton, {}, QPoint(40, 40));
    EXPECT_EQ(QApplication::focusWidget(), chart);
}

TEST(KeyboardFocus, PageKeysMoveAUsefulStepAndHomeEndGoToTheEnds)
{
    Window f;
    struct Case
    {
        TScrollBar *bar;
        int page;
    };
    for (const Case &c :
         {Case{f.w.SBarMass, 1000}, Case{f.w.SBarMassFineAdj, 300}, Case{f.w.SBarMagnifX, 12500},
          Case{f.w.SBarResol, 100}, Case{f.w.SBarAmplif, 50}, Case{f.w.SBarPFK, 5}}) {
        SCOPED_TRACE(c.bar->objectName().toStdString());
        c.bar->SetPosition(c.bar->Min() + 1);
        QTest::keyClick(c.bar, Qt::Key_PageDown);
        EXPECT_EQ(c.bar->Position(), c.bar->Min() + 1 + c.page);
        QTest::keyClick(c.bar, Qt::Key_PageUp);
        QTest::keyClick(c.bar, Qt::Key_PageUp); // stops at the end, not beyond
        EXPECT_EQ(c.bar->Position(), c.bar->Min());
        QTest::keyClick(c.bar, Qt::Key_End);
        EXPECT_EQ(c.bar->Position(), c.bar->Max());
        QTest::keyClick(c.bar, Qt::Key_Home);
        EXPECT_EQ(c.bar->Position(), c.bar->Min());
    }
    EXPECT_EQ(f.w.SBarMagnifX->LargeChange(), 1); // a click in the trough keeps its step
}

TEST(ValueTexts, AtTheEndsAndAtStartUpInBothLanguages)
{
    Window en;
    Window de(german);
    struct Case
    {
        SliderKind kind;
        int position;
        const char *english;
        const char *german;
    };
    const Case cases[] = {
        {SliderKind::MassCoarse, 900000, "900.000 u", "900,000 u"},
        {SliderKind::MassCoarse, 42000, "42.000 u", "42,000 u"},
        {SliderKind::MassFine, -3000, "\u22123.000 u, centre 39.000 u",
         "\u22123,000 u, Mitte 39,000 u"},
        {SliderKind::Range, 800, "0.800 u", "0,800 u"},
        {SliderKind::Resolution, 2000, "2000", "2000"},
        {SliderKind::Amplification, 1000, "full scale 100", "Vollausschlag 100"},
        {SliderKind::Amplification, 101, "full scale 1.02", "Vollausschlag 1,02"},
        {SliderKind::Pfk, 100, "0 % (none)", "0 % (keine)"},
        {SliderKind::Pregnene, 0, "100 %", "100 %"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.english);
        en.w.Slider(c.kind)->SetPosition(c.position);
        de.w.Slider(c.kind)->SetPosition(c.position);
        EXPECT_EQ(accessible(en.w.Slider(c.kind))->text(QAccessible::Value), c.english);
        EXPECT_EQ(accessible(de.w.Slider(c.kind))->text(QAccessible::Value), c.german);
    }
    // The coarse mass names the centre when the fine adjustment is off zero.
    EXPECT_EQ(en.w.SBarMass->valueText(), "42.000 u, centre 39.000 u");
    EXPECT_EQ(accessible(en.w.SBarMass)->text(QAccessible::Name), "Mass coarse");
    EXPECT_EQ(accessible(de.w.SBarAmplif)->text(QAccessible::Name), "Verst\u00e4rkung");
}

TEST(ScopeDescription, NamesTheLinesOfKnownSettings)
{
    Window f;
    TfrmExample &w = f.w;
    const auto described = [&](int step) {
        w.TourStep(step);
        return w.RCScope->accessibleDescription().toStdString();
    };
    EXPECT_EQ(described(1), "Mass window 38.000 to 46.000 u, full scale 100. "
                            "Lines: Ar at 39.962 u, 1 % of full scale.");
    EXPECT_EQ(described(5), "Mass window 151.000 to 159.000 u, full scale 4. "
                            "Lines: PFK at 154.992 u, 24 % of full scale.");
    const std::string overview = described(3);
    EXPECT_NE(overview.find("N\u2082 at 28.006 u, cut off at 161 % of full scale"),
              std::string::npos)
        << overview;
    w.SetHold(true);
    EXPECT_NE(w.RCScope->accessibleDescription().indexOf("The picture is held."), -1);
    w.SetHold(false);
    EXPECT_EQ(w.RCScope->accessibleDescription().toStdString(), overview);
    // Half the methyl-nonenone fills the window with lines: the strongest ten are named.
    const std::string sample = described(4);
    EXPECT_NE(sample.find("Methyl-nonenone at 111.081 u"), std::string::npos) << sample;
    EXPECT_NE(sample.find("weaker lines"), std::string::npos) << sample;
}

// Ten noisy updates a second must not make a screen reader speak: the description is set
// anew only when the settings give a different account.
TEST(ScopeDescription, ChangesWithTheSettingsNeverWithTheNoise)
{
    Window f;
    TfrmExample &w = f.w;
    w.model().setNoiseEnabled(true);
    const QString start = w.RCScope->accessibleDescription();
    for (int tick = 0; tick < 5; ++tick)
        w.Timer1Timer();
    EXPECT_TRUE(w.RCScope->accessibleDescription().isSharedWith(start));
    w.SBarResol->SetPosition(1200); // the lines stand where they stood: nothing new to tell
    EXPECT_TRUE(w.RCScope->accessibleDescription().isSharedWith(start));
    w.SBarMass->SetPosition(30000);
    EXPECT_NE(w.RCScope->accessibleDescription(), start);
}

// The own substance's lines are told like the built-in ones, under the ion's name; the account
// follows its formula, charge and amount, and still not the noise.
TEST(ScopeDescription, TellsTheOwnSubstancesLinesAndFollowsThem)
{
    Window f;
    TfrmExample &w = f.w;
    w.SBarMass->SetPosition(95000);
    w.SBarMagnifX->SetPosition(6000);
    w.model().setNoiseEnabled(true);
    const QString window = "Mass window 92.000 to 98.000 u, full scale 100. ";
    const std::pair<std::function<void()>, const char *> cases[] = {
        {[&] { w.SetOwnSubstance("CH3Br"); }, "No line stands out of the noise."}, // amount 0
        {[&] { w.SetOwnSubstanceAmount(100); },
         "Lines: CH3Br\u207a at 93.942 u, 100 % of full scale; CH3Br\u207a at 94.945 u, 1.1 % of "
         "full scale; CH3Br\u207a at 95.940 u, 97 % of full scale; CH3Br\u207a at 96.943 u, 1.1 % "
         "of full scale."},
        {[&] { w.SetOwnSubstanceAmount(50); },
         "Lines: CH3Br\u207a at 93.942 u, 50 % of full scale; CH3Br\u207a at 94.945 u, 0.5 % of "
         "full scale; CH3Br\u207a at 95.940 u, 49 % of full scale; CH3Br\u207a at 96.943 u, 0.5 % "
         "of full scale."},
        {[&] { w.SetOwnSubstance("CH3Br", 2); }, "No line stands out of the noise."}, // at 47, 48
        {[&] { w.SetOwnSubstance("C7H8"); },
         "Lines: C7H8\u207a at 92.063 u, 50 % of full scale; C7H8\u207a at 93.066 u, 3.8 % of full "
         "scale."},
        {[&] { w.SetOwnSubstance("C7H8Xx"); }, // unreadable: the last one stays
         "Lines: C7H8\u207a at 92.063 u, 50 % of full scale; C7H8\u207a at 93.066 u, 3.8 % of full "
         "scale."},
    };
    for (const auto &[change, lines] : cases) {
        change();
        const QString told = w.RCScope->accessibleDescription();
        EXPECT_EQ(told.toStdString(), (window + QString::fromUtf8(lines)).toStdString());
        w.Timer1Timer();
        EXPECT_TRUE(w.RCScope->accessibleDescription().isSharedWith(told)) << lines;
    }
}

TEST(SettingsDialog, FieldsClampAsTheSlidersAndEscapePutsBack)
{
    Window f;
    TfrmExample &w = f.w;
    const SliderPositions opening = w.sliderPositions();
    TSettingsDialog dialog(w);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    struct Case
    {
        SliderKind kind;
        const char *typed;
        int position; // where the slider ends up
        double shown; // what the field shows once typing ends
    };
    const Case cases[] = {
        {SliderKind::MassCoarse, "111.081", 111081, 111.081},
        {SliderKind::Range, "0.1", 800, 0.8},          // below the end: the end
        {SliderKind::Amplification, "50", 707, 49.98}, // full scale A²/10000, rounded
        {SliderKind::Pregnene, "10", 90, 10},          // the amount, not the inverted position
        {SliderKind::Resolution, "50", 100, 100},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        QDoubleSpinBox *field = dialog.Field(c.kind);
        const int before = w.updateCount();
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, QString::fromLatin1(c.typed));
        QTest::keyClick(field, Qt::Key_Tab);
        EXPECT_GT(w.updateCount(), before); // the trace follows
        EXPECT_EQ(w.Slider(c.kind)->Position(), c.position);
        EXPECT_NEAR(field->value(), c.shown, 1e-9);
    }
    EXPECT_EQ(w.NLabResol->Value(), 100);
    dialog.reject();
    EXPECT_EQ(w.sliderPositions(), opening);
    EXPECT_EQ(w.NLabResol->Value(), opening.R);
}

TEST(AccessibleInterfaces, ReportAndAcceptValuesInUnits)
{
    Window f;
    TfrmExample &w = f.w;
    QAccessibleValueInterface *amount = accessible(w.SBarPFK)->valueInterface();
    ASSERT_NE(amount, nullptr);
    EXPECT_EQ(amount->currentValue().toDouble(), 0);
    EXPECT_EQ(amount->maximumValue().toDouble(), 100);
    amount->setCurrentValue(30.0);
    EXPECT_EQ(w.SBarPFK->Position(), 70);
    amount->setCurrentValue(1e300); // clamped as a drag would be
    EXPECT_EQ(w.SBarPFK->Position(), 0);
    accessible(w.SBarMass)->valueInterface()->setCurrentValue(155.0);
    EXPECT_EQ(w.SBarMass->Position(), 155000);

    QAccessibleInterface *readout = accessible(w.NLabResol);
    EXPECT_EQ(readout->text(QAccessible::Name), "Resolution");
    EXPECT_EQ(readout->text(QAccessible::Value), "800");
    QAccessibleInterface *scope = accessible(w.RCScope);
    EXPECT_EQ(scope->role(), QAccessible::Chart);
    EXPECT_EQ(scope->text(QAccessible::Name), "Spectrum display");
    EXPECT_EQ(scope->childCount(), 0);
    EXPECT_EQ(accessible(w.rtfExplanation)->text(QAccessible::Name), "Explanation");
    EXPECT_EQ(w.rtfExplanation->accessibleDescription(), "Tour step 1 of 5");
}

#include "app/PeakLists.h"
#include "app/TfrmExample.h"
#include "chart/Zel_rchart.h"
#include "platform/Controls.h"
#include "widgets/Zel_NumLab.h"

#include <QRegularExpression>
#include <QTextEdit>
#include <QTimer>
#include <algorithm>
#include <array>
#include <gtest/gtest.h>
#include <tuple>

namespace {

// Amplif, Mass, MassFineAdj, MagnifX, Resol, Pregnene, MetNonenone, PFK.
using Positions = std::array<int, 8>;

Positions positionsOf(const TfrmExample &w)
{
    return {w.SBarAmplif->Position(),      w.SBarMass->Position(),  w.SBarMassFineAdj->Position(),
            w.SBarMagnifX->Position(),     w.SBarResol->Position(), w.SBarPregnene->Position(),
            w.SBarMetNonenone->Position(), w.SBarPFK->Position()};
}

// A window whose timer does not redraw behind the test's back.
struct Window
{
    TfrmExample w;
    Window() { w.Timer1->stop(); }
};

} // namespace

TEST(Tour, StartUpRunsStepOneThenDrawsOnce)
{
    Window f;
    EXPECT_EQ(f.w.CurrentTourStep(), 0);
    const int before = f.w.updateCount();
    f.w.FormShow();
    EXPECT_EQ(f.w.CurrentTourStep(), 1);
    // The start positions are step 1's, so only the closing redraw happens.
    EXPECT_EQ(f.w.updateCount(), before + 1);
    EXPECT_EQ(f.w.rtfExplanation->toPlainText(), "explain1");
    f.w.FormShow(); // only the first showing counts
    EXPECT_EQ(f.w.updateCount(), before + 1);
}

TEST(Tour, NextWalksTheStepTableAndStopsAtFive)
{
    const Positions table[] = {
        {1000, 42000, 0, 8000, 800, 100, 100, 100},   {1000, 30000, 0, 8000, 800, 100, 100, 100},
        {700, 140000, 0, 250000, 800, 100, 100, 100}, {700, 140000, 0, 250000, 1000, 100, 50, 100},
        {200, 155000, 0, 8000, 1000, 100, 100, 30},
    };
    // What the model then shows: visible mass window and signal full scale.
    const double window[][3] = {
        {38, 46, 100}, {26, 34, 100}, {15, 265, 49}, {15, 265, 49}, {151, 159, 4}};
    Window f;
    f.w.FormShow();
    for (int step = 1; step <= 5; ++step) {
        SCOPED_TRACE(step);
        if (step > 1)
            f.w.BButNext->click();
        EXPECT_EQ(f.w.CurrentTourStep(), step);
        EXPECT_EQ(positionsOf(f.w), table[step - 1]);
        EXPECT_EQ(f.w.rtfExplanation->toPlainText(), QStringLiteral("explain%1").arg(step));
        EXPECT_EQ(f.w.rtfExplanation->document()->blockCount(), 1);
        EXPECT_EQ(f.w.BButNext->isEnabled(), step < 5);
        EXPECT_DOUBLE_EQ(f.w.RCScope->layerRangeX(1).first, window[step - 1][0]);
        EXPECT_DOUBLE_EQ(f.w.RCScope->layerRangeX(1).second, window[step - 1][1]);
        EXPECT_NEAR(f.w.RCScope->layerRangeY(1).second, window[step - 1][2], 1e-9);
        EXPECT_EQ(f.w.NLabResol->DisplayedText(), step < 4 ? "800" : "1000");
        // A learner's moves between steps are simply overwritten by the next one.
        f.w.SBarMassFineAdj->SetPosition(-500);
        f.w.SBarPregnene->SetPosition(0);
    }
    f.w.BButNext->click(); // disabled: nothing happens
    EXPECT_EQ(f.w.CurrentTourStep(), 5);
}

TEST(Tour, FromStepThreeToFourTwoSlidersMoveAndTheReadoutShowsTheNewResolution)
{
    Window f;
    f.w.FormShow();
    f.w.TourStep(3);
    const int before = f.w.updateCount();
    f.w.BButNextClick();
    EXPECT_EQ(f.w.updateCount(), before + 2); // SBarResol and SBarMetNonenone
    EXPECT_EQ(f.w.NLabResol->Value(), 1000.0);
    EXPECT_EQ(f.w.NLabResol->DisplayedText(), "1000");

    // The same step again moves nothing and leaves the redraw to the timer, but the pane
    // still gets the step's text, once.
    f.w.rtfExplanation->append("typed by hand");
    f.w.TourStep(4);
    EXPECT_EQ(f.w.updateCount(), before + 2);
    EXPECT_EQ(f.w.rtfExplanation->toPlainText(), "explain4");
}

TEST(Tour, ResetFromAnyStepReturnsToOneWithNextEnabled)
{
    Window f;
    f.w.FormShow();
    for (int i = 0; i < 4; ++i)
        f.w.BButNext->click();
    ASSERT_FALSE(f.w.BButNext->isEnabled());
    f.w.BButReset->click();
    EXPECT_EQ(f.w.CurrentTourStep(), 1);
    EXPECT_TRUE(f.w.BButNext->isEnabled());
    EXPECT_EQ(positionsOf(f.w), (Positions{1000, 42000, 0, 8000, 800, 100, 100, 100}));
    EXPECT_EQ(f.w.rtfExplanation->toPlainText(), "explain1");
    EXPECT_EQ(f.w.NLabResol->DisplayedText(), "800");
}

TEST(Tour, StepsOutsideOneToFiveAreStoredAndOtherwiseIgnored)
{
    Window f;
    f.w.FormShow();
    f.w.TourStep(2);
    const Positions at2 = positionsOf(f.w);
    const int before = f.w.updateCount();
    for (const int n : {0, -3, 6, 1000000}) {
        f.w.TourStep(n);
        EXPECT_EQ(f.w.CurrentTourStep(), n);
        EXPECT_EQ(positionsOf(f.w), at2);
        EXPECT_EQ(f.w.rtfExplanation->toPlainText(), "explain2");
        EXPECT_TRUE(f.w.BButNext->isEnabled());
    }
    EXPECT_EQ(f.w.updateCount(), before);
    f.w.TourStep(INT_MAX);
    f.w.BButNext->click(); // no step after INT_MAX, and no overflow
    EXPECT_EQ(f.w.CurrentTourStep(), INT_MAX);
    f.w.TourStep(-1);
    f.w.BButNext->click(); // 0: still nothing
    EXPECT_EQ(f.w.rtfExplanation->toPlainText(), "explain2");
    f.w.BButNext->click(); // 1
    EXPECT_EQ(f.w.rtfExplanation->toPlainText(), "explain1");
}

// ---- what the texts say, checked against what the trace shows ------------------------------

namespace {

const QString dictionaries[] = {QStringLiteral(IONOGRAPH_DICTIONARY_DIR "/ionograph.itl"),
                                QStringLiteral(IONOGRAPH_DICTIONARY_DIR "/ionograph.de.itl")};

QString explanation(const TfrmExample &w, int step)
{
    return w.TranslateString(QStringLiteral("explain%1").arg(step));
}

} // namespace

TEST(TourTexts, FormulasAndPercentagesNeverBreak)
{
    const QRegularExpression breakable(QStringLiteral("\\s=|=\\s|\\d\\s%"));
    for (const QString &file : dictionaries) {
        TfrmExample w(file);
        w.Timer1->stop();
        for (int step = 1; step <= TfrmExample::TourStepCount; ++step) {
            SCOPED_TRACE(file.section('/', -1).toStdString() + " step " + std::to_string(step));
            QString text = explanation(w, step);
            text.remove(QChar::Nbsp).remove(QChar(0x202F));
            const QRegularExpressionMatch found = breakable.match(text);
            EXPECT_FALSE(found.hasMatch())
                << text.mid(found.capturedStart() - 10, 24).toStdString();
        }
    }
}

TEST(TourTexts, StepFourNamesItsTallestFragmentsInOrderAndTheCutOne)
{
    std::vector<PeakEntry> lines(peakList(PeakListId::MethylNonenone).begin(),
                                 peakList(PeakListId::MethylNonenone).end());
    std::sort(lines.begin(), lines.end(),
              [](auto &a, auto &b) { return a.intensity > b.intensity; });
    for (const QString &file : dictionaries) {
        SCOPED_TRACE(file.toStdString());
        TfrmExample w(file);
        w.Timer1->stop();
        w.FormShow();
        w.TourStep(4);
        // The masses the text names after the molecular ion, in either notation, are the
        // sample's tallest lines in order; only the first goes beyond the full scale.
        QStringList named;
        for (const auto &m :
             QRegularExpression("\\b(\\d{2,3})[.,](\\d\\d)\\b").globalMatch(explanation(w, 4)))
            named << m.captured(1) + '.' + m.captured(2);
        ASSERT_GE(named.size(), 2);
        EXPECT_EQ(named.takeFirst(), "154.14");
        for (qsizetype i = 0; i < named.size(); ++i)
            EXPECT_EQ(named[i], QString::number(lines[size_t(i)].mass, 'f', 2));
        const double fullScale = w.RCScope->layerRangeY(1).second;
        EXPECT_GT(w.model().sample(w.model().nearestSampleIndex(lines[0].mass)).y, fullScale);
        EXPECT_LT(lines[1].intensity / 2, fullScale);
        EXPECT_TRUE(explanation(w, 4).contains(QRegularExpression("cut off|abgeschnitten")));
    }
}

TEST(TourTexts, OffsetsBelowWholeMassesShowWhereTheTextSays)
{
    // Step, the advice of the English text, the sliders it names, the line and its whole mass.
    const std::tuple<int, const char *, int, int, double, double> cases[] = {
        {1, "set Range to 1 and Mass to 40", 40000, 1000, 39.962383, 40.0},
        {5, "at the smallest Range, 0.8", 155000, 800, 154.99202, 155.0},
    };
    for (const auto &[step, advice, mass, range, line, whole] : cases) {
        SCOPED_TRACE(step);
        TfrmExample w(dictionaries[0]);
        w.Timer1->stop();
        w.FormShow();
        w.TourStep(step);
        EXPECT_TRUE(explanation(w, step).contains(advice));
        // How many pixels the line's top stands left of the tick at the whole mass.
        const auto offset = [&, line = line, whole = whole] {
            int top = 0, tick = 0, y = 0;
            w.RCScope->WorldToPixel(1, w.model().sample(w.model().nearestSampleIndex(line)).x, 0,
                                    top, y);
            w.RCScope->WorldToPixel(1, whole, 0, tick, y);
            return tick - top;
        };
        EXPECT_LE(offset(), 2) << "too little to see at the step's own range";
        w.SBarMass->SetPosition(mass);
        w.SBarMagnifX->SetPosition(range);
        EXPECT_GE(offset(), 4);
    }
}

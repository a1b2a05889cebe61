// SPDX-License-Identifier: GPL-3.0-or-later
// The own substance in the main window: the dialog and what it shows as the user types, the
// trace it changes, and the hold that keeps its noise.

#include "app/OwnSubstanceDialog.h"
#include "app/TfrmExample.h"
#include "platform/Controls.h"

#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QString dictionaries = QStringLiteral(IONOGRAPH_DICTIONARY_DIR);

struct Window
{
    explicit Window(const QString &dictionary = dictionaries + "/ionograph.itl") : w(dictionary)
    {
        w.Timer1->stop();
        w.model().setNoiseEnabled(false);
        w.FormShow();
        w.SBarMass->SetPosition(95000); // 92 .. 98
        w.SBarMagnifX->SetPosition(6000);
    }
    TfrmOwnSubstance &openDialog()
    {
        for (QAction *action : w.ScopeMenu()->actions())
            if (action->text() == w.TranslateString("OwnSubstance"))
                action->trigger();
        return *w.OwnSubstanceDialog();
    }
    double signalAt(double mass) const
    {
        return w.model().sample(w.model().nearestSampleIndex(mass)).y;
    }
    TfrmExample w;
};

} // namespace

TEST(OwnSubstance, TheDialogSetsTheSubstanceAsTheUserTypes)
{
    Window f;
    TfrmOwnSubstance &dialog = f.openDialog();
    ASSERT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.isModal()) << "the trace stays in reach";
    EXPECT_EQ(dialog.windowTitle(), "Own substance");
    EXPECT_EQ(dialog.SpinAmount->value(), 100) << "a formula typed in shows at once";
    EXPECT_EQ(f.signalAt(93.9418), 0.0);

    dialog.EdtFormula->setText("CH3Br");
    EXPECT_EQ(f.w.ownSubstance().formula, "CH3Br");
    EXPECT_EQ(f.w.ownSubstance().amount, 100);
    EXPECT_EQ(dialog.LblMonoisotopic->text(), "Monoisotopic m/z: 93.9418");
    EXPECT_EQ(dialog.LblMostAbundant->text(), "Most abundant m/z: 93.9418");
    EXPECT_EQ(dialog.LblMessage->text(), "");
    // The doublet, 79Br and 81Br nearly 1 : 1, on the noise-free trace.
    EXPECT_NEAR(f.signalAt(93.9418), 100, 15);
    EXPECT_NEAR(f.signalAt(95.9398) / f.signalAt(93.9418), 0.973, 0.05);

    dialog.SpinAmount->setValue(50);
    EXPECT_EQ(f.w.ownSubstance().amount, 50);
    EXPECT_NEAR(f.signalAt(93.9418), 50, 8);
    dialog.SpinCharge->setValue(2);
    EXPECT_EQ(dialog.LblMonoisotopic->text(), "Monoisotopic m/z: 46.9709");
    EXPECT_EQ(f.w.ownSubstance().namedLines().front().name, "CH3Br\u00b2\u207a");
    dialog.SpinCharge->setValue(1);

    // Every way a formula cannot be read, with the dictionary's text; the display keeps the
    // last formula that could.
    const std::pair<const char *, const char *> unreadable[] = {
        {"CH3BrXx", "unknown element \"Xx\" at position 6"},
        {"CH3-Br", "unexpected \"-\" at position 4"},
        {"Ca(OH", "the \"(\" at position 3 is not closed"},
        {"CH3)2", "the \")\" at position 4 has no \"(\""},
        {"C()", "empty brackets at position 2"},
        {"C0", "a count of 0 at position 2"},
        {"C02", "the count \"02\" at position 2 begins with 0"},
        {"C10001", "more than 10,000 atoms"},
    };
    for (const auto &[text, message] : unreadable) {
        dialog.EdtFormula->setText(text);
        EXPECT_EQ(dialog.LblMessage->text(), message) << text;
        EXPECT_EQ(dialog.LblMonoisotopic->text(), "") << text;
        const std::optional<FormulaError> error =
            parseFormula(QString(text).toStdU32String()).error;
        ASSERT_TRUE(error) << text;
        EXPECT_EQ(formulaErrorMessage(*error).english, message) << "the command line's text";
    }
    EXPECT_EQ(f.w.ownSubstance().formula, "CH3Br");
    EXPECT_EQ(formulaErrorMessage({FormulaError::Empty, 0, {}}).english,
              f.w.TranslateString("FormulaEmpty"));

    // Tin's fine structure is too rich: a note, not an error.
    dialog.EdtFormula->setText("Sn10");
    EXPECT_FALSE(f.w.ownSubstance().pattern.fineStructure);
    EXPECT_EQ(dialog.LblMessage->text(), f.w.TranslateString("NominalLinesOnly"));

    // An empty formula removes the substance; reopened, the dialog shows what the window holds.
    dialog.EdtFormula->clear();
    EXPECT_EQ(f.w.ownSubstance().formula, "");
    EXPECT_EQ(f.signalAt(93.9418), 0.0);
    f.w.SetOwnSubstance("C6H5Cl", 1);
    f.openDialog();
    EXPECT_EQ(dialog.EdtFormula->text(), "C6H5Cl");
    EXPECT_EQ(dialog.LblMonoisotopic->text(), "Monoisotopic m/z: 112.0080");
}

TEST(OwnSubstance, NamedLinesHeldTraceAndGerman)
{
    Window f(dictionaries + "/ionograph.de.itl");
    f.w.SetOwnSubstance("CH3Br", 1);
    f.w.SetOwnSubstanceAmount(40);
    const std::vector<NamedLine> lines = f.w.ownSubstance().namedLines();
    ASSERT_EQ(lines.size(), f.w.ownSubstance().pattern.lines.size());
    EXPECT_EQ(lines.front().name, "CH3Br\u207a");
    EXPECT_NEAR(lines.front().mz, 93.94181, 1e-5);
    EXPECT_DOUBLE_EQ(lines.front().height, 40.0);

    // Held: the frozen noise is the trace less the same trace without noise, own substance
    // included, so a slider move shows no ghost of the line where it was.
    f.w.model().setNoiseEnabled(true);
    f.w.UpdateDisplay();
    f.w.SetHold(true);
    f.w.SBarMass->SetPosition(f.w.SBarMass->Position() + 1500);
    TraceModel clean = f.w.model();
    clean.setNoiseEnabled(false);
    clean.ComputeSpectrum(f.w.sliderPositions());
    for (int i = 1; i <= TraceModel::kSampleCount; ++i)
        ASSERT_LT(std::abs(f.w.model().sample(i).y - clean.sample(i).y), 0.1) << i;
    f.w.SetHold(false);

    TfrmOwnSubstance &dialog = f.openDialog();
    EXPECT_EQ(dialog.windowTitle(), "Eigene Substanz");
    dialog.EdtFormula->setText("C2H5Xx");
    EXPECT_EQ(dialog.LblMessage->text(), "unbekanntes Element \u201eXx\u201c an Stelle 5");
    dialog.EdtFormula->setText("CO");
    EXPECT_EQ(dialog.LblMostAbundant->text(), "H\u00e4ufigstes m/z: 27.9949");
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/OwnSubstanceDialog.h"

#include "app/FormBuilder.h"
#include "app/Glyphs.h"
#include "app/TfrmExample.h"

#include <QLineEdit>
#include <QSpinBox>

using namespace FormBuilder;

namespace {

QString mzText(double mz)
{
    return QString::number(mz, 'f', 4);
}

} // namespace

TfrmOwnSubstance::TfrmOwnSubstance(TfrmExample &window)
    : QDialog(&window, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_window(window)
{
    buildForm();
}

void TfrmOwnSubstance::buildForm()
{
    setObjectName(QStringLiteral("FrmOwnSubstance"));
    SetCaption(QStringLiteral("BF_OwnSubstanceTitle"));
    setFixedSize(ClientWidth, ClientHeight);
    setFont(windowFont(QStringLiteral("MS Sans Serif"), 13));

    const auto field = [this](const char *name, const char *caption, int top) {
        TLabel *l = label(this, name, QString::fromLatin1(caption), Qt::AlignRight);
        l->setGeometry(8, top + 3, 124, 16);
        return l;
    };
    LblFormula = field("LblFormula", "BF_SumFormula", 10);
    EdtFormula = new QLineEdit(this);
    EdtFormula->setObjectName(QStringLiteral("EdtFormula"));
    EdtFormula->setGeometry(140, 8, 262, 22);
    EdtFormula->setMaxLength(200);
    LblFormula->setBuddy(EdtFormula);
    LblExamples = label(this, "LblExamples", QStringLiteral("BF_FormulaExamples"), Qt::AlignLeft);
    LblExamples->setGeometry(140, 32, 262, 16);
    QPalette grey = LblExamples->palette();
    grey.setColor(QPalette::WindowText, toQColor(clGrayText));
    LblExamples->setPalette(grey);

    const auto spin = [this](const char *name, int top, int min, int max) {
        auto *s = new QSpinBox(this);
        s->setObjectName(QString::fromLatin1(name));
        s->setGeometry(140, top, 64, 22);
        s->setRange(min, max);
        return s;
    };
    LblCharge = field("LblCharge", "BF_Charge", 56);
    SpinCharge = spin("SpinCharge", 56, 1, OwnSubstance::MaxCharge);
    LblCharge->setBuddy(SpinCharge);
    LblAmount = field("LblAmount", "BF_AmountPercent", 84);
    SpinAmount = spin("SpinAmount", 84, 0, 100);
    LblAmount->setBuddy(SpinAmount);

    const auto result = [this](const char *name, int top, int height) {
        TLabel *l = label(this, name, QString(), Qt::AlignLeft);
        l->setGeometry(8, top, 394, height);
        return l;
    };
    LblMonoisotopic = result("LblMonoisotopic", 118, 16);
    LblMostAbundant = result("LblMostAbundant", 138, 16);
    LblMessage = result("LblMessage", 158, 32); // two lines of 16 pixels
    LblMessage->setWordWrap(true);

    BButClose = button(this, "BButClose", QStringLiteral("BF_Close"), Glyphs::okGlyph());
    BButClose->setGeometry(294, 192, 108, 29);
    BButClose->setDefault(true);
    BButClose->setAutoDefault(false);
    BButClose->OnClick = [this] { accept(); };

    connect(EdtFormula, &QLineEdit::textChanged, this, [this] { formulaChanged(); });
    connect(SpinCharge, &QSpinBox::valueChanged, this, [this] { formulaChanged(); });
    connect(SpinAmount, &QSpinBox::valueChanged, this, [this](int percent) {
        if (!m_reading)
            m_window.SetOwnSubstanceAmount(percent);
    });
}

void TfrmOwnSubstance::ReadFromWindow()
{
    const OwnSubstance &own = m_window.ownSubstance();
    m_reading = true;
    EdtFormula->setText(own.formula);
    SpinCharge->setValue(own.charge);
    SpinAmount->setValue(own.formula.isEmpty() ? 100 : own.amount);
    m_reading = false;
    showResult();
}

void TfrmOwnSubstance::formulaChanged()
{
    if (m_reading)
        return;
    const std::optional<FormulaError> error =
        m_window.SetOwnSubstance(EdtFormula->text(), SpinCharge->value());
    if (!error)
        m_window.SetOwnSubstanceAmount(SpinAmount->value());
    showResult();
    if (error) {
        const FormulaErrorMessage message = formulaErrorMessage(*error);
        showMessage(m_window.TranslateString(message.key, message.params), clRed);
    }
}

void TfrmOwnSubstance::showMessage(const QString &text, TColor colour)
{
    QPalette palette = LblMessage->palette();
    palette.setColor(QPalette::WindowText, toQColor(colour));
    LblMessage->setPalette(palette);
    LblMessage->SetCaption(text);
}

void TfrmOwnSubstance::showResult()
{
    const OwnSubstance &own = m_window.ownSubstance();
    const bool shown = !own.formula.isEmpty() && own.formula == EdtFormula->text().trimmed() &&
                       own.charge == SpinCharge->value();
    LblMonoisotopic->SetCaption(shown
                                    ? m_window.TranslateString(QStringLiteral("MonoisotopicMz"),
                                                               {mzText(own.pattern.monoisotopicMz)})
                                    : QString());
    LblMostAbundant->SetCaption(shown
                                    ? m_window.TranslateString(QStringLiteral("MostAbundantMz"),
                                                               {mzText(own.pattern.mostAbundantMz)})
                                    : QString());
    showMessage(shown && !own.pattern.fineStructure
                    ? m_window.TranslateString(QStringLiteral("NominalLinesOnly"))
                    : QString(),
                clWindowText);
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "Own substance" dialog: a sum formula, its charge and its amount, with the computed
// monoisotopic and most abundant m/z, or what cannot be read, shown as the user types. It is
// not modal: every readable change goes to the main window at once, so the trace follows.

#include "platform/Colors.h"

#include <QDialog>

class QLineEdit;
class QSpinBox;
class TBitBtn;
class TLabel;
class TfrmExample;

class TfrmOwnSubstance : public QDialog
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
public:
    static constexpr int ClientWidth = 410;
    static constexpr int ClientHeight = 228;

    // A child window of the main window, whose own substance it sets.
    explicit TfrmOwnSubstance(TfrmExample &window);

    QString Caption() const { return windowTitle(); }
    void SetCaption(const QString &caption) { setWindowTitle(caption); }

    // Shows the main window's substance in the fields. Without one, the amount proposed is
    // 100 %, so that a formula typed in shows at once.
    void ReadFromWindow();

    TLabel *LblFormula = nullptr;
    QLineEdit *EdtFormula = nullptr;
    TLabel *LblExamples = nullptr;
    TLabel *LblCharge = nullptr;
    QSpinBox *SpinCharge = nullptr;
    TLabel *LblAmount = nullptr;
    QSpinBox *SpinAmount = nullptr;
    TLabel *LblMonoisotopic = nullptr;
    TLabel *LblMostAbundant = nullptr;
    // What cannot be read, in red, or a note on the pattern.
    TLabel *LblMessage = nullptr;
    TBitBtn *BButClose = nullptr;

private:
    void buildForm();
    // The formula or the charge changed: the window computes the pattern anew.
    void formulaChanged();
    void showResult();
    void showMessage(const QString &text, TColor colour);

    TfrmExample &m_window;
    bool m_reading = false;
};

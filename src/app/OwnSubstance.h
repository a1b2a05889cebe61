// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The user's own substance as the main window holds it: the formula as typed, its charge and
// amount, and its isotope pattern, computed once per formula; and the texts that name it.

#include "app/Formula.h"
#include "app/IsotopePattern.h"
#include "app/SampleLists.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

struct OwnSubstance
{
    static constexpr int MaxCharge = 3;

    QString formula; // blanks trimmed; empty when there is none
    int charge = 1;  // 1..MaxCharge
    int amount = 0;  // percent, 0 = absent
    IsotopePattern pattern;

    bool present() const { return !formula.isEmpty() && amount > 0; }
    // The ion's name: the formula and the charge as a superscript, "CH3Br⁺", "C60²⁺".
    QString ionName() const;
    // The pattern's lines at their heights in the trace (intensity times amount / 100); none
    // while the substance is absent.
    std::vector<NamedLine> namedLines() const;
};

// The key of a formula error's text in the dictionary and its parameters: the offending text
// and the position.
struct FormulaErrorMessage
{
    QString key;
    QStringList params;
    QString english; // the text with the parameters in place, for the command line
};
FormulaErrorMessage formulaErrorMessage(const FormulaError &error);

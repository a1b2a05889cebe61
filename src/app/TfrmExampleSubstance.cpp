// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's own substance: a formula of the user's, its isotope pattern as the trace
// model's fifth list, and the dialog that sets it.

#include "app/OwnSubstanceDialog.h"
#include "app/TfrmExample.h"

#include <QScreen>
#include <algorithm>

std::optional<FormulaError> TfrmExample::SetOwnSubstance(const QString &formula, int charge)
{
    const QString trimmed = formula.trimmed();
    charge = std::clamp(charge, 1, OwnSubstance::MaxCharge);
    if (trimmed == m_ownSubstance.formula && charge == m_ownSubstance.charge)
        return std::nullopt;
    IsotopePattern pattern;
    if (!trimmed.isEmpty()) {
        // Read as typed, so that positions count from the user's first character.
        const ParsedFormula parsed = parseFormula(formula.toStdU32String());
        if (parsed.error)
            return parsed.error;
        pattern = isotopePattern(parsed.elements, charge);
    }
    m_ownSubstance.formula = trimmed;
    m_ownSubstance.charge = charge;
    m_ownSubstance.pattern = std::move(pattern);
    m_model.setOwnSubstance(m_ownSubstance.pattern.lines, m_ownSubstance.amount);
    UpdateDisplay();
    settingsChanged();
    return std::nullopt;
}

void TfrmExample::SetOwnSubstanceAmount(int percent)
{
    percent = std::clamp(percent, 0, 100);
    if (percent == m_ownSubstance.amount)
        return;
    m_ownSubstance.amount = percent;
    m_model.setOwnSubstanceAmount(percent);
    UpdateDisplay();
    settingsChanged();
}

void TfrmExample::ShowOwnSubstanceDialog()
{
    m_ownSubstanceDialog->ReadFromWindow();
    if (!m_ownSubstanceDialog->isVisible()) {
        // Beside the window where the screen has room, else over its lower part: the trace
        // stays in sight.
        const QRect frame = frameGeometry();
        const QRect screen = this->screen()->availableGeometry();
        const QSize size = m_ownSubstanceDialog->frameGeometry().size();
        QPoint at(frame.right() + 8, frame.top());
        if (at.x() + size.width() > screen.right())
            at = QPoint(frame.left(), frame.bottom() - size.height());
        m_ownSubstanceDialog->move(at);
    }
    m_ownSubstanceDialog->show();
    m_ownSubstanceDialog->raise();
    m_ownSubstanceDialog->activateWindow();
}

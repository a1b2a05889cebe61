// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/OwnSubstance.h"

#include "i18n/Zodavided2000.h"

namespace {

// The dictionary's English entries say the same.
struct ErrorText
{
    FormulaError::Kind kind;
    const char *key;
    const char *english; // <%1%>: the offending text, <%2%>: its position
};

constexpr ErrorText errorTexts[] = {
    {FormulaError::Empty, "FormulaEmpty", "no formula"},
    {FormulaError::UnknownElement, "FormulaUnknownElement",
     "unknown element \"<%1%>\" at position <%2%>"},
    {FormulaError::Unexpected, "FormulaUnexpected", "unexpected \"<%1%>\" at position <%2%>"},
    {FormulaError::UnclosedBracket, "FormulaUnclosedBracket",
     "the \"(\" at position <%2%> is not closed"},
    {FormulaError::UnopenedBracket, "FormulaUnopenedBracket",
     "the \")\" at position <%2%> has no \"(\""},
    {FormulaError::EmptyBrackets, "FormulaEmptyBrackets", "empty brackets at position <%2%>"},
    {FormulaError::ZeroCount, "FormulaZeroCount", "a count of 0 at position <%2%>"},
    {FormulaError::LeadingZero, "FormulaLeadingZero",
     "the count \"<%1%>\" at position <%2%> begins with 0"},
    {FormulaError::TooManyAtoms, "FormulaTooManyAtoms", "more than 10,000 atoms"},
};

} // namespace

QString OwnSubstance::ionName() const
{
    static const QString superscripts[] = {QString(), QString(), QStringLiteral("\u00b2"),
                                           QStringLiteral("\u00b3")};
    return formula + superscripts[std::clamp(charge, 1, MaxCharge)] + QStringLiteral("\u207a");
}

std::vector<NamedLine> OwnSubstance::namedLines() const
{
    std::vector<NamedLine> lines;
    if (!present())
        return lines;
    const QString name = ionName();
    for (const PatternLine &l : pattern.lines)
        lines.push_back({name, l.mz, amount * l.intensity / 100});
    return lines;
}

FormulaErrorMessage formulaErrorMessage(const FormulaError &error)
{
    for (const ErrorText &t : errorTexts) {
        if (t.kind != error.kind)
            continue;
        const QStringList params = {QString::fromStdU32String(error.text),
                                    QString::number(error.position)};
        return {QString::fromLatin1(t.key), params,
                ZelI18n::substituteParams(QString::fromUtf8(t.english), params)};
    }
    return {};
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Sum formulas such as CH3Br, (CH3)3COH, Ca(OH)2 or D2O: element symbols with counts and
// parentheses with multipliers, read into the number of atoms of each element. Plain C++.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct ElementCount
{
    std::string_view symbol; // as in the isotope table
    int count;
};

// What makes a formula unreadable, and where: positions count characters from 1.
struct FormulaError
{
    enum Kind {
        Empty,           // nothing but blanks
        UnknownElement,  // text: the symbol, e.g. "Xx"
        Unexpected,      // text: the character, e.g. "*" or a lower-case "c"
        UnclosedBracket, // position of the "(" that is never closed
        UnopenedBracket, // position of a ")" without its "("
        EmptyBrackets,   // position of the "(" of "()"
        ZeroCount,       // position of the count 0
        LeadingZero,     // text: the count, e.g. "02" (most likely a zero typed for an O)
        TooManyAtoms,    // more than kMaxAtoms in all
    };
    Kind kind;
    int position = 0;
    std::u32string text;

    bool operator==(const FormulaError &) const = default;
};

struct ParsedFormula
{
    // Each element once, in the order of its first appearance; empty on an error.
    std::vector<ElementCount> elements;
    int atoms = 0;
    std::optional<FormulaError> error;
};

// A formula of more atoms is refused: its pattern would take long and show nothing new.
inline constexpr int kMaxAtoms = 10000;

// Reads a formula. Blanks before and after it are ignored; counts may be written as digits or
// as subscript digits (CH₃Br). A symbol is an upper-case letter and at most one lower-case
// letter after it, so "Co" is cobalt and "CO" carbon monoxide.
ParsedFormula parseFormula(std::u32string_view text);

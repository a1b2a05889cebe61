// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The stable isotopes of the elements from hydrogen to uranium, with their exact masses and
// representative natural abundances, for the isotope patterns of the user's own substance.
// Thorium, protactinium and uranium have no stable isotope but a representative terrestrial
// composition and are listed with it; D stands for deuterium (hydrogen-2 alone).

#include <span>
#include <string_view>

struct IsotopeEntry
{
    std::string_view symbol; // element symbol, as written in a sum formula
    int massNumber;
    double mass;      // neutral atomic mass, u
    double abundance; // mole fraction in the element's representative composition
};

// Every isotope of the table, grouped by element (the isotopes of one element follow each
// other in ascending mass).
std::span<const IsotopeEntry> isotopeTable();

// The isotopes of one element; empty for a symbol that the table does not hold. The symbol
// is compared exactly ("Co" is cobalt, "CO" no symbol).
std::span<const IsotopeEntry> isotopesOf(std::string_view symbol);

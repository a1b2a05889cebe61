// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The isotope pattern of a molecular ion: every isotopic composition of the formula as its own
// line of m/z and relative intensity (the fine structure), computed element by element from
// the isotope table. Plain C++; the pattern is computed once per formula, not per display.

#include "app/Formula.h"

#include <span>
#include <vector>

struct PatternLine
{
    double mz;        // neutral atomic masses summed, divided by the charge (the electrons'
                      // mass is not subtracted, as in the built-in line lists)
    double intensity; // relative: the strongest line is 100
};

struct IsotopePattern
{
    std::vector<PatternLine> lines; // ascending m/z
    // Each element's most abundant isotope, summed, divided by the charge.
    double monoisotopicMz = 0;
    // The m/z of the strongest line.
    double mostAbundantMz = 0;
    // The fraction of all molecules that the strongest line holds (its intensity of 100 in
    // absolute terms): with nothing pruned, the intensities times this sum to 100.
    double strongestAbundance = 0;
    // Each isotopic composition its own line (merged only when closer than kMergeWithin); or,
    // when that would take more than kMaxPatternLines lines (many atoms of elements with many
    // isotopes, such as Sn10), one line per nucleon number at its mean mass.
    bool fineStructure = true;
};

// Lines closer than this are one line, at their abundance-weighted mass.
inline constexpr double kMergeWithin = 1e-6;
// Lines weaker than this fraction of the strongest are dropped.
inline constexpr double kPruneBelow = 1e-4;
// The most lines of the fine structure at any step of the computation.
inline constexpr size_t kMaxPatternLines = 5000;

// The pattern of a parsed formula's elements at charge z >= 1 (smaller charges count as 1).
// pruneBelow 0 keeps every composition, for checks of the whole distribution.
IsotopePattern isotopePattern(std::span<const ElementCount> elements, int charge,
                              double pruneBelow = kPruneBelow);

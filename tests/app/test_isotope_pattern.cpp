// SPDX-License-Identifier: GPL-3.0-or-later
// The own substance's chemistry: the isotope table, the formula reader and the isotope
// pattern, against values computed by hand from the table's masses and abundances.

#include "app/Elements.h"
#include "app/Formula.h"
#include "app/IsotopePattern.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <string>

namespace {

std::string utf8(std::u32string_view text)
{
    std::string out;
    for (char32_t c : text)
        out += c < 0x80 ? std::string(1, char(c)) : "?";
    return out;
}

IsotopePattern patternOf(std::u32string_view formula, int charge = 1,
                         double pruneBelow = kPruneBelow)
{
    const ParsedFormula parsed = parseFormula(formula);
    EXPECT_FALSE(parsed.error) << utf8(formula);
    return isotopePattern(parsed.elements, charge, pruneBelow);
}

// The summed intensity of the lines k nucleons above the monoisotopic one, relative to it.
double nominalRatio(const IsotopePattern &p, int k)
{
    double at = 0, base = 0;
    for (const PatternLine &l : p.lines) {
        const long offset = std::lround(l.mz - p.monoisotopicMz);
        at += offset == k ? l.intensity : 0;
        base += offset == 0 ? l.intensity : 0;
    }
    return at / base;
}

} // namespace

TEST(IsotopeTable, EveryElementFromHydrogenToUraniumWithAComposition)
{
    // Z = 1 .. 92 without Tc, Pm and Po .. Ac, which have no representative composition.
    const std::set<std::string_view> expected = {
        "H",  "He", "Li", "Be", "B",  "C",  "N",  "O",  "F",  "Ne", "Na", "Mg", "Al", "Si", "P",
        "S",  "Cl", "Ar", "K",  "Ca", "Sc", "Ti", "V",  "Cr", "Mn", "Fe", "Co", "Ni", "Cu", "Zn",
        "Ga", "Ge", "As", "Se", "Br", "Kr", "Rb", "Sr", "Y",  "Zr", "Nb", "Mo", "Ru", "Rh", "Pd",
        "Ag", "Cd", "In", "Sn", "Sb", "Te", "I",  "Xe", "Cs", "Ba", "La", "Ce", "Pr", "Nd", "Sm",
        "Eu", "Gd", "Tb", "Dy", "Ho", "Er", "Tm", "Yb", "Lu", "Hf", "Ta", "W",  "Re", "Os", "Ir",
        "Pt", "Au", "Hg", "Tl", "Pb", "Bi", "Th", "Pa", "U",  "D"};
    std::map<std::string_view, double> abundanceSum;
    std::string_view previous;
    for (const IsotopeEntry &iso : isotopeTable()) {
        SCOPED_TRACE(std::string(iso.symbol) + std::to_string(iso.massNumber));
        // A slipped digit in a mass moves it away from its nucleon number.
        EXPECT_NEAR(iso.mass, iso.massNumber, 0.1);
        EXPECT_GT(iso.abundance, 0);
        if (iso.symbol == previous) {
            EXPECT_GT(iso.mass, (&iso - 1)->mass) << "ascending within the element";
        } else {
            EXPECT_FALSE(abundanceSum.contains(iso.symbol)) << "one run per element";
        }
        abundanceSum[iso.symbol] += iso.abundance;
        previous = iso.symbol;
    }
    EXPECT_EQ(abundanceSum.size(), expected.size());
    for (const auto &[symbol, sum] : abundanceSum) {
        EXPECT_TRUE(expected.contains(symbol)) << symbol;
        EXPECT_NEAR(sum, 1.0, 2e-4) << symbol;
    }

    // The mean masses are the atomic weights of the representative compositions: a check of
    // the abundances.
    const std::pair<std::string_view, double> weights[] = {
        {"H", 1.00794}, {"C", 12.0107}, {"N", 14.0067}, {"O", 15.9994}, {"S", 32.065},
        {"Cl", 35.453}, {"Br", 79.904}, {"Fe", 55.845}, {"Se", 78.971}, {"Cd", 112.414},
        {"Sn", 118.71}, {"Xe", 131.29}, {"Hg", 200.59}, {"U", 238.03}};
    for (const auto &[symbol, weight] : weights) {
        double mean = 0;
        for (const IsotopeEntry &iso : isotopesOf(symbol))
            mean += iso.mass * iso.abundance / abundanceSum[symbol];
        EXPECT_NEAR(mean, weight, weight * 5e-5) << symbol;
    }
    EXPECT_EQ(isotopesOf("D").size(), 1u);
    EXPECT_EQ(isotopesOf("D").front().mass, isotopesOf("H").back().mass);
}

TEST(ParseFormula, ValidAndInvalidFormulas)
{
    using E = FormulaError;
    struct Case
    {
        std::u32string_view text;
        std::map<std::string_view, int> counts; // empty for an error
        std::optional<FormulaError> error;
    };
    const Case cases[] = {
        {U"H2O", {{"H", 2}, {"O", 1}}, {}},
        {U"CH3COOH", {{"C", 2}, {"H", 4}, {"O", 2}}, {}},
        {U"(CH3)3COH", {{"C", 4}, {"H", 10}, {"O", 1}}, {}},
        {U"Ca(OH)2", {{"Ca", 1}, {"O", 2}, {"H", 2}}, {}},
        {U"((CH2)2)3Cl", {{"C", 6}, {"H", 12}, {"Cl", 1}}, {}},
        {U"D2O", {{"D", 2}, {"O", 1}}, {}},
        {U"Co", {{"Co", 1}}, {}},
        {U"CO", {{"C", 1}, {"O", 1}}, {}},
        {U"  C6H5Cl\t", {{"C", 6}, {"H", 5}, {"Cl", 1}}, {}},
        {U"CH\u2083Br", {{"C", 1}, {"H", 3}, {"Br", 1}}, {}},
        {U"C10000", {{"C", 10000}}, {}},
        {U"", {}, E{E::Empty, 0, {}}},
        {U"C2H5Xx", {}, E{E::UnknownElement, 5, U"Xx"}},
        {U" Xx", {}, E{E::UnknownElement, 2, U"Xx"}},
        {U"ch4", {}, E{E::Unexpected, 1, U"c"}},
        {U"C2 H6", {}, E{E::Unexpected, 3, U" "}},
        {U"Ca(OH", {}, E{E::UnclosedBracket, 3, {}}},
        {U"CH3)2", {}, E{E::UnopenedBracket, 4, {}}},
        {U"C()2", {}, E{E::EmptyBrackets, 2, {}}},
        {U"C0", {}, E{E::ZeroCount, 2, {}}},
        {U"(CH3)0", {}, E{E::ZeroCount, 6, {}}},
        {U"C02", {}, E{E::LeadingZero, 2, U"02"}},
        {U"C10001", {}, E{E::TooManyAtoms, 0, {}}},
        {U"(C100)101", {}, E{E::TooManyAtoms, 0, {}}},
        // Products far beyond 64 bits must not wrap round to a small count.
        {U"((((((C99)99)99)99)99)99)99", {}, E{E::TooManyAtoms, 0, {}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(utf8(c.text));
        const ParsedFormula parsed = parseFormula(c.text);
        EXPECT_EQ(parsed.error, c.error);
        std::map<std::string_view, int> counts;
        int atoms = 0;
        for (const ElementCount &e : parsed.elements) {
            EXPECT_FALSE(counts.contains(e.symbol)) << "each element once";
            counts[e.symbol] = e.count;
            atoms += e.count;
        }
        EXPECT_EQ(counts, c.counts);
        EXPECT_EQ(parsed.atoms, atoms);
    }
}

TEST(IsotopePattern, MonoisotopicMassesRatiosAndCharge)
{
    // 1H 1.00782503223, 12C 12, 16O 15.99491461957, 35Cl 34.968852682, 79Br 78.9183376.
    const std::pair<std::u32string_view, double> masses[] = {
        {U"H2O", 18.01056468403},     {U"CO2", 43.98982923914}, {U"CH3Br", 93.94181269669},
        {U"C6H5Cl", 112.00797784315}, {U"C60", 720.0},          {U"C10H18O", 154.13576519971}};
    for (const auto &[formula, mass] : masses) {
        const IsotopePattern p = patternOf(formula);
        EXPECT_NEAR(p.monoisotopicMz, mass, 1e-6) << utf8(formula);
        EXPECT_NEAR(p.lines.front().mz, mass, 1e-6) << utf8(formula) << ": the lightest line";
    }

    // Cl: 0.2424 / 0.7576; Br: 0.4931 / 0.5069; C60: 60 x 0.0107 / 0.9893; SO2: 34S and 18O.
    struct Ratio
    {
        std::u32string_view formula;
        int above;
        double ratio, tolerance;
    };
    const Ratio ratios[] = {{U"CH3Cl", 2, 0.320, 0.002},   {U"CH3Br", 2, 0.973, 0.002},
                            {U"Cl2", 2, 0.640, 0.002},     {U"Cl2", 4, 0.1024, 0.0005},
                            {U"C60", 1, 0.649, 0.002},     {U"SO2", 2, 0.0489, 0.0005},
                            {U"C6H5Cl", 1, 0.0655, 0.0005}};
    for (const Ratio &r : ratios)
        EXPECT_NEAR(nominalRatio(patternOf(r.formula), r.above), r.ratio, r.tolerance)
            << utf8(r.formula) << " M+" << r.above;

    // The fine structure: 13C and 2H each give their own line at M+1.
    const IsotopePattern bromide = patternOf(U"CH3Br");
    ASSERT_EQ(bromide.lines.size(), 6u);
    EXPECT_NEAR(bromide.lines[1].mz, 93.94181269669 + 1.00335483507, 1e-9);
    EXPECT_NEAR(bromide.lines[2].mz, 93.94181269669 + 1.00627674589, 1e-9);
    EXPECT_NEAR(bromide.lines[3].mz, 95.93976479669, 1e-9); // 81Br
    EXPECT_EQ(bromide.mostAbundantMz, bromide.monoisotopicMz);

    // Charge 2: every m/z halved, the intensities unchanged.
    const IsotopePattern twice = patternOf(U"CH3Br", 2);
    ASSERT_EQ(twice.lines.size(), bromide.lines.size());
    for (size_t i = 0; i < twice.lines.size(); ++i) {
        EXPECT_DOUBLE_EQ(twice.lines[i].mz, bromide.lines[i].mz / 2);
        EXPECT_EQ(twice.lines[i].intensity, bromide.lines[i].intensity);
    }
    EXPECT_DOUBLE_EQ(twice.monoisotopicMz, bromide.monoisotopicMz / 2);

    // The strongest line is not always the monoisotopic one.
    EXPECT_NEAR(patternOf(U"C100H202").mostAbundantMz, 1403.58065651 + 1.00335483507, 1e-6);
    EXPECT_NEAR(patternOf(U"C60Br6").mostAbundantMz, 720 + 3 * 78.9183376 + 3 * 80.9162897, 1e-6);
}

TEST(IsotopePattern, WholeDistributionAndExactPruning)
{
    for (std::u32string_view formula :
         {U"C6H5Cl", U"C10H18O", U"C60Br6", U"SnCl4", U"Hg2Cl2", U"Fe(CO)5", U"Sn10", U"U"}) {
        SCOPED_TRACE(utf8(formula));
        // Nothing dropped: the abundances of all compositions sum to 1.
        const IsotopePattern all = patternOf(formula, 1, 0);
        double sum = 0;
        for (const PatternLine &l : all.lines)
            sum += l.intensity / 100 * all.strongestAbundance;
        EXPECT_NEAR(sum, 1.0, 1e-12);

        // With the cut: the same lines as a far finer cut gives, less those under 0.01 %.
        const IsotopePattern pruned = patternOf(formula);
        const IsotopePattern fine = patternOf(formula, 1, 1e-12);
        EXPECT_EQ(pruned.fineStructure, fine.fineStructure);
        std::vector<PatternLine> expected;
        for (const PatternLine &l : fine.lines)
            if (l.intensity >= 0.01)
                expected.push_back(l);
        ASSERT_EQ(pruned.lines.size(), expected.size());
        double strongest = 0;
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_NEAR(pruned.lines[i].mz, expected[i].mz, 1e-9) << i;
            EXPECT_NEAR(pruned.lines[i].intensity, expected[i].intensity, 1e-6) << i;
            strongest = std::max(strongest, pruned.lines[i].intensity);
            EXPECT_TRUE(i == 0 || pruned.lines[i].mz > pruned.lines[i - 1].mz) << i;
        }
        EXPECT_EQ(strongest, 100);
    }
    // Tin's many isotopes: ten atoms have more fine-structure lines than the limit, so the
    // lines stand one nucleon apart.
    const IsotopePattern tin = patternOf(U"Sn10");
    EXPECT_TRUE(patternOf(U"SnCl4").fineStructure);
    EXPECT_FALSE(tin.fineStructure);
    for (size_t i = 1; i < tin.lines.size(); ++i)
        EXPECT_NEAR(tin.lines[i].mz - tin.lines[i - 1].mz, 1.0, 0.01) << i;
}

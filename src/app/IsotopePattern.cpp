// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/IsotopePattern.h"

#include "app/Elements.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>
#include <unordered_set>

namespace {

// More pairs than this in one step of the fine structure: the nominal masses instead.
constexpr size_t kMaxPairs = 2000000;

struct Line
{
    double mass;
    double abundance;
};
using Distribution = std::vector<Line>; // ascending mass

bool byMass(const Line &x, const Line &y)
{
    return x.mass < y.mass;
}

double strongest(const Distribution &d)
{
    double best = 0;
    for (const Line &l : d)
        best = std::max(best, l.abundance);
    return best;
}

// Lines closer than kMergeWithin to the line being gathered join it at the weighted mass.
void mergeClose(Distribution &d)
{
    size_t out = 0;
    for (size_t i = 0; i < d.size();) {
        double weighted = d[i].mass * d[i].abundance;
        double sum = d[i].abundance;
        double mass = d[i].mass;
        size_t j = i + 1;
        for (; j < d.size() && d[j].mass - mass < kMergeWithin; ++j) {
            weighted += d[j].mass * d[j].abundance;
            sum += d[j].abundance;
            if (sum > 0)
                mass = weighted / sum;
        }
        d[out++] = {mass, sum};
        i = j;
    }
    d.resize(out);
}

// Drops the lines under `relative` times the strongest, and lines of no abundance at all.
void prune(Distribution &d, double relative)
{
    const double cut = relative * strongest(d);
    std::erase_if(d, [cut](const Line &l) { return !(l.abundance > 0) || l.abundance < cut; });
}

// The distribution of the sum of two independent masses: every pair except those weaker
// than `cut` times the strongest pair, merged and pruned; none when it takes too many pairs
// or gives too many lines.
std::optional<Distribution> convolve(const Distribution &a, Distribution b, double cut)
{
    const double weakest = cut * strongest(a) * strongest(b);
    std::sort(b.begin(), b.end(),
              [](const Line &x, const Line &y) { return x.abundance > y.abundance; });
    Distribution out;
    for (const Line &x : a) {
        for (const Line &y : b) {
            if (x.abundance * y.abundance < weakest)
                break;
            if (out.size() == kMaxPairs)
                return std::nullopt;
            out.push_back({x.mass + y.mass, x.abundance * y.abundance});
        }
    }
    std::sort(out.begin(), out.end(), byMass);
    mergeClose(out);
    prune(out, cut);
    if (out.size() > kMaxPatternLines)
        return std::nullopt;
    return out;
}

struct CompositionHash
{
    size_t operator()(const std::vector<int> &c) const
    {
        size_t h = 1469598103934665603u;
        for (int x : c)
            h = (h ^ size_t(x)) * 1099511628211u;
        return h;
    }
};

// n atoms of one element: every composition (how many atoms of each isotope) whose abundance,
// the multinomial probability, is at least `cut` times the strongest one's; none when there
// are more than kMaxPatternLines of them.
//
// The log of the probability is a sum of one concave function per isotope, so from every
// composition but the strongest, moving one atom from one isotope to another leads to a
// stronger one. A walk from the strongest over such moves that stays above the cut therefore
// reaches every composition above it.
std::optional<Distribution> compositions(std::span<const IsotopeEntry> isotopes,
                                         const std::vector<double> &abundances, int n, double cut)
{
    const size_t k = isotopes.size();
    std::vector<double> logAbundance(k);
    for (size_t i = 0; i < k; ++i)
        logAbundance[i] = std::log(abundances[i]);
    const double logAtoms = std::lgamma(n + 1.0);
    const auto logProbability = [&](const std::vector<int> &c) {
        double sum = logAtoms;
        for (size_t i = 0; i < k; ++i)
            sum += c[i] * logAbundance[i] - std::lgamma(c[i] + 1.0);
        return sum;
    };
    // The log gain of one more atom of isotope i where there are ci.
    const auto gain = [&](size_t i, int ci) { return logAbundance[i] - std::log(ci + 1.0); };

    // The strongest composition: the atoms handed out by the best gain, then single atoms
    // moved while that gains.
    std::vector<int> mode(k);
    for (size_t i = 0; i < k; ++i)
        mode[i] = int(std::floor(n * abundances[i]));
    for (int rest = n - std::accumulate(mode.begin(), mode.end(), 0); rest > 0; --rest) {
        size_t best = 0;
        for (size_t i = 1; i < k; ++i)
            if (gain(i, mode[i]) > gain(best, mode[best]))
                best = i;
        ++mode[best];
    }
    for (bool moved = true; moved;) {
        moved = false;
        for (size_t from = 0; from < k && !moved; ++from)
            for (size_t to = 0; to < k && !moved && mode[from] > 0; ++to)
                if (to != from && gain(to, mode[to]) > gain(from, mode[from] - 1) + 1e-12) {
                    --mode[from];
                    ++mode[to];
                    moved = true;
                }
    }

    const double logCut = cut > 0 ? logProbability(mode) + std::log(cut) : -INFINITY;
    std::unordered_set<std::vector<int>, CompositionHash> seen{mode};
    std::vector<std::vector<int>> found{mode};
    for (size_t next = 0; next < found.size(); ++next) {
        for (size_t from = 0; from < k; ++from) {
            for (size_t to = 0; to < k && found[next][from] > 0; ++to) {
                if (to == from)
                    continue;
                std::vector<int> c = found[next];
                --c[from];
                ++c[to];
                if (!seen.insert(c).second || logProbability(c) < logCut)
                    continue;
                if (found.size() == kMaxPatternLines)
                    return std::nullopt;
                found.push_back(std::move(c));
            }
        }
    }
    Distribution d;
    for (const std::vector<int> &c : found) {
        double mass = 0;
        for (size_t i = 0; i < k; ++i)
            mass += c[i] * isotopes[i].mass;
        d.push_back({mass, std::exp(logProbability(c))});
    }
    std::sort(d.begin(), d.end(), byMass);
    mergeClose(d);
    return d;
}

// The abundance of each nucleon number from `first` on, with the abundance-weighted mass
// summed: the pattern at unit resolution, for formulas whose fine structure has too many
// lines.
struct NominalDistribution
{
    int first = 0;
    std::vector<double> abundance;
    std::vector<double> weightedMass; // abundance times mean mass
};

// Drops the ends weaker than `cut` times the strongest.
void trim(NominalDistribution &d, double cut)
{
    const double weakest = cut * *std::max_element(d.abundance.begin(), d.abundance.end());
    size_t lo = 0, hi = d.abundance.size();
    while (hi - lo > 1 && !(d.abundance[lo] >= weakest))
        ++lo;
    while (hi - lo > 1 && !(d.abundance[hi - 1] >= weakest))
        --hi;
    d.first += int(lo);
    d.abundance = {d.abundance.begin() + lo, d.abundance.begin() + hi};
    d.weightedMass = {d.weightedMass.begin() + lo, d.weightedMass.begin() + hi};
}

NominalDistribution times(const NominalDistribution &a, const NominalDistribution &b, double cut)
{
    NominalDistribution out{a.first + b.first,
                            std::vector<double>(a.abundance.size() + b.abundance.size() - 1),
                            std::vector<double>(a.abundance.size() + b.abundance.size() - 1)};
    for (size_t i = 0; i < a.abundance.size(); ++i) {
        for (size_t j = 0; j < b.abundance.size(); ++j) {
            out.abundance[i + j] += a.abundance[i] * b.abundance[j];
            out.weightedMass[i + j] +=
                a.abundance[i] * b.weightedMass[j] + a.weightedMass[i] * b.abundance[j];
        }
    }
    trim(out, cut);
    return out;
}

// The whole formula at unit resolution: each element's atom raised to its count by squaring.
// Each nucleon number sums many compositions, so the parts are cut far below the final cut.
Distribution nominalPattern(std::span<const ElementCount> elements, double pruneBelow)
{
    const double cut = pruneBelow * 1e-6;
    NominalDistribution total{0, {1.0}, {0.0}};
    for (const ElementCount &element : elements) {
        const auto isotopes = isotopesOf(element.symbol);
        const double sum =
            std::accumulate(isotopes.begin(), isotopes.end(), 0.0,
                            [](double s, const IsotopeEntry &iso) { return s + iso.abundance; });
        NominalDistribution base{isotopes.front().massNumber, {}, {}};
        base.abundance.resize(size_t(isotopes.back().massNumber - base.first + 1));
        base.weightedMass.resize(base.abundance.size());
        for (const IsotopeEntry &iso : isotopes) {
            base.abundance[size_t(iso.massNumber - base.first)] = iso.abundance / sum;
            base.weightedMass[size_t(iso.massNumber - base.first)] = iso.abundance / sum * iso.mass;
        }
        for (int n = element.count; n > 0;) {
            if (n & 1)
                total = times(total, base, cut);
            n >>= 1;
            if (n > 0)
                base = times(base, base, cut);
        }
    }
    Distribution d;
    for (size_t i = 0; i < total.abundance.size(); ++i)
        if (total.abundance[i] > 0)
            d.push_back({total.weightedMass[i] / total.abundance[i], total.abundance[i]});
    prune(d, pruneBelow);
    return d;
}

// The fine structure, element by element. Every composition of the formula is one product of
// a composition of each element, each factor at most 1 relative to its element's strongest,
// so a product passes the final cut only if each factor passed it: cutting each element's
// compositions and each partial product at the final cut loses nothing. None when a step
// would have more lines or pairs than the limits.
std::optional<Distribution> finePattern(std::span<const ElementCount> elements, double pruneBelow)
{
    Distribution total{{0.0, 1.0}};
    for (const ElementCount &element : elements) {
        const auto isotopes = isotopesOf(element.symbol);
        std::vector<double> abundances;
        for (const IsotopeEntry &iso : isotopes)
            abundances.push_back(iso.abundance);
        const double sum = std::accumulate(abundances.begin(), abundances.end(), 0.0);
        for (double &a : abundances)
            a /= sum;
        std::optional<Distribution> d =
            compositions(isotopes, abundances, element.count, pruneBelow);
        if (!d)
            return std::nullopt;
        std::optional<Distribution> product = convolve(total, std::move(*d), pruneBelow);
        if (!product)
            return std::nullopt;
        total = std::move(*product);
    }
    return total;
}

} // namespace

IsotopePattern isotopePattern(std::span<const ElementCount> elements, int charge, double pruneBelow)
{
    IsotopePattern pattern;
    std::vector<ElementCount> known;
    for (const ElementCount &element : elements) {
        const auto isotopes = isotopesOf(element.symbol);
        if (isotopes.empty() || element.count <= 0)
            continue;
        known.push_back(element);
        pattern.monoisotopicMz +=
            element.count *
            std::max_element(isotopes.begin(), isotopes.end(), [](const auto &x, const auto &y) {
                return x.abundance < y.abundance;
            })->mass;
    }
    if (known.empty())
        return pattern;

    std::optional<Distribution> lines = finePattern(known, pruneBelow);
    pattern.fineStructure = lines.has_value();
    if (!lines)
        lines = nominalPattern(known, pruneBelow);

    const double z = std::max(charge, 1);
    pattern.monoisotopicMz /= z;
    pattern.strongestAbundance = strongest(*lines);
    double best = -1;
    for (const Line &l : *lines) {
        pattern.lines.push_back({l.mass / z, l.abundance / pattern.strongestAbundance * 100});
        if (l.abundance > best) {
            best = l.abundance;
            pattern.mostAbundantMz = l.mass / z;
        }
    }
    return pattern;
}

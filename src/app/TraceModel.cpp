// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/TraceModel.h"

#include "app/PeakLists.h"
#include "scales/Zel_math2.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace {

constexpr int N = TraceModel::kSampleCount;

// The built-in lists in processing order, widened to double as the model reads them.
struct BuiltInList
{
    PeakListId id;
    TraceModel::PreparedList list;
};

std::vector<BuiltInList> prepareBuiltInLists()
{
    std::vector<BuiltInList> lists;
    for (PeakListId id : kPeakListProcessingOrder) {
        std::vector<PatternLine> lines;
        for (const PeakEntry &e : peakList(id))
            lines.push_back({double(e.mass), double(e.intensity)});
        lists.push_back({id, TraceModel::prepareList(std::move(lines))});
    }
    return lists;
}

const std::vector<BuiltInList> &builtInLists()
{
    static const std::vector<BuiltInList> lists = prepareBuiltInLists();
    return lists;
}

// The (100 - P) factor of a list's amount slider; the residual air is always present in full.
int amountSliderPosition(PeakListId id, const SliderPositions &p)
{
    switch (id) {
    case PeakListId::ResidualAir:
        return 0;
    case PeakListId::Pregnene:
        return p.P_preg;
    case PeakListId::Pfk:
        return p.P_pfk;
    case PeakListId::MethylNonenone:
        return p.P_mnn;
    }
    return 100;
}

// Nearest integer with halves going to the even neighbour; values beyond the int range are
// limited to it and NaN gives 0. Inline: it runs once per peak on every display update.
int roundHalfEven(double v)
{
    if (std::isnan(v))
        return 0;
    if (!(std::fabs(v) < 2147483647.0))
        return v > 0 ? 2147483647 : -2147483647;
    int i = static_cast<int>(v);   // truncated toward zero
    const double fraction = v - i; // exact
    if (fraction > 0.5 || (fraction == 0.5 && (i & 1)))
        ++i;
    else if (fraction < -0.5 || (fraction == -0.5 && (i & 1)))
        --i;
    return i;
}

} // namespace

SliderPositions clampedToSliderRanges(const SliderPositions &p)
{
    SliderPositions c;
    c.M = std::clamp(p.M, 1000, 900000);
    c.F = std::clamp(p.F, -3000, 3000);
    c.X = std::clamp(p.X, 800, 250000);
    c.R = std::clamp(p.R, 100, 2000);
    c.A = std::clamp(p.A, 100, 1000);
    c.P_pfk = std::clamp(p.P_pfk, 0, 100);
    c.P_mnn = std::clamp(p.P_mnn, 0, 100);
    c.P_preg = std::clamp(p.P_preg, 0, 100);
    return c;
}

VisibleWindow visibleWindow(const SliderPositions &positions)
{
    const SliderPositions p = clampedToSliderRanges(positions);
    const int halfWidth = p.X / 2;
    return {(p.M + p.F - halfWidth) * 0.001, -0.2, (p.M + p.F + halfWidth) * 0.001,
            p.A * 0.0001 * p.A};
}

TraceModel::TraceModel()
{
    const SliderPositions start;
    layOutSamples(start.M + start.F - start.X, start.X);
}

const TraceSample &TraceModel::sample(int i) const
{
    if (i < 1 || i > N)
        throw std::out_of_range("TraceModel::sample: index outside 1..2000");
    return samples_[i - 1];
}

void TraceModel::setNoiseSource(NoiseFunction function, void *context)
{
    noiseFunction_ = function;
    noiseContext_ = function ? context : nullptr;
}

void TraceModel::ComputeSpectrum(const SliderPositions &positions)
{
    const SliderPositions p = clampedToSliderRanges(positions);
    const int firstOffset = p.M + p.F - p.X;
    if (firstOffset != laidOutOffset_ || p.X != laidOutWidth_)
        layOutSamples(firstOffset, p.X);
    drawNoise();
    addPeakLists(p);
}

// x_i = (M + F - X + (2 X i) / 2000) * 0.001: the product 2 X i is a 32-bit integer (at most
// 10^9 within the slider ranges) divided by 2000 in floating point.
void TraceModel::layOutSamples(int firstOffset, int width)
{
    for (int i = 1; i <= N; ++i) {
        const std::int32_t twiceWidthTimesI = 2 * width * i;
        samples_[i - 1].x = (firstOffset + twiceWidthTimesI / 2000.0) * 0.001;
    }
    laidOutOffset_ = firstOffset;
    laidOutWidth_ = width;
    // Only a guess for the nearest-sample search, which corrects it against the positions.
    inverseSpacing_ = (N - 1) / (samples_[N - 1].x - samples_[0].x);
}

// One deviate per sample, in ascending sample order, scaled by 0.01.
void TraceModel::drawNoise()
{
    if (!noiseEnabled_) {
        for (TraceSample &s : samples_)
            s.y = 0.0;
    } else if (noiseFunction_ == nullptr) {
        for (TraceSample &s : samples_)
            s.y = 0.01 * NextGaussian();
    } else {
        for (TraceSample &s : samples_)
            s.y = 0.01 * noiseFunction_(noiseContext_);
    }
}

int TraceModel::nearestSampleIndex(double mass) const
{
    // The samples ascend (each x_i is a monotone rounding of an ascending exact value), so the
    // distance |mass - x_i| does not grow up to the first sample at or above the mass and does not
    // shrink from there on. Find that sample c (0-based, N when none) from an arithmetic guess
    // corrected against the actual positions; only c - 1 and c remain as candidates.
    const double guess = std::ceil((mass - samples_[0].x) * inverseSpacing_);
    int c = !(guess > 0) ? 0 : guess >= N ? N : static_cast<int>(guess);
    while (c > 0 && samples_[c - 1].x >= mass)
        --c;
    while (c < N && samples_[c].x < mass)
        ++c;

    int nearest = 0;
    double best = 10000;
    if (c > 0) {
        // Below the mass the scan keeps the first of equally near samples.
        int lower = c - 1;
        const double d = std::fabs(mass - samples_[lower].x);
        if (d < best) {
            while (lower > 0 && std::fabs(mass - samples_[lower - 1].x) == d)
                --lower;
            nearest = lower + 1;
            best = d;
        }
    }
    if (c < N && std::fabs(mass - samples_[c].x) < best)
        nearest = c + 1;
    return nearest;
}

TraceModel::PreparedList TraceModel::prepareList(std::vector<PatternLine> lines)
{
    PreparedList list{std::move(lines), {}, 0};
    const int count = static_cast<int>(list.lines.size());
    int begin = 0;
    for (int i = 0; i < count; ++i) {
        list.maxMass = std::max(list.maxMass, list.lines[i].mz);
        if (i + 1 == count || list.lines[i + 1].mz < list.lines[i].mz) {
            list.runs.emplace_back(begin, i + 1);
            begin = i + 1;
        }
    }
    return list;
}

void TraceModel::setOwnSubstance(std::span<const PatternLine> lines, int amountPercent)
{
    own_ = prepareList({lines.begin(), lines.end()});
    setOwnSubstanceAmount(amountPercent);
}

void TraceModel::setOwnSubstanceAmount(int amountPercent)
{
    ownAmount_ = std::clamp(amountPercent, 0, 100);
}

void TraceModel::addPeakLists(const SliderPositions &p)
{
    for (const BuiltInList &builtIn : builtInLists()) {
        const int amountPosition = amountSliderPosition(builtIn.id, p);
        // An absent substance would only add zeros.
        if (amountPosition == 100)
            continue;
        addList(builtIn.list, builtIn.id == PeakListId::ResidualAir ? -1 : 100 - amountPosition,
                p.R, p.X);
    }
    if (ownAmount_ > 0)
        addList(own_, ownAmount_, p.R, p.X);
}

void TraceModel::addList(const PreparedList &list, int percent, int R, int X)
{
    const double xFirst = samples_[0].x;
    const double xLast = samples_[N - 1].x;
    // Every half width in this list is at most hMax, so a line at or below xFirst - hMax, or at
    // or above xLast + hMax, fails the exact window test below; the binary search only saves
    // visiting those, the exact test decides.
    const double hMax = list.maxMass / R / 2;
    const double lowBound = xFirst - hMax;
    const double highBound = xLast + hMax;

    for (const auto &[runBegin, runEnd] : list.runs) {
        const PatternLine *begin = list.lines.data() + runBegin;
        const PatternLine *end = list.lines.data() + runEnd;
        const PatternLine *first = std::upper_bound(
            begin, end, lowBound, [](double v, const PatternLine &e) { return v < e.mz; });
        const PatternLine *last = std::lower_bound(
            first, end, highBound, [](const PatternLine &e, double v) { return e.mz < v; });

        for (const PatternLine *e = first; e != last; ++e) {
            const double m = e->mz;
            const double h = m / R / 2;
            if (!(xFirst - h < m && m < xLast + h))
                continue;
            const int k = nearestSampleIndex(m);
            if (k == 0)
                continue;
            const int w = roundHalfEven(h / X * 1000 * 2000);
            const double a = percent < 0 ? e->intensity : percent * e->intensity / 100;

            TraceSample *peak = samples_.data() + (k - 1);
            peak->y += a;
            // Flank j gets (w - j) / w of the height. Samples past either end are dropped,
            // so the j ranges are clipped up front; j = w has weight 0 and adds nothing.
            const int rightSteps = std::min(w - 1, N - k);
            const int leftSteps = std::min(w - 1, k - 1);
            const int bothSides = std::min(rightSteps, leftSteps);
            int j = 1;
            for (; j <= bothSides; ++j) {
                const double flank = double(w - j) / w * a;
                peak[j].y += flank;
                peak[-j].y += flank;
            }
            for (int r = j; r <= rightSteps; ++r)
                peak[r].y += double(w - r) / w * a;
            for (int l = j; l <= leftSteps; ++l)
                peak[-l].y += double(w - l) / w * a;
        }
    }
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The spectrum model: turns the main window's eight slider positions into the 2000-sample trace
// that the oscilloscope chart shows (triangular peaks of the compiled-in peak lists plus Gaussian
// noise), and knows the visible window the chart is set to. Plain C++, no QApplication needed.

#include "app/IsotopePattern.h"

#include <array>
#include <span>
#include <utility>
#include <vector>

// Integer positions of the main window's sliders. The defaults are the start-up positions.
struct SliderPositions
{
    int M = 42000;    // SBarMass: coarse centre mass, thousandths of a mass unit (1000..900000)
    int F = 0;        // SBarMassFineAdj: fine offset, thousandths of a mass unit (-3000..3000)
    int X = 8000;     // SBarMagnifX: visible width, thousandths of a mass unit (800..250000)
    int R = 800;      // SBarResol: resolving power m/dm (100..2000)
    int A = 1000;     // SBarAmplif: amplification, full scale A^2/10000 (100..1000)
    int P_pfk = 100;  // SBarPFK: amount of PFK, inverted (100 = none, 0 = full)
    int P_mnn = 100;  // SBarMetNonenone: amount of methyl-nonenone, inverted
    int P_preg = 100; // SBarPregnene: amount of pregnene, inverted

    bool operator==(const SliderPositions &) const = default;
};

// The positions clamped into the sliders' ranges, as the scroll bars themselves would clamp them.
// Within those ranges every formula of the model is free of overflow and division by zero.
SliderPositions clampedToSliderRanges(const SliderPositions &positions);

// Layer 1's range in the chart for the given positions: the centre mass plus and minus half the
// width (X halved by truncating integer division), signal from -0.2 up to A^2/10000.
struct VisibleWindow
{
    double XLo;
    double YLo;
    double XHi;
    double YHi;
};
VisibleWindow visibleWindow(const SliderPositions &positions);

struct TraceSample
{
    double x; // position on the mass axis, mass units
    double y; // signal, relative-intensity units
};

class TraceModel
{
public:
    static constexpr int kSampleCount = 2000;

    // A source of standard normal deviates; the context is handed back on every call.
    using NoiseFunction = double (*)(void *context);

    // Lays out the sample positions of the start-up sliders with a flat (zero) signal.
    TraceModel();

    // Rewrites all samples from the positions (clamped into the slider ranges): sample positions
    // spanning twice the visible width around the centre mass, one noise deviate times 0.01 per
    // sample in ascending order, then the triangular peaks of the four lists and of the own
    // substance.
    void ComputeSpectrum(const SliderPositions &positions);

    // The user's own substance, a fifth list after the four: its lines (m/z, relative
    // intensity; copied, in any order) in the same triangles, each scaled by amount / 100.
    // The amount is clamped into 0..100; 0, the start, leaves the trace as without it.
    void setOwnSubstance(std::span<const PatternLine> lines, int amountPercent);
    void setOwnSubstanceAmount(int amountPercent);
    std::span<const PatternLine> ownSubstanceLines() const { return own_.lines; }
    int ownSubstanceAmount() const { return ownAmount_; }

    // Sample i, 1-based (1..kSampleCount); throws std::out_of_range otherwise.
    const TraceSample &sample(int i) const;
    // All samples in order, contiguous: samples()[0] is sample 1.
    std::span<const TraceSample, kSampleCount> samples() const { return samples_; }

    // The 1-based index of the sample nearest to the mass, as a scan from 1 up to kSampleCount
    // would find it: a best distance starting at 10000, a sample is taken only when strictly
    // nearer, so ties go to the lower index. 0 when no sample is nearer than 10000.
    // O(1) typically: the samples are evenly spaced and ascending.
    int nearestSampleIndex(double mass) const;

    // Without noise every sample's noise term is 0 (the program's --no-noise option).
    void setNoiseEnabled(bool enabled) { noiseEnabled_ = enabled; }
    bool noiseEnabled() const { return noiseEnabled_; }
    // Replaces the noise source; a null function restores the library's NextGaussian().
    void setNoiseSource(NoiseFunction function, void *context = nullptr);

    // A list prepared for the window test: its lines cut into maximal runs of non-decreasing
    // mass, so that the lines that can possibly fall into the window are found by binary
    // search in each run while the runs, and the lines within them, are still visited in
    // stored order.
    struct PreparedList
    {
        std::vector<PatternLine> lines;
        std::vector<std::pair<int, int>> runs; // [begin, end) indices into lines
        double maxMass = 0;
    };
    static PreparedList prepareList(std::vector<PatternLine> lines);

private:
    void layOutSamples(int firstOffset, int width);
    void drawNoise();
    void addPeakLists(const SliderPositions &positions);
    // percent < 0: the lines at their stored heights (the residual air).
    void addList(const PreparedList &list, int percent, int R, int X);

    std::array<TraceSample, kSampleCount> samples_{};
    bool noiseEnabled_ = true;
    NoiseFunction noiseFunction_ = nullptr;
    void *noiseContext_ = nullptr;
    // Parameters of the current sample positions, so unchanged sliders skip the re-layout.
    int laidOutOffset_ = 0;
    int laidOutWidth_ = 0;
    double inverseSpacing_ = 0; // samples per mass unit
    PreparedList own_;
    int ownAmount_ = 0;
};

// Replaces a chart's items by the current trace: ClearItems, AddMoveTo(0, 0), AddLineTo(x_i,
// y_i) for i = 1..2000. The chart is any type with those member functions.
template <class Chart> void writeTraceItems(const TraceModel &model, Chart &chart)
{
    chart.ClearItems();
    chart.AddMoveTo(0.0, 0.0);
    for (const TraceSample &s : model.samples())
        chart.AddLineTo(s.x, s.y);
}

// Writes the current trace into a chart in the display order: the items as above,
// SetLayerRange for layer 1 with the visible window, ShowItems.
template <class Chart>
void writeTraceToChart(const TraceModel &model, const SliderPositions &positions, Chart &chart)
{
    writeTraceItems(model, chart);
    const VisibleWindow window = visibleWindow(positions);
    chart.SetLayerRange(1, window.XLo, window.YLo, window.XHi, window.YHi);
    chart.ShowItems();
}

// The whole display update: recompute the trace from the positions, then write it to the chart.
template <class Chart>
void updateDisplay(TraceModel &model, const SliderPositions &positions, Chart &chart)
{
    model.ComputeSpectrum(positions);
    writeTraceToChart(model, positions, chart);
}

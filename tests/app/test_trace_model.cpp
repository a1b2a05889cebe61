// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Formula.h"
#include "app/PeakLists.h"
#include "app/TraceModel.h"
#include "scales/Zel_math2.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int N = TraceModel::kSampleCount;

// The nearest-sample search as a plain scan: best distance starts at 10000, strictly nearer wins.
int scanNearest(const TraceModel &model, double m)
{
    int k = 0;
    double best = 10000;
    for (int i = 1; i <= N; ++i) {
        const double d = std::fabs(m - model.sample(i).x);
        if (d < best) {
            best = d;
            k = i;
        }
    }
    return k;
}

// The peak step written straightforwardly (scan, every flank index tested), to hold the fast
// path against; the own substance's lines come after the four lists.
std::vector<double> referencePeaks(const TraceModel &layout, const SliderPositions &p,
                                   std::span<const PatternLine> own = {}, int ownAmount = 0)
{
    std::vector<double> y(N + 1, 0.0);
    const double x1 = layout.sample(1).x;
    const double x2000 = layout.sample(N).x;
    const auto add = [&](double m, double a) {
        const double h = m / p.R / 2;
        if (!(x1 - h < m && m < x2000 + h))
            return;
        const int k = scanNearest(layout, m);
        const int w = static_cast<int>(std::nearbyint(h / p.X * 1000 * 2000));
        y[k] += a;
        for (int j = 1; j <= w; ++j) {
            const double weight = double(w - j) / w;
            if (k + j <= N)
                y[k + j] += weight * a;
            if (k - j >= 1)
                y[k - j] += weight * a;
        }
    };
    for (PeakListId id : kPeakListProcessingOrder) {
        const int amount = id == PeakListId::Pregnene ? p.P_preg
                           : id == PeakListId::Pfk    ? p.P_pfk
                                                      : p.P_mnn;
        for (const PeakEntry &e : peakList(id))
            add(e.mass, id == PeakListId::ResidualAir ? double(e.intensity)
                                                      : (100 - amount) * double(e.intensity) / 100);
    }
    for (const PatternLine &l : own)
        if (ownAmount > 0)
            add(l.mz, ownAmount * l.intensity / 100);
    return y;
}

TraceModel quietModel()
{
    TraceModel model;
    model.setNoiseEnabled(false);
    return model;
}

struct CountingNoise
{
    int calls = 0;
    static double next(void *context)
    {
        auto *self = static_cast<CountingNoise *>(context);
        return ++self->calls;
    }
};

// Settings of the guided tour's third step with all three substances at full amount.
SliderPositions wideWindowAllSubstances()
{
    SliderPositions p;
    p.M = 140000;
    p.X = 250000;
    p.A = 700;
    p.P_pfk = p.P_mnn = p.P_preg = 0;
    return p;
}

} // namespace

TEST(PeakLists, CountsOrderAndSpotValues)
{
    EXPECT_EQ(peakList(PeakListId::ResidualAir).size(), 5u);
    EXPECT_EQ(peakList(PeakListId::Pregnene).size(), 266u);
    EXPECT_EQ(peakList(PeakListId::Pfk).size(), 92u);
    EXPECT_EQ(peakList(PeakListId::MethylNonenone).size(), 96u);
    EXPECT_EQ(kPeakListProcessingOrder, (std::array{PeakListId::ResidualAir, PeakListId::Pregnene,
                                                    PeakListId::Pfk, PeakListId::MethylNonenone}));

    const auto air = peakList(PeakListId::ResidualAir);
    EXPECT_EQ(air[0].mass, 18.010565f);
    EXPECT_EQ(air[4].mass, 43.98983f);
    EXPECT_EQ(air[4].intensity, 0.035f);
    const auto preg = peakList(PeakListId::Pregnene);
    EXPECT_EQ(preg.front().mass, 27.03f);
    EXPECT_EQ(preg[213].mass, 285.19f);
    EXPECT_EQ(preg[213].intensity, 100.0f);
    EXPECT_EQ(preg.back().mass, 365.219f);
    EXPECT_EQ(preg.back().intensity, 1.0f);
    const auto pfk = peakList(PeakListId::Pfk);
    EXPECT_EQ(pfk[5].mass, 68.99521f);
    EXPECT_EQ(pfk.back().mass, 1016.9377f);
    EXPECT_EQ(pfk.back().intensity, 0.15f);
    const auto mnn = peakList(PeakListId::MethylNonenone);
    EXPECT_EQ(mnn.front().mass, 12.0f);
    EXPECT_EQ(mnn.back().mass, 156.14f);
    EXPECT_EQ(mnn.back().intensity, 0.1f);

    // The duplicate line stays as stored: two consecutive entries with their own intensities.
    int duplicates = 0;
    for (std::size_t i = 0; i + 1 < pfk.size(); ++i) {
        if (pfk[i].mass == pfk[i + 1].mass) {
            ++duplicates;
            EXPECT_EQ(pfk[i].mass, 654.9601f);
            EXPECT_EQ(pfk[i].intensity, 1.5f);
            EXPECT_EQ(pfk[i + 1].intensity, 1.65f);
        }
    }
    EXPECT_EQ(duplicates, 1);
}

TEST(TraceModel, WorkedExampleAtStartUpSettings)
{
    TraceModel model = quietModel();
    model.ComputeSpectrum(SliderPositions{});

    for (int i : {1, 500, 1249, 2000})
        EXPECT_NEAR(model.sample(i).x, 34 + 0.008 * i, 1e-12) << i;
    EXPECT_EQ(model.sample(N).x, 50.0);
    EXPECT_EQ(&model.samples()[0], &model.sample(1));

    // Argon on 745 with w = 6, carbon dioxide on 1249 with w = 7; nothing else in the buffer.
    std::vector<double> expected(N + 1, 0.0);
    expected[745] = double(0.96f);
    for (int j = 1; j <= 5; ++j)
        expected[745 + j] = expected[745 - j] = double(0.96f) * (6 - j) / 6;
    expected[1249] = double(0.035f);
    for (int j = 1; j <= 6; ++j)
        expected[1249 + j] = expected[1249 - j] = double(0.035f) * (7 - j) / 7;
    for (int i = 1; i <= N; ++i)
        EXPECT_NEAR(model.sample(i).y, expected[i], 1e-15) << i;
    EXPECT_NEAR(model.sample(744).y, 0.8, 1e-7);
    EXPECT_NEAR(model.sample(750).y, 0.16, 1e-7);

    EXPECT_THROW(model.sample(0), std::out_of_range);
    EXPECT_THROW(model.sample(N + 1), std::out_of_range);
}

TEST(TraceModel, NearestSampleMatchesTheScan)
{
    std::mt19937 rng(12345);
    std::uniform_int_distribution<int> mass(1000, 900000), fine(-3000, 3000), width(800, 250000);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    TraceModel model = quietModel();
    int checked = 0;
    for (int round = 0; round < 60; ++round) {
        SliderPositions p;
        p.M = mass(rng);
        p.F = fine(rng);
        p.X = round % 3 == 0 ? 800 : round % 3 == 1 ? 250000 : width(rng);
        model.ComputeSpectrum(p);
        const double x1 = model.sample(1).x;
        const double x2000 = model.sample(N).x;
        std::vector<double> masses = {x1, x2000, x1 - 5, x2000 + 5, x1 - 20000, x2000 + 20000};
        for (int n = 0; n < 200; ++n)
            masses.push_back(x1 - 1 + unit(rng) * (x2000 - x1 + 2));
        for (int n = 0; n < 100; ++n) {
            const int i = 1 + static_cast<int>(unit(rng) * (N - 1));
            const double a = model.sample(i).x;
            const double b = model.sample(i + 1).x;
            const double mid = (a + b) / 2;
            // Exact sample positions and their neighbours are where an arithmetic index guess
            // goes wrong; near-ties are where the tie rule shows.
            masses.insert(masses.end(),
                          {a, std::nextafter(a, -1e9), std::nextafter(a, 1e9), mid,
                           double(float(mid)), std::nextafter(mid, a), std::nextafter(mid, b)});
        }
        for (double m : masses) {
            ASSERT_EQ(model.nearestSampleIndex(m), scanNearest(model, m))
                << "M=" << p.M << " F=" << p.F << " X=" << p.X << " m=" << m;
            ++checked;
        }
    }
    EXPECT_GT(checked, 40000);
}

TEST(TraceModel, HalfWayMassGoesToTheLowerSample)
{
    // With M = 140000 and X = 250000 the samples are exactly -110 + 0.25 i, so 50.125 lies
    // exactly half-way between sample 640 (50.0) and 641 (50.25).
    TraceModel model = quietModel();
    SliderPositions p;
    p.M = 140000;
    p.X = 250000;
    model.ComputeSpectrum(p);
    ASSERT_EQ(model.sample(640).x, 50.0);
    ASSERT_EQ(model.sample(641).x, 50.25);
    EXPECT_EQ(model.nearestSampleIndex(50.125), 640);
    EXPECT_EQ(model.nearestSampleIndex(std::nextafter(50.125, 51.0)), 641);
    EXPECT_EQ(model.nearestSampleIndex(-500.0), 1);
    EXPECT_EQ(model.nearestSampleIndex(1000.0), N);
    EXPECT_EQ(model.nearestSampleIndex(1e9), 0);
}

TEST(TraceModel, FastPeakPathEqualsTheStraightforwardOne)
{
    std::mt19937 rng(777);
    std::uniform_int_distribution<int> mass(1000, 900000), fine(-3000, 3000), width(800, 250000),
        resol(100, 2000), amount(0, 100);
    TraceModel model = quietModel();
    std::vector<SliderPositions> settings = {SliderPositions{}, wideWindowAllSubstances()};
    for (int n = 0; n < 150; ++n) {
        SliderPositions p;
        // Most draws in the populated low-mass range, where lines fall into the buffer.
        p.M = n % 4 == 0 ? mass(rng) : mass(rng) % 400000 + 1000;
        p.F = fine(rng);
        p.X = n % 5 == 0 ? 800 : n % 5 == 1 ? 250000 : width(rng);
        p.R = n % 7 == 0 ? 100 : resol(rng);
        p.P_pfk = amount(rng);
        p.P_mnn = amount(rng);
        p.P_preg = amount(rng);
        settings.push_back(p);
    }
    for (const SliderPositions &p : settings) {
        model.ComputeSpectrum(p);
        const std::vector<double> expected = referencePeaks(model, p);
        for (int i = 1; i <= N; ++i)
            ASSERT_EQ(model.sample(i).y, expected[i])
                << "i=" << i << " M=" << p.M << " F=" << p.F << " X=" << p.X << " R=" << p.R;
    }
}

TEST(TraceModel, PeakShapesAtTheEdges)
{
    TraceModel model = quietModel();

    // w = 0: at R = 2000 and X = 250000 every methyl-nonenone line is a single-sample spike.
    SliderPositions spikes = wideWindowAllSubstances();
    spikes.R = 2000;
    spikes.P_mnn = 100;
    model.ComputeSpectrum(spikes);
    std::vector<double> without(N + 1);
    for (int i = 1; i <= N; ++i)
        without[i] = model.sample(i).y;
    spikes.P_mnn = 0;
    model.ComputeSpectrum(spikes);
    std::vector<double> added(N + 1, 0.0);
    for (const PeakEntry &e : peakList(PeakListId::MethylNonenone))
        added[model.nearestSampleIndex(e.mass)] += e.intensity;
    for (int i = 1; i <= N; ++i)
        EXPECT_NEAR(model.sample(i).y - without[i], added[i], 1e-9) << i;

    // Nitrogen just above the last sample: full height on sample 2000 (w = 4), inward flank only.
    SliderPositions top;
    top.M = 20000;
    model.ComputeSpectrum(top);
    ASSERT_EQ(model.sample(N).x, 28.0);
    EXPECT_FLOAT_EQ(model.sample(N).y, 78.9f);
    for (int j = 1; j <= 4; ++j)
        EXPECT_NEAR(model.sample(N - j).y, double(78.9f) * (4 - j) / 4, 1e-12) << j;
    for (int i = 1; i <= 10; ++i)
        EXPECT_EQ(model.sample(i).y, 0.0) << "wrapped onto sample " << i;

    // Argon just below the first sample: full height on sample 1, flank 2..6, nothing wraps.
    SliderPositions bottom;
    bottom.M = 47956;
    model.ComputeSpectrum(bottom);
    ASSERT_NEAR(model.sample(1).x, 39.964, 1e-12);
    EXPECT_FLOAT_EQ(model.sample(1).y, 0.96f);
    EXPECT_NEAR(model.sample(2).y, 0.8, 1e-7);
    EXPECT_EQ(model.sample(7).y, 0.0);
    for (int i = N - 10; i <= N; ++i)
        EXPECT_EQ(model.sample(i).y, 0.0) << "wrapped onto sample " << i;

    // Just beyond half a peak width outside the buffer: skipped.
    bottom.M = 47956 + 30;
    model.ComputeSpectrum(bottom);
    EXPECT_EQ(model.sample(1).y, 0.0);

    // The window test is strict at both ends: at R = 100 the mass-12 line lies exactly at
    // x_2000 + h when x_2000 = 11.94 and exactly at x_1 - h when x_1 = 12.06.
    SliderPositions edge;
    edge.R = 100;
    edge.P_mnn = 0;
    edge.M = 3940;
    model.ComputeSpectrum(edge);
    ASSERT_EQ(model.sample(N).x + 12.0 / 100 / 2, 12.0);
    for (int i = 1; i <= N; ++i)
        ASSERT_EQ(model.sample(i).y, 0.0) << i;
    edge.M = 20052;
    model.ComputeSpectrum(edge);
    ASSERT_EQ(model.sample(1).x - 12.0 / 100 / 2, 12.0);
    EXPECT_EQ(model.sample(1).y, 0.0);

    // w takes halves to the even neighbour: mass 12 at R = 120 and X = 40000 gives exactly 2.5,
    // so w = 2 and the flank is 0.1 / 2 next to the peak and nothing two samples away.
    SliderPositions half;
    half.M = 20000;
    half.X = 40000;
    half.R = 120;
    half.P_mnn = 0;
    model.ComputeSpectrum(half);
    const int k12 = model.nearestSampleIndex(12.0);
    ASSERT_EQ(model.sample(k12).x, 12.0);
    EXPECT_FLOAT_EQ(model.sample(k12).y, 0.1f);
    EXPECT_DOUBLE_EQ(model.sample(k12 + 1).y, double(0.1f) / 2);
    EXPECT_DOUBLE_EQ(model.sample(k12 - 1).y, double(0.1f) / 2);
    EXPECT_EQ(model.sample(k12 + 2).y, 0.0);
    EXPECT_EQ(model.sample(k12 - 2).y, 0.0);
    // ... and 1.5 (R = 100, X = 80000) goes up to 2 as well.
    half.R = 100;
    half.X = 80000;
    ASSERT_EQ(12.0 / 100 / 2 / 80000 * 1000 * 2000, 1.5);
    model.ComputeSpectrum(half);
    const int k12b = model.nearestSampleIndex(12.0);
    EXPECT_DOUBLE_EQ(model.sample(k12b + 1).y, double(0.1f) / 2);
    EXPECT_EQ(model.sample(k12b + 2).y, 0.0);

    // A flank far wider than the buffer (R = 100, X = 800, w = 11312) only covers the buffer.
    SliderPositions wide;
    wide.M = 900000;
    wide.F = 3000;
    wide.X = 800;
    wide.R = 100;
    wide.P_pfk = 0;
    model.ComputeSpectrum(wide);
    const double h = double(904.9441f) / 100 / 2;
    const int w = static_cast<int>(std::nearbyint(h / 800 * 1000 * 2000));
    ASSERT_EQ(w, 11312);
    EXPECT_FLOAT_EQ(model.sample(N).y, 0.15f);
    EXPECT_NEAR(model.sample(1).y, double(0.15f) * (w - (N - 1)) / w, 1e-15);
}

TEST(TraceModel, SubstanceAmountsAndDuplicateLines)
{
    TraceModel model = quietModel();

    // The PFK pair at 654.9601 adds up: 1.5 + 1.65 on one sample.
    SliderPositions dup;
    dup.M = 655000;
    dup.P_pfk = 0;
    model.ComputeSpectrum(dup);
    const int k = model.nearestSampleIndex(654.9601f);
    EXPECT_NEAR(model.sample(k).y, 3.15, 1e-6);

    // Each slider scales its own substance: 0 = full, 50 = half, 100 = absent.
    struct Case
    {
        int SliderPositions::*slider;
        float mass; // a strong line of that substance alone in its neighbourhood
        float intensity;
    };
    const Case cases[] = {{&SliderPositions::P_pfk, 68.99521f, 100.0f},
                          {&SliderPositions::P_mnn, 111.081f, 99.9f},
                          {&SliderPositions::P_preg, 285.19f, 100.0f}};
    SliderPositions none = wideWindowAllSubstances();
    none.P_pfk = none.P_mnn = none.P_preg = 100;
    model.ComputeSpectrum(none);
    std::vector<double> air(N + 1);
    for (int i = 1; i <= N; ++i)
        air[i] = model.sample(i).y;
    for (const Case &c : cases) {
        const int line = model.nearestSampleIndex(c.mass);
        for (int position : {0, 50, 100}) {
            SliderPositions p = none;
            p.*c.slider = position;
            model.ComputeSpectrum(p);
            EXPECT_NEAR(model.sample(line).y - air[line],
                        double(c.intensity) * (100 - position) / 100, 1e-9)
                << c.mass << " at " << position;
        }
        // Halving is exact up to rounding at every sample.
        SliderPositions full = none, half = none;
        full.*c.slider = 0;
        half.*c.slider = 50;
        model.ComputeSpectrum(full);
        std::vector<double> fullY(N + 1);
        for (int i = 1; i <= N; ++i)
            fullY[i] = model.sample(i).y;
        model.ComputeSpectrum(half);
        for (int i = 1; i <= N; ++i)
            ASSERT_NEAR(model.sample(i).y - air[i], (fullY[i] - air[i]) / 2, 1e-9) << i;
    }
}

TEST(TraceModel, NoiseOneDeviatePerSampleInOrder)
{
    // No line within reach of masses 4.2 .. 5.8: the trace is the noise alone.
    SliderPositions empty;
    empty.M = 5000;
    empty.X = 800;
    TraceModel model;
    CountingNoise counter;
    model.setNoiseSource(&CountingNoise::next, &counter);
    model.ComputeSpectrum(empty);
    EXPECT_EQ(counter.calls, N);
    for (int i = 1; i <= N; ++i)
        ASSERT_EQ(model.sample(i).y, 0.01 * i) << i;

    // Noise on top of the peaks, not instead of them.
    counter.calls = 0;
    model.ComputeSpectrum(SliderPositions{});
    EXPECT_NEAR(model.sample(745).y, 0.96 + 7.45, 1e-6);

    // Switched off: the source is not consulted and the noise term is 0.
    counter.calls = 0;
    model.setNoiseEnabled(false);
    model.ComputeSpectrum(empty);
    EXPECT_EQ(counter.calls, 0);
    for (int i = 1; i <= N; ++i)
        ASSERT_EQ(model.sample(i).y, 0.0) << i;

    // The default source is the library's NextGaussian, drawn in sample order.
    model.setNoiseEnabled(true);
    model.setNoiseSource(nullptr);
    seedUniformSource(99);
    model.ComputeSpectrum(empty);
    seedUniformSource(99);
    for (int i = 1; i <= N; ++i)
        ASSERT_EQ(model.sample(i).y, 0.01 * NextGaussian()) << i;
}

TEST(TraceModel, VisibleWindowAndClamping)
{
    const VisibleWindow start = visibleWindow(SliderPositions{});
    EXPECT_DOUBLE_EQ(start.XLo, 38.0);
    EXPECT_EQ(start.YLo, -0.2);
    EXPECT_DOUBLE_EQ(start.XHi, 46.0);
    EXPECT_DOUBLE_EQ(start.YHi, 100.0);

    SliderPositions p = wideWindowAllSubstances();
    VisibleWindow w = visibleWindow(p);
    EXPECT_DOUBLE_EQ(w.XLo, 15.0);
    EXPECT_DOUBLE_EQ(w.XHi, 265.0);
    EXPECT_DOUBLE_EQ(w.YHi, 49.0);

    // X div 2 truncates; F shifts both ends; A = 100 gives a full scale of 1.
    p = SliderPositions{};
    p.X = 801;
    p.F = -1500;
    p.A = 100;
    w = visibleWindow(p);
    EXPECT_DOUBLE_EQ(w.XLo, 40.1);
    EXPECT_DOUBLE_EQ(w.XHi, 40.9);
    EXPECT_DOUBLE_EQ(w.YHi, 1.0);

    // Positions outside the slider ranges (R = 0 would divide by zero, a huge X would overflow
    // 2 X i) are treated as the nearest slider end.
    SliderPositions wild;
    wild.R = 0;
    wild.X = 2000000000;
    wild.M = -5;
    wild.P_pfk = -40;
    SliderPositions clamped = wild;
    clamped.R = 100;
    clamped.X = 250000;
    clamped.M = 1000;
    clamped.P_pfk = 0;
    EXPECT_EQ(clampedToSliderRanges(wild), clamped);
    TraceModel a = quietModel(), b = quietModel();
    a.ComputeSpectrum(wild);
    b.ComputeSpectrum(clamped);
    for (int i = 1; i <= N; ++i)
        ASSERT_EQ(a.sample(i).y, b.sample(i).y) << i;
    EXPECT_DOUBLE_EQ(visibleWindow(wild).XHi, visibleWindow(clamped).XHi);
}

namespace {

struct RecordingChart
{
    struct Call
    {
        std::string op;
        std::vector<double> args;
    };
    std::vector<Call> calls;
    void ClearItems() { calls.push_back({"ClearItems", {}}); }
    void AddMoveTo(double x, double y) { calls.push_back({"AddMoveTo", {x, y}}); }
    void AddLineTo(double x, double y) { calls.push_back({"AddLineTo", {x, y}}); }
    void SetLayerRange(int layer, double xlo, double ylo, double xhi, double yhi)
    {
        calls.push_back({"SetLayerRange", {double(layer), xlo, ylo, xhi, yhi}});
    }
    void ShowItems() { calls.push_back({"ShowItems", {}}); }
};

} // namespace

TEST(TraceModel, DisplayWritesTheTraceInOrder)
{
    TraceModel model;
    CountingNoise counter;
    model.setNoiseSource(&CountingNoise::next, &counter);
    RecordingChart chart;
    SliderPositions p;
    p.A = 700;
    updateDisplay(model, p, chart);

    EXPECT_EQ(counter.calls, N);
    ASSERT_EQ(chart.calls.size(), std::size_t(N + 4));
    EXPECT_EQ(chart.calls[0].op, "ClearItems");
    EXPECT_EQ(chart.calls[1].op, "AddMoveTo");
    EXPECT_EQ(chart.calls[1].args, (std::vector<double>{0, 0}));
    for (int i = 1; i <= N; ++i) {
        const RecordingChart::Call &c = chart.calls[1 + i];
        ASSERT_EQ(c.op, "AddLineTo") << i;
        ASSERT_EQ(c.args, (std::vector<double>{model.sample(i).x, model.sample(i).y})) << i;
    }
    // The written values are the freshly computed ones (noise deviate i on sample i).
    EXPECT_NEAR(chart.calls[1 + 3].args[1], 0.03, 1e-12);
    const RecordingChart::Call &range = chart.calls[N + 2];
    EXPECT_EQ(range.op, "SetLayerRange");
    ASSERT_EQ(range.args.size(), 5u);
    EXPECT_EQ(range.args[0], 1.0);
    EXPECT_DOUBLE_EQ(range.args[1], 38.0);
    EXPECT_EQ(range.args[2], -0.2);
    EXPECT_DOUBLE_EQ(range.args[3], 46.0);
    EXPECT_DOUBLE_EQ(range.args[4], 49.0);
    EXPECT_EQ(chart.calls[N + 3].op, "ShowItems");
}

TEST(TraceModel, OwnSubstanceIsAFifthListAfterTheFour)
{
    // Nitrogen's line at 28.006 beside carbon monoxide's at 27.995: the lines overlap.
    const IsotopePattern monoxide = isotopePattern(parseFormula(U"CO").elements, 1);
    const IsotopePattern bromide = isotopePattern(parseFormula(U"CH3Br").elements, 1);
    std::mt19937 rng(2024);
    std::uniform_int_distribution<int> mass(20000, 120000), width(800, 250000), resol(100, 2000),
        amount(0, 100);
    std::vector<SliderPositions> settings;
    for (int n = 0; n < 40; ++n) {
        SliderPositions p;
        p.M = n % 2 ? mass(rng) : (n % 4 ? 28000 : 95000);
        p.X = n % 3 ? width(rng) : 1000;
        p.R = resol(rng);
        p.P_pfk = p.P_mnn = p.P_preg = amount(rng);
        settings.push_back(p);
    }
    TraceModel plain = quietModel();
    for (const IsotopePattern *pattern : {&monoxide, &bromide}) {
        TraceModel own = quietModel();
        own.setOwnSubstance(pattern->lines, 0);
        for (const SliderPositions &p : settings) {
            // At amount 0 the trace is exactly the one without the substance.
            own.setOwnSubstanceAmount(0);
            plain.ComputeSpectrum(p);
            own.ComputeSpectrum(p);
            for (int i = 1; i <= N; ++i)
                ASSERT_EQ(own.sample(i).y, plain.sample(i).y) << i;
            for (int percent : {100, 37}) {
                own.setOwnSubstanceAmount(percent);
                own.ComputeSpectrum(p);
                const std::vector<double> expected =
                    referencePeaks(own, p, pattern->lines, percent);
                for (int i = 1; i <= N; ++i)
                    ASSERT_EQ(own.sample(i).y, expected[i]) << "i=" << i << " M=" << p.M;
            }
        }
    }
    TraceModel own = quietModel();
    own.setOwnSubstance(bromide.lines, 250);
    EXPECT_EQ(own.ownSubstanceAmount(), 100);
    own.setOwnSubstanceAmount(-3);
    EXPECT_EQ(own.ownSubstanceAmount(), 0);
    EXPECT_EQ(own.ownSubstanceLines().size(), bromide.lines.size());
}

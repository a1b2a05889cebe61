// SPDX-License-Identifier: GPL-3.0-or-later
// The spectrum computation of one display update against its floor: drawing the 2000 noise
// deviates alone. Each measured case runs right after its own baseline, and the program ends by
// printing the ratios (medians when repetitions are on), since the machine is shared and only
// figures from the same run compare.

#include "app/TraceModel.h"
#include "scales/Zel_math2.h"

#include "RatioReporter.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <map>
#include <string>
#include <unistd.h>

namespace {

constexpr int N = TraceModel::kSampleCount;

SliderPositions startUpPositions()
{
    return SliderPositions{};
}

// The guided tour's third step (window 15..265, full scale 49) with all three substances at
// full amount: the densest trace the sliders produce in the populated mass range.
SliderPositions tourStep3AllSubstances()
{
    SliderPositions p;
    p.M = 140000;
    p.F = 0;
    p.X = 250000;
    p.R = 800;
    p.A = 700;
    p.P_pfk = p.P_mnn = p.P_preg = 0;
    return p;
}

void noiseBaseline(benchmark::State &state)
{
    std::array<double, N> deviates;
    for (auto _ : state) {
        for (double &d : deviates)
            d = NextGaussian();
        benchmark::DoNotOptimize(deviates.data());
        benchmark::ClobberMemory();
    }
}

void computeSpectrum(benchmark::State &state, SliderPositions positions)
{
    TraceModel model;
    for (auto _ : state) {
        model.ComputeSpectrum(positions);
        benchmark::DoNotOptimize(model.samples().data());
        benchmark::ClobberMemory();
    }
}

// The same with a fine-adjust move on every run, so the sample positions are laid out anew each
// time (a slider drag) instead of being reused (timer ticks with the sliders at rest).
void computeSpectrumMoving(benchmark::State &state, SliderPositions positions)
{
    TraceModel model;
    SliderPositions moved = positions;
    moved.F = positions.F + 1;
    bool flip = false;
    for (auto _ : state) {
        model.ComputeSpectrum(flip ? moved : positions);
        flip = !flip;
        benchmark::DoNotOptimize(model.samples().data());
        benchmark::ClobberMemory();
    }
}

// Without noise: the model's own work (layout reuse, window tests, peaks and flanks) alone.
void computeSpectrumNoNoise(benchmark::State &state, SliderPositions positions)
{
    TraceModel model;
    model.setNoiseEnabled(false);
    for (auto _ : state) {
        model.ComputeSpectrum(positions);
        benchmark::DoNotOptimize(model.samples().data());
        benchmark::ClobberMemory();
    }
}

BENCHMARK(noiseBaseline)->Name("StartUp/NoiseBaseline")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(computeSpectrum, startUp, startUpPositions())
    ->Name("StartUp/ComputeSpectrum")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(computeSpectrumMoving, startUp, startUpPositions())
    ->Name("StartUp/ComputeSpectrumMoving")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(computeSpectrumNoNoise, startUp, startUpPositions())
    ->Name("StartUp/ComputeSpectrumNoNoise")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(noiseBaseline)->Name("Step3/NoiseBaseline")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(computeSpectrum, step3, tourStep3AllSubstances())
    ->Name("Step3/ComputeSpectrum")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(computeSpectrumMoving, step3, tourStep3AllSubstances())
    ->Name("Step3/ComputeSpectrumMoving")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(computeSpectrumNoNoise, step3, tourStep3AllSubstances())
    ->Name("Step3/ComputeSpectrumNoNoise")
    ->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::printf("\nRatios to drawing the noise alone (case / baseline):\n");
    reporter.printRatio("StartUp/ComputeSpectrum", {"StartUp/ComputeSpectrum"},
                        {"StartUp/NoiseBaseline"}, "(target <= 1.3)");
    reporter.printRatio("StartUp/ComputeSpectrumMoving", {"StartUp/ComputeSpectrumMoving"},
                        {"StartUp/NoiseBaseline"}, nullptr);
    reporter.printRatio("StartUp/ComputeSpectrumNoNoise", {"StartUp/ComputeSpectrumNoNoise"},
                        {"StartUp/NoiseBaseline"}, nullptr);
    reporter.printRatio("Step3/ComputeSpectrum", {"Step3/ComputeSpectrum"}, {"Step3/NoiseBaseline"},
                        "(target <= 2)");
    reporter.printRatio("Step3/ComputeSpectrumMoving", {"Step3/ComputeSpectrumMoving"},
                        {"Step3/NoiseBaseline"}, nullptr);
    reporter.printRatio("Step3/ComputeSpectrumNoNoise", {"Step3/ComputeSpectrumNoNoise"},
                        {"Step3/NoiseBaseline"}, nullptr);
    return 0;
}

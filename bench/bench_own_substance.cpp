// SPDX-License-Identifier: GPL-3.0-or-later
// The own substance's costs, each beside its baseline from the same run:
// - the isotope pattern of a formula (computed once per change of the formula), against the
//   2000 noise deviates of one display update; the target is an absolute 10 ms for C100H202
//   and C60Br6, and formulas of many atoms of many-isotope elements show the worst case;
// - the spectrum and the whole display update with the substance's lines in the window,
//   against the same without a substance: within noise of 1.

#include "RatioReporter.h"
#include "app/Formula.h"
#include "app/IsotopePattern.h"
#include "app/TfrmExample.h"
#include "chart/Zel_rchart.h"
#include "platform/Controls.h"
#include "scales/Zel_math2.h"

#include <QApplication>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <memory>
#include <string>
#include <vector>

namespace {

void noiseBaseline(benchmark::State &state)
{
    std::vector<double> deviates(TraceModel::kSampleCount);
    for (auto _ : state) {
        for (double &d : deviates)
            d = NextGaussian();
        benchmark::DoNotOptimize(deviates.data());
        benchmark::ClobberMemory();
    }
}

void pattern(benchmark::State &state, std::u32string formula)
{
    const ParsedFormula parsed = parseFormula(formula);
    for (auto _ : state) {
        IsotopePattern p = isotopePattern(parsed.elements, 1);
        benchmark::DoNotOptimize(p.lines.data());
    }
}

BENCHMARK(noiseBaseline)->Name("Pattern/NoiseBaseline")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(pattern, c100h202, U"C100H202")
    ->Name("Pattern/C100H202")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(pattern, c60br6, U"C60Br6")
    ->Name("Pattern/C60Br6")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(pattern, c6h5cl, U"C6H5Cl")
    ->Name("Pattern/C6H5Cl")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(pattern, sncl4, U"SnCl4")->Name("Pattern/SnCl4")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(pattern, sn6, U"Sn6")->Name("Pattern/Sn6")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(pattern, worst, U"Sn1000Xe1000Hg1000Mo1000Te1000Cd1000Ru1000Nd1000Gd1000Dy1000")
    ->Name("Pattern/TenThousandAtomsOfTenElements")
    ->Unit(benchmark::kMicrosecond);

// The window of the chlorobenzene example (R 2000, mass 113, range 6): its molecular ion's
// lines at 112 and 114 in view; noise on as in the program.
SliderPositions chlorobenzeneWindow()
{
    SliderPositions p;
    p.M = 113000;
    p.X = 6000;
    p.R = 2000;
    return p;
}

void spectrum(benchmark::State &state, bool withSubstance)
{
    TraceModel model;
    if (withSubstance)
        model.setOwnSubstance(isotopePattern(parseFormula(U"C6H5Cl").elements, 1).lines, 100);
    const SliderPositions p = chlorobenzeneWindow();
    for (auto _ : state) {
        model.ComputeSpectrum(p);
        benchmark::DoNotOptimize(model.samples().data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK_CAPTURE(spectrum, without, false)
    ->Name("Spectrum/Without")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(spectrum, with, true)->Name("Spectrum/C6H5Cl")->Unit(benchmark::kMicrosecond);

// One main window shown off-screen; destroyed before the application object.
std::unique_ptr<TfrmExample> mainWindow;

TfrmExample &window()
{
    if (!mainWindow) {
        mainWindow = std::make_unique<TfrmExample>();
        mainWindow->Timer1->stop();
        mainWindow->setAttribute(Qt::WA_DontShowOnScreen);
        mainWindow->show();
        QCoreApplication::processEvents();
        const SliderPositions p = chlorobenzeneWindow();
        mainWindow->SBarMass->SetPosition(p.M);
        mainWindow->SBarMagnifX->SetPosition(p.X);
        mainWindow->SBarResol->SetPosition(p.R);
        mainWindow->SetOwnSubstance(QStringLiteral("C6H5Cl"));
    }
    return *mainWindow;
}

void update(benchmark::State &state, bool withSubstance)
{
    TfrmExample &w = window();
    w.SetOwnSubstanceAmount(withSubstance ? 100 : 0);
    for (auto _ : state) {
        w.UpdateDisplay();
        benchmark::DoNotOptimize(w.RCScope->dataImage().constBits());
    }
}
BENCHMARK_CAPTURE(update, without, false)
    ->Name("UpdateDisplay/Without")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(update, with, true)->Name("UpdateDisplay/C6H5Cl")->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    seedUniformSource(1);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\nThe pattern, once per formula (target < 10 ms), against one update's noise:\n");
    for (const char *name :
         {"Pattern/C100H202", "Pattern/C60Br6", "Pattern/C6H5Cl", "Pattern/SnCl4", "Pattern/Sn6",
          "Pattern/TenThousandAtomsOfTenElements"})
        reporter.printRatio(name, {name}, {"Pattern/NoiseBaseline"}, nullptr);
    std::printf("\nWith the own substance's lines in the window / without (target: within noise "
                "of 1):\n");
    reporter.printRatio("ComputeSpectrum", {"Spectrum/C6H5Cl"}, {"Spectrum/Without"}, nullptr);
    reporter.printRatio("UpdateDisplay", {"UpdateDisplay/C6H5Cl"}, {"UpdateDisplay/Without"},
                        nullptr);
    mainWindow.reset();
    return 0;
}

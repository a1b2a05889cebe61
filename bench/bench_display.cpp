// SPDX-License-Identifier: GPL-3.0-or-later
// The display update against its baselines and a peer plotting library, all in one run:
// - bare: fill an image the size of the data area and draw the same 2001 points with one
//   aliased cosmetic QPainter::drawPolyline, nothing else set;
// - noise: the 2000 normal deviates of one update;
// - peer: a widely used Qt plotting library showing the same points in a plot of the same size
//   with two numeric axes, setData then a full replot into an image, once with its adaptive
//   sampling off (equal work) and once with its defaults.
// The chart copies its data image into its full image only when the full image is read (the
// screen is painted from both), so the cases below read the data image, as the program does.
// The program's own cases: ShowItems of the 2001 items, the display part of the update (clear,
// 2001 adds, SetLayerRange, ShowItems) with the window unchanged as on a timer tick (margins
// and axes are kept) and with the window moving (the strip of the moved axis is repainted),
// and the whole update. The display part, the whole update and the peer's equal work run once
// more with every picture at a device pixel ratio of 2, as on a screen scaled to 200 %. At the
// end it prints the ratios and checks that 10,000 updates leave the heap where it was after the
// first 100.

#include "RatioReporter.h"
#include "app/TfrmExample.h"
#include "chart/Zel_rchart.h"
#include "platform/PixelRatio.h"
#include "scales/Zel_math2.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <memory>
#include <vector>

#ifdef IONOGRAPH_HAVE_PEER
#include <qcustomplot.h>
#endif

namespace {

// One main window, shown off-screen, whose chart is the program's own scope. It is destroyed
// before the application object, at the end of main.
std::unique_ptr<TfrmExample> mainWindow;

TfrmExample &window()
{
    if (!mainWindow) {
        mainWindow = std::make_unique<TfrmExample>();
        mainWindow->Timer1->stop();
        mainWindow->setAttribute(Qt::WA_DontShowOnScreen);
        mainWindow->show();
        QCoreApplication::processEvents();
        mainWindow->UpdateDisplay();
    }
    return *mainWindow;
}

// Composes every picture of the window at the ratio from now on (the chart's images are made
// anew on the next paint).
void useRatio(double ratio)
{
    static double current = 1.0;
    TfrmExample &w = window();
    if (ratio == current)
        return;
    current = ratio;
    setPixelRatioOverride(ratio);
    w.grab();
    w.UpdateDisplay();
}

// The 2001 points of the current trace in data-image pixels, as the chart maps them.
std::vector<QPoint> tracePixels()
{
    TRChart &chart = *window().RCScope;
    std::vector<QPoint> points;
    points.reserve(2001);
    for (const TChartItem &item : chart.Items()) {
        int px = 0, py = 0;
        chart.WorldToPixel(item.Layer, item.X, item.Y, px, py);
        points.emplace_back(px - chart.MarginLeft(), py - chart.MarginTop());
    }
    return points;
}

QSize dataAreaSize()
{
    const TRChart &chart = *window().RCScope;
    return {chart.plotWidth() + 1, chart.plotHeight() + 1};
}

void bare(benchmark::State &state)
{
    const std::vector<QPoint> points = tracePixels();
    QImage image(dataAreaSize(), QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::black);
        QPainter painter(&image);
        painter.setPen(QColor(0, 185, 0));
        painter.drawPolyline(points.data(), int(points.size()));
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

void noise(benchmark::State &state)
{
    std::vector<double> deviates(2000);
    for (auto _ : state) {
        for (double &d : deviates)
            d = NextGaussian();
        benchmark::DoNotOptimize(deviates.data());
        benchmark::ClobberMemory();
    }
}

void showItems(benchmark::State &state)
{
    TRChart &chart = *window().RCScope;
    window().UpdateDisplay();
    for (auto _ : state) {
        // Marks the data image out of date (the setting itself is unchanged), so that every
        // ShowItems really redraws the 2001 items instead of reusing the last picture.
        chart.SetClassVisible(0, true);
        chart.ShowItems();
        benchmark::DoNotOptimize(chart.dataImage().constBits());
    }
}

void displayPart(benchmark::State &state, double ratio)
{
    TfrmExample &w = window();
    useRatio(ratio);
    const SliderPositions positions = w.sliderPositions();
    w.model().ComputeSpectrum(positions);
    for (auto _ : state) {
        writeTraceToChart(w.model(), positions, *w.RCScope);
        benchmark::DoNotOptimize(w.RCScope->dataImage().constBits());
    }
}

// The same with the mass window moving by one step of the fine slider on every update, as
// while a slider is dragged: the range really changes, so every update repaints the strip of
// the mass axis too.
void displayPartNewWindow(benchmark::State &state)
{
    TfrmExample &w = window();
    SliderPositions positions = w.sliderPositions();
    w.model().ComputeSpectrum(positions);
    const int fine = positions.F;
    bool shifted = false;
    for (auto _ : state) {
        shifted = !shifted;
        positions.F = shifted ? fine + 1 : fine;
        writeTraceToChart(w.model(), positions, *w.RCScope);
        benchmark::DoNotOptimize(w.RCScope->dataImage().constBits());
    }
}

void wholeUpdate(benchmark::State &state, double ratio)
{
    TfrmExample &w = window();
    useRatio(ratio);
    for (auto _ : state) {
        w.UpdateDisplay();
        benchmark::DoNotOptimize(w.RCScope->dataImage().constBits());
    }
}

#ifdef IONOGRAPH_HAVE_PEER
void peer(benchmark::State &state, bool adaptiveSampling, double ratio)
{
    const TfrmExample &w = window();
    const TraceModel &model = w.model();
    QVector<double> keys{0.0}, values{0.0};
    for (const TraceSample &s : model.samples()) {
        keys << s.x;
        values << s.y;
    }
    QCustomPlot plot;
    plot.resize(w.RCScope->size());
    plot.setBackground(QColor(240, 240, 240));
    plot.axisRect()->setBackground(Qt::black);
    QCPGraph *graph = plot.addGraph();
    graph->setPen(QColor(0, 185, 0));
    graph->setAdaptiveSampling(adaptiveSampling);
    plot.xAxis->setRange(38, 46);
    plot.yAxis->setRange(-0.2, 100);
    // At a ratio the picture has the plot's size in device-independent pixels, as the peer's
    // own buffers have.
    plot.setBufferDevicePixelRatio(ratio);
    QImage image(plot.size() * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    for (auto _ : state) {
        graph->setData(keys, values, true);
        QCPPainter painter(&image);
        plot.toPainter(&painter, plot.width(), plot.height());
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK_CAPTURE(peer, equalWork, false, 1.0)
    ->Name("Peer/EqualWork")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(peer, defaults, true, 1.0)->Name("Peer/Defaults")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(peer, equalWorkRatio2, false, 2.0)
    ->Name("Peer/EqualWork@2")
    ->Unit(benchmark::kMicrosecond);
#endif

BENCHMARK(bare)->Name("Base/Bare")->Unit(benchmark::kMicrosecond);
BENCHMARK(noise)->Name("Base/Noise")->Unit(benchmark::kMicrosecond);
BENCHMARK(showItems)->Name("Chart/ShowItems")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(displayPart, one, 1.0)->Name("Chart/DisplayPart")->Unit(benchmark::kMicrosecond);
BENCHMARK(displayPartNewWindow)->Name("Chart/DisplayPartNewWindow")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(wholeUpdate, one, 1.0)
    ->Name("Chart/UpdateDisplay")
    ->Unit(benchmark::kMicrosecond);
// Last, so that the cases above keep ratio 1.
BENCHMARK_CAPTURE(displayPart, two, 2.0)
    ->Name("Chart/DisplayPart@2")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(wholeUpdate, two, 2.0)
    ->Name("Chart/UpdateDisplay@2")
    ->Unit(benchmark::kMicrosecond);

// Bytes the allocator has handed out and not taken back.
size_t heapInUse()
{
    return mallinfo2().uordblks;
}

void checkHeapGrowth()
{
    TfrmExample &w = window();
    for (int i = 0; i < 100; ++i)
        w.UpdateDisplay();
    const size_t after100 = heapInUse();
    for (int i = 0; i < 10000; ++i)
        w.UpdateDisplay();
    const size_t after10100 = heapInUse();
    std::printf("\nHeap in use after 100 updates: %zu bytes; after 10,100: %zu bytes (%+lld)\n",
                after100, after10100, static_cast<long long>(after10100) - (long long)after100);
}

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

    std::printf("\nRatios (case / baseline):\n");
    reporter.printRatio("ShowItems / bare", {"Chart/ShowItems"}, {"Base/Bare"}, "(target <= 1)");
    reporter.printRatio("Display part / peer equal work", {"Chart/DisplayPart"}, {"Peer/EqualWork"},
                        "(target <= 0.5)");
    reporter.printRatio("Display part, window moving / peer equal work",
                        {"Chart/DisplayPartNewWindow"}, {"Peer/EqualWork"}, "(target <= 0.5)");
    reporter.printRatio("Display part / peer defaults", {"Chart/DisplayPart"}, {"Peer/Defaults"},
                        "(target < 1)");
    reporter.printRatio("UpdateDisplay / (bare + noise)", {"Chart/UpdateDisplay"},
                        {"Base/Bare", "Base/Noise"}, "(target <= 4)");
    reporter.printRatio("Display part at ratio 2 / peer equal work at ratio 2",
                        {"Chart/DisplayPart@2"}, {"Peer/EqualWork@2"}, "(target <= 0.5)");
    reporter.printRatio("UpdateDisplay at ratio 2 / UpdateDisplay at ratio 1",
                        {"Chart/UpdateDisplay@2"}, {"Chart/UpdateDisplay"}, "(target <= 2.5)");
    if (const auto whole = reporter.times({"Chart/UpdateDisplay"}))
        std::printf("UpdateDisplay: %.1f us real, %.1f us cpu (target < 500 us median)\n",
                    whole->real, whole->cpu);
    useRatio(1.0);
    checkHeapGrowth();
    mainWindow.reset();
    return 0;
}

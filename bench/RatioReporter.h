// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Console output of Google Benchmark plus the ratios between cases of the same run: the
// machine is shared and noisy, so only figures measured side by side compare. Each case keeps
// its median aggregate when there is one, else the time of its (last) plain run; real and CPU
// time are both kept because on a loaded machine the real time also counts waits for a core.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

class RatioReporter : public benchmark::ConsoleReporter
{
public:
    struct Times
    {
        double real = 0;
        double cpu = 0;
        bool fromMedian = false;
    };

    RatioReporter() : ConsoleReporter(isatty(fileno(stdout)) ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            if (run.error_occurred)
                continue;
            Times &t = m_times[run.run_name.str()];
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (median || (run.run_type == Run::RT_Iteration && !t.fromMedian)) {
                t.real = run.GetAdjustedRealTime();
                t.cpu = run.GetAdjustedCPUTime();
                t.fromMedian = median;
            }
        }
    }

    // The times of one case, or of the sum of several; nothing when a case did not run.
    std::optional<Times> times(std::initializer_list<std::string> names) const
    {
        Times sum;
        for (const std::string &name : names) {
            const auto it = m_times.find(name);
            if (it == m_times.end() || it->second.real <= 0 || it->second.cpu <= 0)
                return std::nullopt;
            sum.real += it->second.real;
            sum.cpu += it->second.cpu;
        }
        return sum;
    }

    // Prints measured / baseline (the baseline may be a sum of cases) with an optional target.
    void printRatio(const std::string &label, std::initializer_list<std::string> measured,
                    std::initializer_list<std::string> baseline, const char *target) const
    {
        const auto w = times(measured);
        const auto b = times(baseline);
        if (!w || !b)
            return;
        std::printf("%-34s real %8.2f / %8.2f us = %.3f   cpu %8.2f / %8.2f us = %.3f   %s\n",
                    label.c_str(), w->real, b->real, w->real / b->real, w->cpu, b->cpu,
                    w->cpu / b->cpu, target ? target : "");
    }

private:
    std::map<std::string, Times> m_times;
};

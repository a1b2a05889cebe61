// SPDX-License-Identifier: GPL-3.0-or-later
// The process's uniform generator and the normal deviate drawn from it.
//
// The display update draws 2000 deviates ten times a second, so the default path calls the
// generator directly; an injected source costs a flag test and a std::function call only when
// one is installed.

#include "scales/Zel_math2.h"

#include <chrono>
#include <cmath>
#include <random>

namespace {

quint64 splitMix(quint64 x)
{
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// Start-up seed: wall clock and monotonic clock mixed, so two runs started within the same
// clock tick still differ a little more often.
quint64 clockSeed()
{
    const auto wall = quint64(std::chrono::system_clock::now().time_since_epoch().count());
    const auto mono = quint64(std::chrono::steady_clock::now().time_since_epoch().count());
    return splitMix(wall ^ splitMix(mono));
}

std::mt19937_64 g_engine{clockSeed()};
std::function<double()> g_source; // injected uniform source, used when g_useSource
bool g_useSource = false;

bool g_cacheFull = false;
double g_cached = 0;

inline double engineUniform()
{
    // The top 53 bits as a fraction: every double in [0, 1) on a 2^-53 grid, never 1.
    return double(g_engine() >> 11) * 0x1.0p-53;
}

inline double uniform()
{
    return g_useSource ? g_source() : engineUniform();
}

} // namespace

double nextUniform()
{
    return uniform();
}

void setUniformSource(std::function<double()> source)
{
    g_useSource = bool(source);
    g_source = std::move(source);
    resetGaussianCache();
}

void seedUniformSource(quint64 seed)
{
    g_engine.seed(seed);
    g_useSource = false;
    g_source = nullptr;
    resetGaussianCache();
}

void resetGaussianCache()
{
    g_cacheFull = false;
    g_cached = 0;
}

double NextGaussian()
{
    if (g_cacheFull) {
        g_cacheFull = false;
        return g_cached;
    }
    double z1 = 0;
    double z2 = 0;
    double s = 0;
    do {
        const double u1 = uniform();
        const double u2 = uniform();
        z1 = 2 * u1 - 1;
        z2 = 2 * u2 - 1;
        s = z1 * z1 + z2 * z2;
    } while (s >= 1 || s == 0);
    const double f = std::sqrt(-2 * std::log(s) / s);
    // The cache is marked full only once it holds the new value, so a source that throws
    // mid-draw cannot leave a stale value behind.
    g_cached = z1 * f;
    g_cacheFull = true;
    return z2 * f;
}

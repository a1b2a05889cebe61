// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Some C library and Qt routines use 256- or 512-bit vector registers and can return with
// their upper halves still marked in use. Plain SSE code that runs next (the chart's item
// mapping and the canvas's rasteriser) then pays on every vector instruction on many
// processors: drawing a trace right after an axis's labels took half as long again.
// vzeroupper clears that state; it exists only where AVX does, so it is asked for only there.

inline void clearUpperVectorState()
{
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    static const bool avx = __builtin_cpu_supports("avx");
    if (avx)
        asm volatile("vzeroupper");
#endif
}

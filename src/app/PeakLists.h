// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The compiled-in peak lists of the simulated sample: the residual air of the instrument and the
// three reference substances whose amounts the user sets.

#include <array>
#include <span>

// One line of a mass spectrum: its mass in mass units and its relative intensity (the strongest
// line of a substance is about 100). Both are single precision, as stored.
struct PeakEntry
{
    float mass;
    float intensity;
};

enum class PeakListId { ResidualAir, Pregnene, Pfk, MethylNonenone };

// The order in which the spectrum model adds the lists to the trace.
inline constexpr std::array<PeakListId, 4> kPeakListProcessingOrder = {
    PeakListId::ResidualAir, PeakListId::Pregnene, PeakListId::Pfk, PeakListId::MethylNonenone};

// The entries of a list in stored order; duplicates and irregular spacings are part of the data.
std::span<const PeakEntry> peakList(PeakListId id);

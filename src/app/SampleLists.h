#pragma once
// The peak lists of the simulated sample as people name them: each list with the dictionary
// key of its substance and the slider that sets its amount. A further substance is one more
// entry here.

#include "app/PeakLists.h"
#include "app/TraceModel.h"

struct NamedList
{
    PeakListId id;
    const char *nameKey;          // empty for the air, whose lines are named one by one
    int SliderPositions::*amount; // inverted amount slider; null for the air
};

inline constexpr NamedList namedLists[] = {
    {PeakListId::ResidualAir, "", nullptr},
    {PeakListId::Pregnene, "Pregnene", &SliderPositions::P_preg},
    {PeakListId::Pfk, "PFK", &SliderPositions::P_pfk},
    {PeakListId::MethylNonenone, "Nonenone", &SliderPositions::P_mnn},
};

// The residual air's lines in stored order: water, nitrogen, oxygen, argon, carbon dioxide.
inline constexpr const char *airSpecies[] = {"H\u2082O", "N\u2082", "O\u2082", "Ar", "CO\u2082"};

// The share of a list in the sample, 0 (none) to 1 (as stored); the air is always whole.
inline double amountFactor(const NamedList &list, const SliderPositions &positions)
{
    return list.amount ? (100 - positions.*list.amount) / 100.0 : 1.0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The peak lists of the simulated sample as people name them: each list with the dictionary
// key of its substance and the slider that sets its amount. A further built-in substance is one
// more entry here; the user's own substance comes as lines that already carry their name.

#include "app/PeakLists.h"
#include "app/TraceModel.h"

#include <QString>
#include <functional>
#include <span>
#include <vector>

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

// A line of the display with the name the values under the mouse and the chart's description
// give it: "Ar" at 39.962, "CH3Br⁺" at m/z 93.942; height in the trace's units.
struct NamedLine
{
    QString name;
    double mz;
    double height;
};

// The lines of the substances present that lie inside the window of the positions: the four
// lists in their order, then the further lines (the own substance's, named and scaled by its
// amount). Entries of one list at the same mass are one line. The dictionary's text of a
// substance's key comes from substanceName.
std::vector<NamedLine>
linesInWindow(const SliderPositions &positions, std::span<const NamedLine> furtherLines,
              const std::function<QString(const QString &key)> &substanceName);

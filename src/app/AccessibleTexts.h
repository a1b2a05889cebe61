// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the program tells people who cannot read the picture, and everybody who wants a given
// setting: each slider's value in the units a student thinks in, and an account of what the
// trace shows. Pure functions of the slider positions; the texts come from the dictionary.

#include "app/SampleLists.h"
#include "app/TraceModel.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <span>

// The eight sliders of the main window.
enum class SliderKind {
    MassCoarse,
    MassFine,
    Range,
    Resolution,
    Amplification,
    Pfk,
    MethylNonenone,
    Pregnene
};

// The text of a dictionary key (given with its "BF_" prefix) with its parameters.
using TranslateText = std::function<QString(const QString &key, const QStringList &params)>;

// The slider's position within a set of positions.
int &positionOf(SliderPositions &positions, SliderKind kind);

// A slider's value in its units: the coarse and the fine mass in mass units (each its own part
// of the centre mass), the range in mass units, the resolving power, the full scale A²/10000 of
// the amplification, and a substance's amount in percent (0 = none).
double sliderUnits(SliderKind kind, int position);
// The position whose value lies nearest to a value in units (not clamped: the slider clamps).
int sliderPosition(SliderKind kind, double units);
// Decimals that show every position of the slider exactly or, for the full scale, well enough.
int sliderDecimals(SliderKind kind);
// The unit after a value ("u", "%"), empty for plain numbers.
QString sliderUnitSuffix(SliderKind kind, const TranslateText &translate);

// The value as a person reads it ("42.000 u", "50 %", "full scale 49"); the two mass sliders
// also name the centre mass when the fine adjustment is not zero.
QString sliderValueText(SliderKind kind, const SliderPositions &positions,
                        const TranslateText &translate);

// The account of the trace: the mass window and full scale, the lines of the substances
// present that stand out in the window (name, mass, height as a share of the full scale, cut off
// above it; the strongest ones named, the rest counted) and whether the picture is held. The
// further lines (the own substance's) count as a fifth list.
QString scopeDescription(const SliderPositions &positions, bool held,
                         std::span<const NamedLine> furtherLines, const TranslateText &translate);

// A number with the dictionary's decimal separator.
QString localNumber(double value, int decimals, const TranslateText &translate);

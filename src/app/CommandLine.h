// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's command line: slider settings for users and automated checks, the noise
// controls, the off-screen outputs, and the host's arguments, which are kept untouched.

#include <QRect>
#include <QString>
#include <QStringList>
#include <optional>

struct SliderPositions;
class QWidget;
class TfrmExample;

struct CommandLineOptions
{
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    QString message; // help text, version line or error message

    std::optional<double> mass;          // centre mass in mass units
    std::optional<double> massFine;      // fine adjustment in mass units, after --mass
    std::optional<double> range;         // visible width in mass units
    std::optional<double> resolution;    // resolving power
    std::optional<double> amplification; // amplification slider position
    std::optional<double> pfk;           // amounts in percent
    std::optional<double> nonenone;
    std::optional<double> pregnene;
    QString substance;                     // the own substance's formula, readable
    std::optional<double> substanceCharge; // 1, 2 or 3
    std::optional<double> substanceAmount; // percent; 100 when only the formula is given
    std::optional<quint64> seed;
    std::optional<int> tourStep; // 1..5
    bool noNoise = false;
    bool lightColours = false;       // --colours light: the projector scheme
    QString exportTrace;             // CSV file to write, then exit
    QString snapshot;                // PNG file to write, then exit
    QString snapshotAbout;           // PNG file of the About box to write, then exit
    QString checkDictionary;         // dictionary to check for translators, then exit
    std::optional<QString> language; // dictionary language code
    std::optional<double> scale;     // display size, 1 to 4 (QT_SCALE_FACTOR)
    std::optional<QRect> geometry;   // the window's frame position and size, design pixels
    bool noAboutBox = false;         // the start-up sequence leaves the About box closed

    // Arguments that are not options, such as the host's "/serverhandle=..."; the host link
    // reads the command line itself.
    QStringList parameters;

    bool runsWithoutWindow() const
    {
        return !exportTrace.isEmpty() || !snapshot.isEmpty() || !snapshotAbout.isEmpty() ||
               !checkDictionary.isEmpty();
    }
};

// Parses the arguments (without the program name).
CommandLineOptions parseCommandLine(const QStringList &arguments);

// The slider options that put every slider at its position, the coarse mass before its fine
// adjustment: parsed and applied, they give the same positions.
QStringList sliderArguments(const SliderPositions &positions);

// The options that shape the window before it is shown: the noise and its seed, the colours,
// the display size the menu checks (--scale, else QT_SCALE_FACTOR), the About box at
// start-up, and the window's position and size.
void applyWindowOptions(const CommandLineOptions &options, TfrmExample &window);

// Presses Next in the tour until the step of --tour-step is reached (the window has run step 1
// when it was first shown).
void applyTourStep(const CommandLineOptions &options, TfrmExample &window);

// Moves the window's sliders as the options say, each through its slider, so the slider clamps
// the value and raises its change event; in the order of the options' listing. Then sets the
// own substance of --substance.
void applySliderOptions(const CommandLineOptions &options, TfrmExample &window);

// The batch outputs: the window's start-up sequence, the tour step and the slider options, one
// update of the trace, then the CSV file and the pictures of the main window and of the About
// box that the options name. The timer never draws meanwhile, so --seed fixes every output
// however long start-up and the pictures' event processing take. The error names the file.
bool writeBatchOutputs(const CommandLineOptions &options, TfrmExample &window, QWidget &aboutBox,
                       QString *error);

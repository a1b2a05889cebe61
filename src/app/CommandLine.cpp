// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

#include "app/AccessibleTexts.h"
#include "app/Formula.h"
#include "app/OwnSubstance.h"
#include "app/Restart.h"
#include "app/TfrmExample.h"
#include "app/TraceExport.h"
#include "platform/Controls.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QLocale>
#include <QRegularExpression>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {

// A number option: its name, the placeholder and text of --help, and where the value goes.
// A slider option also names its slider, whose range (in the slider's units, or as positions
// where the option takes the position itself) and the option's unit --help puts in place of
// %1 in the description; an option without a slider gives its range itself.
struct NumberOption
{
    const char *name;
    const char *valueName;
    const char *description;
    std::optional<double> CommandLineOptions::*target;
    std::optional<SliderKind> slider = {};
    const char *unit = "";
    bool takesPosition = false;
    std::pair<int, int> range = {};
};

const NumberOption numberOptions[] = {
    {"mass", "M", "Centre mass, %1; the fine adjustment goes back to 0.", &CommandLineOptions::mass,
     SliderKind::MassCoarse, "mass units"},
    {"mass-fine", "D", "Fine adjustment of the centre mass, %1, applied after --mass.",
     &CommandLineOptions::massFine, SliderKind::MassFine, "mass units"},
    {"range", "W", "Visible width of the mass window, %1.", &CommandLineOptions::range,
     SliderKind::Range, "mass units"},
    {"resolution", "R", "Resolving power m/dm, %1.", &CommandLineOptions::resolution,
     SliderKind::Resolution},
    {"amplification", "A",
     "Amplification slider, %1: 100 is the highest gain (full scale 1), 1000 the lowest (full "
     "scale 100).",
     &CommandLineOptions::amplification, SliderKind::Amplification, "", true},
    {"pfk", "P", "Amount of perfluorokerosene, %1.", &CommandLineOptions::pfk, SliderKind::Pfk,
     "%"},
    {"nonenone", "P", "Amount of methyl-nonenone, %1.", &CommandLineOptions::nonenone,
     SliderKind::MethylNonenone, "%"},
    {"pregnene", "P", "Amount of pregnene, %1.", &CommandLineOptions::pregnene,
     SliderKind::Pregnene, "%"},
    {.name = "substance-charge",
     .valueName = "Z",
     .description = "Charge of the own substance, %1; 1 when not given.",
     .target = &CommandLineOptions::substanceCharge,
     .range = {1, OwnSubstance::MaxCharge}},
    {.name = "substance-amount",
     .valueName = "P",
     .description = "Amount of the own substance, %1; 100 when only --substance is given.",
     .target = &CommandLineOptions::substanceAmount,
     .unit = "%",
     .range = {0, 100}},
};

// The option's value at a slider position.
double optionValue(const NumberOption &o, int position)
{
    return o.takesPosition ? position : sliderUnits(*o.slider, position);
}

QString helpDescription(const NumberOption &o)
{
    const QString description = QString::fromLatin1(o.description);
    double a = o.range.first, b = o.range.second;
    if (o.slider) {
        // The slider's ends, as the scroll bars clamp.
        SliderPositions lowest, highest;
        positionOf(lowest, *o.slider) = std::numeric_limits<int>::min();
        positionOf(highest, *o.slider) = std::numeric_limits<int>::max();
        lowest = clampedToSliderRanges(lowest);
        highest = clampedToSliderRanges(highest);
        a = optionValue(o, positionOf(lowest, *o.slider));
        b = optionValue(o, positionOf(highest, *o.slider));
    }
    QString range = QStringLiteral("%1 to %2").arg(std::min(a, b)).arg(std::max(a, b));
    if (*o.unit)
        range += QLatin1Char(' ') + QString::fromLatin1(o.unit);
    return description.arg(range);
}

// The parser names the program in its usage line by the running application's path, or by a
// placeholder before there is one; the line names the program itself.
QString helpText(const QCommandLineParser &parser)
{
    QString text = parser.helpText();
    const qsizetype options = text.indexOf(QLatin1String(" [options]"));
    if (options >= 0 && text.lastIndexOf(QLatin1Char('\n'), options) < 0)
        text.replace(0, options, QStringLiteral("Usage: ionograph"));
    return text;
}

// A slider position from a number of any size: rounded, and kept inside int so that the
// slider itself can clamp it.
int toPosition(double value)
{
    const double rounded = std::round(value);
    constexpr double lo = std::numeric_limits<int>::min();
    constexpr double hi = std::numeric_limits<int>::max();
    return int(std::clamp(rounded, lo, hi));
}

// A command-line error: what is wrong, and where to look.
CommandLineOptions usageError(const QString &what)
{
    CommandLineOptions result;
    result.action = CommandLineOptions::Action::Error;
    result.message = what + QStringLiteral(" (see --help)");
    return result;
}

// What the parser refused, with the option as it was written: an unknown option, a value
// option at the end without its value, or an option without value given one ("--no-noise=1").
QString refusal(const QCommandLineParser &parser, const QList<QCommandLineOption> &known,
                const QStringList &arguments)
{
    const QStringList unknown = parser.unknownOptionNames();
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == QLatin1String("--"))
            break;
        if (!argument.startsWith(QLatin1Char('-')) || argument.size() < 2)
            continue;
        const QString written = argument.section(QLatin1Char('='), 0, 0);
        const QString name = written.mid(written.startsWith(QLatin1String("--")) ? 2 : 1);
        if (unknown.contains(name))
            return QStringLiteral("unknown option \"%1\"").arg(written);
        const auto option = std::find_if(known.begin(), known.end(),
                                         [&](const auto &o) { return o.names().contains(name); });
        if (option == known.end())
            continue;
        const bool hasValue = written.size() < argument.size();
        if (option->valueName().isEmpty() && hasValue)
            return QStringLiteral("option \"%1\" takes no value").arg(written);
        if (!option->valueName().isEmpty() && !hasValue && i + 1 == arguments.size())
            return QStringLiteral("missing value for \"%1\"").arg(written);
        if (!option->valueName().isEmpty() && !hasValue)
            ++i; // the next argument is the value, whatever it looks like
    }
    return parser.errorText();
}

} // namespace

CommandLineOptions parseCommandLine(const QStringList &arguments)
{
    CommandLineOptions result;
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Ionograph: a teaching simulation of a mass spectrometer's display."));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    QList<QCommandLineOption> known;
    const auto add = [&](const QCommandLineOption &option) {
        known << option;
        parser.addOption(option);
        return option;
    };
    const QCommandLineOption help =
        add({{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Shows this help.")});
    const QCommandLineOption version =
        add({QStringLiteral("version"), QStringLiteral("Shows the program's version.")});
    const QCommandLineOption substance(
        QStringLiteral("substance"),
        QStringLiteral("Adds a substance of your own by its sum formula, such as CH3Br or "
                       "(CH3)3COH, with its isotope pattern."),
        QStringLiteral("FORMULA"));
    for (const NumberOption &o : numberOptions) {
        if (o.target == &CommandLineOptions::substanceCharge)
            add(substance); // the formula before its charge and amount
        add({QString::fromLatin1(o.name), helpDescription(o), QString::fromLatin1(o.valueName)});
    }
    const QCommandLineOption language =
        add({QStringLiteral("language"),
             QStringLiteral("Reads the dictionary ionograph.CODE.itl beside the program (for "
                            "example de); without it the locale decides."),
             QStringLiteral("CODE")});
    const QCommandLineOption colours =
        add({QStringLiteral("colours"),
             QStringLiteral("The trace's colours: dark (green on black, the default) or light (a "
                            "dark trace on white, for projectors)."),
             QStringLiteral("SCHEME")});
    const QCommandLineOption scale =
        add({QStringLiteral("scale"),
             QStringLiteral("Display size F from 1 to 4 (1.25 is 125 %): the whole program, its "
                            "pictures included, is drawn F times as large, for projectors and "
                            "print; replaces QT_SCALE_FACTOR."),
             QStringLiteral("F")});
    const QCommandLineOption geometry =
        add({QStringLiteral("geometry"),
             QStringLiteral("Opens the window W by H large with its frame at X, Y, in pixels at "
                            "display size 1; it is never smaller than 720x560."),
             QStringLiteral("WxH+X+Y")});
    // Only a change of display size, which restarts the program, starts it without the About
    // box; for everybody else the box opens at every start, so the option is not in --help.
    QCommandLineOption noAboutBoxOption(
        QStringLiteral("no-about-box"),
        QStringLiteral("Leaves the About box closed at start-up (the display-size restart)."));
    noAboutBoxOption.setFlags(QCommandLineOption::HiddenFromHelp);
    const QCommandLineOption noAboutBox = add(noAboutBoxOption);
    const QCommandLineOption seed =
        add({QStringLiteral("seed"), QStringLiteral("Seeds the noise generator with N."),
             QStringLiteral("N")});
    const QCommandLineOption tourStep =
        add({QStringLiteral("tour-step"),
             QStringLiteral("Shows step N (1 to 5) of the guided tour; the slider options then "
                            "apply on top of it."),
             QStringLiteral("N")});
    const QCommandLineOption noNoise =
        add({QStringLiteral("no-noise"), QStringLiteral("Draws the trace without noise.")});
    const QCommandLineOption exportTrace =
        add({QStringLiteral("export-trace"),
             QStringLiteral("Writes the 2000 samples of one update as CSV to FILE and exits."),
             QStringLiteral("FILE")});
    const QCommandLineOption snapshot =
        add({QStringLiteral("snapshot"),
             QStringLiteral("Renders the main window off-screen into the picture FILE (%1, "
                            "chosen by its extension; PNG without one) and exits.")
                 .arg(pictureExtensions()),
             QStringLiteral("FILE")});
    const QCommandLineOption snapshotAbout =
        add({QStringLiteral("snapshot-about"),
             QStringLiteral("Renders the About box, filled in as at start-up, into the picture "
                            "FILE and exits."),
             QStringLiteral("FILE")});
    const QCommandLineOption checkDictionary =
        add({QStringLiteral("check-dictionary"),
             QStringLiteral("Checks the dictionary FILE against the English one: prints each "
                            "missing key, unused entry, text too large for its box and lost "
                            "placeholder, then a summary, and exits (0: nothing found, 1: "
                            "findings, 2: FILE unreadable)."),
             QStringLiteral("FILE")});
    parser.addPositionalArgument(QStringLiteral("parameters"),
                                 QStringLiteral("Arguments for the teaching host link."),
                                 QStringLiteral("[parameters...]"));

    if (!parser.parse(QStringList{QStringLiteral("ionograph")} + arguments))
        return usageError(refusal(parser, known, arguments));
    if (parser.isSet(help)) {
        result.action = CommandLineOptions::Action::Help;
        result.message = helpText(parser);
        return result;
    }
    if (parser.isSet(version)) {
        result.action = CommandLineOptions::Action::Version;
        result.message = QStringLiteral("Ionograph " IONOGRAPH_VERSION);
        return result;
    }

    const auto notANumber = [](const QString &option, const QString &value) {
        return usageError(QStringLiteral("--%1 needs a number, not \"%2\"").arg(option, value));
    };
    for (const NumberOption &o : numberOptions) {
        const QString name = QString::fromLatin1(o.name);
        if (!parser.isSet(name))
            continue;
        const QString text = parser.value(name);
        bool ok = false;
        const double value = text.trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(value))
            return notANumber(name, text);
        result.*(o.target) = value;
    }
    if (parser.isSet(seed)) {
        bool ok = false;
        const quint64 value = parser.value(seed).trimmed().toULongLong(&ok);
        if (!ok)
            return notANumber(seed.names().constFirst(), parser.value(seed));
        result.seed = value;
    }
    if (parser.isSet(tourStep)) {
        bool ok = false;
        const QString text = parser.value(tourStep);
        const int step = text.trimmed().toInt(&ok);
        if (!ok || step < 1 || step > 5)
            return usageError(
                QStringLiteral("--tour-step needs a step from 1 to 5, not \"%1\"").arg(text));
        result.tourStep = step;
    }
    if (parser.isSet(scale)) {
        bool ok = false;
        const QString text = parser.value(scale);
        const double value = text.trimmed().toDouble(&ok);
        // !(1 <= value <= 4) also refuses NaN.
        if (!ok || !(value >= 1 && value <= 4))
            return usageError(
                QStringLiteral("--scale needs a number from 1 to 4, not \"%1\"").arg(text));
        result.scale = value;
    }
    if (parser.isSet(geometry)) {
        const QString text = parser.value(geometry);
        static const QRegularExpression form(
            QStringLiteral("^(\\d{1,5})x(\\d{1,5})([+-]\\d{1,5})([+-]\\d{1,5})$"));
        const QRegularExpressionMatch m = form.match(text.trimmed());
        if (!m.hasMatch())
            return usageError(
                QStringLiteral("--geometry needs WxH+X+Y, such as 800x620+100+80, not \"%1\"")
                    .arg(text));
        result.geometry = QRect(m.captured(3).toInt(), m.captured(4).toInt(), m.captured(1).toInt(),
                                m.captured(2).toInt());
    }
    result.noAboutBox = parser.isSet(noAboutBox);
    if (parser.isSet(colours)) {
        const QString scheme = parser.value(colours).trimmed().toLower();
        if (scheme != QLatin1String("dark") && scheme != QLatin1String("light"))
            return usageError(QStringLiteral("--colours needs dark or light, not \"%1\"")
                                  .arg(parser.value(colours)));
        result.lightColours = scheme == QLatin1String("light");
    }
    if (parser.isSet(substance)) {
        const QString formula = parser.value(substance);
        const ParsedFormula parsed = parseFormula(formula.toStdU32String());
        if (parsed.error)
            return usageError(parsed.error->kind == FormulaError::Empty
                                  ? QStringLiteral("--substance needs a formula")
                                  : QStringLiteral("--substance \"%1\": %2")
                                        .arg(formula, formulaErrorMessage(*parsed.error).english));
        result.substance = formula.trimmed();
    }
    for (const char *name : {"substance-charge", "substance-amount"}) {
        if (parser.isSet(QString::fromLatin1(name)) && result.substance.isEmpty())
            return usageError(QStringLiteral("--%1 needs --substance").arg(QLatin1String(name)));
    }
    if (const auto z = result.substanceCharge; z && *z != 1 && *z != 2 && *z != 3)
        return usageError(QStringLiteral("--substance-charge needs 1, 2 or 3, not \"%1\"")
                              .arg(parser.value(QStringLiteral("substance-charge"))));
    // An empty file name would silently turn a batch run into an open window.
    for (const QCommandLineOption *file :
         {&exportTrace, &snapshot, &snapshotAbout, &checkDictionary}) {
        if (parser.isSet(*file) && parser.value(*file).trimmed().isEmpty())
            return usageError(
                QStringLiteral("--%1 needs a file name").arg(file->names().constFirst()));
    }
    for (const QCommandLineOption *picture : {&snapshot, &snapshotAbout}) {
        const QString file = parser.value(*picture);
        if (parser.isSet(*picture) && !pictureFormatOf(file))
            return usageError(QStringLiteral("--%1 writes %2 pictures, not \"%3\"")
                                  .arg(picture->names().constFirst(), pictureExtensions(), file));
    }
    // The check builds windows of its own, with the file's texts: it makes no pictures.
    if (parser.isSet(checkDictionary) &&
        (parser.isSet(exportTrace) || parser.isSet(snapshot) || parser.isSet(snapshotAbout)))
        return usageError(QStringLiteral("--check-dictionary runs alone, without "
                                         "--export-trace, --snapshot and --snapshot-about"));
    result.noNoise = parser.isSet(noNoise);
    result.exportTrace = parser.value(exportTrace);
    result.snapshot = parser.value(snapshot);
    result.snapshotAbout = parser.value(snapshotAbout);
    result.checkDictionary = parser.value(checkDictionary);
    if (parser.isSet(language))
        result.language = parser.value(language);
    result.parameters = parser.positionalArguments();
    return result;
}

QStringList sliderArguments(const SliderPositions &positions)
{
    QStringList arguments;
    SliderPositions p = positions;
    for (const NumberOption &o : numberOptions) {
        if (!o.slider)
            continue;
        const int position = positionOf(p, *o.slider);
        arguments << QStringLiteral("--%1").arg(QLatin1String(o.name))
                  << QString::number(optionValue(o, position), 'g', QLocale::FloatingPointShortest);
    }
    return arguments;
}

void applyWindowOptions(const CommandLineOptions &options, TfrmExample &window)
{
    if (options.noNoise)
        window.model().setNoiseEnabled(false);
    window.SetNoiseSeed(options.seed);
    if (options.lightColours)
        window.SetLightColours(true);
    window.SetDisplaySize(options.scale.value_or(startScale()));
    window.SetAboutBoxAtStart(!options.noAboutBox);
    if (options.geometry) {
        window.move(options.geometry->topLeft());
        window.resize(options.geometry->size()); // the window keeps its minimum size
    }
}

void applyTourStep(const CommandLineOptions &options, TfrmExample &window)
{
    if (!options.tourStep)
        return;
    while (window.CurrentTourStep() < *options.tourStep && window.BButNext->isEnabled())
        window.BButNext->click();
}

void applySliderOptions(const CommandLineOptions &options, TfrmExample &window)
{
    const SliderPositions before = window.sliderPositions();
    for (const NumberOption &o : numberOptions) {
        const std::optional<double> &value = options.*(o.target);
        if (!o.slider || !value)
            continue;
        window.Slider(*o.slider)->SetPosition(o.takesPosition ? toPosition(*value)
                                                              : sliderPosition(*o.slider, *value));
        if (*o.slider == SliderKind::MassCoarse) // the option names the whole centre mass
            window.Slider(SliderKind::MassFine)->SetPosition(0);
    }
    if (!options.substance.isEmpty()) {
        window.SetOwnSubstanceAmount(options.substanceAmount ? toPosition(*options.substanceAmount)
                                                             : 100);
        window.SetOwnSubstance(options.substance,
                               options.substanceCharge ? int(*options.substanceCharge) : 1);
    }
    // The step's text would describe what the screen no longer shows.
    if (window.sliderPositions() != before)
        window.ExplainCommandLineSettings();
}

bool writeBatchOutputs(const CommandLineOptions &options, TfrmExample &window, QWidget &aboutBox,
                       QString *error)
{
    // Started with the window, the timer would redraw with fresh noise as soon as the event
    // processing of a picture ran after its interval.
    window.Timer1->stop();
    window.FormShow();
    applyTourStep(options, window);
    applySliderOptions(options, window);
    window.UpdateDisplay();
    QString reason;
    const auto failed = [&](const QString &file) {
        *error = QStringLiteral("cannot write \"%1\": %2").arg(file, reason);
        return false;
    };
    if (!options.exportTrace.isEmpty() && !exportTraceCsv(window, options.exportTrace, &reason))
        return failed(options.exportTrace);
    if (!options.snapshot.isEmpty() &&
        !writeSnapshot(window, window.size(), options.snapshot, &reason, traceSettings(window)))
        return failed(options.snapshot);
    if (!options.snapshotAbout.isEmpty() &&
        !writeSnapshot(aboutBox, aboutBox.size(), options.snapshotAbout, &reason))
        return failed(options.snapshotAbout);
    return true;
}

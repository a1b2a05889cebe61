#include "app/CommandLine.h"

#include "app/Formula.h"
#include "app/TfrmExample.h"
#include "platform/Controls.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cmath>
#include <limits>

namespace {

struct NumberOption
{
    const char *name;
    const char *valueName;
    const char *description;
    std::optional<double> CommandLineOptions::*target;
};

const NumberOption numberOptions[] = {
    {"mass", "M", "Centre mass in mass units.", &CommandLineOptions::mass},
    {"range", "W", "Visible width of the mass window in mass units.", &CommandLineOptions::range},
    {"resolution", "R", "Resolving power (100 to 2000).", &CommandLineOptions::resolution},
    {"amplification", "A", "Amplification slider position (100 to 1000).",
     &CommandLineOptions::amplification},
    {"pfk", "P", "Amount of perfluorokerosene in percent.", &CommandLineOptions::pfk},
    {"nonenone", "P", "Amount of methyl-nonenone in percent.", &CommandLineOptions::nonenone},
    {"pregnene", "P", "Amount of pregnene in percent.", &CommandLineOptions::pregnene},
    {"substance-charge", "Z", "Charge of the own substance: 1 (the default), 2 or 3.",
     &CommandLineOptions::substanceCharge},
    {"substance-amount", "P",
     "Amount of the own substance in percent (100 when only --substance is given).",
     &CommandLineOptions::substanceAmount},
};

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

} // namespace

CommandLineOptions parseCommandLine(const QStringList &arguments)
{
    CommandLineOptions result;
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Ionograph: a teaching simulation of a mass spectrometer's display."));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help."));
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("Shows the program's version."));
    parser.addOption(help);
    parser.addOption(version);
    for (const NumberOption &o : numberOptions)
        parser.addOption(QCommandLineOption(QString::fromLatin1(o.name),
                                            QString::fromLatin1(o.description),
                                            QString::fromLatin1(o.valueName)));
    const QCommandLineOption seed(QStringLiteral("seed"),
                                  QStringLiteral("Seeds the noise generator with N."),
                                  QStringLiteral("N"));
    const QCommandLineOption noNoise(QStringLiteral("no-noise"),
                                     QStringLiteral("Draws the trace without noise."));
    const QCommandLineOption exportTrace(
        QStringLiteral("export-trace"),
        QStringLiteral("Writes the 2000 samples of one update as CSV to FILE and exits."),
        QStringLiteral("FILE"));
    const QCommandLineOption snapshot(
        QStringLiteral("snapshot"),
        QStringLiteral("Renders the main window off-screen into the PNG FILE and exits."),
        QStringLiteral("FILE"));
    const QCommandLineOption tourStep(
        QStringLiteral("tour-step"),
        QStringLiteral("Shows step N (1 to 5) of the guided tour; the slider options then apply "
                       "on top of it."),
        QStringLiteral("N"));
    const QCommandLineOption snapshotAbout(
        QStringLiteral("snapshot-about"),
        QStringLiteral("Renders the About box, filled in as at start-up, into the PNG FILE and "
                       "exits."),
        QStringLiteral("FILE"));
    const QCommandLineOption language(
        QStringLiteral("language"),
        QStringLiteral("Reads the dictionary ionograph.CODE.itl beside the program (for "
                       "example de); without it the locale decides."),
        QStringLiteral("CODE"));
    const QCommandLineOption colours(
        QStringLiteral("colours"),
        QStringLiteral("The trace's colours: dark (green on black, the default) or light (a dark "
                       "trace on white, for projectors)."),
        QStringLiteral("SCHEME"));
    const QCommandLineOption substance(
        QStringLiteral("substance"),
        QStringLiteral("Adds a substance of your own by its sum formula, such as CH3Br or "
                       "(CH3)3COH, with its isotope pattern."),
        QStringLiteral("FORMULA"));
    parser.addOption(substance);
    parser.addOption(language);
    parser.addOption(colours);
    parser.addOption(seed);
    parser.addOption(tourStep);
    parser.addOption(noNoise);
    parser.addOption(exportTrace);
    parser.addOption(snapshot);
    parser.addOption(snapshotAbout);
    parser.addPositionalArgument(QStringLiteral("parameters"),
                                 QStringLiteral("Arguments for the teaching host link."),
                                 QStringLiteral("[parameters...]"));

    if (!parser.parse(QStringList{QStringLiteral("ionograph")} + arguments)) {
        result.action = CommandLineOptions::Action::Error;
        result.message = parser.errorText();
        return result;
    }
    if (parser.isSet(help)) {
        result.action = CommandLineOptions::Action::Help;
        result.message = helpText(parser);
        return result;
    }
    if (parser.isSet(version)) {
        result.action = CommandLineOptions::Action::Version;
        result.message = QStringLiteral("Ionograph 1.1");
        return result;
    }

    auto fail = [&result](const QString &option, const QString &value) {
        result.action = CommandLineOptions::Action::Error;
        result.message = QStringLiteral("--%1 needs a number, not \"%2\"").arg(option, value);
        return result;
    };
    for (const NumberOption &o : numberOptions) {
        const QString name = QString::fromLatin1(o.name);
        if (!parser.isSet(name))
            continue;
        const QString text = parser.value(name);
        bool ok = false;
        const double value = text.trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(value))
            return fail(name, text);
        result.*(o.target) = value;
    }
    if (parser.isSet(seed)) {
        bool ok = false;
        const quint64 value = parser.value(seed).trimmed().toULongLong(&ok);
        if (!ok)
            return fail(seed.names().constFirst(), parser.value(seed));
        result.seed = value;
    }
    if (parser.isSet(tourStep)) {
        bool ok = false;
        const QString text = parser.value(tourStep);
        const int step = text.trimmed().toInt(&ok);
        if (!ok || step < 1 || step > 5) {
            result.action = CommandLineOptions::Action::Error;
            result.message =
                QStringLiteral("--tour-step needs a step from 1 to 5, not \"%1\"").arg(text);
            return result;
        }
        result.tourStep = step;
    }
    if (parser.isSet(colours)) {
        const QString scheme = parser.value(colours).trimmed().toLower();
        if (scheme != QLatin1String("dark") && scheme != QLatin1String("light")) {
            result.action = CommandLineOptions::Action::Error;
            result.message = QStringLiteral("--colours needs dark or light, not \"%1\"")
                                 .arg(parser.value(colours));
            return result;
        }
        result.lightColours = scheme == QLatin1String("light");
    }
    if (parser.isSet(substance)) {
        const QString formula = parser.value(substance);
        const ParsedFormula parsed = parseFormula(formula.toStdU32String());
        if (parsed.error) {
            result.action = CommandLineOptions::Action::Error;
            result.message = parsed.error->kind == FormulaError::Empty
                                 ? QStringLiteral("--substance needs a formula")
                                 : QStringLiteral("--substance \"%1\": %2")
                                       .arg(formula, formulaErrorMessage(*parsed.error).english);
            return result;
        }
        result.substance = formula.trimmed();
    }
    for (const char *name : {"substance-charge", "substance-amount"}) {
        if (parser.isSet(QString::fromLatin1(name)) && result.substance.isEmpty()) {
            result.action = CommandLineOptions::Action::Error;
            result.message = QStringLiteral("--%1 needs --substance").arg(QLatin1String(name));
            return result;
        }
    }
    if (const auto z = result.substanceCharge; z && *z != 1 && *z != 2 && *z != 3) {
        result.action = CommandLineOptions::Action::Error;
        result.message = QStringLiteral("--substance-charge needs 1, 2 or 3, not \"%1\"")
                             .arg(parser.value(QStringLiteral("substance-charge")));
        return result;
    }
    // An empty file name would silently turn a batch run into an open window.
    for (const QCommandLineOption *file : {&exportTrace, &snapshot, &snapshotAbout}) {
        if (parser.isSet(*file) && parser.value(*file).trimmed().isEmpty()) {
            result.action = CommandLineOptions::Action::Error;
            result.message =
                QStringLiteral("--%1 needs a file name").arg(file->names().constFirst());
            return result;
        }
    }
    result.noNoise = parser.isSet(noNoise);
    result.exportTrace = parser.value(exportTrace);
    result.snapshot = parser.value(snapshot);
    result.snapshotAbout = parser.value(snapshotAbout);
    if (parser.isSet(language))
        result.language = parser.value(language);
    result.parameters = parser.positionalArguments();
    return result;
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
    if (options.mass) {
        window.SBarMass->SetPosition(toPosition(*options.mass * 1000));
        window.SBarMassFineAdj->SetPosition(0);
    }
    if (options.range)
        window.SBarMagnifX->SetPosition(toPosition(*options.range * 1000));
    if (options.resolution)
        window.SBarResol->SetPosition(toPosition(*options.resolution));
    if (options.amplification)
        window.SBarAmplif->SetPosition(toPosition(*options.amplification));
    if (options.pfk)
        window.SBarPFK->SetPosition(toPosition(100 - *options.pfk));
    if (options.nonenone)
        window.SBarMetNonenone->SetPosition(toPosition(100 - *options.nonenone));
    if (options.pregnene)
        window.SBarPregnene->SetPosition(toPosition(100 - *options.pregnene));
    if (!options.substance.isEmpty()) {
        window.SetOwnSubstanceAmount(options.substanceAmount ? toPosition(*options.substanceAmount)
                                                             : 100);
        window.SetOwnSubstance(options.substance,
                               options.substanceCharge ? int(*options.substanceCharge) : 1);
    }
}

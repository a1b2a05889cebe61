#include "app/CommandLine.h"

#include "app/TfrmExample.h"
#include "platform/Controls.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QSaveFile>
#include <charconv>
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

// The shortest text that reads back as the same double.
void appendNumber(QByteArray &text, double value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    text.append(buffer, result.ptr - buffer);
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
    parser.addOption(language);
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
        window.SBarMass->setPosition(toPosition(*options.mass * 1000));
        window.SBarMassFineAdj->setPosition(0);
    }
    if (options.range)
        window.SBarMagnifX->setPosition(toPosition(*options.range * 1000));
    if (options.resolution)
        window.SBarResol->setPosition(toPosition(*options.resolution));
    if (options.amplification)
        window.SBarAmplif->setPosition(toPosition(*options.amplification));
    if (options.pfk)
        window.SBarPFK->setPosition(toPosition(100 - *options.pfk));
    if (options.nonenone)
        window.SBarMetNonenone->setPosition(toPosition(100 - *options.nonenone));
    if (options.pregnene)
        window.SBarPregnene->setPosition(toPosition(100 - *options.pregnene));
}

bool exportTraceCsv(const TfrmExample &window, const QString &fileName, QString *error)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        *error = file.errorString();
        return false;
    }
    QByteArray text = "mass,signal\n";
    const TraceModel &model = window.model();
    text.reserve(int(TraceModel::kSampleCount) * 44);
    for (int i = 1; i <= TraceModel::kSampleCount; ++i) {
        const TraceSample &s = model.sample(i);
        appendNumber(text, s.x);
        text += ',';
        appendNumber(text, s.y);
        text += '\n';
    }
    file.write(text);
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

bool writeSnapshot(QWidget &window, QSize clientSize, const QString &fileName, QString *error)
{
    // Shown but kept off the screen, so every control is polished, laid out and painted as
    // it would be in a real window.
    window.setAttribute(Qt::WA_DontShowOnScreen);
    window.show();
    QCoreApplication::processEvents();
    QImage image(clientSize, QImage::Format_RGB32);
    window.render(&image);
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
        *error = QStringLiteral("cannot write %1: %2").arg(fileName, file.errorString());
        return false;
    }
    return true;
}

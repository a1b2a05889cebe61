// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Restart.h"

#include "app/CommandLine.h"
#include "app/TfrmExample.h"

#include <QLocale>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <vector>

RestartState restartState(const TfrmExample &window, const CommandLineOptions &started,
                          double scale)
{
    RestartState state;
    state.positions = window.sliderPositions();
    state.tourStep = window.CurrentTourStep();
    state.lightColours = window.LightColours();
    state.noNoise = !window.model().noiseEnabled();
    state.seed = window.NoiseSeed();
    state.language = started.language;
    if (const OwnSubstance &own = window.ownSubstance(); !own.formula.isEmpty()) {
        state.substance = own.formula;
        state.substanceCharge = own.charge;
        state.substanceAmount = own.amount;
    }
    state.geometry = QRect(window.pos(), window.size());
    state.scale = scale;
    state.parameters = started.parameters;
    return state;
}

QStringList restartArguments(const RestartState &state)
{
    const auto number = [](auto value) { return QString::number(value); };
    QStringList arguments = {
        QStringLiteral("--scale"),
        QString::number(state.scale, 'g', QLocale::FloatingPointShortest),
        QStringLiteral("--no-about-box"),
        QStringLiteral("--geometry"),
        QStringLiteral("%1x%2%3%4%5%6")
            .arg(state.geometry.width())
            .arg(state.geometry.height())
            .arg(state.geometry.x() < 0 ? "" : "+")
            .arg(state.geometry.x())
            .arg(state.geometry.y() < 0 ? "" : "+")
            .arg(state.geometry.y()),
    };
    if (state.tourStep >= 1 && state.tourStep <= TfrmExample::TourStepCount)
        arguments << QStringLiteral("--tour-step") << number(state.tourStep);
    // After the tour step, which would move them.
    arguments << sliderArguments(state.positions);
    if (!state.substance.isEmpty())
        arguments << QStringLiteral("--substance") << state.substance
                  << QStringLiteral("--substance-charge") << number(state.substanceCharge)
                  << QStringLiteral("--substance-amount") << number(state.substanceAmount);
    if (state.lightColours)
        arguments << QStringLiteral("--colours") << QStringLiteral("light");
    if (state.noNoise)
        arguments << QStringLiteral("--no-noise");
    if (state.seed)
        arguments << QStringLiteral("--seed") << number(*state.seed);
    if (state.language)
        arguments << QStringLiteral("--language") << *state.language;
    // A host argument that looks like an option must not be read as one.
    if (std::any_of(state.parameters.begin(), state.parameters.end(),
                    [](const QString &p) { return p.startsWith(QLatin1Char('-')); }))
        arguments << QStringLiteral("--");
    arguments << state.parameters;
    return arguments;
}

double startScale()
{
    bool ok = false;
    const double scale = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&ok);
    return ok && scale > 0 ? scale : 1;
}

QString execProgram(const char *argument0, const QStringList &arguments)
{
    std::vector<QByteArray> texts;
    texts.reserve(size_t(arguments.size()) + 1);
    texts.emplace_back(argument0);
    for (const QString &argument : arguments)
        texts.push_back(argument.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &text : texts)
        argv.push_back(text.data());
    argv.push_back(nullptr);
    std::fflush(stdout);
    std::fflush(stderr);
    ::execv("/proc/self/exe", argv.data());
    return QString::fromLocal8Bit(std::strerror(errno));
}

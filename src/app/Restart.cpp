// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Restart.h"

#include "app/CommandLine.h"
#include "app/TfrmExample.h"

#include <QLocale>
#include <algorithm>
#include <cerrno>
#include <cmath>
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
    // Applied on top of the step's positions.
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

QRect geometryAtScale(QRect geometry, QSize frame, QRect screen, double from, double to)
{
    const double ratio = from / to;
    const auto scaled = [ratio](int v) { return int(std::lround(v * ratio)); };
    const QSize border(scaled(frame.width()), scaled(frame.height()));
    const QRect room(scaled(screen.x()), scaled(screen.y()), scaled(screen.width()),
                     scaled(screen.height()));
    QRect result(scaled(geometry.x()), scaled(geometry.y()), geometry.width(), geometry.height());
    if (room.isEmpty())
        return result;
    // The frame's rectangle is kept on the screen; the client area is what is returned.
    result.setSize((result.size() + border).boundedTo(room.size()));
    // Moved back onto the screen where it would reach past its right or bottom edge.
    result.moveRight(std::min(result.right(), room.right()));
    result.moveBottom(std::min(result.bottom(), room.bottom()));
    result.moveLeft(std::max(result.left(), room.left()));
    result.moveTop(std::max(result.top(), room.top()));
    result.setSize(result.size() - border);
    return result;
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

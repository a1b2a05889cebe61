// SPDX-License-Identifier: GPL-3.0-or-later
// Entry point: builds the main window and the About box, applies the command line and runs the
// message loop, or produces the off-screen outputs and exits.

#include "app/AboutBox.h"
#include "app/CommandLine.h"
#include "app/DictionaryCheck.h"
#include "app/Language.h"
#include "app/Restart.h"
#include "app/TfrmExample.h"
#include "hostlink/WendralDemon.h"
#include "platform/Application.h"
#include "platform/MessageBox.h"
#include "scales/Zel_math2.h"

#include <QFileInfo>
#include <QLocale>
#include <QScreen>
#include <cstdio>
#include <memory>
#include <optional>

namespace {

QStringList argumentsOf(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

int report(FILE *stream, const QString &text, int code)
{
    std::fputs(qPrintable(text.endsWith(QLatin1Char('\n')) ? text : text + QLatin1Char('\n')),
               stream);
    return code;
}

int reportError(const QString &text, int code)
{
    return report(stderr, QStringLiteral("ionograph: ") + text, code);
}

// The host link could not be set up: the reason goes to the terminal and, on a screen, into a
// message box.
int reportStartFailure(const QString &what)
{
    const QString reason = GetLastErrorString();
    const QString text = what == reason ? what : what + QStringLiteral(": ") + reason;
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        showMessage(MessageKind::Error, text);
    return reportError(text, 1);
}

// The program with its application object and windows. A change of display size ends it with
// the arguments of the restart, after the windows and the host link are gone.
int run(int argc, char **argv, const CommandLineOptions &options,
        const DictionaryChoice &dictionary, QStringList *restart)
{
    // Qt reads the factor once, when the application object is made. The option replaces the
    // user's factor for this program only: the programs it starts (a browser) keep theirs.
    const char *scaleVariable = "QT_SCALE_FACTOR";
    const std::optional<QByteArray> userScale = qEnvironmentVariableIsSet(scaleVariable)
                                                    ? std::optional(qgetenv(scaleVariable))
                                                    : std::nullopt;
    if (options.scale)
        qputenv(scaleVariable,
                QByteArray::number(*options.scale, 'g', QLocale::FloatingPointShortest));
    ZelApplication app(argc, argv);
    if (options.scale && userScale)
        qputenv(scaleVariable, *userScale);
    else if (options.scale)
        qunsetenv(scaleVariable);
    QApplication::setApplicationName(QStringLiteral("Ionograph"));
    QApplication::setApplicationVersion(QStringLiteral(IONOGRAPH_VERSION));

    if (options.seed)
        seedUniformSource(*options.seed);

    // The batch outputs run beside an open program: they take no part in the host link.
    if (options.runsWithoutWindow())
        TkdbCustomDemon::SetLinkSuspended(true);

    if (!options.checkDictionary.isEmpty()) {
        const DictionaryCheck check = checkDictionary(options.checkDictionary);
        if (check.exitCode() == 2)
            return reportError(check.error, 2);
        for (const QString &finding : check.findings)
            report(stdout, finding, 0);
        return report(stdout, check.summary, check.exitCode());
    }

    // Built first, the main window is the application's main window; its host link reads the
    // dictionary and translates it when its loading ends, and ends a second start here.
    std::unique_ptr<TfrmExample> built;
    try {
        built = std::make_unique<TfrmExample>(dictionary.path);
    } catch (const EQuillonSecondInstance &) {
        return 0;
    } catch (const EQuillon &error) {
        return reportStartFailure(QString::fromLocal8Bit(error.what()));
    }
    TfrmExample &window = *built;
    frmExample = &window;
    auto about = std::make_unique<TFrmAbout>();
    FrmAbout = about.get();
    applyWindowOptions(options, window);

    if (options.runsWithoutWindow()) {
        QString error;
        return writeBatchOutputs(options, window, *about, &error) ? 0 : reportError(error, 1);
    }

    // The window opens centred on the screen. Showing it runs the start-up sequence, which
    // queues the About box until the window has been painted; the command line's settings
    // apply before that.
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (screen && !options.geometry)
        window.move(screen->availableGeometry().center() - window.rect().center());
    std::optional<double> chosenSize;
    window.OnDisplaySizeChosen = [&chosenSize](double factor) {
        chosenSize = factor;
        QApplication::exit(0);
    };
    window.show();
    applyTourStep(options, window);
    applySliderOptions(options, window);
    const int code = QApplication::exec();
    if (!chosenSize || !window.isVisible())
        return code;
    RestartState state = restartState(window, options, *chosenSize);
    if (const QScreen *on = window.screen())
        state.geometry =
            geometryAtScale(state.geometry, window.frameGeometry().size() - window.size(),
                            on->availableGeometry(), window.DisplaySize(), *chosenSize);
    *restart = restartArguments(state);
    // Gone before the new start, so that it finds no first instance to hand over to.
    FrmAbout = nullptr;
    about.reset();
    frmExample = nullptr;
    built.reset();
    return code;
}

} // namespace

int main(int argc, char **argv)
{
    const CommandLineOptions options = parseCommandLine(argumentsOf(argc, argv));
    switch (options.action) {
    case CommandLineOptions::Action::Help:
    case CommandLineOptions::Action::Version:
        return report(stdout, options.message, 0);
    case CommandLineOptions::Action::Error:
        return reportError(options.message, 2);
    case CommandLineOptions::Action::Run:
        break;
    }

    // Chosen before the application object exists, so that an error is the only line printed.
    const DictionaryChoice dictionary = chooseDictionary(
        QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath(), options.language,
        [](const char *name) { return qEnvironmentVariable(name); });
    if (!dictionary.error.isEmpty())
        return reportError(dictionary.error, 2);

    // The off-screen outputs need no display at all.
    if (options.runsWithoutWindow() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QStringList restart;
    const int code = run(argc, argv, options, dictionary, &restart);
    if (restart.isEmpty())
        return code;
    return reportError(QStringLiteral("cannot restart at the new display size: ") +
                           execProgram(argv[0], restart),
                       1);
}

// Entry point: builds the main window, applies the command line and runs the message loop, or
// produces the off-screen outputs and exits.

#include "app/CommandLine.h"
#include "app/TfrmExample.h"
#include "platform/Application.h"
#include "scales/Zel_math2.h"

#include <QScreen>
#include <cstdio>

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

} // namespace

int main(int argc, char **argv)
{
    const CommandLineOptions options = parseCommandLine(argumentsOf(argc, argv));
    switch (options.action) {
    case CommandLineOptions::Action::Help:
    case CommandLineOptions::Action::Version:
        return report(stdout, options.message, 0);
    case CommandLineOptions::Action::Error:
        return report(stderr, QStringLiteral("ionograph: ") + options.message, 2);
    case CommandLineOptions::Action::Run:
        break;
    }

    // The off-screen outputs need no display at all.
    if (options.runsWithoutWindow() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    ZelApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ionograph"));
    QApplication::setApplicationVersion(QStringLiteral("1.1"));

    if (options.seed)
        seedUniformSource(*options.seed);

    TfrmExample window;
    frmExample = &window;
    if (options.noNoise)
        window.model().setNoiseEnabled(false);
    window.FormShow();
    applyTourStep(options, window);
    applySliderOptions(options, window);

    if (options.runsWithoutWindow()) {
        window.UpdateDisplay();
        QString error;
        if (!options.exportTrace.isEmpty() && !exportTraceCsv(window, options.exportTrace, &error))
            return report(stderr, QStringLiteral("ionograph: ") + error, 1);
        if (!options.snapshot.isEmpty() && !writeSnapshot(window, options.snapshot, &error))
            return report(stderr, QStringLiteral("ionograph: ") + error, 1);
        return 0;
    }

    // The window opens centred on the screen.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        window.move(screen->availableGeometry().center() - window.rect().center());
    window.show();
    return QApplication::exec();
}

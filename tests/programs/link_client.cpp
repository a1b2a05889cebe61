// A program that carries nothing but the host link component on a bare owner, so that tests can
// drive every setting of the component with a live host and read what it does on its output,
// one line per event.
//
//   link_client [--use-server] [--multi-start] [--refuse-quit] [--show KEY]...
//               [--query TEXT] [--execute PROGRAM PARAMETERS] [--wait] [--exit-after MS]
//               [--barrier FIFO]
//
// --barrier: once the component is built and set, says "waiting" and blocks until the test
// opens FIFO for writing, which releases every client waiting on it at the same instant; then
// the component's loading ends (the host check, the dictionary, the single-instance check).

#include "hostlink/WendralDemon.h"
#include "platform/RuntimeDir.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimer>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

void say(const QString &line)
{
    std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

QString valueAfter(const QStringList &arguments, const char *option, int offset = 1)
{
    const qsizetype at = arguments.indexOf(QLatin1String(option));
    return at >= 0 && at + offset < arguments.size() ? arguments[at + offset] : QString();
}

// Blocks until a writer opens the FIFO.
void waitAtBarrier(const QString &fifo)
{
    say(QStringLiteral("waiting"));
    const int fd = ::open(QFile::encodeName(fifo).constData(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0)
        ::close(fd);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("LinkClient"));
    const QStringList arguments = QCoreApplication::arguments();
    QObject owner;
    TkdbDemonClient *client = nullptr;
    try {
        client = new TkdbDemonClient(&owner);
        client->beginLoading();
        client->SetUseWendralServer(arguments.contains(QLatin1String("--use-server")));
        client->SetMultiStart(arguments.contains(QLatin1String("--multi-start")));
        const bool refuse = arguments.contains(QLatin1String("--refuse-quit"));
        client->OnQuitMsgReceived = [refuse](TkdbCustomDemon *, bool serverDown, bool &allow) {
            allow = !refuse;
            say(QStringLiteral("quit ServerDown=%1 %2")
                    .arg(int(serverDown))
                    .arg(refuse ? QStringLiteral("refused") : QStringLiteral("allowed")));
        };
        client->OnParamsChange = [](TkdbCustomDemon *sender) {
            say(QStringLiteral("params: ") + sender->Params().mid(1).join(QLatin1Char('|')));
        };
        client->OnGotAMessage = [](TkdbCustomDemon *, TQuillonMessageStream &message) {
            say(QStringLiteral("message %1: %2").arg(message.MsgCode).arg(message.Size()));
        };
        if (arguments.contains(QLatin1String("--barrier")))
            waitAtBarrier(valueAfter(arguments, "--barrier"));
        client->loaded();
    } catch (const EQuillonSecondInstance &) {
        say(QStringLiteral("second instance"));
        return 0;
    } catch (const EQuillon &error) {
        say(QStringLiteral("error: %1 (%2)")
                .arg(QString::fromLocal8Bit(error.what()), Link::lastErrorText()));
        return 1;
    }
    say(QStringLiteral("loaded %1").arg(client->Window()));
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--show") && i + 1 < arguments.size())
            say(QStringLiteral("text %1=%2")
                    .arg(arguments[i + 1], client->Engine().TranslateString(arguments[i + 1])));
    }
    if (arguments.contains(QLatin1String("--query")))
        say(QStringLiteral("reply ") + client->QueryString(valueAfter(arguments, "--query")));
    if (arguments.contains(QLatin1String("--execute"))) {
        try {
            const qint32 result = client->ExecuteProgram(
                valueAfter(arguments, "--execute"), valueAfter(arguments, "--execute", 2),
                arguments.contains(QLatin1String("--wait")), 0);
            say(QStringLiteral("executed %1").arg(result));
        } catch (const EQuillon &error) {
            say(QStringLiteral("error: %1").arg(QString::fromLocal8Bit(error.what())));
        }
    }
    const QString exitAfter = valueAfter(arguments, "--exit-after");
    if (!exitAfter.isEmpty())
        QTimer::singleShot(exitAfter.toInt(), client, [client] { delete client; });
    const int code = QCoreApplication::exec();
    say(QStringLiteral("ended"));
    return code;
}

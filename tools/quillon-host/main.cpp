// quillon-host: a stand-in for the teaching host on the host link's transport, for teachers who
// want to try the link and for the tests. It opens the server window for a suffix, answers the
// requests of linked programs, logs every message it receives, and can start a program and
// send the quit request. What it does on the transport is described in docs/host-link.md.

#include "hostlink/QuillonPayloads.h"
#include "hostlink/QuillonStream.h"
#include "hostlink/WendralConstants.h"
#include "platform/MessageWindows.h"
#include "platform/NamedMutex.h"
#include "platform/RuntimeDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

const QString clientClass = QStringLiteral("ThisIsTheQuillonClientComponentWindowClass");

const char *const usage =
    "Usage: quillon-host --suffix S [--files DIR] [--quit-after SECONDS] [--server-down]\n"
    "                    [--start PROGRAM [ARGS...]]\n"
    "\n"
    "A stand-in for the teaching host of Ionograph's host link. It opens the host's server\n"
    "window for the suffix S (a program started with /serverhandle=S links to it), answers\n"
    "the programs' requests and prints every message it receives, one line each.\n"
    "\n"
    "  --suffix S           the suffix of the server window's names (required)\n"
    "  --files DIR          serve files from DIR (dmGetFile): a relative name is looked up in\n"
    "                       DIR, an absolute one by its file name; names that lead out of DIR\n"
    "                       are refused. Without it no file is served.\n"
    "  --quit-after SECONDS send the quit request to every linked program window after\n"
    "                       SECONDS, then end\n"
    "  --server-down        the quit request says the host is going down (no stop notice)\n"
    "  --start PROGRAM ...  start PROGRAM with the remaining arguments and /serverhandle=S\n"
    "\n"
    "A line \"quit\" on the standard input sends the quit request at once, as --quit-after.\n"
    "\n"
    "Answers: dmFindApplication finds program windows by handle or by the owning program's\n"
    "title (announced or not), dmMapFileName returns the name unchanged, dmQueryString the text\n"
    "unchanged, dmGetServerValue the files folder (WendralWorkArea) or this tool's folder\n"
    "(WendralHomeDir), each ending in \"/\", and dmExecute starts the program with its\n"
    "parameters as arguments (never through a shell) and answers its process id; the exit code\n"
    "is recorded for a program that waits.\n";

struct Options
{
    QString suffix;
    QString files;
    int quitAfterSeconds = -1;
    bool serverDown = false;
    QStringList start; // program and arguments
};

bool parse(const QStringList &arguments, Options &options, QString &error)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        const auto value = [&](QString &target) {
            if (i + 1 >= arguments.size()) {
                error = a + QStringLiteral(" needs a value");
                return false;
            }
            target = arguments[++i];
            return true;
        };
        if (a == QLatin1String("--suffix")) {
            if (!value(options.suffix))
                return false;
        } else if (a == QLatin1String("--files")) {
            if (!value(options.files))
                return false;
        } else if (a == QLatin1String("--quit-after")) {
            QString text;
            bool ok = false;
            if (!value(text))
                return false;
            options.quitAfterSeconds = text.toInt(&ok);
            if (!ok || options.quitAfterSeconds < 0) {
                error =
                    QStringLiteral("--quit-after needs a number of seconds, not \"%1\"").arg(text);
                return false;
            }
        } else if (a == QLatin1String("--server-down")) {
            options.serverDown = true;
        } else if (a == QLatin1String("--start")) {
            options.start = arguments.mid(i + 1);
            if (options.start.isEmpty()) {
                error = QStringLiteral("--start needs a program");
                return false;
            }
            break;
        } else {
            error = QStringLiteral("unknown argument \"%1\"").arg(a);
            return false;
        }
    }
    if (options.suffix.isEmpty()) {
        error = QStringLiteral("--suffix is required");
        return false;
    }
    return true;
}

const char *codeName(qint32 code)
{
    static const char *const names[] = {"dmQuit",          "dmReply",           "dmClientStarted",
                                        "dmClientStopped", "dmFindApplication", "dmParams",
                                        "dmExecute",       "dmGetFile",         "dmMapFileName",
                                        "dmQueryString",   "dmGetServerValue"};
    return isQuillonMessageCode(code) ? names[code - dmQuit] : nullptr;
}

void say(const QString &line)
{
    std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

class Host
{
public:
    explicit Host(const Options &options) : m_options(options) {}

    bool open()
    {
        const QString className =
            QStringLiteral("ThisIsTheQuillonServerComponentWindowClass") + m_options.suffix;
        if (!Link::registerWindowClass(className))
            return false;
        m_window = Link::createWindow(
            className, QStringLiteral("ThisIsTheQuillonServerComponentWindow") + m_options.suffix);
        if (m_window == 0)
            return false;
        Link::setWindowProcedure(
            m_window, [this](Link::WindowHandle sender, qint32 code, const QByteArray &data) {
                receive(sender, code, data);
                return 0;
            });
        return true;
    }

    void close() { Link::destroyWindow(m_window); }

    // Sends the quit request to every program window; returns the windows it went to.
    QList<Link::WindowHandle> sendQuitToClients()
    {
        QList<Link::WindowHandle> sent;
        for (const Link::WindowInfo &window : Link::listWindows()) {
            if (window.className != clientClass)
                continue;
            TQuillonMessageStream quit;
            quit.MsgCode = dmQuit;
            WriteQuitPayload(quit, m_options.serverDown);
            quit.Stamp();
            say(QStringLiteral("sent dmQuit to %1").arg(window.handle));
            // Nobody waits for the answer: a program that does not take it is not waited for.
            Link::sendCopyData(m_window, window.handle, dmQuit, quit.CopyData(),
                               Link::NoticeTimeLimitMs);
            sent << window.handle;
        }
        return sent;
    }

    void start(const QStringList &command)
    {
        const QStringList arguments =
            command.mid(1) + QStringList{QStringLiteral("/serverhandle=") + m_options.suffix};
        startProgram(command.first(), arguments);
    }

private:
    void receive(Link::WindowHandle sender, qint32 code, const QByteArray &data)
    {
        std::unique_ptr<TQuillonMessageStream> message =
            TQuillonMessageStream::FromCopyData(nullptr, sender, code, data);
        const char *name = codeName(code);
        const QString label =
            name ? QString::fromLatin1(name) : QStringLiteral("code %1").arg(code);
        if (!message) {
            say(QStringLiteral("%1 from %2: dropped (%3 bytes)")
                    .arg(label)
                    .arg(sender)
                    .arg(data.size()));
            return;
        }
        try {
            say(QStringLiteral("%1 from %2%3").arg(label).arg(sender).arg(answer(*message)));
        } catch (const EQuillonReadError &) {
            say(QStringLiteral("%1 from %2: malformed").arg(label).arg(sender));
        }
    }

    // Handles one message; returns what the log line adds.
    QString answer(TQuillonMessageStream &message)
    {
        TQuillonMessageStream reply;
        QString note;
        switch (message.MsgCode) {
        case dmClientStarted:
        case dmClientStopped: {
            TEntity client;
            client.ReadFromStream(message);
            return QStringLiteral(": %1 (%2)").arg(client.StoredTitle(), client.StoredExeName());
        }
        case dmFindApplication: {
            const FindApplicationRequest request = ReadFindApplicationRequest(message);
            TEntity found;
            if (findApplication(request, message.Sender().WindowHandle(), found))
                WriteFindApplicationReply(reply, &found);
            note = QStringLiteral(": %1").arg(found.WindowHandle());
            break;
        }
        case dmGetFile: {
            const QString name = message.ReadString();
            const std::optional<QByteArray> file = readServedFile(name);
            WriteGetFileReply(reply, file);
            note = QStringLiteral(": %1 %2").arg(name, file ? QStringLiteral("served")
                                                            : QStringLiteral("refused"));
            break;
        }
        case dmMapFileName:
        case dmQueryString: {
            const QString text = message.ReadString();
            reply.WriteString(text);
            note = QStringLiteral(": %1").arg(text);
            break;
        }
        case dmGetServerValue: {
            const QString name = message.ReadString();
            reply.WriteString(serverValue(name));
            note = QStringLiteral(": %1").arg(name);
            break;
        }
        case dmExecute: {
            const ExecuteRequest request = ReadExecuteRequest(message);
            const qint64 pid =
                startProgram(request.program, QProcess::splitCommand(request.parameters));
            WriteExecuteReply(reply, quint32(pid));
            note = QStringLiteral(": %1 -> %2").arg(request.program).arg(pid);
            break;
        }
        case dmParams:
            note = QStringLiteral(": %1").arg(message.ReadLines().join(QLatin1Char(' ')));
            return note;
        default:
            return note;
        }
        reply.TimeStamp = message.TimeStamp;
        Link::sendCopyData(m_window, message.Sender().WindowHandle(), dmReply, reply.CopyData());
        return note;
    }

    bool findApplication(const FindApplicationRequest &request, Link::WindowHandle asker,
                         TEntity &found) const
    {
        for (const Link::WindowInfo &window : Link::listWindows()) {
            const bool match = request.selector == quint8(FindApplicationSelector::ByHandle)
                                   ? window.handle == request.handle
                                   : request.selector == quint8(FindApplicationSelector::ByTitle) &&
                                         window.className == clientClass &&
                                         window.handle != asker &&
                                         window.application == request.title;
            if (match) {
                found.SetWindowHandle(window.handle);
                found.SetExeName(window.executable);
                found.SetTitle(window.application);
                return true;
            }
        }
        return false;
    }

    std::optional<QByteArray> readServedFile(const QString &name) const
    {
        if (m_options.files.isEmpty() || name.isEmpty() || name.contains(QChar(0)))
            return std::nullopt;
        const QDir folder(m_options.files);
        const QString relative = QFileInfo(name).isAbsolute() ? QFileInfo(name).fileName() : name;
        const QString root = QFileInfo(folder.absolutePath()).canonicalFilePath();
        const QString path = QFileInfo(folder.filePath(relative)).canonicalFilePath();
        if (root.isEmpty() || path.isEmpty() || !path.startsWith(root + QLatin1Char('/')))
            return std::nullopt;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly) || file.size() > QuillonMaxPayloadSize - 1)
            return std::nullopt;
        return file.readAll();
    }

    QString serverValue(const QString &name) const
    {
        if (name == QLatin1String("WendralWorkArea") && !m_options.files.isEmpty())
            return QDir(m_options.files).absolutePath() + QLatin1Char('/');
        if (name == QLatin1String("WendralHomeDir"))
            return QCoreApplication::applicationDirPath() + QLatin1Char('/');
        return QString();
    }

    // Starts a program as a child (never through a shell) and records its exit code when it
    // ends; 0 when it does not start.
    qint64 startProgram(const QString &program, const QStringList &arguments)
    {
        auto *process = new QProcess(QCoreApplication::instance());
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->setStandardOutputFile(QProcess::nullDevice());
        process->start(program, arguments);
        if (!process->waitForStarted(10000)) {
            say(QStringLiteral("cannot start %1: %2").arg(program, process->errorString()));
            process->deleteLater();
            return 0;
        }
        const qint64 pid = process->processId();
        QObject::connect(process, &QProcess::finished, [process, pid](int exitCode) {
            Link::recordExitCode(pid, exitCode);
            process->deleteLater();
        });
        return pid;
    }

    Options m_options;
    Link::WindowHandle m_window = 0;
};

// SIGINT and SIGTERM end the event loop, so that the server window is taken down.
int signalPipe[2];

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quillon-host"));
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.contains(QLatin1String("--help")) || arguments.contains(QLatin1String("-h"))) {
        std::fputs(usage, stdout);
        return 0;
    }
    Options options;
    QString error;
    if (!parse(arguments, options, error)) {
        std::fprintf(stderr, "quillon-host: %s\n", qPrintable(error));
        return 2;
    }
    Host host(options);
    if (!host.open()) {
        std::fprintf(stderr, "quillon-host: %s\n", qPrintable(Link::lastErrorText()));
        return 1;
    }
    if (::pipe(signalPipe) == 0) {
        auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
        QObject::connect(notifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
        std::signal(SIGINT, onSignal);
        std::signal(SIGTERM, onSignal);
    }
    say(QStringLiteral("/serverhandle=") + options.suffix);
    if (!options.start.isEmpty())
        host.start(options.start);
    // After the quit request the host stays a while to hear the programs' stop notices: until
    // their windows are gone, at most five seconds.
    QTimer lingering;
    QList<Link::WindowHandle> quitting;
    int lingered = 0;
    QObject::connect(&lingering, &QTimer::timeout, &app, [&] {
        const bool anyLeft = std::any_of(quitting.begin(), quitting.end(), Link::isWindow);
        if (!anyLeft || ++lingered >= 50)
            QCoreApplication::quit();
    });
    const auto quitClients = [&] {
        if (lingering.isActive())
            return;
        quitting = host.sendQuitToClients();
        lingering.start(100);
    };
    if (options.quitAfterSeconds >= 0)
        QTimer::singleShot(options.quitAfterSeconds * 1000, &app, quitClients);
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char line[256];
        const ssize_t n = ::read(STDIN_FILENO, line, sizeof line);
        if (n <= 0)
            input.setEnabled(false); // the end of the input: nothing more will come
        else if (QByteArray(line, int(n)).trimmed() == "quit")
            quitClients();
    });
    const int code = QCoreApplication::exec();
    host.close();
    return code;
}

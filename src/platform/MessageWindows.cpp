// Message windows: classes, windows and sending. Receiving is in MessageReceiving.cpp, the
// registrations in MessageRegistrations.cpp; the contract is docs/host-link.md.

#include "platform/MessageWindows.h"

#include "platform/MessageWindowsState.h"
#include "platform/NamedMutex.h"
#include "platform/RuntimeDir.h"

#include <QFile>
#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace Link {

namespace detail {

// Lives for the whole process: the windows' notifiers must not outlive the application
// object in a static destructor.
State &state()
{
    static State *s = new State;
    return *s;
}

QString socketPathOf(const QString &folder, WindowHandle handle)
{
    return folder + QStringLiteral("/w%1.sock").arg(handle);
}

QString idPathOf(const QString &folder, WindowHandle handle)
{
    return folder + QStringLiteral("/w%1.id").arg(handle);
}

quint32 readWord(const char *bytes)
{
    quint32 value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | quint8(bytes[i]);
    return value;
}

void appendWord(QByteArray &bytes, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        bytes.append(char((value >> (8 * i)) & 0xFF));
}

int newSocket()
{
    return ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
}

namespace {

bool addressOf(const QString &path, sockaddr_un &address)
{
    const QByteArray native = QFile::encodeName(path);
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (native.size() >= qsizetype(sizeof address.sun_path)) {
        setLastErrorText(QStringLiteral("The socket path %1 is too long").arg(path));
        return false;
    }
    std::memcpy(address.sun_path, native.constData(), size_t(native.size()));
    return true;
}

} // namespace

Reach connectTo(const QString &path, int &fd)
{
    fd = -1;
    sockaddr_un address;
    if (!addressOf(path, address))
        return Reach::Unknown;
    const int socket = newSocket();
    if (socket < 0) {
        setLastErrorFromErrno(QStringLiteral("Cannot reach %1").arg(path), errno);
        return Reach::Unknown;
    }
    if (::connect(socket, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0) {
        fd = socket;
        return Reach::Answers;
    }
    const int error = errno;
    ::close(socket);
    setLastErrorFromErrno(QStringLiteral("Cannot reach %1").arg(path), error);
    switch (error) {
    case EAGAIN: // the listen backlog is full
    case EINTR:
        return Reach::Busy;
    case ENOENT:
    case ECONNREFUSED:
        return Reach::Gone;
    default:
        return Reach::Unknown;
    }
}

Reach probe(const QString &path)
{
    int fd = -1;
    const Reach reach = connectTo(path, fd);
    if (fd >= 0)
        ::close(fd);
    return reach;
}

} // namespace detail

using namespace detail;

namespace {

enum class Wait { Continue, Done, Failed };

QString seconds(int milliseconds)
{
    return QString::number(milliseconds / 1000.0);
}

// One send: connects (again while the target is busy), writes the frame and reads the answer,
// serving this process's windows meanwhile.
class Sender
{
public:
    Sender(QString path, QByteArray frame, int timeLimitMs)
        : m_path(std::move(path)), m_frame(std::move(frame)), m_limitMs(timeLimitMs)
    {
    }
    ~Sender()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Sender(const Sender &) = delete;
    Sender &operator=(const Sender &) = delete;

    qint32 run()
    {
        const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(m_limitMs);
        for (;;) {
            if (m_fd < 0 && !connect())
                return 0;
            const Clock::time_point now = Clock::now();
            if (now >= deadline) {
                setLastErrorText(
                    m_fd < 0
                        ? QStringLiteral("%1 stayed busy for %2 s").arg(m_path, seconds(m_limitMs))
                        : QStringLiteral("No answer within %1 s").arg(seconds(m_limitMs)));
                return 0;
            }
            Clock::time_point wake = deadline;
            if (m_fd < 0)
                wake = std::min(wake, now + std::chrono::milliseconds(ConnectRetryMs));
            for (const auto &c : state().incoming)
                wake = std::min(wake, c->deadline);
            const auto timeout =
                std::chrono::duration_cast<std::chrono::milliseconds>(wake - now).count();
            const Wait step = waitOnce(int(std::max<qint64>(timeout, 0)));
            if (step == Wait::Done)
                return m_result;
            if (step == Wait::Failed)
                return 0;
            dropLateConnections();
        }
    }

private:
    // False when the target is gone or cannot be reached; true when connected or busy.
    bool connect()
    {
        const Reach reach = connectTo(m_path, m_fd);
        return reach == Reach::Answers || reach == Reach::Busy;
    }

    Wait waitOnce(int timeoutMs)
    {
        std::vector<pollfd> fds;
        const bool connected = m_fd >= 0;
        const bool writing = m_written < m_frame.size();
        if (connected)
            fds.push_back({m_fd, short(writing ? POLLOUT : POLLIN), 0});
        const size_t first = fds.size();
        std::vector<WindowHandle> listening;
        if (accepting()) {
            for (const auto &[handle, window] : state().windows) {
                fds.push_back({window.listenFd, POLLIN, 0});
                listening.push_back(handle);
            }
        }
        std::vector<Incoming *> reading;
        for (const auto &c : state().incoming) {
            if (c->waiting)
                continue;
            fds.push_back({c->fd, POLLIN, 0});
            reading.push_back(c.get());
        }
        if (::poll(fds.data(), fds.size(), timeoutMs) < 0)
            return errno == EINTR ? Wait::Continue : Wait::Failed;

        if (connected && fds[0].revents != 0) {
            const Wait step = writing ? writeSome() : readAnswer();
            if (step != Wait::Continue)
                return step;
        }
        for (size_t i = 0; i < listening.size(); ++i) {
            const auto it = state().windows.find(listening[i]);
            if (fds[first + i].revents != 0 && it != state().windows.end())
                acceptConnections(it->second);
        }
        for (size_t i = 0; i < reading.size(); ++i) {
            if (fds[first + listening.size() + i].revents != 0 && isPending(reading[i]))
                readIncoming(reading[i]);
        }
        return Wait::Continue;
    }

    Wait writeSome()
    {
        const ssize_t n = ::send(m_fd, m_frame.constData() + m_written,
                                 size_t(m_frame.size() - m_written), MSG_NOSIGNAL);
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            return Wait::Continue;
        if (n < 0) {
            setLastErrorFromErrno(QStringLiteral("The message could not be sent"), errno);
            return Wait::Failed;
        }
        m_written += n;
        return Wait::Continue;
    }

    Wait readAnswer()
    {
        char bytes[4];
        const ssize_t n = ::recv(m_fd, bytes, size_t(4 - m_answer.size()), 0);
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            return Wait::Continue;
        if (n <= 0) {
            setLastErrorText(QStringLiteral("The receiver closed the connection unanswered"));
            return Wait::Failed;
        }
        m_answer.append(bytes, n);
        if (m_answer.size() < 4)
            return Wait::Continue;
        m_result = qint32(readWord(m_answer.constData()));
        return Wait::Done;
    }

    QString m_path;
    QByteArray m_frame;
    int m_limitMs;
    int m_fd = -1;
    qint64 m_written = 0;
    QByteArray m_answer;
    qint32 m_result = 0;
};

} // namespace

bool registerWindowClass(const QString &className)
{
    if (state().classes.contains(className)) {
        setLastErrorText(
            QStringLiteral("The window class %1 is already registered").arg(className));
        return false;
    }
    state().classes.insert(className);
    return true;
}

void unregisterWindowClass(const QString &className)
{
    state().classes.remove(className);
}

WindowHandle createWindow(const QString &className, const QString &title)
{
    State &s = state();
    if (!s.classes.contains(className)) {
        setLastErrorText(QStringLiteral("The window class %1 is not registered").arg(className));
        return 0;
    }
    const QString folder = runtimeDirectory();
    if (folder.isEmpty())
        return 0;
    WindowHandle handle = 0;
    do {
        s.counter = quint8(s.counter == 255 ? 1 : s.counter + 1);
        handle = (WindowHandle(::getpid()) << 8) | s.counter;
    } while (s.windows.count(handle) != 0);

    Window window;
    window.handle = handle;
    window.socketPath = socketPathOf(folder, handle);
    window.idPath = idPathOf(folder, handle);
    sockaddr_un address;
    if (!addressOf(window.socketPath, address))
        return 0;
    const QByteArray native = QFile::encodeName(window.socketPath);
    ::unlink(native.constData()); // left by an ended process that had the same number
    window.listenFd = newSocket();
    if (window.listenFd < 0 ||
        ::bind(window.listenFd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
        ::listen(window.listenFd, MaxConnections) != 0) {
        setLastErrorFromErrno(QStringLiteral("Cannot listen on %1").arg(window.socketPath), errno);
        if (window.listenFd >= 0)
            ::close(window.listenFd);
        ::unlink(native.constData());
        return 0;
    }
    if (!publish(window.idPath, handle, className, title)) {
        ::close(window.listenFd);
        ::unlink(native.constData());
        return 0;
    }
    window.notifier = new QSocketNotifier(window.listenFd, QSocketNotifier::Read);
    window.notifier->setEnabled(accepting());
    QObject::connect(window.notifier, &QSocketNotifier::activated, [handle] {
        const auto it = state().windows.find(handle);
        if (it != state().windows.end())
            acceptConnections(it->second);
    });
    s.windows.emplace(handle, std::move(window));
    return handle;
}

void destroyWindow(WindowHandle handle)
{
    State &s = state();
    const auto it = s.windows.find(handle);
    if (it == s.windows.end())
        return;
    Window &window = it->second;
    window.notifier->setEnabled(false);
    window.notifier->disconnect();
    window.notifier->deleteLater();
    ::close(window.listenFd);
    QFile::remove(window.idPath);
    ::unlink(QFile::encodeName(window.socketPath).constData());
    s.windows.erase(it);
    closeConnectionsOf(handle);
}

bool setWindowProcedure(WindowHandle handle, WindowProcedure procedure)
{
    const auto it = state().windows.find(handle);
    if (it == state().windows.end())
        return false;
    it->second.procedure = std::move(procedure);
    return true;
}

bool isWindow(WindowHandle handle)
{
    if (handle == 0)
        return false;
    if (state().windows.count(handle) != 0)
        return true;
    const QString folder = runtimeDirectory();
    if (folder.isEmpty() || !processExists(qint64(handle >> 8)))
        return false;
    const Reach reach = probe(socketPathOf(folder, handle));
    return reach == Reach::Answers || reach == Reach::Busy;
}

qint32 sendCopyData(WindowHandle from, WindowHandle to, qint32 dataWord, const QByteArray &data,
                    int timeLimitMs)
{
    if (data.size() > MaxMessageBytes) {
        setLastErrorText(QStringLiteral("A message of %1 bytes is too large").arg(data.size()));
        return 0;
    }
    if (state().windows.count(to) != 0)
        return callProcedure(to, from, dataWord, data);
    const QString folder = runtimeDirectory();
    if (to == 0 || folder.isEmpty())
        return 0;
    QByteArray frame;
    frame.reserve(FrameHeaderBytes + data.size());
    appendWord(frame, from);
    appendWord(frame, quint32(dataWord));
    appendWord(frame, quint32(data.size()));
    frame.append(data);
    return Sender(socketPathOf(folder, to), std::move(frame), timeLimitMs).run();
}

} // namespace Link

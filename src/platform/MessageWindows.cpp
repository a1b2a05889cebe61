#include "platform/MessageWindows.h"

#include "platform/NamedMutex.h"
#include "platform/RuntimeDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSet>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <map>
#include <memory>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

namespace Link {

namespace {

using Clock = std::chrono::steady_clock;
constexpr int FrameHeaderBytes = 12;

// An accepted connection whose frame is being read.
struct Incoming
{
    int fd = -1;
    WindowHandle window = 0;
    QByteArray buffer;
    Clock::time_point deadline;
    QSocketNotifier *notifier = nullptr;
    QTimer *timer = nullptr;
};

struct Window
{
    WindowHandle handle = 0;
    QString socketPath;
    QString idPath;
    WindowProcedure procedure;
    int listenFd = -1;
    QSocketNotifier *notifier = nullptr;
};

struct State
{
    QSet<QString> classes;
    std::map<WindowHandle, Window> windows;
    std::vector<std::unique_ptr<Incoming>> incoming;
    quint8 counter = 0;
};

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

int newSocket()
{
    return ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
}

// A connection to a window's socket, or -1 (the last error says why).
int connectTo(const QString &path)
{
    sockaddr_un address;
    if (!addressOf(path, address))
        return -1;
    const int fd = newSocket();
    if (fd < 0 || ::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
        setLastErrorFromErrno(QStringLiteral("Cannot reach %1").arg(path), errno);
        if (fd >= 0)
            ::close(fd);
        return -1;
    }
    return fd;
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

bool sameUser(int fd)
{
    ucred credentials{};
    socklen_t size = sizeof credentials;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &size) == 0 &&
           credentials.uid == ::getuid();
}

// ---- receiving ---------------------------------------------------------------------------------

void readIncoming(Incoming *connection);

// Forgets a connection: its notifier and timer go once the event that runs now has returned.
std::unique_ptr<Incoming> takeIncoming(Incoming *connection)
{
    auto &list = state().incoming;
    const auto it = std::find_if(list.begin(), list.end(),
                                 [connection](const auto &c) { return c.get() == connection; });
    if (it == list.end())
        return nullptr;
    std::unique_ptr<Incoming> taken = std::move(*it);
    list.erase(it);
    for (QObject *object :
         {static_cast<QObject *>(taken->notifier), static_cast<QObject *>(taken->timer)}) {
        object->disconnect();
        object->deleteLater();
    }
    taken->notifier->setEnabled(false);
    taken->timer->stop();
    return taken;
}

void closeIncoming(Incoming *connection)
{
    if (std::unique_ptr<Incoming> taken = takeIncoming(connection))
        ::close(taken->fd);
}

void acceptConnections(Window &window)
{
    for (;;) {
        const int fd = ::accept4(window.listenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0)
            return;
        if (!sameUser(fd)) {
            ::close(fd);
            continue;
        }
        auto connection = std::make_unique<Incoming>();
        Incoming *raw = connection.get();
        raw->fd = fd;
        raw->window = window.handle;
        raw->deadline = Clock::now() + std::chrono::milliseconds(ReadTimeLimitMs);
        raw->notifier = new QSocketNotifier(fd, QSocketNotifier::Read);
        QObject::connect(raw->notifier, &QSocketNotifier::activated, [raw] { readIncoming(raw); });
        raw->timer = new QTimer;
        raw->timer->setSingleShot(true);
        QObject::connect(raw->timer, &QTimer::timeout, [raw] { closeIncoming(raw); });
        raw->timer->start(ReadTimeLimitMs);
        state().incoming.push_back(std::move(connection));
    }
}

qint32 callProcedure(WindowHandle window, WindowHandle sender, qint32 word, const QByteArray &data)
{
    auto &windows = state().windows;
    const auto it = windows.find(window);
    if (it == windows.end() || !it->second.procedure)
        return 0;
    // A copy: the procedure may replace itself or destroy its window.
    const WindowProcedure procedure = it->second.procedure;
    return procedure(sender, word, data);
}

// Reads what has arrived; a complete frame is handed to the window's procedure and answered.
void readIncoming(Incoming *connection)
{
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::recv(connection->fd, chunk, sizeof chunk, 0);
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR))
            return closeIncoming(connection); // closed before the frame was whole
        if (n < 0)
            break;
        connection->buffer.append(chunk, n);
        if (connection->buffer.size() > FrameHeaderBytes + MaxMessageBytes)
            return closeIncoming(connection);
    }
    const QByteArray &buffer = connection->buffer;
    if (buffer.size() < FrameHeaderBytes)
        return;
    const quint32 count = readWord(buffer.constData() + 8);
    if (count > MaxMessageBytes)
        return closeIncoming(connection);
    if (buffer.size() < FrameHeaderBytes + qint64(count))
        return;
    std::unique_ptr<Incoming> frame = takeIncoming(connection);
    const qint32 result = callProcedure(frame->window, readWord(frame->buffer.constData()),
                                        qint32(readWord(frame->buffer.constData() + 4)),
                                        frame->buffer.mid(FrameHeaderBytes, qsizetype(count)));
    QByteArray answer;
    appendWord(answer, quint32(result));
    // Four bytes always fit an empty socket buffer; a peer that has gone simply misses them.
    [[maybe_unused]] const ssize_t sent =
        ::send(frame->fd, answer.constData(), size_t(answer.size()), MSG_NOSIGNAL);
    ::close(frame->fd);
}

// ---- registrations -----------------------------------------------------------------------------

QByteArray field(const char *key, const QString &value)
{
    return QByteArray(key) + '=' + value.toUtf8().toPercentEncoding() + '\n';
}

bool publish(const QString &path, WindowHandle handle, const QString &className,
             const QString &title)
{
    QSaveFile file(path);
    QByteArray text = field("class", className) + field("title", title) +
                      field("application", QCoreApplication::applicationName()) +
                      field("executable", QCoreApplication::applicationFilePath()) +
                      field("pid", QString::number(::getpid())) +
                      field("handle", QString::number(handle));
    if (file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit())
        return true;
    setLastErrorText(QStringLiteral("Cannot publish %1: %2").arg(path, file.errorString()));
    return false;
}

WindowInfo readRegistration(const QString &path)
{
    WindowInfo info;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return info;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const qsizetype eq = line.indexOf('=');
        if (eq < 0)
            continue;
        const QByteArray key = line.left(eq);
        const QString value = QString::fromUtf8(QByteArray::fromPercentEncoding(line.mid(eq + 1)));
        if (key == "class")
            info.className = value;
        else if (key == "title")
            info.title = value;
        else if (key == "application")
            info.application = value;
        else if (key == "executable")
            info.executable = value;
        else if (key == "pid")
            info.processId = value.toLongLong();
        else if (key == "handle")
            info.handle = value.toUInt();
    }
    return info;
}

bool answers(const QString &folder, WindowHandle handle)
{
    const int fd = connectTo(socketPathOf(folder, handle));
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

// ---- sending -----------------------------------------------------------------------------------

enum class Wait { Continue, Done, Failed };

// One step of a send: serves this process's windows and moves the message on.
class Sender
{
public:
    Sender(int fd, QByteArray frame) : m_fd(fd), m_frame(std::move(frame)) {}
    ~Sender() { ::close(m_fd); }

    qint32 run()
    {
        const Clock::time_point deadline =
            Clock::now() + std::chrono::milliseconds(SendTimeLimitMs);
        for (;;) {
            const Clock::time_point now = Clock::now();
            if (now >= deadline) {
                setLastErrorText(
                    QStringLiteral("No answer within %1 s").arg(SendTimeLimitMs / 1000));
                return 0;
            }
            Clock::time_point wake = deadline;
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
    Wait waitOnce(int timeoutMs)
    {
        std::vector<pollfd> fds;
        const bool writing = m_written < m_frame.size();
        fds.push_back({m_fd, short(writing ? POLLOUT : POLLIN), 0});
        std::vector<WindowHandle> listening;
        for (const auto &[handle, window] : state().windows) {
            fds.push_back({window.listenFd, POLLIN, 0});
            listening.push_back(handle);
        }
        std::vector<Incoming *> reading;
        for (const auto &c : state().incoming) {
            fds.push_back({c->fd, POLLIN, 0});
            reading.push_back(c.get());
        }
        if (::poll(fds.data(), fds.size(), timeoutMs) < 0)
            return errno == EINTR ? Wait::Continue : Wait::Failed;

        if (fds[0].revents != 0) {
            const Wait step = writing ? writeSome() : readAnswer();
            if (step != Wait::Continue)
                return step;
        }
        for (size_t i = 0; i < listening.size(); ++i) {
            const auto it = state().windows.find(listening[i]);
            if (fds[1 + i].revents != 0 && it != state().windows.end())
                acceptConnections(it->second);
        }
        for (size_t i = 0; i < reading.size(); ++i) {
            if (fds[1 + listening.size() + i].revents != 0 && isPending(reading[i]))
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

    static bool isPending(Incoming *connection)
    {
        const auto &list = state().incoming;
        return std::any_of(list.begin(), list.end(),
                           [connection](const auto &c) { return c.get() == connection; });
    }

    static void dropLateConnections()
    {
        const Clock::time_point now = Clock::now();
        std::vector<Incoming *> late;
        for (const auto &c : state().incoming)
            if (c->deadline <= now)
                late.push_back(c.get());
        for (Incoming *connection : late)
            closeIncoming(connection);
    }

    int m_fd;
    QByteArray m_frame;
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
        ::listen(window.listenFd, 64) != 0) {
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
    std::vector<Incoming *> orphans;
    for (const auto &c : s.incoming)
        if (c->window == handle)
            orphans.push_back(c.get());
    for (Incoming *connection : orphans)
        closeIncoming(connection);
}

bool setWindowProcedure(WindowHandle handle, WindowProcedure procedure)
{
    const auto it = state().windows.find(handle);
    if (it == state().windows.end())
        return false;
    it->second.procedure = std::move(procedure);
    return true;
}

QList<WindowInfo> listWindows()
{
    QList<WindowInfo> live;
    const QString folder = runtimeDirectory();
    if (folder.isEmpty())
        return live;
    const QStringList names = QDir(folder).entryList({QStringLiteral("w*.id")}, QDir::Files);
    for (const QString &name : names) {
        const QString path = folder + QLatin1Char('/') + name;
        WindowInfo info = readRegistration(path);
        if (info.handle == 0 || name != QStringLiteral("w%1.id").arg(info.handle))
            continue; // half a file of another version, or a stray name: not a window of ours
        if (state().windows.count(info.handle) != 0 ||
            (processExists(info.processId) && answers(folder, info.handle))) {
            live.append(info);
            continue;
        }
        QFile::remove(path);
        ::unlink(QFile::encodeName(socketPathOf(folder, info.handle)).constData());
    }
    return live;
}

WindowHandle findWindow(const QString &className, const QString &title)
{
    for (const WindowInfo &info : listWindows()) {
        if (info.className == className && info.title == title)
            return info.handle;
    }
    return 0;
}

bool isWindow(WindowHandle handle)
{
    if (handle == 0)
        return false;
    if (state().windows.count(handle) != 0)
        return true;
    const QString folder = runtimeDirectory();
    return !folder.isEmpty() && processExists(qint64(handle >> 8)) && answers(folder, handle);
}

qint32 sendCopyData(WindowHandle from, WindowHandle to, qint32 dataWord, const QByteArray &data)
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
    const int fd = connectTo(socketPathOf(folder, to));
    if (fd < 0)
        return 0;
    QByteArray frame;
    frame.reserve(FrameHeaderBytes + data.size());
    appendWord(frame, from);
    appendWord(frame, quint32(dataWord));
    appendWord(frame, quint32(data.size()));
    frame.append(data);
    return Sender(fd, std::move(frame)).run();
}

} // namespace Link

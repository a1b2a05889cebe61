// Receiving on message windows: accepting connections, reading one frame from each within the
// time and memory limits, handing it to the window's procedure and answering its result.

#include "platform/MessageWindowsState.h"

#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <sys/socket.h>
#include <unistd.h>

namespace Link::detail {

namespace {

bool sameUser(int fd)
{
    ucred credentials{};
    socklen_t size = sizeof credentials;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &size) == 0 &&
           credentials.uid == ::getuid();
}

void setListening(bool on)
{
    for (auto &[handle, window] : state().windows)
        window.notifier->setEnabled(on);
}

// The frame's bytes may be read once its whole size fits the budget; small frames need no
// room, as at most MaxConnections of them are held.
bool admit(Incoming &connection, quint32 count)
{
    const qint64 need = count > SmallFrameBytes ? qint64(count) : 0;
    if (state().chargedBytes + need > MaxBufferedBytes)
        return false;
    state().chargedBytes += need;
    connection.charged = need;
    connection.admitted = true;
    connection.body.reserve(qsizetype(count));
    return true;
}

// Connections that waited for room go on, oldest first, while it lasts.
void resumeWaiting()
{
    for (const auto &c : state().incoming) {
        if (c->waiting && admit(*c, readWord(c->header + 8))) {
            c->waiting = false;
            c->notifier->setEnabled(true);
        }
    }
}

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
    setListening(true);
    return taken;
}

// Gives back a taken connection's room in the budget and its descriptor.
void release(std::unique_ptr<Incoming> taken)
{
    state().chargedBytes -= taken->charged;
    ::close(taken->fd);
    taken.reset();
    resumeWaiting();
}

void closeIncoming(Incoming *connection)
{
    if (std::unique_ptr<Incoming> taken = takeIncoming(connection))
        release(std::move(taken));
}

void dispatch(Incoming *connection)
{
    std::unique_ptr<Incoming> frame = takeIncoming(connection);
    const qint32 result = callProcedure(frame->window, readWord(frame->header),
                                        qint32(readWord(frame->header + 4)), frame->body);
    QByteArray answer;
    appendWord(answer, quint32(result));
    // Four bytes always fit an empty socket buffer; a peer that has gone simply misses them.
    [[maybe_unused]] const ssize_t sent =
        ::send(frame->fd, answer.constData(), size_t(answer.size()), MSG_NOSIGNAL);
    release(std::move(frame));
}

// Up to count bytes into target: how many came, or one of these.
constexpr qint64 ReceiveLater = -1;  // nothing there now
constexpr qint64 ReceiveClosed = -2; // the peer closed, or the connection failed
qint64 receiveSome(int fd, char *target, qint64 count)
{
    for (;;) {
        const ssize_t n = ::recv(fd, target, size_t(count), 0);
        if (n > 0)
            return n;
        if (n < 0 && errno == EINTR)
            continue;
        return n < 0 && errno == EAGAIN ? ReceiveLater : ReceiveClosed;
    }
}

} // namespace

bool accepting()
{
    return state().incoming.size() < size_t(MaxConnections);
}

void acceptConnections(Window &window)
{
    while (accepting()) {
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
    // The rest wait in the listen backlog until a connection is done.
    if (!accepting())
        setListening(false);
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

void readIncoming(Incoming *connection)
{
    // Exactly one frame: the header, then as many bytes as it counts; nothing beyond.
    for (;;) {
        if (connection->headerBytes < FrameHeaderBytes) {
            const qint64 n =
                receiveSome(connection->fd, connection->header + connection->headerBytes,
                            FrameHeaderBytes - connection->headerBytes);
            if (n == ReceiveLater)
                return;
            if (n == ReceiveClosed)
                return closeIncoming(connection); // closed before the frame was whole
            connection->headerBytes += int(n);
            continue;
        }
        const quint32 count = readWord(connection->header + 8);
        if (!connection->admitted) {
            if (count > MaxMessageBytes)
                return closeIncoming(connection);
            if (!admit(*connection, count)) {
                connection->waiting = true;
                connection->notifier->setEnabled(false);
                return;
            }
        }
        QByteArray &body = connection->body;
        const qint64 have = body.size();
        if (have == qint64(count))
            return dispatch(connection);
        const qint64 wanted = std::min<qint64>(qint64(count) - have, 65536);
        body.resize(qsizetype(have + wanted));
        const qint64 n = receiveSome(connection->fd, body.data() + have, wanted);
        body.resize(qsizetype(have + std::max<qint64>(n, 0)));
        if (n == ReceiveLater)
            return;
        if (n == ReceiveClosed)
            return closeIncoming(connection);
    }
}

bool isPending(const Incoming *connection)
{
    const auto &list = state().incoming;
    return std::any_of(list.begin(), list.end(),
                       [connection](const auto &c) { return c.get() == connection; });
}

void dropLateConnections()
{
    const Clock::time_point now = Clock::now();
    std::vector<Incoming *> late;
    for (const auto &c : state().incoming)
        if (c->deadline <= now)
            late.push_back(c.get());
    for (Incoming *connection : late)
        closeIncoming(connection);
}

void closeConnectionsOf(WindowHandle window)
{
    std::vector<Incoming *> orphans;
    for (const auto &c : state().incoming)
        if (c->window == window)
            orphans.push_back(c.get());
    for (Incoming *connection : orphans)
        closeIncoming(connection);
}

} // namespace Link::detail

// The program beside a host that hangs up in the middle of a message or never answers, beside
// a peer that sends nearly whole frames on many connections, and beside a registry file that
// is no INI text: it goes on, holds little memory, and ends normally and soon when asked to.

#include "hostlink/QuillonPayloads.h"
#include "link_processes.h"
#include "platform/RuntimeDir.h"

#include <QElapsedTimer>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// A host's server window whose socket takes every connection and reads the first few bytes of
// the frame, then either hangs up or keeps the connection open and says nothing: the sender
// never gets its answer. hangUps counts the messages begun.
class BadHost
{
public:
    enum Behaviour { HangsUp, StaysSilent };

    BadHost(const LinkWorld &world, const QString &suffix, Behaviour behaviour)
        : m_in(world), m_behaviour(behaviour),
          m_class(QStringLiteral("ThisIsTheQuillonServerComponentWindowClass") + suffix)
    {
        Link::registerWindowClass(m_class);
        m_window = Link::createWindow(
            m_class, QStringLiteral("ThisIsTheQuillonServerComponentWindow") + suffix);
        // The registration stays; its socket is replaced by one served by the thread.
        const QString path = windowSocket(world, m_window);
        ::unlink(QFile::encodeName(path).constData());
        const sockaddr_un address = socketAddress(path);
        m_fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        m_listening =
            ::bind(m_fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0 &&
            ::listen(m_fd, 8) == 0;
        m_thread = std::thread([this] { serve(); });
    }
    ~BadHost()
    {
        m_stop = true;
        m_thread.join();
        for (const int connection : m_silent)
            ::close(connection);
        ::close(m_fd);
        Link::destroyWindow(m_window);
        Link::unregisterWindowClass(m_class);
    }
    bool listening() const { return m_window != 0 && m_listening; }
    int hangUps() const { return m_hangUps; }

private:
    void serve()
    {
        while (!m_stop) {
            pollfd p{m_fd, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0)
                continue;
            const int connection = ::accept(m_fd, nullptr, nullptr);
            if (connection < 0)
                continue;
            // Half of the frame's header, then nothing more. A connection that sends nothing
            // only asked whether the window is there.
            char header[6];
            pollfd c{connection, POLLIN, 0};
            const bool begun =
                ::poll(&c, 1, 5000) > 0 && ::recv(connection, header, sizeof header, 0) > 0;
            if (m_behaviour == StaysSilent)
                m_silent.push_back(connection);
            else
                ::close(connection);
            m_hangUps += begun;
        }
    }

    const InWorld m_in;
    Behaviour m_behaviour;
    std::vector<int> m_silent; // the serving thread's
    QString m_class;
    Link::WindowHandle m_window = 0;
    int m_fd = -1;
    bool m_listening = false;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_hangUps{0};
    std::thread m_thread;
};

QByteArray quitMessage()
{
    return QByteArray(8, '\0') + QByteArray(1, '\0'); // time stamp, ServerDown = 0
}

// The resident memory of a process in KiB, from /proc; -1 when it cannot be read.
qint64 residentKiB(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

// The window named on a link client's "loaded <handle>" line.
Link::WindowHandle loadedWindow(Child &client)
{
    if (!client.waitForLine("loaded "))
        return 0;
    const QString rest = client.output().mid(client.output().indexOf("loaded ") + 7);
    return rest.section(QLatin1Char('\n'), 0, 0).trimmed().toUInt();
}

} // namespace

TEST(BadPeers, AHostThatHangsUpMidMessageLeavesTheProgramRunning)
{
    LinkWorld world;
    BadHost host(world, QStringLiteral("h1"), BadHost::HangsUp);
    ASSERT_TRUE(host.listening());
    Child program(world, "IONOGRAPH_BINARY", {"/serverhandle=h1"});
    const QList<Link::WindowHandle> windows = clientWindows(world, 1);
    ASSERT_EQ(windows.size(), 1);

    // A second start asks the host for the first program, which hangs up on the question:
    // the second start still ends as a second start, and the first goes on.
    Child second(world, "IONOGRAPH_BINARY", {"/serverhandle=h1", "lesson.qln"});
    EXPECT_EQ(second.waitForEnd(), 0) << second.errors().toStdString();
    EXPECT_GE(host.hangUps(), 1) << "the host was never asked";
    EXPECT_TRUE(program.running()) << program.errors().toStdString();

    // Asked to quit, the program tells the host that it stopped (the host hangs up on that,
    // too) and ends normally.
    const int before = host.hangUps();
    {
        const InWorld in(world);
        Link::sendCopyData(0, windows.first(), dmQuit, quitMessage());
    }
    EXPECT_EQ(program.waitForEnd(), 0) << program.errors().toStdString();
    EXPECT_GT(host.hangUps(), before) << "the stop notice did not reach the host";
}

TEST(BadPeers, ARegistryFileThatIsNoIniLeavesTheCommandLinesHost)
{
    LinkWorld world;
    QFile registry(world.registry);
    ASSERT_TRUE(registry.open(QIODevice::WriteOnly));
    QByteArray garbage;
    for (int i = 0; i < 65536; ++i)
        garbage.append(char((i * 40503u) >> 7));
    registry.write(garbage);
    registry.close();

    Child host(world, "QUILLON_HOST_BINARY", {"--suffix", "r1"});
    ASSERT_TRUE(host.waitForLine("/serverhandle="));
    Child program(world, "IONOGRAPH_BINARY", {"/serverhandle=r1"});
    ASSERT_EQ(clientWindows(world, 1).size(), 1) << program.errors().toStdString();
    host.process().write("quit\n");
    host.process().waitForBytesWritten();
    EXPECT_EQ(program.waitForEnd(), 0) << program.errors().toStdString();
    EXPECT_EQ(host.waitForEnd(), 0);
    EXPECT_TRUE(host.output().contains("dmClientStopped from")) << host.output().toStdString();
}

TEST(BadPeers, AHostThatNeverAnswersHoldsNoStartOrEndLong)
{
    LinkWorld world;
    BadHost host(world, QStringLiteral("s5"), BadHost::StaysSilent);
    ASSERT_TRUE(host.listening());
    Child first(world, "LINK_CLIENT_BINARY", {"/serverhandle=s5"});
    const Link::WindowHandle window = loadedWindow(first);
    ASSERT_NE(window, 0u);

    // The second start asks the host for the first (unanswered), then tells it that it stops
    // (unanswered): two short waits, not two of the 30 s that requests may take.
    QElapsedTimer clock;
    clock.start();
    Child second(world, "LINK_CLIENT_BINARY", {"/serverhandle=s5", "x"});
    EXPECT_EQ(second.waitForEnd(40000), 0);
    EXPECT_TRUE(second.output().contains("second instance"));
    EXPECT_LT(clock.elapsed(), 20000) << "a second start ends within 20 s, not 60";
    EXPECT_GE(host.hangUps(), 2);

    clock.restart();
    {
        const InWorld in(world);
        Link::sendCopyData(0, window, dmQuit, quitMessage());
    }
    EXPECT_EQ(first.waitForEnd(40000), 0);
    EXPECT_LT(clock.elapsed(), 15000) << "a quit request ends the program within 15 s, not 30";
}

TEST(BadPeers, NearlyWholeFramesOnManyConnectionsHoldLittleMemory)
{
    LinkWorld world;
    // The address checker keeps freed memory in quarantine, which is not what is measured here.
    world.set[QStringLiteral("ASAN_OPTIONS")] =
        qEnvironmentVariable("ASAN_OPTIONS") + QStringLiteral(":quarantine_size_mb=0");
    Child client(world, "LINK_CLIENT_BINARY", {});
    const Link::WindowHandle window = loadedWindow(client);
    ASSERT_NE(window, 0u);
    const qint64 pid = client.process().processId();
    const qint64 before = residentKiB(pid);
    ASSERT_GT(before, 0);

    // 40 peers each send a frame of the largest size but its last byte, as fast as the
    // program takes them, until it closes the connections.
    QByteArray frame;
    for (const quint32 word : {0u, 5000u, quint32(Link::MaxMessageBytes)})
        for (int i = 0; i < 4; ++i)
            frame.append(char((word >> (8 * i)) & 0xFF));
    frame.append(QByteArray(Link::MaxMessageBytes - 1, 'x'));
    std::vector<int> fds;
    std::vector<qint64> sent;
    for (int i = 0; i < 40; ++i) {
        fds.push_back(connectRaw(windowSocket(world, window), SOCK_NONBLOCK));
        EXPECT_GE(fds.back(), 0);
        sent.push_back(0);
    }
    qint64 peak = before;
    QElapsedTimer clock;
    clock.start();
    for (bool open = true; open && clock.elapsed() < 30000;) {
        open = false;
        for (size_t i = 0; i < fds.size(); ++i) {
            if (fds[i] < 0 || sent[i] == frame.size())
                continue;
            const ssize_t n = ::send(fds[i], frame.constData() + sent[i],
                                     size_t(frame.size() - sent[i]), MSG_NOSIGNAL);
            if (n > 0)
                sent[i] += n;
            if (n < 0 && errno != EAGAIN) {
                ::close(fds[i]);
                fds[i] = -1;
            }
            open = open || fds[i] >= 0;
        }
        peak = std::max(peak, residentKiB(pid));
        ::poll(nullptr, 0, 5);
    }
    for (const int fd : fds)
        if (fd >= 0)
            ::close(fd);
    EXPECT_LT(peak - before, 3 * Link::MaxBufferedBytes / 1024)
        << "resident memory grew from " << before << " KiB to " << peak << " KiB";

    {
        const InWorld in(world);
        Link::setLastErrorText(QString());
        Link::sendCopyData(0, window, 5000, QByteArray(8, '\0'));
        EXPECT_EQ(Link::lastErrorText(), QString()) << "answered after the flood";
        Link::sendCopyData(0, window, dmQuit, quitMessage());
    }
    EXPECT_EQ(client.waitForEnd(), 0);
}

// The program beside a host that hangs up in the middle of a message, and beside a registry
// file that is no INI text: it goes on, and ends normally when asked to.

#include "hostlink/QuillonPayloads.h"
#include "link_processes.h"

#include <atomic>
#include <cstring>
#include <thread>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// A host's server window whose socket takes every connection, reads the first few bytes of
// the frame and closes: the sender never gets its answer. hangUps counts the messages begun.
class HangingUpHost
{
public:
    HangingUpHost(const LinkWorld &world, const QString &suffix)
        : m_in(world),
          m_class(QStringLiteral("ThisIsTheQuillonServerComponentWindowClass") + suffix)
    {
        Link::registerWindowClass(m_class);
        m_window = Link::createWindow(
            m_class, QStringLiteral("ThisIsTheQuillonServerComponentWindow") + suffix);
        // The registration stays; its socket is replaced by one that hangs up.
        const QByteArray path =
            QFile::encodeName(world.runtime + QStringLiteral("/quillon/w%1.sock").arg(m_window));
        ::unlink(path.constData());
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
        m_fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        m_listening = ::bind(m_fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 &&
                      ::listen(m_fd, 8) == 0;
        m_thread = std::thread([this] { serve(); });
    }
    ~HangingUpHost()
    {
        m_stop = true;
        m_thread.join();
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
            ::close(connection);
            m_hangUps += begun;
        }
    }

    const InWorld m_in;
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

} // namespace

TEST(BadPeers, AHostThatHangsUpMidMessageLeavesTheProgramRunning)
{
    LinkWorld world;
    HangingUpHost host(world, QStringLiteral("h1"));
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

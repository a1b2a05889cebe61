// The host link when things happen at once: simultaneous starts, a host whose backlog is full.

#include "hostlink/QuillonPayloads.h"
#include "link_processes.h"
#include "platform/MessageWindows.h"

#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <vector>

namespace {

// Children started with "--barrier FIFO" wait until this opens the FIFO for writing, which
// releases all of them at once. It stays open while the barrier lives, so that a child that
// said "waiting" a moment before it opened the FIFO is not left behind.
struct Barrier
{
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("barrier"));
    bool made = ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
    int fd = -1;
    ~Barrier() { ::close(fd); }
    void open()
    {
        QThread::msleep(200); // the children that said "waiting" are now inside open()
        fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CLOEXEC);
    }
};

// Non-blocking connections to a socket until its listen backlog is full.
std::vector<int> fillBacklog(const QString &socketPath)
{
    std::vector<int> connections;
    for (int fd = connectRaw(socketPath, SOCK_NONBLOCK); fd >= 0 && connections.size() < 100000;
         fd = connectRaw(socketPath, SOCK_NONBLOCK))
        connections.push_back(fd);
    return connections;
}

} // namespace

TEST(LinkRaces, OfSimultaneousStartsExactlyOneRuns)
{
    // Rounds of starts in one link folder, all released at the same instant, just before the
    // single-instance check: one runs, every other ends as a second instance.
    constexpr int rounds = 6;
    constexpr int starts = 12;
    int extraRunners = 0;
    int roundsWithoutRunner = 0;
    for (int round = 0; round < rounds; ++round) {
        LinkWorld world;
        Barrier barrier;
        ASSERT_TRUE(barrier.made);
        std::vector<std::unique_ptr<Child>> children;
        for (int i = 0; i < starts; ++i)
            children.push_back(std::make_unique<Child>(world, "LINK_CLIENT_BINARY",
                                                       QStringList{"--barrier", barrier.path}));
        for (const auto &child : children)
            ASSERT_TRUE(child->waitForLine("waiting"));
        barrier.open();
        int running = 0;
        for (const auto &child : children) {
            if (child->waitForLine("loaded")) {
                ++running;
                continue;
            }
            EXPECT_EQ(child->waitForEnd(), 0);
            EXPECT_TRUE(child->output().contains("second instance"))
                << child->output().toStdString() << child->errors().toStdString();
        }
        extraRunners += std::max(running - 1, 0);
        roundsWithoutRunner += running == 0;
    }
    EXPECT_EQ(extraRunners, 0) << "starts that ran beside another, in " << rounds << " rounds";
    EXPECT_EQ(roundsWithoutRunner, 0);
}

TEST(LinkRaces, AStartThatCannotTakeTheMutexIsTheSecondInstance)
{
    // The instant of the race held still: another process has the mutex's file locked, as
    // a starting instance's probe would. Whoever cannot take the mutex does not run.
    LinkWorld world;
    const QString folder = world.runtime + QStringLiteral("/quillon");
    ASSERT_EQ(::mkdir(QFile::encodeName(folder).constData(), 0700), 0);
    const int lock = ::open(QFile::encodeName(folder + QStringLiteral("/QL_link_client.lock")),
                            O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_GE(lock, 0);
    ASSERT_EQ(::flock(lock, LOCK_SH | LOCK_NB), 0);
    Child blocked(world, "LINK_CLIENT_BINARY", {});
    EXPECT_EQ(blocked.waitForEnd(), 0);
    EXPECT_TRUE(blocked.output().contains("second instance")) << blocked.output().toStdString();
    ::close(lock);
    Child first(world, "LINK_CLIENT_BINARY", {});
    EXPECT_TRUE(first.waitForLine("loaded"));
}

TEST(LinkRaces, AHostWhoseBacklogIsFullIsBusyNotDead)
{
    LinkWorld world;
    const InWorld in(world);
    const QString suffix = QStringLiteral("b1");
    const QString serverClass =
        QStringLiteral("ThisIsTheQuillonServerComponentWindowClass") + suffix;
    ASSERT_TRUE(Link::registerWindowClass(serverClass));
    const Link::WindowHandle server = Link::createWindow(
        serverClass, QStringLiteral("ThisIsTheQuillonServerComponentWindow") + suffix);
    ASSERT_NE(server, 0u);
    int started = 0;
    Link::setWindowProcedure(server, [&](Link::WindowHandle, qint32 code, const QByteArray &) {
        started += code == dmClientStarted;
        return 0;
    });
    // Until this process serves its window again, nobody takes the connections from its
    // backlog: the client finds the host and talks to it while the backlog is full.
    const QString base = world.runtime + QStringLiteral("/quillon/w%1").arg(server);
    std::vector<int> filling = fillBacklog(base + QStringLiteral(".sock"));
    ASSERT_FALSE(filling.empty());
    Barrier barrier;
    Child client(world, "LINK_CLIENT_BINARY",
                 {"/serverhandle=b1", "--use-server", "--multi-start", "--barrier", barrier.path});
    client.setServing(false);
    ASSERT_TRUE(client.waitForLine("waiting")); // the host has been looked up
    EXPECT_TRUE(QFile::exists(base + QStringLiteral(".id"))) << "a busy host's entry was removed";
    EXPECT_TRUE(QFile::exists(base + QStringLiteral(".sock")));
    barrier.open();
    QThread::msleep(500); // the client's first message meets the full backlog
    for (const int fd : filling)
        ::close(fd);
    client.setServing(true);
    EXPECT_TRUE(client.waitForLine("loaded")) << client.output().toStdString();
    EXPECT_EQ(started, 1);
    Link::destroyWindow(server);
    Link::unregisterWindowClass(serverClass);
}

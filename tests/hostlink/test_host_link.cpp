// The host link between processes: the program and the link client with a live stand-in host,
// single instance, quit requests, untrusted frames and a refused link folder.

#include "hostlink/QuillonPayloads.h"
#include "link_processes.h"
#include "platform/MessageWindows.h"
#include "platform/RuntimeDir.h"

#include <QDir>
#include <QFile>
#include <QThread>

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

void sendQuit(Child &host)
{
    host.process().write("quit\n");
    host.process().waitForBytesWritten();
}

// A connection to a window's socket, made without the link's own sending.
int connectRaw(const LinkWorld &world, Link::WindowHandle window)
{
    const QByteArray path =
        QFile::encodeName(world.runtime + QStringLiteral("/quillon/w%1.sock").arg(window));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    EXPECT_EQ(::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    return fd;
}

// Writes raw bytes to a window's socket and closes.
void writeRaw(const LinkWorld &world, Link::WindowHandle window, const QByteArray &bytes)
{
    const int fd = connectRaw(world, window);
    [[maybe_unused]] const ssize_t n =
        ::send(fd, bytes.constData(), size_t(bytes.size()), MSG_NOSIGNAL);
    ::close(fd);
}

QByteArray words(std::initializer_list<quint32> values)
{
    QByteArray bytes;
    for (quint32 v : values)
        for (int i = 0; i < 4; ++i)
            bytes.append(char((v >> (8 * i)) & 0xFF));
    return bytes;
}

} // namespace

TEST(HostLink, ProgramQuitsOnTheHostsRequestAndSaysSoUnlessTheHostGoesDown)
{
    for (const bool serverDown : {false, true}) {
        SCOPED_TRACE(serverDown ? "host going down" : "host staying");
        LinkWorld world;
        QStringList hostArguments{"--suffix", "q1"};
        if (serverDown)
            hostArguments << "--server-down";
        Child host(world, "QUILLON_HOST_BINARY", hostArguments);
        ASSERT_TRUE(host.waitForLine("/serverhandle="));
        Child program(world, "IONOGRAPH_BINARY", {"/serverhandle=q1"});
        ASSERT_EQ(clientWindows(world, 1).size(), 1);
        sendQuit(host);
        EXPECT_EQ(program.waitForEnd(), 0) << program.errors().toStdString();
        EXPECT_EQ(host.waitForEnd(), 0);
        EXPECT_TRUE(host.output().contains("sent dmQuit"));
        EXPECT_EQ(host.output().contains("dmClientStopped from"), !serverDown)
            << host.output().toStdString();
    }
}

TEST(HostLink, QuitRefusedByTheHandlerKeepsTheProgramRunning)
{
    LinkWorld world;
    Child host(world, "QUILLON_HOST_BINARY", {"--suffix", "q2"});
    ASSERT_TRUE(host.waitForLine("/serverhandle="));
    Child client(world, "LINK_CLIENT_BINARY", {"/serverhandle=q2", "--refuse-quit"});
    ASSERT_TRUE(client.waitForLine("loaded"));
    sendQuit(host);
    EXPECT_TRUE(client.waitForLine("quit ServerDown=0 refused"));
    EXPECT_EQ(host.waitForEnd(), 0);
    EXPECT_TRUE(client.running());
}

TEST(HostLink, SecondStartHandsItsParametersToTheFirstAndEnds)
{
    LinkWorld world;
    Child host(world, "QUILLON_HOST_BINARY", {"--suffix", "s2"});
    ASSERT_TRUE(host.waitForLine("/serverhandle="));
    // The suffix is looked up in lower case; an upper-case prefix stays among the parameters.
    Child first(world, "LINK_CLIENT_BINARY", {"/SERVERHANDLE=S2"});
    ASSERT_TRUE(first.waitForLine("loaded"));
    Child second(world, "LINK_CLIENT_BINARY", {"/SERVERHANDLE=S2", "lesson.qln"});
    EXPECT_EQ(second.waitForEnd(), 0);
    EXPECT_TRUE(second.output().contains("second instance"));
    EXPECT_TRUE(first.waitForLine("params: /SERVERHANDLE=S2|lesson.qln"))
        << first.output().toStdString();

    // The program itself: a second start ends at once and the first stays.
    Child program(world, "IONOGRAPH_BINARY", {"/serverhandle=s2"});
    ASSERT_EQ(clientWindows(world, 2).size(), 2);
    Child again(world, "IONOGRAPH_BINARY", {"/serverhandle=s2", "lesson.qln"});
    EXPECT_EQ(again.waitForEnd(), 0) << again.errors().toStdString();
    EXPECT_TRUE(program.running());
    EXPECT_TRUE(host.waitForLine("dmFindApplication from"));
    // Batch outputs work beside the open program.
    Child batch(world, "IONOGRAPH_BINARY", {"--snapshot", world.dir.filePath("s.png")});
    EXPECT_EQ(batch.waitForEnd(), 0);
    EXPECT_TRUE(QFile::exists(world.dir.filePath("s.png")));
    Child check(world, "IONOGRAPH_BINARY",
                {"--check-dictionary", IONOGRAPH_DICTIONARY_DIR "/ionograph.de.itl"});
    EXPECT_EQ(check.waitForEnd(), 0) << check.output().toStdString();
    EXPECT_TRUE(program.running());
    sendQuit(host);
    EXPECT_EQ(program.waitForEnd(), 0);
}

TEST(HostLink, AKilledFirstInstanceDoesNotBlockTheNextStart)
{
    LinkWorld world;
    Child first(world, "LINK_CLIENT_BINARY", {});
    ASSERT_TRUE(first.waitForLine("loaded"));
    first.process().kill(); // SIGKILL: the socket and the lock file stay behind
    first.waitForEnd();
    Child next(world, "LINK_CLIENT_BINARY", {});
    EXPECT_TRUE(next.waitForLine("loaded")) << next.output().toStdString();
    Child third(world, "LINK_CLIENT_BINARY", {});
    EXPECT_EQ(third.waitForEnd(), 0);
    EXPECT_TRUE(third.output().contains("second instance"));
    EXPECT_EQ(clientWindows(world, 1).size(), 1) << "the dead window's registration is gone";
}

TEST(HostLink, DictionaryNamesAndProgramsComeFromTheHost)
{
    LinkWorld world;
    QDir(world.dir.path()).mkdir("files");
    QFile dictionary(world.dir.filePath("files/link_client.itl"));
    ASSERT_TRUE(dictionary.open(QIODevice::WriteOnly));
    dictionary.write("[greeting]=Hallo vom Gastgeber|$$");
    dictionary.close();
    // The registry's value wins over the command line's.
    QFile registry(world.registry);
    ASSERT_TRUE(registry.open(QIODevice::WriteOnly));
    registry.write("[\\Software\\Orvan\\wendral\\demon]\nViewerHandle=d3\n");
    registry.close();
    Child host(world, "QUILLON_HOST_BINARY",
               {"--suffix", "d3", "--files", world.dir.filePath("files")});
    ASSERT_TRUE(host.waitForLine("/serverhandle="));

    Child client(world, "LINK_CLIENT_BINARY",
                 {"/serverhandle=elsewhere", "--use-server", "--multi-start", "--show", "greeting",
                  "--query", "hi", "--execute", "/bin/sh", "-c \"exit 7\"", "--wait"});
    EXPECT_TRUE(client.waitForLine("executed 7")) << client.output().toStdString();
    EXPECT_TRUE(client.output().contains("text greeting=Hallo vom Gastgeber"));
    EXPECT_TRUE(client.output().contains("reply hi"));
    EXPECT_TRUE(host.waitForLine("dmClientStarted from"));

    Child starter(world, "LINK_CLIENT_BINARY",
                  {"--use-server", "--multi-start", "--execute", "/no/such/program", ""});
    EXPECT_TRUE(starter.waitForLine("error: Could not execute \"/no/such/program.\""))
        << starter.output().toStdString() << host.output().toStdString();

    registry.remove();
    Child alone(world, "LINK_CLIENT_BINARY", {"--use-server", "/serverhandle=elsewhere"});
    EXPECT_EQ(alone.waitForEnd(), 1);
    EXPECT_TRUE(alone.output().contains("Quillon server application is not running"));
}

TEST(HostLink, MalformedFramesAreDroppedWhileTheProgramRuns)
{
    LinkWorld world;
    Child host(world, "QUILLON_HOST_BINARY", {"--suffix", "m4"});
    ASSERT_TRUE(host.waitForLine("/serverhandle="));
    Child program(world, "IONOGRAPH_BINARY", {"/serverhandle=m4"});
    const QList<Link::WindowHandle> windows = clientWindows(world, 1);
    ASSERT_EQ(windows.size(), 1);
    const Link::WindowHandle window = windows.first();
    {
        const InWorld in(world);
        // Too short for a time stamp, a quit without its byte, a reply to nothing.
        Link::sendCopyData(0, window, dmQuit, "abc");
        Link::sendCopyData(0, window, dmQuit, QByteArray(8, '\0'));
        Link::sendCopyData(0, window, dmReply, QByteArray(40, '\x7f'));
    }
    // A frame claiming more than the limit, one cut off, and a peer that says nothing.
    writeRaw(world, window, words({1, dmParams, quint32(Link::MaxMessageBytes + 1)}));
    writeRaw(world, window, words({1, dmParams, 100}) + "short");
    {
        const InWorld in(world);
        const int silent = connectRaw(world, window);
        Link::setLastErrorText(QString());
        Link::sendCopyData(0, window, 5000, QByteArray(8, '\0'));
        EXPECT_EQ(Link::lastErrorText(), QString()) << "answered beside a silent connection";
        ::close(silent);
        EXPECT_TRUE(Link::isWindow(window));
    }
    EXPECT_TRUE(program.running()) << program.errors().toStdString();
    sendQuit(host);
    EXPECT_EQ(program.waitForEnd(), 0) << program.errors().toStdString();
    EXPECT_EQ(host.waitForEnd(), 0);
    EXPECT_TRUE(host.output().contains("dmClientStopped from"));
}

TEST(HostLink, AMalformedAnswerOfTheHostIsNoApplication)
{
    // This test is the host: it answers the second start's search with an entity record whose
    // text runs past its end, then with one whose texts have negative lengths (read as empty).
    LinkWorld world;
    const InWorld in(world);
    const QString serverClass = QStringLiteral("ThisIsTheQuillonServerComponentWindowClassf5");
    ASSERT_TRUE(Link::registerWindowClass(serverClass));
    const Link::WindowHandle server =
        Link::createWindow(serverClass, QStringLiteral("ThisIsTheQuillonServerComponentWindowf5"));
    Child first(world, "LINK_CLIENT_BINARY", {"/serverhandle=f5"});
    ASSERT_TRUE(first.waitForLine("loaded "));
    const Link::WindowHandle firstWindow = clientWindows(world, 1).value(0);
    QByteArray answer;
    Link::setWindowProcedure(
        server, [&](Link::WindowHandle sender, qint32 code, const QByteArray &data) {
            if (code == dmFindApplication)
                Link::sendCopyData(server, sender, dmReply, data.left(8) + answer);
            return 0;
        });
    for (const bool pastTheEnd : {true, false}) {
        SCOPED_TRACE(pastTheEnd ? "past the end" : "negative lengths");
        answer = pastTheEnd ? words({firstWindow, 0, 1000}) + "ab"
                            : words({firstWindow, 0, quint32(-5), quint32(-1)});
        Child second(world, "LINK_CLIENT_BINARY", {"/serverhandle=f5", "x"});
        EXPECT_EQ(second.waitForEnd(), 0);
        EXPECT_TRUE(second.output().contains("second instance"));
        EXPECT_EQ(first.waitForLine("params: x", 2000), !pastTheEnd);
    }
    Link::destroyWindow(server);
    Link::unregisterWindowClass(serverClass);
}

TEST(HostLink, ALinkFolderOpenToOthersIsRefused)
{
    LinkWorld world;
    const QString folder = world.runtime + QStringLiteral("/quillon");
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                      QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                      QFile::ExeOther);
    Child program(world, "IONOGRAPH_BINARY", {});
    EXPECT_EQ(program.waitForEnd(), 1);
    const QString error = program.errors();
    EXPECT_TRUE(error.contains("is open to other users (mode 0755)")) << error.toStdString();
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files).isEmpty()) << "nothing written there";

    Child batch(world, "IONOGRAPH_BINARY", {"--export-trace", world.dir.filePath("t.csv")});
    EXPECT_EQ(batch.waitForEnd(), 0);
}

// SPDX-License-Identifier: GPL-3.0-or-later
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
#include <functional>
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
    const int fd = connectRaw(windowSocket(world, window));
    EXPECT_GE(fd, 0);
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
    // text runs past its end (dropped with a warning, so no application), then with one whose
    // texts have negative lengths (read as empty); then a text request with a text that runs
    // past its end.
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
    const QString dropped = QStringLiteral("a malformed message (code 4097) was dropped");
    Link::setWindowProcedure(
        server, [&](Link::WindowHandle sender, qint32 code, const QByteArray &data) {
            if (code == dmFindApplication || code == dmMapFileName || code == dmQueryString)
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
        EXPECT_EQ(second.errors().contains(dropped), pastTheEnd) << second.errors().toStdString();
    }
    answer = words({1000}) + "ab";
    Child asking(world, "LINK_CLIENT_BINARY",
                 {"/serverhandle=f5", "--use-server", "--multi-start", "--query", "hi"});
    EXPECT_TRUE(asking.waitForLine("reply \n")) << asking.output().toStdString();
    EXPECT_EQ(asking.errors().count(dropped), 2) << "the dictionary's name and the answer";
    Link::destroyWindow(server);
    Link::unregisterWindowClass(serverClass);
}

TEST(HostLink, ALinkFolderOpenToOthersIsRefusedAndOnlyAHostedStartEnds)
{
    LinkWorld world;
    const QString folder = world.runtime + QStringLiteral("/quillon");
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                      QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                      QFile::ExeOther);
    // Asked for a host, the program cannot go on without its window.
    Child hosted(world, "IONOGRAPH_BINARY", {"/serverhandle=x"});
    EXPECT_EQ(hosted.waitForEnd(), 1);
    EXPECT_TRUE(hosted.errors().contains("Could not create window handle: The link folder " +
                                         folder + " is open to other users (mode 0755)"))
        << hosted.errors().toStdString();

    // Alone, it runs without the link, says so in one line, and cannot keep to one instance.
    Child program(world, "IONOGRAPH_BINARY", {});
    EXPECT_TRUE(program.waitForError("is open to other users (mode 0755)"))
        << program.errors().toStdString();
    EXPECT_EQ(program.errors().count(QLatin1Char('\n')), 1) << program.errors().toStdString();
    Child first(world, "LINK_CLIENT_BINARY", {});
    Child second(world, "LINK_CLIENT_BINARY", {});
    EXPECT_TRUE(first.waitForLine("loaded 0")) << first.errors().toStdString();
    EXPECT_TRUE(second.waitForLine("loaded 0")) << second.errors().toStdString();
    EXPECT_TRUE(program.running());
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files | QDir::System).isEmpty())
        << "nothing written there";

    Child batch(world, "IONOGRAPH_BINARY", {"--export-trace", world.dir.filePath("t.csv")});
    EXPECT_EQ(batch.waitForEnd(), 0);
}

TEST(HostLink, AFolderPlantedByAnotherUserInTheTemporaryFolderIsNotUsed)
{
    if (::getuid() != 0)
        GTEST_SKIP() << "only the superuser can plant a folder that belongs to another user";
    // Without XDG_RUNTIME_DIR the link lives under the user's home; whatever another user put
    // where a fixed name in the temporary folder ($TMPDIR, else /tmp) would be changes nothing.
    struct Plant
    {
        const char *what;
        std::function<bool(const QByteArray &path)> make;
    } plants[] = {
        {"an open folder", [](const QByteArray &p) { return ::mkdir(p, 0777) == 0; }},
        {"a private folder", [](const QByteArray &p) { return ::mkdir(p, 0700) == 0; }},
        {"a file",
         [](const QByteArray &p) {
             return QFile(QFile::decodeName(p)).open(QIODevice::WriteOnly);
         }},
        {"a symbolic link", [](const QByteArray &p) { return ::symlink("/", p) == 0; }},
    };
    for (const Plant &plant : plants) {
        SCOPED_TRACE(plant.what);
        LinkWorld world;
        const QString home = world.dir.filePath(QStringLiteral("home"));
        const QString temporary = world.dir.filePath(QStringLiteral("tmp"));
        ASSERT_TRUE(QDir().mkpath(home) && QDir().mkpath(temporary));
        world.unset = {QStringLiteral("XDG_RUNTIME_DIR"), QStringLiteral("XDG_CACHE_HOME")};
        world.set = {{QStringLiteral("HOME"), home}, {QStringLiteral("TMPDIR"), temporary}};
        const QByteArray planted =
            QFile::encodeName(temporary + QStringLiteral("/quillon-%1").arg(::getuid()));
        ASSERT_TRUE(plant.make(planted));
        ASSERT_EQ(::lchown(planted.constData(), 65534, 65534), 0);

        Child host(world, "QUILLON_HOST_BINARY", {"--suffix", "t7"});
        ASSERT_TRUE(host.waitForLine("/serverhandle=")) << host.errors().toStdString();
        Child first(world, "LINK_CLIENT_BINARY", {"/serverhandle=t7", "--use-server"});
        EXPECT_TRUE(first.waitForLine("loaded")) << first.output().toStdString();
        Child second(world, "LINK_CLIENT_BINARY", {"/serverhandle=t7", "--use-server"});
        EXPECT_EQ(second.waitForEnd(), 0);
        EXPECT_TRUE(second.output().contains("second instance")) << second.output().toStdString();
        EXPECT_TRUE(host.waitForLine("dmClientStarted from"));
        const QDir folder(home + QStringLiteral("/.cache/quillon"));
        EXPECT_FALSE(folder.entryList({QStringLiteral("w*.id")}, QDir::Files).isEmpty());
    }
}

#pragma once
// Child processes for the host-link tests: the program, the stand-in host and the link client,
// all started with the same private link folder and registry file, so that tests never meet
// each other's windows.

#include "platform/MessageWindows.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <memory>

#include <algorithm>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

// The link folder (XDG_RUNTIME_DIR) and registry file of one test.
struct LinkWorld
{
    QTemporaryDir dir;
    QString runtime = dir.filePath(QStringLiteral("run"));
    QString registry = dir.filePath(QStringLiteral("registry.ini"));
    // Changes to the children's environment beyond the above: variables set, then removed.
    QMap<QString, QString> set;
    QStringList unset;

    LinkWorld()
    {
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        env.insert(QStringLiteral("QUILLON_REGISTRY"), registry);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.remove(QStringLiteral("DISPLAY"));
        for (auto it = set.begin(); it != set.end(); ++it)
            env.insert(it.key(), it.value());
        for (const QString &name : unset)
            env.remove(name);
        return env;
    }
};

// The socket of a window in the world's link folder.
inline QString windowSocket(const LinkWorld &world, Link::WindowHandle window)
{
    return world.runtime + QStringLiteral("/quillon/w%1.sock").arg(window);
}

inline sockaddr_un socketAddress(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, native.constData(),
                std::min(size_t(native.size()), sizeof address.sun_path - 1));
    return address;
}

// A connection to a socket, made without the link's own sending; -1 when it fails. flags go to
// socket(2) beside SOCK_STREAM (SOCK_NONBLOCK, ...).
inline int connectRaw(const QString &path, int flags = 0)
{
    const sockaddr_un address = socketAddress(path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | flags, 0);
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0)
        return fd;
    ::close(fd);
    return -1;
}

// A started child whose output is read line by line.
class Child
{
public:
    Child(const LinkWorld &world, const char *binaryVariable, const QStringList &arguments)
    {
        m_process.setProcessEnvironment(world.environment());
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.start(qEnvironmentVariable(binaryVariable), arguments);
        EXPECT_TRUE(m_process.waitForStarted(30000)) << binaryVariable;
    }
    ~Child()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(10000);
        }
    }

    // Waits (at most timeoutMs) for an output line that contains text; true when it came.
    bool waitForLine(const QString &text, int timeoutMs = 30000)
    {
        return waitFor(m_output, text, timeoutMs);
    }
    // The same on the standard error.
    bool waitForError(const QString &text, int timeoutMs = 30000)
    {
        return waitFor(m_errors, text, timeoutMs);
    }
    // Waits for the end; the exit code, or -1 when it did not end in time.
    int waitForEnd(int timeoutMs = 30000)
    {
        QElapsedTimer clock;
        clock.start();
        while (m_process.state() != QProcess::NotRunning && clock.elapsed() < timeoutMs)
            pause();
        if (m_process.state() != QProcess::NotRunning)
            return -1;
        readAll();
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    }
    bool running() { return m_process.state() == QProcess::Running; }
    const QString &output() const { return m_output; }
    // Everything the child wrote to its standard error so far.
    QString errors()
    {
        readAll();
        return m_errors;
    }
    QProcess &process() { return m_process; }
    // Whether waiting serves this process's windows (the default); a test that keeps a window
    // of its own busy waits without.
    void setServing(bool serving) { m_serving = serving; }

private:
    void readAll()
    {
        m_output += QString::fromLocal8Bit(m_process.readAllStandardOutput());
        m_errors += QString::fromLocal8Bit(m_process.readAllStandardError());
    }

    bool waitFor(const QString &stream, const QString &text, int timeoutMs)
    {
        QElapsedTimer clock;
        clock.start();
        for (;;) {
            readAll();
            if (stream.contains(text))
                return true;
            if (clock.elapsed() > timeoutMs || m_process.state() == QProcess::NotRunning)
                return false;
            pause();
        }
    }

    // Waits a little for the child; windows of this process are served meanwhile.
    void pause()
    {
        if (m_serving)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        m_process.waitForReadyRead(30);
        m_process.waitForFinished(0);
    }

    QProcess m_process;
    QString m_output;
    QString m_errors;
    bool m_serving = true;
};

// Points this test process at the world's link folder while it lives.
struct InWorld
{
    explicit InWorld(const LinkWorld &world) : previous(qgetenv("XDG_RUNTIME_DIR"))
    {
        qputenv("XDG_RUNTIME_DIR", world.runtime.toLocal8Bit());
    }
    ~InWorld() { qputenv("XDG_RUNTIME_DIR", previous); }
    QByteArray previous;
};

// The program windows registered in the world, once there are `count` of them.
inline QList<Link::WindowHandle> clientWindows(const LinkWorld &world, int count)
{
    const QString clientClass = QStringLiteral("ThisIsTheQuillonClientComponentWindowClass");
    const InWorld in(world);
    QList<Link::WindowHandle> found;
    for (int attempt = 0; attempt < 300 && found.size() < count; ++attempt) {
        found.clear();
        for (const Link::WindowInfo &window : Link::listWindows())
            if (window.className == clientClass)
                found << window.handle;
        if (found.size() < count)
            QThread::msleep(100);
    }
    return found;
}

// The link folder's checks, named mutexes and the registrations of message windows, within one
// process (messages between processes are tested with the host link).

#include "platform/MessageWindows.h"
#include "platform/NamedMutex.h"
#include "platform/RuntimeDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A fresh XDG_RUNTIME_DIR for one test.
struct PrivateRuntime
{
    QTemporaryDir dir;
    QByteArray previous = qgetenv("XDG_RUNTIME_DIR");
    QString folder = dir.path() + QStringLiteral("/quillon");
    PrivateRuntime() { qputenv("XDG_RUNTIME_DIR", dir.path().toLocal8Bit()); }
    ~PrivateRuntime() { qputenv("XDG_RUNTIME_DIR", previous); }
};

} // namespace

TEST(LinkFolder, OnlyAPrivateFolderOfThisUserIsUsed)
{
    {
        PrivateRuntime runtime;
        EXPECT_EQ(Link::runtimeDirectory(), runtime.folder);
        struct stat info;
        ASSERT_EQ(::stat(QFile::encodeName(runtime.folder).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u);
    }
    struct Case
    {
        const char *what;
        std::function<void(const QString &folder)> prepare;
        const char *error;
    } cases[] = {
        {"open to others",
         [](const QString &f) { ::mkdir(QFile::encodeName(f).constData(), 0750); },
         "is open to other users (mode 0750)"},
        {"a link", [](const QString &f) { QFile::link(QDir::tempPath(), f); }, "is not a folder"},
        {"another user's",
         [](const QString &f) {
             ::mkdir(QFile::encodeName(f).constData(), 0700);
             [[maybe_unused]] const int r = ::chown(QFile::encodeName(f).constData(), 65534, 65534);
         },
         "belongs to another user"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        if (qstrcmp(c.what, "another user's") == 0 && ::getuid() != 0)
            continue; // only the superuser can give a folder away
        PrivateRuntime runtime;
        c.prepare(runtime.folder);
        EXPECT_EQ(Link::runtimeDirectory(), QString());
        EXPECT_TRUE(Link::lastErrorText().contains(QLatin1String(c.error)))
            << Link::lastErrorText().toStdString();
        EXPECT_EQ(Link::createMutex(QStringLiteral("QL_x")), 0);
        EXPECT_TRUE(Link::registerWindowClass(QStringLiteral("C")));
        EXPECT_EQ(Link::createWindow(QStringLiteral("C"), QString()), 0u);
        Link::unregisterWindowClass(QStringLiteral("C"));
    }
}

TEST(LinkFolder, WithoutXdgRuntimeDirItIsInTheUsersCacheFolder)
{
    // One environment variable set (or, with nullptr, removed) while it lives.
    struct Variable
    {
        const char *name;
        std::optional<QByteArray> saved = qEnvironmentVariableIsSet(name)
                                              ? std::optional<QByteArray>(qgetenv(name))
                                              : std::nullopt;
        Variable(const char *n, const char *value) : name(n)
        {
            value ? qputenv(name, value) : qunsetenv(name);
        }
        ~Variable() { saved ? qputenv(name, *saved) : qunsetenv(name); }
    };
    QTemporaryDir dir;
    const QByteArray home = QFile::encodeName(dir.filePath(QStringLiteral("home")));
    const QByteArray cache = QFile::encodeName(dir.filePath(QStringLiteral("cache")));
    const QByteArray open = QFile::encodeName(dir.filePath(QStringLiteral("open")));
    ASSERT_EQ(::mkdir(open.constData(), 0777), 0);
    ASSERT_EQ(::chmod(open.constData(), 0777), 0);
    struct Case
    {
        const char *runtime;
        const char *cacheHome;
        QString folder; // empty: refused
    } cases[] = {
        {nullptr, nullptr, QFile::decodeName(home) + QStringLiteral("/.cache/quillon")},
        {"", "relative/cache", QFile::decodeName(home) + QStringLiteral("/.cache/quillon")},
        {"relative", cache.constData(), QFile::decodeName(cache) + QStringLiteral("/quillon")},
        {nullptr, open.constData(), QString()}, // anybody could swap the folder
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.cacheHome ? c.cacheHome : "no XDG_CACHE_HOME");
        const Variable runtime("XDG_RUNTIME_DIR", c.runtime);
        const Variable cacheHome("XDG_CACHE_HOME", c.cacheHome);
        const Variable homeFolder("HOME", home.constData());
        EXPECT_EQ(Link::runtimeDirectory(), c.folder) << Link::lastErrorText().toStdString();
        struct stat info;
        if (!c.folder.isEmpty()) {
            ASSERT_EQ(::stat(QFile::encodeName(c.folder).constData(), &info), 0);
            EXPECT_EQ(info.st_mode & 0777, 0700u);
        }
    }
}

TEST(NamedMutex, HeldUntilClosedAndOnlyOnce)
{
    PrivateRuntime runtime;
    const QString name = QStringLiteral("QL_a/b");
    bool held = true;
    const int handle = Link::createMutex(name, &held);
    ASSERT_GT(handle, 0);
    EXPECT_FALSE(held);
    EXPECT_EQ(Link::createMutex(name, &held), 0);
    EXPECT_TRUE(held) << "the second take is told that another holds it";
    EXPECT_TRUE(QFile::exists(runtime.folder + QStringLiteral("/QL_a_b.lock")));
    Link::closeMutex(handle);
    const int again = Link::createMutex(name, &held);
    EXPECT_GT(again, 0);
    Link::closeMutex(again);
}

TEST(MessageWindows, RegistrationsAreFoundSentToAndRemoved)
{
    PrivateRuntime runtime;
    const QString cls = QStringLiteral("TestClass");
    ASSERT_TRUE(Link::registerWindowClass(cls));
    EXPECT_FALSE(Link::registerWindowClass(cls));
    const Link::WindowHandle window = Link::createWindow(cls, QStringLiteral("Title 1"));
    ASSERT_NE(window, 0u);
    EXPECT_EQ(window >> 8, Link::WindowHandle(::getpid()));
    EXPECT_EQ(Link::findWindow(cls, QStringLiteral("Title 1")), window);
    EXPECT_EQ(Link::findWindow(cls, QStringLiteral("Title")), 0u);

    // A window of this process is called directly.
    Link::WindowHandle seenSender = 0;
    QByteArray seenData;
    Link::setWindowProcedure(window,
                             [&](Link::WindowHandle sender, qint32 word, const QByteArray &data) {
                                 seenSender = sender;
                                 seenData = data;
                                 return word + 1;
                             });
    EXPECT_EQ(Link::sendCopyData(77, window, 41, "payload"), 42);
    EXPECT_EQ(seenSender, 77u);
    EXPECT_EQ(seenData, "payload");

    // A registration whose process has ended is skipped and removed.
    const QString stale = runtime.folder + QStringLiteral("/w%1.id").arg((0x3FFFFFu << 8) | 1u);
    QFile file(stale);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("class=TestClass\ntitle=Old\npid=4194303\nhandle=%1\n")
                   .arg((0x3FFFFFu << 8) | 1u)
                   .toUtf8());
    file.close();
    EXPECT_EQ(Link::findWindow(cls, QStringLiteral("Old")), 0u);
    EXPECT_FALSE(QFile::exists(stale));

    const QList<Link::WindowInfo> windows = Link::listWindows();
    ASSERT_EQ(windows.size(), 1);
    EXPECT_EQ(windows[0].application, QCoreApplication::applicationName());
    EXPECT_EQ(windows[0].executable, QCoreApplication::applicationFilePath());

    Link::destroyWindow(window);
    Link::unregisterWindowClass(cls);
    EXPECT_FALSE(Link::isWindow(window));
    EXPECT_TRUE(QDir(runtime.folder).entryList(QDir::Files).isEmpty());
}

TEST(MessageWindows, OfWindowsWithOneNameTheNewestLiveOneIsFound)
{
    PrivateRuntime runtime;
    const QString cls = QStringLiteral("SameName");
    const QString title = QStringLiteral("Server");
    ASSERT_TRUE(Link::registerWindowClass(cls));
    const Link::WindowHandle older = Link::createWindow(cls, title);
    const Link::WindowHandle newer = Link::createWindow(cls, title);
    ASSERT_NE(older, 0u);
    ASSERT_NE(newer, 0u);
    // The newer one's file name sorts after the older one's: the choice is not the folder's
    // order. An entry of an ended process registered later still is skipped.
    ASSERT_LT(QStringLiteral("w%1.id").arg(older), QStringLiteral("w%1.id").arg(newer));
    const Link::WindowHandle dead = (0x3FFFFFu << 8) | 1u;
    QFile file(runtime.folder + QStringLiteral("/w%1.id").arg(dead));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("class=SameName\ntitle=Server\npid=4194303\nhandle=%1\n"
                              "registered=99999999999999999\n")
                   .arg(dead)
                   .toUtf8());
    file.close();
    EXPECT_EQ(Link::findWindow(cls, title), newer);
    EXPECT_FALSE(file.exists());
    Link::destroyWindow(newer);
    EXPECT_EQ(Link::findWindow(cls, title), older);
    Link::destroyWindow(older);
    Link::unregisterWindowClass(cls);
}

// Registrations of message windows: the ".id" record that publishes a window, and the scan
// that finds live windows and removes dead ones.

#include "platform/MessageWindowsState.h"
#include "platform/NamedMutex.h"
#include "platform/RuntimeDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <chrono>
#include <unistd.h>

namespace Link {

namespace detail {

namespace {

QByteArray field(const char *key, const QString &value)
{
    return QByteArray(key) + '=' + value.toUtf8().toPercentEncoding() + '\n';
}

qint64 microsecondsSinceEpoch()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
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
        else if (key == "registered")
            info.registered = value.toLongLong();
    }
    return info;
}

} // namespace

bool publish(const QString &path, WindowHandle handle, const QString &className,
             const QString &title)
{
    QSaveFile file(path);
    QByteArray text = field("class", className) + field("title", title) +
                      field("application", QCoreApplication::applicationName()) +
                      field("executable", QCoreApplication::applicationFilePath()) +
                      field("pid", QString::number(::getpid())) +
                      field("handle", QString::number(handle)) +
                      field("registered", QString::number(microsecondsSinceEpoch()));
    if (file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit())
        return true;
    setLastErrorText(QStringLiteral("Cannot publish %1: %2").arg(path, file.errorString()));
    return false;
}

} // namespace detail

using namespace detail;

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
        if (state().windows.count(info.handle) != 0) {
            live.append(info);
            continue;
        }
        // Only a window that is dead for good is removed; a busy one lives, and one that
        // cannot be judged is merely skipped.
        const Reach reach =
            processExists(info.processId) ? probe(socketPathOf(folder, info.handle)) : Reach::Gone;
        if (reach == Reach::Answers || reach == Reach::Busy) {
            live.append(info);
        } else if (reach == Reach::Gone) {
            QFile::remove(path);
            ::unlink(QFile::encodeName(socketPathOf(folder, info.handle)).constData());
        }
    }
    std::sort(live.begin(), live.end(), [](const WindowInfo &a, const WindowInfo &b) {
        return a.registered != b.registered ? a.registered > b.registered : a.handle > b.handle;
    });
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

} // namespace Link

#include "platform/NamedMutex.h"

#include "platform/RuntimeDir.h"

#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <time.h>
#include <unistd.h>

namespace Link {

namespace {

// A mutex name as a file name: nothing in it may leave the folder.
QString lockPath(const QString &folder, QString name)
{
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    name.replace(QChar(0), QLatin1Char('_'));
    return folder + QLatin1Char('/') + name + QLatin1String(".lock");
}

QString exitRecordPath(const QString &folder, qint64 pid)
{
    return folder + QStringLiteral("/p%1.exit").arg(pid);
}

} // namespace

int createMutex(const QString &name, bool *heldElsewhere)
{
    if (heldElsewhere)
        *heldElsewhere = false;
    const QString folder = runtimeDirectory();
    if (folder.isEmpty())
        return 0;
    const QString path = lockPath(folder, name);
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        setLastErrorFromErrno(QStringLiteral("Cannot open %1").arg(path), errno);
        return 0;
    }
    // One step: whoever does not get the lock knows that another has it.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        setLastErrorFromErrno(QStringLiteral("The mutex %1 is held").arg(name), error);
        if (heldElsewhere)
            *heldElsewhere = error == EWOULDBLOCK;
        ::close(fd);
        return 0;
    }
    return fd;
}

void closeMutex(int handle)
{
    if (handle > 0)
        ::close(handle);
}

bool processExists(qint64 pid)
{
    return pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
}

void recordExitCode(qint64 pid, int exitCode)
{
    const QString folder = runtimeDirectory();
    if (folder.isEmpty())
        return;
    QSaveFile file(exitRecordPath(folder, pid));
    if (file.open(QIODevice::WriteOnly)) {
        file.write(QByteArray::number(exitCode));
        file.commit();
    }
}

std::optional<int> waitForExitCode(qint64 pid)
{
    // The starter writes the record just after the process has ended; polling is the only
    // way to wait for a process that is not a child of this one.
    const timespec pause{0, 20 * 1000 * 1000};
    while (processExists(pid))
        ::nanosleep(&pause, nullptr);
    const QString folder = runtimeDirectory();
    if (folder.isEmpty())
        return std::nullopt;
    QFile file(exitRecordPath(folder, pid));
    for (int attempt = 0; attempt < 100 && !file.exists(); ++attempt)
        ::nanosleep(&pause, nullptr);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    bool ok = false;
    const int code = file.readAll().trimmed().toInt(&ok);
    file.remove();
    return ok ? std::optional<int>(code) : std::nullopt;
}

} // namespace Link

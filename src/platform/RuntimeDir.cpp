#include "platform/RuntimeDir.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace Link {

namespace {

thread_local QString lastError;

QString folderPath()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        return runtime + QLatin1String("/quillon");
    return QDir::tempPath() + QStringLiteral("/quillon-%1").arg(::getuid());
}

} // namespace

QString runtimeDirectory()
{
    const QString path = folderPath();
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) {
        setLastErrorFromErrno(QStringLiteral("Cannot create the link folder %1").arg(path), errno);
        return {};
    }
    struct stat info;
    if (::lstat(native.constData(), &info) != 0) {
        setLastErrorFromErrno(QStringLiteral("Cannot inspect the link folder %1").arg(path), errno);
        return {};
    }
    if (!S_ISDIR(info.st_mode)) {
        setLastErrorText(QStringLiteral("The link folder %1 is not a folder").arg(path));
        return {};
    }
    if (info.st_uid != ::getuid()) {
        setLastErrorText(QStringLiteral("The link folder %1 belongs to another user (uid %2)")
                             .arg(path)
                             .arg(info.st_uid));
        return {};
    }
    if ((info.st_mode & 077) != 0) {
        setLastErrorText(QStringLiteral("The link folder %1 is open to other users (mode %2); "
                                        "it must be private (0700)")
                             .arg(path)
                             .arg(info.st_mode & 0777, 4, 8, QLatin1Char('0')));
        return {};
    }
    return path;
}

QString lastErrorText()
{
    return lastError;
}

void setLastErrorText(const QString &text)
{
    lastError = text;
}

void setLastErrorFromErrno(const QString &what, int error)
{
    lastError = what + QLatin1String(": ") + QString::fromLocal8Bit(std::strerror(error));
}

} // namespace Link

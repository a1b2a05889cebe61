#include "platform/RuntimeDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Link {

namespace {

thread_local QString lastError;

// An absolute path from the environment; relative and empty values count as unset, as the XDG
// base directories ask.
QString absolutePathFrom(const char *variable)
{
    const QString value = qEnvironmentVariable(variable);
    return QDir::isAbsolutePath(value) ? QDir::cleanPath(value) : QString();
}

QString homeFolder()
{
    const QString home = absolutePathFrom("HOME");
    if (!home.isEmpty())
        return home;
    passwd entry{};
    passwd *found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(::getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found &&
        found->pw_dir && found->pw_dir[0] == '/')
        return QFile::decodeName(found->pw_dir);
    return {};
}

// Creates a folder and its missing parents with mode 0700, as the XDG base directories ask.
bool makeFolders(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), 0700) == 0 || errno == EEXIST)
        return true;
    if (errno != ENOENT)
        return false;
    const QString parent = QFileInfo(path).path();
    return parent != path && makeFolders(parent) &&
           (::mkdir(native.constData(), 0700) == 0 || errno == EEXIST);
}

// The folder's path, or empty with the last error set. Without XDG_RUNTIME_DIR the folder lies
// in the user's cache folder, which no other user can write to, so nobody can make it first.
QString folderPath()
{
    const QString runtime = absolutePathFrom("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        return runtime + QLatin1String("/quillon");
    QString cache = absolutePathFrom("XDG_CACHE_HOME");
    if (cache.isEmpty()) {
        const QString home = homeFolder();
        if (home.isEmpty()) {
            setLastErrorText(QStringLiteral("There is no link folder: XDG_RUNTIME_DIR is not set "
                                            "and the home folder is unknown"));
            return {};
        }
        cache = home + QLatin1String("/.cache");
    }
    if (!makeFolders(cache)) {
        setLastErrorFromErrno(QStringLiteral("Cannot create the folder %1").arg(cache), errno);
        return {};
    }
    return cache + QLatin1String("/quillon");
}

// A folder whose parent anybody may write to without the sticky bit can be swapped by anybody.
bool parentIsSafe(const QString &path)
{
    const QString parent = QFileInfo(path).path();
    struct stat info;
    if (::stat(QFile::encodeName(parent).constData(), &info) != 0) {
        setLastErrorFromErrno(QStringLiteral("Cannot inspect the folder %1").arg(parent), errno);
        return false;
    }
    if ((info.st_mode & S_IWOTH) != 0 && (info.st_mode & S_ISVTX) == 0) {
        setLastErrorText(
            QStringLiteral("The link folder's parent %1 may be changed by every user").arg(parent));
        return false;
    }
    return true;
}

} // namespace

QString runtimeDirectory()
{
    const QString path = folderPath();
    if (path.isEmpty() || !parentIsSafe(path))
        return {};
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

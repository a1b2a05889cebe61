// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Shell.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QUrl>

namespace Shell {

namespace {

ShellHandler &handler()
{
    static ShellHandler installed;
    return installed;
}

// A web address or any other address with a scheme, as opposed to a file path. It must begin
// with a well-formed scheme (one letter is a drive letter), so a path holding "://" stays a
// path and no text that reads like an option reaches the default handler's command line.
bool isAddress(const QString &file)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:(//)?"));
    const QRegularExpressionMatch match = scheme.match(file);
    if (!match.hasMatch())
        return false;
    return !match.captured(1).isEmpty() || QUrl(file, QUrl::StrictMode).isValid();
}

} // namespace

int defaultExecute(const ShellRequest &request)
{
    const QString verb = request.verb.toLower();
    if (!verb.isEmpty() && verb != QStringLiteral("open"))
        return seErrNoAssoc;
    if (request.file.isEmpty())
        return seErrFileNotFound;

    if (isAddress(request.file))
        return QDesktopServices::openUrl(QUrl(request.file)) ? seSuccess : seErrNoAssoc;

    const QFileInfo info(request.file);
    if (!info.exists())
        return info.absoluteDir().exists() ? seErrFileNotFound : seErrPathNotFound;
    if (info.isFile() && info.isExecutable()) {
        const bool started = QProcess::startDetached(
            info.absoluteFilePath(), QProcess::splitCommand(request.parameters), request.directory);
        return started ? seSuccess : seErrAccessDenied;
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath())) ? seSuccess
                                                                                   : seErrNoAssoc;
}

int execute(const ShellRequest &request)
{
    if (handler())
        return handler()(request);
    return defaultExecute(request);
}

ShellHandler setHandler(ShellHandler replacement)
{
    ShellHandler previous = std::move(handler());
    handler() = std::move(replacement);
    return previous;
}

} // namespace Shell

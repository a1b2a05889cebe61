// SPDX-License-Identifier: GPL-3.0-or-later
// The registry text reader: a small, forgiving INI reader (see Registry.h for the rules).
// QSettings is not used because it treats "\" and "/" in section names as its own group
// separators and escapes, so hand-written registry paths would not round-trip.

#include "platform/Registry.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace {

// "\Software\Orvan\" and "software/orvan" both become "Software\Orvan" (case is kept; the
// comparison ignores it).
QString normaliseKeyPath(const QString &path)
{
    QStringList parts;
    qsizetype begin = 0;
    const qsizetype n = path.size();
    for (qsizetype i = 0; i <= n; ++i) {
        if (i == n || path[i] == QLatin1Char('\\') || path[i] == QLatin1Char('/')) {
            const QString part = path.mid(begin, i - begin).trimmed();
            if (!part.isEmpty())
                parts << part;
            begin = i + 1;
        }
    }
    return parts.join(QLatin1Char('\\'));
}

bool sameName(const QString &a, const QString &b)
{
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

QString unquote(const QString &value)
{
    if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
        return value.mid(1, value.size() - 2);
    return value;
}

} // namespace

QString registryFilePath()
{
    const QString path = qEnvironmentVariable("QUILLON_REGISTRY");
    return path.isEmpty() ? QStringLiteral("/etc/xdg/quillon/registry.ini") : path;
}

QString readRegistryText(quintptr rootKey, const QString &keyPath, const QString &valueName)
{
    if (rootKey != kRegistryDefaultRoot && rootKey != kRegistryLocalMachine)
        return {};
    // Only a regular file of a sensible size: a device or a pipe named by mistake would be
    // read without end, and a hive is a few lines.
    const QFileInfo info(registryFilePath());
    if (!info.isFile() || info.size() > kRegistryMaxBytes)
        return {};
    QFile file(info.filePath());
    if (!file.open(QIODevice::ReadOnly))
        return {};

    const QString wantedKey = normaliseKeyPath(keyPath);
    const QString wantedValue = valueName.isEmpty() ? QStringLiteral("@") : valueName;
    bool inKey = wantedKey.isEmpty(); // lines before the first section belong to the root
    bool firstLine = true;
    while (!file.atEnd()) {
        QString line = QString::fromUtf8(file.readLine());
        if (firstLine && line.startsWith(QChar(0xFEFF)))
            line.remove(0, 1);
        firstLine = false;
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) ||
            line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            const qsizetype close = line.lastIndexOf(QLatin1Char(']'));
            inKey = close > 0 && sameName(normaliseKeyPath(line.mid(1, close - 1)), wantedKey);
            continue;
        }
        if (!inKey)
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        if (sameName(line.left(eq).trimmed(), wantedValue))
            return unquote(line.mid(eq + 1).trimmed());
    }
    return {};
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The translator's dictionary: the missing keys followed by every loaded entry, written when
// the engine is destroyed with AutoCreateItlFile on.

#include "i18n/Zodavided2000.h"
#include "platform/MessageBox.h"
#include "scales/Zel_zelbase.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSaveFile>
#include <QtDebug>

namespace ZelI18n {

QString itlFileNameFor(const QString &executableFileName)
{
    const QString name = QFileInfo(executableFileName).fileName();
    if (name.size() >= 4 && name[name.size() - 4] == QLatin1Char('.'))
        return name.left(name.size() - 3) + QLatin1String("itl");
    return name + QLatin1String(".itl");
}

} // namespace ZelI18n

TZodavided2000::~TZodavided2000()
{
    if (!m_autoCreateItlFile)
        return;
    try {
        SaveItlFile();
    } catch (const EZelError &error) {
        const QString message = QString::fromUtf8(error.what());
        if (QCoreApplication::instance() && QCoreApplication::instance()->inherits("QApplication"))
            showMessage(MessageKind::Error, message);
        else
            qWarning().noquote() << message;
    }
}

QStringList TZodavided2000::ItlFileLines() const
{
    QStringList lines = m_missingEntries;
    for (qsizetype i = 0; i < m_dictionary.keys.size(); ++i) {
        // A stored CR LF came from an explicit "\n"; written back as such, the file loads
        // into the same dictionary again (a real line break would read as two spaces).
        const QString text =
            QString(m_dictionary.values[i]).replace(QLatin1String("\r\n"), QLatin1String("\\n"));
        lines.append(ZelI18n::itlLine(m_dictionary.keys[i], text));
    }
    return lines;
}

QString TZodavided2000::ItlFileName()
{
    const QString executable =
        QCoreApplication::instance()
            ? QCoreApplication::applicationFilePath()
            : QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    return ZelI18n::itlFileNameFor(executable);
}

void TZodavided2000::SaveItlFile(const QString &fileName) const
{
    QByteArray bytes;
    for (const QString &line : ItlFileLines()) {
        bytes += line.toUtf8();
        bytes += "\r\n";
    }
    QSaveFile file(fileName);
    const bool written =
        file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
    if (!written) {
        const QString message =
            QStringLiteral("Cannot create file \"%1\". %2").arg(fileName, file.errorString());
        throw EZelError(message.toStdString());
    }
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Language.h"

#include "i18n/Zodavided2000.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

const QString defaultLanguage = QStringLiteral("en");

// "ionograph.itl" beside the executable.
QFileInfo defaultDictionary(const QString &executablePath)
{
    const QFileInfo executable(executablePath);
    return QFileInfo(executable.dir(), ZelI18n::itlFileNameFor(executable.fileName()));
}

// "ionograph.<code>.itl" beside the executable.
QFileInfo languageDictionary(const QString &executablePath, const QString &code)
{
    const QFileInfo base = defaultDictionary(executablePath);
    return QFileInfo(base.dir(),
                     base.completeBaseName() + QLatin1Char('.') + code + QLatin1String(".itl"));
}

bool isFile(const QFileInfo &info)
{
    return info.exists() && info.isFile();
}

// A code names a file, so it may hold nothing that leaves the folder or hides a suffix.
bool isWellFormedCode(const QString &code)
{
    static const QRegularExpression pattern(QStringLiteral("^[a-z]{2,3}([_-][a-z0-9]{2,8})?$"));
    return pattern.match(code).hasMatch();
}

} // namespace

QString localeLanguage(const QString &locale)
{
    static const QRegularExpression pattern(QStringLiteral("^([A-Za-z]{2,3})([_.@]|$)"));
    const QRegularExpressionMatch match = pattern.match(locale);
    return match.hasMatch() ? match.captured(1).toLower() : QString();
}

QString messagesLocale(const EnvironmentReader &environment)
{
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = environment(name);
        if (!value.isEmpty())
            return value;
    }
    return QString();
}

QStringList availableLanguages(const QString &executablePath)
{
    const QFileInfo base = defaultDictionary(executablePath);
    const QString prefix = base.completeBaseName() + QLatin1Char('.');
    QStringList codes;
    if (isFile(base))
        codes << defaultLanguage;
    const QStringList files =
        base.dir().entryList({prefix + QLatin1String("*.itl")}, QDir::Files | QDir::Readable);
    for (const QString &file : files) {
        const QString code = file.mid(prefix.size(), file.size() - prefix.size() - 4);
        if (isWellFormedCode(code) && !codes.contains(code))
            codes << code;
    }
    codes.sort();
    return codes;
}

namespace {

// A dictionary that exists must be a regular file of a dictionary's size.
DictionaryChoice checked(DictionaryChoice choice)
{
    const QFileInfo file(choice.path);
    if (!choice.error.isEmpty() || !file.exists())
        return choice;
    const QString problem = dictionaryFileProblem(file);
    return problem.isEmpty() ? choice : DictionaryChoice{{}, problem};
}

DictionaryChoice choose(const QString &executablePath, const std::optional<QString> &languageOption,
                        const EnvironmentReader &environment)
{
    const QFileInfo fallback = defaultDictionary(executablePath);
    if (languageOption) {
        const QString code = languageOption->trimmed().toLower();
        const QFileInfo file = languageDictionary(executablePath, code);
        if (isWellFormedCode(code) && isFile(file))
            return {file.filePath(), {}};
        if (code == defaultLanguage && isFile(fallback))
            return {fallback.filePath(), {}};
        const QStringList available = availableLanguages(executablePath);
        return {{},
                QStringLiteral("no dictionary for the language \"%1\" beside the program "
                               "(languages: %2)")
                    .arg(*languageOption, available.isEmpty()
                                              ? QStringLiteral("none")
                                              : available.join(QStringLiteral(", ")))};
    }
    const QString code = localeLanguage(messagesLocale(environment));
    if (!code.isEmpty()) {
        const QFileInfo file = languageDictionary(executablePath, code);
        if (isFile(file))
            return {file.filePath(), {}};
    }
    return {fallback.filePath(), {}};
}

} // namespace

QString dictionaryFileProblem(const QFileInfo &file)
{
    const QString path = file.filePath();
    if (!file.isFile())
        return QStringLiteral("the dictionary \"%1\" is not a file").arg(path);
    if (file.size() > ZelI18n::kMaxDictionaryBytes)
        return QStringLiteral("the dictionary \"%1\" is too large (%2 MiB; at most %3 MiB)")
            .arg(path)
            .arg(double(file.size()) / (1024 * 1024), 0, 'f', 1)
            .arg(ZelI18n::kMaxDictionaryBytes / (1024 * 1024));
    return QString();
}

DictionaryChoice chooseDictionary(const QString &executablePath,
                                  const std::optional<QString> &languageOption,
                                  const EnvironmentReader &environment)
{
    return checked(choose(executablePath, languageOption, environment));
}

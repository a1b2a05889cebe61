// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which dictionary the program reads. The dictionaries lie beside the executable and are named
// after it: "ionograph.itl" holds the default language (English as installed), and
// "ionograph.<code>.itl" a language of its own ("ionograph.de.itl").
//
// In this order:
// 1. --language CODE asks for "ionograph.CODE.itl"; "en" is also met by "ionograph.itl", the
//    default dictionary being English. A code without a file is an error.
// 2. Otherwise the user's locale, as Linux programs read it (the first of LC_ALL,
//    LC_MESSAGES, LANG that is set and not empty): "de_DE.UTF-8" picks "ionograph.de.itl"
//    when that file exists.
// 3. Otherwise "ionograph.itl", so a dictionary that a teacher puts there decides whenever no
//    localised file matches.
// A chosen dictionary that is not a regular file, or is larger than the engine reads
// (ZelI18n::kMaxDictionaryBytes), is an error: a dictionary is some kilobytes of text, and a
// wrong file named like one should be reported, not read for minutes.

#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

struct DictionaryChoice
{
    QString path;  // the dictionary to read (it may be missing: then keys show as themselves)
    QString error; // set when --language names a language without a dictionary, or the chosen
                   // file cannot be a dictionary
};

using EnvironmentReader = std::function<QString(const char *name)>;

// The language part of a locale name ("de" for "de_DE.UTF-8@euro"), lower-cased; empty for
// "C", "POSIX" and names that do not start with two or three letters.
QString localeLanguage(const QString &locale);

// The locale that decides the language of messages: the first of LC_ALL, LC_MESSAGES and
// LANG that is not empty.
QString messagesLocale(const EnvironmentReader &environment);

// The language codes that have a dictionary beside the executable, sorted; "en" stands for
// the default dictionary.
QStringList availableLanguages(const QString &executablePath);

// Why an existing file cannot be a dictionary (not a regular file, or larger than the engine
// reads); empty when it can.
QString dictionaryFileProblem(const QFileInfo &file);

// Applies the rules above; languageOption is the value of --language when it was given.
DictionaryChoice chooseDictionary(const QString &executablePath,
                                  const std::optional<QString> &languageOption,
                                  const EnvironmentReader &environment);

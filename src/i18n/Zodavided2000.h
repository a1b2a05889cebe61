// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The translation engine: a dictionary read from a plain-text ".itl" file, lookups of single
// keys with numbered parameters, and the walk that replaces every "BF_" key in the published
// text properties of a component tree. It can also record the keys it did not find and write
// a complete dictionary for translators when it is destroyed.
//
// Dictionary format: entries "[key]=value|$$", one after the other; text before the "[" of an
// entry and after the last "|$$" is ignored. Keys are stored lower-cased (A to Z only) with
// their white space folded; values may span lines (line breaks become spaces), write an
// explicit line break as "\n" and may hold "<%APPNAME%>" and the parameter placeholders
// "<%1%>", "<%2%>", ...

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

class QIODevice;
class QObject;
class QTextDocument;

namespace ZelI18n {

// The dictionary's entry terminator.
inline constexpr char kTerminator[] = "|$$";

// The largest dictionary file that is read. Real dictionaries hold some kilobytes; this is the
// size of the largest message the host link carries, so a dictionary from the host and one
// from a file have the same limit.
inline constexpr qint64 kMaxDictionaryBytes = 16 * 1024 * 1024;

// Lower-cases A to Z only; every other character stays as it is.
QString lowerAZ(const QString &text);

// Key normalisation: CR, LF and TAB become spaces, runs of spaces shrink to one, leading
// spaces go. Trailing spaces stay.
QString normaliseKey(const QString &key);

// Value normalisation: CR and LF become spaces, the two characters "\n" become CR LF and
// "<%APPNAME%>" (any letter case) becomes appName. Other white space stays.
QString normaliseValue(const QString &value, const QString &appName);

// Replaces "<%k%>" (k = 1, 2, ...) by params[k-1], one parameter after the other. Without
// parameters the text comes back unchanged.
QString substituteParams(const QString &text, const QStringList &params);

struct ItlEntry
{
    QString key;   // lower-cased and normalised
    QString value; // normalised
};

// Splits one entry text (everything after the previous terminator up to and including this
// one) into key and value. The key runs from after the first "[" (or from the start when
// there is none) to before the first "]="; the value from after that "]=" to before the
// terminator. Without "]=" the key is empty and the value runs from the entry's second
// character (a character outside the Basic Multilingual Plane, two UTF-16 units, counts as
// one).
ItlEntry parseEntry(const QString &entryText, const QString &appName);

// A parsed dictionary: keys and values in file order, paired by position. Duplicates stay;
// indexOf finds the first.
struct ItlDictionary
{
    QStringList keys;
    QStringList values;

    // Replaces the contents by the entries read from the device's beginning (from its current
    // position for a sequential device). A device without any terminator gives an empty
    // dictionary; text after the last terminator is dropped.
    void load(QIODevice &stream, const QString &appName);
    // Index of the first key equal to lowerKey (compared exactly), or -1.
    qsizetype indexOf(const QString &lowerKey) const;
};

// Dictionary bytes to text: UTF-8 when the bytes are valid UTF-8, else the Western 8-bit code
// page (Latin-1 with quotes, dashes and the euro sign in 0x80..0x9F), the form of
// dictionaries written on other systems.
QString decodeItlText(const QByteArray &bytes);

// One line of a dictionary file, without its line end.
QString itlLine(const QString &key, const QString &text);

// The name of the translator's dictionary for an executable's file name (any folder part is
// dropped): a three-letter extension is replaced ("prog.exe" gives "prog.itl"), a name
// without one gets ".itl" appended ("ionograph" gives "ionograph.itl").
QString itlFileNameFor(const QString &executableFileName);

} // namespace ZelI18n

class TZodavided2000
{
public:
    // An empty dictionary, KeyPrefix "BF_", AutoCreateItlFile off, no handlers.
    explicit TZodavided2000(const QString &appName = QString());
    // Writes the translator's dictionary into the current directory when AutoCreateItlFile is
    // on. A destructor cannot raise: a failure to write is shown in an error message box (or
    // as a warning when there is no GUI). An owner that wants the failure as an exception
    // calls SaveItlFile() first and then switches AutoCreateItlFile off.
    ~TZodavided2000();

    TZodavided2000(const TZodavided2000 &) = delete;
    TZodavided2000 &operator=(const TZodavided2000 &) = delete;

    // Inserted for "<%APPNAME%>" when a dictionary is loaded; fixed at creation.
    const QString &ApplicationName() const { return m_applicationName; }

    // Marks a property value or a string-list line as a key; compared case-sensitively. An
    // empty prefix would mark every text as a key and is refused (the prefix stays).
    const QString &KeyPrefix() const { return m_keyPrefix; }
    void SetKeyPrefix(const QString &prefix);

    // Record missing keys and write the dictionary file on destruction.
    bool AutoCreateItlFile() const { return m_autoCreateItlFile; }
    void SetAutoCreateItlFile(bool on) { m_autoCreateItlFile = on; }

    // Replaces keys and values by the entries read from the stream, starting at its
    // beginning. The missing entries stay.
    void LoadDictionary(QIODevice &stream);

    // One lookup: the text of key (compared lower-cased, A to Z only) with the parameters
    // put in, or the key itself when there is no entry.
    void TranslateString(const QString &key, const QStringList &params, QString &text);
    QString TranslateString(const QString &key, const QStringList &params = {});

    // Translates the component and, depth first, every component it owns.
    void TranslateComponent(QObject *component);
    // Translates the published properties of one object (component or persistent sub-object).
    void TranslateObject(QObject *object);

    // The dictionary as loaded, paired by position.
    const QStringList &Keys() const { return m_dictionary.keys; }
    const QStringList &Values() const { return m_dictionary.values; }
    // The lines recorded for keys that were not found while AutoCreateItlFile was on.
    const QStringList &MissingEntries() const { return m_missingEntries; }

    // The file's lines: the missing entries, then every dictionary entry in order.
    QStringList ItlFileLines() const;
    // The file name written on destruction: itlFileNameFor the running executable.
    static QString ItlFileName();
    // Writes ItlFileLines() (UTF-8, each line ended by CR LF) to fileName, replacing an
    // existing file only when the whole text was written. Raises EZelError when the file
    // cannot be written.
    void SaveItlFile(const QString &fileName) const;
    void SaveItlFile() const { SaveItlFile(ItlFileName()); }

    // Called after a key was found and its parameters put in; may change text.
    std::function<void(TZodavided2000 *sender, const QString &key, QString &text)>
        OnStringTranslated;
    // Called before an object's properties are walked; clearing translate skips the object
    // (but not the components it owns).
    std::function<void(TZodavided2000 *sender, QObject *object, bool &translate)> OnTranslateObject;

private:
    void translateProperties(QObject *object);
    // Translates the lines that begin with KeyPrefix, last line first; true when any did.
    bool translateLines(QStringList &lines);
    void translateDocumentLines(QTextDocument *document);

    QString m_applicationName;
    QString m_keyPrefix = QStringLiteral("BF_");
    ZelI18n::ItlDictionary m_dictionary;
    bool m_autoCreateItlFile = false;
    QStringList m_missingEntries;
};

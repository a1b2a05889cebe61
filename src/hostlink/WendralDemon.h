#pragma once
// The host link component: a non-visual component placed on the program's main window. It
// owns the translation engine, loads the user-interface dictionary when the window's loading
// ends and has the engine translate the window and everything the window owns.
//
// TkdbCustomDemon holds what does not depend on the side of the link; TkdbDemonClient is the
// program's side. The owner of the component is its QObject parent, the window it translates.

#include "hostlink/QuillonStream.h"
#include "i18n/Zodavided2000.h"
#include "platform/Component.h"

#include <QObject>
#include <QString>

#include <memory>

class TkdbCustomDemon : public QObject, public ZelComponent
{
    Q_OBJECT
    Q_PROPERTY(bool AutoTranslate READ AutoTranslate WRITE SetAutoTranslate)
    Q_PROPERTY(bool AutoCreateItlFile READ AutoCreateItlFile WRITE SetAutoCreateItlFile)
    Q_PROPERTY(bool MultiStart READ MultiStart WRITE SetMultiStart)
    Q_PROPERTY(bool UseWendralServer READ UseWendralServer WRITE SetUseWendralServer)

public:
    // Creates the engine with an empty application name; AutoTranslate and UseWendralServer
    // on, MultiStart off.
    explicit TkdbCustomDemon(QObject *owner = nullptr);
    ~TkdbCustomDemon() override;

    // Translate the owner window when loading ends.
    bool AutoTranslate() const { return m_autoTranslate; }
    void SetAutoTranslate(bool value) { m_autoTranslate = value; }
    // The engine's own flag: record missing keys and write the translator's dictionary when
    // the engine is released.
    bool AutoCreateItlFile() const { return m_engine->AutoCreateItlFile(); }
    void SetAutoCreateItlFile(bool value) { m_engine->SetAutoCreateItlFile(value); }
    // Allow several instances of the program.
    bool MultiStart() const { return m_multiStart; }
    void SetMultiStart(bool value) { m_multiStart = value; }
    // Take the dictionary and named values from the teaching host, and require the host at
    // start-up.
    bool UseWendralServer() const { return m_useWendralServer; }
    void SetUseWendralServer(bool value) { m_useWendralServer = value; }

    // The translation engine, for the owner's TranslateString and TranslateComponent.
    TZodavided2000 &Engine() { return *m_engine; }
    const TZodavided2000 &Engine() const { return *m_engine; }

private:
    std::unique_ptr<TZodavided2000> m_engine;
    bool m_autoTranslate = true;
    bool m_multiStart = false;
    bool m_useWendralServer = true;
};

class TkdbDemonClient : public TkdbCustomDemon
{
    Q_OBJECT
public:
    explicit TkdbDemonClient(QObject *owner = nullptr);

    // The dictionary read at the end of loading when the host does not supply it. Empty (the
    // default): the file beside the executable named after it, "ionograph.itl" for
    // ".../ionograph". Not stored with the window: the program chooses it (by language)
    // before the window is built.
    QString DictionaryFile() const { return m_dictionaryFile; }
    void SetDictionaryFile(const QString &path) { m_dictionaryFile = path; }
    // The file read when DictionaryFile is empty.
    static QString DefaultDictionaryFile();

    // End of loading: the host check, the dictionary, then the translation of the owner
    // window with everything it owns. A dictionary that is missing or cannot be read is
    // ignored: every key then shows as itself, without its prefix.
    void loaded() override;

private:
    void loadDictionary();

    QString m_dictionaryFile;
};

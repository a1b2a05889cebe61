#pragma once
// The host link component: a non-visual component placed on the program's main window. It
//   - finds the teaching host's hidden server window, whose class name and title carry a
//     suffix that the host passes on the command line ("/serverhandle=...") or the registry
//     names;
//   - creates a hidden message window of its own, through which the host's messages arrive in
//     the GUI thread (platform/MessageWindows.h);
//   - exchanges typed messages with the host, each request answered by a reply that carries
//     the request's time stamp (QuillonStream.h, QuillonPayloads.h);
//   - owns the translation engine, loads the dictionary (from the file beside the executable or
//     from the host) and has the engine translate the window it sits on;
//   - keeps the program to one running instance, handing a second start's parameters to the
//     first; obeys the host's quit request and tells the host when the program stops.
//
// TkdbCustomDemon holds what does not depend on the side of the link; TkdbDemonClient is the
// program's side. The owner of a component is its QObject parent, the window it translates.
// Destroying the component always ends the application (it posts the quit request).
//
// The transport underneath, with every limit, is described for host writers in
// docs/host-link.md.

#include "hostlink/QuillonStream.h"
#include "i18n/Zodavided2000.h"
#include "platform/Component.h"
#include "platform/MessageWindows.h"

#include <QBuffer>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

// Raised by the end of loading in a second instance of a single-instance program, after its
// parameters went to the first instance: the process must end at once, without showing a
// window. Whoever builds the window lets it pass up to the entry point, which ends the program;
// what was built so far is released on the way out.
class EQuillonSecondInstance : public EQuillon
{
public:
    EQuillonSecondInstance() : EQuillon("Another instance of the program is running") {}
};

class TkdbCustomDemon : public QObject, public ZelComponent, public TQuillonLinkOwner
{
    Q_OBJECT
    Q_PROPERTY(bool AutoTranslate READ AutoTranslate WRITE SetAutoTranslate)
    Q_PROPERTY(bool AutoCreateItlFile READ AutoCreateItlFile WRITE SetAutoCreateItlFile)
    Q_PROPERTY(bool MultiStart READ MultiStart WRITE SetMultiStart)
    Q_PROPERTY(bool UseWendralServer READ UseWendralServer WRITE SetUseWendralServer)

public:
    // Creates the engine with an empty application name (AutoTranslate and UseWendralServer on,
    // MultiStart off), the two entities (the server's with the host window that
    // FindServerWindow finds) and the parameter list: every command-line argument, the
    // executable's first, except those that begin exactly with "/serverhandle=".
    explicit TkdbCustomDemon(QObject *owner = nullptr);
    // Releases the pending replies, the hidden window and its class, the single-instance
    // mutex and the engine (which may write the translator's dictionary), then posts the
    // application's quit request.
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

    // Any received message that the component does not handle itself; the stream is
    // positioned at the start of its content and released when the handler returns.
    std::function<void(TkdbCustomDemon *sender, TQuillonMessageStream &msg)> OnGotAMessage;
    // The host's quit request; clearing allowQuit keeps the program running.
    std::function<void(TkdbCustomDemon *sender, bool serverDown, bool &allowQuit)>
        OnQuitMsgReceived;
    // The parameter list was replaced (a second start handed over its own).
    std::function<void(TkdbCustomDemon *sender)> OnParamsChange;

    // The translation engine, for the owner's TranslateString and TranslateComponent.
    TZodavided2000 &Engine() { return *m_engine; }
    const TZodavided2000 &Engine() const { return *m_engine; }

    TEntity &OwnEntity() { return m_ownEntity; }
    TEntity &ServerEntity() { return m_serverEntity; }
    // The ServerDown value of the last quit request.
    bool ServerDown() const { return m_serverDown; }
    // The hidden window (0 while the process takes no part in the link).
    Link::WindowHandle Window() const { return m_window; }

    // Number of parameters after the executable's path.
    int ParamCount() const { return int(m_params.size()) - 1; }
    // 0: the program's executable path; 1..ParamCount: the parameter. Any other index raises
    // EQuillon "Illegal "ParamStr" parameter: <index>".
    QString ParamStr(int index) const;
    const QStringList &Params() const { return m_params; }

    // ---- the overridable operations
    // Dispatches one received message: dmQuit, dmReply (kept until its request claims it),
    // dmParams (replaces the parameter list), anything else to OnGotAMessage. A handler that
    // keeps the stream takes it out of `stream`.
    virtual void HandleMessage(std::unique_ptr<TQuillonMessageStream> &stream);
    virtual QString GetWindowClassName() const = 0;
    virtual QString GetWindowName() const = 0;
    virtual std::unique_ptr<TEntity> FindApplicationByTitle(const QString &title) = 0;
    std::unique_ptr<TEntity> FindApplicationByHandle(quint32 handle) override = 0;
    virtual qint32 ExecuteProgram(const QString &program, const QString &parameters, bool wait,
                                  qint32 mode) = 0;
    // A memory stream positioned at its start (owned by the caller), or none.
    virtual std::unique_ptr<QBuffer> GetFile(const QString &fileName) = 0;
    virtual QString MapFileName(const QString &name) = 0;
    virtual QString QueryString(const QString &text) = 0;
    virtual QString GetServerValue(const QString &name) = 0;

    // ---- sending (TQuillonLinkOwner)
    // Stamps the message and sends it to the target's window (nothing when this component's
    // own window is not valid); the reply that arrives while the target handles it goes into
    // `reply`, which stays empty when none came.
    void SendStream(TQuillonMessageStream &message, const TEntity &target,
                    TQuillonMessageStream *reply) override;
    bool IsWindow(quint32 handle) const override;

    // The whole process takes no part in the link: components create no window, hold no
    // mutex, send nothing and post no quit request; they still own the engine, read the
    // dictionary file and translate. For the batch outputs, which run beside an open program,
    // and for tests that build windows in-process.
    static void SetLinkSuspended(bool suspended);
    static bool LinkSuspended();

    // Replies kept at most; the oldest goes first, so a peer that floods replies cannot grow
    // the list without end.
    static constexpr int MaxPendingReplies = 64;

protected:
    // Registers the window class, creates the hidden window and binds it to HandleMessage
    // (the side's class name is known only once the derived object exists). Raises EQuillon
    // with the last error when the class cannot be registered. A window that cannot be created
    // (no usable link folder) leaves the reason in m_windowError: the end of loading decides.
    void createWindow();

    QString m_windowError;
    // How long a send waits for its target: Link::SendTimeLimitMs for requests, the notice
    // limit while nobody waits for the answer.
    int m_sendTimeLimitMs = Link::SendTimeLimitMs;

private:
    qint32 receive(Link::WindowHandle sender, qint32 dataWord, const QByteArray &data);
    void quitRequested(bool serverDown);

    std::unique_ptr<TZodavided2000> m_engine;
    bool m_autoTranslate = true;
    bool m_multiStart = false;
    bool m_useWendralServer = true;
    bool m_serverDown = false;
    std::vector<std::unique_ptr<TQuillonMessageStream>> m_pendingReplies;
    QStringList m_params;
    TEntity m_ownEntity;
    TEntity m_serverEntity;
    QString m_windowClass;
    Link::WindowHandle m_window = 0;
    bool m_quitting = false;
};

class TkdbDemonClient : public TkdbCustomDemon
{
    Q_OBJECT
public:
    // Creates the hidden window of class "ThisIsTheQuillonClientComponentWindowClass" (untitled)
    // unless the process takes no part in the link.
    explicit TkdbDemonClient(QObject *owner = nullptr);
    // Tells the host that this client stopped (dmClientStopped), unless the host is going down;
    // the notice waits at most Link::NoticeTimeLimitMs.
    ~TkdbDemonClient() override;

    // The dictionary read at the end of loading when the host does not supply it. Empty (the
    // default): the file beside the executable named after it, "ionograph.itl" for
    // ".../ionograph". Not stored with the window: the program chooses it (by language)
    // before the window is built.
    QString DictionaryFile() const { return m_dictionaryFile; }
    void SetDictionaryFile(const QString &path) { m_dictionaryFile = path; }
    // The file read when DictionaryFile is empty.
    static QString DefaultDictionaryFile();

    // End of loading, in this order: without a hidden window, EQuillon "Could not create window
    // handle" (the reason in the last error) when a host is asked for (UseWendralServer or a
    // suffix named, GetServerHandleString), else one line on standard error and the program
    // runs alone, without the single-instance check; with UseWendralServer, the host must be
    // there (EQuillon "Quillon server application is not running") and hears dmClientStarted; the
    // dictionary (from the host with UseWendralServer, else from the file; a missing or
    // unreadable one, or one that is no regular file or exceeds ZelI18n::kMaxDictionaryBytes,
    // is ignored); with AutoTranslate, the translation of the owner window with
    // everything it owns; unless MultiStart, the single-instance check: whoever does not get
    // the mutex is the second instance, hands its parameters to the first (when the host finds
    // it; each send waits at most the notice limit) and raises EQuillonSecondInstance.
    void loaded() override;

    QString GetWindowClassName() const override;
    QString GetWindowName() const override;
    // Requests to the host; an answer that does not come gives none, the empty text or 0, and
    // so does a malformed one, which is dropped with a warning.
    std::unique_ptr<TEntity> FindApplicationByTitle(const QString &title) override;
    std::unique_ptr<TEntity> FindApplicationByHandle(quint32 handle) override;
    // The host starts the program and answers its process id (0 raises EQuillon "Could not
    // execute "<program>.""). With wait, blocks until the program ends and returns its exit
    // code, which the host records; without, returns the process id.
    qint32 ExecuteProgram(const QString &program, const QString &parameters, bool wait,
                          qint32 mode) override;
    std::unique_ptr<QBuffer> GetFile(const QString &fileName) override;
    QString MapFileName(const QString &name) override;
    QString QueryString(const QString &text) override;
    // Without the host: the executable's folder (ending in "/") for "WendralWorkArea" and
    // "WendralHomeDir", the empty text for any other name.
    QString GetServerValue(const QString &name) override;

private:
    // Sends a request of the given code to the host and returns the reply (empty when none).
    std::unique_ptr<TQuillonMessageStream>
    request(qint32 code, const std::function<void(TQuillonMessageStream &)> &writePayload);
    void loadDictionary();
    void enforceSingleInstance();

    QString m_dictionaryFile;
};

// ---- helpers of the unit

// The suffix of the host's window names: the registry's "ViewerHandle" under
// "\Software\Orvan\wendral\demon" unless it is empty or "00000000"; else the last
// command-line argument that begins with "/serverhandle=" in any letter case, lower-cased,
// without that prefix.
QString GetServerHandleString();
// The host's server window for that suffix, or 0.
Link::WindowHandle FindServerWindow();
// The text of the link's last failure, or "(GetLastErrorString failed)".
QString GetLastErrorString();

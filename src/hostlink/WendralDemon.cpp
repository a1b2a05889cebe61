#include "hostlink/WendralDemon.h"

#include "hostlink/QuillonPayloads.h"
#include "platform/MessageBox.h"
#include "platform/NamedMutex.h"
#include "platform/Registry.h"
#include "platform/RuntimeDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtDebug>

namespace {

const QString serverHandlePrefix = QStringLiteral("/serverhandle=");
const QString serverClass = QStringLiteral("ThisIsTheQuillonServerComponentWindowClass");
const QString serverTitle = QStringLiteral("ThisIsTheQuillonServerComponentWindow");

bool linkSuspended = false;

QStringList commandLine()
{
    return QCoreApplication::instance() ? QCoreApplication::arguments() : QStringList();
}

void warnMalformed(qint32 code)
{
    qWarning("Host link: a malformed message (code %d) was dropped", int(code));
}

// Reads a reply with read; a malformed one is dropped like any malformed message and counts
// as no reply (none, the empty text or 0).
template <typename Read> auto readReply(TQuillonMessageStream &reply, Read read) -> decltype(read())
{
    try {
        return read();
    } catch (const EQuillonReadError &) {
        warnMalformed(reply.MsgCode);
        return {};
    }
}

// While it lives, the component's sends wait only as long as a notice deserves.
class NoticeSends
{
public:
    explicit NoticeSends(int &limit) : m_limit(limit), m_previous(limit)
    {
        limit = Link::NoticeTimeLimitMs;
    }
    ~NoticeSends() { m_limit = m_previous; }
    NoticeSends(const NoticeSends &) = delete;
    NoticeSends &operator=(const NoticeSends &) = delete;

private:
    int &m_limit;
    int m_previous;
};

} // namespace

// ---- helpers of the unit -----------------------------------------------------------------------

QString GetServerHandleString()
{
    const QString stored =
        readRegistryText(kRegistryLocalMachine, QStringLiteral("\\Software\\Orvan\\wendral\\demon"),
                         QStringLiteral("ViewerHandle"));
    if (!stored.isEmpty() && stored != QLatin1String("00000000"))
        return stored;
    QString suffix;
    const QStringList arguments = commandLine();
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString argument = ZelI18n::lowerAZ(arguments[i]);
        if (argument.startsWith(serverHandlePrefix))
            suffix = argument.mid(serverHandlePrefix.size());
    }
    return suffix;
}

Link::WindowHandle FindServerWindow()
{
    const QString suffix = GetServerHandleString();
    return Link::findWindow(serverClass + suffix, serverTitle + suffix);
}

QString GetLastErrorString()
{
    const QString text = Link::lastErrorText();
    return text.isEmpty() ? QStringLiteral("(GetLastErrorString failed)") : text;
}

// ---- TkdbCustomDemon ---------------------------------------------------------------------------

TkdbCustomDemon::TkdbCustomDemon(QObject *owner)
    : QObject(owner), m_engine(std::make_unique<TZodavided2000>(QString())), m_ownEntity(this),
      m_serverEntity(this)
{
    if (!linkSuspended)
        m_serverEntity.SetWindowHandle(FindServerWindow());
    const QStringList arguments = commandLine();
    for (const QString &argument : arguments) {
        if (!argument.startsWith(serverHandlePrefix))
            m_params << argument;
    }
}

TkdbCustomDemon::~TkdbCustomDemon()
{
    m_pendingReplies.clear();
    if (m_window != 0) {
        Link::destroyWindow(m_window);
        Link::unregisterWindowClass(m_windowClass);
        m_window = 0;
    }
    if (m_ownEntity.ExtraHandle() != 0) {
        Link::closeMutex(m_ownEntity.ExtraHandle());
        m_ownEntity.SetExtraHandle(0);
    }
    m_engine.reset();
    if (!linkSuspended && QCoreApplication::instance())
        QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                                  Qt::QueuedConnection);
}

void TkdbCustomDemon::SetLinkSuspended(bool suspended)
{
    linkSuspended = suspended;
}

bool TkdbCustomDemon::LinkSuspended()
{
    return linkSuspended;
}

void TkdbCustomDemon::createWindow()
{
    if (linkSuspended)
        return;
    const QString className = GetWindowClassName();
    if (!Link::registerWindowClass(className))
        throw EQuillon(GetLastErrorString());
    const Link::WindowHandle window = Link::createWindow(className, GetWindowName());
    if (window == 0) {
        // Decided when loading ends: only a program that asks for a host needs the window.
        Link::unregisterWindowClass(className);
        m_windowError = GetLastErrorString();
        return;
    }
    m_windowClass = className;
    m_window = window;
    m_ownEntity.SetTitle(QCoreApplication::applicationName());
    m_ownEntity.SetExeName(QCoreApplication::applicationFilePath());
    m_ownEntity.SetWindowHandle(window);
    Link::setWindowProcedure(
        window, [this](Link::WindowHandle sender, qint32 word, const QByteArray &data) {
            return receive(sender, word, data);
        });
}

QString TkdbCustomDemon::ParamStr(int index) const
{
    if (index == 0)
        return QCoreApplication::applicationFilePath();
    if (index < 0 || index > ParamCount())
        throw EQuillon(QStringLiteral("Illegal \"ParamStr\" parameter: %1").arg(index));
    return m_params[index];
}

bool TkdbCustomDemon::IsWindow(quint32 handle) const
{
    return Link::isWindow(handle);
}

void TkdbCustomDemon::SendStream(TQuillonMessageStream &message, const TEntity &target,
                                 TQuillonMessageStream *reply)
{
    message.Stamp();
    if (!m_ownEntity.IsValid())
        return;
    Link::sendCopyData(m_window, target.WindowHandle(), message.MsgCode, message.CopyData(),
                       m_sendTimeLimitMs);
    const auto it =
        std::find_if(m_pendingReplies.begin(), m_pendingReplies.end(),
                     [&message](const auto &r) { return r->TimeStamp == message.TimeStamp; });
    if (it == m_pendingReplies.end())
        return;
    const std::unique_ptr<TQuillonMessageStream> found = std::move(*it);
    m_pendingReplies.erase(it);
    if (reply)
        reply->CopyFrom(*found);
}

qint32 TkdbCustomDemon::receive(Link::WindowHandle sender, qint32 dataWord, const QByteArray &data)
{
    // A block too short for its time stamp, or too long, is no message.
    std::unique_ptr<TQuillonMessageStream> stream =
        TQuillonMessageStream::FromCopyData(this, sender, dataWord, data);
    if (!stream)
        return 0;
    // The peer is not trusted: a payload shorter than its layout is dropped; a handler's own
    // failure is shown as any other, and the program goes on.
    try {
        HandleMessage(stream);
    } catch (const EQuillonReadError &) {
        warnMalformed(dataWord);
    } catch (const std::exception &error) {
        showMessage(MessageKind::Error, QString::fromLocal8Bit(error.what()));
    }
    return 0;
}

void TkdbCustomDemon::HandleMessage(std::unique_ptr<TQuillonMessageStream> &stream)
{
    switch (stream->MsgCode) {
    case dmQuit:
        quitRequested(ReadQuitPayload(*stream));
        break;
    case dmReply:
        if (m_pendingReplies.size() >= size_t(MaxPendingReplies))
            m_pendingReplies.erase(m_pendingReplies.begin());
        m_pendingReplies.push_back(std::move(stream));
        break;
    case dmParams:
        m_params = stream->ReadLines();
        if (OnParamsChange)
            OnParamsChange(this);
        break;
    default:
        if (OnGotAMessage)
            OnGotAMessage(this, *stream);
        break;
    }
}

void TkdbCustomDemon::quitRequested(bool serverDown)
{
    m_serverDown = serverDown;
    bool allowQuit = true;
    if (OnQuitMsgReceived)
        OnQuitMsgReceived(this, serverDown, allowQuit);
    if (!allowQuit || m_quitting)
        return;
    // Released once the message handling has returned: the window that receives the
    // message must outlive it.
    m_quitting = true;
    deleteLater();
}

// ---- TkdbDemonClient ---------------------------------------------------------------------------

TkdbDemonClient::TkdbDemonClient(QObject *owner) : TkdbCustomDemon(owner)
{
    createWindow();
}

TkdbDemonClient::~TkdbDemonClient()
{
    if (ServerDown() || LinkSuspended())
        return;
    try {
        const NoticeSends notice(m_sendTimeLimitMs);
        TQuillonMessageStream stopped(this);
        stopped.MsgCode = dmClientStopped;
        OwnEntity().WriteToStream(stopped);
        stopped.SendTo(ServerEntity(), nullptr);
    } catch (const std::exception &error) {
        // A destructor cannot raise; the host simply misses the notice.
        qWarning("Host link: %s", error.what());
    }
}

QString TkdbDemonClient::GetWindowClassName() const
{
    return QStringLiteral("ThisIsTheQuillonClientComponentWindowClass");
}

QString TkdbDemonClient::GetWindowName() const
{
    return QString();
}

QString TkdbDemonClient::DefaultDictionaryFile()
{
    const QString executable = QCoreApplication::applicationFilePath();
    return QFileInfo(executable).dir().filePath(ZelI18n::itlFileNameFor(executable));
}

void TkdbDemonClient::loaded()
{
    TkdbCustomDemon::loaded();
    if (!m_windowError.isEmpty()) {
        if (UseWendralServer() || !GetServerHandleString().isEmpty()) {
            Link::setLastErrorText(m_windowError);
            throw EQuillon("Could not create window handle");
        }
        qWarning("Host link: %s; the program runs alone, without the single-instance check",
                 qPrintable(m_windowError));
    }
    if (UseWendralServer() && !LinkSuspended()) {
        if (ServerEntity().WindowHandle() == 0)
            throw EQuillon("Quillon server application is not running");
        TQuillonMessageStream started(this);
        started.MsgCode = dmClientStarted;
        OwnEntity().WriteToStream(started);
        started.SendTo(ServerEntity(), nullptr);
    }
    loadDictionary();
    if (AutoTranslate())
        Engine().TranslateComponent(parent());
    if (!MultiStart() && Window() != 0)
        enforceSingleInstance();
}

void TkdbDemonClient::loadDictionary()
{
    if (UseWendralServer() && !LinkSuspended()) {
        // The dictionary beside the program as the host names it, with the program's own
        // name: "ionograph" gives "ionograph.itl".
        const QString mapped = MapFileName(QCoreApplication::applicationFilePath());
        const QFileInfo name(mapped);
        const QString path = mapped.isEmpty()
                                 ? QString()
                                 : name.dir().filePath(ZelI18n::itlFileNameFor(name.fileName()));
        if (std::unique_ptr<QBuffer> dictionary = path.isEmpty() ? nullptr : GetFile(path))
            Engine().LoadDictionary(*dictionary);
        return;
    }
    // Only a regular file up to the dictionary limit: a device named like a dictionary would
    // be read without end.
    const QFileInfo info(m_dictionaryFile.isEmpty() ? DefaultDictionaryFile() : m_dictionaryFile);
    QFile file(info.filePath());
    if (info.isFile() && info.size() <= ZelI18n::kMaxDictionaryBytes &&
        file.open(QIODevice::ReadOnly))
        Engine().LoadDictionary(file);
}

void TkdbDemonClient::enforceSingleInstance()
{
    const QString name = OwnEntity().MutexName();
    bool heldElsewhere = false;
    const int mutex = Link::createMutex(name, &heldElsewhere);
    if (mutex > 0) {
        OwnEntity().SetExtraHandle(mutex);
        return;
    }
    if (!heldElsewhere) {
        qWarning("Host link: %s; the program runs without the single-instance check",
                 qPrintable(GetLastErrorString()));
        return;
    }
    // Whoever did not get the mutex is the second instance. Nobody waits for the hand-over.
    const NoticeSends notice(m_sendTimeLimitMs);
    if (std::unique_ptr<TEntity> first =
            FindApplicationByTitle(QCoreApplication::applicationName())) {
        TQuillonMessageStream params(this);
        params.MsgCode = dmParams;
        params.WriteLines(Params());
        params.SendTo(*first, nullptr);
    }
    throw EQuillonSecondInstance();
}

std::unique_ptr<TQuillonMessageStream>
TkdbDemonClient::request(qint32 code,
                         const std::function<void(TQuillonMessageStream &)> &writePayload)
{
    TQuillonMessageStream message(this);
    message.MsgCode = code;
    writePayload(message);
    auto reply = std::make_unique<TQuillonMessageStream>(this);
    message.SendTo(ServerEntity(), reply.get());
    reply->SetPosition(0);
    return reply;
}

std::unique_ptr<TEntity> TkdbDemonClient::FindApplicationByTitle(const QString &title)
{
    const auto reply = request(dmFindApplication, [&title](TQuillonMessageStream &s) {
        WriteFindApplicationByTitle(s, title);
    });
    return readReply(*reply, [&] { return ReadFindApplicationReply(*reply, this); });
}

std::unique_ptr<TEntity> TkdbDemonClient::FindApplicationByHandle(quint32 handle)
{
    const auto reply = request(dmFindApplication, [handle](TQuillonMessageStream &s) {
        WriteFindApplicationByHandle(s, handle);
    });
    return readReply(*reply, [&] { return ReadFindApplicationReply(*reply, this); });
}

qint32 TkdbDemonClient::ExecuteProgram(const QString &program, const QString &parameters, bool wait,
                                       qint32 mode)
{
    const auto reply = request(dmExecute, [&](TQuillonMessageStream &s) {
        WriteExecuteRequest(s, {program, parameters, wait, mode});
    });
    const quint32 processId = readReply(*reply, [&] { return ReadExecuteReply(*reply); });
    const EQuillon failed(QStringLiteral("Could not execute \"%1.\"").arg(program));
    if (processId == 0)
        throw failed;
    if (!wait)
        return qint32(processId);
    const std::optional<int> exitCode = Link::waitForExitCode(processId);
    if (!exitCode)
        throw failed;
    return *exitCode;
}

std::unique_ptr<QBuffer> TkdbDemonClient::GetFile(const QString &fileName)
{
    const auto reply =
        request(dmGetFile, [&fileName](TQuillonMessageStream &s) { s.WriteString(fileName); });
    const std::optional<QByteArray> bytes =
        readReply(*reply, [&] { return ReadGetFileReply(*reply); });
    if (!bytes)
        return nullptr;
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(*bytes);
    buffer->open(QIODevice::ReadOnly);
    return buffer;
}

namespace {

QString textReply(TQuillonMessageStream &reply)
{
    return readReply(reply, [&] { return ReadTextReply(reply); });
}

} // namespace

QString TkdbDemonClient::MapFileName(const QString &name)
{
    return textReply(
        *request(dmMapFileName, [&name](TQuillonMessageStream &s) { s.WriteString(name); }));
}

QString TkdbDemonClient::QueryString(const QString &text)
{
    return textReply(
        *request(dmQueryString, [&text](TQuillonMessageStream &s) { s.WriteString(text); }));
}

QString TkdbDemonClient::GetServerValue(const QString &name)
{
    if (UseWendralServer())
        return textReply(
            *request(dmGetServerValue, [&name](TQuillonMessageStream &s) { s.WriteString(name); }));
    if (name != QLatin1String("WendralWorkArea") && name != QLatin1String("WendralHomeDir"))
        return QString();
    QString folder = QFileInfo(QCoreApplication::applicationFilePath()).absolutePath();
    if (!folder.endsWith(QLatin1Char('/')) && !folder.endsWith(QLatin1Char('\\')))
        folder += QLatin1Char('/');
    return folder;
}

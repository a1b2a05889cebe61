#pragma once
// The host link's wire layer: the message stream that carries one message, the entity that
// describes one application taking part in the link, the time stamp that pairs a request with
// its reply, and the framing of one copy-data block (8-byte time stamp, then the payload).
//
// All integers travel as 32-bit little-endian words. A text travels as a 32-bit signed byte
// count followed by that many bytes, no terminator; texts are UTF-8, the desktop's code page.
//
// The layout of every message, as a host written in another language needs it, is in
// docs/host-link.md.
//
// Everything here is plain data and needs no QApplication. Input from a peer is untrusted:
// every read checks the bytes that are left and refuses a short or malformed payload with
// EQuillonReadError, leaving the stream's position (and the object being read) as it was.

#include "hostlink/WendralConstants.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <memory>
#include <stdexcept>
#include <string>

// Every error raised by the host link carries its message text only.
class EQuillon : public std::runtime_error
{
public:
    explicit EQuillon(const char *message) : std::runtime_error(message) {}
    explicit EQuillon(const std::string &message) : std::runtime_error(message) {}
    explicit EQuillon(const QString &message) : std::runtime_error(message.toStdString()) {}
};

// A read past the end of a message: the payload is shorter than its layout.
class EQuillonReadError : public EQuillon
{
public:
    EQuillonReadError() : EQuillon("Stream read error") {}
};

// A write that would make a message larger than the transport carries.
class EQuillonWriteError : public EQuillon
{
public:
    EQuillonWriteError() : EQuillon("Stream write error") {}
};

// ---- time stamp ------------------------------------------------------------------------------

// Correlation stamp of a message: milliseconds since local midnight, then days since
// 1 January of year 1, that day counting as 1.
struct TQuillonTimeStamp
{
    qint32 Time = 0;
    qint32 Date = 0;
    friend bool operator==(const TQuillonTimeStamp &, const TQuillonTimeStamp &) = default;
};

// The stamp of a moment, in local time; an invalid moment gives 0, 0.
TQuillonTimeStamp QuillonTimeStampOf(const QDateTime &moment);

// The stamp of the current local date and time.
TQuillonTimeStamp CurrentQuillonTimeStamp();

// The local moment a stamp names; invalid when the time is outside the day or the date
// before 1 January of year 1.
QDateTime QuillonTimeStampToDateTime(const TQuillonTimeStamp &stamp);

// ---- owner -----------------------------------------------------------------------------------

class TEntity;
class TQuillonMessageStream;

// What streams and entities ask of the host-link component that owns them.
class TQuillonLinkOwner
{
public:
    virtual ~TQuillonLinkOwner() = default;

    // Stamps the message, sends it to the target's window and fills reply (when given) with
    // the answer, or leaves it empty when none came.
    virtual void SendStream(TQuillonMessageStream &message, const TEntity &target,
                            TQuillonMessageStream *reply) = 0;

    // The application whose link window is handle, as the host knows it; none when unknown.
    virtual std::unique_ptr<TEntity> FindApplicationByHandle(quint32 handle) = 0;

    // Whether handle names an existing link window.
    virtual bool IsWindow(quint32 handle) const = 0;
};

// ---- entity ----------------------------------------------------------------------------------

// One application taking part in the link. Record layout: WindowHandle (32 bits),
// ExtraHandle (32 bits), ExeName (text), Title (text).
class TEntity
{
public:
    explicit TEntity(TQuillonLinkOwner *owner = nullptr) : m_owner(owner) {}
    TEntity(const TEntity &) = delete;
    TEntity &operator=(const TEntity &) = delete;

    TQuillonLinkOwner *Owner() const { return m_owner; }

    quint32 WindowHandle() const { return m_windowHandle; }
    void SetWindowHandle(quint32 handle) { m_windowHandle = handle; }
    // For the program's own entity the single-instance mutex; from the host whatever it sends.
    qint32 ExtraHandle() const { return m_extraHandle; }
    void SetExtraHandle(qint32 handle) { m_extraHandle = handle; }

    // The executable path and the title; an empty field is first refreshed from the host.
    QString GetExeName();
    QString GetTitle();
    void SetExeName(const QString &name) { m_exeName = name; }
    void SetTitle(const QString &title) { m_title = title; }

    // The fields as stored, without asking the host.
    const QString &StoredExeName() const { return m_exeName; }
    const QString &StoredTitle() const { return m_title; }

    // Asks the owner's host for the application of WindowHandle; when one comes back its four
    // fields replace these. Without an owner nothing happens.
    void Refresh();

    // Copies the four fields of other; nothing when other is null.
    void Assign(const TEntity *other);

    // Writes the record at the stream's position: the handles as they are, then ExeName and
    // Title read through GetExeName and GetTitle. The record is written whole or not at all.
    void WriteToStream(TQuillonMessageStream &stream);

    // Reads a record at the stream's position. A short or malformed record raises
    // EQuillonReadError and leaves both the entity and the stream's position unchanged.
    void ReadFromStream(TQuillonMessageStream &stream);

    // "QL_" and the file-name part of GetExeName (after the last "/" or "\"), every backslash
    // replaced by an underscore.
    QString MutexName();

    // True when the owner reports WindowHandle as an existing window.
    bool IsValid() const;

private:
    TQuillonLinkOwner *m_owner;
    quint32 m_windowHandle = 0;
    qint32 m_extraHandle = 0;
    QString m_exeName;
    QString m_title;
    bool m_refreshing = false;
};

// ---- message stream --------------------------------------------------------------------------

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

// One message: a growable in-memory byte stream (the payload) with its time stamp, code and
// sender. Positions run from 0 to QuillonMaxPayloadSize; a position beyond the end reads
// nothing, and a write there fills the gap with zero bytes. The content never grows beyond
// QuillonMaxPayloadSize: such a write raises EQuillonWriteError and changes nothing.
class TQuillonMessageStream
{
public:
    explicit TQuillonMessageStream(TQuillonLinkOwner *owner = nullptr);
    TQuillonMessageStream(const TQuillonMessageStream &) = delete;
    TQuillonMessageStream &operator=(const TQuillonMessageStream &) = delete;

    TQuillonLinkOwner *Owner() const { return m_owner; }

    TQuillonTimeStamp TimeStamp;
    qint32 MsgCode = 0;
    TEntity &Sender() { return m_sender; }
    const TEntity &Sender() const { return m_sender; }

    // ---- memory stream
    qint64 Size() const { return m_data.size(); }
    // Truncates or zero-extends the content; the position stays, even beyond a new end.
    void SetSize(qint64 size);
    qint64 Position() const { return m_position; }
    // Positions are held to 0..QuillonMaxPayloadSize.
    void SetPosition(qint64 position);
    // Moves the position and returns the new one.
    qint64 Seek(qint64 offset, TSeekOrigin origin);
    // Bytes between the position and the end (0 when the position is beyond the end).
    qint64 Remaining() const;
    // Empties the content and sets the position to 0; stamp, code and sender stay.
    void Clear();
    const QByteArray &Content() const { return m_data; }

    // Reads up to count bytes and returns how many were read.
    qint64 Read(void *buffer, qint64 count);
    // Reads exactly count bytes or raises EQuillonReadError without moving.
    void ReadBuffer(void *buffer, qint64 count);
    void Write(const void *buffer, qint64 count);
    void WriteBytes(const QByteArray &bytes) { Write(bytes.constData(), bytes.size()); }

    quint8 ReadByte();
    void WriteByte(quint8 value);
    qint32 ReadInteger();
    void WriteInteger(qint32 value);
    quint32 ReadCardinal();
    void WriteCardinal(quint32 value);
    // Exactly count bytes (count >= 0), or EQuillonReadError.
    QByteArray ReadBytes(qint64 count);
    // Everything from the position to the end.
    QByteArray ReadToEnd();

    // Texts: a 32-bit signed byte count, then the bytes. Reading a count of 0 or less gives
    // the empty text and consumes the count only; a count beyond the bytes that are left
    // raises EQuillonReadError and leaves the position where it was.
    void WriteString(const QString &text);
    QString ReadString();
    void WriteRawString(const QByteArray &bytes);
    QByteArray ReadRawString();

    // Text lines, each followed by CR LF. Reading takes everything to the end: CR LF, a lone
    // CR and a lone LF each end a line; text after the last line end is a line of its own.
    // A line that holds CR or LF itself therefore comes back as several lines.
    void WriteLines(const QStringList &lines);
    QStringList ReadLines();

    // Sets TimeStamp to the current local time.
    void Stamp() { TimeStamp = CurrentQuillonTimeStamp(); }

    // Hands the message to the owner's sending operation; reply (when given) is emptied first
    // and receives the answer; reply may be this message itself. Without an owner nothing is
    // sent and false comes back.
    bool SendTo(const TEntity &target, TQuillonMessageStream *reply);

    // Copies a received reply: time stamp, code, the sender's four fields and the whole
    // content; the copy is positioned at its start.
    void CopyFrom(const TQuillonMessageStream &other);

    // ---- copy-data framing
    // The block that travels: the 8-byte time stamp followed by the whole content.
    QByteArray CopyData() const;

    // A received copy-data block as a message: code = dataWord, time stamp = the first
    // 8 bytes, content = the rest, position 0, sender's window = senderHandle. Blocks shorter
    // than the time stamp or longer than QuillonMaxDataSize are refused (null).
    static std::unique_ptr<TQuillonMessageStream> FromCopyData(TQuillonLinkOwner *owner,
                                                               quint32 senderHandle,
                                                               qint32 dataWord, const char *data,
                                                               qint64 size);
    static std::unique_ptr<TQuillonMessageStream> FromCopyData(TQuillonLinkOwner *owner,
                                                               quint32 senderHandle,
                                                               qint32 dataWord,
                                                               const QByteArray &data)
    {
        return FromCopyData(owner, senderHandle, dataWord, data.constData(), data.size());
    }

private:
    TQuillonLinkOwner *m_owner;
    TEntity m_sender;
    QByteArray m_data;
    qint64 m_position = 0;
};

// The encoded form of a text (count and bytes), as WriteString writes it.
QByteArray EncodeQuillonText(const QString &text);

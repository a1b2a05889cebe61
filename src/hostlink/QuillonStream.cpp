// SPDX-License-Identifier: GPL-3.0-or-later
// The message stream, the entity record, time stamps and copy-data framing.

#include "hostlink/QuillonStream.h"

#include <QDate>
#include <QTime>
#include <QtEndian>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {

// Julian day number of 1 January of year 1 minus one: that day is day 1 of the stamp.
constexpr qint64 kStampDateOffset = 1721425;
constexpr qint32 kMillisecondsPerDay = 86400000;

void appendLittleEndian(QByteArray &bytes, quint32 value)
{
    char word[4];
    qToLittleEndian(value, word);
    bytes.append(word, 4);
}

quint32 littleEndianAt(const char *data)
{
    return qFromLittleEndian<quint32>(data);
}

// The file-name part of a path: after the last "/" or "\".
QString fileNamePart(const QString &path)
{
    const qsizetype slash = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return path.mid(slash + 1);
}

} // namespace

// ---- time stamp ------------------------------------------------------------------------------

TQuillonTimeStamp QuillonTimeStampOf(const QDateTime &moment)
{
    if (!moment.isValid())
        return {};
    const QDateTime local = moment.toLocalTime();
    const qint64 day = local.date().toJulianDay() - kStampDateOffset;
    if (day < 1 || day > std::numeric_limits<qint32>::max())
        return {};
    return {qint32(local.time().msecsSinceStartOfDay()), qint32(day)};
}

TQuillonTimeStamp CurrentQuillonTimeStamp()
{
    return QuillonTimeStampOf(QDateTime::currentDateTime());
}

QDateTime QuillonTimeStampToDateTime(const TQuillonTimeStamp &stamp)
{
    if (stamp.Time < 0 || stamp.Time >= kMillisecondsPerDay || stamp.Date < 1)
        return {};
    return QDateTime(QDate::fromJulianDay(stamp.Date + kStampDateOffset),
                     QTime::fromMSecsSinceStartOfDay(stamp.Time));
}

// ---- texts -----------------------------------------------------------------------------------

namespace {

QByteArray encodeRawText(const QByteArray &bytes)
{
    if (bytes.size() > QuillonMaxPayloadSize)
        throw EQuillonWriteError();
    QByteArray encoded;
    encoded.reserve(4 + bytes.size());
    appendLittleEndian(encoded, quint32(bytes.size()));
    encoded.append(bytes);
    return encoded;
}

} // namespace

QByteArray EncodeQuillonText(const QString &text)
{
    return encodeRawText(text.toUtf8());
}

// ---- entity ----------------------------------------------------------------------------------

QString TEntity::GetExeName()
{
    if (m_exeName.isEmpty())
        Refresh();
    return m_exeName;
}

QString TEntity::GetTitle()
{
    if (m_title.isEmpty())
        Refresh();
    return m_title;
}

void TEntity::Refresh()
{
    // An owner that asks this entity for its fields while answering must not loop.
    if (!m_owner || m_refreshing)
        return;
    m_refreshing = true;
    std::unique_ptr<TEntity> found;
    try {
        found = m_owner->FindApplicationByHandle(m_windowHandle);
    } catch (...) {
        m_refreshing = false;
        throw;
    }
    m_refreshing = false;
    Assign(found.get());
}

void TEntity::Assign(const TEntity *other)
{
    if (!other || other == this)
        return;
    m_windowHandle = other->m_windowHandle;
    m_extraHandle = other->m_extraHandle;
    m_exeName = other->m_exeName;
    m_title = other->m_title;
}

void TEntity::WriteToStream(TQuillonMessageStream &stream)
{
    // The handles as they are before a refresh that reading an empty name may cause.
    QByteArray record;
    appendLittleEndian(record, m_windowHandle);
    appendLittleEndian(record, quint32(m_extraHandle));
    const QString exeName = GetExeName();
    const QString title = GetTitle();
    record.append(encodeRawText(exeName.toUtf8()));
    record.append(encodeRawText(title.toUtf8()));
    stream.WriteBytes(record);
}

void TEntity::ReadFromStream(TQuillonMessageStream &stream)
{
    const qint64 start = stream.Position();
    try {
        const quint32 windowHandle = stream.ReadCardinal();
        const qint32 extraHandle = stream.ReadInteger();
        QString exeName = stream.ReadString();
        QString title = stream.ReadString();
        m_windowHandle = windowHandle;
        m_extraHandle = extraHandle;
        m_exeName = std::move(exeName);
        m_title = std::move(title);
    } catch (const EQuillonReadError &) {
        stream.SetPosition(start);
        throw;
    }
}

QString TEntity::MutexName()
{
    QString name = fileNamePart(GetExeName());
    name.replace(u'\\', u'_');
    return QStringLiteral("QL_") + name;
}

bool TEntity::IsValid() const
{
    return m_owner && m_windowHandle != 0 && m_owner->IsWindow(m_windowHandle);
}

// ---- message stream --------------------------------------------------------------------------

TQuillonMessageStream::TQuillonMessageStream(TQuillonLinkOwner *owner)
    : m_owner(owner), m_sender(owner)
{
}

void TQuillonMessageStream::SetSize(qint64 size)
{
    if (size > QuillonMaxPayloadSize)
        throw EQuillonWriteError();
    size = std::max<qint64>(size, 0);
    const qint64 old = m_data.size();
    m_data.resize(size);
    if (size > old)
        std::memset(m_data.data() + old, 0, size_t(size - old));
}

void TQuillonMessageStream::SetPosition(qint64 position)
{
    m_position = std::clamp<qint64>(position, 0, QuillonMaxPayloadSize);
}

qint64 TQuillonMessageStream::Seek(qint64 offset, TSeekOrigin origin)
{
    qint64 base = 0;
    switch (origin) {
    case TSeekOrigin::soBeginning:
        base = 0;
        break;
    case TSeekOrigin::soCurrent:
        base = m_position;
        break;
    case TSeekOrigin::soEnd:
        base = m_data.size();
        break;
    }
    // Offsets far outside the stream saturate instead of overflowing.
    const qint64 limit = QuillonMaxPayloadSize;
    offset = std::clamp<qint64>(offset, -limit - 1, limit + 1);
    SetPosition(base + offset);
    return m_position;
}

qint64 TQuillonMessageStream::Remaining() const
{
    return std::max<qint64>(m_data.size() - m_position, 0);
}

void TQuillonMessageStream::Clear()
{
    m_data.clear();
    m_position = 0;
}

qint64 TQuillonMessageStream::Read(void *buffer, qint64 count)
{
    const qint64 n = buffer ? std::min(std::max<qint64>(count, 0), Remaining()) : 0;
    if (n > 0) {
        std::memcpy(buffer, m_data.constData() + m_position, size_t(n));
        m_position += n;
    }
    return n;
}

void TQuillonMessageStream::ReadBuffer(void *buffer, qint64 count)
{
    if (count < 0 || count > Remaining() || (!buffer && count > 0))
        throw EQuillonReadError();
    Read(buffer, count);
}

void TQuillonMessageStream::Write(const void *buffer, qint64 count)
{
    if (!buffer || count <= 0)
        return;
    if (count > QuillonMaxPayloadSize - m_position)
        throw EQuillonWriteError();
    // Bytes of this very stream: growing may move them and the copy may overlap, so they are
    // copied out first.
    const auto from = reinterpret_cast<std::uintptr_t>(buffer);
    const auto own = reinterpret_cast<std::uintptr_t>(m_data.constData());
    if (from >= own && from - own < std::uintptr_t(m_data.size())) {
        const QByteArray bytes(static_cast<const char *>(buffer), count);
        Write(bytes.constData(), count);
        return;
    }
    const qint64 end = m_position + count;
    if (end > m_data.size())
        SetSize(end);
    std::memcpy(m_data.data() + m_position, buffer, size_t(count));
    m_position = end;
}

quint8 TQuillonMessageStream::ReadByte()
{
    quint8 value = 0;
    ReadBuffer(&value, 1);
    return value;
}

void TQuillonMessageStream::WriteByte(quint8 value)
{
    Write(&value, 1);
}

quint32 TQuillonMessageStream::ReadCardinal()
{
    char word[4];
    ReadBuffer(word, 4);
    return littleEndianAt(word);
}

void TQuillonMessageStream::WriteCardinal(quint32 value)
{
    char word[4];
    qToLittleEndian(value, word);
    Write(word, 4);
}

qint32 TQuillonMessageStream::ReadInteger()
{
    return qint32(ReadCardinal());
}

void TQuillonMessageStream::WriteInteger(qint32 value)
{
    WriteCardinal(quint32(value));
}

QByteArray TQuillonMessageStream::ReadBytes(qint64 count)
{
    if (count < 0 || count > Remaining())
        throw EQuillonReadError();
    QByteArray bytes(m_data.constData() + m_position, count);
    m_position += count;
    return bytes;
}

QByteArray TQuillonMessageStream::ReadToEnd()
{
    return ReadBytes(Remaining());
}

void TQuillonMessageStream::WriteRawString(const QByteArray &bytes)
{
    WriteBytes(encodeRawText(bytes));
}

QByteArray TQuillonMessageStream::ReadRawString()
{
    const qint64 start = m_position;
    const qint32 count = ReadInteger();
    if (count <= 0)
        return {};
    // The count comes from the peer: check it against what is there before allocating.
    if (count > Remaining()) {
        m_position = start;
        throw EQuillonReadError();
    }
    return ReadBytes(count);
}

void TQuillonMessageStream::WriteString(const QString &text)
{
    WriteRawString(text.toUtf8());
}

QString TQuillonMessageStream::ReadString()
{
    return QString::fromUtf8(ReadRawString());
}

void TQuillonMessageStream::WriteLines(const QStringList &lines)
{
    QByteArray text;
    for (const QString &line : lines) {
        text.append(line.toUtf8());
        text.append("\r\n", 2);
    }
    WriteBytes(text);
}

QStringList TQuillonMessageStream::ReadLines()
{
    const QByteArray text = ReadToEnd();
    QStringList lines;
    qsizetype begin = 0;
    const qsizetype size = text.size();
    while (begin < size) {
        qsizetype end = begin;
        while (end < size && text[end] != '\r' && text[end] != '\n')
            ++end;
        lines.append(QString::fromUtf8(text.constData() + begin, end - begin));
        if (end < size && text[end] == '\r') {
            ++end;
            if (end < size && text[end] == '\n')
                ++end;
        } else if (end < size) {
            ++end; // a lone LF
        }
        begin = end;
    }
    return lines;
}

bool TQuillonMessageStream::SendTo(const TEntity &target, TQuillonMessageStream *reply)
{
    // The message as its own reply: emptying it first would send nothing, so the answer
    // goes to a fresh stream and is taken over once the send is done.
    if (reply == this) {
        TQuillonMessageStream answer(m_owner);
        const bool sent = SendTo(target, &answer);
        CopyFrom(answer);
        return sent;
    }
    if (reply) {
        reply->Clear();
        reply->TimeStamp = {};
        reply->MsgCode = 0;
    }
    if (!m_owner)
        return false;
    m_owner->SendStream(*this, target, reply);
    return true;
}

void TQuillonMessageStream::CopyFrom(const TQuillonMessageStream &other)
{
    if (&other == this) {
        m_position = 0;
        return;
    }
    TimeStamp = other.TimeStamp;
    MsgCode = other.MsgCode;
    m_sender.Assign(&other.m_sender);
    m_data = other.m_data;
    m_position = 0;
}

QByteArray TQuillonMessageStream::CopyData() const
{
    QByteArray block;
    block.reserve(QuillonHeaderSize + m_data.size());
    appendLittleEndian(block, quint32(TimeStamp.Time));
    appendLittleEndian(block, quint32(TimeStamp.Date));
    block.append(m_data);
    return block;
}

std::unique_ptr<TQuillonMessageStream>
TQuillonMessageStream::FromCopyData(TQuillonLinkOwner *owner, quint32 senderHandle, qint32 dataWord,
                                    const char *data, qint64 size)
{
    if (!data || size < QuillonHeaderSize || size > QuillonMaxDataSize)
        return nullptr;
    auto message = std::make_unique<TQuillonMessageStream>(owner);
    message->MsgCode = dataWord;
    message->TimeStamp.Time = qint32(littleEndianAt(data));
    message->TimeStamp.Date = qint32(littleEndianAt(data + 4));
    message->m_data = QByteArray(data + QuillonHeaderSize, size - QuillonHeaderSize);
    message->m_sender.SetWindowHandle(senderHandle);
    return message;
}

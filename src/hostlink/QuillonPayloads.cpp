// SPDX-License-Identifier: GPL-3.0-or-later
// Payloads of the message catalogue.

#include "hostlink/QuillonPayloads.h"

namespace {

// Runs read; when it refuses the payload, the stream goes back to where reading started.
template <typename Read> auto readWhole(TQuillonMessageStream &stream, Read read)
{
    const qint64 start = stream.Position();
    try {
        return read();
    } catch (const EQuillonReadError &) {
        stream.SetPosition(start);
        throw;
    }
}

} // namespace

void WriteQuitPayload(TQuillonMessageStream &stream, bool serverDown)
{
    stream.WriteByte(serverDown ? 1 : 0);
}

bool ReadQuitPayload(TQuillonMessageStream &stream)
{
    return stream.ReadByte() != 0;
}

void WriteFindApplicationByHandle(TQuillonMessageStream &stream, quint32 handle)
{
    QByteArray bytes(5, '\0');
    bytes[0] = char(FindApplicationSelector::ByHandle);
    for (int i = 0; i < 4; ++i)
        bytes[1 + i] = char((handle >> (8 * i)) & 0xFF);
    stream.WriteBytes(bytes);
}

void WriteFindApplicationByTitle(TQuillonMessageStream &stream, const QString &title)
{
    stream.WriteBytes(QByteArray(1, char(FindApplicationSelector::ByTitle)) +
                      EncodeQuillonText(title));
}

FindApplicationRequest ReadFindApplicationRequest(TQuillonMessageStream &stream)
{
    return readWhole(stream, [&] {
        FindApplicationRequest request;
        request.selector = stream.ReadByte();
        if (request.selector == quint8(FindApplicationSelector::ByHandle))
            request.handle = stream.ReadCardinal();
        else if (request.selector == quint8(FindApplicationSelector::ByTitle))
            request.title = stream.ReadString();
        return request;
    });
}

void WriteFindApplicationReply(TQuillonMessageStream &stream, TEntity *entity)
{
    if (entity)
        entity->WriteToStream(stream);
}

std::unique_ptr<TEntity> ReadFindApplicationReply(TQuillonMessageStream &stream,
                                                  TQuillonLinkOwner *owner)
{
    if (stream.Remaining() == 0)
        return nullptr;
    auto entity = std::make_unique<TEntity>(owner);
    entity->ReadFromStream(stream);
    return entity;
}

void WriteExecuteRequest(TQuillonMessageStream &stream, const ExecuteRequest &request)
{
    QByteArray bytes = EncodeQuillonText(request.program) + EncodeQuillonText(request.parameters);
    bytes.append(char(request.wait ? 1 : 0));
    for (int i = 0; i < 4; ++i)
        bytes.append(char((quint32(request.mode) >> (8 * i)) & 0xFF));
    stream.WriteBytes(bytes);
}

ExecuteRequest ReadExecuteRequest(TQuillonMessageStream &stream)
{
    return readWhole(stream, [&] {
        ExecuteRequest request;
        request.program = stream.ReadString();
        request.parameters = stream.ReadString();
        request.wait = stream.ReadByte() != 0;
        request.mode = stream.ReadInteger();
        return request;
    });
}

void WriteExecuteReply(TQuillonMessageStream &stream, quint32 processId)
{
    stream.WriteCardinal(processId);
}

quint32 ReadExecuteReply(TQuillonMessageStream &stream)
{
    if (stream.Remaining() == 0)
        return 0;
    return stream.ReadCardinal();
}

void WriteGetFileReply(TQuillonMessageStream &stream, const std::optional<QByteArray> &file)
{
    if (file)
        stream.WriteBytes(QByteArray(1, '\1') + *file);
    else
        stream.WriteByte(0);
}

std::optional<QByteArray> ReadGetFileReply(TQuillonMessageStream &stream)
{
    if (stream.Remaining() == 0 || stream.ReadByte() == 0)
        return std::nullopt;
    return stream.ReadToEnd();
}

QString ReadTextReply(TQuillonMessageStream &stream)
{
    if (stream.Remaining() == 0)
        return {};
    return stream.ReadString();
}

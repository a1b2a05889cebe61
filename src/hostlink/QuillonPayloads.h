// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Payloads of the message catalogue, written and read at a stream's position.
//
//   dmQuit               1 byte ServerDown                      no reply
//   dmClientStarted/...  entity record (TEntity)                 reply not used
//   dmFindApplication    selector 1 + handle | selector 2 + text reply: entity record or empty
//   dmParams             lines, each ended by CR LF (WriteLines/ReadLines)   no reply
//   dmExecute            text, text, 1 byte wait, 32-bit mode    reply: 32-bit process id
//   dmGetFile            text                                    reply: found byte + the bytes
//   dmMapFileName, dmQueryString, dmGetServerValue   text        reply: text
//
// Readers refuse a short payload with EQuillonReadError and leave the position where it was.
// An empty reply (none arrived) reads as "none", the empty text or 0.

#include "hostlink/QuillonStream.h"

#include <optional>

// ---- dmQuit ----------------------------------------------------------------------------------

void WriteQuitPayload(TQuillonMessageStream &stream, bool serverDown);
// Any byte other than 0 means the host is going down.
bool ReadQuitPayload(TQuillonMessageStream &stream);

// ---- dmFindApplication -----------------------------------------------------------------------

void WriteFindApplicationByHandle(TQuillonMessageStream &stream, quint32 handle);
void WriteFindApplicationByTitle(TQuillonMessageStream &stream, const QString &title);

struct FindApplicationRequest
{
    quint8 selector = 0; // FindApplicationSelector; other values carry nothing more
    quint32 handle = 0;  // selector 1
    QString title;       // selector 2
};
FindApplicationRequest ReadFindApplicationRequest(TQuillonMessageStream &stream);

// The entity's record, or nothing for "no such application".
void WriteFindApplicationReply(TQuillonMessageStream &stream, TEntity *entity);
// A new entity (owned by the caller, owner as given) when the reply has content; none when
// it is empty.
std::unique_ptr<TEntity> ReadFindApplicationReply(TQuillonMessageStream &stream,
                                                  TQuillonLinkOwner *owner);

// ---- dmExecute -------------------------------------------------------------------------------

struct ExecuteRequest
{
    QString program;
    QString parameters;
    bool wait = false;
    qint32 mode = 0; // the host's business
};
void WriteExecuteRequest(TQuillonMessageStream &stream, const ExecuteRequest &request);
ExecuteRequest ReadExecuteRequest(TQuillonMessageStream &stream);

// The process identifier; 0 means the host did not start the program.
void WriteExecuteReply(TQuillonMessageStream &stream, quint32 processId);
// 0 for an empty reply.
quint32 ReadExecuteReply(TQuillonMessageStream &stream);

// ---- dmGetFile -------------------------------------------------------------------------------

// A found file as the byte 1 and its bytes; a missing one as the byte 0.
void WriteGetFileReply(TQuillonMessageStream &stream, const std::optional<QByteArray> &file);
// The file's bytes when the found byte is not 0; none for 0 or an empty reply.
std::optional<QByteArray> ReadGetFileReply(TQuillonMessageStream &stream);

// ---- dmMapFileName, dmQueryString, dmGetServerValue ------------------------------------------

// Requests and replies are one text (WriteString/ReadString); an empty reply is the empty text.
QString ReadTextReply(TQuillonMessageStream &stream);

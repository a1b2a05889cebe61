// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Helpers of the host-link wire tests: byte arrays written as hex and a link owner that
// answers from a table instead of a host.

#include "hostlink/QuillonStream.h"

#include <QByteArray>
#include <map>
#include <vector>

// "01 02 ff" as bytes.
inline QByteArray hexBytes(const char *hex)
{
    return QByteArray::fromHex(QByteArray(hex).replace(' ', ""));
}

inline QByteArray streamBytes(const TQuillonMessageStream &stream)
{
    return stream.Content();
}

// A stream holding bytes, positioned at its start.
inline void loadBytes(TQuillonMessageStream &stream, const QByteArray &bytes)
{
    stream.Clear();
    stream.WriteBytes(bytes);
    stream.SetPosition(0);
}

// Knows applications by window handle, counts the lookups and records what is sent.
class FakeLink : public TQuillonLinkOwner
{
public:
    struct App
    {
        qint32 extra = 0;
        QString exeName;
        QString title;
    };
    std::map<quint32, App> apps;
    int lookups = 0;
    std::vector<QByteArray> sent; // copy-data blocks
    std::vector<quint32> sentTo;
    QByteArray replyContent; // answered to every send when not empty

    void SendStream(TQuillonMessageStream &message, const TEntity &target,
                    TQuillonMessageStream *reply) override
    {
        message.TimeStamp = {1000, 2000};
        sent.push_back(message.CopyData());
        sentTo.push_back(target.WindowHandle());
        if (reply && !replyContent.isEmpty()) {
            reply->TimeStamp = message.TimeStamp;
            reply->MsgCode = dmReply;
            loadBytes(*reply, replyContent);
        }
    }

    std::unique_ptr<TEntity> FindApplicationByHandle(quint32 handle) override
    {
        ++lookups;
        const auto it = apps.find(handle);
        if (it == apps.end())
            return nullptr;
        auto entity = std::make_unique<TEntity>(this);
        entity->SetWindowHandle(handle);
        entity->SetExtraHandle(it->second.extra);
        entity->SetExeName(it->second.exeName);
        entity->SetTitle(it->second.title);
        return entity;
    }

    bool IsWindow(quint32 handle) const override { return apps.count(handle) != 0; }
};

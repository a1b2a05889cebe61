// SPDX-License-Identifier: GPL-3.0-or-later
// The message-stream decoder: any bytes as a received copy-data block with any message code,
// framed into a message, read with every reader of the catalogue and dispatched by the
// program's link component. Readers that refuse a payload must leave the position (and the
// entity being read) as it was; what reads back must write and read again to the same value.

#include "FuzzInput.h"
#include "FuzzTargets.h"
#include "hostlink/QuillonPayloads.h"
#include "hostlink/WendralDemon.h"

#include <functional>

namespace {

// Runs one reader from the start of the content; on a refusal the position must not move.
template <typename Read> void readFromStart(TQuillonMessageStream &stream, Read read)
{
    stream.SetPosition(0);
    try {
        read();
    } catch (const EQuillonReadError &) {
        FUZZ_REQUIRE(stream.Position() == 0, "a refused read leaves the position");
    }
}

void readEveryPayload(TQuillonMessageStream &m)
{
    readFromStart(m, [&] { ReadQuitPayload(m); });
    readFromStart(m, [&] {
        const FindApplicationRequest request = ReadFindApplicationRequest(m);
        TQuillonMessageStream again;
        if (request.selector == quint8(FindApplicationSelector::ByHandle))
            WriteFindApplicationByHandle(again, request.handle);
        else if (request.selector == quint8(FindApplicationSelector::ByTitle))
            WriteFindApplicationByTitle(again, request.title);
        else
            return;
        again.SetPosition(0);
        const FindApplicationRequest reread = ReadFindApplicationRequest(again);
        FUZZ_REQUIRE(reread.handle == request.handle && reread.title == request.title,
                     "a find request reads back");
    });
    readFromStart(m, [&] {
        TEntity entity;
        entity.SetTitle(QStringLiteral("before"));
        try {
            entity.ReadFromStream(m);
        } catch (const EQuillonReadError &) {
            FUZZ_REQUIRE(entity.StoredTitle() == QLatin1String("before"),
                         "a refused record leaves the entity");
            throw;
        }
    });
    readFromStart(m, [&] { ReadFindApplicationReply(m, nullptr); });
    readFromStart(m, [&] {
        const ExecuteRequest request = ReadExecuteRequest(m);
        TQuillonMessageStream again;
        WriteExecuteRequest(again, request);
        again.SetPosition(0);
        const ExecuteRequest reread = ReadExecuteRequest(again);
        FUZZ_REQUIRE(reread.program == request.program && reread.parameters == request.parameters &&
                         reread.wait == request.wait && reread.mode == request.mode,
                     "an execute request reads back");
    });
    readFromStart(m, [&] { ReadExecuteReply(m); });
    readFromStart(m, [&] { ReadGetFileReply(m); });
    readFromStart(m, [&] {
        const QString text = ReadTextReply(m);
        TQuillonMessageStream again;
        again.WriteString(text);
        again.SetPosition(0);
        FUZZ_REQUIRE(again.ReadString() == text, "a text reads back");
    });
    readFromStart(m, [&] {
        const QStringList lines = m.ReadLines();
        TQuillonMessageStream again;
        again.WriteLines(lines);
        again.SetPosition(0);
        FUZZ_REQUIRE(again.ReadLines() == lines, "lines read back");
    });
}

} // namespace

int fuzzMessages(const std::uint8_t *data, std::size_t size)
{
    FuzzInput input(data, size);
    // Mostly the catalogue's codes, sometimes any other.
    const std::uint8_t pick = input.byte();
    const qint32 code = pick < 240 ? dmQuit + pick % 11 : qint32(input.intIn(-100000, 100000));
    const bool allowQuit = input.flag();
    const quint32 sender = quint32(input.intIn(0, 1 << 30));
    const QByteArray block = input.rest();

    TkdbDemonClient client;
    std::unique_ptr<TQuillonMessageStream> message =
        TQuillonMessageStream::FromCopyData(&client, sender, code, block);
    if (!message)
        return 0;
    FUZZ_REQUIRE(message->CopyData() == block, "a framed block goes out as it came in");
    readEveryPayload(*message);

    // The program's dispatch: its own messages, and the others through its handler, which
    // reads them as the host would.
    client.OnQuitMsgReceived = [allowQuit](TkdbCustomDemon *, bool, bool &allow) {
        allow = allowQuit;
    };
    client.OnGotAMessage = [](TkdbCustomDemon *, TQuillonMessageStream &m) { readEveryPayload(m); };
    message->SetPosition(0);
    try {
        client.HandleMessage(message);
    } catch (const EQuillonReadError &) {
        // A malformed payload of the program's own messages is dropped by the caller.
    }
    return 0;
}

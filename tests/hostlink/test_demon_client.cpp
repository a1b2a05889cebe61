// SPDX-License-Identifier: GPL-3.0-or-later
// The host link component's handling of received messages and its parameter list, within one
// process (the link itself is tested between processes in test_host_link.cpp).

#include "hostlink/QuillonPayloads.h"
#include "hostlink/WendralDemon.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPointer>
#include <gtest/gtest.h>

namespace {

std::unique_ptr<TQuillonMessageStream>
message(TkdbCustomDemon &owner, qint32 code,
        const std::function<void(TQuillonMessageStream &)> &write)
{
    auto stream = std::make_unique<TQuillonMessageStream>(&owner);
    stream->MsgCode = code;
    write(*stream);
    stream->SetPosition(0);
    return stream;
}

std::string paramError(TkdbCustomDemon &client, int index)
{
    try {
        client.ParamStr(index);
    } catch (const EQuillon &error) {
        return error.what();
    }
    return "";
}

} // namespace

TEST(DemonClient, HandlesParametersRepliesAndOtherMessages)
{
    TkdbDemonClient client;
    int changes = 0;
    client.OnParamsChange = [&](TkdbCustomDemon *) { ++changes; };
    auto params = message(client, dmParams, [](TQuillonMessageStream &s) {
        s.WriteLines({"/other/exe", "a", "b c"});
    });
    client.HandleMessage(params);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(client.ParamCount(), 2);
    EXPECT_EQ(client.ParamStr(0), QCoreApplication::applicationFilePath());
    EXPECT_EQ(client.ParamStr(2), "b c");
    EXPECT_EQ(paramError(client, 3), "Illegal \"ParamStr\" parameter: 3");
    EXPECT_EQ(paramError(client, -1), "Illegal \"ParamStr\" parameter: -1");

    qint64 positionSeen = -1;
    client.OnGotAMessage = [&](TkdbCustomDemon *, TQuillonMessageStream &m) {
        positionSeen = m.Position();
    };
    auto other = message(client, 5000, [](TQuillonMessageStream &s) { s.WriteInteger(7); });
    client.HandleMessage(other);
    EXPECT_EQ(positionSeen, 0);
    EXPECT_NE(other, nullptr) << "released by the caller, not kept";

    // Replies are kept for their requests, but never more than the limit.
    for (int i = 0; i < TkdbCustomDemon::MaxPendingReplies + 10; ++i) {
        auto reply = message(client, dmReply, [](TQuillonMessageStream &) {});
        client.HandleMessage(reply);
        EXPECT_EQ(reply, nullptr);
    }
}

TEST(DemonClient, QuitReleasesTheComponentAfterTheHandlingUnlessRefused)
{
    QPointer<TkdbDemonClient> client = new TkdbDemonClient;
    bool allow = false;
    client->OnQuitMsgReceived = [&](TkdbCustomDemon *, bool serverDown, bool &allowQuit) {
        EXPECT_TRUE(serverDown);
        allowQuit = allow;
    };
    const auto quit = [&] {
        auto stream =
            message(*client, dmQuit, [](TQuillonMessageStream &s) { WriteQuitPayload(s, true); });
        client->HandleMessage(stream);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    quit();
    ASSERT_FALSE(client.isNull()) << "a refused quit keeps the component";
    EXPECT_TRUE(client->ServerDown());
    allow = true;
    quit();
    EXPECT_TRUE(client.isNull());
}

TEST(DemonClient, ServerValuesWithoutTheHost)
{
    TkdbDemonClient client;
    client.SetUseWendralServer(false);
    const QString folder = QFileInfo(QCoreApplication::applicationFilePath()).absolutePath() + "/";
    EXPECT_EQ(client.GetServerValue("WendralHomeDir"), folder);
    EXPECT_EQ(client.GetServerValue("WendralWorkArea"), folder);
    EXPECT_EQ(client.GetServerValue("wendralhomedir"), "");
    // Without the host a request goes nowhere: none, the empty text.
    EXPECT_EQ(client.FindApplicationByTitle("Ionograph"), nullptr);
    EXPECT_EQ(client.MapFileName("x"), "");
}

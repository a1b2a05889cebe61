// SPDX-License-Identifier: GPL-3.0-or-later
// Entity records and the payloads of the message catalogue, byte for byte.

#include "QuillonTestSupport.h"
#include "hostlink/QuillonPayloads.h"

#include <gtest/gtest.h>

namespace {

// Window 0x00012a05, mutex 7, "/b/ion", "Ion".
const char *const kIonRecord = "05 2a 01 00 07 00 00 00 06 00 00 00 2f 62 2f 69 6f 6e "
                               "03 00 00 00 49 6f 6e";

void fill(TEntity &entity, quint32 window, qint32 extra, const QString &exe, const QString &title)
{
    entity.SetWindowHandle(window);
    entity.SetExtraHandle(extra);
    entity.SetExeName(exe);
    entity.SetTitle(title);
}

TEST(QuillonEntity, RecordLayoutAndRoundTrip)
{
    TEntity entity;
    fill(entity, 0x00012a05, 7, QStringLiteral("/b/ion"), QStringLiteral("Ion"));
    TQuillonMessageStream stream;
    entity.WriteToStream(stream);
    EXPECT_EQ(streamBytes(stream), hexBytes(kIonRecord));

    stream.SetPosition(0);
    TEntity back;
    back.ReadFromStream(stream);
    EXPECT_EQ(back.WindowHandle(), 0x00012a05u);
    EXPECT_EQ(back.ExtraHandle(), 7);
    EXPECT_EQ(back.StoredExeName(), QStringLiteral("/b/ion"));
    EXPECT_EQ(back.StoredTitle(), QStringLiteral("Ion"));
    EXPECT_EQ(stream.Remaining(), 0);
}

TEST(QuillonEntity, HighHandleBitsAndNegativeExtraSurvive)
{
    TEntity entity;
    fill(entity, 0xFFFFFF01u, -1, QStringLiteral("C:\\x\\a.exe"), QStringLiteral("\u00c4rger"));
    TQuillonMessageStream stream;
    entity.WriteToStream(stream);
    stream.SetPosition(0);
    TEntity back;
    back.ReadFromStream(stream);
    EXPECT_EQ(back.WindowHandle(), 0xFFFFFF01u);
    EXPECT_EQ(back.ExtraHandle(), -1);
    EXPECT_EQ(back.StoredExeName(), entity.StoredExeName());
    EXPECT_EQ(back.StoredTitle(), entity.StoredTitle());
}

TEST(QuillonEntity, TruncatedRecordChangesNothing)
{
    const QByteArray record = hexBytes(kIonRecord);
    TQuillonMessageStream stream;
    for (qsizetype cut :
         {qsizetype(0), qsizetype(3), qsizetype(8), qsizetype(17), record.size() - 1}) {
        SCOPED_TRACE(cut);
        loadBytes(stream, record.left(cut));
        TEntity entity;
        fill(entity, 9, 8, QStringLiteral("keep"), QStringLiteral("me"));
        EXPECT_THROW(entity.ReadFromStream(stream), EQuillonReadError);
        EXPECT_EQ(stream.Position(), 0);
        EXPECT_EQ(entity.WindowHandle(), 9u);
        EXPECT_EQ(entity.ExtraHandle(), 8);
        EXPECT_EQ(entity.StoredExeName(), QStringLiteral("keep"));
        EXPECT_EQ(entity.StoredTitle(), QStringLiteral("me"));
    }
}

TEST(QuillonEntity, EmptyFieldsAreRefreshedFromTheHost)
{
    FakeLink link;
    link.apps[42] = {5, QStringLiteral("/usr/bin/viewer"), QStringLiteral("Viewer")};
    TEntity entity(&link);
    entity.SetWindowHandle(42);
    EXPECT_EQ(entity.GetTitle(), QStringLiteral("Viewer"));
    EXPECT_EQ(entity.ExtraHandle(), 5);
    EXPECT_EQ(link.lookups, 1);
    EXPECT_EQ(entity.GetExeName(), QStringLiteral("/usr/bin/viewer"));
    EXPECT_EQ(link.lookups, 1); // filled fields are not asked again

    // An unknown window leaves the fields as they were and asks every time.
    TEntity unknown(&link);
    unknown.SetWindowHandle(43);
    unknown.SetExtraHandle(3);
    EXPECT_TRUE(unknown.GetExeName().isEmpty());
    EXPECT_TRUE(unknown.GetTitle().isEmpty());
    EXPECT_EQ(unknown.ExtraHandle(), 3);
    EXPECT_EQ(link.lookups, 3);
}

TEST(QuillonEntity, WritingAnEmptyNameAsksTheHostFirst)
{
    FakeLink link;
    link.apps[0x00012a05] = {99, QStringLiteral("/b/ion"), QStringLiteral("Ion")};
    TEntity entity(&link);
    entity.SetWindowHandle(0x00012a05);
    entity.SetExtraHandle(7);
    TQuillonMessageStream stream;
    entity.WriteToStream(stream);
    // The handles go out as they were before the refresh, the texts as the host knows them.
    EXPECT_EQ(streamBytes(stream), hexBytes(kIonRecord));
    EXPECT_EQ(entity.ExtraHandle(), 99);
}

TEST(QuillonEntity, AssignCopiesTheFourFields)
{
    TEntity source;
    fill(source, 1, 2, QStringLiteral("e"), QStringLiteral("t"));
    TEntity target;
    fill(target, 5, 6, QStringLiteral("x"), QStringLiteral("y"));
    target.Assign(nullptr);
    EXPECT_EQ(target.WindowHandle(), 5u);
    target.Assign(&source);
    EXPECT_EQ(target.WindowHandle(), 1u);
    EXPECT_EQ(target.ExtraHandle(), 2);
    EXPECT_EQ(target.StoredExeName(), QStringLiteral("e"));
    EXPECT_EQ(target.StoredTitle(), QStringLiteral("t"));
}

TEST(QuillonEntity, MutexNameUsesTheFileNamePart)
{
    TEntity entity;
    entity.SetExeName(QStringLiteral("/usr/lib/ionograph/ionograph"));
    EXPECT_EQ(entity.MutexName(), QStringLiteral("QL_ionograph"));
    entity.SetExeName(QStringLiteral("C:\\Programs\\Ionograph.exe"));
    EXPECT_EQ(entity.MutexName(), QStringLiteral("QL_Ionograph.exe"));
    entity.SetExeName(QStringLiteral("plain"));
    EXPECT_EQ(entity.MutexName(), QStringLiteral("QL_plain"));
}

TEST(QuillonEntity, ValidOnlyWhenTheOwnerKnowsTheWindow)
{
    FakeLink link;
    link.apps[42] = {};
    TEntity entity(&link);
    EXPECT_FALSE(entity.IsValid());
    entity.SetWindowHandle(42);
    EXPECT_TRUE(entity.IsValid());
    entity.SetWindowHandle(41);
    EXPECT_FALSE(entity.IsValid());
    TEntity ownerless;
    ownerless.SetWindowHandle(42);
    EXPECT_FALSE(ownerless.IsValid());
}

// ---- payloads --------------------------------------------------------------------------------

TEST(QuillonPayloads, QuitCarriesOneByte)
{
    TQuillonMessageStream stream;
    WriteQuitPayload(stream, true);
    WriteQuitPayload(stream, false);
    EXPECT_EQ(streamBytes(stream), hexBytes("01 00"));
    loadBytes(stream, hexBytes("07 00"));
    EXPECT_TRUE(ReadQuitPayload(stream));
    EXPECT_FALSE(ReadQuitPayload(stream));
    EXPECT_THROW(ReadQuitPayload(stream), EQuillonReadError);
}

TEST(QuillonPayloads, FindApplicationRequests)
{
    TQuillonMessageStream stream;
    WriteFindApplicationByTitle(stream, QStringLiteral("Ion"));
    EXPECT_EQ(streamBytes(stream), hexBytes("02 03 00 00 00 49 6f 6e"));
    stream.SetPosition(0);
    FindApplicationRequest request = ReadFindApplicationRequest(stream);
    EXPECT_EQ(request.selector, 2);
    EXPECT_EQ(request.title, QStringLiteral("Ion"));

    stream.Clear();
    WriteFindApplicationByHandle(stream, 0x0A0B0C0D);
    EXPECT_EQ(streamBytes(stream), hexBytes("01 0d 0c 0b 0a"));
    stream.SetPosition(0);
    request = ReadFindApplicationRequest(stream);
    EXPECT_EQ(request.selector, 1);
    EXPECT_EQ(request.handle, 0x0A0B0C0Du);

    // An unknown selector carries nothing more; a cut handle is refused whole.
    loadBytes(stream, hexBytes("09 ff"));
    EXPECT_EQ(ReadFindApplicationRequest(stream).selector, 9);
    EXPECT_EQ(stream.Position(), 1);
    loadBytes(stream, hexBytes("01 0d 0c"));
    EXPECT_THROW(ReadFindApplicationRequest(stream), EQuillonReadError);
    EXPECT_EQ(stream.Position(), 0);
}

TEST(QuillonPayloads, FindApplicationReply)
{
    FakeLink link;
    TQuillonMessageStream stream;
    EXPECT_EQ(ReadFindApplicationReply(stream, &link), nullptr);

    loadBytes(stream, hexBytes(kIonRecord));
    const auto found = ReadFindApplicationReply(stream, &link);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->Owner(), &link);
    EXPECT_EQ(found->WindowHandle(), 0x00012a05u);
    EXPECT_EQ(found->StoredTitle(), QStringLiteral("Ion"));

    loadBytes(stream, hexBytes("05 2a 01 00 07"));
    EXPECT_THROW(ReadFindApplicationReply(stream, &link), EQuillonReadError);

    stream.Clear();
    WriteFindApplicationReply(stream, nullptr);
    EXPECT_EQ(stream.Size(), 0);
}

TEST(QuillonPayloads, ExecuteRequestAndReply)
{
    TQuillonMessageStream stream;
    WriteExecuteRequest(stream, {QStringLiteral("ed"), QStringLiteral("-x"), true, 0x102});
    const QByteArray bytes = hexBytes("02 00 00 00 65 64 02 00 00 00 2d 78 01 02 01 00 00");
    EXPECT_EQ(streamBytes(stream), bytes);
    stream.SetPosition(0);
    const ExecuteRequest request = ReadExecuteRequest(stream);
    EXPECT_EQ(request.program, QStringLiteral("ed"));
    EXPECT_EQ(request.parameters, QStringLiteral("-x"));
    EXPECT_TRUE(request.wait);
    EXPECT_EQ(request.mode, 0x102);

    loadBytes(stream, bytes.left(bytes.size() - 1));
    EXPECT_THROW(ReadExecuteRequest(stream), EQuillonReadError);
    EXPECT_EQ(stream.Position(), 0);

    stream.Clear();
    WriteExecuteReply(stream, 4711);
    EXPECT_EQ(streamBytes(stream), hexBytes("67 12 00 00"));
    stream.SetPosition(0);
    EXPECT_EQ(ReadExecuteReply(stream), 4711u);
    stream.Clear();
    EXPECT_EQ(ReadExecuteReply(stream), 0u);
    loadBytes(stream, hexBytes("67 12"));
    EXPECT_THROW(ReadExecuteReply(stream), EQuillonReadError);
}

TEST(QuillonPayloads, GetFileReply)
{
    TQuillonMessageStream stream;
    WriteGetFileReply(stream, QByteArray("BF_X=y\r\n"));
    EXPECT_EQ(streamBytes(stream), QByteArray("\1BF_X=y\r\n"));
    stream.SetPosition(0);
    EXPECT_EQ(ReadGetFileReply(stream), QByteArray("BF_X=y\r\n"));

    // Found but empty is a file; not found and no reply are none.
    loadBytes(stream, hexBytes("05"));
    const auto emptyFile = ReadGetFileReply(stream);
    ASSERT_TRUE(emptyFile);
    EXPECT_TRUE(emptyFile->isEmpty());
    stream.Clear();
    WriteGetFileReply(stream, std::nullopt);
    EXPECT_EQ(streamBytes(stream), hexBytes("00"));
    stream.SetPosition(0);
    EXPECT_FALSE(ReadGetFileReply(stream));
    stream.Clear();
    EXPECT_FALSE(ReadGetFileReply(stream));
}

TEST(QuillonPayloads, TextReply)
{
    TQuillonMessageStream stream;
    EXPECT_TRUE(ReadTextReply(stream).isEmpty());
    loadBytes(stream, EncodeQuillonText(QStringLiteral("/home/u/")));
    EXPECT_EQ(ReadTextReply(stream), QStringLiteral("/home/u/"));
    loadBytes(stream, hexBytes("08 00 00 00 2f"));
    EXPECT_THROW(ReadTextReply(stream), EQuillonReadError);
}

TEST(QuillonConstants, CodesAndTables)
{
    const qint32 codes[] = {
        dmQuit,    dmReply,   dmClientStarted, dmClientStopped, dmFindApplication, dmParams,
        dmExecute, dmGetFile, dmMapFileName,   dmQueryString,   dmGetServerValue};
    for (qint32 i = 0; i < 11; ++i)
        EXPECT_EQ(codes[i], 4096 + i);
    EXPECT_FALSE(isQuillonMessageCode(4095));
    EXPECT_FALSE(isQuillonMessageCode(4107));
    EXPECT_STREQ(HostErrorText[0], "no error");
    EXPECT_STREQ(HostErrorText[22], "space disk on disk is low");
    EXPECT_STREQ(HostErrorText[31], "");
    EXPECT_STREQ(HostErrorText[32], "unknown error");
    EXPECT_STREQ(DocumentTagName[13], "wdlmx_lockstat");
    EXPECT_STREQ(DocumentTagName[25], "wdlmx_invalidtag");
    EXPECT_STREQ(ValueTypeName[3], "hexint");
}

} // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
// The message stream: texts, integers, lines, positions, limits, time stamps and the
// copy-data block.

#include "QuillonTestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(QuillonStreamTexts, EmptyTextIsFourZeroBytesAndReadsBackEmpty)
{
    TQuillonMessageStream stream;
    stream.WriteString(QString());
    EXPECT_EQ(streamBytes(stream), hexBytes("00 00 00 00"));
    stream.SetPosition(0);
    EXPECT_TRUE(stream.ReadString().isEmpty());
    EXPECT_EQ(stream.Position(), 4);
}

TEST(QuillonStreamTexts, LongTextCarriesItsByteCount)
{
    QString text;
    for (int i = 0; i < 300; ++i)
        text.append(QChar(u'a' + i % 26));
    TQuillonMessageStream stream;
    stream.WriteString(text);
    ASSERT_EQ(stream.Size(), 304);
    EXPECT_EQ(streamBytes(stream).left(4), hexBytes("2c 01 00 00"));
    stream.SetPosition(0);
    EXPECT_EQ(stream.ReadString(), text);
    EXPECT_EQ(stream.Remaining(), 0);
}

TEST(QuillonStreamTexts, NonAsciiTextCountsBytesNotCharacters)
{
    TQuillonMessageStream stream;
    stream.WriteString(QStringLiteral("m/z \u00b5"));
    EXPECT_EQ(streamBytes(stream), hexBytes("06 00 00 00 6d 2f 7a 20 c2 b5"));
    stream.SetPosition(0);
    EXPECT_EQ(stream.ReadString(), QStringLiteral("m/z \u00b5"));
}

TEST(QuillonStreamTexts, ZeroOrNegativeCountConsumesOnlyTheCount)
{
    TQuillonMessageStream stream;
    loadBytes(stream, hexBytes("ff ff ff ff 41 42 00 00 00 00 43"));
    EXPECT_TRUE(stream.ReadString().isEmpty());
    EXPECT_EQ(stream.Position(), 4);
    EXPECT_EQ(stream.ReadByte(), 0x41);
    stream.SetPosition(6);
    EXPECT_TRUE(stream.ReadString().isEmpty());
    EXPECT_EQ(stream.Position(), 10);
}

TEST(QuillonStreamTexts, ShortTextIsRefusedWithoutMoving)
{
    TQuillonMessageStream stream;
    // A count of 10 with three bytes behind it; a count that claims 2 GiB; a cut count.
    for (const char *hex : {"0a 00 00 00 41 42 43", "ff ff ff 7f 41", "05 00"}) {
        SCOPED_TRACE(hex);
        loadBytes(stream, hexBytes(hex));
        EXPECT_THROW(stream.ReadString(), EQuillonReadError);
        EXPECT_EQ(stream.Position(), 0);
    }
}

TEST(QuillonStreamIntegers, LittleEndianWordsAndBytes)
{
    TQuillonMessageStream stream;
    stream.WriteInteger(-2);
    stream.WriteCardinal(0x01020304u);
    stream.WriteByte(0xAB);
    EXPECT_EQ(streamBytes(stream), hexBytes("fe ff ff ff 04 03 02 01 ab"));
    stream.SetPosition(0);
    EXPECT_EQ(stream.ReadInteger(), -2);
    EXPECT_EQ(stream.ReadCardinal(), 0x01020304u);
    EXPECT_EQ(stream.ReadByte(), 0xAB);
    EXPECT_THROW(stream.ReadByte(), EQuillonReadError);
}

TEST(QuillonStreamIntegers, ShortWordIsRefusedWithoutMoving)
{
    TQuillonMessageStream stream;
    loadBytes(stream, hexBytes("01 02 03"));
    EXPECT_THROW(stream.ReadInteger(), EQuillonReadError);
    EXPECT_EQ(stream.Position(), 0);
    char buffer[8];
    EXPECT_THROW(stream.ReadBuffer(buffer, 4), EQuillonReadError);
    EXPECT_EQ(stream.Read(buffer, 8), 3); // a plain read takes what is there
    EXPECT_EQ(stream.Position(), 3);
}

TEST(QuillonStreamPositions, SeekingAndWritingBeyondTheEnd)
{
    TQuillonMessageStream stream;
    stream.WriteBytes("abc");
    EXPECT_EQ(stream.Seek(2, TSeekOrigin::soEnd), 5);
    char byte;
    EXPECT_EQ(stream.Read(&byte, 1), 0);
    EXPECT_EQ(stream.Remaining(), 0);
    stream.WriteByte('z');
    EXPECT_EQ(streamBytes(stream), QByteArray("abc\0\0z", 6));
    EXPECT_EQ(stream.Seek(-100, TSeekOrigin::soCurrent), 0);
    EXPECT_EQ(stream.Seek(std::numeric_limits<qint64>::max(), TSeekOrigin::soEnd),
              QuillonMaxPayloadSize);
    stream.SetPosition(1);
    stream.WriteBytes("XY"); // overwrites in place
    EXPECT_EQ(streamBytes(stream), QByteArray("aXY\0\0z", 6));
    stream.SetSize(2);
    EXPECT_EQ(streamBytes(stream), QByteArray("aX"));
    EXPECT_EQ(stream.Position(), 3);
}

TEST(QuillonStreamPositions, WritingTheStreamsOwnBytes)
{
    TQuillonMessageStream stream;
    const QByteArray text = QByteArray("abcdefgh").repeated(200);
    stream.WriteBytes(text);
    stream.WriteBytes(stream.Content()); // grows while reading from itself
    EXPECT_EQ(streamBytes(stream), text + text);
    stream.SetPosition(2);
    stream.Write(stream.Content().constData(), 6); // overlapping copy
    EXPECT_EQ(streamBytes(stream).left(10), QByteArray("ababcdefab"));
    EXPECT_EQ(stream.Size(), 2 * text.size());
}

TEST(QuillonStreamPositions, OversizedWritesAreRefusedAndChangeNothing)
{
    TQuillonMessageStream stream;
    stream.WriteBytes("abc");
    stream.SetPosition(QuillonMaxPayloadSize - 1);
    EXPECT_THROW(stream.WriteInteger(7), EQuillonWriteError);
    EXPECT_EQ(stream.Size(), 3);
    EXPECT_THROW(stream.SetSize(QuillonMaxPayloadSize + 1), EQuillonWriteError);
    EXPECT_EQ(stream.Size(), 3);
    stream.WriteByte(1); // the very last byte still fits
    EXPECT_EQ(stream.Size(), QuillonMaxPayloadSize);
}

TEST(QuillonStreamLines, WrittenWithCrLf)
{
    TQuillonMessageStream stream;
    stream.WriteLines({QStringLiteral("/a"), QString(), QStringLiteral("b c")});
    EXPECT_EQ(streamBytes(stream), QByteArray("/a\r\n\r\nb c\r\n"));
    stream.SetPosition(0);
    EXPECT_EQ(stream.ReadLines(), QStringList({"/a", "", "b c"}));
}

TEST(QuillonStreamLines, ReadAcceptsEveryLineEnd)
{
    TQuillonMessageStream stream;
    const struct
    {
        QByteArray bytes;
        QStringList lines;
    } cases[] = {
        {"", {}},
        {"\r\n", {""}},
        {"a\nb\rc\r\nd", {"a", "b", "c", "d"}},
        {"a\n\nb\r\r", {"a", "", "b", ""}},
        {"a\n\r\nb", {"a", "", "b"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.bytes.toStdString());
        loadBytes(stream, c.bytes);
        EXPECT_EQ(stream.ReadLines(), c.lines);
        EXPECT_EQ(stream.Remaining(), 0);
    }
}

TEST(QuillonStreamLines, ReadStartsAtThePosition)
{
    TQuillonMessageStream stream;
    loadBytes(stream, "skip\r\nkeep\r\n");
    stream.SetPosition(6);
    EXPECT_EQ(stream.ReadLines(), QStringList({"keep"}));
}

TEST(QuillonTimeStamps, TimeOfDayAndDayNumber)
{
    const QDateTime moment(QDate(2000, 1, 1), QTime(12, 0, 0, 250));
    const TQuillonTimeStamp stamp = QuillonTimeStampOf(moment);
    EXPECT_EQ(stamp.Time, 43200250);
    EXPECT_EQ(stamp.Date, 730120);
    EXPECT_EQ(QuillonTimeStampToDateTime(stamp), moment);
    EXPECT_EQ(QuillonTimeStampOf(QDateTime(QDate(1, 1, 1), QTime(0, 0))).Date, 1);
}

TEST(QuillonTimeStamps, ImpossibleValues)
{
    EXPECT_EQ(QuillonTimeStampOf(QDateTime()), TQuillonTimeStamp{});
    EXPECT_FALSE(QuillonTimeStampToDateTime({86400000, 5}).isValid());
    EXPECT_FALSE(QuillonTimeStampToDateTime({-1, 5}).isValid());
    EXPECT_FALSE(QuillonTimeStampToDateTime({0, 0}).isValid());
}

TEST(QuillonTimeStamps, CurrentStampIsToday)
{
    const TQuillonTimeStamp before = QuillonTimeStampOf(QDateTime::currentDateTime());
    TQuillonMessageStream stream;
    stream.Stamp();
    const TQuillonTimeStamp after = QuillonTimeStampOf(QDateTime::currentDateTime());
    EXPECT_GE(stream.TimeStamp.Date, before.Date);
    EXPECT_LE(stream.TimeStamp.Date, after.Date);
    if (before.Date == after.Date) {
        EXPECT_GE(stream.TimeStamp.Time, before.Time);
        EXPECT_LE(stream.TimeStamp.Time, after.Time);
    }
}

TEST(QuillonCopyData, BlockIsStampThenContent)
{
    TQuillonMessageStream stream;
    stream.TimeStamp = {0x01020304, 730120};
    stream.MsgCode = dmGetFile;
    stream.WriteString(QStringLiteral("x.itl"));
    EXPECT_EQ(stream.CopyData(), hexBytes("04 03 02 01 08 24 0b 00 05 00 00 00 78 2e 69 74 6c"));

    const QByteArray block = stream.CopyData();
    const auto received = TQuillonMessageStream::FromCopyData(nullptr, 0x1234, dmGetFile, block);
    ASSERT_TRUE(received);
    EXPECT_EQ(received->TimeStamp, stream.TimeStamp);
    EXPECT_EQ(received->MsgCode, dmGetFile);
    EXPECT_EQ(received->Sender().WindowHandle(), 0x1234u);
    EXPECT_EQ(received->Position(), 0);
    EXPECT_EQ(received->ReadString(), QStringLiteral("x.itl"));
}

TEST(QuillonCopyData, BareHeaderGivesEmptyContent)
{
    const auto received =
        TQuillonMessageStream::FromCopyData(nullptr, 7, 4242, hexBytes("10 00 00 00 20 00 00 00"));
    ASSERT_TRUE(received);
    EXPECT_EQ(received->Size(), 0);
    EXPECT_EQ(received->TimeStamp, (TQuillonTimeStamp{16, 32}));
    EXPECT_EQ(received->MsgCode, 4242);
    EXPECT_THROW(received->ReadByte(), EQuillonReadError);
}

TEST(QuillonCopyData, BlocksWithoutStampOrBeyondTheLimitAreRefused)
{
    EXPECT_FALSE(TQuillonMessageStream::FromCopyData(nullptr, 1, dmQuit, hexBytes("01 02 03")));
    EXPECT_FALSE(TQuillonMessageStream::FromCopyData(nullptr, 1, dmQuit, QByteArray()));
    EXPECT_FALSE(TQuillonMessageStream::FromCopyData(nullptr, 1, dmQuit, nullptr, 8));
    const QByteArray tooBig(QuillonMaxDataSize + 1, '\0');
    EXPECT_FALSE(TQuillonMessageStream::FromCopyData(nullptr, 1, dmGetFile, tooBig));
    const QByteArray largest(QuillonMaxDataSize, '\0');
    const auto received = TQuillonMessageStream::FromCopyData(nullptr, 1, dmGetFile, largest);
    ASSERT_TRUE(received);
    EXPECT_EQ(received->Size(), QuillonMaxPayloadSize);
}

TEST(QuillonCopyReply, CopiesEverythingAndRewinds)
{
    FakeLink link;
    TQuillonMessageStream reply(&link);
    reply.TimeStamp = {5, 6};
    reply.MsgCode = dmReply;
    reply.Sender().SetWindowHandle(11);
    reply.Sender().SetExtraHandle(-3);
    reply.Sender().SetExeName(QStringLiteral("/opt/host/viewer"));
    reply.Sender().SetTitle(QStringLiteral("Viewer"));
    reply.WriteString(QStringLiteral("answer"));

    TQuillonMessageStream copy(&link);
    copy.WriteBytes("old content that is longer");
    copy.CopyFrom(reply);
    EXPECT_EQ(copy.TimeStamp, reply.TimeStamp);
    EXPECT_EQ(copy.MsgCode, dmReply);
    EXPECT_EQ(copy.Sender().WindowHandle(), 11u);
    EXPECT_EQ(copy.Sender().ExtraHandle(), -3);
    EXPECT_EQ(copy.Sender().StoredExeName(), QStringLiteral("/opt/host/viewer"));
    EXPECT_EQ(copy.Sender().StoredTitle(), QStringLiteral("Viewer"));
    EXPECT_EQ(copy.Content(), reply.Content());
    EXPECT_EQ(copy.Position(), 0);
    EXPECT_EQ(link.lookups, 0);
}

TEST(QuillonSendTo, HandsTheMessageToTheOwner)
{
    FakeLink link;
    link.replyContent = hexBytes("02 00 00 00 6f 6b");
    TEntity server(&link);
    server.SetWindowHandle(0x4401);
    TQuillonMessageStream request(&link);
    request.MsgCode = dmQueryString;
    request.WriteString(QStringLiteral("q"));
    TQuillonMessageStream reply(&link);
    reply.WriteBytes("stale");

    EXPECT_TRUE(request.SendTo(server, &reply));
    ASSERT_EQ(link.sent.size(), 1u);
    EXPECT_EQ(link.sentTo[0], 0x4401u);
    EXPECT_EQ(link.sent[0], hexBytes("e8 03 00 00 d0 07 00 00 01 00 00 00 71"));
    EXPECT_EQ(reply.ReadString(), QStringLiteral("ok"));

    // No answer: the reply is left empty, not stale.
    link.replyContent.clear();
    reply.WriteBytes("stale");
    EXPECT_TRUE(request.SendTo(server, &reply));
    EXPECT_EQ(reply.Size(), 0);
}

TEST(QuillonSendTo, TheMessageCanReceiveItsOwnReply)
{
    FakeLink link;
    link.replyContent = hexBytes("02 00 00 00 6f 6b");
    TEntity server(&link);
    server.SetWindowHandle(0x4401);
    TQuillonMessageStream message(&link);
    message.MsgCode = dmQueryString;
    message.WriteString(QStringLiteral("q"));

    EXPECT_TRUE(message.SendTo(server, &message));
    ASSERT_EQ(link.sent.size(), 1u);
    EXPECT_EQ(link.sent[0], hexBytes("e8 03 00 00 d0 07 00 00 01 00 00 00 71"));
    EXPECT_EQ(message.MsgCode, dmReply);
    EXPECT_EQ(message.Position(), 0);
    EXPECT_EQ(message.ReadString(), QStringLiteral("ok"));

    // No answer: the message is left empty.
    link.replyContent.clear();
    EXPECT_TRUE(message.SendTo(server, &message));
    EXPECT_EQ(link.sent[1], hexBytes("e8 03 00 00 d0 07 00 00 02 00 00 00 6f 6b"));
    EXPECT_EQ(message.Size(), 0);
}

TEST(QuillonSendTo, WithoutOwnerNothingIsSent)
{
    TEntity server;
    TQuillonMessageStream request;
    TQuillonMessageStream reply;
    reply.WriteBytes("stale");
    EXPECT_FALSE(request.SendTo(server, &reply));
    EXPECT_EQ(reply.Size(), 0);
    EXPECT_FALSE(request.SendTo(server, nullptr));
}

} // namespace

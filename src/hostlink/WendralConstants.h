// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Constants of the host link: the message codes exchanged with the teaching host and between
// instances, the limits of one message, and the host's constant tables published for client
// code (no operation of the link reads the tables).

#include <QtGlobal>

#include <array>

// ---- message codes (the copy-data data word) -------------------------------------------------

constexpr qint32 dmQuit = 4096;            // host -> program: 1 byte ServerDown
constexpr qint32 dmReply = 4097;           // answer to the request with the same time stamp
constexpr qint32 dmClientStarted = 4098;   // program -> host: entity record of the program
constexpr qint32 dmClientStopped = 4099;   // program -> host: entity record of the program
constexpr qint32 dmFindApplication = 4100; // selector byte, then a handle or a title
constexpr qint32 dmParams = 4101;          // parameter lines, each ended by CR LF
constexpr qint32 dmExecute = 4102;         // program, parameters, wait byte, mode
constexpr qint32 dmGetFile = 4103;         // file name; reply: found byte and the file's bytes
constexpr qint32 dmMapFileName = 4104;     // text; reply: text
constexpr qint32 dmQueryString = 4105;     // text; reply: text
constexpr qint32 dmGetServerValue = 4106;  // value name; reply: value

// True for the eleven codes above.
constexpr bool isQuillonMessageCode(qint32 code)
{
    return code >= dmQuit && code <= dmGetServerValue;
}

// Selector byte of a dmFindApplication request.
enum class FindApplicationSelector : quint8 { ByHandle = 1, ByTitle = 2 };

// ---- one message on the wire -----------------------------------------------------------------

// Window message number of a copy-data message.
constexpr quint32 QuillonCopyDataMessage = 74;

// The copy-data data starts with the time stamp: time word, then date word.
constexpr qint64 QuillonHeaderSize = 8;

// Largest copy-data data (header included) that the message transport carries; a stream that
// would not fit refuses the write, a received block beyond it is refused.
constexpr qint64 QuillonMaxDataSize = 16 * 1024 * 1024;
constexpr qint64 QuillonMaxPayloadSize = QuillonMaxDataSize - QuillonHeaderSize;

// ---- the host's constant tables --------------------------------------------------------------

// Texts of the host's error codes 0..32; entry 31 is the empty text.
extern const std::array<const char *, 33> HostErrorText;

// Names of the host's document metadata tags, 0..25.
extern const std::array<const char *, 26> DocumentTagName;

// Names of value types, 0..5.
extern const std::array<const char *, 6> ValueTypeName;

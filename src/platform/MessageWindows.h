#pragma once
// Message windows: hidden windows through which processes of one user exchange synchronous
// copy-data messages. The GUI thread owns them; everything here runs in it. The contract for
// a peer written in any language (folder, records, frames, limits) is docs/host-link.md.
//
// A window is a Unix-domain stream socket in the link folder (RuntimeDir.h):
// - Its handle is a non-zero 32-bit number, (pid << 8) | n. It listens on "w<handle>.sock"
//   and publishes its class name, title, owning program's title and executable, process and
//   moment of registration in "w<handle>.id" (written under a temporary name and renamed, so
//   no reader sees half).
// - Finding a window by class and title scans the ".id" files and matches both exactly; of
//   several matches the most recently registered live one wins. Entries whose process has
//   ended or whose socket is gone or refuses connections are skipped and removed; a socket
//   whose listen backlog is full is busy, not dead. "Is a window" means its socket answers or
//   is busy.
// - Sending connects to the target (retrying while it is busy), writes one frame (sender
//   handle, data word, byte count, bytes; 32-bit little-endian words) and waits for the
//   procedure's 32-bit result. While it waits, the sender serves its own windows, so a
//   message that the receiver sends back while handling arrives re-entrantly; nothing else
//   (no timer, no input) runs meanwhile. A target that closes the connection, or does not
//   answer within the sender's time limit, gives the result 0. A message to a window of this
//   process calls its procedure directly.
// - Receiving is driven by the event loop (a socket notifier per window, no polling, no
//   thread). A frame must arrive whole within 2 s and carry at most 16 MiB; otherwise it is
//   dropped and the connection closed. Unfinished frames together hold at most
//   MaxBufferedBytes (frames beyond wait), and at most MaxConnections are read at a time (the
//   others wait in the listen backlog). Only processes of the same user are served.
//
// Failures set the last error (RuntimeDir.h).

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <functional>

namespace Link {

using WindowHandle = quint32;

// How long a send waits for its answer: a request the user waits for, and a notice nobody
// waits for (a stop notice, a second start's hand-over, a quit request).
constexpr int SendTimeLimitMs = 30000;
constexpr int NoticeTimeLimitMs = 2000;
// While a target's listen backlog is full, a send tries to connect again after this pause.
constexpr int ConnectRetryMs = 10;
// How long a received frame may take to arrive whole, and how large its data may be.
constexpr int ReadTimeLimitMs = 2000;
constexpr qint64 MaxMessageBytes = 16 * 1024 * 1024;
// Bytes held for unfinished frames of more than SmallFrameBytes, over all connections; such a
// frame is read only while its whole size fits, else it waits. Smaller frames need no room.
constexpr qint64 MaxBufferedBytes = 32 * 1024 * 1024;
constexpr qint64 SmallFrameBytes = 64 * 1024;
// Connections read at a time by one process.
constexpr int MaxConnections = 64;

// A window's procedure for the copy-data messages it receives; its result goes back to the
// sender. A window whose class gives no procedure answers 0.
using WindowProcedure =
    std::function<qint32(WindowHandle sender, qint32 dataWord, const QByteArray &data)>;

// Window classes of this process. Registering a name twice fails.
bool registerWindowClass(const QString &className);
void unregisterWindowClass(const QString &className);

// Creates a hidden window of a registered class; 0 when the class is unknown or the window
// cannot be published. The registration names this program (application name and executable)
// as its owner.
WindowHandle createWindow(const QString &className, const QString &title);
void destroyWindow(WindowHandle window);

// Replaces the procedure of one of this process's windows; returns false for other handles.
bool setWindowProcedure(WindowHandle window, WindowProcedure procedure);

// A window as its registration describes it.
struct WindowInfo
{
    WindowHandle handle = 0;
    QString className;
    QString title;
    QString application; // the owning program's title
    QString executable;  // the owning program's executable
    qint64 processId = 0;
    qint64 registered = 0; // microseconds since 1970-01-01 UTC; 0 when the record has none
};

// Every live window of this user, the most recently registered first (of equal moments the
// larger handle first). Registrations of ended processes and of sockets that are gone or
// refuse connections are removed on the way.
QList<WindowInfo> listWindows();
// The most recently registered live window with exactly this class name and title; 0 when
// there is none.
WindowHandle findWindow(const QString &className, const QString &title);
bool isWindow(WindowHandle window);

// Sends one copy-data message and returns the target procedure's result (0 when it was not
// delivered or not answered within timeLimitMs, connecting included; the last error then says
// why).
qint32 sendCopyData(WindowHandle from, WindowHandle to, qint32 dataWord, const QByteArray &data,
                    int timeLimitMs = SendTimeLimitMs);

} // namespace Link

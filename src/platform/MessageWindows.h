#pragma once
// Message windows: hidden windows through which processes of one user exchange synchronous
// copy-data messages. The GUI thread owns them; everything here runs in it.
//
// A window is a Unix-domain stream socket in the link folder (RuntimeDir.h):
// - Its handle is a non-zero 32-bit number, (pid << 8) | n. It listens on "w<handle>.sock"
//   and publishes its class name, title, owning program's title and executable and process
//   in "w<handle>.id" (written under a temporary name and renamed, so no reader sees half).
// - Finding a window by class and title scans the ".id" files and matches both exactly.
//   Entries whose process has ended or whose socket no longer answers are skipped and
//   removed. "Is a window" means its socket answers.
// - Sending connects to the target, writes one frame (sender handle, data word, byte count,
//   bytes; 32-bit little-endian words) and waits for the procedure's 32-bit result. While it
//   waits, the sender serves its own windows, so a message that the receiver sends back
//   while handling arrives re-entrantly; nothing else (no timer, no input) runs meanwhile. A
//   target that closes the connection, or does not answer within 30 s, gives the result 0.
//   A message to a window of this process calls its procedure directly.
// - Receiving is driven by the event loop (a socket notifier per window, no polling, no
//   thread). A frame must arrive whole within 2 s and carry at most 16 MiB; otherwise it is
//   dropped and the connection closed. Only processes of the same user are served.
//
// Failures set the last error (RuntimeDir.h).

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <functional>

namespace Link {

using WindowHandle = quint32;

constexpr int SendTimeLimitMs = 30000;
constexpr int ReadTimeLimitMs = 2000;
constexpr qint64 MaxMessageBytes = 16 * 1024 * 1024;

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
};

// Every live window of this user (stale registrations are removed on the way).
QList<WindowInfo> listWindows();
// The first live window with exactly this class name and title; 0 when there is none.
WindowHandle findWindow(const QString &className, const QString &title);
bool isWindow(WindowHandle window);

// Sends one copy-data message and returns the target procedure's result (0 when it was not
// delivered or not answered in time; the last error then says why).
qint32 sendCopyData(WindowHandle from, WindowHandle to, qint32 dataWord, const QByteArray &data);

} // namespace Link

#pragma once
// What the message-window units share: this process's windows, the connections being read
// and the socket helpers. Not an interface of its own; callers use MessageWindows.h.

#include "platform/MessageWindows.h"

#include <QSet>
#include <QString>

#include <chrono>
#include <map>
#include <memory>
#include <vector>

class QSocketNotifier;
class QTimer;

namespace Link::detail {

using Clock = std::chrono::steady_clock;

// Sender handle, data word, byte count.
constexpr int FrameHeaderBytes = 12;

// An accepted connection whose frame is being read.
struct Incoming
{
    int fd = -1;
    WindowHandle window = 0;
    char header[FrameHeaderBytes] = {};
    int headerBytes = 0;
    bool admitted = false; // the header is whole and the frame's bytes may be read
    bool waiting = false;  // admitted only once the memory budget has room
    qint64 charged = 0;    // bytes of the budget this frame holds
    QByteArray body;
    Clock::time_point deadline;
    QSocketNotifier *notifier = nullptr;
    QTimer *timer = nullptr;
};

struct Window
{
    WindowHandle handle = 0;
    QString socketPath;
    QString idPath;
    WindowProcedure procedure;
    int listenFd = -1;
    QSocketNotifier *notifier = nullptr;
};

struct State
{
    QSet<QString> classes;
    std::map<WindowHandle, Window> windows;
    std::vector<std::unique_ptr<Incoming>> incoming;
    qint64 chargedBytes = 0;
    quint8 counter = 0;
};

State &state();

QString socketPathOf(const QString &folder, WindowHandle handle);
QString idPathOf(const QString &folder, WindowHandle handle);

quint32 readWord(const char *bytes);
void appendWord(QByteArray &bytes, quint32 value);

// What an attempt to connect to a window's socket found.
enum class Reach {
    Answers, // connected
    Busy,    // the listen backlog is full: the window lives
    Gone,    // no such socket, or nobody listens on it: the window is dead for good
    Unknown, // any other failure: nothing can be said
};
// A non-blocking socket of the link's kind, or -1.
int newSocket();
// Connects to the socket at path; fd is the connection when the result is Answers, else -1
// (and the last error says why).
Reach connectTo(const QString &path, int &fd);
// Connects and hangs up at once.
Reach probe(const QString &path);

// ---- receiving (MessageReceiving.cpp)

// Accepts what waits on a window's socket, up to MaxConnections at a time.
void acceptConnections(Window &window);
// True while this process reads fewer than MaxConnections connections.
bool accepting();
// Reads what has arrived; a whole frame goes to the window's procedure and is answered.
void readIncoming(Incoming *connection);
bool isPending(const Incoming *connection);
void dropLateConnections();
void closeConnectionsOf(WindowHandle window);
// Calls a window's procedure; 0 when it has none.
qint32 callProcedure(WindowHandle window, WindowHandle sender, qint32 word, const QByteArray &data);

// ---- registrations (MessageRegistrations.cpp)

bool publish(const QString &path, WindowHandle handle, const QString &className,
             const QString &title);

} // namespace Link::detail

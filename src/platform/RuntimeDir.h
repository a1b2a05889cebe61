#pragma once
// The private folder in which the stand-ins for message windows, named mutexes and process
// records live, and the text of the last failure of those stand-ins.
//
// The folder is "$XDG_RUNTIME_DIR/quillon", or, without XDG_RUNTIME_DIR, "quillon" in the user's
// cache folder ("$XDG_CACHE_HOME", else "$HOME/.cache"; created 0700 when missing), which no
// other user can create first. It is created with mode 0700. A folder that is a symbolic link,
// that another user owns, that others may enter (any group or other permission bit), or whose
// parent every user may change (writable by others without the sticky bit) is refused: the
// caller gets the empty text and lastErrorText() says why, and nothing is read or written
// there. The contract for other programs is docs/host-link.md.

#include <QString>

namespace Link {

// The checked folder, created when missing; empty (and the last error set) when refused.
QString runtimeDirectory();

// The text of the last failure of the link stand-ins in this thread; empty when none was
// recorded.
QString lastErrorText();
void setLastErrorText(const QString &text);
// Records the system's text for an errno value, after what failed.
void setLastErrorFromErrno(const QString &what, int error);

} // namespace Link

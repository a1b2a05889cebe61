#pragma once
// Named mutexes and waiting for other processes, as the host link needs them.
//
// A named mutex is an exclusive lock (flock) on "<name>.lock" in the link folder, held through
// an open file for as long as the owner keeps it (the process's life at most). The kernel
// releases the lock when the process ends in any way, so a crashed owner never blocks the next
// one. Taking it is one step (a non-blocking exclusive lock); there is no separate test for
// whether it exists, which would race with a take. The contract is docs/host-link.md.
//
// A program started for another process records its exit code in the link folder when it
// ends ("p<pid>.exit"), so that any process of the user can wait for it and read the code.

#include <QString>
#include <optional>

namespace Link {

// Takes the mutex; the handle (above 0) keeps it until closeMutex. 0 when another open file
// holds it (then *heldElsewhere is set) or it cannot be taken at all, for instance because the
// folder is refused (the last error says which).
int createMutex(const QString &name, bool *heldElsewhere = nullptr);
void closeMutex(int handle);

// True while the process exists (it may belong to another user).
bool processExists(qint64 pid);
// Records the exit code of a process that this process started and saw end.
void recordExitCode(qint64 pid, int exitCode);
// Blocks until the process has ended (no time limit), then waits up to two seconds for the
// record of its exit code, which it takes (removes). None when no code was recorded.
std::optional<int> waitForExitCode(qint64 pid);

} // namespace Link

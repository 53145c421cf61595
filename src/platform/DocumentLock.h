#pragma once

#include <QString>

#include <memory>

class QLockFile;

// The lock that says which process has a document open: a hidden file
// ".~lock.<file>#" beside it that holds the process id and the host name.
// A lock left by a process that is gone on this host is taken over silently;
// a lock of another host is never judged stale by its age, since a slip may
// stay open for days.
namespace DocumentLock {

enum class State {
    Taken,         // the lock is ours now
    HeldHere,      // a live process of this host holds it (holderPid)
    HeldElsewhere, // a process of another host holds it (holderHost)
    Unavailable,   // no lock can be made beside the file (read-only media ...)
};

struct Claim {
    State state = State::Unavailable;
    std::unique_ptr<QLockFile> lock; // set when Taken; released when dropped
    qint64 holderPid = 0;
    QString holderHost;
    QString reason; // for Unavailable: the system's reason
};

QString lockPathFor(const QString &file);

// Tries to take the lock of file; never waits. With force, a lock held by
// another host is removed first (after the user has agreed to it).
Claim take(const QString &file, bool force = false);

} // namespace DocumentLock

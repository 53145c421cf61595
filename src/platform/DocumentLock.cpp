#include "DocumentLock.h"

#include "AtomicFile.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>

#include <cerrno>

using namespace Qt::StringLiterals;

namespace DocumentLock {

QString lockPathFor(const QString &file)
{
    const QFileInfo info(file);
    return info.absoluteDir().filePath(u".~lock."_s + info.fileName() + u'#');
}

Claim take(const QString &file, bool force)
{
    Claim claim;
    auto lock = std::make_unique<QLockFile>(lockPathFor(file));
    // Only a dead holder on this host makes a lock stale, never its age.
    lock->setStaleLockTime(0);
    errno = 0;
    if (lock->tryLock(0)) {
        claim.state = State::Taken;
        claim.lock = std::move(lock);
        return claim;
    }
    if (lock->error() != QLockFile::LockFailedError) {
        const int e = errno;
        claim.state = State::Unavailable;
        claim.reason = e != 0 ? AtomicFile::systemReason(e) : AtomicFile::systemReason(EACCES);
        return claim;
    }
    qint64 pid = 0;
    QString host;
    QString application;
    if (!lock->getLockInfo(&pid, &host, &application)) {
        const QFileInfo info(lockPathFor(file));
        if (!info.isFile()) {
            // Something else has the lock's name: no lock can be made.
            claim.state = State::Unavailable;
            claim.reason = AtomicFile::systemReason(EISDIR);
            return claim;
        }
        // A lock file without content: a process that is writing it right
        // now holds it; an old one was left by a crash.
        if (info.lastModified().msecsTo(QDateTime::currentDateTime()) > 5000 && lock->removeStaleLockFile() &&
            lock->tryLock(0)) {
            claim.state = State::Taken;
            claim.lock = std::move(lock);
            return claim;
        }
        claim.state = State::HeldHere;
        return claim;
    }
    claim.holderPid = pid;
    claim.holderHost = host;
    const bool here = host.isEmpty() || host == QSysInfo::machineHostName();
    if (here) {
        claim.state = State::HeldHere;
        return claim;
    }
    if (force && lock->removeStaleLockFile() && lock->tryLock(0)) {
        claim.state = State::Taken;
        claim.lock = std::move(lock);
        return claim;
    }
    claim.state = State::HeldElsewhere;
    return claim;
}

} // namespace DocumentLock

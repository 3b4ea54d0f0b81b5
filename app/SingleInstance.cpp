#include "SingleInstance.h"

#include "PortRegistry.h"

#include <QDir>
#include <QLockFile>

#include <chrono>
#include <thread>

namespace trelmo {
namespace {

bool HasLockInfo(const QLockFile& lock)
{
    qint64 pid = 0;
    QString host;
    QString application;
    return lock.getLockInfo(&pid, &host, &application);
}

} // namespace

SingleInstanceLock::SingleInstanceLock(const QString& name)
{
    QString dir = UserRuntimeDirectory();
    if (dir.isEmpty())
        dir = QDir::tempPath();
    QDir().mkpath(dir);
    path_ = QDir(dir).filePath(name);
    lock_ = std::make_unique<QLockFile>(path_);
    // Never stale by age: a lock is free only when its holder is gone.
    lock_->setStaleLockTime(0);
}

SingleInstanceLock::~SingleInstanceLock() = default;

SingleInstanceLock::Outcome SingleInstanceLock::Acquire()
{
    if (lock_->tryLock(0))
        return Outcome::Acquired;
    if (lock_->error() != QLockFile::LockFailedError)
        return Outcome::Unavailable;
    // QLockFile takes over a file whose process is gone, judged by its process id. A reused id can fool that, so
    // the flock decides: it is free only when the holder has ended. A holder takes the flock just after creating
    // the file and then writes its details; a file still without them may be in that instant, so give it a moment.
    if (!HasLockInfo(*lock_))
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    if (lock_->removeStaleLockFile() && lock_->tryLock(0))
        return Outcome::Acquired;
    return Outcome::HeldElsewhere;
}

} // namespace trelmo

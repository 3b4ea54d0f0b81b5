#include "SingleInstance.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

namespace trelmo {

SingleInstanceLock::SingleInstanceLock(const QString& name)
{
    QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (dir.isEmpty())
        dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    QDir().mkpath(dir);
    path_ = QDir(dir).filePath(name);
    lock_ = std::make_unique<QLockFile>(path_);
    // Never stale by age: a lock is free only when its holder is gone (its flock is released with the process).
    lock_->setStaleLockTime(0);
}

SingleInstanceLock::~SingleInstanceLock() = default;

bool SingleInstanceLock::TryAcquire()
{
    if (lock_->tryLock(0))
        return true;
    // A holder that died leaves its file behind; QLockFile recognises it by the dead process and retries once.
    if (lock_->error() == QLockFile::LockFailedError && lock_->removeStaleLockFile())
        return lock_->tryLock(0);
    return false;
}

QString SingleInstanceLock::Path() const
{
    return path_;
}

} // namespace trelmo

#include "SingleInstance.h"

namespace trelmo {

SingleInstanceLock::SingleInstanceLock(const QString& name)
    : folder_(UserRuntimeFolder()), path_(folder_.FilePath(name + QStringLiteral(".lock")))
{
}

SingleInstanceLock::Outcome SingleInstanceLock::Acquire()
{
    if (!folder_.IsUsable())
        return Outcome::Unavailable;
    lockOutcome_ = lock_.Acquire(path_);
    switch (lockOutcome_) {
    case FileLock::Outcome::Acquired:
        return Outcome::Acquired;
    case FileLock::Outcome::HeldElsewhere:
        return Outcome::HeldElsewhere;
    case FileLock::Outcome::NotARegularFile:
    case FileLock::Outcome::CannotOpen:
        break;
    }
    return Outcome::Unavailable;
}

} // namespace trelmo

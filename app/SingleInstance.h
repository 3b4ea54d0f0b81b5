#pragma once
// System-wide single-instance guard: a FileLock on <private folder>/<name>.lock (RuntimeFolder.h), held for the
// life of the object. The operating system releases it when the process ends, also after a crash or kill -9; the
// file left behind is then simply locked again.

#include "FileLock.h"
#include "RuntimeFolder.h"

#include <QString>

namespace trelmo {

class SingleInstanceLock {
public:
    enum class Outcome {
        Acquired,      // this process holds the lock until the object is destroyed
        HeldElsewhere, // another holder has it: another running copy
        Unavailable,   // the lock cannot be taken at all; Folder() and LockOutcome() tell why
    };

    explicit SingleInstanceLock(const QString& name);

    Outcome Acquire();
    // True when this process now holds the lock.
    bool TryAcquire() { return Acquire() == Outcome::Acquired; }
    QString Path() const { return path_; }

    // Unavailable: the private folder's problem, or (the folder being usable) the lock file's.
    const RuntimeFolder& Folder() const { return folder_; }
    FileLock::Outcome LockOutcome() const { return lockOutcome_; }
    int SystemError() const { return lock_.SystemError(); }

private:
    RuntimeFolder folder_;
    QString path_;
    FileLock lock_;
    FileLock::Outcome lockOutcome_ = FileLock::Outcome::CannotOpen;
};

} // namespace trelmo

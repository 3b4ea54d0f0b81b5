#pragma once
// System-wide single-instance guard: a lock file named after the program's lock name in the user's runtime
// directory, held with flock() for the life of the process. The operating system releases it when the process
// ends, also after a crash or kill -9; the file left behind is then recognised as stale and taken over.

#include <QString>

#include <memory>

class QLockFile;

namespace trelmo {

class SingleInstanceLock {
public:
    enum class Outcome {
        Acquired,      // this process holds the lock until the object is destroyed
        HeldElsewhere, // another running process holds it
        Unavailable,   // the lock cannot be made at all (no usable directory); nothing is known of other copies
    };

    explicit SingleInstanceLock(const QString& name);
    ~SingleInstanceLock();

    Outcome Acquire();
    // True when this process now holds the lock.
    bool TryAcquire() { return Acquire() == Outcome::Acquired; }
    QString Path() const { return path_; }

private:
    QString path_;
    std::unique_ptr<QLockFile> lock_;
};

} // namespace trelmo

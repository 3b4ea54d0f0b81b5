#pragma once
// System-wide single-instance guard: a lock named after the program's lock name in the user's runtime directory.
// The operating system releases it when the process ends, also after a crash or kill -9.

#include <QString>

#include <memory>

class QLockFile;

namespace trelmo {

class SingleInstanceLock {
public:
    explicit SingleInstanceLock(const QString& name);
    ~SingleInstanceLock();
    // True when this process now holds the lock; false when another running process holds it.
    bool TryAcquire();
    QString Path() const;

private:
    QString path_;
    std::unique_ptr<QLockFile> lock_;
};

} // namespace trelmo

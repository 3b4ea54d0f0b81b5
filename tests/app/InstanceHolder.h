#pragma once
// Runs the single-instance helper process, and gives a test its own runtime directory for the lock.

#include "SingleInstance.h"

#include <QByteArray>
#include <QProcess>
#include <QTemporaryDir>

#include <ostream>

namespace trelmo {

inline void PrintTo(SingleInstanceLock::Outcome outcome, std::ostream* out)
{
    const char* const names[] = {"Acquired", "HeldElsewhere", "Unavailable"};
    *out << names[static_cast<int>(outcome)];
}

} // namespace trelmo

namespace trelmo::test {

// Points $XDG_RUNTIME_DIR at a fresh directory for the life of the object.
class RuntimeDirectoryScope {
public:
    RuntimeDirectoryScope()
        : previous_(qgetenv("XDG_RUNTIME_DIR")), hadPrevious_(qEnvironmentVariableIsSet("XDG_RUNTIME_DIR"))
    {
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(directory_.path()));
    }
    ~RuntimeDirectoryScope()
    {
        if (hadPrevious_)
            qputenv("XDG_RUNTIME_DIR", previous_);
        else
            qunsetenv("XDG_RUNTIME_DIR");
    }
    QString Path() const { return directory_.path(); }

private:
    QTemporaryDir directory_;
    QByteArray previous_;
    bool hadPrevious_;
};

// The helper process; it inherits the test's environment, $XDG_RUNTIME_DIR included.
class InstanceHolder {
public:
    ~InstanceHolder() { Kill(); }

    // Starts the helper and returns its first line: "held" or "refused" (empty when it said nothing in time).
    QByteArray Start()
    {
        process_.start(QStringLiteral(TRELMO_INSTANCE_HOLDER), {});
        if (!process_.waitForStarted(10000))
            return {};
        while (!process_.canReadLine()) {
            if (!process_.waitForReadyRead(10000))
                return {};
        }
        return process_.readLine().trimmed();
    }

    // SIGKILL: the helper gets no chance to release anything itself.
    void Kill()
    {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.kill();
        process_.waitForFinished(10000);
    }

    QProcess& Process() { return process_; }

private:
    QProcess process_;
};

} // namespace trelmo::test

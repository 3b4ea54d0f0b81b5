#pragma once
// Runs the single-instance helper process. Tests give it their own runtime directory for the lock (RuntimeDir).

#include "SingleInstance.h"

#include <QByteArray>
#include <QProcess>

#include <ostream>

namespace trelmo {

inline void PrintTo(SingleInstanceLock::Outcome outcome, std::ostream* out)
{
    const char* const names[] = {"Acquired", "HeldElsewhere", "Unavailable"};
    *out << names[static_cast<int>(outcome)];
}

} // namespace trelmo

namespace trelmo::test {

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

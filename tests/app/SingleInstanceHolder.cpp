// A second process for the single-instance tests: takes the lock "VELDRAX" (in the private folder under
// $XDG_RUNTIME_DIR), says on its output whether it holds it, and then waits until it is killed.

#include "SingleInstance.h"

#include <QCoreApplication>

#include <unistd.h>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    trelmo::SingleInstanceLock lock(QStringLiteral("VELDRAX"));
    const bool held = lock.TryAcquire();
    std::puts(held ? "held" : "refused");
    std::fflush(stdout);
    if (!held)
        return 1;
    for (;;)
        ::pause();
}

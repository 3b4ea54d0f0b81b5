#include "Startup.h"

#include "MainDialog.h"
#include "MessageBoxes.h"
#include "SingleInstance.h"
#include "StringTable.h"

namespace trelmo {

int RunStartUp()
{
    // Held until the main window has closed, that is for the life of the process.
    SingleInstanceLock lock(QStringLiteral("VELDRAX"));
    // A lock that cannot be made at all does not stop the tool; only another running copy does.
    if (lock.Acquire() == SingleInstanceLock::Outcome::HeldElsewhere) {
        ShowAppMessage(nullptr, LoadText(112));
        return 0;
    }
    CMainDialog mainWindow;
    mainWindow.exec();
    return 0;
}

} // namespace trelmo

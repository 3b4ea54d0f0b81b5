#include "Startup.h"

#include "DemoApp.h"
#include "MainDialog.h"
#include "MessageBoxes.h"
#include "SingleInstance.h"
#include "StringTable.h"

namespace trelmo {

int RunStartUp()
{
    TheApp(); // the shared state exists before any window
    SingleInstanceLock lock(QStringLiteral("VELDRAX"));
    if (!lock.TryAcquire()) {
        ShowAppMessage(nullptr, LoadText(112));
        return 0;
    }
    CMainDialog mainWindow;
    mainWindow.exec();
    return 0;
}

} // namespace trelmo

#include "Startup.h"

#include "MainDialog.h"
#include "MessageBoxes.h"
#include "SingleInstance.h"
#include "StringTable.h"

#include <cstring>

namespace trelmo {
namespace {

constexpr int TextAnotherCopyRuns = 112;
constexpr int TextPrivateFolderUnusable = 150; // path, reason
constexpr int TextLockFileUnusable = 151;      // path, reason
constexpr int TextNotAFolder = 152;
constexpr int TextOwnedByAnotherUser = 153;
constexpr int TextOpenToOthers = 154;
constexpr int TextNotARegularFile = 155;

QString SystemErrorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString FolderProblemText(const RuntimeFolder& folder)
{
    switch (folder.problem) {
    case FolderProblem::NotAFolder:
        return LoadText(TextNotAFolder);
    case FolderProblem::OwnedByAnotherUser:
        return LoadText(TextOwnedByAnotherUser);
    case FolderProblem::OpenToOthers:
        return LoadText(TextOpenToOthers);
    case FolderProblem::CannotCreate:
    case FolderProblem::None:
        break;
    }
    return SystemErrorText(folder.systemError);
}

// Why the lock could not be taken at all, naming the folder or the lock file.
QString UnavailableText(const SingleInstanceLock& lock)
{
    if (!lock.Folder().IsUsable())
        return LoadText(TextPrivateFolderUnusable).arg(lock.Folder().path, FolderProblemText(lock.Folder()));
    const QString reason = lock.LockOutcome() == FileLock::Outcome::NotARegularFile
        ? LoadText(TextNotARegularFile)
        : SystemErrorText(lock.SystemError());
    return LoadText(TextLockFileUnusable).arg(lock.Path(), reason);
}

} // namespace

int RunStartUp()
{
    // Held until the main window has closed, that is for the life of the process.
    SingleInstanceLock lock(QStringLiteral("VELDRAX"));
    switch (lock.Acquire()) {
    case SingleInstanceLock::Outcome::HeldElsewhere:
        ShowAppMessage(nullptr, LoadText(TextAnotherCopyRuns));
        return 0;
    case SingleInstanceLock::Outcome::Unavailable:
        ShowAppMessage(nullptr, UnavailableText(lock));
        return 1;
    case SingleInstanceLock::Outcome::Acquired:
        break;
    }
    CMainDialog mainWindow;
    mainWindow.exec();
    return 0;
}

} // namespace trelmo

#include "Startup.h"

#include "MainDialog.h"
#include "MessageBoxes.h"
#include "SingleInstance.h"
#include "StringTable.h"

#include <cstring>

namespace trelmo {
namespace {

QString SystemErrorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString FolderProblemText(const RuntimeFolder& folder)
{
    switch (folder.problem) {
    case FolderProblem::NotAFolder:
        return LoadText(TextId::NotAFolder);
    case FolderProblem::OwnedByAnotherUser:
        return LoadText(TextId::OwnedByAnotherUser);
    case FolderProblem::OpenToOthers:
        return LoadText(TextId::OpenToOthers);
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
        return LoadText(TextId::PrivateFolderUnusable).arg(lock.Folder().path, FolderProblemText(lock.Folder()));
    const QString reason = lock.LockOutcome() == FileLock::Outcome::NotARegularFile
        ? LoadText(TextId::NotARegularFile)
        : SystemErrorText(lock.SystemError());
    return LoadText(TextId::LockFileUnusable).arg(lock.Path(), reason);
}

} // namespace

int RunStartUp()
{
    // Held until the main window has closed, that is for the life of the process.
    SingleInstanceLock lock(QStringLiteral("VELDRAX"));
    switch (lock.Acquire()) {
    case SingleInstanceLock::Outcome::HeldElsewhere:
        ShowAppMessage(nullptr, LoadText(TextId::AnotherCopyRuns));
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

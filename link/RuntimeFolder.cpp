#include "RuntimeFolder.h"

#include <QDir>
#include <QFile>

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

namespace trelmo {
namespace {

constexpr mode_t GroupAndOthers = S_IRWXG | S_IRWXO;

// $XDG_RUNTIME_DIR/trelmo when that variable is usable, else <temporary folder>/trelmo-<uid>.
QString PrivateFolderPath(uid_t user)
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    struct stat info {};
    if (runtime.startsWith('/') && ::stat(runtime.constData(), &info) == 0
        && IsUsableRuntimeBase({info.st_mode, info.st_uid}, user))
        return QDir(QFile::decodeName(runtime)).filePath(QStringLiteral("trelmo"));
    // Qt gives an empty path for a $TMPDIR that does not exist.
    QString temporary = QDir::tempPath();
    if (!QDir::isAbsolutePath(temporary))
        temporary = QStringLiteral("/tmp");
    return QDir(temporary).filePath(QStringLiteral("trelmo-%1").arg(user));
}

} // namespace

FolderProblem ClassifyPrivateFolder(const PathFacts& facts, uid_t user)
{
    if (!S_ISDIR(facts.mode))
        return FolderProblem::NotAFolder;
    if (facts.owner != user)
        return FolderProblem::OwnedByAnotherUser;
    if ((facts.mode & GroupAndOthers) != 0)
        return FolderProblem::OpenToOthers;
    return FolderProblem::None;
}

bool IsUsableRuntimeBase(const PathFacts& facts, uid_t user)
{
    return S_ISDIR(facts.mode) && facts.owner == user && (facts.mode & (S_IWGRP | S_IWOTH)) == 0;
}

QString RuntimeFolder::FilePath(const QString& name) const
{
    return QDir(path).filePath(name);
}

RuntimeFolder UserRuntimeFolder()
{
    const uid_t user = ::geteuid();
    RuntimeFolder folder;
    folder.path = PrivateFolderPath(user);
    const QByteArray path = QFile::encodeName(folder.path);
    struct stat info {};
    if ((::mkdir(path.constData(), S_IRWXU) != 0 && errno != EEXIST) || ::lstat(path.constData(), &info) != 0) {
        folder.problem = FolderProblem::CannotCreate;
        folder.systemError = errno;
        return folder;
    }
    folder.problem = ClassifyPrivateFolder({info.st_mode, info.st_uid}, user);
    return folder;
}

} // namespace trelmo

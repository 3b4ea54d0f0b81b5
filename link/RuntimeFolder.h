#pragma once
// The per-user folder for the programs' private files (the virtual modules' registry, the single-instance lock):
// $XDG_RUNTIME_DIR/trelmo where that variable names a folder of this user that no one else can write to, else
// <temporary folder>/trelmo-<user id>. It is made when missing (mode 0700) and used only while it is a real folder
// (not a link), owned by the effective user, with no access for group or others; otherwise the programs refuse
// and name it. Never the current folder, never a name shared between users.

#include <QString>

#include <sys/types.h>

namespace trelmo {

enum class FolderProblem {
    None,
    CannotCreate,       // making or examining it failed; RuntimeFolder::systemError holds errno
    NotAFolder,         // a link, a file, a FIFO or the like stands at its path
    OwnedByAnotherUser,
    OpenToOthers,       // group or others have some permission on it
};

// What lstat(2) or stat(2) tells of a path.
struct PathFacts {
    mode_t mode = 0; // type and permission bits
    uid_t owner = 0;
};

// Whether the folder examined with lstat(2) may hold this user's private files.
FolderProblem ClassifyPrivateFolder(const PathFacts& facts, uid_t user);
// Whether $XDG_RUNTIME_DIR (examined with stat(2)) may hold the private folder: a folder of this user that group
// and others cannot write to.
bool IsUsableRuntimeBase(const PathFacts& facts, uid_t user);

struct RuntimeFolder {
    QString path;
    FolderProblem problem = FolderProblem::None;
    int systemError = 0; // errno, with CannotCreate

    bool IsUsable() const { return problem == FolderProblem::None; }
    QString FilePath(const QString& name) const;
};

// The folder, made when missing and verified on every call.
RuntimeFolder UserRuntimeFolder();

} // namespace trelmo

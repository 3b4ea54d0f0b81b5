// The programs' private files: the rules for the private folder, then the folder and a lock file on real files,
// with things planted where they go.

#include "FileLock.h"
#include "RuntimeDir.h"
#include "RuntimeFolder.h"

#include <QFile>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace trelmo;
using trelmo::testing::RuntimeDir;

namespace {

// The facts lstat and stat give: CI runs as root, which cannot meet another user's folder as a user would.
TEST(RuntimeFolderTest, ClassifiesWhatStandsAtThePath)
{
    constexpr uid_t Me = 1000;
    struct Case {
        mode_t mode;
        uid_t owner;
        FolderProblem asPrivateFolder;
        bool asRuntimeBase;
    };
    const Case cases[] = {
        {S_IFDIR | 0700, Me, FolderProblem::None, true},
        {S_IFDIR | 0750, Me, FolderProblem::OpenToOthers, true},
        {S_IFDIR | 0770, Me, FolderProblem::OpenToOthers, false},
        {S_IFDIR | 01777, 0, FolderProblem::OwnedByAnotherUser, false},
        {S_IFDIR | 0700, Me + 1, FolderProblem::OwnedByAnotherUser, false},
        {S_IFLNK | 0777, Me, FolderProblem::NotAFolder, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        EXPECT_EQ(ClassifyPrivateFolder({c.mode, c.owner}, Me), c.asPrivateFolder);
        EXPECT_EQ(IsUsableRuntimeBase({c.mode, c.owner}, Me), c.asRuntimeBase);
    }
}

// Neither followed nor waited on: a link, a FIFO. A lock file left behind is simply locked again.
TEST(RuntimeFolderTest, RefusesWhatWasPlantedWhereTheFolderOrALockFileGoes)
{
    enum Planted { Nothing, File, Fifo, LinkToAPrivateFolder, LinkToAFile };
    enum Place { Folder, FolderWithoutRuntimeVariable, LockFile };
    struct Case {
        Planted planted;
        Place place;
        bool usable;
    };
    const Case cases[] = {
        {Nothing, Folder, true}, {Fifo, Folder, false}, {LinkToAPrivateFolder, Folder, false},
        {Nothing, FolderWithoutRuntimeVariable, true}, {LinkToAPrivateFolder, FolderWithoutRuntimeVariable, false},
        {Nothing, LockFile, true}, {File, LockFile, true}, {Fifo, LockFile, false}, {LinkToAFile, LockFile, false},
    };
    const QByteArray previousTemporary = qgetenv("TMPDIR");
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.planted << " at " << c.place);
        RuntimeDir runtime;
        QString path = c.place == LockFile ? runtime.Path() + "/a.lock" : runtime.FolderPath();
        if (c.place == FolderWithoutRuntimeVariable) {
            qunsetenv("XDG_RUNTIME_DIR");
            qputenv("TMPDIR", QFile::encodeName(runtime.Path()));
            path = runtime.Path() + QStringLiteral("/trelmo-%1").arg(::geteuid());
        }
        const QByteArray at = QFile::encodeName(path);
        const QByteArray target = at + ".target";
        if (c.planted == File || c.planted == LinkToAFile)
            ::close(::creat((c.planted == File ? at : target).constData(), 0600));
        if (c.planted == Fifo)
            ::mkfifo(at.constData(), 0600);
        if (c.planted == LinkToAPrivateFolder)
            ::mkdir(target.constData(), 0700);
        if (c.planted == LinkToAFile || c.planted == LinkToAPrivateFolder)
            ::symlink(target.constData(), at.constData());
        FileLock lock;
        const RuntimeFolder folder = UserRuntimeFolder();
        const bool usable = c.place == LockFile ? lock.Acquire(path) == FileLock::Outcome::Acquired : folder.IsUsable();
        EXPECT_EQ(usable, c.usable);
        EXPECT_TRUE(c.place == LockFile || folder.path == path) << folder.path.toStdString();
        struct stat made {};
        EXPECT_TRUE(c.planted != Nothing || c.place == LockFile
                    || (::lstat(at.constData(), &made) == 0 && made.st_mode == (S_IFDIR | 0700)));
        qputenv("TMPDIR", previousTemporary); // empty means /tmp, as unset does
    }
}

} // namespace

// The programs' private files: the rules for what stands at the private folder's path, the folder made or refused
// on real files, and the lock files in it.

#include "FileLock.h"
#include "RuntimeDir.h"
#include "RuntimeFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace trelmo;
using trelmo::testing::RuntimeDir;

namespace {

// The facts lstat and stat give; CI runs as root, which cannot meet another user's folder as a user would.
TEST(RuntimeFolderTest, ClassifiesWhatStandsAtThePath)
{
    constexpr uid_t Me = 1000;
    constexpr uid_t Other = 1001;
    struct Case {
        const char* title;
        mode_t mode;
        uid_t owner;
        FolderProblem asPrivateFolder;
        bool asRuntimeBase;
    };
    const Case cases[] = {
        {"private folder", S_IFDIR | 0700, Me, FolderProblem::None, true},
        {"readable by the group", S_IFDIR | 0750, Me, FolderProblem::OpenToOthers, true},
        {"others may pass through", S_IFDIR | 0701, Me, FolderProblem::OpenToOthers, true},
        {"writable by the group", S_IFDIR | 0770, Me, FolderProblem::OpenToOthers, false},
        {"writable by everyone", S_IFDIR | 0777, Me, FolderProblem::OpenToOthers, false},
        {"the shared temporary folder", S_IFDIR | 01777, 0, FolderProblem::OwnedByAnotherUser, false},
        {"another user's private folder", S_IFDIR | 0700, Other, FolderProblem::OwnedByAnotherUser, false},
        {"a link", S_IFLNK | 0777, Me, FolderProblem::NotAFolder, false},
        {"a file", S_IFREG | 0600, Me, FolderProblem::NotAFolder, false},
        {"a FIFO", S_IFIFO | 0600, Me, FolderProblem::NotAFolder, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        EXPECT_EQ(ClassifyPrivateFolder({c.mode, c.owner}, Me), c.asPrivateFolder);
        EXPECT_EQ(IsUsableRuntimeBase({c.mode, c.owner}, Me), c.asRuntimeBase);
    }
}

TEST(RuntimeFolderTest, MakesTheFolderOrRefusesWhatWasPlantedThere)
{
    // $TMPDIR while the test runs, so that the fallback stays out of the real temporary folder.
    QTemporaryDir temporary;
    const QByteArray previousTemporary = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(temporary.path()));
    const QString fallback = QDir(temporary.path()).filePath(QStringLiteral("trelmo-%1").arg(::geteuid()));

    const auto at = [](const RuntimeDir& runtime) { return QFile::encodeName(runtime.FolderPath()); };
    struct Case {
        const char* title;
        std::function<void(const RuntimeDir&)> plant;
        bool fallsBack; // to <$TMPDIR>/trelmo-<uid>
        FolderProblem problem;
    };
    const Case cases[] = {
        {"absent: made", [](const RuntimeDir&) {}, false, FolderProblem::None},
        {"a private folder: kept", [&](const RuntimeDir& runtime) { ::mkdir(at(runtime).constData(), 0700); },
         false, FolderProblem::None},
        {"open to others",
         [&](const RuntimeDir& runtime) {
             ::mkdir(at(runtime).constData(), 0700);
             ::chmod(at(runtime).constData(), 0755);
         },
         false, FolderProblem::OpenToOthers},
        {"a link to a private folder",
         [&](const RuntimeDir& runtime) {
             const QByteArray elsewhere = QFile::encodeName(runtime.Path() + QStringLiteral("/elsewhere"));
             ::mkdir(elsewhere.constData(), 0700);
             ::symlink(elsewhere.constData(), at(runtime).constData());
         },
         false, FolderProblem::NotAFolder},
        {"a link to nowhere",
         [&](const RuntimeDir& runtime) { ::symlink("/nonexistent/trelmo", at(runtime).constData()); }, false,
         FolderProblem::NotAFolder},
        {"a file",
         [](const RuntimeDir& runtime) { EXPECT_TRUE(QFile(runtime.FolderPath()).open(QIODevice::WriteOnly)); },
         false, FolderProblem::NotAFolder},
        {"a FIFO", [&](const RuntimeDir& runtime) { ::mkfifo(at(runtime).constData(), 0600); }, false,
         FolderProblem::NotAFolder},
        {"no XDG_RUNTIME_DIR", [](const RuntimeDir&) { qunsetenv("XDG_RUNTIME_DIR"); }, true, FolderProblem::None},
        {"a relative XDG_RUNTIME_DIR", [](const RuntimeDir&) { qputenv("XDG_RUNTIME_DIR", "."); }, true,
         FolderProblem::None},
        {"XDG_RUNTIME_DIR writable by others",
         [](const RuntimeDir& runtime) { ::chmod(QFile::encodeName(runtime.Path()).constData(), 0777); }, true,
         FolderProblem::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        RuntimeDir runtime;
        c.plant(runtime);
        const RuntimeFolder folder = UserRuntimeFolder();
        EXPECT_EQ(folder.path, c.fallsBack ? fallback : runtime.FolderPath());
        EXPECT_EQ(folder.problem, c.problem);
        struct stat info {};
        ASSERT_EQ(::lstat(QFile::encodeName(folder.path).constData(), &info), 0);
        if (c.problem == FolderProblem::None) {
            EXPECT_EQ(info.st_mode, S_IFDIR | 0700);
        }
    }
    if (previousTemporary.isNull())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", previousTemporary);
}

TEST(FileLockTest, TakesOnlyARegularFileThatNoOtherHolderHas)
{
    RuntimeDir runtime;
    const auto pathOf = [&](const char* name) { return QDir(runtime.Path()).filePath(QLatin1String(name)); };
    const auto at = [&](const char* name) { return QFile::encodeName(pathOf(name)); };
    FileLock otherHolder; // in this process: the lock conflicts all the same
    struct Case {
        const char* name;
        std::function<void()> plant;
        FileLock::Outcome outcome;
    };
    const Case cases[] = {
        {"absent", [] {}, FileLock::Outcome::Acquired},
        {"left-over", [&] { ::close(::creat(at("left-over").constData(), 0600)); }, FileLock::Outcome::Acquired},
        {"held", [&] { otherHolder.Acquire(pathOf("held")); }, FileLock::Outcome::HeldElsewhere},
        {"link-to-file",
         [&] {
             ::close(::creat(at("target").constData(), 0600));
             ::symlink(at("target").constData(), at("link-to-file").constData());
         },
         FileLock::Outcome::NotARegularFile},
        {"link-to-nowhere", [&] { ::symlink(at("nowhere").constData(), at("link-to-nowhere").constData()); },
         FileLock::Outcome::NotARegularFile},
        {"fifo", [&] { ::mkfifo(at("fifo").constData(), 0600); }, FileLock::Outcome::NotARegularFile},
        {"folder", [&] { ::mkdir(at("folder").constData(), 0700); }, FileLock::Outcome::NotARegularFile},
        {"missing/folder", [] {}, FileLock::Outcome::CannotOpen},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.plant();
        FileLock lock;
        EXPECT_EQ(lock.Acquire(pathOf(c.name)), c.outcome);
        if (c.outcome == FileLock::Outcome::CannotOpen) {
            EXPECT_EQ(lock.SystemError(), ENOENT);
        }
        const bool held = c.outcome == FileLock::Outcome::Acquired || c.outcome == FileLock::Outcome::HeldElsewhere;
        EXPECT_EQ(IsFileLockHeld(pathOf(c.name)), held);
        lock.Release();
        EXPECT_EQ(IsFileLockHeld(pathOf(c.name)), c.outcome == FileLock::Outcome::HeldElsewhere);
    }
    EXPECT_FALSE(QFile::exists(pathOf("nowhere"))) << "nothing made at a link's target";
    struct stat info {};
    ASSERT_EQ(::lstat(at("absent").constData(), &info), 0);
    EXPECT_EQ(info.st_mode, S_IFREG | 0600);
}

} // namespace

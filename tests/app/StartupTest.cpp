// Start-up with and without another running copy holding the single-instance lock, and with a private folder or
// lock file that cannot be used; the program's terminal options.

#include "InstanceHolder.h"
#include "Language.h"
#include "MainDialog.h"
#include "MessageRecorder.h"
#include "RuntimeDir.h"
#include "SingleInstance.h"
#include "Startup.h"
#include "StringTable.h"
#include "WindowDriver.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include <sys/stat.h>

using namespace trelmo;
using trelmo::test::InstanceHolder;
using trelmo::testing::MessageRecorder;
using trelmo::testing::RuntimeDir;
using trelmo::testing::ScopedLanguage;
using trelmo::testing::WhenModalThenClose;

namespace {

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Closes the main window start-up runs, noting that it ran and who held the lock meanwhile.
        WhenModalThenClose<CMainDialog>([this](CMainDialog*) {
            mainWindowShown_ = true;
            lockWhileRunning_ = SingleInstanceLock(QStringLiteral("VELDRAX")).Acquire();
        });
    }

    RuntimeDir runtime_;
    MessageRecorder messages_;
    bool mainWindowShown_ = false;
    SingleInstanceLock::Outcome lockWhileRunning_ = SingleInstanceLock::Outcome::Unavailable;
};

TEST_F(StartupTest, ASecondCopyShowsOnlyTheMessageAndEndsWithoutAWindow)
{
    InstanceHolder running;
    ASSERT_EQ(running.Start(), "held");
    EXPECT_EQ(RunStartUp(), 0);
    EXPECT_FALSE(mainWindowShown_);
    EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty());
    EXPECT_EQ(messages_.kinds, std::vector<MessageBoxKind>{MessageBoxKind::Application});
    EXPECT_EQ(messages_.texts, std::vector<QString>{LoadText(TextId::AnotherCopyRuns)});
    EXPECT_FALSE(LoadText(TextId::AnotherCopyRuns).isEmpty());
    EXPECT_EQ(running.Process().state(), QProcess::Running) << "the running copy is left alone";
}

TEST_F(StartupTest, TheFirstCopyRunsTheMainWindowHoldingTheLockAndReleasesItAtTheEnd)
{
    EXPECT_EQ(RunStartUp(), 0);
    EXPECT_TRUE(mainWindowShown_);
    EXPECT_EQ(lockWhileRunning_, SingleInstanceLock::Outcome::HeldElsewhere);
    EXPECT_TRUE(messages_.texts.empty());
    EXPECT_EQ(SingleInstanceLock(QStringLiteral("VELDRAX")).Acquire(), SingleInstanceLock::Outcome::Acquired);
}

TEST_F(StartupTest, StartsAfterAKilledCopy)
{
    InstanceHolder crashed;
    ASSERT_EQ(crashed.Start(), "held");
    crashed.Kill();
    EXPECT_EQ(RunStartUp(), 0);
    EXPECT_TRUE(mainWindowShown_);
    EXPECT_TRUE(messages_.texts.empty());
}

// Refused with the path and the reason, never taken for another running copy; a FIFO does not block start-up.
TEST_F(StartupTest, AnUnusableFolderOrLockFileIsNamedAndEndsStartUp)
{
    struct Case {
        LanguageVariant language;
        QString planted; // a FIFO, in the folder made first unless it is the folder itself
        QString text;
    };
    const QString folder = runtime_.FolderPath();
    const Case cases[] = {
        {LanguageVariant::English, folder,
         QStringLiteral("The private folder %1 cannot be used: it is not a folder, or it is a link.").arg(folder)},
        {LanguageVariant::Chinese, folder + QStringLiteral("/VELDRAX.lock"),
         QStringLiteral("无法使用锁文件 %1/VELDRAX.lock：它不是普通文件。").arg(folder)},
    };
    for (const Case& c : cases) {
        if (c.planted != folder)
            QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        ASSERT_EQ(::mkfifo(QFile::encodeName(c.planted).constData(), 0600), 0);
        ScopedLanguage language(c.language);
        EXPECT_EQ(RunStartUp(), 1);
        EXPECT_FALSE(mainWindowShown_);
        EXPECT_EQ(messages_.kinds, std::vector<MessageBoxKind>{MessageBoxKind::Application});
        EXPECT_EQ(messages_.texts, std::vector<QString>{c.text});
        QFile::remove(c.planted);
        messages_.Clear();
    }
}

// The program answers --help and --version on a terminal without a display: with no window system to reach, a
// QApplication would abort instead.
TEST(StartupProgramTest, HelpAndVersionNeedNoDisplay)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    for (const auto& [option, start] : {std::pair{"--help", "Usage: "}, std::pair{"--version", "trelmo-demo "}}) {
        SCOPED_TRACE(option);
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(TRELMO_DEMO), {QString::fromLatin1(option)});
        ASSERT_TRUE(program.waitForFinished(30000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
        EXPECT_TRUE(program.readAllStandardOutput().startsWith(start));
    }
}

} // namespace

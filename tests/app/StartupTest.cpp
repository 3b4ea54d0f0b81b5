// Start-up with and without another running copy holding the single-instance lock.

#include "InstanceHolder.h"
#include "MainDialog.h"
#include "MessageRecorder.h"
#include "RuntimeDir.h"
#include "SingleInstance.h"
#include "Startup.h"
#include "StringTable.h"
#include "WindowDriver.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <vector>

using namespace trelmo;
using trelmo::test::InstanceHolder;
using trelmo::testing::MessageRecorder;
using trelmo::testing::RuntimeDir;
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
    EXPECT_EQ(messages_.texts, std::vector<QString>{LoadText(112)});
    EXPECT_FALSE(LoadText(112).isEmpty());
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

} // namespace

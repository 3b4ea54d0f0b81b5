// Start-up with and without another running copy holding the single-instance lock.

#include "InstanceHolder.h"
#include "MainDialog.h"
#include "MessageBoxes.h"
#include "SingleInstance.h"
#include "Startup.h"
#include "StringTable.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace trelmo;
using trelmo::test::InstanceHolder;
using trelmo::test::RuntimeDirectoryScope;

namespace {

using Message = std::pair<MessageBoxKind, QString>;

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetMessageBoxHook([this](MessageBoxKind kind, const QString& text) { messages_.emplace_back(kind, text); });
        // Closes whatever modal window start-up runs, noting whether the main window was among them.
        QObject::connect(&closer_, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            if (qobject_cast<CMainDialog*>(modal)) {
                mainWindowShown_ = true;
                lockWhileRunning_ = SingleInstanceLock(QStringLiteral("VELDRAX")).Acquire();
            }
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->done(QDialog::Rejected);
            else
                modal->close();
        });
        closer_.start(20);
    }
    void TearDown() override { SetMessageBoxHook({}); }

    RuntimeDirectoryScope runtime_;
    QTimer closer_;
    std::vector<Message> messages_;
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
    const std::vector<Message> expected = {{MessageBoxKind::Application, LoadText(112)}};
    EXPECT_EQ(messages_, expected);
    EXPECT_FALSE(LoadText(112).isEmpty());
    EXPECT_EQ(running.Process().state(), QProcess::Running) << "the running copy is left alone";
}

TEST_F(StartupTest, TheFirstCopyRunsTheMainWindowHoldingTheLockAndReleasesItAtTheEnd)
{
    EXPECT_EQ(RunStartUp(), 0);
    EXPECT_TRUE(mainWindowShown_);
    EXPECT_EQ(lockWhileRunning_, SingleInstanceLock::Outcome::HeldElsewhere);
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(SingleInstanceLock(QStringLiteral("VELDRAX")).Acquire(), SingleInstanceLock::Outcome::Acquired);
}

TEST_F(StartupTest, StartsAfterAKilledCopy)
{
    InstanceHolder crashed;
    ASSERT_EQ(crashed.Start(), "held");
    crashed.Kill();
    EXPECT_EQ(RunStartUp(), 0);
    EXPECT_TRUE(mainWindowShown_);
    EXPECT_TRUE(messages_.empty());
}

} // namespace

#include "WindowDriver.h"

#include <QApplication>

#include <gtest/gtest.h>

namespace {

// Modal-dialog actions a test left waiting must not act on a later test's dialogs.
class DropModalActionsAfterEachTest : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo&) override { trelmo::testing::DropPendingModalActions(); }
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new DropModalActionsAfterEachTest);
    return RUN_ALL_TESTS();
}

// Pictures of the main window exchanging I/O data (with its Link Statistics window and the decoded Message Display)
// and of the four tool windows in both languages, filled from the
// virtual module, for a person to look at and for the software centre's screenshots. Runs only when
// TRELMO_SCREENSHOTS names a directory to write the PNG files to; that every label fits its text is checked for
// every window by the consistency test.

#include "AppConfigObjectDialog.h"
#include "AppDataObjectsDialog.h"
#include "LinkStatisticsDialog.h"
#include "MessageDisplayDialog.h"
#include "ModuleInfoDialog.h"
#include "ObjectAccessDialog.h"

#include "DialogTemplate.h"
#include "Language.h"
#include "MainWindowHarness.h"
#include "MessageRecorder.h"
#include "LinkAwait.h"
#include "SimProcess.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace trelmo;
using namespace trelmo::testing;

namespace {

class ToolWindowsScreenshotTest : public ::testing::TestWithParam<LanguageVariant> {
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("TRELMO_SCREENSHOTS"))
            GTEST_SKIP() << "TRELMO_SCREENSHOTS names no directory for the pictures";
        SetActiveLanguage(GetParam());
        ASSERT_TRUE(sim_.Start({"--mode", "115200"})) << sim_.ErrorText().toStdString();
        const std::string device = sim_.DevicePath();
        ASSERT_EQ(AwaitLink(link_, &LinkController::PortOpened, [&] { link_.OpenPort(device, 115200); }),
                  PortOpenError::None);
    }
    void TearDown() override { SetActiveLanguage(LanguageVariant::English); }

    void Picture(QWidget* dialog, const QString& name)
    {
        const QString directory = qEnvironmentVariable("TRELMO_SCREENSHOTS");
        QDir().mkpath(directory);
        dialog->show();
        QTest::qWait(50);
        const QString language = GetParam() == LanguageVariant::Chinese ? "zh" : "en";
        EXPECT_TRUE(dialog->grab().save(QDir(directory).filePath(name + "-" + language + ".png")));
    }

    SimProcess sim_;
    LinkController link_;
    MessageRecorder messages_;
};

TEST_P(ToolWindowsScreenshotTest, ObjectAccess)
{
    CObjectAccessDialog dialog(link_);
    Control<QLineEdit>(&dialog, ObjectAccessControl::ObjectCode)->setText("1");
    Control<QLineEdit>(&dialog, ObjectAccessControl::InstanceCode)->setText("1");
    Control<QLineEdit>(&dialog, ObjectAccessControl::AttributeCode)->setText("4");
    dialog.OnSend();
    auto* send = Control<QPushButton>(&dialog, ObjectAccessControl::Send);
    ASSERT_TRUE(QTest::qWaitFor([send] { return send->isEnabled(); }));
    Picture(&dialog, "138-object-access-read");
    Control<QComboBox>(&dialog, ObjectAccessControl::AccessMode)->setCurrentIndex(1);
    Control<QPlainTextEdit>(&dialog, ObjectAccessControl::InputData)->setPlainText("0f 0e 0d 0c");
    Picture(&dialog, "138-object-access-write");
}

TEST_P(ToolWindowsScreenshotTest, ModuleInformation)
{
    const ModuleInfoResult read =
        AwaitRequest(link_, &LinkController::ModuleInfoRead, [this] { return link_.ReadModuleInfo(); });
    CModuleInfoDialog dialog(read.info);
    Picture(&dialog, "135-module-information");
}

TEST_P(ToolWindowsScreenshotTest, ApplicationDataObjects)
{
    AppDataObjectTable table;
    table.Add({1, 23, {0x0A, 0x0B, 0x0C}, "0A 0B 0C"});
    table.Add({12, 3, {0xFF}, "FF"});
    std::string longData;
    for (int i = 0; i < 120; ++i)
        longData += (i ? " " : "") + std::string("5A");
    table.Add({300, 1, Bytes(120, 0x5A), longData});
    auto* dialog = new CAppDataObjectsDialog(table);
    dialog->List()->topLevelItem(1)->setSelected(true);
    Picture(dialog, "136-application-data-objects");
    delete dialog;
}

TEST_P(ToolWindowsScreenshotTest, ApplicationConfigurationObject)
{
    AppConfigObjectData data;
    data.ConfigurationData = Bytes(100, 0xA5);
    data.ParameterData = {0x01, 0x00, 0x64};
    CAppConfigObjectDialog dialog(data);
    Picture(&dialog, "137-application-configuration-object");
}

class MainWindowScreenshotTest : public MainWindowTest, public ::testing::WithParamInterface<LanguageVariant> {
protected:
    void SetUp() override
    {
        SetActiveLanguage(GetParam());
        MainWindowTest::SetUp();
    }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        SetActiveLanguage(LanguageVariant::English);
    }
};

TEST_P(MainWindowScreenshotTest, ExchangingIoData)
{
    const QString directory = qEnvironmentVariable("TRELMO_SCREENSHOTS");
    if (directory.isEmpty())
        GTEST_SKIP() << "TRELMO_SCREENSHOTS names no directory for the pictures";
    SimProcess& sim = StartSim({"--mode", "115200", "--read-length", "40"});
    Configure(OperatingMode::Uart115200, "1");
    EnterWriteLength("24");
    ConnectTo(sim);
    ASSERT_TRUE(WaitFor([this] { return ReadCellActive(39) && ReadCell(0) > "02"; }));
    QDir().mkpath(directory);
    const QString language = GetParam() == LanguageVariant::Chinese ? "-zh" : "-en";
    const auto save = [&](QWidget* shown, const QString& name) {
        EXPECT_TRUE(shown->grab().save(QDir(directory).filePath(name + language + ".png")));
    };
    save(window.get(), "main-window");
    ClickWriteCell(2, 3);
    QTest::keyClicks(window->CellEditor(), "C");
    save(window.get(), "main-window-editing");
    QTest::keyClick(window->CellEditor(), Qt::Key_Escape);

    window->OnLinkStatistics();
    QTest::qWait(2100); // refreshed once a second: two cycle periods measured
    save(window->LinkStatisticsDialog(), "link-statistics");
    window->OnMessageDisplay();
    auto* display = window->findChild<CMessageDisplayDialog*>();
    ASSERT_TRUE(display);
    display->ShowDecoded(true);
    QTest::qWait(2500); // a few cycles' frames
    save(display, "message-display-decoded");
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, ToolWindowsScreenshotTest,
                         ::testing::Values(LanguageVariant::English, LanguageVariant::Chinese), LanguageParamName);
INSTANTIATE_TEST_SUITE_P(BothLanguages, MainWindowScreenshotTest,
                         ::testing::Values(LanguageVariant::English, LanguageVariant::Chinese), LanguageParamName);

} // namespace

// The Application Data Objects window as the main window opens it: from the context menu, one at a time, on the
// main window's own table, which is what the cyclic exchange serves from.

#include "AppDataObjectsDialog.h"
#include "MainDialog.h"

#include "ConnectionSteps.h"
#include "DialogTemplate.h"
#include "Language.h"
#include "MessageRecorder.h"
#include "TrafficLog.h"
#include "WireBytes.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace trelmo;
using namespace trelmo::testing;
namespace ids = trelmo::AppDataObjectsControl;

namespace {

QAction* MenuAction(const CMainDialog& window, const QString& text)
{
    for (QAction* action : window.SystemMenu()->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

void AddEntry(CAppDataObjectsDialog* dialog, const QString& instance, const QString& attribute, const QString& data)
{
    Control<QLineEdit>(dialog, ids::Instance)->setText(instance);
    Control<QLineEdit>(dialog, ids::Attribute)->setText(attribute);
    Control<QPlainTextEdit>(dialog, ids::Data)->setPlainText(data);
    QTest::mouseClick(Control<QPushButton>(dialog, ids::Add), Qt::LeftButton);
}

class MainWindowAppDataObjectsTest : public ::testing::TestWithParam<LanguageVariant> {
protected:
    void SetUp() override { SetActiveLanguage(GetParam()); }
    void TearDown() override { SetActiveLanguage(LanguageVariant::English); }
    MessageRecorder messages_;
};

TEST_P(MainWindowAppDataObjectsTest, MenuOpensOneWindowOnTheMainWindowsTable)
{
    const bool chinese = GetParam() == LanguageVariant::Chinese;
    const QString label = chinese ? QString::fromUtf8("应用数据对象") : QStringLiteral("Application Data Objects");
    CMainDialog window;
    EXPECT_TRUE(window.Button(MainControl::ApplicationDataObjects)->isHidden());
    const QList<QAction*> actions = window.SystemMenu()->actions();
    ASSERT_EQ(actions.size(), 3); // separator, About, then this entry
    EXPECT_EQ(actions[1]->data().toInt(), AboutCommandId); // beside About, after it
    ASSERT_EQ(actions[2], MenuAction(window, label));

    actions[2]->trigger();
    QPointer<CAppDataObjectsDialog> first = window.AppDataObjectsDialog();
    ASSERT_FALSE(first.isNull());
    EXPECT_TRUE(first->isVisible());
    EXPECT_FALSE(first->isModal());
    EXPECT_EQ(first->windowTitle(), label);
    AddEntry(first, "1", "23", "0A 0B");
    ASSERT_NE(window.AppDataObjects().Find(1, 23), nullptr);
    EXPECT_EQ(window.AppDataObjects().Find(1, 23)->DataText, "0A 0B");

    actions[2]->trigger(); // a second request brings the open window forward
    EXPECT_EQ(window.AppDataObjectsDialog(), first.data());
    EXPECT_EQ(window.findChildren<CAppDataObjectsDialog*>().size(), 1);

    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(window.AppDataObjectsDialog(), nullptr);
    EXPECT_EQ(window.AppDataObjects().Size(), 1u); // the entries outlive the window

    actions[2]->trigger();
    CAppDataObjectsDialog* second = window.AppDataObjectsDialog();
    ASSERT_NE(second, nullptr);
    ASSERT_EQ(second->List()->topLevelItemCount(), 1);
    EXPECT_EQ(second->List()->topLevelItem(0)->text(3), "0A 0B");
    EXPECT_TRUE(messages_.texts.empty());
}

// Entries typed into the window opened from the menu are what the main window's own cycles serve.
TEST(MainWindowAppDataObjectsServedTest, EntriesTypedInTheWindowAreServedByTheMainWindowsCycles)
{
    SetActiveLanguage(LanguageVariant::English);
    MessageRecorder messages;
    SimProcess sim;
    ASSERT_TRUE(sim.Start({"--mode", "115200", "--config-at", "0", "--param-at", "0", "--adi-every", "2",
                           "--adi-list", "7:1,12:3"}))
        << sim.ErrorText().toStdString();
    CMainDialog window;
    ModuleSession& session = window.Session();
    ASSERT_TRUE(session.Port().OpenSerialPort(sim.DevicePath(), 115200));
    ASSERT_EQ(ConnectionSequence(session.Port(), session.Sequence(), session.Log(), OperatingMode::Uart115200, 3).step,
              ConnectionOutcome::Online);

    MenuAction(window, "Application Data Objects")->trigger();
    AddEntry(window.AppDataObjectsDialog(), "12", "3", "C0 FF EE");
    for (int cycle = 0; cycle < 4; ++cycle)
        window.ExchangeIoData();
    window.ExchangeTimer().stop();
    session.Port().CloseSerialPort();

    const std::vector<Bytes> served = ObjectRequests(HostFrames(sim), AppDataObjectCode);
    // 7:1 is not in the table and is not answered; 12:3 is written with the typed bytes.
    ASSERT_EQ(served.size(), 1u);
    EXPECT_EQ(served[0], AssembleObjectFrame(served[0][ModuleFrame::Sequence], Request, ServiceWrite, 0xF1, 12, 3,
                                             {0xC0, 0xFF, 0xEE}));
    EXPECT_TRUE(messages.texts.empty());
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, MainWindowAppDataObjectsTest,
                         ::testing::Values(LanguageVariant::English, LanguageVariant::Chinese), LanguageParamName);

} // namespace

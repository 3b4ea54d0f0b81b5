// The Application Data Objects window as the main window opens it: from the context menu, one at a time, on the
// main window's own table, which is what the cyclic exchange serves from.

#include "AppDataObjectsDialog.h"
#include "MainDialog.h"

#include "DialogTemplate.h"
#include "Language.h"
#include "MessageRecorder.h"

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
    ASSERT_EQ(actions.size(), 4); // separator, About, this entry, then Link Statistics
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

// Entries typed into the window opened from the menu land in the table the main window's cycles serve.
TEST(MainWindowAppDataObjectsServedTest, EntriesTypedInTheWindowGoToTheTableTheCyclesServe)
{
    SetActiveLanguage(LanguageVariant::English);
    MessageRecorder messages;
    CMainDialog window;
    MenuAction(window, "Application Data Objects")->trigger();
    AddEntry(window.AppDataObjectsDialog(), "12", "3", "C0 FF EE");
    const AppDataObjectEntry* entry = window.AppDataObjects().Find(12, 3);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->DataText, "C0 FF EE");
    EXPECT_TRUE(messages.texts.empty());
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, MainWindowAppDataObjectsTest,
                         ::testing::Values(LanguageVariant::English, LanguageVariant::Chinese), LanguageParamName);

} // namespace

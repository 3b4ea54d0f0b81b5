#include "AboutDialog.h"
#include "AppConfigObjectDialog.h"
#include "ConfigurationDialog.h"
#include "DialogTemplate.h"
#include "MainDialog.h"
#include "MessageDisplayDialog.h"
#include "MessageRecorder.h"
#include "ModuleInfoDialog.h"
#include "ObjectAccessDialog.h"
#include "StringTable.h"
#include "WindowDriver.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace trelmo;
using namespace trelmo::testing;

namespace {

class MainDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetActiveLanguage(LanguageVariant::English);
        CConfigurationDialog::Remembered() = {2, 3, QStringLiteral("55")};
    }
};

TEST_F(MainDialogTest, InitialStateMatchesTheUnconfiguredWindow)
{
    CMainDialog window;
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Trelmo Demo Software"));
    EXPECT_FALSE(window.windowIcon().isNull());
    EXPECT_EQ(window.Button(MainControl::Connect)->text(), QStringLiteral("Connect"));
    EXPECT_EQ(window.OnlineStateButton()->text(), QStringLiteral("OFFLINE"));
    EXPECT_TRUE(window.ReadLengthEdit()->isReadOnly());
    EXPECT_EQ(window.ReadLengthEdit()->text(), QString());
    EXPECT_EQ(window.WriteLengthEdit()->text(), QStringLiteral("0"));
    EXPECT_FALSE(window.CellEditor()->isVisibleTo(&window));
    EXPECT_EQ(window.CellEditor()->maxLength(), 2);
    EXPECT_EQ(window.WriteData().length, 0);
    for (std::uint8_t byte : window.WriteData().bytes)
        ASSERT_EQ(byte, 0);
    for (int i = 0; i < GridDataCells; ++i) {
        const CellPosition cell = CellIndex(i);
        ASSERT_FALSE(window.ReadGrid().IsCellActive(cell.row, cell.column)) << i;
        ASSERT_FALSE(window.WriteGrid().IsCellActive(cell.row, cell.column)) << i;
    }
    EXPECT_TRUE(CConfigurationDialog::Remembered().BusAddressText.isEmpty());
    EXPECT_EQ(CConfigurationDialog::Remembered().OperatingModeIndex, 0);
    EXPECT_EQ(CConfigurationDialog::Remembered().BaudRateIndex, 0);
}

// The length fields are described by the grid they belong to; a caption too long for its button wraps, and the
// button keeps its name on one line.
TEST_F(MainDialogTest, LengthFieldsNameTheirGridAndLongCaptionsWrap)
{
    CMainDialog window;
    EXPECT_FALSE(window.ReadLengthEdit()->accessibleDescription().isEmpty());
    EXPECT_EQ(window.ReadLengthEdit()->accessibleDescription(), window.ReadGrid().Widget()->accessibleName());
    EXPECT_EQ(window.WriteLengthEdit()->accessibleDescription(), window.WriteGrid().Widget()->accessibleName());
    QPushButton* longCaption = window.Button(MainControl::ApplicationConfigurationObject);
    EXPECT_TRUE(longCaption->text().contains(QLatin1Char('\n')));
    EXPECT_EQ(longCaption->accessibleName(), QStringLiteral("Application Configuration Object"));
}

TEST_F(MainDialogTest, TabOrderFollowsTheTemplate)
{
    CMainDialog window;
    window.SetConnectionButtonsEnabled(true);
    window.Button(MainControl::Connect)->setEnabled(true);
    window.Button(MainControl::ApplicationConfigurationObject)->setEnabled(true);
    ShowActive(window);
    const int expected[] = {MainControl::OperatingMode,     MainControl::Connect,
                            MainControl::ModuleInformation, MainControl::ObjectModuleAccess,
                            MainControl::ApplicationConfigurationObject, MainControl::MessageDisplay,
                            MainControl::ReadGrid,          MainControl::WriteGrid,
                            MainControl::ReadLength,        MainControl::WriteLength};
    ASSERT_EQ(QApplication::focusWidget(), window.Button(MainControl::OperatingMode));
    for (int id : expected) {
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        EXPECT_EQ(QApplication::focusWidget()->property("controlId").toInt(), id);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
}

// The button table through configuring is checked end to end against the virtual module (ConnectionTest).
TEST_F(MainDialogTest, ConfigurationOkStoresTheSettingsARefusedOkNothing)
{
    CMainDialog window;
    window.show();

    // Cancel unlocks nothing; an OK refused for the empty address before it has stored nothing either.
    {
        MessageRecorder shown;
        WhenModalThenClose<QDialog>([](QDialog* dialog) {
            auto* configuration = qobject_cast<CConfigurationDialog*>(dialog);
            ASSERT_NE(configuration, nullptr);
            configuration->BaudList()->setCurrentIndex(2);
            configuration->accept();
            configuration->reject();
        });
        QTest::mouseClick(window.Button(MainControl::OperatingMode), Qt::LeftButton);
        EXPECT_FALSE(window.Button(MainControl::Connect)->isEnabled());
        EXPECT_EQ(shown.Ids(), std::vector<TextId>{TextId::BusAddressEmpty});
    }
    EXPECT_EQ(window.Settings().BaudRate, LineSettings{}.BaudRate);
    EXPECT_EQ(window.Settings().BusAddress, 0);

    WhenModalThenClose<QDialog>([](QDialog* dialog) {
        auto* configuration = qobject_cast<CConfigurationDialog*>(dialog);
        ASSERT_NE(configuration, nullptr);
        configuration->BusAddressEdit()->setText(QStringLiteral("12"));
        configuration->accept();
    });
    QTest::mouseClick(window.Button(MainControl::OperatingMode), Qt::LeftButton);
    EXPECT_TRUE(window.Button(MainControl::Connect)->isEnabled());
    EXPECT_EQ(window.Settings().BusAddress, 12);
}

TEST_F(MainDialogTest, EnterNeverClosesTheWindowAndMovesTheFocusToTheWriteGrid)
{
    CMainDialog window;
    ShowActive(window);
    bool dialogOpened = false;
    WhenModalThenClose<QDialog>([&dialogOpened](QDialog*) { dialogOpened = true; });

    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        window.Button(MainControl::OperatingMode)->setFocus();
        QTest::keyClick(window.Button(MainControl::OperatingMode), key);
        QApplication::processEvents();
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(window.result(), QDialog::Rejected) << "never accepted";
        EXPECT_EQ(QApplication::focusWidget(), window.WriteGrid().Widget());
    }
    EXPECT_FALSE(dialogOpened) << "Enter must not press the focused button";
}

TEST_F(MainDialogTest, EscapeAndTheCloseBoxEndTheWindow)
{
    {
        CMainDialog window;
        ShowActive(window);
        QTest::keyClick(window.Button(MainControl::OperatingMode), Qt::Key_Escape);
        EXPECT_FALSE(window.isVisible());
        EXPECT_EQ(window.result(), QDialog::Rejected);
    }
    {
        CMainDialog window;
        ShowActive(window);
        int result = -1;
        QObject::connect(&window, &QDialog::finished, [&result](int r) { result = r; });
        window.close();
        EXPECT_FALSE(window.isVisible());
        EXPECT_EQ(result, QDialog::Rejected);
    }
}

TEST_F(MainDialogTest, ContextMenuCarriesTheAboutCommand)
{
    CMainDialog window;
    ShowActive(window);
    const QList<QAction*> actions = window.SystemMenu()->actions();
    ASSERT_GE(actions.size(), 2); // "Application Data Objects" follows
    EXPECT_TRUE(actions[0]->isSeparator()); // a separator, then the About command
    EXPECT_EQ(actions[1]->text(), QStringLiteral("About Trelmo(&A)..."));
    EXPECT_EQ(actions[1]->data().toInt(), AboutCommandId);

    QTest::keyClick(window.Button(MainControl::MessageDisplay), Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_TRUE(window.SystemMenu()->isVisible());
    window.SystemMenu()->close();

    bool aboutShown = false;
    WhenModalThenClose<QDialog>(
        [&aboutShown](QDialog* dialog) { aboutShown = qobject_cast<CAboutDialog*>(dialog) != nullptr; });
    actions[1]->trigger();
    EXPECT_TRUE(aboutShown);
}

TEST_F(MainDialogTest, ToolButtonsRunTheirDialogsModally)
{
    CMainDialog window;
    window.show();
    window.SetConnectionButtonsEnabled(true);
    window.Button(MainControl::ApplicationConfigurationObject)->setEnabled(true);
    const std::pair<int, const char*> tools[] = {
        {MainControl::ModuleInformation, CModuleInfoDialog::staticMetaObject.className()},
        {MainControl::ObjectModuleAccess, CObjectAccessDialog::staticMetaObject.className()},
        {MainControl::ApplicationConfigurationObject, CAppConfigObjectDialog::staticMetaObject.className()}};
    for (const auto& [id, className] : tools) {
        QString opened;
        WhenModalThenClose<QDialog>(
            [&opened](QDialog* dialog) { opened = QString::fromLatin1(dialog->metaObject()->className()); });
        QTest::mouseClick(window.Button(id), Qt::LeftButton);
        // Module Information opens once the link has tried the reads.
        EXPECT_TRUE(QTest::qWaitFor([&opened] { return !opened.isEmpty(); })) << id;
        EXPECT_EQ(opened, QString::fromLatin1(className)) << id;
    }
    EXPECT_EQ(window.AppDataObjects().Size(), 0u);
}

TEST_F(MainDialogTest, EveryMessageDisplayPressOpensAnotherWindow)
{
    CMainDialog window;
    window.show();
    QTest::mouseClick(window.Button(MainControl::MessageDisplay), Qt::LeftButton);
    QTest::mouseClick(window.Button(MainControl::MessageDisplay), Qt::LeftButton);
    const QList<CMessageDisplayDialog*> displays = window.findChildren<CMessageDisplayDialog*>();
    ASSERT_EQ(displays.size(), 2);
    // Each window shows what the window's own link logs.
    window.Link().Log().Append("101 ");
    for (CMessageDisplayDialog* display : displays) {
        EXPECT_TRUE(display->isVisible());
        EXPECT_FALSE(display->isModal());
        display->RefreshFromLog();
        EXPECT_EQ(display->DisplayedLines(), std::vector<std::string>{"TX: Length:001, Data:01 "});
    }
    displays[0]->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window.findChildren<CMessageDisplayDialog*>().size(), 1);
}

} // namespace

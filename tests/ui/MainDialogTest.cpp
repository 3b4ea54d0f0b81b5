#include "AboutDialog.h"
#include "AppConfigObjectDialog.h"
#include "ConfigurationDialog.h"
#include "DemoApp.h"
#include "DialogTemplate.h"
#include "MainDialog.h"
#include "MessageDisplayDialog.h"
#include "ModuleInfoDialog.h"
#include "ObjectAccessDialog.h"
#include "StringTable.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace trelmo;

namespace {

// Runs action on the next modal dialog that opens, then makes sure it is closed.
void OnNextModal(std::function<void(QDialog*)> action)
{
    QTimer::singleShot(0, [action] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        action(dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
}

struct ButtonState {
    int id;
    bool visible;
    bool enabled;
};

void ExpectButtons(const CMainDialog& window, std::initializer_list<ButtonState> states)
{
    for (const ButtonState& state : states) {
        QPushButton* button = window.Button(state.id);
        ASSERT_NE(button, nullptr) << state.id;
        EXPECT_EQ(button->isVisibleTo(&window), state.visible) << "button " << state.id;
        EXPECT_EQ(button->isEnabled(), state.enabled) << "button " << state.id;
    }
}

class MainDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetActiveLanguage(LanguageVariant::English);
        BusAddressText = QStringLiteral("55");
        OperatingModeIndex = 2;
        BaudRateIndex = 3;
    }

    void ShowActive(CMainDialog& window)
    {
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
};

TEST_F(MainDialogTest, InitialStateMatchesTheUnconfiguredWindow)
{
    CMainDialog window;
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Trelmo Demo Software"));
    EXPECT_FALSE(window.windowIcon().isNull());
    ExpectButtons(window, {{MainControl::OperatingMode, true, true},
                           {MainControl::Connect, true, false},
                           {MainControl::Disconnect, false, false},
                           {MainControl::ModuleInformation, true, false},
                           {MainControl::ObjectModuleAccess, true, false},
                           {MainControl::ApplicationConfigurationObject, true, false},
                           {MainControl::MessageDisplay, true, true},
                           {MainControl::OnlineState, false, false},
                           {MainControl::ApplicationDataObjects, false, false}});
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
    EXPECT_TRUE(BusAddressText.isEmpty());
    EXPECT_EQ(OperatingModeIndex, 0);
    EXPECT_EQ(BaudRateIndex, 0);
    EXPECT_FALSE(window.ExchangeTimer().isActive());
}

TEST_F(MainDialogTest, ControlsSitWhereTheTemplateSaysAndCarryTheirNames)
{
    CMainDialog window;
    const DialogUnits units(window.font());
    EXPECT_EQ(window.size(), units.ToPixels(QSize(513, 328)));
    EXPECT_EQ(window.ReadGrid().Widget()->geometry(), units.ToPixels(QRect(133, 37, 174, 237)));
    EXPECT_EQ(window.WriteGrid().Widget()->geometry(), units.ToPixels(QRect(320, 37, 174, 237)));
    EXPECT_EQ(window.ReadGrid().Widget()->property("controlId").toInt(), MainControl::ReadGrid);
    EXPECT_EQ(window.ReadGrid().Widget()->accessibleName(), QStringLiteral("I/O Read(Bus Network->Module->Demo)"));
    EXPECT_EQ(window.WriteGrid().Widget()->accessibleName(),
              QStringLiteral("I/O Write(Demo->Module->Bus Network)"));
    EXPECT_EQ(window.ReadLengthEdit()->accessibleName(), QStringLiteral("Length:"));
    EXPECT_EQ(window.WriteLengthEdit()->accessibleName(), QStringLiteral("Length:"));
    EXPECT_EQ(window.ReadLengthEdit()->accessibleDescription(), QStringLiteral("I/O Read(Bus Network->Module->Demo)"));
    EXPECT_EQ(window.WriteLengthEdit()->accessibleDescription(),
              QStringLiteral("I/O Write(Demo->Module->Bus Network)"));
    EXPECT_EQ(window.Button(MainControl::Connect)->geometry().topLeft(),
              window.Button(MainControl::Disconnect)->geometry().topLeft() + QPoint(units.X(16) - units.X(15), 0));
    EXPECT_EQ(window.Button(MainControl::ApplicationConfigurationObject)->accessibleName(),
              QStringLiteral("Application Configuration Object"));
    EXPECT_TRUE(window.Button(MainControl::ApplicationConfigurationObject)->text().contains(QLatin1Char('\n')));

    // Whatever takes the focus has a name for a screen reader.
    for (QWidget* child : window.findChildren<QWidget*>()) {
        const int id = child->property("controlId").toInt();
        if (id > 0 && child->focusPolicy() != Qt::NoFocus)
            EXPECT_FALSE(child->accessibleName().isEmpty()) << id;
    }
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

TEST_F(MainDialogTest, ButtonTableUpToTheConfiguredState)
{
    CMainDialog window;
    window.show();

    // Cancel changes nothing.
    OnNextModal([](QDialog* dialog) { dialog->reject(); });
    QTest::mouseClick(window.Button(MainControl::OperatingMode), Qt::LeftButton);
    EXPECT_FALSE(window.Button(MainControl::Connect)->isEnabled());

    OnNextModal([](QDialog* dialog) {
        auto* configuration = qobject_cast<CConfigurationDialog*>(dialog);
        ASSERT_NE(configuration, nullptr);
        configuration->BusAddressEdit()->setText(QStringLiteral("12"));
        configuration->accept();
    });
    QTest::mouseClick(window.Button(MainControl::OperatingMode), Qt::LeftButton);
    ExpectButtons(window, {{MainControl::OperatingMode, true, true},
                           {MainControl::Connect, true, true},
                           {MainControl::Disconnect, false, false},
                           {MainControl::ModuleInformation, true, false},
                           {MainControl::ObjectModuleAccess, true, false},
                           {MainControl::ApplicationConfigurationObject, true, false},
                           {MainControl::MessageDisplay, true, true},
                           {MainControl::OnlineState, false, false},
                           {MainControl::ApplicationDataObjects, false, false}});
    EXPECT_EQ(TheApp().BusAddress, 12);

    window.SetConnectionButtonsEnabled(true);
    ExpectButtons(window, {{MainControl::ModuleInformation, true, true},
                           {MainControl::ObjectModuleAccess, true, true},
                           {MainControl::OnlineState, false, true},
                           {MainControl::Disconnect, false, true},
                           {MainControl::ApplicationConfigurationObject, true, false}});
    window.SetConnectionButtonsEnabled(false);
    ExpectButtons(window, {{MainControl::ModuleInformation, true, false},
                           {MainControl::ObjectModuleAccess, true, false},
                           {MainControl::OnlineState, false, false},
                           {MainControl::Disconnect, false, false}});
}

TEST_F(MainDialogTest, EnterNeverClosesTheWindowAndMovesTheFocusToTheWriteGrid)
{
    CMainDialog window;
    ShowActive(window);
    bool dialogOpened = false;
    OnNextModal([&dialogOpened](QDialog*) { dialogOpened = true; });

    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        window.Button(MainControl::OperatingMode)->setFocus();
        QTest::keyClick(window.Button(MainControl::OperatingMode), key);
        QApplication::processEvents();
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(window.result(), QDialog::Rejected) << "never accepted";
        EXPECT_EQ(QApplication::focusWidget(), window.WriteGrid().Widget());
    }
    EXPECT_FALSE(dialogOpened) << "Enter must not press the focused button";

    // An open cell editor loses the focus to the grid, which ends the edit.
    window.CellEditor()->show();
    window.CellEditor()->setFocus();
    ASSERT_TRUE(window.CellEditor()->hasFocus());
    QTest::keyClick(window.CellEditor(), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), window.WriteGrid().Widget());
    EXPECT_TRUE(window.isVisible());
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
    OnNextModal([&aboutShown](QDialog* dialog) { aboutShown = qobject_cast<CAboutDialog*>(dialog) != nullptr; });
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
        OnNextModal([&opened](QDialog* dialog) { opened = QString::fromLatin1(dialog->metaObject()->className()); });
        QTest::mouseClick(window.Button(id), Qt::LeftButton);
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
    for (CMessageDisplayDialog* display : displays)
        EXPECT_TRUE(display->isVisible());
    displays[0]->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window.findChildren<CMessageDisplayDialog*>().size(), 1);
}

TEST_F(MainDialogTest, ChineseVariantUsesChineseCaptionsAndLayout)
{
    SetActiveLanguage(LanguageVariant::Chinese);
    CMainDialog window;
    SetActiveLanguage(LanguageVariant::English);
    const DialogUnits units(window.font());
    EXPECT_EQ(window.windowTitle(), QString::fromUtf8("Trelmo Demo软件"));
    EXPECT_EQ(window.size(), units.ToPixels(QSize(499, 300)));
    const std::pair<int, const char*> captions[] = {
        {MainControl::OperatingMode, "工作模式"},   {MainControl::Connect, "连接"},
        {MainControl::ModuleInformation, "模块信息"}, {MainControl::ObjectModuleAccess, "对象模型访问"},
        {MainControl::ApplicationConfigurationObject, "应用配置对象"},
        {MainControl::MessageDisplay, "报文显示"},    {MainControl::Disconnect, "断开连接"},
        {MainControl::ApplicationDataObjects, "应用数据对象"}};
    for (const auto& [id, caption] : captions) {
        EXPECT_EQ(window.Button(id)->text(), QString::fromUtf8(caption)) << id;
        EXPECT_EQ(window.Button(id)->size(), units.ToPixels(QSize(56, 14))) << id;
    }
    EXPECT_EQ(window.ReadGrid().Widget()->accessibleName(), QString::fromUtf8("I/O读数据(总线网络->模块->Demo)"));
    EXPECT_EQ(window.WriteGrid().Widget()->accessibleName(), QString::fromUtf8("I/O写数据(Demo->模块->总线网络)"));
    EXPECT_EQ(window.WriteLengthEdit()->accessibleName(), QString::fromUtf8("长度:"));
    EXPECT_EQ(window.SystemMenu()->actions().value(1)->text(), QString::fromUtf8("关于 Trelmo(&A)..."));

    // Every control lies inside the client area.
    const QRect client(QPoint(0, 0), window.size());
    for (QWidget* child : window.findChildren<QWidget*>()) {
        if (child->parentWidget() == &window && child->property("controlId").isValid())
            EXPECT_TRUE(client.contains(child->geometry())) << child->property("controlId").toInt();
    }
}

} // namespace

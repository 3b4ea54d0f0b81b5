#include "ConfigurationDialog.h"
#include "DemoApp.h"
#include "DialogTemplate.h"
#include "MessageBoxes.h"
#include "StringTable.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace trelmo;

namespace {

// What a screen reader or a test driver reads from a control.
QString AccessibleText(QWidget* widget, QAccessible::Text text)
{
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible ? accessible->text(text) : QString();
}

class ConfigurationDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetActiveLanguage(LanguageVariant::English);
        BusAddressText.clear();
        OperatingModeIndex = 0;
        BaudRateIndex = 0;
        CDemoApp& app = TheApp();
        app.OperatingMode = QStringLiteral("unchanged");
        app.BaudRate = 0;
        app.BusAddress = 99;
        app.WatchdogTimeout = 77;
        previousHook_ = SetMessageBoxHook([this](MessageBoxKind kind, const QString& text) {
            messages.push_back(text);
            kinds.push_back(kind);
        });
    }
    void TearDown() override { SetMessageBoxHook(previousHook_); }

    static void ShowActive(QDialog& dialog)
    {
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    }

    // Types text into the bus address edit and leaves it with Tab, as a user would.
    static void TypeBusAddressAndLeave(CConfigurationDialog& dialog, const QString& text)
    {
        QLineEdit* edit = dialog.BusAddressEdit();
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Tab);
    }

    static QPushButton* Ok(const QDialog& dialog) { return Control<QPushButton>(&dialog, 1); }

    std::vector<QString> messages;
    std::vector<MessageBoxKind> kinds;

private:
    MessageBoxHook previousHook_;
};

TEST_F(ConfigurationDialogTest, FirstOpeningShowsTheDefaults)
{
    CConfigurationDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Trelmo Configuration"));
    EXPECT_EQ(dialog.ModeList()->count(), 3);
    EXPECT_EQ(dialog.ModeList()->itemText(0), QStringLiteral("UART Auto BaudRate"));
    EXPECT_EQ(dialog.ModeList()->itemText(1), QStringLiteral("UART 9600bps"));
    EXPECT_EQ(dialog.ModeList()->itemText(2), QStringLiteral("UART 115200bps"));
    EXPECT_EQ(dialog.ModeList()->currentIndex(), 0);
    const QStringList rates = {"9600", "19200", "38400", "57600", "115200"};
    ASSERT_EQ(dialog.BaudList()->count(), rates.size());
    for (int i = 0; i < rates.size(); ++i)
        EXPECT_EQ(dialog.BaudList()->itemText(i), rates[i]);
    EXPECT_EQ(dialog.BaudList()->currentText(), QStringLiteral("9600"));
    EXPECT_TRUE(dialog.BaudList()->isEnabled());
    EXPECT_EQ(dialog.BusAddressEdit()->text(), QString());

    const std::pair<int, const char*> fixedTexts[] = {
        {ConfigurationControl::DataBits, "8"}, {ConfigurationControl::CheckBit, "Non"},
        {ConfigurationControl::StopBits, "1"}, {ConfigurationControl::CommunicateWatchdog, "Non"}};
    for (const auto& [id, text] : fixedTexts) {
        auto* edit = Control<QLineEdit>(&dialog, id);
        ASSERT_NE(edit, nullptr) << id;
        EXPECT_EQ(edit->text(), QString::fromLatin1(text)) << id;
        EXPECT_TRUE(edit->isReadOnly()) << id;
    }
    auto* watchdog = Control<QComboBox>(&dialog, ConfigurationControl::Watchdog);
    EXPECT_FALSE(watchdog->isVisibleTo(&dialog));
    EXPECT_FALSE(watchdog->isEnabled());
    EXPECT_EQ(watchdog->currentIndex(), 0);
    EXPECT_FALSE(Control<QLineEdit>(&dialog, ConfigurationControl::IpAddress)->isEnabled());

    // Drop-down lists are named by their labels and carry their entry as value.
    EXPECT_EQ(AccessibleText(dialog.ModeList(), QAccessible::Name), QStringLiteral("Operating Mode:"));
    EXPECT_EQ(AccessibleText(dialog.ModeList(), QAccessible::Value), QStringLiteral("UART Auto BaudRate"));
    EXPECT_EQ(AccessibleText(dialog.BaudList(), QAccessible::Name), QStringLiteral("Baud Rate:"));
    EXPECT_EQ(AccessibleText(dialog.BaudList(), QAccessible::Value), QStringLiteral("9600"));
    EXPECT_EQ(AccessibleText(dialog.BusAddressEdit(), QAccessible::Name), QStringLiteral("Bus Address:"));
    EXPECT_EQ(Control<QLineEdit>(&dialog, ConfigurationControl::CommunicateWatchdog)->accessibleName(),
              QStringLiteral("Communicate Watchdog:"));
}

TEST_F(ConfigurationDialogTest, RememberedPositionsShapeTheOpening)
{
    const struct {
        int mode;
        int baudIndex;
        int shownBaud;
        bool baudEnabled;
    } cases[] = {{0, 3, 3, true}, {1, 3, 0, false}, {2, 1, 4, false}, {5, 1, 4, false}};
    for (const auto& c : cases) {
        OperatingModeIndex = c.mode;
        BaudRateIndex = c.baudIndex;
        BusAddressText = QStringLiteral("42");
        CConfigurationDialog dialog;
        EXPECT_EQ(dialog.BaudList()->currentIndex(), c.shownBaud) << c.mode;
        EXPECT_EQ(dialog.BaudList()->isEnabled(), c.baudEnabled) << c.mode;
        EXPECT_EQ(dialog.BusAddressEdit()->text(), QStringLiteral("42"));
    }
}

TEST_F(ConfigurationDialogTest, FixedModesForceTheirBaudRate)
{
    CConfigurationDialog dialog;
    dialog.BusAddressEdit()->setText(QStringLiteral("3"));
    dialog.ModeList()->setCurrentIndex(1);
    EXPECT_EQ(dialog.BaudList()->currentText(), QStringLiteral("9600"));
    EXPECT_FALSE(dialog.BaudList()->isEnabled());

    dialog.ModeList()->setCurrentIndex(2);
    EXPECT_EQ(dialog.BaudList()->currentText(), QStringLiteral("115200"));
    EXPECT_FALSE(dialog.BaudList()->isEnabled());
    dialog.ModeList()->setCurrentIndex(0);
    EXPECT_EQ(dialog.BaudList()->currentText(), QStringLiteral("115200")) << "the automatic mode keeps the rate";
    EXPECT_TRUE(dialog.BaudList()->isEnabled());

    dialog.ModeList()->setCurrentIndex(1);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(TheApp().BaudRate, 9600);
    EXPECT_EQ(TheApp().OperatingMode, QStringLiteral("UART 9600bps"));
    EXPECT_EQ(TheApp().BusAddress, 3);
    EXPECT_EQ(TheApp().WatchdogTimeout, 0);
    EXPECT_TRUE(messages.empty());
}

TEST_F(ConfigurationDialogTest, LeavingTheBusAddressChecksItsRange)
{
    const struct {
        const char* typed;
        const char* shownAfter;
    } cases[] = {{"127", ""}, {"0", ""}, {"500", ""}, {"126", "126"}, {"1", "1"}, {"007", "007"}};
    for (const auto& c : cases) {
        CConfigurationDialog dialog;
        ShowActive(dialog);
        TypeBusAddressAndLeave(dialog, QString::fromLatin1(c.typed));
        EXPECT_EQ(dialog.BusAddressEdit()->text(), QString::fromLatin1(c.shownAfter)) << c.typed;
        EXPECT_EQ(BusAddressText, QString::fromLatin1(c.typed)) << "remembered as typed";
    }
    // The next opening shows what was typed last, even when it was refused.
    BusAddressText = QStringLiteral("127");
    CConfigurationDialog again;
    EXPECT_EQ(again.BusAddressEdit()->text(), QStringLiteral("127"));
}

TEST_F(ConfigurationDialogTest, OkRefusesAnEmptyAddressButStoresTheBaudRate)
{
    CConfigurationDialog dialog;
    ShowActive(dialog);
    dialog.BaudList()->setCurrentIndex(2);
    TypeBusAddressAndLeave(dialog, QStringLiteral("127"));
    QTest::mouseClick(Ok(dialog), Qt::LeftButton);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], QStringLiteral("Bus address can not be empty"));
    EXPECT_EQ(kinds[0], MessageBoxKind::Dialog);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(TheApp().BaudRate, 38400);
    EXPECT_EQ(TheApp().BusAddress, 99);
    EXPECT_EQ(TheApp().OperatingMode, QStringLiteral("unchanged"));
    EXPECT_EQ(TheApp().WatchdogTimeout, 77);

    dialog.reject();
    EXPECT_EQ(TheApp().BusAddress, 99) << "the last accepted address stays";
}

TEST_F(ConfigurationDialogTest, EnterInTheAddressFieldStillChecksTheRange)
{
    const char* const empty = "Bus address can not be empty";
    const char* const zero = "Bus address can not be 0";
    const struct {
        const char* typed;
        const char* message;
        const char* shownAfter;
    } cases[] = {{"127", empty, ""}, {"500", empty, ""}, {"255", empty, ""}, {"0", zero, "0"}, {"00", zero, "00"}};
    for (const auto& c : cases) {
        messages.clear();
        BusAddressText.clear();
        CConfigurationDialog dialog;
        ShowActive(dialog);
        QLineEdit* edit = dialog.BusAddressEdit();
        edit->setFocus();
        QTest::keyClicks(edit, QString::fromLatin1(c.typed));
        QTest::keyClick(edit, Qt::Key_Return); // OK is the default button; the field keeps the focus
        ASSERT_EQ(messages.size(), 1u) << c.typed;
        EXPECT_EQ(messages[0], QString::fromLatin1(c.message)) << c.typed;
        EXPECT_EQ(edit->text(), QString::fromLatin1(c.shownAfter)) << c.typed;
        EXPECT_NE(dialog.result(), QDialog::Accepted) << c.typed;
        EXPECT_EQ(TheApp().BusAddress, 99) << c.typed;
    }

    // A refused address remembered from the last opening is caught the same way.
    for (const auto& [remembered, message] : {std::pair{"127", empty}, std::pair{"0", zero}}) {
        messages.clear();
        BusAddressText = QString::fromLatin1(remembered);
        CConfigurationDialog dialog;
        dialog.accept();
        ASSERT_EQ(messages.size(), 1u) << remembered;
        EXPECT_EQ(messages[0], QString::fromLatin1(message)) << remembered;
        EXPECT_EQ(dialog.result(), QDialog::Rejected) << remembered;
        EXPECT_EQ(TheApp().BusAddress, 99) << remembered;
    }
}

TEST_F(ConfigurationDialogTest, EnterWithAValidAddressAccepts)
{
    CConfigurationDialog dialog;
    ShowActive(dialog);
    dialog.ModeList()->setCurrentIndex(2);
    QLineEdit* edit = dialog.BusAddressEdit();
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("126"));
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(TheApp().BusAddress, 126);
    EXPECT_EQ(TheApp().BaudRate, 115200);
    EXPECT_EQ(TheApp().OperatingMode, QStringLiteral("UART 115200bps"));
    EXPECT_EQ(TheApp().WatchdogTimeout, 0);
}

TEST_F(ConfigurationDialogTest, ListsAreRememberedWhenTheyLoseTheFocusEvenOnCancel)
{
    {
        CConfigurationDialog dialog;
        ShowActive(dialog);
        dialog.ModeList()->setFocus();
        QTest::keyClick(dialog.ModeList(), Qt::Key_Down); // "UART 9600bps"
        QTest::mouseClick(Control<QPushButton>(&dialog, 2), Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    }
    EXPECT_EQ(OperatingModeIndex, 1);
    EXPECT_EQ(TheApp().OperatingMode, QStringLiteral("unchanged"));
    EXPECT_EQ(BaudRateIndex, 0) << "a forced rate is not remembered";

    OperatingModeIndex = 0;
    {
        CConfigurationDialog dialog;
        ShowActive(dialog);
        dialog.BaudList()->setFocus();
        QTest::keyClick(dialog.BaudList(), Qt::Key_Down);
        QTest::keyClick(dialog.BaudList(), Qt::Key_Down);
        QTest::keyClick(dialog.BaudList(), Qt::Key_Tab);
    }
    EXPECT_EQ(BaudRateIndex, 2);
    CConfigurationDialog reopened;
    EXPECT_EQ(reopened.BaudList()->currentText(), QStringLiteral("38400"));
}

TEST_F(ConfigurationDialogTest, ChineseVariant)
{
    SetActiveLanguage(LanguageVariant::Chinese);
    CConfigurationDialog dialog;
    SetActiveLanguage(LanguageVariant::English);
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("Trelmo设置"));
    const DialogUnits units(dialog.font());
    EXPECT_EQ(dialog.size(), units.ToPixels(QSize(141, 222)));
    EXPECT_EQ(dialog.ModeList()->itemText(0), QString::fromUtf8("UART 自动波特率"));
    EXPECT_EQ(Control<QLineEdit>(&dialog, ConfigurationControl::CheckBit)->text(), QString::fromUtf8("无"));
    EXPECT_EQ(Ok(dialog)->text(), QString::fromUtf8("确定"));
    EXPECT_EQ(Control<QPushButton>(&dialog, 2)->text(), QString::fromUtf8("取消"));
    QStringList labels;
    for (QLabel* label : dialog.findChildren<QLabel*>())
        labels << label->text();
    for (const char* text : {"工作模式:", "波特率:", "数据位:", "奇偶校验:", "停止位:", "总线地址:", "IP地址:", "通信看门狗:"})
        EXPECT_TRUE(labels.contains(QString::fromUtf8(text))) << text;
    EXPECT_EQ(dialog.BusAddressEdit()->accessibleName(), QString::fromUtf8("总线地址:"));
    EXPECT_EQ(AccessibleText(dialog.BaudList(), QAccessible::Name), QString::fromUtf8("波特率:"));
    // Each label fits its text.
    for (QLabel* label : dialog.findChildren<QLabel*>())
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width()) << label->text().toStdString();
}

TEST(LeadingDecimalValueTest, ReadsLeadingDigits)
{
    const std::pair<const char*, long> cases[] = {
        {"", 0}, {"abc", 0}, {"0", 0}, {"126", 126}, {"12x5", 12}, {"007", 7}, {"99999999999999999999", 2147483647}};
    for (const auto& [text, value] : cases)
        EXPECT_EQ(LeadingDecimalValue(QString::fromLatin1(text)), value) << text;
}

} // namespace

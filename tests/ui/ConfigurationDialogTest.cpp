#include "ConfigurationDialog.h"
#include "DialogTemplate.h"
#include "MessageRecorder.h"
#include "StringTable.h"
#include "WindowDriver.h"

#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace trelmo;
using namespace trelmo::testing;

namespace {

class ConfigurationDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetActiveLanguage(LanguageVariant::English);
        remembered = {};
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

    static QPushButton* Ok(const QDialog& dialog) { return Control<QPushButton>(&dialog, ConfigurationControl::Ok); }

    // The settings each dialog starts from: what the dialog leaves of them shows what it changed.
    LineSettings current{OperatingMode::Uart115200, 0, 99, 77};
    CConfigurationDialog::RememberedChoices& remembered = CConfigurationDialog::Remembered();
    MessageRecorder shown_;
    std::vector<QString>& messages = shown_.texts;
    std::vector<MessageBoxKind>& kinds = shown_.kinds;
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
        remembered = {c.mode, c.baudIndex, QStringLiteral("42")};
        CConfigurationDialog dialog;
        EXPECT_EQ(dialog.BaudList()->currentIndex(), c.shownBaud) << c.mode;
        EXPECT_EQ(dialog.BaudList()->isEnabled(), c.baudEnabled) << c.mode;
        EXPECT_EQ(dialog.BusAddressEdit()->text(), QStringLiteral("42"));
    }
}

TEST_F(ConfigurationDialogTest, FixedModesForceTheirBaudRate)
{
    CConfigurationDialog dialog(current);
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
    EXPECT_EQ(dialog.Settings().BaudRate, 9600);
    EXPECT_EQ(dialog.Settings().OperatingMode, OperatingMode::Uart9600);
    EXPECT_EQ(dialog.Settings().BusAddress, 3);
    EXPECT_EQ(dialog.Settings().WatchdogTimeout, 0);
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
        EXPECT_EQ(remembered.BusAddressText, QString::fromLatin1(c.typed)) << "remembered as typed";
    }
    // The next opening shows what was typed last, even when it was refused.
    remembered.BusAddressText = QStringLiteral("127");
    CConfigurationDialog again;
    EXPECT_EQ(again.BusAddressEdit()->text(), QStringLiteral("127"));
}

TEST_F(ConfigurationDialogTest, ARefusedOkStoresNothing)
{
    CConfigurationDialog dialog(current);
    ShowActive(dialog);
    dialog.BaudList()->setCurrentIndex(2);
    TypeBusAddressAndLeave(dialog, QStringLiteral("127"));
    QTest::mouseClick(Ok(dialog), Qt::LeftButton);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], QStringLiteral("Bus address can not be empty"));
    EXPECT_EQ(kinds[0], MessageBoxKind::Dialog);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.Settings().BaudRate, 0) << "Cancel after it must find the rate of the mode in force";
    EXPECT_EQ(dialog.Settings().BusAddress, 99);
    EXPECT_EQ(dialog.Settings().OperatingMode, OperatingMode::Uart115200);
    EXPECT_EQ(dialog.Settings().WatchdogTimeout, 77);

    dialog.reject();
    EXPECT_EQ(dialog.Settings().BusAddress, 99) << "the last accepted address stays";
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
        remembered.BusAddressText.clear();
        CConfigurationDialog dialog(current);
        ShowActive(dialog);
        QLineEdit* edit = dialog.BusAddressEdit();
        edit->setFocus();
        QTest::keyClicks(edit, QString::fromLatin1(c.typed));
        QTest::keyClick(edit, Qt::Key_Return); // OK is the default button; the field keeps the focus
        ASSERT_EQ(messages.size(), 1u) << c.typed;
        EXPECT_EQ(messages[0], QString::fromLatin1(c.message)) << c.typed;
        EXPECT_EQ(edit->text(), QString::fromLatin1(c.shownAfter)) << c.typed;
        EXPECT_NE(dialog.result(), QDialog::Accepted) << c.typed;
        EXPECT_EQ(dialog.Settings().BusAddress, 99) << c.typed;
    }

    // A refused address remembered from the last opening is caught the same way.
    for (const auto& [typedBefore, message] : {std::pair{"127", empty}, std::pair{"0", zero}}) {
        messages.clear();
        remembered.BusAddressText = QString::fromLatin1(typedBefore);
        CConfigurationDialog dialog(current);
        dialog.accept();
        ASSERT_EQ(messages.size(), 1u) << typedBefore;
        EXPECT_EQ(messages[0], QString::fromLatin1(message)) << typedBefore;
        EXPECT_EQ(dialog.result(), QDialog::Rejected) << typedBefore;
        EXPECT_EQ(dialog.Settings().BusAddress, 99) << typedBefore;
    }
}

TEST_F(ConfigurationDialogTest, EnterWithAValidAddressAccepts)
{
    current.OperatingMode = OperatingMode::AutoBaud;
    CConfigurationDialog dialog(current);
    ShowActive(dialog);
    dialog.ModeList()->setCurrentIndex(2);
    QLineEdit* edit = dialog.BusAddressEdit();
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("126"));
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Settings().BusAddress, 126);
    EXPECT_EQ(dialog.Settings().BaudRate, 115200);
    EXPECT_EQ(dialog.Settings().OperatingMode, OperatingMode::Uart115200);
    EXPECT_EQ(dialog.Settings().WatchdogTimeout, 0);
}

TEST_F(ConfigurationDialogTest, ListsAreRememberedWhenTheyLoseTheFocusEvenOnCancel)
{
    {
        CConfigurationDialog dialog(current);
        ShowActive(dialog);
        dialog.ModeList()->setFocus();
        QTest::keyClick(dialog.ModeList(), Qt::Key_Down); // "UART 9600bps"
        QTest::mouseClick(Control<QPushButton>(&dialog, ConfigurationControl::Cancel), Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_EQ(dialog.Settings().OperatingMode, OperatingMode::Uart115200);
    }
    EXPECT_EQ(remembered.OperatingModeIndex, 1);
    EXPECT_EQ(remembered.BaudRateIndex, 0) << "a forced rate is not remembered";

    remembered.OperatingModeIndex = 0;
    {
        CConfigurationDialog dialog;
        ShowActive(dialog);
        dialog.BaudList()->setFocus();
        QTest::keyClick(dialog.BaudList(), Qt::Key_Down);
        QTest::keyClick(dialog.BaudList(), Qt::Key_Down);
        QTest::keyClick(dialog.BaudList(), Qt::Key_Tab);
    }
    EXPECT_EQ(remembered.BaudRateIndex, 2);
    CConfigurationDialog reopened;
    EXPECT_EQ(reopened.BaudList()->currentText(), QStringLiteral("38400"));
}

} // namespace

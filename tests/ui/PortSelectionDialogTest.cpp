#include "DialogTemplate.h"
#include "MessageRecorder.h"
#include "LinkController.h"
#include "PortSelectionDialog.h"
#include "RuntimeDir.h"
#include "SimProcess.h"
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

class PortSelectionDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetActiveLanguage(LanguageVariant::English);
        remembered = {};
    }

    // The link answers OK on its own thread.
    static void AwaitOpening(const CPortSelectionDialog& dialog)
    {
        EXPECT_TRUE(QTest::qWaitFor([&dialog] { return !dialog.IsOpening(); }));
    }
    static QStringList Entries(const CPortSelectionDialog& dialog)
    {
        QStringList entries;
        for (int i = 0; i < dialog.PortList()->count(); ++i)
            entries << dialog.PortList()->itemText(i);
        return entries;
    }
    static QStringList SystemPorts()
    {
        QStringList names;
        for (const ListedPort& port : AvailablePorts())
            names << port.name;
        return names;
    }

    RuntimeDir runtimeDir; // no virtual module unless a test starts one
    LinkController link;
    CPortSelectionDialog::RememberedChoice& remembered = CPortSelectionDialog::Remembered();
    MessageRecorder shown_;
    std::vector<QString>& messages = shown_.texts;
};

TEST_F(PortSelectionDialogTest, ShowsTheTemplate)
{
    CPortSelectionDialog dialog(link, 9600);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Select the Serial Port"));
    EXPECT_EQ(AccessibleText(dialog.PortList()), QStringLiteral("Select Port:"));
    EXPECT_EQ(AccessibleText(dialog.PortList(), QAccessible::Value), dialog.PortList()->currentText());
    EXPECT_TRUE(Control<QPushButton>(&dialog, 1)->isDefault());
    EXPECT_TRUE(dialog.PortList()->isEditable());
}

TEST_F(PortSelectionDialogTest, AnEmptyChoiceCannotBeOpened)
{
    CPortSelectionDialog dialog(link, 9600);
    EXPECT_EQ(Entries(dialog), SystemPorts()) << "no virtual module is registered";
    dialog.PortList()->setCurrentIndex(-1);
    dialog.PortList()->setEditText(QString());
    ShowActive(dialog);
    QTest::mouseClick(Control<QPushButton>(&dialog, 1), Qt::LeftButton);
    AwaitOpening(dialog);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], QStringLiteral("Error occurs! ERROR:00"));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(link.IsPortOpen());
}

TEST_F(PortSelectionDialogTest, AFailedOpenSaysWhyInBothLanguagesAndKeepsTheDialogOpen)
{
    SimProcess sim;
    ASSERT_TRUE(sim.Start()) << sim.ErrorText().toStdString();
    SerialPort otherProgram;
    ASSERT_TRUE(otherProgram.OpenSerialPort(sim.DevicePath(), 9600));
    const QString busy = QString::fromStdString(sim.DevicePath());
    const QString missing = QStringLiteral("/dev/trelmo-no-such-port");
    struct Case {
        LanguageVariant language;
        QString name;
        const char* text;
    };
    const Case cases[] = {
        {LanguageVariant::English, missing, "Error occurs! ERROR:00\nNo such device."},
        {LanguageVariant::Chinese, missing, "错误发生! ERROR:00\n设备不存在。"},
        {LanguageVariant::English, busy, "Error occurs! ERROR:00\nThe port is in use by another program."},
        {LanguageVariant::Chinese, busy, "错误发生! ERROR:00\n该串口正被其他程序占用。"},
        {LanguageVariant::English, QStringLiteral("/dev/null"), "Error occurs! ERROR:00\nNot a serial device."},
        {LanguageVariant::Chinese, QStringLiteral("/dev/null"), "错误发生! ERROR:00\n不是串口设备。"},
    };
    for (const Case& c : cases) {
        messages.clear();
        SetActiveLanguage(c.language);
        CPortSelectionDialog dialog(link, 9600);
        ShowActive(dialog);
        dialog.PortList()->setEditText(c.name);
        dialog.accept();
        AwaitOpening(dialog);
        EXPECT_EQ(messages, std::vector<QString>{QString::fromUtf8(c.text)}) << c.text;
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.PortName(), c.name);
        EXPECT_FALSE(link.IsPortOpen());
    }
    SetActiveLanguage(LanguageVariant::English);
    EXPECT_EQ(OpenFailureText(PortOpenError::NoPermission),
              QStringLiteral("Error occurs! ERROR:00\nNo permission to use the port. Add your user to the serial-port "
                             "group (dialout on Debian) and log in again."));
}

TEST_F(PortSelectionDialogTest, ATypedPathIsOfferedAgainUntilAListedPortIsChosen)
{
    SimProcess sim;
    ASSERT_TRUE(sim.Start()) << sim.ErrorText().toStdString();
    const QString listed = QString::fromStdString(sim.DevicePath());
    const QString typed = QStringLiteral("/dev/trelmo-typed-port");
    {
        CPortSelectionDialog dialog(link, 9600);
        ShowActive(dialog);
        dialog.PortList()->setFocus();
        dialog.PortList()->lineEdit()->selectAll();
        QTest::keyClicks(dialog.PortList()->lineEdit(), typed);
        QTest::keyClick(dialog.PortList()->lineEdit(), Qt::Key_Return); // fails: no such device
        AwaitOpening(dialog);
        ASSERT_EQ(messages.size(), 1u);
    }
    for (int connect = 0; connect < 2; ++connect) {
        CPortSelectionDialog dialog(link, 9600);
        EXPECT_EQ(Entries(dialog), SystemPorts() << typed) << connect;
        EXPECT_EQ(dialog.PortList()->currentText(), typed) << connect;
        ShowActive(dialog);
        dialog.PortList()->setFocus();
        QTest::mouseClick(Control<QPushButton>(&dialog, 2), Qt::LeftButton); // Cancel keeps the offer
    }
    {
        CPortSelectionDialog dialog(link, 9600);
        ShowActive(dialog);
        dialog.PortList()->setCurrentIndex(dialog.PortList()->findText(listed));
        dialog.accept();
        AwaitOpening(dialog);
        ASSERT_EQ(dialog.result(), QDialog::Accepted);
    }
    CPortSelectionDialog dialog(link, 9600);
    EXPECT_EQ(Entries(dialog), SystemPorts()) << "a chosen listed port ends the offer";
}

TEST_F(PortSelectionDialogTest, ListsALiveVirtualModuleLastAndOpensIt)
{
    SimProcess sim;
    ASSERT_TRUE(sim.Start()) << sim.ErrorText().toStdString();
    const QString device = QString::fromStdString(sim.DevicePath());

    CPortSelectionDialog dialog(link, 9600);
    const QStringList entries = Entries(dialog);
    ASSERT_FALSE(entries.isEmpty());
    EXPECT_EQ(entries.last(), device);
    EXPECT_EQ(entries.mid(0, entries.size() - 1), SystemPorts().mid(0, entries.size() - 1));

    ShowActive(dialog);
    dialog.PortList()->setCurrentIndex(entries.size() - 1);
    QTest::mouseClick(Control<QPushButton>(&dialog, 1), Qt::LeftButton);
    AwaitOpening(dialog);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(link.IsPortOpen());
    EXPECT_EQ(dialog.PortName(), device);
    EXPECT_EQ(remembered.PortIndex, entries.size() - 1) << "remembered when the list lost the focus to OK";
}

TEST_F(PortSelectionDialogTest, ATypedDevicePathIsOpenedAsTyped)
{
    SimProcess sim;
    ASSERT_TRUE(sim.Start()) << sim.ErrorText().toStdString();
    const QString device = QString::fromStdString(sim.DevicePath());

    CPortSelectionDialog dialog(link, 9600);
    ShowActive(dialog);
    dialog.PortList()->setFocus();
    dialog.PortList()->lineEdit()->selectAll();
    QTest::keyClicks(dialog.PortList()->lineEdit(), device);
    QTest::keyClick(dialog.PortList()->lineEdit(), Qt::Key_Return);
    AwaitOpening(dialog);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.PortName(), device);
    EXPECT_TRUE(link.IsPortOpen());
}

TEST_F(PortSelectionDialogTest, PortIndexPreselectsByPosition)
{
    SimProcess first;
    SimProcess second;
    ASSERT_TRUE(first.Start({"--name", "first"})) << first.ErrorText().toStdString();
    ASSERT_TRUE(second.Start({"--name", "second"})) << second.ErrorText().toStdString();
    const int systemCount = int(SystemPorts().size()) - 2;
    {
        CPortSelectionDialog dialog(link, 9600);
        ASSERT_EQ(dialog.PortList()->count(), systemCount + 2);
        EXPECT_EQ(dialog.PortList()->currentIndex(), 0);
        ShowActive(dialog);
        dialog.PortList()->setFocus();
        dialog.PortList()->setCurrentIndex(systemCount + 1);
        QTest::mouseClick(Control<QPushButton>(&dialog, 2), Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    }
    EXPECT_EQ(remembered.PortIndex, systemCount + 1) << "remembered also on Cancel";
    {
        CPortSelectionDialog dialog(link, 9600);
        EXPECT_EQ(dialog.PortList()->currentIndex(), systemCount + 1);
    }
    remembered.PortIndex = systemCount + 7;
    CPortSelectionDialog dialog(link, 9600);
    EXPECT_EQ(dialog.PortList()->currentIndex(), -1) << "no such position: nothing selected";
}

} // namespace

// Pictures of the four tool windows in both languages, filled from the virtual module, for a person to look at.
// Runs only when TRELMO_SCREENSHOTS names a directory to write the PNG files to; otherwise it checks only that
// no label is cut off.

#include "AppConfigObjectDialog.h"
#include "AppDataObjectsDialog.h"
#include "ModuleInfoDialog.h"
#include "ObjectAccessDialog.h"

#include "DemoApp.h"
#include "DialogTemplate.h"
#include "SimWire.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
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
        SetActiveLanguage(GetParam());
        ASSERT_TRUE(sim_.Start({"--mode", "115200"})) << sim_.ErrorText().toStdString();
        ASSERT_TRUE(TheApp().SerialPort.OpenSerialPort(sim_.DevicePath(), 115200));
    }
    void TearDown() override
    {
        TheApp().SerialPort.CloseSerialPort();
        SetActiveLanguage(LanguageVariant::English);
    }

    // Every label and button text fits its control.
    static void ExpectTextsFit(QWidget* dialog)
    {
        for (QLabel* label : dialog->findChildren<QLabel*>()) {
            if (label->text().isEmpty() || label->wordWrap())
                continue;
            EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
                << dialog->windowTitle().toStdString() << ": " << label->text().toStdString();
        }
        for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
            if (button->isHidden())
                continue;
            EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()) + 8, button->width())
                << dialog->windowTitle().toStdString() << ": " << button->text().toStdString();
        }
    }

    void Picture(QWidget* dialog, const QString& name)
    {
        ExpectTextsFit(dialog);
        const QString directory = qEnvironmentVariable("TRELMO_SCREENSHOTS");
        if (directory.isEmpty())
            return;
        QDir().mkpath(directory);
        dialog->show();
        QTest::qWait(50);
        const QString language = GetParam() == LanguageVariant::Chinese ? "zh" : "en";
        EXPECT_TRUE(dialog->grab().save(QDir(directory).filePath(name + "-" + language + ".png")));
    }

    SimProcess sim_;
    MessageRecorder messages_;
};

TEST_P(ToolWindowsScreenshotTest, ObjectAccess)
{
    CObjectAccessDialog dialog;
    Control<QLineEdit>(&dialog, ObjectAccessControl::ObjectCode)->setText("1");
    Control<QLineEdit>(&dialog, ObjectAccessControl::InstanceCode)->setText("1");
    Control<QLineEdit>(&dialog, ObjectAccessControl::AttributeCode)->setText("4");
    dialog.OnSend();
    Picture(&dialog, "138-object-access-read");
    Control<QComboBox>(&dialog, ObjectAccessControl::AccessMode)->setCurrentIndex(1);
    Control<QPlainTextEdit>(&dialog, ObjectAccessControl::InputData)->setPlainText("0f 0e 0d 0c");
    Picture(&dialog, "138-object-access-write");
}

TEST_P(ToolWindowsScreenshotTest, ModuleInformation)
{
    CModuleInfoDialog dialog;
    Picture(&dialog, "135-module-information");
}

TEST_P(ToolWindowsScreenshotTest, ApplicationDataObjects)
{
    AppDataObjectTable table;
    table.Add({1, 23, 3, "0A 0B 0C"});
    table.Add({12, 3, 1, "FF"});
    std::string longData;
    for (int i = 0; i < 120; ++i)
        longData += (i ? " " : "") + std::string("5A");
    table.Add({300, 1, 120, longData});
    auto* dialog = new CAppDataObjectsDialog(table);
    dialog->List()->topLevelItem(1)->setSelected(true);
    Picture(dialog, "136-application-data-objects");
    delete dialog;
}

TEST_P(ToolWindowsScreenshotTest, ApplicationConfigurationObject)
{
    CDemoApp app;
    for (int i = 0; i < 100; ++i)
        app.ConfigurationDataText += "A5 ";
    app.ConfigurationDataLength = 100;
    app.ParameterDataText = "01 00 64 ";
    app.ParameterDataLength = 3;
    CAppConfigObjectDialog dialog(app, nullptr);
    Picture(&dialog, "137-application-configuration-object");
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, ToolWindowsScreenshotTest,
                         ::testing::Values(LanguageVariant::English, LanguageVariant::Chinese),
                         [](const ::testing::TestParamInfo<LanguageVariant>& info) {
                             return info.param == LanguageVariant::Chinese ? std::string("Chinese")
                                                                           : std::string("English");
                         });

} // namespace

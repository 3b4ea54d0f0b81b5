// The Application Configuration Object window: a snapshot of the configuration and parameter data, before and
// after the virtual module handed them over in the cyclic exchange.

#include "AppConfigObjectDialog.h"

#include "ConnectionSteps.h"
#include "DialogTemplate.h"
#include "IoExchange.h"
#include "MemoryGrid.h"
#include "ModuleSession.h"
#include "SimProcess.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace trelmo;
using namespace trelmo::testing;
namespace ids = trelmo::AppConfigObjectControl;

namespace {

struct Shown {
    std::string configuration;
    std::string configurationLength;
    std::string parameter;
    std::string parameterLength;
    bool operator==(const Shown& other) const
    {
        return configuration == other.configuration && configurationLength == other.configurationLength
            && parameter == other.parameter && parameterLength == other.parameterLength;
    }
};

std::ostream& operator<<(std::ostream& out, const Shown& s)
{
    return out << "[" << s.configuration << "|" << s.configurationLength << "|" << s.parameter << "|"
               << s.parameterLength << "]";
}

Shown ShownBy(const CAppConfigObjectDialog& dialog)
{
    return {Control<QPlainTextEdit>(&dialog, ids::ConfigurationData)->toPlainText().toStdString(),
            Control<QLineEdit>(&dialog, ids::ConfigurationLength)->text().toStdString(),
            Control<QPlainTextEdit>(&dialog, ids::ParameterData)->toPlainText().toStdString(),
            Control<QLineEdit>(&dialog, ids::ParameterLength)->text().toStdString()};
}

class AppConfigObjectDialogTest : public ::testing::Test {
protected:
    void SetUp() override { SetActiveLanguage(LanguageVariant::English); }

    ModuleSession session;
};

TEST_F(AppConfigObjectDialogTest, ReadOnlyWrappingFieldsAndNoButton)
{
    CAppConfigObjectDialog english(session.HandedOver());
    EXPECT_EQ(english.windowTitle(), "Application Configuration Object");
    EXPECT_TRUE(english.findChildren<QPushButton*>().isEmpty());
    for (int id : {ids::ConfigurationLength, ids::ParameterLength})
        EXPECT_TRUE(Control<QLineEdit>(&english, id)->isReadOnly()) << id;
    for (int id : {ids::ConfigurationData, ids::ParameterData}) {
        auto* field = Control<QPlainTextEdit>(&english, id);
        EXPECT_TRUE(field->isReadOnly()) << id;
        EXPECT_EQ(field->lineWrapMode(), QPlainTextEdit::WidgetWidth) << id;
    }
    EXPECT_EQ(FindControl(&english, ids::ConfigurationData)->accessibleName(), "Configuration Data");
}

TEST_F(AppConfigObjectDialogTest, SnapshotBeforeAndAfterTheModuleSentItsData)
{
    SimProcess sim;
    ASSERT_TRUE(sim.Start({"--mode", "115200", "--config-data", "11 22 AB", "--config-at", "1", "--param-data",
                           "01 02 03 04 05", "--param-at", "2"}))
        << sim.ErrorText().toStdString();
    ASSERT_TRUE(session.Port().OpenSerialPort(sim.DevicePath(), 115200));
    ASSERT_EQ(ConnectionSequence(session.Port(), session.Sequence(), session.Log(), OperatingMode::Uart115200, 3).step,
              ConnectionOutcome::Online);

    CAppConfigObjectDialog before(session.HandedOver());
    EXPECT_EQ(ShownBy(before), (Shown{"", "0", "", "0"}));

    AppDataObjectTable noObjects;
    IoExchangeContext context{session.Port(), session.Sequence(), session.Log(), session.HandedOver(), noObjects};
    MemoryGrid readGrid;
    WriteData writeData;
    ExchangeIoData(context, writeData, readGrid, 0);
    CAppConfigObjectDialog afterConfiguration(session.HandedOver());
    EXPECT_EQ(ShownBy(afterConfiguration), (Shown{"11 22 AB ", "3", "", "0"}));

    ExchangeIoData(context, writeData, readGrid, 0);
    CAppConfigObjectDialog afterBoth(session.HandedOver());
    EXPECT_EQ(ShownBy(afterBoth), (Shown{"11 22 AB ", "3", "01 02 03 04 05 ", "5"}));
    // A window already open keeps what it showed when it opened.
    EXPECT_EQ(ShownBy(before), (Shown{"", "0", "", "0"}));
}

TEST_F(AppConfigObjectDialogTest, LongBlockIsShownWhole)
{
    AppConfigObjectData data;
    std::string text;
    for (int i = 0; i < 242; ++i)
        text += "A5 ";
    data.ConfigurationData = Bytes(242, 0xA5);
    CAppConfigObjectDialog dialog(data);
    EXPECT_EQ(ShownBy(dialog), (Shown{text, "242", "", "0"}));
}

} // namespace

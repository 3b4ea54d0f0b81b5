// The Application Configuration Object window: a snapshot of the configuration and parameter data, before and
// after the virtual module handed them over in the cyclic exchange.

#include "AppConfigObjectDialog.h"

#include "DialogTemplate.h"
#include "Language.h"
#include "IoExchange.h"

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

    AppConfigObjectData handedOver;
};

TEST_F(AppConfigObjectDialogTest, ReadOnlyWrappingFieldsAndNoButton)
{
    CAppConfigObjectDialog english(handedOver);
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
    CAppConfigObjectDialog before(handedOver);
    EXPECT_EQ(ShownBy(before), (Shown{"", "0", "", "0"}));

    handedOver.ConfigurationData = {0x11, 0x22, 0xAB};
    CAppConfigObjectDialog afterConfiguration(handedOver);
    EXPECT_EQ(ShownBy(afterConfiguration), (Shown{"11 22 AB ", "3", "", "0"}));

    handedOver.ParameterData = {0x01, 0x02, 0x03, 0x04, 0x05};
    CAppConfigObjectDialog afterBoth(handedOver);
    EXPECT_EQ(ShownBy(afterBoth), (Shown{"11 22 AB ", "3", "01 02 03 04 05 ", "5"}));
    // A window already open keeps what it showed when it opened.
    EXPECT_EQ(ShownBy(before), (Shown{"", "0", "", "0"}));
}

} // namespace

// The windows, their templates and the string table agree, in both languages: every template loads, every control
// id the code names is in its template, every window is its template (caption, size, controls), every control that
// takes the focus has a name, every label and button fits its text, and every text exists in both variants.

#include "AboutDialog.h"
#include "AppConfigObjectDialog.h"
#include "AppDataObjectsDialog.h"
#include "ConfigurationDialog.h"
#include "DialogTemplate.h"
#include "MainDialog.h"
#include "MessageDisplayDialog.h"
#include "ModuleInfoDialog.h"
#include "ModuleSession.h"
#include "ObjectAccessDialog.h"
#include "PortSelectionDialog.h"
#include "StringTable.h"

#include "Language.h"
#include "RuntimeDir.h"
#include "WindowDriver.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <set>
#include <vector>

using namespace trelmo;
using namespace trelmo::testing;

namespace {

constexpr LanguageVariant kBothLanguages[] = {LanguageVariant::English, LanguageVariant::Chinese};

std::vector<int> TemplateIds()
{
    std::vector<int> ids;
    for (const QString& file : QDir(QStringLiteral(":/trelmo/dialogs")).entryList({QStringLiteral("*.json")}))
        ids.push_back(QFileInfo(file).baseName().toInt());
    return ids;
}

struct Window {
    const char* name;
    int templateId;
    std::vector<int> namedControls; // the control ids the code names for this window
    std::function<std::unique_ptr<QDialog>()> open;
};

class ConsistencyTest : public ::testing::TestWithParam<LanguageVariant> {
protected:
    std::vector<Window> Windows()
    {
        namespace mainIds = MainControl;
        namespace configIds = ConfigurationControl;
        namespace accessIds = ObjectAccessControl;
        namespace objectIds = AppDataObjectsControl;
        namespace infoIds = ModuleInfoControl;
        namespace handedOverIds = AppConfigObjectControl;
        return {
            {"main window", 102,
             {mainIds::OperatingMode, mainIds::Connect, mainIds::ModuleInformation, mainIds::ObjectModuleAccess,
              mainIds::ApplicationConfigurationObject, mainIds::OnlineState, mainIds::ApplicationDataObjects,
              mainIds::MessageDisplay, mainIds::ReadGrid, mainIds::WriteGrid, mainIds::ReadLength,
              mainIds::WriteLength, mainIds::CellEditor, mainIds::Disconnect},
             [] { return std::make_unique<CMainDialog>(); }},
            {"configuration", 134,
             {configIds::OperatingMode, configIds::BaudRate, configIds::DataBits, configIds::CheckBit,
              configIds::StopBits, configIds::Watchdog, configIds::BusAddress, configIds::IpAddress,
              configIds::CommunicateWatchdog},
             [] { return std::make_unique<CConfigurationDialog>(); }},
            {"port selection", 141, {PortSelectionControl::PortList},
             [this] { return std::make_unique<CPortSelectionDialog>(session_); }},
            {"object access", 138,
             {accessIds::AccessMode, accessIds::ObjectCode, accessIds::InstanceCode, accessIds::AttributeCode,
              accessIds::InputData, accessIds::ResponseStatus, accessIds::ResponseData, accessIds::Send},
             [this] { return std::make_unique<CObjectAccessDialog>(session_); }},
            {"application data objects", 136,
             {objectIds::Instance, objectIds::Attribute, objectIds::Data, objectIds::Add, objectIds::Delete,
              objectIds::List},
             [this] { return std::make_unique<CAppDataObjectsDialog>(table_); }},
            {"application configuration object", 137,
             {handedOverIds::ConfigurationLength, handedOverIds::ConfigurationData, handedOverIds::ParameterLength,
              handedOverIds::ParameterData},
             [this] { return std::make_unique<CAppConfigObjectDialog>(session_.HandedOver()); }},
            {"module information", 135,
             {infoIds::NetworkType, infoIds::ProductType, infoIds::SerialNumber, infoIds::ProductionDate,
              infoIds::HardwareVersion, infoIds::FirmwareVersion},
             [] { return std::make_unique<CModuleInfoDialog>(std::nullopt); }},
            {"message display", 142, {}, [this] { return std::make_unique<CMessageDisplayDialog>(session_.Log()); }},
            {"about", 100, {}, [] { return std::make_unique<CAboutDialog>(); }},
        };
    }

    ScopedLanguage language_{GetParam()};
    RuntimeDir runtime_; // the port list sees no developer's virtual modules
    ModuleSession session_;
    AppDataObjectTable table_;
};

TEST_P(ConsistencyTest, EveryTemplateLoadsWhole)
{
    const std::vector<int> ids = TemplateIds();
    ASSERT_FALSE(ids.empty());
    for (int id : ids) {
        SCOPED_TRACE(id);
        const DialogTemplate t = DialogTemplate::Load(id, GetParam());
        const DialogTemplate english = DialogTemplate::Load(id, LanguageVariant::English);
        EXPECT_EQ(t.id, id);
        EXPECT_FALSE(t.caption.isEmpty());
        EXPECT_FALSE(t.size.isEmpty());
        EXPECT_FALSE(t.fontFamily.isEmpty());
        ASSERT_FALSE(t.controls.empty());
        std::set<int> seen;
        for (const ControlTemplate& control : t.controls) {
            SCOPED_TRACE(control.id);
            EXPECT_FALSE(control.kind.isEmpty());
            EXPECT_TRUE(control.id <= 0 || seen.insert(control.id).second) << "the id is taken twice";
            EXPECT_TRUE(control.buddy == 0 || t.Find(control.buddy)) << "labels a control the template lacks";
            EXPECT_FALSE(control.rect.isEmpty());
        }
        // A text or name of one variant exists in the other.
        for (std::size_t i = 0; i < t.controls.size(); ++i) {
            SCOPED_TRACE(t.controls[i].id);
            EXPECT_EQ(t.controls[i].text.isEmpty(), english.controls[i].text.isEmpty());
            EXPECT_EQ(t.controls[i].accessibleName.isEmpty(), english.controls[i].accessibleName.isEmpty());
        }
    }
}

TEST_P(ConsistencyTest, EveryWindowIsItsTemplate)
{
    for (const Window& window : Windows()) {
        SCOPED_TRACE(window.name);
        const DialogTemplate t = DialogTemplate::Load(window.templateId, GetParam());
        const std::unique_ptr<QDialog> dialog = window.open();
        EXPECT_EQ(dialog->windowTitle(), t.caption);
        EXPECT_EQ(dialog->size(), DialogUnits(dialog->font()).ToPixels(t.size));
        for (int id : window.namedControls) {
            EXPECT_NE(t.Find(id), nullptr) << "the code names control " << id << ", the template lacks it";
        }
        for (const ControlTemplate& control : t.controls) {
            if (control.id > 0) {
                EXPECT_NE(FindControl(dialog.get(), control.id), nullptr) << "control " << control.id << " is missing";
            }
        }
        const QRect client(QPoint(0, 0), dialog->size());
        for (QWidget* child : dialog->findChildren<QWidget*>()) {
            if (child->parentWidget() == dialog.get() && child->property("controlId").isValid()) {
                EXPECT_TRUE(client.contains(child->geometry())) << child->property("controlId").toInt();
            }
        }
    }
}

// Whatever takes the focus has a name a screen reader announces.
TEST_P(ConsistencyTest, EveryControlThatTakesTheFocusHasAName)
{
    for (const Window& window : Windows()) {
        SCOPED_TRACE(window.name);
        const std::unique_ptr<QDialog> dialog = window.open();
        for (QWidget* child : dialog->findChildren<QWidget*>()) {
            const int id = child->property("controlId").toInt();
            if (id > 0 && child->focusPolicy() != Qt::NoFocus && !qobject_cast<QLabel*>(child)) {
                EXPECT_FALSE(AccessibleText(child).isEmpty()) << "control " << id;
            }
        }
    }
}

TEST_P(ConsistencyTest, EveryLabelAndButtonFitsItsText)
{
    for (const Window& window : Windows()) {
        SCOPED_TRACE(window.name);
        const std::unique_ptr<QDialog> dialog = window.open();
        for (QLabel* label : dialog->findChildren<QLabel*>()) {
            if (label->text().isEmpty() || label->wordWrap())
                continue;
            EXPECT_LE(label->fontMetrics().size(Qt::TextShowMnemonic, label->text()).width(), label->width())
                << label->text().toStdString();
        }
        for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
            EXPECT_LE(button->fontMetrics().size(Qt::TextShowMnemonic, button->text()).width() + 8, button->width())
                << button->text().toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, ConsistencyTest, ::testing::ValuesIn(kBothLanguages), LanguageParamName);

// The string table file's own ids: 101 up without gaps, each with both variants.
std::vector<int> TableIds()
{
    QFile file(QStringLiteral(":/trelmo/strings.json"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    std::vector<int> ids;
    const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    for (const QString& key : root.keys()) {
        bool numeric = false;
        const int id = key.toInt(&numeric);
        if (numeric)
            ids.push_back(id);
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

TEST(StringTableConsistencyTest, EveryTextExistsInBothVariantsFrom101WithoutGaps)
{
    const std::vector<int> ids = TableIds();
    ASSERT_FALSE(ids.empty());
    for (std::size_t i = 0; i < ids.size(); ++i) {
        EXPECT_EQ(ids[i], 101 + static_cast<int>(i)) << "a gap before " << ids[i];
        for (LanguageVariant variant : kBothLanguages)
            EXPECT_FALSE(LoadText(ids[i], variant).isEmpty()) << ids[i] << " in " << LanguageName(variant);
    }
    for (int outside : {0, -1, 100, ids.back() + 1, 1000})
        EXPECT_TRUE(LoadText(outside, LanguageVariant::English).isEmpty()) << outside;
}

} // namespace

// The windows, their templates and the string table agree, in both languages, where the build cannot tell: every
// template loads, every window is its template (caption, size, controls), every control that takes the focus has a
// name, every label and button fits its text; the translation catalogues hold every text in both variants,
// finished, the numbered texts are those TextId lists, and every string id the templates use is there.

#include "AboutDialog.h"
#include "AppConfigObjectDialog.h"
#include "AppDataObjectsDialog.h"
#include "ConfigurationDialog.h"
#include "DialogControls.h"
#include "DialogTemplate.h"
#include "MainDialog.h"
#include "MessageDisplayDialog.h"
#include "ModuleInfoDialog.h"
#include "LinkController.h"
#include "LinkStatisticsDialog.h"
#include "ObjectAccessDialog.h"
#include "PortSelectionDialog.h"
#include "StringTable.h"

#include "Language.h"
#include "RuntimeDir.h"
#include "WindowDriver.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

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
    std::function<std::unique_ptr<QDialog>()> open;
};

class ConsistencyTest : public ::testing::TestWithParam<LanguageVariant> {
protected:
    std::vector<Window> Windows()
    {
        return {
            {"main window", MainControl::Template, [] { return std::make_unique<CMainDialog>(); }},
            {"configuration", ConfigurationControl::Template, [] { return std::make_unique<CConfigurationDialog>(); }},
            {"port selection", PortSelectionControl::Template,
             [this] { return std::make_unique<CPortSelectionDialog>(link_, 9600); }},
            {"object access", ObjectAccessControl::Template,
             [this] { return std::make_unique<CObjectAccessDialog>(link_); }},
            {"application data objects", AppDataObjectsControl::Template,
             [this] { return std::make_unique<CAppDataObjectsDialog>(table_); }},
            {"application configuration object", AppConfigObjectControl::Template,
             [this] { return std::make_unique<CAppConfigObjectDialog>(handedOver_); }},
            {"module information", ModuleInfoControl::Template,
             [] { return std::make_unique<CModuleInfoDialog>(std::nullopt); }},
            {"link statistics", LinkStatisticsControl::Template,
             [this] { return std::make_unique<CLinkStatisticsDialog>(link_); }},
            {"message display", MessageDisplayControl::Template,
             [this] { return std::make_unique<CMessageDisplayDialog>(link_.Log()); }},
            {"about", AboutControl::Template, [] { return std::make_unique<CAboutDialog>(); }},
        };
    }

    ScopedLanguage language_{GetParam()};
    RuntimeDir runtime_; // the port list sees no developer's virtual modules
    LinkController link_;
    AppConfigObjectData handedOver_;
    AppDataObjectTable table_;
};

TEST_P(ConsistencyTest, EveryTemplateLoadsWhole)
{
    const std::vector<int> ids = TemplateIds();
    ASSERT_FALSE(ids.empty());
    for (int id : ids) {
        SCOPED_TRACE(id);
        const DialogTemplate t = DialogTemplate::Load(id, GetParam());
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
        for (QCheckBox* check : dialog->findChildren<QCheckBox*>()) {
            EXPECT_LE(check->sizeHint().width(), check->width()) << check->text().toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, ConsistencyTest, ::testing::ValuesIn(kBothLanguages), LanguageParamName);

// One message of a translation catalogue (translations/*.ts).
struct CatalogueEntry {
    QString id;
    QString source;
    QString translation;
    QString translationType; // "unfinished", "obsolete", "vanished" or empty for a finished one
};

std::vector<CatalogueEntry> ReadCatalogue(const char* language)
{
    QFile file(QStringLiteral(TRELMO_TRANSLATIONS_DIR "/trelmo_%1.ts").arg(QLatin1String(language)));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    std::vector<CatalogueEntry> entries;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("message")) {
            entries.push_back({xml.attributes().value(QLatin1String("id")).toString(), {}, {}, {}});
        } else if (xml.name() == QLatin1String("source") && !entries.empty()) {
            entries.back().source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation") && !entries.empty()) {
            entries.back().translationType = xml.attributes().value(QLatin1String("type")).toString();
            entries.back().translation = xml.readElementText();
        }
    }
    EXPECT_FALSE(xml.hasError()) << language << ": " << xml.errorString().toStdString();
    return entries;
}

// The catalogues are what translators edit: both hold the same ids with the same English source, every text is
// translated and finished, and the program loads each text exactly as the catalogue holds it.
TEST(CatalogueConsistencyTest, BothCataloguesHoldEveryTextFinishedAndTheProgramLoadsThemAsWritten)
{
    const std::vector<CatalogueEntry> english = ReadCatalogue("en");
    const std::vector<CatalogueEntry> chinese = ReadCatalogue("zh_CN");
    ASSERT_FALSE(english.empty());
    ASSERT_EQ(english.size(), chinese.size());
    for (std::size_t i = 0; i < english.size(); ++i) {
        SCOPED_TRACE(english[i].id.toStdString());
        ASSERT_EQ(english[i].id, chinese[i].id);
        EXPECT_EQ(english[i].source, chinese[i].source);
        EXPECT_EQ(english[i].translation, english[i].source);
        for (const CatalogueEntry* entry : {&english[i], &chinese[i]}) {
            EXPECT_TRUE(entry->translationType.isEmpty()) << entry->translationType.toStdString();
            EXPECT_FALSE(entry->translation.isEmpty());
        }
        EXPECT_EQ(LoadText(english[i].id, LanguageVariant::English), english[i].translation);
        EXPECT_EQ(LoadText(chinese[i].id, LanguageVariant::Chinese), chinese[i].translation);
    }
}

// The numbered texts of the catalogues are exactly those the code can name (TextId), and every string id a template
// names is there too; every template text in the catalogue belongs to a template.
TEST(CatalogueConsistencyTest, EveryIdTheCodeAndTheTemplatesUseExistsInBothVariants)
{
    std::set<int> numbered;
    std::set<QString> templateTexts;
    for (const CatalogueEntry& entry : ReadCatalogue("en")) {
        bool numeric = false;
        const int id = entry.id.toInt(&numeric);
        if (numeric)
            EXPECT_TRUE(numbered.insert(id).second) << "an id taken twice: " << id;
        else if (entry.id.startsWith(QLatin1String("dlg.")))
            templateTexts.insert(entry.id);
    }
    std::set<int> named;
    for (TextId id : AllTextIds)
        named.insert(static_cast<int>(id));
    EXPECT_EQ(numbered, named) << "the catalogue's numbered texts and TextId differ";
    EXPECT_TRUE(LoadText(TextId::NoText, LanguageVariant::English).isEmpty());

    for (int id : TemplateIds()) {
        const DialogTemplate t = DialogTemplate::Load(id, LanguageVariant::English);
        std::vector<QString> used = {t.captionId};
        for (const ControlTemplate& control : t.controls)
            used.insert(used.end(), {control.textId, control.accessibleNameId});
        const QString prefix = QStringLiteral("dlg.%1.").arg(id);
        for (const QString& textId : used) {
            if (textId.isEmpty())
                continue;
            EXPECT_TRUE(textId.startsWith(prefix)) << textId.toStdString() << " in template " << id;
            EXPECT_EQ(templateTexts.erase(textId), 1u) << textId.toStdString() << " is missing or named twice";
            for (LanguageVariant variant : kBothLanguages)
                EXPECT_FALSE(LoadText(textId, variant).isEmpty()) << textId.toStdString();
        }
    }
    for (const QString& unused : templateTexts)
        ADD_FAILURE() << unused.toStdString() << " belongs to no template";
}

} // namespace

#include "StringTable.h"

#include "Catalogue.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace trelmo {
namespace {

CatalogueLanguage LanguageOf(LanguageVariant variant)
{
    return variant == LanguageVariant::Chinese ? CatalogueLanguage::Chinese : CatalogueLanguage::English;
}

// One loaded catalogue per variant, so that any variant's text can be had whichever is active.
const QTranslator& Catalogue(LanguageVariant variant)
{
    return BuiltInCatalogue(LanguageOf(variant));
}

LanguageVariant& Active()
{
    static LanguageVariant variant = SystemLanguageVariant();
    return variant;
}

void InstallCatalogue(LanguageVariant variant)
{
    if (!QCoreApplication::instance())
        return;
    const LanguageVariant other = variant == LanguageVariant::Chinese ? LanguageVariant::English
                                                                      : LanguageVariant::Chinese;
    QCoreApplication::removeTranslator(const_cast<QTranslator*>(&Catalogue(other)));
    QCoreApplication::installTranslator(const_cast<QTranslator*>(&Catalogue(variant)));
}

} // namespace

LanguageVariant SystemLanguageVariant()
{
    // The first user-interface language (LANGUAGE, else LC_ALL / LC_MESSAGES / LANG on Unix).
    const QStringList languages = QLocale::system().uiLanguages();
    return VariantForLocale(languages.isEmpty() ? QLocale::system() : QLocale(languages.first()));
}

LanguageVariant VariantForLocale(const QLocale& locale)
{
    const bool chineseInChina = locale.language() == QLocale::Chinese
        && locale.script() == QLocale::SimplifiedHanScript;
    return chineseInChina ? LanguageVariant::Chinese : LanguageVariant::English;
}

LanguageVariant ActiveLanguage()
{
    return Active();
}

void SetActiveLanguage(LanguageVariant variant)
{
    Active() = variant;
    InstallCatalogue(variant);
}

QString LoadText(const QString& textId, LanguageVariant variant)
{
    return CatalogueText(LanguageOf(variant), textId);
}

QString LoadText(TextId id, LanguageVariant variant)
{
    return CatalogueText(LanguageOf(variant), id);
}

QString LoadText(TextId id)
{
    return LoadText(id, ActiveLanguage());
}

bool InstallToolkitTranslation(LanguageVariant variant)
{
    InstallCatalogue(variant);
    if (variant != LanguageVariant::Chinese || !QCoreApplication::instance())
        return false;
    static QTranslator* translator = nullptr;
    if (translator)
        return true;
    auto* loaded = new QTranslator(QCoreApplication::instance());
    if (!loaded->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete loaded;
        return false;
    }
    QCoreApplication::installTranslator(loaded);
    translator = loaded;
    return true;
}

} // namespace trelmo

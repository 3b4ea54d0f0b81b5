#include "Catalogue.h"

namespace trelmo {

const QTranslator& BuiltInCatalogue(CatalogueLanguage language)
{
    static const auto load = [](const char* name) {
        auto* translator = new QTranslator;
        const bool loaded = translator->load(QString::fromLatin1(name), QStringLiteral(":/trelmo/i18n"));
        Q_ASSERT(loaded);
        Q_UNUSED(loaded);
        return translator;
    };
    // Never freed: the application may hold them installed until it ends.
    static const QTranslator* const english = load("trelmo_en");
    static const QTranslator* const chinese = load("trelmo_zh_CN");
    return *(language == CatalogueLanguage::Chinese ? chinese : english);
}

QString CatalogueText(CatalogueLanguage language, const QString& textId)
{
    if (textId.isEmpty())
        return QString();
    return BuiltInCatalogue(language).translate(nullptr, textId.toUtf8().constData());
}

QString CatalogueText(CatalogueLanguage language, TextId id)
{
    return CatalogueText(language, QString::number(static_cast<int>(id)));
}

} // namespace trelmo

#pragma once
// The translation catalogues built into the programs (:/trelmo/i18n), loaded once each and kept to the end: the
// windows install them, trelmo-cli reads the English texts it shares with the windows.

#include "TextIds.h"

#include <QString>
#include <QTranslator>

namespace trelmo {

enum class CatalogueLanguage { English, Chinese };

const QTranslator& BuiltInCatalogue(CatalogueLanguage language);

// The text with this id in that catalogue; empty when it has none.
QString CatalogueText(CatalogueLanguage language, const QString& textId);
// The numbered text; empty for TextId::NoText.
QString CatalogueText(CatalogueLanguage language, TextId id);

} // namespace trelmo

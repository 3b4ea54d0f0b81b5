#pragma once
// The program's texts, in English or Simplified Chinese, from the translation catalogues (translations/*.ts,
// compiled into the resources). Every text has a string id: the numbered texts keep their number ("101") and are
// named in code by TextId, the dialog templates' texts are named "dlg.<template>.<slot>" (see the README).

#include "TextIds.h"

#include <QString>

class QLocale;

namespace trelmo {

enum class LanguageVariant { English, Chinese };

// Chinese when the system's user-interface language is Chinese as written in China (zh_CN, zh-Hans), else English.
LanguageVariant SystemLanguageVariant();
// Chinese for Chinese in simplified script (zh_CN, zh_SG, zh-Hans-*), English for every other locale.
LanguageVariant VariantForLocale(const QLocale& locale);

// The variant in use; starts as SystemLanguageVariant(). Tests may switch it. Setting it also installs that
// variant's catalogue in the application, so that qtTrId() speaks the same language.
LanguageVariant ActiveLanguage();
void SetActiveLanguage(LanguageVariant variant);

// The numbered text in the active or given variant; empty for TextId::NoText.
QString LoadText(TextId id);
QString LoadText(TextId id, LanguageVariant variant);
// The text with the given string id; empty for an id the catalogue lacks.
QString LoadText(const QString& textId, LanguageVariant variant);

// Installs the program's catalogue of the variant and, when the variant is Chinese, the toolkit's own Chinese
// texts (standard buttons such as OK, the file dialog), so that no English toolkit text shows in a Chinese window.
// Returns true when a toolkit translation was loaded.
bool InstallToolkitTranslation(LanguageVariant variant);

} // namespace trelmo

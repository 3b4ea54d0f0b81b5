#pragma once
// The numbered texts of the program, in English or Simplified Chinese.

#include <QString>

class QLocale;

namespace trelmo {

enum class LanguageVariant { English, Chinese };

// Chinese when the system's user-interface language is Chinese as written in China (zh_CN, zh-Hans), else English.
LanguageVariant SystemLanguageVariant();
// Chinese for Chinese in simplified script (zh_CN, zh_SG, zh-Hans-*), English for every other locale.
LanguageVariant VariantForLocale(const QLocale& locale);

// The variant in use; starts as SystemLanguageVariant(). Tests may switch it.
LanguageVariant ActiveLanguage();
void SetActiveLanguage(LanguageVariant variant);

// The text of id in the active variant; empty for an id outside the table.
QString LoadText(int id);
QString LoadText(int id, LanguageVariant variant);

// Installs the toolkit's own Chinese texts (standard buttons such as OK, the file dialog) when the variant is
// Chinese, so that no English toolkit text shows in a Chinese window. Returns true when a translation was loaded.
bool InstallToolkitTranslation(LanguageVariant variant);

} // namespace trelmo

#pragma once
// The numbered texts of the program, in English or Simplified Chinese.

#include <QString>

namespace trelmo {

enum class LanguageVariant { English, Chinese };

// Chinese when the system's user-interface language is Chinese as written in China (zh_CN, zh-Hans), else English.
LanguageVariant SystemLanguageVariant();

// The variant in use; starts as SystemLanguageVariant(). Tests may switch it.
LanguageVariant ActiveLanguage();
void SetActiveLanguage(LanguageVariant variant);

// The text of id in the active variant; empty for an id outside the table.
QString LoadText(int id);
QString LoadText(int id, LanguageVariant variant);

} // namespace trelmo

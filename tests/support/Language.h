#pragma once
// The language variant for a test: set while a scope lives, and named in the names of parameterised tests.

#include "StringTable.h"

#include <gtest/gtest.h>

#include <string>

namespace trelmo::testing {

class ScopedLanguage {
public:
    explicit ScopedLanguage(LanguageVariant variant) : previous_(ActiveLanguage()) { SetActiveLanguage(variant); }
    ~ScopedLanguage() { SetActiveLanguage(previous_); }
    ScopedLanguage(const ScopedLanguage&) = delete;
    ScopedLanguage& operator=(const ScopedLanguage&) = delete;

private:
    LanguageVariant previous_;
};

inline std::string LanguageName(LanguageVariant variant)
{
    return variant == LanguageVariant::Chinese ? "Chinese" : "English";
}

// For INSTANTIATE_TEST_SUITE_P over both variants: ".../English", ".../Chinese".
inline std::string LanguageParamName(const ::testing::TestParamInfo<LanguageVariant>& info)
{
    return LanguageName(info.param);
}

} // namespace trelmo::testing

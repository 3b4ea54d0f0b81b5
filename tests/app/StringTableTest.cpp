#include "StringTable.h"

#include <QLocale>

#include <QCoreApplication>

#include <gtest/gtest.h>

using namespace trelmo;

namespace {

TEST(StringTableTest, EveryIdExistsInBothVariants)
{
    for (int id = 101; id <= 142; ++id) {
        EXPECT_FALSE(LoadText(id, LanguageVariant::English).isEmpty()) << id;
        EXPECT_FALSE(LoadText(id, LanguageVariant::Chinese).isEmpty()) << id;
    }
}

TEST(StringTableTest, UnknownIdsAreEmpty)
{
    for (int id : {0, 100, 143, 1000, -1})
        EXPECT_TRUE(LoadText(id, LanguageVariant::English).isEmpty()) << id;
}

TEST(StringTableTest, TextsKeepTheirExactBlanks)
{
    struct Case {
        int id;
        LanguageVariant variant;
        const char* text;
    };
    const Case cases[] = {
        {126, LanguageVariant::English, "Please complete object ID, instance number,attributes number  ERROR:30 "},
        {126, LanguageVariant::Chinese, "请完整填写对象号、实例号、属性号的值 ERROR:30"},
        {115, LanguageVariant::English, "Data can not be empty ERROR: 26"},
        {115, LanguageVariant::Chinese, "数据不能为空 ERROR:26"},
        {124, LanguageVariant::English, "ERROR: 101 Failed to save"},
        {124, LanguageVariant::Chinese, "ERROR:101 保存失败"},
        {101, LanguageVariant::English, "About Trelmo(&A)..."},
        {101, LanguageVariant::Chinese, "关于 Trelmo(&A)..."},
        {112, LanguageVariant::English, "Open only one compact embedded module Demo Software instances"},
        {114, LanguageVariant::Chinese, "实例号和属性号组合不能重复 ERROR:25"},
        {138, LanguageVariant::Chinese, "UART 自动波特率"},
        {142, LanguageVariant::English,
         "Application data objects and application configuration object does not support the current"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LoadText(c.id, c.variant), QString::fromUtf8(c.text)) << c.id;
}

TEST(StringTableTest, ActiveVariantSwitches)
{
    const LanguageVariant before = ActiveLanguage();
    SetActiveLanguage(LanguageVariant::Chinese);
    EXPECT_EQ(LoadText(104), QString::fromUtf8("连接"));
    SetActiveLanguage(LanguageVariant::English);
    EXPECT_EQ(LoadText(104), QStringLiteral("Connect"));
    SetActiveLanguage(before);
}

TEST(StringTableTest, OnlySimplifiedChineseLocalesChooseChinese)
{
    struct Case {
        const char* locale;
        LanguageVariant variant;
    };
    const Case cases[] = {
        {"zh_CN", LanguageVariant::Chinese},   {"zh_Hans_SG", LanguageVariant::Chinese},
        {"zh", LanguageVariant::Chinese},      {"zh_TW", LanguageVariant::English},
        {"zh_HK", LanguageVariant::English},   {"zh_Hant_CN", LanguageVariant::English},
        {"en_US", LanguageVariant::English},   {"de_DE", LanguageVariant::English},
        {"C", LanguageVariant::English},
    };
    for (const Case& c : cases)
        EXPECT_EQ(VariantForLocale(QLocale(QString::fromLatin1(c.locale))), c.variant) << c.locale;
}

TEST(StringTableTest, ToolkitButtonsSpeakChineseInTheChineseVariant)
{
    EXPECT_FALSE(InstallToolkitTranslation(LanguageVariant::English));
    ASSERT_TRUE(InstallToolkitTranslation(LanguageVariant::Chinese));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "OK"), QString::fromUtf8("确定"));
}

} // namespace

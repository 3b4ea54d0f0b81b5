#include "StringTable.h"

#include <QLocale>

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

using namespace trelmo;

namespace {

TEST(StringTableTest, TextsKeepTheirExactBlanks)
{
    struct Case {
        TextId id;
        LanguageVariant variant;
        const char* text;
    };
    const Case cases[] = {
        {TextId::CodesIncomplete, LanguageVariant::English,
         "Please complete object ID, instance number,attributes number  ERROR:30 "},
        {TextId::CodesIncomplete, LanguageVariant::Chinese, "请完整填写对象号、实例号、属性号的值 ERROR:30"},
        {TextId::EmptyData, LanguageVariant::English, "Data can not be empty ERROR: 26"},
        {TextId::EmptyData, LanguageVariant::Chinese, "数据不能为空 ERROR:26"},
        {TextId::SaveFailed, LanguageVariant::English, "ERROR: 101 Failed to save"},
        {TextId::SaveFailed, LanguageVariant::Chinese, "ERROR:101 保存失败"},
        {TextId::AboutMenu, LanguageVariant::English, "About Trelmo(&A)..."},
        {TextId::AboutMenu, LanguageVariant::Chinese, "关于 Trelmo(&A)..."},
        {TextId::AnotherCopyRuns, LanguageVariant::English,
         "Open only one compact embedded module Demo Software instances"},
        {TextId::RepeatedPair, LanguageVariant::Chinese, "实例号和属性号组合不能重复 ERROR:25"},
        {TextId::AutoBaudRate, LanguageVariant::Chinese, "UART 自动波特率"},
        {TextId::ReservedObject, LanguageVariant::English,
         "Application data objects and application configuration object does not support the current"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LoadText(c.id, c.variant), QString::fromUtf8(c.text)) << static_cast<int>(c.id);
}

TEST(StringTableTest, ActiveVariantSwitches)
{
    const LanguageVariant before = ActiveLanguage();
    SetActiveLanguage(LanguageVariant::Chinese);
    EXPECT_EQ(LoadText(TextId::Connect), QString::fromUtf8("连接"));
    SetActiveLanguage(LanguageVariant::English);
    EXPECT_EQ(LoadText(TextId::Connect), QStringLiteral("Connect"));
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

TEST(StringTableTest, VariantFollowsTheUserInterfaceLanguageOfTheEnvironment)
{
    struct Case {
        QStringList environment;
        const char* variant;
    };
    const Case cases[] = {
        {{"LANG=zh_CN.UTF-8"}, "zh_CN"},
        {{"LC_ALL=zh_CN.UTF-8"}, "zh_CN"},
        {{"LANG=en_US.UTF-8", "LC_MESSAGES=zh_CN.UTF-8"}, "zh_CN"},
        {{"LANG=en_US.UTF-8", "LANGUAGE=zh_CN:en"}, "zh_CN"},
        {{"LANG=zh_CN.UTF-8", "LANGUAGE=en_US"}, "en"},
        {{"LANG=zh_TW.UTF-8"}, "en"},
        {{"LANG=de_DE.UTF-8"}, "en"},
        {{"LANG=C"}, "en"},
    };
    for (const Case& c : cases) {
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("PATH"), qEnvironmentVariable("PATH"));
        for (const QString& assignment : c.environment)
            environment.insert(assignment.section(QLatin1Char('='), 0, 0), assignment.section(QLatin1Char('='), 1));
        QProcess probe;
        probe.setProcessEnvironment(environment);
        probe.start(QStringLiteral(TRELMO_LANGUAGE_PROBE), {});
        ASSERT_TRUE(probe.waitForFinished(20000));
        EXPECT_EQ(probe.readAllStandardOutput().trimmed().toStdString(), c.variant) << c.environment.join(' ').toStdString();
    }
}

} // namespace

#include "DialogTemplate.h"

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace trelmo;

namespace {

TEST(DialogUnitsTest, ConvertsLikeTheDialogManager)
{
    // A font with an average character width of 6 and a height of 13 pixels.
    const DialogUnits units(6, 13);
    EXPECT_EQ(units.X(4), 6);
    EXPECT_EQ(units.X(86), 129);
    EXPECT_EQ(units.Y(8), 13);
    EXPECT_EQ(units.Y(22), 36); // 22 * 13 / 8 = 35.75
    EXPECT_EQ(units.ToPixels(QRect(15, 41, 86, 22)), QRect(23, 67, 129, 36));
    EXPECT_EQ(units.ToPixels(QSize(513, 328)), QSize(770, 533));
}

TEST(DialogTemplateTest, LoadsBothVariants)
{
    const DialogTemplate english = DialogTemplate::Load(141, LanguageVariant::English);
    EXPECT_EQ(english.caption, QStringLiteral("Select the Serial Port"));
    EXPECT_EQ(english.size, QSize(147, 78));
    ASSERT_NE(english.Find(1041), nullptr);
    EXPECT_EQ(english.Find(1041)->rect, QRect(64, 20, 70, 30));

    const DialogTemplate chinese = DialogTemplate::Load(141, LanguageVariant::Chinese);
    EXPECT_EQ(chinese.caption, QString::fromUtf8("选择串口"));
    EXPECT_EQ(chinese.size, QSize(147, 78)) << "without Chinese geometry the English one serves";
    EXPECT_EQ(chinese.fontFamily, QStringLiteral("SimSun"));
    ASSERT_NE(chinese.Find(2), nullptr);
    EXPECT_EQ(chinese.Find(2)->text, QString::fromUtf8("取消"));

    EXPECT_TRUE(DialogTemplate::Load(9999).controls.empty());
}

TEST(DialogTemplateTest, BuildsControlsWithIdsLabelsAndGeometry)
{
    QDialog dialog;
    const DialogTemplate t = DialogTemplate::Load(141, LanguageVariant::English);
    BuildDialogFromTemplate(&dialog, t);
    const DialogUnits units(dialog.font());
    EXPECT_EQ(dialog.size(), units.ToPixels(QSize(147, 78)));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Select the Serial Port"));

    auto* ports = Control<QComboBox>(&dialog, 1041);
    ASSERT_NE(ports, nullptr);
    EXPECT_EQ(ports->accessibleName(), QStringLiteral("Select Port:"));
    EXPECT_EQ(ports->pos(), QPoint(units.X(64), units.Y(20)));
    EXPECT_EQ(ports->width(), units.X(70));

    auto* ok = Control<QPushButton>(&dialog, 1);
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(ok->isDefault());
    EXPECT_EQ(ok->geometry(), units.ToPixels(QRect(26, 46, 34, 14)));
    EXPECT_EQ(ports->nextInFocusChain(), ok);
    EXPECT_EQ(FindControl(&dialog, 4242), nullptr);
}

TEST(DialogTemplateTest, ButtonsOneAndTwoEndTheDialog)
{
    QDialog dialog;
    BuildDialogFromTemplate(&dialog, DialogTemplate::Load(141, LanguageVariant::English));
    Control<QPushButton>(&dialog, 2)->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    Control<QPushButton>(&dialog, 1)->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(TemplateFontTest, MissingFamiliesFallBackToTheirKind)
{
    const QFont serif = ResolveTemplateFont(QStringLiteral("Times New Roman"), 10);
    EXPECT_EQ(serif.pointSize(), 10);
    const QFont chinese = ResolveTemplateFont(QStringLiteral("SimSun"), 9);
    EXPECT_TRUE(QFontMetrics(chinese).inFont(QChar(0x4E32))) << QFontInfo(chinese).family().toStdString();
}

} // namespace

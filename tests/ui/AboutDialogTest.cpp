#include "AboutDialog.h"
#include "HyperlinkLabel.h"

#include "DialogTemplate.h"
#include "Language.h"
#include "MessageRecorder.h"
#include "StringTable.h"

#include <QAccessible>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QSet>
#include <QTest>

#include <gtest/gtest.h>

using namespace trelmo;
using namespace trelmo::testing;

namespace {

const QColor kLinkColour(0, 0, 238);
const QColor kVisitedColour(85, 26, 139);

class AboutDialogTest : public ::testing::Test {
protected:
    // The link of an About box whose launches answer with the given result.
    CHyperlinkLabel* LinkAnswering(CAboutDialog& about, const int* result)
    {
        CHyperlinkLabel* link = about.Link();
        link->SetLauncher([this, result](const QString& url) {
            launched_ << url;
            return *result;
        });
        return link;
    }

    static void MoveMouse(QWidget* widget, QPoint position)
    {
        QMouseEvent move(QEvent::MouseMove, position, widget->mapToGlobal(position), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &move);
    }

    static void Leave(QWidget* widget)
    {
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(widget, &leave);
    }

    static QColor TextColour(const QWidget* link) { return link->palette().color(QPalette::WindowText); }

    static void Click(QWidget* widget)
    {
        const QPoint centre = widget->rect().center();
        QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, centre);
        QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, centre);
    }

    ScopedLanguage language_{LanguageVariant::English};
    MessageRecorder shown_;
    QStringList launched_;
};

TEST_F(AboutDialogTest, BuildsTheTemplateWithTheLinkInPlaceOfItsStatic)
{
    struct Case {
        LanguageVariant language;
        const char* caption;
        const char* firstLine;
    };
    for (const Case& c : {Case{LanguageVariant::English, "About Trelmo", "Trelmo Demo Software"},
                          Case{LanguageVariant::Chinese, "关于 Trelmo", "紧凑型嵌入式模块Demo软件"}}) {
        SetActiveLanguage(c.language);
        CAboutDialog about;
        EXPECT_EQ(about.windowTitle(), QString::fromUtf8(c.caption));
        QStringList texts;
        for (const QLabel* label : about.findChildren<QLabel*>())
            texts << label->text();
        EXPECT_TRUE(texts.contains(QString::fromUtf8(c.firstLine)));

        CHyperlinkLabel* link = about.Link();
        ASSERT_NE(link, nullptr);
        EXPECT_EQ(FindControl(&about, 1000), link);
        EXPECT_EQ(about.findChildren<QLabel*>(QStringLiteral("control1000")).size(), 1);
        EXPECT_EQ(link->text(), QStringLiteral("https://trelmo.example/demo"));
        EXPECT_EQ(link->toolTip(), link->text());
        EXPECT_EQ(link->accessibleName(), link->text());
        EXPECT_TRUE(link->font().underline());
        EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
        EXPECT_EQ(link->width(), QFontMetrics(link->font()).size(Qt::TextSingleLine, link->text()).width());
        EXPECT_TRUE(about.rect().contains(link->geometry()));
    }
}

TEST_F(AboutDialogTest, ShowsTheLogo)
{
    CAboutDialog about;
    bool found = false;
    for (const QLabel* label : about.findChildren<QLabel*>()) {
        if (!label->pixmap().isNull()) {
            found = true;
            EXPECT_EQ(label->pixmap().size(), QSize(123, 26));
            EXPECT_TRUE(about.rect().contains(label->geometry()));
        }
    }
    EXPECT_TRUE(found);
}

TEST_F(AboutDialogTest, EscapeClosesTheBox)
{
    CAboutDialog about;
    about.show();
    QTest::keyClick(&about, Qt::Key_Escape);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Rejected);
}

TEST_F(AboutDialogTest, TheMouseOverTheLinkShowsTheHighlightColourUntilItLeaves)
{
    CAboutDialog about;
    about.show();
    CHyperlinkLabel* link = about.Link();
    const QColor highlight = link->palette().color(QPalette::Highlight);
    EXPECT_EQ(TextColour(link), kLinkColour);
    MoveMouse(link, QPoint(2, 2));
    EXPECT_EQ(TextColour(link), highlight);
    Leave(link);
    EXPECT_EQ(TextColour(link), kLinkColour);
}

TEST_F(AboutDialogTest, ASuccessfulClickShowsTheVisitedColourAndAFailedOneTheLinkColourAgain)
{
    CAboutDialog about;
    about.show();
    int result = 42;
    CHyperlinkLabel* link = LinkAnswering(about, &result);

    MoveMouse(link, QPoint(2, 2));
    Click(link);
    EXPECT_EQ(launched_, QStringList(QStringLiteral("https://trelmo.example/demo")));
    EXPECT_EQ(TextColour(link), kVisitedColour) << "the pointer still rests on the link";
    EXPECT_TRUE(shown_.texts.empty());
    MoveMouse(link, QPoint(3, 2));
    EXPECT_EQ(TextColour(link), link->palette().color(QPalette::Highlight)) << "moving on it hovers again";
    Leave(link);
    EXPECT_EQ(TextColour(link), kVisitedColour);

    result = 2;
    Click(link);
    EXPECT_EQ(TextColour(link), kLinkColour);
    ASSERT_EQ(shown_.texts.size(), 1u);
    EXPECT_EQ(shown_.kinds[0], MessageBoxKind::Application);
    EXPECT_EQ(shown_.texts[0], QStringLiteral("Unable to open hyperlink:\n\nThe specified file was not found."));
    EXPECT_TRUE(about.isVisible()) << "the box stays open after a failure";

    result = 33;
    Click(link);
    EXPECT_EQ(TextColour(link), kVisitedColour) << "33 and more count as success";
    EXPECT_EQ(shown_.texts.size(), 1u);
}

// Each known launch result has its own reason; any other number is named in the unknown-error text.
TEST_F(AboutDialogTest, ReportsEveryLaunchResultInWords)
{
    const QString prefix = QStringLiteral("Unable to open hyperlink:\n\n");
    EXPECT_EQ(LaunchErrorText(2, LanguageVariant::English), prefix + QStringLiteral("The specified file was not found."));
    QSet<QString> reasons;
    for (int code : {0, 2, 3, 5, 8, 11, 26, 27, 28, 29, 30, 31, 32})
        reasons.insert(LaunchErrorText(code, LanguageVariant::English));
    EXPECT_EQ(reasons.size(), 13);
    EXPECT_FALSE(reasons.contains(QString())) << "every known result has its text";
    for (int code : {1, 4, 7, 25, -1}) {
        EXPECT_EQ(LaunchErrorText(code, LanguageVariant::English),
                  prefix + QStringLiteral("Unknown Error (%1) occurred.").arg(code))
            << code;
    }
    EXPECT_TRUE(LaunchErrorText(7, LanguageVariant::Chinese).contains(QLatin1String("7")));
    EXPECT_NE(LaunchErrorText(2, LanguageVariant::Chinese), LaunchErrorText(2, LanguageVariant::English));
}

TEST_F(AboutDialogTest, KeyboardAndAccessibilityOpenTheLink)
{
    CAboutDialog about;
    about.show();
    int result = 42;
    CHyperlinkLabel* link = LinkAnswering(about, &result);
    EXPECT_TRUE(link->focusPolicy() & Qt::TabFocus);

    link->setFocus(Qt::TabFocusReason);
    QTest::keyClick(link, Qt::Key_Space);
    EXPECT_EQ(launched_.size(), 1);
    QTest::keyClick(link, Qt::Key_Return);
    EXPECT_EQ(launched_.size(), 1) << "Enter does not open a browser unasked";

    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(link);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::Link);
    EXPECT_EQ(accessible->text(QAccessible::Name), link->text());
    ASSERT_NE(accessible->actionInterface(), nullptr);
    EXPECT_TRUE(accessible->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(launched_.size(), 2);
}

TEST(HyperlinkLabelTest, ShrinksToItsTextKeepingTheEdgeOrCentreTheStaticsAlignmentNames)
{
    struct Case {
        Qt::Alignment alignment;
        const char* what;
    };
    const QRect start(20, 10, 200, 40);
    for (const Case& c : {Case{Qt::AlignLeft | Qt::AlignTop, "left"},
                          Case{Qt::AlignHCenter | Qt::AlignVCenter, "centred"},
                          Case{Qt::AlignRight | Qt::AlignTop, "right"}}) {
        QWidget parent;
        auto* staticControl = new QLabel(QStringLiteral("docs"), &parent);
        staticControl->setAlignment(c.alignment);
        staticControl->setGeometry(start);
        CHyperlinkLabel* link = CHyperlinkLabel::ReplaceStatic(staticControl);
        const QSize text = QFontMetrics(link->font()).size(Qt::TextSingleLine, link->text());
        const QRect r = link->geometry();
        EXPECT_EQ(r.size(), text) << c.what;
        if (c.alignment & Qt::AlignLeft) {
            EXPECT_EQ(r.left(), start.left()) << c.what;
            EXPECT_EQ(r.top(), start.top()) << c.what;
        }
        if (c.alignment & Qt::AlignRight) {
            EXPECT_EQ(r.x() + r.width(), start.x() + start.width()) << c.what;
        }
        if (c.alignment & Qt::AlignHCenter) {
            EXPECT_EQ(r.x(), start.x() + (start.width() - text.width()) / 2) << c.what;
            EXPECT_EQ(r.y(), start.y() + (start.height() - text.height()) / 2) << c.what;
        }
    }
}

} // namespace

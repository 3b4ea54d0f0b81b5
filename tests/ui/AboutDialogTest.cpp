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

TEST_F(AboutDialogTest, ReportsEveryLaunchResultInWords)
{
    struct Case {
        int code;
        const char* reason;
    };
    const Case known[] = {
        {0, "The operating system is out\nof memory or resources."},
        {2, "The specified file was not found."},
        {3, "The specified path was not found."},
        {5, "The operating system denied\naccess to the specified file."},
        {8, "There was not enough memory to complete the operation."},
        {11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
        {26, "A sharing violation occurred. "},
        {27, "The filename association is\nincomplete or invalid."},
        {28, "The DDE transaction could not\nbe completed because the request timed out."},
        {29, "The DDE transaction failed."},
        {30, "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed."},
        {31, "There is no application associated\nwith the given filename extension."},
        {32, "The specified dynamic-link library was not found."},
    };
    const QString prefix = QStringLiteral("Unable to open hyperlink:\n\n");
    for (const Case& c : known)
        EXPECT_EQ(LaunchErrorText(c.code, LanguageVariant::English), prefix + QString::fromLatin1(c.reason)) << c.code;
    for (int code : {1, 4, 6, 7, 9, 10, 12, 20, 25, -1}) {
        EXPECT_EQ(LaunchErrorText(code, LanguageVariant::English),
                  prefix + QStringLiteral("Unknown Error (%1) occurred.").arg(code))
            << code;
    }
    for (const Case& c : known)
        EXPECT_FALSE(LaunchErrorText(c.code, LanguageVariant::Chinese).contains(QLatin1String(c.reason))) << c.code;
    EXPECT_TRUE(LaunchErrorText(7, LanguageVariant::Chinese).contains(QLatin1String("7")));
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

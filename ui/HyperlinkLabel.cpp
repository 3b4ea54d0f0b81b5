#include "HyperlinkLabel.h"

#include "MessageBoxes.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QDesktopServices>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QUrl>

namespace trelmo {
namespace {

const QColor kLinkColour(0, 0, 238);
const QColor kVisitedColour(85, 26, 139);
constexpr int kLaunchFailureLimit = 32;
constexpr int kLaunchNoAssociation = 31; // what a refusal by the desktop's default handler is reported as

// Screen readers hear a link, named by its text, that can be pressed.
class LinkAccessible : public QAccessibleWidget {
public:
    explicit LinkAccessible(QWidget* link) : QAccessibleWidget(link, QAccessible::Link) {}
    QStringList actionNames() const override { return QStringList(pressAction()) + QAccessibleWidget::actionNames(); }
    void doAction(const QString& action) override
    {
        if (action == pressAction())
            static_cast<CHyperlinkLabel*>(widget())->Activate();
        else
            QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface* LinkAccessibleFactory(const QString& className, QObject* object)
{
    const bool link = className == QLatin1String(CHyperlinkLabel::staticMetaObject.className());
    return link ? new LinkAccessible(static_cast<QWidget*>(object)) : nullptr;
}

int OpenWithDesktop(const QString& url)
{
    return QDesktopServices::openUrl(QUrl(url)) ? kLaunchFailureLimit + 1 : kLaunchNoAssociation;
}

} // namespace

QString LaunchErrorText(int code, LanguageVariant variant)
{
    QString reason = LoadText(QStringLiteral("launch.%1").arg(code), variant);
    if (reason.isEmpty())
        reason = LoadText(QStringLiteral("launch.unknown"), variant).replace(QLatin1String("%d"), QString::number(code));
    return LoadText(QStringLiteral("launch.prefix"), variant) + reason;
}

CHyperlinkLabel* CHyperlinkLabel::ReplaceStatic(QLabel* staticControl)
{
    auto* link = new CHyperlinkLabel(*staticControl);
    link->stackUnder(staticControl);
    delete staticControl;
    return link;
}

CHyperlinkLabel::CHyperlinkLabel(const QLabel& staticControl)
    : QLabel(staticControl.text(), staticControl.parentWidget()), hoverColour_(palette().color(QPalette::Highlight)),
      restColour_(kLinkColour), launcher_(OpenWithDesktop)
{
    [[maybe_unused]] static const bool accessible = (QAccessible::installFactory(LinkAccessibleFactory), true);
    setObjectName(staticControl.objectName());
    setProperty("controlId", staticControl.property("controlId"));
    setTextFormat(Qt::PlainText);
    setAlignment(staticControl.alignment());
    QFont linkFont = font();
    linkFont.setUnderline(true);
    setFont(linkFont);
    const QSize textSize = fontMetrics().size(Qt::TextSingleLine, text());
    setGeometry(QStyle::alignedRect(Qt::LeftToRight, alignment(), textSize, staticControl.geometry()));
    setCursor(Qt::PointingHandCursor);
    setToolTip(text());
    setAccessibleName(text());
    setFocusPolicy(Qt::TabFocus);
    setMouseTracking(true);
    ShowColour(restColour_);
}

void CHyperlinkLabel::Activate()
{
    const int result = launcher_(text());
    restColour_ = result > kLaunchFailureLimit ? kVisitedColour : kLinkColour;
    ShowColour(restColour_); // until the mouse moves over the link again
    if (result > kLaunchFailureLimit)
        return;
    QApplication::beep();
    ShowAppMessage(this, LaunchErrorText(result));
}

void CHyperlinkLabel::ShowColour(const QColor& colour)
{
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, colour);
    setPalette(colours);
}

void CHyperlinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Activate();
}

// Space, as for a button. Enter stays the dialog's: the link has the focus as soon as the About box opens, and Enter
// there must not open a browser unasked.
void CHyperlinkLabel::keyPressEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Space)
        QLabel::keyPressEvent(event);
    else if (!event->isAutoRepeat())
        Activate();
}

// The focus frame shows once the keyboard has moved the focus in the window, as the platform does.
void CHyperlinkLabel::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    if (!hasFocus() || !window()->testAttribute(Qt::WA_KeyboardFocusChange))
        return;
    QPainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
}

} // namespace trelmo

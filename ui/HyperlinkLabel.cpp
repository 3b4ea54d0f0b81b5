#include "HyperlinkLabel.h"

#include "MessageBoxes.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QDesktopServices>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QUrl>

namespace trelmo {
namespace {

const QColor kLinkColour(0, 0, 238);
const QColor kVisitedColour(85, 26, 139);

// The failure texts of a launch are the catalogue's "launch.<result>" texts.
QString LaunchText(const QString& key, LanguageVariant variant)
{
    return LoadText(QStringLiteral("launch.") + key, variant);
}

// Screen readers see the link as a link that can be pressed, named by its text.
class HyperlinkAccessible : public QAccessibleWidget {
public:
    explicit HyperlinkAccessible(CHyperlinkLabel* link) : QAccessibleWidget(link, QAccessible::Link) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return Link()->text();
        if (t == QAccessible::Description && widget()->accessibleDescription().isEmpty())
            return Link()->Url();
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override
    {
        return QStringList(pressAction()) + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& actionName) override
    {
        if (actionName == pressAction())
            Link()->Activate();
        else
            QAccessibleWidget::doAction(actionName);
    }

private:
    CHyperlinkLabel* Link() const { return static_cast<CHyperlinkLabel*>(widget()); }
};

QAccessibleInterface* HyperlinkAccessibleFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String(CHyperlinkLabel::staticMetaObject.className()) && object
        && object->isWidgetType())
        return new HyperlinkAccessible(static_cast<CHyperlinkLabel*>(object));
    return nullptr;
}

// Opens the address with the desktop's default handler and maps its answer to a launch result.
int OpenWithDesktop(const QString& url)
{
    return QDesktopServices::openUrl(QUrl(url)) ? kLaunchOpened : kLaunchNoAssociation;
}

} // namespace

QString LaunchErrorText(int code, LanguageVariant variant)
{
    QString reason = LaunchText(QString::number(code), variant);
    if (reason.isEmpty())
        reason = LaunchText(QStringLiteral("unknown"), variant).replace(QLatin1String("%d"), QString::number(code));
    return LaunchText(QStringLiteral("prefix"), variant) + reason;
}

CHyperlinkLabel::CHyperlinkLabel(QWidget* parent)
    : QLabel(parent), hoverColour_(palette().color(QPalette::Highlight)), launcher_(OpenWithDesktop)
{
    [[maybe_unused]] static const bool accessibleInstalled =
        (QAccessible::installFactory(HyperlinkAccessibleFactory), true);
    setTextFormat(Qt::PlainText);
    setMouseTracking(true);
    setFocusPolicy(Qt::TabFocus);
    ApplyTextColour();
}

CHyperlinkLabel* CHyperlinkLabel::ReplaceStatic(QLabel* staticControl)
{
    auto* link = new CHyperlinkLabel(staticControl->parentWidget());
    link->setText(staticControl->text());
    link->setAlignment(staticControl->alignment());
    link->setGeometry(staticControl->geometry());
    link->setObjectName(staticControl->objectName());
    link->setProperty("controlId", staticControl->property("controlId"));
    link->setVisible(!staticControl->isHidden());
    link->setEnabled(staticControl->isEnabled());
    link->stackUnder(staticControl);
    delete staticControl;
    link->Attach();
    return link;
}

void CHyperlinkLabel::Attach()
{
    if (url_.isEmpty())
        url_ = text();
    if (text().isEmpty())
        setText(url_);
    QFont linkFont = font();
    linkFont.setUnderline(true);
    setFont(linkFont);
    FitToText();
    setCursor(Qt::PointingHandCursor);
    setToolTip(url_);
    setAccessibleName(text());
}

QColor CHyperlinkLabel::TextColour() const
{
    if (hovering_)
        return hoverColour_;
    return visited_ ? kVisitedColour : kLinkColour;
}

void CHyperlinkLabel::FitToText()
{
    if (!fitToText_)
        return;
    const QSize textSize = QFontMetrics(font()).size(Qt::TextSingleLine, text());
    const QRect box = geometry();
    QPoint corner = box.topLeft();
    if (alignment() & Qt::AlignVCenter)
        corner.ry() += (box.height() - textSize.height()) / 2;
    if (alignment() & Qt::AlignHCenter)
        corner.rx() += (box.width() - textSize.width()) / 2;
    else if (alignment() & Qt::AlignRight)
        corner.rx() += box.width() - textSize.width();
    setGeometry(QRect(corner, textSize));
}

void CHyperlinkLabel::Activate()
{
    // A message box or the opened browser must not find the pointer still captured by the link.
    releaseMouse(); // a no-op unless the link holds the mouse
    hovering_ = false; // the launcher finds the link no longer hovered
    const int result = launcher_ ? launcher_(url_) : kLaunchNoAssociation;
    visited_ = result > kLaunchFailureLimit;
    SetHovering(false); // repaints in the visited or the link colour
    if (visited_)
        return;
    QApplication::beep();
    ShowAppMessage(this, LaunchErrorText(result));
}

void CHyperlinkLabel::SetHovering(bool hovering)
{
    hovering_ = hovering;
    ApplyTextColour();
    repaint();
}

void CHyperlinkLabel::ApplyTextColour()
{
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, TextColour());
    setPalette(colours);
}

void CHyperlinkLabel::mouseMoveEvent(QMouseEvent* event)
{
    QLabel::mouseMoveEvent(event);
    if (!hovering_) {
        SetHovering(true);
        grabMouse();
        return;
    }
    if (rect().contains(event->position().toPoint()))
        return;
    releaseMouse();
    pressed_ = false;
    SetHovering(false);
}

void CHyperlinkLabel::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    event->accept();
}

void CHyperlinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = pressed_ && event->button() == Qt::LeftButton
        && rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click)
        Activate();
}

void CHyperlinkLabel::keyPressEvent(QKeyEvent* event)
{
    // Space, as for a button: the link has the focus as soon as the About box opens, and Enter there must not
    // open a browser unasked.
    if (event->key() == Qt::Key_Space) {
        if (!event->isAutoRepeat())
            Activate();
        event->accept();
        return;
    }
    QLabel::keyPressEvent(event);
}

bool CHyperlinkLabel::event(QEvent* event)
{
    // Like the platform, show the focus frame only once the keyboard is in use: a key pressed on the link, or the
    // focus brought in by Tab or a shortcut. The base class repaints on focus changes.
    if (event->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason)
            showFocusFrame_ = true;
    } else if (event->type() == QEvent::KeyPress && !showFocusFrame_) {
        showFocusFrame_ = true;
        update();
    }
    return QLabel::event(event);
}

void CHyperlinkLabel::leaveEvent(QEvent* event)
{
    // Only reached without capture (for example after a click released it): the pointer has left the link.
    QLabel::leaveEvent(event);
    if (hovering_ && QWidget::mouseGrabber() != this)
        SetHovering(false);
}

void CHyperlinkLabel::hideEvent(QHideEvent* event)
{
    releaseMouse();
    pressed_ = false;
    SetHovering(false);
    QLabel::hideEvent(event);
}

void CHyperlinkLabel::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    if (!hasFocus() || !showFocusFrame_)
        return;
    QPainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = rect();
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
}

} // namespace trelmo

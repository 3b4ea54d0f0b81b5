#pragma once
// A static text that behaves as a link: underlined in link colours, hover colour while the mouse is over it (with
// the mouse captured until it leaves), the address as tooltip, a hand cursor, and a click that opens the address
// with the desktop's default handler and reports a failure in words.

#include "StringTable.h"

#include <QColor>
#include <QLabel>
#include <QString>

#include <functional>

namespace trelmo {

// A launch result: greater than kLaunchFailureLimit means the address was opened, 0 to 32 name the failure.
constexpr int kLaunchFailureLimit = 32;
constexpr int kLaunchOpened = 33;
constexpr int kLaunchNoAssociation = 31; // what a refusal of the desktop's default handler is reported as

using LinkLauncher = std::function<int(const QString& url)>;

// "Unable to open hyperlink:", an empty line, and the text for the code.
QString LaunchErrorText(int code, LanguageVariant variant = ActiveLanguage());

class CHyperlinkLabel : public QLabel {
    Q_OBJECT

public:
    explicit CHyperlinkLabel(QWidget* parent = nullptr);

    // Puts a link in place of a template's static control (same geometry, id, alignment and text), deletes the
    // static and attaches the link behaviour.
    static CHyperlinkLabel* ReplaceStatic(QLabel* staticControl);

    // Takes the address from the text (or the text from the address), underlines, fits, sets cursor and tooltip.
    void Attach();

    void SetUrl(const QString& url) { url_ = url; }
    QString Url() const { return url_; }
    void SetFitToText(bool fit) { fitToText_ = fit; }
    bool IsVisited() const { return visited_; }
    bool IsHovering() const { return hovering_; }

    QColor HoverColour() const { return hoverColour_; }
    // The colour the text is drawn in now.
    QColor TextColour() const;

    void FitToText();

    // Replaces the desktop launcher (tests make launches fail with chosen codes).
    void SetLauncher(LinkLauncher launcher) { launcher_ = std::move(launcher); }

    // What a click does: open the address, then show the visited colour or beep and report the failure.
    void Activate();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void SetHovering(bool hovering);
    void ApplyTextColour();

    QColor hoverColour_;
    bool hovering_ = false;
    bool visited_ = false;
    bool fitToText_ = true;
    bool pressed_ = false;
    bool showFocusFrame_ = false;
    QString url_;
    LinkLauncher launcher_; // the desktop's default handler unless a test sets another
};

} // namespace trelmo

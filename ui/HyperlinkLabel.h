#pragma once
// A static text that behaves as a link: underlined in link colours, the hover colour while the mouse is over it, the
// address as tooltip, a hand cursor. A click, Space or a screen reader's press opens the address with the desktop's
// default handler; a failure is reported in words.

#include "StringTable.h"

#include <QLabel>

#include <functional>

namespace trelmo {

// "Unable to open hyperlink:", an empty line, and the text for a launch result from 0 to 32.
QString LaunchErrorText(int code, LanguageVariant variant = ActiveLanguage());

class CHyperlinkLabel : public QLabel {
    Q_OBJECT

public:
    // Opens an address; a result greater than 32 means it was opened, 0 to 32 name the failure.
    using Launcher = std::function<int(const QString& url)>;

    // Puts a link in place of a template's static control: its text is the address; the control keeps the static's
    // id and shrinks to its text around the edge or centre the static's alignment names.
    static CHyperlinkLabel* ReplaceStatic(QLabel* staticControl);

    // Replaces the desktop's default handler (tests make launches fail with chosen results).
    void SetLauncher(Launcher launcher) { launcher_ = std::move(launcher); }
    // Opens the address, then shows the visited colour, or beeps and reports the failure.
    void Activate();

protected:
    void mouseMoveEvent(QMouseEvent*) override { ShowColour(hoverColour_); }
    void leaveEvent(QEvent*) override { ShowColour(restColour_); }
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    explicit CHyperlinkLabel(const QLabel& staticControl);
    void ShowColour(const QColor& colour);

    QColor hoverColour_;
    QColor restColour_; // the link colour, or the visited colour after a successful launch
    Launcher launcher_;
};

} // namespace trelmo

#pragma once
// The About box: the tool's name and version, the maker's lines and logo, and a link to the maker's site.
// Modal, no buttons; Escape or the close box closes it.

#include "ToolWindow.h"

namespace trelmo {

class CHyperlinkLabel;

class CAboutDialog : public CToolWindow {
    Q_OBJECT

public:
    explicit CAboutDialog(QWidget* parent = nullptr);

    // The link (AboutControl::Link).
    CHyperlinkLabel* Link() const { return link_; }

private:
    CHyperlinkLabel* link_ = nullptr;
};

} // namespace trelmo

#include "AboutDialog.h"

#include "HyperlinkLabel.h"

#include <QLabel>

namespace trelmo {

// The box is dialog template 100; its link is control 1000.
CAboutDialog::CAboutDialog(QWidget* parent) : CToolWindow(100, parent)
{
    if (auto* staticLink = Control<QLabel>(this, 1000))
        link_ = CHyperlinkLabel::ReplaceStatic(staticLink);
}

} // namespace trelmo

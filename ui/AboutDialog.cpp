#include "AboutDialog.h"

#include "DialogControls.h"
#include "HyperlinkLabel.h"

#include <QLabel>

namespace trelmo {

CAboutDialog::CAboutDialog(QWidget* parent) : CToolWindow(AboutControl::Template, parent)
{
    if (auto* staticLink = Control<QLabel>(this, AboutControl::Link))
        link_ = CHyperlinkLabel::ReplaceStatic(staticLink);
}

} // namespace trelmo

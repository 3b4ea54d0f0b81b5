#include "AboutDialog.h"

#include "DialogControls.h"
#include "HyperlinkLabel.h"

#include <QLabel>

namespace trelmo {

CAboutDialog::CAboutDialog(QWidget* parent) : CToolWindow(AboutControl::Template, parent)
{
    link_ = CHyperlinkLabel::ReplaceStatic(RequiredControl<QLabel>(this, AboutControl::Link));
}

} // namespace trelmo

#include "AboutDialog.h"

#include "DialogTemplate.h"
#include "HyperlinkLabel.h"

#include <QLabel>

namespace trelmo {
namespace {

constexpr int kAboutTemplate = 100;
constexpr int kLinkControl = 1000;

} // namespace

CAboutDialog::CAboutDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint)
{
    setModal(true);
    BuildDialogFromTemplate(this, DialogTemplate::Load(kAboutTemplate));
    if (auto* staticLink = Control<QLabel>(this, kLinkControl))
        link_ = CHyperlinkLabel::ReplaceStatic(staticLink);
}

} // namespace trelmo

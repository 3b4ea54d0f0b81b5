#include "ToolWindow.h"

#include "ComboBoxAccessibility.h"

namespace trelmo {

CToolWindow::CToolWindow(int templateId, QWidget* parent, Kind kind)
    : QDialog(parent, kind == Kind::Dialog ? Qt::Dialog
                                           : Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                                                 | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setModal(kind == Kind::Modal);
    setAttribute(Qt::WA_DeleteOnClose, kind == Kind::Modeless);
    InstallComboBoxAccessibility(); // before the template's drop-down lists are made
    BuildDialogFromTemplate(this, DialogTemplate::Load(templateId));
}

void CToolWindow::IgnoreEnterIn(std::initializer_list<QWidget*> fields)
{
    for (QWidget* field : fields) {
        watches_.emplace_back(field, IsEnterKey);
        field->installEventFilter(this);
    }
}

void CToolWindow::WhenFocusLost(QWidget* field, std::function<void()> then)
{
    watches_.emplace_back(field, [then = std::move(then)](QEvent* event) {
        if (IsFocusLoss(event))
            then();
        return false;
    });
    field->installEventFilter(this);
}

// The window filters its fields itself rather than through helper objects: once its destructor has begun, the events
// that closing sends to the fields reach QDialog's filter, not the watches of a window partly gone.
bool CToolWindow::eventFilter(QObject* watched, QEvent* event)
{
    for (const auto& [field, handle] : watches_) {
        if (field == watched && handle(event))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace trelmo

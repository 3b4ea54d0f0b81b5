#include "AppConfigObjectDialog.h"

#include "DialogTemplate.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace trelmo {
namespace {

constexpr int kAppConfigObjectTemplate = 137;

void ShowBlock(QWidget* dialog, int textId, const std::string& text, int lengthId, std::int32_t length)
{
    if (auto* field = Control<QPlainTextEdit>(dialog, textId)) {
        field->setPlainText(QString::fromStdString(text));
        // A caret the keyboard moves scrolls a long block, as the field has no scroll bar.
        field->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    }
    if (auto* field = Control<QLineEdit>(dialog, lengthId))
        field->setText(QString::number(length));
}

} // namespace

CAppConfigObjectDialog::CAppConfigObjectDialog(const AppConfigObjectData& data, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint)
{
    using namespace AppConfigObjectControl;
    setModal(true);
    BuildDialogFromTemplate(this, DialogTemplate::Load(kAppConfigObjectTemplate));
    ShowBlock(this, ConfigurationData, data.ConfigurationDataText, ConfigurationLength, data.ConfigurationDataLength);
    ShowBlock(this, ParameterData, data.ParameterDataText, ParameterLength, data.ParameterDataLength);
}

} // namespace trelmo

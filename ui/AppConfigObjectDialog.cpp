#include "AppConfigObjectDialog.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace trelmo {
namespace {

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
    : CToolWindow(AppConfigObjectControl::Template, parent)
{
    using namespace AppConfigObjectControl;
    ShowBlock(this, ConfigurationData, data.ConfigurationDataText, ConfigurationLength, data.ConfigurationDataLength);
    ShowBlock(this, ParameterData, data.ParameterDataText, ParameterLength, data.ParameterDataLength);
}

} // namespace trelmo

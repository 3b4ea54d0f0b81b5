#include "AppConfigObjectDialog.h"

#include "HexText.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace trelmo {
namespace {

// The block as "%02X " pairs and its byte count.
void ShowBlock(QWidget* dialog, int textId, const Bytes& data, int lengthId)
{
    auto* field = RequiredControl<QPlainTextEdit>(dialog, textId);
    field->setPlainText(QString::fromStdString(HexPairsText(data)));
    // A caret the keyboard moves scrolls a long block, as the field has no scroll bar.
    field->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    RequiredControl<QLineEdit>(dialog, lengthId)->setText(QString::number(data.size()));
}

} // namespace

CAppConfigObjectDialog::CAppConfigObjectDialog(const AppConfigObjectData& data, QWidget* parent)
    : CToolWindow(AppConfigObjectControl::Template, parent)
{
    using namespace AppConfigObjectControl;
    ShowBlock(this, ConfigurationData, data.ConfigurationData, ConfigurationLength);
    ShowBlock(this, ParameterData, data.ParameterData, ParameterLength);
}

} // namespace trelmo

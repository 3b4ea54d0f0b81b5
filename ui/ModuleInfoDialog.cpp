#include "ModuleInfoDialog.h"

#include <QLineEdit>

#include <utility>

namespace trelmo {

CModuleInfoDialog::CModuleInfoDialog(const std::optional<ModuleInfo>& read, QWidget* parent)
    : CToolWindow(ModuleInfoControl::Template, parent)
{
    using namespace ModuleInfoControl;
    if (!read)
        return;
    const ModuleInfo& info = *read;
    // The two type texts are the module's 8-bit characters.
    const std::pair<int, QString> fields[] = {
        {NetworkType, QString::fromLatin1(info.NetworkType.data(), static_cast<qsizetype>(info.NetworkType.size()))},
        {ProductType, QString::fromLatin1(info.ProductType.data(), static_cast<qsizetype>(info.ProductType.size()))},
        {SerialNumber, QString::fromStdString(info.SerialNumber)},
        {ProductionDate, QString::fromStdString(info.ProductionDate)},
        {HardwareVersion, QString::fromStdString(info.HardwareVersion)},
        {FirmwareVersion, QString::fromStdString(info.FirmwareVersion)},
    };
    for (const auto& [id, text] : fields) {
        auto* field = RequiredControl<QLineEdit>(this, id);
        field->setText(text);
        field->setCursorPosition(0);
    }
}

} // namespace trelmo

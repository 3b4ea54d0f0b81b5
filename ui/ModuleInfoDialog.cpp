#include "ModuleInfoDialog.h"

#include "DialogTemplate.h"

#include <QLineEdit>

#include <utility>

namespace trelmo {
namespace {

constexpr int kModuleInfoTemplate = 135;

} // namespace

CModuleInfoDialog::CModuleInfoDialog(const std::optional<ModuleInfo>& info, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint)
{
    setModal(true);
    BuildDialogFromTemplate(this, DialogTemplate::Load(kModuleInfoTemplate));
    if (info)
        ShowInfo(*info);
}

void CModuleInfoDialog::ShowInfo(const ModuleInfo& info)
{
    using namespace ModuleInfoControl;
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
        if (auto* field = Control<QLineEdit>(this, id)) {
            field->setText(text);
            field->setCursorPosition(0);
        }
    }
}

} // namespace trelmo

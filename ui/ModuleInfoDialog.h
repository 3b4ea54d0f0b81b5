#pragma once
// The Module Information window: shows the six texts of the module's identity as read just before it opened, or
// six empty fields when the read failed. Modal, display only, no buttons.

#include "ModuleInfo.h"

#include "ToolWindow.h"

#include <optional>

namespace trelmo {

// Dialog template 135 and its control ids.
namespace ModuleInfoControl {
constexpr int Template = 135;
constexpr int NetworkType = 1049;
constexpr int ProductType = 1050;
constexpr int SerialNumber = 1051;
constexpr int ProductionDate = 1052;
constexpr int HardwareVersion = 1053;
constexpr int FirmwareVersion = 1017;
} // namespace ModuleInfoControl

class CModuleInfoDialog : public CToolWindow {
    Q_OBJECT

public:
    // info is what the read gave; empty when it failed.
    explicit CModuleInfoDialog(const std::optional<ModuleInfo>& info, QWidget* parent = nullptr);
};

} // namespace trelmo

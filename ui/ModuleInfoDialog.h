#pragma once
// The Module Information window: shows the six texts of the module's identity as read just before it opened, or
// six empty fields when the read failed. Modal, display only, no buttons.

#include "DialogControls.h"
#include "ModuleInfo.h"

#include "ToolWindow.h"

#include <optional>

namespace trelmo {

class CModuleInfoDialog : public CToolWindow {
    Q_OBJECT

public:
    // info is what the read gave; empty when it failed.
    explicit CModuleInfoDialog(const std::optional<ModuleInfo>& info, QWidget* parent = nullptr);
};

} // namespace trelmo

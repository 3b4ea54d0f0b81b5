#pragma once
// The Application Configuration Object window: shows the configuration and parameter data the module last handed
// over in the cyclic exchange, as they stood when the window opened. Modal, display only, no buttons.

#include "DialogControls.h"
#include "IoExchange.h"

#include "ToolWindow.h"

namespace trelmo {

class CAppConfigObjectDialog : public CToolWindow {
    Q_OBJECT

public:
    // Shows a snapshot of the data: a window already open keeps what it showed.
    explicit CAppConfigObjectDialog(const AppConfigObjectData& data, QWidget* parent = nullptr);
};

} // namespace trelmo

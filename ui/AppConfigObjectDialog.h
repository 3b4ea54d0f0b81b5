#pragma once
// The Application Configuration Object window: shows the configuration and parameter data the module last handed
// over in the cyclic exchange, as they stood when the window opened. Modal, display only, no buttons.

#include "IoExchange.h"

#include "ToolWindow.h"

namespace trelmo {

// Dialog template 137 and its control ids.
namespace AppConfigObjectControl {
constexpr int Template = 137;
constexpr int ConfigurationLength = 1054;
constexpr int ConfigurationData = 1015;
constexpr int ParameterLength = 1055;
constexpr int ParameterData = 1014;
} // namespace AppConfigObjectControl

class CAppConfigObjectDialog : public CToolWindow {
    Q_OBJECT

public:
    // Shows a snapshot of the data: a window already open keeps what it showed.
    explicit CAppConfigObjectDialog(const AppConfigObjectData& data, QWidget* parent = nullptr);
};

} // namespace trelmo

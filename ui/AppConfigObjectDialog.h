#pragma once
// The Application Configuration Object window: shows the configuration and parameter data the module last handed
// over in the cyclic exchange, as they stood when the window opened. Modal, display only, no buttons.

#include "DemoApp.h"

#include <QDialog>

namespace trelmo {

// Control ids of dialog 137.
namespace AppConfigObjectControl {
constexpr int ConfigurationLength = 1054;
constexpr int ConfigurationData = 1015;
constexpr int ParameterLength = 1055;
constexpr int ParameterData = 1014;
} // namespace AppConfigObjectControl

class CAppConfigObjectDialog : public QDialog {
    Q_OBJECT

public:
    // Takes its snapshot of the four shared values from the application object.
    explicit CAppConfigObjectDialog(QWidget* parent = nullptr);
    CAppConfigObjectDialog(const CDemoApp& app, QWidget* parent);
};

} // namespace trelmo

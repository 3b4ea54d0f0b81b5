#pragma once
// The configuration dialog: operating mode, baud rate and bus address for the next connection. It returns them as
// line settings; the lists and the address are remembered between openings.

#include "DialogControls.h"
#include "LineSettings.h"
#include "Protocol.h"
#include "ToolWindow.h"

#include <QString>

class QComboBox;
class QLineEdit;

namespace trelmo {

class CConfigurationDialog : public CToolWindow {
    Q_OBJECT
public:
    // What the dialog remembers between openings, for the life of the process: the list positions as they were
    // when each list lost the focus, and the bus address as last typed (also when it was refused or cancelled).
    struct RememberedChoices {
        int OperatingModeIndex = 0;
        int BaudRateIndex = 0;
        QString BusAddressText;
    };
    static RememberedChoices& Remembered();

    // Starts from the current settings, which the lists do not show: they show the remembered choices.
    explicit CConfigurationDialog(const LineSettings& current = {}, QWidget* parent = nullptr);

    // The settings after the dialog: OK replaces them all; a refused OK and Cancel change nothing.
    const LineSettings& Settings() const { return settings_; }

    QComboBox* ModeList() const { return modeList_; }
    QComboBox* BaudList() const { return baudList_; }
    QLineEdit* BusAddressEdit() const { return busAddressEdit_; }

    void accept() override;

private:
    void OnModeChanged(int position);
    void OnBusAddressFocusLost();

    LineSettings settings_;
    QComboBox* modeList_ = nullptr;
    QComboBox* baudList_ = nullptr;
    QComboBox* watchdogList_ = nullptr;
    QLineEdit* busAddressEdit_ = nullptr;
};

} // namespace trelmo

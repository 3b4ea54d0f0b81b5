#pragma once
// The Module Information window: reads the module's identity once while it initialises and shows the six texts,
// or six empty fields when the read failed. Modal, display only, no buttons.

#include "Frame.h"
#include "MessageLog.h"
#include "ModuleInfo.h"
#include "SerialPort.h"

#include <QDialog>

#include <optional>

namespace trelmo {

// Control ids of dialog 135.
namespace ModuleInfoControl {
constexpr int NetworkType = 1049;
constexpr int ProductType = 1050;
constexpr int SerialNumber = 1051;
constexpr int ProductionDate = 1052;
constexpr int HardwareVersion = 1053;
constexpr int FirmwareVersion = 1017;
} // namespace ModuleInfoControl

class CModuleInfoDialog : public QDialog {
    Q_OBJECT

public:
    // Reads through the application's serial port and request counter and logs to the frame log.
    explicit CModuleInfoDialog(QWidget* parent = nullptr);
    CModuleInfoDialog(SerialPort& port, SequenceCounter& counter, MessageLog& log, QWidget* parent = nullptr);

    // What the read gave; empty when it failed.
    const std::optional<ModuleInfo>& Info() const { return info_; }

private:
    void ShowInfo(const ModuleInfo& info);

    std::optional<ModuleInfo> info_;
};

} // namespace trelmo

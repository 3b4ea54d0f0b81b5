#pragma once
// The process-wide state shared by the windows and the link layer. Touched only from the UI thread.

#include "Frame.h"
#include "SerialPort.h"

#include <QString>

#include <cstdint>
#include <string>

namespace trelmo {

class CDemoApp {
public:
    std::int32_t ConfigurationDataLength = 0;
    std::int32_t ParameterDataLength = 0;
    std::string ConfigurationDataText;
    std::string ParameterDataText;
    trelmo::SequenceCounter SequenceCounter; // 1 at start, never reset
    QString OperatingMode;
    std::int32_t BusAddress = 0;
    std::int32_t WatchdogTimeout = 0;
    std::int32_t BaudRate = 0;
    trelmo::SerialPort SerialPort;
};

// The one application object, created on first use (start-up touches it before the main window exists).
CDemoApp& TheApp();

// Remembered dialog positions, for the life of the process.
extern QString BusAddressText;
extern std::int32_t OperatingModeIndex;
extern std::int32_t BaudRateIndex;
extern std::int32_t PortIndex;

// Operating mode texts the connection sequence compares against (the automatic one is string 138).
inline const char* const OperatingMode9600 = "UART 9600bps";
inline const char* const OperatingMode115200 = "UART 115200bps";

} // namespace trelmo

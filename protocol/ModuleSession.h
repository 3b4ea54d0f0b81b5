#pragma once
// One connection's worth of state: the port to the module, the request counter, the line settings, the data the
// module last handed over and the frame log. The main window owns the session and hands it to what needs it.
// Touched only from the UI thread.

#include "Frame.h"
#include "LineSettings.h"
#include "MessageLog.h"
#include "SerialPort.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

namespace trelmo {

// The data of the application configuration object (0xF0) the module last handed over in the cyclic exchange:
// configuration data (instance 2) and parameter data (instance 3).
struct AppConfigObjectData {
    Bytes ConfigurationData;
    Bytes ParameterData;
};

class ModuleSession {
public:
    explicit ModuleSession(std::unique_ptr<SerialBackend> backend = MakeQtSerialBackend())
        : port_(std::move(backend))
    {
    }

    // Opens the named port at the settings' baud rate; on failure Port().LastOpenError() tells why.
    bool Open(const std::string& portName) { return port_.OpenSerialPort(portName, settings_.BaudRate); }

    trelmo::SerialPort& Port() { return port_; }
    trelmo::SequenceCounter& Sequence() { return sequence_; } // 1 at start, never reset
    MessageLog& Log() { return log_; }
    LineSettings& Settings() { return settings_; }
    AppConfigObjectData& HandedOver() { return handedOver_; }

private:
    trelmo::SerialPort port_;
    trelmo::SequenceCounter sequence_;
    LineSettings settings_;
    AppConfigObjectData handedOver_;
    MessageLog log_;
};

} // namespace trelmo

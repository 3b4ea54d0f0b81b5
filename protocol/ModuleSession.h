#pragma once
// One connection's worth of state: the port to the module, the request counter and the frame log. The link
// controller owns a session and touches it only on its own thread; the log alone is read from other threads.

#include "Frame.h"
#include "MessageLog.h"
#include "SerialPort.h"

#include <memory>
#include <string>
#include <utility>

namespace trelmo {

class ModuleSession {
public:
    explicit ModuleSession(std::unique_ptr<SerialBackend> backend = MakeQtSerialBackend())
        : port_(std::move(backend))
    {
    }

    // Opens the named port; on failure Port().LastOpenError() tells why.
    bool Open(const std::string& portName, int baudRate) { return port_.OpenSerialPort(portName, baudRate); }

    trelmo::SerialPort& Port() { return port_; }
    trelmo::SequenceCounter& Sequence() { return sequence_; } // 1 at start, never reset
    MessageLog& Log() { return log_; }

private:
    trelmo::SerialPort port_;
    trelmo::SequenceCounter sequence_;
    MessageLog log_;
};

} // namespace trelmo

#include "ModuleSession.h"

#include <utility>

namespace trelmo {

ModuleSession::ModuleSession(std::unique_ptr<SerialBackend> backend) : port_(std::move(backend)) {}

bool ModuleSession::Open(const std::string& portName)
{
    return port_.OpenSerialPort(portName, settings_.BaudRate);
}

} // namespace trelmo

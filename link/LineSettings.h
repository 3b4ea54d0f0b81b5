#pragma once
// How the tool talks to the module's UART: the operating mode, the baud rate and the bus address chosen in the
// configuration dialog. The virtual module takes the same operating modes.

#include <cstdint>

namespace trelmo {

// The module's UART: detecting the baud rate by the 0x55 0x55 / 0xAA handshake, or fixed at one rate.
enum class OperatingMode { AutoBaud, Uart9600, Uart115200 };

// The rate a fixed mode runs at; 0 for the detecting mode, which takes any.
constexpr std::int32_t FixedBaudRate(OperatingMode mode)
{
    switch (mode) {
    case OperatingMode::Uart9600:
        return 9600;
    case OperatingMode::Uart115200:
        return 115200;
    case OperatingMode::AutoBaud:
        break;
    }
    return 0;
}

struct LineSettings {
    trelmo::OperatingMode OperatingMode = trelmo::OperatingMode::AutoBaud;
    std::int32_t BaudRate = 0;        // bits per second; the port opens at it
    std::int32_t BusAddress = 0;      // the module receives its low 8 bits
    std::int32_t WatchdogTimeout = 0; // milliseconds; chosen but never sent
};

} // namespace trelmo

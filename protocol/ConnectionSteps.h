#pragma once
// The steps that bring the module on line after the port is open: the auto-baud handshake (only in the automatic
// baud rate mode), the bus address and the on-line request. Plain logic; the window shows the outcome.

#include "Frame.h"
#include "LineSettings.h"
#include "MessageLog.h"
#include "SerialPort.h"

#include <cstdint>
#include <functional>

namespace trelmo {

// Whole seconds of the steady (monotonic) clock; tests inject their own so they need not wait.
using SecondsClock = std::function<long()>;
long SteadyClockSeconds();

constexpr long AutoBaudTimeLimitSeconds = 3;

// How the connection sequence ended: on line, or which step failed.
enum class ConnectionOutcome { Online, AutoBaudFailed, BusAddressFailed, GoOnlineFailed };

// Sends 0x55 0x55 and waits for 0xAA until more than 3 whole seconds have passed. Logs every probe and every
// answer, a bare "0" when no byte came. False when the time ran out or a probe could not be sent.
bool AutoBaudHandshake(SerialPort& port, MessageLog& log, const SecondsClock& clock = SteadyClockSeconds);

// Writes the low 8 bits of the bus address to object 0x03, instance 1, attribute 1. Success when a whole, intact
// frame other than an error answer comes back.
bool SendBusAddress(SerialPort& port, SequenceCounter& sequence, MessageLog& log, std::int32_t busAddress);

// Writes 1 to object 0x00, instance 2, attribute 0. Success as for SendBusAddress.
bool GoOnline(SerialPort& port, SequenceCounter& sequence, MessageLog& log);

// Runs the handshake (only the detecting mode needs it), the bus address and the on-line request on the open port.
// Stops at the first step that fails; closing the port after a failure is the caller's.
ConnectionOutcome ConnectionSequence(SerialPort& port, SequenceCounter& sequence, MessageLog& log,
                                     OperatingMode operatingMode, std::int32_t busAddress,
                                     const SecondsClock& clock = SteadyClockSeconds);

} // namespace trelmo

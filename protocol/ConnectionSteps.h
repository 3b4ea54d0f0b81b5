#pragma once
// The steps that bring the module on line after the port is open: the auto-baud handshake (only in the automatic
// baud rate mode), the bus address and the on-line request. Plain logic; the window shows the outcome.

#include "Frame.h"
#include "MessageLog.h"
#include "SerialPort.h"

#include <QString>

#include <cstdint>
#include <functional>

namespace trelmo {

// Wall-clock time in whole seconds; tests inject their own so they need not wait.
using WallClock = std::function<long()>;
long WallClockSeconds();

constexpr long AutoBaudTimeLimitSeconds = 3;
constexpr std::uint8_t AutoBaudProbeByte = 0x55;
constexpr std::uint8_t AutoBaudAnswerByte = 0xAA;

constexpr int ConnectionSucceeded = 0;
constexpr int TextAutoBaudFailed = 103;   // "Connection failed! ERROR:01"
constexpr int TextBusAddressFailed = 105; // "Connection failed! ERROR:02"
constexpr int TextGoOnlineFailed = 106;   // "Connection failed! ERROR:04"

// Sends 0x55 0x55 and waits for 0xAA until more than 3 whole seconds have passed. Logs every probe and every
// answer, a bare "0" when no byte came. False when the time ran out or a probe could not be sent.
bool AutoBaudHandshake(SerialPort& port, MessageLog& log, const WallClock& clock = WallClockSeconds);

// Writes the low 8 bits of the bus address to object 0x03, instance 1, attribute 1. Success when a whole, intact
// frame other than an error answer comes back.
bool SendBusAddress(SerialPort& port, SequenceCounter& sequence, MessageLog& log, std::int32_t busAddress);

// Writes 1 to object 0x00, instance 2, attribute 0. Success as for SendBusAddress.
bool GoOnline(SerialPort& port, SequenceCounter& sequence, MessageLog& log);

// The handshake runs unless the mode is exactly one of the two fixed-rate UART modes.
bool NeedsAutoBaudHandshake(const QString& operatingMode);

// Runs the handshake (when the mode needs it), the bus address and the on-line request on the open port.
// Returns ConnectionSucceeded or the id of the failure text; closing the port after a failure is the caller's.
int ConnectionSequence(SerialPort& port, SequenceCounter& sequence, MessageLog& log, const QString& operatingMode,
                       std::int32_t busAddress, const WallClock& clock = WallClockSeconds);

} // namespace trelmo

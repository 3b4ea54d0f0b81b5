#pragma once
// The steps that bring the module on line after the port is open: the auto-baud handshake (only in the automatic
// baud rate mode), the bus address and the on-line request. Plain logic; the window shows the outcome.

#include "Frame.h"
#include "LineSettings.h"
#include "LoggedExchange.h"
#include "MessageLog.h"
#include "SerialPort.h"

#include <cstdint>
#include <functional>

namespace trelmo {

// Whole seconds of the steady (monotonic) clock; tests inject their own so they need not wait.
using SecondsClock = std::function<long()>;
long SteadyClockSeconds();

constexpr long AutoBaudTimeLimitSeconds = 3;

// Asked after each probe of a running handshake (and may read flags set from another thread); true ends it. Empty
// when nothing stops it.
using StopFlag = std::function<bool()>;

// How the connection sequence ended: on line, or which step failed.
enum class ConnectionOutcome { Online, AutoBaudFailed, BusAddressFailed, GoOnlineFailed };

struct ConnectionResult {
    ConnectionOutcome step = ConnectionOutcome::Online;
    ExchangeOutcome exchange = ExchangeOutcome::Answered; // how the failed step's last exchange ended
};

// Sends 0x55 0x55 and waits for 0xAA until more than 3 whole seconds have passed. Logs every probe and every
// answer, a bare "0" when no byte came. Answered when 0xAA came; otherwise how the last probe went (NotSent,
// NoAnswer, or BrokenAnswer for anything but 0xAA). A raised stop flag ends it as if the time were up.
ExchangeOutcome AutoBaudHandshake(SerialPort& port, MessageLog& log, const SecondsClock& clock = SteadyClockSeconds,
                                  const StopFlag& stop = {});

// Writes the low 8 bits of the bus address to object 0x03, instance 1, attribute 1. Done when Answered: a whole,
// intact frame other than an error answer came back.
ExchangeOutcome SendBusAddress(SerialPort& port, SequenceCounter& sequence, MessageLog& log, std::int32_t busAddress);

// Writes 1 to object 0x00, instance 2, attribute 0. Judged as SendBusAddress.
ExchangeOutcome GoOnline(SerialPort& port, SequenceCounter& sequence, MessageLog& log);

// Runs the handshake (only the detecting mode needs it), the bus address and the on-line request on the open port.
// Stops at the first step that fails; closing the port after a failure is the caller's.
ConnectionResult ConnectionSequence(SerialPort& port, SequenceCounter& sequence, MessageLog& log,
                                     OperatingMode operatingMode, std::int32_t busAddress,
                                     const SecondsClock& clock = SteadyClockSeconds, const StopFlag& stop = {});

} // namespace trelmo

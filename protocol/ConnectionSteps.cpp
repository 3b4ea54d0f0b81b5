#include "ConnectionSteps.h"

#include "LoggedExchange.h"

#include <chrono>

namespace trelmo {
namespace {

constexpr std::size_t ConnectionAnswerCapacity = 20;

// Sends a connection request and takes its answer; both are logged. Only a whole, intact frame that is not the
// module's error answer counts as an answer.
bool ExchangeConnectionRequest(SerialPort& port, MessageLog& log, const Bytes& request)
{
    if (!SendLoggedFrame(port, log, request))
        return false;
    const std::optional<Bytes> answer = ReceiveLoggedAnswer(port, log, ConnectionAnswerCapacity);
    return answer && IsIntactFrame(*answer) && (*answer)[ModuleFrame::FrameType] != ErrorAnswer;
}

} // namespace

long SteadyClockSeconds()
{
    // Whole seconds of a clock that never steps, so that setting the system time neither prolongs nor cuts the
    // handshake.
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<long>(std::chrono::duration_cast<std::chrono::seconds>(now).count());
}

bool AutoBaudHandshake(SerialPort& port, MessageLog& log, const SecondsClock& clock)
{
    const long start = clock();
    const std::uint8_t probe[2] = {AutoBaudProbeByte, AutoBaudProbeByte};
    while (clock() - start <= AutoBaudTimeLimitSeconds) {
        if (!SendLoggedFrame(port, log, probe, sizeof probe))
            return false;

        const std::optional<Bytes> answer = ReceiveLoggedAnswer(port, log, 1, AnswerWait::Probe);
        if (answer && *answer == Bytes{AutoBaudAnswerByte})
            return true;
    }
    return false;
}

bool SendBusAddress(SerialPort& port, SequenceCounter& sequence, MessageLog& log, std::int32_t busAddress)
{
    const Bytes request = AssembleObjectFrame(sequence.Take(), Request, ServiceWrite, BusAddressAttribute,
                                              {static_cast<std::uint8_t>(busAddress & 0xFF)});
    return ExchangeConnectionRequest(port, log, request);
}

bool GoOnline(SerialPort& port, SequenceCounter& sequence, MessageLog& log)
{
    const Bytes request = AssembleObjectFrame(sequence.Take(), Request, ServiceWrite, OnlineAttribute, {1});
    return ExchangeConnectionRequest(port, log, request);
}

ConnectionOutcome ConnectionSequence(SerialPort& port, SequenceCounter& sequence, MessageLog& log,
                                     OperatingMode operatingMode, std::int32_t busAddress, const SecondsClock& clock)
{
    if (operatingMode == OperatingMode::AutoBaud && !AutoBaudHandshake(port, log, clock))
        return ConnectionOutcome::AutoBaudFailed;
    if (!SendBusAddress(port, sequence, log, busAddress))
        return ConnectionOutcome::BusAddressFailed;
    if (!GoOnline(port, sequence, log))
        return ConnectionOutcome::GoOnlineFailed;
    return ConnectionOutcome::Online;
}

} // namespace trelmo

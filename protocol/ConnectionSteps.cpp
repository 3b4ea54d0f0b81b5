#include "ConnectionSteps.h"

#include "LoggedExchange.h"

#include <chrono>

namespace trelmo {
namespace {

constexpr std::size_t ConnectionAnswerCapacity = 20;

// Sends a connection request and takes its answer; both are logged.
ExchangeOutcome ExchangeConnectionRequest(SerialPort& port, MessageLog& log, const Bytes& request)
{
    if (!SendLoggedFrame(port, log, request))
        return ExchangeOutcome::NotSent;
    return JudgeAnswer(ReceiveLoggedAnswer(port, log, ConnectionAnswerCapacity).value_or(Bytes()));
}

} // namespace

long SteadyClockSeconds()
{
    // Whole seconds of a clock that never steps, so that setting the system time neither prolongs nor cuts the
    // handshake.
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<long>(std::chrono::duration_cast<std::chrono::seconds>(now).count());
}

ExchangeOutcome AutoBaudHandshake(SerialPort& port, MessageLog& log, const SecondsClock& clock, const StopFlag& stop)
{
    const long start = clock();
    const std::uint8_t probe[2] = {AutoBaudProbeByte, AutoBaudProbeByte};
    ExchangeOutcome last = ExchangeOutcome::NoAnswer;
    while (clock() - start <= AutoBaudTimeLimitSeconds && !(stop && stop())) {
        if (!SendLoggedFrame(port, log, probe, sizeof probe))
            return ExchangeOutcome::NotSent;

        const Bytes answer = ReceiveLoggedAnswer(port, log, 1, AnswerWait::Probe).value_or(Bytes());
        if (answer == Bytes{AutoBaudAnswerByte})
            return ExchangeOutcome::Answered;
        last = answer.empty() ? ExchangeOutcome::NoAnswer : ExchangeOutcome::BrokenAnswer;
    }
    return last;
}

ExchangeOutcome SendBusAddress(SerialPort& port, SequenceCounter& sequence, MessageLog& log, std::int32_t busAddress)
{
    const Bytes request = AssembleObjectFrame(sequence.Take(), Request, ServiceWrite, BusAddressAttribute,
                                              {static_cast<std::uint8_t>(busAddress & 0xFF)});
    return ExchangeConnectionRequest(port, log, request);
}

ExchangeOutcome GoOnline(SerialPort& port, SequenceCounter& sequence, MessageLog& log)
{
    const Bytes request = AssembleObjectFrame(sequence.Take(), Request, ServiceWrite, OnlineAttribute, {1});
    return ExchangeConnectionRequest(port, log, request);
}

ConnectionResult ConnectionSequence(SerialPort& port, SequenceCounter& sequence, MessageLog& log,
                                    OperatingMode operatingMode, std::int32_t busAddress, const SecondsClock& clock,
                                    const StopFlag& stop)
{
    using O = ConnectionOutcome;
    ExchangeOutcome exchange = ExchangeOutcome::Answered;
    if (operatingMode == OperatingMode::AutoBaud
        && (exchange = AutoBaudHandshake(port, log, clock, stop)) != ExchangeOutcome::Answered)
        return {O::AutoBaudFailed, exchange};
    if ((exchange = SendBusAddress(port, sequence, log, busAddress)) != ExchangeOutcome::Answered)
        return {O::BusAddressFailed, exchange};
    if ((exchange = GoOnline(port, sequence, log)) != ExchangeOutcome::Answered)
        return {O::GoOnlineFailed, exchange};
    return {};
}

} // namespace trelmo

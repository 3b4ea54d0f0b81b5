#include "ConnectionSteps.h"

#include "DemoApp.h"
#include "LoggedExchange.h"

#include <ctime>

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

long WallClockSeconds()
{
    return static_cast<long>(std::time(nullptr));
}

bool AutoBaudHandshake(SerialPort& port, MessageLog& log, const WallClock& clock)
{
    const long start = clock();
    const std::uint8_t probe[2] = {AutoBaudProbeByte, AutoBaudProbeByte};
    while (clock() - start <= AutoBaudTimeLimitSeconds) {
        if (!SendLoggedFrame(port, log, probe, sizeof probe))
            return false;

        std::uint8_t answer = 0;
        std::size_t read = 0;
        if (port.ReceiveAvailable(&answer, 1, &read)) {
            log.Append(BytesToHexText(&answer, read, 0));
            if (read == 1 && answer == AutoBaudAnswerByte)
                return true;
        }
    }
    return false;
}

bool SendBusAddress(SerialPort& port, SequenceCounter& sequence, MessageLog& log, std::int32_t busAddress)
{
    const Bytes request = AssembleObjectFrame(sequence.Take(), Request, ServiceWrite, 0x03, 1, 1,
                                              {static_cast<std::uint8_t>(busAddress & 0xFF)});
    return ExchangeConnectionRequest(port, log, request);
}

bool GoOnline(SerialPort& port, SequenceCounter& sequence, MessageLog& log)
{
    const Bytes request = AssembleObjectFrame(sequence.Take(), Request, ServiceWrite, 0x00, 2, 0, {1});
    return ExchangeConnectionRequest(port, log, request);
}

bool NeedsAutoBaudHandshake(const QString& operatingMode)
{
    return operatingMode != QLatin1String(OperatingMode9600) && operatingMode != QLatin1String(OperatingMode115200);
}

int ConnectionSequence(SerialPort& port, SequenceCounter& sequence, MessageLog& log, const QString& operatingMode,
                       std::int32_t busAddress, const WallClock& clock)
{
    if (NeedsAutoBaudHandshake(operatingMode) && !AutoBaudHandshake(port, log, clock))
        return TextAutoBaudFailed;
    if (!SendBusAddress(port, sequence, log, busAddress))
        return TextBusAddressFailed;
    if (!GoOnline(port, sequence, log))
        return TextGoOnlineFailed;
    return ConnectionSucceeded;
}

} // namespace trelmo

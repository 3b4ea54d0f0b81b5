#include "LoggedExchange.h"

#include "HexText.h"

namespace trelmo {
namespace {

bool Receive(SerialPort& port, AnswerWait wait, std::uint8_t* buffer, std::size_t capacity, std::size_t* received)
{
    switch (wait) {
    case AnswerWait::Cyclic:
        return port.ReceiveBytesSlow(buffer, capacity, received);
    case AnswerWait::Probe:
        return port.ReceiveAvailable(buffer, capacity, received);
    case AnswerWait::Request:
        break;
    }
    return port.ReceiveBytes(buffer, capacity, received);
}

} // namespace

ExchangeOutcome JudgeAnswer(const Bytes& received)
{
    if (received.empty())
        return ExchangeOutcome::NoAnswer;
    if (!IsIntactFrame(received))
        return ExchangeOutcome::BrokenAnswer;
    return received[ModuleFrame::FrameType] == ErrorAnswer ? ExchangeOutcome::Refused : ExchangeOutcome::Answered;
}

void SetAsideWaitingBytes(SerialPort& port, MessageLog& log)
{
    const Bytes waiting = port.TakeWaitingBytes(MaxSetAsideBytes);
    if (!waiting.empty())
        log.Append(BytesToHexText(waiting, 0), /*setAside=*/true);
}

bool SendLoggedFrame(SerialPort& port, MessageLog& log, const std::uint8_t* bytes, std::size_t count)
{
    SetAsideWaitingBytes(port, log);
    std::size_t written = 0;
    if (!port.SendBytes(bytes, count, &written))
        return false;
    log.Append(BytesToHexText(bytes, written, 1));
    return true;
}

std::optional<Bytes> ReceiveLoggedAnswer(SerialPort& port, MessageLog& log, std::size_t capacity, AnswerWait wait)
{
    Bytes answer(capacity);
    std::size_t received = 0;
    if (!Receive(port, wait, answer.data(), capacity, &received))
        return std::nullopt;
    answer.resize(received);
    log.Append(BytesToHexText(answer, 0));
    return answer;
}

std::optional<Bytes> ReceiveLoggedPieces(SerialPort& port, MessageLog& log, std::size_t expected,
                                         std::size_t pieceCapacity, int maxReads, Bytes* gatheredSoFar)
{
    Bytes answer;
    for (int read = 0; read < maxReads && answer.size() < expected; ++read) {
        const std::size_t gathered = answer.size();
        answer.resize(gathered + pieceCapacity);
        std::size_t received = 0;
        if (!port.ReceiveBytes(answer.data() + gathered, pieceCapacity, &received)) {
            answer.resize(gathered);
            if (gatheredSoFar)
                *gatheredSoFar = std::move(answer);
            return std::nullopt;
        }
        answer.resize(gathered + received);
    }
    log.Append(BytesToHexText(answer, 0));
    return answer;
}

} // namespace trelmo

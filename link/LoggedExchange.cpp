#include "LoggedExchange.h"

namespace trelmo {

void SetAsideWaitingBytes(SerialPort& port, MessageLog& log)
{
    const Bytes waiting = port.TakeWaitingBytes(MaxSetAsideBytes);
    if (!waiting.empty())
        log.Append(BytesToHexText(waiting, 0));
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
    const bool got = wait == AnswerWait::Cyclic ? port.ReceiveBytesSlow(answer.data(), capacity, &received)
                                                : port.ReceiveBytes(answer.data(), capacity, &received);
    if (!got)
        return std::nullopt;
    answer.resize(received);
    log.Append(BytesToHexText(answer, 0));
    return answer;
}

} // namespace trelmo

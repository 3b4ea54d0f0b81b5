#pragma once
// Sending a request and receiving its answer with both logged, the way every exchange with the module does it.
// Bytes that are already waiting when a request is about to go out are late answers to earlier requests, or noise:
// they are read, logged as a received line and set aside, so that they are never taken as the new answer.

#include "Frame.h"
#include "MessageLog.h"
#include "SerialPort.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace trelmo {

// How one exchange with the module ended; every operation reports its failing exchange as one of these.
enum class ExchangeOutcome {
    NotSent,      // the request could not be written: the port is gone
    NoAnswer,     // nothing came back
    BrokenAnswer, // something came back, but not one whole frame with a correct CRC
    Refused,      // the module's error answer
    Answered,     // a whole, intact frame other than an error answer
};

// Judges the bytes that came back to a request (empty: nothing came back).
ExchangeOutcome JudgeAnswer(const Bytes& received);

// At most this much is set aside before one request; a flood beyond it is left to the next one.
constexpr std::size_t MaxSetAsideBytes = 16384;

// Reads whatever is waiting on the port and logs it as one received line marked set aside; nothing is logged when
// nothing waits.
void SetAsideWaitingBytes(SerialPort& port, MessageLog& log);

// Sets aside waiting bytes, writes the frame and logs the bytes written as a sent line. False when the write failed
// (the port is then closed); nothing is logged then.
bool SendLoggedFrame(SerialPort& port, MessageLog& log, const std::uint8_t* bytes, std::size_t count);
inline bool SendLoggedFrame(SerialPort& port, MessageLog& log, const Bytes& frame)
{
    return SendLoggedFrame(port, log, frame.data(), frame.size());
}

// How long the receive waits: 50 ms after a request, 300 ms after a cyclic I/O frame. After a baud-rate probe it
// waits 50 ms and no byte at all is an answer too, logged as the bare direction character.
enum class AnswerWait { Request, Cyclic, Probe };

// Receives one answer of at most capacity bytes and logs exactly those bytes as a received line. Empty when nothing
// arrived (nothing is logged then).
std::optional<Bytes> ReceiveLoggedAnswer(SerialPort& port, MessageLog& log,
                                         std::size_t capacity = ModuleFrame::BufferSize,
                                         AnswerWait wait = AnswerWait::Request);

// Receives an answer that may arrive in pieces: up to maxReads receives (50 ms each) of at most pieceCapacity bytes,
// until at least `expected` bytes are in, and logs them all as one received line. Empty when a receive gets nothing;
// the bytes gathered until then are not logged, but given in *gatheredSoFar when asked for, so that a shorter answer
// (an error answer) can still be judged.
std::optional<Bytes> ReceiveLoggedPieces(SerialPort& port, MessageLog& log, std::size_t expected,
                                         std::size_t pieceCapacity, int maxReads, Bytes* gatheredSoFar = nullptr);

} // namespace trelmo

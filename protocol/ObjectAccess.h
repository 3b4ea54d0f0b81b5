#pragma once
// Reading and writing one attribute of the module's object model: the request frame, the data of a response, and
// the read and write exchanges. Plain logic on addresses and bytes; reading what a user typed is the front end's.

#include "Frame.h"
#include "LoggedExchange.h"
#include "MessageLog.h"
#include "SerialPort.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace trelmo {

// An object request (FrameType Request) of 12 + data.size() bytes; takes one value of the counter.
Bytes BuildObjectRequest(SequenceCounter& counter, std::uint8_t service, std::uint8_t object, std::uint16_t instance,
                         std::uint16_t attribute, const Bytes& data = {});

// The data bytes of a received response. With a plausible Length (at least 6, and no more data than arrived) these
// are the Length - 6 bytes from offset 10; otherwise everything that arrived from offset 10 on. Never reads past
// the bytes received.
Bytes ResponseData(const std::uint8_t* bytes, std::size_t received);

// How a read or a write ended: done, or which step failed.
enum class AccessOutcome {
    ReadAnswered,      // a Response came back
    ReadNotSent,
    ReadNotAnswered,   // nothing, or nothing but a whole, intact Response, came back
    WriteAnswered,     // the write request was answered with a Response
    ProbeNotSent,
    ProbeNotAnswered,
    WriteTooLong,      // more bytes than the probed attribute holds
    WriteNotSent,
    WriteNotAnswered,  // nothing, or something other than a whole, intact Response, came back
};

struct AccessResult {
    AccessOutcome outcome;
    std::optional<Bytes> responseData; // set when a read was answered
    // How the exchange that ended the access went (Answered also when the write was refused for its length).
    ExchangeOutcome exchange = ExchangeOutcome::Answered;
};

// Sends a read request and judges the response by its FrameType.
AccessResult ReadAttribute(SerialPort& port, SequenceCounter& counter, MessageLog& log, const ObjectAddress& address);

// Probes the attribute's current size with a read, then writes the bytes if they fit. The bytes are at most the
// 242 a request holds.
AccessResult WriteAttribute(SerialPort& port, SequenceCounter& counter, MessageLog& log, const ObjectAddress& address,
                            const Bytes& data);

} // namespace trelmo

#pragma once
// Reading and writing one attribute of the module's object model: the request frame, the data of a response, and
// the read and write exchanges of the codes and hex bytes the user types. Plain logic, no windows: the object access
// dialog only moves texts and shows what an outcome means.

#include "Frame.h"
#include "LoggedExchange.h"
#include "MessageLog.h"
#include "SerialPort.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace trelmo {

// An object request (FrameType Request) of 12 + data.size() bytes; takes one value of the counter.
Bytes BuildObjectRequest(SequenceCounter& counter, std::uint8_t service, std::uint8_t object, std::uint16_t instance,
                         std::uint16_t attribute, const Bytes& data = {});

// The data bytes of a received response. With a plausible Length (at least 6, and no more data than arrived) these
// are the Length - 6 bytes from offset 10; otherwise everything that arrived from offset 10 on. Never reads past
// the bytes received.
Bytes ResponseData(const std::uint8_t* bytes, std::size_t received);

// What the checks of the Send action find before anything is sent.
enum class AccessCheck {
    Ready,
    CodesIncomplete,  // the object, instance or attribute code is empty
    InputDataMissing, // Write with no input data as typed
    ReservedObject,   // the object code that would be sent is 0xF0 or 0xF1
};

// How a read or a write ended: done, or which step failed.
enum class AccessOutcome {
    ReadAnswered,      // a Response came back
    ReadNotSent,
    ReadNotAnswered,   // nothing, or nothing but a whole, intact Response, came back
    WriteAnswered,     // the write request was answered with a Response
    WriteInputEmpty,   // the input data is blank only; nothing was sent
    WriteInputIllegal, // not hex bytes of one or two digits at single blanks, or more than fit a request
    ProbeNotSent,
    ProbeNotAnswered,
    WriteTooLong,      // more bytes than the probed attribute holds
    WriteNotSent,
    WriteNotAnswered,  // nothing, or something other than a whole, intact Response, came back
};

struct AccessResult {
    AccessOutcome outcome;
    std::optional<Bytes> responseData; // set when a read was answered
    // How the exchange that ended the access went (Answered also when nothing was sent for the input's sake).
    ExchangeOutcome exchange = ExchangeOutcome::Answered;
};

AccessCheck CheckAccessTexts(const std::string& objectText, const std::string& instanceText,
                             const std::string& attributeText, bool write, const std::string& inputDataText);

// Sends a read request for the typed codes and judges the response by its FrameType.
AccessResult ReadAttribute(SerialPort& port, SequenceCounter& counter, MessageLog& log,
                           const std::string& objectText, const std::string& instanceText,
                           const std::string& attributeText);

// Probes the attribute's current size with a read, then writes the typed bytes if they fit.
AccessResult WriteAttribute(SerialPort& port, SequenceCounter& counter, MessageLog& log,
                            const std::string& objectText, const std::string& instanceText,
                            const std::string& attributeText, const std::string& inputDataText);

} // namespace trelmo

#pragma once
// Reading and writing one attribute of the module's object model: the request frame, the readers of the texts the
// user types, the display of response data, and the read and write exchanges. Plain logic, no windows: the object
// access dialog only moves texts and shows the messages a result asks for.

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

// A request must fit the module's 254-byte buffer: 12 bytes of frame around at most 242 data bytes.
constexpr std::size_t MaxObjectDataBytes = ModuleFrame::BufferSize - ModuleFrame::ObjectHeaderSize
    - ModuleFrame::Overhead;

// Text ids of the object access status field and of its messages.
namespace ObjectAccessText {
constexpr int IllegalInputData = 110;
constexpr int CodesIncomplete = 126;
constexpr int InputDataMissing = 127;
constexpr int ReadFailed = 128;
constexpr int WriteFailed = 129;
constexpr int Error = 132;
constexpr int Right = 134;
constexpr int InputDataEmpty = 135;
constexpr int Failed = 136;
constexpr int Successful = 137;
constexpr int ReservedObject = 142;
} // namespace ObjectAccessText

// An object request (FrameType Request) of 12 + data.size() bytes; takes one value of the counter.
Bytes BuildObjectRequest(SequenceCounter& counter, std::uint8_t service, std::uint8_t object, std::uint16_t instance,
                         std::uint16_t attribute, const Bytes& data = {});

// The leading run of hex digits (either case) as a number, modulo 2^32; 0 when the text does not begin with one
// (a blank, a sign or "0x12" all read as 0). Callers keep the low 8 bits.
std::uint32_t ParseHexValue(const std::string& text);

// A signed decimal number after leading white space, modulo 2^32 ("-1" -> 0xFFFFFFFF); no digits give 0.
// Callers keep the low 16 bits.
std::int32_t ParseDecimalValue(const std::string& text);

// Leading and trailing blank, tab, CR, LF, VT and FF removed.
std::string TrimInputText(const std::string& text);

// Each line break (CR LF, CR or LF) replaced by one blank, so that pasted lines separate pieces as a blank does.
std::string JoinInputLines(const std::string& text);

// The number of blanks (0x20) and line breaks in the text plus one.
std::size_t CountHexTokens(const std::string& text);

// The bytes of a hex text: trimmed, cut at every single blank or line break, each piece read by ParseHexValue
// (low 8 bits). An empty or blank-only text gives no bytes. "0102" is one piece (0x02); "1 2 3" gives 01 02 03.
Bytes ParseHexByteList(const std::string& text);

// True when the trimmed text stands for at most MaxObjectDataBytes bytes and every piece is one or two hex digits
// (so no two blanks in a row, and nothing that ParseHexByteList would cut short). The empty text is legal: it holds
// no bytes.
bool IsLegalHexByteList(const std::string& text);

// "%02x " per byte: {0x0A, 0xFF} -> "0a ff ".
std::string FormatResponseData(const std::uint8_t* bytes, std::size_t count);
inline std::string FormatResponseData(const Bytes& bytes)
{
    return FormatResponseData(bytes.data(), bytes.size());
}

// The data bytes of a received response. With a plausible Length (at least 6, and no more data than arrived) these
// are the Length - 6 bytes from offset 10; otherwise everything that arrived from offset 10 on. Never reads past
// the bytes received.
Bytes ResponseData(const std::uint8_t* bytes, std::size_t received);

// What a read or write asks the dialog to show.
struct AccessResult {
    bool success = false;
    std::optional<int> statusTextId;              // empty: leave the status field as it is
    std::optional<std::string> responseDataText;  // set by a successful read only
    std::vector<int> messages;                    // text ids of the message boxes, in order
};

// The checks of the Send action before anything is sent: 126 when a code is empty, 127 for Write with no input
// data as typed, 142 for the object code texts "F0", "f0", "F1" and "f1". Returns 0 when Send may go on.
int CheckAccessTexts(const std::string& objectText, const std::string& instanceText,
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

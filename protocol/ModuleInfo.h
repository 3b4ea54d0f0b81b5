#pragma once
// The module's identity: two object reads (objects 0x02 and 0x00, instance 1, attribute 0) and the decoding of the
// replies by position into six texts. Plain logic, no windows.

#include "Frame.h"
#include "LoggedExchange.h"
#include "MessageLog.h"
#include "SerialPort.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace trelmo {

// The six texts. NetworkType and ProductType hold the module's 8-bit characters unchanged (shown as Latin-1).
struct ModuleInfo {
    std::string NetworkType;
    std::string ProductType;
    std::string SerialNumber;
    std::string ProductionDate;
    std::string HardwareVersion;
    std::string FirmwareVersion;
};

// How a reply is gathered; where its fields lie is the protocol's (ModuleInfoReply in Protocol.h).
namespace ModuleInfoReply {
constexpr std::size_t ReadCapacity = 43;  // room per receive
constexpr int MaxReads = 8;               // receives per reply at most
} // namespace ModuleInfoReply

// Bytes 10 to 29 as characters, up to the first zero byte. Bytes beyond the reply's end read as zero.
std::string ReplyText(const Bytes& reply);

// Unsigned decimal: 80 00 00 00 -> "2147483648".
std::string FormatSerialNumber(std::uint32_t value);
// "%x%02x-%x-%x": 20 13 08 13 -> "2013-8-13", 20 05 01 0A -> "2005-1-a".
std::string FormatProductionDate(std::uint8_t century, std::uint8_t year, std::uint8_t month, std::uint8_t day);
// "%d.%d": 1, 2 -> "1.2".
std::string FormatVersion(std::uint16_t major, std::uint16_t minor);

// The six texts from the two replies, by position; missing bytes read as zero.
ModuleInfo DecodeModuleInfo(const Bytes& firstReply, const Bytes& secondReply);

struct ModuleInfoResult {
    std::optional<ModuleInfo> info;                       // given only once both replies are in
    ExchangeOutcome exchange = ExchangeOutcome::Answered; // how the read that failed went
};

// Reads both objects, logging each request and each gathered reply (one received line per reply). No texts when a
// write fails, a receive gets nothing or a reply is not a whole, intact frame other than an error answer.
ModuleInfoResult ReadModuleInfo(SerialPort& port, SequenceCounter& counter, MessageLog& log);

} // namespace trelmo

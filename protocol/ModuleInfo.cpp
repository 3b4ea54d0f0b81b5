#include "ModuleInfo.h"

#include "LoggedExchange.h"

#include <cstdio>

namespace trelmo {
namespace {

std::uint8_t ByteAt(const Bytes& reply, std::size_t offset)
{
    return offset < reply.size() ? reply[offset] : 0;
}

std::uint16_t Word16At(const Bytes& reply, std::size_t offset)
{
    return static_cast<std::uint16_t>(ByteAt(reply, offset) << 8 | ByteAt(reply, offset + 1));
}

std::uint32_t Word32At(const Bytes& reply, std::size_t offset)
{
    return static_cast<std::uint32_t>(Word16At(reply, offset)) << 16 | Word16At(reply, offset + 2);
}

std::string VersionAt(const Bytes& reply, std::size_t offset)
{
    return FormatVersion(Word16At(reply, offset), Word16At(reply, offset + 2));
}

// Sends a read request for the address, then gathers its reply in up to MaxReads receives until it holds
// `expected` bytes; the reply is logged as one received line. Answered with the reply in *reply; otherwise how it
// failed: a receive that gets nothing ends the gathering, and what was gathered until then is judged (a short error
// answer). Fields beyond a shorter reply decode as zeros.
ExchangeOutcome ReadReply(SerialPort& port, SequenceCounter& counter, MessageLog& log, const ObjectAddress& address,
                          std::size_t expected, Bytes* reply)
{
    using namespace ModuleInfoReply;
    if (!SendLoggedFrame(port, log, AssembleObjectFrame(counter.Take(), Request, ServiceRead, address)))
        return ExchangeOutcome::NotSent;
    Bytes gathered;
    const std::optional<Bytes> whole = ReceiveLoggedPieces(port, log, expected, ReadCapacity, MaxReads, &gathered);
    if (whole) {
        *reply = *whole;
        return JudgeAnswer(*reply);
    }
    // Cut short: never a reply, whatever its first bytes were.
    const ExchangeOutcome judged = JudgeAnswer(gathered);
    return judged == ExchangeOutcome::Answered ? ExchangeOutcome::BrokenAnswer : judged;
}

} // namespace

std::string ReplyText(const Bytes& reply)
{
    using namespace ModuleInfoReply;
    std::string text;
    for (std::size_t offset = Text; offset < Text + TextSize; ++offset) {
        const std::uint8_t c = ByteAt(reply, offset);
        if (c == 0)
            break;
        text.push_back(static_cast<char>(c));
    }
    return text;
}

std::string FormatSerialNumber(std::uint32_t value)
{
    return std::to_string(value);
}

std::string FormatProductionDate(std::uint8_t century, std::uint8_t year, std::uint8_t month, std::uint8_t day)
{
    char text[16];
    std::snprintf(text, sizeof text, "%x%02x-%x-%x", century, year, month, day);
    return text;
}

std::string FormatVersion(std::uint16_t major, std::uint16_t minor)
{
    return std::to_string(major) + "." + std::to_string(minor);
}

ModuleInfo DecodeModuleInfo(const Bytes& firstReply, const Bytes& secondReply)
{
    using namespace ModuleInfoReply;
    ModuleInfo info;
    info.NetworkType = ReplyText(firstReply);
    info.ProductType = ReplyText(secondReply);
    info.SerialNumber = FormatSerialNumber(Word32At(secondReply, SerialNumber));
    info.ProductionDate = FormatProductionDate(ByteAt(secondReply, ProductionDate),
                                               ByteAt(secondReply, ProductionDate + 1),
                                               ByteAt(secondReply, ProductionDate + 2),
                                               ByteAt(secondReply, ProductionDate + 3));
    info.HardwareVersion = VersionAt(secondReply, HardwareVersion);
    info.FirmwareVersion = VersionAt(secondReply, FirmwareVersion);
    return info;
}

ModuleInfoResult ReadModuleInfo(SerialPort& port, SequenceCounter& counter, MessageLog& log)
{
    Bytes first;
    Bytes second;
    ExchangeOutcome exchange = ReadReply(port, counter, log, NetworkInfoAttribute, ModuleInfoReply::FirstSize, &first);
    if (exchange == ExchangeOutcome::Answered)
        exchange = ReadReply(port, counter, log, ModuleInfoAttribute, ModuleInfoReply::SecondSize, &second);
    if (exchange != ExchangeOutcome::Answered)
        return {std::nullopt, exchange};
    return {DecodeModuleInfo(first, second), exchange};
}

} // namespace trelmo

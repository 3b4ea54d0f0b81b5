#include "FrameDecoder.h"

#include <QDateTime>

#include <algorithm>
#include <chrono>

namespace trelmo {
namespace {

LineKind KindOfFrameType(std::uint8_t frameType)
{
    switch (frameType) {
    case IoData:
        return LineKind::IoData;
    case Request:
        return LineKind::Request;
    case Response:
        return LineKind::Response;
    case ErrorAnswer:
        return LineKind::ErrorAnswer;
    }
    return LineKind::Unknown;
}

bool CarriesObjectHeader(LineKind kind)
{
    return kind == LineKind::Request || kind == LineKind::Response || kind == LineKind::ErrorAnswer;
}

std::optional<LineKind> HandshakeKind(const Bytes& bytes, LineDirection direction)
{
    if (bytes.empty())
        return LineKind::NoBytes;
    if (direction == LineDirection::Sent && bytes == Bytes{AutoBaudProbeByte, AutoBaudProbeByte})
        return LineKind::BaudRateProbe;
    if (direction == LineDirection::Received && bytes == Bytes{AutoBaudAnswerByte})
        return LineKind::ProbeAnswer;
    return std::nullopt;
}

void DecodeFrame(const Bytes& bytes, DecodedLine& decoded)
{
    using namespace ModuleFrame;
    const std::size_t size = bytes.size();
    decoded.kind = size > FrameType ? KindOfFrameType(bytes[FrameType]) : LineKind::Unknown;
    decoded.crc = CrcState::CutShort;
    if (size < HeaderSize)
        return;
    const std::uint16_t length = ReadBigEndian16(&bytes[Length]);
    decoded.length = length;
    const std::size_t bodyEnd = std::min(HeaderSize + length, size);
    std::size_t dataStart = HeaderSize;
    if (CarriesObjectHeader(decoded.kind) && length >= ObjectHeaderSize) {
        dataStart = std::min(Data, bodyEnd);
        if (size >= Data) {
            const ObjectAddress address{bytes[ObjectCode], ReadBigEndian16(&bytes[InstanceCode]),
                                        ReadBigEndian16(&bytes[AttributeCode])};
            decoded.objectHeader = ObjectHeader{bytes[Service], address};
        }
    }
    decoded.data.assign(bytes.begin() + static_cast<std::ptrdiff_t>(dataStart),
                        bytes.begin() + static_cast<std::ptrdiff_t>(bodyEnd));
    if (size >= length + Overhead)
        decoded.crc = IsIntactFrame(bytes) ? CrcState::Ok : CrcState::Bad;
}

} // namespace

DecodedLine DecodeLogEntry(const LogEntry& entry)
{
    DecodedLine decoded;
    decoded.time = LogTimeText(entry.microseconds);
    decoded.direction = IsSentLine(entry.line) ? LineDirection::Sent : LineDirection::Received;
    decoded.setAside = entry.setAside;
    const Bytes bytes = LogLineBytes(entry.line);
    if (const std::optional<LineKind> handshake = HandshakeKind(bytes, decoded.direction))
        decoded.kind = *handshake;
    else
        DecodeFrame(bytes, decoded);
    return decoded;
}

std::string LogTimeText(std::int64_t microseconds)
{
    // Rounded down, so that a time is never shown in the millisecond after its own.
    const auto milliseconds = std::chrono::floor<std::chrono::milliseconds>(std::chrono::microseconds(microseconds));
    return QDateTime::fromMSecsSinceEpoch(milliseconds.count())
        .toString(QStringLiteral("hh:mm:ss.zzz"))
        .toStdString();
}

} // namespace trelmo

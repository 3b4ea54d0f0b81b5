#include "Frame.h"

#include <algorithm>
#include <array>

namespace trelmo {
namespace {

// The two tables of the Modbus method: low-order and high-order bytes of the bitwise CRC of each index.
struct CrcTables {
    std::array<std::uint8_t, 256> low{};
    std::array<std::uint8_t, 256> high{};
    CrcTables()
    {
        for (unsigned index = 0; index < 256; ++index) {
            unsigned crc = index;
            for (int bit = 0; bit < 8; ++bit)
                crc = (crc & 1u) ? (crc >> 1) ^ 0xA001u : crc >> 1;
            low[index] = static_cast<std::uint8_t>(crc & 0xFFu);
            high[index] = static_cast<std::uint8_t>(crc >> 8);
        }
    }
};

const CrcTables& Tables()
{
    static const CrcTables tables;
    return tables;
}

} // namespace

std::uint16_t ComputeCrc16(const std::uint8_t* bytes, std::uint16_t count)
{
    const CrcTables& t = Tables();
    std::uint8_t first = 0xFF;
    std::uint8_t second = 0xFF;
    for (std::uint16_t i = 0; i < count; ++i) {
        const std::uint8_t index = first ^ bytes[i];
        first = second ^ t.low[index];
        second = t.high[index];
    }
    return static_cast<std::uint16_t>(first << 8 | second);
}

void PlaceCrc(std::uint8_t* frame, std::size_t length)
{
    const std::size_t covered = ModuleFrame::HeaderSize + length;
    const std::uint16_t crc = ComputeCrc16(frame, static_cast<std::uint16_t>(covered));
    frame[covered] = static_cast<std::uint8_t>(crc >> 8);
    frame[covered + 1] = static_cast<std::uint8_t>(crc & 0xFFu);
}

std::size_t IntactFrameSize(const std::uint8_t* bytes, std::size_t count)
{
    if (count < ModuleFrame::Overhead)
        return 0;
    const std::size_t covered = ModuleFrame::HeaderSize + ReadBigEndian16(bytes + ModuleFrame::Length);
    if (covered + 2 > count || covered > 0xFFFFu)
        return 0;
    const std::uint16_t crc = ComputeCrc16(bytes, static_cast<std::uint16_t>(covered));
    if (bytes[covered] != static_cast<std::uint8_t>(crc >> 8) || bytes[covered + 1] != static_cast<std::uint8_t>(crc))
        return 0;
    return covered + 2;
}

std::uint16_t ReadBigEndian16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] << 8 | p[1]);
}

void WriteBigEndian16(std::uint8_t* p, std::uint16_t value)
{
    p[0] = static_cast<std::uint8_t>(value >> 8);
    p[1] = static_cast<std::uint8_t>(value & 0xFFu);
}

Bytes AssembleFrame(std::uint8_t sequence, std::uint8_t frameType, const std::uint8_t* body, std::size_t bodySize)
{
    Bytes frame(bodySize + ModuleFrame::Overhead, 0);
    frame[ModuleFrame::Sequence] = sequence;
    frame[ModuleFrame::FrameType] = frameType;
    WriteBigEndian16(&frame[ModuleFrame::Length], static_cast<std::uint16_t>(bodySize));
    std::copy(body, body + bodySize, frame.begin() + ModuleFrame::HeaderSize);
    PlaceCrc(frame.data(), bodySize);
    return frame;
}

Bytes AssembleObjectFrame(std::uint8_t sequence, std::uint8_t frameType, std::uint8_t service, std::uint8_t object,
                          std::uint16_t instance, std::uint16_t attribute, const Bytes& data)
{
    Bytes body(ModuleFrame::ObjectHeaderSize + data.size(), 0);
    body[0] = service;
    body[1] = object;
    WriteBigEndian16(&body[2], instance);
    WriteBigEndian16(&body[4], attribute);
    std::copy(data.begin(), data.end(), body.begin() + ModuleFrame::ObjectHeaderSize);
    return AssembleFrame(sequence, frameType, body);
}

} // namespace trelmo

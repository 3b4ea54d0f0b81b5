#pragma once
// The frame layer shared by the tool and the virtual module: the request counter, CRC-16 and frame assembly.

#include "Protocol.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace trelmo {

using Bytes = std::vector<std::uint8_t>;

// Request counter: starts at 1, never reset; each frame built takes its low 8 bits and then counts one up.
class SequenceCounter {
public:
    std::uint8_t Take() { return static_cast<std::uint8_t>(value_++ & 0xFFu); }
    std::int32_t Value() const { return static_cast<std::int32_t>(value_); }
    void Set(std::int32_t v) { value_ = static_cast<std::uint32_t>(v); }

private:
    std::uint32_t value_ = 1; // wraps like the wire byte instead of overflowing a signed int
};

// Table-driven CRC-16 (reflected 0xA001, initial 0xFFFF). The high byte of the result is the first CRC byte on the
// wire, so the standard CRC-16/MODBUS value travels low-order byte first.
std::uint16_t ComputeCrc16(const std::uint8_t* bytes, std::uint16_t count);

// Writes the CRC over bytes [0, 4 + length) into bytes 4 + length and 5 + length.
void PlaceCrc(std::uint8_t* frame, std::size_t length);

// The size of the frame at the start of bytes when it arrived whole (Length + 6 bytes within count) with a correct
// CRC; 0 for anything else (too short, cut off, corrupted). Only such frames are interpreted.
std::size_t IntactFrameSize(const std::uint8_t* bytes, std::size_t count);
inline bool IsIntactFrame(const Bytes& bytes)
{
    return IntactFrameSize(bytes.data(), bytes.size()) != 0;
}

std::uint16_t ReadBigEndian16(const std::uint8_t* p);
void WriteBigEndian16(std::uint8_t* p, std::uint16_t value);

// Assembles a whole frame: sequence, frame type, big-endian Length = body size, body, CRC.
Bytes AssembleFrame(std::uint8_t sequence, std::uint8_t frameType, const std::uint8_t* body, std::size_t bodySize);
inline Bytes AssembleFrame(std::uint8_t sequence, std::uint8_t frameType, const Bytes& body)
{
    return AssembleFrame(sequence, frameType, body.data(), body.size());
}

// Object message frame (Request or Response): Service, ObjectCode, InstanceCode, AttributeCode, Data.
Bytes AssembleObjectFrame(std::uint8_t sequence, std::uint8_t frameType, std::uint8_t service, std::uint8_t object,
                          std::uint16_t instance, std::uint16_t attribute, const Bytes& data = {});
inline Bytes AssembleObjectFrame(std::uint8_t sequence, std::uint8_t frameType, std::uint8_t service,
                                 const ObjectAddress& address, const Bytes& data = {})
{
    return AssembleObjectFrame(sequence, frameType, service, address.object, address.instance, address.attribute,
                               data);
}

} // namespace trelmo

#pragma once
// The frame layer shared by the tool and the virtual module: layout, CRC-16 and the hex texts of the log.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace trelmo {

using Bytes = std::vector<std::uint8_t>;

// Byte offsets of a ModuleFrame. A whole frame is Length + 6 bytes.
namespace ModuleFrame {
constexpr std::size_t Sequence = 0;
constexpr std::size_t FrameType = 1;
constexpr std::size_t Length = 2;        // big-endian, bytes between Length and Crc
constexpr std::size_t Service = 4;
constexpr std::size_t ObjectCode = 5;
constexpr std::size_t InstanceCode = 6;  // big-endian
constexpr std::size_t AttributeCode = 8; // big-endian
constexpr std::size_t Data = 10;
constexpr std::size_t HeaderSize = 4;    // Sequence, FrameType, Length
constexpr std::size_t Overhead = 6;      // header + Crc
constexpr std::size_t ObjectHeaderSize = 6; // Service, ObjectCode, InstanceCode, AttributeCode
constexpr std::size_t BufferSize = 254;  // the host's buffer for variable frames
} // namespace ModuleFrame

// ErrorAnswer is how a module refuses a request; its Data holds an error code.
enum FrameTypeValue : std::uint8_t { IoData = 0, Request = 1, Response = 2, ErrorAnswer = 3 };
enum ServiceValue : std::uint8_t { ServiceRead = 1, ServiceWrite = 2 };

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
inline bool IsIntactFrame(const std::uint8_t* bytes, std::size_t count)
{
    return IntactFrameSize(bytes, count) != 0;
}
inline bool IsIntactFrame(const Bytes& bytes)
{
    return IsIntactFrame(bytes.data(), bytes.size());
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

// Direction 1 = sent by the host, anything else = received. "1" or "0", then "%02X " per byte.
std::string BytesToHexText(const std::uint8_t* bytes, std::size_t count, int direction);
inline std::string BytesToHexText(const Bytes& bytes, int direction)
{
    return BytesToHexText(bytes.data(), bytes.size(), direction);
}

// True when every character is 0-9 or A-F (uppercase); the empty text is true.
bool IsHexText(const std::string& text);

} // namespace trelmo

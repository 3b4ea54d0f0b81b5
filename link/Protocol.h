#pragma once
// The protocol's vocabulary, shared by the tool, the virtual module and the tests: the frame layout, frame types and
// services, the objects the tool names, the baud-rate handshake and the limits of the buffers on both sides.

#include <cstddef>
#include <cstdint>

namespace trelmo {

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
constexpr std::size_t EmptyObjectFrameSize = ObjectHeaderSize + Overhead; // an object frame without Data: 12
constexpr std::size_t BufferSize = 254;  // the host's buffer for variable frames
} // namespace ModuleFrame

// ErrorAnswer is how a module refuses a request; its Data holds an error code.
enum FrameTypeValue : std::uint8_t { IoData = 0, Request = 1, Response = 2, ErrorAnswer = 3 };
enum ServiceValue : std::uint8_t { ServiceRead = 1, ServiceWrite = 2 };

// One attribute of the module's object model.
struct ObjectAddress {
    std::uint8_t object;
    std::uint16_t instance;
    std::uint16_t attribute;
};

// The objects the tool names itself.
constexpr std::uint8_t ModuleObjectCode = 0x00;       // identity (instance 1) and on-line state (instance 2)
constexpr std::uint8_t NetworkObjectCode = 0x02;      // the network type
constexpr std::uint8_t BusAddressObjectCode = 0x03;   // the bus address
constexpr std::uint8_t AppConfigurationObjectCode = 0xF0; // configuration and parameter data the module hands over
constexpr std::uint8_t AppDataObjectCode = 0xF1;      // the application data objects the host offers

constexpr ObjectAddress BusAddressAttribute{BusAddressObjectCode, 1, 1};
constexpr ObjectAddress OnlineAttribute{ModuleObjectCode, 2, 0};
constexpr ObjectAddress NetworkInfoAttribute{NetworkObjectCode, 1, 0}; // first module information read
constexpr ObjectAddress ModuleInfoAttribute{ModuleObjectCode, 1, 0};   // second module information read

// The module hands over configuration data in instance 2 and parameter data in instance 3 of object 0xF0, both in
// attribute 1.
constexpr std::uint16_t ConfigurationDataInstance = 2;
constexpr std::uint16_t ParameterDataInstance = 3;
constexpr std::uint16_t HandOverAttribute = 1;

// Where the fields of the module information replies lie (offsets from a reply's first byte).
namespace ModuleInfoReply {
constexpr std::size_t Text = 10;            // 20 bytes, zero-padded
constexpr std::size_t TextSize = 20;
constexpr std::size_t SerialNumber = 30;    // 4 bytes, big-endian
constexpr std::size_t ProductionDate = 34;  // 4 bytes
constexpr std::size_t HardwareVersion = 38; // major, minor: 2 bytes each, big-endian
constexpr std::size_t FirmwareVersion = 42; // major, minor: 2 bytes each, big-endian
constexpr std::size_t FirstSize = 38;       // expected length of the reply for object 0x02
constexpr std::size_t SecondSize = 48;      // expected length of the reply for object 0x00
} // namespace ModuleInfoReply

// The baud-rate handshake: the host sends the probe byte twice, the module answers with one byte.
constexpr std::uint8_t AutoBaudProbeByte = 0x55;
constexpr std::uint8_t AutoBaudAnswerByte = 0xAA;

// The bus addresses a module takes.
constexpr int MinBusAddress = 1;
constexpr int MaxBusAddress = 126;

// An object request must fit the 254-byte buffer: 12 bytes of frame around at most 242 data bytes.
constexpr std::size_t MaxObjectDataBytes = ModuleFrame::BufferSize - ModuleFrame::EmptyObjectFrameSize;
// I/O write bytes in one cyclic frame.
constexpr int MaxIoWriteLength = 244;
// I/O data bytes in one frame at most, and so the longest body of any frame: the 250 cells of an I/O grid.
constexpr std::size_t MaxIoDataLength = 250;

} // namespace trelmo

#pragma once
// One frame-log line taken apart into the fields a decoded view shows. The bytes may come from the module and are
// not trusted: every field is read within the bytes the line holds, whatever Length declares. The fields are numbers,
// bytes and enums for the front ends to name; only the time is text.

#include "Frame.h"
#include "MessageLog.h"

#include <cstdint>
#include <optional>
#include <string>

namespace trelmo {

enum class LineDirection { Sent, Received };

// What a line holds: a frame by its FrameType, or a line of the auto-baud handshake.
enum class LineKind {
    NoBytes,       // a bare direction character: nothing came back to a probe
    BaudRateProbe, // 55 55 sent
    ProbeAnswer,   // AA received
    IoData,
    Request,
    Response,
    ErrorAnswer,
    Unknown, // a FrameType other than 0-3, or no FrameType byte
};

enum class CrcState {
    None,     // not a frame: a handshake line
    Ok,
    Bad,
    CutShort, // fewer bytes than Length + 6, or not even the header
};

struct ObjectHeader {
    std::uint8_t service = 0;
    ObjectAddress address{};
};

struct DecodedLine {
    std::string time; // local time of day, "hh:mm:ss.mmm"
    LineDirection direction = LineDirection::Received;
    LineKind kind = LineKind::NoBytes;
    std::optional<std::uint16_t> length; // the declared Length, once the header is there
    // Of a request, response or error answer whose Length covers it and whose bytes are there.
    std::optional<ObjectHeader> objectHeader;
    Bytes data; // after the header or object header, within the bytes there and the Length declared
    CrcState crc = CrcState::None;
    bool setAside = false; // waiting before a request and set aside, never taken as an answer
};

DecodedLine DecodeLogEntry(const LogEntry& entry);

// Microseconds since 1970 as the local time of day: "hh:mm:ss.mmm".
std::string LogTimeText(std::int64_t microseconds);

} // namespace trelmo

#pragma once
// Frame captures in the pcapng format that Wireshark and tshark read: one interface of link type USER0 (147), one
// Enhanced Packet Block per frame with its time in microseconds and its direction in the packet flags (outbound:
// sent by the host, inbound: received from the module).

#include "Frame.h"

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

namespace trelmo {

constexpr std::uint16_t PcapngLinkTypeUser0 = 147;

enum class CaptureDirection { Inbound, Outbound };

// The Section Header Block and the one Interface Description Block every capture starts with.
Bytes PcapngHeader();

// One Enhanced Packet Block: the frame's bytes, its time (microseconds since 1970) and its direction.
Bytes PcapngPacket(std::int64_t microseconds, CaptureDirection direction, const std::uint8_t* bytes, std::size_t count);

// Writes a capture file: the header at Open, then one block per packet.
class PcapngWriter {
public:
    // Creates (or replaces) the file and writes the header. False when the file cannot be written.
    bool Open(const std::string& path);
    // Appends a block made by PcapngPacket.
    bool WriteBlock(const Bytes& block);
    // Hands what was written to the file system, so that it is there whatever happens later; false when any write
    // failed. The file closes with the writer.
    bool Flush();

private:
    std::ofstream file_;
    bool ok_ = false;
};

} // namespace trelmo

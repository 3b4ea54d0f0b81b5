#pragma once
// Bytes as tests write and read them: hex text, frames closed by their CRC, frames joined into a stream and a
// stream cut back into frames.

#include "Frame.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace trelmo::testing {

// "05 01 0A" -> {0x05, 0x01, 0x0A}: whitespace-separated hex pairs.
Bytes Hex(const std::string& text);
// The piece count times, with single blanks between: typed hex bytes of a given count ("01 01 01").
std::string Repeat(const std::string& piece, int count);

// The frame as the tool sends it: the given bytes (Sequence and all) closed by their CRC.
Bytes WithCrc(Bytes frameWithoutCrc);

// An object request as the host sends it (FrameType Request).
Bytes HostRequest(std::uint8_t sequence, std::uint8_t service, std::uint8_t object, std::uint16_t instance,
                  std::uint16_t attribute, const Bytes& data = {});

// The frame with the last bit of its CRC flipped: a frame damaged on the line.
Bytes WithFlippedCrc(Bytes frame);
// Whether the frame's last two bytes are the CRC of the bytes before them.
bool CrcCloses(const Bytes& frame);

// The frames one after another, as they follow each other on the line.
Bytes Joined(std::initializer_list<Bytes> frames);

// Cuts a byte stream into auto-baud probes (55 55) and frames by their Length fields. A piece too short for the
// Length it declares ends the list as it is.
std::vector<Bytes> SplitFrames(const Bytes& stream);

// The object requests among frames (FrameType Request) that address the given object.
std::vector<Bytes> ObjectRequests(const std::vector<Bytes>& frames, std::uint8_t objectCode);

} // namespace trelmo::testing

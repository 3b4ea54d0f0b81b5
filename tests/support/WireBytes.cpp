#include "WireBytes.h"

#include <algorithm>
#include <sstream>

namespace trelmo::testing {

Bytes Hex(const std::string& text)
{
    Bytes bytes;
    std::istringstream in(text);
    std::string pair;
    while (in >> pair)
        bytes.push_back(static_cast<std::uint8_t>(std::stoul(pair, nullptr, 16)));
    return bytes;
}

std::string Repeat(const std::string& piece, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += (i ? " " : "") + piece;
    return text;
}

Bytes WithCrc(Bytes frame)
{
    frame.resize(frame.size() + 2);
    PlaceCrc(frame.data(), frame.size() - ModuleFrame::Overhead);
    return frame;
}

Bytes HostRequest(std::uint8_t sequence, std::uint8_t service, std::uint8_t object, std::uint16_t instance,
                  std::uint16_t attribute, const Bytes& data)
{
    return AssembleObjectFrame(sequence, Request, service, object, instance, attribute, data);
}

Bytes WithFlippedCrc(Bytes frame)
{
    frame.back() ^= 0x01;
    return frame;
}

bool CrcCloses(const Bytes& frame)
{
    if (frame.size() < 2)
        return false;
    const std::uint16_t crc = ComputeCrc16(frame.data(), static_cast<std::uint16_t>(frame.size() - 2));
    return frame[frame.size() - 2] == (crc >> 8) && frame[frame.size() - 1] == (crc & 0xFF);
}

Bytes Joined(std::initializer_list<Bytes> frames)
{
    Bytes all;
    for (const Bytes& frame : frames)
        all.insert(all.end(), frame.begin(), frame.end());
    return all;
}

std::vector<Bytes> SplitFrames(const Bytes& stream)
{
    std::vector<Bytes> pieces;
    std::size_t at = 0;
    while (at < stream.size()) {
        std::size_t size = stream.size() - at;
        if (size >= 2 && stream[at] == 0x55 && stream[at + 1] == 0x55)
            size = 2;
        else if (size >= ModuleFrame::HeaderSize)
            size = std::min<std::size_t>(size, ReadBigEndian16(&stream[at + ModuleFrame::Length])
                                                   + ModuleFrame::Overhead);
        pieces.emplace_back(stream.begin() + static_cast<std::ptrdiff_t>(at),
                            stream.begin() + static_cast<std::ptrdiff_t>(at + size));
        at += size;
    }
    return pieces;
}

std::vector<Bytes> ObjectRequests(const std::vector<Bytes>& frames, std::uint8_t objectCode)
{
    std::vector<Bytes> requests;
    for (const Bytes& frame : frames) {
        if (frame.size() > ModuleFrame::ObjectCode && frame[ModuleFrame::FrameType] == Request
            && frame[ModuleFrame::ObjectCode] == objectCode)
            requests.push_back(frame);
    }
    return requests;
}

} // namespace trelmo::testing

#pragma once
// Fuzz input turned into a module on the fake line: after each frame the host writes, the next piece of the input
// becomes the module's answer, so the fuzzer steers every exchange of a sequence. Each answer is
//   control byte c, size byte n, then n bytes (fewer at the end of the input), shaped by c; n = 0xFF is followed
//   by the size in two bytes, big-endian, for answers longer than the host's buffers:
//   c & 0x03  when it arrives: 0 at the request's wait, 1 one wait late, 2 split over two waits, 3 never
//   c & 0x04  the bytes follow the request's object header (as an object answer does) instead of standing alone
//   c & 0x08  the Length field is set to what follows it
//   c & 0x10  closed by its CRC (after the Length fix), so that it passes as a whole, intact frame
//   c & 0x20  the FrameType is the one in bit 0x40 and the next bit: 0 IoData, 1 Request, 2 Response, 3 as given
// With bits 0x08 and 0x10 set the fuzzer reaches whole frames of any kind without having to find a CRC.
// The host's writes are checked as they go out: each is the two-byte auto-baud probe or a whole, intact frame.

#include "FakeSerialBackend.h"
#include "Frame.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace trelmo::fuzz {

// Reads the input front to back; past its end every byte reads as the fallback.
class ByteSource {
public:
    ByteSource(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool Empty() const { return offset_ >= size_; }
    std::uint8_t Take(std::uint8_t fallback = 0) { return Empty() ? fallback : data_[offset_++]; }
    Bytes TakeBytes(std::size_t count)
    {
        const std::size_t taken = std::min(count, size_ - std::min(offset_, size_));
        Bytes bytes(data_ + offset_, data_ + offset_ + taken);
        offset_ += taken;
        return bytes;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t offset_ = 0;
};

// Aborts unless the bytes are the auto-baud probe or a whole, intact frame: the host never sends anything else.
inline void CheckHostWrite(const Bytes& written)
{
    const bool probe = written.size() == 2 && written[0] == AutoBaudProbeByte && written[1] == AutoBaudProbeByte;
    if (!probe && IntactFrameSize(written.data(), written.size()) != written.size())
        std::abort();
}

// One answer from the input, shaped as the control byte says (see above).
inline Bytes ShapeAnswer(std::uint8_t control, Bytes bytes, const Bytes& request)
{
    if (control & 0x04) {
        const std::size_t header = std::min<std::size_t>(request.size(), ModuleFrame::Data);
        bytes.insert(bytes.begin(), request.begin(), request.begin() + static_cast<std::ptrdiff_t>(header));
        if (bytes.size() > ModuleFrame::FrameType)
            bytes[ModuleFrame::FrameType] = Response;
    }
    if ((control & 0x20) && bytes.size() > ModuleFrame::FrameType) {
        const std::uint8_t type = (control >> 6) & 0x03;
        if (type != 3)
            bytes[ModuleFrame::FrameType] = type;
    }
    if ((control & 0x08) && bytes.size() >= ModuleFrame::HeaderSize) {
        const std::size_t length = bytes.size() - ModuleFrame::HeaderSize;
        WriteBigEndian16(&bytes[ModuleFrame::Length], static_cast<std::uint16_t>(std::min<std::size_t>(length, 0xFFFF)));
    }
    if ((control & 0x10) && bytes.size() >= ModuleFrame::HeaderSize && bytes.size() <= 0xFFFF - 2) {
        const std::uint16_t crc = ComputeCrc16(bytes.data(), static_cast<std::uint16_t>(bytes.size()));
        bytes.push_back(static_cast<std::uint8_t>(crc >> 8));
        bytes.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    }
    return bytes;
}

// Installs itself as the fake's responder: checks each host write and answers it from the input.
class ScriptedModule {
public:
    ScriptedModule(fake::FakeSerialBackend& backend, ByteSource& input) : input_(input)
    {
        backend.SetResponder([this](const Bytes& written) { return Answer(written); });
    }

private:
    std::vector<Bytes> Answer(const Bytes& written)
    {
        CheckHostWrite(written);
        if (input_.Empty())
            return {};
        const std::uint8_t control = input_.Take();
        std::size_t size = input_.Take();
        if (size == 0xFF)
            size = static_cast<std::size_t>(input_.Take() << 8 | input_.Take());
        const Bytes answer = ShapeAnswer(control, input_.TakeBytes(size), written);
        switch (control & 0x03) {
        case 0:
            return {answer};
        case 1:
            return {Bytes(), answer};
        case 2: {
            const auto half = answer.begin() + static_cast<std::ptrdiff_t>(answer.size() / 2);
            return {Bytes(answer.begin(), half), Bytes(half, answer.end())};
        }
        default:
            return {};
        }
    }

    ByteSource& input_;
};

} // namespace trelmo::fuzz

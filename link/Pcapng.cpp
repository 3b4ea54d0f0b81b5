#include "Pcapng.h"

namespace trelmo {
namespace {

constexpr std::uint32_t SectionHeaderBlock = 0x0A0D0D0A;
constexpr std::uint32_t InterfaceDescriptionBlock = 1;
constexpr std::uint32_t EnhancedPacketBlock = 6;
constexpr std::uint32_t ByteOrderMagic = 0x1A2B3C4D;
constexpr std::uint16_t OptionEnd = 0;
constexpr std::uint16_t OptionTimestampResolution = 9; // if_tsresol
constexpr std::uint16_t OptionPacketFlags = 2;         // epb_flags
constexpr std::uint32_t FlagInbound = 1;               // direction bits 0-1
constexpr std::uint32_t FlagOutbound = 2;

// Blocks are written in the host's byte order, which the byte-order magic tells readers.
void Put16(Bytes& out, std::uint16_t value)
{
    const auto* p = reinterpret_cast<const std::uint8_t*>(&value);
    out.insert(out.end(), p, p + sizeof value);
}

void Put32(Bytes& out, std::uint32_t value)
{
    const auto* p = reinterpret_cast<const std::uint8_t*>(&value);
    out.insert(out.end(), p, p + sizeof value);
}

void PadTo32Bits(Bytes& out)
{
    while (out.size() % 4 != 0)
        out.push_back(0);
}

// Type, total length, body, total length again.
Bytes Block(std::uint32_t type, const Bytes& body)
{
    const auto total = static_cast<std::uint32_t>(body.size() + 12);
    Bytes block;
    block.reserve(total);
    Put32(block, type);
    Put32(block, total);
    block.insert(block.end(), body.begin(), body.end());
    Put32(block, total);
    return block;
}

} // namespace

Bytes PcapngHeader()
{
    Bytes section;
    Put32(section, ByteOrderMagic);
    Put16(section, 1); // version 1.0
    Put16(section, 0);
    Put32(section, 0xFFFFFFFFu); // section length not given
    Put32(section, 0xFFFFFFFFu);

    Bytes interface;
    Put16(interface, PcapngLinkTypeUser0);
    Put16(interface, 0);
    Put32(interface, 0); // no snapshot limit
    Put16(interface, OptionTimestampResolution);
    Put16(interface, 1);
    interface.push_back(6); // 10^-6 s
    PadTo32Bits(interface);
    Put16(interface, OptionEnd);
    Put16(interface, 0);

    Bytes header = Block(SectionHeaderBlock, section);
    const Bytes idb = Block(InterfaceDescriptionBlock, interface);
    header.insert(header.end(), idb.begin(), idb.end());
    return header;
}

Bytes PcapngPacket(std::int64_t microseconds, CaptureDirection direction, const std::uint8_t* bytes, std::size_t count)
{
    const auto time = static_cast<std::uint64_t>(microseconds);
    Bytes body;
    Put32(body, 0); // interface 0
    Put32(body, static_cast<std::uint32_t>(time >> 32));
    Put32(body, static_cast<std::uint32_t>(time & 0xFFFFFFFFu));
    Put32(body, static_cast<std::uint32_t>(count));
    Put32(body, static_cast<std::uint32_t>(count));
    body.insert(body.end(), bytes, bytes + count);
    PadTo32Bits(body);
    Put16(body, OptionPacketFlags);
    Put16(body, 4);
    Put32(body, direction == CaptureDirection::Inbound ? FlagInbound : FlagOutbound);
    Put16(body, OptionEnd);
    Put16(body, 0);
    return Block(EnhancedPacketBlock, body);
}

bool PcapngWriter::Open(const std::string& path)
{
    file_.open(path, std::ios::binary | std::ios::trunc);
    ok_ = file_.is_open();
    return WriteBlock(PcapngHeader());
}

bool PcapngWriter::Flush()
{
    if (ok_) {
        file_.flush();
        ok_ = file_.good();
    }
    return ok_;
}

bool PcapngWriter::WriteBlock(const Bytes& block)
{
    if (!ok_)
        return false;
    file_.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(block.size()));
    ok_ = file_.good();
    return ok_;
}

} // namespace trelmo

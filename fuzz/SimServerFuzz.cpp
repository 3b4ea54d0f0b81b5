// The virtual module's serving loop fed arbitrary host bytes at arbitrary times on a scripted host whose clock
// never sleeps: the partial-frame timeout, delayed, late and split answers, hang-up, flood and a host without room,
// each chosen by the input's first bytes.
//   byte 0: mode (bits 0-1), split answers (bit 2), hang-up (bit 3), flood (bit 4), late object and I/O answers
//           (bit 5), declared lengths that do not match (bits 6-7)
//   byte 1: answer delay (bits 0-3, times 10 ms), I/O answer delay (bits 4-7, times 20 ms)
//   byte 2: split pause (bits 0-5, ms), bytes in the first write (bits 6-7; 0 = half)
//   byte 3: hang up after frames (bits 0-3), flood after frames (bits 4-7)
//   byte 4: flood time (bits 0-5, ms), late time (bits 6-7, times 150 ms)
//   byte 5: host speed (bits 0-1), host room per write (bits 2-7, times 16 bytes; 0 = no limit)
//   the rest: host chunks, each a pause byte (ms since the chunk before), a size byte and the bytes

#include "FakeSimHost.h"
#include "SimServer.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

using namespace trelmo;

SimSettings SettingsFrom(const std::uint8_t (&choice)[6])
{
    SimSettings settings;
    settings.module.mode = static_cast<OperatingMode>((choice[0] & 0x03) % 3);
    settings.module.badLength = static_cast<BadLength>(choice[0] >> 6);
    settings.delayMs = (choice[1] & 0x0F) * 10;
    settings.ioDelayMs = (choice[1] >> 4) * 20;
    if (choice[0] & 0x04) {
        settings.splitMs = choice[2] & 0x3F;
        settings.splitAt = choice[2] >> 6;
    }
    if (choice[0] & 0x08)
        settings.hangupAfter = choice[3] & 0x0F;
    if (choice[0] & 0x10) {
        settings.floodAfter = choice[3] >> 4;
        settings.floodMs = choice[4] & 0x3F;
    }
    if (choice[0] & 0x20)
        settings.lateKinds = {AnswerKind::Object, AnswerKind::Io};
    settings.lateMs = (choice[4] >> 6) * 150;
    return settings;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::uint8_t choice[6] = {};
    std::size_t offset = 0;
    for (std::uint8_t& byte : choice)
        byte = offset < size ? data[offset++] : 0;
    const SimSettings settings = SettingsFrom(choice);

    fake::FakeSimHost host;
    const int baudRates[] = {0, 9600, 115200, 57600};
    host.SetHostBaudRate(baudRates[choice[5] & 0x03]);
    if (choice[5] >> 2)
        host.SetHostRoom(static_cast<std::size_t>(choice[5] >> 2) * 16);
    while (offset + 2 <= size) {
        const long pauseMs = data[offset];
        const std::size_t count = std::min<std::size_t>(data[offset + 1], size - offset - 2);
        host.QueueChunk(pauseMs, Bytes(data + offset + 2, data + offset + 2 + count));
        offset += 2 + count;
    }

    TrafficLog log;
    SimServer server(settings, host, log, host, fake::FakeSimHost::StopDescriptor);
    server.Run();

    if (host.RanAway())
        std::abort();
    for (const fake::FakeSimHost::Sent& write : host.Written()) {
        if (write.bytes.empty() || write.bytes.size() > 0x10000 + ModuleFrame::Overhead)
            std::abort();
    }
    if (host.HungUp() && (settings.hangupAfter < 0 || server.Model().FramesServed() < settings.hangupAfter))
        std::abort();
    return 0;
}

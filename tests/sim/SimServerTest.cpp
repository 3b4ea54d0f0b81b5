// The virtual module's serving loop on a scripted host: the line scenarios in order, on a clock that never sleeps.

#include "FakeSimHost.h"
#include "SimServer.h"
#include "WireBytes.h"

#include <gtest/gtest.h>

namespace trelmo {
namespace {

using fake::FakeSimHost;
using testing::HostRequest;

std::vector<Bytes> WrittenBytes(const FakeSimHost& host)
{
    std::vector<Bytes> bytes;
    for (const FakeSimHost::Sent& write : host.Written())
        bytes.push_back(write.bytes);
    return bytes;
}

void Serve(const SimSettings& settings, FakeSimHost& host)
{
    TrafficLog log;
    SimServer(settings, host, log, host, FakeSimHost::StopDescriptor).Run();
    ASSERT_FALSE(host.RanAway());
}

SimSettings FixedMode()
{
    SimSettings settings;
    settings.module.mode = OperatingMode::Uart115200;
    return settings;
}

// A frame start left waiting past the partial-frame timeout is dropped, so the next frame is served whole; a frame
// whose rest follows in time is served. Split answers go out in two writes, the second after the split pause.
TEST(SimServerTest, StaleFrameStartIsDroppedAndSplitAnswersFollowTheirPause)
{
    SimSettings settings = FixedMode();
    settings.splitMs = 30;
    settings.splitAt = 4;
    FakeSimHost host;
    host.SetHostBaudRate(115200);
    const Bytes request = HostRequest(1, ServiceWrite, 0x03, 1, 1, {0x05});
    host.QueueChunk(0, Bytes(request.begin(), request.begin() + 5));
    host.QueueChunk(100, request);
    const Bytes second = HostRequest(2, ServiceRead, 0x03, 1, 1);
    host.QueueChunk(100, Bytes(second.begin(), second.begin() + 6));
    host.QueueChunk(20, Bytes(second.begin() + 6, second.end()));
    Serve(settings, host);

    const std::vector<FakeSimHost::Sent>& written = host.Written();
    ASSERT_EQ(written.size(), 4u);
    EXPECT_EQ(written[0].bytes.size(), 4u);
    EXPECT_GE(written[1].atMs - written[0].atMs, 30); // the loop wakes on the millisecond after the due time
    for (std::size_t answer = 0; answer < 2; ++answer)
        EXPECT_TRUE(IsIntactFrame(testing::Joined({written[2 * answer].bytes, written[2 * answer + 1].bytes})));
    EXPECT_EQ(host.Warnings().size(), 1u); // the dropped frame start
}

// The module hangs up at the host's first bytes after the frames it was to serve; the junk of a flood goes out in
// chunks while the host has room and stops when the host has none.
TEST(SimServerTest, HangUpAndFloodScenarios)
{
    SimSettings hangUp = FixedMode();
    hangUp.hangupAfter = 1;
    FakeSimHost host;
    host.SetHostBaudRate(115200);
    for (std::uint8_t sequence = 1; sequence <= 3; ++sequence)
        host.QueueChunk(50, HostRequest(sequence, ServiceRead, 0x03, 1, 1));
    Serve(hangUp, host);
    EXPECT_TRUE(host.HungUp());
    EXPECT_EQ(WrittenBytes(host).size(), 1u);

    SimSettings flood = FixedMode();
    flood.floodAfter = 1;
    flood.floodMs = 10;
    FakeSimHost flooded;
    flooded.SetHostBaudRate(115200);
    flooded.QueueChunk(0, HostRequest(1, ServiceRead, 0x03, 1, 1));
    flooded.QueueChunk(50, HostRequest(2, ServiceRead, 0x03, 1, 1));
    Serve(flood, flooded);
    const std::vector<Bytes> written = WrittenBytes(flooded);
    ASSERT_EQ(written.size(), 11u); // the answer, then a chunk per millisecond of the flood
    EXPECT_EQ(written[1], Bytes(FloodChunk, FloodByte));
    EXPECT_EQ(flooded.Warnings().back(), "junk ended, serving again");
}

// On a paced line at 9600 bit/s (a byte every 1.04 ms) a 12-byte request is whole 12.5 ms after its first byte
// came; only then does the answer start, and its bytes follow one another at the line's pace.
TEST(SimServerTest, APacedLineAnswersAfterTheRequestsWireTimeAtTheLinesPace)
{
    SimSettings settings = FixedMode();
    settings.module.mode = OperatingMode::Uart9600;
    settings.wire = true;
    FakeSimHost host;
    host.SetHostBaudRate(9600);
    const Bytes request = HostRequest(1, ServiceRead, 0x03, 1, 1);
    ASSERT_EQ(request.size(), 12u);
    host.QueueChunk(0, request);
    Serve(settings, host);

    const std::vector<FakeSimHost::Sent>& written = host.Written();
    ASSERT_GT(written.size(), 5u) << "the answer goes out a few bytes at a time";
    Bytes answer;
    for (const FakeSimHost::Sent& write : written)
        answer.insert(answer.end(), write.bytes.begin(), write.bytes.end());
    EXPECT_TRUE(IsIntactFrame(answer));
    EXPECT_GE(written.front().atMs, 13) << "the request's 12 bytes, then the answer's first byte";
    EXPECT_GE(written.back().atMs - written.front().atMs, static_cast<long>(answer.size()) - 2);
}

} // namespace
} // namespace trelmo

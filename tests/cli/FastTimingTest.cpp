// The fast receive timing the command-line tool sets: a receive ends once a whole, intact frame (or as much as it
// can take) is buffered, waiting for more bytes in between; the fixed timing keeps its one sleep.

#include "FakeSerialBackend.h"
#include "WireBytes.h"

#include <gtest/gtest.h>

namespace trelmo {
namespace {

using fake::FakeLink;
using testing::Hex;
using testing::WithFlippedCrc;

const Bytes ReadAnswer = Hex("05 02 00 08 01 01 00 01 00 03 00 64 19 51");

Bytes Head(const Bytes& bytes, std::size_t count)
{
    return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count));
}

Bytes Tail(const Bytes& bytes, std::size_t from)
{
    return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(from), bytes.end());
}

TEST(FastTimingTest, AReceiveEndsOnceAWholeIntactFrameIsInAndTheFixedTimingSleepsOnce)
{
    struct Case {
        const char* title;
        ReceiveTiming timing;
        std::vector<Bytes> arrivals;
        std::vector<std::string> events;
        Bytes received; // empty: the receive fails
    };
    const Case cases[] = {
        {"fast: whole frame at once", ReceiveTiming::Fast, {ReadAnswer}, {"bytes-wait"}, ReadAnswer},
        {"fast: frame in two pieces", ReceiveTiming::Fast, {Head(ReadAnswer, 5), Tail(ReadAnswer, 5)},
         {"bytes-wait", "bytes-wait"}, ReadAnswer},
        {"fast: pieces then a late frame stay behind", ReceiveTiming::Fast,
         {Head(ReadAnswer, 5), Tail(ReadAnswer, 5), ReadAnswer}, {"bytes-wait", "bytes-wait"}, ReadAnswer},
        {"fast: a damaged frame waits until nothing more comes", ReceiveTiming::Fast,
         {WithFlippedCrc(ReadAnswer), {}}, {"bytes-wait", "bytes-wait"}, WithFlippedCrc(ReadAnswer)},
        {"fast: silence", ReceiveTiming::Fast, {}, {"bytes-wait"}, {}},
        {"fixed: one sleep takes the first piece only", ReceiveTiming::Fixed,
         {Head(ReadAnswer, 5), Tail(ReadAnswer, 5)}, {"wait 50"}, Head(ReadAnswer, 5)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        FakeLink link;
        link.port.SetReceiveTiming(c.timing);
        for (const Bytes& arrival : c.arrivals)
            link.backend->QueueArrival(arrival);
        Bytes buffer(ModuleFrame::BufferSize);
        std::size_t read = 0;
        const bool ok = link.port.ReceiveBytes(buffer.data(), buffer.size(), &read);
        buffer.resize(ok ? read : 0);
        EXPECT_EQ(buffer, c.received);
        EXPECT_EQ(link.backend->Events(), c.events);
    }
}

TEST(FastTimingTest, AFrameLongerThanOneReceiveIsTakenInPiecesWithoutWaitingForMore)
{
    FakeLink link;
    link.port.SetReceiveTiming(ReceiveTiming::Fast);
    link.backend->QueueArrival(ReadAnswer);
    Bytes first(8), rest(8);
    std::size_t firstCount = 0, restCount = 0;
    ASSERT_TRUE(link.port.ReceiveBytes(first.data(), first.size(), &firstCount));
    ASSERT_TRUE(link.port.ReceiveBytes(rest.data(), rest.size(), &restCount));
    first.resize(firstCount);
    rest.resize(restCount);
    EXPECT_EQ(first, Head(ReadAnswer, 8));
    EXPECT_EQ(rest, Tail(ReadAnswer, 8));
    EXPECT_EQ(link.backend->Events(), std::vector<std::string>{"bytes-wait"});
}

TEST(FastTimingTest, AProbeAnswerOfOneByteEndsTheWaitAtOnce)
{
    FakeLink link;
    link.port.SetReceiveTiming(ReceiveTiming::Fast);
    link.backend->QueueArrival({0xAA});
    std::uint8_t answer = 0;
    std::size_t read = 0;
    ASSERT_TRUE(link.port.ReceiveAvailable(&answer, 1, &read));
    EXPECT_EQ(answer, 0xAA);
    EXPECT_EQ(link.backend->Events(), std::vector<std::string>{"bytes-wait"});
}

} // namespace
} // namespace trelmo

#include "ModuleInfo.h"

#include "FakeSerialBackend.h"
#include "HexText.h"
#include "LogRecorder.h"
#include "WireBytes.h"

#include <gtest/gtest.h>

using namespace trelmo;
using trelmo::fake::FakeLink;
using trelmo::testing::Hex;

namespace {

// A whole reply of `size` bytes: a response header, `text` at byte 10, then `tail` from byte 30, and the CRC.
Bytes Reply(std::size_t size, const std::string& text, const Bytes& tail = {})
{
    Bytes reply(size, 0);
    const Bytes header = Hex("01 02 00 00 01 02 00 01 00 00");
    std::copy(header.begin(), header.end(), reply.begin());
    for (std::size_t i = 0; i < text.size() && 10 + i < size; ++i)
        reply[10 + i] = static_cast<std::uint8_t>(text[i]);
    for (std::size_t i = 0; i < tail.size() && 30 + i < size; ++i)
        reply[30 + i] = tail[i];
    const std::size_t length = size - ModuleFrame::Overhead;
    WriteBigEndian16(&reply[ModuleFrame::Length], static_cast<std::uint16_t>(length));
    PlaceCrc(reply.data(), length);
    return reply;
}

const Bytes kSecondTail = Hex("00 01 E2 40  20 13 08 13  00 01 00 02  01 00 00 0A");

Bytes Slice(const Bytes& bytes, std::size_t begin, std::size_t end)
{
    return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(begin), bytes.begin() + static_cast<std::ptrdiff_t>(end));
}

TEST(ModuleInfoDecodeTest, Formats)
{
    struct SerialCase {
        std::uint32_t value;
        const char* text;
    };
    for (const SerialCase& c : {SerialCase{0x0001E240, "123456"}, SerialCase{0x7FFFFFFF, "2147483647"},
                                SerialCase{0x80000000, "2147483648"}, SerialCase{0xFFFFFFFF, "4294967295"},
                                SerialCase{0, "0"}})
        EXPECT_EQ(FormatSerialNumber(c.value), c.text);

    EXPECT_EQ(FormatProductionDate(0x20, 0x13, 0x08, 0x13), "2013-8-13");
    EXPECT_EQ(FormatProductionDate(0x20, 0x13, 0x12, 0x01), "2013-12-1");
    EXPECT_EQ(FormatProductionDate(0x20, 0x05, 0x01, 0x0A), "2005-1-a");
    EXPECT_EQ(FormatProductionDate(0, 0, 0, 0), "000-0-0");
    EXPECT_EQ(FormatProductionDate(0xFF, 0xFF, 0xFF, 0xFF), "ffff-ff-ff");

    EXPECT_EQ(FormatVersion(1, 2), "1.2");
    EXPECT_EQ(FormatVersion(256, 10), "256.10");
    EXPECT_EQ(FormatVersion(65535, 0), "65535.0");
}

TEST(ModuleInfoDecodeTest, ReplyText)
{
    EXPECT_EQ(ReplyText(Reply(38, "ABCDEFGHIJKLMNOPQRSTUVWXYZ")), "ABCDEFGHIJKLMNOPQRST") << "20 characters at most";
    EXPECT_EQ(ReplyText(Reply(38, "")), "");
    EXPECT_EQ(ReplyText(Reply(38, std::string("AB\0CD", 5))), "AB");
    EXPECT_EQ(ReplyText(Hex("01 02 00 20 01 02 00 01 00 00 41 42")), "AB") << "a short reply ends the text";
    EXPECT_EQ(ReplyText(Bytes{}), "");
    Bytes high = Reply(38, "");
    high[10] = 0xE9;
    EXPECT_EQ(ReplyText(high), std::string(1, static_cast<char>(0xE9))) << "8-bit characters pass unchanged";
}

TEST(ModuleInfoDecodeTest, ByPosition)
{
    const ModuleInfo info = DecodeModuleInfo(Reply(38, "PROFINET IO"), Reply(48, "Trelmo T1", kSecondTail));
    EXPECT_EQ(info.NetworkType, "PROFINET IO");
    EXPECT_EQ(info.ProductType, "Trelmo T1");
    EXPECT_EQ(info.SerialNumber, "123456");
    EXPECT_EQ(info.ProductionDate, "2013-8-13");
    EXPECT_EQ(info.HardwareVersion, "1.2");
    EXPECT_EQ(info.FirmwareVersion, "256.10");

    const ModuleInfo shortInfo = DecodeModuleInfo(Bytes{}, Slice(Reply(48, "X", kSecondTail), 0, 32));
    EXPECT_EQ(shortInfo.SerialNumber, "65536") << "missing bytes read as zero";
    EXPECT_EQ(shortInfo.FirmwareVersion, "0.0");
}

class ReadModuleInfoTest : public ::testing::Test {
protected:
    FakeLink link;
    SequenceCounter counter;
    MessageLog log;
    LogRecorder recorder{log};

    std::optional<ModuleInfo> Read() { return ReadModuleInfo(link.port, counter, log).info; }
};

TEST_F(ReadModuleInfoTest, TwoRequestsTwoReplies)
{
    const Bytes first = Reply(38, "PROFINET IO");
    const Bytes second = Reply(48, "Trelmo T1", kSecondTail);
    link.backend->QueueArrival(first);
    link.backend->QueueArrival(second);
    counter.Set(5);
    const std::optional<ModuleInfo> info = Read();
    ASSERT_TRUE(info);
    EXPECT_EQ(info->NetworkType, "PROFINET IO");
    EXPECT_EQ(info->ProductionDate, "2013-8-13");
    EXPECT_EQ(link.backend->Writes(), (std::vector<Bytes>{Hex("05 01 00 06 01 02 00 01 00 00 22 56"),
                                                          AssembleObjectFrame(6, Request, 1, 0x00, 1, 0)}));
    EXPECT_EQ(recorder.Lines(), (std::vector<std::string>{BytesToHexText(link.backend->Writes()[0], 1),
                                                     BytesToHexText(first, 0),
                                                     BytesToHexText(link.backend->Writes()[1], 1),
                                                     BytesToHexText(second, 0)}));
    EXPECT_EQ(counter.Value(), 7);
    EXPECT_EQ(link.backend->Waits(), (std::vector<int>{50, 50, 50})) << "48 bytes take two reads of 43";
}

TEST_F(ReadModuleInfoTest, SilentModule)
{
    EXPECT_FALSE(Read());
    ASSERT_EQ(recorder.Size(), 1u);
    EXPECT_EQ(recorder.Lines()[0][0], '1');
    EXPECT_EQ(link.backend->Writes().size(), 1u);
}

TEST_F(ReadModuleInfoTest, SilentSecondRequest)
{
    link.backend->QueueArrival(Reply(38, "PROFINET IO"));
    EXPECT_FALSE(Read());
    ASSERT_EQ(recorder.Size(), 3u);
    EXPECT_EQ(recorder.Lines()[0][0], '1');
    EXPECT_EQ(recorder.Lines()[1][0], '0');
    EXPECT_EQ(recorder.Lines()[2][0], '1');
}

TEST_F(ReadModuleInfoTest, SplitReplyIsGatheredIntoOneLine)
{
    const Bytes first = Reply(38, "PROFINET IO");
    link.backend->QueueArrival(Slice(first, 0, 20));
    link.backend->QueueArrival(Slice(first, 20, 38));
    link.backend->QueueArrival(Reply(48, "T", kSecondTail));
    const std::optional<ModuleInfo> info = Read();
    ASSERT_TRUE(info);
    EXPECT_EQ(info->NetworkType, "PROFINET IO");
    ASSERT_EQ(recorder.Size(), 4u);
    EXPECT_EQ(recorder.Lines()[1], BytesToHexText(first, 0));
    EXPECT_EQ(recorder.Lines()[1].size(), 1u + 3u * 38u);
    EXPECT_EQ(link.backend->Waits().size(), 4u);
}

TEST_F(ReadModuleInfoTest, PartialReplyLostMidwayLogsNothingOfIt)
{
    link.backend->QueueArrival(Slice(Reply(38, "X"), 0, 20));
    EXPECT_FALSE(Read());
    EXPECT_EQ(recorder.Size(), 1u) << "the gathered bytes are not logged";
}

TEST_F(ReadModuleInfoTest, LongFirstReplyIsTakenWholeAndDecodedByPosition)
{
    const Bytes first = Reply(43, "PROFINET IO");
    const Bytes second = Reply(48, "T", kSecondTail);
    link.backend->QueueArrival(first);
    link.backend->QueueArrival(second);
    const std::optional<ModuleInfo> info = Read();
    ASSERT_TRUE(info);
    EXPECT_EQ(recorder.Lines()[1], BytesToHexText(first, 0));
    EXPECT_EQ(info->NetworkType, "PROFINET IO");
    EXPECT_EQ(info->SerialNumber, "123456");
}

TEST_F(ReadModuleInfoTest, ReplyThatIsNotAWholeIntactAnswerGivesNoTexts)
{
    Bytes wrongCrc = Reply(38, "PROFINET IO");
    wrongCrc.back() ^= 0x01;
    const Bytes tooLong = Reply(50, "PROFINET IO"); // one read takes 43 of its 50 bytes
    using X = ExchangeOutcome;
    const struct {
        const char* name;
        std::vector<Bytes> arrivals;
        X exchange;
    } cases[] = {
        {"wrong CRC", {wrongCrc}, X::BrokenAnswer},
        {"trickle of eight single bytes", {{0x41}, {0x42}, {0x43}, {0x44}, {0x45}, {0x46}, {0x47}, {0x48}},
         X::BrokenAnswer},
        {"longer than one read", {tooLong}, X::BrokenAnswer},
        {"error answer", {AssembleObjectFrame(1, ErrorAnswer, 1, 0x02, 1, 0, {0x02}), {}}, X::Refused},
    };
    for (const auto& [name, arrivals, exchange] : cases) {
        FakeLink fresh;
        MessageLog freshLog;
        LogRecorder freshRecorder(freshLog);
        for (const Bytes& arrival : arrivals)
            fresh.backend->QueueArrival(arrival);
        fresh.backend->QueueArrival(Reply(48, "T", kSecondTail));
        SequenceCounter counter;
        const ModuleInfoResult result = ReadModuleInfo(fresh.port, counter, freshLog);
        EXPECT_FALSE(result.info) << name;
        EXPECT_EQ(result.exchange, exchange) << name;
        EXPECT_EQ(fresh.backend->Writes().size(), 1u) << name << ": the second request is not sent";
        // A whole reply is logged; one cut short (the error answer here) is not.
        EXPECT_EQ(freshRecorder.Size(), exchange == X::Refused ? 1u : 2u) << name;
    }
}

TEST_F(ReadModuleInfoTest, FailedWrite)
{
    link.backend->FailAllWrites();
    EXPECT_FALSE(Read());
    EXPECT_EQ(recorder.Size(), 0u);
    EXPECT_FALSE(link.port.IsOpen());
}

} // namespace

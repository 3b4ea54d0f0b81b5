#include "ObjectAccess.h"

#include "FakeSerialBackend.h"
#include "HexText.h"
#include "LogRecorder.h"
#include "WireBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace trelmo;
using trelmo::fake::FakeLink;
using trelmo::testing::Hex;

namespace {

Bytes ResponseWith(const Bytes& data, std::uint8_t frameType = Response)
{
    return AssembleObjectFrame(0x33, frameType, ServiceRead, 0x01, 1, 3, data);
}

TEST(BuildObjectRequestTest, WorkedFrames)
{
    SequenceCounter counter;
    counter.Set(5);
    EXPECT_EQ(BuildObjectRequest(counter, ServiceRead, 0x01, 1, 3), Hex("05 01 00 06 01 01 00 01 00 03 26 57"));
    EXPECT_EQ(BuildObjectRequest(counter, ServiceWrite, 0x01, 1, 3, {0x0A, 0x0B}),
              Hex("06 01 00 08 02 01 00 01 00 03 0A 0B 14 88"));
    EXPECT_EQ(counter.Value(), 7);
}

TEST(ResponseDataTest, NeverBeyondTheBytesReceived)
{
    struct Case {
        const char* name;
        const char* received;
        const char* data;
    };
    const Case cases[] = {
        {"plausible Length", "02 02 00 08 01 01 00 01 00 03 0A FF 12 34", "0A FF"},
        {"Length 6", "02 02 00 06 01 01 00 01 00 03 12 34", ""},
        {"Length claims more than arrived", "02 02 00 0A 01 01 00 01 00 03 0A FF", "0A FF"},
        {"Length claims 65529 bytes", "02 02 FF FF 01 01 00 01 00 03 0A", "0A"},
        {"Length below 6", "02 02 00 02 01 01 00 01 00 03 0A FF", "0A FF"},
        {"header only", "02 02 00 08 01 01 00 01 00 03", ""},
        {"shorter than a header", "02 02 00", ""},
        {"nothing", "", ""},
    };
    for (const Case& c : cases) {
        const Bytes received = Hex(c.received);
        // A copy of exactly the received size, so the sanitizer sees any read beyond it.
        std::unique_ptr<std::uint8_t[]> exact(new std::uint8_t[received.size() + 1]);
        std::copy(received.begin(), received.end(), exact.get());
        EXPECT_EQ(ResponseData(exact.get(), received.size()), Hex(c.data)) << c.name;
    }
}

class AccessTest : public ::testing::Test {
protected:
    FakeLink link;
    SequenceCounter counter;
    MessageLog log;
    LogRecorder recorder{log};

    static constexpr ObjectAddress Attribute{0x01, 1, 3};
    AccessResult Read() { return ReadAttribute(link.port, counter, log, Attribute); }
    AccessResult Write(const Bytes& data) { return WriteAttribute(link.port, counter, log, Attribute, data); }
};

TEST_F(AccessTest, ReadShowsLowercaseDataAndLogsUppercase)
{
    counter.Set(5);
    const Bytes answer = ResponseWith({0x0A, 0xFF});
    link.backend->QueueArrival(answer);
    const AccessResult result = Read();
    EXPECT_EQ(result.outcome, AccessOutcome::ReadAnswered);
    EXPECT_EQ(result.responseData, Hex("0A FF"));
    EXPECT_EQ(link.backend->Writes(), std::vector<Bytes>{Hex("05 01 00 06 01 01 00 01 00 03 26 57")});
    EXPECT_EQ(recorder.Lines(), (std::vector<std::string>{"105 01 00 06 01 01 00 01 00 03 26 57 ",
                                                     BytesToHexText(answer, 0)}));
    EXPECT_NE(recorder.Lines()[1].find("0A FF "), std::string::npos);
}

TEST_F(AccessTest, ReadOfLengthSixIsRightWithNoData)
{
    link.backend->QueueArrival(ResponseWith({}));
    const AccessResult result = Read();
    EXPECT_EQ(result.outcome, AccessOutcome::ReadAnswered);
    EXPECT_EQ(result.responseData, Bytes());
}

TEST_F(AccessTest, ReadWithNoAnswer)
{
    const AccessResult result = Read();
    EXPECT_EQ(result.outcome, AccessOutcome::ReadNotAnswered);
    EXPECT_FALSE(result.responseData);
    EXPECT_EQ(result.exchange, ExchangeOutcome::NoAnswer);
    ASSERT_EQ(recorder.Size(), 1u);
    EXPECT_EQ(recorder.Lines()[0][0], '1');
    EXPECT_EQ(link.backend->Waits(), std::vector<int>{50});
}

TEST_F(AccessTest, ReadAnswersOtherThanAWholeIntactResponseAreErrors)
{
    Bytes wrongCrc = ResponseWith({0x01});
    wrongCrc.back() ^= 0x01;
    const Bytes whole = ResponseWith({0x01, 0x02});
    const struct {
        const char* name;
        Bytes answer;
        ExchangeOutcome exchange;
    } cases[] = {
        {"request type", ResponseWith({0x01}, Request), ExchangeOutcome::Answered},
        {"error answer", ResponseWith({0x01}, ErrorAnswer), ExchangeOutcome::Refused},
        {"single byte", Hex("02"), ExchangeOutcome::BrokenAnswer},
        {"wrong CRC", wrongCrc, ExchangeOutcome::BrokenAnswer},
        {"cut short", Bytes(whole.begin(), whole.end() - 3), ExchangeOutcome::BrokenAnswer},
    };
    for (const auto& [name, answer, exchange] : cases) {
        FakeLink fresh;
        MessageLog freshLog;
        LogRecorder freshRecorder(freshLog);
        fresh.backend->QueueArrival(answer);
        const AccessResult result = ReadAttribute(fresh.port, counter, freshLog, Attribute);
        EXPECT_EQ(result.outcome, AccessOutcome::ReadNotAnswered) << name;
        EXPECT_FALSE(result.responseData) << name << ": the field keeps what it held";
        EXPECT_EQ(result.exchange, exchange) << name;
        ASSERT_EQ(freshRecorder.Size(), 2u) << name;
        EXPECT_EQ(freshRecorder.Lines()[1], BytesToHexText(answer, 0)) << name;
    }
}

TEST_F(AccessTest, LateAnswerToAnEarlierReadIsSetAsideBeforeTheNextRequest)
{
    EXPECT_EQ(Read().outcome, AccessOutcome::ReadNotAnswered);
    const Bytes late = ResponseWith({0xEE});
    link.backend->Deliver(late);
    link.backend->QueueArrival(ResponseWith({0x0A}));

    const AccessResult result = Read();
    EXPECT_EQ(result.outcome, AccessOutcome::ReadAnswered);
    EXPECT_EQ(result.responseData, Hex("0A"));
    ASSERT_EQ(recorder.Size(), 4u);
    EXPECT_EQ(recorder.Lines()[1], BytesToHexText(late, 0)) << "logged as received, then set aside";
    EXPECT_EQ(recorder.Lines()[2][0], '1');
}

TEST_F(AccessTest, ReadThatCannotBeSentLeavesTheStatus)
{
    link.backend->FailAllWrites();
    EXPECT_EQ(Read().outcome, AccessOutcome::ReadNotSent);
    EXPECT_EQ(recorder.Size(), 0u);
    EXPECT_FALSE(link.port.IsOpen());
}

TEST_F(AccessTest, WriteProbesThenWritesWithConsecutiveSequences)
{
    counter.Set(5);
    link.backend->QueueArrival(ResponseWith({0x00, 0x00}));
    link.backend->QueueArrival(AssembleObjectFrame(0x06, Response, ServiceWrite, 0x01, 1, 3));
    EXPECT_EQ(Write(Hex("0A 0B")).outcome, AccessOutcome::WriteAnswered);
    EXPECT_EQ(link.backend->Writes(), (std::vector<Bytes>{Hex("05 01 00 06 01 01 00 01 00 03 26 57"),
                                                          Hex("06 01 00 08 02 01 00 01 00 03 0A 0B 14 88")}));
    EXPECT_EQ(recorder.Size(), 4u);
    EXPECT_EQ(counter.Value(), 7);
}

TEST_F(AccessTest, ProbeRefusesALongerWrite)
{
    link.backend->QueueArrival(ResponseWith({0x00, 0x00}));
    EXPECT_EQ(Write(Hex("01 02 03")).outcome, AccessOutcome::WriteTooLong);
    EXPECT_EQ(link.backend->Writes().size(), 1u);
    ASSERT_EQ(recorder.Size(), 2u);
    EXPECT_EQ(recorder.Lines()[0][0], '1');
    EXPECT_EQ(recorder.Lines()[1][0], '0');
}

TEST_F(AccessTest, ProbeWithLengthBelowSixRefusesTheWrite)
{
    link.backend->QueueArrival(AssembleFrame(0x02, Response, Hex("01 01 00 01 00")));
    EXPECT_EQ(Write({0x01}).outcome, AccessOutcome::WriteTooLong);
    EXPECT_EQ(link.backend->Writes().size(), 1u);
}

TEST_F(AccessTest, OnlyAWholeIntactResponseToTheProbeLetsTheWriteGo)
{
    Bytes wrongCrc = ResponseWith({0x00});
    wrongCrc.back() ^= 0x01;
    const struct {
        const char* name;
        Bytes answer;
        ExchangeOutcome exchange;
    } cases[] = {
        {"too short to hold a Length", Hex("02 02 00"), ExchangeOutcome::BrokenAnswer},
        {"error answer", ResponseWith({0x00, 0x00}, ErrorAnswer), ExchangeOutcome::Refused},
        {"request type", ResponseWith({0x00}, Request), ExchangeOutcome::Answered},
        {"wrong CRC", wrongCrc, ExchangeOutcome::BrokenAnswer},
    };
    for (const auto& [name, answer, exchange] : cases) {
        FakeLink fresh;
        fresh.backend->QueueArrival(answer);
        const AccessResult result = WriteAttribute(fresh.port, counter, log, Attribute, {0x01});
        EXPECT_EQ(result.outcome, AccessOutcome::ProbeNotAnswered) << name;
        EXPECT_EQ(result.exchange, exchange) << name;
        EXPECT_EQ(fresh.backend->Writes().size(), 1u) << name << ": only the probe went out";
    }
}

TEST_F(AccessTest, UnansweredProbe)
{
    EXPECT_EQ(Write({0x01}).outcome, AccessOutcome::ProbeNotAnswered);
    EXPECT_EQ(recorder.Size(), 1u);
}

TEST_F(AccessTest, WriteLongerThanARequestHoldsIsRefusedUnsent)
{
    EXPECT_EQ(Write(Bytes(243, 0x5A)).outcome, AccessOutcome::WriteTooLong);
    EXPECT_EQ(link.backend->WriteCalls(), 0u);
}

TEST_F(AccessTest, LargestWriteFitsTheModuleBuffer)
{
    link.backend->QueueArrival(AssembleObjectFrame(1, Response, ServiceRead, 1, 1, 3, Bytes(242, 0)));
    link.backend->QueueArrival(ResponseWith({}));
    EXPECT_EQ(Write(Bytes(242, 0x5A)).outcome, AccessOutcome::WriteAnswered);
    ASSERT_EQ(link.backend->Writes().size(), 2u);
    EXPECT_EQ(link.backend->Writes()[1].size(), 254u);
}

TEST_F(AccessTest, WriteRequestFailures)
{
    struct Case {
        const char* name;
        bool failSecondWrite;
        Bytes writeAnswer;
        AccessOutcome outcome;
        std::size_t logLines;
    };
    const Case cases[] = {
        {"not sent", true, {}, AccessOutcome::WriteNotSent, 2},
        {"not answered", false, {}, AccessOutcome::WriteNotAnswered, 3},
        {"answered with a request", false, ResponseWith({}, Request), AccessOutcome::WriteNotAnswered, 4},
    };
    for (const Case& c : cases) {
        FakeLink fresh;
        MessageLog freshLog;
        LogRecorder freshRecorder(freshLog);
        fresh.backend->QueueArrival(ResponseWith({0x00}));
        fresh.backend->QueueArrival(c.writeAnswer);
        if (c.failSecondWrite)
            fresh.backend->FailWritesFrom(1);
        const AccessResult result = WriteAttribute(fresh.port, counter, freshLog, Attribute, {0x01});
        EXPECT_EQ(result.outcome, c.outcome) << c.name;
        EXPECT_EQ(freshRecorder.Size(), c.logLines) << c.name;
    }
}

} // namespace

#include "ConnectionSteps.h"

#include "FakeSerialBackend.h"
#include "HexText.h"
#include "LogRecorder.h"
#include "WireBytes.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace trelmo;
using trelmo::fake::FakeLink;
using trelmo::testing::Hex;
using trelmo::testing::WithFlippedCrc;

namespace {

const char* const ProbeLine = "155 55 ";

// What the module answers to a connection request when all is well.
const Bytes Answer = AssembleObjectFrame(0x01, Response, ServiceWrite, 0x03, 1, 1);

const Bytes ErrorAnswerFrame = AssembleFrame(0x01, ErrorAnswer, Hex("02 03 00 01 00 01 04"));

class ConnectionStepsTest : public ::testing::Test {
protected:
    // Whole seconds derived from the fixed waits the steps made, as a real clock would see them.
    SecondsClock WaitClock()
    {
        return [this] {
            long total = 0;
            for (int ms : link.backend->Waits())
                total += ms;
            return total / 1000;
        };
    }
    std::size_t Count(const std::string& line) const
    {
        return static_cast<std::size_t>(std::count(recorder.Lines().begin(), recorder.Lines().end(), line));
    }

    FakeLink link;
    SequenceCounter sequence;
    MessageLog log;
    LogRecorder recorder{log};
};

TEST_F(ConnectionStepsTest, HandshakeSucceedsOnTheThirdProbeAndLogsEveryExchange)
{
    link.backend->QueueSilence();
    link.backend->QueueSilence();
    link.backend->QueueArrival({0xAA});

    EXPECT_EQ(AutoBaudHandshake(link.port, log, [] { return 0L; }), ExchangeOutcome::Answered);
    ASSERT_EQ(link.backend->Writes().size(), 3u);
    EXPECT_EQ(link.backend->Writes()[2], Hex("55 55"));
    const std::vector<std::string> expected = {ProbeLine, "0", ProbeLine, "0", ProbeLine, "0AA "};
    EXPECT_EQ(recorder.Lines(), expected);
    EXPECT_EQ(link.backend->Waits(), std::vector<int>(3, 50));
}

TEST_F(ConnectionStepsTest, HandshakeIgnoresOtherBytesUntilMoreThanThreeSecondsPassed)
{
    link.backend->SetResponder([](const Bytes&) { return std::vector<Bytes>{{0x55}}; });

    EXPECT_EQ(AutoBaudHandshake(link.port, log, WaitClock()), ExchangeOutcome::BrokenAnswer);
    // 50 ms per probe: the clock reads 4 after the 80th probe, the first reading more than 3 seconds on.
    EXPECT_EQ(link.backend->Writes().size(), 80u);
    EXPECT_EQ(Count(ProbeLine), 80u);
    EXPECT_EQ(Count("055 "), 80u);
}

TEST_F(ConnectionStepsTest, HandshakeGivesUpWhenAProbeCannotBeSent)
{
    link.backend->FailAllWrites();
    EXPECT_EQ(AutoBaudHandshake(link.port, log, [] { return 0L; }), ExchangeOutcome::NotSent);
    EXPECT_EQ(link.backend->WriteCalls(), 1u);
    EXPECT_TRUE(recorder.Lines().empty());
    EXPECT_FALSE(link.port.IsOpen());
}

TEST_F(ConnectionStepsTest, BusAddressRequestCarriesTheLowByteOfTheAddress)
{
    link.backend->QueueArrival(Answer);
    EXPECT_EQ(SendBusAddress(link.port, sequence, log, 126), ExchangeOutcome::Answered);
    ASSERT_EQ(link.backend->Writes().size(), 1u);
    EXPECT_EQ(link.backend->Writes()[0], Hex("01 01 00 07 02 03 00 01 00 01 7E B1 84"));
    ASSERT_EQ(recorder.Size(), 2u);
    EXPECT_EQ(recorder.Lines()[0], "101 01 00 07 02 03 00 01 00 01 7E B1 84 ");
    EXPECT_EQ(recorder.Lines()[1], BytesToHexText(Answer, 0));
    // The wait for the answer starts once the request has left the port.
    EXPECT_EQ(link.backend->Events(), (std::vector<std::string>{"write 13", "drain", "wait 50"}));

    link.backend->QueueArrival(Answer);
    EXPECT_EQ(SendBusAddress(link.port, sequence, log, 0x17E), ExchangeOutcome::Answered);
    EXPECT_EQ(link.backend->Writes()[1][10], 0x7E);
    EXPECT_EQ(link.backend->Writes()[1][0], 0x02);
}

TEST_F(ConnectionStepsTest, GoOnlineRequest)
{
    sequence.Set(0);
    link.backend->QueueArrival(Answer);
    EXPECT_EQ(GoOnline(link.port, sequence, log), ExchangeOutcome::Answered);
    EXPECT_EQ(link.backend->Writes().at(0), Hex("00 01 00 07 02 00 00 02 00 00 01 F5 7F"));
}

TEST_F(ConnectionStepsTest, AnswerLongerThanTwentyBytesIsReadInPiecesAndIsNoAnswer)
{
    link.backend->QueueArrival(Bytes(30, 0x11));
    EXPECT_EQ(SendBusAddress(link.port, sequence, log, 1), ExchangeOutcome::BrokenAnswer);
    EXPECT_EQ(recorder.Lines().back().size(), 1u + 3u * 20u);
    EXPECT_EQ(link.backend->Unread().size(), 10u);
}

// The result names the step that failed and how its exchange ended; a failed step stops the sequence.
using Mode = OperatingMode;
using Outcome = ConnectionOutcome;
using X = ExchangeOutcome;
struct SequenceCase {
    const char* name;
    Mode mode;
    std::vector<Bytes> arrivals; // one per wait, empty = nothing arrives
    bool failSends;
    Outcome result;
    X exchange;
    std::size_t writes;
};

class ConnectionSequenceTest : public ConnectionStepsTest, public ::testing::WithParamInterface<SequenceCase> {};

TEST_P(ConnectionSequenceTest, ReturnsTheStepThatFailed)
{
    const SequenceCase& c = GetParam();
    for (const Bytes& arrival : c.arrivals)
        link.backend->QueueArrival(arrival);
    if (c.failSends)
        link.backend->FailAllWrites();

    const ConnectionResult result = ConnectionSequence(link.port, sequence, log, c.mode, 126, WaitClock());
    EXPECT_EQ(result.step, c.result);
    EXPECT_EQ(result.exchange, c.exchange);
    EXPECT_EQ(link.backend->Writes().size(), c.writes);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ConnectionSequenceTest,
    ::testing::Values(
        SequenceCase{"fixed9600", Mode::Uart9600, {Answer, Answer}, false, Outcome::Online, X::Answered, 2},
        SequenceCase{"fixed115200", Mode::Uart115200, {Answer, Answer}, false, Outcome::Online, X::Answered, 2},
        SequenceCase{"auto", Mode::AutoBaud, {{0xAA}, Answer, Answer}, false, Outcome::Online, X::Answered, 3},
        SequenceCase{"autoSilent", Mode::AutoBaud, {}, false, Outcome::AutoBaudFailed, X::NoAnswer, 80},
        SequenceCase{"autoSendFails", Mode::AutoBaud, {}, true, Outcome::AutoBaudFailed, X::NotSent, 0},
        SequenceCase{"busAddressUnanswered", Mode::Uart9600, {{}}, false, Outcome::BusAddressFailed, X::NoAnswer, 1},
        SequenceCase{"busAddressNotSent", Mode::Uart9600, {}, true, Outcome::BusAddressFailed, X::NotSent, 0},
        SequenceCase{"onlineUnanswered", Mode::Uart9600, {Answer, {}}, false, Outcome::GoOnlineFailed, X::NoAnswer,
                     2},
        // Only a whole, intact frame that is not an error answer counts as an answer.
        SequenceCase{"busAddressErrorAnswer", Mode::Uart9600, {ErrorAnswerFrame}, false, Outcome::BusAddressFailed,
                     X::Refused, 1},
        SequenceCase{"busAddressWrongCrc", Mode::Uart9600, {WithFlippedCrc(Answer)}, false,
                     Outcome::BusAddressFailed, X::BrokenAnswer, 1},
        SequenceCase{"busAddressTooShort", Mode::Uart9600, {{0x01, 0x02}}, false, Outcome::BusAddressFailed,
                     X::BrokenAnswer, 1},
        SequenceCase{"onlineErrorAnswer", Mode::Uart9600, {Answer, ErrorAnswerFrame}, false, Outcome::GoOnlineFailed,
                     X::Refused, 2}),
    [](const ::testing::TestParamInfo<SequenceCase>& info) { return std::string(info.param.name); });

TEST_F(ConnectionStepsTest, FixedRateModeSendsTheBusAddressFirst)
{
    link.backend->QueueArrival(Answer);
    link.backend->QueueArrival(Answer);
    ASSERT_EQ(ConnectionSequence(link.port, sequence, log, Mode::Uart9600, 126, WaitClock()).step, Outcome::Online);
    EXPECT_EQ(link.backend->Writes()[0], Hex("01 01 00 07 02 03 00 01 00 01 7E B1 84"));
    EXPECT_EQ(link.backend->Writes()[1][5], 0x00) << "then the on-line request";
    EXPECT_EQ(sequence.Value(), 3);
}

} // namespace

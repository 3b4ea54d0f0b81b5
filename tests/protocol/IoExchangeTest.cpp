#include "IoExchange.h"

#include "FakeSerialBackend.h"
#include "HexText.h"
#include "LogRecorder.h"
#include "WireBytes.h"

#include <gtest/gtest.h>

using namespace trelmo;
using trelmo::fake::FakeLink;
using trelmo::testing::Hex;
using trelmo::testing::CrcCloses;
using trelmo::testing::WithFlippedCrc;

namespace {

Bytes IoAnswer(const Bytes& data)
{
    return AssembleFrame(0x33, IoData, data);
}

Bytes ModuleRequest(std::uint8_t object, std::uint16_t instance, std::uint16_t attribute, const Bytes& data)
{
    return AssembleObjectFrame(0x44, Request, ServiceWrite, object, instance, attribute, data);
}

// A frame whose Length field says something else than the bytes that follow.
Bytes WithDeclaredLength(Bytes frame, std::uint16_t length)
{
    WriteBigEndian16(&frame[ModuleFrame::Length], length);
    return frame;
}

class IoExchangeTest : public ::testing::Test {
protected:
    // One cycle; the read data and hand-overs it brings are kept as a front end keeps them.
    IoCycleOutcome Cycle()
    {
        IoCycleOutcome outcome = ExchangeIoData(context, write);
        if (outcome.answer == IoAnswerKind::ReadData)
            readData = outcome.data;
        else if (outcome.answer == IoAnswerKind::ConfigurationData)
            handedOver.ConfigurationData = outcome.data;
        else if (outcome.answer == IoAnswerKind::ParameterData)
            handedOver.ParameterData = outcome.data;
        return outcome;
    }
    const std::vector<Bytes>& Writes() const { return link.backend->Writes(); }

    FakeLink link;
    SequenceCounter sequence;
    MessageLog log;
    LogRecorder recorder{log};
    AppConfigObjectData handedOver;
    AppDataObjectTable table;
    IoExchangeContext context{link.port, sequence, log, table};
    Bytes write;
    Bytes readData;
};

TEST_F(IoExchangeTest, WriteLengthZeroSendsSixBytes)
{
    sequence.Set(7);
    link.backend->QueueArrival(IoAnswer({}));

    const IoCycleOutcome outcome = Cycle();
    ASSERT_EQ(Writes().size(), 1u);
    EXPECT_EQ(Writes()[0], Hex("07 00 00 00 01 50"));
    EXPECT_EQ(outcome.timerIntervalMs, IoAnswerIntervalMs);
    EXPECT_EQ(link.backend->Waits(), std::vector<int>{300});
    ASSERT_EQ(recorder.Size(), 2u);
    EXPECT_EQ(recorder.Lines()[0], "107 00 00 00 01 50 ");
    EXPECT_EQ(recorder.Lines()[1], BytesToHexText(IoAnswer({}), 0));
}

TEST_F(IoExchangeTest, TheCycleSendsTheWriteDataUpTo244Bytes)
{
    sequence.Set(0x20);
    write = Hex("0A 00 FF");
    link.backend->QueueArrival(IoAnswer({}));
    Cycle();
    EXPECT_EQ(Writes().at(0), Hex("20 00 00 03 0A 00 FF 5A C4"));

    write = Bytes(300, 0x11);
    link.backend->QueueArrival(IoAnswer({}));
    Cycle();
    EXPECT_EQ(Writes().at(1).size(), 244u + ModuleFrame::Overhead);
}

TEST_F(IoExchangeTest, FailedSendRetriesInASecondWithoutLogging)
{
    link.backend->FailAllWrites();
    const IoCycleOutcome outcome = Cycle();
    EXPECT_EQ(outcome.timerIntervalMs, IoRetryIntervalMs);
    EXPECT_EQ(outcome.exchange, ExchangeOutcome::NotSent);
    EXPECT_TRUE(outcome.linkLost);
    EXPECT_TRUE(recorder.Lines().empty());
    EXPECT_FALSE(link.port.IsOpen());

    EXPECT_EQ(Cycle().timerIntervalMs, IoRetryIntervalMs) << "every later cycle fails the same way";
}

TEST_F(IoExchangeTest, NoAnswerRetriesInASecondAndKeepsTheReadGrid)
{
    link.backend->QueueArrival(IoAnswer({0x11}));
    Cycle();
    link.backend->QueueSilence();

    const IoCycleOutcome outcome = Cycle();
    EXPECT_EQ(outcome.timerIntervalMs, IoRetryIntervalMs);
    EXPECT_EQ(outcome.exchange, ExchangeOutcome::NoAnswer);
    EXPECT_EQ(outcome.answer, IoAnswerKind::None);
    EXPECT_FALSE(outcome.linkLost);
    EXPECT_EQ(recorder.Size(), 3u) << "only the sent line of the unanswered cycle";
    EXPECT_EQ(readData, Hex("11"));
}

TEST_F(IoExchangeTest, EachAnswerHandsBackItsReadData)
{
    for (const Bytes& data : {Hex("11 22 33"), Hex("44"), Bytes(12, 0xAB), Bytes()}) {
        link.backend->QueueArrival(IoAnswer(data));
        const IoCycleOutcome outcome = Cycle();
        EXPECT_EQ(outcome.answer, IoAnswerKind::ReadData);
        EXPECT_EQ(outcome.data, data);
    }
}

// Answers that are not a whole frame with a correct CRC: logged, then treated as no answer.
struct BrokenAnswer {
    const char* name;
    Bytes bytes;
};

class BrokenAnswerTest : public IoExchangeTest, public ::testing::WithParamInterface<BrokenAnswer> {};

TEST_P(BrokenAnswerTest, IsLoggedAndTreatedAsNoAnswer)
{
    link.backend->QueueArrival(IoAnswer({0x11, 0x22}));
    Cycle();
    link.backend->QueueArrival(GetParam().bytes);

    const IoCycleOutcome outcome = Cycle();
    EXPECT_EQ(outcome.timerIntervalMs, IoRetryIntervalMs);
    EXPECT_EQ(outcome.exchange, ExchangeOutcome::BrokenAnswer);
    EXPECT_EQ(outcome.answer, IoAnswerKind::None);
    EXPECT_TRUE(outcome.data.empty());
    EXPECT_EQ(Writes().size(), 2u) << "nothing is answered";
    EXPECT_EQ(recorder.Lines().back(), BytesToHexText(GetParam().bytes, 0));
}

const Bytes GoodIoAnswer = IoAnswer(Hex("01 02 03 04 05 06"));
const Bytes HandOver = ModuleRequest(0xF0, 2, 1, Hex("01 02 03"));

INSTANTIATE_TEST_SUITE_P(
    Cases, BrokenAnswerTest,
    ::testing::Values(BrokenAnswer{"OneByte", Hex("33")}, BrokenAnswer{"ThreeBytes", Hex("33 00 00")},
                      BrokenAnswer{"WrongCrc", WithFlippedCrc(GoodIoAnswer)},
                      BrokenAnswer{"LengthBeyondTheArrival", WithDeclaredLength(GoodIoAnswer, 300)},
                      BrokenAnswer{"LengthTheMaximum", WithDeclaredLength(GoodIoAnswer, 0xFFFF)},
                      BrokenAnswer{"HandOverCutShort", Bytes(HandOver.begin(), HandOver.begin() + 12)},
                      BrokenAnswer{"HandOverCrcMissing", Bytes(HandOver.begin(), HandOver.end() - 1)},
                      BrokenAnswer{"NoiseOnTheLine", Bytes(40, 0x5A)}),
    [](const ::testing::TestParamInfo<BrokenAnswer>& info) { return std::string(info.param.name); });

TEST_F(IoExchangeTest, AFullReadGridsAnswerIsReadWholeSoTheNextAnswerStartsClean)
{
    Bytes data(MaxIoDataLength);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<std::uint8_t>(i);
    link.backend->QueueArrival(IoAnswer(data)); // 256 bytes
    EXPECT_EQ(Cycle().data, data);

    link.backend->QueueArrival(IoAnswer({0x11}));
    EXPECT_EQ(Cycle().data, Hex("11"));
    EXPECT_EQ(recorder.Lines().back(), BytesToHexText(IoAnswer({0x11}), 0));
}

TEST_F(IoExchangeTest, ConfigurationAndParameterDataAreStoredAndEchoed)
{
    struct Case {
        std::uint16_t instance;
        Bytes* data;
        IoAnswerKind answer;
    };
    const Case cases[] = {{2, &handedOver.ConfigurationData, IoAnswerKind::ConfigurationData},
                          {3, &handedOver.ParameterData, IoAnswerKind::ParameterData}};
    for (const Case& c : cases) {
        const Bytes request = ModuleRequest(0xF0, c.instance, 1, Hex("01 02 03"));
        link.backend->QueueArrival(request);
        link.backend->QueueArrival(Hex("55 02 00 06 02 F0 00 02 00 01 00 00"));
        const std::size_t before = Writes().size();
        const std::uint8_t echoSequence = static_cast<std::uint8_t>(sequence.Value() + 1);

        const IoCycleOutcome outcome = Cycle();
        EXPECT_EQ(outcome.timerIntervalMs, IoAnswerIntervalMs);
        EXPECT_EQ(outcome.answer, c.answer);
        EXPECT_EQ(*c.data, Hex("01 02 03"));
        ASSERT_EQ(Writes().size(), before + 2);
        const Bytes& echo = Writes().back();
        ASSERT_EQ(echo.size(), request.size());
        EXPECT_EQ(echo[ModuleFrame::Sequence], echoSequence);
        EXPECT_EQ(echo[ModuleFrame::FrameType], Response);
        EXPECT_TRUE(std::equal(request.begin() + 2, request.end() - 2, echo.begin() + 2));
        EXPECT_TRUE(CrcCloses(echo));
        EXPECT_EQ(recorder.Lines().back(), "055 02 00 06 02 F0 00 02 00 01 00 00 ");
        EXPECT_EQ(recorder.Lines()[recorder.Size() - 2], BytesToHexText(echo, 1));
    }
}

TEST_F(IoExchangeTest, OtherInstancesAreEchoedButNotStoredAndOtherObjectsIgnored)
{
    // Only the whole 16-bit codes count: instance 0x0102 or attribute 0x0101 is not configuration data.
    const std::pair<std::uint16_t, std::uint16_t> others[] = {{4, 1}, {0x0102, 1}, {0x0103, 1}, {2, 0x0101}};
    for (const auto& [instance, attribute] : others) {
        const std::size_t before = Writes().size();
        link.backend->QueueArrival(ModuleRequest(0xF0, instance, attribute, Hex("09")));
        EXPECT_EQ(Cycle().answer, IoAnswerKind::OtherFrame);
        EXPECT_EQ(Writes().size(), before + 2) << instance << ":" << attribute << " is echoed";
    }
    EXPECT_TRUE(handedOver.ConfigurationData.empty());
    EXPECT_TRUE(handedOver.ParameterData.empty());

    const std::size_t before = Writes().size();
    link.backend->QueueArrival(ModuleRequest(0xF1, 2, 1, Hex("09")));
    EXPECT_EQ(Cycle().timerIntervalMs, IoAnswerIntervalMs);
    EXPECT_EQ(Writes().size(), before + 1);
    EXPECT_TRUE(handedOver.ConfigurationData.empty());
}

TEST_F(IoExchangeTest, LargestHandOverThatFitsTheAnswerBufferIsStored)
{
    const Bytes request = ModuleRequest(0xF0, 2, 1, Bytes(242, 0x7E)); // Length 248, 254 bytes in all
    link.backend->QueueArrival(request);
    Cycle();
    EXPECT_EQ(handedOver.ConfigurationData.size(), 242u);
    EXPECT_EQ(Writes().back().size(), ModuleFrame::BufferSize);
}

// Module requests the cycle must not act on: logged, neither stored nor answered.
struct BadHandOver {
    const char* name;
    Bytes frame;
};

class BadHandOverTest : public IoExchangeTest, public ::testing::WithParamInterface<BadHandOver> {};

TEST_P(BadHandOverTest, IsLoggedOnly)
{
    link.backend->QueueArrival(GetParam().frame);
    const IoCycleOutcome outcome = Cycle();
    EXPECT_EQ(outcome.timerIntervalMs, IoAnswerIntervalMs);
    EXPECT_EQ(outcome.answer, IoAnswerKind::OtherFrame) << "not reported as handed over";
    EXPECT_EQ(Writes().size(), 1u) << "no echo";
    EXPECT_TRUE(handedOver.ConfigurationData.empty());
    EXPECT_EQ(recorder.Size(), 2u);
}

// An intact frame whose body is the first bodySize bytes of the hand-over's body.
Bytes HandOverBody(std::size_t bodySize)
{
    return AssembleFrame(0x44, Request, &HandOver[ModuleFrame::HeaderSize], bodySize);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadHandOverTest,
    ::testing::Values(BadHandOver{"LargerThanTheAnswerBuffer", ModuleRequest(0xF0, 2, 1, Bytes(243, 1))},
                      BadHandOver{"LengthBelowObjectHeader", HandOverBody(5)},
                      BadHandOver{"LengthZero", HandOverBody(0)}),
    [](const ::testing::TestParamInfo<BadHandOver>& info) { return std::string(info.param.name); });

class AppDataObjectTest : public IoExchangeTest {
protected:
    void SetUp() override
    {
        AppDataObjectEntry entry;
        entry.Instance = 1;
        entry.Attribute = 2;
        entry.Data = {0x0A, 0x0B};
        ASSERT_TRUE(table.Add(entry));
    }
};

TEST_F(AppDataObjectTest, NamedObjectIsWrittenToTheModule)
{
    link.backend->QueueArrival(AssembleObjectFrame(0x10, Response, ServiceRead, 0xF1, 1, 2));
    sequence.Set(6);
    const IoCycleOutcome outcome = Cycle();
    EXPECT_EQ(outcome.timerIntervalMs, IoAnswerIntervalMs);
    EXPECT_EQ(outcome.answer, IoAnswerKind::AppDataObject);
    EXPECT_EQ(outcome.instance, 1);
    EXPECT_EQ(outcome.attribute, 2);
    EXPECT_TRUE(outcome.served);
    ASSERT_EQ(Writes().size(), 2u);
    EXPECT_EQ(Writes()[1], Hex("07 01 00 08 02 F1 00 01 00 02 0A 0B 48 84"));
}

TEST_F(AppDataObjectTest, PairNotInTheTableOrAResponseForAnotherObjectSendsNothing)
{
    // The second is how a late answer to an object read of 01/1/2 looks.
    for (const Bytes& answer : {AssembleObjectFrame(0x10, Response, ServiceRead, 0xF1, 2, 1),
                                AssembleObjectFrame(0x10, Response, ServiceRead, 0x01, 1, 2, {0x05})}) {
        const std::size_t before = Writes().size();
        link.backend->QueueArrival(answer);
        EXPECT_EQ(Cycle().timerIntervalMs, IoAnswerIntervalMs);
        EXPECT_EQ(Writes().size(), before + 1) << "only the cyclic frame";
    }
}

TEST_F(AppDataObjectTest, ResponseWithoutAWholeObjectHeaderIsIgnored)
{
    const Bytes named = AssembleObjectFrame(0x10, Response, ServiceRead, 0xF1, 1, 2);
    link.backend->QueueArrival(AssembleFrame(0x10, Response, &named[ModuleFrame::HeaderSize], 5));
    Cycle();
    link.backend->QueueArrival(Bytes(named.begin(), named.begin() + 9)); // attribute code cut short
    Cycle();
    EXPECT_EQ(Writes().size(), 2u) << "only the two cyclic frames";
}

TEST_F(IoExchangeTest, LateAnswerIsSetAsideNotTakenForTheNextAnswer)
{
    link.backend->QueueSilence();
    EXPECT_EQ(Cycle().timerIntervalMs, IoRetryIntervalMs);
    const Bytes late = ModuleRequest(0xF0, 2, 1, Hex("01")); // would be stored and echoed if taken as the answer
    link.backend->Deliver(late);
    link.backend->QueueArrival(IoAnswer({0xBB, 0xCC}));

    EXPECT_EQ(Cycle().data, Hex("BB CC"));
    EXPECT_EQ(Writes().size(), 2u) << "the late request is not echoed";
    EXPECT_TRUE(handedOver.ConfigurationData.empty());
    const std::vector<std::string>& lines = recorder.Lines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1], BytesToHexText(late, 0)) << "logged as received before the next request";
    EXPECT_EQ(lines[2][0], '1');
}

} // namespace

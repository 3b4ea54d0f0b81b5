#include "ObjectAccess.h"

#include "FakeSerialBackend.h"
#include "LogRecorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace trelmo;
using trelmo::fake::FakeLink;
using trelmo::fake::Hex;

namespace {

using Ids = std::vector<int>;

Bytes ResponseWith(const Bytes& data, std::uint8_t frameType = Response)
{
    return AssembleObjectFrame(0x33, frameType, ServiceRead, 0x01, 1, 3, data);
}

std::string Repeat(const std::string& piece, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += (i ? " " : "") + piece;
    return text;
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

// The codes the user types, as they reach the wire: object hex (low 8 bits), instance and attribute decimal
// (low 16 bits, high byte first).
TEST(ReadAttributeTest, TypedCodesOnTheWire)
{
    struct Case {
        const char* object;
        const char* instance;
        const char* attribute;
        const char* wire; // bytes 5 to 9
    };
    const Case cases[] = {
        {"1", "300", "1", "01 01 2C 00 01"},   {"1", "12abc", "-1", "01 00 0C FF FF"},
        {"1F0", "1", "0", "F0 00 01 00 00"},   {"0x10", "1", "0", "00 00 01 00 00"},
        {"G1", "1", "0", "00 00 01 00 00"},    {"10", "10", "10", "10 00 0A 00 0A"},
        {"ff", " +7", "65537", "FF 00 07 00 01"}, {"123", "abc", "70000", "23 00 00 11 70"},
        {" 5", "1", "2", "00 00 01 00 02"},
    };
    for (const Case& c : cases) {
        FakeLink link;
        SequenceCounter counter;
        MessageLog log;
        ReadAttribute(link.port, counter, log, c.object, c.instance, c.attribute);
        ASSERT_EQ(link.backend->Writes().size(), 1u) << c.object;
        const Bytes& frame = link.backend->Writes()[0];
        ASSERT_EQ(frame.size(), 12u);
        EXPECT_EQ(Bytes(frame.begin() + 5, frame.begin() + 10), Hex(c.wire))
            << c.object << " / " << c.instance << " / " << c.attribute;
    }
}

TEST(InputTextTest, ParseHexByteList)
{
    struct Case {
        const char* text;
        const char* bytes;
    };
    const Case cases[] = {
        {"  01 02  ", "01 02"}, {"0102", "02"},         {"1 2 3", "01 02 03"}, {"12,34", "12"},
        {"\t0a FF\r\n", "0A FF"}, {"   ", ""},          {"", ""},              {"01  02", "01 00 02"},
        {"x1 02", "00 02"},     {"1ff", "FF"},          {"01\n02", "01 02"},  {"01\r\n02\r03", "01 02 03"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseHexByteList(c.text), Hex(c.bytes)) << '"' << c.text << '"';
}

TEST(InputTextTest, CountHexTokensCountsBlanksAndLineBreaksPlusOne)
{
    EXPECT_EQ(CountHexTokens(""), 1u);
    EXPECT_EQ(CountHexTokens("0102"), 1u);
    EXPECT_EQ(CountHexTokens("01 02"), 2u);
    EXPECT_EQ(CountHexTokens("01  02"), 3u);
    EXPECT_EQ(CountHexTokens("01\t02"), 1u) << "a tab does not separate";
    EXPECT_EQ(CountHexTokens("01\r\n02\n03"), 3u) << "CR LF is one line break";
}

TEST(InputTextTest, LegalHexByteList)
{
    struct Case {
        std::string text;
        bool legal;
    };
    const Case cases[] = {
        {"01 02", true},          {"  01 02  ", true},          {"", true},
        {"0x12", false},          {"12,34", false},             {"01  02", false},
        {"01 x2", false},         {"-1", false},                {"01 02 ", true},
        {"0102", false},          {"1ff", false},               {"1 f", true},
        {"0A\r\nfF\n1", true},    {"01 \n02", false},           {"01\t02", false},
        {Repeat("AB", 242), true}, {Repeat("AB", 243), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsLegalHexByteList(c.text), c.legal) << '"' << c.text.substr(0, 20) << '"';
}

TEST(ResponseDataTest, FormatIsLowercaseWithTrailingBlank)
{
    EXPECT_EQ(FormatResponseData(Bytes{0x0A, 0xFF}), "0a ff ");
    EXPECT_EQ(FormatResponseData(Bytes{}), "");
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

TEST(CheckAccessTextsTest, RefusalsBeforeSending)
{
    struct Case {
        const char* object;
        const char* instance;
        const char* attribute;
        bool write;
        const char* input;
        int message;
    };
    const Case cases[] = {
        {"", "1", "1", false, "", 126},    {"1", "", "1", false, "", 126},   {"1", "1", "", true, "01", 126},
        {"1", "1", "1", true, "", 127},    {"1", "1", "1", true, "  ", 0},   {"1", "1", "1", false, "", 0},
        {"F0", "1", "1", false, "", 142},  {"f0", "1", "1", false, "", 142}, {"F1", "1", "1", true, "01", 142},
        {"f1", "1", "1", false, "", 142},  {"1F0", "1", "1", false, "", 0},  {"0F0", "1", "1", false, "", 0},
        {"F0 ", "1", "1", false, "", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CheckAccessTexts(c.object, c.instance, c.attribute, c.write, c.input), c.message)
            << c.object << '/' << c.instance << '/' << c.attribute << '/' << c.input;
}

class AccessTest : public ::testing::Test {
protected:
    FakeLink link;
    SequenceCounter counter;
    MessageLog log;
    LogRecorder recorder{log};

    AccessResult Read() { return ReadAttribute(link.port, counter, log, "1", "1", "3"); }
    AccessResult Write(const std::string& input) { return WriteAttribute(link.port, counter, log, "1", "1", "3", input); }
};

TEST_F(AccessTest, ReadShowsLowercaseDataAndLogsUppercase)
{
    counter.Set(5);
    const Bytes answer = ResponseWith({0x0A, 0xFF});
    link.backend->QueueArrival(answer);
    const AccessResult result = Read();
    EXPECT_TRUE(result.success);
    EXPECT_EQ(result.statusTextId, 134);
    EXPECT_EQ(result.responseDataText, "0a ff ");
    EXPECT_TRUE(result.messages.empty());
    EXPECT_EQ(link.backend->Writes(), std::vector<Bytes>{Hex("05 01 00 06 01 01 00 01 00 03 26 57")});
    EXPECT_EQ(recorder.Lines(), (std::vector<std::string>{"105 01 00 06 01 01 00 01 00 03 26 57 ",
                                                     BytesToHexText(answer, 0)}));
    EXPECT_NE(recorder.Lines()[1].find("0A FF "), std::string::npos);
}

TEST_F(AccessTest, ReadOfLengthSixIsRightWithNoData)
{
    link.backend->QueueArrival(ResponseWith({}));
    const AccessResult result = Read();
    EXPECT_TRUE(result.success);
    EXPECT_EQ(result.statusTextId, 134);
    EXPECT_EQ(result.responseDataText, "");
}

TEST_F(AccessTest, ReadWithNoAnswer)
{
    const AccessResult result = Read();
    EXPECT_FALSE(result.success);
    EXPECT_EQ(result.statusTextId, 132);
    EXPECT_FALSE(result.responseDataText);
    EXPECT_EQ(result.messages, Ids{128});
    ASSERT_EQ(recorder.Size(), 1u);
    EXPECT_EQ(recorder.Lines()[0][0], '1');
    EXPECT_EQ(link.backend->Waits(), std::vector<int>{50});
}

TEST_F(AccessTest, ReadAnswersOtherThanAWholeIntactResponseAreErrors)
{
    Bytes wrongCrc = ResponseWith({0x01});
    wrongCrc.back() ^= 0x01;
    const Bytes whole = ResponseWith({0x01, 0x02});
    const std::pair<const char*, Bytes> cases[] = {
        {"request type", ResponseWith({0x01}, Request)},
        {"single byte", Hex("02")},
        {"wrong CRC", wrongCrc},
        {"cut short", Bytes(whole.begin(), whole.end() - 3)},
    };
    for (const auto& [name, answer] : cases) {
        FakeLink fresh;
        MessageLog freshLog;
        LogRecorder freshRecorder(freshLog);
        fresh.backend->QueueArrival(answer);
        const AccessResult result = ReadAttribute(fresh.port, counter, freshLog, "1", "1", "3");
        EXPECT_FALSE(result.success) << name;
        EXPECT_EQ(result.statusTextId, 132) << name;
        EXPECT_FALSE(result.responseDataText) << name << ": the field keeps what it held";
        EXPECT_EQ(result.messages, Ids{128}) << name;
        ASSERT_EQ(freshRecorder.Size(), 2u) << name;
        EXPECT_EQ(freshRecorder.Lines()[1], BytesToHexText(answer, 0)) << name;
    }
}

TEST_F(AccessTest, LateAnswerToAnEarlierReadIsSetAsideBeforeTheNextRequest)
{
    EXPECT_FALSE(Read().success);
    const Bytes late = ResponseWith({0xEE});
    link.backend->Deliver(late);
    link.backend->QueueArrival(ResponseWith({0x0A}));

    const AccessResult result = Read();
    EXPECT_TRUE(result.success);
    EXPECT_EQ(result.responseDataText, "0a ");
    ASSERT_EQ(recorder.Size(), 4u);
    EXPECT_EQ(recorder.Lines()[1], BytesToHexText(late, 0)) << "logged as received, then set aside";
    EXPECT_EQ(recorder.Lines()[2][0], '1');
}

TEST_F(AccessTest, ReadThatCannotBeSentLeavesTheStatus)
{
    link.backend->FailAllWrites();
    const AccessResult result = Read();
    EXPECT_FALSE(result.success);
    EXPECT_FALSE(result.statusTextId);
    EXPECT_EQ(result.messages, Ids{128});
    EXPECT_EQ(recorder.Size(), 0u);
    EXPECT_FALSE(link.port.IsOpen());
}

TEST_F(AccessTest, WriteProbesThenWritesWithConsecutiveSequences)
{
    counter.Set(5);
    link.backend->QueueArrival(ResponseWith({0x00, 0x00}));
    link.backend->QueueArrival(AssembleObjectFrame(0x06, Response, ServiceWrite, 0x01, 1, 3));
    const AccessResult result = Write(" 0A 0B ");
    EXPECT_TRUE(result.success);
    EXPECT_EQ(result.statusTextId, 137);
    EXPECT_TRUE(result.messages.empty());
    EXPECT_EQ(link.backend->Writes(), (std::vector<Bytes>{Hex("05 01 00 06 01 01 00 01 00 03 26 57"),
                                                          Hex("06 01 00 08 02 01 00 01 00 03 0A 0B 14 88")}));
    EXPECT_EQ(recorder.Size(), 4u);
    EXPECT_EQ(counter.Value(), 7);
}

TEST_F(AccessTest, ProbeRefusesALongerWrite)
{
    link.backend->QueueArrival(ResponseWith({0x00, 0x00}));
    const AccessResult result = Write("01 02 03");
    EXPECT_FALSE(result.success);
    EXPECT_FALSE(result.statusTextId);
    EXPECT_EQ(result.messages, Ids{129});
    EXPECT_EQ(link.backend->Writes().size(), 1u);
    ASSERT_EQ(recorder.Size(), 2u);
    EXPECT_EQ(recorder.Lines()[0][0], '1');
    EXPECT_EQ(recorder.Lines()[1][0], '0');
}

TEST_F(AccessTest, ProbeWithLengthBelowSixRefusesTheWrite)
{
    link.backend->QueueArrival(AssembleFrame(0x02, Response, Hex("01 01 00 01 00")));
    const AccessResult result = Write("01");
    EXPECT_FALSE(result.success);
    EXPECT_FALSE(result.statusTextId);
    EXPECT_EQ(link.backend->Writes().size(), 1u);
}

TEST_F(AccessTest, ProbeTooShortToHoldALengthRefusesTheWrite)
{
    link.backend->QueueArrival(Hex("02 02 00"));
    EXPECT_FALSE(Write("01").success);
    EXPECT_EQ(link.backend->Writes().size(), 1u);
}

TEST_F(AccessTest, ProbeTypeIsNotExamined)
{
    link.backend->QueueArrival(ResponseWith({0x00}, Request));
    link.backend->QueueArrival(ResponseWith({}));
    EXPECT_TRUE(Write("7F").success);
}

TEST_F(AccessTest, UnansweredProbe)
{
    const AccessResult result = Write("01");
    EXPECT_FALSE(result.success);
    EXPECT_FALSE(result.statusTextId);
    EXPECT_EQ(result.messages, Ids{129});
    EXPECT_EQ(recorder.Size(), 1u);
}

TEST_F(AccessTest, InputRefusedBeforeAnythingIsSent)
{
    struct Case {
        std::string input;
        Ids messages;
    };
    const Case cases[] = {
        {"   ", {135, 129}},         {"\r\n\t", {135, 129}},        {"01  02", {110, 129}},
        {"01 zz", {110, 129}},       {Repeat("01", 243), {110, 129}}, {"02\n0304", {110, 129}},
    };
    for (const Case& c : cases) {
        const AccessResult result = Write(c.input);
        EXPECT_FALSE(result.success);
        EXPECT_FALSE(result.statusTextId);
        EXPECT_EQ(result.messages, c.messages) << '"' << c.input.substr(0, 20) << '"';
    }
    EXPECT_EQ(link.backend->WriteCalls(), 0u);
    EXPECT_EQ(recorder.Size(), 0u);
    EXPECT_EQ(counter.Value(), 1) << "no Sequence value is used";
}

TEST_F(AccessTest, LargestWriteFitsTheModuleBuffer)
{
    link.backend->QueueArrival(AssembleObjectFrame(1, Response, ServiceRead, 1, 1, 3, Bytes(242, 0)));
    link.backend->QueueArrival(ResponseWith({}));
    EXPECT_TRUE(Write(Repeat("5A", 242)).success);
    ASSERT_EQ(link.backend->Writes().size(), 2u);
    EXPECT_EQ(link.backend->Writes()[1].size(), 254u);
}

TEST_F(AccessTest, WriteRequestFailures)
{
    struct Case {
        const char* name;
        bool failSecondWrite;
        Bytes writeAnswer;
        std::size_t logLines;
    };
    const Case cases[] = {
        {"not sent", true, {}, 2},
        {"not answered", false, {}, 3},
        {"answered with a request", false, ResponseWith({}, Request), 4},
    };
    for (const Case& c : cases) {
        FakeLink fresh;
        MessageLog freshLog;
        LogRecorder freshRecorder(freshLog);
        fresh.backend->QueueArrival(ResponseWith({0x00}));
        fresh.backend->QueueArrival(c.writeAnswer);
        if (c.failSecondWrite)
            fresh.backend->FailWritesFrom(1);
        const AccessResult result = WriteAttribute(fresh.port, counter, freshLog, "1", "1", "3", "01");
        EXPECT_FALSE(result.success) << c.name;
        EXPECT_EQ(result.statusTextId, 136) << c.name;
        EXPECT_EQ(result.messages, Ids{129}) << c.name;
        EXPECT_EQ(freshRecorder.Size(), c.logLines) << c.name;
    }
}

} // namespace

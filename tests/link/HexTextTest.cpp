// The hex writers and readers: the log line, the response data field, typed hex bytes and the command line's.

#include "HexText.h"

#include "WireBytes.h"

#include <gtest/gtest.h>

using namespace trelmo;
using trelmo::testing::Repeat;

namespace {

TEST(HexWriterTest, LogLineCellAndResponseData)
{
    const Bytes bytes = {0x01, 0x0A, 0xFF};
    EXPECT_EQ(BytesToHexText(bytes, 1), "101 0A FF ");
    EXPECT_EQ(BytesToHexText(bytes, 1).size(), 10u);
    EXPECT_EQ(BytesToHexText(bytes, 0), "001 0A FF ");
    EXPECT_EQ(BytesToHexText(bytes, 7), "001 0A FF ") << "any direction but 1 is received";
    EXPECT_EQ(BytesToHexText(Bytes{}, 1), "1");
    EXPECT_EQ(BytesToHexText(Bytes{}, 0), "0");
    EXPECT_EQ(HexPair(0x0A), "0A");
    EXPECT_EQ(HexPair(0x00), "00");
    EXPECT_EQ(FormatResponseData(Bytes{0x0A, 0xFF}), "0a ff ") << "lowercase, each pair followed by a blank";
    EXPECT_EQ(FormatResponseData(Bytes{}), "");
}

TEST(HexReaderTest, IsHexText)
{
    struct Case {
        const char* text;
        bool hex;
    };
    const Case cases[] = {{"0F", true}, {"A", true},  {"", true},   {"09", true}, {"0f", false},
                          {"G1", false}, {"A ", false}, {" A", false}, {"-1", false}};
    for (const Case& c : cases)
        EXPECT_EQ(IsHexText(c.text), c.hex) << '"' << c.text << '"';
}

TEST(HexReaderTest, ParseHexByteList)
{
    struct Case {
        const char* text;
        Bytes bytes;
    };
    const Case cases[] = {
        {"  01 02  ", {0x01, 0x02}}, {"0102", {0x02}},        {"1 2 3", {0x01, 0x02, 0x03}},
        {"12,34", {0x12}},           {"\t0a FF\r\n", {0x0A, 0xFF}}, {"   ", {}},
        {"", {}},                    {"01  02", {0x01, 0x00, 0x02}}, {"x1 02", {0x00, 0x02}},
        {"1ff", {0xFF}},             {"01\n02", {0x01, 0x02}}, {"01\r\n02\r03", {0x01, 0x02, 0x03}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseHexByteList(c.text), c.bytes) << '"' << c.text << '"';
}

TEST(HexReaderTest, CountHexTokensCountsBlanksAndLineBreaksPlusOne)
{
    EXPECT_EQ(CountHexTokens(""), 1u);
    EXPECT_EQ(CountHexTokens("0102"), 1u);
    EXPECT_EQ(CountHexTokens("01 02"), 2u);
    EXPECT_EQ(CountHexTokens("01  02"), 3u);
    EXPECT_EQ(CountHexTokens("01\t02"), 1u) << "a tab does not separate";
    EXPECT_EQ(CountHexTokens("01\r\n02\n03"), 3u) << "CR LF is one line break";
}

TEST(HexReaderTest, LegalHexByteList)
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
        {Repeat("AB", MaxObjectDataBytes), true}, {Repeat("AB", MaxObjectDataBytes + 1), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsLegalHexByteList(c.text), c.legal) << '"' << c.text.substr(0, 20) << '"';
}

// The virtual module's command line takes runs of digit pairs and refuses anything else.
TEST(HexReaderTest, ParseHexDigitPairs)
{
    EXPECT_EQ(ParseHexDigitPairs("01 0a FF"), (Bytes{0x01, 0x0A, 0xFF}));
    EXPECT_EQ(ParseHexDigitPairs("010203"), (Bytes{0x01, 0x02, 0x03}));
    EXPECT_EQ(ParseHexDigitPairs(" 1  2,3 "), (Bytes{0x01, 0x02, 0x03}));
    EXPECT_EQ(ParseHexDigitPairs("123"), (Bytes{0x01, 0x23})) << "an odd run is read with a leading 0";
    EXPECT_EQ(ParseHexDigitPairs(""), Bytes{});
    for (const char* bad : {"0x12", "G1", "+1", "12 -3"})
        EXPECT_FALSE(ParseHexDigitPairs(bad)) << bad;
}

} // namespace

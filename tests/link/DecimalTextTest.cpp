// The decimal readers side by side: each keeps its own rule for blanks, signs, overflow and trailing text.

#include "DecimalText.h"

#include <gtest/gtest.h>

#include <climits>

using namespace trelmo;

namespace {

TEST(DecimalTextTest, EachReaderKeepsItsRule)
{
    struct Case {
        const char* text;
        std::int32_t signedWrapping;  // ParseDecimalValue
        int leadingDigits;            // LeadingDigitsValue
        int leadingDigitsAfterSpace;  // LeadingDigitsValueAfterSpace
    };
    const Case cases[] = {
        {"", 0, 0, 0},
        {"abc", 0, 0, 0},
        {"0", 0, 0, 0},
        {"007", 7, 7, 7},
        {"126", 126, 126, 126},
        {"300", 300, 300, 300},
        {"12x5", 12, 12, 12},
        {"12abc", 12, 12, 12},
        {" 12", 12, 0, 12},
        {"\t 7", 7, 0, 7},
        {" +7", 7, 0, 0},
        {"-1", -1, 0, 0},
        {"-5", -5, 0, 0},
        {"65537", 65537, 65537, 65537},
        {"4294967297", 1, INT_MAX, INT_MAX},
        {"99999999999999999999", 0x630FFFFF, INT_MAX, INT_MAX}, // 10^20 modulo 2^32
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseDecimalValue(c.text), c.signedWrapping) << '"' << c.text << '"';
        EXPECT_EQ(LeadingDigitsValue(c.text), c.leadingDigits) << '"' << c.text << '"';
        EXPECT_EQ(LeadingDigitsValueAfterSpace(c.text), c.leadingDigitsAfterSpace) << '"' << c.text << '"';
    }
}

} // namespace

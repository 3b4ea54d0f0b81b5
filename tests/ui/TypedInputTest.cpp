// Reading the Object Module Access window's typed texts: the codes as they reach the wire, the refusals of the Send
// action and the bytes to write.

#include "TypedInput.h"

#include "WireBytes.h"

#include <gtest/gtest.h>

using namespace trelmo;
using trelmo::testing::Hex;
using trelmo::testing::Repeat;

namespace {

// The codes the user types, as they reach the wire: object hex (low 8 bits), instance and attribute decimal
// (low 16 bits, high byte first).
TEST(TypedInputTest, CodesAsTheyReachTheWire)
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
        const Bytes frame = AssembleObjectFrame(1, Request, ServiceRead, AddressFromTexts(c.object, c.instance,
                                                                                          c.attribute));
        EXPECT_EQ(Bytes(frame.begin() + 5, frame.begin() + 10), Hex(c.wire))
            << c.object << " / " << c.instance << " / " << c.attribute;
    }
}

TEST(TypedInputTest, RefusalsBeforeSending)
{
    struct Case {
        const char* object;
        const char* instance;
        const char* attribute;
        bool write;
        const char* input;
        AccessCheck check;
    };
    using C = AccessCheck;
    const Case cases[] = {
        {"", "1", "1", false, "", C::CodesIncomplete},   {"1", "", "1", false, "", C::CodesIncomplete},
        {"1", "1", "", true, "01", C::CodesIncomplete},  {"1", "1", "1", true, "", C::InputDataMissing},
        {"1", "1", "1", true, "  ", C::Ready},           {"1", "1", "1", false, "", C::Ready},
        {"F0", "1", "1", false, "", C::ReservedObject},  {"f0", "1", "1", false, "", C::ReservedObject},
        {"F1", "1", "1", true, "01", C::ReservedObject}, {"f1", "1", "1", false, "", C::ReservedObject},
        {"1F0", "1", "1", false, "", C::ReservedObject}, {"0F0", "1", "1", false, "", C::ReservedObject},
        {"F0 ", "1", "1", false, "", C::ReservedObject}, {"00F1", "1", "1", false, "", C::ReservedObject},
        {"F2", "1", "1", false, "", C::Ready},           {"1EF", "1", "1", false, "", C::Ready},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CheckAccessTexts(c.object, c.instance, c.attribute, c.write, c.input), c.check)
            << c.object << '/' << c.instance << '/' << c.attribute << '/' << c.input;
}

TEST(TypedInputTest, WriteInputRefusedOrRead)
{
    struct Case {
        std::string input;
        WriteInput check;
        Bytes bytes;
    };
    using W = WriteInput;
    const Case cases[] = {
        {"   ", W::Empty, {}},          {"\r\n\t", W::Empty, {}},   {"01  02", W::Illegal, {}},
        {"01 zz", W::Illegal, {}},      {"02\n0304", W::Illegal, {}}, {Repeat("01", 243), W::Illegal, {}},
        {" a 0B ", W::Ready, {0x0A, 0x0B}}, {Repeat("5A", 242), W::Ready, Bytes(242, 0x5A)},
    };
    for (const Case& c : cases) {
        const WriteInputBytes read = ParseWriteInput(c.input);
        EXPECT_EQ(read.check, c.check) << '"' << c.input.substr(0, 20) << '"';
        EXPECT_EQ(read.bytes, c.bytes) << '"' << c.input.substr(0, 20) << '"';
    }
}

TEST(TypedInputTest, AppDataObjectAddChecks)
{
    AppDataObjectTable table;
    table.Add({1, 23, {0x01}, "01"});
    const std::string longText = Repeat("01", 243);
    struct Case {
        std::string instance;
        std::string attribute;
        std::string data;
        AppDataObjectAddOutcome outcome;
        AppDataObjectEntry entry;
    };
    using O = AppDataObjectAddOutcome;
    const Case cases[] = {
        {"1", "23", "02", O::RepeatedPair, {}},
        {"1", "23", "", O::RepeatedPair, {}},
        {"12", "3", "  01 02  ", O::Accepted, {12, 3, {}, "01 02"}},
        {"12", "3", "01\r\n02\n03 ", O::Accepted, {12, 3, {}, "01 02 03"}},
        {"", "", "7F", O::Accepted, {0, 0, {}, "7F"}},
        {"300", "1", "01", O::Accepted, {300, 1, {}, "01"}},
        {"65535", "65535", "01", O::Accepted, {65535, 65535, {}, "01"}},
        {"65537", "23", "01", O::OutOfRange, {}}, // would go on the wire as instance 1
        {"1", "65536", "01", O::OutOfRange, {}},
        {" 5", "6x", "01", O::Accepted, {5, 6, {}, "01"}},
        {"2", "2", " \r\n ", O::EmptyData, {}},
        {"2", "2", "", O::EmptyData, {}},
        {"2", "2", "01  02", O::IllegalData, {}},
        {"2", "2", "01 G2", O::IllegalData, {}},
        {"2", "2", "0102", O::IllegalData, {}},
        {"2", "2", "12,34", O::IllegalData, {}},
        {"2", "2", longText, O::IllegalData, {}},
        {"2", "2", longText.substr(3), O::Accepted, {2, 2, {}, longText.substr(3)}},
    };
    for (const Case& c : cases) {
        const AppDataObjectAddCheck check = CheckAppDataObjectAdd(table, c.instance, c.attribute, c.data);
        const std::string label = c.instance + "/" + c.attribute + "/" + c.data.substr(0, 12);
        EXPECT_EQ(check.outcome, c.outcome) << label;
        if (c.outcome == O::Accepted) {
            EXPECT_EQ(check.entry.Instance, c.entry.Instance) << label;
            EXPECT_EQ(check.entry.Attribute, c.entry.Attribute) << label;
            EXPECT_EQ(check.entry.Data, Hex(c.entry.DataText)) << label;
            EXPECT_EQ(check.entry.DataText, c.entry.DataText) << label;
        }
    }
    EXPECT_EQ(table.Size(), 1u) << "checking adds nothing";
}

} // namespace

#include "Frame.h"
#include "WireBytes.h"

#include <gtest/gtest.h>

using namespace trelmo;

namespace {

using trelmo::testing::Hex;

struct WholeFrame {
    const char* name;
    const char* withoutCrc;
    const char* withCrc;
};

// Worked frames of the protocol: connection requests, module information, object access, cyclic I/O,
// application data objects, and a plain CRC check.
const WholeFrame kWholeFrames[] = {
    {"go on line, sequence 0", "00 01 00 07 02 00 00 02 00 00 01", "00 01 00 07 02 00 00 02 00 00 01 F5 7F"},
    {"read object 2 instance 1, sequence 5", "05 01 00 06 01 02 00 01 00 00", "05 01 00 06 01 02 00 01 00 00 22 56"},
    {"I/O write of two bytes", "10 00 00 02 12 34", "10 00 00 02 12 34 AE 3C"},
    {"bus address 126, sequence 1", "01 01 00 07 02 03 00 01 00 01 7E", "01 01 00 07 02 03 00 01 00 01 7E B1 84"},
    {"write length 0, sequence 7", "07 00 00 00", "07 00 00 00 01 50"},
    {"write length 3, sequence 0x20", "20 00 00 03 0A 00 FF", "20 00 00 03 0A 00 FF 5A C4"},
    {"object read 1/1/3, sequence 5", "05 01 00 06 01 01 00 01 00 03", "05 01 00 06 01 01 00 01 00 03 26 57"},
    {"object write 0A 0B, sequence 6", "06 01 00 08 02 01 00 01 00 03 0A 0B",
     "06 01 00 08 02 01 00 01 00 03 0A 0B 14 88"},
    {"application data object 1/2, sequence 7", "07 01 00 08 02 F1 00 01 00 02 0A 0B",
     "07 01 00 08 02 F1 00 01 00 02 0A 0B 48 84"},
};

class WholeFrameTest : public ::testing::TestWithParam<WholeFrame> {};

TEST_P(WholeFrameTest, CrcClosesTheFrameLowOrderByteFirst)
{
    const Bytes head = Hex(GetParam().withoutCrc);
    const Bytes expected = Hex(GetParam().withCrc);
    const Bytes frame = AssembleFrame(head[0], head[1], head.data() + 4, head.size() - 4);
    EXPECT_EQ(frame, expected) << GetParam().name;
    EXPECT_EQ(ReadBigEndian16(&frame[ModuleFrame::Length]) + ModuleFrame::Overhead, frame.size());
}

INSTANTIATE_TEST_SUITE_P(Examples, WholeFrameTest, ::testing::ValuesIn(kWholeFrames));

TEST(FrameTest, ObjectFramesPlaceCodesBigEndian)
{
    EXPECT_EQ(AssembleObjectFrame(1, Request, ServiceWrite, 0x03, 1, 1, {0x7E}),
              Hex("01 01 00 07 02 03 00 01 00 01 7E B1 84"));
    EXPECT_EQ(AssembleObjectFrame(7, Request, ServiceWrite, 0xF1, 1, 2, {0x0A, 0x0B}),
              Hex("07 01 00 08 02 F1 00 01 00 02 0A 0B 48 84"));
    const Bytes wide = AssembleObjectFrame(0, Request, ServiceRead, 0x01, 0x012C, 0xFFFF);
    EXPECT_EQ(wide[6], 0x01);
    EXPECT_EQ(wide[7], 0x2C);
    EXPECT_EQ(wide[8], 0xFF);
    EXPECT_EQ(wide[9], 0xFF);
    EXPECT_EQ(wide.size(), 12u);
}

TEST(CrcTest, KnownValues)
{
    const Bytes modbus = Hex("01 03 00 00 00 01");
    EXPECT_EQ(ComputeCrc16(modbus.data(), 6), 0x840A) << "wire order 84 0A";
    const Bytes digits = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(ComputeCrc16(digits.data(), 9), 0x374B);
    EXPECT_EQ(ComputeCrc16(nullptr, 0), 0xFFFF);
}

TEST(SequenceCounterTest, StartsAtOneAndWrapsOnTheWire)
{
    SequenceCounter counter;
    EXPECT_EQ(counter.Take(), 1);
    for (int frame = 2; frame < 256; ++frame)
        EXPECT_EQ(counter.Take(), frame & 0xFF);
    EXPECT_EQ(counter.Value(), 256);
    EXPECT_EQ(counter.Take(), 0) << "the 256th frame carries sequence 0";
    EXPECT_EQ(counter.Value(), 257);
    EXPECT_EQ(counter.Take(), 1);
}

TEST(SequenceCounterTest, KeepsCountingPastTheSignedRange)
{
    SequenceCounter counter;
    counter.Set(0x7FFFFFFF);
    EXPECT_EQ(counter.Take(), 0xFF);
    EXPECT_EQ(counter.Take(), 0x00);
}

} // namespace

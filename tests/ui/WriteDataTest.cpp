#include "WriteData.h"

#include "DecimalText.h"
#include "HexText.h"
#include "MemoryGrid.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace trelmo;
using trelmo::testing::MemoryGrid;

namespace {

class WriteDataTest : public ::testing::Test {
protected:
    // As the window does: the typed text is read once, then applied.
    WriteLengthOutcome Apply(const std::string& text)
    {
        return ApplyWriteLength(grid, data, LeadingDigitsValueAfterSpace(text));
    }
    CellEditOutcome Commit(int byteIndex, const std::string& text)
    {
        return CommitCellEdit(grid, data, CellIndex(byteIndex), text);
    }

    MemoryGrid grid;
    WriteData data;
};

TEST_F(WriteDataTest, AppliedLengthActivatesCellsAndFillsEmptyOnesWithZero)
{
    grid.SetText(1, "7F");
    EXPECT_EQ(Apply("3"), WriteLengthOutcome::Applied);

    EXPECT_EQ(data.length, 3);
    EXPECT_EQ(grid.Text(0), "00");
    EXPECT_EQ(grid.Text(1), "7F");
    EXPECT_EQ(grid.Text(2), "00");
    EXPECT_TRUE(grid.Active(2));
    EXPECT_FALSE(grid.Active(3));
    EXPECT_EQ(grid.Text(3), "");
    EXPECT_EQ(data.bytes[1], 0x7F);
}

TEST_F(WriteDataTest, LengthUpTo244IsAcceptedAndAboveIsRefusedKeepingThePreviousLength)
{
    ASSERT_EQ(Apply("244"), WriteLengthOutcome::Applied);
    EXPECT_TRUE(grid.Active(243));
    EXPECT_FALSE(grid.Active(244));

    ASSERT_EQ(Apply("12"), WriteLengthOutcome::Applied);
    grid.SetText(0, "AB");
    EXPECT_EQ(Apply("245"), WriteLengthOutcome::OutOfRange);
    EXPECT_EQ(data.length, 12);
    EXPECT_FALSE(grid.Active(12));
    EXPECT_EQ(data.bytes[0], 0x00) << "a refused length does not rebuild the write data";
    EXPECT_EQ(Apply("99999999999"), WriteLengthOutcome::OutOfRange);
    EXPECT_EQ(ApplyWriteLength(grid, data, -1), WriteLengthOutcome::OutOfRange);
    EXPECT_EQ(data.length, 12);
}

TEST_F(WriteDataTest, ShrinkingEmptiesAndGreysAndGrowingBackRefillsWithZero)
{
    ASSERT_EQ(Apply("20"), WriteLengthOutcome::Applied);
    grid.SetText(15, "5A");
    ASSERT_EQ(Apply("12"), WriteLengthOutcome::Applied);
    for (int i = 12; i < 20; ++i) {
        EXPECT_FALSE(grid.Active(i)) << i;
        EXPECT_EQ(grid.Text(i), "") << i;
    }
    EXPECT_TRUE(grid.Active(11));

    ASSERT_EQ(Apply("20"), WriteLengthOutcome::Applied);
    for (int i = 12; i < 20; ++i) {
        EXPECT_TRUE(grid.Active(i)) << i;
        EXPECT_EQ(grid.Text(i), "00") << i;
    }
    EXPECT_EQ(data.bytes[15], 0x00);
}

TEST_F(WriteDataTest, EmptyLengthTextCountsAsZero)
{
    ASSERT_EQ(Apply("5"), WriteLengthOutcome::Applied);
    ASSERT_EQ(Apply(""), WriteLengthOutcome::Applied);
    EXPECT_EQ(data.length, 0);
    EXPECT_FALSE(grid.Active(0));
}

TEST_F(WriteDataTest, CommitRefusesAnythingButUppercaseHex)
{
    ASSERT_EQ(Apply("2"), WriteLengthOutcome::Applied);
    for (const char* text : {"0f", "a", "G1", "1 ", "-1"}) {
        EXPECT_EQ(Commit(0, text), CellEditOutcome::NotUppercaseHex) << text;
        EXPECT_EQ(grid.Text(0), "00") << text;
        EXPECT_EQ(data.bytes[0], 0x00) << text;
    }
}

TEST_F(WriteDataTest, CommitStoresTheCellAndRebuildsWithEmptyAsZero)
{
    ASSERT_EQ(Apply("3"), WriteLengthOutcome::Applied);
    EXPECT_EQ(Commit(0, "0A"), CellEditOutcome::Stored);
    EXPECT_EQ(Commit(1, "F"), CellEditOutcome::Stored);
    EXPECT_EQ(Commit(2, "FF"), CellEditOutcome::Stored);
    EXPECT_EQ(data.bytes[0], 0x0A);
    EXPECT_EQ(data.bytes[1], 0x0F);
    EXPECT_EQ(data.bytes[2], 0xFF);

    EXPECT_EQ(Commit(1, ""), CellEditOutcome::Stored);
    EXPECT_EQ(grid.Text(1), "") << "an empty cell stays empty until the length is applied again";
    EXPECT_EQ(data.bytes[1], 0x00);
    ASSERT_EQ(Apply("3"), WriteLengthOutcome::Applied);
    EXPECT_EQ(grid.Text(1), "00");
}

TEST_F(WriteDataTest, CommitOverAHeadingStoresNothing)
{
    ASSERT_EQ(Apply("3"), WriteLengthOutcome::Applied);
    grid.SetCellText(1, 0, "000");
    EXPECT_EQ(CommitCellEdit(grid, data, {1, 0}, "AB"), CellEditOutcome::Stored);
    EXPECT_EQ(grid.CellText(1, 0), "000");
    EXPECT_EQ(CommitCellEdit(grid, data, {26, 1}, "AB"), CellEditOutcome::Stored);
}

TEST_F(WriteDataTest, OnlyDataCellsWithinTheWriteLengthAreEditable)
{
    EXPECT_FALSE(IsWriteCellEditable(1, 1, data)) << "nothing at length 0";
    ASSERT_EQ(Apply("11"), WriteLengthOutcome::Applied);
    for (int column = 1; column <= 10; ++column)
        EXPECT_TRUE(IsWriteCellEditable(1, column, data)) << column;
    EXPECT_TRUE(IsWriteCellEditable(2, 1, data));
    EXPECT_FALSE(IsWriteCellEditable(2, 2, data));
    EXPECT_FALSE(IsWriteCellEditable(0, 1, data)) << "heading row";
    EXPECT_FALSE(IsWriteCellEditable(2, 0, data)) << "heading column";
    EXPECT_FALSE(IsWriteCellEditable(1, 11, data));

    ASSERT_EQ(Apply("244"), WriteLengthOutcome::Applied);
    EXPECT_TRUE(IsWriteCellEditable(25, 4, data));
    EXPECT_FALSE(IsWriteCellEditable(25, 5, data));
    EXPECT_FALSE(IsWriteCellEditable(26, 1, data)) << "beyond the last row";
}

// The read grid follows the length of each answer: cells in use are active and show their byte, the rest are
// emptied and grey.
TEST(ReadGridTest, FollowsTheLengthOfEachAnswer)
{
    MemoryGrid grid;
    int length = 0;
    for (const Bytes& data : {Bytes{0x11, 0x22, 0xA3}, Bytes{0x44}, Bytes(12, 0xAB), Bytes(260, 0x01), Bytes()}) {
        length = ShowReadData(grid, data, length);
        const int expected = std::min(static_cast<int>(data.size()), GridDataCells);
        EXPECT_EQ(length, expected);
        for (int j = 0; j < GridDataCells; ++j) {
            const bool inUse = j < expected;
            ASSERT_EQ(grid.Active(j), inUse) << data.size() << " cell " << j;
            ASSERT_EQ(grid.Text(j), inUse ? HexPair(data[static_cast<std::size_t>(j)]) : "") << data.size() << " cell " << j;
        }
    }
}

} // namespace

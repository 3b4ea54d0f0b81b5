#include "WriteData.h"

#include "MemoryGrid.h"

#include <gtest/gtest.h>

#include <climits>

using namespace trelmo;
using trelmo::testing::MemoryGrid;

namespace {

class WriteDataTest : public ::testing::Test {
protected:
    int Apply(const std::string& text) { return ApplyWriteLength(grid, state, text); }
    int Commit(int byteIndex, const std::string& text) { return CommitCellEdit(grid, state, CellIndex(byteIndex), text); }

    MemoryGrid grid;
    WriteDataState state;
};

TEST(DecimalLengthValueTest, ReadsLeadingDigitsAndNeverOverflows)
{
    const struct {
        const char* text;
        int value;
    } cases[] = {{"", 0}, {"0", 0}, {"007", 7}, {"244", 244}, {" 12", 12}, {"12ab", 12}, {"-5", 0},
                 {"99999999999999999999", INT_MAX}};
    for (const auto& c : cases)
        EXPECT_EQ(DecimalLengthValue(c.text), c.value) << '"' << c.text << '"';
}

TEST_F(WriteDataTest, AppliedLengthActivatesCellsAndFillsEmptyOnesWithZero)
{
    grid.SetText(1, "7F");
    EXPECT_EQ(Apply("3"), NoMessage);

    EXPECT_EQ(state.WriteLengthText, "3");
    EXPECT_EQ(grid.Text(0), "00");
    EXPECT_EQ(grid.Text(1), "7F");
    EXPECT_EQ(grid.Text(2), "00");
    EXPECT_TRUE(grid.Active(2));
    EXPECT_FALSE(grid.Active(3));
    EXPECT_EQ(grid.Text(3), "");
    EXPECT_EQ(state.WriteData[1], 0x7F);
}

TEST_F(WriteDataTest, LengthUpTo244IsAcceptedAndAboveIsRefusedKeepingThePreviousLength)
{
    ASSERT_EQ(Apply("244"), NoMessage);
    EXPECT_TRUE(grid.Active(243));
    EXPECT_FALSE(grid.Active(244));

    ASSERT_EQ(Apply("12"), NoMessage);
    grid.SetText(0, "AB");
    EXPECT_EQ(Apply("245"), TextMaximumByte244);
    EXPECT_EQ(state.WriteLengthText, "12");
    EXPECT_FALSE(grid.Active(12));
    EXPECT_EQ(state.WriteData[0], 0x00) << "a refused length does not rebuild the write data";
    EXPECT_EQ(Apply("99999999999"), TextMaximumByte244);
    EXPECT_EQ(state.WriteLengthText, "12");
}

TEST_F(WriteDataTest, ShrinkingEmptiesAndGreysAndGrowingBackRefillsWithZero)
{
    ASSERT_EQ(Apply("20"), NoMessage);
    grid.SetText(15, "5A");
    ASSERT_EQ(Apply("12"), NoMessage);
    for (int i = 12; i < 20; ++i) {
        EXPECT_FALSE(grid.Active(i)) << i;
        EXPECT_EQ(grid.Text(i), "") << i;
    }
    EXPECT_TRUE(grid.Active(11));

    ASSERT_EQ(Apply("20"), NoMessage);
    for (int i = 12; i < 20; ++i) {
        EXPECT_TRUE(grid.Active(i)) << i;
        EXPECT_EQ(grid.Text(i), "00") << i;
    }
    EXPECT_EQ(state.WriteData[15], 0x00);
}

TEST_F(WriteDataTest, EmptyLengthTextCountsAsZero)
{
    ASSERT_EQ(Apply("5"), NoMessage);
    ASSERT_EQ(Apply(""), NoMessage);
    EXPECT_EQ(WriteLength(state), 0);
    EXPECT_FALSE(grid.Active(0));
}

TEST_F(WriteDataTest, CommitRefusesAnythingButUppercaseHex)
{
    ASSERT_EQ(Apply("2"), NoMessage);
    for (const char* text : {"0f", "a", "G1", "1 ", "-1"}) {
        EXPECT_EQ(Commit(0, text), TextIllegalInputData) << text;
        EXPECT_EQ(grid.Text(0), "00") << text;
        EXPECT_EQ(state.WriteData[0], 0x00) << text;
    }
}

TEST_F(WriteDataTest, CommitStoresTheCellAndRebuildsWithEmptyAsZero)
{
    ASSERT_EQ(Apply("3"), NoMessage);
    EXPECT_EQ(Commit(0, "0A"), NoMessage);
    EXPECT_EQ(Commit(1, "F"), NoMessage);
    EXPECT_EQ(Commit(2, "FF"), NoMessage);
    EXPECT_EQ(state.WriteData[0], 0x0A);
    EXPECT_EQ(state.WriteData[1], 0x0F);
    EXPECT_EQ(state.WriteData[2], 0xFF);

    EXPECT_EQ(Commit(1, ""), NoMessage);
    EXPECT_EQ(grid.Text(1), "") << "an empty cell stays empty until the length is applied again";
    EXPECT_EQ(state.WriteData[1], 0x00);
    ASSERT_EQ(Apply("3"), NoMessage);
    EXPECT_EQ(grid.Text(1), "00");
}

TEST_F(WriteDataTest, CommitOverAHeadingStoresNothing)
{
    ASSERT_EQ(Apply("3"), NoMessage);
    grid.SetCellText(1, 0, "000");
    EXPECT_EQ(CommitCellEdit(grid, state, {1, 0}, "AB"), NoMessage);
    EXPECT_EQ(grid.CellText(1, 0), "000");
    EXPECT_EQ(CommitCellEdit(grid, state, {26, 1}, "AB"), NoMessage);
}

TEST_F(WriteDataTest, OnlyDataCellsWithinTheWriteLengthAreEditable)
{
    EXPECT_FALSE(IsWriteCellEditable(1, 1, state)) << "nothing at length 0";
    ASSERT_EQ(Apply("11"), NoMessage);
    for (int column = 1; column <= 10; ++column)
        EXPECT_TRUE(IsWriteCellEditable(1, column, state)) << column;
    EXPECT_TRUE(IsWriteCellEditable(2, 1, state));
    EXPECT_FALSE(IsWriteCellEditable(2, 2, state));
    EXPECT_FALSE(IsWriteCellEditable(0, 1, state)) << "heading row";
    EXPECT_FALSE(IsWriteCellEditable(2, 0, state)) << "heading column";
    EXPECT_FALSE(IsWriteCellEditable(1, 11, state));

    ASSERT_EQ(Apply("244"), NoMessage);
    EXPECT_TRUE(IsWriteCellEditable(25, 4, state));
    EXPECT_FALSE(IsWriteCellEditable(25, 5, state));
    EXPECT_FALSE(IsWriteCellEditable(26, 1, state)) << "beyond the last row";
}

} // namespace

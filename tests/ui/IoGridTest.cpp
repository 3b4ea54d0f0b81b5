#include "IoGrid.h"
#include "MemoryGrid.h"
#include "Twips.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

#include <QGuiApplication>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace trelmo;
using namespace trelmo::testing;

namespace {

class IoGridTest : public ::testing::Test {
protected:
    IoGridTest() : grid(&table) { table.resize(400, 500); }

    std::string Text(int byteIndex) const { return ByteText(grid, byteIndex); }
    bool Active(int byteIndex) const { return ByteActive(grid, byteIndex); }
    void SetText(int byteIndex, const std::string& text) { SetByteText(grid, byteIndex, text); }

    QTableWidget table;
    IoGrid grid;
};

TEST_F(IoGridTest, HasTheFixedShapeAndHeadings)
{
    EXPECT_EQ(grid.Rows(), 26);
    EXPECT_EQ(grid.Cols(), 11);
    EXPECT_EQ(table.rowCount(), 25);
    EXPECT_EQ(table.columnCount(), 10);
    EXPECT_EQ(grid.CellText(0, 0), "");
    for (int column = 1; column <= 10; ++column)
        EXPECT_EQ(grid.CellText(0, column), std::to_string(column - 1));
    EXPECT_EQ(grid.CellText(1, 0), "000");
    EXPECT_EQ(grid.CellText(2, 0), "010");
    EXPECT_EQ(grid.CellText(13, 0), "120");
    EXPECT_EQ(grid.CellText(25, 0), "240");
    EXPECT_EQ(table.horizontalHeaderItem(7)->text(), QStringLiteral("7"));
    EXPECT_EQ(table.verticalHeaderItem(24)->text(), QStringLiteral("240"));
}

TEST_F(IoGridTest, ByteCellsMapToTableCells)
{
    const struct {
        int byteIndex;
        int tableRow;
        int tableColumn;
    } cases[] = {{0, 0, 0}, {9, 0, 9}, {10, 1, 0}, {127, 12, 7}, {249, 24, 9}};
    for (const auto& c : cases) {
        SetText(c.byteIndex, "A" + std::to_string(c.byteIndex % 10));
        EXPECT_EQ(table.item(c.tableRow, c.tableColumn)->text().toStdString(), Text(c.byteIndex)) << c.byteIndex;
    }
    // Row heading "120" and column heading "7" name byte 127.
    const CellPosition cell = CellIndex(127);
    EXPECT_EQ(grid.CellText(cell.row, 0) , "120");
    EXPECT_EQ(grid.CellText(0, cell.column), "7");
}

TEST_F(IoGridTest, InactiveCellsAreGreyAndActiveOnesPlain)
{
    grid.SetAllDataCellsActive(false);
    EXPECT_FALSE(grid.IsCellActive(1, 1));
    EXPECT_EQ(table.item(0, 0)->background().color(), QColor(200, 200, 200));
    grid.SetCellActive(1, 1, true);
    EXPECT_TRUE(grid.IsCellActive(1, 1));
    EXPECT_EQ(table.item(0, 0)->background().color(), QGuiApplication::palette().color(QPalette::Base));
    EXPECT_EQ(table.palette().color(QPalette::Base), QColor(128, 128, 128)) << "the area outside the cells";
    EXPECT_FALSE(grid.IsCellActive(0, 1)) << "headings are no data cells";
}

TEST_F(IoGridTest, ResizeActiveCellsGreysAndEmptiesWhatFallsOutOfUse)
{
    grid.SetAllDataCellsActive(false);
    ResizeActiveCells(grid, 0, 12);
    for (int i = 0; i < 12; ++i)
        SetText(i, "0" + std::to_string(i % 10));

    ResizeActiveCells(grid, 12, 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(Active(i)) << i;
        EXPECT_EQ(Text(i), "0" + std::to_string(i)) << i;
    }
    for (int i = 5; i < 12; ++i) {
        EXPECT_FALSE(Active(i)) << i;
        EXPECT_EQ(Text(i), "") << i;
    }

    SetText(7, "7F"); // text on an inactive cell survives growing
    ResizeActiveCells(grid, 5, 12);
    for (int i = 0; i < 12; ++i)
        EXPECT_TRUE(Active(i)) << i;
    EXPECT_EQ(Text(7), "7F");
    EXPECT_FALSE(Active(12));

    ResizeActiveCells(grid, 12, 12);
    EXPECT_TRUE(Active(11));
    ResizeActiveCells(grid, -3, 400); // clamped to 0..250
    EXPECT_TRUE(Active(249));
    ResizeActiveCells(grid, 400, 0);
    EXPECT_FALSE(Active(0));
    EXPECT_FALSE(Active(249));
}

TEST_F(IoGridTest, OutOfRangeCellsAreIgnored)
{
    grid.SetCellText(26, 1, "AA");
    grid.SetCellText(1, 11, "AA");
    grid.SetCellText(-1, -1, "AA");
    grid.SetCellActive(30, 30, true);
    EXPECT_EQ(grid.CellText(26, 1), "");
    EXPECT_EQ(grid.CellText(-1, 5), "");
    EXPECT_FALSE(grid.IsCellActive(26, 11));
}

TEST_F(IoGridTest, CellsCannotBeTypedIntoButTheGridTakesTheFocus)
{
    EXPECT_EQ(table.editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_FALSE(table.item(3, 3)->flags() & Qt::ItemIsEditable);
    EXPECT_TRUE(table.focusPolicy() & Qt::TabFocus);
    EXPECT_TRUE(table.focusPolicy() & Qt::ClickFocus);
}

TEST_F(IoGridTest, WidthsAndPositionsAreInTwips)
{
    table.show();
    const int tolerance = grid.TwipsPerPixelX();
    EXPECT_NEAR(grid.ColWidth(0), 600, tolerance);
    for (int column = 1; column <= 10; ++column)
        EXPECT_NEAR(grid.ColWidth(column), 300, tolerance) << column;
    EXPECT_EQ(table.columnWidth(0), 300 * table.logicalDpiX() / 1440);

    const int frameTwips = table.frameWidth() * grid.TwipsPerPixelX();
    EXPECT_EQ(grid.ColPos(0), frameTwips);
    EXPECT_NEAR(grid.ColPos(1), frameTwips + grid.ColWidth(0), tolerance);
    EXPECT_NEAR(grid.ColPos(3) - grid.ColPos(2), grid.ColWidth(2), tolerance);
    EXPECT_NEAR(grid.RowPos(2) - grid.RowPos(1), grid.RowHeight(1), grid.TwipsPerPixelY());
    EXPECT_NEAR(grid.RowPos(1) - grid.RowPos(0), grid.RowHeight(0), grid.TwipsPerPixelY());

    // The pixel rectangle of a cell is where the table draws it.
    const QRect drawn = table.visualItemRect(table.item(4, 6)).translated(table.viewport()->pos());
    EXPECT_EQ(grid.CellRect(5, 7).topLeft(), drawn.topLeft());
    EXPECT_EQ(grid.CellRect(5, 7).size(), QSize(table.columnWidth(6), table.rowHeight(4)));
}

TEST_F(IoGridTest, ClicksReportTheGridsNumbering)
{
    table.show();
    QSignalSpy clicked(&grid, &IoGrid::Clicked);
    EXPECT_EQ(grid.RowSel(), 0);
    const QRect cell = table.visualItemRect(table.item(2, 4));
    QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_EQ(clicked.size(), 1);
    EXPECT_EQ(clicked[0][0].toInt(), 3);
    EXPECT_EQ(clicked[0][1].toInt(), 5);
    EXPECT_EQ(grid.RowSel(), 3);
    EXPECT_EQ(grid.ColSel(), 5);

    // Keyboard users reach the same action on the current cell.
    table.setCurrentCell(0, 9);
    QTest::keyClick(&table, Qt::Key_Space);
    QTest::keyClick(&table, Qt::Key_F2);
    ASSERT_EQ(clicked.size(), 3);
    EXPECT_EQ(clicked[2][0].toInt(), 1);
    EXPECT_EQ(clicked[2][1].toInt(), 10);
}

// The cell editor is placed from positions the grid reports in twips, rounded down from pixels. Rounding back to the
// nearest pixel finds the very pixel at every resolution; rounding down, as the layout does, would lose one.
TEST(TwipsTest, NearestRoundingFindsThePixelAGridPositionCameFrom)
{
    for (int dotsPerInch : {72, 96, 110, 120, 144, 168, 192}) {
        for (int pixel = 0; pixel <= 2000; ++pixel)
            ASSERT_EQ(TwipsToPixels(PixelsToTwips(pixel, dotsPerInch), dotsPerInch, PixelRounding::Nearest), pixel)
                << dotsPerInch << " dpi";
    }
    EXPECT_EQ(TwipsToPixels(PixelsToTwips(7, 110), 110, PixelRounding::Down), 6);
    EXPECT_EQ(TwipsToPixels(DataColumnWidthTwips, 110, PixelRounding::Down), 22);
    EXPECT_EQ(TwipsToPixels(DataColumnWidthTwips, 110, PixelRounding::Nearest), 23);
}

} // namespace

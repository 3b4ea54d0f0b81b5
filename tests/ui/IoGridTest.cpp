#include "IoGrid.h"
#include "MemoryGrid.h"

#include <QAccessible>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

using namespace trelmo;
using namespace trelmo::testing;

namespace {

class IoGridTest : public ::testing::Test {
protected:
    IoGridTest() : grid(new IoGrid(&view)) { view.resize(400, 500); }

    QColor Background(int byteIndex) const
    {
        return grid->data(grid->index(byteIndex / 10, byteIndex % 10), Qt::BackgroundRole).value<QColor>();
    }

    QTableView view;
    IoGrid* grid; // owned by the view
};

// What a screen reader reads: byte i in table cell (i / 10, i mod 10), under its column and row headings.
TEST_F(IoGridTest, TheAccessibleTableHasTheBytesUnderTheirHeadings)
{
    SetByteText(*grid, 0, "A0");
    SetByteText(*grid, 127, "7F");
    SetByteText(*grid, 249, "F9");
    view.show();
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&view);
    ASSERT_TRUE(accessible);
    QAccessibleTableInterface* table = accessible->tableInterface();
    ASSERT_TRUE(table);
    EXPECT_EQ(table->rowCount(), 25);
    EXPECT_EQ(table->columnCount(), 10);
    const struct {
        int row, column;
        const char* text;
    } cells[] = {{0, 0, "A0"}, {12, 7, "7F"}, {24, 9, "F9"}, {0, 1, ""}};
    for (const auto& c : cells) {
        QAccessibleInterface* cell = table->cellAt(c.row, c.column);
        ASSERT_TRUE(cell) << c.row << "," << c.column;
        EXPECT_EQ(cell->text(QAccessible::Name), QString::fromLatin1(c.text)) << c.row << "," << c.column;
    }
    EXPECT_EQ(table->columnDescription(7), QStringLiteral("7"));
    EXPECT_EQ(table->rowDescription(12), QStringLiteral("120"));
    EXPECT_EQ(grid->CellText(0, 8), "7");
    EXPECT_EQ(grid->CellText(13, 0), "120");
    EXPECT_EQ(grid->CellText(0, 0), "");
}

TEST_F(IoGridTest, InactiveCellsAreGreyAndActiveOnesPlain)
{
    grid->SetAllDataCellsActive(false);
    EXPECT_FALSE(ByteActive(*grid, 0));
    EXPECT_EQ(Background(0), QColor(200, 200, 200));
    grid->SetCellActive(1, 1, true);
    EXPECT_TRUE(ByteActive(*grid, 0));
    EXPECT_EQ(Background(0), QGuiApplication::palette().color(QPalette::Base));
    EXPECT_EQ(view.palette().color(QPalette::Base), QColor(128, 128, 128)) << "the area outside the cells";
    EXPECT_FALSE(grid->IsCellActive(0, 1)) << "headings are no data cells";
}

TEST_F(IoGridTest, OutOfRangeCellsAreIgnored)
{
    grid->SetCellText(26, 1, "AA");
    grid->SetCellText(1, 11, "AA");
    grid->SetCellText(-1, -1, "AA");
    grid->SetCellActive(30, 30, true);
    EXPECT_EQ(grid->CellText(26, 1), "");
    EXPECT_EQ(grid->CellText(-1, 5), "");
    EXPECT_FALSE(grid->IsCellActive(26, 11));
}

// Keyboard users open the editor on the current cell with Space or F2, as a click does; cells the predicate
// refuses, and a grid without editing, open nothing. The editor keeps the font of the window that lends it.
TEST_F(IoGridTest, SpaceAndF2OpenTheEditorOnAnEditableCurrentCell)
{
    QWidget window;
    auto* editor = new QLineEdit(&window);
    editor->hide();
    QTableView readView;
    IoGrid readGrid(&readView);
    std::vector<CellPosition> committed;
    grid->EnableEditing(
        editor, [](int row, int column) { return row == 1 && column <= 3; },
        [&committed](CellPosition cell, const QString&) {
            committed.push_back(cell);
            return true;
        });
    view.show();
    readView.show();

    for (Qt::Key key : {Qt::Key_Space, Qt::Key_F2}) {
        view.setCurrentIndex(grid->index(0, 2));
        QTest::keyClick(&view, key);
        ASSERT_TRUE(editor->isVisible()) << key;
        EXPECT_EQ(editor->parentWidget(), view.viewport());
        EXPECT_EQ(editor->font(), window.font()) << "the window's font, not the grid's";
        QTest::keyClick(editor, Qt::Key_Return);
        EXPECT_FALSE(editor->isVisible());
    }
    ASSERT_EQ(committed.size(), 2u);
    EXPECT_EQ(committed[0].row, 1);
    EXPECT_EQ(committed[0].column, 3);

    view.setCurrentIndex(grid->index(0, 3));
    QTest::keyClick(&view, Qt::Key_Space);
    EXPECT_FALSE(editor->isVisible());
    readView.setCurrentIndex(readGrid.index(0, 0));
    QTest::keyClick(&readView, Qt::Key_F2);
    EXPECT_EQ(readView.indexWidget(readGrid.index(0, 0)), nullptr);
}

// A refused edit keeps the one editor on its cell; a click on another cell meanwhile does not lend it twice.
TEST_F(IoGridTest, AClickElsewhereAfterARefusalKeepsOneEditorOnOneCell)
{
    QWidget window;
    auto* editor = new QLineEdit(&window);
    editor->hide();
    std::vector<std::pair<int, QString>> commits; // column, text
    grid->EnableEditing(
        editor, [](int, int) { return true; },
        [&commits](CellPosition cell, const QString& text) {
            commits.emplace_back(cell.column, text);
            return text != QStringLiteral("ab");
        });
    view.show();
    view.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    const auto click = [this](int column) {
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.visualRect(grid->index(0, column)).center());
        QCoreApplication::processEvents();
    };
    const auto over = [&](int column) {
        return editor->geometry().contains(view.visualRect(grid->index(0, column)).center());
    };
    click(0);
    ASSERT_TRUE(editor->isVisible());
    QTest::keyClicks(editor, "ab");
    click(2); // the focus leaving the editor asks for a commit, which refuses
    ASSERT_EQ(commits.size(), 1u);
    EXPECT_EQ(commits[0], std::make_pair(1, QStringLiteral("ab")));
    ASSERT_TRUE(editor->isVisible());
    EXPECT_TRUE(over(2)) << "the click moved the editor, as it always has";
    EXPECT_EQ(editor->text(), QString());
    EXPECT_EQ(view.indexWidget(grid->index(0, 0)), nullptr);

    grid->SetCellText(1, 1, "55"); // the cell left behind changes and the view lays out again
    view.resize(view.width() + 1, view.height());
    QTest::qWait(20);
    EXPECT_TRUE(over(2));
    QTest::keyClicks(editor, "12");
    QTest::keyClick(editor, Qt::Key_Return);
    ASSERT_EQ(commits.size(), 2u);
    EXPECT_EQ(commits[1], std::make_pair(3, QStringLiteral("12")));
    EXPECT_FALSE(editor->isVisible());
}

} // namespace

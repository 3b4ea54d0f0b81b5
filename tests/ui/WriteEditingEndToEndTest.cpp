// Editing write-grid cells in the real main window: the cell editor over the clicked cell, the checks, Enter.

#include "MainWindowHarness.h"

#include "StringTable.h"
#include "WindowDriver.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTableView>
#include <QTest>

namespace trelmo::testing {
namespace {

class WriteEditingTest : public MainWindowTest {
protected:
    QLineEdit* Editor() const { return window->CellEditor(); }

    // Replaces the editor's text by typing, then ends the edit with Enter.
    void TypeIntoEditorAndPressEnter(const QString& text)
    {
        Editor()->setFocus(Qt::MouseFocusReason);
        Editor()->selectAll();
        QTest::keyClick(Editor(), Qt::Key_Backspace);
        QTest::keyClicks(Editor(), text);
        QTest::keyClick(Editor(), Qt::Key_Return);
    }

    // The cell's rectangle in the view's viewport, where the editor lies.
    QRect CellRect(int row, int column) const
    {
        const QTableView* view = window->WriteGrid().Widget();
        return view->visualRect(view->model()->index(row - 1, column - 1));
    }
};

TEST_F(WriteEditingTest, OnlyCellsWithinTheWriteLengthOpenTheEditor)
{
    EnterWriteLength("11");
    ClickWriteCell(2, 2); // byte 11
    EXPECT_FALSE(Editor()->isVisible());

    for (const auto& [row, column] : {std::pair{1, 1}, std::pair{2, 1}}) {
        SCOPED_TRACE(::testing::Message() << row << "," << column);
        ClickWriteCell(row, column);
        ASSERT_TRUE(Editor()->isVisible());
        EXPECT_EQ(Editor()->text(), "00");
        EXPECT_TRUE(Editor()->hasFocus());
        // The editor lies over the clicked cell, its frame on the cell's grid lines.
        const QRect cell = CellRect(row, column);
        const QRect editor = Editor()->geometry();
        for (const auto& [drawn, expected] : {std::pair{editor.left(), cell.left()}, {editor.top(), cell.top()},
                                              {editor.right(), cell.right()}, {editor.bottom(), cell.bottom()}})
            EXPECT_LE(std::abs(drawn - expected), 3);
        TypeIntoEditorAndPressEnter("00");
        EXPECT_FALSE(Editor()->isVisible());
    }
    EXPECT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();
}

TEST_F(WriteEditingTest, EnterCommitsUppercaseHexAndLowercaseIsRefused)
{
    EnterWriteLength("11");
    ClickWriteCell(2, 1); // byte 10
    TypeIntoEditorAndPressEnter("ab");
    EXPECT_EQ(messages, QStringList{LoadText(TextId::IllegalInputData)});
    EXPECT_TRUE(Editor()->isVisible()) << "the editor stays with its text";
    EXPECT_EQ(Editor()->text(), "ab");
    EXPECT_EQ(WriteCell(10), "00");
    EXPECT_EQ(window->WriteData().bytes[10], 0);

    messages.clear();
    TypeIntoEditorAndPressEnter("AB");
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_FALSE(Editor()->isVisible());
    EXPECT_EQ(WriteCell(10), "AB");
    EXPECT_EQ(window->WriteData().bytes[10], 0xAB);
    EXPECT_TRUE(window->isVisible()) << "Enter never closes the main window";

    ClickWriteCell(1, 2); // byte 1, one digit
    TypeIntoEditorAndPressEnter("7");
    EXPECT_EQ(WriteCell(1), "7");
    EXPECT_EQ(window->WriteData().bytes[1], 0x07);
}

TEST_F(WriteEditingTest, EscapeInTheEditorCancelsTheEditAndElsewhereEndsTheProgram)
{
    EnterWriteLength("3");
    ClickWriteCell(1, 2); // byte 1
    TypeIntoEditorAndPressEnter("5A");
    ClickWriteCell(1, 2);
    QTest::keyClicks(Editor(), "C");
    QTest::keyClick(Editor(), Qt::Key_Escape);
    EXPECT_FALSE(Editor()->isVisible());
    EXPECT_EQ(WriteCell(1), "5A") << "the cell keeps its value";
    EXPECT_EQ(window->WriteData().bytes[1], 0x5A);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();

    // After a refused entry the editor has the focus again, so Escape still cancels instead of ending the program.
    ClickWriteCell(1, 2);
    TypeIntoEditorAndPressEnter("ab");
    EXPECT_EQ(messages, QStringList{LoadText(TextId::IllegalInputData)});
    QCoreApplication::processEvents();
    EXPECT_TRUE(Editor()->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(Editor()->isVisible());
    EXPECT_EQ(WriteCell(1), "5A");
    EXPECT_TRUE(window->isVisible());

    QTest::keyClick(window->WriteGrid().Widget(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
}

// With the real modal box, which takes the focus while it shows, the refused edit goes on afterwards.
TEST_F(WriteEditingTest, AfterTheRealRefusalBoxTheEditorHasItsTextAndTheFocus)
{
    EnterWriteLength("2");
    ClickWriteCell(1, 1);
    const MessageBoxHook recording = SetMessageBoxHook({});
    QString shown;
    WhenModalThenClose<QMessageBox>([&shown](QMessageBox* box) { shown = box->text(); });
    TypeIntoEditorAndPressEnter("ab");
    SetMessageBoxHook(recording);
    EXPECT_EQ(shown, LoadText(TextId::IllegalInputData));
    QTest::qWait(20);
    EXPECT_TRUE(Editor()->isVisible());
    EXPECT_EQ(window->focusWidget(), Editor()) << "the focus it gets back with the window";
    EXPECT_EQ(Editor()->text(), "ab");
    EXPECT_EQ(WriteCell(0), "00");
    TypeIntoEditorAndPressEnter("AB");
    EXPECT_EQ(WriteCell(0), "AB");
}

TEST_F(WriteEditingTest, AnEmptyEditCommitsAsZeroWhenTheEditorLosesTheFocus)
{
    EnterWriteLength("5");
    ClickWriteCell(1, 3);
    TypeIntoEditorAndPressEnter("5C");
    ASSERT_EQ(window->WriteData().bytes[2], 0x5C);

    ClickWriteCell(1, 3);
    Editor()->clear();
    window->WriteLengthEdit()->setFocus(Qt::MouseFocusReason); // leaving the editor commits it
    EXPECT_FALSE(Editor()->isVisible());
    EXPECT_EQ(WriteCell(2), "");
    EXPECT_EQ(window->WriteData().bytes[2], 0);
    // The next application of the length writes 00 into it.
    EnterWriteLength("5");
    EXPECT_EQ(WriteCell(2), "00");
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(WriteEditingTest, ClicksOnTheReadGridOpenNothing)
{
    EnterWriteLength("10");
    QTableView* view = window->ReadGrid().Widget();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(0, 0)).center());
    EXPECT_FALSE(Editor()->isVisible());
}

} // namespace
} // namespace trelmo::testing

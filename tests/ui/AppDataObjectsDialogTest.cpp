// The Application Data Objects window: its Add and Delete rules, its list, and entries typed into it being served
// when the virtual module asks for them in the cyclic exchange.

#include "AppDataObjectsDialog.h"

#include "DialogTemplate.h"
#include "MessageRecorder.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace trelmo;
using namespace trelmo::testing;
namespace ids = trelmo::AppDataObjectsControl;

namespace {

using T = TextId;
using Ids = std::vector<TextId>;
using Row = std::vector<std::string>;

class AppDataObjectsDialogTest : public ::testing::Test {
protected:
    void SetUp() override { SetActiveLanguage(LanguageVariant::English); }
    void TearDown() override
    {
        delete dialog_;
    }

    void Open()
    {
        dialog_ = new CAppDataObjectsDialog(table_);
        dialog_->show();
    }
    void Add(const QString& instance, const QString& attribute, const QString& data)
    {
        auto* instanceEdit = Control<QLineEdit>(dialog_, ids::Instance);
        auto* attributeEdit = Control<QLineEdit>(dialog_, ids::Attribute);
        instanceEdit->clear();
        attributeEdit->clear();
        QTest::keyClicks(instanceEdit, instance);
        QTest::keyClicks(attributeEdit, attribute);
        Control<QPlainTextEdit>(dialog_, ids::Data)->setPlainText(data);
        QTest::mouseClick(Control<QPushButton>(dialog_, ids::Add), Qt::LeftButton);
    }
    void Delete() { QTest::mouseClick(Control<QPushButton>(dialog_, ids::Delete), Qt::LeftButton); }

    std::vector<Row> Rows() const
    {
        std::vector<Row> rows;
        QTreeWidget* list = dialog_->List();
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            Row row;
            for (int column = 0; column < 4; ++column)
                row.push_back(list->topLevelItem(i)->text(column).toStdString());
            rows.push_back(row);
        }
        return rows;
    }

    AppDataObjectTable table_;
    QPointer<CAppDataObjectsDialog> dialog_;
    MessageRecorder messages_;
};

TEST_F(AppDataObjectsDialogTest, ListLayout)
{
    Open();
    EXPECT_EQ(dialog_->windowTitle(), "Application Data Objects");
    EXPECT_FALSE(dialog_->isModal());
    QTreeWidget* list = dialog_->List();
    ASSERT_EQ(list->columnCount(), 4);
    const char* headings[] = {"Instance Number.", "Attribute number", "Length", "Data"};
    const int widths[] = {70, 70, 50, 530};
    EXPECT_EQ(list->columnWidth(3), 530);
    for (int column = 0; column < 4; ++column) {
        EXPECT_EQ(list->headerItem()->text(column), headings[column]);
        // At least the given width, and wide enough for the heading.
        EXPECT_GE(list->columnWidth(column), widths[column]);
        EXPECT_GE(list->columnWidth(column), list->header()->fontMetrics().horizontalAdvance(headings[column]));
    }
    EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(Control<QLineEdit>(dialog_, ids::Instance)->accessibleName(), "Instance:");
    EXPECT_EQ(Control<QPushButton>(dialog_, ids::Add)->text(), "Add");
}

TEST_F(AppDataObjectsDialogTest, AddShowsNewestFirstAndRefusesRepeatsAndEmptyData)
{
    Open();
    Add("1", "23", "  01 02  ");
    Add("12", "3", "0A\n0B"); // a pasted line break separates like a blank
    Add("1", "23", "05");     // the pair again
    Add("2", "2", "  \n ");   // no data
    Add("3", "3", "0102");    // not a byte: refused, not cut to 02
    Add("", "", "7F");        // empty fields read as 0
    EXPECT_EQ(messages_.Ids(), (Ids{T::RepeatedPair, T::EmptyData, T::IllegalInputData}));
    EXPECT_EQ(Rows(), (std::vector<Row>{{"0", "0", "1", "7F"}, {"12", "3", "2", "0A 0B"}, {"1", "23", "2", "01 02"}}));
    ASSERT_EQ(table_.Size(), 3u);
    EXPECT_EQ(table_.Entries()[0].DataText, "01 02"); // the table keeps the order of adding
    // The fields keep what was typed.
    EXPECT_EQ(Control<QLineEdit>(dialog_, ids::Attribute)->text(), "");
    EXPECT_EQ(Control<QPlainTextEdit>(dialog_, ids::Data)->toPlainText(), "7F");
}

TEST_F(AppDataObjectsDialogTest, InstanceAndAttributeTakeDigitsOnly)
{
    Open();
    auto* instance = Control<QLineEdit>(dialog_, ids::Instance);
    QTest::keyClicks(instance, "3a-0 0");
    EXPECT_EQ(instance->text(), "300");
}

TEST_F(AppDataObjectsDialogTest, DeleteRemovesTheFirstSelectedRow)
{
    table_.Add({4, 4, {0x44}, "44"});
    Open();
    EXPECT_EQ(Rows(), (std::vector<Row>{{"4", "4", "1", "44"}}));
    Add("1", "1", "11");
    Add("2", "2", "22");
    Add("3", "3", "33");
    Delete();
    EXPECT_EQ(messages_.Ids(), (Ids{T::NoRowsSelected}));

    QTreeWidget* list = dialog_->List();
    list->topLevelItem(3)->setSelected(true); // 4/4
    list->topLevelItem(1)->setSelected(true); // 2/2
    Delete();
    EXPECT_EQ(Rows(), (std::vector<Row>{{"3", "3", "1", "33"}, {"1", "1", "1", "11"}, {"4", "4", "1", "44"}}));
    EXPECT_EQ(table_.Find(2, 2), nullptr);
    EXPECT_TRUE(list->topLevelItem(2)->isSelected()); // the other selected row stays selected
    Delete();
    EXPECT_EQ(table_.Find(4, 4), nullptr);
    EXPECT_EQ(table_.Size(), 2u);

    Add("2", "2", "AA BB"); // the pair is free again
    EXPECT_EQ(Rows().front(), (Row{"2", "2", "2", "AA BB"}));
}

TEST_F(AppDataObjectsDialogTest, EnterKeepsTheWindowAndEscapeFreesIt)
{
    Open();
    auto* data = Control<QPlainTextEdit>(dialog_, ids::Data);
    data->setFocus();
    QTest::keyClicks(data, "01");
    QTest::keyClick(data, Qt::Key_Return);
    QTest::keyClicks(data, " 02");
    EXPECT_EQ(data->toPlainText(), "01 02");
    // Nor does Enter press Add from the fields or the list, although the data would make a valid entry.
    QTest::keyClick(Control<QLineEdit>(dialog_, ids::Instance), Qt::Key_Return);
    QTest::keyClick(Control<QLineEdit>(dialog_, ids::Attribute), Qt::Key_Enter);
    QTest::keyClick(dialog_->List(), Qt::Key_Return);
    EXPECT_TRUE(dialog_->isVisible());
    EXPECT_TRUE(messages_.texts.empty());
    EXPECT_TRUE(table_.Entries().empty());
    EXPECT_TRUE(Rows().empty());

    QTest::keyClick(dialog_->List(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(dialog_.isNull());
}

} // namespace

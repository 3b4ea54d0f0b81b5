#include "MessageDisplayDialog.h"

#include "DialogTemplate.h"
#include "Language.h"
#include "MessageLog.h"
#include "MessageRecorder.h"
#include "StringTable.h"
#include "WindowDriver.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QItemSelectionModel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace trelmo;
using namespace trelmo::testing;

namespace {

class MessageDisplayTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const QPointer<CMessageDisplayDialog>& window : windows_)
            delete window.data();
    }

    CMessageDisplayDialog* Open()
    {
        auto* window = new CMessageDisplayDialog(log_);
        windows_.push_back(window);
        return window;
    }

    static QPushButton* Button(const CMessageDisplayDialog* window, int id)
    {
        return Control<QPushButton>(window, id);
    }

    static QByteArray FileBytes(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    ScopedLanguage language_{LanguageVariant::English};
    MessageLog log_;
    MessageRecorder messages_;
    std::vector<QPointer<CMessageDisplayDialog>> windows_;
};

using Lines = std::vector<std::string>;

TEST_F(MessageDisplayTest, ShowsOnlyLinesLoggedAfterOpeningAndSelectsTheNewest)
{
    log_.Append("1FF ");
    CMessageDisplayDialog* window = Open();

    log_.Append("101 02 ");
    log_.Append("0AA ");
    window->RefreshFromLog();
    EXPECT_EQ(window->DisplayedLines(), (Lines{"TX: Length:002, Data:01 02 ", "RX: Length:001, Data:AA "}));
    const QModelIndex current = window->LineList()->currentIndex();
    EXPECT_EQ(current.row(), 1);
    EXPECT_TRUE(window->LineList()->selectionModel()->isSelected(current));
    EXPECT_EQ(current.data().toString(), QStringLiteral("RX: Length:001, Data:AA "));
}

TEST_F(MessageDisplayTest, TheTimerDrainsTheLog)
{
    CMessageDisplayDialog* window = Open();
    window->show();
    EXPECT_TRUE(window->IsRunning());
    log_.Append("101 ");
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->DisplayedLines().size() == 1; }, 2000));
}

TEST_F(MessageDisplayTest, AnEmptyTickKeepsTheUsersSelection)
{
    CMessageDisplayDialog* window = Open();
    log_.Append("101 ");
    log_.Append("102 ");
    window->RefreshFromLog();
    const QModelIndex first = window->LineList()->model()->index(0, 0);
    window->LineList()->selectionModel()->setCurrentIndex(first, QItemSelectionModel::ClearAndSelect);
    window->RefreshFromLog();
    EXPECT_EQ(window->LineList()->currentIndex().row(), 0);
}

TEST_F(MessageDisplayTest, TheListScrollsSidewaysOverLongLines)
{
    CMessageDisplayDialog* window = Open();
    window->show();
    QTableView* list = window->LineList();
    EXPECT_GE(list->columnWidth(0), 4650);

    std::string longLine = "1";
    for (int i = 0; i < 1000; ++i)
        longLine += "AB ";
    log_.Append(longLine);
    window->RefreshFromLog();
    const QString shown = list->model()->index(0, 0).data().toString();
    EXPECT_TRUE(shown.startsWith(QStringLiteral("TX: Length:1000, Data:AB AB ")));
    EXPECT_GT(list->columnWidth(0), list->fontMetrics().horizontalAdvance(shown));
}

TEST_F(MessageDisplayTest, PauseHoldsTheListAndContinueDiscardsWhatCameMeanwhile)
{
    for (const LanguageVariant language : {LanguageVariant::English, LanguageVariant::Chinese}) {
        SetActiveLanguage(language);
        CMessageDisplayDialog* window = Open();
        window->show();
        QPushButton* pause = Button(window, 1046);
        ASSERT_NE(pause, nullptr);
        EXPECT_EQ(pause->text(), LoadText(122));

        QTest::mouseClick(pause, Qt::LeftButton);
        EXPECT_EQ(pause->text(), LoadText(123));
        EXPECT_EQ(pause->accessibleName(), LoadText(123));
        EXPECT_FALSE(window->IsRunning());
        log_.Append("101 ");
        QTest::qWait(250);
        EXPECT_TRUE(window->DisplayedLines().empty());

        QTest::mouseClick(pause, Qt::LeftButton);
        EXPECT_EQ(pause->text(), LoadText(122));
        EXPECT_TRUE(window->IsRunning());
        window->RefreshFromLog();
        EXPECT_TRUE(window->DisplayedLines().empty()) << "lines logged while paused are never shown";
        window->close();
    }
}

// Each window shows every line logged after it opened, whatever the other windows do.
TEST_F(MessageDisplayTest, EveryWindowShowsEveryLineLoggedSinceItOpened)
{
    CMessageDisplayDialog* first = Open();
    log_.Append("101 ");
    CMessageDisplayDialog* second = Open();
    log_.Append("002 ");
    second->RefreshFromLog();
    log_.Append("103 ");
    Open();
    second->TogglePause();
    second->TogglePause();
    log_.Append("004 ");
    first->RefreshFromLog();
    second->RefreshFromLog();
    EXPECT_EQ(first->DisplayedLines(), (Lines{"TX: Length:001, Data:01 ", "RX: Length:001, Data:02 ",
                                              "TX: Length:001, Data:03 ", "RX: Length:001, Data:04 "}));
    EXPECT_EQ(second->DisplayedLines(), (Lines{"RX: Length:001, Data:02 ", "RX: Length:001, Data:04 "}))
        << "its own Continue discards only what it missed while paused";
}

TEST_F(MessageDisplayTest, QuitEscapeAndCloseFreeTheWindow)
{
    enum class Way { Quit, Escape, Close };
    for (const Way way : {Way::Quit, Way::Escape, Way::Close}) {
        QPointer<CMessageDisplayDialog> window = Open();
        window->show();
        if (way == Way::Quit)
            QTest::mouseClick(Button(window, 2), Qt::LeftButton);
        else if (way == Way::Escape)
            QTest::keyClick(window.data(), Qt::Key_Escape);
        else
            window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(window.isNull()) << static_cast<int>(way);
    }
}

class MessageDisplaySaveTest : public MessageDisplayTest {
protected:
    void SetUp() override
    {
        MessageDisplayTest::SetUp();
        ASSERT_TRUE(directory_.isValid());
    }

    QString PathOf(const QString& name) const { return directory_.filePath(name); }

    CMessageDisplayDialog* OpenWithLines(const std::vector<std::string>& logLines)
    {
        CMessageDisplayDialog* window = Open();
        for (const std::string& line : logLines)
            log_.Append(line);
        window->RefreshFromLog();
        return window;
    }

    void Choose(CMessageDisplayDialog* window, const QString& path)
    {
        window->SetFileChooser([path](QWidget*) { return path; });
    }

    QTemporaryDir directory_;
};

TEST_F(MessageDisplaySaveTest, WritesEachShownLineWithCrLfToTheChosenPath)
{
    CMessageDisplayDialog* window = OpenWithLines({"101 02 ", "0AA "});
    for (const char* chosen : {"log.txt", "LOG.TXT", "log", "trace.csv"}) {
        messages_.Clear();
        const QString path = PathOf(QString::fromLatin1(chosen));
        Choose(window, path);
        window->SaveDisplayedLines();
        EXPECT_EQ(FileBytes(path), QByteArray("TX: Length:002, Data:01 02 \r\nRX: Length:001, Data:AA \r\n"))
            << chosen;
        EXPECT_FALSE(QFile::exists(path + QStringLiteral(".txt"))) << chosen;
        ASSERT_EQ(messages_.texts.size(), 1u);
        EXPECT_EQ(messages_.kinds[0], MessageBoxKind::Dialog);
        EXPECT_EQ(messages_.texts[0], QStringLiteral("Successfully saved"));
        QFile::remove(path);
    }
    EXPECT_EQ(window->DisplayedLines().size(), 2u) << "saving leaves the list as it is";
}

TEST_F(MessageDisplaySaveTest, AnEmptyListEmptiesAnExistingFile)
{
    const QString path = PathOf(QStringLiteral("old.txt"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("earlier contents that must go\r\n");
    }
    CMessageDisplayDialog* window = Open();
    Choose(window, path);
    window->SaveDisplayedLines();
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(QFileInfo(path).size(), 0);
    ASSERT_EQ(messages_.texts.size(), 1u);
    EXPECT_EQ(messages_.texts[0], QStringLiteral("Successfully saved"));
}

TEST_F(MessageDisplaySaveTest, CancelWritesNothingAndSaysNothing)
{
    CMessageDisplayDialog* window = OpenWithLines({"101 "});
    window->SetFileChooser([](QWidget*) { return QString(); });
    window->SaveDisplayedLines();
    EXPECT_TRUE(QDir(directory_.path()).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(MessageDisplaySaveTest, AFileThatCannotBeCreatedIsReportedInTheActiveLanguage)
{
    for (const LanguageVariant language : {LanguageVariant::English, LanguageVariant::Chinese}) {
        SetActiveLanguage(language);
        messages_.Clear();
        CMessageDisplayDialog* window = OpenWithLines({"101 "});
        Choose(window, PathOf(QStringLiteral("missing-folder/log.txt")));
        window->SaveDisplayedLines();
        ASSERT_EQ(messages_.texts.size(), 1u);
        EXPECT_EQ(messages_.kinds[0], MessageBoxKind::Dialog);
        EXPECT_EQ(messages_.texts[0], LoadText(124, language));
        EXPECT_EQ(window->DisplayedLines().size(), 1u);
    }
    EXPECT_EQ(LoadText(124, LanguageVariant::English), QStringLiteral("ERROR: 101 Failed to save"));
}

TEST_F(MessageDisplaySaveTest, SavingWhilePausedWritesTheFrozenList)
{
    CMessageDisplayDialog* window = OpenWithLines({"101 "});
    window->TogglePause();
    log_.Append("102 ");
    Choose(window, PathOf(QStringLiteral("paused.txt")));
    window->SaveDisplayedLines();
    EXPECT_EQ(FileBytes(PathOf(QStringLiteral("paused.txt"))), QByteArray("TX: Length:001, Data:01 \r\n"));
}

// The real file dialog: the file its overwrite prompt names is the file written. A name typed without a suffix
// gets ".txt"; any other is written as typed, and a file of that name with ".txt" added is left alone.
TEST_F(MessageDisplaySaveTest, WritesTheFileTheDialogConfirmed)
{
    struct Case {
        const char* typed;
        const char* written;
    };
    CMessageDisplayDialog* window = OpenWithLines({"101 "});
    window->show();
    QString prompt;
    bool dialogSeen = false;
    for (const Case& c : {Case{"typed", "typed.txt"}, Case{"trace.csv", "trace.csv"}}) {
        const QString written = PathOf(QString::fromLatin1(c.written));
        const QString neighbour = written + QStringLiteral(".txt");
        for (const QString& path : {written, neighbour}) {
            QFile old(path);
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write("old");
        }

        prompt.clear();
        dialogSeen = false;
        WhenModal<QFileDialog>([&](QFileDialog* fileDialog) {
            dialogSeen = true;
            EXPECT_EQ(fileDialog->nameFilters(), QStringList(QStringLiteral("Txt Files (*.txt)")));
            WhenModal<QMessageBox>([&](QMessageBox* box) {
                prompt = box->text();
                box->button(QMessageBox::Yes)->click();
            });
            fileDialog->selectFile(PathOf(QString::fromLatin1(c.typed)));
            QMetaObject::invokeMethod(fileDialog, "accept", Qt::DirectConnection);
            if (fileDialog->isVisible())
                fileDialog->reject();
        });
        window->SaveDisplayedLines();

        EXPECT_TRUE(dialogSeen) << c.typed;
        EXPECT_TRUE(prompt.contains(QString::fromLatin1(c.written))) << prompt.toStdString();
        EXPECT_FALSE(prompt.contains(QFileInfo(neighbour).fileName())) << prompt.toStdString();
        EXPECT_EQ(FileBytes(written), QByteArray("TX: Length:001, Data:01 \r\n")) << c.typed;
        EXPECT_EQ(FileBytes(neighbour), QByteArray("old")) << c.typed;
    }
}

} // namespace

#include "MessageDisplayDialog.h"

#include "DialogControls.h"
#include "DialogTemplate.h"
#include "Language.h"
#include "MessageLog.h"
#include "MessageRecorder.h"
#include "StringTable.h"
#include "Tshark.h"
#include "WindowDriver.h"

#include "Frame.h"
#include "HexText.h"
#include "WireBytes.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QItemSelectionModel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
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

    // Selects the rows whole, as a click or Shift+click does.
    static void SelectRows(QTableView* list, std::initializer_list<int> rows)
    {
        list->selectionModel()->clearSelection();
        for (int row : rows)
            list->selectionModel()->select(list->model()->index(row, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    static std::vector<int> SelectedRows(const QTableView* list)
    {
        std::vector<int> rows;
        for (const QModelIndex& index : list->selectionModel()->selectedRows())
            rows.push_back(index.row());
        std::sort(rows.begin(), rows.end());
        return rows;
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

// Ctrl+C puts the selected lines on the clipboard as shown, oldest first, one per line; with nothing selected the
// clipboard keeps what it held.
TEST_F(MessageDisplayTest, CtrlCCopiesTheSelectedLinesAsShown)
{
    CMessageDisplayDialog* window = Open();
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QTableView* list = window->LineList();
    list->setFocus();
    QClipboard* clipboard = QGuiApplication::clipboard();

    clipboard->setText(QStringLiteral("before"));
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text(), QStringLiteral("before")) << "nothing selected";

    log_.Append("101 02 ");
    log_.Append("0AA ");
    log_.Append("1FF ");
    window->RefreshFromLog();
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text(), QStringLiteral("TX: Length:001, Data:FF ")) << "the newest line, selected by the tick";

    SelectRows(list, {2, 0});
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text(), QStringLiteral("TX: Length:002, Data:01 02 \nTX: Length:001, Data:FF "));
}

// Decode shows each line's fields by name, Data last, on the same rows with the same selection; Copy then gives the
// selected rows' fields separated by tabs; unticked, the display lines come back as they were.
TEST_F(MessageDisplayTest, DecodeShowsTheFieldsOfTheSameRowsAndCopiesThemWithTabs)
{
    struct Row {
        std::string logLine;
        bool setAside;
        const char* fields; // direction to Data, after the time
    };
    const Row rows[] = {
        {BytesToHexText(HostRequest(1, ServiceRead, 0xF1, 258, 3), 1), false,
         "TX\tRequest\t0x01\t0xF1\t258\t3\t6\tRight\t\t"},
        {BytesToHexText(WithFlippedCrc(AssembleObjectFrame(1, Response, ServiceRead, 0xF1, 258, 3, {0xAB})), 0), true,
         "RX\tResponse\t0x01\t0xF1\t258\t3\t7\tError\tSet aside\tAB"},
        {BytesToHexText(AssembleFrame(2, IoData, Hex("11 22")), 1), false, "TX\tI/O data\t\t\t\t\t2\tRight\t\t11 22"},
        {BytesToHexText(Hex("02 03 00 09 01"), 0), false, "RX\tError answer\t\t\t\t\t9\tCut short\t\t"},
        {"0AA ", false, "RX\tProbe answer\t\t\t\t\t\t\t\t"},
        {"0", false, "RX\tNo data\t\t\t\t\t\t\t\t"},
    };
    CMessageDisplayDialog* window = Open();
    for (const Row& row : rows)
        log_.Append(row.logLine, row.setAside);
    window->RefreshFromLog();
    QTableView* list = window->LineList();
    const Lines displayLines = window->DisplayedLines();
    SelectRows(list, {1, 3});

    window->ShowDecoded(true);
    const QAbstractItemModel* decoded = list->model();
    ASSERT_EQ(decoded->rowCount(), 6);
    EXPECT_EQ(decoded->headerData(10, Qt::Horizontal).toString(), LoadText(TextId::Data)) << "Data comes last";
    const QRegularExpression time(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d{3}$"));
    QStringList copied;
    for (int row = 0; row < 6; ++row) {
        QStringList fields;
        for (int column = 1; column < decoded->columnCount(); ++column)
            fields << decoded->index(row, column).data().toString();
        EXPECT_EQ(fields.join(QLatin1Char('\t')).toStdString(), rows[row].fields) << row;
        const QString shownTime = decoded->index(row, 0).data().toString();
        EXPECT_TRUE(time.match(shownTime).hasMatch()) << shownTime.toStdString();
        if (row == 1 || row == 3)
            copied << shownTime + QLatin1Char('\t') + QString::fromLatin1(rows[row].fields);
    }
    EXPECT_EQ(SelectedRows(list), (std::vector<int>{1, 3}));
    window->CopySelectedLines();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), copied.join(QLatin1Char('\n')));

    SelectRows(list, {0, 5});
    window->ShowDecoded(false);
    EXPECT_EQ(SelectedRows(list), (std::vector<int>{0, 5}));
    EXPECT_EQ(list->model()->columnCount(), 1);
    EXPECT_EQ(window->DisplayedLines(), displayLines);
}

// Alt+D, the box's mnemonic in both languages, ticks it and Space on the focused box unticks it; it is announced by
// its caption.
TEST_F(MessageDisplayTest, TheDecodeBoxTogglesByKeyboard)
{
    for (const LanguageVariant language : {LanguageVariant::English, LanguageVariant::Chinese}) {
        SetActiveLanguage(language);
        CMessageDisplayDialog* window = Open();
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        auto* box = Control<QCheckBox>(window, MessageDisplayControl::Decode);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(AccessibleText(box), StripMnemonic(LoadText(TextId::Decode)));

        QTest::keyClick(window, Qt::Key_D, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([window] { return window->ShowsDecoded(); }, 1000)) << "a mnemonic clicks late";
        QTest::keyClick(box, Qt::Key_Space);
        EXPECT_FALSE(window->ShowsDecoded());
        window->close();
    }
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
        QPushButton* pause = Button(window, MessageDisplayControl::Pause);
        ASSERT_NE(pause, nullptr);
        EXPECT_EQ(pause->text(), LoadText(TextId::Pause));

        QTest::mouseClick(pause, Qt::LeftButton);
        EXPECT_EQ(pause->text(), LoadText(TextId::Continue));
        EXPECT_EQ(pause->accessibleName(), LoadText(TextId::Continue));
        EXPECT_FALSE(window->IsRunning());
        log_.Append("101 ");
        QTest::qWait(250);
        EXPECT_TRUE(window->DisplayedLines().empty());

        QTest::mouseClick(pause, Qt::LeftButton);
        EXPECT_EQ(pause->text(), LoadText(TextId::Pause));
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
            QTest::mouseClick(Button(window, MessageDisplayControl::Quit), Qt::LeftButton);
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

// A capture holds the shown frames with the times they were logged and their directions, as tshark reads them with
// the project's dissector.
TEST_F(MessageDisplaySaveTest, ACaptureHoldsTheShownFramesWithTimesAndDirections)
{
    if (!TsharkAvailable())
        GTEST_SKIP() << "tshark is not installed";
    std::int64_t now = 1700000000000000;
    MessageLog timedLog([&now] { return now += 250000; });
    auto window = std::make_unique<CMessageDisplayDialog>(timedLog);
    timedLog.Append(BytesToHexText(AssembleFrame(1, IoData, Bytes{0x11, 0x22}), 1));
    timedLog.Append(BytesToHexText(AssembleFrame(1, IoData, Bytes{0x33}), 0));
    window->RefreshFromLog();

    const QString path = PathOf(QStringLiteral("trace.pcapng"));
    window->SetFileChooser([path](QWidget*) { return SaveChoice(path, SaveFormat::Capture); });
    window->SaveDisplayedLines();
    ASSERT_EQ(messages_.texts.size(), 1u);
    EXPECT_EQ(messages_.texts[0], QStringLiteral("Successfully saved"));
    const QStringList packets = TsharkFields(path, {"frame.time_epoch", "frame.packet_flags_direction",
                                                    "trelmo.sequence", "trelmo.io_data", "trelmo.crc.good"});
    EXPECT_EQ(packets.join('\n').toStdString(),
              "1700000000.250000000|0x00000002|1|11 22|1\n1700000000.500000000|0x00000001|1|33|1");
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
        EXPECT_EQ(messages_.texts[0], LoadText(TextId::SaveFailed, language));
        EXPECT_EQ(window->DisplayedLines().size(), 1u);
    }
    EXPECT_EQ(LoadText(TextId::SaveFailed, LanguageVariant::English), QStringLiteral("ERROR: 101 Failed to save"));
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

// The real file dialog: the two file types, text first; the file its overwrite prompt names is the file written, in
// the chosen type. A name typed without a suffix gets the chosen type's suffix; any other is written as typed, and a
// file of that name with the suffix added is left alone.
TEST_F(MessageDisplaySaveTest, WritesTheFileTheDialogConfirmedInTheChosenType)
{
    struct Case {
        const char* typed;
        TextId filterText;
        const char* written;
        const char* neighbour;
    };
    CMessageDisplayDialog* window = OpenWithLines({"101 "});
    window->show();
    QString prompt;
    bool dialogSeen = false;
    for (const Case& c : {Case{"typed", TextId::TextFilter, "typed.txt", "typed.txt.txt"},
                          Case{"trace.csv", TextId::TextFilter, "trace.csv", "trace.csv.txt"},
                          Case{"capture", TextId::CaptureFilter, "capture.pcapng", "capture.pcapng.pcapng"}}) {
        const QString written = PathOf(QString::fromLatin1(c.written));
        const QString neighbour = PathOf(QString::fromLatin1(c.neighbour));
        for (const QString& path : {written, neighbour}) {
            QFile old(path);
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write("old");
        }

        prompt.clear();
        dialogSeen = false;
        WhenModal<QFileDialog>([&](QFileDialog* fileDialog) {
            dialogSeen = true;
            EXPECT_EQ(fileDialog->nameFilters(),
                      (QStringList{LoadText(TextId::TextFilter), LoadText(TextId::CaptureFilter)}));
            EXPECT_EQ(fileDialog->selectedNameFilter(), LoadText(TextId::TextFilter));
            if (c.filterText != TextId::TextFilter) {
                // As the user picks the type from the dialog's list.
                auto* types = fileDialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
                ASSERT_NE(types, nullptr);
                types->setCurrentIndex(types->findText(LoadText(c.filterText)));
                emit types->activated(types->currentIndex());
                emit types->textActivated(types->currentText());
            }
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
        const QByteArray bytes = FileBytes(written);
        if (c.filterText == TextId::TextFilter)
            EXPECT_EQ(bytes, QByteArray("TX: Length:001, Data:01 \r\n")) << c.typed;
        else
            EXPECT_TRUE(bytes.startsWith(QByteArray::fromHex("0a0d0d0a"))) << "a pcapng section header";
        EXPECT_EQ(FileBytes(neighbour), QByteArray("old")) << c.typed;
    }
}

} // namespace

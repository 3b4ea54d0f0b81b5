#include "MessageLog.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <fstream>
#include <iterator>
#include <memory>
#include <numeric>
#include <thread>

using namespace trelmo;

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(FormatDisplayLineTest, Table)
{
    struct Case {
        std::string logLine;
        std::string display;
    };
    const Case cases[] = {
        {"101 02 ", "TX: Length:002, Data:01 02 "},
        {"0AA ", "RX: Length:001, Data:AA "},
        {"1", "TX: Length:000, Data:"},
        {"0", "RX: Length:000, Data:"},
        {"x01 ", "RX: Length:001, Data:01 "},
        {"", "RX: Length:000, Data:"},
        {"101", "TX: Length:001, Data:01"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatDisplayLine(c.logLine), c.display) << c.logLine;
}

TEST(FormatDisplayLineTest, LengthIsNeverCut)
{
    std::string line = "1";
    for (int i = 0; i < 1000; ++i)
        line += "AB ";
    EXPECT_EQ(FormatDisplayLine(line).substr(0, 16), "TX: Length:1000,");
}

TEST(MessageLogTest, EveryReaderGetsEveryLineLoggedWhileItIsOpenWithItsTime)
{
    using Entries = std::vector<LogEntry>;
    std::int64_t now = 1000;
    auto log = std::make_unique<MessageLog>([&now] { return now++; });
    log->Append("1"); // no reader open: kept nowhere
    auto first = std::make_unique<MessageLog::Reader>(*log);
    log->Append("101 ");
    MessageLog::Reader second(*log);
    log->Append("0AA ");
    EXPECT_EQ(first->TakeAll(), (Entries{{"101 ", 1000}, {"0AA ", 1001}}));
    EXPECT_TRUE(first->TakeAll().empty());
    first.reset();
    log->Append("102 ");
    EXPECT_EQ(second.TakeAll(), (Entries{{"0AA ", 1001}, {"102 ", 1002}}));

    log.reset();
    EXPECT_TRUE(second.TakeAll().empty()) << "a reader may outlive its log";
}

// The numbers the lines carry, appended to numbers.
void TakeNumbers(MessageLog::Reader& reader, std::vector<int>& numbers)
{
    for (const LogEntry& entry : reader.TakeAll())
        numbers.push_back(std::stoi(entry.line));
}

// The link thread appends while readers on this thread take, open and close; then it destroys the log while a
// reader lives on. Run under ThreadSanitizer this shows the hand-over is locked.
TEST(MessageLogTest, LinesAppendedOnAnotherThreadReachEachReaderInOrder)
{
    auto log = std::make_unique<MessageLog>();
    MessageLog::Reader reader(*log);
    std::atomic<bool> passingReadersDone{false};
    std::atomic<bool> logDestroyed{false};
    int appended = 0;
    std::thread link([&] {
        while (!passingReadersDone || appended < 1000)
            log->Append(std::to_string(appended++));
        log.reset();
        logDestroyed = true;
    });

    std::vector<int> received;
    int brokenRuns = 0;
    for (int i = 0; i < 200; ++i) {
        std::vector<int> run;
        {
            MessageLog::Reader passing(*log);
            TakeNumbers(reader, received);
            TakeNumbers(passing, run);
        }
        if (std::adjacent_find(run.begin(), run.end(), [](int a, int b) { return b != a + 1; }) != run.end())
            ++brokenRuns;
    }
    passingReadersDone = true;
    while (!logDestroyed)
        TakeNumbers(reader, received);
    link.join();
    TakeNumbers(reader, received);

    EXPECT_EQ(brokenRuns, 0) << "a reader gets every line while it is open, in order";
    std::vector<int> expected(appended);
    std::iota(expected.begin(), expected.end(), 0);
    EXPECT_EQ(received, expected);
}

TEST(WriteDisplayLinesTest, LinesEndInCrLf)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("one.txt").toStdString();
    ASSERT_TRUE(WriteDisplayLines(path, {"TX: Length:002, Data:01 02 "}));
    const std::string content = ReadFile(path);
    EXPECT_EQ(content.size(), 29u);
    EXPECT_EQ(content, "TX: Length:002, Data:01 02 \r\n");

    ASSERT_TRUE(WriteDisplayLines(path, {"a", "b"}));
    EXPECT_EQ(ReadFile(path), "a\r\nb\r\n") << "an existing file is replaced";
}

TEST(WriteDisplayLinesTest, EmptyListGivesZeroBytes)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("empty.txt").toStdString();
    ASSERT_TRUE(WriteDisplayLines(path, {"something"}));
    ASSERT_TRUE(WriteDisplayLines(path, {}));
    EXPECT_EQ(ReadFile(path).size(), 0u);
}

TEST(WriteDisplayLinesTest, FailsWhenTheFileCannotBeCreated)
{
    QTemporaryDir dir;
    EXPECT_FALSE(WriteDisplayLines(dir.filePath("missing/dir/x.txt").toStdString(), {"a"}));
    EXPECT_FALSE(WriteDisplayLines(dir.path().toStdString(), {"a"})) << "a directory is not a file";
}

TEST(WriteDisplayLinesTest, ASaveThatFailsMidwayLeavesTheEarlierFileWhole)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("saved").toStdString();
    ASSERT_TRUE(WriteDisplayLines(path, {"earlier"}));
    // Past the file size limit a write fails (EFBIG) as on a full disk, for root too.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit lowered{4096, limit.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &lowered), 0);
    const bool saved = WriteDisplayLines(path, std::vector<std::string>(2000, "TX: Length:002, Data:01 02 "));
    setrlimit(RLIMIT_FSIZE, &limit);
    EXPECT_FALSE(saved);
    EXPECT_EQ(ReadFile(path), "earlier\r\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1) << "no temporary file is left";
}

} // namespace

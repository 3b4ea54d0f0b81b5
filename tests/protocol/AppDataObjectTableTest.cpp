#include "AppDataObjectTable.h"

#include "FakeSerialBackend.h"
#include "HexText.h"
#include "LogRecorder.h"
#include "WireBytes.h"

#include <gtest/gtest.h>

using namespace trelmo;
using trelmo::fake::FakeLink;
using trelmo::testing::Hex;

namespace {

AppDataObjectEntry Entry(std::int32_t instance, std::int32_t attribute, const std::string& data)
{
    return {instance, attribute, 0, data};
}

std::vector<std::pair<int, int>> Pairs(const AppDataObjectTable& table)
{
    std::vector<std::pair<int, int>> pairs;
    for (const AppDataObjectEntry& entry : table.Entries())
        pairs.emplace_back(entry.Instance, entry.Attribute);
    return pairs;
}

TEST(AppDataObjectTableTest, PairsAreUniqueAndKeepInsertionOrder)
{
    AppDataObjectTable table;
    EXPECT_TRUE(table.Add(Entry(1, 23, "01")));
    EXPECT_TRUE(table.Add(Entry(12, 3, "02")));
    EXPECT_TRUE(table.Add(Entry(23, 1, "03"))) << "the pair is ordered";
    EXPECT_FALSE(table.Add(Entry(1, 23, "FF")));
    EXPECT_EQ(Pairs(table), (std::vector<std::pair<int, int>>{{1, 23}, {12, 3}, {23, 1}}));
    ASSERT_NE(table.Find(1, 23), nullptr);
    EXPECT_EQ(table.Find(1, 23)->DataText, "01") << "a refused add changes nothing";
    EXPECT_EQ(table.Find(3, 12), nullptr);

    EXPECT_TRUE(table.Remove(12, 3));
    EXPECT_FALSE(table.Remove(12, 3));
    EXPECT_EQ(Pairs(table), (std::vector<std::pair<int, int>>{{1, 23}, {23, 1}}));
    EXPECT_TRUE(table.Remove(1, 23));
    EXPECT_TRUE(table.Add(Entry(1, 23, "0A 0B"))) << "a deleted pair can be added again";
    EXPECT_EQ(table.Find(1, 23)->DataText, "0A 0B");
    EXPECT_EQ(Pairs(table), (std::vector<std::pair<int, int>>{{23, 1}, {1, 23}}));
}

TEST(AppDataObjectAddTest, Checks)
{
    AppDataObjectTable table;
    table.Add(Entry(1, 23, "01"));
    std::string longText = "01";
    for (int i = 1; i < 243; ++i)
        longText += " 01";
    struct Case {
        std::string instance;
        std::string attribute;
        std::string data;
        AppDataObjectAddOutcome outcome;
        AppDataObjectEntry entry;
    };
    using O = AppDataObjectAddOutcome;
    const Case cases[] = {
        {"1", "23", "02", O::RepeatedPair, {}},
        {"1", "23", "", O::RepeatedPair, {}},
        {"12", "3", "  01 02  ", O::Accepted, {12, 3, 2, "01 02"}},
        {"12", "3", "01\r\n02\n03 ", O::Accepted, {12, 3, 3, "01 02 03"}},
        {"", "", "7F", O::Accepted, {0, 0, 1, "7F"}},
        {"300", "1", "01", O::Accepted, {300, 1, 1, "01"}},
        {"65535", "65535", "01", O::Accepted, {65535, 65535, 1, "01"}},
        {"65537", "23", "01", O::OutOfRange, {}}, // would go on the wire as instance 1
        {"1", "65536", "01", O::OutOfRange, {}},
        {" 5", "6x", "01", O::Accepted, {5, 6, 1, "01"}},
        {"2", "2", " \r\n ", O::EmptyData, {}},
        {"2", "2", "", O::EmptyData, {}},
        {"2", "2", "01  02", O::IllegalData, {}},
        {"2", "2", "01 G2", O::IllegalData, {}},
        {"2", "2", "0102", O::IllegalData, {}},
        {"2", "2", "12,34", O::IllegalData, {}},
        {"2", "2", longText, O::IllegalData, {}},
        {"2", "2", longText.substr(3), O::Accepted, {2, 2, 242, longText.substr(3)}},
    };
    for (const Case& c : cases) {
        const AppDataObjectAddCheck check = CheckAppDataObjectAdd(table, c.instance, c.attribute, c.data);
        const std::string label = c.instance + "/" + c.attribute + "/" + c.data.substr(0, 12);
        EXPECT_EQ(check.outcome, c.outcome) << label;
        if (c.outcome == O::Accepted) {
            EXPECT_EQ(check.entry.Instance, c.entry.Instance) << label;
            EXPECT_EQ(check.entry.Attribute, c.entry.Attribute) << label;
            EXPECT_EQ(check.entry.ByteCount, c.entry.ByteCount) << label;
            EXPECT_EQ(check.entry.DataText, c.entry.DataText) << label;
        }
    }
    EXPECT_EQ(table.Size(), 1u) << "checking adds nothing";
}

class SendAppDataObjectTest : public ::testing::Test {
protected:
    FakeLink link;
    SequenceCounter counter;
    MessageLog log;
    LogRecorder recorder{log};
    AppDataObjectTable table;

    bool Send(int instance, int attribute)
    {
        return SendAppDataObject(table, instance, attribute, link.port, counter, log);
    }
};

TEST_F(SendAppDataObjectTest, WorkedFrame)
{
    table.Add(Entry(1, 2, "0A 0B"));
    counter.Set(7);
    const Bytes answer = Hex("07 02 00 06 02 F1 00 01 00 02 00 00");
    link.backend->QueueArrival(answer);
    EXPECT_TRUE(Send(1, 2));
    EXPECT_EQ(link.backend->Writes(), std::vector<Bytes>{Hex("07 01 00 08 02 F1 00 01 00 02 0A 0B 48 84")});
    EXPECT_EQ(recorder.Lines(), (std::vector<std::string>{"107 01 00 08 02 F1 00 01 00 02 0A 0B 48 84 ",
                                                     BytesToHexText(answer, 0)}));
}

TEST_F(SendAppDataObjectTest, WideInstanceAndAttribute)
{
    table.Add(Entry(300, 65537, "02"));
    EXPECT_TRUE(Send(300, 65537));
    ASSERT_EQ(link.backend->Writes().size(), 1u);
    const Bytes& frame = link.backend->Writes()[0];
    EXPECT_EQ(Bytes(frame.begin(), frame.begin() + 11), Hex("01 01 00 07 02 F1 01 2C 00 01 02"));
    EXPECT_EQ(recorder.Size(), 1u) << "no answer, no received line";
}

TEST_F(SendAppDataObjectTest, MissingPairSendsAndLogsNothing)
{
    table.Add(Entry(1, 2, "0A"));
    EXPECT_FALSE(Send(2, 1));
    EXPECT_EQ(link.backend->WriteCalls(), 0u);
    EXPECT_EQ(recorder.Size(), 0u);
    EXPECT_EQ(counter.Value(), 1);
    EXPECT_TRUE(link.backend->Waits().empty());
}

TEST_F(SendAppDataObjectTest, EntryThatWouldNotFitIsSkipped)
{
    table.Add(Entry(1, 2, "01  02")); // bypassing the Add checks
    table.Add(Entry(1, 3, "0102"));
    EXPECT_FALSE(Send(1, 2));
    EXPECT_FALSE(Send(1, 3));
    EXPECT_EQ(link.backend->WriteCalls(), 0u);
}

TEST_F(SendAppDataObjectTest, FailedSendLogsNothing)
{
    table.Add(Entry(1, 2, "0A"));
    link.backend->FailAllWrites();
    EXPECT_FALSE(Send(1, 2));
    EXPECT_EQ(recorder.Size(), 0u);
    EXPECT_FALSE(link.port.IsOpen());
}

} // namespace

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
    return {instance, attribute, Hex(data), data};
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
    table.Add({1, 2, Bytes(243, 0x01), ""}); // bypassing the Add checks
    EXPECT_FALSE(Send(1, 2));
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

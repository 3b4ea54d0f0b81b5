// Frame captures read back by tshark with the project's dissector: times, directions, the decoded fields and the
// CRC check. Skipped where tshark is not installed (the test set-up installs it).

#include "HexText.h"
#include "MessageLog.h"
#include "Pcapng.h"

#include "Tshark.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace trelmo;
using namespace trelmo::testing;

namespace {

TEST(PcapngTest, TsharkReadsEveryFrameWithItsTimeDirectionFieldsAndCrcCheck)
{
    if (!TsharkAvailable())
        GTEST_SKIP() << "tshark is not installed";
    QTemporaryDir dir;
    const QString path = dir.filePath("trace.pcapng");
    Bytes corrupted = AssembleFrame(7, IoData, Bytes{0x11, 0x22});
    corrupted.back() ^= 0x01;
    const std::vector<LogEntry> logged = {
        {BytesToHexText(AssembleObjectFrame(1, Request, ServiceWrite, 0x03, 1, 1, {0x7E}), 1), 1700000000000000},
        {BytesToHexText(AssembleObjectFrame(9, Response, ServiceRead, 0xF1, 258, 3, {0xAB}), 0), 1700000000050001},
        {BytesToHexText(corrupted, 0), 1700000000300000},
        {BytesToHexText(Bytes{0x55, 0x55}, 1), 1700000000400000},
    };
    ASSERT_TRUE(WriteLogCapture(path.toStdString(), logged));

    const QStringList lines =
        TsharkFields(path, {"frame.time_epoch", "frame.packet_flags_direction", "trelmo.sequence",
                           "trelmo.frame_type", "trelmo.length", "trelmo.service", "trelmo.object",
                           "trelmo.instance", "trelmo.attribute", "trelmo.data", "trelmo.io_data",
                           "trelmo.crc.good"});
    const QStringList expected = {
        "1700000000.000000000|0x00000002|1|1|7|2|0x03|1|1|7e||1",
        "1700000000.050001000|0x00000001|9|2|7|1|0xf1|258|3|ab||1",
        "1700000000.300000000|0x00000001|7|0|2||||||11 22|0",
        "1700000000.400000000|0x00000002||||||||||",
    };
    EXPECT_EQ(lines.join('\n').toStdString(), expected.join('\n').toStdString());
}

TEST(PcapngTest, AFileThatCannotBeCreatedFailsEveryWrite)
{
    PcapngWriter writer;
    EXPECT_FALSE(writer.Open("/nonexistent-folder/trace.pcapng"));
    const std::uint8_t byte = 1;
    EXPECT_FALSE(writer.WriteBlock(PcapngPacket(0, CaptureDirection::Inbound, &byte, 1)));
    EXPECT_FALSE(writer.Flush());
}

} // namespace

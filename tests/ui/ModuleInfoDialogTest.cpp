// The Module Information window driven against the virtual module over its pseudo-terminal: the two reads on the
// wire, one received log line per reply however it arrives, and the six fields. How the replies are read and decoded
// (silent modules, long replies, the field formats) is tested over the fake line in tests/protocol.

#include "ModuleInfoDialog.h"

#include "DialogTemplate.h"
#include "HexText.h"
#include "LogRecorder.h"
#include "ModuleSession.h"
#include "MessageRecorder.h"
#include "TrafficLog.h"
#include "WireBytes.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace trelmo;
using namespace trelmo::testing;
namespace ids = trelmo::ModuleInfoControl;

namespace {

const int kFields[] = {ids::NetworkType, ids::ProductType, ids::SerialNumber, ids::ProductionDate,
                       ids::HardwareVersion, ids::FirmwareVersion};

class ModuleInfoDialogTest : public ::testing::Test {
protected:
    void SetUp() override { SetActiveLanguage(LanguageVariant::English); }

    // Starts the module at a fixed 115200 bps, opens the session's port on it, reads the module's identity as the
    // main window does and opens the window on what was read.
    void OpenAgainst(const QStringList& scenario)
    {
        ASSERT_TRUE(sim_.Start(QStringList{"--mode", "115200"} + scenario)) << sim_.ErrorText().toStdString();
        ASSERT_TRUE(session_.Port().OpenSerialPort(sim_.DevicePath(), 115200));
        SequenceCounter expected = session_.Sequence();
        firstRequest_ = AssembleObjectFrame(expected.Take(), Request, ServiceRead, 0x02, 1, 0);
        secondRequest_ = AssembleObjectFrame(expected.Take(), Request, ServiceRead, 0x00, 1, 0);
        info_ = ReadModuleInfo(session_.Port(), session_.Sequence(), session_.Log()).info;
        dialog_ = std::make_unique<CModuleInfoDialog>(info_);
    }

    std::vector<std::string> Fields() const
    {
        std::vector<std::string> texts;
        for (int id : kFields)
            texts.push_back(Control<QLineEdit>(dialog_.get(), id)->text().toStdString());
        return texts;
    }

    // Received lines of the frame log, as byte counts.
    std::vector<std::size_t> ReceivedLineSizes() const
    {
        std::vector<std::size_t> sizes;
        for (const std::string& line : logged_.Lines()) {
            if (line[0] == '0')
                sizes.push_back((line.size() - 1) / 3);
        }
        return sizes;
    }

    SimProcess sim_;
    ModuleSession session_;
    std::optional<ModuleInfo> info_;
    std::unique_ptr<CModuleInfoDialog> dialog_;
    Bytes firstRequest_;
    Bytes secondRequest_;
    MessageRecorder messages_;
    LogRecorder logged_{session_.Log()};
};

TEST_F(ModuleInfoDialogTest, ShowsTheModulesIdentity)
{
    ASSERT_NO_FATAL_FAILURE(OpenAgainst({"--network-type", "Fieldbus Net 2", "--product-type", "Trelmo TX-20 Module",
                                         "--serial", "123456", "--date", "2013-08-13", "--hw-version", "1.2",
                                         "--fw-version", "256.10"}));
    EXPECT_EQ(Fields(), (std::vector<std::string>{"Fieldbus Net 2", "Trelmo TX-20 Module", "123456", "2013-8-13", "1.2",
                                                  "256.10"}));
    EXPECT_TRUE(messages_.texts.empty());

    ASSERT_TRUE(WaitForHostBytes(sim_, 24));
    EXPECT_EQ(HostBytes(sim_), Joined({firstRequest_, secondRequest_}));
    const Bytes answers = ModuleBytes(sim_);
    ASSERT_EQ(answers.size(), 38u + 48u);
    const std::vector<std::string> expectedLog{BytesToHexText(firstRequest_, 1),
                                               BytesToHexText(Bytes(answers.begin(), answers.begin() + 38), 0),
                                               BytesToHexText(secondRequest_, 1),
                                               BytesToHexText(Bytes(answers.begin() + 38, answers.end()), 0)};
    EXPECT_EQ(logged_.Lines(), expectedLog);
}

TEST_F(ModuleInfoDialogTest, SixReadOnlyFieldsNamedByTheirLabelsAndNoButton)
{
    CModuleInfoDialog english(std::nullopt); // nothing was read: six empty fields
    EXPECT_EQ(english.windowTitle(), "Module Information");
    EXPECT_TRUE(english.findChildren<QPushButton*>().isEmpty());
    const char* labels[] = {"Network Type:", "Product Type:", "Serial Number:", "Production Date:",
                            "Hardware Version:", "Firmware  Version:"};
    for (int i = 0; i < 6; ++i) {
        auto* field = Control<QLineEdit>(&english, kFields[i]);
        ASSERT_NE(field, nullptr) << kFields[i];
        EXPECT_TRUE(field->isReadOnly());
        EXPECT_TRUE(field->text().isEmpty());
        EXPECT_EQ(field->accessibleName(), labels[i]);
    }
}

TEST_F(ModuleInfoDialogTest, RepliesSplitInTwoWritesAreLoggedAsOneLineEach)
{
    ASSERT_NO_FATAL_FAILURE(OpenAgainst({"--split-ms", "75", "--split-at", "20"}));
    EXPECT_EQ(Fields(), (std::vector<std::string>{"Virtual Fieldbus", "Trelmo Sim Module", "123456", "2023-6-15",
                                                  "1.2", "2.10"}));
    EXPECT_EQ(ReceivedLineSizes(), (std::vector<std::size_t>{38, 48}));
    std::size_t moduleWrites = 0;
    for (const std::string& line : sim_.LogLines())
        moduleWrites += line[0] == '0' ? 1 : 0;
    EXPECT_EQ(moduleWrites, 4u);
}

} // namespace

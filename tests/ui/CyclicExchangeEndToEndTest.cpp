// The cyclic I/O exchange of the real main window against the virtual module, checked on the wire.

#include "MainWindowHarness.h"

#include "AppDataObjectTable.h"
#include "LinkStatisticsDialog.h"
#include "ObjectAccess.h"

#include "LogRecorder.h"
#include "PacedBackend.h"
#include "StringTable.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <optional>

namespace trelmo::testing {
namespace {

// The module's frames after the answers to the bus address and on-line requests (a fixed-speed module sends
// nothing else before them).
std::vector<Bytes> ModuleFramesAfterConnecting(const SimProcess& sim)
{
    std::vector<Bytes> frames = SplitFrames(ModuleBytes(sim));
    frames.erase(frames.begin(), frames.begin() + std::min<std::ptrdiff_t>(2, frames.size()));
    return frames;
}

std::size_t CountFramesOfType(const std::vector<Bytes>& frames, std::uint8_t type)
{
    return static_cast<std::size_t>(std::count_if(frames.begin(), frames.end(), [type](const Bytes& frame) {
        return frame.size() > ModuleFrame::FrameType && frame[ModuleFrame::FrameType] == type;
    }));
}

class CyclicExchangeTest : public MainWindowTest {
protected:
    SimProcess& ConnectToNewSim(QStringList arguments)
    {
        if (!arguments.contains("--mode"))
            arguments << "--mode" << "115200";
        SimProcess& sim = StartSim(arguments);
        ConnectTo(sim);
        EXPECT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();
        return sim;
    }

    // The read grid against the data of an I/O answer: its cells hold the bytes, the rest are empty and grey.
    void ExpectReadGridShows(const Bytes& answer)
    {
        ASSERT_GE(answer.size(), ModuleFrame::Overhead);
        const int length = ReadBigEndian16(&answer[ModuleFrame::Length]);
        EXPECT_EQ(window->ReadLengthEdit()->text().toStdString(), std::to_string(length));
        for (int i = 0; i < GridDataCells; ++i) {
            SCOPED_TRACE(i);
            if (i < length) {
                char expected[3];
                std::snprintf(expected, sizeof expected, "%02X", answer[ModuleFrame::HeaderSize + i]);
                ASSERT_EQ(ReadCell(i), expected);
                ASSERT_TRUE(ReadCellActive(i));
            } else {
                ASSERT_EQ(ReadCell(i), "");
                ASSERT_FALSE(ReadCellActive(i));
            }
        }
    }

    void SetUp() override
    {
        MainWindowTest::SetUp();
        Configure(OperatingMode::Uart115200, "12");
    }
};

// Opened from the menu, right after Application Data Objects, one at a time: the window shows the link's counts and
// follows them while the cycles run.
TEST_F(CyclicExchangeTest, LinkStatisticsWindowFromTheMenuFollowsTheCounts)
{
    namespace ids = LinkStatisticsControl;
    ConnectToNewSim({});
    const QList<QAction*> actions = window->SystemMenu()->actions();
    ASSERT_EQ(actions.size(), 4);
    ASSERT_EQ(actions[3]->text(), "Link Statistics");
    actions[3]->trigger();
    const QPointer<CLinkStatisticsDialog> statistics = window->LinkStatisticsDialog();
    ASSERT_FALSE(statistics.isNull());
    EXPECT_FALSE(statistics->isModal());
    const auto field = [&statistics](int id) { return Control<QLineEdit>(statistics, id)->text(); };
    ASSERT_TRUE(WaitFor([&] { return field(ids::Cycles).toInt() >= 3; })) << "refreshed while open";
    EXPECT_EQ(field(ids::Answered), field(ids::Cycles));
    for (int id : {ids::NoAnswer, ids::BrokenAnswers, ids::ErrorAnswers, ids::SetAsideBytes})
        EXPECT_EQ(field(id), "0") << id;
    EXPECT_FALSE(field(ids::SlowestPeriod).isEmpty());

    actions[3]->trigger();
    EXPECT_EQ(window->findChildren<CLinkStatisticsDialog*>(), QList<CLinkStatisticsDialog*>{statistics.data()});
}

TEST_F(CyclicExchangeTest, ReadGridFillsAndGreysAsTheModulesReadLengthChanges)
{
    for (int readLength : {16, 5, 0, 250, 12}) {
        SCOPED_TRACE(readLength);
        SimProcess& sim = ConnectToNewSim({"--read-length", QString::number(readLength), "--name",
                                           QString("sim%1").arg(readLength)});
        ASSERT_TRUE(WaitForHostFrames(sim, 4)); // bus address, on line, two cycles
        Disconnect();
        const std::vector<Bytes> answers = ModuleFramesAfterConnecting(sim);
        ASSERT_GE(answers.size(), 2u);
        ExpectReadGridShows(answers.back());
    }
}

// On a line paced as a UART at 9600 bit/s on both sides (the module's bytes at the line's pace, the host's drain
// waiting for its bytes to cross), a cycle with full grids still brings the module's whole answer within the wait.
TEST_F(CyclicExchangeTest, AFullGridCycleOnAPacedLineAt9600BitsShowsTheAnswer)
{
    window = std::make_unique<CMainDialog>(nullptr, std::make_unique<PacedBackend>());
    ShowActive(*window);
    Configure(OperatingMode::Uart9600, "12");
    EnterWriteLength("244");
    SimProcess& sim = StartSim({"--mode", "9600", "--wire", "--read-length", "250", "--config-at", "0",
                                "--param-at", "0"});
    ConnectTo(sim);
    EXPECT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();
    const std::vector<Bytes> answers = ModuleFramesAfterConnecting(sim);
    ASSERT_EQ(answers.size(), 1u);
    ExpectReadGridShows(answers[0]);
    EXPECT_EQ(window->ReadLengthEdit()->text(), "250");
}

TEST_F(CyclicExchangeTest, WriteLengthZeroAndThreeSendTheirFrames)
{
    SimProcess& sim = StartSim({"--mode", "115200"});
    ConnectTo(sim); // bus address 1, on line 2, first cycle 3
    Disconnect();
    std::vector<Bytes> frames = HostFrames(sim);
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[2], WithCrc(Hex("03 00 00 00")));

    // Cells 0A, empty, FF: the empty cell goes out as 00.
    EnterWriteLength("3");
    window->WriteGrid().SetCellText(1, 1, "0A");
    window->WriteGrid().SetCellText(1, 2, "");
    window->WriteGrid().SetCellText(1, 3, "FF");
    ConnectTo(sim); // bus address 4, on line 5, first cycle 6
    Disconnect();
    frames = HostFrames(sim);
    ASSERT_EQ(frames.size(), 6u);
    EXPECT_EQ(frames[5], WithCrc(Hex("06 00 00 03 0A 00 FF")));
    EXPECT_EQ(WriteCell(1), "00");
}

TEST_F(CyclicExchangeTest, WriteLength244GoesOutAnd245IsRefusedAlsoWhenACycleAppliesIt)
{
    // Refused before any length was applied: the edit shows the length 0 again, as it did at start-up.
    EnterWriteLength("245");
    EXPECT_EQ(messages, QStringList{LoadText(TextId::MaximumByte244)});
    EXPECT_EQ(window->WriteLengthEdit()->text(), "0");

    messages.clear();
    EnterWriteLength("244");
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_TRUE(WriteCellActive(243));
    EXPECT_EQ(WriteCell(243), "00");
    EXPECT_FALSE(WriteCellActive(244));

    EnterWriteLength("245");
    EXPECT_EQ(messages, QStringList{LoadText(TextId::MaximumByte244)});
    EXPECT_EQ(window->WriteLengthEdit()->text(), "244");
    EXPECT_FALSE(WriteCellActive(244));

    messages.clear();
    SimProcess& sim = ConnectToNewSim({});
    std::vector<Bytes> frames = HostFrames(sim);
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[2].size(), 250u);
    EXPECT_EQ(ReadBigEndian16(&frames[2][ModuleFrame::Length]), 244);

    // Typed but not yet left: the next cycle applies it, refuses it and sends the previous length.
    messages.clear();
    QLineEdit* edit = window->WriteLengthEdit();
    edit->setFocus(Qt::TabFocusReason);
    edit->selectAll();
    QTest::keyClicks(edit, "245");
    ASSERT_TRUE(WaitForHostFrames(sim, 4));
    EXPECT_EQ(messages, QStringList{LoadText(TextId::MaximumByte244)});
    frames = HostFrames(sim);
    EXPECT_EQ(ReadBigEndian16(&frames[3][ModuleFrame::Length]), 244);
    EXPECT_EQ(edit->text(), "244");
}

TEST_F(CyclicExchangeTest, ShrinkingTheWriteLengthGreysCellsAndGrowingItFillsThemWith00)
{
    EnterWriteLength("20");
    window->WriteGrid().SetCellText(2, 5, "AB"); // byte 14
    EnterWriteLength("12");
    for (int i = 12; i < 20; ++i) {
        EXPECT_FALSE(WriteCellActive(i)) << i;
        EXPECT_EQ(WriteCell(i), "") << i;
    }
    EnterWriteLength("20");
    for (int i = 12; i < 20; ++i) {
        EXPECT_TRUE(WriteCellActive(i)) << i;
        EXPECT_EQ(WriteCell(i), "00") << i;
    }
    EXPECT_FALSE(WriteCellActive(20));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(CyclicExchangeTest, ConfigurationAndParameterDataAreStoredAndEchoedWithTheToolsOwnSequenceAndCrc)
{
    SimProcess& sim = ConnectToNewSim({"--config-at", "1", "--param-at", "2", "--config-data", "01 02 03",
                                       "--param-data", "0A 0B 0C 0D"});
    // bus address 1, on line 2, cycle 3, echo 4, cycle 5, echo 6
    ASSERT_TRUE(WaitForHostFrames(sim, 6));
    Disconnect();

    const AppConfigObjectData& handedOver = window->HandedOver();
    EXPECT_EQ(handedOver.ConfigurationData, Bytes({0x01, 0x02, 0x03}));
    EXPECT_EQ(handedOver.ParameterData, Bytes({0x0A, 0x0B, 0x0C, 0x0D}));

    const std::vector<Bytes> requests = ModuleFramesAfterConnecting(sim);
    const std::vector<Bytes> frames = HostFrames(sim);
    ASSERT_GE(requests.size(), 4u); // configuration, its acknowledgement, parameters, acknowledgement
    ASSERT_GE(frames.size(), 6u);
    for (int k = 0; k < 2; ++k) {
        SCOPED_TRACE(k);
        const Bytes& request = requests[2 * k];
        ASSERT_EQ(request[ModuleFrame::FrameType], Request);
        ASSERT_EQ(request[ModuleFrame::ObjectCode], 0xF0);
        Bytes echo(request.begin(), request.end() - 2);
        echo[ModuleFrame::Sequence] = static_cast<std::uint8_t>(4 + 2 * k);
        echo[ModuleFrame::FrameType] = Response;
        EXPECT_EQ(frames[3 + 2 * k], WithCrc(echo));
    }
}

TEST_F(CyclicExchangeTest, ApplicationDataObjectsAreServedFromTheWindowsTableAndUnknownPairsGetNothing)
{
    ASSERT_TRUE(window->AppDataObjects().Add({1, 1, {0x0A, 0x0B}, "0A 0B"}));
    SimProcess& sim = ConnectToNewSim(
        {"--config-at", "0", "--param-at", "0", "--adi-every", "1", "--adi-list", "1:1,9:9"});
    // cycle 3 (module names 1:1), the write 4, cycle 5 (module names 9:9), cycle 6
    ASSERT_TRUE(WaitForHostFrames(sim, 6));
    Disconnect();

    const std::vector<Bytes> frames = HostFrames(sim);
    EXPECT_EQ(frames[3], WithCrc({0x04, 0x01, 0x00, 0x08, 0x02, 0xF1, 0x00, 0x01, 0x00, 0x01, 0x0A, 0x0B}));
    EXPECT_EQ(frames[4][ModuleFrame::FrameType], IoData);
    EXPECT_EQ(frames[4][ModuleFrame::Sequence], 0x05);
    EXPECT_EQ(frames[5][ModuleFrame::FrameType], IoData);
    EXPECT_EQ(frames[5][ModuleFrame::Sequence], 0x06);
}

// The module hangs up and comes back under its name on another device: the window says it is reconnecting (the
// notice not waiting for OK), takes the module up again with the same write data, and Disconnect ends the attempts.
TEST_F(CyclicExchangeTest, ALostModuleIsTakenUpAgainWhenItComesBackAndDisconnectEndsTheAttempts)
{
    struct RealMessageBoxes {
        MessageBoxHook recording = SetMessageBoxHook({});
        ~RealMessageBoxes() { SetMessageBoxHook(recording); }
    } realBoxes;
    const std::string disconnect = ButtonName(MainControl::Disconnect);
    EnterWriteLength("2");
    SimProcess& first = ConnectToNewSim({"--name", "bench", "--hangup-after", "3"}); // at the second cycle
    ASSERT_TRUE(WaitFor([&] { return window->IsReconnecting(); }, 6000));
    const QPointer<QMessageBox> notice = window->LinkLostNotice();
    ASSERT_TRUE(notice);
    EXPECT_TRUE(notice->isVisible());
    EXPECT_FALSE(notice->isModal());
    EXPECT_EQ(notice->text(), LoadText(TextId::ConnectionLost));
    EXPECT_EQ(ButtonState(MainControl::Disconnect), "shown, enabled, " + LoadText(TextId::Reconnecting).toStdString());
    EXPECT_FALSE(Button(MainControl::ModuleInformation)->isEnabled());
    ASSERT_TRUE(WaitFor([&] { return !first.IsRunning(); }));

    SimProcess& second = StartSim({"--name", "bench", "--mode", "115200"});
    ASSERT_TRUE(WaitFor([&] { return window->IsConnected(); }, 10000));
    EXPECT_TRUE(WaitFor([&] { return notice.isNull(); })) << "the notice goes once the link is back";
    EXPECT_TRUE(Button(MainControl::ModuleInformation)->isEnabled());
    EXPECT_EQ(ButtonName(MainControl::Disconnect), disconnect);
    ASSERT_TRUE(WaitForHostFrames(second, 3));
    const Bytes cycle = HostFrames(second)[2]; // after the bus address and the on-line request
    ASSERT_EQ(cycle.size(), ModuleFrame::Overhead + 2);
    EXPECT_EQ(cycle[ModuleFrame::FrameType], IoData);
    EXPECT_EQ(Bytes(cycle.begin() + ModuleFrame::HeaderSize, cycle.end() - 2), (Bytes{0x00, 0x00}));

    second.Stop();
    ASSERT_TRUE(WaitFor([&] { return window->IsReconnecting(); }, 6000));
    Button(MainControl::Disconnect)->click();
    EXPECT_FALSE(window->Link().IsPortOpen());
    EXPECT_EQ(ButtonState(MainControl::Connect), "shown, enabled, " + LoadText(TextId::Connect).toStdString());
    SimProcess& third = StartSim({"--name", "bench", "--mode", "115200"});
    QTest::qWait(1500);
    EXPECT_TRUE(HostFrames(third).empty()) << "no attempt after Disconnect";
    EXPECT_EQ(ButtonName(MainControl::Disconnect), disconnect);
}

TEST_F(CyclicExchangeTest, AnswersLaterThanTheWaitAreSetAsideNeverShownAsALaterAnswer)
{
    SimProcess& sim = ConnectToNewSim({"--io-delay-ms", "450"});
    ASSERT_TRUE(WaitForHostFrames(sim, 5));
    Disconnect();
    // Every answer came after its cycle's wait and was set aside before the next request went out.
    EXPECT_EQ(window->ReadLengthEdit()->text(), "");
    EXPECT_FALSE(ReadCellActive(0));
}

// Answers that are not a whole frame with a correct CRC: the read grid keeps its content and nothing is answered.
class BrokenAnswerTest : public CyclicExchangeTest, public ::testing::WithParamInterface<QStringList> {};

TEST_P(BrokenAnswerTest, IsNeitherShownNorStoredNorAnswered)
{
    SimProcess& sim = ConnectToNewSim(GetParam() + QStringList{"--config-at", "1", "--param-at", "0"});
    ASSERT_TRUE(WaitForHostFrames(sim, 5));
    Disconnect();

    EXPECT_TRUE(window->HandedOver().ConfigurationData.empty());
    EXPECT_EQ(CountFramesOfType(HostFrames(sim), Response), 0u);
    EXPECT_EQ(window->ReadLengthEdit()->text(), "");
    EXPECT_FALSE(ReadCellActive(0));
    EXPECT_TRUE(messages.isEmpty()) << "a module that answers badly is not a lost link";
}

INSTANTIATE_TEST_SUITE_P(Modules, BrokenAnswerTest,
                         ::testing::Values(QStringList{"--bad-crc", "io"},
                                           QStringList{"--short-answer", "io", "--short-bytes", "3"},
                                           QStringList{"--short-answer", "io", "--short-bytes", "1"}));

TEST_F(CyclicExchangeTest, ALateAnswerToAnObjectReadIsNeverServedAsAModuleRequest)
{
    ASSERT_TRUE(window->AppDataObjects().Add({1, 3, {0x0A}, "0A"}));
    SimProcess& sim = ConnectToNewSim({"--late-kinds", "object", "--late-ms", "150"});
    ASSERT_TRUE(WaitForHostFrames(sim, 3));

    // As the Object Module Access window reads 01/1/3: its answer comes after the 50 ms wait.
    std::optional<AccessOutcome> read;
    RequestId asked = 0;
    QObject::connect(&window->Link(), &LinkController::AttributeAccessed, window.get(),
                     [&](RequestId request, const AccessResult& result) {
                         if (request == asked)
                             read = result.outcome;
                     });
    asked = window->Link().ReadAttribute({0x01, 1, 3});
    ASSERT_TRUE(WaitFor([&] { return read.has_value(); }));
    EXPECT_EQ(read, AccessOutcome::ReadNotAnswered);
    const std::size_t framesAfterRead = HostFrames(sim).size();
    ASSERT_TRUE(WaitForHostFrames(sim, framesAfterRead + 3));
    Disconnect();

    for (const Bytes& frame : HostFrames(sim))
        ASSERT_FALSE(frame[ModuleFrame::FrameType] == Request && frame[ModuleFrame::ObjectCode] == AppDataObjectCode)
            << "nothing was written unasked";
}

TEST_F(CyclicExchangeTest, AfterAFloodTheNextProperAnswerIsShownAtOnce)
{
    SimProcess& sim = ConnectToNewSim({"--flood-after", "3", "--flood-ms", "1500"});
    ASSERT_TRUE(WaitFor([&] { return HostFrames(sim).size() >= 9; }, 10000));
    const std::size_t framesAfterFlood = HostFrames(sim).size();
    // Once the module answers properly again, the next cycle shows its answer: nothing of the flood is left over.
    ASSERT_TRUE(WaitForHostFrames(sim, framesAfterFlood + 2));
    Disconnect();
    // The module's last answer is an I/O frame of its 16 data bytes, after the flood's junk.
    const Bytes stream = ModuleBytes(sim);
    const std::size_t answerSize = 16 + ModuleFrame::Overhead;
    ASSERT_GE(stream.size(), answerSize);
    ExpectReadGridShows(Bytes(stream.end() - static_cast<std::ptrdiff_t>(answerSize), stream.end()));
}

TEST_F(CyclicExchangeTest, CyclesGoOnWhileAModalMessageBoxIsOpen)
{
    SimProcess& sim = ConnectToNewSim({});
    // Real message boxes for this test: the refused length's box stays open for a while.
    const MessageBoxHook recording = SetMessageBoxHook({});
    std::size_t framesWhenShown = 0;
    std::size_t framesWhenClosed = 0;
    QString shownText;
    WhenModal<QMessageBox>([&](QMessageBox* box) {
        framesWhenShown = HostFrames(sim).size();
        shownText = box->text();
        QTimer::singleShot(2000, box, [&, box] {
            framesWhenClosed = HostFrames(sim).size();
            box->button(QMessageBox::Ok)->click();
        });
    });
    EnterWriteLength("300");
    SetMessageBoxHook(recording);

    EXPECT_EQ(shownText, LoadText(TextId::MaximumByte244));
    EXPECT_GE(framesWhenClosed, framesWhenShown + 2);
    EXPECT_EQ(window->WriteLengthEdit()->text(), "0");
    EXPECT_TRUE(messages.isEmpty()) << "no second box: " << messages.join('|').toStdString();
}

} // namespace
} // namespace trelmo::testing

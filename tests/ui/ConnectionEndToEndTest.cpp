// Connecting and disconnecting through the real main window against the virtual module, checked on the wire.

#include "MainWindowHarness.h"

#include "LogRecorder.h"
#include "StringTable.h"

#include "ConnectionSteps.h"

#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

namespace trelmo::testing {
namespace {

std::string Caption(TextId textId)
{
    return LoadText(textId).toStdString();
}

Bytes OnlineRequest(std::uint8_t sequence)
{
    return WithCrc({sequence, 0x01, 0x00, 0x07, 0x02, 0x00, 0x00, 0x02, 0x00, 0x00, 0x01});
}

Bytes EmptyIoFrame(std::uint8_t sequence)
{
    return WithCrc({sequence, 0x00, 0x00, 0x00});
}

bool IsProbe(const Bytes& piece)
{
    return piece == Bytes{0x55, 0x55};
}

class ConnectionTest : public MainWindowTest {
protected:
    // The buttons of the window, one line each, in the order of the window's button table.
    std::string Buttons() const
    {
        std::string all;
        for (int id : {MainControl::OperatingMode, MainControl::Connect, MainControl::Disconnect,
                       MainControl::ModuleInformation, MainControl::ObjectModuleAccess,
                       MainControl::ApplicationConfigurationObject, MainControl::MessageDisplay,
                       MainControl::OnlineState, MainControl::ApplicationDataObjects})
            all += std::to_string(id) + ": " + ButtonState(id) + "\n";
        return all;
    }

    std::string DisconnectedButtons(const std::string& connectCaption, bool connectEnabled,
                                    const std::string& onlineCaption) const
    {
        return "1001: shown, enabled, " + ButtonName(MainControl::OperatingMode)
            + "\n1040: shown, " + (connectEnabled ? "enabled, " : "disabled, ") + connectCaption
            + "\n1010: hidden, disabled, " + ButtonName(MainControl::Disconnect)
            + "\n1002: shown, disabled, " + ButtonName(MainControl::ModuleInformation)
            + "\n1003: shown, disabled, " + ButtonName(MainControl::ObjectModuleAccess)
            + "\n1004: shown, disabled, " + ButtonName(MainControl::ApplicationConfigurationObject)
            + "\n1009: shown, enabled, " + ButtonName(MainControl::MessageDisplay)
            + "\n1006: hidden, disabled, " + onlineCaption
            + "\n1005: hidden, disabled, " + ButtonName(MainControl::ApplicationDataObjects) + "\n";
    }

    std::string ConnectedButtons() const
    {
        return "1001: shown, disabled, " + ButtonName(MainControl::OperatingMode)
            + "\n1040: hidden, disabled, " + Caption(TextId::Connected)
            + "\n1010: shown, enabled, " + ButtonName(MainControl::Disconnect)
            + "\n1002: shown, enabled, " + ButtonName(MainControl::ModuleInformation)
            + "\n1003: shown, enabled, " + ButtonName(MainControl::ObjectModuleAccess)
            + "\n1004: shown, enabled, " + ButtonName(MainControl::ApplicationConfigurationObject)
            + "\n1009: shown, enabled, " + ButtonName(MainControl::MessageDisplay)
            + "\n1006: hidden, enabled, ONLINE"
            + "\n1005: hidden, disabled, " + ButtonName(MainControl::ApplicationDataObjects) + "\n";
    }

    // After a failed connection: the message, the port closed, Connect usable again and nothing else connected.
    void ExpectFailedWith(TextId textId)
    {
        EXPECT_EQ(messages, QStringList{LoadText(textId)});
        // The message is shown while the caption still says the connection is being made.
        EXPECT_EQ(connectCaptionsAtMessage, QStringList{LoadText(TextId::Connecting)});
        EXPECT_FALSE(window->Link().IsPortOpen());
        EXPECT_EQ(Buttons(), DisconnectedButtons(Caption(TextId::Connect), true, "OFFLINE"));
    }
};

TEST_F(ConnectionTest, ButtonsFollowConfigureConnectAndDisconnect)
{
    EXPECT_EQ(Buttons(), DisconnectedButtons(Caption(TextId::Connect), false, "OFFLINE"));

    // A cancelled configuration unlocks nothing.
    WhenModal<QDialog>([](QDialog* dialog) { dialog->reject(); });
    Button(MainControl::OperatingMode)->click();
    EXPECT_FALSE(Button(MainControl::Connect)->isEnabled());

    Configure(OperatingMode::Uart115200, "5");
    EXPECT_EQ(Buttons(), DisconnectedButtons(Caption(TextId::Connect), true, "OFFLINE"));

    SimProcess& sim = StartSim({"--mode", "115200"});
    ConnectTo(sim);
    EXPECT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();
    EXPECT_EQ(Buttons(), ConnectedButtons());

    Disconnect();
    // The module is not switched off line: the hidden state button keeps its caption.
    EXPECT_EQ(Buttons(), DisconnectedButtons(Caption(TextId::Connect), true, "ONLINE"));
    EXPECT_FALSE(window->Link().IsPortOpen());
}

TEST_F(ConnectionTest, AutoBaudModeProbesThenSendsBusAddressOnlineAndTheFirstCycle)
{
    Configure(OperatingMode::AutoBaud, "126", 4);
    SimProcess& sim = StartSim({"--mode", "auto"});
    ConnectTo(sim);

    ASSERT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();
    const std::vector<Bytes> frames = HostFrames(sim);
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_TRUE(IsProbe(frames[0]));
    EXPECT_EQ(frames[1], Hex("01 01 00 07 02 03 00 01 00 01 7E B1 84"));
    EXPECT_EQ(frames[2], OnlineRequest(2));
    EXPECT_EQ(frames[3], EmptyIoFrame(3));
    const Bytes fromModule = ModuleBytes(sim);
    ASSERT_FALSE(fromModule.empty());
    EXPECT_EQ(fromModule[0], 0xAA);
}

TEST_F(ConnectionTest, DisconnectSendsNothingAndAnotherPortCanBeConnectedWithoutReconfiguring)
{
    Configure(OperatingMode::AutoBaud, "7", 4);
    SimProcess& first = StartSim({"--mode", "auto", "--name", "first"});
    SimProcess& second = StartSim({"--mode", "auto", "--name", "second"});
    ConnectTo(first);
    ASSERT_TRUE(WaitForHostFrames(first, 5)); // probe, bus address, on line, two cycles
    Disconnect();
    const std::size_t linesAtDisconnect = first.LogLines().size();
    QTest::qWait(800);
    EXPECT_EQ(first.LogLines().size(), linesAtDisconnect);

    ConnectTo(second);
    ASSERT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();
    const std::vector<Bytes> frames = HostFrames(second);
    ASSERT_GE(frames.size(), 4u);
    EXPECT_TRUE(IsProbe(frames[0]));
    EXPECT_EQ(frames[1][ModuleFrame::ObjectCode], 0x03);
    EXPECT_EQ(frames[1][ModuleFrame::Data], 7);
    EXPECT_EQ(Buttons(), ConnectedButtons());
    EXPECT_EQ(first.LogLines().size(), linesAtDisconnect);
}

struct FixedModeCase {
    OperatingMode mode;
    const char* simMode;
};

void PrintTo(const FixedModeCase& c, std::ostream* out)
{
    *out << c.simMode;
}

class FixedModeTest : public ConnectionTest, public ::testing::WithParamInterface<FixedModeCase> {};

TEST_P(FixedModeTest, SendsNoProbeAndStartsWithTheBusAddress)
{
    Configure(GetParam().mode, "126");
    SimProcess& sim = StartSim({"--mode", GetParam().simMode});
    ConnectTo(sim);

    ASSERT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();
    const std::vector<Bytes> frames = HostFrames(sim);
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0], Hex("01 01 00 07 02 03 00 01 00 01 7E B1 84"));
    EXPECT_EQ(frames[1], OnlineRequest(2));
    EXPECT_EQ(frames[2], EmptyIoFrame(3));
    EXPECT_EQ(Buttons(), ConnectedButtons());
}

INSTANTIATE_TEST_SUITE_P(Modes, FixedModeTest,
                         ::testing::Values(FixedModeCase{OperatingMode::Uart9600, "9600"},
                                           FixedModeCase{OperatingMode::Uart115200, "115200"}),
                         [](const ::testing::TestParamInfo<FixedModeCase>& info) {
                             return std::string("Uart") + info.param.simMode;
                         });

TEST_F(ConnectionTest, CancellingThePortDialogSendsNothingAndChangesNothing)
{
    Configure(OperatingMode::AutoBaud, "1", 4);
    SimProcess& sim = StartSim({"--mode", "auto"});
    const std::string before = Buttons();
    const LogRecorder logged(window->Link().Log());
    ConnectAndCancel();
    EXPECT_EQ(Buttons(), before);
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_FALSE(window->Link().IsPortOpen());
    QTest::qWait(100);
    EXPECT_TRUE(sim.LogLines().empty());
    EXPECT_TRUE(logged.Lines().empty());
}

// The auto-baud handshake gives up only after more than 3 whole seconds, so each case takes 3 to 4 s.
struct AutoBaudFailureCase {
    const char* name;
    QStringList simArguments;
    std::uint8_t answer; // what the module answers each probe with; 0 = nothing
};

void PrintTo(const AutoBaudFailureCase& c, std::ostream* out)
{
    *out << c.name;
}

class AutoBaudFailureTest : public ConnectionTest, public ::testing::WithParamInterface<AutoBaudFailureCase> {};

TEST_P(AutoBaudFailureTest, ProbesForMoreThanThreeSecondsThenFailsWithError01AndANewConnectStartsOver)
{
    Configure(OperatingMode::AutoBaud, "3", 4);
    SimProcess& sim = StartSim(GetParam().simArguments);
    // Recorded on the link thread, where the waits happen.
    struct Recorded {
        std::mutex mutex;
        std::vector<int> waits;
        std::set<long> secondsAtWaits; // the handshake's own whole-second clock, read at each wait
    };
    const auto recorded = std::make_shared<Recorded>();
    window->Link().SetWaitFunction([recorded](int milliseconds) {
        {
            const std::lock_guard<std::mutex> lock(recorded->mutex);
            recorded->waits.push_back(milliseconds);
            recorded->secondsAtWaits.insert(SteadyClockSeconds());
        }
        SleepMilliseconds(milliseconds);
    });
    ConnectTo(sim);
    window->Link().SetWaitFunction({});
    std::unique_lock<std::mutex> lock(recorded->mutex);
    const std::vector<int>& waits = recorded->waits;
    const std::set<long>& secondsAtWaits = recorded->secondsAtWaits;

    ExpectFailedWith(TextId::AutoBaudFailed);
    const std::vector<Bytes> frames = HostFrames(sim);
    EXPECT_TRUE(std::all_of(frames.begin(), frames.end(), IsProbe)) << "only probes go out";
    EXPECT_EQ(waits, std::vector<int>(frames.size(), 50)) << "one 50 ms wait for the answer to each probe";
    EXPECT_GE(secondsAtWaits.size(), 4u) << "probing goes on until the clock has moved more than 3 seconds on";
    EXPECT_LE(frames.size(), 80u) << "at 50 ms a probe, no more fit before the clock reads 4 seconds on";
    lock.unlock();
    const Bytes answers = ModuleBytes(sim);
    if (GetParam().answer == 0) {
        EXPECT_TRUE(answers.empty());
    } else {
        EXPECT_EQ(answers, Bytes(frames.size(), GetParam().answer));
    }

    // The next Connect shows the port dialog again and runs the whole sequence from the start.
    messages.clear();
    connectCaptionsAtMessage.clear();
    SimProcess& good = StartSim({"--mode", "auto", "--name", "good"});
    ConnectTo(good);
    EXPECT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();
    const std::vector<Bytes> goodFrames = HostFrames(good);
    ASSERT_EQ(goodFrames.size(), 4u);
    EXPECT_TRUE(IsProbe(goodFrames[0]));
    EXPECT_EQ(Buttons(), ConnectedButtons());
}

INSTANTIATE_TEST_SUITE_P(
    Modules, AutoBaudFailureTest,
    ::testing::Values(AutoBaudFailureCase{"Silent", {"--mode", "auto", "--silent"}, 0},
                      AutoBaudFailureCase{"WrongProbeByte", {"--mode", "auto", "--probe-answer", "5A"}, 0x5A}),
    [](const ::testing::TestParamInfo<AutoBaudFailureCase>& info) { return std::string(info.param.name); });

struct RequestFailureCase {
    const char* name;
    QStringList simArguments;
    TextId textId;
    std::size_t framesSent; // bus address, then on line
};

void PrintTo(const RequestFailureCase& c, std::ostream* out)
{
    *out << c.name;
}

class RequestFailureTest : public ConnectionTest, public ::testing::WithParamInterface<RequestFailureCase> {};

TEST_P(RequestFailureTest, ReportsTheFailureClosesThePortAndAllowsAnotherTry)
{
    Configure(OperatingMode::Uart115200, "9");
    SimProcess& sim = StartSim(GetParam().simArguments);
    ConnectTo(sim);

    ExpectFailedWith(GetParam().textId);
    const std::vector<Bytes> frames = HostFrames(sim);
    ASSERT_EQ(frames.size(), GetParam().framesSent);
    EXPECT_EQ(frames[0][ModuleFrame::ObjectCode], 0x03);
    if (frames.size() > 1) {
        EXPECT_EQ(frames[1][ModuleFrame::ObjectCode], 0x00);
    }

    // The same port again: the whole sequence runs once more and fails the same way.
    messages.clear();
    connectCaptionsAtMessage.clear();
    ConnectTo(sim);
    ExpectFailedWith(GetParam().textId);
    EXPECT_EQ(HostFrames(sim).size(), 2 * GetParam().framesSent);
}

INSTANTIATE_TEST_SUITE_P(
    Modules, RequestFailureTest,
    ::testing::Values(
        RequestFailureCase{"SilentModule", {"--mode", "115200", "--silent"}, TextId::BusAddressFailed, 1},
        RequestFailureCase{"NoBusAddressAnswer", {"--mode", "115200", "--no-answer", "busaddress"},
                           TextId::BusAddressFailed, 1},
        RequestFailureCase{"NoOnlineAnswer", {"--mode", "115200", "--no-answer", "online"}, TextId::GoOnlineFailed,
                           2},
        // An error answer, a wrong CRC or a cut answer is no answer.
        RequestFailureCase{"BusAddressErrorAnswer", {"--mode", "115200", "--error-answer", "busaddress"},
                           TextId::BusAddressFailed, 1},
        RequestFailureCase{"OnlineErrorAnswer", {"--mode", "115200", "--error-answer", "online"},
                           TextId::GoOnlineFailed, 2},
        RequestFailureCase{"BusAddressWrongCrc", {"--mode", "115200", "--bad-crc", "busaddress"},
                           TextId::BusAddressFailed, 1},
        RequestFailureCase{"OnlineCutShort", {"--mode", "115200", "--short-answer", "online", "--short-bytes", "3"},
                           TextId::GoOnlineFailed, 2}),
    [](const ::testing::TestParamInfo<RequestFailureCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace trelmo::testing

// The virtual module over its pseudo-terminal, driven by the tool's own serial port layer.

#include "Frame.h"
#include "HexText.h"
#include "ModuleModel.h"
#include "PortRegistry.h"
#include "SerialPort.h"
#include "RuntimeDir.h"
#include "SimProcess.h"
#include "WireBytes.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>

namespace trelmo {
namespace {

using testing::HostRequest;
using testing::RuntimeDir;
using testing::SimProcess;

// Reads until at least count bytes arrived or timeoutMs passed.
Bytes ReadAtLeast(SerialPort& port, std::size_t count, int timeoutMs = 3000)
{
    Bytes got;
    QElapsedTimer clock;
    clock.start();
    while (got.size() < count && clock.elapsed() < timeoutMs) {
        std::uint8_t buffer[512];
        const long read = port.Backend().Read(buffer, sizeof buffer);
        if (read < 0)
            break;
        got.insert(got.end(), buffer, buffer + read);
        if (got.size() < count)
            QThread::msleep(2);
    }
    return got;
}

bool Send(SerialPort& port, const Bytes& bytes)
{
    std::size_t written = 0;
    return port.SendBytes(bytes.data(), bytes.size(), &written) && written == bytes.size();
}

// Handshake as the host does it: probes until 0xAA comes back.
bool Handshake(SerialPort& port)
{
    for (int attempt = 0; attempt < 60; ++attempt) {
        if (!Send(port, {0x55, 0x55}))
            return false;
        const Bytes answer = ReadAtLeast(port, 1, 100);
        if (!answer.empty() && answer[0] == 0xAA)
            return true;
    }
    return false;
}

TEST(SimLineTest, AutoModeHandshakeThenServesBusAddressOnlineAndCyclicFrames)
{
    SimProcess sim;
    ASSERT_TRUE(sim.Start({"--mode", "auto"})) << sim.ErrorText().toStdString();
    SerialPort port;
    ASSERT_TRUE(port.OpenSerialPort(sim.DevicePath(), 115200));

    ASSERT_TRUE(Handshake(port));
    ASSERT_TRUE(Send(port, HostRequest(1, ServiceWrite, 0x03, 1, 1, {0x7E})));
    EXPECT_EQ(ReadAtLeast(port, 12), AssembleObjectFrame(1, Response, ServiceWrite, 0x03, 1, 1));
    ASSERT_TRUE(Send(port, HostRequest(2, ServiceWrite, 0x00, 2, 0, {0x01})));
    EXPECT_EQ(ReadAtLeast(port, 12), AssembleObjectFrame(2, Response, ServiceWrite, 0x00, 2, 0));

    ASSERT_TRUE(Send(port, AssembleFrame(3, IoData, Bytes{0x12, 0x34})));
    const Bytes io = ReadAtLeast(port, 22);
    ASSERT_EQ(io.size(), 22u);
    EXPECT_EQ(io[ModuleFrame::FrameType], IoData);
    EXPECT_EQ(ReadBigEndian16(&io[ModuleFrame::Length]), 16);
    EXPECT_EQ(io[4], 1);    // cycle counter
    EXPECT_EQ(io[5], 0x12); // the host's data echoed
    EXPECT_EQ(io[6], 0x34);

    ASSERT_TRUE(sim.WaitForLogLines(8, 3000));
    const auto lines = sim.LogLines();
    EXPECT_EQ(lines.back(), BytesToHexText(io, 0));
    EXPECT_EQ(lines[lines.size() - 2], BytesToHexText(AssembleFrame(3, IoData, Bytes{0x12, 0x34}), 1));
}

TEST(SimLineTest, RegistryLinkPointsAtTheDeviceWhileRunningAndGoesAfterSigterm)
{
    RuntimeDir runtime;
    SimProcess sim;
    ASSERT_TRUE(sim.Start({"--name", "bench1"})) << sim.ErrorText().toStdString();
    const QFileInfo link(runtime.LinkPath(QStringLiteral("bench1")));
    ASSERT_TRUE(link.isSymLink());
    EXPECT_EQ(link.symLinkTarget().toStdString(), sim.DevicePath());
    EXPECT_EQ(sim.Stop(), 0);
    EXPECT_FALSE(QFileInfo(runtime.LinkPath(QStringLiteral("bench1"))).exists());
    EXPECT_FALSE(QFileInfo(runtime.LinkPath(QStringLiteral("bench1"))).isSymLink());
}

// One running module per name: a second one refuses, and the next one after a kill -9 takes the name and replaces
// the link left behind. A private folder that cannot be used is named.
TEST(SimLineTest, ANameBelongsToOneRunningModule)
{
    RuntimeDir runtime;
    const QString link = runtime.LinkPath();
    SimProcess first, second;
    ASSERT_TRUE(first.Start()) << first.ErrorText().toStdString();
    EXPECT_FALSE(second.Start());
    EXPECT_EQ(second.Stop(), 1);
    EXPECT_TRUE(second.StandardError().contains(QStringLiteral("a virtual module named sim0 is already running")));

    ASSERT_EQ(::kill(static_cast<pid_t>(first.ProcessId()), SIGKILL), 0);
    ASSERT_TRUE(first.WaitForExit(5000));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(RegisteredVirtualModules().empty());
    ASSERT_TRUE(second.Start()) << second.ErrorText().toStdString();
    EXPECT_EQ(QFileInfo(link).symLinkTarget().toStdString(), second.DevicePath());

    ASSERT_TRUE(QFile::rename(runtime.FolderPath(), runtime.Path() + "/moved"));
    ASSERT_TRUE(QFile::link(runtime.Path() + "/moved", runtime.FolderPath()));
    EXPECT_FALSE(first.Start());
    EXPECT_TRUE(first.StandardError().contains("cannot use the private folder " + runtime.FolderPath()));
}

TEST(SimLineTest, FixedModeServesOnlyAtItsSpeedAndIgnoresProbes)
{
    SimProcess sim;
    ASSERT_TRUE(sim.Start({"--mode", "9600"})) << sim.ErrorText().toStdString();
    SerialPort port;
    const Bytes busAddress = HostRequest(1, ServiceWrite, 0x03, 1, 1, {0x05});

    ASSERT_TRUE(port.OpenSerialPort(sim.DevicePath(), 115200));
    ASSERT_TRUE(Send(port, busAddress));
    EXPECT_TRUE(ReadAtLeast(port, 1, 300).empty());
    port.CloseSerialPort();

    ASSERT_TRUE(port.OpenSerialPort(sim.DevicePath(), 9600));
    ASSERT_TRUE(Send(port, {0x55, 0x55}));
    EXPECT_TRUE(ReadAtLeast(port, 1, 300).empty());
    ASSERT_TRUE(Send(port, busAddress));
    EXPECT_EQ(ReadAtLeast(port, 12), AssembleObjectFrame(1, Response, ServiceWrite, 0x03, 1, 1));
}

// Fixed-speed module already addressed and on line, as after a connect.
void Connect(SerialPort& port, const SimProcess& sim)
{
    ASSERT_TRUE(port.OpenSerialPort(sim.DevicePath(), 115200));
    ASSERT_TRUE(Send(port, HostRequest(1, ServiceWrite, 0x03, 1, 1, {0x05})));
    ASSERT_EQ(ReadAtLeast(port, 12).size(), 12u);
    ASSERT_TRUE(Send(port, HostRequest(2, ServiceWrite, 0x00, 2, 0, {0x01})));
    ASSERT_EQ(ReadAtLeast(port, 12).size(), 12u);
}

TEST(SimLineTest, AnswersArriveWithinTheHostsFixedWait)
{
    SimProcess sim;
    ASSERT_TRUE(sim.Start({"--mode", "115200"})) << sim.ErrorText().toStdString();
    SerialPort port;
    ASSERT_TRUE(port.OpenSerialPort(sim.DevicePath(), 115200));
    ASSERT_TRUE(Send(port, HostRequest(1, ServiceWrite, 0x03, 1, 1, {0x7E})));
    std::uint8_t buffer[20] = {};
    std::size_t read = 0;
    ASSERT_TRUE(port.ReceiveBytes(buffer, sizeof buffer, &read));
    EXPECT_EQ(Bytes(buffer, buffer + read), AssembleObjectFrame(1, Response, ServiceWrite, 0x03, 1, 1));
}

TEST(SimLineTest, ModuleInformationCarriesTheIdentityOptions)
{
    SimProcess sim;
    ASSERT_TRUE(sim.Start({"--mode", "115200", "--network-type", "NetX", "--product-type", "Box", "--serial",
                           "4294967295", "--date", "2013-08-13", "--hw-version", "256.10", "--fw-version", "1.2"}))
        << sim.ErrorText().toStdString();
    SerialPort port;
    ASSERT_TRUE(port.OpenSerialPort(sim.DevicePath(), 115200));

    ASSERT_TRUE(Send(port, HostRequest(1, ServiceRead, 0x02, 1, 0)));
    const Bytes first = ReadAtLeast(port, 38);
    ASSERT_EQ(first.size(), 38u);
    EXPECT_EQ(std::string(first.begin() + 10, first.begin() + 15), std::string("NetX\0", 5));

    ASSERT_TRUE(Send(port, HostRequest(2, ServiceRead, 0x00, 1, 0)));
    const Bytes second = ReadAtLeast(port, 48);
    ASSERT_EQ(second.size(), 48u);
    EXPECT_EQ(std::string(second.begin() + 10, second.begin() + 14), std::string("Box\0", 4));
    EXPECT_EQ(Bytes(second.begin() + 30, second.begin() + 46),
              (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0x20, 0x13, 0x08, 0x13, 0x01, 0x00, 0x00, 0x0A, 0x00, 0x01, 0x00, 0x02}));
}

TEST(SimLineTest, ObjectAccessAnswersSuccessAndErrorFrames)
{
    SimProcess sim;
    ASSERT_TRUE(sim.Start({"--mode", "115200"})) << sim.ErrorText().toStdString();
    SerialPort port;
    ASSERT_TRUE(port.OpenSerialPort(sim.DevicePath(), 115200));
    const std::pair<Bytes, Bytes> exchanges[] = {
        {HostRequest(5, ServiceRead, 0x01, 1, 3), AssembleObjectFrame(5, Response, ServiceRead, 0x01, 1, 3, {0, 0x64})},
        {HostRequest(6, ServiceWrite, 0x01, 1, 3, {0x0A, 0x0B}), AssembleObjectFrame(6, Response, ServiceWrite, 1, 1, 3)},
        {HostRequest(7, ServiceRead, 0x01, 1, 3), AssembleObjectFrame(7, Response, ServiceRead, 0x01, 1, 3, {10, 11})},
        {HostRequest(8, ServiceWrite, 0x01, 2, 1, {0, 1}), AssembleObjectFrame(8, ErrorAnswer, ServiceWrite, 1, 2, 1,
                                                                              {static_cast<std::uint8_t>(ModuleError::ReadOnly)})},
        {HostRequest(9, ServiceRead, 0x42, 1, 1), AssembleObjectFrame(9, ErrorAnswer, ServiceRead, 0x42, 1, 1,
                                                                     {static_cast<std::uint8_t>(ModuleError::UnknownObject)})},
    };
    for (const auto& exchange : exchanges) {
        ASSERT_TRUE(Send(port, exchange.first));
        EXPECT_EQ(ReadAtLeast(port, exchange.second.size()), exchange.second) << BytesToHexText(exchange.first, 1);
    }
}

TEST(SimLineTest, CyclicExchangeCarriesModuleRequestsAndAnswersTheHostsReplies)
{
    SimProcess sim;
    ASSERT_TRUE(sim.Start({"--mode", "115200", "--config-at", "1", "--param-at", "2", "--config-data", "01 02 03",
                           "--param-data", "0A", "--adi-every", "3", "--adi-list", "7:8", "--read-length", "4"}))
        << sim.ErrorText().toStdString();
    SerialPort port;
    Connect(port, sim);

    ASSERT_TRUE(Send(port, AssembleFrame(3, IoData, Bytes{})));
    const Bytes config = ReadAtLeast(port, 15);
    EXPECT_EQ(config, AssembleObjectFrame(1, Request, ServiceWrite, 0xF0, 2, 1, {0x01, 0x02, 0x03}));
    ASSERT_TRUE(Send(port, AssembleObjectFrame(4, Response, ServiceWrite, 0xF0, 2, 1, {0x01, 0x02, 0x03})));
    EXPECT_EQ(ReadAtLeast(port, 12), AssembleObjectFrame(4, Response, ServiceWrite, 0xF0, 2, 1));

    ASSERT_TRUE(Send(port, AssembleFrame(5, IoData, Bytes{})));
    EXPECT_EQ(ReadAtLeast(port, 13), AssembleObjectFrame(2, Request, ServiceWrite, 0xF0, 3, 1, {0x0A}));

    ASSERT_TRUE(Send(port, AssembleFrame(6, IoData, Bytes{})));
    EXPECT_EQ(ReadAtLeast(port, 12), AssembleObjectFrame(3, Response, ServiceRead, 0xF1, 7, 8));
    ASSERT_TRUE(Send(port, HostRequest(7, ServiceWrite, 0xF1, 7, 8, {0xAB})));
    EXPECT_EQ(ReadAtLeast(port, 12), AssembleObjectFrame(7, Response, ServiceWrite, 0xF1, 7, 8));

    ASSERT_TRUE(Send(port, AssembleFrame(8, IoData, Bytes{0x11})));
    EXPECT_EQ(ReadAtLeast(port, 10), AssembleFrame(8, IoData, Bytes{0x04, 0x11, 0x06, 0x07}));
    EXPECT_TRUE(sim.WaitForLogLines(16, 3000));
}

TEST(SimLineTest, SilentAndWrongProbeAnswerScenarios)
{
    for (const char* answer : {"", "5A"}) {
        SimProcess sim;
        const QStringList arguments = *answer ? QStringList{"--probe-answer", answer} : QStringList{"--silent"};
        ASSERT_TRUE(sim.Start(arguments)) << sim.ErrorText().toStdString();
        SerialPort port;
        ASSERT_TRUE(port.OpenSerialPort(sim.DevicePath(), 115200));
        ASSERT_TRUE(Send(port, {0x55, 0x55}));
        if (*answer) {
            EXPECT_EQ(ReadAtLeast(port, 1), Bytes{0x5A});
        } else {
            EXPECT_TRUE(ReadAtLeast(port, 1, 300).empty());
        }
        ASSERT_TRUE(sim.WaitForLogLines(1, 2000));
        EXPECT_EQ(sim.LogLines()[0], "155 55 ");
    }
}

TEST(SimLineTest, LateAnswersComeAfterTheHostsWait)
{
    SimProcess sim;
    ASSERT_TRUE(sim.Start({"--mode", "115200", "--delay-ms", "250"})) << sim.ErrorText().toStdString();
    SerialPort port;
    ASSERT_TRUE(port.OpenSerialPort(sim.DevicePath(), 115200));
    ASSERT_TRUE(Send(port, HostRequest(1, ServiceRead, 0x01, 1, 1)));
    std::uint8_t buffer[20];
    std::size_t read = 0;
    ASSERT_TRUE(port.ReceiveAvailable(buffer, sizeof buffer, &read));
    EXPECT_EQ(read, 0u);
    EXPECT_EQ(ReadAtLeast(port, 13).size(), 13u);
}

TEST(SimLineTest, SplitAnswersGoOutInTwoWritesAndTwoLogLines)
{
    SimProcess sim;
    ASSERT_TRUE(sim.Start({"--mode", "115200", "--split-ms", "200", "--split-at", "20"}))
        << sim.ErrorText().toStdString();
    SerialPort port;
    ASSERT_TRUE(port.OpenSerialPort(sim.DevicePath(), 115200));
    ASSERT_TRUE(Send(port, HostRequest(1, ServiceRead, 0x02, 1, 0)));
    const Bytes first = ReadAtLeast(port, 20, 150);
    EXPECT_EQ(first.size(), 20u);
    const Bytes rest = ReadAtLeast(port, 18);
    EXPECT_EQ(rest.size(), 18u);
    ASSERT_TRUE(sim.WaitForLogLines(3, 2000));
    const auto lines = sim.LogLines();
    EXPECT_EQ(lines[1], BytesToHexText(first, 0));
    EXPECT_EQ(lines[2], BytesToHexText(rest, 0));
}

TEST(SimLineTest, HangUpAfterFramesEndsTheLineAndTheModule)
{
    RuntimeDir runtime;
    SimProcess sim;
    ASSERT_TRUE(sim.Start({"--mode", "115200", "--hangup-after", "1"})) << sim.ErrorText().toStdString();
    SerialPort port;
    ASSERT_TRUE(port.OpenSerialPort(sim.DevicePath(), 115200));
    ASSERT_TRUE(Send(port, HostRequest(1, ServiceWrite, 0x03, 1, 1, {0x05})));
    EXPECT_EQ(ReadAtLeast(port, 12).size(), 12u);

    // The module hangs up as these bytes arrive, possibly before the send has finished draining them.
    Send(port, HostRequest(2, ServiceWrite, 0x00, 2, 0, {0x01}));
    ASSERT_TRUE(sim.WaitForExit(5000));
    EXPECT_EQ(sim.Stop(), 0);
    EXPECT_FALSE(QFileInfo(runtime.LinkPath()).isSymLink());
    std::uint8_t buffer[20];
    std::size_t read = 0;
    const Bytes next = HostRequest(3, ServiceRead, 0x01, 1, 1);
    EXPECT_FALSE(port.ReceiveBytes(buffer, sizeof buffer, &read) && Send(port, next));
    EXPECT_EQ(sim.LogLines().size(), 3u);
}

TEST(SimLineTest, BadLengthScenarioDeclaresMoreThanItSends)
{
    SimProcess sim;
    ASSERT_TRUE(sim.Start({"--mode", "115200", "--bad-length", "huge"})) << sim.ErrorText().toStdString();
    SerialPort port;
    ASSERT_TRUE(port.OpenSerialPort(sim.DevicePath(), 115200));
    ASSERT_TRUE(Send(port, HostRequest(1, ServiceRead, 0x01, 1, 1)));
    const Bytes answer = ReadAtLeast(port, 13);
    ASSERT_EQ(answer.size(), 13u);
    EXPECT_EQ(ReadBigEndian16(&answer[ModuleFrame::Length]), 0xFFFF);
    EXPECT_TRUE(ReadAtLeast(port, 1, 200).empty());
}

// A late kind's answer misses the host's wait. The junk follows the second answer, a request sent into it stays
// unanswered, every junk byte is logged as written, and afterwards the module serves again.
TEST(SimLineTest, LateKindsAndFloodScenarios)
{
    SimProcess sim;
    ASSERT_TRUE(sim.Start({"--mode", "115200", "--late-kinds", "object", "--late-ms", "250", "--flood-after", "2",
                           "--flood-ms", "300"}))
        << sim.ErrorText().toStdString();
    SerialPort port;
    ASSERT_TRUE(port.OpenSerialPort(sim.DevicePath(), 115200));
    const Bytes answer = AssembleObjectFrame(1, Response, ServiceRead, 0x01, 1, 1, {0x05});
    ASSERT_TRUE(Send(port, HostRequest(1, ServiceRead, 0x01, 1, 1)));
    std::uint8_t buffer[20];
    std::size_t read = 0;
    ASSERT_TRUE(port.ReceiveAvailable(buffer, sizeof buffer, &read));
    EXPECT_EQ(read, 0u);
    EXPECT_EQ(ReadAtLeast(port, 13), answer);

    ASSERT_TRUE(Send(port, HostRequest(2, ServiceWrite, 0x03, 1, 1, {0x05})));
    Bytes stream = ReadAtLeast(port, 13);
    ASSERT_TRUE(Send(port, HostRequest(3, ServiceRead, 0x01, 1, 1)));
    for (Bytes more; !(more = ReadAtLeast(port, 1, 200)).empty();)
        stream.insert(stream.end(), more.begin(), more.end());
    EXPECT_EQ(Bytes(stream.begin(), stream.begin() + 12), AssembleObjectFrame(2, Response, ServiceWrite, 3, 1, 1));
    EXPECT_EQ(std::count(stream.begin() + 12, stream.end(), 0x5A), static_cast<long>(stream.size()) - 12);
    std::size_t logged = 0;
    for (const std::string& line : sim.LogLines())
        logged += line.rfind("05A ", 0) == 0 ? line.size() / 3 : 0;
    EXPECT_EQ(logged, stream.size() - 12);
    ASSERT_TRUE(Send(port, HostRequest(1, ServiceRead, 0x01, 1, 1)));
    EXPECT_EQ(ReadAtLeast(port, 13, 1000), answer);
}

TEST(SimLineTest, GarbageAndBadFramesAreDroppedAndServingGoesOn)
{
    SimProcess sim;
    ASSERT_TRUE(sim.Start({"--mode", "115200"})) << sim.ErrorText().toStdString();
    SerialPort port;
    ASSERT_TRUE(port.OpenSerialPort(sim.DevicePath(), 115200));
    Bytes badCrc = HostRequest(1, ServiceRead, 0x01, 1, 1);
    badCrc.back() ^= 0xFF;
    Bytes truncated = HostRequest(2, ServiceRead, 0x01, 1, 1);
    truncated.resize(7);
    const Bytes beyond = {0x03, 0x01, 0x01, 0x00, 0xEE, 0xEE, 0xEE};
    Bytes noise(1000);
    for (std::size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<std::uint8_t>(i * 37 + 11);
    for (const Bytes& bad : {badCrc, truncated, beyond, noise}) {
        ASSERT_TRUE(Send(port, bad));
        EXPECT_TRUE(ReadAtLeast(port, 1, 150).empty()) << BytesToHexText(bad, 1).substr(0, 40);
        ASSERT_TRUE(Send(port, HostRequest(9, ServiceRead, 0x01, 1, 1)));
        EXPECT_EQ(ReadAtLeast(port, 13), AssembleObjectFrame(9, Response, ServiceRead, 0x01, 1, 1, {0x05}));
    }
    EXPECT_TRUE(sim.IsRunning());
    EXPECT_TRUE(sim.StandardError().contains(QStringLiteral("CRC")));
}

TEST(SimLineTest, SigintAlsoEndsTheModuleAndRemovesItsLink)
{
    RuntimeDir runtime;
    SimProcess sim;
    ASSERT_TRUE(sim.Start()) << sim.ErrorText().toStdString();
    ASSERT_TRUE(QFileInfo(runtime.LinkPath()).isSymLink());
    ASSERT_EQ(::kill(static_cast<pid_t>(sim.ProcessId()), SIGINT), 0);
    ASSERT_TRUE(sim.WaitForExit(5000));
    EXPECT_EQ(sim.Stop(), 0);
    EXPECT_FALSE(QFileInfo(runtime.LinkPath()).isSymLink());
}

TEST(SimLineTest, HelpListsTheOptionsAndBadOptionsEndWithAMessage)
{
    QProcess help;
    help.start(SimProcess::Executable(), {QStringLiteral("--help")});
    ASSERT_TRUE(help.waitForFinished(10000));
    EXPECT_EQ(help.exitCode(), 0);
    const QString text = QString::fromUtf8(help.readAllStandardOutput());
    for (const char* option : {"--mode", "--name", "--log", "--read-length", "--serial", "--date", "--adi-every",
                               "--silent", "--no-answer", "--probe-answer", "--delay-ms", "--split-ms",
                               "--hangup-after", "--bad-length", "--info1-length"})
        EXPECT_TRUE(text.contains(QLatin1String(option))) << option;

    QProcess bad;
    bad.start(SimProcess::Executable(), {QStringLiteral("--mode"), QStringLiteral("300")});
    ASSERT_TRUE(bad.waitForFinished(10000));
    EXPECT_EQ(bad.exitCode(), 2);
    EXPECT_TRUE(bad.readAllStandardOutput().isEmpty());
    EXPECT_TRUE(bad.readAllStandardError().contains("--mode"));
}

} // namespace
} // namespace trelmo

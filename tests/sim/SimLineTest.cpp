// The virtual module over its pseudo-terminal, driven by the tool's own serial port layer.

#include "Frame.h"
#include "ModuleModel.h"
#include "SerialPort.h"
#include "SimProcess.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

#include <gtest/gtest.h>

namespace trelmo {
namespace {

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

Bytes HostRequest(std::uint8_t sequence, std::uint8_t service, std::uint8_t object, std::uint16_t instance,
              std::uint16_t attribute, const Bytes& data = {})
{
    return AssembleObjectFrame(sequence, Request, service, object, instance, attribute, data);
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
    SimRuntimeDir runtime;
    SimProcess sim;
    ASSERT_TRUE(sim.Start({"--name", "bench1"})) << sim.ErrorText().toStdString();
    const QFileInfo link(runtime.LinkPath(QStringLiteral("bench1")));
    ASSERT_TRUE(link.isSymLink());
    EXPECT_EQ(link.symLinkTarget().toStdString(), sim.DevicePath());
    EXPECT_EQ(sim.Stop(), 0);
    EXPECT_FALSE(QFileInfo(runtime.LinkPath(QStringLiteral("bench1"))).exists());
    EXPECT_FALSE(QFileInfo(runtime.LinkPath(QStringLiteral("bench1"))).isSymLink());
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

} // namespace
} // namespace trelmo

// The serial port over real pseudo-terminals, with the real fixed waits.

#include "PseudoTerminal.h"
#include "SerialPort.h"

#include <QCoreApplication>
#include <QDir>
#include <QSerialPort>
#include <QTimer>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <functional>
#include <numeric>
#include <thread>

using namespace trelmo;
using trelmo::testing::PseudoTerminal;

namespace {

constexpr int Baud = 115200;
constexpr std::size_t Untouched = 777;

Bytes Sequence(std::size_t count, std::uint8_t first = 0)
{
    Bytes bytes(count);
    std::iota(bytes.begin(), bytes.end(), first);
    return bytes;
}

bool Send(SerialPort& port, const Bytes& bytes, std::size_t* written = nullptr)
{
    return port.SendBytes(bytes.data(), bytes.size(), written);
}

using Receive = bool (SerialPort::*)(std::uint8_t*, std::size_t, std::size_t*);

struct ReceiveCase {
    const char* name;
    Receive receive;
    int waitMs;
    bool acceptsNothing;
};

const ReceiveCase kReceives[] = {
    {"ReceiveBytes", &SerialPort::ReceiveBytes, 50, false},
    {"ReceiveAvailable", &SerialPort::ReceiveAvailable, 50, true},
    {"ReceiveBytesSlow", &SerialPort::ReceiveBytesSlow, 300, false},
};

class SerialPortTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(module_.IsValid()); }

    void Open() { ASSERT_TRUE(port_.OpenSerialPort(module_.SlavePath(), Baud)); }

    // The module holds our output with XOFF (software flow control switched on behind the port's back).
    void HoldOutput()
    {
        termios settings = module_.SlaveSettings();
        settings.c_iflag |= IXON;
        module_.SetSlaveSettings(settings);
        ASSERT_TRUE(module_.SendFlowControl(0x13));
    }

    // Receives with the given capacity; the bytes taken (none on failure), success in *ok.
    Bytes Take(Receive receive, std::size_t capacity, bool* ok)
    {
        Bytes buffer(capacity + 8, 0xEE);
        std::size_t read = Untouched;
        *ok = (port_.*receive)(buffer.data(), capacity, &read);
        if (!*ok) {
            EXPECT_EQ(read, Untouched) << "the count is written only on success";
            return {};
        }
        EXPECT_LE(read, capacity);
        for (std::size_t i = capacity; i < buffer.size(); ++i)
            EXPECT_EQ(buffer[i], 0xEE) << "written past the capacity at " << i;
        buffer.resize(read);
        return buffer;
    }

    PseudoTerminal module_;
    SerialPort port_;
};

TEST_F(SerialPortTest, OpensTheDeviceRawEightNoneOneAtTheChosenBaudRate)
{
    const std::pair<int, speed_t> rates[] = {{9600, B9600}, {19200, B19200}, {38400, B38400}, {57600, B57600},
                                             {115200, B115200}};
    for (const auto& [baud, speed] : rates) {
        ASSERT_TRUE(port_.OpenSerialPort(module_.SlavePath(), baud)) << baud;
        const termios settings = module_.SlaveSettings();
        EXPECT_EQ(cfgetispeed(&settings), speed) << baud;
        EXPECT_EQ(cfgetospeed(&settings), speed) << baud;
        EXPECT_EQ(settings.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
        EXPECT_FALSE(settings.c_cflag & (PARENB | CSTOPB));
        EXPECT_TRUE(settings.c_cflag & CREAD);
        EXPECT_FALSE(settings.c_lflag & (ICANON | ECHO | ISIG | IEXTEN));
        EXPECT_FALSE(settings.c_oflag & OPOST);
        EXPECT_FALSE(settings.c_iflag & (ICRNL | INLCR | IGNCR | ISTRIP | IXON | IXOFF | INPCK));
        port_.CloseSerialPort();
    }
}

TEST_F(SerialPortTest, KeepsTheDevicesHardwareFlowControlAndDropsSoftwareFlowControl)
{
    for (const bool hardware : {true, false}) {
        termios before = module_.SlaveSettings();
        before.c_iflag |= IXON | IXOFF;
        before.c_cflag = hardware ? (before.c_cflag | CRTSCTS) : (before.c_cflag & ~CRTSCTS);
        module_.SetSlaveSettings(before);
        Open();
        const termios after = module_.SlaveSettings();
        EXPECT_EQ((after.c_cflag & CRTSCTS) != 0, hardware);
        EXPECT_FALSE(after.c_iflag & (IXON | IXOFF));
        port_.CloseSerialPort();
    }
}

TEST_F(SerialPortTest, EveryByteValuePassesUnchangedBothWays)
{
    Open();
    const Bytes all = Sequence(256);
    std::size_t written = 0;
    ASSERT_TRUE(Send(port_, all, &written));
    EXPECT_EQ(written, all.size());
    EXPECT_EQ(module_.Received(all.size()), all);

    ASSERT_TRUE(module_.Send(all));
    bool ok = false;
    EXPECT_EQ(Take(&SerialPort::ReceiveAvailable, 300, &ok), all);
    EXPECT_TRUE(ok);
}

TEST_F(SerialPortTest, OpeningDiscardsWhatArrivedBefore)
{
    termios raw = module_.SlaveSettings();
    cfmakeraw(&raw);
    module_.SetSlaveSettings(raw);
    ASSERT_TRUE(module_.Send(Sequence(12)));
    Open();
    bool ok = false;
    EXPECT_EQ(Take(&SerialPort::ReceiveAvailable, 20, &ok), Bytes());
    EXPECT_TRUE(ok);
}

TEST_F(SerialPortTest, NamesThatDoNotOpenSayWhyHoldNoPortAndSendsFail)
{
    const std::pair<std::string, PortOpenError> cases[] = {
        {"/dev/pts/999999", PortOpenError::NoSuchDevice}, {"/nonexistent/ttyS0", PortOpenError::NoSuchDevice},
        {"ttyTrelmoMissing", PortOpenError::NoSuchDevice}, {"", PortOpenError::Other},
        {"/dev/null", PortOpenError::NotSerialDevice}, {"/tmp", PortOpenError::NotSerialDevice},
    };
    for (const auto& [name, reason] : cases) {
        EXPECT_FALSE(port_.OpenSerialPort(name, Baud)) << name;
        EXPECT_EQ(port_.LastOpenError(), reason) << name;
        EXPECT_FALSE(port_.IsOpen()) << name;
        std::size_t written = Untouched;
        EXPECT_FALSE(Send(port_, {0x01}, &written)) << name;
        EXPECT_EQ(written, Untouched);
    }
}

TEST_F(SerialPortTest, ARelativeNameWithASlashIsThePathAsTyped)
{
    const QString folderBefore = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QStringLiteral("/")));
    const std::string fromRoot = module_.SlavePath().substr(1); // "dev/pts/N"
    const std::string underDev = module_.SlavePath().substr(5); // "pts/N": no such path from "/"
    const bool underDevOpened = port_.OpenSerialPort(underDev, Baud);
    const PortOpenError underDevReason = port_.LastOpenError();
    const bool fromRootOpened = port_.OpenSerialPort(fromRoot, Baud);
    QDir::setCurrent(folderBefore);
    EXPECT_FALSE(underDevOpened) << "not quietly taken as /dev/" << underDev;
    EXPECT_EQ(underDevReason, PortOpenError::NoSuchDevice);
    EXPECT_TRUE(fromRootOpened);
}

// The tests run as root, whom file permissions do not stop; so the permission case is checked on the errno alone.
TEST(PortOpenErrorTest, TheDevicesErrnoNamesTheReason)
{
    const std::pair<int, PortOpenError> cases[] = {
        {EACCES, PortOpenError::NoPermission}, {EPERM, PortOpenError::NoPermission},
        {EBUSY, PortOpenError::InUse},         {ENOENT, PortOpenError::NoSuchDevice},
        {ENODEV, PortOpenError::NoSuchDevice}, {ENXIO, PortOpenError::NoSuchDevice},
        {EIO, PortOpenError::Other},           {EISDIR, PortOpenError::NotSerialDevice},
    };
    for (const auto& [errorNumber, reason] : cases)
        EXPECT_EQ(PortOpenErrorFromErrno(errorNumber), reason) << errorNumber;
}

TEST_F(SerialPortTest, OpenIsExclusive)
{
    Open();
    EXPECT_EQ(port_.LastOpenError(), PortOpenError::None);
    SerialPort second;
    EXPECT_FALSE(second.OpenSerialPort(module_.SlavePath(), Baud));
    EXPECT_EQ(second.LastOpenError(), PortOpenError::InUse);
    EXPECT_FALSE(second.IsOpen());
    QSerialPort other(QString::fromStdString(module_.SlavePath()));
    EXPECT_FALSE(other.open(QIODevice::ReadWrite));

    // The refused opens leave the first one working, and the port is free again once it is closed.
    ASSERT_TRUE(module_.Send({0x42}));
    bool ok = false;
    EXPECT_EQ(Take(&SerialPort::ReceiveBytes, 20, &ok), Bytes({0x42}));
    port_.CloseSerialPort();
    EXPECT_FALSE(port_.IsOpen());
    EXPECT_TRUE(second.OpenSerialPort(module_.SlavePath(), Baud));
}

TEST_F(SerialPortTest, ReopeningTheSamePortReplacesTheHeldOne)
{
    Open();
    Open();
    EXPECT_TRUE(port_.IsOpen());
    ASSERT_TRUE(Send(port_, {0x07}));
    EXPECT_EQ(module_.Received(1), Bytes({0x07}));
}

TEST_F(SerialPortTest, NothingQueued)
{
    Open();
    for (const ReceiveCase& c : kReceives) {
        bool ok = true;
        EXPECT_EQ(Take(c.receive, 20, &ok), Bytes()) << c.name;
        EXPECT_EQ(ok, c.acceptsNothing) << c.name;
    }
}

TEST_F(SerialPortTest, ALongAnswerIsTakenUpToTheCapacityAndTheRestByTheNextReceive)
{
    Open();
    for (const ReceiveCase& c : kReceives) {
        const Bytes answer = Sequence(30, 0x80);
        ASSERT_TRUE(module_.Send(answer));
        bool ok = false;
        EXPECT_EQ(Take(c.receive, 20, &ok), Bytes(answer.begin(), answer.begin() + 20)) << c.name;
        EXPECT_TRUE(ok) << c.name;
        EXPECT_EQ(Take(&SerialPort::ReceiveBytes, 20, &ok), Bytes(answer.begin() + 20, answer.end())) << c.name;
        EXPECT_TRUE(ok) << c.name;
        EXPECT_EQ(Take(&SerialPort::ReceiveBytes, 20, &ok), Bytes()) << c.name;
        EXPECT_FALSE(ok) << c.name;
    }
}

TEST_F(SerialPortTest, BytesArrivingLateAreKeptForTheNextReceive)
{
    Open();
    ASSERT_TRUE(module_.Send({0x01, 0x02}));
    bool ok = false;
    EXPECT_EQ(Take(&SerialPort::ReceiveBytes, 254, &ok), Bytes({0x01, 0x02}));
    ASSERT_TRUE(module_.Send({0x03}));
    ASSERT_TRUE(Send(port_, {0x10}));
    EXPECT_EQ(Take(&SerialPort::ReceiveBytes, 254, &ok), Bytes({0x03}));
}

TEST_F(SerialPortTest, AnEmptySendFailsAndClosesThePortForEveryLaterExchange)
{
    Open();
    std::size_t written = Untouched;
    EXPECT_FALSE(port_.SendBytes(nullptr, 0, &written));
    EXPECT_EQ(written, Untouched);
    EXPECT_FALSE(port_.IsOpen());

    std::vector<int> waits;
    port_.SetWaitFunction([&](int ms) { waits.push_back(ms); });
    bool ok = true;
    EXPECT_EQ(Take(&SerialPort::ReceiveBytes, 20, &ok), Bytes());
    EXPECT_FALSE(ok);
    port_.SetWaitFunction({});
    EXPECT_EQ(waits, std::vector<int>({50})) << "a receive without a port still sleeps its wait";
    EXPECT_FALSE(Send(port_, {0x01, 0x02}));
    EXPECT_TRUE(module_.Silent(200)) << "a send without a port must not reach the device";
}

TEST_F(SerialPortTest, TheWaitsGoThroughThePortsWaitFunctionWithOrWithoutAPort)
{
    for (const bool open : {true, false}) {
        if (open) {
            Open();
        } else {
            port_.CloseSerialPort();
        }
        for (const ReceiveCase& c : kReceives) {
            if (open) {
                ASSERT_TRUE(module_.Send({0x33}));
            }
            std::vector<int> waits;
            port_.SetWaitFunction([&](int ms) { waits.push_back(ms); });
            bool ok = !open;
            const Bytes got = Take(c.receive, 20, &ok);
            EXPECT_EQ(ok, open) << c.name;
            EXPECT_EQ(got, open ? Bytes({0x33}) : Bytes()) << c.name;
            EXPECT_EQ(waits, std::vector<int>({c.waitMs})) << c.name;
            port_.SetWaitFunction({});
        }
    }
}

TEST_F(SerialPortTest, AWriteThatCannotGoOutFailsAndClosesThePort)
{
    Open();
    HoldOutput();
    std::size_t written = Untouched;
    EXPECT_FALSE(Send(port_, Sequence(4), &written));
    EXPECT_EQ(written, Untouched);
    EXPECT_FALSE(port_.IsOpen());
    module_.Write({0x11}); // XON
    EXPECT_TRUE(module_.Silent(200)) << "nothing of a failed write goes out later";
}

TEST_F(SerialPortTest, AWriteHeldBrieflyCompletesWithinItsBound)
{
    Open();
    HoldOutput();
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        module_.Write({0x11}); // XON
    });
    const Bytes frame = Sequence(10, 0x20);
    std::size_t written = 0;
    EXPECT_TRUE(Send(port_, frame, &written));
    release.join();
    EXPECT_EQ(written, frame.size());
    EXPECT_EQ(module_.Received(frame.size()), frame);
}

TEST(SerialPortHangUpTest, AHungUpDeviceIsGivenUpByTheFirstReceiveOrSend)
{
    for (const ReceiveCase& c : kReceives) {
        PseudoTerminal module;
        SerialPort port;
        ASSERT_TRUE(port.OpenSerialPort(module.SlavePath(), Baud));
        ASSERT_TRUE(module.Send({0x01, 0x02}));
        module.HangUp();
        std::uint8_t buffer[20];
        std::size_t read = 0;
        EXPECT_FALSE((port.*c.receive)(buffer, sizeof buffer, &read)) << c.name << " on a hung-up device";
        EXPECT_FALSE(port.IsOpen()) << c.name << ": the device is gone, so the port is closed";
    }
    PseudoTerminal module;
    SerialPort port;
    ASSERT_TRUE(port.OpenSerialPort(module.SlavePath(), Baud));
    module.HangUp();
    EXPECT_FALSE(Send(port, {0x01}));
    EXPECT_FALSE(port.IsOpen());
}

TEST_F(SerialPortTest, NoEventIsProcessedWhileAnExchangeWaits)
{
    Open();
    bool timerRan = false;
    QTimer::singleShot(0, [&] { timerRan = true; });
    ASSERT_TRUE(Send(port_, {0x01}));
    for (const ReceiveCase& c : kReceives) {
        ASSERT_TRUE(module_.Send({0x02}));
        bool ok = false;
        Take(c.receive, 20, &ok);
        EXPECT_TRUE(ok) << c.name;
    }
    EXPECT_FALSE(timerRan);
    QCoreApplication::processEvents();
    EXPECT_TRUE(timerRan);
}

// Counts the socket notifications the event loop delivers: a notifier that fires without pause shows up here.
class SocketActivations : public QObject {
public:
    SocketActivations() { QCoreApplication::instance()->installEventFilter(this); }
    ~SocketActivations() override { QCoreApplication::instance()->removeEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::SockAct)
            ++count;
        return false;
    }
};

void ProcessEventRounds(int rounds)
{
    for (int i = 0; i < rounds; ++i)
        QCoreApplication::processEvents();
}

TEST_F(SerialPortTest, AHungUpPortDoesNotKeepTheEventLoopBusy)
{
    Open();
    SocketActivations activations;
    module_.HangUp();
    // A hung-up read returns 0 and leaves errno alone; QSerialPort keeps polling unless errno says EAGAIN or EIO.
    errno = 0;
    ProcessEventRounds(5);
    EXPECT_GT(activations.count, 0) << "the event loop saw the hang-up";
    activations.count = 0;
    ProcessEventRounds(50);
    EXPECT_EQ(activations.count, 0) << "the hung-up device is no longer watched";
    bool ok = true;
    Take(&SerialPort::ReceiveAvailable, 20, &ok);
    EXPECT_FALSE(ok);
    EXPECT_FALSE(Send(port_, {0x01}));
    EXPECT_FALSE(port_.IsOpen());
}

} // namespace

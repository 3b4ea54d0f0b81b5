#include "SerialBackend.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QSerialPort>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <memory>

namespace trelmo {
namespace {

constexpr qint64 ReadBufferLimit = 4096;
constexpr useconds_t DrainPollMicroseconds = 1000;

qint64 WriteBoundMs(std::size_t count)
{
    return 200 * static_cast<qint64>(count) + 200;
}

int RemainingMs(const QDeadlineTimer& deadline)
{
    return static_cast<int>(std::clamp<qint64>(deadline.remainingTime(), 0, INT_MAX));
}

// QSerialPort reports a vanished device (hang-up, unplugging) as any of these, depending on the call that met it.
bool IsDeviceLost(QSerialPort::SerialPortError error)
{
    return error == QSerialPort::ReadError || error == QSerialPort::WriteError
        || error == QSerialPort::ResourceError;
}

// A name without a slash is a device in /dev; a name with one is a path as typed, relative ones from the current
// folder. QSerialPort itself would put "pts/3" under /dev, so it is handed the absolute path: the device that is
// checked is then the device that is opened.
QString DevicePath(const QString& portName)
{
    if (!portName.contains(QLatin1Char('/')))
        return QStringLiteral("/dev/") + portName;
    return QFileInfo(portName).absoluteFilePath();
}

// QSerialPort writes its own flow-control setting at open. To keep the device's hardware flow control as the
// driver has it, a second descriptor reads the setting first and stays open until QSerialPort holds the device,
// so that no last close drops the modem lines in between.
class HardwareFlowControlProbe {
public:
    explicit HardwareFlowControlProbe(const QString& path)
        : descriptor_(::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)),
          openErrno_(descriptor_ >= 0 ? 0 : errno)
    {
    }
    ~HardwareFlowControlProbe()
    {
        if (descriptor_ >= 0)
            ::close(descriptor_);
    }
    HardwareFlowControlProbe(const HardwareFlowControlProbe&) = delete;
    HardwareFlowControlProbe& operator=(const HardwareFlowControlProbe&) = delete;

    bool Enabled() const
    {
        termios settings {};
        return descriptor_ >= 0 && ::tcgetattr(descriptor_, &settings) == 0 && (settings.c_cflag & CRTSCTS) != 0;
    }

    bool Opened() const { return descriptor_ >= 0; }
    // A regular file, a FIFO or /dev/null opens as well, but only a terminal is a serial device.
    bool IsTerminal() const { return descriptor_ >= 0 && ::isatty(descriptor_) == 1; }
    // errno of the failed open(2); 0 when the device opened.
    int OpenErrno() const { return openErrno_; }

private:
    int descriptor_;
    int openErrno_;
};

// QSerialPort failed although the device itself opened: it reports its lock file, or a device held exclusively
// (TIOCEXCL, EBUSY), as a permission error; that means another program holds the port.
PortOpenError ReasonAfterDeviceOpened(QSerialPort::SerialPortError error)
{
    switch (error) {
    case QSerialPort::PermissionError:
        return PortOpenError::InUse;
    case QSerialPort::DeviceNotFoundError:
        return PortOpenError::NoSuchDevice;
    default:
        return PortOpenError::Other;
    }
}

// QSerialPort opened raw (no echo, no line editing, no output processing, no software flow control), exclusively
// (TIOCEXCL, and its lock file, which alone holds for root). All waits are poll()s: no event loop runs.
class QtSerialBackend final : public SerialBackend {
public:
    bool Open(const std::string& name, int baudRate) override
    {
        Close();
        // The QSerialPort belongs to the thread that first opens a port: its notifiers and the lost-device
        // hand-over below run on that thread's event loop.
        if (!serialPort_) {
            serialPort_ = std::make_unique<QSerialPort>();
            QObject::connect(serialPort_.get(), &QSerialPort::errorOccurred, serialPort_.get(),
                             [this](QSerialPort::SerialPortError error) { OnError(error); });
        }
        QSerialPort& port = *serialPort_;
        lastOpenError_ = PortOpenError::Other;
        if (baudRate <= 0 || name.empty())
            return false;
        const QString path = DevicePath(QString::fromStdString(name));
        const HardwareFlowControlProbe probe(path);
        if (probe.Opened() && !probe.IsTerminal()) {
            lastOpenError_ = PortOpenError::NotSerialDevice;
            return false;
        }
        port.setPortName(path);
        port.setBaudRate(baudRate); // QSerialPort's defaults are the rest of the line: 8 bits, no parity, 1 stop
        port.setFlowControl(probe.Enabled() ? QSerialPort::HardwareControl : QSerialPort::NoFlowControl);
        if (!port.open(QIODevice::ReadWrite)) {
            lastOpenError_ = probe.Opened() ? ReasonAfterDeviceOpened(port.error())
                                            : PortOpenErrorFromErrno(probe.OpenErrno());
            port.clearError();
            return false;
        }
        lastOpenError_ = PortOpenError::None;
        // A babbling module must not fill memory: past this the driver's own queue holds what comes, then drops it.
        port.setReadBufferSize(ReadBufferLimit);
        // QSerialPort keeps what the driver received before the open; discard both directions.
        port.clear(QSerialPort::AllDirections);
        port.clearError();
        return true;
    }

    void Close() override
    {
        lost_ = false;
        if (!serialPort_)
            return;
        if (serialPort_->isOpen())
            serialPort_->close();
        serialPort_->clearError();
    }

    // A lost device still counts as held until it is closed, as a dead handle would.
    bool IsOpen() const override { return lost_ || (serialPort_ && serialPort_->isOpen()); }

    PortOpenError LastOpenError() const override { return lastOpenError_; }

    long Write(const std::uint8_t* bytes, std::size_t count) override
    {
        if (!serialPort_)
            return -1;
        QSerialPort& port = *serialPort_;
        if (lost_ || !port.isOpen() || count == 0)
            return -1;
        port.clearError();
        const QDeadlineTimer deadline(WriteBoundMs(count));
        writeDeadline_ = deadline;
        if (port.write(reinterpret_cast<const char*>(bytes), static_cast<qint64>(count))
            != static_cast<qint64>(count)) {
            port.clear(QSerialPort::Output);
            port.clearError();
            return -1;
        }
        // Each successful wait is one write to the driver; stop at the bound, a failure or a lost device.
        while (port.bytesToWrite() > 0 && !lost_ && port.waitForBytesWritten(RemainingMs(deadline))) {
        }
        const qint64 unsent = port.bytesToWrite();
        if (unsent > 0 && !lost_) // the bound has passed: the rest must not go out later
            port.clear(QSerialPort::Output);
        port.clearError();
        const qint64 written = static_cast<qint64>(count) - unsent;
        return written > 0 ? static_cast<long>(written) : -1;
    }

    bool Drain() override
    {
        if (!serialPort_)
            return false;
        QSerialPort& port = *serialPort_;
        if (lost_ || !port.isOpen())
            return false;
        // tcdrain alone would wait without bound while the line is held up by flow control; the output queue is
        // watched until the write's bound instead, and tcdrain then only waits for the last character.
        const int descriptor = static_cast<int>(port.handle());
        int queued = 0;
        while (::ioctl(descriptor, TIOCOUTQ, &queued) == 0 && queued > 0 && !writeDeadline_.hasExpired())
            ::usleep(DrainPollMicroseconds);
        if (queued > 0) {
            ::tcflush(descriptor, TCOFLUSH); // the bound has passed: the rest must not go out later
            return true;
        }
        return ::tcdrain(descriptor) == 0 || errno == EINTR;
    }

    long Read(std::uint8_t* buffer, std::size_t capacity) override
    {
        if (!serialPort_)
            return -1;
        QSerialPort& port = *serialPort_;
        if (lost_ || !port.isOpen())
            return -1;
        port.clearError();
        // Moves what the driver holds into the port's buffer without waiting. Finding nothing leaves
        // TimeoutError set; a hung-up device reports ReadError or ResourceError (see OnError).
        port.waitForReadyRead(0);
        port.clearError();
        if (lost_)
            return -1;
        const qint64 got = port.read(reinterpret_cast<char*>(buffer),
                                      static_cast<qint64>(std::min<std::size_t>(capacity, LONG_MAX)));
        return got < 0 ? -1 : static_cast<long>(got);
    }

    bool WaitForMoreBytes(int milliseconds) override
    {
        if (!serialPort_)
            return false;
        QSerialPort& port = *serialPort_;
        if (lost_ || !port.isOpen())
            return false;
        // Returns when the driver hands over new bytes, or false at the time limit or when the device is gone.
        const bool arrived = port.waitForReadyRead(milliseconds);
        port.clearError();
        return arrived && !lost_;
    }

    Bytes PeekBytes(std::size_t limit) override
    {
        if (!serialPort_)
            return {};
        QSerialPort& port = *serialPort_;
        if (lost_ || !port.isOpen())
            return {};
        port.waitForReadyRead(0); // moves what the driver holds into the port's buffer, without waiting
        port.clearError();
        const QByteArray peeked = port.peek(static_cast<qint64>(std::min<std::size_t>(limit, ReadBufferLimit)));
        return Bytes(peeked.begin(), peeked.end());
    }

private:
    void OnError(QSerialPort::SerialPortError error)
    {
        QSerialPort& port = *serialPort_;
        if (!IsDeviceLost(error) || lost_ || !port.isOpen())
            return;
        lost_ = true;
        // A hung-up descriptor stays readable, and QSerialPort's read notifier would fire without pause in the
        // event loop. Release it from the event loop, not from inside the notifier that may be reporting this.
        QMetaObject::invokeMethod(
            &port,
            [this] {
                if (lost_ && serialPort_->isOpen())
                    serialPort_->close();
            },
            Qt::QueuedConnection);
    }

    std::unique_ptr<QSerialPort> serialPort_; // made by the first Open
    bool lost_ = false;
    PortOpenError lastOpenError_ = PortOpenError::None;
    QDeadlineTimer writeDeadline_;
};

} // namespace

PortOpenError PortOpenErrorFromErrno(int errorNumber)
{
    switch (errorNumber) {
    case 0:
        return PortOpenError::None;
    case EACCES:
    case EPERM:
        return PortOpenError::NoPermission;
    case EBUSY:
        return PortOpenError::InUse;
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return PortOpenError::NoSuchDevice;
    case EISDIR:
    case ENOTTY:
        return PortOpenError::NotSerialDevice;
    default:
        return PortOpenError::Other;
    }
}

std::unique_ptr<SerialBackend> MakeQtSerialBackend()
{
    return std::make_unique<QtSerialBackend>();
}

} // namespace trelmo

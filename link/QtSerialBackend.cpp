#include "SerialBackend.h"

#include <QSerialPort>

namespace trelmo {
namespace {

class QtSerialBackend final : public SerialBackend {
public:
    bool Open(const std::string& name, int baudRate) override
    {
        Close();
        port_.setPortName(QString::fromStdString(name));
        if (!port_.open(QIODevice::ReadWrite))
            return false;
        const bool configured = port_.setBaudRate(baudRate) && port_.setDataBits(QSerialPort::Data8)
            && port_.setParity(QSerialPort::NoParity) && port_.setStopBits(QSerialPort::OneStop);
        if (!configured) {
            port_.close();
            return false;
        }
        port_.clear(QSerialPort::AllDirections);
        port_.clearError();
        return true;
    }

    void Close() override
    {
        if (port_.isOpen())
            port_.close();
        port_.clearError();
    }

    bool IsOpen() const override { return port_.isOpen(); }

    long Write(const std::uint8_t* bytes, std::size_t count) override
    {
        if (!port_.isOpen() || count == 0)
            return -1;
        port_.clearError();
        const qint64 written = port_.write(reinterpret_cast<const char*>(bytes), static_cast<qint64>(count));
        if (written <= 0)
            return -1;
        const int bound = 200 * static_cast<int>(count) + 200;
        if (!port_.waitForBytesWritten(bound) && port_.bytesToWrite() == static_cast<qint64>(count))
            return -1;
        return static_cast<long>(written - port_.bytesToWrite());
    }

    long Read(std::uint8_t* buffer, std::size_t capacity) override
    {
        if (!port_.isOpen())
            return -1;
        port_.clearError();
        // Pull what the driver holds into the port's buffer without waiting.
        port_.waitForReadyRead(0);
        const QSerialPort::SerialPortError error = port_.error();
        port_.clearError();
        if (error == QSerialPort::ResourceError || error == QSerialPort::ReadError)
            return -1;
        const qint64 got = port_.read(reinterpret_cast<char*>(buffer), static_cast<qint64>(capacity));
        return got < 0 ? -1 : static_cast<long>(got);
    }

private:
    QSerialPort port_;
};

} // namespace

std::unique_ptr<SerialBackend> MakeQtSerialBackend()
{
    return std::make_unique<QtSerialBackend>();
}

} // namespace trelmo

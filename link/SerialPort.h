#pragma once
// The single open port to the module and its fixed-wait operations. All calls come from the UI thread.

#include "Frame.h"
#include "SerialBackend.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace trelmo {

class SerialPort {
public:
    explicit SerialPort(std::unique_ptr<SerialBackend> backend = MakeQtSerialBackend());
    ~SerialPort();

    // Opens and configures the named port; on failure no port is held.
    bool OpenSerialPort(const std::string& portName, int baudRate);
    // Closes the port if one is held.
    void CloseSerialPort();
    bool IsOpen() const;
    // Why the last OpenSerialPort failed.
    PortOpenError LastOpenError() const;

    // Writes, then drains: returns when the bytes have left the port. Success when at least one byte was written;
    // otherwise the port is closed. *written is set on success.
    bool SendBytes(const std::uint8_t* bytes, std::size_t count, std::size_t* written = nullptr);
    // Waits 50 ms, then takes up to capacity buffered bytes; fails when none. *read is set only on success.
    bool ReceiveBytes(std::uint8_t* buffer, std::size_t capacity, std::size_t* read);
    // Waits 50 ms, then takes up to capacity buffered bytes; succeeds with 0 bytes too.
    bool ReceiveAvailable(std::uint8_t* buffer, std::size_t capacity, std::size_t* read);
    // Waits 300 ms, otherwise as ReceiveBytes.
    bool ReceiveBytesSlow(std::uint8_t* buffer, std::size_t capacity, std::size_t* read);
    // Takes, without waiting, the bytes already buffered, at most limit of them.
    Bytes TakeWaitingBytes(std::size_t limit);

    SerialBackend& Backend() { return *backend_; }

private:
    // A failed read call means the device is gone: the port is closed as after a failed send.
    long ReadOrClose(std::uint8_t* buffer, std::size_t capacity);
    bool Receive(int waitMilliseconds, bool acceptEmpty, std::uint8_t* buffer, std::size_t capacity,
                 std::size_t* read);

    std::unique_ptr<SerialBackend> backend_;
};

} // namespace trelmo

#pragma once
// The transport under SerialPort: a real UART through QtSerialPort, or a scripted fake in tests.

#include "Frame.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace trelmo {

// Why a port could not be opened, as far as the system tells.
enum class PortOpenError { None, NoPermission, InUse, NoSuchDevice, NotSerialDevice, Other };

// The reason behind an errno of the device's open(2).
PortOpenError PortOpenErrorFromErrno(int errorNumber);

class SerialBackend {
public:
    virtual ~SerialBackend() = default;
    // Opens the device exactly as named, exclusively, raw 8N1 at the baud rate, and purges both queues.
    virtual bool Open(const std::string& name, int baudRate) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // Why the last Open failed; None after one that succeeded.
    virtual PortOpenError LastOpenError() const { return PortOpenError::Other; }
    // One write bounded by 200 ms per byte + 200 ms. Returns the bytes written, or -1 on failure.
    virtual long Write(const std::uint8_t* bytes, std::size_t count) = 0;
    // Returns once the bytes written have left the port (tcdrain), so that a wait for the answer starts when the
    // request is on the line; bytes still unsent at the write's bound are dropped. False when the device is gone.
    virtual bool Drain() = 0;
    // Takes at most capacity bytes that are already buffered, without waiting; the rest stays queued.
    // Clears pending line errors first. Returns the count (0 when nothing is queued), or -1 on failure.
    virtual long Read(std::uint8_t* buffer, std::size_t capacity) = 0;

    // For the fast receive timing: waits at most the given time for more bytes to arrive; true when some did.
    virtual bool WaitForMoreBytes(int milliseconds) = 0;
    // The buffered bytes, at most limit of them, left in place for the next Read.
    virtual Bytes PeekBytes(std::size_t /*limit*/) { return {}; }
};

std::unique_ptr<SerialBackend> MakeQtSerialBackend();

} // namespace trelmo

#pragma once
// The single open port to the module and its fixed-wait operations. All calls come from the thread that owns it.

#include "Frame.h"
#include "SerialBackend.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace trelmo {

// How a receive waits. Fixed: it sleeps its whole 50 or 300 ms, then takes what is buffered (the tool's own
// timing). Fast: it ends as soon as a whole, intact frame (or as many bytes as it takes) is buffered, and the fixed
// time is only its upper bound; for scripted runs, which need not keep the tool's pace.
enum class ReceiveTiming { Fixed, Fast };

// How the port sleeps its fixed waits; tests give a port one that need not sleep.
using WaitFunction = std::function<void(int milliseconds)>;
void SleepMilliseconds(int milliseconds);

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
    // How many bytes TakeWaitingBytes has taken since the port was made.
    std::uint64_t WaitingBytesTaken() const { return waitingBytesTaken_; }

    // Sleeps a fixed wait through this port's wait function.
    void Wait(int milliseconds) { wait_(milliseconds); }
    // An empty function restores the real sleep.
    void SetWaitFunction(WaitFunction wait) { wait_ = wait ? std::move(wait) : WaitFunction(SleepMilliseconds); }

    void SetReceiveTiming(ReceiveTiming timing) { timing_ = timing; }
    ReceiveTiming Timing() const { return timing_; }

    SerialBackend& Backend() { return *backend_; }

private:
    // A failed read call means the device is gone: the port is closed as after a failed send.
    long ReadOrClose(std::uint8_t* buffer, std::size_t capacity);
    // Sleeps the fixed wait, or with the fast timing waits up to it for an answer that is complete.
    void WaitForAnswer(int waitMilliseconds, std::size_t capacity);
    // Fast timing: a receive of this capacity can take nothing more once the buffer holds a whole frame, the rest
    // of a frame an earlier receive began, or as much as the capacity.
    bool IsAnswerComplete(const Bytes& buffered, std::size_t capacity) const;
    // Fast timing: how much of the frame whose bytes a receive took is still to come.
    void NoteFrameRest(const std::uint8_t* taken, std::size_t count);
    bool Receive(int waitMilliseconds, bool acceptEmpty, std::uint8_t* buffer, std::size_t capacity,
                 std::size_t* read);

    std::unique_ptr<SerialBackend> backend_;
    WaitFunction wait_ = SleepMilliseconds;
    ReceiveTiming timing_ = ReceiveTiming::Fixed;
    // Fast timing: bytes still to come of a frame longer than the receive that took its start.
    std::size_t frameRest_ = 0;
    std::uint64_t waitingBytesTaken_ = 0;
};

} // namespace trelmo

#pragma once
// The virtual module's serving loop: takes the host's bytes from the line, answers them through ModuleModel, and
// plays the line scenarios (late and split answers, the dropping of a stale partial frame, hang-up, flood).
// Everything it does to the outside world goes through two seams: SimEnvironment (the descriptor calls, the clock,
// the warnings) and SimLine (the line's descriptor, its speed and its hang-up). trelmo-sim puts in the real system
// and its pseudo-terminal; tests and fuzz targets put in a scripted host and a clock that never sleeps.

#include "ModuleModel.h"
#include "SimOptions.h"

#include <QString>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <string>

#include <poll.h>
#include <sys/types.h>

namespace trelmo {

using SimClock = std::chrono::steady_clock;

// A frame start that waits longer than this for its rest is dropped, so that a truncated frame cannot swallow
// the next one. The host never pauses inside a frame, and its frames follow each other 50 ms apart at least.
constexpr auto PartialFrameTimeout = std::chrono::milliseconds(40);

// The junk of the flood scenario: FrameType 0x5A does not exist, so no run of it reads as a frame.
constexpr std::uint8_t FloodByte = 0x5A;
constexpr std::size_t FloodChunk = 256;

// "trelmo-sim: <text>" on stderr.
void SimWarn(const std::string& text);

class SimEnvironment {
public:
    virtual ~SimEnvironment() = default;
    // As ppoll(2) (a negative timeout waits without limit), read(2) and write(2), errno included. The timeout is
    // finer than poll's milliseconds, so that paced bytes go out on their time.
    virtual int Poll(pollfd* fds, nfds_t count, SimClock::duration timeout) = 0;
    virtual ssize_t Read(int fd, void* buffer, std::size_t size) = 0;
    virtual ssize_t Write(int fd, const void* bytes, std::size_t size) = 0;
    virtual SimClock::time_point Now() = 0;
    virtual void Warn(const std::string& text) = 0;
};

// The real system: the descriptor calls themselves, the steady clock and stderr.
class SystemSimEnvironment : public SimEnvironment {
public:
    int Poll(pollfd* fds, nfds_t count, SimClock::duration timeout) override;
    ssize_t Read(int fd, void* buffer, std::size_t size) override;
    ssize_t Write(int fd, const void* bytes, std::size_t size) override;
    SimClock::time_point Now() override { return SimClock::now(); }
    void Warn(const std::string& text) override { SimWarn(text); }
};

// The module's end of the line to the host.
class SimLine {
public:
    virtual ~SimLine() = default;
    virtual int Descriptor() const = 0;
    // The speed the host has set on its side; 0 when unknown.
    virtual int HostBaudRate() const = 0;
    virtual void HangUp() = 0;
};

// One line per chunk: "1" for bytes from the host, "0" for bytes to it, then "%02X " per byte.
class TrafficLog {
public:
    TrafficLog() = default;
    ~TrafficLog();
    TrafficLog(const TrafficLog&) = delete;
    TrafficLog& operator=(const TrafficLog&) = delete;

    // An empty path keeps no log; false when the file cannot be written.
    bool Open(const QString& path);
    void Write(const std::uint8_t* bytes, std::size_t count, int direction);

private:
    FILE* file_ = nullptr;
};

class SimServer {
public:
    // stopDescriptor becomes readable when the module is to end (a signal arrived).
    SimServer(const SimSettings& settings, SimLine& line, TrafficLog& log, SimEnvironment& environment,
              int stopDescriptor);

    // Serves until the stop descriptor is readable, the line fails or it is hung up.
    void Run();

    const ModuleModel& Model() const { return model_; }

private:
    struct TimedWrite {
        SimClock::time_point due;
        Bytes bytes;
        SimClock::duration byteTime{}; // on a paced line each byte goes out this long after the one before
        std::size_t sent = 0;          // bytes already written
    };
    enum class Flood { Armed, Running, Done };

    bool Take(const std::uint8_t* bytes, std::size_t count);
    bool Listening() const;
    void StartFloodWhenDue();
    void SendFlood();
    bool HangupDue() const;
    void Schedule(const ModuleAnswer& moduleAnswer);
    void SendDueWrites();
    // The time one byte (start bit, 8 data bits, stop bit) takes at the host's line speed.
    SimClock::duration ByteTime() const;
    // When a paced write's last byte has gone out.
    static SimClock::time_point EndOf(const TimedWrite& write);
    SimClock::duration Timeout();
    void PrintNotes();

    const SimSettings& settings_;
    ModuleModel model_;
    SimLine& line_;
    TrafficLog& log_;
    SimEnvironment& environment_;
    int stopDescriptor_;
    std::deque<TimedWrite> writes_;
    SimClock::time_point lastReceived_;
    SimClock::time_point requestStart_; // when the first byte of the request being received came
    Flood flood_;
    SimClock::time_point floodEnd_;
};

} // namespace trelmo

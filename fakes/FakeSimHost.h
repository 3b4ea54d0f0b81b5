#pragma once
// A scripted host on the virtual module's line, for driving SimServer without a pseudo-terminal and without
// sleeping. It is both the line (SimLine) and the outside world (SimEnvironment) of the server:
//  - a clock that moves only when the server waits in Poll: up to the next scripted arrival, or by the whole
//    timeout when nothing arrives within it; a host with room for junk takes it at 1 ms a chunk;
//  - a script of host chunks, each arriving a given number of milliseconds after the one before; a chunk larger
//    than the server's read stays readable for the next read;
//  - a record of what the module wrote (with the time) and warned, and whether it hung up.
// When the script is used up and the server would wait without a time limit, the stop descriptor turns readable,
// as a signal would make it. A server that keeps polling without end (MaxPolls) is stopped the same way and
// reported by RanAway().
//
//     FakeSimHost host;
//     host.QueueChunk(0, Hex("55 55"));
//     SimServer server(settings, host, log, host, FakeSimHost::StopDescriptor);
//     server.Run();
//     EXPECT_EQ(host.Written(), ...);

#include "SimServer.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <utility>
#include <vector>

namespace trelmo::fake {

class FakeSimHost : public SimEnvironment, public SimLine {
public:
    static constexpr int LineDescriptor = 3;
    static constexpr int StopDescriptor = 4;
    static constexpr long MaxPolls = 200000;

    struct Sent {
        long atMs; // since the start
        Bytes bytes;
    };

    // --- Scripting -----------------------------------------------------------------------------------------------

    // The bytes arrive afterMs after the previous chunk (or after the start).
    void QueueChunk(long afterMs, Bytes bytes) { script_.push_back({afterMs, std::move(bytes)}); }
    void SetHostBaudRate(int baudRate) { baudRate_ = baudRate; }
    // The host takes at most this many bytes per write; further writes take nothing (EAGAIN) until it has room.
    void SetHostRoom(std::size_t bytes) { room_ = bytes; }

    // --- Observing -----------------------------------------------------------------------------------------------

    const std::vector<Sent>& Written() const { return written_; }
    const std::vector<std::string>& Warnings() const { return warnings_; }
    bool HungUp() const { return hungUp_; }
    bool RanAway() const { return polls_ > MaxPolls; }
    long ElapsedMs() const { return static_cast<long>((now_ - start_) / std::chrono::milliseconds(1)); }

    // --- SimLine -------------------------------------------------------------------------------------------------

    int Descriptor() const override { return LineDescriptor; }
    int HostBaudRate() const override { return baudRate_; }
    void HangUp() override { hungUp_ = true; }

    // --- SimEnvironment ------------------------------------------------------------------------------------------

    int Poll(pollfd* fds, nfds_t count, SimClock::duration timeout) override
    {
        for (nfds_t i = 0; i < count; ++i)
            fds[i].revents = 0;
        if (++polls_ > MaxPolls)
            return Ready(fds, count, StopDescriptor, POLLIN);
        if (!readable_.empty())
            return Ready(fds, count, LineDescriptor, POLLIN);
        const bool unlimited = timeout < SimClock::duration::zero();
        const SimClock::time_point limit = now_ + std::max(timeout, SimClock::duration::zero());
        if (!script_.empty()) {
            const SimClock::time_point arrival = lastArrival_ + std::chrono::milliseconds(script_.front().afterMs);
            if (unlimited || arrival <= limit) {
                now_ = lastArrival_ = std::max(now_, arrival);
                readable_ = std::move(script_.front().bytes);
                script_.pop_front();
                if (readable_.empty()) // a pause without bytes: the server only sees the time pass
                    return 0;
                return Ready(fds, count, LineDescriptor, POLLIN);
            }
        } else if (unlimited) {
            return Ready(fds, count, StopDescriptor, POLLIN);
        }
        if (Wants(fds, count, POLLOUT) && timeout != SimClock::duration::zero()) {
            now_ = std::min(limit, now_ + std::chrono::milliseconds(1));
            return Ready(fds, count, LineDescriptor, POLLOUT);
        }
        now_ = limit;
        return 0;
    }

    ssize_t Read(int fd, void* buffer, std::size_t size) override
    {
        if (fd != LineDescriptor || hungUp_)
            return Fail(EIO);
        if (readable_.empty())
            return Fail(EAGAIN);
        const std::size_t count = std::min(size, readable_.size());
        std::copy_n(readable_.begin(), count, static_cast<std::uint8_t*>(buffer));
        readable_.erase(readable_.begin(), readable_.begin() + static_cast<std::ptrdiff_t>(count));
        return static_cast<ssize_t>(count);
    }

    ssize_t Write(int fd, const void* bytes, std::size_t size) override
    {
        if (fd != LineDescriptor || hungUp_)
            return Fail(EIO);
        const std::size_t count = std::min(size, room_);
        if (count == 0 && size > 0)
            return Fail(EAGAIN);
        const auto* first = static_cast<const std::uint8_t*>(bytes);
        written_.push_back({ElapsedMs(), Bytes(first, first + count)});
        return static_cast<ssize_t>(count);
    }

    SimClock::time_point Now() override { return now_; }
    void Warn(const std::string& text) override { warnings_.push_back(text); }

private:
    struct Chunk {
        long afterMs;
        Bytes bytes;
    };

    static bool Wants(const pollfd* fds, nfds_t count, short events)
    {
        return std::any_of(fds, fds + count, [&](const pollfd& fd) {
            return fd.fd == LineDescriptor && (fd.events & events);
        });
    }
    static int Ready(pollfd* fds, nfds_t count, int descriptor, short events)
    {
        int ready = 0;
        for (nfds_t i = 0; i < count; ++i) {
            if (fds[i].fd == descriptor && (fds[i].events & events)) {
                fds[i].revents = events;
                ++ready;
            }
        }
        return ready;
    }
    static ssize_t Fail(int error)
    {
        errno = error;
        return -1;
    }

    const SimClock::time_point start_ = SimClock::time_point() + std::chrono::hours(1);
    SimClock::time_point now_ = start_;
    SimClock::time_point lastArrival_ = start_;
    std::deque<Chunk> script_;
    Bytes readable_;
    std::vector<Sent> written_;
    std::vector<std::string> warnings_;
    std::size_t room_ = static_cast<std::size_t>(-1);
    int baudRate_ = 0;
    bool hungUp_ = false;
    long polls_ = 0;
};

} // namespace trelmo::fake

#pragma once
// A real pseudo-terminal pair for the link tests: the test plays the module on the master side, the serial port
// opens the slave device by its path. The test keeps a slave descriptor too, to look at the slave's settings and
// at its input queue.

#include "Frame.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>

namespace trelmo::testing {

class PseudoTerminal {
public:
    PseudoTerminal()
    {
        char name[256] = {};
        if (::openpty(&master_, &slave_, name, nullptr, nullptr) == 0) {
            path_ = name;
            ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
            ::fcntl(slave_, F_SETFL, ::fcntl(slave_, F_GETFL) | O_NONBLOCK);
        }
    }
    ~PseudoTerminal()
    {
        HangUp();
        if (slave_ >= 0)
            ::close(slave_);
    }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    bool IsValid() const { return !path_.empty(); }
    const std::string& SlavePath() const { return path_; }

    // The module sends: the bytes are in the slave's input queue when this returns.
    bool Send(const Bytes& bytes)
    {
        const std::size_t before = QueuedAtSlave();
        if (::write(master_, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
            return false;
        return WaitFor([&] { return QueuedAtSlave() >= before + bytes.size(); });
    }

    // The module sends without waiting for the slave to take the bytes.
    bool Write(const Bytes& bytes)
    {
        return ::write(master_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    }

    // XON/XOFF to a slave with software flow control on; returns once the slave's line discipline has seen it.
    bool SendFlowControl(std::uint8_t character)
    {
        const std::uint8_t marker = 0x5A;
        const std::uint8_t bytes[] = {character, marker};
        if (::write(master_, bytes, sizeof bytes) != static_cast<ssize_t>(sizeof bytes)
            || !WaitFor([&] { return QueuedAtSlave() >= 1; }))
            return false;
        std::uint8_t taken = 0;
        return ::read(slave_, &taken, 1) == 1 && taken == marker;
    }

    // What the serial port sent, once expected bytes arrived or two seconds passed.
    Bytes Received(std::size_t expected)
    {
        Bytes bytes;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (bytes.size() < expected && std::chrono::steady_clock::now() < deadline) {
            pollfd ready {master_, POLLIN, 0};
            if (::poll(&ready, 1, 50) <= 0)
                continue;
            std::uint8_t chunk[512];
            const ssize_t got = ::read(master_, chunk, sizeof chunk);
            if (got > 0)
                bytes.insert(bytes.end(), chunk, chunk + got);
        }
        return bytes;
    }

    // True when nothing arrives from the serial port within the given time.
    bool Silent(int milliseconds)
    {
        pollfd ready {master_, POLLIN, 0};
        return ::poll(&ready, 1, milliseconds) == 0;
    }

    // The module goes away: the slave side is hung up.
    void HangUp()
    {
        if (master_ >= 0)
            ::close(master_);
        master_ = -1;
    }

    termios SlaveSettings() const
    {
        termios settings {};
        ::tcgetattr(slave_, &settings);
        return settings;
    }
    void SetSlaveSettings(const termios& settings) { ::tcsetattr(slave_, TCSANOW, &settings); }

private:
    std::size_t QueuedAtSlave() const
    {
        int count = 0;
        return ::ioctl(slave_, FIONREAD, &count) == 0 ? static_cast<std::size_t>(count) : 0;
    }

    template <typename Condition>
    static bool WaitFor(Condition condition)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (!condition()) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }

    int master_ = -1;
    int slave_ = -1;
    std::string path_;
};

} // namespace trelmo::testing

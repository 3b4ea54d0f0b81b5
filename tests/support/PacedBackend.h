#pragma once
// A serial backend whose drain returns only once the bytes written would have crossed a UART at the port's speed
// (10 bit times a byte). A pseudo-terminal takes written bytes at once, so without it a drain returns at once and
// the host's side of a test or benchmark runs at memory speed. Never linked into the programs.

#include "SerialBackend.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <utility>

namespace trelmo::testing {

class PacedBackend : public SerialBackend {
public:
    explicit PacedBackend(std::unique_ptr<SerialBackend> inner = MakeQtSerialBackend()) : inner_(std::move(inner)) {}

    bool Open(const std::string& name, int baudRate) override
    {
        byteTime_ = baudRate > 0 ? std::chrono::nanoseconds(10'000'000'000LL / baudRate) : Clock::duration::zero();
        lineFreeAt_ = Clock::now();
        return inner_->Open(name, baudRate);
    }
    void Close() override { inner_->Close(); }
    bool IsOpen() const override { return inner_->IsOpen(); }
    PortOpenError LastOpenError() const override { return inner_->LastOpenError(); }

    long Write(const std::uint8_t* bytes, std::size_t count) override
    {
        const long written = inner_->Write(bytes, count);
        if (written > 0)
            lineFreeAt_ = std::max(lineFreeAt_, Clock::now()) + written * byteTime_;
        return written;
    }
    bool Drain() override
    {
        const bool drained = inner_->Drain();
        std::this_thread::sleep_until(lineFreeAt_);
        return drained;
    }
    long Read(std::uint8_t* buffer, std::size_t capacity) override { return inner_->Read(buffer, capacity); }
    bool WaitForMoreBytes(int milliseconds) override { return inner_->WaitForMoreBytes(milliseconds); }
    Bytes PeekBytes(std::size_t limit) override { return inner_->PeekBytes(limit); }

private:
    using Clock = std::chrono::steady_clock;

    std::unique_ptr<SerialBackend> inner_;
    Clock::duration byteTime_{};
    Clock::time_point lineFreeAt_{};
};

} // namespace trelmo::testing

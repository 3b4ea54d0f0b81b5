#pragma once
// A scripted SerialBackend for logic tests and fuzz targets that must never sleep.
//
// The fake stands in for the UART under a SerialPort. It keeps:
//  - a script of arrivals: each fixed wait (the port's wait function, routed here by FakeLink or by
//    SetWaitFunction(WaitHook())) moves the next scripted arrival into the receive queue, so an answer "arrives" while the caller
//    sleeps its 50 or 300 ms. An empty arrival is a wait at which nothing arrives;
//  - a receive queue: what Read hands out, at most `capacity` bytes per call, the rest stays for the next read;
//  - a record of every write that went out (the bytes actually written) and of every wait.
// Writes can be made to fail (from a given write on, or all), and the port can be closed.
// An optional responder is asked for the arrivals that answer each written frame; they join the script.
//
// Typical use:
//     FakeLink link;                                   // an open SerialPort over a fake, waits routed to it
//     link.backend->QueueArrival(Hex("05 02 00 06 ..."));
//     ReadSomething(link.port, ...);                   // the answer arrives at the read's 50 ms wait
//     EXPECT_EQ(link.backend->Writes().size(), 1u);

#include "Frame.h"
#include "SerialBackend.h"
#include "SerialPort.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace trelmo::fake {

class FakeSerialBackend : public SerialBackend {
public:
    using Responder = std::function<std::vector<Bytes>(const Bytes& written)>;

    // --- Scripting -----------------------------------------------------------------------------------------------

    // The bytes arrive at the next wait that has no earlier arrival left to deliver. Empty bytes: nothing arrives
    // at that wait.
    void QueueArrival(Bytes bytes) { script_.push_back(std::move(bytes)); }
    void QueueSilence() { script_.emplace_back(); }
    // The bytes are in the receive queue at once, as if they had arrived before.
    void Deliver(const Bytes& bytes) { received_.insert(received_.end(), bytes.begin(), bytes.end()); }
    // Called after each write that went out, with the bytes written; its arrivals join the end of the script.
    void SetResponder(Responder responder) { responder_ = std::move(responder); }

    // Writes with a zero-based call number of at least `index` fail (return -1); the default never fails.
    void FailWritesFrom(std::size_t index) { failWritesFrom_ = index; }
    void FailAllWrites() { failWritesFrom_ = 0; }
    // The device goes away (hang-up, adapter pulled): from now on reads, writes and drains fail until reopened.
    void LoseDevice()
    {
        lost_ = true;
        events_.push_back("lost");
    }

    // The port's wait function: records the wait and delivers the next scripted arrival.
    WaitFunction WaitHook()
    {
        return [this](int milliseconds) { OnWait(milliseconds); };
    }
    void OnWait(int milliseconds)
    {
        waits_.push_back(milliseconds);
        events_.push_back("wait " + std::to_string(milliseconds));
        if (script_.empty())
            return;
        Deliver(script_.front());
        script_.pop_front();
    }

    // --- Observing -----------------------------------------------------------------------------------------------

    // Every write that went out, in order, with the bytes actually written.
    const std::vector<Bytes>& Writes() const { return writes_; }
    // Open calls.
    std::size_t Opens() const { return opens_; }
    // Write calls, including the failed ones.
    std::size_t WriteCalls() const { return writeCalls_; }
    // Every fixed wait, in milliseconds, in order.
    const std::vector<int>& Waits() const { return waits_; }
    // "write N", "drain", "wait MS" and "lost" in the order they happened.
    const std::vector<std::string>& Events() const { return events_; }
    // Bytes that arrived and were not read yet.
    const std::deque<std::uint8_t>& Unread() const { return received_; }

    // --- SerialBackend -------------------------------------------------------------------------------------------

    bool Open(const std::string&, int) override
    {
        ++opens_;
        open_ = true;
        lost_ = false;
        received_.clear(); // opening purges the queues
        return true;
    }
    void Close() override
    {
        open_ = false;
        received_.clear();
    }
    bool IsOpen() const override { return open_; }

    long Write(const std::uint8_t* bytes, std::size_t count) override
    {
        const std::size_t call = writeCalls_++;
        if (!open_ || lost_ || call >= failWritesFrom_)
            return -1;
        writes_.emplace_back(bytes, bytes + count);
        events_.push_back("write " + std::to_string(count));
        if (responder_)
            for (Bytes& arrival : responder_(writes_.back()))
                script_.push_back(std::move(arrival));
        return static_cast<long>(count);
    }

    bool Drain() override
    {
        events_.push_back("drain");
        return open_ && !lost_;
    }

    long Read(std::uint8_t* buffer, std::size_t capacity) override
    {
        if (!open_ || lost_)
            return -1;
        std::size_t count = 0;
        while (count < capacity && !received_.empty()) {
            buffer[count++] = received_.front();
            received_.pop_front();
        }
        return static_cast<long>(count);
    }

    // Fast receive timing: a wait for more bytes delivers the next scripted arrival at once ("bytes-wait"; the time
    // left is the real clock's, so it is not recorded); an empty arrival, or none left, means the time ran out.
    bool WaitForMoreBytes(int) override
    {
        events_.push_back("bytes-wait");
        if (script_.empty())
            return false;
        const Bytes next = std::move(script_.front());
        script_.pop_front();
        Deliver(next);
        return !next.empty();
    }
    Bytes PeekBytes(std::size_t limit) override
    {
        const auto count = static_cast<std::ptrdiff_t>(std::min(limit, received_.size()));
        return Bytes(received_.begin(), received_.begin() + count);
    }

private:
    bool open_ = false;
    bool lost_ = false;
    std::vector<std::string> events_;
    std::size_t failWritesFrom_ = std::numeric_limits<std::size_t>::max();
    std::size_t writeCalls_ = 0;
    std::size_t opens_ = 0;
    std::deque<Bytes> script_;
    std::deque<std::uint8_t> received_;
    std::vector<Bytes> writes_;
    std::vector<int> waits_;
    Responder responder_;
};

// An open SerialPort over a FakeSerialBackend, with the port's fixed waits routed to the fake. `backend` stays owned
// by `port`.
struct FakeLink {
    FakeLink() : FakeLink(std::make_unique<FakeSerialBackend>()) {}

    FakeSerialBackend* backend;
    SerialPort port;

private:
    explicit FakeLink(std::unique_ptr<FakeSerialBackend> fake)
        : backend(fake.get()), port(std::move(fake))
    {
        port.SetWaitFunction(backend->WaitHook());
        port.OpenSerialPort("fake", 115200);
    }
};

} // namespace trelmo::fake

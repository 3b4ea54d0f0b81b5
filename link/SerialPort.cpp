#include "SerialPort.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace trelmo {
namespace {
constexpr int RequestWaitMs = 50;
constexpr int CyclicWaitMs = 300;

} // namespace

void SleepMilliseconds(int milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

SerialPort::SerialPort(std::unique_ptr<SerialBackend> backend) : backend_(std::move(backend)) {}

SerialPort::~SerialPort() = default;

bool SerialPort::OpenSerialPort(const std::string& portName, int baudRate)
{
    frameRest_ = 0;
    backend_->Close();
    return backend_->Open(portName, baudRate);
}

void SerialPort::CloseSerialPort()
{
    backend_->Close();
}

bool SerialPort::IsOpen() const
{
    return backend_->IsOpen();
}

PortOpenError SerialPort::LastOpenError() const
{
    return backend_->LastOpenError();
}

bool SerialPort::SendBytes(const std::uint8_t* bytes, std::size_t count, std::size_t* written)
{
    frameRest_ = 0;
    const long result = backend_->IsOpen() ? backend_->Write(bytes, count) : -1;
    if (result <= 0 || !backend_->Drain()) {
        backend_->Close();
        return false;
    }
    if (written)
        *written = static_cast<std::size_t>(result);
    return true;
}

void SerialPort::WaitForAnswer(int waitMilliseconds, std::size_t capacity)
{
    if (timing_ == ReceiveTiming::Fixed || !backend_->IsOpen()) {
        Wait(waitMilliseconds);
        return;
    }
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(waitMilliseconds);
    while (!IsAnswerComplete(backend_->PeekBytes(capacity), capacity)) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0 || !backend_->WaitForMoreBytes(static_cast<int>(left)))
            break;
    }
}

bool SerialPort::IsAnswerComplete(const Bytes& buffered, std::size_t capacity) const
{
    if (frameRest_ > 0)
        return buffered.size() >= std::min(frameRest_, capacity);
    return buffered.size() >= capacity || IntactFrameSize(buffered.data(), buffered.size()) != 0;
}

void SerialPort::NoteFrameRest(const std::uint8_t* taken, std::size_t count)
{
    if (frameRest_ > 0) {
        frameRest_ = frameRest_ > count ? frameRest_ - count : 0;
        return;
    }
    const std::size_t declared =
        count >= ModuleFrame::HeaderSize ? ReadBigEndian16(taken + ModuleFrame::Length) + ModuleFrame::Overhead : 0;
    frameRest_ = declared > count ? declared - count : 0;
}

bool SerialPort::Receive(int waitMilliseconds, bool acceptEmpty, std::uint8_t* buffer, std::size_t capacity,
                         std::size_t* read)
{
    WaitForAnswer(waitMilliseconds, capacity);
    if (!backend_->IsOpen())
        return false;
    const long result = ReadOrClose(buffer, capacity);
    if (result < 0 || (result == 0 && !acceptEmpty))
        return false;
    if (timing_ == ReceiveTiming::Fast && result > 0)
        NoteFrameRest(buffer, static_cast<std::size_t>(result));
    if (read)
        *read = static_cast<std::size_t>(result);
    return true;
}

long SerialPort::ReadOrClose(std::uint8_t* buffer, std::size_t capacity)
{
    const long result = backend_->Read(buffer, capacity);
    if (result < 0)
        backend_->Close();
    return result;
}

Bytes SerialPort::TakeWaitingBytes(std::size_t limit)
{
    frameRest_ = 0;
    Bytes taken;
    std::uint8_t chunk[512];
    while (taken.size() < limit && backend_->IsOpen()) {
        const long got = ReadOrClose(chunk, std::min(sizeof chunk, limit - taken.size()));
        if (got <= 0)
            break;
        taken.insert(taken.end(), chunk, chunk + got);
    }
    waitingBytesTaken_ += taken.size();
    return taken;
}

bool SerialPort::ReceiveBytes(std::uint8_t* buffer, std::size_t capacity, std::size_t* read)
{
    return Receive(RequestWaitMs, false, buffer, capacity, read);
}

bool SerialPort::ReceiveAvailable(std::uint8_t* buffer, std::size_t capacity, std::size_t* read)
{
    return Receive(RequestWaitMs, true, buffer, capacity, read);
}

bool SerialPort::ReceiveBytesSlow(std::uint8_t* buffer, std::size_t capacity, std::size_t* read)
{
    return Receive(CyclicWaitMs, false, buffer, capacity, read);
}

} // namespace trelmo

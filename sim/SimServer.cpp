#include "SimServer.h"

#include "HexText.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace trelmo {

void SimWarn(const std::string& text)
{
    std::fprintf(stderr, "trelmo-sim: %s\n", text.c_str());
}

int SystemSimEnvironment::Poll(pollfd* fds, nfds_t count, SimClock::duration timeout)
{
    if (timeout < SimClock::duration::zero())
        return ppoll(fds, count, nullptr, nullptr);
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(timeout).count();
    const timespec limit{static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
    return ppoll(fds, count, &limit, nullptr);
}

ssize_t SystemSimEnvironment::Read(int fd, void* buffer, std::size_t size)
{
    return read(fd, buffer, size);
}

ssize_t SystemSimEnvironment::Write(int fd, const void* bytes, std::size_t size)
{
    return write(fd, bytes, size);
}

TrafficLog::~TrafficLog()
{
    if (file_)
        std::fclose(file_);
}

bool TrafficLog::Open(const QString& path)
{
    if (path.isEmpty())
        return true;
    file_ = std::fopen(QFile::encodeName(path).constData(), "w");
    return file_ != nullptr;
}

void TrafficLog::Write(const std::uint8_t* bytes, std::size_t count, int direction)
{
    if (!file_)
        return;
    std::fprintf(file_, "%s\n", BytesToHexText(bytes, count, direction).c_str());
    std::fflush(file_);
}

SimServer::SimServer(const SimSettings& settings, SimLine& line, TrafficLog& log, SimEnvironment& environment,
                     int stopDescriptor)
    : settings_(settings), model_(settings.module), line_(line), log_(log), environment_(environment),
      stopDescriptor_(stopDescriptor), lastReceived_(environment.Now()), requestStart_(lastReceived_),
      flood_(settings.floodAfter >= 0 ? Flood::Armed : Flood::Done)
{
}

void SimServer::Run()
{
    std::uint8_t buffer[4096];
    for (;;) {
        StartFloodWhenDue();
        const short lineEvents = flood_ == Flood::Running ? POLLIN | POLLOUT : POLLIN;
        pollfd fds[2] = {{line_.Descriptor(), lineEvents, 0}, {stopDescriptor_, POLLIN, 0}};
        if (environment_.Poll(fds, 2, Timeout()) < 0 && errno != EINTR) {
            environment_.Warn(std::string("poll failed: ") + std::strerror(errno));
            return;
        }
        if (fds[1].revents & POLLIN)
            return;
        if (fds[0].revents & POLLIN) {
            const ssize_t got = environment_.Read(line_.Descriptor(), buffer, sizeof buffer);
            if (got > 0 && !Take(buffer, static_cast<std::size_t>(got)))
                return;
            if (got < 0 && errno != EAGAIN && errno != EINTR) {
                environment_.Warn(std::string("line failed: ") + std::strerror(errno));
                return;
            }
        }
        if (model_.HasPartialFrame() && environment_.Now() - lastReceived_ >= PartialFrameTimeout) {
            model_.DropPartialFrame();
            PrintNotes();
        }
        SendDueWrites();
        SendFlood();
    }
}

// Returns false when the line has been hung up.
bool SimServer::Take(const std::uint8_t* bytes, std::size_t count)
{
    log_.Write(bytes, count, 1);
    lastReceived_ = environment_.Now();
    if (!model_.HasPartialFrame())
        requestStart_ = lastReceived_;
    if (HangupDue()) {
        environment_.Warn("hanging up after " + std::to_string(model_.FramesServed()) + " frames");
        line_.HangUp();
        return false;
    }
    if (!Listening())
        return true;
    const std::vector<ModuleAnswer> answers = model_.ReceiveAnswers(bytes, count, line_.HostBaudRate());
    PrintNotes();
    for (const ModuleAnswer& answer : answers)
        Schedule(answer);
    return true;
}

// False from the frame that arms the flood until the flood has ended: the host's bytes are then only logged.
bool SimServer::Listening() const
{
    return flood_ == Flood::Done || (flood_ == Flood::Armed && model_.FramesServed() < settings_.floodAfter);
}

// The flood starts once the answers before it have gone out.
void SimServer::StartFloodWhenDue()
{
    if (flood_ != Flood::Armed || Listening() || !writes_.empty())
        return;
    flood_ = Flood::Running;
    floodEnd_ = environment_.Now() + std::chrono::milliseconds(settings_.floodMs);
    environment_.Warn("sending junk for " + std::to_string(settings_.floodMs) + " ms");
}

// One chunk of junk per pass while the host's side has room; a full side (EAGAIN) waits in poll.
void SimServer::SendFlood()
{
    if (flood_ != Flood::Running)
        return;
    if (environment_.Now() >= floodEnd_) {
        flood_ = Flood::Done;
        environment_.Warn("junk ended, serving again");
        return;
    }
    static const Bytes junk(FloodChunk, FloodByte);
    const ssize_t written = environment_.Write(line_.Descriptor(), junk.data(), junk.size());
    if (written > 0)
        log_.Write(junk.data(), static_cast<std::size_t>(written), 0);
}

bool SimServer::HangupDue() const
{
    return settings_.hangupAfter >= 0 && model_.FramesServed() >= settings_.hangupAfter && writes_.empty();
}

void SimServer::Schedule(const ModuleAnswer& moduleAnswer)
{
    const Bytes& answer = moduleAnswer.bytes;
    SimClock::time_point due = environment_.Now() + std::chrono::milliseconds(settings_.delayMs);
    if (answer.size() > ModuleFrame::FrameType && answer[ModuleFrame::FrameType] == IoData)
        due += std::chrono::milliseconds(settings_.ioDelayMs);
    if (moduleAnswer.kind && settings_.lateKinds.count(*moduleAnswer.kind) != 0)
        due += std::chrono::milliseconds(settings_.lateMs);
    const SimClock::duration byteTime = settings_.wire ? ByteTime() : SimClock::duration::zero();
    // On a paced line the request is whole only once its last byte has crossed the line.
    due = std::max(due, requestStart_ + static_cast<SimClock::rep>(moduleAnswer.requestBytes) * byteTime);
    if (!writes_.empty() && EndOf(writes_.back()) > due)
        due = EndOf(writes_.back());
    if (settings_.splitMs < 0 || answer.size() < 2) {
        writes_.push_back({due, answer, byteTime});
        return;
    }
    const std::size_t half = answer.size() / 2;
    const std::size_t first = settings_.splitAt > 0
        ? std::min(static_cast<std::size_t>(settings_.splitAt), answer.size() - 1) : half;
    const TimedWrite head{due, Bytes(answer.begin(), answer.begin() + static_cast<std::ptrdiff_t>(first)), byteTime};
    writes_.push_back(head);
    writes_.push_back({EndOf(head) + std::chrono::milliseconds(settings_.splitMs),
                       Bytes(answer.begin() + static_cast<std::ptrdiff_t>(first), answer.end()), byteTime});
}

SimClock::duration SimServer::ByteTime() const
{
    const int baudRate = line_.HostBaudRate();
    if (baudRate <= 0)
        return SimClock::duration::zero();
    return std::chrono::duration_cast<SimClock::duration>(std::chrono::nanoseconds(10'000'000'000LL / baudRate));
}

SimClock::time_point SimServer::EndOf(const TimedWrite& write)
{
    return write.due + static_cast<SimClock::rep>(write.bytes.size()) * write.byteTime;
}

// Writes what is due: a whole answer at once, or on a paced line the bytes whose time on the line has passed.
void SimServer::SendDueWrites()
{
    const SimClock::time_point now = environment_.Now();
    while (!writes_.empty() && writes_.front().due <= now) {
        TimedWrite& write = writes_.front();
        std::size_t due = write.bytes.size();
        if (write.byteTime > SimClock::duration::zero())
            due = std::min<std::size_t>(due, static_cast<std::size_t>((now - write.due) / write.byteTime));
        if (due > write.sent) {
            const std::size_t count = due - write.sent;
            const ssize_t written = environment_.Write(line_.Descriptor(), write.bytes.data() + write.sent, count);
            if (written > 0)
                log_.Write(write.bytes.data() + write.sent, static_cast<std::size_t>(written), 0);
            if (written < static_cast<ssize_t>(count))
                environment_.Warn("the host does not take the answer; " + std::to_string(count) + " bytes dropped");
            write.sent = due;
        }
        if (write.sent < write.bytes.size())
            break;
        writes_.pop_front();
    }
}

SimClock::duration SimServer::Timeout()
{
    SimClock::time_point next = SimClock::time_point::max();
    if (!writes_.empty()) {
        const TimedWrite& write = writes_.front();
        next = write.due + static_cast<SimClock::rep>(write.sent + 1) * write.byteTime;
    }
    if (model_.HasPartialFrame())
        next = std::min(next, lastReceived_ + PartialFrameTimeout);
    if (flood_ == Flood::Running)
        next = std::min(next, floodEnd_);
    if (next == SimClock::time_point::max())
        return SimClock::duration(-1);
    return std::max(next - environment_.Now(), SimClock::duration::zero());
}

void SimServer::PrintNotes()
{
    for (const std::string& note : model_.TakeNotes())
        environment_.Warn(note);
}

} // namespace trelmo

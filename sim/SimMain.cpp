// trelmo-sim: the virtual module. Opens a pseudo-terminal, prints its slave device path, registers it, and
// answers the host's bytes through ModuleModel until a signal (or a hang-up scenario) ends it.

#include "HexText.h"
#include "ModuleModel.h"
#include "PortRegistry.h"
#include "SimOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>

namespace trelmo {
namespace {

using Clock = std::chrono::steady_clock;

// A frame start that waits longer than this for its rest is dropped, so that a truncated frame cannot swallow
// the next one. The host never pauses inside a frame, and its frames follow each other 50 ms apart at least.
constexpr auto PartialFrameTimeout = std::chrono::milliseconds(40);

// The junk of the flood scenario: FrameType 0x5A does not exist, so no run of it reads as a frame.
constexpr std::uint8_t FloodByte = 0x5A;
constexpr std::size_t FloodChunk = 256;

int signalPipe[2] = {-1, -1};

void OnSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = write(signalPipe[1], &byte, 1);
}

void Warn(const std::string& text)
{
    std::fprintf(stderr, "trelmo-sim: %s\n", text.c_str());
}

int BaudOf(speed_t speed)
{
    static const std::pair<speed_t, int> speeds[] = {
        {B1200, 1200}, {B2400, 2400}, {B4800, 4800}, {B9600, 9600}, {B19200, 19200}, {B38400, 38400},
        {B57600, 57600}, {B115200, 115200}, {B230400, 230400}, {B460800, 460800}, {B921600, 921600}};
    for (const auto& entry : speeds) {
        if (entry.first == speed)
            return entry.second;
    }
    return 0;
}

// The pseudo-terminal. The module keeps a slave descriptor of its own open, so that the line does not hang up
// while no host has the device open; it never reads from it.
class VirtualLine {
public:
    ~VirtualLine() { HangUp(); }

    bool Open()
    {
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0)
            return Fail("cannot open a pseudo-terminal");
        char name[128] = {};
        if (ptsname_r(master_, name, sizeof name) != 0)
            return Fail("cannot name the pseudo-terminal");
        slavePath_ = name;
        slave_ = open(name, O_RDWR | O_NOCTTY);
        if (slave_ < 0)
            return Fail("cannot open " + slavePath_);
        termios settings{};
        if (tcgetattr(slave_, &settings) != 0)
            return Fail("cannot read the line settings");
        cfmakeraw(&settings);
        if (tcsetattr(slave_, TCSANOW, &settings) != 0)
            return Fail("cannot set raw mode");
        fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
        return true;
    }

    // The speed the host has set on its side; the master reports the slave's settings.
    int HostBaudRate() const
    {
        termios settings{};
        if (master_ < 0 || tcgetattr(master_, &settings) != 0)
            return 0;
        return BaudOf(cfgetospeed(&settings));
    }

    void HangUp()
    {
        if (slave_ >= 0)
            close(slave_);
        if (master_ >= 0)
            close(master_);
        slave_ = master_ = -1;
    }

    int Master() const { return master_; }
    const std::string& SlavePath() const { return slavePath_; }

private:
    bool Fail(const std::string& text)
    {
        Warn(text + ": " + std::strerror(errno));
        HangUp();
        return false;
    }

    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
};

// <runtime dir>/trelmo-ports/<name> -> device while the module runs. Replaced atomically; removed at the end
// only while it still points at this module's device, so that a newer module of the same name keeps its link.
class RegistryLink {
public:
    ~RegistryLink() { Remove(); }

    void Create(const QString& name, const std::string& target)
    {
        const QString directory = PortRegistryDirectory();
        if (!QDir().mkpath(directory)) {
            Warn("cannot create " + directory.toStdString());
            return;
        }
        const std::string link = QDir(directory).filePath(name).toStdString();
        const std::string temporary =
            QDir(directory).filePath(QStringLiteral(".%1.%2").arg(name).arg(getpid())).toStdString();
        unlink(temporary.c_str());
        if (symlink(target.c_str(), temporary.c_str()) != 0 || rename(temporary.c_str(), link.c_str()) != 0) {
            Warn("cannot register " + link + ": " + std::strerror(errno));
            unlink(temporary.c_str());
            return;
        }
        link_ = link;
        target_ = target;
    }

    void Remove()
    {
        if (link_.empty())
            return;
        char current[256] = {};
        const ssize_t size = readlink(link_.c_str(), current, sizeof current - 1);
        if (size > 0 && target_ == std::string(current, static_cast<std::size_t>(size)))
            unlink(link_.c_str());
        link_.clear();
    }

private:
    std::string link_;
    std::string target_;
};

// One line per chunk: "1" for bytes from the host, "0" for bytes to it, then "%02X " per byte.
class TrafficLog {
public:
    ~TrafficLog()
    {
        if (file_)
            std::fclose(file_);
    }

    bool Open(const QString& path)
    {
        if (path.isEmpty())
            return true;
        file_ = std::fopen(QFile::encodeName(path).constData(), "w");
        return file_ != nullptr;
    }

    void Write(const std::uint8_t* bytes, std::size_t count, int direction)
    {
        if (!file_)
            return;
        std::fprintf(file_, "%s\n", BytesToHexText(bytes, count, direction).c_str());
        std::fflush(file_);
    }

private:
    FILE* file_ = nullptr;
};

struct TimedWrite {
    Clock::time_point due;
    Bytes bytes;
};

class Server {
public:
    Server(const SimSettings& settings, VirtualLine& line, TrafficLog& log)
        : settings_(settings), model_(settings.module), line_(line), log_(log),
          flood_(settings.floodAfter >= 0 ? Flood::Armed : Flood::Done)
    {
    }

    // Serves until a signal arrives or the line is hung up.
    void Run()
    {
        std::uint8_t buffer[4096];
        for (;;) {
            StartFloodWhenDue();
            const short lineEvents = flood_ == Flood::Running ? POLLIN | POLLOUT : POLLIN;
            pollfd fds[2] = {{line_.Master(), lineEvents, 0}, {signalPipe[0], POLLIN, 0}};
            if (poll(fds, 2, Timeout()) < 0 && errno != EINTR) {
                Warn(std::string("poll failed: ") + std::strerror(errno));
                return;
            }
            if (fds[1].revents & POLLIN)
                return;
            if (fds[0].revents & POLLIN) {
                const ssize_t got = read(line_.Master(), buffer, sizeof buffer);
                if (got > 0 && !Take(buffer, static_cast<std::size_t>(got)))
                    return;
                if (got < 0 && errno != EAGAIN && errno != EINTR) {
                    Warn(std::string("line failed: ") + std::strerror(errno));
                    return;
                }
            }
            if (model_.HasPartialFrame() && Clock::now() - lastReceived_ >= PartialFrameTimeout) {
                model_.DropPartialFrame();
                PrintNotes();
            }
            SendDueWrites();
            SendFlood();
        }
    }

private:
    // Returns false when the line has been hung up.
    bool Take(const std::uint8_t* bytes, std::size_t count)
    {
        log_.Write(bytes, count, 1);
        lastReceived_ = Clock::now();
        if (HangupDue()) {
            Warn("hanging up after " + std::to_string(model_.FramesServed()) + " frames");
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
    bool Listening() const
    {
        return flood_ == Flood::Done || (flood_ == Flood::Armed && model_.FramesServed() < settings_.floodAfter);
    }

    // The flood starts once the answers before it have gone out.
    void StartFloodWhenDue()
    {
        if (flood_ != Flood::Armed || Listening() || !writes_.empty())
            return;
        flood_ = Flood::Running;
        floodEnd_ = Clock::now() + std::chrono::milliseconds(settings_.floodMs);
        Warn("sending junk for " + std::to_string(settings_.floodMs) + " ms");
    }

    // One chunk of junk per pass while the host's side has room; a full side (EAGAIN) waits in poll.
    void SendFlood()
    {
        if (flood_ != Flood::Running)
            return;
        if (Clock::now() >= floodEnd_) {
            flood_ = Flood::Done;
            Warn("junk ended, serving again");
            return;
        }
        static const Bytes junk(FloodChunk, FloodByte);
        const ssize_t written = write(line_.Master(), junk.data(), junk.size());
        if (written > 0)
            log_.Write(junk.data(), static_cast<std::size_t>(written), 0);
    }

    bool HangupDue() const
    {
        return settings_.hangupAfter >= 0 && model_.FramesServed() >= settings_.hangupAfter && writes_.empty();
    }

    void Schedule(const ModuleAnswer& moduleAnswer)
    {
        const Bytes& answer = moduleAnswer.bytes;
        Clock::time_point due = Clock::now() + std::chrono::milliseconds(settings_.delayMs);
        if (answer.size() > ModuleFrame::FrameType && answer[ModuleFrame::FrameType] == IoData)
            due += std::chrono::milliseconds(settings_.ioDelayMs);
        if (moduleAnswer.kind && settings_.lateKinds.count(*moduleAnswer.kind) != 0)
            due += std::chrono::milliseconds(settings_.lateMs);
        if (!writes_.empty() && writes_.back().due > due)
            due = writes_.back().due;
        if (settings_.splitMs < 0 || answer.size() < 2) {
            writes_.push_back({due, answer});
            return;
        }
        const std::size_t half = answer.size() / 2;
        const std::size_t first = settings_.splitAt > 0
            ? std::min(static_cast<std::size_t>(settings_.splitAt), answer.size() - 1) : half;
        writes_.push_back({due, Bytes(answer.begin(), answer.begin() + static_cast<std::ptrdiff_t>(first))});
        writes_.push_back({due + std::chrono::milliseconds(settings_.splitMs),
                           Bytes(answer.begin() + static_cast<std::ptrdiff_t>(first), answer.end())});
    }

    void SendDueWrites()
    {
        while (!writes_.empty() && writes_.front().due <= Clock::now()) {
            const Bytes bytes = std::move(writes_.front().bytes);
            writes_.pop_front();
            const ssize_t written = write(line_.Master(), bytes.data(), bytes.size());
            if (written > 0)
                log_.Write(bytes.data(), static_cast<std::size_t>(written), 0);
            if (written < static_cast<ssize_t>(bytes.size()))
                Warn("the host does not take the answer; " + std::to_string(bytes.size()) + " bytes dropped");
        }
    }

    int Timeout() const
    {
        Clock::time_point next = Clock::time_point::max();
        if (!writes_.empty())
            next = writes_.front().due;
        if (model_.HasPartialFrame())
            next = std::min(next, lastReceived_ + PartialFrameTimeout);
        if (flood_ == Flood::Running)
            next = std::min(next, floodEnd_);
        if (next == Clock::time_point::max())
            return -1;
        const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(next - Clock::now()).count();
        return wait <= 0 ? 0 : static_cast<int>(wait) + 1;
    }

    void PrintNotes()
    {
        for (const std::string& note : model_.TakeNotes())
            Warn(note);
    }

    const SimSettings& settings_;
    ModuleModel model_;
    VirtualLine& line_;
    TrafficLog& log_;
    std::deque<TimedWrite> writes_;
    Clock::time_point lastReceived_ = Clock::now();
    enum class Flood { Armed, Running, Done };
    Flood flood_;
    Clock::time_point floodEnd_;
};

bool InstallSignalHandlers()
{
    if (pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    return true;
}

} // namespace
} // namespace trelmo

int main(int argc, char** argv)
{
    using namespace trelmo;
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("trelmo-sim"));

    QCommandLineParser parser;
    AddSimOptions(parser);
    SimSettings settings;
    QString error;
    if (!parser.parse(QCoreApplication::arguments()))
        error = parser.errorText();
    else if (parser.isSet(QStringLiteral("help"))) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return EXIT_SUCCESS;
    } else
        ReadSimOptions(parser, settings, &error);
    if (!error.isEmpty()) {
        Warn(error.toStdString());
        return 2;
    }

    if (settings.exitWithParent) {
        const pid_t parent = getppid();
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent)
            return EXIT_SUCCESS;
    }
    if (!InstallSignalHandlers()) {
        Warn("cannot install signal handlers");
        return EXIT_FAILURE;
    }
    TrafficLog log;
    if (!log.Open(settings.logPath)) {
        Warn("cannot write " + settings.logPath.toStdString());
        return EXIT_FAILURE;
    }
    VirtualLine line;
    if (!line.Open())
        return EXIT_FAILURE;
    RegistryLink link;
    link.Create(settings.name, line.SlavePath());

    std::printf("%s\n", line.SlavePath().c_str());
    std::fflush(stdout);

    Server(settings, line, log).Run();
    return EXIT_SUCCESS;
}

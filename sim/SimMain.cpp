// trelmo-sim: the virtual module. Takes its name in the registry (refusing while a module of that name runs), opens
// a pseudo-terminal, prints its slave device path, registers it, and serves the host through SimServer until a
// signal (or a hang-up scenario) ends it.

#include "PortRegistry.h"
#include "RuntimeFolder.h"
#include "SimOptions.h"
#include "SimServer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace trelmo {
namespace {

int signalPipe[2] = {-1, -1};

void OnSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = write(signalPipe[1], &byte, 1);
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
class VirtualLine : public SimLine {
public:
    ~VirtualLine() override { HangUp(); }

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
    int HostBaudRate() const override
    {
        termios settings{};
        if (master_ < 0 || tcgetattr(master_, &settings) != 0)
            return 0;
        return BaudOf(cfgetospeed(&settings));
    }

    void HangUp() override
    {
        if (slave_ >= 0)
            close(slave_);
        if (master_ >= 0)
            close(master_);
        slave_ = master_ = -1;
    }

    int Descriptor() const override { return master_; }
    const std::string& SlavePath() const { return slavePath_; }

private:
    bool Fail(const std::string& text)
    {
        SimWarn(text + ": " + std::strerror(errno));
        HangUp();
        return false;
    }

    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
};

// <registry>/<name> -> device while the module runs. Replaced atomically, so a link left by a killed module of
// the same name goes; removed at the end only while it still points at this module's device.
class RegistryLink {
public:
    ~RegistryLink() { Remove(); }

    bool Create(const QString& registry, const QString& name, const std::string& target)
    {
        const std::string link = QDir(registry).filePath(name).toStdString();
        const std::string temporary =
            QDir(registry).filePath(QStringLiteral(".%1.%2").arg(name).arg(getpid())).toStdString();
        unlink(temporary.c_str());
        if (symlink(target.c_str(), temporary.c_str()) != 0 || rename(temporary.c_str(), link.c_str()) != 0) {
            SimWarn("cannot register " + link + ": " + std::strerror(errno));
            unlink(temporary.c_str());
            return false;
        }
        link_ = link;
        target_ = target;
        return true;
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

std::string FolderProblemText(const RuntimeFolder& folder)
{
    switch (folder.problem) {
    case FolderProblem::NotAFolder:
        return "it is not a folder, or it is a link";
    case FolderProblem::OwnedByAnotherUser:
        return "it belongs to another user";
    case FolderProblem::OpenToOthers:
        return "other users have access to it";
    case FolderProblem::CannotCreate:
    case FolderProblem::None:
        break;
    }
    return std::strerror(folder.systemError);
}

// Takes the module's name in the registry of the private folder: the lock beside its link, held until the process
// ends. False, with the reason said, when the folder cannot be used or a module of that name is running.
bool ClaimName(const QString& name, ModuleNameClaim& claim, QString& registry)
{
    const RuntimeFolder folder = UserRuntimeFolder();
    if (!folder.IsUsable()) {
        SimWarn("cannot use the private folder " + folder.path.toStdString() + ": " + FolderProblemText(folder));
        return false;
    }
    registry = folder.FilePath(QStringLiteral("ports"));
    if (mkdir(QFile::encodeName(registry).constData(), S_IRWXU) != 0 && errno != EEXIST) {
        SimWarn("cannot create " + registry.toStdString() + ": " + std::strerror(errno));
        return false;
    }
    switch (claim.Claim(registry, name)) {
    case FileLock::Outcome::Acquired:
        return true;
    case FileLock::Outcome::HeldElsewhere:
        SimWarn("a virtual module named " + name.toStdString() + " is already running");
        return false;
    case FileLock::Outcome::NotARegularFile:
        SimWarn("cannot use the lock file " + claim.LockPath().toStdString() + ": it is not a regular file");
        return false;
    case FileLock::Outcome::CannotOpen:
        break;
    }
    SimWarn("cannot use the lock file " + claim.LockPath().toStdString() + ": " + std::strerror(claim.SystemError()));
    return false;
}

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
        SimWarn(error.toStdString());
        return 2;
    }

    if (settings.exitWithParent) {
        const pid_t parent = getppid();
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent)
            return EXIT_SUCCESS;
    }
    if (!InstallSignalHandlers()) {
        SimWarn("cannot install signal handlers");
        return EXIT_FAILURE;
    }
    TrafficLog log;
    if (!log.Open(settings.logPath)) {
        SimWarn("cannot write " + settings.logPath.toStdString());
        return EXIT_FAILURE;
    }
    ModuleNameClaim nameClaim;
    QString registry;
    if (!ClaimName(settings.name, nameClaim, registry))
        return EXIT_FAILURE;
    VirtualLine line;
    if (!line.Open())
        return EXIT_FAILURE;
    RegistryLink link;
    if (link.Create(registry, settings.name, line.SlavePath()) && !nameClaim.Announce())
        SimWarn("cannot announce " + settings.name.toStdString() + ": " + std::strerror(nameClaim.SystemError()));

    std::printf("%s\n", line.SlavePath().c_str());
    std::fflush(stdout);

    SystemSimEnvironment environment;
    SimServer(settings, line, log, environment, signalPipe[0]).Run();
    return EXIT_SUCCESS;
}

#pragma once
// Runs the virtual module ($TRELMO_SIM) for a test: starts it with a traffic log in a temporary file, reads the
// device path it prints, and stops it with SIGTERM. The module always runs with XDG_RUNTIME_DIR pointed at a
// temporary directory (the active RuntimeDir, else one of its own), so its registry link never touches a developer's
// own runtime directory. TrafficLog.h reads the bytes of its traffic log.
//
//   SimProcess sim;
//   ASSERT_TRUE(sim.Start({"--mode", "9600"})) << sim.ErrorText();
//   port.OpenSerialPort(sim.DevicePath(), 9600);
//   ...
//   ASSERT_TRUE(sim.WaitForLogLines(2, 2000));
//   EXPECT_EQ(sim.LogLines()[1], "0AA ");

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <string>
#include <vector>

namespace trelmo::testing {

class SimProcess {
public:
    SimProcess();
    ~SimProcess(); // stops the module
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // Starts the module with these arguments (plus --log and --exit-with-parent) and waits up to timeoutMs for
    // its device path. False with ErrorText() when it cannot start or prints no path.
    bool Start(const QStringList& arguments = {}, int timeoutMs = 10000);
    // SIGTERM, then waits for the end (SIGKILL after 5 s). Returns the exit code, -1 if it did not end normally.
    int Stop();
    bool IsRunning() const;
    qint64 ProcessId() const { return process_.processId(); }

    const std::string& DevicePath() const { return devicePath_; }
    QString LogPath() const;
    // Lines of the traffic log so far ("1..." from the host, "0..." from the module), without line ends.
    std::vector<std::string> LogLines() const;
    // Waits until the log holds at least count lines; false on time-out.
    bool WaitForLogLines(std::size_t count, int timeoutMs) const;
    // Waits until the module has ended by itself; false on time-out.
    bool WaitForExit(int timeoutMs);
    // What the module wrote to stderr so far (its notes on dropped frames and the like).
    QString StandardError() const;
    QString ErrorText() const { return error_; }

    // $TRELMO_SIM, else trelmo-sim beside the test executable, else empty.
    static QString Executable();

private:
    QString ErrorPath() const;

    QProcess process_;
    QTemporaryDir workDir_;
    std::string devicePath_;
    QString error_;
};

} // namespace trelmo::testing

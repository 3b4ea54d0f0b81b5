// The cyclic exchange of the real main window (offscreen) against the virtual module at 115200 bit/s, with a full
// write frame (244 bytes) and a full read grid (250 bytes): the start-to-start period of the cycles and the tool's
// CPU time per cycle. Run by hand:
//
//   trelmo-cycle-bench [cycles] [path of trelmo-sim] [9600|115200]
//
// (defaults: 100 cycles, trelmo-sim beside this program). With a rate the line is paced as a UART at that rate on
// both sides, so the period holds the frames' wire time as on a real line.
//
// The cycles run on the link's thread. The period is measured from the start of one cycle (the link asking for its
// input) to the start of the next. CPU time is reported twice: the link thread's CPU time for each cycle (the fixed
// waits are sleeps and cost none), read from the scheduler's account of that thread, and the whole process's CPU
// time over the run divided by the cycles, which adds everything the window did for the cycles (handing over the
// write data, repainting the grids) and between them.

#include "BenchWindow.h"
#include "MainDialog.h"
#include "PacedBackend.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using namespace trelmo;

constexpr int BenchWriteLength = 244;
constexpr int BenchReadLength = 250;
constexpr int WarmUpCycles = 3;

// The scheduler's account of the thread the link controller names, in seconds of CPU; negative when no such thread
// runs or the system keeps no account.
class ThreadCpuClock {
public:
    explicit ThreadCpuClock(const QString& threadName) : threadName_(threadName) {}

    double Seconds()
    {
        if (accountPath_.isEmpty())
            accountPath_ = FindAccount();
        QFile account(accountPath_);
        if (accountPath_.isEmpty() || !account.open(QIODevice::ReadOnly))
            return -1;
        // The first field is the time on the CPU in nanoseconds.
        bool ok = false;
        const double nanoseconds = account.readLine().split(' ').value(0).toDouble(&ok);
        return ok ? nanoseconds * 1e-9 : -1;
    }

private:
    QString FindAccount() const
    {
        const QDir tasks(QStringLiteral("/proc/self/task"));
        for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            QFile name(tasks.filePath(task + QStringLiteral("/comm")));
            if (name.open(QIODevice::ReadOnly) && QString::fromLocal8Bit(name.readAll()).trimmed() == threadName_)
                return tasks.filePath(task + QStringLiteral("/schedstat"));
        }
        return {};
    }

    QString threadName_;
    QString accountPath_;
};

// Records when each cycle starts and ends and the link thread's CPU time between the ends of two cycles (it does
// nothing else while cycling). Runs on the window's thread, after the window has taken in each signal.
class CycleRecorder : public QObject {
public:
    CycleRecorder(CMainDialog& window, int cycles) : wanted_(cycles + WarmUpCycles)
    {
        connect(&window.Link(), &LinkController::CycleInputWanted, this, [this] { CycleStarted(); });
        connect(&window.Link(), &LinkController::CycleFinished, this,
                [this](const IoCycleOutcome& outcome) { CycleEnded(outcome); });
        lastLinkCpu_ = linkCpu_.Seconds(); // the link thread runs from the window's start
    }

    std::vector<double> Periods() const
    {
        std::vector<double> periods;
        const std::size_t measuredStarts = std::min(starts_.size(), static_cast<std::size_t>(ended_));
        for (std::size_t i = WarmUpCycles + 1; i < measuredStarts; ++i)
            periods.push_back(starts_[i] - starts_[i - 1]);
        return periods;
    }
    std::vector<double> CycleCpu() const { return AfterWarmUp(cpu_); }
    std::vector<double> CycleDurations() const { return AfterWarmUp(durations_); }
    double ProcessCpuOverMeasuredCycles() const { return processCpuEnd_ - processCpuStart_; }
    int MeasuredCycles() const { return std::max(0, ended_ - WarmUpCycles); }
    bool LinkLost() const { return linkLost_; }

private:
    void CycleStarted() { starts_.push_back(Seconds(CLOCK_MONOTONIC)); }

    void CycleEnded(const IoCycleOutcome& outcome)
    {
        const double linkCpu = linkCpu_.Seconds();
        if (linkCpu >= 0 && lastLinkCpu_ >= 0)
            cpu_.push_back(linkCpu - lastLinkCpu_);
        lastLinkCpu_ = linkCpu;
        if (!starts_.empty())
            durations_.push_back(Seconds(CLOCK_MONOTONIC) - starts_.back());
        ++ended_;
        if (ended_ == WarmUpCycles)
            processCpuStart_ = ProcessCpuSeconds();
        linkLost_ = outcome.linkLost;
        if (ended_ == wanted_ || linkLost_) {
            processCpuEnd_ = ProcessCpuSeconds();
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
    }

    static std::vector<double> AfterWarmUp(const std::vector<double>& values)
    {
        return std::vector<double>(values.begin() + std::min<std::size_t>(WarmUpCycles, values.size()), values.end());
    }

    int wanted_;
    int ended_ = 0;
    bool linkLost_ = false;
    ThreadCpuClock linkCpu_{QStringLiteral("trelmo-link")};
    double lastLinkCpu_ = -1;
    double processCpuStart_ = 0;
    double processCpuEnd_ = 0;
    std::vector<double> starts_;
    std::vector<double> cpu_;
    std::vector<double> durations_;
};

} // namespace

int main(int argc, char** argv)
{
    PreferOffscreenPlatform();
    QApplication application(argc, argv);
    int cycles = 0;
    QString simulator;
    if (!ReadCycleArguments(argc, argv, 2, cycles, simulator))
        return 2;

    // A third argument, 9600 or 115200, runs on a paced line at that rate: the module as a UART (--wire) and the
    // host's drain waiting for the wire.
    const int pacedRate = argc > 3 ? std::atoi(argv[3]) : 0;
    if (pacedRate != 0 && pacedRate != 9600 && pacedRate != 115200) {
        std::fprintf(stderr, "the paced line runs at 9600 or 115200 bit/s\n");
        return 2;
    }
    const int lineSpeed = pacedRate != 0 ? pacedRate : BenchLineSpeed;
    const OperatingMode mode = lineSpeed == 9600 ? OperatingMode::Uart9600 : OperatingMode::Uart115200;
    QStringList options{"--read-length", QString::number(BenchReadLength), "--config-at", "0", "--param-at", "0"};
    if (pacedRate != 0)
        options << "--wire";

    PrintMessagesOnStderr();
    CMainDialog window(nullptr, pacedRate != 0 ? std::make_unique<testing::PacedBackend>() : MakeQtSerialBackend());
    window.WriteLengthEdit()->setText(QString::number(BenchWriteLength));
    CycleRecorder recorder(window, cycles);
    QProcess module;
    if (const int status = StartAndConnect(module, simulator, options, window, mode))
        return status;
    application.exec();
    DisconnectAndStopModule(window, module);

    const std::vector<double> periods = recorder.Periods();
    const std::vector<double> cpu = recorder.CycleCpu();
    const std::vector<double> durations = recorder.CycleDurations();
    if (cpu.empty())
        std::fprintf(stderr, "no CPU account of the link thread\n");
    // The write frame's time on the line adds to the period; the answer crosses the line during the 300 ms the
    // tool waits for it, so its own time adds nothing while it fits that wait.
    const double transferMs = 1000.0 * (BenchWriteLength + 6) * 10 / lineSpeed;
    std::printf("cycles measured            %d (after %d warm-up cycles)\n", recorder.MeasuredCycles(),
                WarmUpCycles);
    std::printf("read grid / write frame    %d cells / %d data bytes, %d bit/s\n", BenchReadLength, BenchWriteLength,
                lineSpeed);
    std::printf("period start to start      median %.1f ms, min %.1f, p90 %.1f, max %.1f\n",
                1000 * Percentile(periods, 0.5), 1000 * Percentile(periods, 0), 1000 * Percentile(periods, 0.9),
                1000 * Percentile(periods, 1));
    std::printf("cycle duration             median %.1f ms\n", 1000 * Percentile(durations, 0.5));
    std::printf("target period              600 ms of waits + %.1f ms of the write frame on the line = %.1f ms "
                "(+-5%%: %.1f..%.1f)\n",
                transferMs, 600 + transferMs, 0.95 * (600 + transferMs), 1.05 * (600 + transferMs));
    std::printf("link thread CPU per cycle  median %.3f ms, p90 %.3f, max %.3f\n", 1000 * Percentile(cpu, 0.5),
                1000 * Percentile(cpu, 0.9), 1000 * Percentile(cpu, 1));
    std::printf("process CPU per cycle      %.3f ms (all threads, everything between cycles included)\n",
                1000 * recorder.ProcessCpuOverMeasuredCycles() / std::max(1, recorder.MeasuredCycles()));
    if (recorder.LinkLost()) {
        std::fprintf(stderr, "the link was lost after %d cycles\n", recorder.MeasuredCycles());
        return 1;
    }
    return 0;
}

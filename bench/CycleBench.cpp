// The cyclic exchange of the real main window (offscreen) against the virtual module at 115200 bit/s, with a full
// write frame (244 bytes) and a full read grid (250 bytes): the start-to-start period of the cycles and the tool's
// CPU time per cycle. Run by hand:
//
//   trelmo-cycle-bench [cycles] [path of trelmo-sim]       (defaults: 100, trelmo-sim beside this program)
//
// The period is measured from timer tick to timer tick. CPU time is reported twice: the thread's CPU time inside
// each cycle (the fixed waits are sleeps and cost none), and the whole process's CPU time over the run divided by
// the cycles, which adds everything the event loop did between cycles (repainting the grids, the timer itself).

#include "BenchWindow.h"
#include "MainDialog.h"

#include <QApplication>
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

// Records when each timer-driven cycle starts and how much CPU the thread spent inside it.
class CycleRecorder : public QObject {
public:
    CycleRecorder(CMainDialog& window, int cycles) : window_(window), wanted_(cycles + WarmUpCycles)
    {
        window.ExchangeTimer().installEventFilter(this);
        // Connected after the window's own slot, so it runs when the cycle has ended.
        connect(&window.ExchangeTimer(), &QTimer::timeout, this, [this] { CycleEnded(); });
    }

    bool Done() const { return static_cast<int>(starts_.size()) >= wanted_; }
    std::vector<double> Periods() const
    {
        std::vector<double> periods;
        for (std::size_t i = WarmUpCycles + 1; i < starts_.size(); ++i)
            periods.push_back(starts_[i] - starts_[i - 1]);
        return periods;
    }
    std::vector<double> CycleCpu() const
    {
        return std::vector<double>(cpu_.begin() + std::min<std::size_t>(WarmUpCycles, cpu_.size()), cpu_.end());
    }
    std::vector<double> CycleDurations() const
    {
        return std::vector<double>(durations_.begin() + std::min<std::size_t>(WarmUpCycles, durations_.size()),
                                   durations_.end());
    }
    double ProcessCpuOverMeasuredCycles() const { return processCpuEnd_ - processCpuStart_; }
    int MeasuredCycles() const { return static_cast<int>(starts_.size()) - WarmUpCycles; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &window_.ExchangeTimer() && event->type() == QEvent::Timer) {
            startWall_ = Seconds(CLOCK_MONOTONIC);
            startCpu_ = Seconds(CLOCK_THREAD_CPUTIME_ID);
            if (static_cast<int>(starts_.size()) == WarmUpCycles)
                processCpuStart_ = ProcessCpuSeconds();
            starts_.push_back(startWall_);
        }
        return false;
    }

private:
    void CycleEnded()
    {
        cpu_.push_back(Seconds(CLOCK_THREAD_CPUTIME_ID) - startCpu_);
        durations_.push_back(Seconds(CLOCK_MONOTONIC) - startWall_);
        if (Done()) {
            processCpuEnd_ = ProcessCpuSeconds();
            window_.ExchangeTimer().stop();
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
    }

    CMainDialog& window_;
    int wanted_;
    double startWall_ = 0;
    double startCpu_ = 0;
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

    CMainDialog window;
    window.WriteLengthEdit()->setText(QString::number(BenchWriteLength));
    CycleRecorder recorder(window, cycles);
    QProcess module;
    if (const int status = StartAndConnect(
            module, simulator,
            {"--read-length", QString::number(BenchReadLength), "--config-at", "0", "--param-at", "0"}, window))
        return status;
    application.exec();

    const std::vector<double> periods = recorder.Periods();
    const std::vector<double> cpu = recorder.CycleCpu();
    const std::vector<double> durations = recorder.CycleDurations();
    const double transferMs = 1000.0 * (BenchWriteLength + 6 + BenchReadLength + 6) * 10 / BenchLineSpeed;
    std::printf("cycles measured            %d (after %d warm-up cycles)\n", recorder.MeasuredCycles(),
                WarmUpCycles);
    std::printf("read grid / write frame    %d cells / %d data bytes, %d bit/s\n", BenchReadLength, BenchWriteLength,
                BenchLineSpeed);
    std::printf("period start to start      median %.1f ms, min %.1f, p90 %.1f, max %.1f\n",
                1000 * Percentile(periods, 0.5), 1000 * Percentile(periods, 0), 1000 * Percentile(periods, 0.9),
                1000 * Percentile(periods, 1));
    std::printf("cycle duration (in timer)  median %.1f ms\n", 1000 * Percentile(durations, 0.5));
    std::printf("target period              600 ms of waits + %.1f ms transfer at the line speed = %.1f ms "
                "(+-5%%: %.1f..%.1f)\n",
                transferMs, 600 + transferMs, 0.95 * (600 + transferMs), 1.05 * (600 + transferMs));
    std::printf("CPU inside a cycle         median %.3f ms, p90 %.3f, max %.3f\n", 1000 * Percentile(cpu, 0.5),
                1000 * Percentile(cpu, 0.9), 1000 * Percentile(cpu, 1));
    std::printf("process CPU per cycle      %.3f ms (all threads, everything between cycles included)\n",
                1000 * recorder.ProcessCpuOverMeasuredCycles() / std::max(1, recorder.MeasuredCycles()));
    window.Session().Port().CloseSerialPort();
    module.terminate();
    module.waitForFinished(3000);
    return 0;
}

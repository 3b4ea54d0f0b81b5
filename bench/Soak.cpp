// A long run of the real main window (offscreen) against the virtual module at 115200 bit/s: a full read grid, a
// write length of 244, configuration and parameter data handed over every 5th cycle and an application data object
// named every 7th, and one Message Display window open. Every minute it samples the tool's resident memory and CPU
// time; at the end it reports cycles run and lost, memory at the start and end and its slope. Run by scripts/soak.sh:
//
//   trelmo-soak HOURS [path of trelmo-sim] [samples.csv] [--paused]
//
// With --paused the Message Display window is paused as soon as it opens: it stays open but keeps no lines, so the
// memory slope is that of everything else.
//
// A cycle is lost when the link arms the next cycle at its retry interval (the module's answer was missing or not a
// whole, intact frame) or the link was lost. The Message Display list grows by design; its storage is estimated
// from its lines and reported apart, so the slope without it shows what else grows.

#include "AppDataObjectTable.h"
#include "BenchWindow.h"
#include "IoExchange.h"
#include "MainDialog.h"
#include "MessageDisplayDialog.h"

#include <QApplication>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

using namespace trelmo;

constexpr int SoakWriteLength = 244;
constexpr int SoakReadLength = 250;
constexpr int SampleSeconds = 60;
constexpr double SettleHours = 10.0 / 60.0; // memory before this is warm-up, not growth
// The allocator's own header of a line's characters.
constexpr double AllocationOverheadBytes = 16;

struct Sample {
    double hours = 0;
    long cycles = 0;
    long lost = 0;
    double residentMb = 0;
    double cpuSeconds = 0;
    long lines = 0;
    double listMb = 0;
};

double ResidentMegabytes()
{
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// Least-squares slope of y over x.
double Slope(const std::vector<double>& x, const std::vector<double>& y)
{
    const std::size_t n = x.size();
    if (n < 2)
        return 0;
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (std::size_t i = 0; i < n; ++i) {
        sx += x[i];
        sy += y[i];
        sxx += x[i] * x[i];
        sxy += x[i] * y[i];
    }
    const double denominator = static_cast<double>(n) * sxx - sx * sx;
    return denominator == 0 ? 0 : (static_cast<double>(n) * sxy - sx * sy) / denominator;
}

class SoakRun : public QObject {
public:
    SoakRun(CMainDialog& window, double hours, std::FILE* csv) : window_(window), hours_(hours), csv_(csv)
    {
        // Connected after the window's own slot, so it runs once the window has taken in the cycle.
        connect(&window.Link(), &LinkController::CycleFinished, this,
                [this](const IoCycleOutcome& outcome) { CycleEnded(outcome); });
        connect(&sampler_, &QTimer::timeout, this, [this] { TakeSample(); });
        sampler_.start(SampleSeconds * 1000);
        started_ = Seconds(CLOCK_MONOTONIC);
        TakeSample();
    }

    const std::vector<Sample>& Samples() const { return samples_; }

private:
    void CycleEnded(const IoCycleOutcome& outcome)
    {
        ++cycles_;
        if (outcome.linkLost || outcome.timerIntervalMs == IoRetryIntervalMs)
            ++lost_;
        if (outcome.linkLost)
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }

    void TakeSample()
    {
        Sample sample;
        sample.hours = (Seconds(CLOCK_MONOTONIC) - started_) / 3600.0;
        sample.cycles = cycles_;
        sample.lost = lost_;
        sample.residentMb = ResidentMegabytes();
        sample.cpuSeconds = ProcessCpuSeconds();
        MeasureDisplayList(sample);
        samples_.push_back(sample);
        std::fprintf(csv_, "%.4f,%ld,%ld,%.2f,%.1f,%ld,%.2f\n", sample.hours, sample.cycles, sample.lost,
                     sample.residentMb, sample.cpuSeconds, sample.lines, sample.listMb);
        std::fflush(csv_);
        if (sample.hours >= hours_)
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }

    // The lines the open Message Display window holds and their storage.
    void MeasureDisplayList(Sample& sample) const
    {
        const auto displays = window_.findChildren<CMessageDisplayDialog*>();
        if (displays.isEmpty())
            return;
        const auto* model = qobject_cast<const DisplayLineModel*>(displays.front()->LineList()->model());
        if (!model)
            return;
        sample.lines = static_cast<long>(model->Count());
        double bytes = 0;
        for (const LogEntry& entry : model->Entries())
            bytes += static_cast<double>(sizeof(LogEntry) + entry.line.capacity() + 1) + AllocationOverheadBytes;
        sample.listMb = bytes / (1024.0 * 1024.0);
    }

    CMainDialog& window_;
    double hours_;
    std::FILE* csv_;
    QTimer sampler_;
    double started_ = 0;
    long cycles_ = 0;
    long lost_ = 0;
    std::vector<Sample> samples_;
};

void Report(const std::vector<Sample>& samples)
{
    if (samples.size() < 2) {
        std::printf("too few samples\n");
        return;
    }
    const Sample& first = samples.front();
    const Sample& last = samples.back();
    std::vector<double> hours, resident, withoutList;
    const Sample* settled = nullptr;
    for (const Sample& sample : samples) {
        if (sample.hours + 1e-9 < SettleHours)
            continue;
        if (!settled)
            settled = &sample;
        hours.push_back(sample.hours);
        resident.push_back(sample.residentMb);
        withoutList.push_back(sample.residentMb - sample.listMb);
    }
    std::printf("run                        %.2f h, %zu samples\n", last.hours, samples.size());
    std::printf("cycles run / lost          %ld / %ld\n", last.cycles, last.lost);
    std::printf("process CPU                %.1f s (%.2f%% of one core)\n", last.cpuSeconds - first.cpuSeconds,
                100.0 * (last.cpuSeconds - first.cpuSeconds) / std::max(1e-9, (last.hours - first.hours) * 3600));
    std::printf("resident memory            start %.1f MB, after 10 min %.1f MB, end %.1f MB\n", first.residentMb,
                settled ? settled->residentMb : first.residentMb, last.residentMb);
    std::printf("slope after 10 min         %.2f MB/h in all\n", Slope(hours, resident));
    std::printf("                           %.2f MB/h without the Message Display list\n",
                Slope(hours, withoutList));
    if (last.lines > 0)
        std::printf("Message Display list       %ld lines, %.1f MB, %.0f bytes per line\n", last.lines, last.listMb,
                    last.listMb * 1024 * 1024 / static_cast<double>(last.lines));
}

} // namespace

int main(int argc, char** argv)
{
    PreferOffscreenPlatform();
    QApplication application(argc, argv);
    const double hours = argc > 1 ? std::atof(argv[1]) : 0;
    const QString simulator = SimulatorPath(argc, argv, 2);
    if (hours <= 0 || simulator.isEmpty()) {
        std::fprintf(stderr, "usage: trelmo-soak HOURS [path of trelmo-sim] [samples.csv] [--paused]\n");
        return 2;
    }
    std::FILE* csv = argc > 3 ? std::fopen(argv[3], "w") : stdout;
    if (!csv) {
        std::fprintf(stderr, "cannot write %s\n", argv[3]);
        return 2;
    }
    std::fprintf(csv, "hours,cycles,lost,resident_mb,cpu_s,display_lines,display_list_mb\n");

    PrintMessagesOnStderr();
    CMainDialog window;
    window.WriteLengthEdit()->setText(QString::number(SoakWriteLength));
    window.AppDataObjects().Add({1, 1, {0x01, 0x02, 0x03, 0x04}, "01 02 03 04"});
    window.AppDataObjects().Add({2, 3, {0xAA, 0xBB}, "AA BB"});
    QProcess module;
    if (const int status = StartAndConnect(module, simulator,
                                           {"--read-length", QString::number(SoakReadLength), "--config-at", "0",
                                            "--param-at", "0", "--config-every", "5", "--adi-every", "7",
                                            "--adi-list", "1:1,2:3"},
                                           window))
        return status;
    window.Button(MainControl::MessageDisplay)->click();
    const auto displays = window.findChildren<CMessageDisplayDialog*>();
    if (argc > 4 && QByteArray(argv[4]) == "--paused" && !displays.isEmpty())
        displays.front()->TogglePause();
    SoakRun run(window, hours, csv);
    application.exec();

    Report(run.Samples());
    const bool portHeld = window.Link().IsPortOpen();
    DisconnectAndStopModule(window, module);
    if (csv != stdout)
        std::fclose(csv);
    return portHeld ? 0 : 1;
}

// How long the main window's UI thread stays unresponsive, measured by an event-loop probe: a 5 ms timer on the UI
// thread that records how late each tick comes against when it was due. While the thread is blocked the probe
// cannot tick, so a blocked stretch shows up as the lateness of the next tick. Two scenarios, the real main window
// (offscreen) against the virtual module:
//
//   connected   115200 bit/s, a full read grid (250 bytes), a write length of 244, one Message Display window
//               open; the probe runs through the given number of cycles.
//   connecting  the detecting (automatic baud) mode against a module that never answers; the probe runs from the
//               click on Connect until the window has shown its failure message.
//
// Run by scripts/bench.sh:
//
//   trelmo-ui-latency-bench [cycles] [path of trelmo-sim]  (defaults: 100, trelmo-sim beside this program)
//
// Message boxes are taken by a hook instead of being shown, so nothing waits for a click; in the connected scenario
// any message means the exchange failed and the run is reported as failed.

#include "BenchWindow.h"
#include "MainDialog.h"
#include "MessageBoxes.h"
#include "OutcomeTexts.h"
#include "StringTable.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using namespace trelmo;

constexpr int BenchWriteLength = 244;
constexpr int BenchReadLength = 250;
constexpr int ProbeIntervalMs = 5;
// After the connection attempt has ended, the event loop runs this long so that the probe's late tick arrives.
constexpr int SettleMs = 50;

// Ticks on the UI thread and records how late each tick came: against the previous tick plus the interval.
class EventLoopProbe : public QObject {
public:
    EventLoopProbe()
    {
        timer_.setTimerType(Qt::PreciseTimer);
        connect(&timer_, &QTimer::timeout, this, [this] { Tick(); });
    }

    void Start()
    {
        delaysMs_.clear();
        clock_.start();
        lastTickNs_ = 0;
        timer_.start(ProbeIntervalMs);
    }
    void Stop() { timer_.stop(); }
    const std::vector<double>& DelaysMs() const { return delaysMs_; }

private:
    void Tick()
    {
        const qint64 now = clock_.nsecsElapsed();
        const qint64 due = lastTickNs_ + qint64{ProbeIntervalMs} * 1000000;
        delaysMs_.push_back(static_cast<double>(std::max<qint64>(0, now - due)) / 1e6);
        lastTickNs_ = now;
    }

    QTimer timer_;
    QElapsedTimer clock_;
    qint64 lastTickNs_ = 0;
    std::vector<double> delaysMs_;
};

// Ends the event loop when the window has taken in the given number of cycles, or when the link was lost.
class CycleCounter : public QObject {
public:
    CycleCounter(CMainDialog& window, int cycles) : wanted_(cycles)
    {
        // Connected after the window's own slot, so it runs once the window has taken in the cycle.
        connect(&window.Link(), &LinkController::CycleFinished, this,
                [this](const IoCycleOutcome& outcome) { CycleEnded(outcome); });
    }
    int Cycles() const { return cycles_; }

private:
    void CycleEnded(const IoCycleOutcome& outcome)
    {
        ++cycles_;
        if (cycles_ == wanted_ || outcome.linkLost)
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }

    int wanted_;
    int cycles_ = 0;
};

void ReportDelays(const char* scenario, const std::vector<double>& delaysMs)
{
    std::printf("%-11s probe ticks %zu: slowest %.1f ms, p99 %.1f ms, median %.2f ms\n", scenario, delaysMs.size(),
                Percentile(delaysMs, 1), Percentile(delaysMs, 0.99), Percentile(delaysMs, 0.5));
}

int RunConnected(const QString& simulator, int cycles, const std::vector<QString>& messages)
{
    CMainDialog window;
    window.WriteLengthEdit()->setText(QString::number(BenchWriteLength));
    QProcess module;
    if (const int status = StartAndConnect(
            module, simulator,
            {"--read-length", QString::number(BenchReadLength), "--config-at", "0", "--param-at", "0"}, window))
        return status;
    window.Button(MainControl::MessageDisplay)->click();

    EventLoopProbe probe;
    CycleCounter counter(window, cycles);
    probe.Start();
    qApp->exec();
    probe.Stop();

    const bool failed = counter.Cycles() < cycles || !messages.empty();
    DisconnectAndStopModule(window, module);
    std::printf("connected   %d cycles, %d read / %d write bytes at %d bit/s, one Message Display window open\n",
                counter.Cycles(), BenchReadLength, BenchWriteLength, BenchLineSpeed);
    ReportDelays("connected", probe.DelaysMs());
    if (failed) {
        std::fprintf(stderr, "the exchange failed after %d cycles\n", counter.Cycles());
        return 1;
    }
    return 0;
}

int RunConnecting(const QString& simulator, const std::vector<QString>& messages)
{
    CMainDialog window;
    QProcess module;
    const QString device = StartModule(module, simulator, {"--silent"}, OperatingMode::AutoBaud);
    if (device.isEmpty()) {
        std::fprintf(stderr, "the virtual module did not start\n");
        return 2;
    }
    window.show();
    if (!Configure(window, OperatingMode::AutoBaud)) {
        std::fprintf(stderr, "the configuration dialog did not take the line settings\n");
        return 1;
    }

    // The probe runs from the port dialog's OK (the port open, "Connecting..." shown) until the failure message;
    // building the port dialog, which lists the system's serial ports, comes before and is not connecting.
    EventLoopProbe probe;
    qint64 attemptMs = 0;
    bool connected = false;
    QTimer::singleShot(0, &window, [&] {
        QElapsedTimer attempt;
        connected = ClickConnect(window, device, [&] {
            attempt.start();
            probe.Start();
        });
        attemptMs = attempt.elapsed();
        QTimer::singleShot(SettleMs, qApp, &QCoreApplication::quit);
    });
    qApp->exec();
    probe.Stop();

    DisconnectAndStopModule(window, module);
    std::printf("connecting  automatic baud mode, module silent: attempt %.2f s, %zu message(s)\n",
                static_cast<double>(attemptMs) / 1000.0, messages.size());
    ReportDelays("connecting", probe.DelaysMs());
    const QString failure = LoadText(ConnectionOutcomeText(ConnectionOutcome::AutoBaudFailed));
    if (connected || messages != std::vector<QString>{failure}) {
        std::fprintf(stderr, "expected the automatic baud failure message and no connection\n");
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    PreferOffscreenPlatform();
    QApplication application(argc, argv);
    int cycles = 0;
    QString simulator;
    if (!ReadCycleArguments(argc, argv, 1, cycles, simulator))
        return 2;

    std::vector<QString> messages;
    SetMessageBoxHook([&messages](MessageBoxKind, const QString& text) { messages.push_back(text); });
    std::printf("probe: a %d ms timer on the UI thread; delay = how late each tick came\n", ProbeIntervalMs);
    const int connectedStatus = RunConnected(simulator, cycles, messages);
    messages.clear();
    const int connectingStatus = RunConnecting(simulator, messages);
    return std::max(connectedStatus, connectingStatus);
}

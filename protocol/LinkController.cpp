#include "LinkController.h"

#include "ModuleSession.h"

#include <QTimer>

#include <atomic>
#include <optional>
#include <utility>

namespace trelmo {

constexpr int ReconnectIntervalMs = 1000;

// Lives on the link thread; every member is touched there only, except the two atomic flags.
class LinkWorker : public QObject {
    Q_OBJECT
public:
    LinkWorker(LinkController& controller, std::unique_ptr<SerialBackend> backend)
        : controller_(controller), session_(std::move(backend)), cycleTimer_(this),
          reconnectTimer_(this)
    {
        cycleTimer_.setSingleShot(true);
        cycleTimer_.setTimerType(Qt::PreciseTimer); // the cycle period is the protocol's pacing
        connect(&cycleTimer_, &QTimer::timeout, this, [this] { AskForCycleInput(); });
        reconnectTimer_.setSingleShot(true);
        connect(&reconnectTimer_, &QTimer::timeout, this, [this] { TryToReconnect(); });
    }

    ModuleSession& Session() { return session_; }
    std::atomic<bool>& Stopping() { return stopping_; }
    std::atomic<bool>& DisconnectAsked() { return disconnectAsked_; }

    void OpenPort(const std::string& portName, int baudRate)
    {
        StopReconnecting();
        StopCycles();
        baudRate_ = baudRate;
        const bool opened = session_.Open(portName, baudRate);
        Report(&LinkController::PortOpened, opened ? PortOpenError::None : session_.Port().LastOpenError());
    }

    void Connect(OperatingMode mode, std::int32_t busAddress, bool startCycles)
    {
        StopReconnecting();
        mode_ = mode;
        busAddress_ = busAddress;
        statistics_ = {};
        setAsideBefore_ = session_.Port().WaitingBytesTaken();
        lastCycleStart_.reset();
        const ConnectionResult result = ConnectionSequence(session_.Port(), session_.Sequence(), session_.Log(), mode,
                                                           busAddress, clock_, [this] { return stopping_.load(); });
        if (stopping_)
            return;
        if (result.step != ConnectionOutcome::Online)
            session_.Port().CloseSerialPort();
        Report(&LinkController::ConnectionFinished, result);
        if (result.step == ConnectionOutcome::Online && startCycles)
            StartCycles();
    }

    void StartCycles()
    {
        cycling_ = true;
        AskForCycleInput();
    }

    void StopCycles()
    {
        cycling_ = false;
        pendingCycle_ = 0;
        cycleTimer_.stop();
        lastCycleStart_.reset();
    }

    void Disconnect()
    {
        StopReconnecting();
        StopCycles();
        session_.Port().CloseSerialPort();
        disconnectAsked_ = false;
        Report(&LinkController::Disconnected);
    }

    void SetReconnect(std::optional<PortChoice> choice)
    {
        reconnectChoice_ = std::move(choice);
        if (!reconnectChoice_)
            StopReconnecting();
    }

    void RunCycle(RequestId cycle, const CycleInput& input)
    {
        if (stopping_ || !cycling_ || cycle != pendingCycle_)
            return;
        pendingCycle_ = 0;
        CountCycleStart();
        IoExchangeContext context{session_.Port(), session_.Sequence(), session_.Log(), input.appDataObjects};
        const IoCycleOutcome outcome = ExchangeIoData(context, input.writeData);
        statistics_.CountCycle(outcome.exchange);
        if (outcome.linkLost) {
            StopCycles();
            session_.Port().CloseSerialPort();
            if (reconnectChoice_)
                reconnectTimer_.start(ReconnectIntervalMs);
        } else {
            const bool fast = session_.Port().Timing() == ReceiveTiming::Fast;
            cycleTimer_.start(fast ? 0 : outcome.timerIntervalMs);
        }
        Report(&LinkController::CycleFinished, outcome);
    }

    void ReadModuleInfo(RequestId request)
    {
        const ModuleInfoResult result = trelmo::ReadModuleInfo(session_.Port(), session_.Sequence(), session_.Log());
        Report(&LinkController::ModuleInfoRead, request, result);
    }

    void ReadAttribute(RequestId request, const ObjectAddress& address)
    {
        Report(&LinkController::AttributeAccessed, 
            request, trelmo::ReadAttribute(session_.Port(), session_.Sequence(), session_.Log(), address));
    }

    void WriteAttribute(RequestId request, const ObjectAddress& address, const Bytes& data)
    {
        Report(&LinkController::AttributeAccessed, 
            request, trelmo::WriteAttribute(session_.Port(), session_.Sequence(), session_.Log(), address, data));
    }

    void SetClock(SecondsClock clock) { clock_ = std::move(clock); }


public slots:
    // The last job on the thread: nothing more goes on the wire, the port is closed and the thread ends.
    void Shutdown()
    {
        StopReconnecting();
        StopCycles();
        session_.Port().CloseSerialPort();
        // The controller takes this lock once the thread has ended, so that thread checkers see all the thread did
        // as done before the worker is destroyed (Qt's wait for the thread is invisible to them).
        const std::lock_guard<std::mutex> done(controller_.mutex_);
        thread()->quit();
    }

public slots:
    // Runs the job asked for first and not yet run; dropped once the link is stopping.
    void RunNextJob()
    {
        std::function<void(LinkWorker&)> job = controller_.TakeJob();
        if (job && !stopping_)
            job(*this);
    }

private:
    // Has the controller's thread send the signal with these arguments. The port's state and the statistics are
    // published first, so a front end hearing the signal reads the state the job left.
    template <typename... Params, typename... Args>
    void Report(void (LinkController::*signal)(Params...), const Args&... args)
    {
        controller_.portOpen_ = session_.Port().IsOpen();
        statistics_.setAsideBytes = session_.Port().WaitingBytesTaken() - setAsideBefore_;
        {
            const std::lock_guard<std::mutex> lock(controller_.statisticsMutex_);
            controller_.statistics_ = statistics_;
        }
        LinkController* controller = &controller_;
        controller_.Deliver([controller, signal, args...] { (controller->*signal)(args...); });
    }

    void CountCycleStart()
    {
        const LinkStatistics::Clock::time_point start = LinkStatistics::Clock::now();
        if (lastCycleStart_)
            statistics_.CountPeriod(start - *lastCycleStart_);
        lastCycleStart_ = start;
    }

    // One attempt: the port as chosen, if it is there again, and the module brought on line; else the next in a
    // second. A Disconnect asked meanwhile ends the handshake after its current probe.
    void TryToReconnect()
    {
        const auto abandoned = [this] { return stopping_ || disconnectAsked_; };
        if (!reconnectChoice_ || abandoned())
            return;
        const QString device = LocatePort(*reconnectChoice_);
        if (!device.isEmpty() && session_.Open(device.toStdString(), baudRate_)) {
            const ConnectionResult result = ConnectionSequence(session_.Port(), session_.Sequence(), session_.Log(),
                                                               mode_, busAddress_, clock_, abandoned);
            if (abandoned())
                return; // the Disconnect queued closes the port
            if (result.step == ConnectionOutcome::Online) {
                Report(&LinkController::Reconnected);
                StartCycles();
                return;
            }
            session_.Port().CloseSerialPort();
        }
        reconnectTimer_.start(ReconnectIntervalMs);
    }

    void StopReconnecting() { reconnectTimer_.stop(); }

    void AskForCycleInput()
    {
        if (stopping_ || !cycling_)
            return;
        pendingCycle_ = ++lastCycle_;
        Report(&LinkController::CycleInputWanted, pendingCycle_);
    }

    LinkController& controller_;
    ModuleSession session_;
    QTimer cycleTimer_;
    QTimer reconnectTimer_;
    std::optional<PortChoice> reconnectChoice_;
    int baudRate_ = 0;                     // of the last OpenPort
    OperatingMode mode_ = OperatingMode::AutoBaud; // of the last Connect
    std::int32_t busAddress_ = 0;
    SecondsClock clock_ = SteadyClockSeconds;
    bool cycling_ = false;
    RequestId lastCycle_ = 0;
    RequestId pendingCycle_ = 0; // the cycle waiting for its input; 0 when none
    LinkStatistics statistics_;  // since the last Connect
    std::uint64_t setAsideBefore_ = 0; // the port's count of bytes set aside when Connect began
    std::optional<LinkStatistics::Clock::time_point> lastCycleStart_; // while the cycles run
    std::atomic<bool> stopping_{false};
    std::atomic<bool> disconnectAsked_{false}; // set on the caller's thread, so that a reconnection stops early
};

LinkController::LinkController(std::unique_ptr<SerialBackend> backend, QObject* parent)
    : QObject(parent), worker_(new LinkWorker(*this, std::move(backend)))
{
    thread_.setObjectName(QStringLiteral("trelmo-link"));
    worker_->moveToThread(&thread_);
    thread_.start();
}

LinkController::~LinkController()
{
    worker_->Stopping() = true; // a handshake under way ends after its current probe; queued jobs are dropped
    QMetaObject::invokeMethod(worker_, "Shutdown", Qt::QueuedConnection);
    thread_.wait();
    const std::lock_guard<std::mutex> afterShutdown(mutex_);
    delete worker_; // its thread has ended: nothing runs on it any more
}

// Jobs and results cross between the threads through these queues under a standard mutex, which thread checkers
// see; Qt's queued calls only wake the other side and carry nothing.
void LinkController::Post(std::function<void(LinkWorker&)> job)
{
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        jobs_.push_back(std::move(job));
    }
    QMetaObject::invokeMethod(worker_, "RunNextJob", Qt::QueuedConnection);
}

std::function<void(LinkWorker&)> LinkController::TakeJob()
{
    const std::lock_guard<std::mutex> lock(mutex_);
    if (jobs_.empty())
        return {};
    std::function<void(LinkWorker&)> job = std::move(jobs_.front());
    jobs_.pop_front();
    return job;
}

void LinkController::Deliver(std::function<void()> sendSignal)
{
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        results_.push_back(std::move(sendSignal));
    }
    QMetaObject::invokeMethod(this, "SendNextResult", Qt::QueuedConnection);
}

void LinkController::SendNextResult()
{
    std::function<void()> sendSignal;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (results_.empty())
            return;
        sendSignal = std::move(results_.front());
        results_.pop_front();
    }
    sendSignal();
}

LinkStatistics LinkController::Statistics() const
{
    const std::lock_guard<std::mutex> lock(statisticsMutex_);
    return statistics_;
}

MessageLog& LinkController::Log()
{
    return worker_->Session().Log();
}

void LinkController::OpenPort(const std::string& portName, int baudRate)
{
    Post([portName, baudRate](LinkWorker& w) { w.OpenPort(portName, baudRate); });
}

void LinkController::Connect(OperatingMode mode, std::int32_t busAddress, bool startCycles)
{
    Post([=](LinkWorker& w) { w.Connect(mode, busAddress, startCycles); });
}

void LinkController::StartCycles()
{
    Post([](LinkWorker& w) { w.StartCycles(); });
}

void LinkController::StopCycles()
{
    Post([](LinkWorker& w) { w.StopCycles(); });
}

void LinkController::Disconnect()
{
    worker_->DisconnectAsked() = true;
    Post([](LinkWorker& w) { w.Disconnect(); });
}

void LinkController::SetReconnect(std::optional<PortChoice> choice)
{
    Post([choice](LinkWorker& w) { w.SetReconnect(choice); });
}

void LinkController::ProvideCycleInput(RequestId cycle, const CycleInput& input)
{
    Post([cycle, input](LinkWorker& w) { w.RunCycle(cycle, input); });
}

RequestId LinkController::ReadModuleInfo()
{
    const RequestId request = ++lastRequest_;
    Post([request](LinkWorker& w) { w.ReadModuleInfo(request); });
    return request;
}

RequestId LinkController::ReadAttribute(const ObjectAddress& address)
{
    const RequestId request = ++lastRequest_;
    Post([request, address](LinkWorker& w) { w.ReadAttribute(request, address); });
    return request;
}

RequestId LinkController::WriteAttribute(const ObjectAddress& address, const Bytes& data)
{
    const RequestId request = ++lastRequest_;
    Post([request, address, data](LinkWorker& w) { w.WriteAttribute(request, address, data); });
    return request;
}

void LinkController::SetReceiveTiming(ReceiveTiming timing)
{
    Post([timing](LinkWorker& w) { w.Session().Port().SetReceiveTiming(timing); });
}

void LinkController::SetWaitFunction(WaitFunction wait)
{
    Post([wait](LinkWorker& w) { w.Session().Port().SetWaitFunction(wait); });
}

void LinkController::SetSecondsClock(SecondsClock clock)
{
    Post([clock](LinkWorker& w) { w.SetClock(clock); });
}

} // namespace trelmo

#include "LinkController.moc"

#pragma once
// The one owner of the link to the module. A thread of its own holds the session (port, request counter, frame log)
// and runs every exchange there, one at a time, in the order asked: the connection sequence, the cycles of the I/O
// exchange (with the acknowledgements and application data objects they carry), module information and object
// access. Front ends ask from their own thread and hear the outcomes by signals, sent on the thread that made the
// controller; none of the calls waits.
//
// Each cycle starts by asking for its input (CycleInputWanted) and goes on the wire once the front end answers, so
// that what a cycle sends is what the front end holds when the cycle starts. The next cycle is armed when one ends:
// 300 ms after an answer, 1000 ms after none, at once with the fast receive timing.
//
// With a port choice to reconnect to, a link lost during the cycles is taken up again: once a second the port is
// looked for and opened at the last rate, the connection sequence runs with the last mode and bus address, and the
// cycles resume (Reconnected) until Disconnect.

#include "AppDataObjectTable.h"
#include "ConnectionSteps.h"
#include "IoExchange.h"
#include "LineSettings.h"
#include "LinkStatistics.h"
#include "MessageLog.h"
#include "ModuleInfo.h"
#include "ObjectAccess.h"
#include "PortRegistry.h"
#include "SerialBackend.h"
#include "SerialPort.h"

#include <QObject>
#include <QThread>

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace trelmo {

// What one cycle sends and serves, as the front end holds them when the cycle starts.
struct CycleInput {
    Bytes writeData; // at most 244 bytes go out
    AppDataObjectTable appDataObjects;
};

// Numbers a front end's request, so that it knows its own answer among the signals.
using RequestId = quint64;

class LinkWorker;

class LinkController : public QObject {
    Q_OBJECT
public:
    // The port is opened through backend (the real serial port unless a test passes another).
    explicit LinkController(std::unique_ptr<SerialBackend> backend = MakeQtSerialBackend(), QObject* parent = nullptr);
    // Ends a running handshake, lets the exchange under way finish, closes the port and ends the thread.
    ~LinkController() override;

    // The frame log: appended on the link thread, read from any.
    MessageLog& Log();
    // Whether the port was held when the link last reported; each signal is sent after it is set.
    bool IsPortOpen() const { return portOpen_; }
    // The counts since the last Connect as the link last reported them; like the port's state, they are set
    // before each signal is sent. Safe from any thread.
    LinkStatistics Statistics() const;

    // Each request runs on the link thread after those asked before it.
    void OpenPort(const std::string& portName, int baudRate);                // -> PortOpened
    // The handshake (detecting mode), bus address and on-line request; a failure closes the port. With startCycles
    // the cyclic exchange starts as soon as the module is on line.
    void Connect(OperatingMode mode, std::int32_t busAddress, bool startCycles); // -> ConnectionFinished
    void StartCycles();
    // Stops the cycles; a cycle's exchange under way ends first. The port stays open.
    void StopCycles();
    // Stops the cycles (and the attempts to reconnect) and closes the port; the module is told nothing.
    void Disconnect(); // -> Disconnected
    // Where to reconnect after a lost link; none: a lost link stays lost. Kept until changed.
    void SetReconnect(std::optional<PortChoice> choice);
    // The answer to CycleInputWanted(cycle); a stale answer (cycles stopped since) is ignored.
    void ProvideCycleInput(RequestId cycle, const CycleInput& input);
    RequestId ReadModuleInfo();                                          // -> ModuleInfoRead
    RequestId ReadAttribute(const ObjectAddress& address);               // -> AttributeAccessed
    RequestId WriteAttribute(const ObjectAddress& address, const Bytes& data); // -> AttributeAccessed
    void SetReceiveTiming(ReceiveTiming timing);
    // Tests: the port's fixed waits, and the clock of the handshake's time limit.
    void SetWaitFunction(WaitFunction wait);
    void SetSecondsClock(SecondsClock clock);

signals:
    void PortOpened(trelmo::PortOpenError error); // None when the port is open
    void ConnectionFinished(trelmo::ConnectionResult result);
    void CycleInputWanted(trelmo::RequestId cycle);
    void CycleFinished(trelmo::IoCycleOutcome outcome); // after a lost link no cycle follows and the port is closed
    void Disconnected();
    void Reconnected(); // back on line after a lost link; the cycles resume
    void ModuleInfoRead(trelmo::RequestId request, trelmo::ModuleInfoResult result);
    void AttributeAccessed(trelmo::RequestId request, trelmo::AccessResult result);

private slots:
    // On the controller's thread: sends the oldest signal the link thread reported.
    void SendNextResult();

private:
    void Post(std::function<void(LinkWorker&)> job);
    // The link thread's side of the two queues.
    std::function<void(LinkWorker&)> TakeJob();
    void Deliver(std::function<void()> sendSignal);

    QThread thread_;
    LinkWorker* worker_ = nullptr;
    RequestId lastRequest_ = 0; // counted on the caller's thread
    std::atomic<bool> portOpen_{false};
    std::mutex mutex_;
    std::deque<std::function<void(LinkWorker&)>> jobs_; // guarded by mutex_
    std::deque<std::function<void()>> results_;         // guarded by mutex_
    mutable std::mutex statisticsMutex_;
    LinkStatistics statistics_; // guarded by statisticsMutex_

    friend class LinkWorker;
};

} // namespace trelmo

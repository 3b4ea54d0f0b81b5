#pragma once
// The command-line tool's connection to a module: the same link controller, connection steps and frame log as the
// windows, opened from command-line settings, with the exit statuses a script sees and an optional frame trace.

#include "FrameTrace.h"
#include "LineSettings.h"
#include "LinkAwait.h"
#include "LinkController.h"
#include "LoggedExchange.h"
#include "RuntimeFolder.h"

#include <QString>
#include <QTextStream>

#include <memory>
#include <vector>

namespace trelmo::cli {

// What the process returns.
enum ExitStatus : int {
    ExitOk = 0,
    ExitCheckFailed = 1,   // a result differs from what was expected
    ExitUsage = 2,         // the command line or the test plan is wrong
    ExitPortNotOpened = 3,
    ExitNoAnswer = 4,      // the module did not answer, or the connection failed
    ExitErrorAnswer = 5,   // the module refused with an error frame
    ExitOutputFailed = 6,  // the results could not be written to stdout (a full disk, a closed pipe)
};

// Results go to out, errors to err; json asks for machine-readable results.
struct Output {
    QTextStream& out;
    QTextStream& err;
    bool json = false;
};

// The detecting mode runs its handshake at this rate; the module follows whatever rate the host uses.
constexpr std::int32_t AutoBaudLineRate = 115200;

struct ConnectionOptions {
    QString port; // a device path, or the name of a running virtual module
    OperatingMode mode = OperatingMode::AutoBaud;
    std::int32_t busAddress = 1;
    ReceiveTiming timing = ReceiveTiming::Fixed;
    QString tracePath; // empty: no trace
};

// Why the private folder (the virtual modules' registry) cannot be used, naming it; empty while it can.
QString PrivateFolderProblem(const RuntimeFolder& folder);

// The device behind a port argument: the registered virtual module of that name, else the argument itself. A bare
// name that is neither a running module nor a device under /dev sets problem when the private folder is unusable.
QString ResolvePortName(const QString& port, QString* problem);

// The exit status of an exchange that failed: ExitErrorAnswer when the module refused, ExitNoAnswer otherwise.
int FailureStatus(ExchangeOutcome exchange);

class CliSession {
public:
    explicit CliSession(const ConnectionOptions& options);
    ~CliSession();
    CliSession(const CliSession&) = delete;
    CliSession& operator=(const CliSession&) = delete;

    // Opens the port, then starts the trace (when asked for) and brings the module on line. ExitOk, or the status
    // with the reason written to output.err.
    int Connect(Output& output);

    LinkController& Link() { return link_; }
    // The port as given on the command line.
    const QString& PortArgument() const { return options_.port; }
    // False once the port was lost.
    bool PortHeld() const { return link_.IsPortOpen(); }

    // Writes what was logged so far to the trace (if any), so that it survives a failure later on.
    void FlushTrace();
    // False when a trace was asked for and could not be written whole.
    bool TraceOk() const;

private:
    ConnectionOptions options_;
    LinkController link_;
    MessageLog::Reader reader_;
    std::unique_ptr<FrameTrace> trace_;
};

} // namespace trelmo::cli

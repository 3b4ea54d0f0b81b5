#include "CliSession.h"

#include "Catalogue.h"

#include "ConnectionSteps.h"
#include "PortRegistry.h"
#include "RuntimeFolder.h"

#include <QFileInfo>

#include <algorithm>
#include <cstring>

namespace trelmo::cli {
namespace {

// The reasons the port selection window gives, from the English catalogue.
QString OpenFailureReason(PortOpenError error)
{
    TextId textId = TextId::OpenFailed;
    switch (error) {
    case PortOpenError::NoPermission:
        textId = TextId::NoPermission;
        break;
    case PortOpenError::InUse:
        textId = TextId::PortInUse;
        break;
    case PortOpenError::NoSuchDevice:
        textId = TextId::NoSuchDevice;
        break;
    case PortOpenError::NotSerialDevice:
        textId = TextId::NotSerialDevice;
        break;
    case PortOpenError::None:
    case PortOpenError::Other:
        break;
    }
    return CatalogueText(CatalogueLanguage::English, textId);
}

QString ConnectionFailure(ConnectionOutcome outcome)
{
    switch (outcome) {
    case ConnectionOutcome::AutoBaudFailed:
        return QStringLiteral("Connection failed! ERROR:01 (no 0xAA answer to the baud-rate probe)");
    case ConnectionOutcome::BusAddressFailed:
        return QStringLiteral("Connection failed! ERROR:02 (the bus address request was not answered)");
    case ConnectionOutcome::GoOnlineFailed:
        return QStringLiteral("Connection failed! ERROR:04 (the on-line request was not answered)");
    case ConnectionOutcome::Online:
        break;
    }
    return QString();
}

std::int32_t LineRate(OperatingMode mode)
{
    const std::int32_t fixed = FixedBaudRate(mode);
    return fixed != 0 ? fixed : AutoBaudLineRate;
}

} // namespace

QString PrivateFolderProblem(const RuntimeFolder& folder)
{
    QString reason;
    switch (folder.problem) {
    case FolderProblem::None:
        return QString();
    case FolderProblem::NotAFolder:
        reason = QStringLiteral("it is not a folder, or it is a link");
        break;
    case FolderProblem::OwnedByAnotherUser:
        reason = QStringLiteral("it belongs to another user");
        break;
    case FolderProblem::OpenToOthers:
        reason = QStringLiteral("other users have access to it");
        break;
    case FolderProblem::CannotCreate:
        reason = QString::fromLocal8Bit(std::strerror(folder.systemError));
        break;
    }
    return QStringLiteral("cannot use the private folder %1: %2").arg(folder.path, reason);
}

QString ResolvePortName(const QString& port, QString* problem)
{
    if (port.contains(QLatin1Char('/')))
        return port;
    const QString moduleDevice = LocatePort({PortChoice::Kind::VirtualModule, port});
    if (!moduleDevice.isEmpty())
        return moduleDevice;
    // A bare name is also a device under /dev (ttyUSB0); one that is not may name a module of an unusable registry.
    if (!QFileInfo::exists(QStringLiteral("/dev/") + port))
        *problem = PrivateFolderProblem(UserRuntimeFolder());
    return port;
}

CliSession::CliSession(const ConnectionOptions& options)
    : options_(options), reader_(link_.Log())
{
    link_.SetReceiveTiming(options.timing);
}

CliSession::~CliSession()
{
    FlushTrace();
}

int CliSession::Connect(Output& output)
{
    QString folderProblem;
    const QString device = ResolvePortName(options_.port, &folderProblem);
    if (!folderProblem.isEmpty()) {
        output.err << "trelmo-cli: " << folderProblem << Qt::endl;
        return ExitPortNotOpened;
    }
    const PortOpenError openError =
        AwaitLink(link_, &LinkController::PortOpened, [&] {
            link_.OpenPort(device.toStdString(), LineRate(options_.mode));
        });
    if (openError != PortOpenError::None) {
        output.err << "trelmo-cli: cannot open " << device << ": " << OpenFailureReason(openError) << Qt::endl;
        return ExitPortNotOpened;
    }
    // Only now, so that a port that cannot be opened leaves an earlier trace as it was.
    if (!options_.tracePath.isEmpty()) {
        trace_ = std::make_unique<FrameTrace>();
        if (!trace_->Open(options_.tracePath)) {
            output.err << "trelmo-cli: cannot write the trace " << options_.tracePath << ": " << trace_->ErrorText()
                       << Qt::endl;
            AwaitLink(link_, &LinkController::Disconnected, [&] { link_.Disconnect(); });
            return ExitUsage;
        }
    }
    const ConnectionResult result = AwaitLink(link_, &LinkController::ConnectionFinished, [&] {
        link_.Connect(options_.mode, options_.busAddress, false);
    });
    FlushTrace();
    if (result.step == ConnectionOutcome::Online)
        return ExitOk;
    const int status = FailureStatus(result.exchange);
    output.err << "trelmo-cli: " << ConnectionFailure(result.step)
               << (status == ExitErrorAnswer ? QStringLiteral("; the module answered with an error frame")
                                             : QString())
               << Qt::endl;
    return status;
}

int FailureStatus(ExchangeOutcome exchange)
{
    return exchange == ExchangeOutcome::Refused ? ExitErrorAnswer : ExitNoAnswer;
}

void CliSession::FlushTrace()
{
    const std::vector<LogEntry> entries = reader_.TakeAll();
    if (trace_)
        trace_->Append(entries);
}

bool CliSession::TraceOk() const
{
    return !trace_ || trace_->Ok();
}

} // namespace trelmo::cli

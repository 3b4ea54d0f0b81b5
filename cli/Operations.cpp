#include "Operations.h"

#include "HexText.h"
#include "IoExchange.h"
#include "ObjectAccess.h"

#include <QEventLoop>
#include <QTimer>
#include <QRegularExpression>

namespace trelmo::cli {
namespace {

ObjectAddress AddressOf(const ObjectTarget& target)
{
    return {target.object, target.instance, target.attribute};
}

OperationResult Failure(int status, const QString& error)
{
    return {status, error};
}

QString NoAnswerText(ExchangeOutcome exchange, const QString& what)
{
    switch (exchange) {
    case ExchangeOutcome::NotSent:
        return QStringLiteral("%1 could not be sent").arg(what);
    case ExchangeOutcome::Refused:
        return QStringLiteral("the module refused %1 with an error frame").arg(what);
    case ExchangeOutcome::BrokenAnswer:
        return QStringLiteral("no answer to %1 (only bytes that are not one whole frame with a correct CRC)").arg(what);
    case ExchangeOutcome::NoAnswer:
    case ExchangeOutcome::Answered:
        break;
    }
    return QStringLiteral("no answer to %1").arg(what);
}

OperationResult NoAnswer(ExchangeOutcome exchange, const QString& what)
{
    return Failure(FailureStatus(exchange), NoAnswerText(exchange, what));
}

} // namespace

std::optional<int> ParseWholeNumber(const QString& text, int low, int high)
{
    // Anchored patterns match the whole text: "^...$" would let a trailing line break through.
    static const QRegularExpression digits(QRegularExpression::anchoredPattern(QStringLiteral("[0-9]{1,9}")));
    if (!digits.match(text).hasMatch())
        return std::nullopt;
    const int value = text.toInt();
    if (value < low || value > high)
        return std::nullopt;
    return value;
}

std::optional<ObjectTarget> ParseObjectTarget(const QString& object, const QString& instance,
                                              const QString& attribute, QString* error)
{
    static const QRegularExpression hexByte(QRegularExpression::anchoredPattern(QStringLiteral("[0-9A-Fa-f]{1,2}")));
    if (!hexByte.match(object).hasMatch()) {
        *error = QStringLiteral("the object code takes one or two hex digits: %1").arg(object);
        return std::nullopt;
    }
    const auto instanceValue = ParseWholeNumber(instance, 0, 0xFFFF);
    const auto attributeValue = ParseWholeNumber(attribute, 0, 0xFFFF);
    if (!instanceValue || !attributeValue) {
        *error = QStringLiteral("instance and attribute take a decimal number from 0 to 65535");
        return std::nullopt;
    }
    const auto code = static_cast<std::uint8_t>(object.toUInt(nullptr, 16));
    if (code == AppConfigurationObjectCode || code == AppDataObjectCode) {
        *error = QStringLiteral("objects F0 and F1 belong to the cyclic exchange (see exchange --serve)");
        return std::nullopt;
    }
    return ObjectTarget{code, static_cast<std::uint16_t>(*instanceValue), static_cast<std::uint16_t>(*attributeValue)};
}

std::optional<Bytes> ParseHexBytes(const QString& text, std::size_t minCount, std::size_t maxCount)
{
    const std::optional<Bytes> bytes = ParseHexDigitPairs(text.toStdString());
    if (!bytes || bytes->size() < minCount || bytes->size() > maxCount)
        return std::nullopt;
    return bytes;
}

std::optional<AppDataObjectEntry> ParseServedObject(const QString& text, QString* error)
{
    static const QRegularExpression form(
        QRegularExpression::anchoredPattern(QStringLiteral("([0-9]{1,5}):([0-9]{1,5})=(.+)")));
    const QRegularExpressionMatch match = form.match(text);
    const auto instance = match.hasMatch() ? ParseWholeNumber(match.captured(1), 0, 0xFFFF) : std::nullopt;
    const auto attribute = match.hasMatch() ? ParseWholeNumber(match.captured(2), 0, 0xFFFF) : std::nullopt;
    const auto data = match.hasMatch() ? ParseHexBytes(match.captured(3), 1, MaxObjectDataBytes) : std::nullopt;
    if (!instance || !attribute || !data) {
        *error = QStringLiteral("--serve takes INST:ATTR=HEX (decimal 0 to 65535, 1 to %1 hex bytes): %2")
                     .arg(MaxObjectDataBytes)
                     .arg(text);
        return std::nullopt;
    }
    const std::string dataText = TrimInputText(HexPairsText(*data));
    return AppDataObjectEntry{*instance, *attribute, *data, dataText};
}

QString BytesText(const Bytes& bytes)
{
    return QString::fromStdString(TrimInputText(HexPairsText(bytes)));
}

QString TerminalText(const QString& text)
{
    QString shown;
    shown.reserve(text.size());
    for (const QChar character : text) {
        const char16_t code = character.unicode();
        if (code == u'\\')
            shown += QLatin1String("\\\\");
        else if (code < 0x20 || (code >= 0x7F && code <= 0x9F))
            shown += QString::asprintf("\\x%02X", static_cast<unsigned>(code));
        else
            shown += character;
    }
    return shown;
}

InfoResult ReadInfo(CliSession& session)
{
    LinkController& link = session.Link();
    InfoResult result;
    const ModuleInfoResult read =
        AwaitRequest(link, &LinkController::ModuleInfoRead, [&] { return link.ReadModuleInfo(); });
    session.FlushTrace();
    if (!read.info) {
        result.status = FailureStatus(read.exchange);
        result.error = NoAnswerText(read.exchange, QStringLiteral("the module information request"));
        return result;
    }
    result.info = *read.info;
    return result;
}

ReadResult ReadObject(CliSession& session, const ObjectTarget& target)
{
    LinkController& link = session.Link();
    const AccessResult access = AwaitRequest(link, &LinkController::AttributeAccessed,
                                             [&] { return link.ReadAttribute(AddressOf(target)); });
    session.FlushTrace();
    ReadResult result;
    if (access.outcome == AccessOutcome::ReadAnswered && access.responseData) {
        result.data = *access.responseData;
        return result;
    }
    result.status = FailureStatus(access.exchange);
    result.error = NoAnswerText(access.exchange, QStringLiteral("the read request"));
    return result;
}

OperationResult WriteObject(CliSession& session, const ObjectTarget& target, const Bytes& data)
{
    LinkController& link = session.Link();
    const AccessResult access = AwaitRequest(link, &LinkController::AttributeAccessed,
                                             [&] { return link.WriteAttribute(AddressOf(target), data); });
    session.FlushTrace();
    switch (access.outcome) {
    case AccessOutcome::WriteAnswered:
        return {};
    case AccessOutcome::WriteTooLong:
        return Failure(ExitCheckFailed, QStringLiteral("the attribute holds fewer bytes than given; nothing written"));
    case AccessOutcome::ProbeNotSent:
    case AccessOutcome::ProbeNotAnswered:
        return NoAnswer(access.exchange, QStringLiteral("the size probe"));
    case AccessOutcome::WriteNotSent:
    case AccessOutcome::WriteNotAnswered:
    case AccessOutcome::ReadNotSent:
    case AccessOutcome::ReadNotAnswered:
    case AccessOutcome::ReadAnswered:
        break;
    }
    return NoAnswer(access.exchange, QStringLiteral("the write request"));
}

OperationResult RunExchange(CliSession& session, const ExchangeRequest& exchange,
                            const std::function<bool(const CycleReport&)>& onCycle,
                            const std::function<void(const LinkEvent&)>& onLinkEvent)
{
    LinkController& link = session.Link();
    const std::size_t writeLength = std::min<std::size_t>(exchange.writeData.size(), MaxIoWriteLength);
    const CycleInput input{Bytes(exchange.writeData.begin(), exchange.writeData.begin() + writeLength),
                           exchange.served};
    OperationResult result;
    int started = 0;
    int finished = 0;
    // The link paces the cycles; each one asks for its input, and none is given once the run is over.
    QEventLoop loop;
    QTimer reconnectLimit;
    reconnectLimit.setSingleShot(true);
    QObject::connect(&reconnectLimit, &QTimer::timeout, &loop, [&] {
        result = Failure(ExitNoAnswer, QStringLiteral("connection to the module lost in cycle %1, not back within %2 s")
                                           .arg(finished)
                                           .arg(exchange.reconnectSeconds));
        AwaitLink(link, &LinkController::Disconnected, [&] { link.Disconnect(); });
        loop.quit();
    });
    QObject::connect(&link, &LinkController::Reconnected, &loop, [&] {
        reconnectLimit.stop();
        if (onLinkEvent)
            onLinkEvent({finished, true});
    });
    QObject::connect(&link, &LinkController::CycleInputWanted, &loop, [&](RequestId cycle) {
        if (started < exchange.cycles && started == finished) {
            ++started;
            link.ProvideCycleInput(cycle, input);
        }
    });
    QObject::connect(&link, &LinkController::CycleFinished, &loop, [&](const IoCycleOutcome& outcome) {
        const int cycle = ++finished;
        session.FlushTrace();
        const bool goOn = onCycle({cycle, outcome.answer, outcome.data, outcome.instance, outcome.attribute,
                                   outcome.served});
        if (outcome.linkLost && (exchange.reconnectSeconds == 0 || cycle == exchange.cycles || !goOn)) {
            result = Failure(ExitNoAnswer, QStringLiteral("connection to the module lost in cycle %1").arg(cycle));
            link.SetReconnect(std::nullopt);
            loop.quit();
            return;
        }
        if (outcome.linkLost) {
            // Not a failure of the run unless the link stays away.
            if (onLinkEvent)
                onLinkEvent({cycle, false});
            reconnectLimit.start(exchange.reconnectSeconds * 1000);
            return;
        }
        if (result.status == ExitOk && outcome.exchange != ExchangeOutcome::Answered)
            result = NoAnswer(outcome.exchange, QStringLiteral("cycle %1").arg(cycle));
        if (!goOn || cycle == exchange.cycles)
            loop.quit();
    });
    if (exchange.reconnectSeconds > 0)
        link.SetReconnect(RememberPortChoice(session.PortArgument()));
    link.StartCycles();
    loop.exec();
    link.StopCycles();
    return result;
}

} // namespace trelmo::cli

#include "Operations.h"

#include "HexText.h"
#include "IoExchange.h"
#include "ObjectAccess.h"

#include <QRegularExpression>

namespace trelmo::cli {
namespace {

// The bytes the cyclic exchange showed in the first length cells of the read grid.
Bytes GridBytes(const GridCells& grid, int length)
{
    Bytes bytes;
    for (int i = 0; i < length; ++i) {
        const CellPosition cell = CellIndex(i);
        bytes.push_back(static_cast<std::uint8_t>(ParseHexValue(grid.CellText(cell.row, cell.column))));
    }
    return bytes;
}

std::string ObjectText(const ObjectTarget& target)
{
    return HexPair(target.object);
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

// The configuration or parameter data the cycle stored, as bytes; empty for any other answer.
Bytes HandedOverBytes(const AppConfigObjectData& handedOver, IoAnswerKind answer)
{
    if (answer == IoAnswerKind::ConfigurationData)
        return handedOver.ConfigurationData;
    if (answer == IoAnswerKind::ParameterData)
        return handedOver.ParameterData;
    return Bytes();
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
    return AppDataObjectEntry{*instance, *attribute, CountHexTokens(dataText), dataText};
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
    ModuleSession& s = session.Session();
    InfoResult result;
    const ModuleInfoResult read = ReadModuleInfo(s.Port(), s.Sequence(), s.Log());
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
    ModuleSession& s = session.Session();
    const AccessResult access = ReadAttribute(s.Port(), s.Sequence(), s.Log(), ObjectText(target),
                                              std::to_string(target.instance), std::to_string(target.attribute));
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
    ModuleSession& s = session.Session();
    const AccessResult access =
        WriteAttribute(s.Port(), s.Sequence(), s.Log(), ObjectText(target), std::to_string(target.instance),
                       std::to_string(target.attribute), TrimInputText(HexPairsText(data)));
    session.FlushTrace();
    switch (access.outcome) {
    case AccessOutcome::WriteAnswered:
        return {};
    case AccessOutcome::WriteInputEmpty:
    case AccessOutcome::WriteInputIllegal:
        return Failure(ExitUsage, QStringLiteral("the data must be 1 to %1 hex bytes").arg(MaxObjectDataBytes));
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
                            const std::function<bool(const CycleReport&)>& onCycle)
{
    ModuleSession& s = session.Session();
    IoExchangeContext context{s.Port(), s.Sequence(), s.Log(), s.HandedOver(), exchange.served};
    WriteData writeData;
    writeData.length = static_cast<int>(std::min<std::size_t>(exchange.writeData.size(), MaxIoWriteLength));
    std::copy_n(exchange.writeData.begin(), writeData.length, writeData.bytes.begin());
    MemoryGridCells readGrid;
    int readLength = 0;
    OperationResult result;
    for (int cycle = 1; cycle <= exchange.cycles; ++cycle) {
        const IoCycleOutcome outcome = ExchangeIoData(context, writeData, readGrid, readLength);
        session.FlushTrace();
        CycleReport report{cycle, outcome.answer, HandedOverBytes(s.HandedOver(), outcome.answer),
                           outcome.instance, outcome.attribute, outcome.served};
        if (outcome.readLength) {
            readLength = *outcome.readLength;
            report.data = GridBytes(readGrid, readLength);
        }
        const bool goOn = onCycle(report);
        if (!s.Port().IsOpen())
            return Failure(ExitNoAnswer, QStringLiteral("connection to the module lost in cycle %1").arg(cycle));
        if (result.status == ExitOk && outcome.exchange != ExchangeOutcome::Answered)
            result = NoAnswer(outcome.exchange, QStringLiteral("cycle %1").arg(cycle));
        if (!goOn)
            break;
        // The window arms its timer with this interval; the fast timing goes on at once.
        if (cycle < exchange.cycles && s.Port().Timing() == ReceiveTiming::Fixed)
            s.Port().Wait(outcome.timerIntervalMs);
    }
    return result;
}

} // namespace trelmo::cli

#include "IoExchange.h"

#include "LoggedExchange.h"

#include <algorithm>

namespace trelmo {
namespace {

// The cyclic answer is read whole up to a full read grid (250 data bytes and the frame's 6 others). The 254 bytes
// of the other exchanges would leave such an answer's CRC behind.
constexpr std::size_t CyclicAnswerCapacity = MaxIoDataLength + ModuleFrame::Overhead;

// Every answer handled here is a whole, intact frame, so its declared Length lies within the bytes received.
std::size_t DeclaredLength(const Bytes& frame)
{
    return ReadBigEndian16(&frame[ModuleFrame::Length]);
}

// The data of an I/O data answer. An intact answer that fits the receive holds at most the read grid's 250 bytes.
Bytes ReadDataOf(const Bytes& answer)
{
    const std::size_t length = std::min<std::size_t>(DeclaredLength(answer), MaxIoDataLength);
    const auto begin = answer.begin() + ModuleFrame::HeaderSize;
    return Bytes(begin, begin + static_cast<std::ptrdiff_t>(length));
}

// A Request or Response from the module is acted on only when its Length covers the object header.
bool HasObjectHeader(const Bytes& frame)
{
    return DeclaredLength(frame) >= ModuleFrame::ObjectHeaderSize;
}

// Takes the configuration or parameter data the module hands over and echoes the frame back as our Response;
// says which of the two it was (OtherFrame for another attribute of the object, acknowledged all the same).
// A frame that would not fit the 254-byte answer buffer is neither taken nor answered.
void TakeAndAcknowledge(IoExchangeContext& context, const Bytes& request, IoCycleOutcome& outcome)
{
    const std::size_t length = DeclaredLength(request);
    if (length + ModuleFrame::Overhead > ModuleFrame::BufferSize)
        return;

    const Bytes answer = AssembleFrame(context.sequence.Take(), Response, &request[ModuleFrame::HeaderSize], length);

    const std::size_t dataLength = length - ModuleFrame::ObjectHeaderSize;
    const Bytes data(request.begin() + ModuleFrame::Data, request.begin() + ModuleFrame::Data + dataLength);
    const std::uint16_t instance = ReadBigEndian16(&request[ModuleFrame::InstanceCode]);
    const std::uint16_t attribute = ReadBigEndian16(&request[ModuleFrame::AttributeCode]);
    if (attribute == HandOverAttribute
        && (instance == ConfigurationDataInstance || instance == ParameterDataInstance)) {
        outcome.answer = instance == ConfigurationDataInstance ? IoAnswerKind::ConfigurationData
                                                               : IoAnswerKind::ParameterData;
        outcome.data = data;
    }

    if (SendLoggedFrame(context.port, context.log, answer))
        ReceiveLoggedAnswer(context.port, context.log);
}

void DispatchAnswer(IoExchangeContext& context, const Bytes& answer, IoCycleOutcome& outcome)
{
    outcome.answer = IoAnswerKind::OtherFrame;
    switch (answer[ModuleFrame::FrameType]) {
    case IoData:
        outcome.data = ReadDataOf(answer);
        outcome.answer = IoAnswerKind::ReadData;
        break;
    case Response:
        // The module names an application data object in a Response for object 0xF1; any other Response is an
        // answer to some earlier request that came late, not a request.
        if (answer[ModuleFrame::ObjectCode] == AppDataObjectCode && HasObjectHeader(answer)) {
            outcome.answer = IoAnswerKind::AppDataObject;
            outcome.instance = ReadBigEndian16(&answer[ModuleFrame::InstanceCode]);
            outcome.attribute = ReadBigEndian16(&answer[ModuleFrame::AttributeCode]);
            outcome.served = SendAppDataObject(context.appDataObjects, outcome.instance, outcome.attribute,
                                               context.port, context.sequence, context.log);
        }
        break;
    case Request:
        if (answer[ModuleFrame::ObjectCode] == AppConfigurationObjectCode && HasObjectHeader(answer))
            TakeAndAcknowledge(context, answer, outcome);
        break;
    case ErrorAnswer:
        outcome.answer = IoAnswerKind::ErrorFrame;
        break;
    default:
        break;
    }
}

} // namespace

namespace {

IoCycleOutcome RunCycle(IoExchangeContext& context, const Bytes& writeData)
{
    IoCycleOutcome outcome;
    const std::size_t writeLength = std::min<std::size_t>(writeData.size(), MaxIoWriteLength);
    const Bytes frame = AssembleFrame(context.sequence.Take(), IoData, writeData.data(), writeLength);
    if (!SendLoggedFrame(context.port, context.log, frame)) {
        outcome.exchange = ExchangeOutcome::NotSent;
        return outcome;
    }

    // Anything but a whole, intact frame is logged and then treated as no answer.
    const Bytes answer =
        ReceiveLoggedAnswer(context.port, context.log, CyclicAnswerCapacity, AnswerWait::Cyclic).value_or(Bytes());
    outcome.exchange = JudgeAnswer(answer);
    if (outcome.exchange == ExchangeOutcome::NoAnswer || outcome.exchange == ExchangeOutcome::BrokenAnswer)
        return outcome;

    DispatchAnswer(context, answer, outcome);
    outcome.timerIntervalMs = IoAnswerIntervalMs;
    return outcome;
}

} // namespace

IoCycleOutcome ExchangeIoData(IoExchangeContext& context, const Bytes& writeData)
{
    IoCycleOutcome outcome = RunCycle(context, writeData);
    outcome.linkLost = !context.port.IsOpen();
    return outcome;
}

} // namespace trelmo

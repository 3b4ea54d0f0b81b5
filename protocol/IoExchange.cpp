#include "IoExchange.h"

#include "HexText.h"
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

// Fills the read grid from an I/O data answer and returns the new read length. An intact answer that fits the
// receive holds at most the grid's 250 cells.
int ShowReadData(GridCells& readGrid, const Bytes& answer, int previousLength)
{
    const int length = static_cast<int>(std::min<std::size_t>(DeclaredLength(answer), GridDataCells));
    ResizeActiveCells(readGrid, previousLength, length);
    for (int j = 0; j < length; ++j) {
        const CellPosition cell = CellIndex(j);
        readGrid.SetCellText(cell.row, cell.column, HexPair(answer[ModuleFrame::HeaderSize + j]));
    }
    return length;
}

// A Request or Response from the module is acted on only when its Length covers the object header.
bool HasObjectHeader(const Bytes& frame)
{
    return DeclaredLength(frame) >= ModuleFrame::ObjectHeaderSize;
}

// Stores the configuration or parameter data the module hands over and echoes the frame back as our Response;
// returns which of the two it was (OtherFrame for another attribute of the object, acknowledged all the same).
// A frame that would not fit the 254-byte answer buffer is neither stored nor answered.
IoAnswerKind StoreAndAcknowledge(IoExchangeContext& context, const Bytes& request)
{
    const std::size_t length = DeclaredLength(request);
    if (length + ModuleFrame::Overhead > ModuleFrame::BufferSize)
        return IoAnswerKind::OtherFrame;

    const Bytes answer = AssembleFrame(context.sequence.Take(), Response, &request[ModuleFrame::HeaderSize], length);

    const std::size_t dataLength = length - ModuleFrame::ObjectHeaderSize;
    const Bytes data(request.begin() + ModuleFrame::Data, request.begin() + ModuleFrame::Data + dataLength);
    const std::uint16_t instance = ReadBigEndian16(&request[ModuleFrame::InstanceCode]);
    const std::uint16_t attribute = ReadBigEndian16(&request[ModuleFrame::AttributeCode]);
    IoAnswerKind handedOver = IoAnswerKind::OtherFrame;
    if (instance == ConfigurationDataInstance && attribute == HandOverAttribute) {
        context.handedOver.ConfigurationData = data;
        handedOver = IoAnswerKind::ConfigurationData;
    } else if (instance == ParameterDataInstance && attribute == HandOverAttribute) {
        context.handedOver.ParameterData = data;
        handedOver = IoAnswerKind::ParameterData;
    }

    if (SendLoggedFrame(context.port, context.log, answer))
        ReceiveLoggedAnswer(context.port, context.log);
    return handedOver;
}

void DispatchAnswer(IoExchangeContext& context, const Bytes& answer, GridCells& readGrid, int readLength,
                    IoCycleOutcome& outcome)
{
    outcome.answer = IoAnswerKind::OtherFrame;
    switch (answer[ModuleFrame::FrameType]) {
    case IoData:
        outcome.readLength = ShowReadData(readGrid, answer, readLength);
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
            outcome.answer = StoreAndAcknowledge(context, answer);
        break;
    case ErrorAnswer:
        outcome.answer = IoAnswerKind::ErrorFrame;
        break;
    default:
        break;
    }
}

} // namespace

IoCycleOutcome ExchangeIoData(IoExchangeContext& context, const WriteData& writeData, GridCells& readGrid,
                              int readLength)
{
    IoCycleOutcome outcome;
    const int writeLength = std::clamp(writeData.length, 0, MaxIoWriteLength);
    const Bytes frame = AssembleFrame(context.sequence.Take(), IoData, writeData.bytes.data(),
                                      static_cast<std::size_t>(writeLength));
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

    DispatchAnswer(context, answer, readGrid, readLength, outcome);
    outcome.timerIntervalMs = IoAnswerIntervalMs;
    return outcome;
}

} // namespace trelmo

#include "IoExchange.h"

#include "LoggedExchange.h"

#include <algorithm>
#include <cstdio>

namespace trelmo {
namespace {

// The cyclic answer is read whole up to a full read grid (250 data bytes and the frame's 6 others). The 254 bytes
// of the other exchanges would leave such an answer's CRC behind.
constexpr std::size_t CyclicAnswerCapacity = GridDataCells + ModuleFrame::Overhead;

constexpr std::uint16_t ConfigurationDataInstance = 2;
constexpr std::uint16_t ParameterDataInstance = 3;
constexpr std::uint16_t HandOverAttribute = 1;

// Every answer handled here is a whole, intact frame, so its declared Length lies within the bytes received.
std::size_t DeclaredLength(const Bytes& frame)
{
    return ReadBigEndian16(&frame[ModuleFrame::Length]);
}

std::string HexPair(std::uint8_t byte)
{
    char text[3];
    std::snprintf(text, sizeof text, "%02X", byte);
    return text;
}

// Fills the read grid from an I/O data answer and returns the new read length text. An intact answer that fits the
// receive holds at most the grid's 250 cells.
std::string ShowReadData(GridCells& readGrid, const Bytes& answer, const std::string& readLengthText)
{
    const int previous = DecimalLengthValue(readLengthText);
    const int length = static_cast<int>(std::min<std::size_t>(DeclaredLength(answer), GridDataCells));
    ResizeActiveCells(readGrid, previous, length);
    for (int j = 0; j < length; ++j) {
        const CellPosition cell = CellIndex(j);
        readGrid.SetCellText(cell.row, cell.column, HexPair(answer[ModuleFrame::HeaderSize + j]));
    }
    return std::to_string(length);
}

// A Request or Response from the module is acted on only when its Length covers the object header.
bool HasObjectHeader(const Bytes& frame)
{
    return DeclaredLength(frame) >= ModuleFrame::ObjectHeaderSize;
}

// Stores the configuration or parameter data the module hands over and echoes the frame back as our Response.
// A frame that would not fit the 254-byte answer buffer is neither stored nor answered.
void StoreAndAcknowledge(IoExchangeContext& context, const Bytes& request)
{
    const std::size_t length = DeclaredLength(request);
    if (length + ModuleFrame::Overhead > ModuleFrame::BufferSize)
        return;

    const Bytes answer = AssembleFrame(context.sequence.Take(), Response, &request[ModuleFrame::HeaderSize], length);

    const std::size_t dataLength = length - ModuleFrame::ObjectHeaderSize;
    const std::string dataText = BytesToHexText(&request[ModuleFrame::Data], dataLength, 0).substr(1);
    const std::uint16_t instance = ReadBigEndian16(&request[ModuleFrame::InstanceCode]);
    const std::uint16_t attribute = ReadBigEndian16(&request[ModuleFrame::AttributeCode]);
    if (instance == ConfigurationDataInstance && attribute == HandOverAttribute) {
        context.app.ConfigurationDataText = dataText;
        context.app.ConfigurationDataLength = static_cast<std::int32_t>(dataLength);
    } else if (instance == ParameterDataInstance && attribute == HandOverAttribute) {
        context.app.ParameterDataText = dataText;
        context.app.ParameterDataLength = static_cast<std::int32_t>(dataLength);
    }

    if (SendLoggedFrame(context.port, context.log, answer))
        ReceiveLoggedAnswer(context.port, context.log);
}

void DispatchAnswer(IoExchangeContext& context, const Bytes& answer, GridCells& readGrid,
                    const std::string& readLengthText, IoCycleOutcome& outcome)
{
    switch (answer[ModuleFrame::FrameType]) {
    case IoData:
        outcome.readLengthText = ShowReadData(readGrid, answer, readLengthText);
        break;
    case Response:
        // The module names an application data object in a Response for object 0xF1; any other Response is an
        // answer to some earlier request that came late, not a request.
        if (answer[ModuleFrame::ObjectCode] == AppDataObjectCode && HasObjectHeader(answer))
            SendAppDataObject(context.appDataObjects, ReadBigEndian16(&answer[ModuleFrame::InstanceCode]),
                              ReadBigEndian16(&answer[ModuleFrame::AttributeCode]), context.port, context.sequence,
                              context.log);
        break;
    case Request:
        if (answer[ModuleFrame::ObjectCode] == ApplicationConfigurationObject && HasObjectHeader(answer))
            StoreAndAcknowledge(context, answer);
        break;
    default:
        break;
    }
}

} // namespace

IoCycleOutcome ExchangeIoData(IoExchangeContext& context, const WriteDataState& writeData, GridCells& readGrid,
                              const std::string& readLengthText, const std::function<void()>& applyWriteLength)
{
    IoCycleOutcome outcome;
    const std::uint8_t sequence = context.sequence.Take();
    if (applyWriteLength)
        applyWriteLength();

    const Bytes frame = AssembleFrame(sequence, IoData, writeData.WriteData.data(),
                                      static_cast<std::size_t>(WriteLength(writeData)));
    if (!SendLoggedFrame(context.port, context.log, frame))
        return outcome;

    // Anything but a whole, intact frame is logged and then treated as no answer.
    const std::optional<Bytes> answer =
        ReceiveLoggedAnswer(context.port, context.log, CyclicAnswerCapacity, AnswerWait::Cyclic);
    if (!answer || !IsIntactFrame(*answer))
        return outcome;

    DispatchAnswer(context, *answer, readGrid, readLengthText, outcome);
    outcome.timerIntervalMs = IoAnswerIntervalMs;
    return outcome;
}

} // namespace trelmo

#include "IoExchange.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace trelmo {
namespace {

using FrameBuffer = std::array<std::uint8_t, ModuleFrame::BufferSize>;
// The cyclic answer is read whole up to a full read grid (250 data bytes and the frame's 6 others). The 254 bytes
// of the other exchanges would leave such an answer's CRC behind, to be taken as the start of every later answer.
using AnswerBuffer = std::array<std::uint8_t, GridDataCells + ModuleFrame::Overhead>;

constexpr std::uint8_t ConfigurationDataInstance = 2;
constexpr std::uint8_t ParameterDataInstance = 3;
constexpr std::uint8_t HandOverAttribute = 1;

std::size_t DeclaredLength(const AnswerBuffer& frame)
{
    return ReadBigEndian16(&frame[ModuleFrame::Length]);
}

std::string HexPair(std::uint8_t byte)
{
    char text[3];
    std::snprintf(text, sizeof text, "%02X", byte);
    return text;
}

// Fills the read grid from an I/O data answer and returns the new read length text. The grid holds 250 cells,
// so a longer declared length is capped; bytes that did not arrive show as they lie in the zeroed buffer (00).
std::string ShowReadData(GridCells& readGrid, const AnswerBuffer& answer, const std::string& readLengthText)
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

// A Request or Response from the module is acted on only when its Length covers the object header and the header
// (up to the attribute code) actually arrived.
bool HasObjectHeader(const AnswerBuffer& frame, std::size_t read)
{
    return DeclaredLength(frame) >= ModuleFrame::ObjectHeaderSize && read >= ModuleFrame::Data;
}

// Stores the configuration or parameter data the module hands over and echoes the frame back as our Response.
// A frame that would not fit the 254-byte answer buffer, or did not arrive whole, is neither stored nor answered.
void StoreAndAcknowledge(IoExchangeContext& context, const AnswerBuffer& request, std::size_t read)
{
    const std::size_t length = DeclaredLength(request);
    const std::size_t frameSize = length + ModuleFrame::Overhead;
    if (frameSize > ModuleFrame::BufferSize || read < frameSize)
        return;

    const Bytes answer = AssembleFrame(context.sequence.Take(), Response, &request[ModuleFrame::HeaderSize], length);

    const std::size_t dataLength = length - ModuleFrame::ObjectHeaderSize;
    const std::string dataText = BytesToHexText(&request[ModuleFrame::Data], dataLength, 0).substr(1);
    const std::uint8_t instance = request[ModuleFrame::InstanceCode + 1];
    const std::uint8_t attribute = request[ModuleFrame::AttributeCode + 1];
    if (instance == ConfigurationDataInstance && attribute == HandOverAttribute) {
        context.app.ConfigurationDataText = dataText;
        context.app.ConfigurationDataLength = static_cast<std::int32_t>(dataLength);
    } else if (instance == ParameterDataInstance && attribute == HandOverAttribute) {
        context.app.ParameterDataText = dataText;
        context.app.ParameterDataLength = static_cast<std::int32_t>(dataLength);
    }

    if (context.port.SendBytes(answer.data(), answer.size()))
        context.log.Append(BytesToHexText(answer, 1));
    FrameBuffer reply{};
    std::size_t replyRead = 0;
    if (context.port.ReceiveBytes(reply.data(), reply.size(), &replyRead))
        context.log.Append(BytesToHexText(reply.data(), replyRead, 0));
}

void DispatchAnswer(IoExchangeContext& context, const AnswerBuffer& answer, std::size_t read, GridCells& readGrid,
                    const std::string& readLengthText, IoCycleOutcome& outcome)
{
    switch (answer[ModuleFrame::FrameType]) {
    case IoData:
        outcome.readLengthText = ShowReadData(readGrid, answer, readLengthText);
        break;
    case Response:
        if (HasObjectHeader(answer, read))
            SendAppDataObject(context.appDataObjects, ReadBigEndian16(&answer[ModuleFrame::InstanceCode]),
                              ReadBigEndian16(&answer[ModuleFrame::AttributeCode]), context.port, context.sequence,
                              context.log);
        break;
    case Request:
        if (answer[ModuleFrame::ObjectCode] == ApplicationConfigurationObject && HasObjectHeader(answer, read))
            StoreAndAcknowledge(context, answer, read);
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
    if (!context.port.SendBytes(frame.data(), frame.size()))
        return outcome;
    context.log.Append(BytesToHexText(frame, 1));

    AnswerBuffer answer{};
    std::size_t read = 0;
    if (!context.port.ReceiveBytesSlow(answer.data(), answer.size(), &read))
        return outcome;
    context.log.Append(BytesToHexText(answer.data(), read, 0));

    DispatchAnswer(context, answer, read, readGrid, readLengthText, outcome);
    outcome.timerIntervalMs = IoAnswerIntervalMs;
    return outcome;
}

} // namespace trelmo

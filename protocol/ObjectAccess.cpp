#include "ObjectAccess.h"


namespace trelmo {
namespace {

// Only a whole response with a correct CRC counts; anything else is as good as no answer.
bool IsResponse(const Bytes& answer)
{
    return IsIntactFrame(answer) && answer[ModuleFrame::FrameType] == Response;
}

// The number of data bytes the probed attribute holds, from an intact answer's Length; negative when Length < 6.
long ProbedDataCount(const Bytes& probeAnswer)
{
    return static_cast<long>(ReadBigEndian16(&probeAnswer[ModuleFrame::Length]))
        - static_cast<long>(ModuleFrame::ObjectHeaderSize);
}

} // namespace

Bytes BuildObjectRequest(SequenceCounter& counter, std::uint8_t service, std::uint8_t object, std::uint16_t instance,
                         std::uint16_t attribute, const Bytes& data)
{
    return AssembleObjectFrame(counter.Take(), Request, service, object, instance, attribute, data);
}

Bytes ResponseData(const std::uint8_t* bytes, std::size_t received)
{
    if (received <= ModuleFrame::Data)
        return {};
    std::size_t end = received;
    const std::size_t length = ReadBigEndian16(bytes + ModuleFrame::Length);
    if (length >= ModuleFrame::ObjectHeaderSize) {
        const std::size_t claimedEnd = ModuleFrame::Data + (length - ModuleFrame::ObjectHeaderSize);
        if (claimedEnd <= received)
            end = claimedEnd;
    }
    return Bytes(bytes + ModuleFrame::Data, bytes + end);
}

AccessResult ReadAttribute(SerialPort& port, SequenceCounter& counter, MessageLog& log, const ObjectAddress& address)
{
    const Bytes request = AssembleObjectFrame(counter.Take(), Request, ServiceRead, address);
    if (!SendLoggedFrame(port, log, request))
        return {AccessOutcome::ReadNotSent, std::nullopt, ExchangeOutcome::NotSent};
    const Bytes answer = ReceiveLoggedAnswer(port, log).value_or(Bytes());
    if (!IsResponse(answer))
        return {AccessOutcome::ReadNotAnswered, std::nullopt, JudgeAnswer(answer)};
    return {AccessOutcome::ReadAnswered, ResponseData(answer.data(), answer.size())};
}

AccessResult WriteAttribute(SerialPort& port, SequenceCounter& counter, MessageLog& log, const ObjectAddress& address,
                            const Bytes& data)
{
    if (data.size() > MaxObjectDataBytes)
        return {AccessOutcome::WriteTooLong, std::nullopt};
    // The probe tells how many bytes the attribute holds now; a longer write is refused.
    const Bytes probe = AssembleObjectFrame(counter.Take(), Request, ServiceRead, address);
    if (!SendLoggedFrame(port, log, probe))
        return {AccessOutcome::ProbeNotSent, std::nullopt, ExchangeOutcome::NotSent};
    const Bytes probeAnswer = ReceiveLoggedAnswer(port, log).value_or(Bytes());
    // Only a whole, intact Response tells the size: an error answer or any other frame means the attribute
    // cannot be written, so the write is not sent.
    if (!IsResponse(probeAnswer))
        return {AccessOutcome::ProbeNotAnswered, std::nullopt, JudgeAnswer(probeAnswer)};
    if (static_cast<long>(data.size()) > ProbedDataCount(probeAnswer))
        return {AccessOutcome::WriteTooLong, std::nullopt};

    const Bytes request = AssembleObjectFrame(counter.Take(), Request, ServiceWrite, address, data);
    if (!SendLoggedFrame(port, log, request))
        return {AccessOutcome::WriteNotSent, std::nullopt, ExchangeOutcome::NotSent};
    const Bytes answer = ReceiveLoggedAnswer(port, log).value_or(Bytes());
    if (!IsResponse(answer))
        return {AccessOutcome::WriteNotAnswered, std::nullopt, JudgeAnswer(answer)};
    return {AccessOutcome::WriteAnswered, std::nullopt};
}

} // namespace trelmo

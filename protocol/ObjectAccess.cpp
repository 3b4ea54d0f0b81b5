#include "ObjectAccess.h"

#include "DecimalText.h"
#include "HexText.h"

namespace trelmo {
namespace {

ObjectAddress AddressFromTexts(const std::string& objectText, const std::string& instanceText,
                               const std::string& attributeText)
{
    return {static_cast<std::uint8_t>(ParseHexValue(objectText) & 0xFFu),
            static_cast<std::uint16_t>(static_cast<std::uint32_t>(ParseDecimalValue(instanceText)) & 0xFFFFu),
            static_cast<std::uint16_t>(static_cast<std::uint32_t>(ParseDecimalValue(attributeText)) & 0xFFFFu)};
}

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

AccessCheck CheckAccessTexts(const std::string& objectText, const std::string& instanceText,
                             const std::string& attributeText, bool write, const std::string& inputDataText)
{
    if (objectText.empty() || instanceText.empty() || attributeText.empty())
        return AccessCheck::CodesIncomplete;
    if (write && inputDataText.empty())
        return AccessCheck::InputDataMissing;
    // Judged by the byte that would go on the wire, so that "0F0" or "1F1" cannot reach the reserved objects.
    const std::uint8_t object = AddressFromTexts(objectText, instanceText, attributeText).object;
    if (object == AppConfigurationObjectCode || object == AppDataObjectCode)
        return AccessCheck::ReservedObject;
    return AccessCheck::Ready;
}

AccessResult ReadAttribute(SerialPort& port, SequenceCounter& counter, MessageLog& log,
                           const std::string& objectText, const std::string& instanceText,
                           const std::string& attributeText)
{
    const ObjectAddress address = AddressFromTexts(objectText, instanceText, attributeText);
    const Bytes request = AssembleObjectFrame(counter.Take(), Request, ServiceRead, address);
    if (!SendLoggedFrame(port, log, request))
        return {AccessOutcome::ReadNotSent, std::nullopt, ExchangeOutcome::NotSent};
    const Bytes answer = ReceiveLoggedAnswer(port, log).value_or(Bytes());
    if (!IsResponse(answer))
        return {AccessOutcome::ReadNotAnswered, std::nullopt, JudgeAnswer(answer)};
    return {AccessOutcome::ReadAnswered, ResponseData(answer.data(), answer.size())};
}

AccessResult WriteAttribute(SerialPort& port, SequenceCounter& counter, MessageLog& log,
                            const std::string& objectText, const std::string& instanceText,
                            const std::string& attributeText, const std::string& inputDataText)
{
    const std::string input = TrimInputText(inputDataText);
    if (input.empty())
        return {AccessOutcome::WriteInputEmpty, std::nullopt};
    if (!IsLegalHexByteList(input))
        return {AccessOutcome::WriteInputIllegal, std::nullopt};

    // The probe tells how many bytes the attribute holds now; a longer write is refused.
    const ObjectAddress address = AddressFromTexts(objectText, instanceText, attributeText);
    const Bytes probe = AssembleObjectFrame(counter.Take(), Request, ServiceRead, address);
    if (!SendLoggedFrame(port, log, probe))
        return {AccessOutcome::ProbeNotSent, std::nullopt, ExchangeOutcome::NotSent};
    const Bytes probeAnswer = ReceiveLoggedAnswer(port, log).value_or(Bytes());
    // Only a whole, intact Response tells the size: an error answer or any other frame means the attribute
    // cannot be written, so the write is not sent.
    if (!IsResponse(probeAnswer))
        return {AccessOutcome::ProbeNotAnswered, std::nullopt, JudgeAnswer(probeAnswer)};
    if (static_cast<long>(CountHexTokens(input)) > ProbedDataCount(probeAnswer))
        return {AccessOutcome::WriteTooLong, std::nullopt};

    const Bytes request = AssembleObjectFrame(counter.Take(), Request, ServiceWrite, address, ParseHexByteList(input));
    if (!SendLoggedFrame(port, log, request))
        return {AccessOutcome::WriteNotSent, std::nullopt, ExchangeOutcome::NotSent};
    const Bytes answer = ReceiveLoggedAnswer(port, log).value_or(Bytes());
    if (!IsResponse(answer))
        return {AccessOutcome::WriteNotAnswered, std::nullopt, JudgeAnswer(answer)};
    return {AccessOutcome::WriteAnswered, std::nullopt};
}

} // namespace trelmo

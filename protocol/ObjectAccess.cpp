#include "ObjectAccess.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>

namespace trelmo {
namespace {

bool IsHexDigit(char c)
{
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    return std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
}

bool IsTrimmedSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool IsHexBytePiece(const std::string& piece)
{
    return !piece.empty() && piece.size() <= 2 && std::all_of(piece.begin(), piece.end(), IsHexDigit);
}

// The pieces between single blanks; two blanks in a row leave an empty piece.
std::vector<std::string> SplitAtBlanks(const std::string& text)
{
    std::vector<std::string> pieces(1);
    for (char c : text) {
        if (c == ' ')
            pieces.emplace_back();
        else
            pieces.back().push_back(c);
    }
    return pieces;
}

struct ObjectAddress {
    std::uint8_t object;
    std::uint16_t instance;
    std::uint16_t attribute;
};

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

AccessResult Failure(std::optional<int> status, std::vector<int> messages)
{
    AccessResult result;
    result.statusTextId = status;
    result.messages = std::move(messages);
    return result;
}

// The number of data bytes the probed attribute holds, or -1 when the answer cannot tell (not a whole, intact
// frame, or Length < 6).
long ProbedDataCount(const Bytes& probeAnswer)
{
    if (!IsIntactFrame(probeAnswer))
        return -1;
    return static_cast<long>(ReadBigEndian16(&probeAnswer[ModuleFrame::Length]))
        - static_cast<long>(ModuleFrame::ObjectHeaderSize);
}

} // namespace

Bytes BuildObjectRequest(SequenceCounter& counter, std::uint8_t service, std::uint8_t object, std::uint16_t instance,
                         std::uint16_t attribute, const Bytes& data)
{
    return AssembleObjectFrame(counter.Take(), Request, service, object, instance, attribute, data);
}

std::uint32_t ParseHexValue(const std::string& text)
{
    std::uint32_t value = 0;
    for (char c : text) {
        if (!IsHexDigit(c))
            break;
        value = value * 16u + static_cast<std::uint32_t>(HexDigitValue(c));
    }
    return value;
}

std::int32_t ParseDecimalValue(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::uint32_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = value * 10u + static_cast<std::uint32_t>(text[i] - '0');
    if (negative)
        value = 0u - value;
    return static_cast<std::int32_t>(value);
}

std::string TrimInputText(const std::string& text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsTrimmedSpace(text[begin]))
        ++begin;
    while (end > begin && IsTrimmedSpace(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

std::string JoinInputLines(const std::string& text)
{
    std::string joined;
    joined.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue; // CR LF is one line break: its LF gives the blank
        joined.push_back(text[i] == '\r' || text[i] == '\n' ? ' ' : text[i]);
    }
    return joined;
}

std::size_t CountHexTokens(const std::string& text)
{
    const std::string joined = JoinInputLines(text);
    return static_cast<std::size_t>(std::count(joined.begin(), joined.end(), ' ')) + 1;
}

Bytes ParseHexByteList(const std::string& text)
{
    const std::string trimmed = JoinInputLines(TrimInputText(text));
    Bytes bytes;
    if (trimmed.empty())
        return bytes;
    for (const std::string& piece : SplitAtBlanks(trimmed))
        bytes.push_back(static_cast<std::uint8_t>(ParseHexValue(piece) & 0xFFu));
    return bytes;
}

bool IsLegalHexByteList(const std::string& text)
{
    const std::string trimmed = JoinInputLines(TrimInputText(text));
    if (trimmed.empty())
        return true;
    if (CountHexTokens(trimmed) > MaxObjectDataBytes)
        return false;
    const std::vector<std::string> pieces = SplitAtBlanks(trimmed);
    return std::all_of(pieces.begin(), pieces.end(), IsHexBytePiece);
}

std::string FormatResponseData(const std::uint8_t* bytes, std::size_t count)
{
    std::string text;
    text.reserve(3 * count);
    char pair[4];
    for (std::size_t i = 0; i < count; ++i) {
        std::snprintf(pair, sizeof pair, "%02x ", bytes[i]);
        text += pair;
    }
    return text;
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

int CheckAccessTexts(const std::string& objectText, const std::string& instanceText,
                     const std::string& attributeText, bool write, const std::string& inputDataText)
{
    if (objectText.empty() || instanceText.empty() || attributeText.empty())
        return ObjectAccessText::CodesIncomplete;
    if (write && inputDataText.empty())
        return ObjectAccessText::InputDataMissing;
    if (objectText == "F0" || objectText == "f0" || objectText == "F1" || objectText == "f1")
        return ObjectAccessText::ReservedObject;
    return 0;
}

AccessResult ReadAttribute(SerialPort& port, SequenceCounter& counter, MessageLog& log,
                           const std::string& objectText, const std::string& instanceText,
                           const std::string& attributeText)
{
    using namespace ObjectAccessText;
    const ObjectAddress address = AddressFromTexts(objectText, instanceText, attributeText);
    const Bytes request = BuildObjectRequest(counter, ServiceRead, address.object, address.instance,
                                             address.attribute);
    if (!SendLoggedFrame(port, log, request))
        return Failure(std::nullopt, {ReadFailed});
    const std::optional<Bytes> answer = ReceiveLoggedAnswer(port, log);
    if (!answer || !IsResponse(*answer))
        return Failure(Error, {ReadFailed});

    AccessResult result;
    result.success = true;
    result.statusTextId = Right;
    result.responseDataText = FormatResponseData(ResponseData(answer->data(), answer->size()));
    return result;
}

AccessResult WriteAttribute(SerialPort& port, SequenceCounter& counter, MessageLog& log,
                            const std::string& objectText, const std::string& instanceText,
                            const std::string& attributeText, const std::string& inputDataText)
{
    using namespace ObjectAccessText;
    const std::string input = TrimInputText(inputDataText);
    if (input.empty())
        return Failure(std::nullopt, {InputDataEmpty, WriteFailed});
    if (!IsLegalHexByteList(input))
        return Failure(std::nullopt, {IllegalInputData, WriteFailed});

    // The probe tells how many bytes the attribute holds now; a longer write is refused.
    const ObjectAddress address = AddressFromTexts(objectText, instanceText, attributeText);
    const Bytes probe = BuildObjectRequest(counter, ServiceRead, address.object, address.instance,
                                           address.attribute);
    if (!SendLoggedFrame(port, log, probe))
        return Failure(std::nullopt, {WriteFailed});
    const std::optional<Bytes> probeAnswer = ReceiveLoggedAnswer(port, log);
    if (!probeAnswer)
        return Failure(std::nullopt, {WriteFailed});
    const long held = ProbedDataCount(*probeAnswer);
    if (held < 0 || static_cast<long>(CountHexTokens(input)) > held)
        return Failure(std::nullopt, {WriteFailed});

    const Bytes request = BuildObjectRequest(counter, ServiceWrite, address.object, address.instance,
                                             address.attribute, ParseHexByteList(input));
    if (!SendLoggedFrame(port, log, request))
        return Failure(Failed, {WriteFailed});
    const std::optional<Bytes> answer = ReceiveLoggedAnswer(port, log);
    if (!answer || !IsResponse(*answer))
        return Failure(Failed, {WriteFailed});

    AccessResult result;
    result.success = true;
    result.statusTextId = Successful;
    return result;
}

} // namespace trelmo

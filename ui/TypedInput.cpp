#include "TypedInput.h"

#include "DecimalText.h"
#include "HexText.h"

namespace trelmo {
namespace {

bool FitsSixteenBits(std::int32_t value)
{
    return value >= 0 && value <= 0xFFFF;
}

} // namespace

ObjectAddress AddressFromTexts(const std::string& objectText, const std::string& instanceText,
                               const std::string& attributeText)
{
    return {static_cast<std::uint8_t>(ParseHexValue(objectText) & 0xFFu),
            static_cast<std::uint16_t>(static_cast<std::uint32_t>(ParseDecimalValue(instanceText)) & 0xFFFFu),
            static_cast<std::uint16_t>(static_cast<std::uint32_t>(ParseDecimalValue(attributeText)) & 0xFFFFu)};
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

WriteInputBytes ParseWriteInput(const std::string& inputDataText)
{
    const std::string input = TrimInputText(inputDataText);
    if (input.empty())
        return {WriteInput::Empty, {}};
    if (!IsLegalHexByteList(input))
        return {WriteInput::Illegal, {}};
    return {WriteInput::Ready, ParseHexByteList(input)};
}

AppDataObjectAddCheck CheckAppDataObjectAdd(const AppDataObjectTable& table, const std::string& instanceText,
                                            const std::string& attributeText, const std::string& dataText)
{
    AppDataObjectAddCheck check;
    check.entry.Instance = ParseDecimalValue(instanceText);
    check.entry.Attribute = ParseDecimalValue(attributeText);
    check.entry.DataText = TrimInputText(JoinInputLines(dataText)); // pasted lines are kept on one line
    if (!FitsSixteenBits(check.entry.Instance) || !FitsSixteenBits(check.entry.Attribute))
        check.outcome = AppDataObjectAddOutcome::OutOfRange;
    else if (table.Find(check.entry.Instance, check.entry.Attribute))
        check.outcome = AppDataObjectAddOutcome::RepeatedPair;
    else if (check.entry.DataText.empty())
        check.outcome = AppDataObjectAddOutcome::EmptyData;
    else if (!IsLegalHexByteList(check.entry.DataText))
        check.outcome = AppDataObjectAddOutcome::IllegalData;
    else
        check.entry.Data = ParseHexByteList(check.entry.DataText);
    return check;
}

} // namespace trelmo

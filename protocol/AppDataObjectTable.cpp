#include "AppDataObjectTable.h"

#include "DecimalText.h"
#include "HexText.h"
#include "ObjectAccess.h"

#include <algorithm>

namespace trelmo {
namespace {

auto MatchesPair(std::int32_t instance, std::int32_t attribute)
{
    return [instance, attribute](const AppDataObjectEntry& entry) {
        return entry.Instance == instance && entry.Attribute == attribute;
    };
}

std::uint16_t Low16(std::int32_t value)
{
    return static_cast<std::uint16_t>(static_cast<std::uint32_t>(value) & 0xFFFFu);
}

bool FitsSixteenBits(std::int32_t value)
{
    return value >= 0 && value <= 0xFFFF;
}

} // namespace

bool AppDataObjectTable::Add(AppDataObjectEntry entry)
{
    if (Find(entry.Instance, entry.Attribute))
        return false;
    entries_.push_back(std::move(entry));
    return true;
}

bool AppDataObjectTable::Remove(std::int32_t instance, std::int32_t attribute)
{
    const auto found = std::find_if(entries_.begin(), entries_.end(), MatchesPair(instance, attribute));
    if (found == entries_.end())
        return false;
    entries_.erase(found);
    return true;
}

const AppDataObjectEntry* AppDataObjectTable::Find(std::int32_t instance, std::int32_t attribute) const
{
    const auto found = std::find_if(entries_.begin(), entries_.end(), MatchesPair(instance, attribute));
    return found == entries_.end() ? nullptr : &*found;
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
        check.entry.ByteCount = CountHexTokens(check.entry.DataText);
    return check;
}

bool SendAppDataObject(const AppDataObjectTable& table, std::int32_t instance, std::int32_t attribute,
                       SerialPort& port, SequenceCounter& counter, MessageLog& log)
{
    const AppDataObjectEntry* entry = table.Find(instance, attribute);
    // Entries come through the Add checks; one that slipped past them would not fit the module's buffer.
    if (!entry || !IsLegalHexByteList(entry->DataText))
        return false;
    const Bytes request = BuildObjectRequest(counter, ServiceWrite, AppDataObjectCode, Low16(entry->Instance),
                                             Low16(entry->Attribute), ParseHexByteList(entry->DataText));
    if (!SendLoggedFrame(port, log, request))
        return false;
    ReceiveLoggedAnswer(port, log);
    return true;
}

} // namespace trelmo

#include "AppDataObjectTable.h"

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

bool SendAppDataObject(const AppDataObjectTable& table, std::int32_t instance, std::int32_t attribute,
                       SerialPort& port, SequenceCounter& counter, MessageLog& log)
{
    const AppDataObjectEntry* entry = table.Find(instance, attribute);
    // Entries come through the Add checks; one that slipped past them would not fit the module's buffer.
    if (!entry || entry->Data.size() > MaxObjectDataBytes)
        return false;
    const Bytes request = BuildObjectRequest(counter, ServiceWrite, AppDataObjectCode, Low16(entry->Instance),
                                             Low16(entry->Attribute), entry->Data);
    if (!SendLoggedFrame(port, log, request))
        return false;
    ReceiveLoggedAnswer(port, log);
    return true;
}

} // namespace trelmo

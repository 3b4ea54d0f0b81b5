#pragma once
// The application data objects the host offers to the module (attributes of object 0xF1), and the write of one of
// them when the module names it. Plain logic, no windows.

#include "Frame.h"
#include "MessageLog.h"
#include "SerialPort.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace trelmo {

struct AppDataObjectEntry {
    std::int32_t Instance = 0;  // as typed; sent as its low 16 bits
    std::int32_t Attribute = 0; // as typed; sent as its low 16 bits
    Bytes Data;                 // what is written to the module
    std::string DataText;       // the data as the user typed it, trimmed; what the list shows
};

// Entries in the order they were added; no two share an (instance, attribute) pair.
class AppDataObjectTable {
public:
    // False, and the table unchanged, when the pair is already present.
    bool Add(AppDataObjectEntry entry);
    // False when no entry has the pair.
    bool Remove(std::int32_t instance, std::int32_t attribute);
    // The entry with the pair, or nullptr. The pointer is valid until the table changes.
    const AppDataObjectEntry* Find(std::int32_t instance, std::int32_t attribute) const;
    const std::vector<AppDataObjectEntry>& Entries() const { return entries_; }
    std::size_t Size() const { return entries_.size(); }

private:
    std::vector<AppDataObjectEntry> entries_;
};

// Writes the entry with the pair to object 0xF1 and logs the request and any answer; the answer is not examined.
// A pair not in the table (or an entry with more data than a request holds) sends and logs nothing.
// Returns true when the request went out.
bool SendAppDataObject(const AppDataObjectTable& table, std::int32_t instance, std::int32_t attribute,
                       SerialPort& port, SequenceCounter& counter, MessageLog& log);

} // namespace trelmo

#pragma once
// What the tool windows read from the texts the user typed: the attribute's address and the bytes to write, with
// the checks of Object Module Access's Send action, and the application data object to add.

#include "AppDataObjectTable.h"
#include "Frame.h"

#include <string>

namespace trelmo {

// What the checks of the Send action find before anything is sent.
enum class AccessCheck {
    Ready,
    CodesIncomplete,  // the object, instance or attribute code is empty
    InputDataMissing, // Write with no input data as typed
    ReservedObject,   // the object code that would be sent is 0xF0 or 0xF1
};

AccessCheck CheckAccessTexts(const std::string& objectText, const std::string& instanceText,
                             const std::string& attributeText, bool write, const std::string& inputDataText);

// The object code in hex, instance and attribute in decimal, each cut to the bits that go on the wire.
ObjectAddress AddressFromTexts(const std::string& objectText, const std::string& instanceText,
                               const std::string& attributeText);

enum class WriteInput {
    Ready,
    Empty,   // blank only
    Illegal, // not hex bytes of one or two digits at single blanks, or more than fit a request
};
struct WriteInputBytes {
    WriteInput check = WriteInput::Ready;
    Bytes bytes; // when Ready
};
WriteInputBytes ParseWriteInput(const std::string& inputDataText);

// What the checks of the Add action find. Line breaks in the data text become blanks.
enum class AppDataObjectAddOutcome {
    Accepted,
    OutOfRange,   // the instance or the attribute is above 65535: only 16 bits of each go on the wire
    RepeatedPair, // the (instance, attribute) pair is already in the table
    EmptyData,    // the data text is empty or blank only
    IllegalData,  // more than 242 bytes, or a piece that is not one or two hex digits
};
struct AppDataObjectAddCheck {
    AppDataObjectAddOutcome outcome = AppDataObjectAddOutcome::Accepted;
    AppDataObjectEntry entry; // the entry to add, when accepted
};
AppDataObjectAddCheck CheckAppDataObjectAdd(const AppDataObjectTable& table, const std::string& instanceText,
                                            const std::string& attributeText, const std::string& dataText);

} // namespace trelmo

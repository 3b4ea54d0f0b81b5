#pragma once
// What the commands and the test plan steps do on a connected session: read the module information, read and
// write one attribute, run the cyclic exchange. Each calls the protocol operations the windows call and turns the
// outcome into an exit status and, on failure, a reason.

#include "AppDataObjectTable.h"
#include "CliSession.h"
#include "IoExchange.h"
#include "ModuleInfo.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

namespace trelmo::cli {

// One attribute, as typed: object code in hex, instance and attribute in decimal.
struct ObjectTarget {
    std::uint8_t object = 0;
    std::uint16_t instance = 0;
    std::uint16_t attribute = 0;
};

// Reads the three texts strictly (one or two hex digits; decimal 0 to 65535). Objects 0xF0 and 0xF1 belong to the
// cyclic exchange and are refused. Empty with the reason in *error.
std::optional<ObjectTarget> ParseObjectTarget(const QString& object, const QString& instance,
                                              const QString& attribute, QString* error);
// A decimal whole number from low to high, nothing else.
std::optional<int> ParseWholeNumber(const QString& text, int low, int high);
// Hex bytes: digit pairs separated by blanks or commas ("0A 0B", "0a0b"); between minCount and maxCount of them.
std::optional<Bytes> ParseHexBytes(const QString& text, std::size_t minCount, std::size_t maxCount);
// An application data object to serve: "INST:ATTR=HEX".
std::optional<AppDataObjectEntry> ParseServedObject(const QString& text, QString* error);

// "0A FF" (upper case, single blanks).
QString BytesText(const Bytes& bytes);

// Text for a terminal: each control character (U+0000 to U+001F, U+007F to U+009F) as \xHH and each backslash as
// \\, so that text from a module can neither move the cursor nor retitle the window, and reads back unambiguously.
QString TerminalText(const QString& text);

struct OperationResult {
    int status = ExitOk;
    QString error; // why it failed
};

// The module information's fields: the key in JSON output and test plans, the label in text output.
struct InfoField {
    const char* key;
    const char* label;
    std::string ModuleInfo::*value;
};
inline constexpr InfoField InfoFields[] = {
    {"networkType", "Network Type", &ModuleInfo::NetworkType},
    {"productType", "Product Type", &ModuleInfo::ProductType},
    {"serialNumber", "Serial Number", &ModuleInfo::SerialNumber},
    {"productionDate", "Production Date", &ModuleInfo::ProductionDate},
    {"hardwareVersion", "Hardware Version", &ModuleInfo::HardwareVersion},
    {"firmwareVersion", "Firmware Version", &ModuleInfo::FirmwareVersion},
};

struct InfoResult : OperationResult {
    ModuleInfo info;
};
InfoResult ReadInfo(CliSession& session);

struct ReadResult : OperationResult {
    Bytes data;
};
ReadResult ReadObject(CliSession& session, const ObjectTarget& target);

// Probes the attribute's size, then writes, as the object access window does.
OperationResult WriteObject(CliSession& session, const ObjectTarget& target, const Bytes& data);

struct ExchangeRequest {
    int cycles = 1;
    Bytes writeData; // at most 244 bytes
    AppDataObjectTable served;
    int reconnectSeconds = 0; // how long a lost link is looked for again; 0: a lost link ends the run
};

// A lost link during the run (back = false) and its return, after the cycle it happened in.
struct LinkEvent {
    int cycle = 0;
    bool back = false;
};

// What one cycle brought: the cycle's own account of the module's answer, with the bytes it showed or stored.
struct CycleReport {
    int cycle = 0;
    IoAnswerKind kind = IoAnswerKind::None;
    Bytes data;                                  // read data, handed-over data
    std::uint16_t instance = 0, attribute = 0;   // the application data object asked for
    bool served = false;                         // whether it was in the served table and written
};

// Runs the cycles and reports each; onCycle returns false to end the run after that cycle. ExitOk when every cycle
// run was answered; ExitErrorAnswer or ExitNoAnswer when one was not. A lost connection ends the run at once with
// ExitNoAnswer, unless it is back within the reconnection time; onLinkEvent hears of each loss and return.
OperationResult RunExchange(CliSession& session, const ExchangeRequest& exchange,
                            const std::function<bool(const CycleReport&)>& onCycle,
                            const std::function<void(const LinkEvent&)>& onLinkEvent = {});

} // namespace trelmo::cli

#pragma once
// One cycle of the cyclic I/O exchange as plain logic: send the write data, read the module's answer and act on it
// (show read data, store and acknowledge a configuration request, serve an application data object). Stopping and
// arming the timer, applying the write length and showing lengths are the window's; the cycle says what to arm and
// how much read data it showed.

#include "AppDataObjectTable.h"
#include "GridCells.h"
#include "LoggedExchange.h"
#include "MessageLog.h"
#include "ModuleSession.h"
#include "SerialPort.h"
#include "WriteData.h"

#include <cstdint>
#include <optional>

namespace trelmo {

constexpr int IoAnswerIntervalMs = 300;  // the module answered
constexpr int IoRetryIntervalMs = 1000;  // the send failed or nothing came back

// What one cycle talks to and where the module's hand-overs go.
struct IoExchangeContext {
    SerialPort& port;
    SequenceCounter& sequence;
    MessageLog& log;
    AppConfigObjectData& handedOver; // receives the module's configuration and parameter data
    const AppDataObjectTable& appDataObjects;
};

// What the module's answer to a cycle was, as the cycle acted on it.
enum class IoAnswerKind {
    None,              // nothing, or nothing whole and intact
    ReadData,          // I/O read data, shown in the read grid
    ConfigurationData, // configuration data handed over (object 0xF0, instance 2), stored and acknowledged
    ParameterData,     // parameter data handed over (object 0xF0, instance 3), stored and acknowledged
    AppDataObject,     // a request for an application data object (object 0xF1)
    ErrorFrame,        // the module's error answer
    OtherFrame,        // an intact frame the cycle does not act on
};

struct IoCycleOutcome {
    int timerIntervalMs = IoRetryIntervalMs;
    // Set when the module's I/O data was shown in the read grid: the number of bytes it holds now.
    std::optional<int> readLength;
    IoAnswerKind answer = IoAnswerKind::None;
    ExchangeOutcome exchange = ExchangeOutcome::NoAnswer; // how the cyclic frame's own exchange went
    // The application data object asked for, and whether it was in the table and sent.
    std::uint16_t instance = 0;
    std::uint16_t attribute = 0;
    bool served = false;
};

// One cycle: sends the write data as it is, reads the answer and acts on it. readLength is the number of read grid
// cells in use before the cycle.
IoCycleOutcome ExchangeIoData(IoExchangeContext& context, const WriteData& writeData, GridCells& readGrid,
                              int readLength);

} // namespace trelmo

#pragma once
// One cycle of the cyclic I/O exchange as plain logic: send the write data, read the module's answer and act on it
// (hand back read data, acknowledge configuration or parameter data, serve an application data object). Arming the
// next cycle is the link controller's; showing what came is the front end's.

#include "AppDataObjectTable.h"
#include "Frame.h"
#include "LoggedExchange.h"
#include "MessageLog.h"
#include "SerialPort.h"

#include <cstdint>

namespace trelmo {

constexpr int IoAnswerIntervalMs = 300;  // the module answered
constexpr int IoRetryIntervalMs = 1000;  // the send failed or nothing came back

// The data of the application configuration object (0xF0) the module last handed over in the cyclic exchange:
// configuration data (instance 2) and parameter data (instance 3).
struct AppConfigObjectData {
    Bytes ConfigurationData;
    Bytes ParameterData;
};

// What one cycle talks to.
struct IoExchangeContext {
    SerialPort& port;
    SequenceCounter& sequence;
    MessageLog& log;
    const AppDataObjectTable& appDataObjects;
};

// What the module's answer to a cycle was, as the cycle acted on it.
enum class IoAnswerKind {
    None,              // nothing, or nothing whole and intact
    ReadData,          // I/O read data
    ConfigurationData, // configuration data handed over (object 0xF0, instance 2), acknowledged
    ParameterData,     // parameter data handed over (object 0xF0, instance 3), acknowledged
    AppDataObject,     // a request for an application data object (object 0xF1)
    ErrorFrame,        // the module's error answer
    OtherFrame,        // an intact frame the cycle does not act on
};

struct IoCycleOutcome {
    int timerIntervalMs = IoRetryIntervalMs;
    IoAnswerKind answer = IoAnswerKind::None;
    // ReadData: the module's I/O data, at most the read grid's 250 bytes. ConfigurationData, ParameterData: the data
    // handed over. Empty otherwise.
    Bytes data;
    ExchangeOutcome exchange = ExchangeOutcome::NoAnswer; // how the cyclic frame's own exchange went
    // The port was lost during the cycle (hang-up, device gone, a failed send): no later cycle can reach the module.
    bool linkLost = false;
    // The application data object asked for, and whether it was in the table and sent.
    std::uint16_t instance = 0;
    std::uint16_t attribute = 0;
    bool served = false;
};

// One cycle: sends the write data (its first 244 bytes at most), reads the answer and acts on it.
IoCycleOutcome ExchangeIoData(IoExchangeContext& context, const Bytes& writeData);

} // namespace trelmo

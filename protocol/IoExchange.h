#pragma once
// One cycle of the cyclic I/O exchange as plain logic: send the write data, read the module's answer and act on it
// (show read data, store and acknowledge a configuration request, serve an application data object). Stopping and
// arming the timer and showing texts are the window's; the cycle says what to arm and what to show.

#include "AppDataObjectTable.h"
#include "DemoApp.h"
#include "GridCells.h"
#include "MessageLog.h"
#include "SerialPort.h"
#include "WriteData.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace trelmo {

constexpr int IoAnswerIntervalMs = 300;  // the module answered
constexpr int IoRetryIntervalMs = 1000;  // the send failed or nothing came back
constexpr std::uint8_t ApplicationConfigurationObject = 0xF0;

// What one cycle talks to and where the module's hand-overs go.
struct IoExchangeContext {
    SerialPort& port;
    SequenceCounter& sequence;
    MessageLog& log;
    CDemoApp& app; // ConfigurationData* and ParameterData* receive the module's configuration hand-overs
    const AppDataObjectTable& appDataObjects;
};

struct IoCycleOutcome {
    int timerIntervalMs = IoRetryIntervalMs;
    // Set when read data was shown: the text for the read Length edit.
    std::optional<std::string> readLengthText;
};

// One cycle. applyWriteLength (may be empty) runs before the frame is built and may change writeData, which is
// read afterwards. readLengthText is what the read Length edit shows now.
IoCycleOutcome ExchangeIoData(IoExchangeContext& context, const WriteDataState& writeData, GridCells& readGrid,
                              const std::string& readLengthText,
                              const std::function<void()>& applyWriteLength = {});

} // namespace trelmo

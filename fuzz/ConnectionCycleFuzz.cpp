// The connection sequence and the cyclic exchange fed arbitrary module answers through the fake line, called as the
// main window calls them: the auto-baud handshake (on a clock that runs a second per reading), the bus address and
// the on-line request, then a few cycles of ExchangeIoData with write data and application data objects. The answers carry I/O data, configuration and parameter requests (object 0xF0), application data object
// requests, error frames, short, split and late answers (ScriptedModule).
//   byte 0: operating mode (bits 0-1), skip the connection (bit 2), writes fail from write 2 + bits 4-7 (bit 3)
//   byte 1: bus address (bits 0-6); byte 2: cycles (bits 0-3), write length (bits 4-7, times 16)
//   the rest: the module's answers

#include "AppDataObjectTable.h"
#include "ConnectionSteps.h"
#include "IoExchange.h"
#include "ModuleSession.h"
#include "ScriptedModule.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

using namespace trelmo;

AppDataObjectTable MakeAppDataObjects()
{
    AppDataObjectTable table;
    table.Add({1, 1, {0x01, 0x02, 0x03}, "01 02 03"});
    table.Add({2, 5, {0xFF}, "FF"});
    table.Add({65535, 65535, {0x00, 0x7F}, "00 7F"});
    return table;
}

// Read data fits the read grid, hand-overs fit the answer buffer, and no other answer carries data.
void CheckCycle(const IoCycleOutcome& outcome, const SerialPort& port)
{
    if (outcome.timerIntervalMs != IoAnswerIntervalMs && outcome.timerIntervalMs != IoRetryIntervalMs)
        std::abort();
    switch (outcome.answer) {
    case IoAnswerKind::ReadData:
        if (outcome.data.size() > MaxIoDataLength)
            std::abort();
        break;
    case IoAnswerKind::ConfigurationData:
    case IoAnswerKind::ParameterData:
        if (outcome.data.size() > MaxObjectDataBytes)
            std::abort();
        break;
    default:
        if (!outcome.data.empty())
            std::abort();
    }
    if (outcome.linkLost == port.IsOpen())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::ByteSource input(data, size);
    const std::uint8_t scenario = input.Take();
    const std::uint8_t busAddress = input.Take(1) & 0x7F;
    const std::uint8_t counts = input.Take();

    auto owned = std::make_unique<fake::FakeSerialBackend>();
    fake::FakeSerialBackend& backend = *owned;
    ModuleSession session(std::move(owned));
    session.Port().SetWaitFunction(backend.WaitHook());
    fuzz::ScriptedModule module(backend, input);
    if (scenario & 0x08)
        backend.FailWritesFrom(2 + (scenario >> 4));
    session.Port().OpenSerialPort("fuzz", 115200);

    long seconds = 0;
    const SecondsClock clock = [&seconds] { return seconds++; };
    const auto mode = static_cast<OperatingMode>((scenario & 0x03) % 3);
    if (!(scenario & 0x04)
        && ConnectionSequence(session.Port(), session.Sequence(), session.Log(), mode, busAddress, clock).step
               != ConnectionOutcome::Online)
        return 0;

    const AppDataObjectTable appDataObjects = MakeAppDataObjects();
    const Bytes writeData((counts >> 4) * 16, 0x5A);
    IoExchangeContext context{session.Port(), session.Sequence(), session.Log(), appDataObjects};
    const int cycles = 1 + (counts & 0x0F);
    for (int cycle = 0; cycle < cycles && session.Port().IsOpen(); ++cycle)
        CheckCycle(ExchangeIoData(context, writeData), session.Port());
    return 0;
}

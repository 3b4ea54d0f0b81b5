// The connection sequence and the cyclic exchange fed arbitrary module answers through the fake line, called as the
// main window calls them: the auto-baud handshake (on a clock that runs a second per reading), the bus address and
// the on-line request, then a few cycles of ExchangeIoData with the window's grid, write data and application data
// objects. The answers carry I/O data, configuration and parameter requests (object 0xF0), application data object
// requests, error frames, short, split and late answers (ScriptedModule).
//   byte 0: operating mode (bits 0-1), skip the connection (bit 2), writes fail from write 2 + bits 4-7 (bit 3)
//   byte 1: bus address (bits 0-6); byte 2: cycles (bits 0-3), write length (bits 4-7, times 16)
//   the rest: the module's answers

#include "AppDataObjectTable.h"
#include "ConnectionSteps.h"
#include "IoExchange.h"
#include "MemoryGrid.h"
#include "ModuleSession.h"
#include "ScriptedModule.h"
#include "WriteData.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

using namespace trelmo;

AppDataObjectTable MakeAppDataObjects()
{
    AppDataObjectTable table;
    for (const auto& [instance, attribute, data] :
         {std::tuple{"1", "1", "01 02 03"}, std::tuple{"2", "5", "FF"}, std::tuple{"65535", "65535", "00 7F"}}) {
        const AppDataObjectAddCheck check = CheckAppDataObjectAdd(table, instance, attribute, data);
        if (check.outcome == AppDataObjectAddOutcome::Accepted)
            table.Add(check.entry);
    }
    return table;
}

// The read grid holds exactly the shown length of active cells; the hand-overs fit the answer buffer.
void CheckCycle(const IoCycleOutcome& outcome, const testing::MemoryGrid& readGrid, const AppConfigObjectData& data)
{
    if (outcome.timerIntervalMs != IoAnswerIntervalMs && outcome.timerIntervalMs != IoRetryIntervalMs)
        std::abort();
    if (outcome.readLength) {
        const int length = *outcome.readLength;
        if (length < 0 || length > GridDataCells)
            std::abort();
        if ((length > 0 && !readGrid.Active(length - 1)) || (length < GridDataCells && readGrid.Active(length)))
            std::abort();
    }
    const std::size_t maxData = ModuleFrame::BufferSize - ModuleFrame::EmptyObjectFrameSize;
    for (const Bytes* handedOver : {&data.ConfigurationData, &data.ParameterData}) {
        if (handedOver->size() > maxData)
            std::abort();
    }
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
    testing::MemoryGrid writeGrid;
    testing::MemoryGrid readGrid;
    WriteData writeData;
    ApplyWriteLength(writeGrid, writeData, (counts >> 4) * 16);
    IoExchangeContext context{session.Port(), session.Sequence(), session.Log(), session.HandedOver(),
                              appDataObjects};
    int readLength = 0;
    const int cycles = 1 + (counts & 0x0F);
    for (int cycle = 0; cycle < cycles && session.Port().IsOpen(); ++cycle) {
        const IoCycleOutcome outcome = ExchangeIoData(context, writeData, readGrid, readLength);
        CheckCycle(outcome, readGrid, session.HandedOver());
        if (outcome.readLength)
            readLength = *outcome.readLength;
    }
    return 0;
}

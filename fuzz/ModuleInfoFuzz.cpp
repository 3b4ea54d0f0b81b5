// Module information fed arbitrary replies through the fake line, called as the main window calls it: both object
// reads with their replies gathered in pieces, then the decoding into the six texts. The input's own bytes are also
// decoded directly as a pair of replies.
//   byte 0: the send of write 1 + bit 0 fails (bit 1); byte 1: where the input splits into two direct replies
//   the rest: the module's answers (ScriptedModule)

#include "ModuleInfo.h"
#include "ScriptedModule.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

using namespace trelmo;

// Two 20-byte texts at most; a 32-bit number in decimal; "%x%02x-%x-%x"; two "%d.%d" of 16-bit numbers.
void CheckDecoded(const ModuleInfo& info)
{
    if (info.NetworkType.size() > ModuleInfoReply::TextSize || info.ProductType.size() > ModuleInfoReply::TextSize
        || info.SerialNumber.empty() || info.SerialNumber.size() > 10 || info.ProductionDate.size() > 10
        || info.HardwareVersion.size() > 11 || info.FirmwareVersion.size() > 11)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::ByteSource input(data, size);
    const std::uint8_t scenario = input.Take();
    const std::size_t split = input.Take();

    const std::size_t firstSize = split < size ? split : size;
    CheckDecoded(DecodeModuleInfo(Bytes(data, data + firstSize), Bytes(data + firstSize, data + size)));

    fake::FakeLink link;
    fuzz::ScriptedModule module(*link.backend, input);
    if (scenario & 0x02)
        link.backend->FailWritesFrom(1 + (scenario & 0x01));
    SequenceCounter counter;
    MessageLog log;
    if (const std::optional<ModuleInfo> info = ReadModuleInfo(link.port, counter, log).info)
        CheckDecoded(*info);
    return 0;
}

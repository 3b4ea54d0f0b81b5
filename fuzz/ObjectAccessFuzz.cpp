// Object access read and write fed arbitrary module responses through the fake line: ReadAttribute, or
// WriteAttribute (a read probe, then the write), on an address and data taken from the input.
//   byte 0: write (bit 0), the send of write 1 + bit 4 fails (bit 5)
//   bytes 1-5: object code, instance and attribute (high byte first); byte 6: write data size, then the data
//   the rest: the module's answers (ScriptedModule)

#include "ObjectAccess.h"
#include "ScriptedModule.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace trelmo;
    fuzz::ByteSource input(data, size);
    const std::uint8_t scenario = input.Take();
    const bool write = scenario & 0x01;
    const Bytes code = input.TakeBytes(5);
    ObjectAddress address{};
    if (code.size() == 5)
        address = {code[0], ReadBigEndian16(&code[1]), ReadBigEndian16(&code[3])};
    const Bytes writeData = write ? input.TakeBytes(input.Take()) : Bytes();

    fake::FakeLink link;
    fuzz::ScriptedModule module(*link.backend, input);
    if (scenario & 0x20)
        link.backend->FailWritesFrom(1 + ((scenario >> 4) & 0x01));
    SequenceCounter counter;
    MessageLog log;
    const AccessResult result = write ? WriteAttribute(link.port, counter, log, address, writeData)
                                      : ReadAttribute(link.port, counter, log, address);

    // Only an answered read has data, of at most a buffer's bytes.
    if (result.responseData.has_value() != (result.outcome == AccessOutcome::ReadAnswered))
        std::abort();
    if (result.responseData && result.responseData->size() > ModuleFrame::BufferSize)
        std::abort();
    // The data of any response lies within the bytes received.
    const Bytes inputAsResponse = ResponseData(data, size);
    if (size > ModuleFrame::Data ? inputAsResponse.size() > size - ModuleFrame::Data : !inputAsResponse.empty())
        std::abort();
    return 0;
}

// The virtual module fed arbitrary host bytes, cut into pieces as a line would deliver them: its frame collector
// (probes, partial frames, frames with bad CRCs or lengths), the dropping of a stale partial frame, and the model's
// answers to every request it serves. The first input byte chooses the module's options and the piece sizes.

#include "ModuleModel.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace trelmo;
    if (size == 0)
        return 0;
    const std::uint8_t choice = data[0];
    ModuleOptions options;
    options.mode = static_cast<OperatingMode>(choice % 3);
    options.configAt = 1 + (choice >> 2) % 3;
    options.paramAt = 2;
    options.adiEvery = (choice >> 4) % 3;
    if (choice & 0x80)
        options.shortAnswer = {AnswerKind::Io, AnswerKind::Object};
    ModuleModel model(options);
    const int baudRates[] = {0, 9600, 115200};

    std::size_t offset = 1;
    std::size_t piece = 1 + (choice & 0x0F);
    while (offset < size) {
        const std::size_t count = piece < size - offset ? piece : size - offset;
        for (const Bytes& answer : model.Receive(data + offset, count, baudRates[(offset + choice) % 3])) {
            if (answer.size() > 0x10000)
                std::abort();
        }
        if (data[offset] == 0xFF)
            model.DropPartialFrame();
        offset += count;
        piece = 1 + data[offset - 1] % 64;
    }
    model.TakeNotes();
    return 0;
}

// Object access read and write fed arbitrary module responses through the fake line, called as the object access
// window calls them: the checks of the typed texts, then ReadAttribute or WriteAttribute (a read probe, then the
// write). The typed texts are either ones a user would type or taken from the input.
//   byte 0: write (bit 0), texts from the input (bit 1), choice of typed texts (bits 2-3), the send of write 1 + bit
//           4 fails (bit 5)
//   with texts from the input: four texts (object, instance, attribute, input data), each a size byte and its bytes
//   the rest: the module's answers (ScriptedModule)

#include "ObjectAccess.h"
#include "ScriptedModule.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

using namespace trelmo;

struct TypedTexts {
    std::string object, instance, attribute, input;
};

const TypedTexts TypicalTexts[] = {
    {"3", "1", "1", "7E"},
    {"0", "2", "0", "1"},
    {"2", "1", "0", "01 02 03 04 05 06 07 08 09 0a 0b 0c 0d 0e 0f 10 11 12 13 14"},
    {"ff", "65535", "65535", " a  b "},
};

std::string TakeText(fuzz::ByteSource& input)
{
    const Bytes bytes = input.TakeBytes(input.Take() % 64);
    return std::string(bytes.begin(), bytes.end());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::ByteSource input(data, size);
    const std::uint8_t scenario = input.Take();
    const bool write = scenario & 0x01;
    TypedTexts texts = TypicalTexts[(scenario >> 2) & 0x03];
    if (scenario & 0x02)
        texts = {TakeText(input), TakeText(input), TakeText(input), TakeText(input)};

    fake::FakeLink link;
    fuzz::ScriptedModule module(*link.backend, input);
    if (scenario & 0x20)
        link.backend->FailWritesFrom(1 + ((scenario >> 4) & 0x01));
    SequenceCounter counter;
    MessageLog log;

    if (CheckAccessTexts(texts.object, texts.instance, texts.attribute, write, texts.input) != AccessCheck::Ready)
        return 0;
    const AccessResult result = write
        ? WriteAttribute(link.port, counter, log, texts.object, texts.instance, texts.attribute, texts.input)
        : ReadAttribute(link.port, counter, log, texts.object, texts.instance, texts.attribute);

    // Only an answered read has data to show: lowercase pairs, each with its blank, of at most a buffer's bytes.
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

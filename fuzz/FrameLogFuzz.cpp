// The frame log fed arbitrary bytes: the check for a whole, intact frame, the log line of the bytes in both
// directions, its display line, two readers, the saved capture's packets and the decoded lines, stamped with a time
// taken from the first bytes. The input is also taken as a log line itself, since the display line decodes its length
// and direction from the text.

#include "Frame.h"
#include "FrameDecoder.h"
#include "HexText.h"
#include "MessageLog.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace trelmo;
    const std::size_t frameSize = IntactFrameSize(data, size);
    if (frameSize > size)
        std::abort();

    std::int64_t time = 0;
    if (size >= sizeof time)
        std::memcpy(&time, data, sizeof time);
    MessageLog log([time] { return time; });
    MessageLog::Reader first(log);
    std::string line;
    {
        MessageLog::Reader second(log);
        log.Append(BytesToHexText(data, size, 0));
        log.Append(BytesToHexText(data, size, 1));
        log.Append(std::string(reinterpret_cast<const char*>(data), size));
        if (second.TakeAll().size() != 3)
            std::abort();
    }
    std::vector<std::string> shown;
    const std::vector<LogEntry> entries = first.TakeAll();
    for (const LogEntry& logged : entries)
        shown.push_back(FormatDisplayLine(logged.line));
    if (shown.size() != 3)
        std::abort();
    // The saved capture's packets (the saves themselves only add file writes) and the decoded lines.
    for (const LogEntry& logged : entries) {
        if (LogEntryPacket(logged).empty() || DecodeLogEntry(logged).data.size() > size)
            std::abort();
    }
    return 0;
}

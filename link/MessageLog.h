#pragma once
// The frame log: hands each hex line, with the time it was logged, to every open reader (one per Message Display
// window, one per trace), and the display-line and file formats of a saved log. A line logged while no reader is
// open is kept nowhere, so the log stays small however long the tool runs. Lines may be appended on one thread
// (the link's) while readers on others (the windows') take them.

#include "Frame.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace trelmo {

// The open readers of one log and the lock that guards them and their entries.
struct MessageLogReaders;

// One logged frame: its log line ("1" sent / "0" received, then "%02X " per byte), when it was logged, in
// microseconds since 1970, and whether it holds bytes that were waiting before a request and were set aside. The
// mark lives beside the line, so that lines, display lines and captures stay as they are.
struct LogEntry {
    std::string line;
    std::int64_t microseconds = 0;
    bool setAside = false;
    bool operator==(const LogEntry& other) const
    {
        return line == other.line && microseconds == other.microseconds && setAside == other.setAside;
    }
};

// Whether the log line is a sent one; any other line (even an empty one) counts as received.
inline bool IsSentLine(const std::string& logLine)
{
    return !logLine.empty() && logLine[0] == '1';
}

// The bytes of a log line: its hex pairs after the direction character.
Bytes LogLineBytes(const std::string& logLine);

// Microseconds since 1970 on the system clock.
std::int64_t SystemMicroseconds();

class MessageLog {
public:
    // Receives every line appended while it is open, until its owner takes them. Opens on construction and
    // closes on destruction; a reader that outlives its log simply receives nothing more.
    class Reader {
    public:
        explicit Reader(MessageLog& log);
        ~Reader();
        Reader(const Reader&) = delete;
        Reader& operator=(const Reader&) = delete;

        // The entries received since the last call, oldest first; the reader is then empty.
        std::vector<LogEntry> TakeAll();

    private:
        friend class MessageLog;
        std::shared_ptr<MessageLogReaders> readers_;
        std::vector<LogEntry> entries_; // guarded by the readers' mutex
    };

    // clock gives each line its time; tests pass their own.
    explicit MessageLog(std::function<std::int64_t()> clock = SystemMicroseconds);
    ~MessageLog();
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;

    // Gives the line, stamped with the clock's time and marked set aside when asked, to every open reader; with none
    // open the line is dropped.
    void Append(std::string line, bool setAside = false);

private:
    std::function<std::int64_t()> clock_;
    // Shared with the readers, so that a reader that outlives the log still finds its lock.
    std::shared_ptr<MessageLogReaders> readers_;
};

// "TX"/"RX", the line's length / 3 with at least three digits, then the line without its direction character:
// "101 02 " -> "TX: Length:002, Data:01 02 ".
std::string FormatDisplayLine(const std::string& logLine);

// Writes lines 0 to count - 1, as lineAt gives them, each followed by CR LF, replacing the file once all are written.
// False when it cannot be created or a write fails; an earlier file then stays as it was. A long list is written line
// by line, never copied whole.
bool WriteDisplayLines(const std::string& path, std::size_t count,
                       const std::function<std::string(std::size_t)>& lineAt);
inline bool WriteDisplayLines(const std::string& path, const std::vector<std::string>& lines)
{
    return WriteDisplayLines(path, lines.size(), [&lines](std::size_t i) { return lines[i]; });
}

// The pcapng packet block of one logged line: its bytes and time, sent lines outbound, received lines inbound.
Bytes LogEntryPacket(const LogEntry& entry);

// Writes entries 0 to count - 1, as entryAt gives them, as a pcapng capture (one packet per line, sent lines
// outbound, received lines inbound), replacing the file once all are written. False when it cannot be created or a
// write fails; an earlier file then stays as it was.
bool WriteLogCapture(const std::string& path, std::size_t count,
                     const std::function<const LogEntry&(std::size_t)>& entryAt);
inline bool WriteLogCapture(const std::string& path, const std::vector<LogEntry>& entries)
{
    return WriteLogCapture(path, entries.size(), [&entries](std::size_t i) -> const LogEntry& { return entries[i]; });
}

} // namespace trelmo

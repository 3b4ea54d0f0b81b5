#include "MessageLog.h"

#include "FileSave.h"
#include "HexText.h"
#include "Pcapng.h"

#include <QFile>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <mutex>

namespace trelmo {

struct MessageLogReaders {
    std::mutex mutex;
    std::vector<MessageLog::Reader*> open;
};

MessageLog::Reader::Reader(MessageLog& log) : readers_(log.readers_)
{
    const std::lock_guard<std::mutex> lock(readers_->mutex);
    readers_->open.push_back(this);
}

MessageLog::Reader::~Reader()
{
    const std::lock_guard<std::mutex> lock(readers_->mutex);
    readers_->open.erase(std::find(readers_->open.begin(), readers_->open.end(), this));
}

std::vector<LogEntry> MessageLog::Reader::TakeAll()
{
    std::vector<LogEntry> taken;
    const std::lock_guard<std::mutex> lock(readers_->mutex);
    taken.swap(entries_);
    return taken;
}

std::int64_t SystemMicroseconds()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
}

MessageLog::MessageLog(std::function<std::int64_t()> clock)
    : clock_(std::move(clock)), readers_(std::make_shared<MessageLogReaders>())
{
}

MessageLog::~MessageLog() = default;

void MessageLog::Append(std::string line, bool setAside)
{
    const std::lock_guard<std::mutex> lock(readers_->mutex);
    std::vector<Reader*>& open = readers_->open;
    if (open.empty())
        return;
    LogEntry entry{std::move(line), clock_ ? clock_() : 0, setAside};
    for (std::size_t i = 0; i + 1 < open.size(); ++i)
        open[i]->entries_.push_back(entry);
    open.back()->entries_.push_back(std::move(entry));
}

std::string FormatDisplayLine(const std::string& logLine)
{
    const bool sent = IsSentLine(logLine);
    char length[32];
    std::snprintf(length, sizeof length, "%03zu", logLine.size() / 3);
    std::string display = sent ? "TX" : "RX";
    display += ": Length:";
    display += length;
    display += ", Data:";
    if (!logLine.empty())
        display.append(logLine, 1, std::string::npos);
    return display;
}

bool WriteDisplayLines(const std::string& path, std::size_t count,
                       const std::function<std::string(std::size_t)>& lineAt)
{
    return SaveFileWhole(QFile::decodeName(path.c_str()), [&](QIODevice& file) {
        for (std::size_t i = 0; i < count; ++i) {
            const std::string record = lineAt(i) + "\r\n";
            if (file.write(record.data(), static_cast<qint64>(record.size())) != static_cast<qint64>(record.size()))
                return false;
        }
        return true;
    });
}

Bytes LogLineBytes(const std::string& logLine)
{
    return logLine.empty() ? Bytes() : ParseHexByteList(logLine.substr(1));
}

Bytes LogEntryPacket(const LogEntry& entry)
{
    const Bytes bytes = LogLineBytes(entry.line);
    return PcapngPacket(entry.microseconds,
                        IsSentLine(entry.line) ? CaptureDirection::Outbound : CaptureDirection::Inbound, bytes.data(),
                        bytes.size());
}

bool WriteLogCapture(const std::string& path, std::size_t count,
                     const std::function<const LogEntry&(std::size_t)>& entryAt)
{
    const auto writeBlock = [](QIODevice& file, const Bytes& block) {
        const auto size = static_cast<qint64>(block.size());
        return file.write(reinterpret_cast<const char*>(block.data()), size) == size;
    };
    return SaveFileWhole(QFile::decodeName(path.c_str()), [&](QIODevice& file) {
        bool ok = writeBlock(file, PcapngHeader());
        for (std::size_t i = 0; ok && i < count; ++i)
            ok = writeBlock(file, LogEntryPacket(entryAt(i)));
        return ok;
    });
}

} // namespace trelmo

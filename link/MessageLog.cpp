#include "MessageLog.h"

#include "FileSave.h"
#include "HexText.h"
#include "Pcapng.h"

#include <QFile>

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace trelmo {

MessageLog::Reader::Reader(MessageLog& log) : log_(&log)
{
    log.readers_.push_back(this);
}

MessageLog::Reader::~Reader()
{
    if (log_)
        log_->readers_.erase(std::find(log_->readers_.begin(), log_->readers_.end(), this));
}

std::vector<LogEntry> MessageLog::Reader::TakeAll()
{
    std::vector<LogEntry> taken;
    taken.swap(entries_);
    return taken;
}

std::int64_t SystemMicroseconds()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
}

MessageLog::~MessageLog()
{
    for (Reader* reader : readers_)
        reader->log_ = nullptr;
}

void MessageLog::Append(std::string line)
{
    if (readers_.empty())
        return;
    LogEntry entry{std::move(line), clock_ ? clock_() : 0};
    for (std::size_t i = 0; i + 1 < readers_.size(); ++i)
        readers_[i]->entries_.push_back(entry);
    readers_.back()->entries_.push_back(std::move(entry));
}

std::string FormatDisplayLine(const std::string& logLine)
{
    const bool sent = !logLine.empty() && logLine[0] == '1';
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

Bytes LogEntryPacket(const LogEntry& entry)
{
    const bool sent = !entry.line.empty() && entry.line[0] == '1';
    const Bytes bytes = entry.line.empty() ? Bytes() : ParseHexByteList(entry.line.substr(1));
    return PcapngPacket(entry.microseconds, sent ? CaptureDirection::Outbound : CaptureDirection::Inbound,
                        bytes.data(), bytes.size());
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

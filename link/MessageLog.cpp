#include "MessageLog.h"

#include <algorithm>
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

std::vector<std::string> MessageLog::Reader::TakeAll()
{
    std::vector<std::string> taken;
    taken.swap(lines_);
    return taken;
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
    for (std::size_t i = 0; i + 1 < readers_.size(); ++i)
        readers_[i]->lines_.push_back(line);
    readers_.back()->lines_.push_back(std::move(line));
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

bool WriteDisplayLines(const std::string& path, const std::vector<std::string>& lines)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool ok = true;
    for (const std::string& line : lines) {
        const std::string record = line + "\r\n";
        if (std::fwrite(record.data(), 1, record.size(), file) != record.size()) {
            ok = false;
            break;
        }
    }
    if (std::fclose(file) != 0)
        ok = false;
    return ok;
}

} // namespace trelmo

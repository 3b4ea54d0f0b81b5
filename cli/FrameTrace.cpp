#include "FrameTrace.h"

#include "Pcapng.h"

namespace trelmo::cli {

bool FrameTrace::Open(const QString& path)
{
    file_.setFileName(path);
    ok_ = file_.open(QIODevice::WriteOnly | QIODevice::Truncate);
    return Put(PcapngHeader()) && file_.flush();
}

bool FrameTrace::Append(const std::vector<LogEntry>& entries)
{
    for (const LogEntry& entry : entries)
        Put(LogEntryPacket(entry));
    ok_ = ok_ && file_.flush();
    return ok_;
}

bool FrameTrace::Put(const Bytes& block)
{
    if (!ok_)
        return false;
    ok_ = file_.write(reinterpret_cast<const char*>(block.data()), static_cast<qint64>(block.size()))
        == static_cast<qint64>(block.size());
    return ok_;
}

} // namespace trelmo::cli

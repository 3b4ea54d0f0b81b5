#include "FrameTrace.h"

#include "HexText.h"
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
    for (const LogEntry& entry : entries) {
        const bool sent = !entry.line.empty() && entry.line[0] == '1';
        const Bytes bytes = entry.line.empty() ? Bytes() : ParseHexByteList(entry.line.substr(1));
        Put(PcapngPacket(entry.microseconds, sent ? CaptureDirection::Outbound : CaptureDirection::Inbound,
                         bytes.data(), bytes.size()));
    }
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

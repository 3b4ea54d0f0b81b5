#include "FrameTrace.h"

#include <QFile>

#include <cerrno>
#include <cstring>

namespace trelmo::cli {

bool FrameTrace::Open(const QString& path)
{
    errno = 0;
    ok_ = writer_.Open(QFile::encodeName(path).toStdString()) && writer_.Flush();
    if (!ok_)
        error_ = QString::fromLocal8Bit(std::strerror(errno));
    return ok_;
}

bool FrameTrace::Append(const std::vector<LogEntry>& entries)
{
    for (const LogEntry& entry : entries)
        writer_.WriteBlock(LogEntryPacket(entry));
    ok_ = writer_.Flush();
    return ok_;
}

} // namespace trelmo::cli

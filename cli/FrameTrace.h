#pragma once
// A pcapng trace of the frame log written as it grows: the header when it opens, then the frames of every batch
// handed to it, flushed to the file each time, so that a run that fails midway leaves the frames until then.

#include "Frame.h"
#include "MessageLog.h"

#include <QFile>
#include <QString>

#include <vector>

namespace trelmo::cli {

class FrameTrace {
public:
    // Creates (or replaces) the file and writes the capture header. False when it cannot be written.
    bool Open(const QString& path);
    // Appends one packet per log entry (sent lines outbound, received lines inbound) and flushes.
    bool Append(const std::vector<LogEntry>& entries);
    bool Ok() const { return ok_; }
    QString ErrorText() const { return file_.errorString(); }

private:
    bool Put(const Bytes& block);

    QFile file_;
    bool ok_ = false;
};

} // namespace trelmo::cli

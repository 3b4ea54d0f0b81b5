#pragma once
// A pcapng trace of the frame log written as it grows: the header when it opens, then the frames of every batch
// handed to it, flushed to the file each time, so that a run that fails midway leaves the frames until then.

#include "MessageLog.h"
#include "Pcapng.h"

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
    // Why the file could not be opened.
    QString ErrorText() const { return error_; }

private:
    PcapngWriter writer_;
    bool ok_ = false;
    QString error_;
};

} // namespace trelmo::cli

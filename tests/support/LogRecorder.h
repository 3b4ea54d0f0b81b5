#pragma once
// Records every line appended to a frame log while it exists, for tests that check what an exchange logged.
//
//     MessageLog log;                        // or session.Log()
//     LogRecorder recorder(log);
//     ReadSomething(port, counter, log);
//     EXPECT_EQ(recorder.Lines()[0], "105 01 ...");

#include "MessageLog.h"

#include <cstddef>
#include <string>
#include <vector>

namespace trelmo {

class LogRecorder {
public:
    explicit LogRecorder(MessageLog& log) : reader_(log) {}

    // Every line logged since the recorder was made, oldest first.
    const std::vector<std::string>& Lines() const
    {
        for (LogEntry& entry : reader_.TakeAll())
            lines_.push_back(std::move(entry.line));
        return lines_;
    }
    std::size_t Size() const { return Lines().size(); }

private:
    // Looking at the lines collects what the reader received meanwhile.
    mutable MessageLog::Reader reader_;
    mutable std::vector<std::string> lines_;
};

} // namespace trelmo

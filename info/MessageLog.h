#pragma once
// The frame log: a hand-over buffer of hex lines that Message Display windows drain, and the display-line and file
// formats of a saved log. Plain logic, UI thread only.

#include <cstddef>
#include <string>
#include <vector>

namespace trelmo {

class MessageLog {
public:
    void Append(std::string line) { lines_.push_back(std::move(line)); }
    void Clear() { lines_.clear(); }
    // Hands every line over to the caller and leaves the log empty.
    std::vector<std::string> TakeAll();
    const std::vector<std::string>& Lines() const { return lines_; }
    std::size_t Size() const { return lines_.size(); }

private:
    std::vector<std::string> lines_;
};

// The process-wide log.
MessageLog& TheMessageLog();
void AppendLogLine(std::string text);
void ClearLog();

// "TX"/"RX", the line's length / 3 with at least three digits, then the line without its direction character:
// "101 02 " -> "TX: Length:002, Data:01 02 ".
std::string FormatDisplayLine(const std::string& logLine);

// The path Save writes: ".txt" is appended unless the chosen name already ends in ".txt" (any letter case).
std::string SavePathFor(const std::string& chosenPath);

// Writes each line followed by CR LF, replacing the file. False when it cannot be created or a write fails
// (the lines written until then stay in the file).
bool WriteDisplayLines(const std::string& path, const std::vector<std::string>& lines);

} // namespace trelmo

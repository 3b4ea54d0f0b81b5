#pragma once
// The frame log: hands each hex line to every open reader (one per Message Display window), and the display-line
// and file formats of a saved log. A line logged while no reader is open is kept nowhere, so the log stays small
// however long the tool runs. Plain logic, UI thread only.

#include <cstddef>
#include <string>
#include <vector>

namespace trelmo {

class MessageLog {
public:
    // Receives every line appended while it is open, until its owner takes them. Opens on construction and
    // closes on destruction; a reader that outlives its log simply receives nothing more.
    class Reader {
    public:
        explicit Reader(MessageLog& log);
        ~Reader();
        Reader(const Reader&) = delete;
        Reader& operator=(const Reader&) = delete;

        // The lines received since the last call, oldest first; the reader is then empty.
        std::vector<std::string> TakeAll();

    private:
        friend class MessageLog;
        MessageLog* log_;
        std::vector<std::string> lines_;
    };

    MessageLog() = default;
    ~MessageLog();
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;

    // Gives the line to every open reader; with none open the line is dropped.
    void Append(std::string line);

private:
    std::vector<Reader*> readers_;
};

// "TX"/"RX", the line's length / 3 with at least three digits, then the line without its direction character:
// "101 02 " -> "TX: Length:002, Data:01 02 ".
std::string FormatDisplayLine(const std::string& logLine);

// Writes each line followed by CR LF, replacing the file. False when it cannot be created or a write fails
// (the lines written until then stay in the file).
bool WriteDisplayLines(const std::string& path, const std::vector<std::string>& lines);

} // namespace trelmo

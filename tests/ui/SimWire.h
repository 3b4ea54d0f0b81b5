#pragma once
// Helpers for window tests against the virtual module: the bytes each side put on the wire (from the module's
// traffic log, chunks joined) and the message boxes a window asked for (by string id).

#include "Frame.h"
#include "MessageBoxes.h"
#include "SimProcess.h"
#include "StringTable.h"

#include <QElapsedTimer>
#include <QThread>

#include <initializer_list>
#include <string>
#include <vector>

namespace trelmo::testing {

// Every byte of one direction in the traffic log: '1' from the host, '0' from the module.
inline Bytes TrafficBytes(const SimProcess& sim, char direction)
{
    Bytes bytes;
    for (const std::string& line : sim.LogLines()) {
        if (line.empty() || line[0] != direction)
            continue;
        for (std::size_t i = 1; i + 1 < line.size(); i += 3)
            bytes.push_back(static_cast<std::uint8_t>(std::stoul(line.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

inline Bytes HostBytes(const SimProcess& sim)
{
    return TrafficBytes(sim, '1');
}

inline Bytes ModuleBytes(const SimProcess& sim)
{
    return TrafficBytes(sim, '0');
}

// Waits until the module logged at least count bytes from the host.
inline bool WaitForHostBytes(const SimProcess& sim, std::size_t count, int timeoutMs = 3000)
{
    QElapsedTimer clock;
    clock.start();
    while (HostBytes(sim).size() < count) {
        if (clock.elapsed() >= timeoutMs)
            return false;
        QThread::msleep(5);
    }
    return true;
}

inline Bytes Joined(std::initializer_list<Bytes> frames)
{
    Bytes all;
    for (const Bytes& frame : frames)
        all.insert(all.end(), frame.begin(), frame.end());
    return all;
}

// Records the message boxes shown while it lives instead of showing them.
class MessageRecorder {
public:
    MessageRecorder()
    {
        SetMessageBoxHook([this](MessageBoxKind kind, const QString& text) {
            kinds.push_back(kind);
            texts.push_back(text);
        });
    }
    ~MessageRecorder() { SetMessageBoxHook({}); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    // The string ids of the texts shown, in order (0 for a text that is not in the table).
    std::vector<int> Ids() const
    {
        std::vector<int> ids;
        for (const QString& text : texts) {
            int found = 0;
            for (int id = 101; id <= 142 && found == 0; ++id)
                found = LoadText(id) == text ? id : 0;
            ids.push_back(found);
        }
        return ids;
    }
    void Clear()
    {
        kinds.clear();
        texts.clear();
    }

    std::vector<MessageBoxKind> kinds;
    std::vector<QString> texts;
};

} // namespace trelmo::testing

#include "TrafficLog.h"

#include "WireBytes.h"

#include <QtCore/qtestsupport_core.h>

namespace trelmo::testing {
namespace {

Bytes LoggedBytes(const std::vector<std::string>& lines, char direction)
{
    Bytes bytes;
    for (const std::string& line : lines) {
        if (line.empty() || line[0] != direction)
            continue;
        const Bytes chunk = Hex(line.substr(1));
        bytes.insert(bytes.end(), chunk.begin(), chunk.end());
    }
    return bytes;
}

} // namespace

Bytes HostBytes(const SimProcess& sim)
{
    return LoggedBytes(sim.LogLines(), '1');
}

Bytes ModuleBytes(const SimProcess& sim)
{
    return LoggedBytes(sim.LogLines(), '0');
}

std::vector<Bytes> HostFrames(const SimProcess& sim)
{
    return SplitFrames(HostBytes(sim));
}

bool WaitForHostBytes(const SimProcess& sim, std::size_t count, int timeoutMs)
{
    return QTest::qWaitFor([&] { return HostBytes(sim).size() >= count; }, timeoutMs);
}

bool WaitForHostFrames(const SimProcess& sim, std::size_t count, int timeoutMs)
{
    return QTest::qWaitFor([&] { return HostFrames(sim).size() >= count; }, timeoutMs);
}

} // namespace trelmo::testing

#pragma once
// What crossed the line, read back from a virtual module's traffic log: '1' lines came from the tool, '0' lines
// from the module, each a chunk of hex pairs as the module read or wrote it.

#include "Frame.h"
#include "SimProcess.h"

#include <cstddef>
#include <string>
#include <vector>

namespace trelmo::testing {

// The bytes of one direction, in order, chunks joined.
Bytes HostBytes(const SimProcess& sim);
Bytes ModuleBytes(const SimProcess& sim);

// The tool's byte stream cut into probes and frames (SplitFrames).
std::vector<Bytes> HostFrames(const SimProcess& sim);

// Run the event loop (and with it any window timer) until the module has received at least `count` bytes or
// frames from the tool; false on time-out.
bool WaitForHostBytes(const SimProcess& sim, std::size_t count, int timeoutMs = 3000);
bool WaitForHostFrames(const SimProcess& sim, std::size_t count, int timeoutMs = 5000);

} // namespace trelmo::testing

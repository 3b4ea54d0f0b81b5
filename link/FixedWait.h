#pragma once
// The one seam for the protocol's fixed sleeps (50 ms after a request, 300 ms in the cyclic exchange).
// Logic tests replace the wait so they need not sleep; the link's own tests keep the real one.

#include <functional>

namespace trelmo {

using WaitFunction = std::function<void(int milliseconds)>;

// Blocks the calling thread for the given time (through the installed wait function).
void FixedWait(int milliseconds);

// Installs a replacement; returns the previous one. An empty function restores the real sleep.
WaitFunction SetWaitFunction(WaitFunction wait);

// Restores the previous wait function when it goes out of scope.
class ScopedWaitFunction {
public:
    explicit ScopedWaitFunction(WaitFunction wait) : previous_(SetWaitFunction(std::move(wait))) {}
    ~ScopedWaitFunction() { SetWaitFunction(std::move(previous_)); }
    ScopedWaitFunction(const ScopedWaitFunction&) = delete;
    ScopedWaitFunction& operator=(const ScopedWaitFunction&) = delete;

private:
    WaitFunction previous_;
};

} // namespace trelmo
